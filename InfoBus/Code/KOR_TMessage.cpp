#include "InfoBus/Code/KOR_TMessage.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "Code/SPX_Assert.h"

namespace spectrel {

std::string ClassNameOf(const std::type_info& type) {
    int status = 0;
    char* demangled = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
    std::string name = (status == 0 && demangled != nullptr) ? demangled : type.name();
    std::free(demangled);
    // Drop namespaces (and "(anonymous namespace)"), keeping the class's own name.
    if (auto pos = name.rfind("::"); pos != std::string::npos) name.erase(0, pos + 2);
    return name;
}

std::string TObject::ClassName() const { return ClassNameOf(typeid(*this)); }

void TPersistent::AssignTo(TPersistent& dest) const {
    throw EConvertError("Cannot assign a " + ClassName() + " to a " + dest.ClassName());
}

void TPersistent::Assign(const TPersistent& source) { source.AssignTo(*this); }

// --- messages ------------------------------------------------------------------------------------------------------

void TMessage::AssignTo(TPersistent& dest) const {
    if (auto* target = dynamic_cast<TMessage*>(&dest)) {
        target->number_ = number_;
        return;
    }
    TPersistent::AssignTo(dest);
}

bool TMessage::InternalMatch(const TMessage& other) const {
    if (typeid(other) != typeid(*this)) AssertionFailed(kInternalMatchText, kMessageModule, kInternalMatchLine);
    return number_ == other.number_;
}

std::string TMessage::Description() const { return {}; }

std::unique_ptr<TMessage> TMessage::NewInstance() const { return std::make_unique<TMessage>(); }

void TObjectStateMessage::AssignTo(TPersistent& dest) const {
    if (auto* target = dynamic_cast<TObjectStateMessage*>(&dest)) target->observed_ = observed_;
    TMessage::AssignTo(dest);
}

bool TObjectStateMessage::InternalMatch(const TMessage& other) const {
    if (TMessage::InternalMatch(other)) return true;
    return observed_ == static_cast<const TObjectStateMessage&>(other).observed_;
}

std::string TObjectStateMessage::Description() const {
    if (observed_ == nullptr) return "Observed Object = nil";
    return "Observed Object = [" + std::to_string(reinterpret_cast<std::uintptr_t>(observed_)) + "] " +
           observed_->ClassName();
}

std::unique_ptr<TMessage> TObjectStateMessage::NewInstance() const { return std::make_unique<TObjectStateMessage>(); }
std::unique_ptr<TMessage> TObjectChangedMessage::NewInstance() const {
    return std::make_unique<TObjectChangedMessage>();
}
std::unique_ptr<TMessage> TObjectCreatedMessage::NewInstance() const {
    return std::make_unique<TObjectCreatedMessage>();
}
std::unique_ptr<TMessage> TObjectDestroyedMessage::NewInstance() const {
    return std::make_unique<TObjectDestroyedMessage>();
}

bool Matches(const TMessage& stacked, const TMessage& message) {
    return typeid(stacked) == typeid(message) && stacked.InternalMatch(message);
}

// --- results -------------------------------------------------------------------------------------------------------

TMessageResultList::~TMessageResultList() {
    while (!results_.empty()) {
        delete results_.back();
        results_.pop_back();
    }
}

void TMessageResultList::Add(std::unique_ptr<TMessageResult> result) {
    if (!result) return;
    if (std::find(results_.begin(), results_.end(), result.get()) != results_.end()) {
        // Already ours: keep the one in the list alive.
        result.release();
        return;
    }
    results_.reserve(results_.size() + 1);
    results_.push_back(result.release());
}

TMessageResult& TMessageResultList::Items(int index) const { return *results_.at(static_cast<std::size_t>(index)); }

bool TMessageResultList::AnyDelivered() const {
    return std::any_of(results_.begin(), results_.end(), [](const TMessageResult* r) { return r->Delivered(); });
}

bool TMessageResultList::AnyDuplicate() const {
    return std::any_of(results_.begin(), results_.end(), [](const TMessageResult* r) { return r->Duplicate(); });
}

// --- the message stack ---------------------------------------------------------------------------------------------

void TMessageStack::Push(TMessage* message) {
    if (Count() > maxMessages_) throw EMessageStackError(kStackOverflowText);
    if (unique_) {
        for (TMessage* stacked : messages_)
            if (Matches(*stacked, *message)) throw EMessageStackDuplicateMessageError();
    }
    messages_.push_back(message);
}

void TMessageStack::Pop(TMessage* message) {
    if (messages_.empty() || messages_.back() != message) throw EMessageStackError(kPopFailedText);
    messages_.pop_back();
}

}  // namespace spectrel
