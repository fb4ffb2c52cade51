#pragma once
// Messages of the synchronous message bus, the results subscribers report back, the stack of messages being
// dispatched, and the framework's exception classes.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <typeinfo>
#include <vector>

namespace spectrel {

// Root of the framework's objects: anything a state message can be about. ClassName is the unqualified name of the
// object's exact class ("TButtonCode").
class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    virtual std::string ClassName() const;
};

// Unqualified, demangled name of a class ("TObjectChangedMessage").
std::string ClassNameOf(const std::type_info& type);

// --- exceptions -------------------------------------------------------------------------------------------------

inline constexpr const char* kNoMessageText = "Nil pointer passed to TInfoBus.SendMessage";
inline constexpr const char* kStackOverflowText = "Message Stack overflow, maximum allowed messages exceeded";
inline constexpr const char* kPopFailedText = "Message was not the last on the stack, Pop Failed";
inline constexpr const char* kDuplicateMessageText =
    "Message matches an existing  message on Stack: Uniqueness in Force";
inline constexpr const char* kDuplicateSubscriptionText =
    "Attempting to add duplicate subscription to subscription list";
inline constexpr const char* kNoSubscriberText = "Nil pointer passed to TSubscription.Create";
inline constexpr const char* kNoPublisherText = "Nil pointer passed to TTrigger.Create";
inline constexpr const char* kNoObservedObjectText = "Cannot create TObjectStateTrigger with nil ObservedObject";

class EMessageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ENoMessageError : public EMessageError {
public:
    ENoMessageError() : EMessageError(kNoMessageText) {}
};

class EMessageStackError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class EMessageStackDuplicateMessageError : public std::runtime_error {
public:
    EMessageStackDuplicateMessageError() : std::runtime_error(kDuplicateMessageText) {}
};

class EInfoBusError : public std::runtime_error {
public:
    EInfoBusError() : std::runtime_error(kDuplicateSubscriptionText) {}
};

class ENoSubscriberError : public std::runtime_error {
public:
    ENoSubscriberError() : std::runtime_error(kNoSubscriberText) {}
};

class ENoPublisherError : public std::runtime_error {
public:
    ENoPublisherError() : std::runtime_error(kNoPublisherText) {}
};

class ENoObservedObjectError : public std::runtime_error {
public:
    ENoObservedObjectError() : std::runtime_error(kNoObservedObjectText) {}
};

// Assigning an object to one of a class it cannot take: "Cannot assign a TMessage to a TFoo".
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// --- assignable objects ------------------------------------------------------------------------------------------

// An object whose contents can be copied into another object of a suitable class.
class TPersistent : public TObject {
public:
    // Copies this object into dest; the base class cannot and raises EConvertError.
    virtual void AssignTo(TPersistent& dest) const;
    // Lets source copy itself into this object.
    virtual void Assign(const TPersistent& source);
};

// --- messages ------------------------------------------------------------------------------------------------------

inline constexpr const char* kMessageModule = "InfoBus/Code/KOR_TMessage";
inline constexpr int kInternalMatchLine = 257;
inline constexpr const char* kInternalMatchText = "InternalMatch called with an incorrect class of Message";

class TMessage : public TPersistent {
public:
    std::uint32_t Number() const { return number_; }
    void SetNumber(std::uint32_t number) { number_ = number; }
    bool Cancelled() const { return cancelled_; }
    void SetCancelled(bool cancelled) { cancelled_ = cancelled; }

    // Copies Number (not Cancelled) into a TMessage; other targets raise EConvertError.
    void AssignTo(TPersistent& dest) const override;
    // other must be of exactly this message's class (assertion otherwise); true when the numbers are equal.
    virtual bool InternalMatch(const TMessage& other) const;
    // Empty for a plain message.
    virtual std::string Description() const;
    // A fresh message of this message's exact class with default contents. Every message class overrides it.
    virtual std::unique_ptr<TMessage> NewInstance() const;

private:
    std::uint32_t number_ = 0;
    bool cancelled_ = false;
};

