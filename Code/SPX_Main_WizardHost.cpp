// The main window's operations for the IR wizard, and the window's commands that open the wizard and the
// preferences dialog.

#include "Code/SPX_Main_WizardHost.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "Code/IRPrefrences.h"
#include "Code/SPX_Main.h"
#include "Code/SPX_Main_ButtonsColumn.h"
#include "Code/SPX_Main_ColouredList.h"
#include "Code/SPX_Main_ProtocolColumn.h"
#include "Code/SPX_Main_RemoteColumn.h"
#include "Code/SPX_PreferencesModel.h"
#include "Code/SPX_SaveDevice.h"
#include "Code/SPX_wizard2.h"
#include "Code/fProtocolSettings2.h"

namespace spectrel {

namespace {

QString FromStd(const std::string& text) { return QString::fromStdString(text); }

TWizardSelector SelectorOf(const QComboBox& combo) {
    TWizardSelector selector;
    for (int i = 0; i < combo.count(); ++i) selector.items.push_back(combo.itemText(i).toStdString());
    selector.index = combo.currentIndex();
    selector.text = combo.currentText().toStdString();
    return selector;
}

// The wizard's dialogs go above the wizard, which is the active modal window while it runs.
QWidget* DialogParent(QWidget& mainWindow) {
    QWidget* modal = QApplication::activeModalWidget();
    return modal != nullptr ? modal : &mainWindow;
}

}  // namespace

// The learning procedures' window while the wizard learns: the main window, but with the wizard's progress bar.
class TMainWizardHost::ProceduresWindow : public TLearningWindow {
public:
    explicit ProceduresWindow(TfrmMain& window) : window_(window) {}
    void UpdateCommandStates(bool idle) override { window_.UpdateCommandStates(idle); }
    void RefreshButtonGrid() override { window_.RefreshButtonGrid(); }
    void EnableMainWindow(bool enabled) override { window_.EnableMainWindow(enabled); }
    void ShowProtocolName(const std::string& name) override { window_.ShowProtocolName(name); }
    void ResetDecodingSettingsChanged() override { window_.ResetDecodingSettingsChanged(); }
    int SelectedButtonIndex() const override { return window_.SelectedButtonIndex(); }
    TCaptureProgressBar* ReceiveProgressBar() override { return progressBar; }
    TColouredList* ProtocolList() override { return window_.ProtocolList(); }

