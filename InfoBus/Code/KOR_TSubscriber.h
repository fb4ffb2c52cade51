#pragma once
// Subscribers, subscriptions, the subscription list, publishers and triggers, and the bus itself.
//
// The bus delivers synchronously inside SendMessage: every subscription that accepts a message gets its own copy.
// Nested sends are expected; a message that matches one still being dispatched is refused as a duplicate.
// One bus serves the whole program; its owner creates it before any managed object and destroys it after the last
// one (every subscriber and managed object keeps a reference to it).

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <typeinfo>
#include <vector>

#include "InfoBus/Code/KOR_TMessage.h"

namespace spectrel {

class TSubscription;
class TSubscriptionContainer;
class TSubscriptionList;
class TInfoBus;
class TGuiController;

inline constexpr const char* kSubscriberModule = "InfoBus/Code/KOR_TSubscriber";
inline constexpr int kContainerLine = 451;
inline constexpr const char* kContainerText =
    "Attempting to place a subscription into a container when it already has a container";

// --- subscribers -------------------------------------------------------------------------------------------------

class TSubscriber : public TObject {
public:
    using TMessageEvent = std::function<void(TSubscriber& sender, TMessage& message, TMessageResult& result)>;

    TSubscriber() = default;
    // A subclass that registers in DoSubscribe calls Unsubscribe in its own destructor; this one can only run the
    // base class's (empty) DoUnsubscribe.
    ~TSubscriber() override;

    // When not yet subscribed: DoSubscribe, then Subscribed becomes true.
    void Subscribe();
    // When subscribed: DoUnsubscribe, then Subscribed becomes false.
    void Unsubscribe();
    bool Subscribed() const { return subscribed_; }

    // Sets Delivered in the result and calls OnMessage.
    virtual void Receive(TMessage& message, TSubscription& subscription, TMessageResult& result);

    TMessageEvent OnMessage;

protected:
    virtual void DoUnsubscribe() {}
    virtual void DoSubscribe() {}
    // False once the subscriber is destroyed; lets Receive stop when a handler destroyed its own subscriber.
    std::shared_ptr<bool> AliveToken() const { return alive_; }

private:
    bool subscribed_ = false;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// A subscriber that also sorts object-state messages into events by their class.
class TCustomStateSubscriber : public TSubscriber {
public:
    using TStateEvent = std::function<void(TCustomStateSubscriber& sender, TObject* observedObject,
                                           TMessageResult& result, const std::type_info& messageClass)>;

    // As TSubscriber, then for a state message: OnStateMessage, then OnObjectChanged, OnObjectCreated or
    // OnObjectDestroyed by the message's class.
    void Receive(TMessage& message, TSubscription& subscription, TMessageResult& result) override;

    TStateEvent OnStateMessage;
    TStateEvent OnObjectCreated;
    TStateEvent OnObjectDestroyed;
    TStateEvent OnObjectChanged;
};

// --- subscriptions -----------------------------------------------------------------------------------------------

// What a subscriber wants to receive. It belongs to its subscriber, which must outlive it.
class TSubscription : public TObject {
public:
    // Raises ENoSubscriberError without a subscriber.
    explicit TSubscription(TSubscriber* subscriber);
    // Leaves the subscription list it is still in.
    ~TSubscription() override;

    virtual bool Accepts(TMessage& message);
    virtual std::unique_ptr<TMessageResult> CreateResult();

    TSubscriber& Subscriber() const { return *subscriber_; }
    TSubscriptionContainer* Container() const { return container_; }

private:
    friend class TSubscriptionContainer;
    TSubscriber* subscriber_;
    TSubscriptionContainer* container_ = nullptr;
};

// A slot of the subscription list. During a dispatch a removed subscription only detaches from its container,
// which stays in the list as a hole until the list is compacted.
class TSubscriptionContainer {
public:
    // Fails the assertion at line 451 when the subscription already has a container.
    TSubscriptionContainer(TSubscription* subscription, TSubscriptionList* list);
    TSubscriptionContainer(const TSubscriptionContainer&) = delete;
    TSubscriptionContainer& operator=(const TSubscriptionContainer&) = delete;
    virtual ~TSubscriptionContainer();

    TSubscription* Subscription() const { return subscription_; }
    int Index() const { return index_; }
    TSubscriptionList* List() const { return list_; }

private:
    friend class TSubscriptionList;
    void Detach();
    TSubscription* subscription_;
    TSubscriptionList* list_;
    int index_ = -1;
};

class TSubscriptionList {
public:
    // Compaction runs on every EndDispatch that leaves removals pending, but only every 501st one tidies up.
    static constexpr int kCompactionInterval = 500;

    TSubscriptionList() = default;
    TSubscriptionList(const TSubscriptionList&) = delete;
    TSubscriptionList& operator=(const TSubscriptionList&) = delete;
    ~TSubscriptionList();

