#pragma once
// The commands of the button list in the main window's Buttons column: adding, editing, clearing and deleting
// buttons, the Templates menu with its own "&Save" and "Delete all Buttons", loading and saving button-name files,
// the rows of the button grid, and the enabled states of the grid and clipboard commands. The window wires its
// toolbar, grid, menus and dialogs to TButtonListCommands; everything decided here runs headless.

#include <functional>
#include <string>
#include <vector>

#include "Code/SPX_Data.h"
#include "Code/SPX_Files.h"
#include "Code/uKOR_ButtonTemplates.h"

namespace spectrel {

namespace platform {
class MessageBoxes;
class FileDialogs;
}  // namespace platform

class TbuttonCodes;
class TButtonCode;
class TReplaceRule;

namespace button_text {
inline constexpr const char* kNewButtonName = "New Button";
inline constexpr const char* kNoValidButtonNames = "No valid button names specified";
inline constexpr const char* kSaveTemplatePrompt = "Save Template";
inline constexpr const char* kSaveTemplateCaption = "Spectrel";
// Template names: letters and digits (restricted text mode 2) and these.
inline constexpr const char* kTemplateNameExtra = " -+";
constexpr int kTemplateNameMode = 2;
inline constexpr const char* kTemplateSave = "&Save";
inline constexpr const char* kTemplateDeleteAll = "Delete all Buttons";
inline constexpr const char* kLoadButtonsTitle = "Load Buttons";
inline constexpr const char* kSaveButtonsTitle = "Save Buttons";
inline constexpr const char* kButtonNamesFilter = "Button File (*.btn)|*.btn|Text File (*.txt)|*.txt|All Files|*.*";
inline constexpr const char* kButtonNamesExtension = ".btn";
inline constexpr const char* kButtonTemplatesFolder = "Button Templates";
}  // namespace button_text

// --- the grid

// How codes are shown: through the substitution rules when UseSubstutionRules is on.
struct TCodeDisplayOptions {
    bool UseSubstutionRules = true;
    bool SubsBinByHex = false;
};

// A button's code text as the grid and the Edit Button dialog show it.
std::string ButtonCodeDisplayText(const TButtonCode& button, const TReplaceRule& rules,
                                  const Tprotocol_descriptor& current, const TCodeDisplayOptions& options);

// One row of the button grid; it carries the index of its button.
struct TButtonGridRow {
    std::string name;
    std::string codeText;
    int index = 0;
    bool operator==(const TButtonGridRow&) const = default;
};
std::vector<TButtonGridRow> ButtonGridRows(const TbuttonCodes& buttons, const TReplaceRule& rules,
                                           const Tprotocol_descriptor& current, const TCodeDisplayOptions& options);

// The row selected after a rebuild: the remembered row, the last row when it is beyond the new count, -1 when
// none was selected or the grid is empty.
int RowToSelectAfterRefresh(int rememberedRow, int rowCount);

// Edit, Learn, Clear Code and Delete are enabled exactly when the grid has a selected row.
struct TGridCommandStates {
    bool edit = false;
    bool learn = false;
    bool clearCode = false;
    bool remove = false;
    bool operator==(const TGridCommandStates&) const = default;
};
TGridCommandStates GridCommandStates(bool hasSelectedRow);

// The key that deletes the selected rows: Delete (46) released without Shift, Ctrl or Alt.
constexpr int kDeleteKeyCode = 46;
bool IsGridDeleteKey(int keyCode, bool shift, bool ctrl, bool alt);

// --- list changes

// The button indexes of the selected rows, ascending, each once.
std::vector<int> SortedButtonIndexes(std::vector<int> indexes);
// Removes the buttons, from the highest index to the lowest, so each removal uses a still valid index;
// indexes outside the list are skipped.
void DeleteButtons(TbuttonCodes& buttons, const std::vector<int>& indexes);
// Clears the codes of the buttons (names kept).
void ClearButtonCodes(TbuttonCodes& buttons, const std::vector<int>& indexes);
// Appends one button per line, its name the line without leading and trailing blanks.
void AppendButtons(TbuttonCodes& buttons, const std::vector<std::string>& lines);

// --- templates

// The question before a template saved under a name in use replaces that template.
std::string TemplateExistsText(const std::string& name);

// --- button-name files

// The names in list order, each line ended by CR LF.
std::string ButtonNamesText(const TbuttonCodes& buttons);
// Reads the whole file, then replaces every button (codes included) by one button per line. A file that cannot
// be read leaves the list as it was.
TFileResult LoadButtonNamesFile(TbuttonCodes& buttons, const std::string& path);
// Writes the names (no codes), replacing an existing file.
TFileResult SaveButtonNamesFile(const TbuttonCodes& buttons, const std::string& path);
// "Button Templates" in the application folder (given with its trailing separator).
std::string ButtonTemplatesFolder(const std::string& applicationFolder);

// --- the Templates menu

// The Templates menu as a list of entries: the template commands that TButtonTemplates puts at the top, then
// the menu's own separator, "&Save" and "Delete all Buttons", all three tagged 99. The window shows the
// entries and rebuilds its menu whenever they change.
class TTemplateMenuModel : public TTemplateMenu {
public:
    struct TEntry {
        std::string caption;  // empty for the separator
        int tag = 0;
        bool separator = false;
        std::function<void()> action;
    };

