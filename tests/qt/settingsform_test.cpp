// The decoding parameters window driven by object name: the lines of both modes, the value selector of a click,
// "Accept new setting", the Insert/Delete menu of vocabulary lines, and closing that only hides.

#include "Code/SPX_Settings.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>

#include "Code/SPX_processing.h"
#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"

namespace spectrel {
namespace {

Tprotocol_descriptor StandardNec() {
    Tprotocol_descriptor d;
    d.valid = true;
    d.standard = true;
    d.name = "NEC";
    d.carrier_period = 26.3;
    d.frame_rate = 108;
    d.format = "Ix";
    d.i_letter = 'I';
    d.x_letter = 'x';
    d.dummy_code = "AbAa";
    d.i_length = 67;
    d.vocabulary_count = 3;
    d.durations[0] = 560;
    d.durations[1] = 1120;
    d.durations[2] = 4500;
    d.is_pulse[0] = d.is_pause[0] = d.is_pause[1] = d.is_pause[2] = true;
    return d;
}

class SettingsFormTest : public ::testing::Test {
protected:
    SettingsFormTest() {
        standards.protocols[0] = StandardNec();
        standards.count = 1;
        selector = form.findChild<QComboBox*>("ComboxValue");
        accept = form.findChild<QPushButton*>("btnAccept");
        list = form.findChild<QListWidget*>("lbxParameters");
        label = form.findChild<QLabel*>("lblSelectParameter");
    }
    ~SettingsFormTest() override { form.hide(); }

    void Open(bool protocol) {
        if (protocol)
            form.SelectProtocolMode();
        else
            form.SelectParameterMode();
        form.show();
        form.activateWindow();
        QApplication::processEvents();
        QApplication::processEvents();
    }
    QStringList Texts() const {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
        return texts;
    }
    int RowOf(const QString& prefix) const {
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->text().startsWith(prefix)) return i;
        return -1;
    }
    QPoint CentreOf(int row) const { return list->visualItemRect(list->item(row)).center(); }
    void ClickRow(int row) { QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, CentreOf(row)); }
    QColor ColourOf(int row) const { return list->item(row)->foreground().color(); }

    // Right-clicks the row and returns the texts of the menu that opens (none when no menu opens); `choose`
    // names the entry to trigger.
    QStringList RightClick(int row, const QString& choose = {}) {
        QStringList seen;
        QTimer::singleShot(50, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr) return;
            for (QAction* action : menu->actions()) seen << action->text();
            QAction* chosen = nullptr;
            for (QAction* action : menu->actions())
                if (action->text() == choose) chosen = action;
            menu->close();
            if (chosen != nullptr) chosen->trigger();
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, CentreOf(row), list->viewport()->mapToGlobal(CentreOf(row)));
        QApplication::sendEvent(list->viewport(), &event);
        QTest::qWait(100);
        return seen;
    }

    testing::SimulatedClock clock;
    testing::ScriptedMessageBoxes boxes;
    TAnalysisContext context{boxes, clock, clock};
    Tprotocol_descriptor current = StandardNec();
    Tstandard_protocols standards;
    int described = 0;
    TIR_Settings_form form{context, current, standards, boxes, [this] { ++described; }};
    QComboBox* selector = nullptr;
    QPushButton* accept = nullptr;
    QListWidget* list = nullptr;
    QLabel* label = nullptr;
};

TEST_F(SettingsFormTest, AToolWindowThatStaysOnTop) {
    ASSERT_NE(selector, nullptr);
    ASSERT_NE(accept, nullptr);
    ASSERT_NE(list, nullptr);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(form.windowTitle(), "IR decoding parameters");
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::Tool));
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(form.isVisible());  // created hidden
    EXPECT_EQ(label->text(), "Select parameter to edit");
    EXPECT_EQ(accept->text(), "Accept new setting");
}

