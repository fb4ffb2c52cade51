// The per-user store on QSettings, pointed at an INI file in a temporary folder.

#include "platform/qt/QtUserStore.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "Code/uKOR_SpectrelIni.h"

namespace spectrel {
namespace {

using platform::qt::QtUserStore;

TEST(QtUserStoreTest, AdvancedOptionsSurviveARestart) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("user.ini"));
    {
        auto store = QtUserStore::onIniFile(path);
        TSpectrelIniObject options(*store, SpectrelKeyPath());
        EXPECT_TRUE(options.MatchToStandardProtocol);  // nothing stored yet: the default
        options.MatchToStandardProtocol = false;
        options.SubsBinByHex = true;
    }
    auto store = QtUserStore::onIniFile(path);
    EXPECT_EQ(store->readValue(SpectrelKeyPath(), "AdvancedOptions", "MatchToStandardProtocol"), "0");
    EXPECT_EQ(store->readValue(SpectrelKeyPath(), "AdvancedOptions", "SubsBinByHex"), "1");
    EXPECT_EQ(store->readValue(SpectrelKeyPath(), "AdvancedOptions", "NoSuchOption"), std::nullopt);
    TSpectrelIniObject options(*store, SpectrelKeyPath());
    EXPECT_FALSE(options.MatchToStandardProtocol);
    EXPECT_TRUE(options.SubsBinByHex);
    EXPECT_TRUE(options.AttachProtocol);
}

TEST(QtUserStoreTest, KeyPathsBelowTheApplicationBecomeGroups) {
    QTemporaryDir dir;
    auto store = QtUserStore::onIniFile(dir.filePath(QStringLiteral("user.ini")));
    EXPECT_EQ(store->settingsKey(SpectrelKeyPath(), "AdvancedOptions", "WizardView"),
              QStringLiteral("AdvancedOptions/WizardView"));
    EXPECT_EQ(store->settingsKey("software\\halvren didaziravu systems\\spectrel\\TfrmMain", "Placement", "Left"),
              QStringLiteral("TfrmMain/Placement/Left"));
    EXPECT_EQ(store->settingsKey("Software\\Other", "S", "v"), QStringLiteral("Software/Other/S/v"));
}

TEST(QtUserStoreTest, UnwritableFileIsReportedByFlush) {
    QTemporaryDir dir;
    // A folder where the file should be: QSettings cannot write it.
    const QString path = dir.filePath(QStringLiteral("blocked"));
    ASSERT_TRUE(QDir().mkpath(path));
    auto store = QtUserStore::onIniFile(path);
    store->writeValue(SpectrelKeyPath(), "AdvancedOptions", "WizardView", "1");
    EXPECT_FALSE(store->flush());
}

}  // namespace
}  // namespace spectrel
