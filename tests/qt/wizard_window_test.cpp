// The IR wizard window driven headless by object name: its pages and navigation buttons, the page checks, the
// protocol name on leaving the learn page, the standard page, the learn grid following the buttons through the
// bus, the summary, and a whole run on the virtual reader that saves a device file.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QXmlStreamReader>

#include "Code/SPX_wizard2.h"
#include "tests/settings_temp_folder.h"
#include "tests/wizard_host_double.h"

namespace spectrel::test {
namespace {

using platform::MessageButton;
using platform::MessageKind;

const std::string kStandardsFile = std::string(SPECTREL_SOURCE_DIR) + "/tests/data/protocols_good.ini";

class WizardWindowTest : public ::testing::Test {
protected:
    WizardWindowTest() {
        host.details.deviceType = {{"DVD", "Other", "TV", "VCR"}, 2, "TV"};
        host.details.deviceBrand.text = "Sony";
        host.details.deviceModel = "KV-1";
        host.details.remoteBrand.text = "SONY";
        host.details.remoteModel = "rm-D5";
    }

    TfrmIRWizard& Open() {
        wizard = std::make_unique<TfrmIRWizard>(host.Model(), host);
        wizard->Prepare();
        wizard->show();
        host.calls.clear();
        return *wizard;
    }
    template <typename T>
    T* Find(const char* name) const {
        T* widget = wizard->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QPushButton* Button(const char* name) const { return Find<QPushButton>(name); }
    void Click(const char* name) {
        QPushButton* button = Button(name);
        ASSERT_TRUE(button->isEnabled()) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    std::string PageName() const {
        return wizard->findChild<QStackedWidget*>("kWizard")->currentWidget()->objectName().toStdString();
    }
    void NextUntil(const char* pageName) {
        for (int i = 0; i < 8 && PageName() != pageName; ++i) Click("btnNext");
        ASSERT_EQ(PageName(), pageName);
    }
    void SelectGridRow(int row) {
        QTableWidget* grid = Find<QTableWidget>("grdLearn");
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(row, 0)).center());
    }
    std::vector<std::string> Texts() const { return host.boxes.texts(); }
    std::vector<std::pair<std::string, std::string>> Summary() const {
        QTableWidget* grid = Find<QTableWidget>("grdSummary");
        std::vector<std::pair<std::string, std::string>> rows;
        for (int row = 0; row < grid->rowCount(); ++row)
            rows.emplace_back(grid->item(row, 0)->text().toStdString(), grid->item(row, 1)->text().toStdString());
        return rows;
    }

