// Spectrel: learns the infrared codes of remote controls through a reader board on a serial port.
//
//   spectrel                    the main window; it connects to the port remembered in SPX.ini
//   spectrel --version          prints "Spectrel" and the version
//   spectrel --detect           prints the reader status ("Reader 1.3" or "No Reader") and exits, 0 if detected
//   --port NAME                 with --detect: tries only this port (a listed name or a device path such as
//                               /dev/pts/3); the virtual reader board does not stand in for it
//   --no-virtual                with --detect: does not fall back to the virtual reader board
//   --virtual-if-no-port        the first activation uses the virtual reader ("VIRTUAL") when no port is remembered

#include <clocale>

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <memory>
#include <string>

#include "Code/SPX_Main.h"
#include "SpectrelVersion.h"
#include "app/ReaderStart.h"
#include "app/StartUp.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtInputBox.h"
#include "platform/qt/QtMessageBoxes.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/QtUserStore.h"
#include "shell/ZELHelpWindow.h"
#include "shell/ZELSplash.h"
#include "virtualboard/qt/VirtualReader.h"

namespace {

// Message boxes of the console mode: the text goes to standard error, the first button is the answer.
class ConsoleMessageBoxes : public spectrel::platform::MessageBoxes {
public:
    spectrel::platform::MessageButton show(spectrel::platform::MessageKind, const std::string& text,
                                           spectrel::platform::MessageButtons buttons, const std::string&) override {
        std::fprintf(stderr, "%s\n", spectrel::platform::qt::QtMessageBoxes::displayText(text).toLocal8Bit().data());
        for (unsigned bit = 1; bit != 0 && bit <= buttons.bits(); bit <<= 1)
            if (buttons.bits() & bit) return static_cast<spectrel::platform::MessageButton>(bit);
        return spectrel::platform::MessageButton::Ok;
    }
};

// Detection and the help text need no display.
bool WantsConsole(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--detect" || arg == "--help" || arg == "--help-all" || arg == "-h" || arg == "-?" ||
            arg == "--version" || arg == "-v")
            return true;
    }
    return false;
}

QString PortText(const spectrel::app::ReaderFound& found) {
    if (found.port.empty()) return QStringLiteral("No serial port");
    QString text = QStringLiteral("Port ") + QString::fromStdString(found.port);
    if (found.virtualBoard) text += QStringLiteral(" (virtual reader board)");
    if (!found.openError.empty()) text += QStringLiteral(": ") + QString::fromStdString(found.openError);
    if (!found.openAdvice.empty()) text += QStringLiteral("\n") + QString::fromStdString(found.openAdvice);
    return text;
}

}  // namespace

int main(int argc, char* argv[]) {
    // The console mode needs no display.
    std::unique_ptr<QCoreApplication> app = WantsConsole(argc, argv) ? std::make_unique<QCoreApplication>(argc, argv)
                                                                     : std::make_unique<QApplication>(argc, argv);
    // Qt takes the user's locale for the C library too; the settings file, the device file and the messages
    // write numbers with a '.', so the numeric conventions stay the C ones.
    std::setlocale(LC_NUMERIC, "C");
    QCoreApplication::setApplicationName("Spectrel");
    QCoreApplication::setApplicationVersion(QString::fromLatin1(spectrel::kProgramVersion));
    if (auto* windows = qobject_cast<QApplication*>(app.get())) windows->setWindowIcon(spectrel::shell::ProgramIcon());

    QCommandLineParser options;
    options.addHelpOption();
    options.addVersionOption();
    options.addOption(QCommandLineOption("no-splash", "Start without the splash picture (also /NOSPLASH)."));
    const QCommandLineOption detectOption("detect", "Print the reader status and exit (0 when a reader is found).");
    const QCommandLineOption portOption("port", "Try only this serial port (no virtual reader board then).", "name");
    const QCommandLineOption noVirtualOption("no-virtual", "Do not fall back to the virtual reader board.");
    const QCommandLineOption virtualIfNoPortOption(
        "virtual-if-no-port", "Use the virtual reader (port VIRTUAL) when no port is remembered yet.");
    options.addOptions({detectOption, portOption, noVirtualOption, virtualIfNoPortOption});
    options.process(*app);

    spectrel::platform::qt::QtSerialPortProvider serialPorts;
    spectrel::platform::qt::QtClock clock;
    spectrel::platform::qt::QtMessagePump pump;
    ConsoleMessageBoxes consoleBoxes;
    spectrel::platform::qt::QtMessageBoxes windowBoxes;
    spectrel::platform::MessageBoxes& boxes =
        options.isSet(detectOption) ? static_cast<spectrel::platform::MessageBoxes&>(consoleBoxes) : windowBoxes;

    if (options.isSet(detectOption)) {
        spectrel::app::ReaderStart start(serialPorts, clock, pump, boxes);
        // A port asked for by name gets an answer about that port, not about the virtual board.
        const bool allowVirtual = !options.isSet(noVirtualOption) && !options.isSet(portOption);
        const spectrel::app::ReaderFound found = start.find(options.value(portOption).toStdString(), allowVirtual);
        std::printf("%s\n", found.status.c_str());
        std::fprintf(stderr, "%s\n", PortText(found).toLocal8Bit().data());
        return found.detected ? 0 : 1;
    }
    // Before the window: only one instance runs (a second start brings the running window back and ends here),
    // the splash picture, and the application folder (startUp.folder.folder) that the window's files live in.
    spectrel::app::StartUp startUp = spectrel::app::BeginStart(app->arguments());
    if (startUp.endNow) return 0;

    QCoreApplication::setOrganizationName(spectrel::platform::qt::kOrganisationName);
    spectrel::virtualboard::TVirtualReader virtualReader(serialPorts, clock);
    spectrel::platform::qt::QtUserStore store;
    spectrel::platform::qt::QtInputBox inputBox;
    spectrel::TMainWindowContext context{virtualReader.Ports(), clock, pump, windowBoxes, inputBox, store,
                                         startUp.folder.folder, std::string()};
    context.virtualReader = &virtualReader;
    // The main window's first activation selects "VIRTUAL" when the settings remember no port.
    context.virtualIfNoPort = options.isSet(virtualIfNoPortOption);
    context.fileVersion = QCoreApplication::applicationVersion().toStdString();
    // The help pages shipped beside the program, shown in the help window.
    spectrel::shell::TZELHelpWindow help(
        spectrel::shell::TZELHelpWindow::FindHelpFolder(QCoreApplication::applicationDirPath()));
    context.openHelp = [&help](spectrel::shell::THelpCommand command, int helpContext) {
        help.Open(command, helpContext);
    };
    spectrel::TfrmMain window(context);
    windowBoxes.setParent(&window);
    inputBox.setParent(&window);
    window.show();
    if (qEnvironmentVariable("QT_QPA_PLATFORM") == "offscreen") return 0;
    return app->exec();
}
