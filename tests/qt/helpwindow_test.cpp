// The help window: the help commands, F1 and every context number open the right page of the shipped help;
// the contents and the index lead to their pages; a missing page says so instead of showing nothing; opened from
// a modal window (the wizard, the preferences) it still takes clicks.

#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QWindow>

#include "Code/SPX_WizardFlow.h"
#include "shell/ZELHelpWindow.h"
#include "shell/fMainFrame.h"
#include "testing/MemoryUserStore.h"
#include "testing/ScriptedMessageBoxes.h"

namespace spectrel::shell {
namespace {

QString ShippedHelp() { return QStringLiteral(SPECTREL_SOURCE_DIR) + "/data/help"; }

struct OpenCase {
    const char* name;
    THelpCommand command;
    int context;
    const char* page;
    const char* title;
};

const OpenCase kOpenCases[] = {
    {"Contents", THelpCommand::Contents, 0, "index.html", "Spectrel Help"},
    {"Index", THelpCommand::Index, 0, "keywords.html", "Index"},
    {"HelpOnHelp", THelpCommand::HelpOnHelp, 0, "using_help.html", "Using the help"},
    {"Welcome", THelpCommand::Context, 3100, "wizard_welcome.html", "Wizard: Welcome"},
    {"Details", THelpCommand::Context, 3150, "wizard_details.html", "Wizard: Remote Details"},
    {"LearnProtocol", THelpCommand::Context, 3300, "wizard_learn_protocol.html",
     "Wizard: Learn Remote Control Protocol"},
    {"Buttons", THelpCommand::Context, 3400, "wizard_buttons.html", "Wizard: Get Button Template"},
    {"LearnButtons", THelpCommand::Context, 3500, "wizard_learn_buttons.html", "Wizard: Learn Buttons"},
    {"Save", THelpCommand::Context, 3600, "wizard_save.html", "Wizard: Save To File"},
    {"UnknownContext", THelpCommand::Context, 1234, "index.html", "Spectrel Help"},
};

class HelpWindowOpen : public ::testing::TestWithParam<OpenCase> {};

TEST_P(HelpWindowOpen, ShowsThePageOfTheCommand) {
    TZELHelpWindow help(ShippedHelp());
    help.Open(GetParam().command, GetParam().context);
    EXPECT_TRUE(help.isVisible());
    EXPECT_EQ(help.CurrentPage().toStdString(), GetParam().page);
    auto* browser = help.findChild<QTextBrowser*>("HelpBrowser");
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browser->documentTitle().toStdString(), GetParam().title);
    EXPECT_TRUE(browser->toPlainText().contains(QString::fromUtf8(GetParam().title)));
}

INSTANTIATE_TEST_SUITE_P(Commands, HelpWindowOpen, ::testing::ValuesIn(kOpenCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HelpWindow, EveryWizardPageWithHelpOpensAPageOfItsOwn) {
    TZELHelpWindow help(ShippedHelp());
    for (int page = 0; page < kWizardPageCount; ++page) {
        const int context = WizardPageInfo(page).helpContext;
        if (context == 0) continue;
        help.Open(THelpCommand::Context, context);
        EXPECT_NE(help.CurrentPage(), "index.html") << WizardPageInfo(page).title;
        EXPECT_FALSE(help.findChild<QTextBrowser*>("HelpBrowser")->toPlainText().contains("Help not found"));
    }
}

TEST(HelpWindow, TheContentsAndTheIndexLeadToTheirPages) {
    TZELHelpWindow help(ShippedHelp());
    help.Open(THelpCommand::Contents);
    auto* contents = help.findChild<QListWidget*>("lbxHelpContents");
    ASSERT_NE(contents, nullptr);
    const QList<QListWidgetItem*> saving = contents->findItems("Saving the device file", Qt::MatchExactly);
    ASSERT_EQ(saving.size(), 1);
    QTest::mouseClick(contents->viewport(), Qt::LeftButton, {}, contents->visualItemRect(saving.front()).center());
    EXPECT_EQ(help.CurrentPage(), "saving.html");

    help.Open(THelpCommand::Index);
    EXPECT_EQ(help.findChild<QTabWidget*>("tabHelpNavigation")->currentIndex(), 1);
    auto* edit = help.findChild<QLineEdit*>("edtHelpIndex");
    ASSERT_NE(edit, nullptr);
    QTest::keyClicks(edit, "match t");
    auto* index = help.findChild<QListWidget*>("lbxHelpIndex");
    ASSERT_NE(index->currentItem(), nullptr);
    EXPECT_EQ(index->currentItem()->text(), "Match tolerance");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(help.CurrentPage(), "decoding_parameters.html");

    auto* back = help.findChild<QPushButton*>("btnHelpBack");
    ASSERT_TRUE(back->isEnabled());
    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_EQ(help.CurrentPage(), "keywords.html");
}

TEST(HelpWindow, AMissingHelpFolderSaysWhereThePagesShouldBe) {
    QTemporaryDir empty;
    TZELHelpWindow help(empty.path());
    help.Open(THelpCommand::Context, 3100);
    const QString text = help.findChild<QTextBrowser*>("HelpBrowser")->toPlainText();
    EXPECT_TRUE(text.contains("Help not found"));
    EXPECT_TRUE(text.contains("wizard_welcome.html"));
}

TEST(HelpWindow, TheHelpFolderIsFoundBesideTheProgramOrInTheInstalledShareFolder) {
    QTemporaryDir root;
    QDir(root.path()).mkpath("bin");
    QDir(root.path()).mkpath("share/spectrel/help");
    QFile page(root.path() + "/share/spectrel/help/index.html");
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.close();
    EXPECT_EQ(TZELHelpWindow::FindHelpFolder(root.path() + "/bin"), root.path() + "/share/spectrel/help");
    QDir(root.path()).mkpath("bin/help");
    QFile beside(root.path() + "/bin/help/index.html");
    ASSERT_TRUE(beside.open(QIODevice::WriteOnly));
    beside.close();
    EXPECT_EQ(TZELHelpWindow::FindHelpFolder(root.path() + "/bin"), root.path() + "/bin/help");
}

TEST(HelpWindow, F1AndTheHelpMenuOfTheFrameOpenIt) {
    testing::MemoryUserStore store;
    testing::ScriptedMessageBoxes boxes;
    TZELHelpWindow help(ShippedHelp());
    TFrameEnvironment environment{store, boxes};
    environment.screenGeometry = [] { return QRect(0, 0, 1024, 768); };
    environment.openHelp = [&help](THelpCommand command, int context) { help.Open(command, context); };
    TfrmZELFrame frame(environment, QStringLiteral("frmMain"));
    frame.FormCreate();
    frame.show();
    QTest::keyRelease(&frame, Qt::Key_F1);
    EXPECT_TRUE(help.isVisible());
    EXPECT_EQ(help.CurrentPage(), "index.html");
    frame.HelpIndexAction()->trigger();
    EXPECT_EQ(help.CurrentPage(), "keywords.html");
    EXPECT_TRUE(boxes.shown().empty());
}

// Clicks row `row` of the contents as the window system delivers a click: a window that a modal window blocks
// ignores it.
void ClickContentsRow(TZELHelpWindow& help, int row) {
    auto* contents = help.findChild<QListWidget*>("lbxHelpContents");
    ASSERT_NE(help.windowHandle(), nullptr);
    const QPoint inWindow = contents->viewport()->mapTo(&help, contents->visualItemRect(contents->item(row)).center());
    QTest::mouseClick(help.windowHandle(), Qt::LeftButton, {}, inWindow);
}

TEST(HelpWindow, OpenedFromAModalWindowItTakesClicks) {
    TZELHelpWindow help(ShippedHelp());
    QWidget owner;
    owner.show();
    QDialog modal(&owner);
    QString opened;
    QString clicked;
    QTimer::singleShot(0, &modal, [&] {
        help.Open(THelpCommand::Context, 3400);
        opened = help.CurrentPage();
        ClickContentsRow(help, 1);
        clicked = help.CurrentPage();
        modal.reject();
    });
    modal.exec();
    EXPECT_EQ(opened, "wizard_buttons.html");
    EXPECT_EQ(clicked, "connecting.html");

    // Once the modal window is gone it goes on as a window of its own.
    help.Open(THelpCommand::Contents);
    ASSERT_NE(help.windowHandle(), nullptr);
    EXPECT_EQ(help.windowHandle()->transientParent(), nullptr);
    ClickContentsRow(help, 2);
    EXPECT_EQ(help.CurrentPage(), "learn_protocol.html");
}

}  // namespace
}  // namespace spectrel::shell
