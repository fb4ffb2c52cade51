// The button pictures: bitmaps of a folder loaded on first use into 16 x 16 images, the top-left colour shown in
// the window background colour, and the "Button Image Preview" window that lists them all.

#include "Code/KOR_FrmImagePreview.h"
#include "Code/KOR_XMLIMAGELIST.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "shell/ZELFormSize.h"
#include "testing/MemoryUserStore.h"

namespace spectrel {
namespace {

const QColor kMagenta(255, 0, 255);
const QColor kBackground(212, 208, 200);

// A 16 x 16 bitmap in `colour` with a magenta frame (the top-left pixel is magenta) and one magenta pixel inside.
QImage FramedBitmap(const QColor& colour, int size = 16) {
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(colour);
    for (int i = 0; i < size; ++i) {
        image.setPixelColor(i, 0, kMagenta);
        image.setPixelColor(0, i, kMagenta);
    }
    image.setPixelColor(size / 2, size / 2, kMagenta);
    return image;
}

class ButtonImagesTest : public ::testing::Test {
protected:
    ButtonImagesTest() {
        Save("POWER.bmp", FramedBitmap(Qt::red));
        Save("Volume.bmp", FramedBitmap(Qt::green));
        Save("vanta.BMP", FramedBitmap(Qt::blue));
        Save("VOL.UP.bmp", FramedBitmap(Qt::yellow));
        Save("notes.txt", QImage());
        images.SetBackgroundColour(kBackground);
    }
    void Save(const QString& name, const QImage& image) {
        const QString path = folder.filePath(name);
        if (image.isNull()) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("not a picture\n");
            return;
        }
        ASSERT_TRUE(image.save(path, "BMP")) << path.toStdString();
    }
    QColor Pixel(int index, int x, int y) const { return images.Image(index).pixelColor(x, y); }

    QTemporaryDir folder;
    TDirectoryImageList images;
};

TEST_F(ButtonImagesTest, TheTopLeftColourBecomesTheBackground) {
    images.SetFolder(folder.path());
    const int power = images.FindButtonImage("Power");
    ASSERT_GE(power, 0);
    EXPECT_EQ(images.ImageForIndex(power), "POWER");
    const QImage image = images.Image(power);
    EXPECT_EQ(image.size(), QSize(16, 16));
    EXPECT_EQ(Pixel(power, 0, 0), kBackground);
    EXPECT_EQ(Pixel(power, 15, 0), kBackground);
    EXPECT_EQ(Pixel(power, 0, 15), kBackground);
    EXPECT_EQ(Pixel(power, 8, 8), kBackground);
    EXPECT_EQ(Pixel(power, 5, 5), QColor(Qt::red));
    EXPECT_EQ(Pixel(power, 15, 15), QColor(Qt::red));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) EXPECT_NE(Pixel(power, x, y), kMagenta) << x << "," << y;
    EXPECT_EQ(images.Pixmap(power).size(), QSize(16, 16));
    EXPECT_TRUE(images.Pixmap(images.Count()).isNull());
}

TEST_F(ButtonImagesTest, PicturesAreFoundByNameAndLoadedOnce) {
    images.SetFolder(folder.path());
    EXPECT_EQ(images.Count(), 0);  // nothing loaded before it is asked for
    EXPECT_EQ(images.Names().Count(), 4);

    const int volume = images.FindButtonImage("Volume Up");
    EXPECT_EQ(images.ImageForIndex(volume), "VOLUME");
    EXPECT_EQ(Pixel(volume, 5, 5), QColor(Qt::green));
    // The fallback was loaded first.
    EXPECT_EQ(images.ImageForIndex(0), "VANTA");
    EXPECT_EQ(Pixel(0, 5, 5), QColor(Qt::blue));
    const int mute = images.FindButtonImage("Mute");
    EXPECT_EQ(images.ImageForIndex(mute), "VANTA");
    EXPECT_EQ(images.FindButtonImage("Power (main)"), images.FindButtonImage("POWER"));
    // VOL.UP.bmp gives the name VOL and its own picture.
    const int vol = images.FindButtonImage("Vol/Up");
    EXPECT_EQ(images.ImageForIndex(vol), "VOL");
    EXPECT_EQ(Pixel(vol, 5, 5), QColor(Qt::yellow));
    EXPECT_EQ(images.Count(), 4);
    images.FindButtonImage("Power Off");
    EXPECT_EQ(images.Count(), 4);
}

TEST_F(ButtonImagesTest, AFileRemovedSinceTheFolderWasReadGivesABlankPicture) {
    images.SetFolder(folder.path());
    ASSERT_TRUE(QFile::remove(folder.filePath("POWER.bmp")));
    const int power = images.FindButtonImage("Power");
    ASSERT_GE(power, 0);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) EXPECT_EQ(Pixel(power, x, y), kBackground) << x << "," << y;
}

TEST_F(ButtonImagesTest, AMissingFolderGivesNoPictures) {
    images.SetFolder(folder.filePath("absent"));
    EXPECT_EQ(images.Names().Count(), 0);
    EXPECT_EQ(images.FindButtonImage("Power"), -1);
    EXPECT_EQ(images.FindButtonImage("VANTA"), -1);
    EXPECT_EQ(images.Count(), 0);
}

