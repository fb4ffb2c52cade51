// The Remote and Buttons columns and the Edit menu, driven by object name: the grid commands follow the
// selection, the Delete key, the rows after a deletion, the brand lists, and the clipboard commands' states.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QTest>

#include "Code/SPX_Main_ButtonsColumn.h"
#include "Code/SPX_Main_EditCommands.h"
#include "Code/SPX_Main_RemoteColumn.h"
#include "testing/ScriptedFileDialogs.h"
#include "tests/learning_test_support.h"
#include "tests/settings_temp_folder.h"

namespace spectrel {
namespace {

class ButtonsColumnTest : public test::LearningRig {
protected:
    ButtonsColumnTest() {
        for (int i = 0; i < 10; ++i) buttons.AddWithCodes("B" + std::to_string(i), "AaAb", "");
        templates.SetDefaultTemplates();
        column.RefreshButtonGrid();
        column.show();
    }
    void SelectRows(std::initializer_list<int> rows) {
        QTableView* grid = column.Grid();
        grid->clearSelection();
        for (int row : rows)
            grid->selectionModel()->select(grid->model()->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (int i = 0; i < buttons.Count(); ++i) names.push_back(buttons.Items(i).Name());
        return names;
    }

    test::TempFolder folder;
    TButtonTemplates templates;
    testing::ScriptedFileDialogs files;
    std::vector<bool> states;
    TButtonsColumn column{TButtonsColumnModel{buttons, templates, rules, current, [] { return TCodeDisplayOptions{}; },
                                              boxes, files, folder.Folder(), procedures,
                                              [this](bool idle) { states.push_back(idle); }}};
};

TEST_F(ButtonsColumnTest, GridCommandsFollowTheSelection) {
    for (QAction* action : {column.EditAction(), column.LearnAction(), column.ClearCodeAction(), column.DeleteAction()})
        EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
    SelectRows({3});
    for (QAction* action : {column.EditAction(), column.LearnAction(), column.ClearCodeAction(), column.DeleteAction()})
        EXPECT_TRUE(action->isEnabled()) << action->text().toStdString();
    EXPECT_EQ(column.SelectedButtonIndex(), 3);
}

TEST_F(ButtonsColumnTest, DeleteKeyRemovesRowsTwoFiveAndSeven) {
    SelectRows({7, 2, 5});
    QTest::keyClick(column.Grid(), Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(buttons.Count(), 10);
    QTest::keyClick(column.Grid(), Qt::Key_Delete);
    EXPECT_EQ(Names(), (std::vector<std::string>{"B0", "B1", "B3", "B4", "B6", "B8", "B9"}));
    EXPECT_EQ(column.Grid()->model()->rowCount(), 7);
    EXPECT_EQ(column.SelectedButtonIndex(), 2);
    EXPECT_EQ(column.Grid()->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(states, (std::vector<bool>{true}));
}

TEST_F(ButtonsColumnTest, AfterDeletingTheLastRowTheRowAboveIsSelected) {
    SelectRows({9});
    column.DeleteAction()->trigger();
    EXPECT_EQ(buttons.Count(), 9);
    EXPECT_EQ(column.SelectedButtonIndex(), 8);
}

TEST_F(ButtonsColumnTest, TemplatesMenuEndsWithItsOwnCommands) {
    QStringList captions;
    for (QAction* action : column.TemplatesMenu()->actions())
        captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
    ASSERT_EQ(captions.size(), 13);
    EXPECT_EQ(captions.front(), "AirCond");
    EXPECT_EQ(captions.mid(10), (QStringList{"-", "&Save", "Delete all Buttons"}));
    column.TemplatesMenu()->actions().back()->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(buttons.Count(), 0);
    EXPECT_EQ(column.Grid()->model()->rowCount(), 0);
}

TEST(RemoteColumnTest, BrandListsAndDuplicates) {
    test::TempFolder folder;
    folder.Write("TV.brd", "Sony\r\nLoewe\r\n");
    testing::ScriptedMessageBoxes boxes;
    TRemoteColumn column;
    column.SetBrandSource(folder.Folder(), &boxes);
    column.SetDeviceTypes({"VCR", "TV"});
    column.SelectFirstDeviceType();
    column.DeviceTypeChanged();
    EXPECT_EQ(column.DeviceType()->currentText(), "TV");
    EXPECT_EQ(boxes.texts(), (std::vector<std::string>{"Duplicate: Sony"}));
    EXPECT_EQ(column.DeviceBrand()->count(), 17);
    EXPECT_EQ(column.RemoteBrand()->count(), 17);

    boxes.clear();
    column.DeviceBrand()->setEditText("Grundig");
    column.DeviceType()->setCurrentIndex(1);  // VCR: no brand file
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(column.DeviceBrand()->count(), 15);
    EXPECT_EQ(column.DeviceBrand()->currentText(), "Grundig");
    const TDeviceDetails details = column.Details();
    EXPECT_EQ(details.deviceType, "VCR");
    EXPECT_EQ(details.deviceBrand, "Grundig");
}

TEST(EditCommandsTest, PasteFollowsTheFocusedControlAndTheClipboard) {
    QWidget window;
    QMenu edit;
    TRemoteColumn column(&window);
    column.SetDeviceTypes({"TV", "VCR"});
    TEditCommands commands(&edit, &window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QApplication::clipboard()->setText("DVD 182");

    column.DeviceType()->setFocus();
    commands.UpdateStates();
    EXPECT_FALSE(commands.PasteAction()->isEnabled());

    column.DeviceModel()->setFocus();
    commands.UpdateStates();
    EXPECT_TRUE(commands.PasteAction()->isEnabled());
    EXPECT_FALSE(commands.CopyAction()->isEnabled());
    commands.PasteAction()->trigger();
    EXPECT_EQ(column.DeviceModel()->text(), "DVD 182");
    column.DeviceModel()->selectAll();
    commands.UpdateStates();
    EXPECT_TRUE(commands.CutAction()->isEnabled());
    EXPECT_TRUE(commands.CopyAction()->isEnabled());
}

}  // namespace
}  // namespace spectrel
