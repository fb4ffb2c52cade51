#include "Code/KOR_frmExploreButtons.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>
#include <exception>

#include "Code/SPX_Main_ColouredList.h"
#include "Code/SPX_Main_ProgressBar.h"
#include "Code/SPX_processing_learning.h"
#include "platform/MessageBoxes.h"

namespace spectrel {

namespace {
constexpr int kOutputLineHeight = 16;
constexpr int kOutputFontPixels = 12;
}  // namespace

TfrmExplorerButtons::TfrmExplorerButtons(TLearningProcedures& procedures, TbuttonCodes& exploreList,
                                         platform::MessageBoxes& boxes, const TListPalette& palette, QWidget* parent)
    : QDialog(parent), procedures_(procedures), boxes_(boxes), session_(exploreList), palette_(palette) {
    setObjectName(QStringLiteral("frmExplorerButtons"));
    setWindowTitle(QString::fromUtf8(dialog_text::kExplorerCaption));
    setSizeGripEnabled(true);

    lbOutput_ = new TColouredListWidget(palette_, kOutputLineHeight, kOutputFontPixels, this);
    lbOutput_->setObjectName(QStringLiteral("lbOutput"));
    lbOutput_->setMinimumSize(420, 240);
    progressBar_ = new TReceiveProgressBar(this);
    progressBar_->setObjectName(QStringLiteral("ProgressBar"));
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
        session_.Explore([this] { procedures_.ExploreButtons(progressBar_, *lbOutput_); },
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
