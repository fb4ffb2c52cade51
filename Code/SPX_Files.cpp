#include "Code/SPX_Files.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "Code/SPX_Data_ButtonCodes.h"
#include "Code/SPX_Files_xml.h"
#include "platform/MessageBoxes.h"

namespace spectrel {
namespace {

namespace fs = std::filesystem;
using platform::MessageButton;
using platform::MessageKind;
using xmltext::CommentText;
using xmltext::EncodeCode;
using xmltext::EscapeText;
using xmltext::TrimText;

constexpr const char* kLineEnd = "\r\n";
// A frame rate below this was never measured; such a protocol is written with 100 ms.
constexpr double kLowestMeasuredFrameRate = 0.9;
constexpr const char* kUnmeasuredFrameRateText = "100";
// Frame letters from 'X' on (in upper case) are dummy frames.
constexpr char kFirstDummyLetter = 'X';
// The frame count that stands for "repeated while the key is held".
constexpr int kRepeatedMinFrames = 4;
constexpr int kRepeatedMaxFrames = 255;
constexpr double kMicrosecondsPerSecond = 1000000.0;
constexpr const char* kTemporarySuffix = ".~tmp";
constexpr int kTemporaryNameTries = 100;

fs::path ToPath(const std::string& name) {
    return fs::path(std::u8string(reinterpret_cast<const char8_t*>(name.data()), name.size()));
}

std::string FromPath(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

// A whole number without decimals; negative zero is written as "0".
std::string WholeNumberText(double rounded) {
    if (rounded == 0) rounded = 0;
    char text[400];
    std::snprintf(text, sizeof text, "%.0f", rounded);
    return text;
}

// Halves away from zero.
std::string RoundedAwayText(double value) { return WholeNumberText(std::round(value)); }

// Ties to the even neighbour.
std::string RoundedEvenText(double value) { return WholeNumberText(RoundHalfEven(value)); }

// Upper case of the ASCII letters only, whatever the C library's locale.
unsigned char AsciiUpper(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 'a' && u <= 'z' ? static_cast<unsigned char>(u - 'a' + 'A') : u;
}

std::string CarrierFrequencyText(double carrierPeriod) {
    if (carrierPeriod > 0) return RoundedAwayText(kMicrosecondsPerSecond / carrierPeriod);
    return "0";
}

std::string FrameRateText(double frameRate) {
    // Not measured (and a value that is no number at all) is written as 100 ms.
    if (!(frameRate >= kLowestMeasuredFrameRate)) return kUnmeasuredFrameRateText;
    return RoundedEvenText(frameRate);
}

// Equal to itself in upper case (so digits and signs count as upper case too).
bool IsUpperCase(char c) { return AsciiUpper(c) == static_cast<unsigned char>(c); }

// Minimum frames of a transmission with this format (0 for an empty one); any repeated frame makes it 4.
int MinimumFrames(const std::string& format) {
    int m = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const int p = static_cast<int>(i) + 1;
        if (p > m) m = p;
        if (IsUpperCase(format[i])) m = kRepeatedMinFrames;
    }
    return m;
}

class DocumentLines {
public:
    void line(const std::string& text) {
        text_ += text;
        text_ += kLineEnd;
    }
    std::string take() { return std::move(text_); }

private:
    std::string text_;
};

void WriteCommand(DocumentLines& out, const TDeviceFileCommand& command, const Tprotocol_descriptor& protocol) {
    out.line("            <IRCommand>");
    out.line("              <Name>");
    out.line("                " + TrimText(EscapeText(command.name)));
    out.line("              </Name>");
    out.line("              <IconName />");
    out.line("              <Continuous />");
    out.line("              <Frames>");
    out.line("                <Frame>");
    out.line("                  <Name>" + EncodeCode(std::string(1, protocol.i_letter)) + "</Name>");
    out.line("                  <IRcode>" + TrimText(EncodeCode(command.code)) + "</IRcode>");
    out.line("                </Frame>");
    if (protocol.j_letter != '?') {
        out.line("                <Frame>");
        out.line("                  <Name>" + EncodeCode(std::string(1, protocol.j_letter)) + "</Name>");
        out.line("                  <IRcode>" + TrimText(EncodeCode(command.secondCode)) + "</IRcode>");
        out.line("                </Frame>");
    }
    out.line("              </Frames>");
    out.line("            </IRCommand>");
}

void WriteProtocol(DocumentLines& out, const Tprotocol_descriptor& protocol, bool& framesCorrupted) {
    out.line("  <!-- Protocol -->");
    out.line("  <ProtocolDef>");
    out.line("    <Name>" + TrimText(EscapeText(protocol.name)) + "</Name>");
    out.line("    <CarrierFreq>" + CarrierFrequencyText(protocol.carrier_period) + "</CarrierFreq>");
    out.line("    <FrameRate>" + FrameRateText(protocol.frame_rate) + "</FrameRate>");
    out.line("    <Format>" + EncodeCode(protocol.format) + "</Format>");
    out.line("    <Pframes>");
    for (char letter : protocol.format) {
        out.line("      <Pframe>");
        out.line("        <Name>" + EncodeCode(std::string(1, letter)) + "</Name>");
        if (AsciiUpper(letter) < static_cast<unsigned char>(kFirstDummyLetter)) {
            out.line("        <Type>Data</Type>");
        } else {
            out.line("        <Type>Dummy</Type>");
            out.line("        <IRCode>" + EncodeCode(protocol.dummy_code) + "</IRCode>");
        }
        out.line("      </Pframe>");
    }
    out.line("    </Pframes>");
    const int minFrames = MinimumFrames(protocol.format);
    const int maxFrames = minFrames == kRepeatedMinFrames ? kRepeatedMaxFrames : minFrames;
    framesCorrupted = minFrames == 0;
    out.line("    <MinFrames>" + std::to_string(minFrames) + "</MinFrames>");
    out.line("    <MaxFrames>" + std::to_string(maxFrames) + "</MaxFrames>");
    out.line("    <Vocabulary>");
    // A descriptor holds at most 31 elements, whatever its count says.
    const int elements = std::min(protocol.vocabulary_count, kDescriptorVocabularySize);
    for (int k = 0; k < elements; ++k) {
        out.line("      <VocabularyElement>");
        out.line("        <Name>" + EncodeCode(std::string(1, static_cast<char>('A' + k))) + "</Name>");
        out.line("        <Duration>" + RoundedAwayText(protocol.durations[static_cast<std::size_t>(k)]) +
                 "</Duration>");
        out.line("      </VocabularyElement>");
    }
    out.line("    </Vocabulary>");
    out.line("  </ProtocolDef>");
}

// A move from a to b: b is replaced, and a is gone afterwards. When the rename fails the file is copied instead;
// a is removed only once b holds its contents, so a failed move never loses the file.
bool MoveFile(const fs::path& from, const fs::path& to, const TRenameFile& rename = RenameFile) {
    std::error_code error;
    if (!fs::exists(from, error)) return false;
    if (fs::exists(to, error)) fs::remove(to, error);
    if (!rename(FromPath(from), FromPath(to))) return true;
    error.clear();
    if (!fs::copy_file(from, to, fs::copy_options::overwrite_existing, error) || error) return false;
    fs::remove(from, error);
    return true;
}

fs::path TemporaryNameBeside(const fs::path& target);

// Gives `to` the contents of `from`, which stays: a hard link, or a complete copy renamed into place.
bool DuplicateFile(const fs::path& from, const fs::path& to, const TRenameFile& rename) {
    std::error_code error;
    if (!fs::is_regular_file(from, error)) return false;
    if (fs::exists(to, error)) fs::remove(to, error);
    error.clear();
    fs::create_hard_link(from, to, error);
    if (!error) return true;
    const fs::path temporary = TemporaryNameBeside(to);
    if (temporary.empty()) return false;
    error.clear();
    if (!fs::copy_file(from, temporary, fs::copy_options::overwrite_existing, error) || error ||
        rename(FromPath(temporary), FromPath(to))) {
        fs::remove(temporary, error);
        return false;
    }
    return true;
}

std::string ErrnoText(int number) {
    if (number == 0) return "input/output error";
    return std::generic_category().message(number);
}

// A name beside the target that no file has yet; empty when none was found.
fs::path TemporaryNameBeside(const fs::path& target) {
    std::error_code error;
    for (int i = 0; i < kTemporaryNameTries; ++i) {
        fs::path candidate = target;
        candidate += kTemporarySuffix + (i == 0 ? std::string() : std::to_string(i));
        if (!fs::exists(candidate, error) && !error) return candidate;
    }
    return {};
}

// Writes the text into a new file; on failure the file is removed and the result names the first error
// (`shownName` is the name the user knows).
TFileResult WriteNewFile(const fs::path& path, const std::string& shownName, const std::string& text) {
    const auto fail = [&](const std::string& what, int number) {
        std::error_code ignored;
        fs::remove(path, ignored);
        return TFileResult{false, what + " " + shownName + ": " + ErrnoText(number)};
    };
    errno = 0;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) return fail("Cannot create file", errno);
    errno = 0;
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.flush();
    if (!file) return fail("Cannot write file", errno);
    errno = 0;
    file.close();
    if (file.fail()) return fail("Cannot write file", errno);
    return {true, {}};
}

std::string ErrorBoxText(const TFileResult& result) { return "File error! " + result.message; }

}  // namespace

