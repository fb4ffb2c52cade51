// The main window's own dialogs headless: the preferences dialog applied on OK and discarded on Cancel, its
// template prompts in the restricted text dialog, and the IR wizard from the toolbar and the File menu: its save
// page saving through the window's own save command, its Add and Edit in the Edit Button dialog, the help of its
// pages, and a whole run on the virtual reader that saves a device file.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QXmlStreamReader>
#include <functional>
#include <memory>

#include "Code/IRPrefrences.h"
#include "Code/KOR_frmButtonCodeEdit.h"
#include "Code/SPX_Data_ButtonCodes.h"
#include "Code/SPX_Main.h"
#include "Code/SPX_Main_WizardHost.h"
#include "Code/SPX_SaveDevice.h"
#include "Code/SPX_wizard2.h"
#include "Code/fRestrictedEdit.h"
#include "Code/uKOR_IniObject.h"
#include "shell/ZELHelpWindow.h"
#include "shell/ZELfrmButtons.h"
#include "testing/FakeSerialPort.h"
#include "testing/MemoryUserStore.h"
#include "testing/ScriptedFileDialogs.h"
#include "testing/ScriptedInputBox.h"
#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"
#include "virtualboard/BoardEngine.h"
#include "virtualboard/Generators.h"
#include "virtualboard/VirtualPortList.h"
#include "virtualboard/VirtualSerialPort.h"

namespace spectrel {
namespace {

namespace vb = virtualboard;
using platform::MessageButton;

// The shown modal window of type T, if any.
template <typename T>
T* ShownWindow() {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* shown = qobject_cast<T*>(top); shown != nullptr && shown->isVisible()) return shown;
    }
    return nullptr;
}

