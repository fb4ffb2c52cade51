#include "Code/SPX_ProtocolSettingsEdit.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "platform/MessageBoxes.h"

namespace spectrel {

namespace {

using platform::MessageButton;
using platform::MessageKind;
using Field = TProtocolSettingsField;

// Message boxes that show nothing: the trial run of the writes must not speak to the user.
class SilentMessageBoxes final : public platform::MessageBoxes {
public:
    MessageButton show(MessageKind, const std::string&, platform::MessageButtons, const std::string&) override {
        return MessageButton::Ok;
    }
};

char FoldCase(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return FoldCase(x) == FoldCase(y); });
}

// A number as typed into the period field: digits with at most one decimal point.
bool ParsePeriod(std::string_view text, double& value) {
    if (text.empty()) return false;
    double v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v, std::chars_format::fixed);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v)) return false;
    value = v;
    return true;
}

bool IsDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

constexpr char32_t kBackspace = 8;

}  // namespace

TProtocolSettingsEdit::TProtocolSettingsEdit(Tprotocol_descriptor& descriptor, const TWorkingProtocol& working,
                                             platform::MessageBoxes& boxes)
    : descriptor_(descriptor), working_(working), boxes_(boxes) {}

std::string TProtocolSettingsEdit::ElementLetter(int index) { return std::string(1, static_cast<char>('A' + index)); }

void TProtocolSettingsEdit::Load(bool renameRequired) {
    renameRequired_ = renameRequired;

    SetName(descriptor_.name);
    openingName_ = descriptor_.name;

    openedPulsed_ = descriptor_.carrier_period == 0;
    carrierPeriodShown_ = !openedPulsed_;
    SetCarrierPeriod(FormatGeneralNumber(descriptor_.carrier_period));

    SetFrameFormat(descriptor_.format);
    SetFrameRate(FormatFixedNumber(descriptor_.frame_rate, 0));

    SetDummyFrame({});
    if (descriptor_.x_letter == '?')
        descriptor_.dummy_code.clear();
    else
        SetDummyFrame(descriptor_.dummy_code);

    const long long length = descriptor_.i_length;
    SetLength(std::to_string(std::llabs(length)));
    SetLengthAtLeast(length < 0);

    const int rows = std::clamp(descriptor_.vocabulary_count, 0, kDescriptorVocabularySize);
    durations_.clear();
    for (int k = 0; k < rows; ++k) durations_.push_back(GetParamText(descriptor_, param_code::kDuration, k));

    okEnabled_ = false;
}

void TProtocolSettingsEdit::SetName(const std::string& text) {
    name_ = text;
    okEnabled_ = true;
}

void TProtocolSettingsEdit::SetCarrierPeriod(const std::string& text) {
    carrierPeriod_ = text;
    okEnabled_ = true;
    CarrierPeriodChanged();
}

void TProtocolSettingsEdit::CarrierPeriodChanged() {
    frequencyText_.clear();
    if (carrierPeriod_.empty() || carrierPeriod_ == "0") return;
    // A lone decimal point, a zero written otherwise than "0" or an unknown period shows no frequency.
    double period = 0;
    if (!ParsePeriod(carrierPeriod_, period) || period <= 0) return;
    frequencyText_ = FormatFixedNumber(1000.0 / period, 2) + " kHz";
}

void TProtocolSettingsEdit::SetFrameFormat(const std::string& text) {
    format_ = text;
    okEnabled_ = true;
    FrameFormatChanged();
}

void TProtocolSettingsEdit::FrameFormatChanged() { frameRateShown_ = format_ != "i"; }

void TProtocolSettingsEdit::SetFrameRate(const std::string& text) {
    frameRate_ = text;
    okEnabled_ = true;
}

void TProtocolSettingsEdit::SetDummyFrame(const std::string& text) {
    dummyFrame_ = text;
    okEnabled_ = true;
}

void TProtocolSettingsEdit::SetLength(const std::string& text) {
    length_ = text;
    okEnabled_ = true;
}

void TProtocolSettingsEdit::SetLengthAtLeast(bool ticked) {
    lengthAtLeast_ = ticked;
    okEnabled_ = true;
}

void TProtocolSettingsEdit::SetDuration(int index, const std::string& text) {
    if (index < 0 || index >= static_cast<int>(durations_.size())) return;
    durations_[static_cast<std::size_t>(index)] = text;
    okEnabled_ = true;
}