TEST_F(SettingsFormTest, FirstOpeningListsTheDefaultsInBlack) {
    Open(false);
    EXPECT_EQ(Texts(), (QStringList{"Minimum gap between frames: 10 ms", "Remote Control clock adjustment: Nominal",
                                    "Match to Standard Protocol tolerance : 6%"}));
    for (int row = 0; row < 3; ++row) EXPECT_EQ(ColourOf(row), QColor(Qt::black));
    EXPECT_FALSE(selector->isVisible());
    EXPECT_FALSE(accept->isVisible());
    EXPECT_TRUE(label->isVisible());
    EXPECT_GE(described, 1);
    EXPECT_FALSE(form.Modified());
}

TEST_F(SettingsFormTest, ChoosingTwentyMillisecondsAndAcceptingTurnsTheListBlue) {
    Open(false);
    ClickRow(0);
    ASSERT_TRUE(selector->isVisible());
    EXPECT_FALSE(label->isVisible());
    EXPECT_FALSE(selector->isEditable());
    ASSERT_EQ(selector->count(), 4);
    EXPECT_EQ(selector->itemText(0), "5 ms");
    EXPECT_EQ(selector->itemText(3), "100 ms");
    EXPECT_EQ(selector->currentText(), "10 ms");
    EXPECT_FALSE(accept->isVisible());

    selector->setCurrentIndex(2);
    EXPECT_TRUE(accept->isVisible());
    const int before = described;
    QTest::mouseClick(accept, Qt::LeftButton);
    EXPECT_EQ(context.parameters().minimumGap(), 40000);
    EXPECT_TRUE(form.Modified());
    EXPECT_FALSE(accept->isVisible());
    EXPECT_FALSE(selector->isVisible());
    EXPECT_EQ(Texts()[0], "Minimum gap between frames: 20 ms");
    for (int row = 0; row < 3; ++row) EXPECT_EQ(ColourOf(row), QColor(0, 0, 255));
    EXPECT_EQ(described, before + 1);

    // A learning start takes the blue away at once.
    form.ClearModified();
    EXPECT_FALSE(form.Modified());
    EXPECT_EQ(ColourOf(0), QColor(Qt::black));
}

TEST_F(SettingsFormTest, ClickingAnotherLineHidesAPendingAccept) {
    Open(false);
    ClickRow(1);
    EXPECT_EQ(selector->currentText(), "Nominal");
    selector->setCurrentIndex(0);
    EXPECT_TRUE(accept->isVisible());
    ClickRow(2);
    EXPECT_FALSE(accept->isVisible());
    EXPECT_EQ(selector->count(), 6);
    EXPECT_EQ(selector->currentText(), "6%");
    EXPECT_EQ(context.parameters().clockAdjustment(), 1.0);
}

TEST_F(SettingsFormTest, ProtocolModeEditsAFieldByTypedText) {
    Open(true);
    EXPECT_EQ(Texts(), (QStringList{" Carrier period: 26.3 us, carrier frequency: 38.02 kHz", " Frames format: Ix",
                                    " Frames rate: 108 ms", " Dummy frame: AbAa",
                                    " Data frame length shall be equal to: 67",
                                    "  Vocabulary element A duration 560 us ",
                                    "  Vocabulary element B duration 1120 us ",
                                    "  Vocabulary element C duration 4500 us ", "It is a standard protocol \"NEC\""}));
    const int rate = RowOf(" Frames rate");
    ClickRow(rate);
    ASSERT_TRUE(selector->isVisible());
    EXPECT_TRUE(selector->isEditable());
    EXPECT_EQ(selector->count(), 1);
    EXPECT_EQ(selector->currentText(), "108");
    EXPECT_FALSE(accept->isVisible());

    selector->lineEdit()->selectAll();
    QTest::keyClicks(selector->lineEdit(), "110");
    EXPECT_TRUE(accept->isVisible());
    QTest::mouseClick(accept, Qt::LeftButton);
    EXPECT_EQ(current.frame_rate, 110);
    EXPECT_EQ(current.name, "NEC~1");
    EXPECT_FALSE(current.standard);
    EXPECT_EQ(Texts()[rate], " Frames rate: 110 ms");
    EXPECT_EQ(Texts().back(), "It is a non-standard modified protocol \"NEC~1\"");
    EXPECT_EQ(ColourOf(0), QColor(0, 0, 255));
}

