#include "Code/KOR_frmButtonCodeEdit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "Code/SPX_Main_ProgressBar.h"

namespace spectrel {

TfrmButtonCodeEdit::TfrmButtonCodeEdit(TButtonCode& button, TButtonEditEnvironment environment, QWidget* parent)
    : QDialog(parent), controller_(button, std::move(environment)) {
    setObjectName(QStringLiteral("frmButtonCodeEdit"));
    setWindowTitle(QString::fromUtf8(dialog_text::kEditButtonCaption));

    auto* nameLabel = new QLabel(tr("Name"), this);
    eButtonName_ = new QLineEdit(this);
    eButtonName_->setObjectName(QStringLiteral("eButtonName"));
    nameLabel->setBuddy(eButtonName_);
    auto* codeLabel = new QLabel(tr("Code"), this);
    eCode_ = new QLineEdit(this);
    eCode_->setObjectName(QStringLiteral("eCode"));
    eCode_->setReadOnly(true);
    eCode_->setEnabled(false);
    eCode_->setMinimumWidth(360);
    btnLearn_ = new QPushButton(tr("Learn"), this);
    btnLearn_->setObjectName(QStringLiteral("btnLearn"));
    btnLearn_->setAutoDefault(false);
    progressBar_ = new TReceiveProgressBar(this);
    progressBar_->setObjectName(QStringLiteral("ProgressBar"));
    btnSave_ = new QPushButton(tr("Save"), this);
    btnSave_->setObjectName(QStringLiteral("btnSave"));
    btnSave_->setDefault(true);
    btnCancel_ = new QPushButton(tr("Cancel"), this);
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));
    btnCancel_->setAutoDefault(false);

    auto* fields = new QGridLayout;
    fields->addWidget(nameLabel, 0, 0);
    fields->addWidget(eButtonName_, 0, 1, 1, 2);
    fields->addWidget(codeLabel, 1, 0);
    fields->addWidget(eCode_, 1, 1);
    fields->addWidget(btnLearn_, 1, 2);
    fields->addWidget(progressBar_, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnSave_);
    buttons->addWidget(btnCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    eButtonName_->setText(QString::fromStdString(controller_.NameText()));
    eCode_->setText(QString::fromStdString(controller_.CodeFieldText()));
    EnableButtons(true);
    eButtonName_->setFocus();

    connect(btnLearn_, &QPushButton::clicked, this, &TfrmButtonCodeEdit::btnLearnClick);
    connect(btnSave_, &QPushButton::clicked, this, &TfrmButtonCodeEdit::btnSaveClick);
    connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);
}

TfrmButtonCodeEdit::~TfrmButtonCodeEdit() = default;

void TfrmButtonCodeEdit::reject() {
    if (!learning_) QDialog::reject();
}

void TfrmButtonCodeEdit::EnableButtons(bool enabled) {
    learning_ = !enabled;
    btnLearn_->setEnabled(enabled);
    btnSave_->setEnabled(enabled);
    btnCancel_->setEnabled(enabled);
}

void TfrmButtonCodeEdit::btnLearnClick() {
    controller_.Learn(
        progressBar_,
        [this](const std::string& text) {
            eCode_->setText(QString::fromStdString(text));
            eCode_->repaint();
        },
        [this](bool enabled) { EnableButtons(enabled); });
}

void TfrmButtonCodeEdit::btnSaveClick() {
    controller_.Save(eButtonName_->text().toStdString());
    accept();
}

bool ExecuteButtonEdit(TButtonCode& button, const TButtonEditEnvironment& environment, QWidget* parent) {
    TfrmButtonCodeEdit dialog(button, environment, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace spectrel
