#pragma once
// The main window as the wizard sees it, built from the core pieces: the virtual reader board in-process on a
// simulated clock, the learning procedures, the templates, the current protocol and the button list, with a
// record of every main-window operation the wizard asked for. Message boxes answer from a script.
//
// Used by the wizard's core tests, its window tests and the screenshot tool; it links no test framework.

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "Code/SPX_ComPortUnit.h"
#include "Code/SPX_Data.h"
#include "Code/SPX_Data_ButtonCodes.h"
#include "Code/SPX_Files.h"
#include "Code/SPX_ProtocolDescription.h"
#include "Code/SPX_WizardFlow.h"
#include "Code/SPX_processing.h"
#include "Code/SPX_processing_learning.h"
#include "Code/SPX_replace.h"
#include "Code/uKOR_ButtonTemplates.h"
#include "Code/uKOR_SpectrelIni.h"
#include "InfoBus/Code/KOR_TSubscriber.h"
#include "testing/MemoryUserStore.h"
#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"
#include "virtualboard/BoardEngine.h"
#include "virtualboard/Generators.h"
#include "virtualboard/VirtualSerialPort.h"

namespace spectrel::test {

// The template menu of the main window: the template commands, then the window's own three (tag 99).
class MenuDouble : public TTemplateMenu {
public:
    struct Command {
        std::string caption;
        int tag = 0;
        std::function<void()> action;
    };
    int CommandCount() const override { return static_cast<int>(commands.size()); }
    int CommandTag(int index) const override { return commands.at(static_cast<std::size_t>(index)).tag; }
    void DeleteCommand(int index) override { commands.erase(commands.begin() + index); }
    void InsertCommand(int index, const std::string& caption, int tag, std::function<void()> action) override {
        commands.insert(commands.begin() + index, Command{caption, tag, std::move(action)});
    }
    std::vector<Command> commands{{"-", kKeepMenuCommandTag, nullptr},
                                  {"&Save", kKeepMenuCommandTag, [] {}},
                                  {"Delete all Buttons", kKeepMenuCommandTag, [] {}}};
};

// The learning procedures' window: the receive progress bar is whatever the wizard hands in.
class ProceduresWindow : public TLearningWindow {
public:
    void UpdateCommandStates(bool idle) override { (void)idle; }
    TCaptureProgressBar* ReceiveProgressBar() override { return receiveBar; }
    TColouredList* ProtocolList() override { return protocolList; }
    TCaptureProgressBar* receiveBar = nullptr;
    TColouredList* protocolList = nullptr;
};

class WizardHostDouble : public TWizardHost {
public:
    // `standardsFile` is a settings file whose "Protocols Section" fills the standard table (empty: none).
    explicit WizardHostDouble(const std::string& standardsFile = {}, const std::string& applicationFolder = {})
        : applicationFolder(applicationFolder) {
        link.SetReaderPortName(virtualboard::kVirtualPortName);
        for (TRec& rule : DefaultAutomaticRules()) rules.Add(rule);
        if (!standardsFile.empty()) LoadStandardProtocols(standards, standardsFile);
        settings.MatchToStandardProtocol = false;
        procedures.options = LearningOptionsFrom(settings);
        window.protocolList = &mainList;
        templates.SetDefaultTemplates();
        templates.SetButtonList(&buttons);
        templates.BindMenu(&menu);
        details.deviceType = {{"DVD", "Other", "TV", "VCR"}, -1, ""};
        details.deviceBrand = {WizardBrandList(applicationFolder, ""), -1, ""};
        details.remoteBrand = details.deviceBrand;
        WriteProtocolDescription(mainList, current);
    }

    TWizardModel Model() {
        return {current, standards, context.working, buttons, rules, settings, boxes, applicationFolder};
    }

