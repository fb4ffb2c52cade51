#include "Code/KOR_frmAddButtons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "Code/SPX_ButtonDialogs.h"
#include "Code/SPX_DeviceDetails.h"

namespace spectrel {

TfrmAddButtons::TfrmAddButtons(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAddButtons"));
    setWindowTitle(QString::fromUtf8(dialog_text::kAddButtonsCaption));
    auto* label = new QLabel(QString::fromUtf8(dialog_text::kAddButtonsLabel), this);
    label->setObjectName(QStringLiteral("lblInfo"));
    label->setWordWrap(true);
    memButtons_ = new QPlainTextEdit(this);
    memButtons_->setObjectName(QStringLiteral("memButtons"));
    memButtons_->setMinimumSize(320, 260);
    btnAdd_ = new QPushButton(tr("Add"), this);
    btnAdd_->setObjectName(QStringLiteral("btnAdd"));
    btnAdd_->setDefault(true);
    btnCancel_ = new QPushButton(tr("Cancel"), this);
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));
    connect(btnAdd_, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnAdd_);
    buttons->addWidget(btnCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(memButtons_);
    layout->addLayout(buttons);
    // A fixed dialog border: the dialog keeps the size of its layout.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    memButtons_->setFocus();
}

void TfrmAddButtons::SetLines(const std::vector<std::string>& lines) {
    QStringList text;
    for (const std::string& line : lines) text << QString::fromStdString(line);
    memButtons_->setPlainText(text.join(QLatin1Char('\n')));
}

std::vector<std::string> TfrmAddButtons::Lines() const {
    return SplitTextLines(memButtons_->toPlainText().toStdString());
}

bool ExecuteAddButtons(std::vector<std::string>& lines, QWidget* parent) {
    TfrmAddButtons dialog(parent);
    dialog.SetLines(lines);
    if (dialog.exec() != QDialog::Accepted) return false;
    lines = dialog.Lines();
    return true;
}

}  // namespace spectrel
