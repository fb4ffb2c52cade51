#include "FlashXML/Code/KOR_TManagedFlashObject.h"

#include <algorithm>
#include <stdexcept>

#include "Code/SPX_Assert.h"

namespace spectrel {

// --- TBASEObject ---------------------------------------------------------------------------------------------------

TBASEObject::TBASEObject(TLiveObjectTable* liveObjects) : liveObjects_(liveObjects) {
    if (liveObjects_ != nullptr) liveObjects_->Created(this);
}

TBASEObject::~TBASEObject() {
    if (liveObjects_ != nullptr) liveObjects_->Destroyed(this);
}

void TBASEObject::BeginUpdate() { ++updateCount_; }

void TBASEObject::Changed() {
    if (OnChange) OnChange(*this);
}

void TBASEObject::EndUpdate() {
    const int was = updateCount_;
    --updateCount_;
    if (was == 1) Changed();
}

// --- the state trigger and publisher -----------------------------------------------------------------------------

TFlashElementStateTrigger::TFlashElementStateTrigger(TInfoBus& bus, TPublisher* publisher, TObject* observedObject,
                                                     bool suppressCreationMessage)
    : TTrigger(publisher), bus_(bus), observed_(observedObject) {
    if (observedObject == nullptr) throw ENoObservedObjectError();
    if (!suppressCreationMessage) {
        TObjectCreatedMessage message(observed_);
        bus_.SendMessage(&message);
    }
}

TFlashElementStateTrigger::~TFlashElementStateTrigger() {
    if (!destroyNotified_) {
        try {
            Destroying();
        } catch (...) {
            // A destructor cannot report; the lists below still let go of the object.
        }
    }
    // Lists that did not get the destruction notice (not subscribed, or the dispatch was cut short) must not keep a
    // reference to an object that is about to vanish.
    std::vector<TFlashElementStateSubscriptionList*> remaining;
    remaining.swap(watchers_);
    for (TFlashElementStateSubscriptionList* watcher : remaining) watcher->Forget(observed_);
}

void TFlashElementStateTrigger::NotifyChanged() {
    if (!HasSubscribers()) return;
    TObjectChangedMessage message(observed_);
    bus_.SendMessage(&message);
}

void TFlashElementStateTrigger::Destroying() {
    if (destroyNotified_) AssertionFailed(kNotifyTwiceText, kManagedObjectModule, kNotifyTwiceLine);
    if (!HasSubscribers()) return;
    destroyNotified_ = true;
    TObjectDestroyedMessage message(observed_);
    bus_.SendMessage(&message);
}

void TFlashElementStateTrigger::AddSubscriber(TFlashElementStateSubscriptionList* watcher) {
    if (watcher == nullptr) return;
    if (std::find(watchers_.begin(), watchers_.end(), watcher) == watchers_.end()) watchers_.push_back(watcher);
}

void TFlashElementStateTrigger::RemoveSubscriber(TFlashElementStateSubscriptionList* watcher) {
    auto it = std::find(watchers_.begin(), watchers_.end(), watcher);
    if (it != watchers_.end()) watchers_.erase(it);
}

TFlashElementStatePublisher::TFlashElementStatePublisher(TInfoBus& bus, TObject* observedObject,
                                                         bool suppressCreationMessage)
    : trigger_(std::make_unique<TFlashElementStateTrigger>(bus, this, observedObject, suppressCreationMessage)) {}

TFlashElementStatePublisher::~TFlashElementStatePublisher() = default;

// --- TManagedFlashObject -------------------------------------------------------------------------------------------

TManagedFlashObject::TManagedFlashObject(TInfoBus& bus) : TBASEObject(&bus.LiveObjects()), bus_(bus) {
    state_ = fosCreating;
    publisher_ = std::make_unique<TFlashElementStatePublisher>(bus_, this, true);
    Initialise();
    AfterInitialise();
    state_ = fosActive;
    changeNotified_ = true;
}

TManagedFlashObject::~TManagedFlashObject() {
    *alive_ = false;
    if (state_ == fosDestroying) return;
    try {
        BeginDestruction();
    } catch (...) {
        // A destructor cannot report; the controller has been unlocked and released already.
    }
}

void TManagedFlashObject::Changed() {
    if (!IsUpdating() && publisher_ && state_ == fosActive && !changeNotified_) {
        changeNotified_ = true;
        const std::shared_ptr<bool> alive = alive_;
        publisher_->NotifyChanged();
        if (!*alive) return;
        DoChanged();
        if (!*alive) return;
    }
    TBASEObject::Changed();
}

void TManagedFlashObject::Modified() { changeNotified_ = false; }

void TManagedFlashObject::BeginDestruction() {
    if (state_ == fosDestroying) AssertionFailed(kDestroyingTwiceText, kManagedObjectModule, kDestroyingTwiceLine);
    TGuiController& controller = TGuiController::Create(bus_);
    controller.Lock();
    state_ = fosDestroying;
    auto finish = [&] {
        controller.Unlock();
        controller.Release();
    };
    try {
        BeforeDestroy();
        if (publisher_) publisher_->NotifyDestroying();
        Finalise();
        publisher_.reset();
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

void TFlashElement::SetAsString(const std::string& /*text*/) { throw std::runtime_error(kSetAsStringText); }

// --- watching objects --------------------------------------------------------------------------------------------

TFlashElementStateSubscriptionList::TFlashElementStateSubscriptionList(TSubscriber* subscriber)
    : TSubscription(subscriber) {}

TFlashElementStateSubscriptionList::~TFlashElementStateSubscriptionList() { Clear(); }

bool TFlashElementStateSubscriptionList::Contains(const TObject* object) const {
    return std::any_of(watched_.begin(), watched_.end(),
                       [object](const TManagedFlashObject* w) { return static_cast<const TObject*>(w) == object; });
}

bool TFlashElementStateSubscriptionList::Accepts(TMessage& message) {
    auto* state = dynamic_cast<TObjectStateMessage*>(&message);
    if (state == nullptr) return false;
    TObject* observed = state->ObservedObject();
    auto it = std::find_if(watched_.begin(), watched_.end(), [observed](const TManagedFlashObject* w) {
        return static_cast<const TObject*>(w) == observed;
    });
    if (it == watched_.end()) return false;
    // A destroyed object leaves the list before its message is delivered.
    if (dynamic_cast<TObjectDestroyedMessage*>(&message) != nullptr) Remove(*it);
    return true;
}

void TFlashElementStateSubscriptionList::Add(TManagedFlashObject* object) {
    // An object whose publisher is already gone could never tell this list that it vanished.
    if (object == nullptr || object->Publisher() == nullptr || Contains(object)) return;
    watched_.push_back(object);
    Watch(object);
}

void TFlashElementStateSubscriptionList::Remove(TManagedFlashObject* object) {
    auto it = std::find(watched_.begin(), watched_.end(), object);
    if (object == nullptr || it == watched_.end()) return;
    watched_.erase(it);
    Unwatch(object);
}

void TFlashElementStateSubscriptionList::Clear() {
    std::vector<TManagedFlashObject*> watched;
    watched.swap(watched_);
    for (TManagedFlashObject* object : watched) Unwatch(object);
}

void TFlashElementStateSubscriptionList::Watch(TManagedFlashObject* object) {
    if (object->Publisher() != nullptr) object->Publisher()->AddSubscriber(this);
}

void TFlashElementStateSubscriptionList::Unwatch(TManagedFlashObject* object) {
    if (object->Publisher() != nullptr) object->Publisher()->RemoveSubscriber(this);
}

void TFlashElementStateSubscriptionList::Forget(const TObject* object) {
    std::erase_if(watched_,
                  [object](const TManagedFlashObject* w) { return static_cast<const TObject*>(w) == object; });
}

TFlashElementStateSubscriberList::TFlashElementStateSubscriberList(TInfoBus& bus, TManagedFlashObject* firstObject,
                                                                   bool subscribeNow, TStateEvent stateHandler)
    : bus_(bus), subscription_(std::make_unique<TFlashElementStateSubscriptionList>(this)) {
    if (firstObject != nullptr) subscription_->Add(firstObject);
    OnStateMessage = std::move(stateHandler);
    if (subscribeNow) Subscribe();
}

TFlashElementStateSubscriberList::~TFlashElementStateSubscriberList() {
    Unsubscribe();
    subscription_.reset();
}

void TFlashElementStateSubscriberList::DoUnsubscribe() {
    bus_.Unsubscribe(subscription_.get());
    TCustomStateSubscriber::DoUnsubscribe();
}

void TFlashElementStateSubscriberList::DoSubscribe() {
    TCustomStateSubscriber::DoSubscribe();
    bus_.Subscribe(subscription_.get());
}

// --- the GUI controller --------------------------------------------------------------------------------------------

TGuiController& TGuiController::Create(TInfoBus& bus) {
    if (bus.guiController_ == nullptr) bus.guiController_ = new TGuiController(bus);
    ++bus.guiControllerRefs_;
    return *bus.guiController_;
}

TGuiController::TGuiController(TInfoBus& bus) : bus_(bus) {
    bus_.OnIdle = [this](TInfoBus&) {
        if (pending_) Flush();
    };
}

TGuiController::~TGuiController() = default;

void TGuiController::Release() {
    if (--bus_.guiControllerRefs_ > 0) return;
    bus_.guiControllerRefs_ = 0;
    bus_.OnIdle = nullptr;
    bus_.guiController_ = nullptr;
    delete this;
}

void TGuiController::Lock() { ++lockCount_; }

void TGuiController::Unlock() {
    --lockCount_;
    if (lockCount_ > 0) return;
    lockCount_ = 0;
    if (bus_.IsIdle()) Flush();
}

void TGuiController::Flush() {
    if (IsLocked()) return;
    while (!queue_.empty()) {
        // Taken off the queue before it runs, so a callback that flushes again does not run it twice.
        std::unique_ptr<TGuiCallback> entry = std::move(queue_.front());
        queue_.pop_front();
        if (entry && entry->OnCall) entry->OnCall(*entry);
    }
    pending_ = false;
}

void TGuiController::Post(std::unique_ptr<TGuiCallback> entry) {
    if (!entry) return;
    queue_.push_back(std::move(entry));
    pending_ = true;
}

// --- the checks at program end -----------------------------------------------------------------------------------

void CheckManagedObjectsAtEnd(TInfoBus& bus, platform::MessageBoxes& boxes, std::ostream* debugOutput) {
    using platform::MessageButton;
    using platform::MessageKind;
    if (TGuiController* controller = TGuiController::Instance(bus); controller && controller->LockCount() > 0)
        boxes.show(MessageKind::Error,
                   "Dangling locks for TGuiController class (" + std::to_string(controller->LockCount()) + ")",
                   MessageButton::Ok);
    if (!TLiveObjectTable::Active()) return;
    if (const int refs = TGuiController::RefCount(bus); refs > 0)
        boxes.show(MessageKind::Error,
                   "Dangling reference count for TGuiController class (" + std::to_string(refs) + ")",
                   MessageButton::Ok);
    const std::map<std::string, int> counts = bus.LiveObjects().Counts();
    int total = 0;
    bool anyNonZero = false;
    for (const auto& [name, count] : counts) {
        total += count;
        anyNonZero = anyNonZero || count != 0;
    }
    if (total == 0 || !anyNonZero) return;
    if (debugOutput != nullptr)
        for (const auto& [name, count] : counts) *debugOutput << "Unfreed " << name << ": " << count << '\n';
    boxes.show(MessageKind::Error, "Unfreed Objects. Check Debug Output", MessageButton::Ok, "KOR Debug");
}

}  // namespace spectrel
