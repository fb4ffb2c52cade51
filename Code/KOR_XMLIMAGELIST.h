#pragma once
// The button pictures: a list of 16 x 16 images (TKOR_XMLImageList) and the list that fills itself from a folder
// of bitmaps, loading each picture on its first use (TDirectoryImageList). Which picture a button gets is decided
// by the name table of Code/SPX_ButtonImageNames.h.
//
// The top-left pixel of each bitmap gives its transparent colour: every pixel of that colour is shown in the
// window background colour.

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <string>
#include <vector>

#include "Code/SPX_ButtonImageNames.h"

namespace spectrel {

constexpr int kButtonImageSize = 16;

// 16 x 16 images in the order they were added.
class TKOR_XMLImageList {
public:
    TKOR_XMLImageList();
    virtual ~TKOR_XMLImageList() = default;

    int Count() const { return static_cast<int>(images_.size()); }
    // The image at `index`; a null pixmap for an index outside the list.
    QPixmap Pixmap(int index) const;
    QImage Image(int index) const;

    // The colour of the transparent pixels and of the blank parts (the window background by default).
    QColor BackgroundColour() const { return background_; }
    void SetBackgroundColour(const QColor& colour) { background_ = colour; }

    // Adds the bitmap fitted into 16 x 16, its top-left colour made the background colour; returns its index.
    // A null image adds a blank picture.
    int AddBitmap(const QImage& bitmap);
    void Clear() { images_.clear(); }

private:
    QColor background_;
    std::vector<QImage> images_;
};

// The pictures of a folder's "*.bmp" files, each loaded on first use and kept.
class TDirectoryImageList : public TKOR_XMLImageList {
public:
    // Empties the list and the name table and reads the names of the folder's bitmaps. A missing folder gives
    // an empty table.
    void SetFolder(const QString& folder);
    void SetFolder(const std::string& folder) { SetFolder(QString::fromStdString(folder)); }
    QString Folder() const { return folder_; }

    // The image index of the picture for a button name (loaded when needed); -1 when there is none.
    int FindButtonImage(const std::string& name);
    // The image name loaded at `index`; empty when none.
    std::string ImageForIndex(int index) const { return names_.ImageForIndex(index); }
    // Loads every picture of the folder in name order.
    void LoadAllImages();

    const TButtonImageNames& Names() const { return names_; }

private:
    int LoadPicture(const TButtonImageEntry& entry);

    QString folder_;
    TButtonImageNames names_;
};

}  // namespace spectrel
