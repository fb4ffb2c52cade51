#include "InfoBus/Code/KOR_TSubscriber.h"

#include <algorithm>
#include <chrono>

#include "Code/SPX_Assert.h"

namespace spectrel {

// --- subscribers -------------------------------------------------------------------------------------------------

TSubscriber::~TSubscriber() {
    *alive_ = false;
    try {
        Unsubscribe();
    } catch (...) {
        // A destructor cannot report; the subscriber is gone either way.
    }
}

void TSubscriber::Subscribe() {
    if (subscribed_) return;
    DoSubscribe();
    subscribed_ = true;
}

void TSubscriber::Unsubscribe() {
    if (!subscribed_) return;
    DoUnsubscribe();
    subscribed_ = false;
}

void TSubscriber::Receive(TMessage& message, TSubscription& /*subscription*/, TMessageResult& result) {
    result.SetDelivered(true);
    if (OnMessage) OnMessage(*this, message, result);
}

void TCustomStateSubscriber::Receive(TMessage& message, TSubscription& subscription, TMessageResult& result) {
    const std::shared_ptr<bool> alive = AliveToken();
    TSubscriber::Receive(message, subscription, result);
    auto* state = dynamic_cast<TObjectStateMessage*>(&message);
    if (state == nullptr || !*alive) return;
    TObject* observed = state->ObservedObject();
    const std::type_info& cls = typeid(message);
    if (OnStateMessage) OnStateMessage(*this, observed, result, cls);
    if (!*alive) return;
    if (dynamic_cast<TObjectChangedMessage*>(&message) != nullptr) {
        if (OnObjectChanged) OnObjectChanged(*this, observed, result, cls);
    } else if (dynamic_cast<TObjectCreatedMessage*>(&message) != nullptr) {
        if (OnObjectCreated) OnObjectCreated(*this, observed, result, cls);
    } else if (dynamic_cast<TObjectDestroyedMessage*>(&message) != nullptr) {
        if (OnObjectDestroyed) OnObjectDestroyed(*this, observed, result, cls);
    }
}

// --- subscriptions -----------------------------------------------------------------------------------------------

TSubscription::TSubscription(TSubscriber* subscriber) : subscriber_(subscriber) {
    if (subscriber == nullptr) throw ENoSubscriberError();
}

TSubscription::~TSubscription() {
    if (container_ != nullptr) container_->List()->Remove(this);
}

bool TSubscription::Accepts(TMessage& /*message*/) { return false; }

std::unique_ptr<TMessageResult> TSubscription::CreateResult() { return std::make_unique<TMessageResult>(); }

TSubscriptionContainer::TSubscriptionContainer(TSubscription* subscription, TSubscriptionList* list)
    : subscription_(subscription), list_(list) {
    if (subscription->container_ != nullptr) AssertionFailed(kContainerText, kSubscriberModule, kContainerLine);
    subscription->container_ = this;
}

TSubscriptionContainer::~TSubscriptionContainer() { Detach(); }

void TSubscriptionContainer::Detach() {
    if (subscription_ != nullptr) subscription_->container_ = nullptr;
    subscription_ = nullptr;
    index_ = -1;
}

TSubscriptionList::~TSubscriptionList() {
    for (TSubscriptionContainer* container : slots_) delete container;
}

void TSubscriptionList::Add(TSubscription* subscription) {
    if (subscription->Subscriber().Subscribed()) throw EInfoBusError();
    slots_.reserve(slots_.size() + 1);
    auto* container = new TSubscriptionContainer(subscription, this);
    container->index_ = Count();
    slots_.push_back(container);
}

TSubscription* TSubscriptionList::Remove(TSubscription* subscription) {
    TSubscriptionContainer* container = subscription->Container();
    if (container == nullptr) return nullptr;
    const int index = container->Index();
    if (dispatching_) {
        container->Detach();
    } else {
        if (index >= 0 && index < Count() && slots_[static_cast<std::size_t>(index)] == container)
            slots_[static_cast<std::size_t>(index)] = nullptr;
        delete container;
    }
    dirty_ = true;
    return subscription;
}

TSubscription* TSubscriptionList::Items(int index) const {
    TSubscriptionContainer* container = Containers(index);
    return container != nullptr ? container->Subscription() : nullptr;
}

TSubscriptionContainer* TSubscriptionList::Containers(int index) const {
    return slots_.at(static_cast<std::size_t>(index));
}

void TSubscriptionList::BeginDispatch() {
    dispatching_ = true;
    ++depth_;
}

void TSubscriptionList::EndDispatch() {
    --depth_;
    if (depth_ > 0) return;
    depth_ = 0;
    dispatching_ = false;
    if (dirty_) Compact();
}

void TSubscriptionList::Compact() {
    ++compactionCounter_;
    if (compactionCounter_ <= kCompactionInterval) return;
    compactionCounter_ = 0;
    std::vector<TSubscriptionContainer*> kept;
    kept.reserve(slots_.size());
    for (TSubscriptionContainer* container : slots_) {
        if (container == nullptr) continue;
        if (container->Subscription() == nullptr) {
            delete container;
            continue;
        }
        container->index_ = static_cast<int>(kept.size());
        kept.push_back(container);
    }
    slots_ = std::move(kept);
    dirty_ = false;
}

// --- publishers and triggers -------------------------------------------------------------------------------------

TTrigger::TTrigger(TPublisher* publisher) : publisher_(publisher) {
    if (publisher == nullptr) throw ENoPublisherError();
}

// --- the bus -------------------------------------------------------------------------------------------------------

std::int64_t TSteadyCounter::Ticks() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void TLiveObjectTable::Created([[maybe_unused]] const TObject* object) {
#ifdef SPECTREL_OBJECT_ACCOUNTING
    live_.insert(object);
#endif
}

void TLiveObjectTable::Destroyed([[maybe_unused]] const TObject* object) {
#ifdef SPECTREL_OBJECT_ACCOUNTING
    live_.erase(object);
#endif
}

std::map<std::string, int> TLiveObjectTable::Counts() const {
    std::map<std::string, int> counts;
    for (const TObject* object : live_) ++counts[object->ClassName()];
    return counts;
}

TInfoBus::TInfoBus() : ownCounter_(std::make_unique<TSteadyCounter>()), clock_(ownCounter_.get()) {}

TInfoBus::TInfoBus(THighResolutionCounter& counter) : clock_(&counter) {}

TInfoBus::~TInfoBus() = default;

void TInfoBus::Subscribe(TSubscription* subscription) { subscriptions_.Add(subscription); }

void TInfoBus::Unsubscribe(TSubscription* subscription) { subscriptions_.Remove(subscription); }

void TInfoBus::SendMessage(TMessage* message, TMessageResultList* results) {
    if (message == nullptr) throw ENoMessageError();
    std::unique_ptr<TMessageResultList> temporary;
    if (results == nullptr) {
        temporary = std::make_unique<TMessageResultList>();
        results = temporary.get();
    }
    auto finish = [&] {
        sending_ = false;
        temporary.reset();
        if (!subscriptions_.Dispatching() && OnIdle) {
            // A copy: the handler may replace or clear the event while it runs.
            const TIdleEvent idle = OnIdle;
            idle(*this);
        }
    };
    try {
        sending_ = true;
        counter_ = (counter_ == UINT32_MAX) ? 0 : counter_ + 1;
        message->SetNumber(counter_);
        if (OnBeforeSend) OnBeforeSend(*message, *results);
        const std::int64_t start = clock_->Ticks();
        if (!message->Cancelled()) Dispatch(*message, *results);
        const std::int64_t stop = clock_->Ticks();
        const std::int64_t frequency = clock_->Frequency();
        if (frequency > 0) {
            const std::int64_t ticksPerMs = frequency / 1000;
            // A counter slower than 1 kHz has no whole tick per millisecond; scale it instead of dividing by 0.
            lastSendTime_ = ticksPerMs > 0 ? static_cast<long double>(stop - start) / ticksPerMs
                                           : static_cast<long double>(stop - start) * 1000.0L / frequency;
        } else {
            lastSendTime_ = 0;
        }
        if (OnAfterSend) OnAfterSend(*message, *results, lastSendTime_);
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

void TInfoBus::Dispatch(TMessage& message, TMessageResultList& results) {
    try {
        stack_.Push(&message);
    } catch (const EMessageStackDuplicateMessageError&) {
        auto result = std::make_unique<TMessageResult>();
        result->SetDuplicate(true);
        results.Add(std::move(result));
        if (OnDuplicateMessage) OnDuplicateMessage(message);
        return;
    }
    subscriptions_.BeginDispatch();
    auto finish = [&] {
        subscriptions_.EndDispatch();
        stack_.Pop(&message);
    };
    try {
        const int count = subscriptions_.Count();
        for (int i = 0; i < count; ++i) {
            TSubscriptionContainer* container = subscriptions_.Containers(i);
            if (container == nullptr || container->Subscription() == nullptr) continue;
            Deliver(*container->Subscription(), message, results);
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

void TInfoBus::Deliver(TSubscription& subscription, TMessage& message, TMessageResultList& results) {
    if (!subscription.Accepts(message)) return;
    std::unique_ptr<TMessageResult> result = subscription.CreateResult();
    std::unique_ptr<TMessage> copy = message.NewInstance();
    copy->Assign(message);
    // The result goes into the list before Receive, so a receiver that throws does not lose it.
    TMessageResult& kept = *result;
    results.Add(std::move(result));
    subscription.Subscriber().Receive(*copy, subscription, kept);
}

}  // namespace spectrel
