// Pictures of the protocol settings editor and of every page of the preferences dialog.

#include <QListWidget>
#include <QTabWidget>
#include <QTreeWidget>

#include "Code/IRPrefrences.h"
#include "Code/SPX_Data.h"
#include "Code/fProtocolSettings2.h"
#include "Code/fRestrictedEdit.h"
#include "Code/uKOR_IniObject.h"
#include "Code/uKOR_SpectrelIni.h"
#include "testing/MemoryUserStore.h"
#include "testing/ScriptedMessageBoxes.h"
#include "tools/screenshots/Screenshots.h"

namespace spectrel::screenshots {
namespace {

// The protocol the command-line learner finds for the Prinz DVD player's remote (01_prinz_dvd_t182.ir).
constexpr const char* kLearnedDvdLine =
    "T,F,\"NO NAME\",26.5,104,iJ,i,J,?,,0,1,-1,-67,3,0,-1,-1,7,188,564,1682.64583333333,2266.28571428571,"
    "4521.66666666667,8350,8427,8648,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,T,F,F,F,T,T,T,F,F,F,F,F,F,F,"
    "F,F,F,F,F,F,F,F,F,F,F,F,F,F,F,F,F,F,T,T,T,T,F,F,F,F,F,F,F,F,F,F,F,F,F,F,F,F,F,F,F,F,F,F,F,F,F,F,F,End";

QImage ProtocolSettingsPicture(Tprotocol_descriptor descriptor, bool renameRequired) {
    TWorkingProtocol working;
    working.carrier_period = descriptor.carrier_period;
    testing::ScriptedMessageBoxes boxes{testing::ScriptedMessageBoxes::Unscripted::Accept};
    TfrmProtocolSettings window(descriptor, working, boxes);
    window.Load(renameRequired);
    return Grab(window);
}

Tprotocol_descriptor LearnedDvd() {
    Tprotocol_descriptor d;
    DescriptorFromText(d, kLearnedDvdLine);
    return d;
}

SPECTREL_SCREENSHOT("protocol_settings_learned") { return ProtocolSettingsPicture(LearnedDvd(), false); }

SPECTREL_SCREENSHOT("protocol_settings_rename_required") {
    Tprotocol_descriptor d = LearnedDvd();
    d.format = "i";
    return ProtocolSettingsPicture(d, true);
}

SPECTREL_SCREENSHOT("protocol_settings_pulsed") {
    Tprotocol_descriptor d = LearnedDvd();
    d.name = "Pulsed remote";
    d.carrier_period = 0;
    d.format = "Ix";
    d.x_letter = 'x';
    d.dummy_code = "aBaB";
    return ProtocolSettingsPicture(d, false);
}

// The preferences dialog on the page of one tree node, with first-start values.
QImage PreferencesPicture(const char* node, int templateRow = -1) {
    testing::MemoryUserStore store;
    TSpectrelIniObject options(store, SpectrelKeyPath());
    shell::TShellPreferences shell;
    TButtonTemplates templates;
    templates.SetDefaultTemplates();
    TfrmIRPrefrences window;
    window.Model().OnLoad = [&](TPreferencesModel& m) { LoadPreferences(m, shell, options, templates); };
    window.Prepare();
    auto* tree = window.findChild<QTreeWidget*>("tvNavigator");
    const QList<QTreeWidgetItem*> found =
        tree->findItems(QString::fromUtf8(node), Qt::MatchExactly | Qt::MatchRecursive);
    if (!found.isEmpty()) {
        if (found[0]->parent() != nullptr) found[0]->parent()->setExpanded(true);
        tree->setCurrentItem(found[0]);
    }
    if (templateRow >= 0) {
        window.findChild<QListWidget*>("lbTemplateNames")->setCurrentRow(templateRow);
    }
    return Grab(window);
}

SPECTREL_SCREENSHOT("preferences_01_form_preferences") { return PreferencesPicture("Form Preferences"); }
SPECTREL_SCREENSHOT("preferences_02_flat_buttons") { return PreferencesPicture("Flat Buttons"); }
SPECTREL_SCREENSHOT("preferences_03_remember_positions") {
    return PreferencesPicture("Remember floating control positions");
}
SPECTREL_SCREENSHOT("preferences_04_show_hints") { return PreferencesPicture("Show Hints"); }
SPECTREL_SCREENSHOT("preferences_05_hint_time") { return PreferencesPicture("Hint Time"); }
SPECTREL_SCREENSHOT("preferences_06_form_size") { return PreferencesPicture("Persistant form size and position"); }
SPECTREL_SCREENSHOT("preferences_07_wizard_view") { return PreferencesPicture("Wizard view"); }
SPECTREL_SCREENSHOT("preferences_08_advanced") { return PreferencesPicture("Advanced"); }
SPECTREL_SCREENSHOT("preferences_09_match_standard") { return PreferencesPicture("Match to Standard Protocol"); }
SPECTREL_SCREENSHOT("preferences_10_substitution") { return PreferencesPicture("Use Substitution Rules"); }
SPECTREL_SCREENSHOT("preferences_11_protocol_edit") { return PreferencesPicture("Allow Protocol Edit"); }
SPECTREL_SCREENSHOT("preferences_12_decoding_edit") { return PreferencesPicture("Allow Ir Decoding Parmeters Edit"); }
SPECTREL_SCREENSHOT("preferences_13_attach_protocol") { return PreferencesPicture("Attach Protocol To File"); }
SPECTREL_SCREENSHOT("preferences_14_button_templates") { return PreferencesPicture("Button Templates", 8); }

// The template editor asks for a template name in the restricted text dialog (letters, digits, " -+").
SPECTREL_SCREENSHOT("preferences_15_template_name_prompt") {
    TfrmRestictedEdit dialog;
    dialog.Prepare("Projector 2", "Template Name", " -+", 2);
    return Grab(dialog);
}

}  // namespace
}  // namespace spectrel::screenshots
