#pragma once
// The input box with QInputDialog.

#include "platform/InputBox.h"

class QWidget;

namespace spectrel::platform::qt {

class QtInputBox : public InputBox {
public:
    explicit QtInputBox(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    std::optional<std::string> ask(const std::string& title, const std::string& prompt,
                                   const std::string& initial) override;

private:
    QWidget* parent_;
};

}  // namespace spectrel::platform::qt
