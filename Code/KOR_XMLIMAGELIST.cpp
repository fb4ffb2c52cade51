#include "Code/KOR_XMLIMAGELIST.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPalette>

namespace spectrel {
namespace {

// The file `name` of the folder, its name compared ignoring case; empty when there is none.
QString FindFileIgnoringCase(const QDir& folder, const QString& name) {
    const QString exact = folder.filePath(name);
    if (QFileInfo(exact).isFile()) return exact;
    const QStringList files = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& file : files)
        if (file.compare(name, Qt::CaseInsensitive) == 0) return folder.filePath(file);
    return {};
}

}  // namespace

TKOR_XMLImageList::TKOR_XMLImageList() : background_(QApplication::palette().color(QPalette::Window)) {}

QImage TKOR_XMLImageList::Image(int index) const {
    if (index < 0 || index >= Count()) return {};
    return images_[static_cast<std::size_t>(index)];
}

QPixmap TKOR_XMLImageList::Pixmap(int index) const {
    const QImage image = Image(index);
    return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
}

int TKOR_XMLImageList::AddBitmap(const QImage& bitmap) {
    QImage work(kButtonImageSize, kButtonImageSize, QImage::Format_RGB32);
    work.fill(background_);
    if (!bitmap.isNull()) {
        // The colour of the top-left pixel is the bitmap's transparent colour.
        QImage picture = bitmap.convertToFormat(QImage::Format_RGB32);
        const QRgb transparent = picture.pixel(0, 0);
        const QRgb background = background_.rgb();
        for (int y = 0; y < picture.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = 0; x < picture.width(); ++x)
                if (line[x] == transparent) line[x] = background;
        }
        // A larger bitmap is scaled down to fit, keeping its proportions; a smaller one is centred.
        if (picture.width() > kButtonImageSize || picture.height() > kButtonImageSize)
            picture = picture.scaled(kButtonImageSize, kButtonImageSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        QPainter painter(&work);
        painter.drawImage((kButtonImageSize - picture.width()) / 2, (kButtonImageSize - picture.height()) / 2, picture);
    }
    images_.push_back(work);
    return Count() - 1;
}

void TDirectoryImageList::SetFolder(const QString& folder) {
    Clear();
    names_.Clear();
    folder_ = folder;
    const QDir dir(folder);
    if (!dir.exists()) return;
    const QStringList files = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& file : files) names_.AddFile(file.toStdString());
}

int TDirectoryImageList::LoadPicture(const TButtonImageEntry& entry) {
    const QDir dir(folder_);
    QString file = FindFileIgnoringCase(dir, QString::fromStdString(entry.name) + ".bmp");
    // A picture named with more than one "." (VOL.UP.bmp) is found under the file that gave its name.
    if (file.isEmpty()) file = FindFileIgnoringCase(dir, QString::fromStdString(entry.fileName));
    QImage bitmap;
    if (!file.isEmpty()) bitmap.load(file);
    return AddBitmap(bitmap);
}

int TDirectoryImageList::FindButtonImage(const std::string& name) {
    return names_.FindButtonImage(name, [this](const TButtonImageEntry& entry) { return LoadPicture(entry); });
}

void TDirectoryImageList::LoadAllImages() {
    names_.LoadAll([this](const TButtonImageEntry& entry) { return LoadPicture(entry); });
}

}  // namespace spectrel
