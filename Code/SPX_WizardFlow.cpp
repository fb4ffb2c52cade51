#include "Code/SPX_WizardFlow.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <functional>
#include <utility>

#include "Code/SPX_processing_learning.h"
#include "Code/SPX_replace.h"
#include "Code/uKOR_ButtonTemplates.h"
#include "Code/uKOR_SpectrelIni.h"
#include "FlashXML/Code/KOR_TManagedFlashObject.h"

namespace spectrel {

namespace {

using platform::MessageButton;
using platform::MessageKind;
namespace text = wizard_text;

constexpr std::array<TWizardPageInfo, kWizardPageCount> kPages{{
    {"KWizardWelcomePage", "Welcome to the Spectrel Wizard", text::kWelcomeSubtitle, 3100},
    {"kWizardInfo", "Remote Details",
     "Add information about the remote that you wish to get the codes from. All fields excpet the \"notes\" filed "
     "are required.",
     3150},
    {"kwpProtocolSelect", "Getting the Protocol", text::kProtocolChoiceSubtitle, 0},
    {"kwpExploreIR", "Learn Remote Control Protocol",
     "Press \"Learn\" button and follow the prompts to learn the protocol used by the remote control. (This is only "
     "for learning the protocol, buttons will be learnt later)",
     3300},
    {"kwpGetStandardProtocol", "Get Standard Protocol", "Select the protocol to use with this remote.", 0},
    {"kwpGetButtons", "Get Button Template",
     "On this page you define the buttons that match the buttons on the remote you wish to learn. It is recommended "
     "that you use one of the templates provided. You can add,edit or delete buttons as well as rearrange them.",
     3400},
    {"pageLearnButtons", "Learn Buttons",
     "Press \"learn All\" to learn each button in order, or press \"Learn\" to learn the selected button.", 3500},
    {"kwpSaveToFile", "Save To File",
     "Now all  you have to do is save the learnt codes to a file. Press the save button..", 3600},
}};

// The brands every device type offers, whatever its brand file holds.
constexpr std::array<const char*, 15> kBuiltInBrands{"Halvren",    "Akai",    "JVC",     "Fujitsu", "Mitsubishi",
                                                     "NEC",        "Panasonic", "Philips", "Sharp",   "Samsung",
                                                     "Sanyo",      "Siemens", "Sony",    "TEAC",    "Westinghouse"};

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string LowerAscii(std::string s) {
    for (char& c : s) c = LowerAscii(c);
    return s;
}

bool EqualIgnoringCase(const std::string& a, const std::string& b) { return LowerAscii(a) == LowerAscii(b); }

// Lower case with an upper-case first letter.
std::string Capitalised(const std::string& s) {
    std::string result = LowerAscii(s);
    if (!result.empty()) result[0] = UpperAscii(result[0]);
    return result;
}

// Runs an action when the scope ends, also when it ends by an exception.
class TScopeExit {
public:
    explicit TScopeExit(std::function<void()> action) : action_(std::move(action)) {}
    ~TScopeExit() { action_(); }
    TScopeExit(const TScopeExit&) = delete;
    TScopeExit& operator=(const TScopeExit&) = delete;

private:
    std::function<void()> action_;
};

}  // namespace

const TWizardPageInfo& WizardPageInfo(int page) {
    return kPages.at(static_cast<std::size_t>(std::clamp(page, 0, kWizardPageCount - 1)));
}

TWizardNavigation WizardNavigation(int page, bool busy) {
    TWizardNavigation navigation;
    navigation.helpShown = WizardPageInfo(page).helpContext != 0;
    navigation.backEnabled = !busy && page != kWelcomePage;
    navigation.nextEnabled = !busy && page != kSavePage;
    navigation.finishEnabled = !busy;
    navigation.helpEnabled = !busy;
    navigation.nextIsDefault = navigation.nextEnabled;
    return navigation;
}

std::string DefaultProtocolName(const std::string& remoteBrand, const std::string& remoteModel) {
    return Capitalised(remoteBrand) + Capitalised(remoteModel);
}

std::vector<std::string> WizardBrandList(const std::string& applicationFolder, const std::string& deviceType) {
    std::vector<std::string> brands;
    if (std::ifstream file(applicationFolder + deviceType + ".brd", std::ios::binary); file) {
        // Lines end with CR LF, LF or CR.
        std::string line;
        char c = 0;
        bool pending = false;
        while (file.get(c)) {
            if (c == '\r' || c == '\n') {
                brands.push_back(line);
                line.clear();
                pending = false;
                if (c == '\r' && file.peek() == '\n') file.get(c);
            } else {
                line.push_back(c);
                pending = true;
            }
        }
        if (pending) brands.push_back(line);
    }
    brands.insert(brands.end(), kBuiltInBrands.begin(), kBuiltInBrands.end());
    std::stable_sort(brands.begin(), brands.end(),
                     [](const std::string& a, const std::string& b) { return LowerAscii(a) < LowerAscii(b); });
    return brands;
}

std::string TemplateCaptionText(const std::string& caption) {
    std::string result;
    for (char c : caption)
        if (c != '&') result.push_back(c);
    return result;
}

TGridColumnWidths WizardGridColumnWidths(int gridWidth) { return {gridWidth / 3, gridWidth * 2 / 3 - 25}; }

void AppendSummaryRow(std::vector<TWizardRow>& rows, const std::string& label, const std::string& value) {
    if (!rows.empty() && rows.back().label.empty()) {
        rows.back() = {label, value};
    } else {
        rows.push_back({label, value});
    }
}

std::vector<TWizardRow> WizardSummary(const std::string& remoteBrand, const std::string& remoteModel,
                                      const std::string& protocolName, const TbuttonCodes& buttons) {
    int used = 0;
    for (int i = 0; i < buttons.Count(); ++i)
        if (buttons.Items(i).HasCode()) ++used;
    const int ignored = buttons.Count() - used;

    std::vector<TWizardRow> rows(1);
    AppendSummaryRow(rows, text::kSummary, "");
    AppendSummaryRow(rows, "", "");
    AppendSummaryRow(rows, text::kRemoteDevice, remoteBrand + " " + remoteModel);
    AppendSummaryRow(rows, text::kProtocol, protocolName);
    AppendSummaryRow(rows, text::kUsedCommands, std::to_string(used));
    AppendSummaryRow(rows, text::kIgnoredCommands, std::to_string(ignored));
    AppendSummaryRow(rows, "", "");
    AppendSummaryRow(rows, text::kNotSaved, "");
    return rows;
}

// --- the wizard --------------------------------------------------------------------------------------------------

TWizardFlow::TWizardFlow(TWizardModel model, TWizardHost& host, TWizardView& view)
    : model_(std::move(model)), host_(host), view_(view) {
    subscriptions_ = std::make_unique<TFlashElementStateSubscriberList>(
        model_.buttons.Bus(), nullptr, true,
        [this](TCustomStateSubscriber&, TObject*, TMessageResult&, const std::type_info&) {
            view_.RewriteGridRows(GridRows());
        });
}

TWizardFlow::~TWizardFlow() = default;

void TWizardFlow::Open() {
    if (TCaptureProgressBar* bar = view_.ProtocolProgressBar()) bar->setRange(0, 6);
    if (TCaptureProgressBar* bar = view_.ButtonsProgressBar()) bar->setRange(0, 6);

    view_.SetDetails(host_.MainDetails());
    FillButtonList();

    ShowStandardDetails(host_.MainProtocolDescription());

    std::vector<std::string> templates;
    for (const TWizardTemplateEntry& entry : host_.TemplateMenu())
        if (entry.hasAction && entry.tag != kKeepMenuCommandTag) templates.push_back(TemplateCaptionText(entry.caption));
    view_.SetTemplateNames(templates);

    view_.SetStandardChosen(model_.current.standard);
    view_.SetEditProtocolState(model_.settings.AllowProtocolEdit, model_.current.valid);

    view_.SetSubtitle(kWelcomePage, text::kWelcomeSubtitle);
    view_.SetSubtitle(kProtocolChoicePage, text::kProtocolChoiceSubtitle);
    page_ = kWelcomePage;
    EnterPage(page_);
    view_.ShowPage(page_, WizardNavigation(page_, busy_));
}

void TWizardFlow::Next() {
    if (busy_ || page_ == kSavePage) return;
    const int target = NextTarget();
    if (target >= 0) GoTo(target);
}

void TWizardFlow::Back() {
    if (busy_ || page_ == kWelcomePage) return;
    GoTo(BackTarget());
}

void TWizardFlow::Finish() {
    if (busy_) return;
    view_.CloseWizard();
}

void TWizardFlow::Help() {
    const int context = WizardPageInfo(page_).helpContext;
    if (context != 0) host_.OpenHelp(context);
}

void TWizardFlow::Closing() { model_.settings.UserProtocolExplore = !view_.StandardChosen(); }

bool TWizardFlow::Refuse(const char* message) {
    model_.boxes.show(MessageKind::Error, message, MessageButton::Ok);
    return false;
}

int TWizardFlow::NextTarget() {
    const Tprotocol_descriptor& current = model_.current;
    switch (page_) {
        case kWelcomePage:
            return kDetailsPage;
        case kDetailsPage: {
            const TWizardDetails details = view_.Details();
            if (details.remoteBrand.text.empty()) return Refuse(text::kRemoteBrandBlank), -1;
            if (details.remoteModel.empty()) return Refuse(text::kRemoteModelBlank), -1;
            if (details.deviceType.text.empty()) return Refuse(text::kDeviceTypeBlank), -1;
            if (details.deviceBrand.text.empty()) return Refuse(text::kDeviceBrandBlank), -1;
            if (details.deviceModel.empty()) return Refuse(text::kDeviceModelBlank), -1;
            host_.SetMainRemoteBrand(details.remoteBrand.text);
            host_.SetMainRemoteModel(details.remoteModel);
            host_.SetMainDeviceTypeIndex(details.deviceType.index);
            host_.MainDeviceTypeChange();
            host_.SetMainDeviceType(details.deviceType.text);
            host_.SetMainDeviceBrand(details.deviceBrand.text);
            host_.SetMainDeviceModel(details.deviceModel);
            host_.SetMainNotes(details.notes);
            return kProtocolChoicePage;
        }
        case kProtocolChoicePage:
            if (view_.StandardChosen()) return kStandardProtocolPage;
            PrepareLearnProtocolPage();
            return kLearnProtocolPage;
        case kLearnProtocolPage:
            if (!current.valid) return Refuse(text::kNoValidLearnedProtocol), -1;
            if (view_.ProtocolNameField().empty()) return Refuse(text::kProtocolNameRequired), -1;
            return kButtonsPage;
        case kStandardProtocolPage:
            if (view_.SelectedStandard() < 0) return Refuse(text::kSelectStandard), -1;
            if (!current.valid) return Refuse(text::kNoValidProtocol), -1;
            return kButtonsPage;
        case kButtonsPage:
            if (model_.buttons.Count() == 0) return Refuse(text::kNoButtons), -1;
            FillButtonList();
            return kLearnButtonsPage;
        case kLearnButtonsPage: {
            const int rows = view_.GridRowCount();
            bool complete = rows > 0;
            for (int row = 0; complete && row < rows; ++row) complete = !view_.GridCell(row, 1).empty();
            if (!complete) return Refuse(text::kButtonsNotLearnt), -1;
            return kSavePage;
        }
        default:
            return -1;
    }
}

int TWizardFlow::BackTarget() const {
    switch (page_) {
        case kStandardProtocolPage:
            return view_.StandardChosen() ? kProtocolChoicePage : kLearnProtocolPage;
        case kButtonsPage:
            return view_.StandardChosen() ? kStandardProtocolPage : kLearnProtocolPage;
        case kLearnProtocolPage:
            return kProtocolChoicePage;
        default:
            return page_ - 1;
    }
}

void TWizardFlow::GoTo(int target) {
    if (page_ == kLearnProtocolPage && target != page_) ApplyProtocolName();
    page_ = target;
    EnterPage(page_);
    view_.ShowPage(page_, WizardNavigation(page_, busy_));
}

void TWizardFlow::EnterPage(int page) {
    switch (page) {
        case kStandardProtocolPage: {
            std::vector<std::string> names;
            int selected = -1;
            const int count = std::clamp(model_.standards.count, 0, kStandardProtocolSlots);
            for (int i = 0; i < count; ++i) {
                const std::string& name = model_.standards.protocols[static_cast<std::size_t>(i)].name;
                if (selected < 0 && model_.current.valid && EqualIgnoringCase(name, model_.current.name)) selected = i;
                names.push_back(name);
            }
            view_.SetStandardNames(names, selected);
            break;
        }
        case kButtonsPage:
            RenewButtonListCommands();
            break;
        case kLearnButtonsPage:
            RenewGridCommands();
            break;
        case kSavePage: {
            const TWizardDetails details = view_.Details();
            summary_ = WizardSummary(details.remoteBrand.text, details.remoteModel, model_.current.name,
                                     model_.buttons);
            view_.SetSummary(summary_);
            break;
        }
        default:
            break;
    }
}

// --- page 2

void TWizardFlow::DeviceTypeChanged() {
    view_.SetBrandLists(WizardBrandList(model_.applicationFolder, view_.Details().deviceType.text));
}

// --- pages 3 and 4

void TWizardFlow::PrepareLearnProtocolPage() {
    const Tprotocol_descriptor& current = model_.current;
    view_.LearnResults().Clear();
    if (current.valid) {
        view_.SetProtocolNameField(current.name);
        host_.DescribeProtocol(view_.LearnResults());
    } else {
        const TWizardDetails details = view_.Details();
        view_.SetProtocolNameField(DefaultProtocolName(details.remoteBrand.text, details.remoteModel));
    }
    view_.SetEditProtocolState(model_.settings.AllowProtocolEdit, current.valid);
}

void TWizardFlow::ApplyProtocolName() {
    Tprotocol_descriptor& current = model_.current;
    std::string name = view_.ProtocolNameField();
    if (EqualIgnoringCase(name, current.name)) return;
    if (FindStandardProtocol(model_.standards, name) >= 0) {
        if (model_.boxes.show(MessageKind::Warning, text::kStandardNameWarning,
                              MessageButton::Ok | MessageButton::Cancel) != MessageButton::Ok) {
            return;
        }
        name += text::kRenameSuffix;
        view_.SetProtocolNameField(name);
    }
    current.name = name;
    current.standard = false;
    ResetRulesForProtocol(model_.rules, current);
    view_.SetProtocolNameField(current.name);
    view_.StandardDetails().Clear();
    host_.DescribeProtocol(view_.StandardDetails());
    host_.DescribeMainProtocol();
}

void TWizardFlow::LearnProtocol() {
    if (busy_) return;
    view_.EnableLearnProtocol(false);
    view_.ShowProtocolProgress(true);
    busy_ = true;
    view_.SetNavigation(WizardNavigation(page_, busy_));
    const TScopeExit restore([this] {
        view_.ShowProtocolProgress(false);
        busy_ = false;
        view_.SetNavigation(WizardNavigation(page_, busy_));
        view_.EnableLearnProtocol(true);
        view_.SetEditProtocolState(model_.settings.AllowProtocolEdit, model_.current.valid);
    });
    host_.LearnProtocol(view_.ProtocolProgressBar(), view_.LearnResults());
}

void TWizardFlow::EditProtocol() {
    if (!host_.EditProtocol()) return;
    host_.DescribeMainProtocol();
    ShowStandardDetails(host_.MainProtocolDescription());
}

void TWizardFlow::ShowStandardDetails(const std::vector<std::string>& lines) {
    TColouredList& list = view_.StandardDetails();
    list.Clear();
    list.SetTextColour(ProtocolDescriptionColour(model_.current));
    for (const std::string& line : lines) list.Add(line);
}

// --- page 5

void TWizardFlow::StandardClicked(int index) {
    const Tstandard_protocols& standards = model_.standards;
    if (index < 0 || index >= std::clamp(standards.count, 0, kStandardProtocolSlots)) return;
    Tprotocol_descriptor& current = model_.current;
    if (standards.protocols[static_cast<std::size_t>(index)].name == current.name) return;
    CopyStandardProtocol(standards, index, current);
    DescriptorToWorkingState(current, model_.working);
    ResetRulesForProtocol(model_.rules, current);
    model_.buttons.ClearAllCodes();
    view_.StandardDetails().Clear();
    host_.DescribeProtocol(view_.StandardDetails());
    host_.DescribeMainProtocol();
    host_.RefreshButtonGrid();
    host_.UpdateCommandStates(true);
}

// --- page 6

void TWizardFlow::FillButtonList() {
    model_.buttons.FillNames(buttonEntries_);
    view_.SetButtonNames(buttonEntries_);
    RebuildGrid();
}

TButtonCode* TWizardFlow::ButtonOfEntry(int entry) const {
    if (entry < 0 || entry >= static_cast<int>(buttonEntries_.size())) return nullptr;
    const int index = buttonEntries_[static_cast<std::size_t>(entry)].index;
    if (index < 0 || index >= model_.buttons.Count()) return nullptr;
    return &model_.buttons.Items(index);
}

int TWizardFlow::SelectionAfterChange(int selected, int count) { return selected < count - 1 ? selected : count - 1; }

void TWizardFlow::RenewButtonListCommands() { view_.EnableButtonListCommands(view_.SelectedButtonEntry() >= 0); }

void TWizardFlow::TemplateClicked(const std::string& clicked) {
    const std::vector<TWizardTemplateEntry> entries = host_.TemplateMenu();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (TemplateCaptionText(entries[i].caption) != clicked) continue;
        host_.RunTemplateEntry(static_cast<int>(i));
        FillButtonList();
        RenewButtonListCommands();
        return;
    }
}

