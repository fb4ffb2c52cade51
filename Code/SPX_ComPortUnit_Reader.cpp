// The reader board's command protocol on top of the byte primitives of the reader link.

#include <cstdio>

#include "Code/SPX_Assert.h"
#include "Code/SPX_CaptureStream.h"
#include "Code/SPX_ComPortUnit.h"

namespace spectrel {

namespace {

// Port names compare in ASCII upper case, whatever the user's locale (a Turkish locale leaves 'i' alone).
std::string UpperCase(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

}  // namespace

std::string TReaderVersion::text() const { return "Reader " + std::to_string(first) + "." + std::to_string(second); }

std::string TReaderLink::ErraticReplyMessage(std::uint8_t code) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned>(code));
    return std::string("Erratic reply from PIC (value ") + hex + ")";
}

bool TReaderLink::ResetReader() {
    DrainReader();
    std::uint8_t reply = 0;
    SendReaderByte(reader_command::kReset);
    bool ok = ReadReaderByte(reply);
    if (ok && reply != reader_command::kReset) {
        // A board caught in the middle of something answers the first reset with a leftover byte.
        DrainReader();
        SendReaderByte(reader_command::kReset);
        ok = ReadReaderByte(reply) && reply == reader_command::kReset;
    }
    DrainReader();
    DrainReader();
    return ok;
}

TReaderVersion TReaderLink::DetectReader() {
    version_ = TReaderVersion{};
    std::uint8_t reply = 0;

    DrainReader();
    SendReaderByte(reader_command::kQuerySecondVersion);
    WaitBriefly();
    if (ReadReaderByte(reply)) version_.second = reply;

    DrainReader();
    WaitBriefly();
    SendReaderByte(reader_command::kQueryFirstVersion);
    WaitBriefly();
    if (ReadReaderByte(reply)) version_.first = reply;

    version_.detected =
        version_.first < TReaderVersion::kFirstVersionLimit && version_.second != TReaderVersion::kNoReply;

    ResetReader();
    DrainReader();
    return version_;
}

bool TReaderLink::SelectReaderPort(const std::string& name, TReaderPortView& view, bool firstActivation) {
    // Find the list entry, whatever the letter case of `name`. The entry's own spelling is the one opened:
    // on systems whose device names are case-sensitive only that spelling opens.
    const std::string wanted = UpperCase(name);
    const std::vector<std::string> entries = view.portEntries();
    int index = -1;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (UpperCase(entries[i]) == wanted) {
            index = static_cast<int>(i);
            break;
        }
    }
    view.selectPortEntry(index);
    if (index < 0) return false;

    auto noReader = [&] {
        version_.detected = false;
        view.showReaderStatus(reader_status::kNoReader);
        view.enableLearningCommands(false);
    };

    bool detected = false;
    try {
        SetReaderPortName(entries[static_cast<std::size_t>(index)]);
        OpenReaderPort();
        if (ReaderPortOpen()) {
            if (!firstActivation) ResetReader();
            DetectReader();
            if (version_.detected) {
                view.showReaderStatus(version_.text());
                view.enableLearningCommands(true);
                detected = true;
            } else {
                noReader();
            }
        } else {
            noReader();
        }
    } catch (const EAssertionFailed&) {
        // A programming error is not a missing reader: leave the port closed and let it surface.
        CloseReaderPort();
        throw;
    } catch (const std::exception&) {
        noReader();
        detected = false;
    }
    CloseReaderPort();
    return detected;
}

void TReaderLink::ReportErraticReply(std::uint8_t code, TErraticReplySink& capture) {
    const std::string message = ErraticReplyMessage(code);
    std::uint8_t discarded = 0;
    for (int i = 0; i < kErraticTrailingBytes; ++i) PollReaderByte(discarded);
    boxes_.show(platform::MessageKind::Error, message, platform::MessageButton::Ok);
    ResetReader();
    capture.markCaptureFailed();
    capture.restoreDisplayListColour();
}

}  // namespace spectrel
