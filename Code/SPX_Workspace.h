#pragma once
// The working model of one run of the main window: the button and explore lists, the templates, the advanced
// options, the substitution rules, the settings of "SPX.ini", the standard table, the current protocol with its
// learned copy, the analysis context and the reader link. The window creates one, reads the settings into it at
// start-up and writes them back when it closes; tests make one on doubles.

#include <memory>
#include <string>

#include "Code/SPX_AppSettings.h"
#include "Code/SPX_ComPortUnit.h"
#include "Code/SPX_Data.h"
#include "Code/SPX_Data_ButtonCodes.h"
#include "Code/SPX_Files_dumps.h"
#include "Code/SPX_processing.h"
#include "Code/SPX_replace.h"
#include "Code/uKOR_ButtonTemplates.h"
#include "Code/uKOR_SpectrelIni.h"
#include "InfoBus/Code/KOR_TSubscriber.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "platform/SerialPort.h"
#include "platform/UserStore.h"

namespace spectrel {

struct TWorkspaceServices {
    platform::SerialPortProvider& ports;  // the ports listed and opened (the real ones and "VIRTUAL")
    platform::Clock& clock;
    platform::MessagePump& pump;
    platform::MessageBoxes& boxes;
    platform::UserStore& store;
    std::string applicationFolder;  // with its trailing separator
    std::string dumpFolder;         // where the diagnostic dumps go while "Debug" is on
};

class TWorkspace {
public:
    explicit TWorkspace(TWorkspaceServices services);
    ~TWorkspace();
    TWorkspace(const TWorkspace&) = delete;
    TWorkspace& operator=(const TWorkspace&) = delete;

    const TWorkspaceServices& Services() const { return services_; }
    std::string SettingsPath() const { return SettingsFilePath(services_.applicationFolder); }

    // Creates the advanced options on the application's key (which reads them).
    void CreateOptions();
    TSpectrelIniObject& Options() { return *options_; }
    const TSpectrelIniObject& Options() const { return *options_; }
    bool HasOptions() const { return options_ != nullptr; }

    // Reads "SPX.ini": templates, palette, "Setup", device types, rules and the standard table (written back
    // at once). The reader delay goes to the analysis; "Debug" switches the dumps on. A failure is returned.
    TDataResult ReadSettings();
    // The settings file remembers a port ("Setup" "Serial" has a value).
    bool PortRemembered() const { return portRemembered_; }

    // Releases the options (which writes them) and writes the templates, the port in use (only while
    // `connected`) and the reader delay to "SPX.ini". Returns the first failure.
    TIniResult WriteSettingsAtClose(bool connected);

    TInfoBus bus;
    TbuttonCodes buttons{bus};
    TbuttonCodes exploreList{bus};
    TButtonTemplates templates;
    TReplaceRule rules;
    TAppSettings settings;
    Tstandard_protocols standards;
    Tprotocol_descriptor current;
    Tprotocol_descriptor learnedCopy;
    TAnalysisContext context;
    TReaderLink reader;

private:
    TWorkspaceServices services_;
    std::unique_ptr<TSpectrelIniObject> options_;
    std::unique_ptr<TDumpFiles> dumps_;
    bool portRemembered_ = false;
};

}  // namespace spectrel
