// Pictures of the help window on the contents, on a wizard page's topic and on the index.

#include "shell/ZELHelpWindow.h"
#include "tools/screenshots/Screenshots.h"

#include <QLineEdit>

namespace spectrel::screenshots {
namespace {

QString ShippedHelp() { return QStringLiteral(SPECTREL_SOURCE_DIR) + "/data/help"; }

}  // namespace

SPECTREL_SCREENSHOT("help_contents") {
    shell::TZELHelpWindow help(ShippedHelp());
    help.resize(900, 600);
    help.Open(shell::THelpCommand::Contents);
    return Grab(help);
}

SPECTREL_SCREENSHOT("help_wizard_learn_protocol") {
    shell::TZELHelpWindow help(ShippedHelp());
    help.resize(900, 600);
    help.Open(shell::THelpCommand::Context, 3300);
    return Grab(help);
}

SPECTREL_SCREENSHOT("help_index_messages") {
    shell::TZELHelpWindow help(ShippedHelp());
    help.resize(900, 600);
    help.Open(shell::THelpCommand::Index);
    auto* edit = help.findChild<QLineEdit*>("edtHelpIndex");
    edit->setText("error");
    Q_EMIT edit->returnPressed();
    return Grab(help);
}

}  // namespace spectrel::screenshots