std::string LocalDateTimeText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char text[128];
    // In the program the C library's locale is the user's (Qt's application object sets it from the
    // environment), so "%x %X" gives the user's short date and long time.
    if (std::strftime(text, sizeof text, "%x %X", &local) == 0) return {};
    return text;
}

std::string DeviceFileText(const TIRheader& header, const std::vector<TDeviceFileCommand>& commands,
                           const Tprotocol_descriptor& protocol, bool attachProtocol, const std::string& dateTime,
                           bool& framesCorrupted) {
    framesCorrupted = false;
    DocumentLines out;
    out.line("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    out.line("<!-- Created by KORAX Spectrel on " + CommentText(dateTime) + " -->");
    out.line("<!DOCTYPE Device SYSTEM \"Device.dtd\">");
    out.line("<Device>");
    if (header.note_count >= 1 && header.note_count <= kMaxDeviceFileNotes) {
        for (int i = 0; i < header.note_count; ++i)
            out.line("  <!-- " + CommentText(header.notes[static_cast<std::size_t>(i)]) + " -->");
    }
    out.line("  <Name>" + TrimText(EscapeText(header.device_type)) + "</Name>");
    out.line("  <Manufacturers>");
    out.line("    <Manufacturer>");
    out.line("      <Name>" + TrimText(EscapeText(header.device_brand)) + "</Name>");
    out.line("      <Variants>");
    out.line("        <Variant>");
    out.line("          <Sources>");
    out.line("            <Source>");
    out.line("              <Name>KOR</Name>");
    out.line("              <ReaderNo>0</ReaderNo>");
    out.line("              <RemoteBrand>" + TrimText(EscapeText(header.remote_brand)) + "</RemoteBrand>");
    out.line("              <RemoteModel>" + TrimText(EscapeText(header.remote_model)) + "</RemoteModel>");
    out.line("            </Source>");
    out.line("          </Sources>");
    out.line("          <Name>" + TrimText(EscapeText(header.device_model)) + "</Name>");
    out.line("          <Protocol>" + TrimText(EscapeText(protocol.name)) + "</Protocol>");
    out.line("          <IRCommands>");
    for (const auto& command : commands) WriteCommand(out, command, protocol);
    out.line("          </IRCommands>");
    out.line("        </Variant>");
    out.line("      </Variants>");
    out.line("      <Models>");
    out.line("        <Model>");
    out.line("          <Name />");
    out.line("          <VariantName />");
    out.line("        </Model>");
    out.line("      </Models>");
    out.line("    </Manufacturer>");
    out.line("  </Manufacturers>");
    if (attachProtocol || !protocol.standard) WriteProtocol(out, protocol, framesCorrupted);
    out.line("</Device>");
    return out.take();
}

std::string NewerBackupName(const std::string& fileName) {
    return FromPath(ToPath(fileName).replace_extension(".~xml"));
}

std::string OlderBackupName(const std::string& fileName) {
    return FromPath(ToPath(fileName).replace_extension(".~~xml"));
}

std::error_code RenameFile(const std::string& from, const std::string& to) {
    std::error_code error;
    fs::rename(ToPath(from), ToPath(to), error);
    return error;
}

bool MakeBackups(const std::string& fileName) {
    MoveFile(ToPath(NewerBackupName(fileName)), ToPath(OlderBackupName(fileName)));
    return MoveFile(ToPath(fileName), ToPath(NewerBackupName(fileName)));
}

bool KeepBackups(const std::string& fileName, const TRenameFile& rename) {
    MoveFile(ToPath(NewerBackupName(fileName)), ToPath(OlderBackupName(fileName)), rename);
    return DuplicateFile(ToPath(fileName), ToPath(NewerBackupName(fileName)), rename);
}

TFileResult ReplaceFileContents(const std::string& fileName, const std::string& text) {
    const fs::path target = ToPath(fileName);
    std::error_code error;
    const fs::path temporary = TemporaryNameBeside(target);
    if (temporary.empty()) return {false, "Cannot create a temporary file beside " + fileName};
    TFileResult result = WriteNewFile(temporary, fileName, text);
    if (!result) return result;
    fs::rename(temporary, target, error);
    if (error) {
        result = {false, "Cannot replace file " + fileName + ": " + ErrnoText(error.value())};
        fs::remove(temporary, error);
        return result;
    }
    return {true, {}};
}

std::vector<TDeviceFileCommand> DeviceFileCommands(const TbuttonCodes& buttons) {
    std::vector<TDeviceFileCommand> commands;
    for (int i = 0; i < buttons.Count(); ++i) {
        const TButtonCode& button = buttons.Items(i);
        if (button.HasCode()) commands.push_back({button.Name(), button.Code(), button.SecondCode()});
    }
    return commands;
}

TFileResult WriteDeviceFile(const TDeviceFileEnvironment& environment, TIRheader header, const TbuttonCodes& buttons,
                            const Tprotocol_descriptor& protocol, const std::string& fileName, bool attachProtocol) {
    if (buttons.Count() < 1 || buttons.Count() > kMaxDeviceFileButtons) return {false, {}};

    std::error_code error;
    const bool exists = fs::exists(ToPath(fileName), error);
    if (exists && !environment.overwriteConfirmed) {
        const MessageButton answer =
            environment.boxes.show(MessageKind::Warning, "File " + fileName + " already exists. Overwrite?",
                                   MessageButton::Ok | MessageButton::Abort);
        if (answer != MessageButton::Ok) return {false, {}};
    }

    bool framesCorrupted = false;
    const std::string dateTime = environment.dateTime ? environment.dateTime() : std::string();
    const std::string text =
        DeviceFileText(header, DeviceFileCommands(buttons), protocol, attachProtocol, dateTime, framesCorrupted);

    // The document is complete in a temporary file before anything on disk changes: a failed write leaves the
    // previous file and both backups as they were.
    const fs::path target = ToPath(fileName);
    const fs::path temporary = TemporaryNameBeside(target);
    TFileResult result = temporary.empty() ? TFileResult{false, "Cannot create a temporary file beside " + fileName}
                                           : WriteNewFile(temporary, fileName, text);
    if (!result) {
        environment.boxes.show(MessageKind::Error, ErrorBoxText(result), MessageButton::Ok);
        return result;
    }

    // The file stays in place through the rotation, so that it is there whatever becomes of the last rename.
    const TRenameFile& rename = environment.rename ? environment.rename : TRenameFile(RenameFile);
    if (exists && !KeepBackups(fileName, rename))
        environment.boxes.show(MessageKind::Error, "File error! Cannot move file " + fileName, MessageButton::Ok);
    if (framesCorrupted) environment.boxes.show(MessageKind::Error, "Corrupted frames structure", MessageButton::Ok);

    error = rename(FromPath(temporary), FromPath(target));
    if (error) {
        result = {false, "Cannot replace file " + fileName + ": " + ErrnoText(error.value())};
        fs::remove(temporary, error);
        environment.boxes.show(MessageKind::Error, ErrorBoxText(result), MessageButton::Ok);
        return result;
    }
    return {true, {}};
}

}  // namespace spectrel
