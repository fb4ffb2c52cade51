// Messages, results and the message stack of the bus.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "Code/SPX_Assert.h"
#include "InfoBus/Code/KOR_TMessage.h"

namespace {

using namespace spectrel;

class TWidget : public TObject {};

// A message of class M, numbered, about observed (state messages only).
template <class M>
std::unique_ptr<M> make(TObject* observed, std::uint32_t number) {
    auto message = std::make_unique<M>();
    if constexpr (std::is_base_of_v<TObjectStateMessage, M>) message->SetObservedObject(observed);
    message->SetNumber(number);
    return message;
}

TEST(InfoBusMessages, AssignCopiesNumberAndObservedObjectButNotCancelled) {
    TWidget widget;
    TObjectChangedMessage source(&widget);
    source.SetNumber(77);
    source.SetCancelled(true);

    TObjectChangedMessage sameClass;
    sameClass.Assign(source);
    EXPECT_EQ(sameClass.Number(), 77u);
    EXPECT_EQ(sameClass.ObservedObject(), &widget);
    EXPECT_FALSE(sameClass.Cancelled());

    // A plain message takes only the number; a state message assigned from a plain one keeps its object.
    TMessage plain;
    plain.Assign(source);
    EXPECT_EQ(plain.Number(), 77u);
    TWidget other;
    TObjectDestroyedMessage stateTarget(&other);
    TMessage numbered;
    numbered.SetNumber(5);
    stateTarget.Assign(numbered);
    EXPECT_EQ(stateTarget.Number(), 5u);
    EXPECT_EQ(stateTarget.ObservedObject(), &other);
}

TEST(InfoBusMessages, AssigningToAnObjectThatIsNoMessageFails) {
    class TOther : public TPersistent {};
    TOther other;
    TMessage message;
    try {
        other.Assign(message);
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "Cannot assign a TMessage to a TOther");
    }
}

TEST(InfoBusMessages, NewInstanceKeepsTheExactClass) {
    const std::vector<std::unique_ptr<TMessage>> messages = [] {
        std::vector<std::unique_ptr<TMessage>> m;
        m.push_back(std::make_unique<TMessage>());
        m.push_back(std::make_unique<TObjectStateMessage>());
        m.push_back(std::make_unique<TObjectChangedMessage>());
        m.push_back(std::make_unique<TObjectCreatedMessage>());
        m.push_back(std::make_unique<TObjectDestroyedMessage>());
        return m;
    }();
    for (const auto& message : messages) {
        std::unique_ptr<TMessage> copy = message->NewInstance();
        EXPECT_EQ(typeid(*copy), typeid(*message)) << message->ClassName();
    }
    EXPECT_EQ(TObjectDestroyedMessage().ClassName(), "TObjectDestroyedMessage");
}

TEST(InfoBusMessages, Description) {
    EXPECT_EQ(TMessage().Description(), "");
    EXPECT_EQ(TObjectChangedMessage().Description(), "Observed Object = nil");
    TWidget widget;
    TObjectChangedMessage about(&widget);
    EXPECT_EQ(about.Description(),
              "Observed Object = [" + std::to_string(reinterpret_cast<std::uintptr_t>(&widget)) + "] TWidget");
}

TEST(InfoBusMessages, MatchingNeedsTheSameClassAndNumberOrObject) {
    TWidget a, b;
    struct Case {
        const char* name;
        bool expected;
        bool matches;
    };
    const Case cases[] = {
        {"plain, same number", true, Matches(*make<TMessage>(nullptr, 3), *make<TMessage>(nullptr, 3))},
        {"plain, other number", false, Matches(*make<TMessage>(nullptr, 3), *make<TMessage>(nullptr, 4))},
        {"changed, same object", true,
         Matches(*make<TObjectChangedMessage>(&a, 1), *make<TObjectChangedMessage>(&a, 2))},
        {"changed, other object", false,
         Matches(*make<TObjectChangedMessage>(&a, 1), *make<TObjectChangedMessage>(&b, 2))},
        {"changed, other object, same number", true,
         Matches(*make<TObjectChangedMessage>(&a, 9), *make<TObjectChangedMessage>(&b, 9))},
        {"changed against destroyed, same object", false,
         Matches(*make<TObjectChangedMessage>(&a, 1), *make<TObjectDestroyedMessage>(&a, 1))},
        {"plain against state, same number", false,
         Matches(*make<TMessage>(nullptr, 1), *make<TObjectChangedMessage>(&a, 1))},
    };
    for (const Case& c : cases) EXPECT_EQ(c.matches, c.expected) << c.name;
}

