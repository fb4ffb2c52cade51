#pragma once
// TZELStatusBarHint: shows the long hint of the control or menu item under the mouse in a window's status bar:
// in its last panel (right-aligned, blue) when it has panels, as the bar's own message otherwise.

#include <QObject>
#include <QString>

class QLabel;
class QStatusBar;

namespace spectrel::shell {

class TZELStatusBarHint : public QObject {
    Q_OBJECT
public:
    explicit TZELStatusBarHint(QStatusBar& bar, QObject* parent = nullptr);

    // The panel that shows the hints; none: the bar's message.
    void SetHintPanel(QLabel* panel);
    // Shows the long part of a hint.
    void ShowHint(const QString& hint);
    void SetEnabled(bool on) { enabled_ = on; }
    bool Enabled() const { return enabled_; }

private:
    QStatusBar& bar_;
    QLabel* panel_ = nullptr;
    bool enabled_ = true;
};

}  // namespace spectrel::shell
