#pragma once
// The decisions of the protocol settings editor: it loads the current protocol descriptor into texts, keeps the
// state of its rows as the user types, filters the keys of the number fields, checks every text when OK is
// pressed (stopping at the first fault with the field that gets the input focus) and then writes the texts back
// through SetParamText. The window only mirrors this state in its controls.
//
// The editor works on the one current descriptor in place and keeps no copy of it.

#include <string>
#include <string_view>
#include <vector>

#include "Code/SPX_Data.h"

namespace spectrel {

namespace platform {
class MessageBoxes;
}

// The fields of the editor, in the order of its rows.
enum class TProtocolSettingsField {
    None,
    Name,
    CarrierPeriod,
    FrameFormat,
    FrameRate,
    DummyFrame,
    Length,
    LengthAtLeast,  // the check box "Length >= to value"
    Duration,       // a duration cell of the vocabulary grid
};

// Texts of the editor's window.
namespace protocol_settings_text {
inline constexpr const char* kCaption = "Protocol Settings";
inline constexpr const char* kChangeRequired = "Change Required";
inline constexpr const char* kMicroseconds = "microseconds";
// Shown in place of the carrier period field and its unit for a pulsed code.
inline constexpr const char* kPulsedCarrier = "Carrier frequency";
inline constexpr const char* kNoFrameRate = "No Frame Rate";
inline constexpr const char* kLengthAtLeast = "Length >= to value";
inline constexpr const char* kLengthHint =
    "Data Frame Length|Data Frame Length, 0 means any length, a negative value means frame length can be greater "
    "than value";
inline constexpr const char* kElementColumn = "Vocabulary Element";
inline constexpr const char* kDurationColumn = "Duration (in microseconds)";
inline constexpr const char* kNameMissing = "A Protocol Name must be entered";
inline constexpr const char* kNameUnchanged = "You must change the protocol name to a unique value befor saving";
}  // namespace protocol_settings_text

// Where OK stopped: the message shown and the field that gets the input focus.
struct TProtocolSettingsOutcome {
    bool accepted = false;
    std::string message;                                          // empty when accepted
    TProtocolSettingsField focus = TProtocolSettingsField::None;  // the offending field
    int durationIndex = -1;                                       // vocabulary element, for Duration
};

class TProtocolSettingsEdit {
public:
    // `working` is the analysis's working protocol (the dummy frame length is counted with its carrier);
    // error boxes of the writes go to `boxes`.
    TProtocolSettingsEdit(Tprotocol_descriptor& descriptor, const TWorkingProtocol& working,
                          platform::MessageBoxes& boxes);

    // Fills the texts from the descriptor and leaves OK disabled. A descriptor without a dummy frame letter
    // loses its dummy frame code here, whatever the user does next.
    void Load(bool renameRequired);

    // --- change actions (each enables OK)
    void SetName(const std::string& text);
    void SetCarrierPeriod(const std::string& text);
    void SetFrameFormat(const std::string& text);
    void SetFrameRate(const std::string& text);
    void SetDummyFrame(const std::string& text);
    void SetLength(const std::string& text);
    void SetLengthAtLeast(bool ticked);
    // The duration of vocabulary element `index`; ignored for an element the grid does not show.
    void SetDuration(int index, const std::string& text);

    // --- what the window shows
    bool ChangeRequiredShown() const { return renameRequired_; }
    // False for a pulsed code: the period field and its unit are hidden, "Carrier frequency" stands there.
    bool CarrierPeriodShown() const { return carrierPeriodShown_; }
    // The carrier frequency computed from the period field ("38.02 kHz"), empty when there is none to show.
    const std::string& CarrierFrequencyText() const { return frequencyText_; }
    // False while the frame format is exactly "i": "No Frame Rate" stands in place of the field.
    bool FrameRateShown() const { return frameRateShown_; }
    bool OkEnabled() const { return okEnabled_; }

    const std::string& Name() const { return name_; }
    const std::string& CarrierPeriod() const { return carrierPeriod_; }
    const std::string& FrameFormat() const { return format_; }
    const std::string& FrameRate() const { return frameRate_; }
    const std::string& DummyFrame() const { return dummyFrame_; }
    const std::string& Length() const { return length_; }
    bool LengthAtLeast() const { return lengthAtLeast_; }
    // One text per vocabulary element shown in the grid.
    const std::vector<std::string>& Durations() const { return durations_; }
    // The letter of vocabulary element `index` in the grid's first column ("A" for 0).
    static std::string ElementLetter(int index);

    // --- keys
    // Whether a character typed into `field` reaches it, given the field's text before the key. Backspace
    // (8) is always accepted by the number fields; the name, format and dummy frame take anything.
    static bool AcceptsCharacter(TProtocolSettingsField field, std::string_view fieldText, char32_t character);

    // --- OK
    // Checks every text in order and stops at the first fault, which is shown in an error box; nothing is
    // written then. When all pass, the texts are written into the descriptor and the result is accepted.
    // Runs whether or not OK is enabled (Enter performs it).
    TProtocolSettingsOutcome Ok();

    // Column widths of the vocabulary grid for a grid `gridWidth` pixels wide.
    static int ElementColumnWidth(int gridWidth) { return gridWidth / 3; }
    static int DurationColumnWidth(int gridWidth) { return 2 * gridWidth / 3 - 25; }

private:
    void CarrierPeriodChanged();
    void FrameFormatChanged();
    TProtocolSettingsOutcome Fail(const std::string& message, TProtocolSettingsField field, int index = -1);
    // The length text as written: "-" put in front while "Length >= to value" is ticked.
    std::string LengthToWrite() const;
    // Writes every text; false with the message and field of the first write that failed.
    bool WriteAll(Tprotocol_descriptor& target, platform::MessageBoxes& boxes, TProtocolSettingsOutcome& fault) const;

    Tprotocol_descriptor& descriptor_;
    const TWorkingProtocol& working_;
    platform::MessageBoxes& boxes_;

    bool renameRequired_ = false;
    std::string openingName_;
    // Opened on a pulsed code: the period field is hidden, holds "0" and is not written back, so the
    // pulsed-code warning of a new setting does not appear for a setting that is not new.
    bool openedPulsed_ = false;

    std::string name_;
    std::string carrierPeriod_;
    std::string format_;
    std::string frameRate_;
    std::string dummyFrame_;
    std::string length_;
    bool lengthAtLeast_ = false;
    std::vector<std::string> durations_;

    bool carrierPeriodShown_ = true;
    std::string frequencyText_;
    bool frameRateShown_ = true;
    bool okEnabled_ = false;
};

}  // namespace spectrel
