#include "Code/SPX_SaveDevice.h"

#include <algorithm>
#include <filesystem>

#include "Code/SPX_Data_ButtonCodes.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"

namespace spectrel {

using platform::MessageButton;
using platform::MessageKind;

namespace {

std::string UpperAscii(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// Leading and trailing blanks and control characters removed.
std::string TrimBlanks(const std::string& text) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    auto first = std::find_if_not(text.begin(), text.end(), blank);
    auto last = std::find_if_not(text.rbegin(), std::string::const_reverse_iterator(first), blank).base();
    return std::string(first, last);
}

std::filesystem::path ToPath(const std::string& name) {
    return std::filesystem::path(reinterpret_cast<const char8_t*>(name.c_str()));
}

}  // namespace

std::string RepeatedButtonNameText(const std::string& upperName) {
    return "All buttons must have a unique names. The button name \"" + upperName + "\" is repeated.";
}

std::string RewriteQuestionText(const std::string& fileName) {
    return "File name \"" + fileName + "\" already exists. Rewrite?";
}

// The device file carries the notes only up to 99 lines; a longer list would be dropped as a whole, so the save
// refuses it rather than writing a file without the notes.
std::string TooManyNotesText(int noteLines) {
    return "The notes hold " + std::to_string(noteLines) + " lines that are not empty; a device file holds at most " +
           std::to_string(kMaxDeviceFileNotes) + " note lines.\r\nPlease shorten the notes and save again.";
}

std::string TooManyButtonsText(int buttons) {
    return "The list holds " + std::to_string(buttons) + " buttons; a device file holds at most " +
           std::to_string(kMaxDeviceFileButtons) + " buttons.\r\nPlease delete some buttons and save again.";
}

std::string DefaultImportFolder(const std::string& homeFolder, bool driveLetters) {
    if (driveLetters) return "C:\\Halvren\\Vanta\\ImportDataIn";
    std::string folder = homeFolder;
    if (!folder.empty() && folder.back() == '/') folder.pop_back();
    return folder + "/Halvren/Vanta/ImportDataIn";
}

std::optional<std::string> SaveCheckMessage(const TDeviceDetails& details, const std::string& protocolName,
                                            const TbuttonCodes& buttons) {
    if (details.remoteBrand.empty() || details.remoteModel.empty() || details.deviceType.empty() ||
        details.deviceBrand.empty() || details.deviceModel.empty()) {
        return save_text::kMissingDetails;
    }
    if (protocolName.empty()) return save_text::kNoProtocolName;
    if (UpperAscii(TrimBlanks(protocolName)) == "NO NAME") return save_text::kNoNameProtocol;
    if (buttons.Count() == 0) return save_text::kNoButtons;
    std::vector<std::string> names;
    for (int i = 0; i < buttons.Count(); ++i) {
        if (buttons.Items(i).Name().empty()) return save_text::kUnnamedButton;
        names.push_back(UpperAscii(buttons.Items(i).Name()));
    }
    std::sort(names.begin(), names.end());
    const auto repeated = std::adjacent_find(names.begin(), names.end());
    if (repeated != names.end()) return RepeatedButtonNameText(*repeated);
    if (!buttons.AnyHasCode()) return save_text::kNoCodes;
    const int noteLines = static_cast<int>(NonEmptyNoteLines(details.notes).size());
    if (noteLines > kMaxDeviceFileNotes) return TooManyNotesText(noteLines);
    if (buttons.Count() > kMaxDeviceFileButtons) return TooManyButtonsText(buttons.Count());
    return std::nullopt;
}

std::vector<std::string> NonEmptyNoteLines(const std::vector<std::string>& notes) {
    std::vector<std::string> lines;
    std::copy_if(notes.begin(), notes.end(), std::back_inserter(lines),
                 [](const std::string& line) { return !line.empty(); });
    return lines;
}

TIRheader DeviceHeader(const TDeviceDetails& details, const std::string& protocolName) {
    TIRheader header;
    header.protocol_name = protocolName;
    header.remote_brand = details.remoteBrand;
    header.remote_model = details.remoteModel;
    header.device_type = details.deviceType;
    header.device_brand = details.deviceBrand;
    header.device_model = details.deviceModel;
    for (const std::string& line : NonEmptyNoteLines(details.notes)) {
        if (header.note_count >= kHeaderNoteLines) break;
        header.notes[static_cast<std::size_t>(header.note_count++)] = line;
    }
    return header;
}

std::string WithDeviceFileExtension(const std::string& fileName) {
    if (ToPath(fileName).has_extension()) return fileName;
    return fileName + save_text::kDeviceFileExtension;
}

TDeviceFileSaver::TDeviceFileSaver(TSaveDeviceEnvironment environment) : environment_(std::move(environment)) {}

TSaveOutcome TDeviceFileSaver::BtnSaveIRFileClick(const TDeviceDetails& details, const Tprotocol_descriptor& current,
                                                  const TbuttonCodes& buttons, bool attachProtocol,
                                                  const std::function<void(bool)>& updateCommandStates) {
    platform::MessageBoxes& boxes = environment_.boxes;
    if (const std::optional<std::string> failed = SaveCheckMessage(details, current.name, buttons)) {
        boxes.show(MessageKind::Error, *failed, MessageButton::Ok);
        return TSaveOutcome::CheckFailed;
    }
    if (!buttons.AllHaveCodes() && boxes.show(MessageKind::Confirmation, save_text::kPartialSave,
                                              MessageButton::Yes | MessageButton::No) != MessageButton::Yes) {
        return TSaveOutcome::NotConfirmed;
    }
    if (initialFolder_ == save_text::kStartFolder) initialFolder_ = environment_.defaultFolder;

    bool replacing = false;
    for (;;) {
        platform::FileDialogRequest request;
        request.title = save_text::kSaveDialogTitle;
        request.filter = save_text::kSaveDialogFilter;
        request.initialFolder = initialFolder_;
        request.fileName = fileName_;
        const std::optional<std::string> chosen = environment_.fileDialogs.saveFile(request);
        if (!chosen) {
            if (updateCommandStates) updateCommandStates(true);
            return TSaveOutcome::Cancelled;
        }
        fileName_ = WithDeviceFileExtension(*chosen);
        std::error_code error;
        if (!std::filesystem::exists(ToPath(fileName_), error)) break;
        if (boxes.show(MessageKind::Warning, RewriteQuestionText(fileName_), MessageButton::Yes | MessageButton::No) ==
            MessageButton::Yes) {
            replacing = true;
            break;
        }
    }

    // The writer rotates the backups itself once the new document is complete, so a write that fails (a
    // read-only folder, a full disk) leaves the previous file and both backups where they were.
    TDeviceFileEnvironment writer{boxes};
    if (environment_.dateTime) writer.dateTime = environment_.dateTime;
    writer.overwriteConfirmed = replacing;
    const TFileResult written =
        WriteDeviceFile(writer, DeviceHeader(details, current.name), buttons, current, fileName_, attachProtocol);
    if (updateCommandStates) updateCommandStates(true);
    return written ? TSaveOutcome::Written : TSaveOutcome::WriteFailed;
}

}  // namespace spectrel
