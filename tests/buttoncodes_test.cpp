// The learned buttons and the list that owns them.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Code/SPX_Data_ButtonCodes.h"

namespace {

using namespace spectrel;

struct Button {
    const char* name;
    const char* code = "";
    const char* second = "";
};

// "name:code:second" for each button, comma separated.
std::string Render(const TbuttonCodes& list) {
    std::string text;
    for (int i = 0; i < list.Count(); ++i) {
        const TButtonCode& b = list.Items(i);
        if (i > 0) text += ",";
        text += b.Name() + ":" + b.Code() + ":" + b.SecondCode();
    }
    return text;
}

void Fill(TbuttonCodes& list, const std::vector<Button>& buttons) {
    for (const Button& b : buttons) {
        TButtonCode& added = list.Add(b.name);
        added.SetCode(b.code);
        added.SetSecondCode(b.second);
    }
}

TEST(ButtonCodesList, OperationsAsATable) {
    using Op = std::function<std::string(TbuttonCodes&)>;
    auto state = [](TbuttonCodes& l) { return Render(l); };
    auto find = [](const char* code, const char* second) {
        return Op([=](TbuttonCodes& l) { return std::to_string(l.FindByCodes(code, second)); });
    };
    struct Case {
        const char* name;
        std::vector<Button> buttons;
        Op operation;
        std::string expected;
    };
    const Case cases[] = {
        {"Add trims the name",
         {{"A"}},
         [&](TbuttonCodes& l) {
             l.Add("  Vol +\t ");
             return state(l);
         },
         "A::,Vol +::"},
        {"AddWithCodes trims all three and returns the index",
         {{"A", "x"}},
         [&](TbuttonCodes& l) {
             const int index = l.AddWithCodes(" Power ", " AaAb ", "  ");
             return std::to_string(index) + " " + state(l);
         },
         "1 A:x:,Power:AaAb:"},
        {"Delete removes the button at the index",
         {{"A"}, {"B"}, {"C"}},
         [&](TbuttonCodes& l) {
             l.Delete(1);
             return state(l);
         },
         "A::,C::"},
        {"Delete the last button",
         {{"A"}},
         [&](TbuttonCodes& l) {
             l.Delete(0);
             return state(l);
         },
         ""},
        {"Clear",
         {{"A", "x"}, {"B"}},
         [&](TbuttonCodes& l) {
             l.Clear();
             return state(l) + std::to_string(l.Count());
         },
         "0"},
        {"ClearAllCodes keeps the names",
         {{"A", "x", "y"}, {"B", "", "z"}},
         [&](TbuttonCodes& l) {
             l.ClearAllCodes();
             return state(l);
         },
         "A::,B::"},
        {"FindByCodes trims the given codes", {{"A", "AaAb", "BbBa"}}, find(" AaAb ", "\tBbBa "), "0"},
        {"FindByCodes is case-sensitive", {{"A", "AaAb", "BbBa"}}, find("aaab", "BbBa"), "-1"},
        {"FindByCodes needs the second code to match", {{"A", "AaAb", "X"}}, find("AaAb", ""), "-1"},
        {"FindByCodes skips buttons without a code", {{"A"}, {"B", "AaAb"}}, find("", ""), "-1"},
        {"FindByCodes gives the first hit", {{"A"}, {"B", "AaAb"}, {"C", "AaAb"}}, find("AaAb", ""), "1"},
        {"FindByCodes with only a second code", {{"A", "", "BbBa"}}, find("", "BbBa"), "0"},
        {"FindByCodes in an empty list", {}, find("AaAb", ""), "-1"},
        {"AllHaveCodes of an empty list", {}, [](TbuttonCodes& l) { return std::to_string(l.AllHaveCodes()); }, "1"},
        {"AllHaveCodes with a second code only",
         {{"A", "x"}, {"B", "", "y"}},
         [](TbuttonCodes& l) { return std::to_string(l.AllHaveCodes()); },
         "1"},
        {"AllHaveCodes with one button missing",
         {{"A", "x"}, {"B"}},
         [](TbuttonCodes& l) { return std::to_string(l.AllHaveCodes()); },
         "0"},
        {"AnyHasCode of an empty list", {}, [](TbuttonCodes& l) { return std::to_string(l.AnyHasCode()); }, "0"},
        {"AnyHasCode with a second code only",
         {{"A"}, {"B", "", "y"}},
         [](TbuttonCodes& l) { return std::to_string(l.AnyHasCode()); },
         "1"},
        {"AnyHasCode without codes",
         {{"A"}, {"B"}},
         [](TbuttonCodes& l) { return std::to_string(l.AnyHasCode()); },
         "0"},
        {"FillNames replaces what the list held",
         {{"A"}, {"B"}},
         [](TbuttonCodes& l) {
             std::vector<TNamedIndex> names{{"old", 7}};
             l.FillNames(names);
             std::string text;
             for (const TNamedIndex& n : names) text += n.name + "=" + std::to_string(n.index) + ";";
             return text;
         },
         "A=0;B=1;"},
        {"IndexOf",
         {{"A"}, {"B"}},
         [](TbuttonCodes& l) {
             TButtonCode stranger(l.Bus());
             return std::to_string(l.IndexOf(&l.Items(1))) + std::to_string(l.IndexOf(&stranger));
         },
         "1-1"},
    };
    for (const Case& c : cases) {
        TInfoBus bus;
        TbuttonCodes list(bus);
        Fill(list, c.buttons);
        EXPECT_EQ(c.operation(list), c.expected) << c.name;
    }
}

TEST(ButtonCodesButton, CodeText) {
    struct Case {
        const char* code;
        const char* second;
        const char* expected;
    };
    const Case cases[] = {
        {"AaAb", "", "AaAb "},
        {"AaAb", "BbBa", "AaAb BbBa"},
        {"", "BbBa", " BbBa"},
        {"", "", "<not recorded>"},
    };
    TInfoBus bus;
    for (const Case& c : cases) {
        TButtonCode button(bus);
        button.SetCode(c.code);
        button.SetSecondCode(c.second);
        EXPECT_EQ(button.CodeText(), c.expected) << c.code << "|" << c.second;
        EXPECT_EQ(button.HasCode(), std::string(c.expected) != "<not recorded>");
    }
}

TEST(ButtonCodesButton, SettersStoreTheTextAsGiven) {
    TInfoBus bus;
    TButtonCode button(bus);
    EXPECT_EQ(button.Name(), "");
    button.SetName(" Power ");
    button.SetCode(" AaAb");
    EXPECT_EQ(button.Name(), " Power ");
    EXPECT_EQ(button.Code(), " AaAb");
    button.SetSecondCode("x");
    button.ClearCodes();
    EXPECT_EQ(button.Code(), "");
    EXPECT_EQ(button.SecondCode(), "");
    EXPECT_EQ(button.Name(), " Power ");
}

TEST(ButtonCodesList, AnIndexOutsideTheListIsAnError) {
    TInfoBus bus;
    TbuttonCodes list(bus);
    Fill(list, {{"A"}, {"B"}});
    for (int index : {-1, 2, 3}) {
        try {
            (void)list.Items(index);
            FAIL() << "no error for " << index;
        } catch (const EListError& e) {
            EXPECT_EQ(std::string(e.what()), "List index out of bounds (" + std::to_string(index) + ")");
        }
        EXPECT_THROW(list.Delete(index), EListError);
    }
    EXPECT_EQ(Render(list), "A::,B::");
}

// A view watching every button of a list, as the learn page does.
struct ListWatcher {
    ListWatcher(TInfoBus& bus, TbuttonCodes& list)
        : list(list),
          watcher(bus, nullptr, true,
                  [this](TCustomStateSubscriber&, TObject* observed, TMessageResult&, const std::type_info& cls) {
                      auto* button = dynamic_cast<TButtonCode*>(observed);
                      log.push_back(ClassNameOf(cls) + " " + (button ? button->Name() : "?") + " at " +
                                    std::to_string(this->list.IndexOf(observed)) + " of " +
                                    std::to_string(this->list.Count()));
                  }) {
        for (int i = 0; i < list.Count(); ++i) watcher.Add(&list.Items(i));
    }
    TbuttonCodes& list;
    std::vector<std::string> log;
    TFlashElementStateSubscriberList watcher;
};

TEST(ButtonCodesList, DeleteAndClearDestroyTheButtonsAfterTheyLeftTheList) {
    TInfoBus bus;
    TbuttonCodes list(bus);
    Fill(list, {{"A"}, {"B"}, {"C"}});
    ListWatcher view(bus, list);
    list.Delete(1);
    list.Clear();
    EXPECT_EQ(view.log,
              (std::vector<std::string>{"TObjectDestroyedMessage B at -1 of 2", "TObjectDestroyedMessage A at -1 of 0",
                                        "TObjectDestroyedMessage C at -1 of 0"}));
    EXPECT_EQ(view.watcher.Subscription().Count(), 0);
}

TEST(ButtonCodesList, ClearAllCodesPublishesEachButtonInOrder) {
    TInfoBus bus;
    TbuttonCodes list(bus);
    Fill(list, {{"A", "x"}, {"B"}, {"C", "", "y"}});
    ListWatcher view(bus, list);
    list.ClearAllCodes();
    EXPECT_EQ(view.log,
              (std::vector<std::string>{"TObjectChangedMessage A at 0 of 3", "TObjectChangedMessage B at 1 of 3",
                                        "TObjectChangedMessage C at 2 of 3"}));
}

TEST(ButtonCodesList, AddButtonTakesOwnership) {
    TInfoBus bus;
    std::vector<std::string> log;
    TFlashElementStateSubscriberList view(
        bus, nullptr, true, [&](TCustomStateSubscriber&, TObject*, TMessageResult&, const std::type_info& cls) {
            log.push_back(ClassNameOf(cls));
        });
    {
        TbuttonCodes list(bus);
        auto button = std::make_unique<TButtonCode>(bus);
        button->SetName("Power");
        view.Add(button.get());
        list.AddButton(std::move(button));
        list.AddButton(nullptr);
        EXPECT_EQ(Render(list), "Power::");
    }
    EXPECT_EQ(log, (std::vector<std::string>{"TObjectDestroyedMessage"}));
}

TEST(ButtonCodesList, AListWithABusOfItsOwn) {
    auto list = std::make_unique<TbuttonCodes>();
    list->AddWithCodes("Power", "AaAb", "");
    {
        ListWatcher view(list->Bus(), *list);
        list->Items(0).SetCode("AbAb");
        EXPECT_EQ(view.log, (std::vector<std::string>{"TObjectChangedMessage Power at 0 of 1"}));
    }
    list.reset();
}

TEST(ButtonCodesList, TwoListsWatchingTheSameButtons) {
    TInfoBus bus;
    TbuttonCodes list(bus);
    Fill(list, {{"Power"}, {"Mute"}});
    ListWatcher first(bus, list);
    auto second = std::make_unique<ListWatcher>(bus, list);
    list.Items(0).SetCode("AaAb");
    second.reset();
    list.Items(1).SetCode("AbAb");
    list.Delete(0);
    EXPECT_EQ(first.log,
              (std::vector<std::string>{"TObjectChangedMessage Power at 0 of 2", "TObjectChangedMessage Mute at 1 of 2",
                                        "TObjectDestroyedMessage Power at -1 of 1"}));
}

}  // namespace
