// The command-state and Options-menu rules of the main window.

#include "Code/SPX_CommandStates.h"

#include "Code/SPX_ComPortUnit.h"
#include "Code/SPX_Data.h"
#include "Code/SPX_Data_ButtonCodes.h"

namespace spectrel {

TCommandStateInput CommandStateInputFor(bool connected, bool idle, const Tprotocol_descriptor& current,
                                        const TbuttonCodes& buttons) {
    TCommandStateInput input;
    input.connected = connected;
    input.idle = idle;
    input.protocolValid = current.valid;
    input.buttonCount = buttons.Count();
    input.allButtonsHaveCodes = buttons.AllHaveCodes();
    return input;
}

TCommandStates CommandStatesFor(const TCommandStateInput& in) {
    const bool ready = in.connected && in.idle;
    TCommandStates states;
    states.masterPanelVisible = in.connected;
    states.wizard = in.connected;
    states.saveButtonNames = in.connected;
    states.learnProtocol = ready;
    states.selectProtocol = ready;
    states.addButtons = ready;
    states.loadButtonNames = ready;
    states.learnAll = ready && in.buttonCount > 0 && !in.allButtonsHaveCodes;
    states.explore = ready && in.protocolValid;
    states.save = ready && in.protocolValid;
    states.editProtocol = ready && in.protocolValid;
    states.advancedEdit = ready && in.protocolValid;
    return states;
}

TOptionsMenuVisibility OptionsMenuVisibilityFor(bool allowProtocolEdit, bool allowDecodingParameterEdit) {
    TOptionsMenuVisibility visibility;
    visibility.advancedEdit = allowProtocolEdit;
    visibility.decodingParameters = allowDecodingParameterEdit;
    visibility.optionsMenu = allowProtocolEdit || allowDecodingParameterEdit;
    return visibility;
}

std::string ReaderStatusText(bool connected, int firstVersion, int secondVersion, bool firstActivation) {
    if (connected) return "Reader " + std::to_string(firstVersion) + "." + std::to_string(secondVersion);
    return firstActivation ? reader_status::kCannotFindReader : reader_status::kNoReader;
}

}  // namespace spectrel
