#include "platform/qt/QtInputBox.h"

#include <QInputDialog>
#include <QLineEdit>

namespace spectrel::platform::qt {

std::optional<std::string> QtInputBox::ask(const std::string& title, const std::string& prompt,
                                           const std::string& initial) {
    bool ok = false;
    const QString text = QInputDialog::getText(parent_, QString::fromStdString(title), QString::fromStdString(prompt),
                                               QLineEdit::Normal, QString::fromStdString(initial), &ok);
    if (!ok) return std::nullopt;
    return text.toStdString();
}

}  // namespace spectrel::platform::qt
