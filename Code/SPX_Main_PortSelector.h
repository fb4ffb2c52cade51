#pragma once
// The port selector of the main window's toolbar (`ComboxComPort`): picking an entry connects, and the list is
// refreshed each time it drops down, which itself never connects.

#include <QComboBox>

namespace spectrel {

class TPortSelector : public QComboBox {
    Q_OBJECT
public:
    explicit TPortSelector(QWidget* parent = nullptr);
    void showPopup() override;

signals:
    // The list is about to drop down.
    void dropDown();
};

}  // namespace spectrel
