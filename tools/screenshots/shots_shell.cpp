// Pictures of the application shell: the bare frame window, the splash picture, the caption bar and the
// OK / Cancel / Help strip.

#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QSplashScreen>
#include <QStatusBar>
#include <QVBoxLayout>
#include <memory>

#include "shell/KOR_Header.h"
#include "shell/ZELSplash.h"
#include "shell/ZELfrmButtons.h"
#include "shell/fMainFrame.h"
#include "testing/MemoryUserStore.h"
#include "testing/ScriptedMessageBoxes.h"
#include "tools/screenshots/Screenshots.h"

namespace {

using namespace spectrel;

SPECTREL_SCREENSHOT("shell_frame") {
    testing::MemoryUserStore store;
    testing::ScriptedMessageBoxes boxes{testing::ScriptedMessageBoxes::Unscripted::Accept};
    shell::TFrameEnvironment environment(store, boxes);
    environment.fileVersion = "0.1";
    // A small screen, so that the first-start placement gives a picture of a readable size.
    environment.screenGeometry = [] { return QRect(0, 0, 820, 580); };
    auto frame = std::make_unique<shell::TfrmZELFrame>(environment, QStringLiteral("frmMain"));
    auto* central = new QLabel(QStringLiteral("(the derived window's work area)"));
    central->setAlignment(Qt::AlignCenter);
    frame->setCentralWidget(central);
    frame->FormCreate();
    frame->SetStatusPanelCount(3);
    frame->SetStatusPanelText(0, QStringLiteral("Reader 1.3"));
    frame->SetStatusPanelText(1, QStringLiteral("Modified"));
    frame->SetHint(central, QStringLiteral("Work area|The long hint of the control under the mouse"));
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(central, &enter);
    return spectrel::screenshots::Grab(*frame);
}

SPECTREL_SCREENSHOT("shell_frame_file_menu") {
    testing::MemoryUserStore store;
    testing::ScriptedMessageBoxes boxes{testing::ScriptedMessageBoxes::Unscripted::Accept};
    shell::TFrameEnvironment environment(store, boxes);
    environment.fileVersion = "0.1";
    auto frame = std::make_unique<shell::TfrmZELFrame>(environment, QStringLiteral("frmMain"));
    frame->FormCreate();
    frame->FileMenu()->adjustSize();
    return spectrel::screenshots::Grab(*frame->FileMenu());
}

SPECTREL_SCREENSHOT("shell_frame_help_menu") {
    testing::MemoryUserStore store;
    testing::ScriptedMessageBoxes boxes{testing::ScriptedMessageBoxes::Unscripted::Accept};
    shell::TFrameEnvironment environment(store, boxes);
    environment.fileVersion = "0.1";
    auto frame = std::make_unique<shell::TfrmZELFrame>(environment, QStringLiteral("frmMain"));
    frame->SetWhatsNewText({QStringLiteral("- Bug fixes")});
    frame->FormCreate();
    frame->HelpMenu()->adjustSize();
    return spectrel::screenshots::Grab(*frame->HelpMenu());
}

SPECTREL_SCREENSHOT("shell_splash") {
    auto splash = std::make_unique<QSplashScreen>(shell::SplashPicture(QStringLiteral("0.1")));
    return spectrel::screenshots::Grab(*splash);
}

// The program's icon as the desktop shows it, large and at menu size, on a light and a dark panel.
SPECTREL_SCREENSHOT("shell_program_icon") {
    QImage picture(448, 272, QImage::Format_ARGB32);
    picture.fill(QColor(240, 240, 240));
    QPainter painter(&picture);
    painter.fillRect(QRect(224, 0, 224, 272), QColor(40, 40, 48));
    const QIcon icon = shell::ProgramIcon();
    for (const int x : {0, 224}) {
        painter.drawPixmap(x + 16, 16, icon.pixmap(192, 192));
        painter.drawPixmap(x + 16, 224, icon.pixmap(32, 32));
        painter.drawPixmap(x + 64, 232, icon.pixmap(16, 16));
        painter.drawPixmap(x + 96, 224, icon.pixmap(48, 48).scaled(32, 32));
    }
    painter.end();
    return picture;
}

SPECTREL_SCREENSHOT("shell_header_and_buttons") {
    auto dialog = std::make_unique<QDialog>();
    dialog->setWindowTitle(QStringLiteral("Spectrel"));
    auto* layout = new QVBoxLayout(dialog.get());
    layout->addWidget(new shell::TKOR_Header(QStringLiteral("IR Protocol")));
    layout->addWidget(new QLabel(QStringLiteral("A caption bar above a column, and the button strip below.")), 1);
    auto* strip = new shell::TZELfrmButtons;
    strip->SetButtonEnabled(shell::fbHELP, false);
    layout->addWidget(strip, 0, Qt::AlignRight | Qt::AlignBottom);
    dialog->resize(420, 160);
    return spectrel::screenshots::Grab(*dialog);
}

}  // namespace
