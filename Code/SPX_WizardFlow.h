#pragma once
// The IR wizard's decisions: its eight pages with their titles, subtitles and help contexts, which page Next and
// Back lead to for each protocol choice, the checks that keep a page, and what every command of a page does to
// the main window's model. The window (Code/SPX_wizard2) only shows pages and forwards clicks; the main window
// supplies its model and operations through TWizardHost.
//
// The wizard owns no data: every action is applied at once to the main window's model, and closing keeps it.

#include <memory>
#include <string>
#include <vector>

#include "Code/SPX_CaptureViews.h"
#include "Code/SPX_Data.h"
#include "Code/SPX_Data_ButtonCodes.h"
#include "Code/SPX_ProtocolDescription.h"
#include "platform/MessageBoxes.h"

namespace spectrel {

class TReplaceRule;
class TSpectrelIniObject;
class TFlashElementStateSubscriberList;

// --- the pages ---------------------------------------------------------------------------------------------------

enum TWizardPage : int {
    kWelcomePage = 0,
    kDetailsPage,
    kProtocolChoicePage,
    kLearnProtocolPage,
    kStandardProtocolPage,
    kButtonsPage,
    kLearnButtonsPage,
    kSavePage,
    kWizardPageCount
};

struct TWizardPageInfo {
    const char* objectName;  // the page widget's name
    const char* title;
    const char* subtitle;  // pages 1 and 3 get theirs when the wizard opens
    int helpContext;       // 0: the page has no help topic and shows no Help button
};

// Page `page` (kWelcomePage to kSavePage).
const TWizardPageInfo& WizardPageInfo(int page);

namespace wizard_text {
inline constexpr const char* kCaption = "Spectrel Wizard";
inline constexpr const char* kBack = "< &Back";
inline constexpr const char* kNext = "&Next >";
inline constexpr const char* kFinish = "&Finish";
inline constexpr const char* kHelp = "&Help";
inline constexpr const char* kLearnOption = "Learn IR Protocol";
inline constexpr const char* kStandardOption = "Select a standard IR Protocol";
inline constexpr const char* kWelcomeSubtitle =
    "This wizard will step up through the all the stages required to read in the Infrared codes from a  IR "
    "Transmitter (remote control) and place into a file.\rYou can return to the main form by pressing the cancel "
    "button at any time.";
inline constexpr const char* kProtocolChoiceSubtitle =
    "The protocol describes the format in which the IR codes are sent.If you already know which protocol the "
    "remote control uses check the\"Select a standard IR Protocol\" checkbox otherwise select the \"Learn IR "
    "Protocol\" option and the software will interrogate the remote to find the protocol";
inline constexpr const char* kRemoteBrandBlank = "The remote brand field cannot be blank";
inline constexpr const char* kRemoteModelBlank = "The remote model field cannot be blank";
inline constexpr const char* kDeviceTypeBlank = "The device type field cannot be blank";
inline constexpr const char* kDeviceBrandBlank = "The device brand field cannot be blank";
inline constexpr const char* kDeviceModelBlank = "The device model field cannot be blank";
inline constexpr const char* kNoValidLearnedProtocol =
    "Cannot find a valid protocol. Explore has not been sucessfully completed.";
inline constexpr const char* kProtocolNameRequired = "a protocol name is required";
inline constexpr const char* kStandardNameWarning =
    "You have selected the name of a standard protocol. This name \r\nwill be changed automatically to avoid "
    "conflicts.";
inline constexpr const char* kRenameSuffix = "~1";
inline constexpr const char* kSelectStandard = "Please select a standard protocol from the list";
inline constexpr const char* kNoValidProtocol = "Cannot find a valid protocol.";
inline constexpr const char* kNoButtons = "The button list cannot be left blank";
inline constexpr const char* kButtonsNotLearnt =
    "Button codes have not been completly learnt. Press the \"Learn\" buton to complete the process.";
inline constexpr const char* kGridNameHeader = "Buttons";
inline constexpr const char* kGridCodeHeader = "LearnResults";
inline constexpr const char* kSummary = "SUMMARY";
inline constexpr const char* kRemoteDevice = "Remote Device";
inline constexpr const char* kProtocol = "Protocol";
inline constexpr const char* kUsedCommands = "Used Commands";
inline constexpr const char* kIgnoredCommands = "Ignored Commands";
inline constexpr const char* kNotSaved = "NOT SAVED";
inline constexpr const char* kFilename = "Filename";
}  // namespace wizard_text

// The navigation buttons as a page shows them.
struct TWizardNavigation {
    bool backEnabled = true;
    bool nextEnabled = true;
    bool finishEnabled = true;
    bool helpShown = true;
    bool helpEnabled = true;
    bool nextIsDefault = true;  // otherwise Finish is the default button
    bool operator==(const TWizardNavigation&) const = default;
};

// The buttons of `page`; `busy` while the protocol learning page learns (every button disabled).
TWizardNavigation WizardNavigation(int page, bool busy);

// --- plain rules -------------------------------------------------------------------------------------------------

// The remote brand followed by the remote model, each lower-cased with an upper-case first letter (only the
// letters A to Z change case): SONY and rm-D5 give SonyRm-d5.
std::string DefaultProtocolName(const std::string& remoteBrand, const std::string& remoteModel);

// The brand list of a device type: the lines of <folder><device type>.brd when that file exists, then the
// fifteen built-in brands, sorted ignoring case. A brand in both is listed twice.
std::vector<std::string> WizardBrandList(const std::string& applicationFolder, const std::string& deviceType);

// A template menu caption as the template list shows it: every "&" removed.
std::string TemplateCaptionText(const std::string& caption);

// Column widths of the learn and summary grids: one third of the width, and two thirds minus 25.
struct TGridColumnWidths {
    int name = 0;
    int code = 0;
    bool operator==(const TGridColumnWidths&) const = default;
};
TGridColumnWidths WizardGridColumnWidths(int gridWidth);

// A row of the learn grid or of the summary.
struct TWizardRow {
    std::string label;
    std::string value;
    bool operator==(const TWizardRow&) const = default;
};

// Appends to the summary the way the summary grid fills: the last row is filled when its label is empty,
// otherwise a row is added.
void AppendSummaryRow(std::vector<TWizardRow>& rows, const std::string& label, const std::string& value);
// The summary of the save page, rebuilt from one empty row.
std::vector<TWizardRow> WizardSummary(const std::string& remoteBrand, const std::string& remoteModel,
                                      const std::string& protocolName, const TbuttonCodes& buttons);

// --- what the wizard sees of the main window ---------------------------------------------------------------------

// A drop-down list of the device details: its entries, the selected entry (-1 none) and its text.
struct TWizardSelector {
    std::vector<std::string> items;
    int index = -1;
    std::string text;
    bool operator==(const TWizardSelector&) const = default;
};

// The device and remote details.
struct TWizardDetails {
    TWizardSelector deviceType;
    TWizardSelector deviceBrand;
    std::string deviceModel;
    TWizardSelector remoteBrand;
    std::string remoteModel;
    std::string notes;  // lines separated by "\n"
    bool operator==(const TWizardDetails&) const = default;
};

// An entry of the main window's template menu.
struct TWizardTemplateEntry {
    std::string caption;
    int tag = 0;
    bool hasAction = false;
};

// The main window's model, which the wizard edits in place.
struct TWizardModel {
    Tprotocol_descriptor& current;
    const Tstandard_protocols& standards;
    TWorkingProtocol& working;  // the analysis protocol
    TbuttonCodes& buttons;
    TReplaceRule& rules;
    TSpectrelIniObject& settings;
    platform::MessageBoxes& boxes;
    std::string applicationFolder;  // with its trailing separator; the brand list files are looked for there
};

// The main window's operations the wizard reuses.
class TWizardHost {
public:
    virtual ~TWizardHost() = default;

