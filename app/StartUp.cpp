#include "app/StartUp.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <cstdio>
#include <string>
#include <vector>

#include "SpectrelVersion.h"
#include "shell/core/StartOptions.h"
#include "shell/ZELSplash.h"

namespace spectrel::app {

namespace {
constexpr const char* kMainWindowTitle = "Spectrel";
}

StartUp BeginStart(const QStringList& arguments) {
    StartUp start;
    start.instance = std::make_unique<shell::TZELSingleInstance>(QString::fromLatin1(shell::kRunningMarkerName),
                                                                 shell::TZELSingleInstance::DefaultFolder());
    if (start.instance->Start() == shell::TZELSingleInstance::TStart::OtherShown) {
        start.endNow = true;
        return start;
    }
    start.instance->SetShowWindow([] { return shell::TZELSingleInstance::ShowMainWindow(kMainWindowTitle); });

    std::vector<std::string> words;
    for (const QString& argument : arguments) words.push_back(argument.toStdString());
    if (shell::SplashWanted(words)) start.splash = shell::ShowSplash(QCoreApplication::applicationVersion());

    // The per-user data folder is named after the organisation and the program.
    QCoreApplication::setOrganizationName(QStringLiteral("Halvren Didaziravu Systems"));
    const QString perUser = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    // A build tree or a portable copy keeps its data beside the program; an installed one in share/spectrel.
    start.folder = ChooseProgramFolder(QCoreApplication::applicationDirPath().toStdString(), perUser.toStdString(),
                                       kInstalledDataFromExecutables);
    for (const std::string& error : start.folder.errors)
        std::fprintf(stderr, "spectrel: cannot prepare the application folder: %s\n", error.c_str());
    return start;
}

}  // namespace spectrel::app
