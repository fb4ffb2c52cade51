// Sending on the bus: numbering, events, nested sends, removal during a dispatch and compaction.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Code/SPX_Assert.h"
#include "InfoBus/Code/KOR_TMessage.h"
#include "InfoBus/Code/KOR_TSubscriber.h"

namespace {

using namespace spectrel;

class TWidget : public TObject {};

// Accepts every message.
class TAcceptAll : public TSubscription {
public:
    using TSubscription::TSubscription;
    bool Accepts(TMessage&) override { return true; }
};

// A subscriber with its subscription; records the numbers of the messages it receives and runs an optional action.
struct Probe {
    explicit Probe(TInfoBus& bus, bool subscribe = true) : bus(bus) {
        subscriber.OnMessage = [this](TSubscriber&, TMessage& message, TMessageResult& result) {
            received.push_back(message.Number());
            classes.push_back(message.ClassName());
            if (action) action(message, result);
        };
        if (subscribe) bus.Subscribe(&subscription);
    }
    TInfoBus& bus;
    TSubscriber subscriber;
    TAcceptAll subscription{&subscriber};
    std::vector<std::uint32_t> received;
    std::vector<std::string> classes;
    std::function<void(TMessage&, TMessageResult&)> action;
};

// A counter that moves by a fixed step each time it is read.
class TSteppingCounter : public THighResolutionCounter {
public:
    TSteppingCounter(std::int64_t step, std::int64_t frequency) : step_(step), frequency_(frequency) {}
    std::int64_t Ticks() override { return now_ += step_; }
    std::int64_t Frequency() override { return frequency_; }

private:
    std::int64_t now_ = 0;
    std::int64_t step_;
    std::int64_t frequency_;
};

TEST(InfoBusSend, NumbersMessagesFromOneAndWraps) {
    TInfoBus bus;
    TMessage message;
    bus.SendMessage(&message);
    EXPECT_EQ(message.Number(), 1u);
    bus.SendMessage(&message);
    EXPECT_EQ(message.Number(), 2u);

    bus.SetMessageCounter(4294967294u);
    std::vector<std::uint32_t> numbers;
    for (int i = 0; i < 3; ++i) {
        bus.SendMessage(&message);
        numbers.push_back(message.Number());
    }
    EXPECT_EQ(numbers, (std::vector<std::uint32_t>{4294967295u, 0u, 1u}));
}

TEST(InfoBusSend, WithoutAMessageRaises) {
    TInfoBus bus;
    int idle = 0;
    bus.OnIdle = [&](TInfoBus&) { ++idle; };
    try {
        bus.SendMessage(nullptr);
        FAIL() << "no error";
    } catch (const ENoMessageError& e) {
        EXPECT_STREQ(e.what(), "Nil pointer passed to TInfoBus.SendMessage");
    }
    EXPECT_EQ(bus.MessageCounter(), 0u);
    EXPECT_EQ(idle, 0);
}

TEST(InfoBusSend, EveryAcceptingSubscriptionGetsAFreshCopyAndReportsDelivery) {
    TInfoBus bus;
    Probe first(bus), second(bus);
    TWidget widget;
    TObjectChangedMessage sent(&widget);
    sent.SetCancelled(false);
    std::vector<const TMessage*> seen;
    TObject* observedSeen = nullptr;
    first.action = [&](TMessage& copy, TMessageResult&) {
        seen.push_back(&copy);
        observedSeen = dynamic_cast<TObjectChangedMessage&>(copy).ObservedObject();
    };
    TMessageResultList results;
    bus.SendMessage(&sent, &results);

    ASSERT_EQ(seen.size(), 1u);
    EXPECT_NE(seen[0], &sent);
    EXPECT_EQ(observedSeen, &widget);
    EXPECT_EQ(first.classes, (std::vector<std::string>{"TObjectChangedMessage"}));
    EXPECT_EQ(second.received, (std::vector<std::uint32_t>{1}));
    ASSERT_EQ(results.Count(), 2);
    EXPECT_TRUE(results.Items(0).Delivered());
    EXPECT_TRUE(results.Items(1).Delivered());
}

TEST(InfoBusSend, ASubscriptionThatDeclinesGetsNothingAndNoResult) {
    TInfoBus bus;
    TSubscriber subscriber;
    int calls = 0;
    subscriber.OnMessage = [&](TSubscriber&, TMessage&, TMessageResult&) { ++calls; };
    TSubscription declining(&subscriber);  // the base class accepts nothing
    bus.Subscribe(&declining);
    TMessage message;
    TMessageResultList results;
    bus.SendMessage(&message, &results);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(results.Count(), 0);
}

TEST(InfoBusSend, EventsInOrderAndLastSendTime) {
    TSteppingCounter counter(2500, 1'000'000);  // 2.5 ms between the two readings
    TInfoBus bus(counter);
    Probe probe(bus);
    std::vector<std::string> log;
    probe.action = [&](TMessage&, TMessageResult&) { log.push_back(bus.IsIdle() ? "receive idle" : "receive"); };
    long double reported = -1;
    bus.OnBeforeSend = [&](TMessage& m, TMessageResultList&) {
        log.push_back("before " + std::to_string(m.Number()) + (bus.Sending() ? " sending" : ""));
    };
    bus.OnAfterSend = [&](TMessage&, TMessageResultList& results, long double elapsed) {
        log.push_back("after " + std::to_string(results.Count()));
        reported = elapsed;
    };
    bus.OnIdle = [&](TInfoBus& b) { log.push_back(b.Sending() ? "idle sending" : "idle"); };
    TMessage message;
    bus.SendMessage(&message);
    EXPECT_EQ(log, (std::vector<std::string>{"before 1 sending", "receive", "after 1", "idle"}));
    EXPECT_DOUBLE_EQ(static_cast<double>(bus.LastSendTime()), 2.5);
    EXPECT_DOUBLE_EQ(static_cast<double>(reported), 2.5);
    EXPECT_TRUE(bus.IsIdle());
    EXPECT_FALSE(bus.Sending());
}

TEST(InfoBusSend, LastSendTimeForUnusualCounters) {
    struct Case {
        const char* name;
        std::int64_t step;
        std::int64_t frequency;
        double expectedMs;
    };
    const Case cases[] = {
        {"no frequency", 100, 0, 0.0},
        {"whole ticks per millisecond", 3000, 2'500'500, 1.2},  // 2500 ticks per ms, not 2500.5
        {"slower than a millisecond", 1, 500, 2.0},
    };
    for (const Case& c : cases) {
        TSteppingCounter counter(c.step, c.frequency);
        TInfoBus bus(counter);
        TMessage message;
        bus.SendMessage(&message);
        EXPECT_DOUBLE_EQ(static_cast<double>(bus.LastSendTime()), c.expectedMs) << c.name;
    }
}

TEST(InfoBusSend, ACancelledMessageIsNumberedButReachesNobody) {
    TInfoBus bus;
    Probe probe(bus);
    int before = 0, after = 0, idle = 0;
    bus.OnBeforeSend = [&](TMessage&, TMessageResultList&) { ++before; };
    bus.OnAfterSend = [&](TMessage&, TMessageResultList&, long double) { ++after; };
    bus.OnIdle = [&](TInfoBus&) { ++idle; };
    TMessage message;
    message.SetCancelled(true);
    TMessageResultList results;
    bus.SendMessage(&message, &results);
    EXPECT_EQ(message.Number(), 1u);
    EXPECT_TRUE(probe.received.empty());
    EXPECT_EQ(results.Count(), 0);
    EXPECT_EQ(before, 1);
    EXPECT_EQ(after, 1);
    EXPECT_EQ(idle, 1);
}

// The inner message is sent from within a subscriber that receives a change message about widget a.
TEST(InfoBusNested, AMatchingInnerMessageIsADuplicate) {
    struct Case {
        const char* name;
        std::function<std::unique_ptr<TMessage>(TObject* a, TObject* b)> inner;
        bool duplicate;
    };
    const Case cases[] = {
        {"change about the same object",
         [](TObject* a, TObject*) { return std::make_unique<TObjectChangedMessage>(a); }, true},
        {"change about another object", [](TObject*, TObject* b) { return std::make_unique<TObjectChangedMessage>(b); },
         false},
        {"destroyed about the same object",
         [](TObject* a, TObject*) { return std::make_unique<TObjectDestroyedMessage>(a); }, false},
    };
    for (const Case& c : cases) {
        TInfoBus bus;
        TWidget a, b;
        Probe probe(bus);
        int duplicates = 0, idle = 0;
        bus.OnDuplicateMessage = [&](TMessage&) { ++duplicates; };
        bus.OnIdle = [&](TInfoBus&) { ++idle; };
        TMessageResultList innerResults;
        std::unique_ptr<TMessage> inner = c.inner(&a, &b);
        probe.action = [&](TMessage& m, TMessageResult&) {
            if (m.Number() == 1) bus.SendMessage(inner.get(), &innerResults);
        };
        TObjectChangedMessage outer(&a);
        bus.SendMessage(&outer);

        EXPECT_EQ(probe.received.size(), c.duplicate ? 1u : 2u) << c.name;
        ASSERT_EQ(innerResults.Count(), 1) << c.name;
        EXPECT_EQ(innerResults.Items(0).Duplicate(), c.duplicate) << c.name;
        EXPECT_EQ(innerResults.Items(0).Delivered(), !c.duplicate) << c.name;
        EXPECT_EQ(duplicates, c.duplicate ? 1 : 0) << c.name;
        EXPECT_EQ(idle, 1) << c.name << ": only the outermost send ends idle";
        EXPECT_EQ(bus.MessageStack().Count(), 0) << c.name;
        EXPECT_EQ(bus.Subscriptions().DispatchDepth(), 0) << c.name;
    }
}

TEST(InfoBusNested, ResendingTheMessageBeingDispatchedIsADuplicate) {
    TInfoBus bus;
    Probe probe(bus);
    TMessage message;
    TMessageResultList inner;
    probe.action = [&](TMessage&, TMessageResult&) {
        if (inner.Count() == 0) bus.SendMessage(&message, &inner);
    };
    bus.SendMessage(&message);
    ASSERT_EQ(inner.Count(), 1);
    EXPECT_TRUE(inner.Items(0).Duplicate());
    EXPECT_EQ(probe.received.size(), 1u);
}

TEST(InfoBusSubscriptions, RemovedDuringDispatchIsSkippedAndAddedGetsTheNextMessage) {
    TInfoBus bus;
    Probe first(bus), second(bus), third(bus);
    Probe late(bus, false);
    first.action = [&](TMessage& m, TMessageResult&) {
        if (m.Number() == 1) {
            bus.Unsubscribe(&second.subscription);
            bus.Subscribe(&late.subscription);
        }
    };
    TMessage message;
    bus.SendMessage(&message);
    EXPECT_EQ(first.received, (std::vector<std::uint32_t>{1}));
    EXPECT_TRUE(second.received.empty());
    EXPECT_EQ(third.received, (std::vector<std::uint32_t>{1}));
    EXPECT_TRUE(late.received.empty());
    // The removed subscription left a hole.
    EXPECT_EQ(second.subscription.Container(), nullptr);
    EXPECT_TRUE(bus.Subscriptions().Dirty());
    ASSERT_EQ(bus.Subscriptions().Count(), 4);
    EXPECT_EQ(bus.Subscriptions().Items(1), nullptr);
    EXPECT_EQ(bus.Subscriptions().Containers(1)->Index(), -1);

    bus.SendMessage(&message);
    EXPECT_EQ(late.received, (std::vector<std::uint32_t>{2}));
    EXPECT_TRUE(second.received.empty());
}

TEST(InfoBusSubscriptions, HolesAreCompactedAfter501Dispatches) {
    TInfoBus bus;
    Probe a(bus), b(bus), c(bus), d(bus);
    a.action = [&](TMessage& m, TMessageResult&) {
        if (m.Number() == 1) bus.Unsubscribe(&b.subscription);
    };
    // Removed outside a dispatch: the slot is emptied at once.
    bus.Unsubscribe(&c.subscription);
    TSubscriptionList& list = bus.Subscriptions();
    EXPECT_EQ(list.Containers(2), nullptr);

    TMessage message;
    for (int i = 0; i < 500; ++i) bus.SendMessage(&message);
    EXPECT_EQ(list.CompactionCounter(), 500);
    EXPECT_EQ(list.Count(), 4) << "holes stay through 500 dispatches";
    EXPECT_TRUE(list.Dirty());

    bus.SendMessage(&message);
    EXPECT_EQ(list.CompactionCounter(), 0);
    EXPECT_FALSE(list.Dirty());
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Items(0), &a.subscription);
    EXPECT_EQ(list.Items(1), &d.subscription);
    for (int i = 0; i < list.Count(); ++i) EXPECT_EQ(list.Containers(i)->Index(), i);
    EXPECT_EQ(d.received.size(), 501u);

