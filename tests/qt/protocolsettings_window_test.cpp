// The Protocol Settings window driven by object name: what it shows, the key filters, Enter performing OK,
// the focus on a refused field, and Cancel.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "Code/SPX_Data.h"
#include "Code/fProtocolSettings2.h"
#include "shell/ZELfrmButtons.h"
#include "testing/ScriptedMessageBoxes.h"

namespace spectrel {
namespace {

using spectrel::testing::ScriptedMessageBoxes;

Tprotocol_descriptor LearnedNec() {
    Tprotocol_descriptor d;
    d.valid = true;
    d.name = "NO NAME";
    d.carrier_period = 26.5;
    d.frame_rate = 108;
    d.format = "iX";
    d.i_letter = 'i';
    d.x_letter = 'X';
    d.dummy_code = "CdAa";
    d.i_length = -67;
    d.x_length = 4;
    d.min_frames = 2;
    d.max_frames = 3;
    d.vocabulary_count = 4;
    d.tick = 562.5;
    d.durations = {562.4, 1687.6, 9000, 4500};
    d.is_pulse = {true, false, true, false};
    d.is_pause = {true, true, false, true};
    return d;
}

class ProtocolSettingsWindow : public ::testing::Test {
protected:
    void Open(const Tprotocol_descriptor& d, bool renameRequired = false) {
        descriptor = d;
        working.carrier_period = d.carrier_period;
        window = std::make_unique<TfrmProtocolSettings>(descriptor, working, boxes);
        window->Load(renameRequired);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    template <typename T>
    T* Find(const char* name) {
        T* widget = window->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QLineEdit* Edit(const char* name) { return Find<QLineEdit>(name); }
    // Replaces a field's text by typing, as a user would.
    void Retype(const char* name, const QString& typed) {
        QLineEdit* edit = Edit(name);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, typed);
    }
    QPushButton* OkButton() { return window->Buttons()->OKButton(); }

    Tprotocol_descriptor descriptor;
    TWorkingProtocol working;
    ScriptedMessageBoxes boxes;
    std::unique_ptr<TfrmProtocolSettings> window;
};

TEST_F(ProtocolSettingsWindow, ShowsTheLearnedProtocol) {
    Open(LearnedNec());
    EXPECT_EQ(window->windowTitle(), "Protocol Settings");
    EXPECT_EQ(Edit("edtName")->text(), "NO NAME");
    EXPECT_FALSE(Find<QLabel>("lblChangeRequired")->isVisible());
    EXPECT_EQ(Edit("edtCarrierPeriod")->text(), "26.5");
    EXPECT_TRUE(Find<QLabel>("lblMicroseconds")->isVisible());
    EXPECT_FALSE(Find<QLabel>("lblPulsed")->isVisible());
    EXPECT_EQ(Find<QLabel>("lblCarrierFrequency")->text(), "37.74 kHz");
    EXPECT_EQ(Edit("edtFrameFormat")->text(), "iX");
    EXPECT_EQ(Edit("edtFrameRate")->text(), "108");
    EXPECT_FALSE(Find<QLabel>("lblNoFrameRate")->isVisible());
    EXPECT_EQ(Edit("edtDummyFrame")->text(), "CdAa");
    EXPECT_EQ(Edit("edtLength")->text(), "67");
    EXPECT_EQ(Edit("edtLength")->toolTip(), "Data Frame Length");
    EXPECT_TRUE(Find<QCheckBox>("chkLengthAtLeast")->isChecked());
    EXPECT_EQ(Find<QCheckBox>("chkLengthAtLeast")->text(), "Length >= to value");

    QTableWidget* grid = Find<QTableWidget>("grdVocabulary");
    ASSERT_EQ(grid->rowCount(), 4);
    EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), "Vocabulary Element");
    EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), "Duration (in microseconds)");
    const char* letters[] = {"A", "B", "C", "D"};
    const char* durations[] = {"562", "1688", "9000", "4500"};
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(grid->item(row, 0)->text(), letters[row]);
        EXPECT_FALSE(grid->item(row, 0)->flags() & Qt::ItemIsEditable);
        EXPECT_EQ(grid->item(row, 1)->text(), durations[row]);
        EXPECT_TRUE(grid->item(row, 1)->flags() & Qt::ItemIsEditable);
    }
    EXPECT_EQ(grid->columnWidth(0), grid->width() / 3);
    EXPECT_EQ(grid->columnWidth(1), 2 * grid->width() / 3 - 25);
    window->resize(window->width() + 90, window->height());
    QApplication::processEvents();
    EXPECT_EQ(grid->columnWidth(0), grid->width() / 3);

    EXPECT_FALSE(OkButton()->isEnabled());
    EXPECT_TRUE(window->Buttons()->CancelButton()->isVisible());
    EXPECT_FALSE(window->Buttons()->HelpButton()->isVisible());
}

