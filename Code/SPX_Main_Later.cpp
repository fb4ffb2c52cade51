#include "Code/SPX_Main_Later.h"

namespace spectrel {

const char* LaterCommandText(TLaterCommand command) {
    switch (command) {
        case TLaterCommand::Wizard:
            return "The IR Wizard comes in a later version of Spectrel.";
        case TLaterCommand::Explore:
            return "Exploring the buttons comes in a later version of Spectrel.";
        case TLaterCommand::Save:
            return "Saving the device file comes in a later version of Spectrel.";
        case TLaterCommand::Preferences:
            return "The preferences dialog comes in a later version of Spectrel.";
        case TLaterCommand::AddButton:
            return "Adding a button comes in a later version of Spectrel.";
        case TLaterCommand::AddButtons:
            return "Adding several buttons comes in a later version of Spectrel.";
        case TLaterCommand::LoadButtonNames:
            return "Loading button names comes in a later version of Spectrel.";
        case TLaterCommand::SaveButtonNames:
            return "Saving button names comes in a later version of Spectrel.";
    }
    return "";
}

void ShowComingLater(platform::MessageBoxes& boxes, TLaterCommand command) {
    boxes.show(platform::MessageKind::Information, LaterCommandText(command), platform::MessageButton::Ok);
}

}  // namespace spectrel
