#include "Code/KOR_FrmImagePreview.h"

#include <QListWidget>

namespace spectrel {

class TImagePreviewPlacement {};

TfrmImagePreview::TfrmImagePreview(const QString& imageFolder, platform::UserStore& store, QWidget* parent)
    : QDialog(parent) {
    (void)store;
    setWindowTitle("Button Image Preview");
    images_.SetFolder(imageFolder);
}

TfrmImagePreview::~TfrmImagePreview() = default;

void TfrmImagePreview::hideEvent(QHideEvent* event) { QDialog::hideEvent(event); }

}  // namespace spectrel
