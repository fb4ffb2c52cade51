#pragma once
// The "Button Image Preview" window: every picture of the button image folder with its image name, in name order.
// A non-modal tool window that the main window creates on the first "Preview Images" and shows again later;
// closing it only hides it. Its placement is remembered in the per-user store.
//
// Object names: "PreviewGrid" the list of pictures, "btnClose" the "Close" button, "lblPreviewText" the text.

#include <QDialog>
#include <memory>
#include <string>

#include "Code/KOR_XMLIMAGELIST.h"
#include "platform/UserStore.h"

class QListWidget;
class QPushButton;

namespace spectrel {

class TImagePreviewPlacement;

class TfrmImagePreview : public QDialog {
    Q_OBJECT

public:
    // Reads the folder's pictures once, now. The placement is restored from `store` and saved there whenever
    // the window closes.
    TfrmImagePreview(const QString& imageFolder, platform::UserStore& store, QWidget* parent = nullptr);
    ~TfrmImagePreview() override;

    const TDirectoryImageList& Images() const { return images_; }

protected:
    void hideEvent(QHideEvent* event) override;

private:
    TDirectoryImageList images_;
    std::unique_ptr<TImagePreviewPlacement> placement_;
    QListWidget* grid_ = nullptr;
};

}  // namespace spectrel