    // The device and remote details of the main window.
    virtual TWizardDetails MainDetails() const = 0;
    // The main window's detail fields, one by one (the wizard copies them back in a fixed order).
    virtual void SetMainRemoteBrand(const std::string& text) = 0;
    virtual void SetMainRemoteModel(const std::string& text) = 0;
    virtual void SetMainDeviceTypeIndex(int index) = 0;
    // ComboxDeviceTypeChange: reloads the main window's brand lists.
    virtual void MainDeviceTypeChange() = 0;
    virtual void SetMainDeviceType(const std::string& text) = 0;
    virtual void SetMainDeviceBrand(const std::string& text) = 0;
    virtual void SetMainDeviceModel(const std::string& text) = 0;
    virtual void SetMainNotes(const std::string& text) = 0;

    // The lines of the main window's protocol description list.
    virtual std::vector<std::string> MainProtocolDescription() const = 0;
    // Writes the current protocol's description into `list` (DescribeProtocol).
    virtual void DescribeProtocol(TColouredList& list) = 0;
    // Renders the main window's own description list again.
    virtual void DescribeMainProtocol() = 0;

    // The entries of the main window's template menu, and running the action of entry `index`.
    virtual std::vector<TWizardTemplateEntry> TemplateMenu() const = 0;
    virtual void RunTemplateEntry(int index) = 0;

