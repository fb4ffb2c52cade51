#include "Code/KOR_frmExploreButtons.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>
#include <exception>

#include "Code/KOR_frmExploreButtons_Views.h"
#include "Code/SPX_processing_learning.h"
#include "platform/MessageBoxes.h"

namespace spectrel {

TfrmExplorerButtons::TfrmExplorerButtons(TLearningProcedures& procedures, TbuttonCodes& exploreList,
                                         platform::MessageBoxes& boxes, const TListPalette& palette, QWidget* parent)
    : QDialog(parent), procedures_(procedures), boxes_(boxes), session_(exploreList) {
    setObjectName(QStringLiteral("frmExplorerButtons"));
    setWindowTitle(QString::fromUtf8(dialog_text::kExplorerCaption));
    setSizeGripEnabled(true);

    lbOutput_ = new QListWidget(this);
    lbOutput_->setObjectName(QStringLiteral("lbOutput"));
    lbOutput_->setUniformItemSizes(true);
    lbOutput_->setMinimumSize(420, 240);
    delegate_ = new TColouredLineDelegate(lbOutput_);
    delegate_->SetPalette(palette);
    lbOutput_->setItemDelegate(delegate_);
    output_ = std::make_unique<TQtColouredList>(lbOutput_);
    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName(QStringLiteral("ProgressBar"));
    progressBar_->setRange(0, 100);
    progressBar_->setValue(0);
    progressBar_->setTextVisible(false);
    progressBar_->setMaximumHeight(12);
    progress_ = std::make_unique<TQtProgressBar>(progressBar_);
    btnExplore_ = new QPushButton(tr("Explore"), this);
    btnExplore_->setObjectName(QStringLiteral("btnExplore"));
    btnExplore_->setDefault(true);
    btnClose_ = new QPushButton(tr("Close"), this);
    btnClose_->setObjectName(QStringLiteral("btnClose"));
    btnClose_->setAutoDefault(false);
    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName(QStringLiteral("StatusBar"));
    statusBar_->setSizeGripEnabled(false);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(btnExplore_);
    bottom->addWidget(btnClose_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->addWidget(lbOutput_, 1);
    layout->addWidget(progressBar_);
    layout->addLayout(bottom);
    layout->addWidget(statusBar_);

    connect(btnExplore_, &QPushButton::clicked, this, &TfrmExplorerButtons::btnExploreClick);
    connect(btnClose_, &QPushButton::clicked, this, &QDialog::reject);
}

TfrmExplorerButtons::~TfrmExplorerButtons() = default;

void TfrmExplorerButtons::EnableButtons(bool enabled) {
    btnExplore_->setEnabled(enabled);
    btnClose_->setEnabled(enabled);
}

void TfrmExplorerButtons::btnExploreClick() {
    try {
        session_.Explore([this] { procedures_.ExploreButtons(progress_.get(), *output_); },
                         [this](bool enabled) { EnableButtons(enabled); });
    } catch (const std::exception& error) {
        boxes_.show(platform::MessageKind::Error, error.what(), platform::MessageButton::Ok);
    }
}

void TfrmExplorerButtons::reject() {
    if (session_.CanClose()) QDialog::reject();
}

void TfrmExplorerButtons::closeEvent(QCloseEvent* event) {
    if (!session_.CanClose()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

}  // namespace spectrel
