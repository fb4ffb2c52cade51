// The Preferences window driven by object name: the tree and its pages, the paired controls, the immediate
// hint effect, "Default", the template editor, and OK and Cancel through a whole run.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include "Code/IRPrefrences.h"
#include "Code/uKOR_IniObject.h"
#include "Code/uKOR_SpectrelIni.h"
#include "shell/ZELfrmButtons.h"
#include "testing/MemoryUserStore.h"

namespace spectrel {
namespace {

using P = TPreferencePair;

// Clicks a check box or radio button on its indicator (a box stretched by its layout takes clicks only there).
void ClickOn(QAbstractButton* button) {
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

class PreferencesWindow : public ::testing::Test {
protected:
    PreferencesWindow() {
        templates.SetLines({"TV=\"Mute\",\"On\"", "VCR=\"Play\"", "CD=\"Eject\",\"Play\",\"Stop\""});
        window.Model().OnLoad = [this](TPreferencesModel& m) { LoadPreferences(m, shell, options, templates); };
        window.Model().OnSave = [this](TPreferencesModel& m) {
            TakePreferences(m, shell, options, templates);
            ++saves;
        };
        window.SetShowHints([this](bool on) { hints.push_back(on); });
        window.SetAskTemplateText([this](std::string& text, const std::string&) {
            if (answers.empty()) return false;
            text = answers.front();
            answers.erase(answers.begin());
            return true;
        });
    }
    void Open() {
        window.Prepare();
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    template <typename T>
    T* Find(const char* name) {
        T* widget = window.findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QAbstractButton* Button(const char* name) { return Find<QAbstractButton>(name); }
    void Click(const char* name) { ClickOn(Button(name)); }
    QString ShownPage() {
        auto* pages = Find<QTabWidget>("pcPages");
        return pages->tabText(pages->currentIndex());
    }
    void SelectNode(const QString& text) {
        auto* tree = Find<QTreeWidget>("tvNavigator");
        const QList<QTreeWidgetItem*> found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1) << text.toStdString();
        if (found[0]->parent() != nullptr) found[0]->parent()->setExpanded(true);
        tree->setCurrentItem(found[0]);
    }
    bool OkEnabled() { return window.Buttons()->OKButton()->isEnabled(); }

    testing::MemoryUserStore store;
    TSpectrelIniObject options{store, SpectrelKeyPath()};
    shell::TShellPreferences shell;
    TButtonTemplates templates;
    TfrmIRPrefrences window;
    std::vector<bool> hints;
    std::vector<std::string> answers;
    int saves = 0;
};

TEST_F(PreferencesWindow, OpensOnTheFirstPageWithTheTreeAndOkDisabled) {
    Open();
    EXPECT_EQ(window.windowTitle(), "Preferences");
    auto* tree = Find<QTreeWidget>("tvNavigator");
    ASSERT_EQ(tree->topLevelItemCount(), 3);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), "Form Preferences");
    EXPECT_EQ(tree->topLevelItem(1)->text(0), "Advanced");
    EXPECT_EQ(tree->topLevelItem(2)->text(0), "Button Templates");
    EXPECT_TRUE(tree->topLevelItem(0)->isExpanded());
    EXPECT_FALSE(tree->topLevelItem(1)->isExpanded());
    EXPECT_EQ(tree->currentItem(), tree->topLevelItem(0));
    EXPECT_EQ(tree->toolTip(), "Navagator Tree");
    EXPECT_EQ(ShownPage(), "Form Preferences");
    EXPECT_FALSE(Find<QTabWidget>("pcPages")->tabBar()->isVisible());
    EXPECT_FALSE(Find<QCheckBox>("chkUseTreeNavigator")->isVisible());
    EXPECT_FALSE(Find<QCheckBox>("chkFlatButtons")->isVisible());
    EXPECT_FALSE(OkEnabled());
    EXPECT_EQ(window.Buttons()->OKButton()->toolTip(), "Save preferences and close form");
    EXPECT_EQ(window.Buttons()->CancelButton()->toolTip(), "Discard any changes and close form");
    EXPECT_EQ(window.Buttons()->HelpButton()->toolTip(), "View help file on preferences");
    EXPECT_TRUE(window.Buttons()->HelpButton()->isVisible());
    EXPECT_EQ(hints, (std::vector<bool>{true}));
}

TEST_F(PreferencesWindow, TreeNodesShowTheirPagesWithHeaderTexts) {
    Open();
    SelectNode("Persistant form size and position");
    EXPECT_EQ(ShownPage(), "Persistent Form Size and Position");
    SelectNode("Allow Ir Decoding Parmeters Edit");
    EXPECT_EQ(ShownPage(), "Allow Ir Decoding Parmeters Edit");
    SelectNode("Button Templates");
    EXPECT_EQ(ShownPage(), "Button Templates");

    QWidget* page = Find<QWidget>("tsAdvanced");
    EXPECT_EQ(page->toolTip(), "Advanced page");
    EXPECT_EQ(page->findChild<QLabel*>("lblHeader")->text(), "Advanced Settings\nFOR ADVANCED USERS ONLY");
    EXPECT_EQ(Find<QWidget>("tsHintTime")->findChild<QLabel*>("lblHeader")->text(),
              "This is the amount of time in milliseconds that the hint (Tooltip) is displayed. Make the number "
              "smaller to decrease the time the hint is displayed. Show hints must be checked for the hints to work.");
    EXPECT_FALSE(OkEnabled());
}

TEST_F(PreferencesWindow, PairedControlsFollowEachOther) {
    Open();
    struct Case {
        const char* overview;
        const char* detail;
        P pair;
    } cases[] = {
        {"chkRememberPositions", "chkRememberPositionsDetail", P::SaveIntPos},
        {"chkPersistentSize", "chkPersistentSizeDetail", P::SavePos},
        {"chkWizardView", "chkWizardViewDetail", P::WizardView},
        {"chkMatchToStandard", "chkMatchToStandardDetail", P::MatchToStandardProtocol},
        {"chkAllowProtocolEdit", "chkAllowProtocolEditDetail", P::AllowProtocolEdit},
        {"chkAllowDecodingEdit", "chkAllowDecodingEditDetail", P::AllowDecodingParmeterEdit},
        {"chkAttachProtocol", "chkAttachProtocolDetail", P::AttachProtocol},
    };
    for (const Case& c : cases) {
        auto* overview = Find<QCheckBox>(c.overview);
        auto* detail = Find<QCheckBox>(c.detail);
        const bool before = overview->isChecked();
        EXPECT_EQ(detail->isChecked(), before) << c.overview;
        Find<QTabWidget>("pcPages")->setCurrentWidget(overview->parentWidget());
        ClickOn(overview);
        EXPECT_EQ(detail->isChecked(), !before) << c.overview;
        EXPECT_EQ(window.Model().Value(c.pair), !before) << c.overview;
        Find<QTabWidget>("pcPages")->setCurrentWidget(detail->parentWidget());
        ClickOn(detail);
        EXPECT_EQ(overview->isChecked(), before) << c.detail;
    }
    EXPECT_TRUE(OkEnabled());
}

TEST_F(PreferencesWindow, SubstitutionOptions) {
    options.SubsBinByHex = false;
    Open();
    EXPECT_TRUE(Find<QRadioButton>("rbSubBin")->isChecked());
    EXPECT_TRUE(Find<QRadioButton>("rbSubBinDetail")->isChecked());
    EXPECT_FALSE(Find<QRadioButton>("rbSubHex")->isChecked());

    SelectNode("Use Substitution Rules");
    ClickOn(Find<QCheckBox>("chkUseSubstitutionDetail"));
    EXPECT_FALSE(Find<QCheckBox>("chkUseSubstitution")->isChecked());
    for (const char* option : {"rbSubHex", "rbSubBin", "rbSubHexDetail", "rbSubBinDetail"})
        EXPECT_FALSE(Find<QRadioButton>(option)->isEnabled()) << option;

    ClickOn(Find<QCheckBox>("chkUseSubstitutionDetail"));
    ClickOn(Find<QRadioButton>("rbSubHexDetail"));
    EXPECT_TRUE(Find<QRadioButton>("rbSubHex")->isChecked());
    EXPECT_TRUE(window.Model().Value(P::SubsBinByHex));
}

TEST_F(PreferencesWindow, HintTimeFieldsAndShowHints) {
    shell.hintHidePause = 3000;
    Open();
    EXPECT_EQ(Find<QSpinBox>("speHintTime")->value(), 3000);
    EXPECT_EQ(Find<QSpinBox>("speHintTimeDetail")->value(), 3000);
    EXPECT_EQ(Find<QSpinBox>("speHintTime")->singleStep(), 500);
    EXPECT_EQ(Find<QSpinBox>("speHintTime")->minimum(), 500);
    EXPECT_EQ(Find<QSpinBox>("speHintTime")->maximum(), 10000);
    Find<QSpinBox>("speHintTimeDetail")->stepUp();
    EXPECT_EQ(Find<QSpinBox>("speHintTime")->value(), 3500);
    EXPECT_TRUE(OkEnabled());

    ClickOn(Find<QCheckBox>("chkShowHints"));
    EXPECT_FALSE(Find<QCheckBox>("chkShowHintsDetail")->isChecked());
    EXPECT_EQ(hints, (std::vector<bool>{true, false}));
}

TEST_F(PreferencesWindow, FlatButtonsChangeTheSampleAtOnce) {
    shell.flatButtons = true;
    Open();
    SelectNode("Flat Buttons");
    const QList<QToolButton*> sample = Find<QToolBar>("tbSample")->findChildren<QToolButton*>();
    ASSERT_GE(sample.size(), 5);
    for (QToolButton* b : sample) EXPECT_TRUE(b->autoRaise());
    ClickOn(Find<QCheckBox>("chkFlatButtonsDetail"));
    for (QToolButton* b : sample) EXPECT_FALSE(b->autoRaise());
    EXPECT_FALSE(Find<QCheckBox>("chkFlatButtons")->isChecked());
}

TEST_F(PreferencesWindow, DefaultButton) {
    options.MatchToStandardProtocol = false;
    options.UseSubstutionRules = false;
    options.AllowProtocolEdit = true;
    options.AllowDecodingParmeterEdit = true;
    options.WizardView = false;
    Open();
    SelectNode("Advanced");
    Click("btnDefault");
    EXPECT_TRUE(Find<QCheckBox>("chkMatchToStandardDetail")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>("chkUseSubstitutionDetail")->isChecked());
    EXPECT_TRUE(Find<QRadioButton>("rbSubBinDetail")->isEnabled());
    EXPECT_FALSE(Find<QCheckBox>("chkAllowProtocolEditDetail")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>("chkAllowDecodingEditDetail")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>("chkWizardView")->isChecked());
    EXPECT_TRUE(OkEnabled());
}

TEST_F(PreferencesWindow, TreeNavigatorOffShowsTabs) {
    shell.usePreferencesTree = false;
    Open();
    EXPECT_FALSE(Find<QTreeWidget>("tvNavigator")->isVisible());
    EXPECT_TRUE(Find<QTabWidget>("pcPages")->tabBar()->isVisible());
}

TEST_F(PreferencesWindow, TemplateEditor) {
    Open();
    SelectNode("Button Templates");
    auto* names = Find<QListWidget>("lbTemplateNames");
    auto* items = Find<QListWidget>("lbTemplateItems");
    ASSERT_EQ(names->count(), 3);
    EXPECT_EQ(names->currentRow(), -1);
    EXPECT_FALSE(Button("btnEditName")->isEnabled());
    EXPECT_TRUE(Button("btnAddName")->isEnabled());
    EXPECT_EQ(Button("btnCloneName")->toolTip(), "Clone Current Template");

    names->setCurrentRow(1);  // VCR, one item
    EXPECT_EQ(items->count(), 1);
    EXPECT_EQ(items->currentRow(), 0);
    EXPECT_FALSE(Button("btnDeleteItem")->isEnabled());
    EXPECT_TRUE(Button("btnCloneName")->isEnabled());
    EXPECT_FALSE(OkEnabled());

    Click("btnCloneName");
    ASSERT_EQ(names->count(), 4);
    EXPECT_EQ(names->item(1)->text(), "VCR Clone");
    EXPECT_EQ(names->currentRow(), 2);
    EXPECT_TRUE(OkEnabled());

    answers = {"Record"};
    Click("btnAddItem");
    EXPECT_EQ(items->count(), 2);
    EXPECT_EQ(items->item(0)->text(), "Record");
    EXPECT_TRUE(Button("btnDeleteItem")->isEnabled());
    Click("btnItemDown");
    EXPECT_EQ(items->item(1)->text(), "Record");
    EXPECT_EQ(items->currentRow(), 1);

    names->setCurrentRow(3);  // CD
    items->setCurrentRow(2);
    EXPECT_FALSE(Button("btnItemDown")->isEnabled());
    Click("btnDeleteItem");
    EXPECT_EQ(items->count(), 2);
    EXPECT_EQ(items->currentRow(), 1);
    Click("btnDeleteName");
    EXPECT_EQ(names->count(), 3);
    EXPECT_EQ(names->currentRow(), 2);

    Click("btnTemplateDefaults");
    EXPECT_EQ(names->count(), 10);
    EXPECT_EQ(names->item(0)->text(), "AirCond");
}

TEST_F(PreferencesWindow, TemplateDefaultsAloneLeaveOkDisabled) {
    Open();
    SelectNode("Button Templates");
    Click("btnTemplateDefaults");
    EXPECT_FALSE(OkEnabled());
}

// A whole modal run: the window is driven while it is shown, then closed with Cancel or OK.
TEST_F(PreferencesWindow, CancelDiscardsAndOkHandsBack) {
    for (bool ok : {false, true}) {
        TfrmIRPrefrences dialog;
        dialog.Model().OnLoad = window.Model().OnLoad;
        dialog.Model().OnSave = window.Model().OnSave;
        dialog.SetAskTemplateText([](std::string& text, const std::string&) {
            text = "Projector";
            return true;
        });
        QTimer::singleShot(0, &dialog, [&dialog, ok] {
            auto button = [&](const char* name) { return dialog.findChild<QAbstractButton*>(name); };
            ClickOn(button("chkAllowProtocolEdit"));
            dialog.findChild<QListWidget*>("lbTemplateNames")->setCurrentRow(0);
            QTest::mouseClick(button("btnAddName"), Qt::LeftButton);
            QTest::mouseClick(ok ? dialog.Buttons()->OKButton() : dialog.Buttons()->CancelButton(), Qt::LeftButton);
        });
        const bool result = dialog.Execute();
        EXPECT_EQ(result, ok);
        EXPECT_EQ(options.AllowProtocolEdit, ok);
        EXPECT_EQ(templates.Count(), ok ? 4 : 3);
        EXPECT_EQ(saves, ok ? 1 : 0);
    }
    EXPECT_EQ(templates.TemplateName(0), "Projector");
}

}  // namespace
}  // namespace spectrel
