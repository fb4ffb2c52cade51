#pragma once
// What happens before the main window is created: the single-instance rule (a second start brings the running
// window back and ends), the one-second splash picture (not with "/NOSPLASH" or "--no-splash") and the choice
// of the application folder.

#include <QSplashScreen>
#include <QStringList>
#include <memory>

#include "Code/SPX_ApplicationFolder.h"
#include "shell/ZELSingleInstance.h"

namespace spectrel::app {

struct StartUp {
    std::unique_ptr<shell::TZELSingleInstance> instance;  // holds the marker until the program ends
    std::unique_ptr<QSplashScreen> splash;
    TApplicationFolder folder;  // where SPX.ini, the brand lists, the templates and the button images live
    bool endNow = false;        // another instance runs and showed its window
};

StartUp BeginStart(const QStringList& arguments);

}  // namespace spectrel::app
