// The working model of one run of the main window.

#include "Code/SPX_Workspace.h"

#include "Code/SPX_IniFile.h"

namespace spectrel {

TWorkspace::TWorkspace(TWorkspaceServices services)
    : context(services.boxes, services.clock, services.pump),
      reader(services.ports, services.clock, services.pump, services.boxes),
      services_(std::move(services)) {}

TWorkspace::~TWorkspace() { context.dumps = nullptr; }

void TWorkspace::CreateOptions() { options_ = CreateAdvancedOptions(services_.store); }

TDataResult TWorkspace::ReadSettings() {
    ClearDescriptor(current);
    const TDataResult result = ReadSettingsAtStartup(SettingsPath(), templates, settings, rules, standards);
    portRemembered_ = !TIniFile(SettingsPath()).ReadString(kSetupSection, kSerialKey, "").empty();
    context.readerDelay = settings.setup.delay;
    dumps_ = std::make_unique<TDumpFiles>(services_.dumpFolder, settings.setup.debug, &services_.boxes);
    context.dumps = settings.setup.debug ? dumps_.get() : nullptr;
    return result;
}

TIniResult TWorkspace::WriteSettingsAtClose(bool connected) {
    TCloseSettings close;
    close.readerConnected = connected;
    close.portInUse = reader.ReaderPortName();
    close.delay = context.readerDelay;
    return spectrel::WriteSettingsAtClose(options_, SettingsPath(), templates, close);
}

}  // namespace spectrel
