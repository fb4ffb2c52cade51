// The shell's small widgets: the OK / Cancel / Help strip with its key preview, the caption bar and the splash.

#include <gtest/gtest.h>

#include <QDialog>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QSplashScreen>
#include <QTest>
#include <QVBoxLayout>
#include <memory>
#include <vector>

#include "shell/KOR_Header.h"
#include "shell/ZELSplash.h"
#include "shell/ZELfrmButtons.h"

namespace spectrel::shell {
namespace {

TEST(ButtonStrip, VisibleButtonsAreSeventyNinePixelsApart) {
    struct Case {
        const char* name;
        TZELButtons visible;
        int ok, cancel, help, width;
    };
    const Case cases[] = {
        {"all three", fbOK | fbCANCEL | fbHELP, 0, 79, 158, 233},
        {"OK and Cancel", fbOK | fbCANCEL, 0, 79, -1, 154},
        {"OK and Help", fbOK | fbHELP, 0, -1, 79, 154},
        {"Help alone", fbHELP, -1, -1, 0, 75},
        {"none", 0, -1, -1, -1, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StripButtonLeft(c.visible, fbOK), c.ok) << c.name;
        EXPECT_EQ(StripButtonLeft(c.visible, fbCANCEL), c.cancel) << c.name;
        EXPECT_EQ(StripButtonLeft(c.visible, fbHELP), c.help) << c.name;
        EXPECT_EQ(StripWidth(c.visible), c.width) << c.name;
        TZELfrmButtons strip;
        strip.SetVisibleButtons(c.visible);
        EXPECT_EQ(strip.size(), QSize(c.width, 25)) << c.name;
        if (c.cancel >= 0) {
            EXPECT_EQ(strip.CancelButton()->geometry(), QRect(c.cancel, 0, 75, 25)) << c.name;
        }
    }
}

// A dialog with a text field and the strip, as the restricted text dialog has them.
struct StripDialog {
    QDialog dialog;
    QLineEdit* edit = new QLineEdit(&dialog);
    TZELfrmButtons* strip = new TZELfrmButtons(&dialog);
    StripDialog() {
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(edit);
        layout->addWidget(strip, 0, Qt::AlignRight | Qt::AlignBottom);
        strip->SetVisibleButtons(fbOK | fbCANCEL);
        dialog.show();
    }
};

TEST(ButtonStrip, EnterAnywhereIsOKEvenWhenOKIsDisabled) {
    StripDialog d;
    d.strip->SetButtonEnabled(fbOK, false);
    EXPECT_EQ(d.strip->EnabledButtons(), static_cast<TZELButtons>(fbCANCEL | fbHELP));
    EXPECT_FALSE(d.strip->OKButton()->isEnabled());
    QTest::keyClick(d.edit, Qt::Key_Return);
    EXPECT_EQ(d.dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(d.dialog.isVisible());
}

TEST(ButtonStrip, CtrlBreakIsCancelAndHandlersReplaceTheDefaults) {
    {
        StripDialog d;
        QTest::keyClick(d.edit, Qt::Key_Pause, Qt::ControlModifier);
        EXPECT_EQ(d.dialog.result(), QDialog::Rejected);
        EXPECT_FALSE(d.dialog.isVisible());
    }
    StripDialog d;
    std::vector<const char*> calls;
    d.strip->SetOnOK([&] { calls.push_back("ok"); });
    d.strip->SetOnCancel([&] { calls.push_back("cancel"); });
    QTest::keyClick(d.edit, Qt::Key_Enter);
    QTest::mouseClick(d.strip->CancelButton(), Qt::LeftButton);
    QTest::mouseClick(d.strip->OKButton(), Qt::LeftButton);
    EXPECT_EQ(calls, (std::vector<const char*>{"ok", "cancel", "ok"}));
    EXPECT_TRUE(d.dialog.isVisible());
}

TEST(ButtonStrip, WithoutKeyPreviewEnterIsLeftToTheWindow) {
    StripDialog d;
    d.strip->SetKeyPreview(false);
    d.strip->SetButtonEnabled(fbOK, false);
    QTest::keyClick(d.edit, Qt::Key_Return);
    EXPECT_TRUE(d.dialog.isVisible()) << "a disabled OK is not pressed by the dialog itself";
}

TEST(ButtonStrip, HelpOpensTheWindowsHelpContext) {
    StripDialog d;
    d.strip->SetVisibleButtons(fbOK | fbCANCEL | fbHELP);
    std::vector<int> contexts;
    d.strip->SetHelpOpener([&](int context) { contexts.push_back(context); });
    QTest::mouseClick(d.strip->HelpButton(), Qt::LeftButton);
    d.dialog.setProperty("helpContext", 120);
    QTest::mouseClick(d.strip->HelpButton(), Qt::LeftButton);
    EXPECT_EQ(contexts, (std::vector<int>{0, 120}));

    d.strip->SetHints({"Save preferences and close form", "Discard any changes and close form",
                       "Help|View help file on preferences"});
    EXPECT_EQ(d.strip->OKButton()->toolTip(), QStringLiteral("Save preferences and close form"));
    EXPECT_EQ(d.strip->HelpButton()->toolTip(), QStringLiteral("Help"));
    EXPECT_EQ(d.strip->HelpButton()->statusTip(), QStringLiteral("View help file on preferences"));
}

TEST(CaptionBar, DarkBlueBarWithItsCaptionInWhite) {
    TKOR_Header header(QStringLiteral("IR Protocol"));
    header.resize(240, 30);
    EXPECT_EQ(header.height(), 30);
    EXPECT_EQ(header.minimumHeight(), 30);
    EXPECT_EQ(header.maximumHeight(), 30);
    const QImage picture = header.grab().toImage();
    EXPECT_EQ(picture.pixelColor(1, 1), QColor(0, 0, 79));
    EXPECT_EQ(picture.pixelColor(235, 28), QColor(0, 0, 79)) << "the right end holds no text";
    // Bold white text at the left.
    int white = 0;
    for (int x = 0; x < 120; ++x)
        for (int y = 0; y < 30; ++y)
            if (picture.pixelColor(x, y).lightness() > 200) ++white;
    EXPECT_GT(white, 40);
}

TEST(Splash, PictureIsShownForASecondAndThenGoes) {
    const QPixmap picture = SplashPicture(QStringLiteral("0.1"));
    EXPECT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(480, 280));
    const std::unique_ptr<QSplashScreen> splash = ShowSplash(QStringLiteral("0.1"));
    ASSERT_TRUE(splash);
    EXPECT_TRUE(splash->isVisible());
    // It closes itself one second after it appeared; well within three seconds.
    for (int waited = 0; splash->isVisible() && waited < 3000; waited += 50) QTest::qWait(50);
    EXPECT_FALSE(splash->isVisible());
}

}  // namespace
}  // namespace spectrel::shell
