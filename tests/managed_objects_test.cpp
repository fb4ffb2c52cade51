// Managed objects announcing their changes and destruction to the lists that watch them.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Code/SPX_Assert.h"
#include "Code/SPX_Data_ButtonCodes.h"
#include "FlashXML/Code/KOR_TManagedFlashObject.h"
#include "testing/ScriptedMessageBoxes.h"

namespace {

using namespace spectrel;

// One view watching objects: records every state message it gets as "<message class> <observed name>".
struct Watcher {
    explicit Watcher(TInfoBus& bus, bool subscribe = true)
        : list(bus, nullptr, subscribe,
               [this](TCustomStateSubscriber&, TObject* observed, TMessageResult& result, const std::type_info& cls) {
                   auto* button = dynamic_cast<TButtonCode*>(observed);
                   log.push_back(ClassNameOf(cls) + " " + (button ? button->Name() : observed->ClassName()));
                   EXPECT_TRUE(result.Delivered());
                   if (action) action(observed, cls);
               }) {}
    std::vector<std::string> log;
    std::function<void(TObject*, const std::type_info&)> action;
    TFlashElementStateSubscriberList list;
};

// Counts every message sent on the bus.
struct SendCounter {
    explicit SendCounter(TInfoBus& bus) : bus(bus) {
        bus.OnBeforeSend = [this](TMessage& m, TMessageResultList&) { classes.push_back(m.ClassName()); };
    }
    ~SendCounter() { bus.OnBeforeSend = nullptr; }
    TInfoBus& bus;
    std::size_t count() const { return classes.size(); }
    std::vector<std::string> classes;
};

std::unique_ptr<TButtonCode> MakeButton(TInfoBus& bus, const std::string& name) {
    auto button = std::make_unique<TButtonCode>(bus);
    button->SetName(name);
    return button;
}

TEST(ManagedObjects, AnObjectNobodyWatchesSendsNothing) {
    TInfoBus bus;
    SendCounter sent(bus);
    auto button = MakeButton(bus, "Power");
    button->SetCode("AaAb");
    button->ClearCodes();
    button.reset();
    EXPECT_EQ(sent.count(), 0u);
}

TEST(ManagedObjects, EveryChangeOfAButtonIsPublishedOnce) {
    TInfoBus bus;
    Watcher watcher(bus);
    auto button = MakeButton(bus, "Power");
    watcher.list.Add(button.get());
    SendCounter sent(bus);
    button->SetName("Power");
    button->SetName("Power");
    button->SetCode("AaAb");
    button->SetSecondCode("BbBa");
    button->ClearCodes();
    EXPECT_EQ(sent.count(), 5u);
    EXPECT_EQ(watcher.log, std::vector<std::string>(5, "TObjectChangedMessage Power"));
}

TEST(ManagedObjects, TwoListsWatchingOneButton) {
    TInfoBus bus;
    Watcher first(bus);
    auto second = std::make_unique<Watcher>(bus);
    auto button = MakeButton(bus, "Mute");
    first.list.Add(button.get());
    second->list.Add(button.get());
    EXPECT_EQ(button->Publisher()->Trigger().SubscriberCount(), 2);

    SendCounter sent(bus);
    button->SetCode("AaAb");
    EXPECT_EQ(sent.count(), 1u) << "one message, delivered to both";
    EXPECT_EQ(first.log.size(), 1u);
    EXPECT_EQ(second->log.size(), 1u);

    first.list.Remove(button.get());
    button->SetCode("AbAb");
    EXPECT_EQ(first.log.size(), 1u);
    EXPECT_EQ(second->log.size(), 2u);

    second.reset();
    EXPECT_EQ(button->Publisher()->Trigger().SubscriberCount(), 0);
    button->SetCode("AbAa");
    button.reset();
    EXPECT_EQ(sent.count(), 2u);
}

TEST(ManagedObjects, DestroyingAWatchedButtonTellsEachListOnce) {
    TInfoBus bus;
    Watcher first(bus), second(bus);
    auto button = MakeButton(bus, "Play");
    auto other = MakeButton(bus, "Stop");
    first.list.Add(button.get());
    first.list.Add(other.get());
    second.list.Add(button.get());
    bool lockedDuringNotice = false;
    first.action = [&](TObject*, const std::type_info&) {
        TGuiController* controller = TGuiController::Instance(bus);
        lockedDuringNotice = controller != nullptr && controller->IsLocked();
    };
    SendCounter sent(bus);
    button.reset();

    EXPECT_EQ(sent.classes, (std::vector<std::string>{"TObjectDestroyedMessage"}));
    EXPECT_EQ(first.log, (std::vector<std::string>{"TObjectDestroyedMessage Play"}));
    EXPECT_EQ(second.log, (std::vector<std::string>{"TObjectDestroyedMessage Play"}));
    EXPECT_TRUE(lockedDuringNotice);
    EXPECT_EQ(TGuiController::Instance(bus), nullptr) << "released after the destruction";
    EXPECT_EQ(first.list.Subscription().Count(), 1);
    EXPECT_EQ(first.list.Subscription().Items(0), other.get());
    EXPECT_EQ(second.list.Subscription().Count(), 0);
}

TEST(ManagedObjects, BeginUpdateAndEndUpdateGiveOneMessageAtTheEnd) {
    TInfoBus bus;
    Watcher watcher(bus);
    auto button = MakeButton(bus, "Vol+");
    watcher.list.Add(button.get());
    SendCounter sent(bus);

    button->BeginUpdate();
    button->BeginUpdate();
    button->SetName("Volume up");
    button->SetCode("AaAb");
    button->EndUpdate();
    EXPECT_EQ(sent.count(), 0u);
    EXPECT_TRUE(button->IsUpdating());
    button->EndUpdate();
    EXPECT_FALSE(button->IsUpdating());
    EXPECT_EQ(sent.count(), 1u);
    EXPECT_EQ(watcher.log, (std::vector<std::string>{"TObjectChangedMessage Volume up"}));
}

TEST(ManagedObjects, WatchingAnObjectTwiceCountsOnce) {
    TInfoBus bus;
    auto button = MakeButton(bus, "Ok");
    Watcher watcher(bus);
    TFlashElementStateSubscriberList seeded(bus, button.get(), true, nullptr);
    watcher.list.Add(button.get());
    watcher.list.Add(button.get());
    seeded.Add(button.get());
    EXPECT_EQ(watcher.list.Subscription().Count(), 1);
    EXPECT_EQ(seeded.Subscription().Count(), 1);
    EXPECT_EQ(button->Publisher()->Trigger().SubscriberCount(), 2);
    watcher.list.Clear();
    EXPECT_EQ(button->Publisher()->Trigger().SubscriberCount(), 1);
    EXPECT_TRUE(seeded.Subscribed());
}

TEST(ManagedObjects, APlainManagedObjectPublishesOnlyAfterModified) {
    TInfoBus bus;
    TManagedFlashObject object(bus);
    EXPECT_EQ(object.State(), fosActive);
    EXPECT_TRUE(object.ChangeNotified());
    int onChange = 0;
    object.OnChange = [&](TBASEObject&) { ++onChange; };
    Watcher watcher(bus);
    watcher.list.Add(&object);
    SendCounter sent(bus);

    object.Changed();
    EXPECT_EQ(sent.count(), 0u);
    object.Modified();
    object.Changed();
    object.Changed();
    EXPECT_EQ(sent.count(), 1u);
    EXPECT_EQ(onChange, 3) << "the change event fires every time";
}

TEST(ManagedObjects, ChangingTheSameButtonFromItsChangeHandlerIsADuplicate) {
    TInfoBus bus;
    Watcher watcher(bus);
    auto button = MakeButton(bus, "Rec");
    watcher.list.Add(button.get());
    int duplicates = 0;
    bus.OnDuplicateMessage = [&](TMessage&) { ++duplicates; };
    watcher.action = [&](TObject*, const std::type_info&) { button->SetCode("AaAa"); };
    button->SetName("Record");
    EXPECT_EQ(duplicates, 1);
    EXPECT_EQ(watcher.log, (std::vector<std::string>{"TObjectChangedMessage Record"}));
    EXPECT_EQ(button->Code(), "AaAa");
}

TEST(ManagedObjects, DestroyingAnotherWatchedButtonFromAChangeHandler) {
    TInfoBus bus;
    Watcher watcher(bus);
    TbuttonCodes buttons(bus);
    buttons.Add("A");
    buttons.Add("B");
    watcher.list.Add(&buttons.Items(0));
    watcher.list.Add(&buttons.Items(1));
    watcher.action = [&](TObject* observed, const std::type_info& cls) {
        if (cls == typeid(TObjectChangedMessage) && observed == &buttons.Items(0)) buttons.Delete(1);
    };
    buttons.Items(0).SetCode("AaAb");
    EXPECT_EQ(watcher.log, (std::vector<std::string>{"TObjectChangedMessage A", "TObjectDestroyedMessage B"}));
    EXPECT_EQ(watcher.list.Subscription().Count(), 1);
    EXPECT_EQ(buttons.Count(), 1);
}

TEST(ManagedObjects, AChangeHandlerMayDestroyTheChangedButton) {
    TInfoBus bus;
    Watcher watcher(bus);
    TbuttonCodes buttons(bus);
    buttons.Add("A");
    buttons.Add("B");
    watcher.list.Add(&buttons.Items(0));
    watcher.list.Add(&buttons.Items(1));
    watcher.action = [&](TObject* observed, const std::type_info& cls) {
        if (cls == typeid(TObjectChangedMessage)) buttons.Delete(buttons.IndexOf(observed));
    };
    buttons.ClearAllCodes();
    EXPECT_EQ(watcher.log, (std::vector<std::string>{"TObjectChangedMessage A", "TObjectDestroyedMessage A"}));
    ASSERT_EQ(buttons.Count(), 1);
    EXPECT_EQ(buttons.Items(0).Name(), "B") << "B moved to index 0 and was skipped";
}

TEST(ManagedObjects, AListThatIsNotSubscribedForgetsADestroyedButton) {
    TInfoBus bus;
    Watcher asleep(bus, false);
    auto button = MakeButton(bus, "Eject");
    asleep.list.Add(button.get());
    button->SetCode("AaAb");
    button.reset();
    EXPECT_TRUE(asleep.log.empty());
    EXPECT_EQ(asleep.list.Subscription().Count(), 0);
    // Subscribing and clearing later must not touch the vanished button.
    asleep.list.Subscribe();
    asleep.list.Clear();
}

TEST(ManagedObjects, DestroyingTheListsBeforeAndAfterTheButtons) {
    // Lists first.
    {
        TInfoBus bus;
        auto button = MakeButton(bus, "Left");
        {
            Watcher watcher(bus);
            watcher.list.Add(button.get());
        }
        SendCounter sent(bus);
        button->SetCode("AaAb");
        button.reset();
        EXPECT_EQ(sent.count(), 0u);
    }
    // Buttons first, through their owning list.
    {
        TInfoBus bus;
        Watcher watcher(bus);
        {
            TbuttonCodes buttons(bus);
            buttons.Add("Up");
            buttons.Add("Down");
            watcher.list.Add(&buttons.Items(0));
            watcher.list.Add(&buttons.Items(1));
        }
        EXPECT_EQ(watcher.log,
                  (std::vector<std::string>{"TObjectDestroyedMessage Up", "TObjectDestroyedMessage Down"}));
        EXPECT_EQ(watcher.list.Subscription().Count(), 0);
    }
}

TEST(ManagedObjects, DestroyingAListFromItsOwnHandler) {
    TInfoBus bus;
    auto watcher = std::make_unique<Watcher>(bus);
    Watcher other(bus);
    auto button = MakeButton(bus, "Menu");
    watcher->list.Add(button.get());
    other.list.Add(button.get());
    watcher->action = [&](TObject*, const std::type_info&) { watcher.reset(); };
    button->SetCode("AaAb");
    EXPECT_EQ(watcher, nullptr);
    EXPECT_EQ(other.log.size(), 1u);
    EXPECT_EQ(button->Publisher()->Trigger().SubscriberCount(), 1);
}

// A managed class that records its hooks and runs the destruction steps from its own destructor.
class THooked : public TFlashElement {
public:
    THooked(TInfoBus& bus, std::vector<std::string>& log) : TFlashElement(bus), log_(log) {}
    ~THooked() override {
        if (State() != fosDestroying) BeginDestruction();
    }
    void DestroyNow() { BeginDestruction(); }

protected:
    void DoChanged() override { log_.push_back("DoChanged"); }
    void BeforeDestroy() override { log_.push_back("BeforeDestroy"); }
    void Finalise() override { log_.push_back("Finalise"); }

private:
    std::vector<std::string>& log_;
};

TEST(ManagedObjects, HooksRunAroundTheMessages) {
    TInfoBus bus;
    std::vector<std::string> log;
    Watcher watcher(bus);
    watcher.action = [&](TObject*, const std::type_info& cls) { log.push_back(ClassNameOf(cls)); };
    auto object = std::make_unique<THooked>(bus, log);
    watcher.list.Add(object.get());
    object->Modified();
    object->Changed();
    object.reset();
    EXPECT_EQ(log, (std::vector<std::string>{"TObjectChangedMessage", "DoChanged", "BeforeDestroy",
                                             "TObjectDestroyedMessage", "Finalise"}));
    EXPECT_EQ(watcher.log.back(), "TObjectDestroyedMessage THooked") << "the notice sees the whole object";
}

TEST(ManagedObjects, DestroyingTwiceFailsItsAssertion) {
    TInfoBus bus;
    std::vector<std::string> log;
    THooked object(bus, log);
    object.DestroyNow();
    EXPECT_EQ(object.State(), fosDestroying);
    EXPECT_EQ(object.Publisher(), nullptr);
    try {
        object.DestroyNow();
        FAIL() << "no assertion";
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.assertion(), "A TManagedFlashObject is being destroyed and it's state is already fosDestroying");
        EXPECT_EQ(e.module(), "FlashXML/Code/KOR_TManagedFlashObject");
        EXPECT_EQ(e.line(), 194);
    }
    EXPECT_EQ(TGuiController::Instance(bus), nullptr);
    object.Modified();
    object.Changed();  // no publisher any more: nothing to send
}