    WizardHostDouble host{kStandardsFile};
    std::unique_ptr<TfrmIRWizard> wizard;
};

TEST_F(WizardWindowTest, PagesHeaderAndNavigationButtons) {
    Open();
    EXPECT_EQ(wizard->windowTitle(), "Spectrel Wizard");
    EXPECT_EQ(PageName(), "KWizardWelcomePage");
    EXPECT_EQ(Find<QLabel>("lblTitle")->text(), "Welcome to the Spectrel Wizard");
    EXPECT_TRUE(Find<QLabel>("lblSubtitle")->text().startsWith("This wizard will step up through the all the stages"));
    struct Caption {
        const char* name;
        const char* text;
    };
    for (const Caption& c : {Caption{"btnBack", "< &Back"}, Caption{"btnNext", "&Next >"},
                             Caption{"btnFinish", "&Finish"}, Caption{"btnHelp", "&Help"}})
        EXPECT_EQ(Button(c.name)->text(), c.text);
    EXPECT_FALSE(Button("btnBack")->isEnabled());
    EXPECT_TRUE(Button("btnNext")->isDefault());
    EXPECT_TRUE(Button("btnHelp")->isVisible());
    for (const char* name : {"KWizardWelcomePage", "kWizardInfo", "kwpProtocolSelect", "kwpExploreIR",
                             "kwpGetStandardProtocol", "kwpGetButtons", "pageLearnButtons", "kwpSaveToFile"})
        EXPECT_NE(wizard->findChild<QWidget*>(name), nullptr) << name;

    Click("btnHelp");
    EXPECT_EQ(host.calls, (std::vector<std::string>{"OpenHelp=3100"}));
    Click("btnNext");
    Click("btnNext");
    EXPECT_EQ(PageName(), "kwpProtocolSelect");
    EXPECT_EQ(Find<QLabel>("lblTitle")->text(), "Getting the Protocol");
    EXPECT_FALSE(Button("btnHelp")->isVisible());
}

TEST_F(WizardWindowTest, LearnChoiceFlowAndBack) {
    host.LearnNecProtocol();
    host.AddButtons({"Power"});
    Open();
    EXPECT_TRUE(Find<QRadioButton>("rbLearnProtocol")->isChecked());
    std::vector<std::string> pages{PageName()};
    for (int i = 0; i < 6; ++i) {
        Click("btnNext");
        pages.push_back(PageName());
    }
    EXPECT_EQ(pages, (std::vector<std::string>{"KWizardWelcomePage", "kWizardInfo", "kwpProtocolSelect",
                                               "kwpExploreIR", "kwpGetButtons", "pageLearnButtons",
                                               "kwpSaveToFile"}));
    EXPECT_FALSE(Button("btnNext")->isEnabled());
    EXPECT_TRUE(Button("btnFinish")->isDefault());
    Click("btnBack");
    Click("btnBack");
    Click("btnBack");
    EXPECT_EQ(PageName(), "kwpExploreIR");
}

TEST_F(WizardWindowTest, StandardChoiceFlowAndBack) {
    CopyStandardProtocol(host.standards, 1, host.current);  // RC5
    host.AddButtons({"Power"});
    Open();
    EXPECT_TRUE(Find<QRadioButton>("rbStandardProtocol")->isChecked());
    NextUntil("kwpGetStandardProtocol");
    QListWidget* list = Find<QListWidget>("lbxStandardProtocols");
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(list->currentRow(), 1);
    Click("btnNext");
    EXPECT_EQ(PageName(), "kwpGetButtons");
    Click("btnBack");
    EXPECT_EQ(PageName(), "kwpGetStandardProtocol");
    Click("btnBack");
    EXPECT_EQ(PageName(), "kwpProtocolSelect");
}

TEST_F(WizardWindowTest, DetailsChecksAndCopyBack) {
    Open();
    Click("btnNext");
    EXPECT_EQ(Find<QLineEdit>("EditRCModel")->text(), "rm-D5");
    Find<QLineEdit>("EditRCModel")->clear();
    Find<QLineEdit>("EditDeviceModel")->clear();
    Click("btnNext");
    EXPECT_EQ(PageName(), "kWizardInfo");
    EXPECT_EQ(Texts(), (std::vector<std::string>{"The remote model field cannot be blank"}));
    EXPECT_EQ(host.boxes.shown()[0].kind, MessageKind::Error);

    QTest::keyClicks(Find<QLineEdit>("EditRCModel"), "RM-7");
    QTest::keyClicks(Find<QLineEdit>("EditDeviceModel"), "KV-2");
    QTest::keyClicks(Find<QPlainTextEdit>("MemoDeviceNotes"), "shelf");
    host.calls.clear();
    Click("btnNext");
    EXPECT_EQ(PageName(), "kwpProtocolSelect");
    EXPECT_EQ(host.calls, (std::vector<std::string>{"RemoteBrand=SONY", "RemoteModel=RM-7", "DeviceTypeIndex=2",
                                                    "DeviceTypeChange", "DeviceType=TV", "DeviceBrand=Sony",
                                                    "DeviceModel=KV-2", "Notes=shelf"}));
}

TEST_F(WizardWindowTest, DeviceTypeWithoutBrandFileGivesTheBuiltInBrands) {
    TempFolder folder;
    host.applicationFolder = folder.Folder();
    Open();
    Click("btnNext");
    QComboBox* type = Find<QComboBox>("ComboxDeviceType");
    type->setCurrentIndex(3);  // VCR, no VCR.brd
    const QStringList expected{"Akai",    "Fujitsu", "Halvren", "JVC",     "Mitsubishi",
                               "NEC",     "Panasonic", "Philips", "Samsung", "Sanyo",
                               "Sharp",   "Siemens", "Sony",    "TEAC",    "Westinghouse"};
    for (const char* name : {"ComboxDeviceBrand", "ComboxRCBrand"}) {
        QComboBox* brands = Find<QComboBox>(name);
        QStringList items;
        for (int i = 0; i < brands->count(); ++i) items << brands->itemText(i);
        EXPECT_EQ(items, expected) << name;
    }
    // The typed brands stay.
    EXPECT_EQ(Find<QComboBox>("ComboxRCBrand")->currentText(), "SONY");
    EXPECT_TRUE(Texts().empty());
}

TEST_F(WizardWindowTest, LeavingTheLearnPageWithAStandardName) {
    host.LearnNecProtocol();
    Open();
    NextUntil("kwpExploreIR");
    QLineEdit* name = Find<QLineEdit>("edtProtocol");
    EXPECT_EQ(name->text(), "NO NAME");
    name->clear();
    QTest::keyClicks(name, " Nec ");
    host.boxes.script({MessageButton::Ok});
    Click("btnBack");
    EXPECT_EQ(PageName(), "kwpProtocolSelect");
    EXPECT_EQ(Texts(), (std::vector<std::string>{"You have selected the name of a standard protocol. This name "
                                                 "\r\nwill be changed automatically to avoid conflicts."}));
    EXPECT_EQ(host.current.name, " Nec ~1");
    EXPECT_EQ(name->text(), " Nec ~1");
    EXPECT_FALSE(host.current.standard);
}

TEST_F(WizardWindowTest, DefaultProtocolNameOnTheLearnPage) {
    host.settings.AllowProtocolEdit = true;
    Open();
    NextUntil("kwpExploreIR");
    EXPECT_EQ(Find<QLineEdit>("edtProtocol")->text(), "SonyRm-d5");
    EXPECT_TRUE(Button("btnEditProtocol")->isVisible());
    EXPECT_FALSE(Button("btnEditProtocol")->isEnabled());
    Click("btnNext");
    EXPECT_EQ(Texts(),
              (std::vector<std::string>{"Cannot find a valid protocol. Explore has not been sucessfully completed."}));
}

TEST_F(WizardWindowTest, AnotherStandardProtocolClearsCodesWithoutAsking) {
    host.AddButtons({"Power", "Mute"});
    host.buttons.Items(0).SetCode("AaAb");
    Open();
    Find<QRadioButton>("rbStandardProtocol")->setChecked(true);
    NextUntil("kwpGetStandardProtocol");
    QListWidget* list = Find<QListWidget>("lbxStandardProtocols");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    EXPECT_EQ(host.current.name, "NEC");
    EXPECT_FALSE(host.buttons.AnyHasCode());
    EXPECT_TRUE(Texts().empty());
    const auto* details = wizard->findChild<QListWidget*>("lbxStandardDetails");
    EXPECT_EQ(details->count(), static_cast<int>(ProtocolDescriptionLines(host.current).size()));
    // Clicking the current protocol again keeps a code learned since.
    host.buttons.Items(1).SetCode("AbAb");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    EXPECT_TRUE(host.buttons.Items(1).HasCode());
}

TEST_F(WizardWindowTest, StandardListFocusChoosesNothingArrowKeysChoose) {
    host.AddButtons({"Power"});
    host.buttons.Items(0).SetCode("AaAb");
    Open();
    Find<QRadioButton>("rbStandardProtocol")->setChecked(true);
    NextUntil("kwpGetStandardProtocol");
    QListWidget* list = Find<QListWidget>("lbxStandardProtocols");
    list->setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(host.current.valid);
    EXPECT_TRUE(host.buttons.AnyHasCode());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(host.current.name, "RC5");
    Click("btnNext");
    EXPECT_EQ(PageName(), "kwpGetButtons");
}

TEST_F(WizardWindowTest, LearnGridFollowsAButtonEditThroughTheBus) {
    host.LearnNecProtocol();
    host.settings.UseSubstutionRules = false;
    host.AddButtons({"Power", "Mute", "Play"});
    Open();
    NextUntil("pageLearnButtons");
    QTableWidget* grid = Find<QTableWidget>("grdLearn");
    EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), "Buttons");
    EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), "LearnResults");
    ASSERT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(grid->item(1, 1)->text(), "<not recorded>");
    EXPECT_FALSE(Button("btnGridEdit")->isEnabled());
    QTableWidgetItem* cell = grid->item(1, 0);

    SelectGridRow(1);
    EXPECT_TRUE(Button("btnGridEdit")->isEnabled());
    host.plannedEdits.push_back([](TButtonCode& b) {
        b.SetName("Silence");
        b.SetCode("AaAbAb");
        return true;
    });
    const int rebuilds = wizard->Flow().GridRebuilds();
    Click("btnGridEdit");
    EXPECT_EQ(grid->item(1, 0), cell);  // the same row, written again, not rebuilt
    EXPECT_EQ(grid->item(1, 0)->text(), "Silence");
    EXPECT_EQ(grid->item(1, 1)->text(), "AaAbAb ");
    EXPECT_EQ(wizard->Flow().GridRebuilds(), rebuilds);

    // Column widths: a third, and two thirds minus 25.
    grid->resize(600, 200);
    EXPECT_EQ(grid->columnWidth(0), 200);
    EXPECT_EQ(grid->columnWidth(1), 375);
}

