#pragma once
// The decisions of the preferences dialog: its copies of the shell preferences, the advanced options and the
// button templates; the paired controls (one value shown on an overview page and on its own page); the
// navigation tree and its pages; "Default"; the template editor with its commands and enabling rules; and the
// run of the dialog, which hands its copies back only when it closes with OK.
//
// The dialog's window shows this state and sends every click here. The caller fills the copies through the
// OnLoad callback and takes them back through OnSave (LoadPreferences and TakePreferences below do both for
// the main window).

#include <functional>
#include <string>
#include <vector>

#include "Code/uKOR_ButtonTemplates.h"
#include "shell/core/ShellPreferences.h"

namespace spectrel {

class TSpectrelIniObject;

// --- texts of the dialog

namespace preferences_text {
inline constexpr const char* kCaption = "Preferences";

// Page titles. The tree's nodes carry the same texts, except the node kPersistentNode.
inline constexpr const char* kFormPreferences = "Form Preferences";
inline constexpr const char* kFlatButtons = "Flat Buttons";
inline constexpr const char* kRememberPositions = "Remember floating control positions";
inline constexpr const char* kShowHints = "Show Hints";
inline constexpr const char* kHintTime = "Hint Time";
inline constexpr const char* kPersistentNode = "Persistant form size and position";
inline constexpr const char* kPersistentPage = "Persistent Form Size and Position";
inline constexpr const char* kWizardView = "Wizard view";
inline constexpr const char* kAdvanced = "Advanced";
inline constexpr const char* kMatchToStandard = "Match to Standard Protocol";
inline constexpr const char* kUseSubstitution = "Use Substitution Rules";
inline constexpr const char* kAllowProtocolEdit = "Allow Protocol Edit";
inline constexpr const char* kAllowDecodingEdit = "Allow Ir Decoding Parmeters Edit";
inline constexpr const char* kAttachProtocol = "Attach Protocol To File";
inline constexpr const char* kButtonTemplates = "Button Templates";

inline constexpr const char* kTreeHint = "Navagator Tree|Use this tree to navagate around the prefrences form";
inline constexpr const char* kUseTreeNavigator = "Use Tree Navagator";
inline constexpr const char* kOkHint = "Save preferences and close form";
inline constexpr const char* kCancelHint = "Discard any changes and close form";
inline constexpr const char* kHelpHint = "View help file on preferences";
inline constexpr const char* kPageHintSuffix = " page";

inline constexpr const char* kSample = "Sample";
inline constexpr const char* kSampleButtonHint =
    "Sample Button only | This is a sample button to show the current flat buttons setting, the buton does nor do "
    "anything";
inline constexpr const char* kFlatButtonsHint =
    "check to make toolbar buttons borderless|Check to hiide the toobars buttons borders, uncheck to show the "
    "buttons borders";
inline constexpr const char* kRememberPositionsHint =
    "Check to remember floating toolbar positions between sessions|Check to store floating toolbar positions and "
    "restore them the next time the application opens.";
inline constexpr const char* kShowHintsHint =
    "Show Hints (Tool tips) on mouse hover|Check to show the tool tips when a mouse hovers over a control like a "
    "button";
inline constexpr const char* kPersistentHint =
    "Remember form size and position|Save the form size and position and restore these setting when application is "
    "reopened.";
inline constexpr const char* kHintTimeLabel = "HintTime (in milliseconds)";

// Captions of the paired controls.
inline constexpr const char* kRememberPositionsBox = "Remember floating control positions";
inline constexpr const char* kRememberPositionsDetail = "Remember Positions";
inline constexpr const char* kPersistentBox = "Persistent Form Size";
inline constexpr const char* kWizardViewBox = "Wizard View";
inline constexpr const char* kMatchToStandardBox = "Match To Standard Protocol";
inline constexpr const char* kUseSubstitutionBox = "Use Substution Rules";
inline constexpr const char* kSubHex = "Sub Hex";
inline constexpr const char* kSubBin = "Sub Bin";
inline constexpr const char* kAllowProtocolEditBox = "Allow Protocol Edit";
inline constexpr const char* kAllowDecodingEditBox = "Allow Decoding Parmeter Edit";
inline constexpr const char* kAttachProtocolBox = "Always attach protocol to XML";
inline constexpr const char* kDefault = "Default";
inline constexpr const char* kDefaultHint = "Set advanced settings to defaults";

// The template editor.
inline constexpr const char* kAddName = "Add a New Template Name";
inline constexpr const char* kEditName = "Edit Current Template Name";
inline constexpr const char* kDeleteName = "Delete Current Template Name";
inline constexpr const char* kCloneName = "Clone Current Template";
inline constexpr const char* kNameUp = "Move Current Template Name Up";
inline constexpr const char* kNameDown = "Move Current Template Name Down";
inline constexpr const char* kTemplateDefaults = "Set All button templates to defaults";
inline constexpr const char* kAddItem = "Add a New Template Item";
inline constexpr const char* kEditItem = "Edit Current Template Item";
inline constexpr const char* kDeleteItem = "Delete Current Template Item";
inline constexpr const char* kItemUp = "Move Current Template Item Up";
inline constexpr const char* kItemDown = "Move Current Template Item Down";
inline constexpr const char* kNamePrompt = "Template Name";
inline constexpr const char* kItemPrompt = "Template Item";
inline constexpr const char* kCloneSuffix = " Clone";
// The restricted text dialog takes letters and digits (its mode 2) and these characters for names and items.
inline constexpr int kTemplateTextMode = 2;
inline constexpr const char* kTemplateTextExtra = " -+";
}  // namespace preferences_text

// --- tree and pages

struct TPreferencesNode {
    std::string text;
    int parent;  // index of the parent node, -1 for a top node
};

// The navigation tree, parents before their children, in display order.
const std::vector<TPreferencesNode>& PreferencesTree();

struct TPreferencesPage {
    std::string title;
    std::string header;  // the text at the top of the page
};

// Every page, in the order of the tree.
const std::vector<TPreferencesPage>& PreferencesPages();
// The title of the page a tree node shows (the page whose title is the node's text); empty for no such node.
std::string PageOfNode(const std::string& nodeText);
// The hint of a page: its title and " page".
std::string PageHint(const std::string& title);

// --- the values

// The on/off values of the dialog, each shown by a pair of controls (or by one hidden box).
enum class TPreferencePair {
    FlatButtons,
    SaveIntPos,
    ShowHints,
    SavePos,
    MatchToStandardProtocol,
    UseSubstutionRules,
    SubsBinByHex,  // the options "Sub Hex" (on) and "Sub Bin" (off)
    AllowProtocolEdit,
    AllowDecodingParmeterEdit,
    WizardView,
    AttachProtocol,
    UsePreferencesTree,  // the hidden "Use Tree Navagator" box
};

// The hint hide pause the two spin fields offer: 500 to 10000 ms in steps of 500.
inline constexpr int kHintTimeMinimum = 500;
inline constexpr int kHintTimeMaximum = 10000;
inline constexpr int kHintTimeStep = 500;

// --- the template editor

// Asks for a text in the restricted text dialog, starting from `text`; false when the user cancelled.
using TAskTemplateText = std::function<bool(std::string& text, const std::string& prompt)>;

// Which commands of the template editor can be used.
struct TTemplateCommandStates {
    bool nameAdd = true;
    bool nameEdit = false;
    bool nameDelete = false;
    bool nameClone = false;
    bool nameUp = false;
    bool nameDown = false;
    bool defaults = true;
    bool itemAdd = false;
    bool itemEdit = false;
    bool itemDelete = false;
    bool itemUp = false;
    bool itemDown = false;
    bool operator==(const TTemplateCommandStates&) const = default;
};

class TTemplateEditor {
public:
    // `changed` runs after every command that changes the templates (all but defaults).
    TTemplateEditor(TButtonTemplates& templates, std::function<void()> changed);