    // Removing after compaction uses the new positions.
    bus.Unsubscribe(&d.subscription);
    EXPECT_EQ(list.Containers(1), nullptr);
    EXPECT_EQ(list.Items(0), &a.subscription);
}

TEST(InfoBusSubscriptions, DestroyingASubscriptionLeavesTheList) {
    TInfoBus bus;
    Probe kept(bus);
    {
        Probe gone(bus);
        ASSERT_EQ(bus.Subscriptions().Count(), 2);
    }
    EXPECT_EQ(bus.Subscriptions().Items(1), nullptr);
    TMessage message;
    bus.SendMessage(&message);
    EXPECT_EQ(kept.received.size(), 1u);
}

TEST(InfoBusSubscriptions, DestroyedDuringDispatchByAnotherSubscriber) {
    TInfoBus bus;
    Probe first(bus);
    auto victim = std::make_unique<Probe>(bus);
    Probe last(bus);
    first.action = [&](TMessage&, TMessageResult&) { victim.reset(); };
    TMessage message;
    bus.SendMessage(&message);
    EXPECT_EQ(last.received.size(), 1u);
}

TEST(InfoBusSubscriptions, DuplicateSubscriptionErrors) {
    TInfoBus bus;
    class TSelfRegistering : public TSubscriber {
    public:
        explicit TSelfRegistering(TInfoBus& bus) : bus_(bus) {}
        ~TSelfRegistering() override { Unsubscribe(); }
        TAcceptAll subscription{this};

    protected:
        void DoSubscribe() override { bus_.Subscribe(&subscription); }
        void DoUnsubscribe() override { bus_.Unsubscribe(&subscription); }

    private:
        TInfoBus& bus_;
    };
    TSelfRegistering subscriber(bus);
    subscriber.Subscribe();
    EXPECT_TRUE(subscriber.Subscribed());
    subscriber.Subscribe();  // already subscribed: nothing happens
    EXPECT_EQ(bus.Subscriptions().Count(), 1);

    TAcceptAll another(&subscriber);
    try {
        bus.Subscribe(&another);
        FAIL() << "no error";
    } catch (const EInfoBusError& e) {
        EXPECT_STREQ(e.what(), "Attempting to add duplicate subscription to subscription list");
    }

    subscriber.Unsubscribe();
    EXPECT_FALSE(subscriber.Subscribed());
    EXPECT_EQ(subscriber.subscription.Container(), nullptr);

    // The same subscription twice while its subscriber does not count as subscribed.
    bus.Subscribe(&another);
    try {
        bus.Subscribe(&another);
        FAIL() << "no assertion";
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.assertion(), "Attempting to place a subscription into a container when it already has a container");
        EXPECT_EQ(e.module(), "InfoBus/Code/KOR_TSubscriber");
        EXPECT_EQ(e.line(), 451);
    }
    EXPECT_EQ(bus.Subscriptions().Count(), 2);
}

