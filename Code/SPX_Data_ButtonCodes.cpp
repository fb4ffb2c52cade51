#include "Code/SPX_Data_ButtonCodes.h"

#include <algorithm>

namespace spectrel {

namespace {

// Leading and trailing blanks and control characters removed.
std::string TrimBlanks(const std::string& text) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    auto first = std::find_if_not(text.begin(), text.end(), blank);
    auto last = std::find_if_not(text.rbegin(), std::string::const_reverse_iterator(first), blank).base();
    return std::string(first, last);
}

}  // namespace

// --- TButtonCode ---------------------------------------------------------------------------------------------------

TButtonCode::TButtonCode(TInfoBus& bus) : TFlashElement(bus) {}

TButtonCode::~TButtonCode() {
    // Watchers get the destruction notice while the button is still whole.
    if (State() == fosDestroying) return;
    try {
        BeginDestruction();
    } catch (...) {
        // A destructor cannot report a failing watcher; the button goes all the same.
    }
}

void TButtonCode::SetName(const std::string& name) {
    name_ = name;
    Changed();
}

void TButtonCode::SetCode(const std::string& code) {
    code_ = code;
    Changed();
}

void TButtonCode::SetSecondCode(const std::string& secondCode) {
    secondCode_ = secondCode;
    Changed();
}

void TButtonCode::ClearCodes() {
    code_.clear();
    secondCode_.clear();
    Changed();
}

std::string TButtonCode::CodeText() const {
    if (!HasCode()) return kNotRecordedText;
    return code_ + " " + secondCode_;
}

void TButtonCode::Changed() {
    Modified();
    TFlashElement::Changed();
}

// --- TbuttonCodes --------------------------------------------------------------------------------------------------

EListError::EListError(int index) : std::out_of_range("List index out of bounds (" + std::to_string(index) + ")") {}

TbuttonCodes::TbuttonCodes(TInfoBus& bus) : bus_(bus) {}

TbuttonCodes::TbuttonCodes() : ownBus_(std::make_unique<TInfoBus>()), bus_(*ownBus_) {}

TbuttonCodes::~TbuttonCodes() { Clear(); }

TButtonCode& TbuttonCodes::Items(int index) const {
    if (index < 0 || index >= Count()) throw EListError(index);
    return *buttons_[static_cast<std::size_t>(index)];
}

TButtonCode& TbuttonCodes::Add(const std::string& name) {
    auto button = std::make_unique<TButtonCode>(bus_);
    button->SetName(TrimBlanks(name));
    TButtonCode& added = *button;
    buttons_.push_back(std::move(button));
    return added;
}

int TbuttonCodes::AddWithCodes(const std::string& name, const std::string& code, const std::string& secondCode) {
    auto button = std::make_unique<TButtonCode>(bus_);
    button->SetName(TrimBlanks(name));
    button->SetCode(TrimBlanks(code));
    button->SetSecondCode(TrimBlanks(secondCode));
    buttons_.push_back(std::move(button));
    return Count() - 1;
}

void TbuttonCodes::AddButton(std::unique_ptr<TButtonCode> button) {
    if (button) buttons_.push_back(std::move(button));
}

void TbuttonCodes::Delete(int index) {
    if (index < 0 || index >= Count()) throw EListError(index);
    std::unique_ptr<TButtonCode> removed = std::move(buttons_[static_cast<std::size_t>(index)]);
    buttons_.erase(buttons_.begin() + index);
    removed.reset();
}

void TbuttonCodes::Clear() {
    std::vector<std::unique_ptr<TButtonCode>> removed;
    removed.swap(buttons_);
    for (auto& button : removed) button.reset();
}

void TbuttonCodes::ClearAllCodes() {
    // By index: a watcher may change the list while a button publishes.
    for (int i = 0; i < Count(); ++i) buttons_[static_cast<std::size_t>(i)]->ClearCodes();
}

int TbuttonCodes::FindByCodes(const std::string& code, const std::string& secondCode) const {
    const std::string wantedCode = TrimBlanks(code);
    const std::string wantedSecond = TrimBlanks(secondCode);
    for (int i = 0; i < Count(); ++i) {
        const TButtonCode& button = *buttons_[static_cast<std::size_t>(i)];
        if (button.HasCode() && button.Code() == wantedCode && button.SecondCode() == wantedSecond) return i;
    }
    return -1;
}

bool TbuttonCodes::AllHaveCodes() const {
    return std::all_of(buttons_.begin(), buttons_.end(), [](const auto& b) { return b->HasCode(); });
}

bool TbuttonCodes::AnyHasCode() const {
    return std::any_of(buttons_.begin(), buttons_.end(), [](const auto& b) { return b->HasCode(); });
}

void TbuttonCodes::FillNames(std::vector<TNamedIndex>& names) const {
    names.clear();
    names.reserve(buttons_.size());
    for (int i = 0; i < Count(); ++i) names.push_back({buttons_[static_cast<std::size_t>(i)]->Name(), i});
}

int TbuttonCodes::IndexOf(const TObject* button) const {
    for (int i = 0; i < Count(); ++i)
        if (static_cast<const TObject*>(buttons_[static_cast<std::size_t>(i)].get()) == button) return i;
    return -1;
}

}  // namespace spectrel