    // Raises EInfoBusError when the subscription's subscriber is already Subscribed.
    void Add(TSubscription* subscription);
    // Returns the subscription (not destroyed) or nullptr when it was in no list.
    TSubscription* Remove(TSubscription* subscription);
    // Number of slots, holes included.
    int Count() const { return static_cast<int>(slots_.size()); }
    // The subscription in slot i, or nullptr for an empty slot or a detached container.
    TSubscription* Items(int index) const;
    // The container in slot i, or nullptr for an empty slot.
    TSubscriptionContainer* Containers(int index) const;
    void BeginDispatch();
    void EndDispatch();

    bool Dispatching() const { return dispatching_; }
    bool Dirty() const { return dirty_; }
    int DispatchDepth() const { return depth_; }
    int CompactionCounter() const { return compactionCounter_; }

private:
    void Compact();
    std::vector<TSubscriptionContainer*> slots_;
    bool dispatching_ = false;
    bool dirty_ = false;
    int depth_ = 0;
    int compactionCounter_ = 0;
};

// --- publishers and triggers -------------------------------------------------------------------------------------

class TPublisher : public TObject {};

class TTrigger : public TObject {
public:
    // Raises ENoPublisherError without a publisher.
    explicit TTrigger(TPublisher* publisher);
    TPublisher& Publisher() const { return *publisher_; }

protected:
    virtual void DoTrigger() {}

private:
    TPublisher* publisher_;
};

// --- the bus -------------------------------------------------------------------------------------------------------

// A monotonic counter with a known tick frequency; times a send.
class THighResolutionCounter {
public:
    virtual ~THighResolutionCounter() = default;
    virtual std::int64_t Ticks() = 0;
    // Ticks per second; 0 when unknown.
    virtual std::int64_t Frequency() = 0;
};

// std::chrono::steady_clock in nanoseconds.
class TSteadyCounter : public THighResolutionCounter {
public:
    std::int64_t Ticks() override;
    std::int64_t Frequency() override { return 1'000'000'000; }
};

// Live managed objects per exact class, kept only in builds with SPECTREL_OBJECT_ACCOUNTING (a diagnostics switch);
// otherwise it stays empty and Active() is false.
class TLiveObjectTable {
public:
#ifdef SPECTREL_OBJECT_ACCOUNTING
    static constexpr bool Active() { return true; }
#else
    static constexpr bool Active() { return false; }
#endif
    void Created(const TObject* object);
    void Destroyed(const TObject* object);
    // Class name to count of live instances; only objects that are alive can be asked their class.
    std::map<std::string, int> Counts() const;
    int Total() const { return static_cast<int>(live_.size()); }

private:
    std::set<const TObject*> live_;
};

class TInfoBus {
public:
    using TBeforeSendEvent = std::function<void(TMessage& message, TMessageResultList& results)>;
    using TAfterSendEvent = std::function<void(TMessage& message, TMessageResultList& results, long double elapsedMs)>;
    using TDuplicateMessageEvent = std::function<void(TMessage& message)>;
    using TIdleEvent = std::function<void(TInfoBus& bus)>;

    // Times sends with std::chrono::steady_clock.
    TInfoBus();
    // Times sends with the given counter, which must outlive the bus.
    explicit TInfoBus(THighResolutionCounter& counter);
    TInfoBus(const TInfoBus&) = delete;
    TInfoBus& operator=(const TInfoBus&) = delete;
    ~TInfoBus();

    // Numbers the message and delivers copies of it to every subscription that accepts it. The caller keeps the
    // message and the result list; without a list a temporary one is used. ENoMessageError without a message.
    void SendMessage(TMessage* message, TMessageResultList* results = nullptr);
    void SendMessage(TMessage& message, TMessageResultList* results = nullptr) { SendMessage(&message, results); }
    void Subscribe(TSubscription* subscription);
    void Unsubscribe(TSubscription* subscription);
    // True while no dispatch is running.
    bool IsIdle() const { return !subscriptions_.Dispatching(); }
    bool Sending() const { return sending_; }

    TSubscriptionList& Subscriptions() { return subscriptions_; }
    TMessageStack& MessageStack() { return stack_; }
    // Milliseconds the last send took.
    long double LastSendTime() const { return lastSendTime_; }
    // The number the last sent message got; the next gets one more, 0 after 4294967295.
    std::uint32_t MessageCounter() const { return counter_; }
    void SetMessageCounter(std::uint32_t counter) { counter_ = counter; }
    TLiveObjectTable& LiveObjects() { return liveObjects_; }

    TAfterSendEvent OnAfterSend;
    TBeforeSendEvent OnBeforeSend;
    TDuplicateMessageEvent OnDuplicateMessage;
    TIdleEvent OnIdle;

private:
    friend class TGuiController;
    void Dispatch(TMessage& message, TMessageResultList& results);
    void Deliver(TSubscription& subscription, TMessage& message, TMessageResultList& results);

    TSubscriptionList subscriptions_;
    TMessageStack stack_;
    long double lastSendTime_ = 0;
    std::uint32_t counter_ = 0;
    bool sending_ = false;
    std::unique_ptr<TSteadyCounter> ownCounter_;
    THighResolutionCounter* clock_;
    TLiveObjectTable liveObjects_;
    // The shared GUI controller of this bus and its reference count (see TGuiController).
    TGuiController* guiController_ = nullptr;
    int guiControllerRefs_ = 0;
};

}  // namespace spectrel
