#pragma once
// The commands whose windows come in a later version: each shows an information box saying so. Kept in one
// place, so that each is replaced by its window as it arrives.

#include "platform/MessageBoxes.h"

namespace spectrel {

enum class TLaterCommand { Wizard, Explore, Save, Preferences, AddButton, AddButtons, LoadButtonNames, SaveButtonNames };

// The text of the information box.
const char* LaterCommandText(TLaterCommand command);
void ShowComingLater(platform::MessageBoxes& boxes, TLaterCommand command);

}  // namespace spectrel
