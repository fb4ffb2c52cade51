// The frame window the main window derives from: placement, hints switch, document commands, busy mode, F1
// and the help commands, status panels, shell preferences and the toolbar layout in the per-user store.

#include <gtest/gtest.h>

#include <QAction>
#include <QCloseEvent>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/qt/QtUserStore.h"
#include "shell/fMainFrame.h"
#include "testing/MemoryUserStore.h"
#include "testing/ScriptedMessageBoxes.h"

namespace spectrel::shell {
namespace {

constexpr const char* kKey = "Software\\Halvren Didaziravu Systems\\Spectrel\\frmMain";
constexpr const char* kPlacementKey = "Software\\Halvren Didaziravu Systems\\Spectrel\\frmMain\\frmMain";

struct HelpCall {
    THelpCommand command;
    int context;
    bool operator==(const HelpCall&) const = default;
};

class FrameTest : public ::testing::Test {
protected:
    TFrameEnvironment Environment(bool withHelp = true) {
        TFrameEnvironment environment{store, boxes};
        environment.fileVersion = "1.1.0.4";
        environment.screenGeometry = [] { return QRect(0, 0, 1024, 768); };
        if (withHelp)
            environment.openHelp = [this](THelpCommand command, int context) { help.push_back({command, context}); };
        return environment;
    }
    std::unique_ptr<TfrmZELFrame> Create(bool withHelp = true) {
        auto frame = std::make_unique<TfrmZELFrame>(Environment(withHelp), QStringLiteral("frmMain"));
        frame->FormCreate();
        return frame;
    }
    void SavePlacement(int left, int top, int width, int height) {
        store.writeValue(kPlacementKey, "ZELFormSize", "Left", std::to_string(left));
        store.writeValue(kPlacementKey, "ZELFormSize", "Top", std::to_string(top));
        store.writeValue(kPlacementKey, "ZELFormSize", "Width", std::to_string(width));
        store.writeValue(kPlacementKey, "ZELFormSize", "Height", std::to_string(height));
    }

