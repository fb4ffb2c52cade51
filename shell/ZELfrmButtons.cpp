#include "shell/ZELfrmButtons.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>

namespace spectrel::shell {

namespace {

constexpr TZELButton kOrder[] = {fbOK, fbCANCEL, fbHELP};

}  // namespace

int StripButtonLeft(TZELButtons visible, TZELButton button) {
    if ((visible & button) == 0) return -1;
    int left = 0;
    for (TZELButton each : kOrder) {
        if (each == button) return left;
        if (visible & each) left += kStripButtonPitch;
    }
    return -1;
}

int StripWidth(TZELButtons visible) {
    int count = 0;
    for (TZELButton each : kOrder)
        if (visible & each) ++count;
    return count == 0 ? 0 : (count - 1) * kStripButtonPitch + kStripButtonWidth;
}

TZELfrmButtons::TZELfrmButtons(QWidget* parent)
    : QWidget(parent),
      ok_(new QPushButton(QStringLiteral("OK"), this)),
      cancel_(new QPushButton(QStringLiteral("Cancel"), this)),
      help_(new QPushButton(QStringLiteral("Help"), this)) {
    setObjectName(QStringLiteral("ZELfrmButtons"));
    ok_->setObjectName(QStringLiteral("btnOK"));
    cancel_->setObjectName(QStringLiteral("btnCancel"));
    help_->setObjectName(QStringLiteral("btnHelp"));
    ok_->setDefault(true);
    ok_->setAutoDefault(true);
    for (QPushButton* button : {ok_, cancel_, help_}) button->setFixedSize(kStripButtonWidth, kStripHeight);
    connect(ok_, &QPushButton::clicked, this, &TZELfrmButtons::PerformOK);
    connect(cancel_, &QPushButton::clicked, this, &TZELfrmButtons::PerformCancel);
    connect(help_, &QPushButton::clicked, this, &TZELfrmButtons::PerformHelp);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    Arrange();
    qApp->installEventFilter(this);
}

TZELfrmButtons::~TZELfrmButtons() { qApp->removeEventFilter(this); }

void TZELfrmButtons::SetVisibleButtons(TZELButtons buttons) {
    visible_ = buttons;
    Arrange();
}

void TZELfrmButtons::SetEnabledButtons(TZELButtons buttons) {
    enabled_ = buttons;
    Arrange();
}

void TZELfrmButtons::SetButtonEnabled(TZELButton button, bool enabled) {
    SetEnabledButtons(enabled ? (enabled_ | button) : (enabled_ & ~static_cast<TZELButtons>(button)));
}

void TZELfrmButtons::SetHints(const QStringList& hints) {
    QPushButton* buttons[] = {ok_, cancel_, help_};
    for (int i = 0; i < 3; ++i) {
        const QString hint = i < hints.size() ? hints[i] : QString();
        const int bar = hint.indexOf(QLatin1Char('|'));
        buttons[i]->setToolTip(bar < 0 ? hint : hint.left(bar));
        buttons[i]->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
    }
}

void TZELfrmButtons::Arrange() {
    QPushButton* buttons[] = {ok_, cancel_, help_};
    for (int i = 0; i < 3; ++i) {
        const TZELButton which = kOrder[i];
        const int left = StripButtonLeft(visible_, which);
        buttons[i]->setVisible(left >= 0);
        buttons[i]->setEnabled((enabled_ & which) != 0);
        if (left >= 0) buttons[i]->move(left, 0);
    }
    setFixedSize(StripWidth(visible_), kStripHeight);
}

QSize TZELfrmButtons::sizeHint() const { return {StripWidth(visible_), kStripHeight}; }

void TZELfrmButtons::PerformOK() {
    if (onOK_) {
        onOK_();
        return;
    }
    if (auto* dialog = qobject_cast<QDialog*>(window())) {
        dialog->accept();
        return;
    }
    window()->close();
}

void TZELfrmButtons::PerformCancel() {
    if (onCancel_) {
        onCancel_();
        return;
    }
    if (auto* dialog = qobject_cast<QDialog*>(window())) {
        dialog->reject();
        return;
    }
    window()->close();
}

void TZELfrmButtons::PerformHelp() {
    if (onHelp_) {
        onHelp_();
        return;
    }
    if (helpOpener_) helpOpener_(window()->property("helpContext").toInt());
}

bool TZELfrmButtons::eventFilter(QObject* watched, QEvent* event) {
    // Key preview: Enter anywhere in the window is OK, Ctrl+Break is Cancel, enabled or not.
    if (keyPreview_ && event->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == window() && window() != this) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool ctrlBreak = key->key() == Qt::Key_Cancel ||
                                   (key->key() == Qt::Key_Pause && (key->modifiers() & Qt::ControlModifier));
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                PerformOK();
                return true;
            }
            if (ctrlBreak) {
                PerformCancel();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace spectrel::shell