TEST(ManagedObjects, AFailingHandlerDuringDestructionStillUnlocksTheController) {
    TInfoBus bus;
    std::vector<std::string> log;
    Watcher watcher(bus);
    THooked object(bus, log);
    watcher.list.Add(&object);
    watcher.action = [](TObject*, const std::type_info&) { throw std::runtime_error("view failed"); };
    EXPECT_THROW(object.DestroyNow(), std::runtime_error);
    EXPECT_EQ(TGuiController::Instance(bus), nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"BeforeDestroy"}));
}

// --- the state trigger ---------------------------------------------------------------------------------------------

TEST(ManagedTrigger, NeedsPublisherAndObject) {
    TInfoBus bus;
    TPublisher publisher;
    try {
        TFlashElementStateTrigger trigger(bus, &publisher, nullptr, true);
        FAIL() << "no error";
    } catch (const ENoObservedObjectError& e) {
        EXPECT_STREQ(e.what(), "Cannot create TObjectStateTrigger with nil ObservedObject");
    }
    TObject object;
    EXPECT_THROW(TFlashElementStateTrigger(bus, nullptr, &object, true), ENoPublisherError);
}

TEST(ManagedTrigger, SendsACreationMessageUnlessSuppressed) {
    TInfoBus bus;
    SendCounter sent(bus);
    TPublisher publisher;
    TObject object;
    { TFlashElementStateTrigger quiet(bus, &publisher, &object, true); }
    EXPECT_EQ(sent.count(), 0u);
    { TFlashElementStateTrigger loud(bus, &publisher, &object, false); }
    EXPECT_EQ(sent.classes, (std::vector<std::string>{"TObjectCreatedMessage"}));
}