TEST(InfoBusSubscriptions, RemovingASubscriptionThatIsInNoList) {
    TInfoBus bus;
    TSubscriber subscriber;
    TAcceptAll subscription(&subscriber);
    EXPECT_EQ(bus.Subscriptions().Remove(&subscription), nullptr);
    EXPECT_FALSE(bus.Subscriptions().Dirty());
    bus.Subscribe(&subscription);
    EXPECT_EQ(bus.Subscriptions().Remove(&subscription), &subscription);
    EXPECT_TRUE(bus.Subscriptions().Dirty());
}

TEST(InfoBusSubscriptions, MissingSubscriberOrPublisher) {
    try {
        TAcceptAll subscription(nullptr);
        FAIL() << "no error";
    } catch (const ENoSubscriberError& e) {
        EXPECT_STREQ(e.what(), "Nil pointer passed to TSubscription.Create");
    }
    try {
        TTrigger trigger(nullptr);
        FAIL() << "no error";
    } catch (const ENoPublisherError& e) {
        EXPECT_STREQ(e.what(), "Nil pointer passed to TTrigger.Create");
    }
}

TEST(InfoBusFailures, AnExceptionInASubscriberLeavesSendButRestoresTheBus) {
    TInfoBus bus;
    Probe thrower(bus), later(bus);
    int idle = 0, after = 0;
    bus.OnIdle = [&](TInfoBus&) { ++idle; };
    bus.OnAfterSend = [&](TMessage&, TMessageResultList&, long double) { ++after; };
    thrower.action = [&](TMessage& m, TMessageResult&) {
        if (m.Number() == 1) throw std::runtime_error("subscriber failed");
    };
    TMessage message;
    EXPECT_THROW(bus.SendMessage(&message), std::runtime_error);
    EXPECT_TRUE(later.received.empty());
    EXPECT_EQ(idle, 1);
    EXPECT_EQ(after, 0);
    EXPECT_FALSE(bus.Sending());
    EXPECT_EQ(bus.MessageStack().Count(), 0);
    EXPECT_FALSE(bus.Subscriptions().Dispatching());

    bus.SendMessage(&message);
    EXPECT_EQ(later.received, (std::vector<std::uint32_t>{2}));
}

