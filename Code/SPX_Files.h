#pragma once
// The device file: the XML document that the home-automation software imports, describing one device, the
// remote control that drives it, its named IR commands and, when asked or when the protocol is a learned one,
// the protocol definition. The writer asks before it replaces a file, keeps two backup generations (".~xml" the
// previous version, ".~~xml" the one before it) and never leaves a half-written file: the document goes to a
// temporary file in the same folder, which is renamed over the target only when it was written completely.
//
// Whatever the user typed, the document is well-formed XML in UTF-8 (see Code/SPX_Files_xml.h for how names,
// notes and codes are mended).

#include <functional>
#include <string>
#include <system_error>
#include <vector>

#include "Code/SPX_Data.h"

namespace spectrel {

namespace platform {
class MessageBoxes;
}

class TbuttonCodes;

// Outcome of a file operation: the first error is kept in `message`.
struct TFileResult {
    bool ok = false;
    std::string message;  // empty when ok, and when nothing was written for a reason the user chose or was told
    explicit operator bool() const { return ok; }
};

// Buttons a device file can hold (a list of 0 or 1000 and more writes nothing).
constexpr int kMaxDeviceFileButtons = 999;
// Note lines written as comments: only when the header holds 1 to 99 of them.
constexpr int kMaxDeviceFileNotes = 99;

// The current local date and time, short date then long time as the user's locale writes them (line 2).
std::string LocalDateTimeText();

// Renames the file `from` to `to`, replacing `to`; an empty error code on success.
using TRenameFile = std::function<std::error_code(const std::string& from, const std::string& to)>;
// The file system's own rename.
std::error_code RenameFile(const std::string& from, const std::string& to);

// What the writer needs besides its data: the message boxes and the date and time text of line 2.
struct TDeviceFileEnvironment {
    platform::MessageBoxes& boxes;
    std::function<std::string()> dateTime = LocalDateTimeText;
    // Set by a caller that has already asked the user about replacing the file: the writer then does not ask
    // again, and rotates the backups itself once the new document is complete, so that a failed write leaves
    // the previous file where it was (rather than the caller rotating them before the write).
    bool overwriteConfirmed = false;
    // Every rename of the writer goes through this (a test hands in one that fails on purpose).
    TRenameFile rename = RenameFile;
};

// One IR command of the document: a button that has a code.
struct TDeviceFileCommand {
    std::string name;
    std::string code;
    std::string secondCode;
};

// The document as text (lines ended by CR LF), from the header, the commands (buttons with a code, in list
// order) and the current protocol. `framesCorrupted` is set when the protocol's frame format is empty (minimum
// and maximum frames are then written as 0).
std::string DeviceFileText(const TIRheader& header, const std::vector<TDeviceFileCommand>& commands,
                           const Tprotocol_descriptor& protocol, bool attachProtocol, const std::string& dateTime,
                           bool& framesCorrupted);
// The commands of a button list: every button that has a code, in list order.
std::vector<TDeviceFileCommand> DeviceFileCommands(const TbuttonCodes& buttons);

// Writes the device file. Nothing is written unless the list has 1 to 999 buttons. An existing file is replaced
// only after the user answered OK to "File <name> already exists. Overwrite?"; once the new document is complete
// its backups are rotated, the file itself staying in place (`KeepBackups`; a failed rotation is reported and the
// file is written all the same), and the new document replaces the file in one rename. A failed write is
// reported in an error box and in the result; the previous file is never missing: a write that fails before the
// rotation leaves it and its backups as they were, a final rename that fails leaves it in place beside its
// rotated backups.
TFileResult WriteDeviceFile(const TDeviceFileEnvironment& environment, TIRheader header, const TbuttonCodes& buttons,
                            const Tprotocol_descriptor& protocol, const std::string& fileName, bool attachProtocol);

// The backup rotation: "<name>.~xml" moves to "<name>.~~xml", then the file moves to "<name>.~xml" (the extension
// is replaced, or appended to a name without one). True when the file itself was moved.
bool MakeBackups(const std::string& fileName);
// The backup rotation of a rewrite: "<name>.~xml" moves to "<name>.~~xml", then the file is linked (or, where
// the file system has no links, copied) to "<name>.~xml" and itself stays where it is. True when the file's
// backup was made.
bool KeepBackups(const std::string& fileName, const TRenameFile& rename = RenameFile);
// The two backup names of a file.
std::string NewerBackupName(const std::string& fileName);
std::string OlderBackupName(const std::string& fileName);

// Writes `text` to `fileName` through a temporary file in the same folder that is renamed over the target; on
// any failure the temporary file is removed, the target is left as it was and the result names the first error.
TFileResult ReplaceFileContents(const std::string& fileName, const std::string& text);

}  // namespace spectrel