TEST(ManagedTrigger, ASecondDestructionNoticeFailsItsAssertion) {
    TInfoBus bus;
    SendCounter sent(bus);
    TPublisher publisher;
    TObject object;
    TSubscriber subscriber;
    TFlashElementStateSubscriptionList watcher(&subscriber);
    TFlashElementStateTrigger trigger(bus, &publisher, &object, true);
    trigger.AddSubscriber(&watcher);
    trigger.Destroying();
    EXPECT_TRUE(trigger.DestroyNotified());
    try {
        trigger.Destroying();
        FAIL() << "no assertion";
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.assertion(),
                  "Error in TFlashElementStateTrigger.Destroying: Cannot notify twice that an object is destoryed");
        EXPECT_EQ(e.module(), "FlashXML/Code/KOR_TManagedFlashObject");
        EXPECT_EQ(e.line(), 511);
    }
    EXPECT_EQ(sent.classes, (std::vector<std::string>{"TObjectDestroyedMessage"}));
}

// --- the GUI controller --------------------------------------------------------------------------------------------

TEST(ManagedGuiController, OneSharedInstancePerBus) {
    TInfoBus bus;
    TGuiController& first = TGuiController::Create(bus);
    TGuiController& second = TGuiController::Create(bus);
    EXPECT_EQ(&first, &second);
    EXPECT_EQ(TGuiController::RefCount(bus), 2);
    EXPECT_TRUE(static_cast<bool>(bus.OnIdle));
    first.Release();
    EXPECT_EQ(TGuiController::Instance(bus), &second);
    second.Release();
    EXPECT_EQ(TGuiController::Instance(bus), nullptr);
    EXPECT_FALSE(static_cast<bool>(bus.OnIdle));
}

