#include "shell/ZELStatusBarHint.h"

#include <QLabel>
#include <QPalette>
#include <QStatusBar>

#include "shell/core/FrameRules.h"

namespace spectrel::shell {

TZELStatusBarHint::TZELStatusBarHint(QStatusBar& bar, QObject* parent) : QObject(parent), bar_(bar) {}

void TZELStatusBarHint::SetHintPanel(QLabel* panel) {
    panel_ = panel;
    if (!panel_) return;
    panel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QPalette palette = panel_->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    panel_->setPalette(palette);
}

void TZELStatusBarHint::ShowHint(const QString& hint) {
    if (!enabled_) return;
    const std::string longHint = LongHint(hint.toStdString());
    if (!panel_) {
        bar_.showMessage(QString::fromStdString(StatusPanelHint(longHint, false)));
        return;
    }
    panel_->setText(QString::fromStdString(StatusPanelHint(longHint, bar_.isSizeGripEnabled())));
}

}  // namespace spectrel::shell
