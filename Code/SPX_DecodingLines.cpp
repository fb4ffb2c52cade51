#include "Code/SPX_DecodingLines.h"

#include <algorithm>
#include <cstdlib>

#include "Code/SPX_processing.h"

namespace spectrel {
namespace {

using platform::MessageButton;
using platform::MessageKind;

// The choice texts of a parameter, "error" for an index that is none of them.
template <typename Choices>
std::string ChoiceText(const Choices& choices, int index) {
    if (index < 0 || index >= static_cast<int>(choices.size())) return "error";
    return choices[static_cast<std::size_t>(index)].text;
}

template <typename Choices>
std::vector<std::string> ChoiceTexts(const Choices& choices) {
    std::vector<std::string> texts;
    for (const auto& choice : choices) texts.emplace_back(choice.text);
    return texts;
}

// The minimum gap choices read "10 ms"; its line shows the number and " ms" on its own.
std::string GapNumber(int index) {
    const std::string text = ChoiceText(kMinimumGapChoices, index);
    const std::size_t blank = text.find(' ');
    return blank == std::string::npos ? text : text.substr(0, blank);
}

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

std::string TrimmedName(const std::string& name) {
    std::size_t begin = 0;
    std::size_t end = name.size();
    while (begin < end && static_cast<unsigned char>(name[begin]) <= ' ') ++begin;
    while (end > begin && static_cast<unsigned char>(name[end - 1]) <= ' ') --end;
    return name.substr(begin, end - begin);
}

// Vocabulary elements that a descriptor's count makes meaningful, kept inside its arrays.
int UsedElements(const Tprotocol_descriptor& d) { return std::clamp(d.vocabulary_count, 0, kDescriptorVocabularySize); }

}  // namespace

TDecodingLines::TDecodingLines(TAnalysisContext& context, Tprotocol_descriptor& current,
                               const Tstandard_protocols& standard, platform::MessageBoxes& boxes)
    : context_(context), current_(current), standard_(standard), boxes_(boxes) {}

void TDecodingLines::AddLine(std::string text, int fieldCode, int elementIndex, bool listOnly, bool insertDelete) {
    if (static_cast<int>(lines_.size()) >= kMaxDecodingLines) return;
    lines_.push_back(TDecodingLine{std::move(text), fieldCode, elementIndex, listOnly, insertDelete});
}

bool TDecodingLines::Rebuild() {
    lines_.clear();
    bool complete = true;
    if (mode_ == TDecodingMode::Parameter)
        BuildParameterLines();
    else
        complete = BuildProtocolLines();
    if (complete && describe_) describe_();
    return complete;
}

void TDecodingLines::BuildParameterLines() {
    const TDecodingParameters& p = context_.parameters();
    AddLine("Minimum gap between frames: " + GapNumber(p.minimumGapIndex()) + " ms", decoding_field::kMinimumGap, 0,
            true);
    AddLine("Remote Control clock adjustment: " + ChoiceText(kClockAdjustmentChoices, p.clockAdjustmentIndex()),
            decoding_field::kClockAdjustment, 0, true);
    AddLine("Match to Standard Protocol tolerance : " + ChoiceText(kMatchToleranceChoices, p.matchToleranceIndex()),
            decoding_field::kMatchTolerance, 0, true);
}

bool TDecodingLines::BuildProtocolLines() {
    Tprotocol_descriptor& d = current_;
    if (!d.valid) {
        AddLine(kProtocolNotExploredLine, -1);
        return true;
    }

    if (d.carrier_period != 0)
        AddLine(" Carrier period: " + GetParamText(d, param_code::kCarrierPeriod) + " us, carrier frequency: " +
                    FormatFixedNumber(1000 / d.carrier_period, 2) + " kHz",
                param_code::kCarrierPeriod);
    else
        AddLine(" No carrier, pulsed code", param_code::kCarrierPeriod);

    AddLine(" Frames format: " + d.format, param_code::kFormat);
    if (d.format != "i") AddLine(" Frames rate: " + GetParamText(d, param_code::kFrameRate) + " ms", param_code::kFrameRate);

    if (d.x_letter == '?')
        d.dummy_code.clear();
    else if (!d.dummy_code.empty())
        AddLine(" Dummy frame: " + d.dummy_code, param_code::kDummyCode);

    const int first = d.i_length;
    if (first == 0) {
        AddLine(" Data frame length: Any", param_code::kILength);
    } else {
        const std::string magnitude = std::to_string(std::abs(static_cast<long long>(first)));
        AddLine(first < 0 ? " Data frame length shall be greater than: " + magnitude
                          : " Data frame length shall be equal to: " + magnitude,
                param_code::kILength);
        if (d.j_letter != '?') {
            const int second = d.j_length;
            const std::string secondMagnitude = std::to_string(std::abs(static_cast<long long>(second)));
            if (second == 0)
                AddLine(" Second data frame length: Any", param_code::kJLength);
            else
                AddLine(second < 0 ? " Second data frame length shall be greater than: " + secondMagnitude
                                   : " Second data frame length shall be equal to: " + secondMagnitude,
                        param_code::kJLength);
        }
    }

    if (d.vocabulary_count < 1) {
        boxes_.show(MessageKind::Error, kNoVocabularyMessage, MessageButton::Ok);
        return false;
    }
    for (int k = 0; k < UsedElements(d); ++k)
        AddLine(std::string("  Vocabulary element ") + static_cast<char>('A' + k) + " duration " +
                    GetParamText(d, param_code::kDuration, k) + " us ",
                param_code::kDuration, k, false, true);

    std::string protocolLine;
    if (d.standard)
        protocolLine = "It is a standard protocol " + Quoted(d.name);
    else if (d.name.empty())
        protocolLine = "It is a non-standard no-name protocol";
    else if (modified_)
        protocolLine = "It is a non-standard modified protocol " + Quoted(d.name);
    else
        protocolLine = "It is a non-standard protocol " + Quoted(d.name);
    AddLine(protocolLine, param_code::kName);
    return true;
}

bool TDecodingLines::OffersInsertDelete(int line) const {
    return line >= 0 && line < static_cast<int>(lines_.size()) && lines_[static_cast<std::size_t>(line)].insertDelete;
}

TDecodingSelector TDecodingLines::SelectorFor(int line) const {
    TDecodingSelector selector;
    if (line < 0 || line >= static_cast<int>(lines_.size())) return selector;
    const TDecodingLine& l = lines_[static_cast<std::size_t>(line)];
    selector.listOnly = l.listOnly;

    if (mode_ == TDecodingMode::Protocol) {
        // The protocol line (and the line of a protocol not yet explored) has nothing to choose.
        if (l.fieldCode == param_code::kName || l.fieldCode < 0) return selector;
        selector.text = GetParamText(current_, l.fieldCode, l.elementIndex);
        selector.entries = {selector.text};
        selector.currentIndex = 0;
        selector.visible = true;
        return selector;
    }

    const TDecodingParameters& p = context_.parameters();
    switch (l.fieldCode) {
        case decoding_field::kMinimumGap:
            selector.entries = ChoiceTexts(kMinimumGapChoices);
            selector.currentIndex = p.minimumGapIndex();
            break;
        case decoding_field::kClockAdjustment:
            selector.entries = ChoiceTexts(kClockAdjustmentChoices);
            selector.currentIndex = p.clockAdjustmentIndex();
            break;
        case decoding_field::kMatchTolerance:
            selector.entries = ChoiceTexts(kMatchToleranceChoices);
            selector.currentIndex = p.matchToleranceIndex();
            break;
        default:
            return selector;
    }
    if (selector.currentIndex >= 0 && selector.currentIndex < static_cast<int>(selector.entries.size()))
        selector.text = selector.entries[static_cast<std::size_t>(selector.currentIndex)];
    selector.visible = true;
    return selector;
}

bool TDecodingLines::Accept(int line, int selectorIndex, const std::string& selectorText) {
    if (!SelectorFor(line).visible) return false;
    const TDecodingLine l = lines_[static_cast<std::size_t>(line)];

    if (mode_ == TDecodingMode::Protocol) {
        const TDataResult set =
            SetParamText(current_, selectorText, l.fieldCode, l.elementIndex, context_.working, boxes_);
        // The edit has made the protocol a learned one even when the text was refused, so a standard name must
        // give way in both cases.
        const std::string name = TrimmedName(current_.name);
        if (!name.empty() && FindStandardProtocol(standard_, name) >= 0) current_.name += "~1";
        if (!set) {
            boxes_.show(MessageKind::Error, set.message, MessageButton::Ok);
            Rebuild();
            return false;
        }
    } else {
        bool taken = false;
        switch (l.fieldCode) {
            case decoding_field::kMinimumGap:
                taken = context_.setMinimumGapIndex(selectorIndex);
                break;
            case decoding_field::kClockAdjustment:
                taken = context_.setClockAdjustmentIndex(selectorIndex);
                break;
            case decoding_field::kMatchTolerance:
                taken = context_.setMatchToleranceIndex(selectorIndex);
                break;
            default:
                break;
        }
        if (!taken) return false;
    }

    modified_ = true;
    Rebuild();
    return true;
}

bool TDecodingLines::Insert(int line) {
    if (line == 0 || !OffersInsertDelete(line)) return false;
    Tprotocol_descriptor& d = current_;
    const int k = lines_[static_cast<std::size_t>(line)].elementIndex;
    const int count = d.vocabulary_count;
    bool changed = false;
    if (k < kDescriptorVocabularySize - 1 && k < count) {
        if (count >= kDescriptorVocabularySize) {
            boxes_.show(MessageKind::Error, kVocabularyFullMessage, MessageButton::Ok);
            return false;
        }
        for (int i = count; i > k; --i) {
            const auto at = static_cast<std::size_t>(i);
            d.durations[at] = d.durations[at - 1];
            d.is_pulse[at] = d.is_pulse[at - 1];
            d.is_pause[at] = d.is_pause[at - 1];
        }
        d.vocabulary_count = count + 1;
        changed = true;
    }
    Rebuild();
    return changed;
}

bool TDecodingLines::Delete(int line) {
    if (line == 0 || !OffersInsertDelete(line)) return false;
    Tprotocol_descriptor& d = current_;
    const int k = lines_[static_cast<std::size_t>(line)].elementIndex;
    const int count = std::min(d.vocabulary_count, kDescriptorVocabularySize);
    bool changed = false;
    if (k >= 0 && k < count) {
        for (int i = k; i + 1 < count; ++i) {
            const auto at = static_cast<std::size_t>(i);
            d.durations[at] = d.durations[at + 1];
            d.is_pulse[at] = d.is_pulse[at + 1];
            d.is_pause[at] = d.is_pause[at + 1];
        }
        d.vocabulary_count = count - 1;
        changed = true;
    }
    Rebuild();
    return changed;
}

}  // namespace spectrel
