#pragma once
// The "Save" command of the main window (and the wizard's save page): it checks that the device details, the
// protocol name and the button names are complete, asks for the file name, fills the device header and hands
// everything to the device file writer, which keeps the previous file as ".~xml" and the one before as ".~~xml".

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Code/SPX_Data.h"
#include "Code/SPX_DeviceDetails.h"
#include "Code/SPX_Files.h"

namespace spectrel {

namespace platform {
class MessageBoxes;
class FileDialogs;
}  // namespace platform

class TbuttonCodes;

namespace save_text {
inline constexpr const char* kMissingDetails =
    "You must enter values for all device parameters:\r\n- Remote Brand\r\n- Remote Model\r\n- Device Type\r\n"
    "- Device Brand\r\n- Device Model";
inline constexpr const char* kNoProtocolName = "You must enter a name for the Protocol.";
inline constexpr const char* kNoNameProtocol =
    "The protocol name cannot be \"NO NAME\", please change to something elese.";
inline constexpr const char* kNoButtons = "You must have at least one button.";
inline constexpr const char* kUnnamedButton = "All buttons must have a name assigned.";
inline constexpr const char* kNoCodes = "You must record the IR code for at least one button.";
inline constexpr const char* kPartialSave =
    "Not all buttons have an IR code recorded. Buttons without an \r\nIR code will not be saved.\r\n\r\n"
    "Do you want to continue to save?";
inline constexpr const char* kSaveDialogTitle = "Save IR Code";
inline constexpr const char* kSaveDialogFilter = "XML|*.xml|All|*.*";
inline constexpr const char* kStartFolder = ".";
inline constexpr const char* kDeviceFileExtension = ".xml";
}  // namespace save_text

// "All buttons must have a unique names. The button name "<NAME>" is repeated."
std::string RepeatedButtonNameText(const std::string& upperName);
// "File name "<file>" already exists. Rewrite?"
std::string RewriteQuestionText(const std::string& fileName);
// The save is refused when the notes have more non-empty lines than a header holds.
std::string TooManyNotesText(int noteLines);
// The save is refused when the list has more buttons than a device file holds.
std::string TooManyButtonsText(int buttons);

// The import folder of the home-automation software: "C:\Halvren\Vanta\ImportDataIn" on systems with drive
// letters, "<home>/Halvren/Vanta/ImportDataIn" on the others.
#ifdef _WIN32
constexpr bool kSystemHasDriveLetters = true;
#else
constexpr bool kSystemHasDriveLetters = false;
#endif
std::string DefaultImportFolder(const std::string& homeFolder, bool driveLetters = kSystemHasDriveLetters);

// The checks before a save, in order; the message of the first that fails, nullopt when all pass. After the
// checks of the command itself come the limits of the file: at most 101 non-empty note lines, at most 999
// buttons.
std::optional<std::string> SaveCheckMessage(const TDeviceDetails& details, const std::string& protocolName,
                                            const TbuttonCodes& buttons);

// The non-empty lines of the notes, in order.
std::vector<std::string> NonEmptyNoteLines(const std::vector<std::string>& notes);
// The header: protocol name, remote brand and model, device type, brand and model, the non-empty note lines
// (at most 101; SaveCheckMessage refuses more).
TIRheader DeviceHeader(const TDeviceDetails& details, const std::string& protocolName);
// The name with ".xml" appended when it has no extension.
std::string WithDeviceFileExtension(const std::string& fileName);

enum class TSaveOutcome {
    CheckFailed,   // a check failed: its message was shown
    NotConfirmed,  // No to the partial-save question
    Cancelled,     // the save dialog was cancelled
    Written,       // the device file was written
    WriteFailed,   // the writer failed and said so; the previous file and its backups are as they were
};

struct TSaveDeviceEnvironment {
    platform::MessageBoxes& boxes;
    platform::FileDialogs& fileDialogs;
    std::string defaultFolder;  // where the first save dialog starts
    std::function<std::string()> dateTime = LocalDateTimeText;
};

// The command; it keeps the save dialog's start folder and last file name between runs.
class TDeviceFileSaver {
public:
    explicit TDeviceFileSaver(TSaveDeviceEnvironment environment);

    // BtnSaveIRFileClick. `updateCommandStates` is called with true after a write and after a cancelled
    // save dialog.
    TSaveOutcome BtnSaveIRFileClick(const TDeviceDetails& details, const Tprotocol_descriptor& current,
                                    const TbuttonCodes& buttons, bool attachProtocol,
                                    const std::function<void(bool)>& updateCommandStates);

    // The save dialog's file name: the last one chosen (with ".xml" added when it had no extension).
    const std::string& FileName() const { return fileName_; }
    // The save dialog's start folder: "." until the first save.
    const std::string& InitialFolder() const { return initialFolder_; }

private:
    TSaveDeviceEnvironment environment_;
    std::string initialFolder_ = save_text::kStartFolder;
    std::string fileName_;
};

}  // namespace spectrel