    void SetAsk(TAskTemplateText ask) { ask_ = std::move(ask); }

    // The templates were replaced: the name list is refilled and nothing is selected.
    void Reset();

    std::vector<std::string> Names() const;
    const std::vector<std::string>& Items() const { return items_; }
    int SelectedName() const { return nameIndex_; }
    int SelectedItem() const { return itemIndex_; }
    TTemplateCommandStates Commands() const;

    // Clicking a name (-1 for none): fills the items and selects the first one.
    void SelectName(int index);
    // Clicking an item (-1 for none).
    void SelectItem(int index);

    // Each command does nothing while it is disabled, or when the user cancels the text dialog.
    void AddName();
    void EditName();
    void DeleteName();
    void CloneName();
    void MoveNameUp();
    void MoveNameDown();
    void SetDefaults();
    void AddItem();
    void EditItem();
    void DeleteItem();
    void MoveItemUp();
    void MoveItemDown();

private:
    bool Ask(std::string& text, const char* prompt) const;
    void SetLines(std::vector<std::string> lines);
    // Puts the item list back into the selected template, in list order.
    void ItemsChanged();
    void NameChanged() const;
    int NameCount() const { return templates_.Count(); }
    int ItemCount() const { return static_cast<int>(items_.size()); }

    TButtonTemplates& templates_;
    std::function<void()> changed_;
    TAskTemplateText ask_;
    int nameIndex_ = -1;
    std::vector<std::string> items_;
    int itemIndex_ = -1;
};

// --- the dialog

class TPreferencesModel {
public:
    using TCallback = std::function<void(TPreferencesModel&)>;

