// The main window.

#include "Code/SPX_Main.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QShowEvent>
#include <QSplitter>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "Code/KOR_FrmImagePreview.h"
#include "Code/KOR_XMLIMAGELIST.h"
#include "Code/KOR_frmSelectStandardProtocol.h"
#include "Code/KOR_frmExploreButtons.h"
#include "Code/SPX_CaptureView.h"
#include "Code/SPX_Main_ButtonsColumn.h"
#include "Code/SPX_Main_EditCommands.h"
#include "Code/SPX_SaveDevice.h"
#include "platform/qt/QtFileDialogs.h"
#include "Code/SPX_Main_ColouredList.h"
#include "Code/SPX_Main_PortSelector.h"
#include "Code/SPX_Main_ProgressBar.h"
#include "Code/SPX_Main_ProtocolColumn.h"
#include "Code/SPX_Main_RemoteColumn.h"
#include "Code/SPX_Main_WizardHost.h"
#include "Code/SPX_PortChoice.h"
#include "Code/SPX_Settings.h"
#include "Code/SPX_replace.h"
#include "virtualboard/qt/VirtualRemotePanel.h"

namespace spectrel {

namespace {

using platform::MessageButton;
using platform::MessageKind;

constexpr int kMinimumClientWidth = 640;
constexpr int kMinimumClientHeight = 460;
constexpr int kMessageMargin = 20;  // the message is 40 pixels narrower than the client area
constexpr int kMessageFontPixels = 13;
constexpr int kSplitterWidth = 2;
constexpr std::uint16_t kPreferencesOnly = 4096;
constexpr int kStatusPanels = 3;
constexpr int kReaderPanel = 0;

inline constexpr const char* kCaption = "Spectrel";
inline constexpr const char* kDisconnectedText =
    "Unable to connect to Spectrel hardware. Please ensure Spectrel is connected, and select the correct Comm Port "
    "above.";
inline constexpr const char* kCloseQuestion = "Are you sure you want to close without saving?";


QString FromStd(const std::string& text) { return QString::fromStdString(text); }

std::string UpperAscii(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

QAction* ToolCommand(QToolBar* bar, const QString& text, const char* objectName, QStyle::StandardPixmap icon) {
    QAction* action = bar->addAction(bar->style()->standardIcon(icon), text);
    action->setObjectName(QString::fromLatin1(objectName));
    if (QWidget* button = bar->widgetForAction(action)) button->setObjectName(QString::fromLatin1(objectName));
    return action;
}

}  // namespace

namespace {
shell::TFrameEnvironment FrameEnvironment(const TMainWindowContext& context) {
    shell::TFrameEnvironment environment(context.store, context.boxes);
    environment.companyName = kCompanyName;
    environment.applicationTitle = kApplicationTitle;
    environment.fileVersion = context.fileVersion;
    environment.openHelp = context.openHelp;
    environment.screenGeometry = context.screenGeometry;
    return environment;
}
}  // namespace

TfrmMain::TfrmMain(TMainWindowContext context, QWidget* parent)
    : TfrmZELFrame(FrameEnvironment(context), QStringLiteral("frmMain"), parent),
      context_(std::move(context)),
      workspace_(std::make_unique<TWorkspace>(TWorkspaceServices{context_.ports, context_.clock, context_.pump,
                                                                 context_.boxes, context_.store,
                                                                 context_.applicationFolder, context_.dumpFolder})) {
        TWorkspace& w = *workspace_;
    procedures_ = std::make_unique<TLearningProcedures>(
        TLearningModel{w.context, w.reader, context_.boxes, w.current, w.learnedCopy, w.standards, w.buttons,
                       w.exploreList, w.rules},
        *this);
    column_ = std::make_unique<TProtocolColumn>(
        TProtocolColumnModel{w.context, w.current, w.learnedCopy, w.standards, w.buttons, w.rules, context_.boxes,
                             context_.inputBox},
        *this, *this);
    saver_ = std::make_unique<TDeviceFileSaver>(
        TSaveDeviceEnvironment{context_.boxes, FileDialogs(), DefaultImportFolder(QDir::homePath().toStdString())});
    wizardHost_ = std::make_unique<TMainWizardHost>(*this);
    BuildToolBar();
    BuildMenus();
    BuildClientArea();
    SetStatusPanelCount(kStatusPanels);
    FormCreate();
}

TfrmMain::~TfrmMain() {
    // The base saves its preferences and placement while the window is still whole.
    FormDestroy();
    // The widgets that read the workspace go before it: the base destructor would destroy them only after the
    // members of this class are gone.
    delete virtualRemote_;
    virtualRemote_ = nullptr;
    delete settingsForm_;
    settingsForm_ = nullptr;
    if (captureView_ != nullptr) workspace_->context.analysisCopied = nullptr;
    delete captureView_;
    captureView_ = nullptr;
    delete takeCentralWidget();
}

// --- building the controls

void TfrmMain::BuildToolBar() {
    toolBar_ = FileToolBar();
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    wizard_ = ToolCommand(toolBar_, QStringLiteral("Wizard"), "btnWizard", QStyle::SP_DialogHelpButton);
    explore_ = ToolCommand(toolBar_, QStringLiteral("Explore"), "btnExplore", QStyle::SP_FileDialogContentsView);
    SetHint(explore_, QStringLiteral("Explore Buttons | Explorer the buttons of the IR unit"));
    previewImages_ = ToolCommand(toolBar_, QStringLiteral("Preview Images"), "btnPreviewImages",
                                 QStyle::SP_DirIcon);
    SetHint(previewImages_, QStringLiteral("Preview all available button images"));
    captureViewAction_ = ToolCommand(toolBar_, QStringLiteral("Capture View"), "btnCaptureView",
                                     QStyle::SP_FileDialogDetailedView);
    SetHint(captureViewAction_, QStringLiteral("Capture View|See what the board captured and why a press was refused"));
    toolBar_->addSeparator();
    save_ = ToolCommand(toolBar_, QStringLiteral("Save"), "btnSave", QStyle::SP_DialogSaveButton);
    SetHint(save_, QStringLiteral("Save File|Click to save learned IR codes"));

    auto* portPanel = new QWidget(toolBar_);
    portPanel->setObjectName(QStringLiteral("pnlCommPort"));
    auto* portLayout = new QVBoxLayout(portPanel);
    portLayout->setContentsMargins(8, 2, 4, 2);
    portLayout->setSpacing(1);
    portLayout->addWidget(new QLabel(QStringLiteral("Comm Port"), portPanel));
    portSelector_ = new TPortSelector(portPanel);
    SetHint(portSelector_, QStringLiteral("Select COM port from list"));
    portLayout->addWidget(portSelector_);
    toolBar_->addWidget(portPanel);

    connect(wizard_, &QAction::triggered, this, &TfrmMain::RunWizard);
    connect(explore_, &QAction::triggered, this, &TfrmMain::ExploreButtonsClick);
    connect(save_, &QAction::triggered, this, &TfrmMain::BtnSaveIRFileClick);
    connect(previewImages_, &QAction::triggered, this, &TfrmMain::PreviewImagesClick);
    connect(captureViewAction_, &QAction::triggered, this, &TfrmMain::CaptureViewClick);
    connect(portSelector_, &QComboBox::activated, this, &TfrmMain::ComboxComPortClick);
    connect(portSelector_, &TPortSelector::dropDown, this, &TfrmMain::ComboxComPortDropDown);
}

void TfrmMain::BuildMenus() {
    mnuWizard_ = new QAction(QStringLiteral("IR Wizard"), this);
    mnuWizard_->setObjectName(QStringLiteral("mnuIRWizard"));
    mnuLoadNames_ = new QAction(QStringLiteral("&Load Button Names"), this);
    mnuLoadNames_->setObjectName(QStringLiteral("mnuLoadButtonNames"));
    mnuSaveNames_ = new QAction(QStringLiteral("&Save Button Names"), this);
    mnuSaveNames_->setObjectName(QStringLiteral("mnuSaveButtonNames"));
    InsertFileMenuAction(mnuWizard_);
    InsertFileMenuAction(mnuLoadNames_);
    InsertFileMenuAction(mnuSaveNames_);
    mnuCaptureView_ = new QAction(QStringLiteral("&Capture View"), this);
    mnuCaptureView_->setObjectName(QStringLiteral("mnuCaptureView"));
    SetHint(mnuCaptureView_, QStringLiteral("Capture View|See what the board captured and why a press was refused"));
    InsertFileMenuAction(mnuCaptureView_);
    connect(mnuCaptureView_, &QAction::triggered, this, &TfrmMain::CaptureViewClick);
    connect(mnuWizard_, &QAction::triggered, this, &TfrmMain::RunWizard);
    connect(mnuLoadNames_, &QAction::triggered, this, [this] { buttonsColumn_->LoadButtonNames(); });
    connect(mnuSaveNames_, &QAction::triggered, this, [this] { buttonsColumn_->SaveButtonNames(); });
    editCommands_ = new TEditCommands(EditMenu(), this);

    optionsMenu_ = new QMenu(QStringLiteral("Options"), this);
    optionsMenu_->setObjectName(QStringLiteral("mnuOptions"));
    menuBar()->insertMenu(HelpMenu()->menuAction(), optionsMenu_);
    advancedEdit_ = optionsMenu_->addAction(QStringLiteral("Advanced edit IR protocol"));
    advancedEdit_->setObjectName(QStringLiteral("EditIRprotocol1"));
    decodingParameters_ = optionsMenu_->addAction(QStringLiteral("Edit IR decoding parameters"));
    decodingParameters_->setObjectName(QStringLiteral("EditIRdecodesettings1"));
    connect(advancedEdit_, &QAction::triggered, this, [this] { column_->AdvancedEdit(); });
    connect(decodingParameters_, &QAction::triggered, this, &TfrmMain::EditIRdecodesettings1Click);
}

void TfrmMain::BuildClientArea() {
    noConnectPanel_ = new QWidget(this);
    noConnectPanel_->setObjectName(QStringLiteral("NoConnectPanel"));
    noConnectPanel_->setMinimumSize(kMinimumClientWidth, kMinimumClientHeight);
    noConnectPanel_->setAutoFillBackground(true);
    noConnectPanel_->setBackgroundRole(QPalette::Base);
    auto* stack = new QGridLayout(noConnectPanel_);
    stack->setContentsMargins(0, 0, 0, 0);

    disconnectedLabel_ = new QLabel(QString::fromLatin1(kDisconnectedText), noConnectPanel_);
    disconnectedLabel_->setObjectName(QStringLiteral("DisconnectedLabel"));
    disconnectedLabel_->setWordWrap(true);
    disconnectedLabel_->setAlignment(Qt::AlignCenter);
    disconnectedLabel_->setContentsMargins(kMessageMargin, 0, kMessageMargin, 0);
    QFont bold = disconnectedLabel_->font();
    bold.setBold(true);
    bold.setPixelSize(kMessageFontPixels);
    disconnectedLabel_->setFont(bold);
    stack->addWidget(disconnectedLabel_, 0, 0);

    masterPanel_ = new QWidget(noConnectPanel_);
    masterPanel_->setObjectName(QStringLiteral("MasterPanel"));
    masterPanel_->setAutoFillBackground(true);
    masterPanel_->setBackgroundRole(QPalette::Window);
    auto* master = new QVBoxLayout(masterPanel_);
    master->setContentsMargins(0, 0, 0, 0);
    master->setSpacing(2);
    auto* columns = new QHBoxLayout;
    columns->setSpacing(2);
    remoteColumn_ = new TRemoteColumn(masterPanel_);
    columns->addWidget(remoteColumn_);
    auto* splitter = new QSplitter(Qt::Horizontal, masterPanel_);
    splitter->setObjectName(QStringLiteral("ProtocolSplitter"));
    splitter->setHandleWidth(kSplitterWidth);
    splitter->setChildrenCollapsible(false);
    protocolColumn_ = new TProtocolColumnPanel(workspace_->settings.palette, splitter);
    TWorkspace& w = *workspace_;
    remoteColumn_->SetBrandSource(context_.applicationFolder, &context_.boxes);
    buttonsColumn_ = new TButtonsColumn(
        TButtonsColumnModel{w.buttons, w.templates, w.rules, w.current,
                            [&w] {
                                if (!w.HasOptions()) return TCodeDisplayOptions{};
                                return TCodeDisplayOptions{w.Options().UseSubstutionRules, w.Options().SubsBinByHex};
                            },
                            context_.boxes, FileDialogs(), context_.applicationFolder, *procedures_,
                            [this](bool idle) { UpdateCommandStates(idle); }},
        splitter);
    splitter->addWidget(protocolColumn_);
    splitter->addWidget(buttonsColumn_);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    columns->addWidget(splitter, 1);
    master->addLayout(columns, 1);
    progressBar_ = new TReceiveProgressBar(masterPanel_);
    master->addWidget(progressBar_);
    stack->addWidget(masterPanel_, 0, 0);
    masterPanel_->hide();
    setCentralWidget(noConnectPanel_);

    // The long hints go to the status bar through the frame.
    SetHint(protocolColumn_->LearnAction(),
            QStringLiteral("Learn Protocol | Initiates the process to learn the protocol of the device"));
    SetHint(&protocolColumn_->ProtocolList(), QStringLiteral("Protocol description"));
    SetHint(buttonsColumn_->LearnAllAction(), QStringLiteral("Learn Buttons|Click to learn IR codes for listed buttons"));

    connect(protocolColumn_, &TProtocolColumnPanel::learnClicked, this, &TfrmMain::BtnExploreProtoClick);
    connect(protocolColumn_, &TProtocolColumnPanel::selectClicked, this, [this] { column_->SelectStandardProtocol(); });
    connect(protocolColumn_, &TProtocolColumnPanel::editClicked, this, [this] { column_->RenameProtocol(); });
    connect(buttonsColumn_, &TButtonsColumn::learnAllClicked, this, &TfrmMain::BtnLearnClick);
    connect(buttonsColumn_, &TButtonsColumn::learnClicked, this, &TfrmMain::LearnSelectedButtonClick);
}

// --- creation and first activation

void TfrmMain::FormCreate() {
    TfrmZELFrame::FormCreate();
    TWorkspace& w = *workspace_;
    w.buttons.Clear();
    w.exploreList.Clear();
    imageList_ = std::make_unique<TDirectoryImageList>();
    imageList_->SetFolder(context_.applicationFolder + kButtonImagesFolder);
    buttonsColumn_->SetImageList(imageList_.get());

    w.CreateOptions();
    settingsForm_ = new TIR_Settings_form(w.context, w.current, w.standards, context_.boxes,
                                          [this] { DescribeProtocol(ProtocolList()); }, this);
    settingsForm_->hide();
    SetFrameMenuItems(kPreferencesOnly);
    setWindowTitle(QString::fromLatin1(kCaption));
    firstVersion_ = 0;
    secondVersion_ = 0;
    firstActivation_ = true;
    connected_ = false;
    FillPortSelector(context_.ports.portNames(), -1);
    UpdateCommandStates(false);
    w.buttons.Clear();
    ClearDescriptor(w.current);
    ClearDescriptor(w.learnedCopy);

    w.templates.SetButtonList(&w.buttons);
    const TDataResult read = w.ReadSettings();
    remoteColumn_->SetDeviceTypes(w.settings.deviceTypes);
    remoteColumn_->DeviceTypeChanged();
    if (!read.ok) context_.boxes.show(MessageKind::Error, read.message, MessageButton::Ok);

    UpdateOptionsMenu();
}

void TfrmMain::showEvent(QShowEvent* event) {
    TfrmZELFrame::showEvent(event);
    if (firstActivation_) QTimer::singleShot(0, this, &TfrmMain::FormActivate);
}

void TfrmMain::FormActivate() {
    if (!firstActivation_) return;
    remoteColumn_->SelectFirstDeviceType();
    remoteColumn_->DeviceTypeChanged();
    UpdateCommandStates(false);
    SelectReaderPort(FirstActivationPort(workspace_->settings.setup.serialPort, workspace_->PortRemembered(),
                                         context_.virtualIfNoPort),
                     true);
    TReaderLink& reader = workspace_->reader;
    if (connected_) {
        if (reader.OpenReaderPort().ok) {
            reader.DrainReader();
            const TReaderVersion version = reader.DetectReader();
            connected_ = version.detected;
            firstVersion_ = version.first;
            secondVersion_ = version.second;
        } else {
            connected_ = false;
        }
        reader.CloseReaderPort();
    }
    firstActivation_ = false;
    if (connected_) UpdateCommandStates(true);
    SetStatusPanelText(kReaderPanel, FromStd(ReaderStatusWithCause(
                                         ReaderStatusText(connected_, firstVersion_, secondVersion_, true),
                                         reader.ReaderPortName(), !connected_ && reader.LastOpenDenied())));
    ShowVirtualRemote();
}

// --- the port

std::vector<std::string> TfrmMain::portEntries() const { return portSelector_->Names(); }

void TfrmMain::selectPortEntry(int index) {
    const QSignalBlocker quiet(portSelector_);
    portSelector_->setCurrentIndex(index);
}

void TfrmMain::showReaderStatus(const std::string& text) { SetStatusPanelText(kReaderPanel, FromStd(text)); }

void TfrmMain::enableLearningCommands(bool) {}

void TfrmMain::FillPortSelector(const std::vector<std::string>& entries, int selected) {
    std::vector<std::string> labels;
    for (const std::string& entry : entries)
        labels.push_back(
            PortEntryLabel(entry, permissionNotice_.Refused(entry) || context_.ports.permission(entry).denied));
    portSelector_->SetEntries(entries, labels, selected);
}

void TfrmMain::ShowPortPermission(const std::string& name) {
    const TReaderLink& reader = workspace_->reader;
    const bool denied = !connected_ && reader.LastOpenDenied();
    const bool tell = permissionNotice_.NoteOpen(name, denied);
    const std::vector<std::string> names = portSelector_->Names();
    const auto entry = std::find(names.begin(), names.end(), name);
    if (entry != names.end())
        portSelector_->SetEntryLabel(static_cast<int>(entry - names.begin()), PortEntryLabel(name, denied));
    if (!denied) return;
    SetStatusPanelText(kReaderPanel,
                       FromStd(ReaderStatusWithCause(StatusPanelText(kReaderPanel).toStdString(), name, true)));
    if (tell) context_.boxes.show(MessageKind::Warning, reader.LastOpenAdvice(), MessageButton::Ok);
}

void TfrmMain::SelectReaderPort(const std::string& name, bool firstActivation) {
    const std::vector<std::string> entries = portEntries();
    const bool listed = std::any_of(entries.begin(), entries.end(),
                                    [&](const std::string& entry) { return UpperAscii(entry) == UpperAscii(name); });
    if (!listed) {
        // The state and the status stay as they were.
        selectPortEntry(-1);
        return;
    }
    TReaderLink& reader = workspace_->reader;
    connected_ = reader.SelectReaderPort(name, *this, firstActivation);
    if (connected_) {
        firstVersion_ = reader.ReaderVersion().first;
        secondVersion_ = reader.ReaderVersion().second;
    }
    UpdateCommandStates(connected_);
    ShowPortPermission(reader.ReaderPortName());
    if (!firstActivation) ShowVirtualRemote();
}

void TfrmMain::ComboxComPortClick(int index) {
    if (index < 0) return;
    SelectReaderPort(portSelector_->EntryName(index), false);
}

void TfrmMain::ComboxComPortDropDown() {
    const TPortListRefresh refresh =
        RefreshPortList(portSelector_->CurrentName(), context_.ports.portNames());
    FillPortSelector(refresh.entries, refresh.selected);
}

void TfrmMain::ShowVirtualRemote() {
    if (context_.virtualReader == nullptr) return;
    const bool inUse = connected_ && UpperAscii(workspace_->reader.ReaderPortName()) == kVirtualReaderPort;
    if (inUse && virtualRemote_ == nullptr) {
        virtualRemote_ = new virtualboard::TVirtualRemotePanel(*context_.virtualReader, context_.boxes, this);
        virtualRemote_->setWindowFlag(Qt::Tool, true);
    }
    if (virtualRemote_ != nullptr) virtualRemote_->setVisible(inUse);
}

// --- command states

void TfrmMain::UpdateCommandStates(bool idle) {
    const TWorkspace& w = *workspace_;
    const TCommandStates states = CommandStatesFor(CommandStateInputFor(connected_, idle, w.current, w.buttons));
    masterPanel_->setVisible(states.masterPanelVisible);
    disconnectedLabel_->setVisible(!states.masterPanelVisible);
    wizard_->setEnabled(states.wizard);
    mnuWizard_->setEnabled(states.wizard);
    mnuSaveNames_->setEnabled(states.saveButtonNames);
    protocolColumn_->LearnAction()->setEnabled(states.learnProtocol);
    protocolColumn_->SelectAction()->setEnabled(states.selectProtocol);
    mnuLoadNames_->setEnabled(states.loadButtonNames);
    buttonsColumn_->ApplyCommandStates(states);
    explore_->setEnabled(states.explore);
    save_->setEnabled(states.save);
    protocolColumn_->EditAction()->setEnabled(states.editProtocol);
    advancedEdit_->setEnabled(states.advancedEdit);
}

void TfrmMain::UpdateOptionsMenu() {
    const TSpectrelIniObject& options = workspace_->Options();
    const TOptionsMenuVisibility visible =
        OptionsMenuVisibilityFor(options.AllowProtocolEdit, options.AllowDecodingParmeterEdit);
    advancedEdit_->setVisible(visible.advancedEdit);
    decodingParameters_->setVisible(visible.decodingParameters);
    optionsMenu_->menuAction()->setVisible(visible.optionsMenu);
    column_->ApplyStandardMatch(options.MatchToStandardProtocol);
}

// --- what the procedures ask of the window

void TfrmMain::RefreshButtonGrid() { buttonsColumn_->RefreshButtonGrid(); }

void TfrmMain::SelectLastButton() { buttonsColumn_->SelectLastButton(); }

void TfrmMain::EnableMainWindow(bool enabled) {
    // The tool windows (the virtual remote, the decoding parameters) stay usable.
    centralWidget()->setEnabled(enabled);
    menuBar()->setEnabled(enabled);
    toolBar_->setEnabled(enabled);
}

void TfrmMain::ShowProtocolName(const std::string& name) { protocolColumn_->ShowProtocolName(FromStd(name)); }

void TfrmMain::ResetDecodingSettingsChanged() { settingsForm_->ClearModified(); }

int TfrmMain::SelectedButtonIndex() const { return buttonsColumn_->SelectedButtonIndex(); }

TCaptureProgressBar* TfrmMain::ReceiveProgressBar() { return progressBar_; }

TColouredList* TfrmMain::ProtocolList() { return &protocolColumn_->ProtocolList(); }

void TfrmMain::DescribeProtocol(TColouredList* list, bool clear) { column_->DescribeProtocol(list, clear); }

// --- the protocol column's dialogs

int TfrmMain::SelectStandardProtocol(const Tstandard_protocols& standards) {
    return ExecuteSelectStandardProtocol(standards, this);
}

void TfrmMain::EditProtocolInDialog() {
    settingsForm_->SelectProtocolMode();
    EnableMainWindow(false);
    QEventLoop wait;
    connect(settingsForm_, &TIR_Settings_form::hidden, &wait, &QEventLoop::quit);
    settingsForm_->show();
    settingsForm_->raise();
    // The event loop sleeps until the next event; it ends when the dialog is hidden.
    if (settingsForm_->isVisible()) wait.exec();
    EnableMainWindow(true);
}

void TfrmMain::FocusMainWindow() { activateWindow(); }

// --- commands

void TfrmMain::RunProcedure(const std::function<void()>& procedure) {
    // Picking a port while a procedure reads the open one would close it under the capture.
    portSelector_->setEnabled(false);
    procedures_->options = LearningOptionsFrom(workspace_->Options());
    try {
        procedure();
    } catch (...) {
        portSelector_->setEnabled(true);
        throw;
    }
    portSelector_->setEnabled(true);
}

void TfrmMain::BtnExploreProtoClick() {
    RunProcedure([this] {
        TColouredList* list = ProtocolList();
        procedures_->LearnProtocol(progressBar_, list, list);
    });
}

void TfrmMain::BtnLearnClick() {
    RunProcedure([this] { procedures_->LearnAllButtons(); });
}

void TfrmMain::LearnSelectedButtonClick() {
    procedures_->options = LearningOptionsFrom(workspace_->Options());
    procedures_->LearnSelectedButton();
}

platform::FileDialogs& TfrmMain::FileDialogs() {
    if (context_.fileDialogs != nullptr) return *context_.fileDialogs;
    if (!ownFileDialogs_) ownFileDialogs_ = std::make_unique<platform::qt::QtFileDialogs>(this);
    return *ownFileDialogs_;
}

void TfrmMain::BtnSaveIRFileClick() {
    TWorkspace& w = *workspace_;
    saver_->BtnSaveIRFileClick(remoteColumn_->Details(), w.current, w.buttons, w.Options().AttachProtocol,
                               [this](bool idle) { UpdateCommandStates(idle); });
}

void TfrmMain::ExploreButtonsClick() {
    TWorkspace& w = *workspace_;
    procedures_->options = LearningOptionsFrom(w.Options());
    TfrmExplorerButtons dialog(*procedures_, w.exploreList, context_.boxes, w.settings.palette, this);
    dialog.exec();
}

void TfrmMain::EditIRdecodesettings1Click() {
    settingsForm_->SelectParameterMode();
    settingsForm_->show();
    settingsForm_->raise();
}

void TfrmMain::PreviewImagesClick() {
    if (imagePreview_ == nullptr) {
        imagePreview_ = new TfrmImagePreview(FromStd(context_.applicationFolder + kButtonImagesFolder),
                                             context_.store, this);
    }
    imagePreview_->show();
    imagePreview_->raise();
}

void TfrmMain::CaptureViewClick() {
    if (captureView_ == nullptr) {
        TWorkspace& w = *workspace_;
        captureView_ = new TfrmCaptureView(w.context, w.current, FileDialogs(), context_.boxes, this);
        // Every capture copied for analysis is drawn once its analysis is complete.
        TfrmCaptureView* view = captureView_;
        w.context.analysisCopied = [view] { view->ScheduleRefresh(); };
    }
    captureView_->show();
    captureView_->raise();
    captureView_->activateWindow();
}

// --- closing

bool TfrmMain::FormCloseQuery() {
    if (!TfrmZELFrame::FormCloseQuery()) return false;
    return context_.boxes.show(MessageKind::Confirmation, kCloseQuestion, MessageButton::Yes | MessageButton::No) ==
           MessageButton::Yes;
}

void TfrmMain::FormClose() {
    if (closed_) return;
    closed_ = true;
    const TIniResult written = workspace_->WriteSettingsAtClose(connected_);
    settingsForm_->hide();
    if (virtualRemote_ != nullptr) virtualRemote_->hide();
    if (captureView_ != nullptr) captureView_->hide();
    if (!written.ok) context_.boxes.show(MessageKind::Error, written.message, MessageButton::Ok);
    TfrmZELFrame::FormClose();
}

}  // namespace spectrel