template <typename T>
T* Child(const QWidget& parent, const char* name) {
    T* found = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

void ClickButton(const QWidget& parent, const char* name) {
    auto* button = Child<QAbstractButton>(parent, name);
    ASSERT_NE(button, nullptr) << name;
    ASSERT_TRUE(button->isEnabled()) << name;
    QTest::mouseClick(button, Qt::LeftButton);
}

void ClickListRow(QListWidget* list, int row) {
    ASSERT_NE(list, nullptr);
    ASSERT_LT(row, list->count());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

// Clicks a row as the window system delivers the click, so that a window blocked by a modal one ignores it.
void ClickListRowThroughItsWindow(QListWidget* list, int row) {
    ASSERT_NE(list, nullptr);
    ASSERT_LT(row, list->count());
    QWidget* window = list->window();
    ASSERT_NE(window->windowHandle(), nullptr);
    const QPoint inWindow = list->viewport()->mapTo(window, list->visualItemRect(list->item(row)).center());
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, inWindow);
}

std::vector<std::string> ListTexts(const QListWidget* list) {
    std::vector<std::string> texts;
    for (int i = 0; i < list->count(); ++i) texts.push_back(list->item(i)->text().toStdString());
    return texts;
}

std::string WizardPage(const QWidget& wizard) {
    return Child<QStackedWidget>(wizard, "kWizard")->currentWidget()->objectName().toStdString();
}

// Next until the wizard shows `page`.
void NextUntil(const QWidget& wizard, const char* page) {
    for (int i = 0; i < 8 && WizardPage(wizard) != page; ++i) ClickButton(wizard, "btnNext");
    ASSERT_EQ(WizardPage(wizard), page);
}

// The last row of the save page's summary.
std::pair<std::string, std::string> LastSummaryRow(const QWidget& wizard) {
    auto* summary = Child<QTableWidget>(wizard, "grdSummary");
    const int last = summary->rowCount() - 1;
    return {summary->item(last, 0)->text().toStdString(), summary->item(last, 1)->text().toStdString()};
}

// Clicks a check box on its indicator (a box stretched by its layout takes clicks only there).
void ClickBox(QAbstractButton* box) {
    ASSERT_NE(box, nullptr);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
}

class MainWindowDialogsTest : public ::testing::Test {
protected:
    // The whole wizard run plays a user who accepts every box; the dialogue itself is checked elsewhere.
    MainWindowDialogsTest() {
        realPorts.setPortNames({"COM7"});
        boxes.setStrict(false);
    }
    ~MainWindowDialogsTest() override {
        if (window) window->setAttribute(Qt::WA_DeleteOnClose, false);
        window.reset();
    }

    std::string Folder() const { return folder.path().toStdString() + "/"; }

    // The window made, shown and connected to the virtual reader.
    void Open() {
        TMainWindowContext context{ports, clock, clock, boxes, input, store, Folder(), Folder()};
        context.fileDialogs = &fileDialogs;
        context.openHelp = [this](shell::THelpCommand command, int helpContext) { help.Open(command, helpContext); };
        context.virtualIfNoPort = true;
        context.screenGeometry = [] { return QRect(0, 0, 1280, 1024); };
        window = std::make_unique<TfrmMain>(context);
        window->show();
        window->FormActivate();
        ASSERT_TRUE(window->Connected());
    }

    template <typename T>
    T* Find(const char* name) const {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QAction* Action(const char* name) const { return Find<QAction>(name); }

    // Triggers `action` and runs `drive` on the modal window of type T once it shows. False when none showed.
    template <typename T>
    bool WhileShown(const char* action, const std::function<void(T&)>& drive) {
        bool shown = false;
        QTimer::singleShot(0, window.get(), [&] {
            T* dialog = ShownWindow<T>();
            if (dialog == nullptr) return;
            shown = true;
            drive(*dialog);
        });
        EXPECT_TRUE(Action(action)->isEnabled()) << action;
        Action(action)->trigger();
        return shown;
    }

    // Runs `drive` on the modal window of type T that the next step opens; `shown` tells whether one opened.
    template <typename T>
    void WhenModal(bool& shown, std::function<void(T&)> drive) {
        shown = false;
        QTimer::singleShot(0, window.get(), [&shown, drive = std::move(drive)] {
            auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
            if (dialog == nullptr) return;
            shown = true;
            drive(*dialog);
        });
    }

    // The main window's details complete, so that the wizard's details page lets the user on.
    void FillDetails() {
        Find<QComboBox>("ComboxDeviceType")->setCurrentIndex(1);
        Find<QComboBox>("ComboxDeviceBrand")->setEditText("Halvren");
        Find<QLineEdit>("EditDeviceModel")->setText("Hub 2");
        Find<QComboBox>("ComboxRCBrand")->setEditText("Halvren");
        Find<QLineEdit>("EditRCModel")->setText("HR-8");
    }

    // The window opened on the shipped settings file (with its standard protocols), its details complete, the
    // first standard protocol current and these buttons, the first `coded` of them with a code.
    void OpenWithStandardProtocol(const std::vector<std::string>& names, int coded) {
        QFile::remove(QString::fromStdString(Folder() + "SPX.ini"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(SPECTREL_SOURCE_DIR) + "/data/SPX.ini",
                                QString::fromStdString(Folder() + "SPX.ini")));
        Open();
        FillDetails();
        TWorkspace& w = window->Workspace();
        ASSERT_GT(w.standards.count, 0);
        CopyStandardProtocol(w.standards, 0, w.current);
        ASSERT_TRUE(w.current.valid);
        w.buttons.Clear();
        for (std::size_t i = 0; i < names.size(); ++i) {
            auto button = std::make_unique<TButtonCode>(w.buttons.Bus());
            button->SetName(names[i]);
            if (static_cast<int>(i) < coded) button->SetCode("AbAbAbAbB" + std::to_string(i));
            w.buttons.AddButton(std::move(button));
        }
        window->RefreshButtonGrid();
        window->UpdateCommandStates(true);
    }

    void PressNec(std::uint8_t key) { board.queuePress({vb::necSignal(0, key), 250'000}); }

    QTemporaryDir folder;
    testing::SimulatedClock clock;
    testing::FakeSerialPort realPorts{clock};
    vb::BoardEngine board;
    vb::VirtualSerialPortProvider virtualPorts{board, [this] { return static_cast<double>(clock.nowUs()); }};
    vb::VirtualPortList ports{realPorts, virtualPorts};
    testing::ScriptedMessageBoxes boxes;
    testing::ScriptedInputBox input;
    testing::ScriptedFileDialogs fileDialogs;
    testing::MemoryUserStore store;
    shell::TZELHelpWindow help{QStringLiteral(SPECTREL_SOURCE_DIR) + "/data/help"};
    std::unique_ptr<TfrmMain> window;
};

// --- the preferences

TEST_F(MainWindowDialogsTest, PreferencesOkAppliesAndCancelDiscards) {
    struct Case {
        const char* name;
        bool ok;
        bool allowProtocolEdit;  // afterwards
        bool optionsMenuShown;
    };
    const Case cases[] = {{"Cancel", false, false, false}, {"OK", true, true, true}};
    for (const Case& c : cases) {
        store.writeValue(SpectrelKeyPath(), "AdvancedOptions", "AllowProtocolEdit", "0");
        store.writeValue(SpectrelKeyPath(), "AdvancedOptions", "AllowDecodingParmeterEdit", "0");
        Open();
        window->SetHintsOn(true);  // the Cancel case leaves them off in the store
        ASSERT_TRUE(window->HintsOn());
        ASSERT_FALSE(window->Workspace().Options().AllowProtocolEdit);
        ASSERT_FALSE(Action("EditIRprotocol1")->isVisible());
        bool hintsWhileShown = true;
        const bool shown = WhileShown<TfrmIRPrefrences>("mnuPreferences", [&](TfrmIRPrefrences& dialog) {
            ClickBox(dialog.findChild<QAbstractButton*>("chkShowHints"));
            hintsWhileShown = window->HintsOn();
            ClickBox(dialog.findChild<QAbstractButton*>("chkAllowProtocolEdit"));
            QAbstractButton* close = c.ok ? dialog.Buttons()->OKButton() : dialog.Buttons()->CancelButton();
            QTest::mouseClick(close, Qt::LeftButton);
        });
        ASSERT_TRUE(shown) << c.name;
        // The hints switch at once, and Cancel leaves them switched.
        EXPECT_FALSE(hintsWhileShown) << c.name;
        EXPECT_FALSE(window->HintsOn()) << c.name;
        EXPECT_FALSE(window->ShellPreferences().showHelp) << c.name;
        EXPECT_EQ(window->Workspace().Options().AllowProtocolEdit, c.allowProtocolEdit) << c.name;
        EXPECT_EQ(Action("EditIRprotocol1")->isVisible(), c.allowProtocolEdit) << c.name;
        EXPECT_EQ(Find<QMenu>("mnuOptions")->menuAction()->isVisible(), c.optionsMenuShown) << c.name;
        EXPECT_EQ(ShownWindow<TfrmIRPrefrences>(), nullptr) << c.name;
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window.reset();
    }
}

TEST_F(MainWindowDialogsTest, PreferencesTemplatesComeBackOnOk) {
    Open();
    const int before = window->Workspace().templates.Count();
    const bool shown = WhileShown<TfrmIRPrefrences>("mnuPreferences", [&](TfrmIRPrefrences& dialog) {
        dialog.findChild<QListWidget*>("lbTemplateNames")->setCurrentRow(0);
        bool asked = false;
        WhenModal<TfrmRestictedEdit>(asked, [](TfrmRestictedEdit& edit) {
            QTest::keyClicks(Child<QLineEdit>(edit, "edtButton"), "Projector");
            ClickButton(edit, "btnOK");
        });
        QTest::mouseClick(dialog.findChild<QAbstractButton*>("btnAddName"), Qt::LeftButton);
        EXPECT_TRUE(asked);
        QTest::mouseClick(dialog.Buttons()->OKButton(), Qt::LeftButton);
    });
    ASSERT_TRUE(shown);
    const TButtonTemplates& templates = window->Workspace().templates;
    ASSERT_EQ(templates.Count(), before + 1);
    bool found = false;
    for (int i = 0; i < templates.Count(); ++i) found = found || templates.TemplateName(i) == "Projector";
    EXPECT_TRUE(found);
}

TEST_F(MainWindowDialogsTest, PreferencesTemplatePromptsTakeOnlyTheCharactersOfATemplateName) {
    // Letters, digits, blank, "-" and "+" are typed; anything else beeps and is dropped.
    struct Prompt {
        const char* command;
        const char* prompt;
        const char* typed;
        const char* kept;
        int beeps;
    };
    const Prompt prompts[] = {{"btnAddName", "Template Name", "TV_2.+ -x", "TV2+ -x", 2},
                              {"btnAddItem", "Template Item", "Vol.Up_1/!", "VolUp1", 4}};
    Open();
    std::vector<std::string> names;
    std::vector<std::string> items;
    const bool shown = WhileShown<TfrmIRPrefrences>("mnuPreferences", [&](TfrmIRPrefrences& dialog) {
        dialog.findChild<QListWidget*>("lbTemplateNames")->setCurrentRow(0);
        for (const Prompt& p : prompts) {
            bool asked = false;
            std::string caption;
            std::string prompt;
            std::string text;
            int beeps = 0;
            WhenModal<TfrmRestictedEdit>(asked, [&](TfrmRestictedEdit& edit) {
                edit.SetBeep([&beeps] { ++beeps; });
                caption = edit.windowTitle().toStdString();
                prompt = Child<QLabel>(edit, "lblPrompt")->text().toStdString();
                QLineEdit* field = Child<QLineEdit>(edit, "edtButton");
                QTest::keyClicks(field, QString::fromUtf8(p.typed));
                text = field->text().toStdString();
                ClickButton(edit, "btnOK");
            });
            ClickButton(dialog, p.command);
            ASSERT_TRUE(asked) << p.command;
            EXPECT_EQ(caption, "Spectrel") << p.command;
            EXPECT_EQ(prompt, p.prompt) << p.command;
            EXPECT_EQ(text, p.kept) << p.command;
            EXPECT_EQ(beeps, p.beeps) << p.command;
        }
        names = ListTexts(dialog.findChild<QListWidget*>("lbTemplateNames"));
        items = ListTexts(dialog.findChild<QListWidget*>("lbTemplateItems"));
        QTest::mouseClick(dialog.Buttons()->OKButton(), Qt::LeftButton);
    });
    ASSERT_TRUE(shown);
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(names.front(), "TV2+ -x");
    EXPECT_EQ(items, (std::vector<std::string>{"VolUp1"}));
    const TButtonTemplates& templates = window->Workspace().templates;
    ASSERT_GT(templates.Count(), 0);
    EXPECT_EQ(templates.Strings(0), TButtonTemplates::MakeTemplateLine("TV2+ -x", {"VolUp1"}));
}

TEST_F(MainWindowDialogsTest, PreferencesHelpOpensTheHelpContents) {
    Open();
    std::string page;
    std::string pageAfterClick;
    const bool shown = WhileShown<TfrmIRPrefrences>("mnuPreferences", [&](TfrmIRPrefrences& dialog) {
        QTest::mouseClick(dialog.Buttons()->HelpButton(), Qt::LeftButton);
        page = help.CurrentPage().toStdString();
        // The help takes clicks while the dialog is open.
        ClickListRowThroughItsWindow(help.findChild<QListWidget*>("lbxHelpContents"), 1);
        pageAfterClick = help.CurrentPage().toStdString();
        QTest::mouseClick(dialog.Buttons()->CancelButton(), Qt::LeftButton);
    });
    ASSERT_TRUE(shown);
    EXPECT_TRUE(help.isVisible());
    EXPECT_EQ(page, "index.html");
    EXPECT_EQ(pageAfterClick, "connecting.html");
}

// --- the wizard

TEST_F(MainWindowDialogsTest, TheWizardOpensFromTheToolbarAndTheMenu) {
    Open();
    for (const char* command : {"btnWizard", "mnuIRWizard"}) {
        std::string title;
        const bool shown = WhileShown<TfrmIRWizard>(command, [&](TfrmIRWizard& wizard) {
            title = wizard.windowTitle().toStdString();
            wizard.close();
        });
        EXPECT_TRUE(shown) << command;
        EXPECT_EQ(title, "Spectrel Wizard") << command;
        // Released once closed.
        EXPECT_EQ(window->findChild<TfrmIRWizard*>(), nullptr) << command;
        EXPECT_TRUE(boxes.texts().empty()) << command << ::testing::PrintToString(boxes.texts());
    }
}

TEST_F(MainWindowDialogsTest, AWholeWizardRunOnTheVirtualReaderSavesTheDeviceFile) {
    Open();
    const std::string fileName = Folder() + "hub.xml";
    fileDialogs.choose(fileName);
    std::vector<std::string> pages;
    const bool shown = WhileShown<TfrmIRWizard>("btnWizard", [&](TfrmIRWizard& wizard) {
        auto find = [&]<typename T>(const char* name) { return wizard.findChild<T*>(QString::fromLatin1(name)); };
        auto click = [&](const char* name) {
            QPushButton* button = find.operator()<QPushButton>(name);
            ASSERT_NE(button, nullptr) << name;
            ASSERT_TRUE(button->isEnabled()) << name;
            QTest::mouseClick(button, Qt::LeftButton);
        };
        auto page = [&] {
            pages.push_back(find.operator()<QStackedWidget>("kWizard")->currentWidget()->objectName().toStdString());
        };
        click("btnNext");
        find.operator()<QComboBox>("ComboxDeviceType")->setCurrentIndex(1);
        QTest::keyClicks(find.operator()<QComboBox>("ComboxDeviceBrand"), "Halvren");
        QTest::keyClicks(find.operator()<QLineEdit>("EditDeviceModel"), "Hub 2");
        QTest::keyClicks(find.operator()<QComboBox>("ComboxRCBrand"), "halvren");
        QTest::keyClicks(find.operator()<QLineEdit>("EditRCModel"), "HR-8");
        find.operator()<QPlainTextEdit>("MemoDeviceNotes")->setPlainText("Living room\n\nby the window");
        click("btnNext");
        page();
        click("btnNext");
        page();
        // The prompts ask for one key twice and another once.
        PressNec(0x45);
        PressNec(0x45);
        PressNec(0x46);
        click("btnLearn");
        click("btnNext");
        page();
        QListWidget* templates = find.operator()<QListWidget>("lbxTemplates");
        const QList<QListWidgetItem*> homeAuto = templates->findItems("HomeAuto", Qt::MatchExactly);
        ASSERT_EQ(homeAuto.size(), 1);
        QTest::mouseClick(templates->viewport(), Qt::LeftButton, {}, templates->visualItemRect(homeAuto[0]).center());
        click("btnNext");
        page();
        for (std::uint8_t key = 0x10; key < 0x18; ++key) PressNec(key);
        click("btnLearnAll");
        click("btnNext");
        page();
        click("btnSave");
        QTableWidget* summary = find.operator()<QTableWidget>("grdSummary");
        const int last = summary->rowCount() - 1;
        EXPECT_EQ(summary->item(last, 0)->text(), "Filename");
        EXPECT_EQ(summary->item(last, 1)->text().toStdString(), fileName);
        click("btnFinish");
    });
    ASSERT_TRUE(shown);
    EXPECT_EQ(pages, (std::vector<std::string>{"kwpProtocolSelect", "kwpExploreIR", "kwpGetButtons", "pageLearnButtons",
                                               "kwpSaveToFile"}));
    EXPECT_EQ(ShownWindow<TfrmIRWizard>(), nullptr);

    // The main window holds what the wizard did.
    const TWorkspace& w = window->Workspace();
    ASSERT_TRUE(w.current.valid);
    EXPECT_EQ(w.current.name, "HalvrenHr-8");
    EXPECT_EQ(Find<QLineEdit>("eProtocolName")->text(), "HalvrenHr-8");
    EXPECT_EQ(Find<QLineEdit>("EditRCModel")->text(), "HR-8");
    EXPECT_EQ(Find<QLineEdit>("EditDeviceModel")->text(), "Hub 2");
    EXPECT_EQ(Find<QPlainTextEdit>("MemoDeviceNotes")->toPlainText(), "Living room\n\nby the window");
    ASSERT_EQ(w.buttons.Count(), 8);
    EXPECT_TRUE(w.buttons.AllHaveCodes());
    EXPECT_EQ(window->DeviceFileSaver().FileName(), fileName);

    QFile file(QString::fromStdString(fileName));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader reader(&file);
    QSet<QString> codes;
    QStringList names;
    QStringList comments;
    QString element;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::StartElement) element = reader.name().toString();
        if (token == QXmlStreamReader::Comment) comments << reader.text().toString().trimmed();
        if (token == QXmlStreamReader::Characters && !reader.isWhitespace()) {
            if (element == "IRcode") codes.insert(reader.text().toString().trimmed());
            if (element == "Name") names << reader.text().toString().trimmed();
        }
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    EXPECT_TRUE(names.contains("HalvrenHr-8"));
    EXPECT_TRUE(names.contains("Hub 2"));
    // The non-empty note lines, one comment each, after the comment that says when the file was made.
    ASSERT_GE(comments.size(), 3);
    EXPECT_EQ(comments[1], "Living room");
    EXPECT_EQ(comments[2], "by the window");
    EXPECT_FALSE(comments.contains(""));
    for (int i = 0; i < w.buttons.Count(); ++i) {
        const TButtonCode& button = w.buttons.Items(i);
        EXPECT_TRUE(names.contains(QString::fromStdString(button.Name()))) << button.Name();
        EXPECT_TRUE(codes.contains(QString::fromStdString(button.Code()))) << button.Name() << " " << button.Code();
    }
}

TEST_F(MainWindowDialogsTest, TheWizardsSaveIsTheMainWindowsSave) {
    OpenWithStandardProtocol({"Power", "Mute", "Vol+"}, 2);
    ASSERT_FALSE(HasFatalFailure());
    boxes.setStrict(true);
    const std::string saved = Folder() + "den.xml";
    const std::string partial =
        "Not all buttons have an IR code recorded. Buttons without an \r\nIR code will not be saved.\r\n\r\n"
        "Do you want to continue to save?";
    const std::string rewrite = "File name \"" + saved + "\" already exists. Rewrite?";
    fileDialogs.choose(Folder() + "den");  // no extension: ".xml" is added
    fileDialogs.choose(saved);
    fileDialogs.cancel();
    boxes.script({MessageButton::Yes, MessageButton::Yes, MessageButton::Yes, MessageButton::Yes});
    std::pair<std::string, std::string> afterFirst;
    std::pair<std::string, std::string> afterSecond;
    std::pair<std::string, std::string> afterCancelled;
    const bool shown = WhileShown<TfrmIRWizard>("btnWizard", [&](TfrmIRWizard& wizard) {
        NextUntil(wizard, "kwpSaveToFile");
        ClickButton(wizard, "btnSave");
        afterFirst = LastSummaryRow(wizard);
        ClickButton(wizard, "btnSave");
        afterSecond = LastSummaryRow(wizard);
        ClickButton(wizard, "btnSave");
        afterCancelled = LastSummaryRow(wizard);
        ClickButton(wizard, "btnFinish");
    });
    ASSERT_TRUE(shown);
    EXPECT_EQ(boxes.texts(), (std::vector<std::string>{partial, partial, rewrite, partial}));
    EXPECT_EQ(afterFirst, (std::pair<std::string, std::string>{"Filename", saved}));
    EXPECT_EQ(afterSecond, afterFirst);
    // A cancelled save dialog still names the file chosen before.
    EXPECT_EQ(afterCancelled, afterFirst);

    // The main window's save dialog: it starts in the import folder and then offers the file last saved.
    ASSERT_EQ(fileDialogs.shown().size(), 3u);
    EXPECT_EQ(fileDialogs.shown()[0].request.title, "Save IR Code");
    EXPECT_EQ(fileDialogs.shown()[0].request.initialFolder,
              QDir::homePath().toStdString() + "/Halvren/Vanta/ImportDataIn");
    EXPECT_EQ(fileDialogs.shown()[1].request.fileName, saved);
    EXPECT_EQ(fileDialogs.shown()[2].request.fileName, saved);
    EXPECT_EQ(window->DeviceFileSaver().FileName(), saved);
    // The second save kept the first file as the backup.
    EXPECT_TRUE(QFile::exists(QString::fromStdString(Folder() + "den.~xml")));

    QFile file(QString::fromStdString(saved));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader reader(&file);
    QStringList names;
    QString element;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::StartElement) element = reader.name().toString();
        if (token == QXmlStreamReader::Characters && !reader.isWhitespace() && element == "Name")
            names << reader.text().toString().trimmed();
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    EXPECT_TRUE(names.contains("Power"));
    EXPECT_TRUE(names.contains("Mute"));
    // Buttons without a code are not saved.
    EXPECT_FALSE(names.contains("Vol+"));

    // The main window's own "Save" goes on from the same file name.
    fileDialogs.cancel();
    boxes.script({MessageButton::Yes});
    Action("btnSave")->trigger();
    ASSERT_EQ(fileDialogs.shown().size(), 4u);
    EXPECT_EQ(fileDialogs.shown()[3].request.fileName, saved);
}

TEST_F(MainWindowDialogsTest, TheWizardsSaveRefusesAndCancelsAsTheMainWindowsSave) {
    struct Case {
        const char* name;
        std::vector<std::string> buttons;
        int coded;
        std::vector<MessageButton> answers;
        bool cancelDialog;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {"no code", {"Power", "Mute"}, 0, {}, false, {"You must record the IR code for at least one button."}},
        {"repeated name",
         {"Power", "Mute", "POWER"},
         3,
         {},
         false,
         {"All buttons must have a unique names. The button name \"POWER\" is repeated."}},
        {"partial save refused",
         {"Power", "Mute"},
         1,
         {MessageButton::No},
         false,
         {"Not all buttons have an IR code recorded. Buttons without an \r\nIR code will not be saved.\r\n\r\n"
          "Do you want to continue to save?"}},
        {"save dialog cancelled", {"Power"}, 1, {}, true, {}},
    };
    for (const Case& c : cases) {
        boxes.setStrict(false);
        OpenWithStandardProtocol(c.buttons, c.coded);
        ASSERT_FALSE(HasFatalFailure()) << c.name;
        boxes.clear();
        boxes.setStrict(true);
        for (MessageButton answer : c.answers) boxes.push(answer);
        if (c.cancelDialog) fileDialogs.cancel();
        const std::size_t dialogsBefore = fileDialogs.shown().size();
        std::pair<std::string, std::string> last;
        const bool shown = WhileShown<TfrmIRWizard>("btnWizard", [&](TfrmIRWizard& wizard) {
            NextUntil(wizard, "kwpSaveToFile");
            ClickButton(wizard, "btnSave");
            last = LastSummaryRow(wizard);
            ClickButton(wizard, "btnFinish");
        });
        ASSERT_TRUE(shown) << c.name;
        EXPECT_EQ(boxes.texts(), c.texts) << c.name;
        EXPECT_EQ(fileDialogs.shown().size() - dialogsBefore, c.cancelDialog ? 1u : 0u) << c.name;
        // The summary names the save dialog's file name, none yet.
        EXPECT_EQ(last, (std::pair<std::string, std::string>{"Filename", ""})) << c.name;
        EXPECT_TRUE(QDir(folder.path()).entryList({"*.xml"}, QDir::Files).isEmpty()) << c.name;
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window.reset();
    }
}

TEST_F(MainWindowDialogsTest, TheWizardsAddAndEditUseTheEditButtonDialog) {
    OpenWithStandardProtocol({"Power"}, 1);
    ASSERT_FALSE(HasFatalFailure());
    const TbuttonCodes& buttons = window->Workspace().buttons;
    // Types `name` into the Edit Button dialog and saves it, or cancels; `offered` receives the name it showed.
    auto editIn = [](std::string& offered, const char* name, bool save) {
        return [&offered, name, save](TfrmButtonCodeEdit& dialog) {
            QLineEdit* field = Child<QLineEdit>(dialog, "eButtonName");
            offered = field->text().toStdString();
            field->clear();
            QTest::keyClicks(field, QString::fromLatin1(name));
            ClickButton(dialog, save ? "btnSave" : "btnCancel");
        };
    };
    struct Step {
        const char* page;
        const char* command;
        int row;  // the entry of the button list, or the row of the learn grid, selected first; -1: none
        const char* typed;
        bool save;
        const char* offered;
        std::vector<std::string> namesAfter;
    };
    const Step steps[] = {
        {"kwpGetButtons", "btnAddButton", -1, "Mute", true, "New Button", {"Power", "Mute"}},
        {"kwpGetButtons", "btnAddButton", -1, "Vol+", false, "New Button", {"Power", "Mute"}},
        {"kwpGetButtons", "btnEditButton", 0, "Power On", true, "Power", {"Power On", "Mute"}},
        {"kwpGetButtons", "btnEditButton", 1, "Quiet", false, "Mute", {"Power On", "Mute"}},
        {"pageLearnButtons", "btnGridEdit", 1, "Mute 2", true, "Mute", {"Power On", "Mute 2"}},
        {"pageLearnButtons", "btnGridAdd", -1, "Eject", true, "New Button", {"Power On", "Mute 2", "Eject"}},
    };
    const bool shown = WhileShown<TfrmIRWizard>("btnWizard", [&](TfrmIRWizard& wizard) {
        for (const Step& step : steps) {
            NextUntil(wizard, step.page);
            if (step.row >= 0 && std::string(step.page) == "kwpGetButtons")
                ClickListRow(Child<QListWidget>(wizard, "lbxButtons"), step.row);
            if (step.row >= 0 && std::string(step.page) == "pageLearnButtons") {
                auto* grid = Child<QTableWidget>(wizard, "grdLearn");
                QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                                  grid->visualItemRect(grid->item(step.row, 0)).center());
            }
            bool asked = false;
            std::string offered;
            WhenModal<TfrmButtonCodeEdit>(asked, editIn(offered, step.typed, step.save));
            ClickButton(wizard, step.command);
            EXPECT_TRUE(asked) << step.command << " " << step.typed;
            EXPECT_EQ(offered, step.offered) << step.command << " " << step.typed;
            std::vector<std::string> names;
            for (int i = 0; i < buttons.Count(); ++i) names.push_back(buttons.Items(i).Name());
            EXPECT_EQ(names, step.namesAfter) << step.command << " " << step.typed;
            if (std::string(step.page) == "kwpGetButtons") {
                EXPECT_EQ(ListTexts(Child<QListWidget>(wizard, "lbxButtons")), step.namesAfter) << step.typed;
            }
        }
        ClickButton(wizard, "btnFinish");
    });
    ASSERT_TRUE(shown);
    // The button list of the main window shows them too; the edited button kept its code.
    auto* grid = Find<QAbstractItemView>("ButtonGrid");
    ASSERT_EQ(grid->model()->rowCount(), 3);
    EXPECT_EQ(grid->model()->index(1, 0).data().toString(), "Mute 2");
    EXPECT_TRUE(buttons.Items(0).HasCode());
}

TEST_F(MainWindowDialogsTest, TheWizardsHelpOpensThePageOfEachPage) {
    OpenWithStandardProtocol({"Power"}, 1);
    ASSERT_FALSE(HasFatalFailure());
    struct PageHelp {
        const char* page;
        const char* helpPage;  // empty: the page has no help
    };
    const PageHelp pages[] = {
        {"KWizardWelcomePage", "wizard_welcome.html"},
        {"kWizardInfo", "wizard_details.html"},
        {"kwpProtocolSelect", ""},
        {"kwpExploreIR", "wizard_learn_protocol.html"},
        {"kwpGetStandardProtocol", ""},
        {"kwpGetButtons", "wizard_buttons.html"},
        {"pageLearnButtons", "wizard_learn_buttons.html"},
        {"kwpSaveToFile", "wizard_save.html"},
    };
    std::vector<std::string> opened;
    std::string afterClick;
    const bool shown = WhileShown<TfrmIRWizard>("btnWizard", [&](TfrmIRWizard& wizard) {
        for (const PageHelp& p : pages) {
            if (std::string(p.page) == "kwpExploreIR") Child<QRadioButton>(wizard, "rbLearnProtocol")->click();
            if (std::string(p.page) == "kwpGetStandardProtocol") {
                ClickButton(wizard, "btnBack");  // back to the protocol choice
                Child<QRadioButton>(wizard, "rbStandardProtocol")->click();
            }
            NextUntil(wizard, p.page);
            auto* helpButton = Child<QPushButton>(wizard, "btnHelp");
            if (*p.helpPage == '\0') {
                EXPECT_FALSE(helpButton->isVisible()) << p.page;
                continue;
            }
            help.hide();
            ClickButton(wizard, "btnHelp");
            EXPECT_TRUE(help.isVisible()) << p.page;
            opened.push_back(help.CurrentPage().toStdString());
            EXPECT_EQ(opened.back(), p.helpPage) << p.page;
        }
        // The help takes clicks while the wizard is open.
        ClickListRowThroughItsWindow(help.findChild<QListWidget*>("lbxHelpContents"), 1);
        afterClick = help.CurrentPage().toStdString();
        ClickButton(wizard, "btnFinish");
    });
    ASSERT_TRUE(shown);
    EXPECT_EQ(opened.size(), 6u);
    EXPECT_EQ(afterClick, "connecting.html");
}

}  // namespace
}  // namespace spectrel