TEST_F(WizardWindowTest, SummaryCounts) {
    host.LearnNecProtocol();
    host.AddButtons({"Power", "Mute", "Play"});
    host.buttons.Items(0).SetCode("AaAb");
    Open();
    NextUntil("kwpSaveToFile");
    EXPECT_TRUE(Texts().empty());
    const auto rows = Summary();
    EXPECT_NE(std::find(rows.begin(), rows.end(), std::make_pair(std::string("Used Commands"), std::string("1"))),
              rows.end());
    EXPECT_NE(std::find(rows.begin(), rows.end(), std::make_pair(std::string("Ignored Commands"), std::string("2"))),
              rows.end());
    EXPECT_EQ(rows.front().first, "SUMMARY");
    EXPECT_EQ(rows.back().first, "NOT SAVED");
}

TEST_F(WizardWindowTest, WholeRunOnTheVirtualReaderSavesADeviceFile) {
    TempFolder folder;
    host.details = {};
    host.details.deviceType = {{"DVD", "HomeAuto", "TV"}, -1, ""};
    host.settings.AllowProtocolEdit = true;
    Open();

    Click("btnNext");
    Find<QComboBox>("ComboxDeviceType")->setCurrentIndex(1);
    QTest::keyClicks(Find<QComboBox>("ComboxDeviceBrand"), "Halvren");
    QTest::keyClicks(Find<QLineEdit>("EditDeviceModel"), "Hub 2");
    QTest::keyClicks(Find<QComboBox>("ComboxRCBrand"), "halvren");
    QTest::keyClicks(Find<QLineEdit>("EditRCModel"), "HR-8");
    Click("btnNext");
    ASSERT_EQ(PageName(), "kwpProtocolSelect");
    Click("btnNext");
    ASSERT_EQ(PageName(), "kwpExploreIR");
    EXPECT_EQ(Find<QLineEdit>("edtProtocol")->text(), "HalvrenHr-8");

    // Learning: the navigation buttons are disabled and the progress bar shows while the reader works.
    bool disabledWhileLearning = false;
    bool progressWhileLearning = false;
    host.onLearnProtocol = [&] {
        disabledWhileLearning = !Button("btnNext")->isEnabled() && !Button("btnBack")->isEnabled() &&
                                !Button("btnFinish")->isEnabled() && !Button("btnLearn")->isEnabled();
        progressWhileLearning = Find<QProgressBar>("pbProtocol")->isVisible();
    };
    host.QueueProtocolPresses();
    Click("btnLearn");
    ASSERT_TRUE(host.current.valid);
    EXPECT_TRUE(disabledWhileLearning);
    EXPECT_TRUE(progressWhileLearning);
    EXPECT_FALSE(Find<QProgressBar>("pbProtocol")->isVisible());
    EXPECT_TRUE(Button("btnEditProtocol")->isEnabled());
    EXPECT_GT(Find<QListWidget>("lbxLearnResults")->count(), 5);
    Click("btnNext");
    ASSERT_EQ(PageName(), "kwpGetButtons");
    EXPECT_EQ(host.current.name, "HalvrenHr-8");

    QListWidget* templates = Find<QListWidget>("lbxTemplates");
    const QList<QListWidgetItem*> homeAuto = templates->findItems("HomeAuto", Qt::MatchExactly);
    ASSERT_EQ(homeAuto.size(), 1);
    QTest::mouseClick(templates->viewport(), Qt::LeftButton, {}, templates->visualItemRect(homeAuto[0]).center());
    ASSERT_EQ(host.buttons.Count(), 8);
    EXPECT_EQ(Find<QListWidget>("lbxButtons")->count(), 8);
    Click("btnNext");
    ASSERT_EQ(PageName(), "pageLearnButtons");

    host.boxes.clear();
    for (std::uint8_t key = 0x10; key < 0x18; ++key) host.Press(virtualboard::necSignal(0, key));
    Click("btnLearnAll");
    EXPECT_TRUE(host.buttons.AllHaveCodes()) << ::testing::PrintToString(Texts());
    QTableWidget* grid = Find<QTableWidget>("grdLearn");
    for (int row = 0; row < grid->rowCount(); ++row) EXPECT_NE(grid->item(row, 1)->text(), "<not recorded>");
    Click("btnNext");
    ASSERT_EQ(PageName(), "kwpSaveToFile");

    host.plannedSaveName = folder.File("hub.xml");
    Click("btnSave");
    ASSERT_TRUE(host.saveResult.ok) << host.saveResult.message;
    EXPECT_EQ(Summary().back(), std::make_pair(std::string("Filename"), folder.File("hub.xml")));

    QFile file(QString::fromStdString(folder.File("hub.xml")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader reader(&file);
    QStringList names;
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement) names << reader.name().toString();
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    EXPECT_FALSE(names.isEmpty());
    const QByteArray text = [&] {
        file.seek(0);
        return file.readAll();
    }();
    EXPECT_TRUE(text.contains("HalvrenHr-8"));
    EXPECT_TRUE(text.contains("Arm Security"));

    Click("btnFinish");
    EXPECT_FALSE(wizard->isVisible());
}

TEST_F(WizardWindowTest, RunStoresTheProtocolChoiceAndGivesCancel) {
    host.settings.UserProtocolExplore = true;
    CopyStandardProtocol(host.standards, 0, host.current);
    bool result = true;
    QTimer::singleShot(0, [] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* shown = qobject_cast<TfrmIRWizard*>(top); shown && shown->isVisible()) shown->close();
        }
    });
    result = TfrmIRWizard::Run(host.Model(), host);
    EXPECT_FALSE(result);
    EXPECT_FALSE(host.settings.UserProtocolExplore);
}

}  // namespace
}  // namespace spectrel::test