bool TProtocolSettingsEdit::AcceptsCharacter(TProtocolSettingsField field, std::string_view fieldText,
                                             char32_t character) {
    switch (field) {
        case Field::CarrierPeriod:
            if (character == U'.') return fieldText.find('.') == std::string_view::npos;
            return IsDigit(character) || character == kBackspace;
        case Field::FrameRate:
        case Field::Length:
        case Field::Duration:
            return IsDigit(character) || character == kBackspace;
        default:
            return true;
    }
}

TProtocolSettingsOutcome TProtocolSettingsEdit::Fail(const std::string& message, TProtocolSettingsField field,
                                                     int index) {
    boxes_.show(MessageKind::Error, message, MessageButton::Ok);
    TProtocolSettingsOutcome outcome;
    outcome.message = message;
    outcome.focus = field;
    outcome.durationIndex = index;
    return outcome;
}

std::string TProtocolSettingsEdit::LengthToWrite() const { return lengthAtLeast_ ? "-" + length_ : length_; }

bool TProtocolSettingsEdit::WriteAll(Tprotocol_descriptor& target, platform::MessageBoxes& boxes,
                                     TProtocolSettingsOutcome& fault) const {
    struct Write {
        const std::string& text;
        int code;
        Field field;
        bool skip;
    };
    const std::string length = LengthToWrite();
    const Write writes[] = {
        {name_, param_code::kName, Field::Name, false},
        {carrierPeriod_, param_code::kCarrierPeriod, Field::CarrierPeriod, openedPulsed_},
        {format_, param_code::kFormat, Field::FrameFormat, false},
        {frameRate_, param_code::kFrameRate, Field::FrameRate, false},
        {dummyFrame_, param_code::kDummyCode, Field::DummyFrame, false},
        {length, param_code::kILength, Field::Length, false},
    };
    for (const Write& w : writes) {
        if (w.skip) continue;
        const TDataResult result = SetParamText(target, w.text, w.code, 0, working_, boxes);
        if (!result) {
            fault.message = result.message;
            fault.focus = w.field;
            return false;
        }
    }
    for (int k = 0; k < static_cast<int>(durations_.size()); ++k) {
        const TDataResult result =
            SetParamText(target, durations_[static_cast<std::size_t>(k)], param_code::kDuration, k, working_, boxes);
        if (!result) {
            fault.message = result.message;
            fault.focus = Field::Duration;
            fault.durationIndex = k;
            return false;
        }
    }
    return true;
}

TProtocolSettingsOutcome TProtocolSettingsEdit::Ok() {
    namespace text = protocol_settings_text;
    if (!renameRequired_ || !EqualIgnoringCase(name_, openingName_)) {
        if (name_.empty()) return Fail(text::kNameMissing, Field::Name);
    } else {
        return Fail(text::kNameUnchanged, Field::Name);
    }

    // The data frame length is checked with the dummy frame's code: it only has to be filled in.
    struct Check {
        const std::string& text;
        int code;
        Field field;
    };
    const Check checks[] = {
        {carrierPeriod_, param_code::kCarrierPeriod, Field::CarrierPeriod},
        {format_, param_code::kFormat, Field::FrameFormat},
        {frameRate_, param_code::kFrameRate, Field::FrameRate},
        {dummyFrame_, param_code::kDummyCode, Field::DummyFrame},
        {length_, param_code::kDummyCode, Field::Length},
    };
    for (const Check& c : checks) {
        const TDataResult result = CheckParamText(descriptor_, c.text, c.code);
        if (!result) return Fail(result.message, c.field);
    }
    for (int k = 0; k < static_cast<int>(durations_.size()); ++k) {
        const TDataResult result =
            CheckParamText(descriptor_, durations_[static_cast<std::size_t>(k)], param_code::kDuration);
        if (!result) return Fail(result.message, Field::Duration, k);
    }

    // Texts that pass the checks but are still no number (pasted into a number field) would stop the writes
    // half way; a trial run on a copy finds them first, so a refused OK writes nothing.
    {
        Tprotocol_descriptor trial;
        CopyDescriptor(descriptor_, trial);
        SilentMessageBoxes silent;
        TProtocolSettingsOutcome fault;
        if (!WriteAll(trial, silent, fault)) return Fail(fault.message, fault.focus, fault.durationIndex);
    }

    TProtocolSettingsOutcome fault;
    if (!WriteAll(descriptor_, boxes_, fault)) return Fail(fault.message, fault.focus, fault.durationIndex);
    TProtocolSettingsOutcome accepted;
    accepted.accepted = true;
    return accepted;
}

}  // namespace spectrel