TEST(InfoBusFailures, StackOverflowLeavesSend) {
    TInfoBus bus;
    Probe probe(bus);
    bus.MessageStack().SetMaxMessages(2);
    int depth = 0;
    std::vector<std::unique_ptr<TMessage>> inner;
    probe.action = [&](TMessage&, TMessageResult&) {
        ++depth;
        inner.push_back(std::make_unique<TMessage>());
        bus.SendMessage(inner.back().get());
    };
    TMessage message;
    try {
        bus.SendMessage(&message);
        FAIL() << "no overflow";
    } catch (const EMessageStackError& e) {
        EXPECT_STREQ(e.what(), "Message Stack overflow, maximum allowed messages exceeded");
    }
    EXPECT_EQ(depth, 3);
    EXPECT_EQ(bus.MessageStack().Count(), 0);
    EXPECT_EQ(bus.Subscriptions().DispatchDepth(), 0);
}

// --- the state subscriber ------------------------------------------------------------------------------------------

TEST(InfoBusStateSubscriber, SortsStateMessagesIntoEvents) {
    TInfoBus bus;
    TCustomStateSubscriber subscriber;
    TAcceptAll subscription(&subscriber);
    bus.Subscribe(&subscription);
    TWidget widget;
    std::vector<std::string> log;
    auto record = [&](const char* event) {
        return [&log, event, &widget](TCustomStateSubscriber&, TObject* observed, TMessageResult& result,
                                      const std::type_info& cls) {
            log.push_back(std::string(event) + " " + ClassNameOf(cls) + (observed == &widget ? " widget" : " ?") +
                          (result.Delivered() ? " delivered" : ""));
        };
    };
    subscriber.OnStateMessage = record("state");
    subscriber.OnObjectChanged = record("changed");
    subscriber.OnObjectCreated = record("created");
    subscriber.OnObjectDestroyed = record("destroyed");
    subscriber.OnMessage = [&](TSubscriber&, TMessage& m, TMessageResult&) {
        log.push_back("message " + m.ClassName());
    };

    TObjectChangedMessage changed(&widget);
    TObjectCreatedMessage created(&widget);
    TObjectDestroyedMessage destroyed(&widget);
    TMessage plain;
    bus.SendMessage(&changed);
    bus.SendMessage(&created);
    bus.SendMessage(&destroyed);
    bus.SendMessage(&plain);
    EXPECT_EQ(log, (std::vector<std::string>{
                       "message TObjectChangedMessage",
                       "state TObjectChangedMessage widget delivered",
                       "changed TObjectChangedMessage widget delivered",
                       "message TObjectCreatedMessage",
                       "state TObjectCreatedMessage widget delivered",
                       "created TObjectCreatedMessage widget delivered",
                       "message TObjectDestroyedMessage",
                       "state TObjectDestroyedMessage widget delivered",
                       "destroyed TObjectDestroyedMessage widget delivered",
                       "message TMessage",
                   }));
}

TEST(InfoBusStateSubscriber, AHandlerMayDestroyItsOwnSubscriber) {
    TInfoBus bus;
    auto subscriber = std::make_unique<TCustomStateSubscriber>();
    auto subscription = std::make_unique<TAcceptAll>(subscriber.get());
    bus.Subscribe(subscription.get());
    int changedCalls = 0;
    subscriber->OnStateMessage = [&](TCustomStateSubscriber&, TObject*, TMessageResult&, const std::type_info&) {
        subscription.reset();
        subscriber.reset();
    };
    subscriber->OnObjectChanged = [&](TCustomStateSubscriber&, TObject*, TMessageResult&, const std::type_info&) {
        ++changedCalls;
    };
    TWidget widget;
    TObjectChangedMessage changed(&widget);
    bus.SendMessage(&changed);
    EXPECT_EQ(subscriber, nullptr);
    EXPECT_EQ(changedCalls, 0);
}

}  // namespace
