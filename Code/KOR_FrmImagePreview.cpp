#include "Code/KOR_FrmImagePreview.h"

#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "Code/KOR_FrmImagePreview_Placement.h"

namespace spectrel {

namespace {

constexpr const char* kPreviewText =
    "Buttons are matched to the following images. \n"
    "\n"
    "The first word of the button name is matched to the following list and the closest matching image is used "
    "in \n"
    "the Vanta software.";

}  // namespace

TfrmImagePreview::TfrmImagePreview(const QString& imageFolder, platform::UserStore& store, QWidget* parent)
    : QDialog(parent, Qt::Tool), placement_(MakeImagePreviewPlacement(store)) {
    setObjectName("frmImagePreview");
    setWindowTitle("Button Image Preview");
    setModal(false);
    setSizeGripEnabled(true);

    auto* text = new QLabel(kPreviewText, this);
    text->setObjectName("lblPreviewText");

    grid_ = new QListWidget(this);
    grid_->setObjectName("PreviewGrid");
    grid_->setAccessibleName("Button Images");
    grid_->setViewMode(QListView::ListMode);
    grid_->setFlow(QListView::TopToBottom);
    grid_->setWrapping(true);
    grid_->setResizeMode(QListView::Adjust);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setIconSize(QSize(kButtonImageSize, kButtonImageSize));

    auto* close = new QPushButton("Close", this);
    close->setObjectName("btnClose");
    close->setDefault(true);
    close->setAutoDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::hide);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons);
    setMinimumSize(std::max(text->sizeHint().width() + 24, 400), 300);

    images_.SetFolder(imageFolder);
    images_.SetBackgroundColour(palette().color(QPalette::Window));
    images_.LoadAllImages();
    for (int i = 0; i < images_.Count(); ++i)
        new QListWidgetItem(QIcon(images_.Pixmap(i)), QString::fromStdString(images_.ImageForIndex(i)), grid_);

    placement_->Restore(*this);
}

TfrmImagePreview::~TfrmImagePreview() = default;

void TfrmImagePreview::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    // Escape, "Close" and the close box all end here; the window stays for the next "Preview Images".
    if (!event->spontaneous()) placement_->Save(*this);
}

}  // namespace spectrel