TEST(ManagedGuiController, CallbacksWaitForTheLastUnlockAndForAnIdleBus) {
    TInfoBus bus;
    TGuiController& controller = TGuiController::Create(bus);
    std::vector<std::string> log;
    auto post = [&](const std::string& name) {
        auto entry = std::make_unique<TGuiCallback>();
        entry->OnCall = [&log, name](TGuiCallback&) { log.push_back(name); };
        controller.Post(std::move(entry));
    };
    controller.Lock();
    controller.Lock();
    post("first");
    post("second");
    EXPECT_TRUE(controller.Pending());
    controller.Flush();
    controller.Unlock();
    EXPECT_TRUE(log.empty());
    controller.Unlock();
    EXPECT_EQ(log, (std::vector<std::string>{"first", "second"}));
    EXPECT_FALSE(controller.Pending());

    // Unlocked during a dispatch: the callbacks run when the bus becomes idle.
    struct TAcceptAll : TSubscription {
        using TSubscription::TSubscription;
        bool Accepts(TMessage&) override { return true; }
    };
    TSubscriber subscriber;
    TAcceptAll subscription(&subscriber);
    bus.Subscribe(&subscription);
    subscriber.OnMessage = [&](TSubscriber&, TMessage&, TMessageResult&) {
        controller.Lock();
        post("third");
        controller.Unlock();
        log.push_back("received");
    };
    TMessage message;
    bus.SendMessage(&message);
    EXPECT_EQ(log, (std::vector<std::string>{"first", "second", "received", "third"}));
    controller.Release();
}

