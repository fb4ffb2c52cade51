#pragma once
// What the small dialogs of the button list decide: the Edit Button dialog's own learning and saving, the
// Explorer Buttons dialog's refusal to close while it explores, and the key filter of the restricted text
// dialog. The dialogs only wire their controls to these.

#include <functional>
#include <string>

#include "Code/SPX_Data.h"

namespace spectrel {

class TButtonCode;
class TbuttonCodes;
class TLearningProcedures;
class TCaptureProgressBar;
class TColouredList;

namespace platform {
class MessageBoxes;
}

namespace dialog_text {
inline constexpr const char* kEditButtonCaption = "Edit Button";
inline constexpr const char* kPressButtonNow = "Press button on remote now";
inline constexpr const char* kNewCodeLearnt = "New code learnt";
inline constexpr const char* kAddButtonsCaption = "Add Buttons";
inline constexpr const char* kAddButtonsLabel =
    "Enter new buttons names in list below. Each new name should start on a new line";
inline constexpr const char* kExplorerCaption = "Explorer Buttons";
inline constexpr const char* kRestrictedCaption = "Spectrel";
inline constexpr const char* kRestrictedDesignPrompt = "Enter a Button Label";
}  // namespace dialog_text

// --- Edit Button

struct TButtonEditEnvironment {
    TLearningProcedures& procedures;
    platform::MessageBoxes& boxes;
    const Tprotocol_descriptor& current;
    // The button's code text as the grid shows it.
    std::function<std::string(const TButtonCode&)> codeDisplayText;
};

// The Edit Button dialog's state: the button being edited (not owned) and a code learned in the dialog, kept
// until Save.
class TButtonEditController {
public:
    TButtonEditController(TButtonCode& button, TButtonEditEnvironment environment);

    std::string NameText() const;
    // What the code field shows now.
    const std::string& CodeFieldText() const { return codeField_; }
    bool NewCodeLearnt() const { return newCodeLearnt_; }

    // "Learn": without a valid protocol the warning and nothing else. Otherwise the buttons are disabled, the
    // code field shows "Press button on remote now" while the button (under its stored name) is learned, then
    // "New code learnt" on success or the button's code text again; the buttons are enabled again in every case.
    // `show` receives each text for the code field, `enableButtons` the enabled state of the three buttons.
    void Learn(TCaptureProgressBar* progressBar, const std::function<void(const std::string&)>& show,
               const std::function<void(bool)>& enableButtons);
    // "Save": the name as typed (not trimmed), and the learned code when there is one.
    void Save(const std::string& nameText);

private:
    TButtonCode& button_;
    TButtonEditEnvironment environment_;
    std::string codeField_;
    bool newCodeLearnt_ = false;
    std::string data_;
    std::string data2_;
};

// --- Explorer Buttons

// Closing is allowed except while an exploration runs.
class TExploreSession {
public:
    // The exploration list is emptied as the dialog opens.
    explicit TExploreSession(TbuttonCodes& exploreList);
    bool CanClose() const { return !exploring_; }
    bool Exploring() const { return exploring_; }
    // Runs the exploration with "Close" and "Explore" disabled and closing refused; both come back also
    // when the exploration ends with an error.
    void Explore(const std::function<void()>& explore, const std::function<void(bool)>& enableButtons);

private:
    bool exploring_ = false;
};

// --- restricted text

// Modes of the restricted text dialog: 0 every character, 1 letters, 2 letters and digits, 3 digits,
// 4 letters, digits and one ".". Any other mode accepts nothing.
constexpr int kRestrictAnything = 0;
constexpr int kRestrictLetters = 1;
constexpr int kRestrictLettersDigits = 2;
constexpr int kRestrictDigits = 3;
constexpr int kRestrictNumberName = 4;

// Whether a character typed into the text is accepted: Backspace (8) and Enter (13) always; otherwise when the
// mode accepts it or it is one of `extra` (UTF-8). `text` is the text before the character.
bool RestrictedEditAccepts(int mode, const std::string& extra, const std::string& text, char32_t typed);
// OK is enabled exactly when the text is not empty (Enter accepts all the same).
inline bool RestrictedEditOkEnabled(const std::string& text) { return !text.empty(); }

}  // namespace spectrel