void TWizardFlow::ButtonListClicked() { RenewButtonListCommands(); }

void TWizardFlow::EditListButton() {
    const int selected = view_.SelectedButtonEntry();
    TButtonCode* button = ButtonOfEntry(selected);
    if (button == nullptr) return;
    host_.EditButton(*button);
    FillButtonList();
    host_.RefreshButtonGrid();
    view_.SelectButtonEntry(SelectionAfterChange(selected, static_cast<int>(buttonEntries_.size())));
    RenewButtonListCommands();
}

void TWizardFlow::AddButton() {
    host_.AddButton();
    FillButtonList();
    host_.RefreshButtonGrid();
    RenewButtonListCommands();
    RenewGridCommands();
}

void TWizardFlow::DeleteListButton() {
    const int selected = view_.SelectedButtonEntry();
    if (ButtonOfEntry(selected) == nullptr) return;
    model_.buttons.Delete(buttonEntries_[static_cast<std::size_t>(selected)].index);
    FillButtonList();
    host_.RefreshButtonGrid();
    view_.SelectButtonEntry(SelectionAfterChange(selected, static_cast<int>(buttonEntries_.size())));
    RenewButtonListCommands();
}

// --- page 7

std::vector<TWizardRow> TWizardFlow::GridRows() const {
    const bool translate = model_.settings.UseSubstutionRules;
    const bool hex = model_.settings.SubsBinByHex;
    std::vector<TWizardRow> rows;
    rows.reserve(static_cast<std::size_t>(model_.buttons.Count()));
    for (int i = 0; i < model_.buttons.Count(); ++i) {
        const TButtonCode& button = model_.buttons.Items(i);
        const std::string code = button.CodeText();
        rows.push_back({button.Name(), translate ? TranslateCode(model_.rules, model_.current, code, hex) : code});
    }
    return rows;
}