TEST(InfoBusMessages, InternalMatchWithAnotherClassFailsItsAssertion) {
    TWidget a;
    const TObjectChangedMessage changed(&a);
    const TObjectDestroyedMessage destroyed(&a);
    try {
        (void)changed.InternalMatch(destroyed);
        FAIL() << "no assertion";
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.assertion(), "InternalMatch called with an incorrect class of Message");
        EXPECT_EQ(e.module(), "InfoBus/Code/KOR_TMessage");
        EXPECT_EQ(e.line(), 257);
    }
}

TEST(InfoBusResults, ListIgnoresTheSameResultTwiceAndDestroysLastFirst) {
    std::vector<int> destroyed;
    struct TTracked : TMessageResult {
        TTracked(std::vector<int>& log, int id) : log_(log), id_(id) {}
        ~TTracked() override { log_.push_back(id_); }
        std::vector<int>& log_;
        int id_;
    };
    {
        TMessageResultList list;
        auto first = std::make_unique<TTracked>(destroyed, 1);
        TMessageResult* firstPtr = first.get();
        list.Add(std::move(first));
        list.Add(std::make_unique<TTracked>(destroyed, 2));
        list.Add(std::unique_ptr<TMessageResult>(firstPtr));  // already in the list
        list.Add(std::make_unique<TTracked>(destroyed, 3));
        EXPECT_EQ(list.Count(), 3);
        EXPECT_EQ(&list.Items(0), firstPtr);
    }
    EXPECT_EQ(destroyed, (std::vector<int>{3, 2, 1}));
}

TEST(InfoBusResults, Flags) {
    TMessageResult result;
    EXPECT_EQ(result.Flags(), 0);
    result.SetDuplicate(true);
    EXPECT_EQ(result.Flags(), 2);
    result.SetDelivered(true);
    EXPECT_EQ(result.Flags(), 3);
    result.SetDuplicate(false);
    EXPECT_TRUE(result.Delivered());
    EXPECT_FALSE(result.Duplicate());
}

TEST(InfoBusStack, HoldsAtMostOneMoreThanTheLimit) {
    TMessageStack stack;
    ASSERT_EQ(stack.MaxMessages(), 500);
    std::vector<TMessage> messages(502);
    for (std::size_t i = 0; i < messages.size(); ++i) messages[i].SetNumber(static_cast<std::uint32_t>(i + 1));
    for (int i = 0; i < 501; ++i) stack.Push(&messages[static_cast<std::size_t>(i)]);
    EXPECT_EQ(stack.Count(), 501);
    try {
        stack.Push(&messages[501]);
        FAIL() << "no overflow";
    } catch (const EMessageStackError& e) {
        EXPECT_STREQ(e.what(), "Message Stack overflow, maximum allowed messages exceeded");
    }
    EXPECT_EQ(stack.Count(), 501);
    for (int i = 500; i >= 0; --i) stack.Pop(&messages[static_cast<std::size_t>(i)]);
    EXPECT_EQ(stack.Count(), 0);
}

TEST(InfoBusStack, UniquenessRefusesAMatchingMessage) {
    TWidget a;
    TObjectChangedMessage first(&a), second(&a);
    first.SetNumber(1);
    second.SetNumber(2);
    TMessageStack stack;
    stack.Push(&first);
    try {
        stack.Push(&second);
        FAIL() << "no duplicate error";
    } catch (const EMessageStackDuplicateMessageError& e) {
        EXPECT_STREQ(e.what(), "Message matches an existing  message on Stack: Uniqueness in Force");
    }
    stack.SetUnique(false);
    stack.Push(&second);
    EXPECT_EQ(stack.Count(), 2);
    EXPECT_EQ(stack.Items(1), &second);
}

TEST(InfoBusStack, PopOnlyTheTopMessage) {
    TMessage a, b;
    a.SetNumber(1);
    b.SetNumber(2);
    TMessageStack stack;
    stack.Push(&a);
    stack.Push(&b);
    try {
        stack.Pop(&a);
        FAIL() << "popped a message below the top";
    } catch (const EMessageStackError& e) {
        EXPECT_STREQ(e.what(), "Message was not the last on the stack, Pop Failed");
    }
    EXPECT_EQ(stack.Count(), 2);
    stack.Pop(&b);
    stack.Pop(&a);
    EXPECT_THROW(stack.Pop(&a), EMessageStackError);
}

}  // namespace
