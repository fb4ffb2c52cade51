#pragma once
// Which commands of the main window are usable: the rule of UpdateCommandStates over the reader connection,
// the idle state, the current protocol and the button list, and the visibility rule of the Options menu.
// The window only copies these flags onto its controls.

#include <string>

namespace spectrel {

class TbuttonCodes;
struct Tprotocol_descriptor;

// What the command states depend on.
struct TCommandStateInput {
    bool connected = false;       // the reader answered the last connection attempt
    bool idle = true;             // no learning procedure is running
    bool protocolValid = false;   // the current protocol descriptor is valid
    int buttonCount = 0;          // buttons in the button list
    bool allButtonsHaveCodes = true;  // every button has a code (also true for an empty list)
};

TCommandStateInput CommandStateInputFor(bool connected, bool idle, const Tprotocol_descriptor& current,
                                        const TbuttonCodes& buttons);

// Visibility of the work area and the enabled state of each command.
struct TCommandStates {
    bool masterPanelVisible = false;  // the work area; the message panel shows otherwise
    bool wizard = false;              // toolbar "Wizard" and menu "IR Wizard"
    bool saveButtonNames = false;     // menu "&Save Button Names"
    bool learnProtocol = false;       // protocol "Learn"
    bool selectProtocol = false;      // protocol "Select"
    bool addButtons = false;          // "Add" and "Add +"
    bool loadButtonNames = false;     // menu "&Load Button Names"
    bool learnAll = false;            // "Learn All"
    bool explore = false;             // toolbar "Explore"
    bool save = false;                // toolbar "Save"
    bool editProtocol = false;        // protocol "Edit"
    bool advancedEdit = false;        // menu "Advanced edit IR protocol"
    bool operator==(const TCommandStates&) const = default;
};

TCommandStates CommandStatesFor(const TCommandStateInput& input);

// Which items of the Options menu are visible, from the advanced options.
struct TOptionsMenuVisibility {
    bool advancedEdit = false;        // "Advanced edit IR protocol": AllowProtocolEdit
    bool decodingParameters = false;  // "Edit IR decoding parameters": AllowDecodingParmeterEdit
    bool optionsMenu = false;         // the menu itself: at least one of the two
    bool operator==(const TOptionsMenuVisibility&) const = default;
};

TOptionsMenuVisibility OptionsMenuVisibilityFor(bool allowProtocolEdit, bool allowDecodingParameterEdit);

// The first status panel: "Reader 1.3" while connected, otherwise "Cannot Find Reader" after the first
// activation and "No Reader" after a later attempt.
std::string ReaderStatusText(bool connected, int firstVersion, int secondVersion, bool firstActivation);

}  // namespace spectrel
