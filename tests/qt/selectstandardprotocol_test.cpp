// The Select Standard Protocol dialog driven by object name: the list, "Select" enabled by a selection, a double
// click, Escape, and the index it returns.

#include "Code/KOR_frmSelectStandardProtocol.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace spectrel {
namespace {

Tstandard_protocols ThreeProtocols() {
    Tstandard_protocols table;
    const char* names[] = {"NEC", "RC5", "Sony"};
    for (int i = 0; i < 3; ++i) {
        table.protocols[static_cast<std::size_t>(i)].valid = true;
        table.protocols[static_cast<std::size_t>(i)].name = names[i];
    }
    table.count = 3;
    return table;
}

QPoint CentreOf(QListWidget& list, int row) { return list.visualItemRect(list.item(row)).center(); }

// A double click as the mouse makes it: press and release, then the second press (a double-click event) and
// its release.
void DoubleClick(QWidget* widget, const QPoint& at) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
}

class SelectStandardProtocolTest : public ::testing::Test {
protected:
    SelectStandardProtocolTest() {
        dialog.show();
        QApplication::processEvents();
        list = dialog.findChild<QListWidget*>("lbProtocols");
        select = dialog.findChild<QPushButton*>("btnSelect");
        cancel = dialog.findChild<QPushButton*>("btnCancel");
    }

    Tstandard_protocols table = ThreeProtocols();
    TfrmSelectStandardProtocol dialog{table};
    QListWidget* list = nullptr;
    QPushButton* select = nullptr;
    QPushButton* cancel = nullptr;
};

TEST_F(SelectStandardProtocolTest, ListsTheTableInOrderWithSelectDisabled) {
    ASSERT_NE(list, nullptr);
    ASSERT_NE(select, nullptr);
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Select Standard Protocol");
    const auto* text = dialog.findChild<QLabel*>("lblSelectText");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(), "Select from the standard protocols listed below.\n\nPress OK to apply the selected "
                            "protocol, this will cause all previously learned codes to be erased.");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(0)->text(), "NEC");
    EXPECT_EQ(list->item(1)->text(), "RC5");
    EXPECT_EQ(list->item(2)->text(), "Sony");
    EXPECT_EQ(select->text(), "Select");
    EXPECT_EQ(cancel->text(), "Cancel");
    EXPECT_TRUE(select->isDefault());
    EXPECT_FALSE(select->isEnabled());
    EXPECT_EQ(dialog.ChosenIndex(), -1);
}

TEST_F(SelectStandardProtocolTest, ClickingAnEntryEnablesSelectWhichChoosesIt) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, CentreOf(*list, 1));
    EXPECT_TRUE(select->isEnabled());
    QTest::mouseClick(select, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.ChosenIndex(), 1);
}

TEST_F(SelectStandardProtocolTest, DoubleClickOnAnEntryChoosesItAndOnEmptySpaceDoesNothing) {
    const QPoint below = CentreOf(*list, 2) + QPoint(0, 5 * list->visualItemRect(list->item(2)).height());
    ASSERT_EQ(list->itemAt(below), nullptr);
    DoubleClick(list->viewport(), below);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(select->isEnabled());
    EXPECT_EQ(dialog.ChosenIndex(), -1);

    DoubleClick(list->viewport(), CentreOf(*list, 2));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.ChosenIndex(), 2);
}

TEST_F(SelectStandardProtocolTest, EscapeCancelsEvenWithASelection) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, CentreOf(*list, 0));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.ChosenIndex(), -1);
}

// Runs ExecuteSelectStandardProtocol and, once the dialog is up, lets `act` drive it.
int ExecuteWith(const Tstandard_protocols& table, std::function<void(QDialog&)> act) {
    std::function<void()> drive = [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            QTimer::singleShot(10, drive);
            return;
        }
        act(*dialog);
    };
    QTimer::singleShot(0, drive);
    return ExecuteSelectStandardProtocol(table, nullptr);
}

TEST(ExecuteSelectStandardProtocol, ReturnsTheChosenIndexOrMinusOne) {
    const Tstandard_protocols table = ThreeProtocols();
    EXPECT_EQ(ExecuteWith(table,
                          [](QDialog& d) {
                              auto* list = d.findChild<QListWidget*>("lbProtocols");
                              QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, CentreOf(*list, 2));
                              QTest::keyClick(&d, Qt::Key_Return);  // "Select" is the default button
                          }),
              2);
    EXPECT_EQ(ExecuteWith(table,
                          [](QDialog& d) {
                              auto* list = d.findChild<QListWidget*>("lbProtocols");
                              QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, CentreOf(*list, 0));
                              QTest::mouseClick(d.findChild<QPushButton*>("btnCancel"), Qt::LeftButton);
                          }),
              -1);
    // Enter with nothing selected does not choose anything; Escape then cancels.
    EXPECT_EQ(ExecuteWith(table,
                          [](QDialog& d) {
                              QTest::keyClick(&d, Qt::Key_Return);
                              EXPECT_TRUE(d.isVisible());
                              QTest::keyClick(&d, Qt::Key_Escape);
                          }),
              -1);
}

TEST(ExecuteSelectStandardProtocol, AnEmptyTableListsNothing) {
    Tstandard_protocols empty;
    TfrmSelectStandardProtocol dialog(empty);
    EXPECT_EQ(dialog.findChild<QListWidget*>("lbProtocols")->count(), 0);
    EXPECT_FALSE(dialog.findChild<QPushButton*>("btnSelect")->isEnabled());
}

}  // namespace
}  // namespace spectrel
