// The small dialogs of the button list, driven by object name: Add Buttons, Edit Button with its own Learn,
// Explorer Buttons refusing to close while it explores, the restricted text dialog's filter, and the button
// grid's model.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "Code/KOR_XMLIMAGELIST.h"
#include "Code/KOR_frmAddButtons.h"
#include "Code/KOR_frmButtonCodeEdit.h"
#include "Code/KOR_frmExploreButtons.h"
#include "Code/SPX_Main_ButtonGridModel.h"
#include "Code/fRestrictedEdit.h"
#include "tests/learning_test_support.h"

namespace spectrel {
namespace {

namespace vb = virtualboard;
using platform::MessageButton;

template <typename T>
T* Child(QWidget& parent, const char* name) {
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

// --- Add Buttons

TEST(AddButtonsDialogTest, AddGivesTheLinesEmptyOnesIncluded) {
    TfrmAddButtons dialog;
    EXPECT_EQ(dialog.windowTitle(), "Add Buttons");
    EXPECT_EQ(Child<QLabel>(dialog, "lblInfo")->text(),
              "Enter new buttons names in list below. Each new name should start on a new line");
    auto* memo = Child<QPlainTextEdit>(dialog, "memButtons");
    memo->setFocus();
    QTest::keyClicks(memo, "Power");
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, "  Mute  ");
    QTest::mouseClick(Child<QPushButton>(dialog, "btnAdd"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Lines(), (std::vector<std::string>{"Power", "", "  Mute  "}));
}

TEST(AddButtonsDialogTest, ExecuteReturnsTheLinesOnlyOnAdd) {
    std::vector<std::string> lines;
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<TfrmAddButtons*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QPlainTextEdit*>("memButtons")->setPlainText("Play\nStop");
        dialog->findChild<QPushButton*>("btnAdd")->click();
    });
    EXPECT_TRUE(ExecuteAddButtons(lines));
    EXPECT_EQ(lines, (std::vector<std::string>{"Play", "Stop"}));

    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QPlainTextEdit*>("memButtons")->setPlainText("Rew");
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    EXPECT_FALSE(ExecuteAddButtons(lines));
    EXPECT_EQ(lines, (std::vector<std::string>{"Play", "Stop"}));
}

// --- Edit Button and Explorer Buttons, on the virtual board

class HookedBoxes : public testing::ScriptedMessageBoxes {
public:
    platform::MessageButton show(platform::MessageKind kind, const std::string& text,
                                 platform::MessageButtons buttons, const std::string& caption = {}) override {
        if (onShow) onShow(text);
        return ScriptedMessageBoxes::show(kind, text, buttons, caption);
    }
    std::function<void(const std::string&)> onShow;
};

class ButtonDialogsTest : public test::LearningRig {
protected:
    TButtonEditEnvironment Environment() {
        return {procedures, boxes, current, [](const TButtonCode& b) { return b.CodeText(); }};
    }
};

TEST_F(ButtonDialogsTest, EditShowsTheButtonAndSavesTheNameAsTyped) {
    TButtonCode& button = buttons.Add("Power");
    TfrmButtonCodeEdit dialog(button, Environment());
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Edit Button");
    auto* name = Child<QLineEdit>(dialog, "eButtonName");
    auto* code = Child<QLineEdit>(dialog, "eCode");
    EXPECT_EQ(name->text(), "Power");
    EXPECT_EQ(code->text(), "<not recorded>");
    EXPECT_TRUE(code->isReadOnly());
    EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_EQ(QApplication::focusWidget(), name);
    QTest::keyClick(name, Qt::Key_End);  // the name is selected as the dialog opens
    QTest::keyClicks(name, "  ");
    QTest::mouseClick(Child<QPushButton>(dialog, "btnSave"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(button.Name(), "Power  ");
}

TEST_F(ButtonDialogsTest, LearnWithoutProtocolWarnsAndKeepsTheDialogOpen) {
    TButtonCode& button = buttons.Add("Power");
    TfrmButtonCodeEdit dialog(button, Environment());
    dialog.show();
    QTest::mouseClick(Child<QPushButton>(dialog, "btnLearn"), Qt::LeftButton);
    EXPECT_EQ(Texts(), (std::vector<std::string>{
                           "It is not possible to learn a button until you have selected or learnt a protocol."}));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(Child<QPushButton>(dialog, "btnSave")->isEnabled());
}

TEST_F(ButtonDialogsTest, ALearnedCodeIsDroppedByCancelAndStoredBySave) {
    LearnNecQuietly();
    TButtonCode& button = buttons.Add("Mute");
    {
        TfrmButtonCodeEdit dialog(button, Environment());
        dialog.show();
        Press(vb::necSignal(0, 0x0d));
        QTest::mouseClick(Child<QPushButton>(dialog, "btnLearn"), Qt::LeftButton);
        EXPECT_EQ(Child<QLineEdit>(dialog, "eCode")->text(), "New code learnt");
        EXPECT_TRUE(Child<QPushButton>(dialog, "btnCancel")->isEnabled());
        QTest::mouseClick(Child<QPushButton>(dialog, "btnCancel"), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_FALSE(button.HasCode());
    }
    {
        TfrmButtonCodeEdit dialog(button, Environment());
        dialog.show();
        Press(vb::necSignal(0, 0x0d));
        QTest::mouseClick(Child<QPushButton>(dialog, "btnLearn"), Qt::LeftButton);
        QTest::mouseClick(Child<QPushButton>(dialog, "btnSave"), Qt::LeftButton);
        EXPECT_TRUE(button.HasCode());
        EXPECT_EQ(button.Name(), "Mute");
    }
}

TEST_F(ButtonDialogsTest, ExplorerRefusesToCloseWhileItExplores) {
    LearnNecQuietly();
    HookedBoxes hooked;
    TLearningProcedures exploring{{context, link, hooked, current, learned, standards, buttons, explore, rules},
                                  window};
    explore.AddWithCodes("", "old", "");
    TfrmExplorerButtons dialog(exploring, explore, hooked, TListPalette{});
    EXPECT_EQ(explore.Count(), 0);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Explorer Buttons");

    int prompts = 0;
    std::vector<bool> visibleAfterClose;
    std::vector<bool> buttonsEnabled;
    hooked.onShow = [&](const std::string& text) {
        if (text != learning_text::kPressAnyButton) return;
        ++prompts;
        buttonsEnabled.push_back(dialog.findChild<QPushButton*>("btnClose")->isEnabled());
        dialog.close();
        visibleAfterClose.push_back(dialog.isVisible());
        QTest::keyClick(&dialog, Qt::Key_Escape);
        visibleAfterClose.push_back(dialog.isVisible());
        if (prompts == 1) Press(vb::necSignal(0, 0x16));
    };
    hooked.script({MessageButton::Ok, MessageButton::Abort});
    QTest::mouseClick(Child<QPushButton>(dialog, "btnExplore"), Qt::LeftButton);

    EXPECT_EQ(prompts, 2);
    EXPECT_EQ(visibleAfterClose, (std::vector<bool>{true, true, true, true}));
    EXPECT_EQ(buttonsEnabled, (std::vector<bool>{false, false}));
    EXPECT_EQ(explore.Count(), 1);
    auto* output = Child<QListWidget>(dialog, "lbOutput");
    ASSERT_EQ(output->count(), 1);
    EXPECT_FALSE(output->item(0)->text().isEmpty());
    EXPECT_TRUE(Child<QPushButton>(dialog, "btnExplore")->isEnabled());
    EXPECT_TRUE(Child<QPushButton>(dialog, "btnClose")->isEnabled());

    QTest::mouseClick(Child<QPushButton>(dialog, "btnClose"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
}

// --- restricted text

TEST(RestrictedEditDialogTest, EachModeKeepsOnlyItsCharacters) {
    struct Case {
        const char* name;
        int mode;
        const char* extra;
        const char* typed;
        const char* kept;
        int beeps;
    };
    const Case cases[] = {
        {"template names", 2, " -+", "My TV-2+_.", "My TV-2+", 2},
        {"every character", 0, "", "a1._ =", "a1._ =", 0},
        {"letters", 1, "", "aZ1._", "aZ", 3},
        {"letters and digits", 2, "", "aZ1._ ", "aZ1", 3},
        {"digits", 3, "", "a19.", "19", 2},
        {"one full stop", 4, "", "a1..b.", "a1.b", 2},
        {"extra characters in a digits mode", 3, "_", "1_a", "1_", 1},
        {"an unknown mode takes only the extra ones", 7, "x", "abx1", "x", 3},
    };
    for (const Case& c : cases) {
        TfrmRestictedEdit dialog;
        int beeps = 0;
        dialog.SetBeep([&] { ++beeps; });
        dialog.Prepare("", "Save Template", c.extra, c.mode);
        QTest::keyClicks(dialog.findChild<QLineEdit*>("edtButton"), QString::fromLatin1(c.typed));
        EXPECT_EQ(dialog.Text(), c.kept) << c.name;
        EXPECT_EQ(beeps, c.beeps) << c.name;
    }
}

TEST(RestrictedEditDialogTest, OkFollowsTheTextAndEnterAcceptsEvenAnEmptyText) {
    TfrmRestictedEdit dialog;
    dialog.SetBeep([] {});
    dialog.Prepare("", "Save Template", " -+", 2);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Spectrel");
    EXPECT_EQ(Child<QLabel>(dialog, "lblPrompt")->text(), "Save Template");
    auto* edit = Child<QLineEdit>(dialog, "edtButton");
    auto* ok = Child<QPushButton>(dialog, "btnOK");
    EXPECT_FALSE(ok->isEnabled());
    QTest::keyClicks(edit, "TV");
    EXPECT_TRUE(ok->isEnabled());
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(dialog.Text(), "");
    EXPECT_FALSE(ok->isEnabled());
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(RestrictedEditDialogTest, PastedTextLosesTheRefusedCharacters) {
    TfrmRestictedEdit dialog;
    int beeps = 0;
    dialog.SetBeep([&] { ++beeps; });
    dialog.Prepare("", "Save Template", " -+", 2);
    QApplication::clipboard()->setText("My=TV_1");
    auto* edit = dialog.findChild<QLineEdit*>("edtButton");
    edit->paste();
    EXPECT_EQ(dialog.Text(), "MyTV1");
    EXPECT_EQ(beeps, 1);
}

TEST(RestrictedEditDialogTest, ExecuteGivesTheTextOnOkOnly) {
    std::string text = "Old";
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        auto* edit = dialog->findChild<QLineEdit*>("edtButton");
        QTest::keyClick(edit, Qt::Key_End);
        QTest::keyClicks(edit, " TV");
        dialog->findChild<QPushButton*>("btnOK")->click();
    });
    EXPECT_TRUE(ExecuteRestrictedEdit(text, "Save Template", " -+", 2));
    EXPECT_EQ(text, "Old TV");

    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QPushButton*>("btnCancel")->click();
    });
    EXPECT_FALSE(ExecuteRestrictedEdit(text, "Save Template", " -+", 2));
    EXPECT_EQ(text, "Old TV");
}

// --- the grid's model

TEST(ButtonGridModelTest, RowsNamesCodesAndPictures) {
    QTemporaryDir folder;
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(folder.filePath("POWER.bmp"), "BMP"));
    TDirectoryImageList images;
    images.SetFolder(folder.path() + "/");

    TbuttonCodes buttons;
    buttons.AddWithCodes("Power", "AaAb", "");
    buttons.Add("Mute");
    TReplaceRule rules;
    Tprotocol_descriptor current;
    TButtonGridModel model(buttons, rules, current, [] { return TCodeDisplayOptions{false, false}; }, &images);
    model.Rebuild();
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.columnCount(), 2);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Name");
    EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "IR Code");
    EXPECT_EQ(model.data(model.index(0, 0), Qt::DisplayRole).toString(), "Power");
    EXPECT_EQ(model.data(model.index(0, 1), Qt::DisplayRole).toString(), "AaAb ");
    EXPECT_EQ(model.data(model.index(1, 1), Qt::DisplayRole).toString(), "<not recorded>");
    EXPECT_FALSE(model.data(model.index(0, 0), Qt::DecorationRole).isNull());
    EXPECT_TRUE(model.data(model.index(1, 0), Qt::DecorationRole).isNull());
    EXPECT_TRUE(model.data(model.index(0, 1), Qt::DecorationRole).isNull());
    EXPECT_EQ(model.ButtonIndexOfRow(1), 1);
    EXPECT_EQ(model.ButtonIndexOfRow(2), -1);

    buttons.Delete(0);
    EXPECT_EQ(model.rowCount(), 2);  // the rows change only when rebuilt
    model.Rebuild();
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.data(model.index(0, 0), Qt::DisplayRole).toString(), "Mute");
}

}  // namespace
}  // namespace spectrel
