// Every page of the IR wizard, walked through as a user would: the details typed, the protocol learned from
// the virtual reader, the HomeAuto template chosen and every button learned.

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <functional>
#include <memory>

#include "Code/SPX_wizard2.h"
#include "tests/wizard_host_double.h"
#include "tools/screenshots/Screenshots.h"

namespace spectrel::screenshots {
namespace {

struct WizardScene {
    test::WizardHostDouble host{std::string(SPECTREL_SOURCE_DIR) + "/tests/data/protocols_good.ini"};
    std::unique_ptr<TfrmIRWizard> wizard;
};

void Click(TfrmIRWizard& wizard, const char* name) {
    if (auto* button = wizard.findChild<QPushButton*>(name)) button->click();
}

int PageIndex(TfrmIRWizard& wizard) { return wizard.findChild<QStackedWidget*>("kWizard")->currentIndex(); }

// The wizard on page `page` (0 to 7), with what a user would have done on the pages before.
void Walk(WizardScene& scene, int page, bool standard) {
    test::WizardHostDouble& host = scene.host;
    host.boxes.setStrict(false);  // the pictures play a user who accepts every box
    host.details = {};
    host.details.deviceType = {{"DVD", "HomeAuto", "Other", "TV", "VCR"}, -1, ""};
    host.settings.AllowProtocolEdit = true;
    host.settings.UseSubstutionRules = true;
    if (standard) {
        CopyStandardProtocol(host.standards, 0, host.current);
        WriteProtocolDescription(host.mainList, host.current);
    }
    scene.wizard = std::make_unique<TfrmIRWizard>(host.Model(), host);
    TfrmIRWizard& wizard = *scene.wizard;
    wizard.resize(640, 480);
    wizard.Prepare();

    const auto next = [&] { Click(wizard, "btnNext"); };
    if (page >= 1) next();
    if (page >= 1) {
        wizard.findChild<QComboBox*>("ComboxDeviceType")->setCurrentIndex(1);
        wizard.findChild<QComboBox*>("ComboxDeviceBrand")->setEditText("Halvren");
        wizard.findChild<QLineEdit*>("EditDeviceModel")->setText("Hub 2");
        wizard.findChild<QComboBox*>("ComboxRCBrand")->setEditText("Halvren");
        wizard.findChild<QLineEdit*>("EditRCModel")->setText("HR-8");
        wizard.findChild<QPlainTextEdit*>("MemoDeviceNotes")->setPlainText("Living room hub\nbattery cover missing");
        if (page == 1) return;
        next();
    }
    if (page >= 3) next();
    if (page == 3 || (page > 3 && !standard)) {
        if (!standard) {
            host.QueueProtocolPresses();
            Click(wizard, "btnLearn");
        }
        if (page == 3) return;
    }
    if (page == 4) return;
    if (standard) {
        auto* list = wizard.findChild<QListWidget*>("lbxStandardProtocols");
        list->setCurrentRow(0);
    }
    if (page >= 5 && PageIndex(wizard) != kButtonsPage) next();
    if (page >= 5) {
        auto* templates = wizard.findChild<QListWidget*>("lbxTemplates");
        const auto found = templates->findItems("HomeAuto", Qt::MatchExactly);
        if (!found.isEmpty()) {
            templates->setCurrentItem(found.front());
            wizard.Flow().TemplateClicked("HomeAuto");
        }
        if (page == 5) return;
        next();
        for (std::uint8_t key = 0x10; key < 0x18; ++key) host.Press(virtualboard::necSignal(0, key));
        Click(wizard, "btnLearnAll");
        auto* grid = wizard.findChild<QTableWidget*>("grdLearn");
        grid->selectRow(2);
        if (page == 6) return;
        next();
    }
}

// The picture of the wizard on `page`; the scene is released before the application ends.
QImage PictureAt(int page, bool standard = false, const std::function<void(TfrmIRWizard&)>& then = {}) {
    WizardScene scene;
    Walk(scene, page, standard);
    if (then) then(*scene.wizard);
    return Grab(*scene.wizard);
}

}  // namespace

SPECTREL_SCREENSHOT("wizard_1_welcome") { return PictureAt(0); }
SPECTREL_SCREENSHOT("wizard_2_remote_details") { return PictureAt(1); }
SPECTREL_SCREENSHOT("wizard_3_protocol_choice") { return PictureAt(2); }
SPECTREL_SCREENSHOT("wizard_4_learn_protocol") { return PictureAt(3); }
SPECTREL_SCREENSHOT("wizard_5_standard_protocol") {
    return PictureAt(2, true, [](TfrmIRWizard& wizard) {
        Click(wizard, "btnNext");
        wizard.findChild<QListWidget*>("lbxStandardProtocols")->setCurrentRow(0);
    });
}
SPECTREL_SCREENSHOT("wizard_6_buttons") { return PictureAt(5); }
SPECTREL_SCREENSHOT("wizard_7_learn_buttons") { return PictureAt(6); }
SPECTREL_SCREENSHOT("wizard_8_save") { return PictureAt(7); }

}  // namespace spectrel::screenshots
