// The protocol column's commands.

#include "Code/SPX_ProtocolColumn.h"

#include <algorithm>
#include <cctype>

#include "Code/SPX_Data_ButtonCodes.h"
#include "Code/SPX_processing.h"
#include "Code/SPX_replace.h"

namespace spectrel {

namespace {

using platform::MessageButton;
using platform::MessageKind;
namespace text = protocol_column_text;

std::string TrimBlanks(const std::string& s) {
    const auto begin = s.find_first_not_of(" \t");
    if (begin == std::string::npos) return {};
    const auto end = s.find_last_not_of(" \t");
    return s.substr(begin, end - begin + 1);
}

// Letter case ignored the plain ASCII way, whatever the user's locale.
bool SameIgnoringCase(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

}  // namespace

TProtocolColumn::TProtocolColumn(TProtocolColumnModel model, TLearningWindow& window, TProtocolColumnDialogs& dialogs)
    : model_(model), window_(window), dialogs_(dialogs) {}

void TProtocolColumn::DescribeProtocol(TColouredList* list, bool clear) {
    window_.ShowProtocolName(model_.current.name);
    if (list != nullptr) WriteProtocolDescription(*list, model_.current, clear);
    window_.UpdateCommandStates(true);
    window_.RefreshButtonGrid();
}

void TProtocolColumn::DescribeInProtocolList() { DescribeProtocol(window_.ProtocolList(), true); }

void TProtocolColumn::ApplyStandardMatch(bool matchToStandard) {
    Tprotocol_descriptor& current = model_.current;
    if (matchToStandard) {
        const int match = MatchStandardProtocol(model_.standards, current, model_.context.working);
        if (match >= 0) {
            CopyDescriptor(current, model_.learnedCopy);
            CopyStandardProtocol(model_.standards, match, current);
            ResetRulesForProtocol(model_.rules, current);
        }
    } else {
        if (model_.learnedCopy.valid) CopyDescriptor(model_.learnedCopy, current);
        if (TrimBlanks(current.name).empty()) current.name = learning_text::kLearnedProtocolName;
    }
    DescribeInProtocolList();
}

void TProtocolColumn::SelectStandardProtocol() {
    const int index = dialogs_.SelectStandardProtocol(model_.standards);
    if (index < 0 || index >= model_.standards.count) return;
    if (model_.buttons.AnyHasCode() &&
        model_.boxes.show(MessageKind::Warning, text::kLoseEverything, MessageButton::Ok | MessageButton::Cancel) !=
            MessageButton::Ok) {
        return;
    }
    if (TColouredList* list = window_.ProtocolList()) list->Clear();
    CopyStandardProtocol(model_.standards, index, model_.current);
    DescriptorToWorkingState(model_.current, model_.context.working);
    model_.buttons.ClearAllCodes();
    if (model_.current.valid) DescribeInProtocolList();
    window_.RefreshButtonGrid();
    window_.UpdateCommandStates(true);
}

void TProtocolColumn::RenameProtocol() {
    Tprotocol_descriptor& current = model_.current;
    std::optional<std::string> typed = model_.inputBox.ask(text::kEditTitle, text::kEditPrompt, current.name);
    if (!typed) return;
    std::string name = *typed;
    if (SameIgnoringCase(name, current.name)) return;
    if (FindStandardProtocol(model_.standards, name) >= 0) {
        if (model_.boxes.show(MessageKind::Warning, text::kStandardName, MessageButton::Ok | MessageButton::Cancel) !=
            MessageButton::Ok) {
            return;
        }
        name += text::kRenamedSuffix;
    }
    current.name = name;
    current.standard = false;
    ResetRulesForProtocol(model_.rules, current);
    DescribeInProtocolList();
}

void TProtocolColumn::AdvancedEdit() {
    Tprotocol_descriptor& current = model_.current;
    if (TColouredList* list = window_.ProtocolList()) list->Clear();
    dialogs_.EditProtocolInDialog();

    if (current.valid) {
        const std::string name = TrimBlanks(current.name);
        // Only the vocabulary is put in order. The frame positions and length rules stay as the dialog left
        // them: the analysis state holds those of an earlier learning (or none), not the ones just edited.
        const Tprotocol_descriptor edited = current;
        TWorkingProtocol& working = model_.context.working;
        DescriptorToWorkingState(current, working);
        RemoveDuplicateNominals(model_.context);
        SortNominals(model_.context);
        DescriptorFromWorkingState(current, working);
        current.i_position = edited.i_position;
        current.j_position = edited.j_position;
        current.x_position = edited.x_position;
        current.i_length = edited.i_length;
        current.j_length = edited.j_length;
        current.x_length = edited.x_length;
        current.min_frames = edited.min_frames;
        current.max_frames = edited.max_frames;
        current.valid = true;
        current.name = name;
    }
    model_.buttons.ClearAllCodes();

    if (TColouredList* list = window_.ProtocolList()) list->Clear();
    window_.UpdateCommandStates(true);
    dialogs_.FocusMainWindow();
    ResetRulesForProtocol(model_.rules, current);
    DescribeInProtocolList();
}

}  // namespace spectrel