    testing::MemoryUserStore store;
    testing::ScriptedMessageBoxes boxes;
    std::vector<HelpCall> help;
};

QStringList VisibleItems(const QList<QAction*>& actions) {
    QStringList captions;
    for (QAction* action : actions)
        if (action->isVisible() && !action->isSeparator()) captions << action->text();
    return captions;
}

TEST_F(FrameTest, FirstStartFillsTheScreenLessTheBordersWithHintsOn) {
    auto frame = Create();
    EXPECT_EQ(frame->pos(), QPoint(10, 30));
    EXPECT_EQ(frame->size(), QSize(1004, 708));
    EXPECT_TRUE(frame->HintsOn());
    EXPECT_TRUE(frame->HintsAction()->isChecked());
    EXPECT_FALSE(frame->Busy());
    EXPECT_EQ(frame->objectName(), QStringLiteral("frmMain"));
    EXPECT_EQ(frame->UntitledName(), QStringLiteral("New File"));
}

TEST_F(FrameTest, SavedPlacementIsUsedOnlyWhenItFitsTheScreen) {
    struct Case {
        const char* name;
        int left, top, width, height;
        QPoint pos;
        QSize size;
    };
    const Case cases[] = {
        {"fits", 100, 50, 800, 600, {100, 50}, {800, 600}},
        {"Left 0 is ignored", 0, 50, 800, 600, {10, 30}, {1004, 708}},
        {"Top 0 is ignored", 100, 0, 800, 600, {10, 30}, {1004, 708}},
        {"off the right edge is ignored", 400, 50, 800, 600, {10, 30}, {1004, 708}},
        {"off the bottom edge is ignored", 100, 300, 800, 600, {10, 30}, {1004, 708}},
    };
    for (const Case& c : cases) {
        store.clear();
        SavePlacement(c.left, c.top, c.width, c.height);
        auto frame = Create();
        EXPECT_EQ(frame->pos(), c.pos) << c.name;
        EXPECT_EQ(frame->size(), c.size) << c.name;
    }
}

TEST_F(FrameTest, PlacementAndPreferencesAreWrittenWhenTheWindowGoes) {
    {
        auto frame = Create();
        frame->move(120, 80);
        frame->resize(700, 500);
    }
    EXPECT_EQ(store.readValue(kPlacementKey, "ZELFormSize", "Left"), "120");
    EXPECT_EQ(store.readValue(kPlacementKey, "ZELFormSize", "Top"), "80");
    EXPECT_EQ(store.readValue(kPlacementKey, "ZELFormSize", "Width"), "700");
    EXPECT_EQ(store.readValue(kPlacementKey, "ZELFormSize", "Height"), "500");
    const std::pair<const char*, const char*> values[] = {{"ShowHelp", "1"},   {"SavePos", "0"},
                                                          {"SaveIntPos", "1"}, {"FlatButtons", "1"},
                                                          {"USEPREFERENCESTREE", "1"}};
    for (const auto& [name, text] : values) EXPECT_EQ(store.readValue(kKey, "frmMain", name), text) << name;
    EXPECT_TRUE(store.contains(kKey, "frmMain", "HintHidePause"));
    EXPECT_GE(store.flushCount(), 1u);

    auto again = Create();
    EXPECT_EQ(again->pos(), QPoint(120, 80));
    EXPECT_EQ(again->size(), QSize(700, 500));
}

TEST_F(FrameTest, StoreGroupsFollowTheWindowsKeys) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString file = folder.filePath(QStringLiteral("user.ini"));
    {
        auto qtStore = platform::qt::QtUserStore::onIniFile(file);
        TFrameEnvironment environment{*qtStore, boxes};
        environment.screenGeometry = [] { return QRect(0, 0, 1024, 768); };
        TfrmZELFrame frame(environment, QStringLiteral("frmMain"));
        frame.FormCreate();
    }
    QSettings settings(file, QSettings::IniFormat);
    EXPECT_EQ(settings.value("frmMain/frmMain/ShowHelp").toString(), QStringLiteral("1"));
    EXPECT_EQ(settings.value("frmMain/frmMain/ZELFormSize/Left").toString(), QStringLiteral("10"));
    EXPECT_EQ(settings.value("frmMain/frmMain/ZELFormSize/Height").toString(), QStringLiteral("708"));
    EXPECT_EQ(settings.value("frmMain/FileToolBar").toString(), QStringLiteral("Top,0,0,1"));
}

TEST_F(FrameTest, HintsSwitchIsRememberedAcrossARestart) {
    {
        auto frame = Create();
        auto* button = new QPushButton(QStringLiteral("Save"), frame.get());
        button->setObjectName(QStringLiteral("btnSave"));
        frame->SetHint(button, QStringLiteral("Save File|Click to save learned IR codes"));
        EXPECT_EQ(button->toolTip(), QStringLiteral("Save File"));

        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(button, &enter);
        EXPECT_EQ(frame->StatusPanelText(frame->StatusPanelCount() - 1),
                  QStringLiteral("Click to save learned IR codes      "));

        frame->HintsAction()->trigger();  // the user unticks "H&ints"
        EXPECT_FALSE(frame->HintsOn());
        EXPECT_EQ(frame->StatusPanelText(frame->StatusPanelCount() - 1), QString());
        QCoreApplication::sendEvent(button, &enter);
        EXPECT_EQ(frame->StatusPanelText(frame->StatusPanelCount() - 1), QString()) << "no status bar hint";
        frame->show();
        QHelpEvent tip(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
        QCoreApplication::sendEvent(button, &tip);
        EXPECT_FALSE(QToolTip::isVisible()) << "no tooltip";
        frame->HintsAction()->trigger();
        QCoreApplication::sendEvent(button, &tip);
        EXPECT_TRUE(QToolTip::isVisible());
        EXPECT_EQ(QToolTip::text(), QStringLiteral("Save File"));
        QToolTip::hideText();
        frame->HintsAction()->trigger();
    }
    EXPECT_EQ(store.readValue(kKey, "frmMain", "ShowHelp"), "0");
    auto restarted = Create();
    EXPECT_FALSE(restarted->HintsOn());
    EXPECT_FALSE(restarted->HintsAction()->isChecked());
    restarted->HintsAction()->trigger();
    EXPECT_TRUE(restarted->HintsOn());
}

TEST_F(FrameTest, DocumentCommandsShowExactlyTheMembers) {
    auto frame = Create();
    EXPECT_EQ(frame->FrameMenuItems(), 6943);
    EXPECT_EQ(VisibleItems(frame->FileMenu()->actions()),
              (QStringList{"&New", "&Open", "&Reopen", "&Save", "Save &As", "Pre&view", "&Print", "Printer &Setup",
                           "Pre&ferences", "E&xit"}));
    EXPECT_EQ(VisibleItems(frame->FileToolBar()->actions()),
              (QStringList{"&New", "&Open", "&Reopen", "&Save", "Save &As", "Pre&view", "&Print"}));

    // The main window's own items, then only Preferences of the document commands.
    for (const char* caption : {"IR Wizard", "&Load Button Names", "&Save Button Names"})
        frame->InsertFileMenuAction(new QAction(QString::fromLatin1(caption), frame.get()));
    frame->SetFrameMenuItems(4096);
    EXPECT_EQ(frame->FrameMenuItems(), 4096);
    EXPECT_EQ(VisibleItems(frame->FileMenu()->actions()),
              (QStringList{"IR Wizard", "&Load Button Names", "&Save Button Names", "Pre&ferences", "E&xit"}));
    EXPECT_TRUE(VisibleItems(frame->FileToolBar()->actions()).isEmpty());

    frame->SetFrameMenuItems(6943);
    EXPECT_EQ(VisibleItems(frame->FileToolBar()->actions()).size(), 7);
}

TEST_F(FrameTest, MenusCaptionsAndHints) {
    auto frame = Create();
    EXPECT_EQ(frame->FileMenu()->title(), QStringLiteral("&File"));
    EXPECT_EQ(frame->EditMenu()->title(), QStringLiteral("&Edit"));
    EXPECT_EQ(frame->HelpMenu()->title(), QStringLiteral("&Help"));
    EXPECT_FALSE(frame->WindowsMenu()->menuAction()->isVisible()) << "not a multi-document window";
    EXPECT_EQ(frame->ExitAction()->statusTip(), QStringLiteral("Exit Spectrel?"));
    EXPECT_EQ(frame->PreferencesAction()->statusTip(), QStringLiteral("Open the preferences dialog box"));
    EXPECT_EQ(frame->AboutAction()->text(), QStringLiteral("&About Spectrel"));
    EXPECT_EQ(frame->AboutAction()->statusTip(), QStringLiteral("View file/version details about Spectrel"));
    EXPECT_EQ(frame->WhatsNewAction()->text(), QStringLiteral("&Whats new for \"Spectrel\" version  1.1.0.4"));
    EXPECT_EQ(frame->HintsAction()->statusTip(),
              QStringLiteral("Toggle the hints (little yellow boxes) on or off"));
    EXPECT_EQ(VisibleItems(frame->HelpMenu()->actions()),
              (QStringList{"Help &Contents", "Help &Index", "&Help On Help", "H&ints", "&About Spectrel"}))
        << "what's new is hidden while it has no text";
    frame->SetWhatsNewText({"- Support for Increased capacity of Command data for Vanta 1.1.",
                            "- User interface enhancements.", "- Bug fixes"});
    EXPECT_TRUE(frame->WhatsNewAction()->isVisible());
    frame->WhatsNewAction()->trigger();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text,
              "- Support for Increased capacity of Command data for Vanta 1.1.\r- User interface enhancements.\r"
              "- Bug fixes");
}

class RefusingFrame : public TfrmZELFrame {
public:
    using TfrmZELFrame::TfrmZELFrame;
    bool allow = false;
    int questions = 0;
    int closes = 0;

protected:
    bool FormCloseQuery() override {
        ++questions;
        return allow;
    }
    void FormClose() override { ++closes; }
};

TEST_F(FrameTest, BusyWindowRefusesClosingAndDisablesItsControls) {
    RefusingFrame frame(Environment(), QStringLiteral("frmMain"));
    auto* central = new QWidget(&frame);  // a plain container: not a control of its own
    auto* edit = new QLineEdit(central);
    edit->setObjectName(QStringLiteral("edtName"));
    edit->setEnabled(false);  // disabled at design time
    auto* keep = new QPushButton(central);
    keep->setObjectName(QStringLiteral("btnAbort"));
    keep->setProperty("tag", 99);
    frame.setCentralWidget(central);
    frame.FormCreate();
    frame.allow = true;
    EXPECT_TRUE(edit->isEnabled()) << "creation ends busy mode, which enables every control";

    frame.SetBusy(true);
    EXPECT_TRUE(frame.Busy());
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_TRUE(keep->isEnabled()) << "tag 99 keeps its state";
    EXPECT_FALSE(frame.close());
    EXPECT_EQ(frame.questions, 0) << "a busy window does not ask";
    EXPECT_EQ(frame.closes, 0);

    frame.SetBusy(false);
    EXPECT_TRUE(edit->isEnabled());
    frame.allow = false;
    EXPECT_FALSE(frame.close()) << "the derived window's answer decides";
    EXPECT_EQ(frame.questions, 1);
    EXPECT_EQ(frame.closes, 0);
    frame.allow = true;
    EXPECT_TRUE(frame.close());
    EXPECT_EQ(frame.closes, 1);
}

TEST_F(FrameTest, F1AnywhereOpensTheHelpContents) {
    auto frame = Create();
    auto* central = new QWidget(frame.get());
    auto* edit = new QLineEdit(central);
    edit->setObjectName(QStringLiteral("edtName"));
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(edit);
    frame->setCentralWidget(central);
    frame->show();

    QTest::keyRelease(edit, Qt::Key_F1);
    QTest::keyRelease(frame.get(), Qt::Key_F1);
    QTest::keyRelease(edit, Qt::Key_F2);
    EXPECT_EQ(help, (std::vector<HelpCall>{{THelpCommand::Contents, 0}, {THelpCommand::Contents, 0}}));

    help.clear();
    frame->HelpContentsAction()->trigger();
    frame->HelpIndexAction()->trigger();
    frame->HelpOnHelpAction()->trigger();
    EXPECT_EQ(help, (std::vector<HelpCall>{
                        {THelpCommand::Contents, 0}, {THelpCommand::Index, 0}, {THelpCommand::HelpOnHelp, 0}}));
}

TEST_F(FrameTest, WithoutHelpAnInformationBoxSaysSo) {
    auto frame = Create(false);
    frame->OpenHelp(THelpCommand::Context, 40);
    QTest::keyRelease(frame.get(), Qt::Key_F1);
    ASSERT_EQ(boxes.shown().size(), 2u);
    for (const testing::ShownMessage& shown : boxes.shown()) {
        EXPECT_EQ(shown.kind, platform::MessageKind::Information);
        EXPECT_EQ(shown.text, "No help is installed for Spectrel.");
        EXPECT_EQ(shown.buttons, platform::MessageButtons(platform::MessageButton::Ok));
    }
}

TEST_F(FrameTest, StatusPanelsAreSizedToTheirText) {
    auto frame = Create();
    frame->SetStatusPanelCount(3);
    ASSERT_EQ(frame->StatusPanelCount(), 3);
    QLabel* first = frame->StatusPanel(0);
    const struct {
        const char* text;
        bool red;
    } cases[] = {{"Reader 1.3", false}, {"Cannot Find Reader", false}, {"Modified", true}};
    for (const auto& c : cases) {
        frame->SetStatusPanelText(0, QString::fromLatin1(c.text));
        EXPECT_EQ(frame->StatusPanelText(0), QString::fromLatin1(c.text));
        EXPECT_EQ(first->width(), first->fontMetrics().horizontalAdvance(QString::fromLatin1(c.text)) + 10) << c.text;
        EXPECT_EQ(first->palette().color(QPalette::WindowText) == QColor(Qt::red), c.red) << c.text;
    }
    frame->SetStatusPanelText(1, QString());
    EXPECT_EQ(frame->StatusPanel(1)->width(), 10);

    // The last panel shows the long hint up to its first line break.
    auto* combo = new QPushButton(frame.get());
    frame->SetHint(combo, QStringLiteral("Port|Select COM port from list\rsecond line"));
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(combo, &enter);
    EXPECT_EQ(frame->StatusPanelText(2), QStringLiteral("Select COM port from list      "));
    EXPECT_EQ(frame->StatusPanel(2)->alignment() & Qt::AlignRight, Qt::AlignRight);
    EXPECT_EQ(frame->StatusPanel(2)->palette().color(QPalette::WindowText), QColor(Qt::blue));
    frame->statusBar()->setSizeGripEnabled(false);
    QCoreApplication::sendEvent(combo, &enter);
    EXPECT_EQ(frame->StatusPanelText(2), QStringLiteral("Select COM port from list"));
}

TEST_F(FrameTest, ShellPreferencesGoToTheDialogAndComeBack) {
    auto frame = Create();
    auto* speed = new QToolButton(frame.get());
    speed->setObjectName(QStringLiteral("btnWizard"));
    frame->FileToolBar()->addWidget(speed);
    TShellPreferences first = frame->ShellPreferences();
    EXPECT_EQ(first, (TShellPreferences{true, true, true, false, true, 10000}));

    frame->ApplyShellPreferences({false, false, false, true, false, 3000});
    EXPECT_FALSE(speed->autoRaise()) << "speed buttons no longer flat";
    EXPECT_FALSE(frame->HintsOn());
    EXPECT_FALSE(frame->HintsAction()->isChecked());
    EXPECT_EQ(speed->toolTipDuration(), 3000);
    EXPECT_EQ(frame->ShellPreferences(), (TShellPreferences{false, false, false, true, false, 3000}));
    frame.reset();
    EXPECT_EQ(store.readValue(kKey, "frmMain", "FlatButtons"), "0");
    EXPECT_EQ(store.readValue(kKey, "frmMain", "SaveIntPos"), "0");
    EXPECT_EQ(store.readValue(kKey, "frmMain", "ShowHelp"), "0");
    EXPECT_EQ(store.readValue(kKey, "frmMain", "SavePos"), "1");
    EXPECT_EQ(store.readValue(kKey, "frmMain", "USEPREFERENCESTREE"), "0");
    EXPECT_EQ(store.readValue(kKey, "frmMain", "HintHidePause"), "3000");
    EXPECT_FALSE(store.contains("Software\\Halvren Didaziravu Systems\\Spectrel", "frmMain", "FileToolBar"))
        << "no toolbar layout without SaveIntPos";

    auto again = Create();
    EXPECT_EQ(again->ShellPreferences(), (TShellPreferences{false, false, false, true, false, 3000}));
}

TEST_F(FrameTest, ToolbarLayoutIsSavedAndRestored) {
    const char* root = "Software\\Halvren Didaziravu Systems\\Spectrel";
    store.writeValue(root, "frmMain", "ButtonToolBar", "Left,0,0,0");
    store.writeValue(root, "frmMain", "OtherToolBar", "Top,0,0,1");  // the top dock takes only the file toolbar
    auto frame = std::make_unique<TfrmZELFrame>(Environment(), QStringLiteral("frmMain"));
    auto* buttons = new QToolBar(QStringLiteral("Buttons"), frame.get());
    buttons->setObjectName(QStringLiteral("ButtonToolBar"));
    frame->addToolBar(Qt::BottomToolBarArea, buttons);
    auto* other = new QToolBar(QStringLiteral("Other"), frame.get());
    other->setObjectName(QStringLiteral("OtherToolBar"));
    frame->addToolBar(Qt::BottomToolBarArea, other);
    frame->FormCreate();
    EXPECT_EQ(frame->toolBarArea(buttons), Qt::LeftToolBarArea);
    EXPECT_TRUE(buttons->isHidden());
    EXPECT_EQ(frame->toolBarArea(other), Qt::BottomToolBarArea);
    EXPECT_FALSE(other->isAreaAllowed(Qt::TopToolBarArea));
    EXPECT_TRUE(frame->FileToolBar()->isAreaAllowed(Qt::TopToolBarArea));

    // The user shows the button toolbar again and moves the other one to the right.
    buttons->show();
    frame->addToolBar(Qt::RightToolBarArea, other);
    frame.reset();
    EXPECT_EQ(store.readValue(root, "frmMain", "FileToolBar"), "Top,0,0,1");
    EXPECT_EQ(store.readValue(root, "frmMain", "ButtonToolBar"), "Left,0,0,1");
    EXPECT_EQ(store.readValue(root, "frmMain", "OtherToolBar"), "Right,0,0,1");

    auto again = Create();
    // Toolbars are matched by name; a window without them leaves the entries alone.
    EXPECT_EQ(again->toolBarArea(again->FileToolBar()), Qt::TopToolBarArea);
}

}  // namespace
}  // namespace spectrel::shell
