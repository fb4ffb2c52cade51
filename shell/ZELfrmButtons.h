#pragma once
// TZELfrmButtons: the OK / Cancel / Help strip at the bottom right of an editing dialog. It sizes itself to its
// visible buttons; with key preview on, Enter anywhere in its window performs the OK action and Ctrl+Break the
// Cancel action, whether or not those buttons are enabled.

#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

class QPushButton;

namespace spectrel::shell {

enum TZELButton : unsigned { fbOK = 1u << 0, fbCANCEL = 1u << 1, fbHELP = 1u << 2 };
using TZELButtons = unsigned;  // a set of TZELButton

inline constexpr int kStripHeight = 25;
inline constexpr int kStripButtonWidth = 75;
inline constexpr int kStripButtonPitch = 79;

// Where the n-th visible button starts: visible buttons are placed 79 pixels apart from the left, in the order
// OK, Cancel, Help, skipping hidden ones. -1 for a hidden button.
int StripButtonLeft(TZELButtons visible, TZELButton button);
// The strip's width for its visible buttons.
int StripWidth(TZELButtons visible);

class TZELfrmButtons : public QWidget {
    Q_OBJECT
public:
    explicit TZELfrmButtons(QWidget* parent = nullptr);
    ~TZELfrmButtons() override;

    void SetVisibleButtons(TZELButtons buttons);
    TZELButtons VisibleButtons() const { return visible_; }
    void SetEnabledButtons(TZELButtons buttons);
    TZELButtons EnabledButtons() const { return enabled_; }
    // Adds the button to the enabled set or takes it out.
    void SetButtonEnabled(TZELButton button, bool enabled);

    // The hints of OK, Cancel and Help, in that order ("short|long" each).
    void SetHints(const QStringList& hints);

    // Click handlers; without one OK accepts the window, Cancel rejects it and Help opens the help at the
    // window's help context (the property "helpContext"), or the help contents when it has none.
    void SetOnOK(std::function<void()> handler) { onOK_ = std::move(handler); }
    void SetOnCancel(std::function<void()> handler) { onCancel_ = std::move(handler); }
    void SetOnHelp(std::function<void()> handler) { onHelp_ = std::move(handler); }
    // How the strip opens the help: a context number, 0 for the contents.
    void SetHelpOpener(std::function<void(int context)> opener) { helpOpener_ = std::move(opener); }

    void SetKeyPreview(bool on) { keyPreview_ = on; }
    bool KeyPreview() const { return keyPreview_; }

    QPushButton* OKButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }
    QPushButton* HelpButton() const { return help_; }

    // The actions behind the buttons.
    void PerformOK();
    void PerformCancel();
    void PerformHelp();

    QSize sizeHint() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Arrange();

    QPushButton* ok_;
    QPushButton* cancel_;
    QPushButton* help_;
    TZELButtons visible_ = fbOK | fbCANCEL | fbHELP;
    TZELButtons enabled_ = fbOK | fbCANCEL | fbHELP;
    bool keyPreview_ = true;
    std::function<void()> onOK_;
    std::function<void()> onCancel_;
    std::function<void()> onHelp_;
    std::function<void(int)> helpOpener_;
};

}  // namespace spectrel::shell