    TCaptureProgressBar* progressBar = nullptr;

private:
    TfrmMain& window_;
};

TMainWizardHost::TMainWizardHost(TfrmMain& window)
    : window_(window), proceduresWindow_(std::make_unique<ProceduresWindow>(window)) {}

TMainWizardHost::~TMainWizardHost() = default;

// --- the device and remote details

TWizardDetails TMainWizardHost::MainDetails() const {
    const TRemoteColumn& column = *window_.remoteColumn_;
    TWizardDetails details;
    details.deviceType = SelectorOf(*column.DeviceType());
    details.deviceBrand = SelectorOf(*column.DeviceBrand());
    details.deviceModel = column.DeviceModel()->text().toStdString();
    details.remoteBrand = SelectorOf(*column.RemoteBrand());
    details.remoteModel = column.RemoteModel()->text().toStdString();
    details.notes = column.Notes()->toPlainText().toStdString();
    return details;
}

void TMainWizardHost::SetMainRemoteBrand(const std::string& text) {
    window_.remoteColumn_->RemoteBrand()->setEditText(FromStd(text));
}

void TMainWizardHost::SetMainRemoteModel(const std::string& text) {
    window_.remoteColumn_->RemoteModel()->setText(FromStd(text));
}

void TMainWizardHost::SetMainDeviceTypeIndex(int index) {
    // The change action runs when the wizard asks for it (MainDeviceTypeChange), not twice.
    QComboBox* deviceType = window_.remoteColumn_->DeviceType();
    const QSignalBlocker quiet(deviceType);
    deviceType->setCurrentIndex(index);
}

void TMainWizardHost::MainDeviceTypeChange() { window_.remoteColumn_->DeviceTypeChanged(); }

void TMainWizardHost::SetMainDeviceType(const std::string& text) {
    QComboBox* deviceType = window_.remoteColumn_->DeviceType();
    const QSignalBlocker quiet(deviceType);
    deviceType->setCurrentText(FromStd(text));
}

void TMainWizardHost::SetMainDeviceBrand(const std::string& text) {
    window_.remoteColumn_->DeviceBrand()->setEditText(FromStd(text));
}

void TMainWizardHost::SetMainDeviceModel(const std::string& text) {
    window_.remoteColumn_->DeviceModel()->setText(FromStd(text));
}

void TMainWizardHost::SetMainNotes(const std::string& text) {
    window_.remoteColumn_->Notes()->setPlainText(FromStd(text));
}

// --- the protocol description

std::vector<std::string> TMainWizardHost::MainProtocolDescription() const {
    std::vector<std::string> lines;
    for (const QString& line : window_.protocolColumn_->ProtocolList().Lines()) lines.push_back(line.toStdString());
    return lines;
}

void TMainWizardHost::DescribeProtocol(TColouredList& list) { window_.DescribeProtocol(&list); }

void TMainWizardHost::DescribeMainProtocol() { window_.DescribeProtocol(window_.ProtocolList()); }

// --- the templates

std::vector<TWizardTemplateEntry> TMainWizardHost::TemplateMenu() const {
    // The template entries of the Templates menu, each with its command.
    const TButtonTemplates& templates = window_.workspace_->templates;
    std::vector<TWizardTemplateEntry> entries;
    for (int i = 0; i < templates.Count(); ++i) entries.push_back({templates.TemplateName(i), i, true});
    return entries;
}

void TMainWizardHost::RunTemplateEntry(int index) {
    TButtonTemplates& templates = window_.workspace_->templates;
    if (index < 0 || index >= templates.Count()) return;
    templates.ApplyTemplateFromMenuCommand(index);
    window_.RefreshButtonGrid();
    window_.UpdateCommandStates(true);
}

// --- learning

void TMainWizardHost::Learn(TCaptureProgressBar* progressBar, const std::function<void(TLearningProcedures&)>& learn) {
    TWorkspace& w = *window_.workspace_;
    TLearningProcedures procedures(TLearningModel{w.context, w.reader, window_.context_.boxes, w.current, w.learnedCopy,
                                                  w.standards, w.buttons, w.exploreList, w.rules},
                                   *proceduresWindow_);
    proceduresWindow_->progressBar = progressBar;
    window_.RunProcedure([&] {
        procedures.options = LearningOptionsFrom(w.Options());
        learn(procedures);
    });
    proceduresWindow_->progressBar = nullptr;
}

void TMainWizardHost::LearnProtocol(TCaptureProgressBar* progressBar, TColouredList& results) {
    Learn(progressBar,
          [&](TLearningProcedures& procedures) { procedures.LearnProtocol(progressBar, &results, &results); });
}

bool TMainWizardHost::LearnButton(const std::string& name, bool& cancelled, TCaptureProgressBar* progressBar,
                                  std::string& code, std::string& secondCode) {
    bool captured = false;
    Learn(progressBar, [&](TLearningProcedures& procedures) {
        captured = procedures.LearnButton(name, cancelled, progressBar, code, secondCode);
    });
    return captured;
}

void TMainWizardHost::LearnAllButtons(TCaptureProgressBar* progressBar) {
    Learn(progressBar, [](TLearningProcedures& procedures) { procedures.LearnAllButtons(); });
}

// --- the editors

// The main window's own commands and dialogs of the button list.
void TMainWizardHost::AddButton() { window_.buttonsColumn_->Commands().btnAddButtonClick(); }

bool TMainWizardHost::EditButton(TButtonCode& button) {
    const bool saved = window_.buttonsColumn_->Dialogs().ExecuteButtonEdit(button);
    if (saved) window_.RefreshButtonGrid();
    return saved;
}

bool TMainWizardHost::EditProtocol() {
    TWorkspace& w = *window_.workspace_;
    TfrmProtocolSettings dialog(w.current, w.context.working, window_.context_.boxes, DialogParent(window_));
    const bool saved = dialog.Edit(false);
    if (saved) window_.UpdateCommandStates(true);
    return saved;
}

// --- saving

void TMainWizardHost::SaveDeviceFile() { window_.BtnSaveIRFileClick(); }

std::string TMainWizardHost::SaveFileName() const { return window_.DeviceFileSaver().FileName(); }

// --- the rest of the window

void TMainWizardHost::RefreshButtonGrid() { window_.RefreshButtonGrid(); }

void TMainWizardHost::UpdateCommandStates(bool idle) { window_.UpdateCommandStates(idle); }

void TMainWizardHost::OpenHelp(int context) { window_.OpenHelp(shell::THelpCommand::Context, context); }

// --- the window's commands

void TfrmMain::RunWizard() {
    TWorkspace& w = *workspace_;
    TfrmIRWizard::Run(TWizardModel{w.current, w.standards, w.context.working, w.buttons, w.rules, w.Options(),
                                   context_.boxes, context_.applicationFolder},
                      *wizardHost_, this, &w.settings.palette);
    RefreshButtonGrid();
    UpdateCommandStates(true);
}

void TfrmMain::ShowPreferences() {
    TWorkspace& w = *workspace_;
    TfrmIRPrefrences dialog(this);
    TPreferencesModel& model = dialog.Model();
    model.OnLoad = [this, &w](TPreferencesModel& m) {
        LoadPreferences(m, ShellPreferences(), w.Options(), w.templates);
    };
    model.OnSave = [this, &w](TPreferencesModel& m) {
        shell::TShellPreferences values = ShellPreferences();
        TakePreferences(m, values, w.Options(), w.templates);
        ApplyShellPreferences(values);
        UpdateOptionsMenu();
    };
    dialog.SetShowHints([this](bool on) { SetHintsOn(on); });
    dialog.SetOpenHelp([this] { OpenHelp(shell::THelpCommand::Contents); });
    // Template names and items take the characters of a template name: letters, digits, blank, "-" and "+".
    dialog.SetAskTemplateText([this](std::string& text, const std::string& prompt) {
        return buttonsColumn_->Dialogs().ExecuteRestrictedEdit(text, prompt, button_text::kTemplateNameExtra,
                                                               button_text::kTemplateNameMode);
    });
    dialog.Execute();
}

}  // namespace spectrel
