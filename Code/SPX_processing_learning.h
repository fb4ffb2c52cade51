#pragma once
// The learning procedures: learning a remote's protocol from three key presses, learning one button or every
// button of the list by one press each, and exploring, where arbitrary keys are collected and the protocol may
// be corrected on the way. They are dialogues with the user around the capture, written against small
// interfaces (message boxes, progress bar, the lists they write to, the window's command states), so they run
// the same in the main window, in the wizard, in tests and on the command line.

#include <string>
#include <vector>

#include "Code/SPX_Data.h"
#include "Code/SPX_ProtocolDescription.h"
#include "Code/SPX_processing.h"
#include "Code/SPX_processing_checks.h"
#include "platform/MessageBoxes.h"

namespace spectrel {

class TReaderLink;
class TbuttonCodes;
class TButtonCode;
class TReplaceRule;
class TSpectrelIniObject;
class TCaptureProgressBar;

// What the procedures ask of the window they run in. Every operation does nothing by default, so a procedure
// runs headless with a plain TLearningWindow.
class TLearningWindow {
public:
    virtual ~TLearningWindow() = default;
    // Enables the commands for an idle window (true) or disables the learning commands while a procedure runs.
    virtual void UpdateCommandStates(bool idle) { (void)idle; }
    // Rebuilds the button grid from the button list.
    virtual void RefreshButtonGrid() {}
    // The whole main window, disabled while a single button is learned.
    virtual void EnableMainWindow(bool enabled) { (void)enabled; }
    // The protocol name field.
    virtual void ShowProtocolName(const std::string& name) { (void)name; }
    // Forgets the decoding-parameters dialog's record of changed settings.
    virtual void ResetDecodingSettingsChanged() {}
    // Index into the button list of the grid's first selected row; -1 when no row is selected.
    virtual int SelectedButtonIndex() const { return -1; }
    // The progress bar of the main window's receive status; may be null.
    virtual TCaptureProgressBar* ReceiveProgressBar() { return nullptr; }
    // The main window's protocol description list; may be null.
    virtual TColouredList* ProtocolList() { return nullptr; }
};

// The advanced options the procedures read.
struct TLearningOptions {
    bool MatchToStandardProtocol = true;
    bool UseSubstutionRules = true;
    bool SubsBinByHex = false;
    bool TolerantLearning = false;
};
TLearningOptions LearningOptionsFrom(const TSpectrelIniObject& options);

// What the procedures work on; every member is owned by the caller and outlives the procedures.
struct TLearningModel {
    TAnalysisContext& context;
    TReaderLink& reader;
    platform::MessageBoxes& boxes;
    Tprotocol_descriptor& current;      // the current protocol
    Tprotocol_descriptor& learnedCopy;  // the last learned protocol, kept when a standard one replaces it
    const Tstandard_protocols& standards;
    TbuttonCodes& buttons;      // the button list
    TbuttonCodes& exploreList;  // unnamed codes found while exploring
    TReplaceRule& rules;        // substitution rules
};

// Texts of the procedures' prompts.
namespace learning_text {
inline constexpr const char* kLoseEverything = "All learned information will be lost. Continue?";
inline constexpr const char* kFirstPress =
    " Click OK, point remote control to receiver and then\rpress any button on remote control at least for 2 sec";
inline constexpr const char* kCapturingFirst = "\002   Capturing \003first\002 button";
inline constexpr const char* kCapturingNext = "\002   Capturing \003next\002 button";
inline constexpr const char* kNoFramesRecorded = "No frames recorded, abort?";
inline constexpr const char* kAcceptRecord = "Press OK to accept record, Abort to exit";
inline constexpr const char* kAnotherButton = "Click \"OK\" and then press ANOTHER button";
inline constexpr const char* kSameButton = "Click \"OK\" and then press THE SAME button again";
inline constexpr const char* kLearnedProtocolName = "NO NAME";
inline constexpr const char* kPressButtonPrefix = "Click OK and then press button \r\r       ";
inline constexpr const char* kCodeRecorded = "Code recorded successfully";
inline constexpr const char* kNoProtocolForButton =
    "It is not possible to learn a button until you have selected or learnt a protocol.";
inline constexpr const char* kNoProtocolForButtons =
    "It is not possible to learn buttons until you have selected or learnt a protocol.";
inline constexpr const char* kNoButtons = "You have not created any buttons.\rPlease add some buttons and try again";
inline constexpr const char* kPressAnyButton = "Click OK and then press any button on remote control";
inline constexpr const char* kDataFrameMissed = "Data frame is missed, please read again";
inline constexpr const char* kFrameRateDiffers =
    "Frames rate differs from the specified in protocol\rPlease explore IR or explore buttons";
inline constexpr const char* kCarrierDiffers =
    "Carrier period differs from the specified in protocol\rPlease explore IR or explore buttons";
inline constexpr const char* kShorter = "Data frame is shorter than expected. Accept?";
inline constexpr const char* kLonger = "Data frame is longer than expected. Accept?";
inline constexpr const char* kFrameRateUpdate = "Frames rate differs from the specified in protocol\rUpdate protocol?";
inline constexpr const char* kCarrierUpdate = "Carrier period differs from the specified in protocol\rUpdate protocol?";
inline constexpr const char* kUpdateDefinition = "Would you like to update protocol definition?";
inline constexpr const char* kShorterUpdate =
    "Data frame is shorter than expected. \rWould you like to update protocol definition?";
inline constexpr const char* kLongerUpdate =
    "Data frame is longer than expected.\rWould you like to update protocol definition?";
}  // namespace learning_text

// "Received dummy frame "<received>"\rdoes not match described in protocol "<expected>"".
std::string DummyMismatchText(const std::string& received, const std::string& expected);
// "This frame already recorded fo button "<recorded>"\rDo you wish to use that code for button "<name>" as well?"
std::string DuplicateCodeText(const std::string& recordedButton, const std::string& name);
// "Click OK and then press button \r\r       <name>\r".
std::string PressButtonText(const std::string& name);

// Tolerant learning: the first frame in which the first presses of the two learning keys differ (a frame only
// one of them sent counts as differing); -1 when they agree on every frame.
int FirstVaryingFrame(const TAnalysisContext& context);
// Tolerant learning, at the end of protocol learning: when the frames at the I and J positions do not tell the
// two learning keys apart (an air conditioner's leader and header frames), or when every press is a row of
// frames each sent once, three or more of them or as many as the key needs (state spread over sections, data
// split by long pauses), the frames from the first one that varies to the end of the press become the data
// (`tolerant.data_from`) and the data length "at least" that of the first key's code. Otherwise data_from is -1.
void TakeVaryingFramesAsData(const TAnalysisContext& context, Tprotocol_descriptor& current);

class TLearningProcedures {
public:
    TLearningProcedures(TLearningModel model, TLearningWindow& window);

