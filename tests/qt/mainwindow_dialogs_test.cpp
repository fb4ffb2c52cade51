// The main window's own dialogs headless: the preferences dialog applied on OK and discarded on Cancel, and the
// IR wizard from the toolbar and the File menu, with a whole run on the virtual reader that saves a device file.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
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
#include "Code/SPX_Main.h"
#include "Code/SPX_Main_WizardHost.h"
#include "Code/SPX_wizard2.h"
#include "Code/uKOR_IniObject.h"
#include "shell/ZELfrmButtons.h"
#include "testing/FakeSerialPort.h"
#include "testing/MemoryUserStore.h"
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

// The shown modal window of type T, if any.
template <typename T>
T* ShownWindow() {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* shown = qobject_cast<T*>(top); shown != nullptr && shown->isVisible()) return shown;
    }
    return nullptr;
}

// Clicks a check box on its indicator (a box stretched by its layout takes clicks only there).
void ClickBox(QAbstractButton* box) {
    ASSERT_NE(box, nullptr);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
}

class MainWindowDialogsTest : public ::testing::Test {
protected:
    MainWindowDialogsTest() { realPorts.setPortNames({"COM7"}); }
    ~MainWindowDialogsTest() override {
        if (window) window->setAttribute(Qt::WA_DeleteOnClose, false);
        window.reset();
    }

    std::string Folder() const { return folder.path().toStdString() + "/"; }

    // The window made, shown and connected to the virtual reader.
    void Open() {
        TMainWindowContext context{ports, clock, clock, boxes, input, store, Folder(), Folder()};
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

    void PressNec(std::uint8_t key) { board.queuePress({vb::necSignal(0, key), 250'000}); }

    QTemporaryDir folder;
    testing::SimulatedClock clock;
    testing::FakeSerialPort realPorts{clock};
    vb::BoardEngine board;
    vb::VirtualSerialPortProvider virtualPorts{board, [this] { return static_cast<double>(clock.nowUs()); }};
    vb::VirtualPortList ports{realPorts, virtualPorts};
    testing::ScriptedMessageBoxes boxes;
    testing::ScriptedInputBox input;
    testing::MemoryUserStore store;
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
    input.answer("Projector");
    const bool shown = WhileShown<TfrmIRPrefrences>("mnuPreferences", [&](TfrmIRPrefrences& dialog) {
        dialog.findChild<QListWidget*>("lbTemplateNames")->setCurrentRow(0);
        QTest::mouseClick(dialog.findChild<QAbstractButton*>("btnAddName"), Qt::LeftButton);
        QTest::mouseClick(dialog.Buttons()->OKButton(), Qt::LeftButton);
    });
    ASSERT_TRUE(shown);
    const TButtonTemplates& templates = window->Workspace().templates;
    ASSERT_EQ(templates.Count(), before + 1);
    bool found = false;
    for (int i = 0; i < templates.Count(); ++i) found = found || templates.TemplateName(i) == "Projector";
    EXPECT_TRUE(found);
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
    window->WizardHost().askSaveFileName = [&](const std::string&) { return fileName; };
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
    EXPECT_TRUE(window->WizardHost().LastSave().ok) << window->WizardHost().LastSave().message;

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

}  // namespace
}  // namespace spectrel