    TPreferencesModel();
    TPreferencesModel(const TPreferencesModel&) = delete;
    TPreferencesModel& operator=(const TPreferencesModel&) = delete;

    // Filled by the caller: OnLoad fills the copies before the window shows, OnSave takes them back after OK.
    TCallback OnLoad;
    TCallback OnSave;
    // Switches the application's tooltips on or off; runs at once when a "Show Hints" box is clicked.
    std::function<void(bool)> OnShowHints;

    // Calls OnLoad, prepares the window, runs `showModal` (true when the window closed with OK) and after OK
    // calls OnSave. Returns true for OK.
    bool Execute(const std::function<bool()>& showModal);

    // Prepares the window each time it is shown: the tooltips follow "Show Hints", the first page is shown,
    // and OK is disabled.
    void Prepare();

    // --- values (the setters set both controls of a pair and leave OK alone)
    bool Value(TPreferencePair pair) const;
    void SetValue(TPreferencePair pair, bool value);
    int HintHidePause() const { return hintHidePause_; }
    void SetHintHidePause(int milliseconds);
    // Gives the dialog a copy of the list; the editor starts with nothing selected.
    void SetTemplates(const TButtonTemplates& templates);
    const TButtonTemplates& Templates() const { return templates_; }

    // Whether the controls of a pair can be used: "Sub Hex" and "Sub Bin" only while "Use Substution Rules"
    // is ticked.
    bool Enabled(TPreferencePair pair) const;

    // --- clicks
    // Either control of a pair was clicked and is now `value`: the other follows and OK is enabled.
    void Click(TPreferencePair pair, bool value);
    // Either hint time field was changed; the other one shows the same value.
    void ChangeHintTime(int milliseconds);
    // "Default": the four protocol options back to their defaults.
    void Default();

    // --- navigation
    // Shows the page of a tree node; a text that names no node leaves the page as it was.
    void SelectNode(const std::string& nodeText);
    void SelectPage(const std::string& title);
    const std::string& ShownPage() const { return shownPage_; }

    bool OkEnabled() const { return okEnabled_; }

    TTemplateEditor& TemplateEditor() { return editor_; }
    const TTemplateEditor& TemplateEditor() const { return editor_; }

private:
    void Changed() { okEnabled_ = true; }

    std::vector<bool> values_;
    int hintHidePause_ = 2500;
    TButtonTemplates templates_;
    TTemplateEditor editor_;
    std::string shownPage_;
    bool okEnabled_ = false;
};

// --- the main window's callbacks

// Fills the dialog, in this order: the shell preferences, the seven advanced options the dialog shows, then
// the templates.
void LoadPreferences(TPreferencesModel& dialog, const shell::TShellPreferences& shell,
                     const TSpectrelIniObject& options, const TButtonTemplates& templates);
// Takes the same values back in the same order; the templates are replaced by the dialog's copy and their bound
// views rebuilt. The option the dialog does not show (UserProtocolExplore) is left alone.
void TakePreferences(const TPreferencesModel& dialog, shell::TShellPreferences& shell, TSpectrelIniObject& options,
                     TButtonTemplates& templates);

}  // namespace spectrel