    // The protocol learning procedure with this progress bar; every list it writes to is `results`.
    virtual void LearnProtocol(TCaptureProgressBar* progressBar, TColouredList& results) = 0;
    // Learns one key for the button called `name`: true when a capture was taken; `cancelled` set on Abort.
    virtual bool LearnButton(const std::string& name, bool& cancelled, TCaptureProgressBar* progressBar,
                             std::string& code, std::string& secondCode) = 0;
    // Learns every button without a code, with this progress bar.
    virtual void LearnAllButtons(TCaptureProgressBar* progressBar) = 0;

    // btnAddButtonClick: a button "New Button" through the Edit Button dialog.
    virtual void AddButton() = 0;
    // ExecuteButtonEdit: the Edit Button dialog for `button`; true when saved.
    virtual bool EditButton(TButtonCode& button) = 0;
    // The protocol settings editor, renaming not required; true when closed with OK.
    virtual bool EditProtocol() = 0;
    // BtnSaveIRFileClick, and the file name the save dialog holds afterwards.
    virtual void SaveDeviceFile() = 0;
    virtual std::string SaveFileName() const = 0;

    virtual void RefreshButtonGrid() = 0;
    virtual void UpdateCommandStates(bool idle) = 0;
    // The help topic with this context number.
    virtual void OpenHelp(int context) = 0;
};

// --- what the wizard sees of its own window ----------------------------------------------------------------------

class TWizardView {
public:
    virtual ~TWizardView() = default;

    // Makes `page` the visible page with its header and these navigation buttons.
    virtual void ShowPage(int page, const TWizardNavigation& navigation) = 0;
    virtual void SetNavigation(const TWizardNavigation& navigation) = 0;
    virtual void SetSubtitle(int page, const std::string& text) = 0;
    // The wizard's closing (Finish).
    virtual void CloseWizard() = 0;

    // Page 2.
    virtual TWizardDetails Details() const = 0;
    virtual void SetDetails(const TWizardDetails& details) = 0;
    // Both brand lists get these entries; their edit texts stay.
    virtual void SetBrandLists(const std::vector<std::string>& brands) = 0;

    // Page 3.
    virtual bool StandardChosen() const = 0;
    virtual void SetStandardChosen(bool standard) = 0;

    // Page 4.
    virtual std::string ProtocolNameField() const = 0;
    virtual void SetProtocolNameField(const std::string& name) = 0;
    virtual TColouredList& LearnResults() = 0;
    virtual TCaptureProgressBar* ProtocolProgressBar() = 0;
    virtual void ShowProtocolProgress(bool shown) = 0;
    virtual void EnableLearnProtocol(bool enabled) = 0;
    virtual void SetEditProtocolState(bool visible, bool enabled) = 0;

    // Page 5.
    virtual TColouredList& StandardDetails() = 0;
    virtual void SetStandardNames(const std::vector<std::string>& names, int selected) = 0;
    virtual int SelectedStandard() const = 0;

