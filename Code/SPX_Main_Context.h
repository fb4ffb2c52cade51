#pragma once
// Everything the main window is given when it is made: the platform services, the per-user store, the
// application folder, the virtual reader and the start-up flags. The window reaches nothing else.

#include <QRect>
#include <functional>
#include <string>

#include "platform/Clock.h"
#include "platform/FileDialogs.h"
#include "platform/InputBox.h"
#include "platform/MessageBoxes.h"
#include "platform/SerialPort.h"
#include "platform/UserStore.h"
#include "shell/fMainFrame.h"

namespace spectrel {

namespace virtualboard {
class TVirtualReader;
}

struct TMainWindowContext {
    platform::SerialPortProvider& ports;  // the ports listed in `ComboxComPort` and opened by the reader link
    platform::Clock& clock;
    platform::MessagePump& pump;
    platform::MessageBoxes& boxes;
    platform::InputBox& inputBox;
    platform::UserStore& store;
    std::string applicationFolder;  // where "SPX.ini" and "ButtonImages" live, with its trailing separator
    std::string dumpFolder;         // where the diagnostic dumps go
    // The virtual reader behind the port "VIRTUAL": its "Virtual remote" panel shows while that port is in use.
    // May be null (no panel).
    virtualboard::TVirtualReader* virtualReader = nullptr;
    // The open-file and save-file dialogs; null: the window's own.
    platform::FileDialogs* fileDialogs = nullptr;
    // The first activation uses "VIRTUAL" when the settings file remembers no port.
    bool virtualIfNoPort = false;
    // For the frame window: the file version, the help, the screen area (see shell::TFrameEnvironment).
    std::string fileVersion{};
    std::function<void(shell::THelpCommand, int context)> openHelp{};
    std::function<QRect()> screenGeometry{};
};

}  // namespace spectrel