    TTemplateMenuModel(std::function<void()> onSave, std::function<void()> onDeleteAll);

    int CommandCount() const override { return static_cast<int>(entries_.size()); }
    int CommandTag(int index) const override;
    void DeleteCommand(int index) override;
    void InsertCommand(int index, const std::string& caption, int tag, std::function<void()> action) override;

    const std::vector<TEntry>& Entries() const { return entries_; }
    std::vector<std::string> Captions() const;  // "-" for the separator
    // Runs entry `index`; false for the separator or an index outside the menu.
    bool Trigger(int index) const;
    // Called after every change (the window rebuilds its menu).
    void SetOnChanged(std::function<void()> onChanged) { onChanged_ = std::move(onChanged); }

private:
    void Notify() const {
        if (onChanged_) onChanged_();
    }
    std::vector<TEntry> entries_;
    std::function<void()> onChanged_;
};

// --- clipboard commands

// The control that has the focus, as the Edit menu sees it.
enum class TFocusKind { None, TextField, Memo, EditableDropDown, ListDropDown, Other };
struct TFocusedControl {
    TFocusKind kind = TFocusKind::None;
    bool readOnly = false;
    bool hasSelection = false;  // a non-empty selected text
};
struct TClipboardCommandStates {
    bool cut = false;
    bool copy = false;
    bool paste = false;
    bool operator==(const TClipboardCommandStates&) const = default;
};
// Cut and Copy on a text field, memo or editable drop-down with selected text; Paste on a text field or memo
// that is not read-only, or an editable drop-down, while the clipboard holds text.
TClipboardCommandStates ClipboardCommandStates(const TFocusedControl& focused, bool clipboardHasText);

// --- the commands

// The dialogs the commands open (Edit Button, Add Buttons, restricted text).
class TButtonListDialogs {
public:
    virtual ~TButtonListDialogs() = default;
    // True when the button was saved (the dialog changed it).
    virtual bool ExecuteButtonEdit(TButtonCode& button) = 0;
    // `lines` gives the initial lines and receives the final ones; true on "Add".
    virtual bool ExecuteAddButtons(std::vector<std::string>& lines) = 0;
    // True on OK; `text` gives the initial text and receives the entered one.
    virtual bool ExecuteRestrictedEdit(std::string& text, const std::string& prompt, const std::string& extra,
                                       int mode) = 0;
};

// What the commands ask of the grid and the window.
class TButtonListView {
public:
    virtual ~TButtonListView() = default;
    virtual void RefreshButtonGrid() = 0;
    virtual void SelectLastButton() = 0;
    virtual void UpdateCommandStates(bool idle) = 0;
    // The button indexes carried by the selected rows, in row order.
    virtual std::vector<int> SelectedButtonIndexes() const = 0;
};

struct TButtonListModel {
    TbuttonCodes& buttons;
    TButtonTemplates& templates;
    platform::MessageBoxes& boxes;
    platform::FileDialogs& fileDialogs;
    TButtonListDialogs& dialogs;
    std::string applicationFolder;  // with its trailing separator
};

class TButtonListCommands {
public:
    TButtonListCommands(TButtonListModel model, TButtonListView& view);

    // "Add": a button named "New Button" in the Edit Button dialog, appended when saved.
    void btnAddButtonClick();
    // "Add +": one button per line of the Add Buttons dialog.
    void btnAddMultipleButtonsClick();
    // "Edit" and double click: the first selected button in the Edit Button dialog.
    void ButtonGridDblClick();
    // "Clear Code": the codes of every selected button.
    void aClearButtonCodeExecute();
    // "Delete" and the Delete key: every selected button, without confirmation.
    void aDeleteButtonExecute();
    // Templates "&Save": the names of all buttons as a new template named in the restricted text dialog.
    void SaveAs1Click();
    // Templates "Delete all Buttons": the list emptied, without confirmation.
    void Clear1Click();
    // File "&Load Button Names".
    void mnuLoadButtonNames();
    // File "&Save Button Names".
    void mnuSaveButtonsClick();

private:
    TButtonListModel model_;
    TButtonListView& view_;
};

}  // namespace spectrel
