#pragma once
// The main window as the IR wizard sees it: the device and remote fields of the Remote column, the protocol
// description, the templates, the learning procedures (with the wizard's own progress bars and lists), the
// button and protocol editors, the save command and the help. Every operation works on the main window's model,
// so what the wizard does is in the main window when it closes.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Code/SPX_Data.h"
#include "Code/SPX_WizardFlow.h"
#include "Code/SPX_processing_learning.h"

namespace spectrel {

class TfrmMain;

class TMainWizardHost : public TWizardHost {
public:
    explicit TMainWizardHost(TfrmMain& window);
    ~TMainWizardHost() override;

    TWizardDetails MainDetails() const override;
    void SetMainRemoteBrand(const std::string& text) override;
    void SetMainRemoteModel(const std::string& text) override;
    void SetMainDeviceTypeIndex(int index) override;
    void MainDeviceTypeChange() override;
    void SetMainDeviceType(const std::string& text) override;
    void SetMainDeviceBrand(const std::string& text) override;
    void SetMainDeviceModel(const std::string& text) override;
    void SetMainNotes(const std::string& text) override;

    std::vector<std::string> MainProtocolDescription() const override;
    void DescribeProtocol(TColouredList& list) override;
    void DescribeMainProtocol() override;

    std::vector<TWizardTemplateEntry> TemplateMenu() const override;
    void RunTemplateEntry(int index) override;

    void LearnProtocol(TCaptureProgressBar* progressBar, TColouredList& results) override;
    bool LearnButton(const std::string& name, bool& cancelled, TCaptureProgressBar* progressBar, std::string& code,
                     std::string& secondCode) override;
    void LearnAllButtons(TCaptureProgressBar* progressBar) override;

    void AddButton() override;
    bool EditButton(TButtonCode& button) override;
    bool EditProtocol() override;
    // The main window's own "Save" command: its checks, questions, save dialog, backups and messages.
    void SaveDeviceFile() override;
    // The file name the main window's save dialog holds.
    std::string SaveFileName() const override;

    void RefreshButtonGrid() override;
    void UpdateCommandStates(bool idle) override;
    void OpenHelp(int context) override;

private:
    class ProceduresWindow;
    // Runs `learn` on procedures whose receive progress bar is `progressBar`, with the port selector at rest.
    void Learn(TCaptureProgressBar* progressBar, const std::function<void(TLearningProcedures&)>& learn);

    TfrmMain& window_;
    std::unique_ptr<ProceduresWindow> proceduresWindow_;
};

}  // namespace spectrel
