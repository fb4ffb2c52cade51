#pragma once
// The commands of the main window's protocol column: replacing a learned protocol by its matching standard
// protocol, selecting a standard protocol, renaming the protocol and the advanced edit through the decoding
// parameters dialog, each ending with the protocol described again in the protocol list. The window supplies
// the dialogs; everything else happens here.

#include <string>

#include "Code/SPX_Data.h"
#include "Code/SPX_ProtocolDescription.h"
#include "Code/SPX_processing_learning.h"
#include "platform/InputBox.h"
#include "platform/MessageBoxes.h"

namespace spectrel {

class TAnalysisContext;
class TbuttonCodes;
class TReplaceRule;

namespace protocol_column_text {
inline constexpr const char* kEditTitle = "Edit Protocol";
inline constexpr const char* kEditPrompt = "Enter protocol name";
inline constexpr const char* kStandardName =
    "You have selected the name of a standard protocol. This name \r\nwill be changed automatically to avoid "
    "conflicts.";
inline constexpr const char* kLoseEverything = "All learned information will be lost. Continue?";
inline constexpr const char* kRenamedSuffix = "~1";
}  // namespace protocol_column_text

// The dialogs the column opens.
class TProtocolColumnDialogs {
public:
    virtual ~TProtocolColumnDialogs() = default;
    // The Select Standard Protocol dialog: the index chosen in the standard table, -1 when cancelled.
    virtual int SelectStandardProtocol(const Tstandard_protocols& standards) = 0;
    // Shows the decoding parameters dialog in protocol mode and returns once it is hidden again; the main window
    // is disabled meanwhile.
    virtual void EditProtocolInDialog() = 0;
    // The main window takes the focus.
    virtual void FocusMainWindow() {}
};

// What the column works on; owned by the caller.
struct TProtocolColumnModel {
    TAnalysisContext& context;
    Tprotocol_descriptor& current;
    Tprotocol_descriptor& learnedCopy;
    const Tstandard_protocols& standards;
    TbuttonCodes& buttons;
    TReplaceRule& rules;
    platform::MessageBoxes& boxes;
    platform::InputBox& inputBox;
};

class TProtocolColumn {
public:
    TProtocolColumn(TProtocolColumnModel model, TLearningWindow& window, TProtocolColumnDialogs& dialogs);

    // Writes the description of the current protocol into the list (emptied first when `clear`), shows the
    // name, and updates the command states and the button grid.
    void DescribeProtocol(TColouredList* list, bool clear = true);
    // With `matchToStandard` a current protocol that matches a standard one is kept as the learned copy and
    // replaced by it; without, the learned copy comes back (named "NO NAME" when its name is blank). Then the
    // protocol list shows the current protocol.
    void ApplyStandardMatch(bool matchToStandard);
    // "Select": a standard protocol chosen in the dialog becomes the current one; every button code is cleared.
    void SelectStandardProtocol();
    // "Edit": renames the protocol; a standard protocol's name gets "~1" appended.
    void RenameProtocol();
    // "Advanced edit IR protocol": the protocol is edited in the decoding parameters dialog, its vocabulary
    // put in order afterwards, and every button code cleared, changed or not.
    void AdvancedEdit();

private:
    void DescribeInProtocolList();

    TProtocolColumnModel model_;
    TLearningWindow& window_;
    TProtocolColumnDialogs& dialogs_;
};

}  // namespace spectrel