    // One key pressed twice and another once (NEC by default).
    void QueueProtocolPresses(std::uint8_t key = 0x45, std::uint8_t other = 0x46) {
        Press(virtualboard::necSignal(0, key));
        Press(virtualboard::necSignal(0, key));
        Press(virtualboard::necSignal(0, other));
    }
    void Press(const virtualboard::IrSignal& signal, double holdUs = 250'000) { board.queuePress({signal, holdUs}); }
    // A learned NEC protocol, as the main window's Learn would leave it, and the boxes' record cleared.
    void LearnNecProtocol() {
        QueueProtocolPresses();
        TTextLines lines;
        procedures.LearnProtocol(nullptr, &lines, &lines);
        boxes.clear();
        calls.clear();
    }
    void AddButtons(const std::vector<std::string>& names) {
        for (const std::string& name : names) buttons.Add(name);
    }

    // --- TWizardHost
    TWizardDetails MainDetails() const override {
        Note("MainDetails");
        return details;
    }
    void SetMainRemoteBrand(const std::string& text) override {
        Note("RemoteBrand=" + text);
        details.remoteBrand.text = text;
    }
    void SetMainRemoteModel(const std::string& text) override {
        Note("RemoteModel=" + text);
        details.remoteModel = text;
    }
    void SetMainDeviceTypeIndex(int index) override {
        Note("DeviceTypeIndex=" + std::to_string(index));
        details.deviceType.index = index;
    }
    void MainDeviceTypeChange() override { Note("DeviceTypeChange"); }
    void SetMainDeviceType(const std::string& text) override {
        Note("DeviceType=" + text);
        details.deviceType.text = text;
    }
    void SetMainDeviceBrand(const std::string& text) override {
        Note("DeviceBrand=" + text);
        details.deviceBrand.text = text;
    }
    void SetMainDeviceModel(const std::string& text) override {
        Note("DeviceModel=" + text);
        details.deviceModel = text;
    }
    void SetMainNotes(const std::string& text) override {
        Note("Notes=" + text);
        details.notes = text;
    }

    std::vector<std::string> MainProtocolDescription() const override { return mainList.Lines(); }
    void DescribeProtocol(TColouredList& list) override {
        Note("DescribeProtocol");
        procedures.DescribeProtocol(&list);
    }
    void DescribeMainProtocol() override {
        Note("DescribeMainProtocol");
        procedures.DescribeProtocol(&mainList);
    }

    std::vector<TWizardTemplateEntry> TemplateMenu() const override {
        std::vector<TWizardTemplateEntry> entries;
        for (const MenuDouble::Command& command : menu.commands)
            entries.push_back({command.caption, command.tag, static_cast<bool>(command.action)});
        return entries;
    }
    void RunTemplateEntry(int index) override {
        Note("RunTemplateEntry=" + menu.commands.at(static_cast<std::size_t>(index)).caption);
        if (auto& action = menu.commands.at(static_cast<std::size_t>(index)).action) action();
    }

    void LearnProtocol(TCaptureProgressBar* progressBar, TColouredList& results) override {
        Note("LearnProtocol");
        if (onLearnProtocol) onLearnProtocol();
        procedures.LearnProtocol(progressBar, &results, &results);
    }
    bool LearnButton(const std::string& name, bool& cancelled, TCaptureProgressBar* progressBar, std::string& code,
                     std::string& secondCode) override {
        Note("LearnButton=" + name);
        return procedures.LearnButton(name, cancelled, progressBar, code, secondCode);
    }
    void LearnAllButtons(TCaptureProgressBar* progressBar) override {
        Note("LearnAllButtons");
        window.receiveBar = progressBar;
        procedures.LearnAllButtons();
        window.receiveBar = nullptr;
    }

    // The Edit Button dialog: the next planned edit runs (none: the dialog is cancelled).
    void AddButton() override {
        Note("AddButton");
        auto button = std::make_unique<TButtonCode>(buttons.Bus());
        button->SetName("New Button");
        if (RunEdit(*button)) buttons.AddButton(std::move(button));
    }
    bool EditButton(TButtonCode& button) override {
        Note("EditButton=" + button.Name());
        return RunEdit(button);
    }
    bool EditProtocol() override {
        Note("EditProtocol");
        return protocolEdit ? protocolEdit(current) : false;
    }
    // The save command: the device header from the main window's details, written to the planned file name.
    void SaveDeviceFile() override {
        Note("SaveDeviceFile");
        if (plannedSaveName.empty()) return;
        saveFileName = plannedSaveName;
        TIRheader header;
        header.protocol_name = current.name;
        header.remote_brand = details.remoteBrand.text;
        header.remote_model = details.remoteModel;
        header.device_type = details.deviceType.text;
        header.device_brand = details.deviceBrand.text;
        header.device_model = details.deviceModel;
        TDeviceFileEnvironment environment{boxes, [] { return std::string("01.01.2024 12:00:00"); }, true};
        saveResult = WriteDeviceFile(environment, header, buttons, current, saveFileName, settings.AttachProtocol);
    }
    std::string SaveFileName() const override { return saveFileName; }
    void RefreshButtonGrid() override { Note("RefreshButtonGrid"); }
    void UpdateCommandStates(bool idle) override {
        Note(idle ? "UpdateCommandStates(true)" : "UpdateCommandStates(false)");
    }
    void OpenHelp(int context) override { Note("OpenHelp=" + std::to_string(context)); }

    // Every call that changes the main window, in order.
    mutable std::vector<std::string> calls;
    // The edits the Edit Button dialog makes, one per opening; it returns whether it was saved.
    std::deque<std::function<bool(TButtonCode&)>> plannedEdits;
    std::function<bool(Tprotocol_descriptor&)> protocolEdit;
    std::function<void()> onLearnProtocol;
    std::string plannedSaveName;
    std::string saveFileName;
    TFileResult saveResult;
    TWizardDetails details;

    testing::SimulatedClock clock;
    virtualboard::BoardEngine board;
    virtualboard::VirtualSerialPortProvider ports{board, [this] { return static_cast<double>(clock.nowUs()); }};
    testing::ScriptedMessageBoxes boxes;
    TReaderLink link{ports, clock, clock, boxes};
    TAnalysisContext context{boxes, clock, clock};
    Tprotocol_descriptor current;
    Tprotocol_descriptor learned;
    Tstandard_protocols standards;
    TInfoBus bus;
    TbuttonCodes buttons{bus};
    TbuttonCodes explore{bus};
    TReplaceRule rules;
    testing::MemoryUserStore store;
    TSpectrelIniObject settings{store, SpectrelKeyPath()};
    TButtonTemplates templates;
    MenuDouble menu;
    TTextLines mainList;
    std::string applicationFolder;
    ProceduresWindow window;
    TLearningProcedures procedures{{context, link, boxes, current, learned, standards, buttons, explore, rules},
                                   window};

private:
    void Note(const std::string& call) const { calls.push_back(call); }
    bool RunEdit(TButtonCode& button) {
        if (plannedEdits.empty()) return false;
        auto edit = std::move(plannedEdits.front());
        plannedEdits.pop_front();
        return edit(button);
    }
};

}  // namespace spectrel::test
