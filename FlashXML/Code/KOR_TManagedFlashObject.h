#pragma once
// Managed objects: model objects that announce their changes and their destruction on the message bus, and the
// lists through which a view watches a set of them. An object that nobody watches sends nothing.

#include <deque>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "InfoBus/Code/KOR_TMessage.h"
#include "InfoBus/Code/KOR_TSubscriber.h"
#include "platform/MessageBoxes.h"

namespace spectrel {

class TManagedFlashObject;
class TFlashElementStateSubscriptionList;

inline constexpr const char* kManagedObjectModule = "FlashXML/Code/KOR_TManagedFlashObject";
inline constexpr int kDestroyingTwiceLine = 194;
inline constexpr const char* kDestroyingTwiceText =
    "A TManagedFlashObject is being destroyed and it's state is already fosDestroying";
inline constexpr int kNotifyTwiceLine = 511;
inline constexpr const char* kNotifyTwiceText =
    "Error in TFlashElementStateTrigger.Destroying: Cannot notify twice that an object is destoryed";
inline constexpr const char* kSetAsStringText = "Unable to set FlashElement as a string";

// --- update batching and the change event ------------------------------------------------------------------------

class TBASEObject : public TObject {
public:
    using TNotifyEvent = std::function<void(TBASEObject& sender)>;

    // Counts the object in the table when one is given (diagnostics builds only keep counts).
    explicit TBASEObject(TLiveObjectTable* liveObjects = nullptr);
    ~TBASEObject() override;

    virtual void BeginUpdate();
    // Calls OnChange.
    virtual void Changed();
    // The EndUpdate that closes the outermost BeginUpdate calls Changed.
    virtual void EndUpdate();

    bool IsUpdating() const { return updateCount_ > 0; }
    int UpdateCount() const { return updateCount_; }

    TNotifyEvent OnChange;

private:
    int updateCount_ = 0;
    TLiveObjectTable* liveObjects_;
};

// --- the state trigger and publisher -----------------------------------------------------------------------------

// Turns "changed" and "destroying" of one object into bus messages, but only while some state subscription list
// watches the object.
class TFlashElementStateTrigger : public TTrigger {
public:
    // ENoPublisherError without a publisher, ENoObservedObjectError without an object. Unless suppressed, a
    // TObjectCreatedMessage about the object is sent.
    TFlashElementStateTrigger(TInfoBus& bus, TPublisher* publisher, TObject* observedObject,
                              bool suppressCreationMessage);
    // Sends the destruction notice when it has not been sent yet; lists still watching then forget the object.
    ~TFlashElementStateTrigger() override;

    void NotifyChanged();
    // The destruction notice; a second one fails the assertion at line 511.
    void Destroying();
    void AddSubscriber(TFlashElementStateSubscriptionList* watcher);
    void RemoveSubscriber(TFlashElementStateSubscriptionList* watcher);

    TObject* ObservedObject() const { return observed_; }
    int SubscriberCount() const { return static_cast<int>(watchers_.size()); }
    bool HasSubscribers() const { return !watchers_.empty(); }
    bool DestroyNotified() const { return destroyNotified_; }

private:
    TInfoBus& bus_;
    TObject* observed_;
    bool destroyNotified_ = false;
    // The lists watching the object; its SubscriberCount.
    std::vector<TFlashElementStateSubscriptionList*> watchers_;
};

class TFlashElementStatePublisher : public TPublisher {
public:
    TFlashElementStatePublisher(TInfoBus& bus, TObject* observedObject, bool suppressCreationMessage);
    ~TFlashElementStatePublisher() override;

    void NotifyChanged() { trigger_->NotifyChanged(); }
    void NotifyDestroying() { trigger_->Destroying(); }
    void AddSubscriber(TFlashElementStateSubscriptionList* watcher) { trigger_->AddSubscriber(watcher); }
    void RemoveSubscriber(TFlashElementStateSubscriptionList* watcher) { trigger_->RemoveSubscriber(watcher); }
    TFlashElementStateTrigger& Trigger() const { return *trigger_; }

private:
    std::unique_ptr<TFlashElementStateTrigger> trigger_;
};

// --- managed objects ---------------------------------------------------------------------------------------------

enum TFlashObjectState { fosCreating, fosActive, fosDestroying };

class TManagedFlashObject : public TBASEObject {
public:
    // The bus must outlive the object.
    explicit TManagedFlashObject(TInfoBus& bus);
    // Runs BeginDestruction unless the most derived destructor already did.
    ~TManagedFlashObject() override;

    // Publishes a change when not updating, active and not yet notified since the last Modified; then OnChange.
    void Changed() override;
    // Re-arms publication: the next Changed publishes again.
    virtual void Modified();

    TFlashElementStatePublisher* Publisher() const { return publisher_.get(); }
    TFlashObjectState State() const { return state_; }
    bool ChangeNotified() const { return changeNotified_; }
    TInfoBus& Bus() const { return bus_; }

protected:
    // Hooks, empty here. Initialise and AfterInitialise run in this class's constructor, so they see only this
    // class; BeforeDestroy and Finalise run from BeginDestruction.
    virtual void Initialise() {}
    virtual void Finalise() {}
    virtual void AfterInitialise() {}
    virtual void DoChanged() {}
    virtual void BeforeDestroy() {}
    virtual void SpareHook() {}