    // Page 6.
    virtual void SetTemplateNames(const std::vector<std::string>& names) = 0;
    virtual void SetButtonNames(const std::vector<TNamedIndex>& names) = 0;
    // The selected entry of the button list, -1 none.
    virtual int SelectedButtonEntry() const = 0;
    virtual void SelectButtonEntry(int entry) = 0;
    virtual void EnableButtonListCommands(bool enabled) = 0;

    // Page 7: the grid's button rows (the header row not counted).
    virtual void SetGridRows(const std::vector<TWizardRow>& rows) = 0;
    // Writes the texts of the rows present again, without rebuilding the grid.
    virtual void RewriteGridRows(const std::vector<TWizardRow>& rows) = 0;
    virtual int GridRowCount() const = 0;
    virtual std::string GridCell(int row, int column) const = 0;
    virtual int SelectedGridRow() const = 0;
    virtual void SelectGridRow(int row) = 0;
    virtual void EnableGridCommands(bool enabled) = 0;
    virtual TCaptureProgressBar* ButtonsProgressBar() = 0;
    virtual void ShowButtonsProgress(bool shown) = 0;

    // Page 8.
    virtual void SetSummary(const std::vector<TWizardRow>& rows) = 0;
};

// --- the wizard --------------------------------------------------------------------------------------------------

class TWizardFlow {
public:
    // Creates the state subscriber list, subscribed and watching nothing.
    TWizardFlow(TWizardModel model, TWizardHost& host, TWizardView& view);
    ~TWizardFlow();
    TWizardFlow(const TWizardFlow&) = delete;
    TWizardFlow& operator=(const TWizardFlow&) = delete;

    // Prepares the pages and shows page 1.
    void Open();
    int Page() const { return page_; }
    bool Busy() const { return busy_; }

    // Navigation: Next and Back run the page's rule and, when the page changes, the exit action of the page left.
    void Next();
    void Back();
    void Finish();
    void Help();
    // Stores the protocol choice into UserProtocolExplore (the window is closing).
    void Closing();

    // Page 2.
    void DeviceTypeChanged();
    // Page 4.
    void LearnProtocol();
    void EditProtocol();
    // Page 5: a click on entry `index` of the standard list.
    void StandardClicked(int index);
    // Page 6.
    void TemplateClicked(const std::string& text);
    void ButtonListClicked();
    void EditListButton();
    void AddButton();
    void DeleteListButton();
    // Page 7.
    void GridClicked();
    void LearnAllButtons();
    void LearnGridButton();
    void EditGridButton();
    void DeleteGridButton();
    // Page 8.
    void Save();

    // The learn grid's rows from the button list.
    std::vector<TWizardRow> GridRows() const;
    // Times the learn grid was rebuilt (the subscription rewrites it without a rebuild).
    int GridRebuilds() const { return gridRebuilds_; }
    TFlashElementStateSubscriberList& Subscriptions() const { return *subscriptions_; }

private:
    // Goes to `target`, running the exit action of the page left and the entry action of the target.
    void GoTo(int target);
    void EnterPage(int page);
    // Page 4's exit action: the name field becomes the protocol's name.
    void ApplyProtocolName();
    void PrepareLearnProtocolPage();
    // The next page when the current page's check passes, -1 when it refuses.
    int NextTarget();
    int BackTarget() const;
    bool Refuse(const char* message);
    // Fills the button list and rebuilds the learn grid.
    void FillButtonList();
    void RebuildGrid();
    void RenewButtonListCommands();
    void RenewGridCommands();
    // The selection after Edit or Delete: the same entry when it is below count - 1, otherwise the last.
    static int SelectionAfterChange(int selected, int count);
    void ShowStandardDetails(const std::vector<std::string>& lines);
    // The button of list entry `entry`, or null.
    TButtonCode* ButtonOfEntry(int entry) const;
    TButtonCode* ButtonOfRow(int row) const;

    TWizardModel model_;
    TWizardHost& host_;
    TWizardView& view_;
    std::unique_ptr<TFlashElementStateSubscriberList> subscriptions_;
    std::vector<TNamedIndex> buttonEntries_;
    int page_ = kWelcomePage;
    bool busy_ = false;
    int gridRebuilds_ = 0;
    std::vector<TWizardRow> summary_;
};

}  // namespace spectrel
