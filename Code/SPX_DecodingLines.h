#pragma once
// The decisions of the decoding parameters window, without any widget: the lines it lists in its two modes, what
// the value selector offers for a clicked line, accepting a new value, and inserting or deleting vocabulary
// elements. The window (Code/SPX_Settings) only shows what this controller says.
//
// Parameter mode lists the three decoding parameters of the analysis (minimum gap, clock adjustment, match
// tolerance); protocol mode lists the fields of the current protocol, one per line.

#include <functional>
#include <string>
#include <vector>

#include "Code/SPX_Data.h"
#include "platform/MessageBoxes.h"

namespace spectrel {

class TAnalysisContext;

enum class TDecodingMode { Parameter, Protocol };

// Field codes of the parameter-mode lines (the protocol lines use the descriptor's param_code values).
namespace decoding_field {
constexpr int kMinimumGap = 0;
constexpr int kClockAdjustment = 1;
constexpr int kMatchTolerance = 2;
}  // namespace decoding_field

// The window has room for this many lines.
constexpr int kMaxDecodingLines = 101;

inline constexpr const char* kNoVocabularyMessage = "Internal error: no vocabulary";
inline constexpr const char* kProtocolNotExploredLine = "Protocol yet to be explored";
inline constexpr const char* kVocabularyFullMessage =
    "The vocabulary already holds 31 elements; delete one before inserting another.";

// One line of the list with what a click on it edits.
struct TDecodingLine {
    std::string text;
    int fieldCode = 0;          // decoding_field for parameter mode, param_code for protocol mode, -1 none
    int elementIndex = 0;       // vocabulary lines: the element
    bool listOnly = false;      // the value must be chosen from the selector's list
    bool insertDelete = false;  // the line offers Insert and Delete

    bool operator==(const TDecodingLine&) const = default;
};

// What the value selector shows after a click on a line.
struct TDecodingSelector {
    bool visible = false;   // false for the protocol line: there is nothing to choose
    bool listOnly = false;  // a drop-down list; otherwise an editable drop-down
    std::vector<std::string> entries;
    int currentIndex = -1;  // the entry shown, -1 none
    std::string text;       // the text shown in the selector
};

// The text colour of the list.
enum class TDecodingTextColour { Black, Blue };

class TDecodingLines {
public:
    // The controller edits the context's decoding parameters and the current descriptor; the standard table
    // decides when an edited name must be made unique; the boxes show the messages of an edit.
    TDecodingLines(TAnalysisContext& context, Tprotocol_descriptor& current, const Tstandard_protocols& standard,
                   platform::MessageBoxes& boxes);

    // Renders the main window's protocol description again; called at the end of every complete rebuild.
    void SetDescribeProtocol(std::function<void()> describe) { describe_ = std::move(describe); }

    void SetMode(TDecodingMode mode) { mode_ = mode; }
    TDecodingMode Mode() const { return mode_; }

    // Set when a new value is accepted; cleared only when a protocol learning starts.
    bool Modified() const { return modified_; }
    void ClearModified() { modified_ = false; }
    TDecodingTextColour TextColour() const {
        return modified_ ? TDecodingTextColour::Blue : TDecodingTextColour::Black;
    }

    // Builds the lines for the mode afresh. In protocol mode a descriptor without a dummy frame letter loses
    // its dummy code, and a descriptor without vocabulary shows "Internal error: no vocabulary" and gets a
    // shortened list. True when the rebuild ran to its end; the protocol description is then rendered again.
    bool Rebuild();
    const std::vector<TDecodingLine>& Lines() const { return lines_; }

    // What the selector offers for line `line` (an invisible selector for a line outside the list).
    TDecodingSelector SelectorFor(int line) const;
    // Whether Insert and Delete are offered on the line.
    bool OffersInsertDelete(int line) const;

    // Gives the selector's value to the field of line `line`: in parameter mode its index among the choices,
    // in protocol mode its text. Sets modified and rebuilds the lines. False when nothing was accepted (a line
    // outside the list, an index that is no choice, a text the field cannot take; the boxes then said why).
    bool Accept(int line, int selectorIndex, const std::string& selectorText);

    // Duplicates the vocabulary element of line `line` (it is then present at k and k + 1). Nothing happens on
    // the first line or a line without Insert; with 31 elements the insert is refused with an error box.
    // Rebuilds the lines; modified is left as it is. True when the vocabulary changed.
    bool Insert(int line);
    // Removes the vocabulary element of line `line`, the later elements keeping their own flags. Nothing
    // happens on the first line or a line without Delete. Rebuilds the lines. True when the vocabulary changed.
    bool Delete(int line);

private:
    void BuildParameterLines();
    bool BuildProtocolLines();
    void AddLine(std::string text, int fieldCode, int elementIndex = 0, bool listOnly = false,
                 bool insertDelete = false);

    TAnalysisContext& context_;
    Tprotocol_descriptor& current_;
    const Tstandard_protocols& standard_;
    platform::MessageBoxes& boxes_;
    std::function<void()> describe_;
    TDecodingMode mode_ = TDecodingMode::Parameter;
    bool modified_ = false;
    std::vector<TDecodingLine> lines_;
};

}  // namespace spectrel