TEST_F(ProtocolSettingsWindow, KeyFiltersAndChangeActions) {
    Open(LearnedNec(), true);
    EXPECT_TRUE(Find<QLabel>("lblChangeRequired")->isVisible());

    Retype("edtCarrierPeriod", "a2-5.3.e");
    EXPECT_EQ(Edit("edtCarrierPeriod")->text(), "25.3");
    EXPECT_EQ(Find<QLabel>("lblCarrierFrequency")->text(), "39.53 kHz");
    EXPECT_TRUE(OkButton()->isEnabled());
    Retype("edtCarrierPeriod", "0");
    EXPECT_EQ(Find<QLabel>("lblCarrierFrequency")->text(), "");

    Retype("edtFrameRate", "1.0-x5");
    EXPECT_EQ(Edit("edtFrameRate")->text(), "105");
    Retype("edtLength", "-12");
    EXPECT_EQ(Edit("edtLength")->text(), "12");
    Retype("edtFrameFormat", "i");
    EXPECT_FALSE(Edit("edtFrameRate")->isVisible());
    EXPECT_TRUE(Find<QLabel>("lblNoFrameRate")->isVisible());
    EXPECT_EQ(Find<QLabel>("lblNoFrameRate")->text(), "No Frame Rate");
    QTest::keyClicks(Edit("edtFrameFormat"), "y");
    EXPECT_EQ(Edit("edtFrameFormat")->text(), "iy");  // the format takes any key; OK checks it
    EXPECT_TRUE(Edit("edtFrameRate")->isVisible());

    // Typing into a duration cell: only digits reach it.
    QTableWidget* grid = Find<QTableWidget>("grdVocabulary");
    grid->setFocus();
    grid->setCurrentCell(1, 1);
    QTest::keyClicks(grid, "x1");
    QLineEdit* cell = grid->findChild<QLineEdit*>("edtDuration");
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(), "1") << cell->selectedText().toStdString();
    QTest::keyClicks(cell, ".7-0.0");
    EXPECT_EQ(cell->text(), "1700");
}

TEST_F(ProtocolSettingsWindow, EnterPerformsOkEvenWhileOkIsDisabled) {
    Open(LearnedNec());
    ASSERT_FALSE(OkButton()->isEnabled());
    QTest::keyClick(Edit("edtName"), Qt::Key_Return);
    EXPECT_EQ(window->result(), QDialog::Accepted);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(descriptor.name, "NO NAME");
}

TEST_F(ProtocolSettingsWindow, RefusedFieldGetsTheFocusAndTheDialogStaysOpen) {
    struct Case {
        const char* field;
        const char* typed;
        const char* message;
    } cases[] = {
        {"edtName", "", "A Protocol Name must be entered"},
        {"edtCarrierPeriod", "60", "Carrier period cannot be greater than 50 us (20 kHz)"},
        {"edtFrameFormat", "iy", "Only letters \"I\",\"J\",\"X\" are allowed"},
        {"edtDummyFrame", "", "Field cannot be left blank"},
        {"edtLength", "", "Field cannot be left blank"},
    };
    for (const Case& c : cases) {
        boxes.clear();
        Open(LearnedNec());
        Retype(c.field, QString::fromUtf8(c.typed));
        window->Buttons()->CancelButton()->setFocus();
        QTest::mouseClick(OkButton(), Qt::LeftButton);
        ASSERT_EQ(boxes.shown().size(), 1u) << c.field;
        EXPECT_EQ(boxes.shown()[0].text, c.message);
        EXPECT_TRUE(window->isVisible()) << c.field;
        EXPECT_EQ(QApplication::focusWidget(), Edit(c.field)) << c.field;
    }
}