    TLearningOptions options;

    // Learns the protocol from one key pressed twice and another key pressed once. The message list receives
    // the progress lines, the description list (may be null) the protocol as learned so far; the window's
    // protocol list shows the result. The reader port is open only while the procedure runs.
    void LearnProtocol(TCaptureProgressBar* progressBar, TColouredList* displayList, TColouredList* descriptionList);

    // Learns one key for the button called `name`: true when a capture was taken, its codes in data and data2.
    // An Abort answer sets `stopRequest`.
    bool LearnButton(const std::string& name, bool& stopRequest, TCaptureProgressBar* progressBar, std::string& data,
                     std::string& data2);
    // LearnButton for the button with the window's receive progress bar; stores the codes it returned.
    void LearnButtonCode(TButtonCode& button);
    // The "Learn" action of the button list, for the first selected button.
    void LearnSelectedButton();
    // The "Learn All" command: every button without a code, in list order, until the user aborts.
    void LearnAllButtons();
    // Collects the codes of arbitrary keys in the explore list, shown in `exploreListBox`, and offers to
    // correct the protocol where a capture differs from it.
    void ExploreButtons(TCaptureProgressBar* progressBar, TColouredList& exploreListBox);
    // Writes the explore list into the list box, the entry equal to `text` marked; its index, or -1.
    int ShowExploreList(TColouredList& listBox, const std::string& text);

    // Writes the current protocol's description into the list, shows its name and refreshes the window.
    void DescribeProtocol(TColouredList* list, bool clear = true);

    // The stop request of the last LearnAllButtons.
    bool StopRequested() const { return stopRequest_; }

private:
    // Opens the reader port; tells the user and returns false when it cannot be opened.
    bool OpenPort();
    // The capture loop of LearnProtocol; true when the final analysis is to run.
    bool CaptureLearningRecords(TCaptureProgressBar* progressBar, TColouredList* displayList,
                                TColouredList* descriptionList);
    void FinalAnalysis(TColouredList* displayList, TColouredList* descriptionList);
    void Describe(TColouredList* list, const Tprotocol_descriptor& descriptor, bool clear);
    // After an update by exploring: a standard protocol becomes a learned one named "~" + its name.
    void ProtocolUpdated();

    TLearningModel model_;
    TLearningWindow& window_;
    bool stopRequest_ = false;
    // While a procedure runs, describing the protocol leaves the learning commands disabled.
    bool busy_ = false;
};

}  // namespace spectrel