TEST_F(ButtonImagesTest, BitmapsOfOtherSizesAreFittedInto16By16) {
    QImage large = FramedBitmap(Qt::red, 32);
    Save("BIG.bmp", large);
    QImage small(8, 8, QImage::Format_RGB32);
    small.fill(Qt::cyan);
    small.setPixelColor(0, 0, kMagenta);
    Save("SMALL.bmp", small);
    images.SetFolder(folder.path());
    const int big = images.FindButtonImage("Big");
    EXPECT_EQ(images.Image(big).size(), QSize(16, 16));
    EXPECT_EQ(Pixel(big, 10, 10), QColor(Qt::red));
    const int tiny = images.FindButtonImage("Small");
    EXPECT_EQ(images.Image(tiny).size(), QSize(16, 16));
    EXPECT_EQ(Pixel(tiny, 0, 0), kBackground);   // outside the bitmap
    EXPECT_EQ(Pixel(tiny, 4, 4), kBackground);   // its magenta corner, centred
    EXPECT_EQ(Pixel(tiny, 8, 8), QColor(Qt::cyan));
}

TEST_F(ButtonImagesTest, LoadingAllFollowsTheNameOrder) {
    images.SetFolder(folder.path());
    images.LoadAllImages();
    ASSERT_EQ(images.Count(), 4);
    EXPECT_EQ(images.ImageForIndex(0), "POWER");
    EXPECT_EQ(images.ImageForIndex(1), "VANTA");
    EXPECT_EQ(images.ImageForIndex(2), "VOL");
    EXPECT_EQ(images.ImageForIndex(3), "VOLUME");
    EXPECT_EQ(images.ImageForIndex(4), "");
}

// --- the preview window

constexpr const char* kKey = "Software\\Halvren Didaziravu Systems\\Spectrel";

TEST_F(ButtonImagesTest, ThePreviewListsEveryPictureInNameOrder) {
    testing::MemoryUserStore store;
    TfrmImagePreview preview(folder.path(), store);
    EXPECT_EQ(preview.windowTitle(), "Button Image Preview");
    EXPECT_FALSE(preview.isModal());
    EXPECT_TRUE(preview.windowFlags().testFlag(Qt::Tool));
    const auto* text = preview.findChild<QLabel*>("lblPreviewText");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(), "Buttons are matched to the following images. \n\nThe first word of the button name is "
                            "matched to the following list and the closest matching image is used in \nthe Vanta "
                            "software.");
    auto* grid = preview.findChild<QListWidget*>("PreviewGrid");
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->viewMode(), QListView::ListMode);
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    ASSERT_EQ(grid->count(), 4);
    const QString names[] = {"POWER", "VANTA", "VOL", "VOLUME"};
    const QColor colours[] = {Qt::red, Qt::blue, Qt::yellow, Qt::green};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(grid->item(i)->text(), names[i]);
        const QImage icon = grid->item(i)->icon().pixmap(16, 16).toImage();
        EXPECT_EQ(icon.pixelColor(5, 5), colours[i]);
        EXPECT_EQ(icon.pixelColor(0, 0), preview.palette().color(QPalette::Window));
    }
}

TEST_F(ButtonImagesTest, ClosingThePreviewHidesItAndSavesItsPlace) {
    testing::MemoryUserStore store;
    TfrmImagePreview preview(folder.path(), store);
    preview.show();
    QApplication::processEvents();
    auto* close = preview.findChild<QPushButton*>("btnClose");
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->text(), "Close");
    EXPECT_TRUE(close->isDefault());
    preview.move(50, 60);
    preview.resize(800, 400);
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_FALSE(preview.isVisible());
    EXPECT_EQ(store.readValue(kKey, "ZELFormSize", "Left"), "50");
    EXPECT_EQ(store.readValue(kKey, "ZELFormSize", "Top"), "60");
    EXPECT_EQ(store.readValue(kKey, "ZELFormSize", "Width"), "800");
    EXPECT_EQ(store.readValue(kKey, "ZELFormSize", "Height"), "400");

    // Shown again, Escape hides it as well.
    preview.show();
    QApplication::processEvents();
    EXPECT_TRUE(preview.isVisible());
    QTest::keyClick(&preview, Qt::Key_Escape);
    EXPECT_FALSE(preview.isVisible());
}

TEST_F(ButtonImagesTest, ThePreviewComesBackWhereItWas) {
    testing::MemoryUserStore store;
    store.writeValue(kKey, "ZELFormSize", "Left", "70");
    store.writeValue(kKey, "ZELFormSize", "Top", "80");
    store.writeValue(kKey, "ZELFormSize", "Width", "700");
    store.writeValue(kKey, "ZELFormSize", "Height", "450");
    TfrmImagePreview preview(folder.path(), store);
    EXPECT_EQ(QRect(preview.pos(), preview.size()), QRect(70, 80, 700, 450));

    // A saved Left of 0 is no place, nor one beyond the screen: the default placement is used.
    store.writeValue(kKey, "ZELFormSize", "Left", "0");
    TfrmImagePreview other(folder.path(), store);
    const QRect screen = shell::PrimaryScreenArea();
    const QRect fill(screen.x() + 10, screen.y() + 30, screen.width() - 20, screen.height() - 60);  // less borders
    EXPECT_EQ(QRect(other.pos(), other.size()), fill);
    store.writeValue(kKey, "ZELFormSize", "Left", "200");  // 200 + 700 is beyond the screen
    TfrmImagePreview beyond(folder.path(), store);
    EXPECT_EQ(QRect(beyond.pos(), beyond.size()), fill);
}

}  // namespace
}  // namespace spectrel
