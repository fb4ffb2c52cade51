#include "platform/qt/QtMessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

namespace spectrel::platform::qt {

namespace {

struct ButtonMapping {
    MessageButton ours;
    QMessageBox::StandardButton qt;
};

constexpr ButtonMapping kButtons[] = {
    {MessageButton::Ok, QMessageBox::Ok},         {MessageButton::Cancel, QMessageBox::Cancel},
    {MessageButton::Yes, QMessageBox::Yes},       {MessageButton::No, QMessageBox::No},
    {MessageButton::Abort, QMessageBox::Abort},   {MessageButton::Retry, QMessageBox::Retry},
    {MessageButton::Ignore, QMessageBox::Ignore},
};

QMessageBox::Icon IconOf(MessageKind kind) {
    switch (kind) {
        case MessageKind::Error:
            return QMessageBox::Critical;
        case MessageKind::Warning:
            return QMessageBox::Warning;
        case MessageKind::Information:
            return QMessageBox::Information;
        case MessageKind::Confirmation:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

QString QtMessageBoxes::displayText(const std::string& text) {
    QString shown = QString::fromStdString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

MessageButton QtMessageBoxes::show(MessageKind kind, const std::string& text, MessageButtons buttons,
                                   const std::string& caption) {
    if (buttons == MessageButtons{}) buttons = MessageButton::Ok;
    // A box asked for while a modal window runs (the wizard, a dialog) goes above that window.
    QWidget* parent = QApplication::activeModalWidget();
    if (parent == nullptr) parent = parent_;
    QMessageBox box(IconOf(kind),
                    caption.empty() ? QCoreApplication::applicationName() : QString::fromStdString(caption),
                    displayText(text), QMessageBox::NoButton, parent);
    MessageButton first = MessageButton::None;
    for (const ButtonMapping& b : kButtons) {
        if (!buttons.has(b.ours)) continue;
        box.addButton(b.qt);
        if (first == MessageButton::None) first = b.ours;
    }
    const auto pressed = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const ButtonMapping& b : kButtons) {
        if (b.qt == pressed && buttons.has(b.ours)) return b.ours;
    }
    // Closed without a button (Escape, the window's close box): the escape button if there is one.
    if (buttons.has(MessageButton::Cancel)) return MessageButton::Cancel;
    if (buttons.has(MessageButton::No)) return MessageButton::No;
    if (buttons.has(MessageButton::Abort)) return MessageButton::Abort;
    return first;
}

}  // namespace spectrel::platform::qt