void TWizardFlow::RebuildGrid() {
    const int selected = view_.SelectedGridRow();
    subscriptions_->Clear();
    view_.SetGridRows(GridRows());
    for (int i = 0; i < model_.buttons.Count(); ++i) subscriptions_->Add(&model_.buttons.Items(i));
    ++gridRebuilds_;
    if (selected >= 0) view_.SelectGridRow(std::min(selected, model_.buttons.Count() - 1));
    RenewGridCommands();
}

TButtonCode* TWizardFlow::ButtonOfRow(int row) const {
    if (row < 0 || row >= model_.buttons.Count()) return nullptr;
    return &model_.buttons.Items(row);
}

void TWizardFlow::RenewGridCommands() { view_.EnableGridCommands(ButtonOfRow(view_.SelectedGridRow()) != nullptr); }

void TWizardFlow::GridClicked() { RenewGridCommands(); }

void TWizardFlow::LearnAllButtons() {
    view_.ShowButtonsProgress(true);
    const TScopeExit hide([this] {
        view_.ShowButtonsProgress(false);
        RenewGridCommands();
    });
    host_.LearnAllButtons(view_.ButtonsProgressBar());
    FillButtonList();
    host_.RefreshButtonGrid();
}

void TWizardFlow::LearnGridButton() {
    const int row = view_.SelectedGridRow();
    if (ButtonOfRow(row) == nullptr) return;
    view_.ShowButtonsProgress(true);
    const TScopeExit hide([this] {
        view_.ShowButtonsProgress(false);
        RenewGridCommands();
    });
    const std::string name = model_.buttons.Items(row).Name();
    if (model_.boxes.show(MessageKind::Information, PressButtonText(name), MessageButton::Ok | MessageButton::Cancel) !=
        MessageButton::Ok) {
        return;
    }
    bool cancelled = false;
    std::string code;
    std::string secondCode;
    if (host_.LearnButton(name, cancelled, view_.ButtonsProgressBar(), code, secondCode) && !cancelled) {
        // The learning may have run the message loop; the row's button is looked up again.
        if (TButtonCode* button = ButtonOfRow(row)) {
            button->SetCode(code);
            button->SetSecondCode(secondCode);
        }
        model_.boxes.show(MessageKind::Information, learning_text::kCodeRecorded, MessageButton::Ok);
    }
    host_.RefreshButtonGrid();
    FillButtonList();
}

void TWizardFlow::EditGridButton() {
    TButtonCode* button = ButtonOfRow(view_.SelectedGridRow());
    if (button == nullptr) return;
    host_.EditButton(*button);
    host_.RefreshButtonGrid();
    RenewGridCommands();
}

void TWizardFlow::DeleteGridButton() {
    const int row = view_.SelectedGridRow();
    if (ButtonOfRow(row) == nullptr) return;
    model_.buttons.Delete(row);
    FillButtonList();
    host_.RefreshButtonGrid();
}

// --- page 8

void TWizardFlow::Save() {
    host_.SaveDeviceFile();
    if (summary_.empty()) summary_.resize(1);
    summary_.back() = {text::kFilename, host_.SaveFileName()};
    view_.SetSummary(summary_);
}

}  // namespace spectrel