TEST_F(SettingsFormTest, TheProtocolLineOffersNothingToChoose) {
    Open(true);
    ClickRow(list->count() - 1);
    EXPECT_FALSE(selector->isVisible());
    EXPECT_TRUE(label->isVisible());
}

TEST_F(SettingsFormTest, VocabularyLinesOfferInsertAndDelete) {
    Open(true);
    EXPECT_EQ(RightClick(RowOf(" Carrier period")), QStringList{});
    EXPECT_EQ(RightClick(RowOf("It is a")), QStringList{});

    const int b = RowOf("  Vocabulary element B");
    EXPECT_EQ(RightClick(b, "Insert"), (QStringList{"Insert", "Delete"}));
    EXPECT_EQ(current.vocabulary_count, 4);
    EXPECT_EQ(current.durations[2], 1120);
    EXPECT_EQ(current.durations[3], 4500);
    EXPECT_EQ(RowOf("  Vocabulary element D duration 4500 us "), b + 2);

    EXPECT_EQ(RightClick(RowOf("  Vocabulary element A"), "Delete"), (QStringList{"Insert", "Delete"}));
    EXPECT_EQ(current.vocabulary_count, 3);
    EXPECT_EQ(current.durations[0], 1120);
    EXPECT_FALSE(current.is_pulse[0]);
    EXPECT_TRUE(current.is_pause[0]);
    EXPECT_FALSE(form.Modified());
}

TEST_F(SettingsFormTest, ClosingOnlyHidesTheWindow) {
    Open(false);
    QSignalSpy hidden(&form, &TIR_Settings_form::hidden);
    form.close();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(hidden.count(), 1);
    // Shown again, in the other mode.
    Open(true);
    EXPECT_EQ(Texts().front(), " Carrier period: 26.3 us, carrier frequency: 38.02 kHz");
    form.hide();
    EXPECT_EQ(hidden.count(), 2);
}

TEST_F(SettingsFormTest, ChangingTheModeOfTheOpenWindowListsTheNewMode) {
    Open(false);
    ClickRow(0);
    form.SelectProtocolMode();
    EXPECT_EQ(Texts().front(), " Carrier period: 26.3 us, carrier frequency: 38.02 kHz");
    EXPECT_FALSE(selector->isVisible());
    form.SelectParameterMode();
    EXPECT_EQ(Texts().front(), "Minimum gap between frames: 10 ms");
}

TEST_F(SettingsFormTest, NoVocabularyShowsItsErrorOnce) {
    current.vocabulary_count = 0;
    Open(true);
    QTest::qWait(50);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "Internal error: no vocabulary");
    EXPECT_EQ(Texts().size(), 5);
    EXPECT_EQ(described, 0);
}

TEST_F(SettingsFormTest, AnExploredProtocolIsNeeded) {
    current.valid = false;
    Open(true);
    EXPECT_EQ(Texts(), QStringList{"Protocol yet to be explored"});
    ClickRow(0);
    EXPECT_FALSE(selector->isVisible());
}

// The main window disables itself while the protocol is edited; the dialog must stay usable, and it goes with
// the main window.
TEST(SettingsFormOwner, StaysUsableWhileTheMainWindowIsDisabledAndGoesWithIt) {
    testing::SimulatedClock clock;
    testing::ScriptedMessageBoxes boxes;
    TAnalysisContext context{boxes, clock, clock};
    Tprotocol_descriptor current = StandardNec();
    Tstandard_protocols standards;
    auto* main = new QWidget;
    main->resize(600, 400);
    main->show();
    QPointer<TIR_Settings_form> form = new TIR_Settings_form(context, current, standards, boxes, [] {}, main);
    form->SelectProtocolMode();
    form->show();
    QApplication::processEvents();
    main->setEnabled(false);
    EXPECT_TRUE(form->isEnabled());
    EXPECT_TRUE(form->findChild<QListWidget*>("lbxParameters")->isEnabled());
    // Centred on the main window at its first showing.
    EXPECT_LE((form->frameGeometry().center() - main->frameGeometry().center()).manhattanLength(), 2);
    delete main;
    EXPECT_TRUE(form.isNull());
}

}  // namespace
}  // namespace spectrel