TEST_F(ProtocolSettingsWindow, RefusedDurationMovesTheGridToItsCell) {
    Open(LearnedNec());
    QTableWidget* grid = Find<QTableWidget>("grdVocabulary");
    grid->setFocus();
    grid->setCurrentCell(2, 1);
    QTest::keyClicks(grid, "9");
    QLineEdit* cell = grid->findChild<QLineEdit*>("edtDuration");
    ASSERT_NE(cell, nullptr);
    QTest::keyClicks(cell, "9");
    EXPECT_EQ(cell->text(), "99");
    QTest::keyClick(cell, Qt::Key_Return);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "Interval cannot be less than 100 us");
    EXPECT_EQ(grid->currentRow(), 2);
    EXPECT_EQ(grid->currentColumn(), 1);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(descriptor.durations[2], 9000);
}

TEST_F(ProtocolSettingsWindow, DurationBeingTypedIsWrittenByEnter) {
    Open(LearnedNec());
    QTableWidget* grid = Find<QTableWidget>("grdVocabulary");
    grid->setFocus();
    grid->setCurrentCell(1, 1);
    QTest::keyClicks(grid, "1");
    QLineEdit* cell = grid->findChild<QLineEdit*>("edtDuration");
    ASSERT_NE(cell, nullptr);
    QTest::keyClicks(cell, "700");
    QTest::keyClick(cell, Qt::Key_Enter);
    EXPECT_EQ(window->result(), QDialog::Accepted);
    EXPECT_EQ(descriptor.durations[1], 1700);
}

TEST_F(ProtocolSettingsWindow, LengthBoxAndReopening) {
    Open(LearnedNec());
    Retype("edtLength", "12");
    QTest::mouseClick(Find<QCheckBox>("chkLengthAtLeast"), Qt::LeftButton, {}, QPoint(8, 8));  // unticks
    QTest::mouseClick(Find<QCheckBox>("chkLengthAtLeast"), Qt::LeftButton, {}, QPoint(8, 8));  // ticks again
    QTest::mouseClick(OkButton(), Qt::LeftButton);
    EXPECT_EQ(descriptor.i_length, -12);
    const Tprotocol_descriptor stored = descriptor;
    Open(stored);
    EXPECT_EQ(Edit("edtLength")->text(), "12");
    EXPECT_TRUE(Find<QCheckBox>("chkLengthAtLeast")->isChecked());
}

TEST_F(ProtocolSettingsWindow, PulsedProtocolShowsNoPeriodFieldAndIsAccepted) {
    Tprotocol_descriptor d = LearnedNec();
    d.carrier_period = 0;
    d.format = "I";
    d.i_letter = 'I';
    d.x_letter = '?';
    Open(d);
    EXPECT_FALSE(Edit("edtCarrierPeriod")->isVisible());
    EXPECT_FALSE(Find<QLabel>("lblMicroseconds")->isVisible());
    EXPECT_TRUE(Find<QLabel>("lblPulsed")->isVisible());
    EXPECT_EQ(Find<QLabel>("lblPulsed")->text(), "Carrier frequency");
    EXPECT_EQ(Edit("edtDummyFrame")->text(), "");
    Retype("edtDummyFrame", "-");
    QTest::keyClick(Edit("edtDummyFrame"), Qt::Key_Return);
    EXPECT_EQ(window->result(), QDialog::Accepted);
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(descriptor.carrier_period, 0);
}

TEST_F(ProtocolSettingsWindow, CancelLeavesTheDescriptor) {
    Tprotocol_descriptor d = LearnedNec();
    d.standard = true;
    Open(d);
    Retype("edtName", "Other");
    Retype("edtCarrierPeriod", "30");
    QTest::mouseClick(window->Buttons()->CancelButton(), Qt::LeftButton);
    EXPECT_EQ(window->result(), QDialog::Rejected);
    EXPECT_EQ(DescriptorToText(descriptor), DescriptorToText(d));
}

}  // namespace
}  // namespace spectrel
