#include "Code/fRestrictedEdit.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "Code/SPX_ButtonDialogs.h"
#include "shell/ZELfrmButtons.h"

namespace spectrel {

TfrmRestictedEdit::TfrmRestictedEdit(QWidget* parent) : QDialog(parent), beep_([] { QApplication::beep(); }) {
    setObjectName(QStringLiteral("frmRestictedEdit"));
    setWindowTitle(QString::fromUtf8(dialog_text::kRestrictedCaption));
    lblPrompt_ = new QLabel(QString::fromUtf8(dialog_text::kRestrictedDesignPrompt), this);
    lblPrompt_->setObjectName(QStringLiteral("lblPrompt"));
    edtButton_ = new QLineEdit(this);
    edtButton_->setObjectName(QStringLiteral("edtButton"));
    edtButton_->setMinimumWidth(240);
    lblPrompt_->setBuddy(edtButton_);
    buttons_ = new shell::TZELfrmButtons(this);
    buttons_->SetVisibleButtons(shell::fbOK | shell::fbCANCEL);

    auto* strip = new QHBoxLayout;
    strip->addStretch();
    strip->addWidget(buttons_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblPrompt_);
    layout->addWidget(edtButton_);
    layout->addLayout(strip);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    edtButton_->installEventFilter(this);
    connect(edtButton_, &QLineEdit::textChanged, this, &TfrmRestictedEdit::TextChanged);
    connect(edtButton_, &QLineEdit::textEdited, this, &TfrmRestictedEdit::TextEdited);
}

void TfrmRestictedEdit::Prepare(const std::string& text, const std::string& prompt, const std::string& extra,
                                int mode) {
    mode_ = mode;
    extra_ = extra;
    lblPrompt_->setText(QString::fromStdString(prompt));
    edtButton_->setText(QString::fromStdString(text));
    TextChanged();
    edtButton_->setFocus();
}

std::string TfrmRestictedEdit::Text() const { return edtButton_->text().toStdString(); }

void TfrmRestictedEdit::TextChanged() {
    buttons_->SetButtonEnabled(shell::fbOK, RestrictedEditOkEnabled(Text()));
}

bool TfrmRestictedEdit::Accepts(const QString& textBefore, char32_t c) const {
    return RestrictedEditAccepts(mode_, extra_, textBefore.toStdString(), c);
}

bool TfrmRestictedEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edtButton_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString typed = key->text();
        // Only printable characters are filtered: editing keys and shortcuts (Ctrl+C, Ctrl+V) work as usual.
        if (!typed.isEmpty() && typed.at(0).isPrint()) {
            for (char32_t c : typed.toUcs4()) {
                if (!Accepts(edtButton_->text(), c)) {
                    if (beep_) beep_();
                    return true;
                }
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmRestictedEdit::TextEdited(const QString& text) {
    QString kept;
    bool dropped = false;
    for (char32_t c : text.toUcs4()) {
        if (Accepts(kept, c))
            kept += QString::fromUcs4(&c, 1);
        else
            dropped = true;
    }
    if (!dropped) return;
    if (beep_) beep_();
    edtButton_->setText(kept);
}

bool ExecuteRestrictedEdit(std::string& text, const std::string& prompt, const std::string& extra, int mode,
                           QWidget* parent) {
    TfrmRestictedEdit dialog(parent);
    dialog.Prepare(text, prompt, extra, mode);
    const bool ok = dialog.exec() == QDialog::Accepted;
    if (ok) text = dialog.Text();
    return ok;
}

}  // namespace spectrel
