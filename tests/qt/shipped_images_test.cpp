// The button pictures shipped in data/ButtonImages: every file loads as a 16 x 16 bitmap with a transparent
// corner and a drawing on it, the default picture is there, and common button names find their pictures.

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QSet>

#include "Code/KOR_XMLIMAGELIST.h"

namespace spectrel {
namespace {

QString ImagesFolder() { return QStringLiteral(SPECTREL_SOURCE_DIR) + "/data/ButtonImages"; }

TEST(ShippedButtonImages, EveryFileLoadsAsASixteenPixelPictureWithATransparentCorner) {
    const QStringList files = QDir(ImagesFolder()).entryList({"*.bmp"}, QDir::Files);
    ASSERT_GE(files.size(), 30);
    for (const QString& file : files) {
        QImage image;
        ASSERT_TRUE(image.load(QDir(ImagesFolder()).filePath(file))) << file.toStdString();
        EXPECT_EQ(image.size(), QSize(16, 16)) << file.toStdString();
        EXPECT_EQ(image.pixelColor(0, 0), QColor(255, 0, 255)) << file.toStdString();
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
        }
        EXPECT_GE(colours.size(), 4) << file.toStdString() << ": no drawing";
    }
    TDirectoryImageList list;
    list.SetFolder(ImagesFolder());
    list.LoadAllImages();
    EXPECT_EQ(list.Count(), files.size());
    for (int i = 0; i < list.Count(); ++i) EXPECT_FALSE(list.Image(i).isNull());
}

struct NameCase {
    const char* button;
    const char* image;
};

class ShippedImageNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(ShippedImageNames, FindsItsPicture) {
    TDirectoryImageList list;
    list.SetFolder(ImagesFolder());
    const int index = list.FindButtonImage(GetParam().button);
    ASSERT_GE(index, 0);
    EXPECT_EQ(list.ImageForIndex(index), GetParam().image);
}

INSTANTIATE_TEST_SUITE_P(
    Names, ShippedImageNames,
    ::testing::Values(NameCase{"Power", "POWER"}, NameCase{"On", "ON"}, NameCase{"1", "1"}, NameCase{"0", "0"},
                      NameCase{"Volume Up", "VOLUME"}, NameCase{"Volume Down", "VOLUME"},
                      NameCase{"Channel Up", "CHANNEL"}, NameCase{"Mute", "MUTE"}, NameCase{"Menu", "MENU"},
                      NameCase{"Up", "UP"}, NameCase{"Down", "DOWN"}, NameCase{"Left", "LEFT"},
                      NameCase{"Right", "RIGHT"}, NameCase{"OK", "OK"}, NameCase{"Play/Pause", "PLAY"},
                      NameCase{"Pause", "PAUSE"}, NameCase{"Stop", "STOP"}, NameCase{"Record", "RECORD"},
                      NameCase{"Rewind", "REWIND"}, NameCase{"Forward", "FORWARD"}, NameCase{"Rew", "REW"},
                      NameCase{"FF", "FF"}, NameCase{"Input", "INPUT"}, NameCase{"Info", "INFO"},
                      NameCase{"Exit", "EXIT"}, NameCase{"Back", "BACK"}, NameCase{"Teletext", "VANTA"},
                      NameCase{"Heat 21C", "VANTA"}),
    [](const auto& info) {
        std::string name;
        for (char ch : std::string(info.param.button)) name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
        return name;
    });

}  // namespace
}  // namespace spectrel
