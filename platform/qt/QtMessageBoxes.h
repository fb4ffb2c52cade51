#pragma once
// Modal message boxes with QMessageBox.

#include <QString>

#include "platform/MessageBoxes.h"

class QWidget;

namespace spectrel::platform::qt {

class QtMessageBoxes : public MessageBoxes {
public:
    explicit QtMessageBoxes(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    MessageButton show(MessageKind kind, const std::string& text, MessageButtons buttons,
                       const std::string& caption = {}) override;

    // The messages break their lines with "\r" (or "\r\n"); a QMessageBox wants "\n".
    static QString displayText(const std::string& text);

private:
    QWidget* parent_;
};

}  // namespace spectrel::platform::qt