TEST(ManagedGuiController, ACallbackPostedWhileAButtonIsDestroyedRunsAfterTheNotice) {
    TInfoBus bus;
    Watcher watcher(bus);
    auto button = MakeButton(bus, "Info");
    watcher.list.Add(button.get());
    std::vector<std::string> log;
    watcher.action = [&](TObject*, const std::type_info&) {
        auto entry = std::make_unique<TGuiCallback>();
        entry->OnCall = [&log](TGuiCallback&) { log.push_back("callback"); };
        TGuiController::Instance(bus)->Post(std::move(entry));
        log.push_back("notice");
    };
    button.reset();
    EXPECT_EQ(log, (std::vector<std::string>{"notice", "callback"}));
}

TEST(ManagedGuiController, ChecksAtProgramEnd) {
    TInfoBus bus;
    spectrel::testing::ScriptedMessageBoxes boxes;
    CheckManagedObjectsAtEnd(bus, boxes);
    EXPECT_TRUE(boxes.texts().empty());

    TGuiController& controller = TGuiController::Create(bus);
    controller.Lock();
    CheckManagedObjectsAtEnd(bus, boxes);
    std::vector<std::string> expected{"Dangling locks for TGuiController class (1)"};
    if (TLiveObjectTable::Active()) expected.push_back("Dangling reference count for TGuiController class (1)");
    EXPECT_EQ(boxes.texts(), expected);
    EXPECT_EQ(boxes.shown()[0].kind, platform::MessageKind::Error);
    EXPECT_EQ(boxes.shown()[0].buttons, platform::MessageButtons(platform::MessageButton::Ok));
    controller.Unlock();
    controller.Release();
}

TEST(ManagedGuiController, UnfreedObjectsAtProgramEnd) {
    TInfoBus bus;
    spectrel::testing::ScriptedMessageBoxes boxes;
    std::ostringstream debug;
    auto button = MakeButton(bus, "Live");
    TManagedFlashObject plain(bus);
    CheckManagedObjectsAtEnd(bus, boxes, &debug);
    if (!TLiveObjectTable::Active()) {
        EXPECT_TRUE(boxes.texts().empty());
        EXPECT_EQ(bus.LiveObjects().Total(), 0);
        return;
    }
    EXPECT_EQ(bus.LiveObjects().Counts(), (std::map<std::string, int>{{"TButtonCode", 1}, {"TManagedFlashObject", 1}}));
    ASSERT_EQ(boxes.texts(), (std::vector<std::string>{"Unfreed Objects. Check Debug Output"}));
    EXPECT_EQ(boxes.shown()[0].caption, "KOR Debug");
    EXPECT_NE(debug.str().find("TButtonCode: 1"), std::string::npos);
    button.reset();
    EXPECT_EQ(bus.LiveObjects().Total(), 1);
}

// --- the element hooks ---------------------------------------------------------------------------------------------

TEST(ManagedElement, DefaultHooks) {
    TInfoBus bus;
    TFlashElement element(bus);
    EXPECT_EQ(element.AsString(), "");
    try {
        element.SetAsString("x");
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Unable to set FlashElement as a string");
    }
    EXPECT_EQ(element.FindElement(""), &element);
    EXPECT_EQ(element.FindElement("child"), nullptr);
    EXPECT_EQ(element.ElementName(), "");
    EXPECT_EQ(element.DisplayText(), "");
    EXPECT_EQ(element.ChildCount() + element.ElementIndex() + element.ElementKind() + element.ElementLevel() +
                  element.ElementFlags(),
              0);
}

}  // namespace