// A message about an object.
class TObjectStateMessage : public TMessage {
public:
    TObjectStateMessage() = default;
    explicit TObjectStateMessage(TObject* observed) : observed_(observed) {}

    TObject* ObservedObject() const { return observed_; }
    void SetObservedObject(TObject* observed) { observed_ = observed; }

    void AssignTo(TPersistent& dest) const override;
    // True when the numbers are equal or both messages are about the same object.
    bool InternalMatch(const TMessage& other) const override;
    // "Observed Object = nil" or "Observed Object = [<address in decimal>] <class name>".
    std::string Description() const override;
    std::unique_ptr<TMessage> NewInstance() const override;

private:
    TObject* observed_ = nullptr;
};

class TObjectChangedMessage : public TObjectStateMessage {
public:
    using TObjectStateMessage::TObjectStateMessage;
    std::unique_ptr<TMessage> NewInstance() const override;
};

class TObjectCreatedMessage : public TObjectStateMessage {
public:
    using TObjectStateMessage::TObjectStateMessage;
    std::unique_ptr<TMessage> NewInstance() const override;
};

class TObjectDestroyedMessage : public TObjectStateMessage {
public:
    using TObjectStateMessage::TObjectStateMessage;
    std::unique_ptr<TMessage> NewInstance() const override;
};

// True when both messages are of the same exact class and the stacked one matches the new one.
bool Matches(const TMessage& stacked, const TMessage& message);

// --- results -------------------------------------------------------------------------------------------------------

class TMessageResult : public TObject {
public:
    static constexpr std::uint8_t kDelivered = 1u << 0;
    static constexpr std::uint8_t kDuplicate = 1u << 1;

    std::uint8_t Flags() const { return flags_; }
    bool Delivered() const { return (flags_ & kDelivered) != 0; }
    bool Duplicate() const { return (flags_ & kDuplicate) != 0; }
    void SetDelivered(bool on) { set(kDelivered, on); }
    void SetDuplicate(bool on) { set(kDuplicate, on); }

private:
    void set(std::uint8_t bit, bool on) { flags_ = on ? (flags_ | bit) : (flags_ & ~bit); }
    std::uint8_t flags_ = 0;
};

// Owns the results of one send; destroys them last first.
class TMessageResultList {
public:
    TMessageResultList() = default;
    TMessageResultList(const TMessageResultList&) = delete;
    TMessageResultList& operator=(const TMessageResultList&) = delete;
    ~TMessageResultList();

    // Takes ownership; a result already in the list is left as it is.
    void Add(std::unique_ptr<TMessageResult> result);
    int Count() const { return static_cast<int>(results_.size()); }
    TMessageResult& Items(int index) const;
    // True when any result has Delivered / Duplicate set.
    bool AnyDelivered() const;
    bool AnyDuplicate() const;

private:
    std::vector<TMessageResult*> results_;
};

// --- the stack of messages being dispatched ----------------------------------------------------------------------

class TMessageStack {
public:
    static constexpr int kDefaultMaxMessages = 500;

    TMessageStack() = default;
    TMessageStack(const TMessageStack&) = delete;
    TMessageStack& operator=(const TMessageStack&) = delete;
    virtual ~TMessageStack() = default;

    // Appends the message (not owned). Raises EMessageStackError when more than MaxMessages are already stacked
    // and, with Unique on, EMessageStackDuplicateMessageError when it matches a stacked message.
    virtual void Push(TMessage* message);
    // Removes the message, which must be on top; EMessageStackError otherwise.
    void Pop(TMessage* message);

    int MaxMessages() const { return maxMessages_; }
    void SetMaxMessages(int max) { maxMessages_ = max; }
    bool Unique() const { return unique_; }
    void SetUnique(bool unique) { unique_ = unique; }
    int Count() const { return static_cast<int>(messages_.size()); }
    // Innermost last.
    TMessage* Items(int index) const { return messages_.at(static_cast<std::size_t>(index)); }

private:
    int maxMessages_ = kDefaultMaxMessages;
    bool unique_ = true;
    std::vector<TMessage*> messages_;
};

}  // namespace spectrel