    // The destruction steps: lock the GUI controller, BeforeDestroy, the destruction notice, Finalise, free the
    // publisher, unlock. A subclass destructor calls it first so that watchers see the whole object; in a
    // destructor an exception from a handler is dropped. Fails the assertion at line 194 when already destroying.
    void BeginDestruction();

private:
    TInfoBus& bus_;
    std::unique_ptr<TFlashElementStatePublisher> publisher_;
    TFlashObjectState state_ = fosCreating;
    bool changeNotified_ = false;
    // False once the object is destroyed: a watcher may destroy the object from its change handler.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// Element base with text hooks; nothing in the program overrides or calls them.
class TFlashElement : public TManagedFlashObject {
public:
    using TManagedFlashObject::TManagedFlashObject;

    virtual std::string AsString() const { return {}; }
    // Raises std::runtime_error "Unable to set FlashElement as a string".
    virtual void SetAsString(const std::string& text);
    virtual std::string ElementName() const { return {}; }
    // This element for an empty path, otherwise none.
    virtual TFlashElement* FindElement(const std::string& path) { return path.empty() ? this : nullptr; }
    virtual void RefreshElement() {}
    virtual std::string DisplayText() const { return {}; }
    virtual int ChildCount() const { return 0; }
    virtual int ElementIndex() const { return 0; }
    virtual int ElementKind() const { return 0; }
    virtual int ElementLevel() const { return 0; }
    virtual int ElementFlags() const { return 0; }
};

// --- watching objects --------------------------------------------------------------------------------------------

// The objects one view watches. Accepts state messages about them; a destroyed object leaves the list.
class TFlashElementStateSubscriptionList : public TSubscription {
public:
    explicit TFlashElementStateSubscriptionList(TSubscriber* subscriber);
    ~TFlashElementStateSubscriptionList() override;

    bool Accepts(TMessage& message) override;
    // Appends an object not yet watched and watches it.
    void Add(TManagedFlashObject* object);
    void Remove(TManagedFlashObject* object);
    // Unwatches every object.
    void Clear();
    int Count() const { return static_cast<int>(watched_.size()); }
    TManagedFlashObject* Items(int index) const { return watched_.at(static_cast<std::size_t>(index)); }
    bool Contains(const TObject* object) const;

protected:
    virtual void Watch(TManagedFlashObject* object);
    virtual void Unwatch(TManagedFlashObject* object);

private:
    friend class TFlashElementStateTrigger;
    // The object is gone without this list being told by message; drop the reference only.
    void Forget(const TObject* object);
    std::vector<TManagedFlashObject*> watched_;
};

// A subscriber that watches a set of managed objects and calls its state handler for every state message about
// one of them.
class TFlashElementStateSubscriberList : public TCustomStateSubscriber {
public:
    // The bus must outlive the list.
    TFlashElementStateSubscriberList(TInfoBus& bus, TManagedFlashObject* firstObject, bool subscribeNow,
                                     TStateEvent stateHandler);
    ~TFlashElementStateSubscriberList() override;

    void Add(TManagedFlashObject* object) { subscription_->Add(object); }
    void Remove(TManagedFlashObject* object) { subscription_->Remove(object); }
    void Clear() { subscription_->Clear(); }
    TFlashElementStateSubscriptionList& Subscription() const { return *subscription_; }

protected:
    void DoUnsubscribe() override;
    void DoSubscribe() override;

private:
    TInfoBus& bus_;
    std::unique_ptr<TFlashElementStateSubscriptionList> subscription_;
};

// --- the GUI controller --------------------------------------------------------------------------------------------

// A queued interface callback; its event is called with the entry itself.
class TGuiCallback : public TObject {
public:
    std::function<void(TGuiCallback& entry)> OnCall;
};

// A lock shared by all users of one bus that holds back queued interface callbacks while objects are destroyed.
// Create returns the shared instance (making it when none exists) and counts a reference; the Release that brings
// the count to 0 frees it. While it exists it is the bus's OnIdle handler.
class TGuiController {
public:
    static TGuiController& Create(TInfoBus& bus);
    // The shared instance of the bus, or nullptr.
    static TGuiController* Instance(const TInfoBus& bus) { return bus.guiController_; }
    static int RefCount(const TInfoBus& bus) { return bus.guiControllerRefs_; }
    void Release();

    void Lock();
    // The outermost Unlock flushes the queue when the bus is idle.
    void Unlock();
    bool IsLocked() const { return lockCount_ > 0; }
    // Calls and removes the queued entries in order, unless locked.
    void Flush();
    // Queues an entry for the next Flush.
    void Post(std::unique_ptr<TGuiCallback> entry);

    bool Pending() const { return pending_; }
    int LockCount() const { return lockCount_; }

private:
    explicit TGuiController(TInfoBus& bus);
    ~TGuiController();
    TInfoBus& bus_;
    std::deque<std::unique_ptr<TGuiCallback>> queue_;
    bool pending_ = false;
    int lockCount_ = 0;
};

// The checks at program end: dangling GUI controller locks or references, and (diagnostics builds) live managed
// objects, which are listed on debugOutput. Each finding is shown in an error box with an OK button.
void CheckManagedObjectsAtEnd(TInfoBus& bus, platform::MessageBoxes& boxes, std::ostream* debugOutput = nullptr);

}  // namespace spectrel
