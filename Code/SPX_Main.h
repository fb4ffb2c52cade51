#pragma once
// The main window "Spectrel": its two states (no reader / reader connected), the port selection, the toolbar and
// menus, the three columns of the work area, and the start-up and closing sequences. The decisions live in
// TWorkspace, the command-state rule, the port choice, TProtocolColumn and the learning procedures; the window
// wires its controls to them.
//
// Object names: "ComboxComPort", "NoConnectPanel", "DisconnectedLabel", "MasterPanel", "lbxProtocols",
// "eProtocolName", "ReceiveProgressBar", "ButtonGrid", the toolbar commands "btnWizard", "btnExplore",
// "btnPreviewImages", "btnCaptureView", "btnSave", the menu items "mnuCaptureView", "mnuIRWizard", "mnuLoadButtonNames", "mnuSaveButtonNames",
// "EditIRprotocol1", "EditIRdecodesettings1", the menu "mnuOptions", the status panels "StatusPanel0".."2".

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Code/SPX_CommandStates.h"
#include "Code/SPX_Main_Context.h"
#include "Code/SPX_PortPermission.h"
#include "Code/SPX_ProtocolColumn.h"
#include "Code/SPX_Workspace.h"
#include "Code/SPX_processing_learning.h"
#include "shell/fMainFrame.h"

class QLabel;

namespace spectrel {

class TButtonsColumn;
class TDeviceFileSaver;
class TEditCommands;
class TDirectoryImageList;
class TIR_Settings_form;
class TMainWizardHost;
class TPortSelector;
class TProtocolColumnPanel;
class TReceiveProgressBar;
class TRemoteColumn;
class TfrmImagePreview;
class TfrmCaptureView;

class TfrmMain : public shell::TfrmZELFrame,
                 public TLearningWindow,
                 public TProtocolColumnDialogs,
                 private TReaderPortView {
    Q_OBJECT
public:
    explicit TfrmMain(TMainWindowContext context, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // --- what the procedures ask of the window
    void UpdateCommandStates(bool idle) override;
    void RefreshButtonGrid() override;
    void EnableMainWindow(bool enabled) override;
    void ShowProtocolName(const std::string& name) override;
    void ResetDecodingSettingsChanged() override;
    int SelectedButtonIndex() const override;
    TCaptureProgressBar* ReceiveProgressBar() override;
    TColouredList* ProtocolList() override;

    // --- the dialogs of the protocol column
    int SelectStandardProtocol(const Tstandard_protocols& standards) override;
    void EditProtocolInDialog() override;
    void FocusMainWindow() override;

    void FormCreate() override;
    void ShowPreferences() override;
    // Shows the Options items the advanced options allow, then applies the standard match.
    void UpdateOptionsMenu();
    void DescribeProtocol(TColouredList* list, bool clear = true);
    void SelectLastButton();

    // The first activation: connects to the remembered port. Runs once, when the window is first shown.
    void FormActivate();

    // Toolbar "Save": the device file (checks, file name, backups, writer).
    void BtnSaveIRFileClick();
    // Toolbar "Explore": the Explorer Buttons dialog.
    void ExploreButtonsClick();

    TWorkspace& Workspace() { return *workspace_; }
    TDeviceFileSaver& DeviceFileSaver() { return *saver_; }
    bool Connected() const { return connected_; }
    TIR_Settings_form* DecodingParametersDialog() const { return settingsForm_; }
    // The main window as the IR wizard sees it.
    TMainWizardHost& WizardHost() { return *wizardHost_; }
    // Toolbar "Capture View" and its menu item: opens the capture view, or brings it to the front.
    void CaptureViewClick();
    // Null until the capture view is first opened.
    TfrmCaptureView* CaptureView() const { return captureView_; }

protected:
    bool FormCloseQuery() override;
    void FormClose() override;
    void showEvent(QShowEvent* event) override;

private:
    friend class TMainWizardHost;

    // --- the port list as the reader link sees it
    std::vector<std::string> portEntries() const override;
    void selectPortEntry(int index) override;
    void showReaderStatus(const std::string& text) override;
    void enableLearningCommands(bool enabled) override;

    void BuildToolBar();
    void BuildMenus();
    void BuildClientArea();
    void FillPortSelector(const std::vector<std::string>& entries, int selected);
    // After an attempt on `name`: a port this user may not open is marked in the list and the status, and its
    // advice is told once.
    void ShowPortPermission(const std::string& name);

    // Connects to `name` (see TReaderLink::SelectReaderPort); nothing happens when no entry is called so.
    void SelectReaderPort(const std::string& name, bool firstActivation);
    void ComboxComPortClick(int index);
    void ComboxComPortDropDown();
    void ShowVirtualRemote();

    // Runs a learning procedure with the port selector disabled.
    void RunProcedure(const std::function<void()>& procedure);
    void BtnExploreProtoClick();
    void BtnLearnClick();
    void LearnSelectedButtonClick();
    platform::FileDialogs& FileDialogs();
    void EditIRdecodesettings1Click();
    void PreviewImagesClick();
    // Toolbar "Wizard" and menu "IR Wizard": the wizard, modally, on the window's model.
    void RunWizard();

    TMainWindowContext context_;
    std::unique_ptr<TWorkspace> workspace_;
    std::unique_ptr<TLearningProcedures> procedures_;
    std::unique_ptr<TProtocolColumn> column_;
    std::unique_ptr<TDirectoryImageList> imageList_;
    std::unique_ptr<platform::FileDialogs> ownFileDialogs_;
    std::unique_ptr<TDeviceFileSaver> saver_;
    TEditCommands* editCommands_ = nullptr;
    std::unique_ptr<TMainWizardHost> wizardHost_;

    bool connected_ = false;
    bool firstActivation_ = true;
    int firstVersion_ = 0;
    int secondVersion_ = 0;
    bool closed_ = false;
    TPortPermissionNotice permissionNotice_;

    // Controls.
    QWidget* noConnectPanel_ = nullptr;
    QLabel* disconnectedLabel_ = nullptr;
    QWidget* masterPanel_ = nullptr;
    TRemoteColumn* remoteColumn_ = nullptr;
    TProtocolColumnPanel* protocolColumn_ = nullptr;
    TButtonsColumn* buttonsColumn_ = nullptr;
    TReceiveProgressBar* progressBar_ = nullptr;
    TPortSelector* portSelector_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QAction* wizard_ = nullptr;
    QAction* explore_ = nullptr;
    QAction* previewImages_ = nullptr;
    QAction* save_ = nullptr;
    QAction* mnuWizard_ = nullptr;
    QAction* mnuLoadNames_ = nullptr;
    QAction* mnuSaveNames_ = nullptr;
    QMenu* optionsMenu_ = nullptr;
    QAction* advancedEdit_ = nullptr;
    QAction* decodingParameters_ = nullptr;
    TIR_Settings_form* settingsForm_ = nullptr;
    TfrmImagePreview* imagePreview_ = nullptr;
    QAction* captureViewAction_ = nullptr;
    QAction* mnuCaptureView_ = nullptr;
    TfrmCaptureView* captureView_ = nullptr;
    QWidget* virtualRemote_ = nullptr;
};

}  // namespace spectrel
