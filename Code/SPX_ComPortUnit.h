#pragma once
// The reader link: the serial port on which the reader board hangs, its byte primitives, and the board's
// command protocol (reset handshake, version detection, port selection, reaction to an erratic reply).
//
// Everything runs on the user-interface thread. Reads never block: the waits poll the port and pump the
// window message queue in between, so the window stays alive while the board is being talked to.

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "platform/SerialPort.h"

namespace spectrel {

// The outcome of opening the reader port. A port that does not exist or is in use is an expected failure,
// reported here rather than thrown; `message` then holds the system's reason.
struct TReaderPortOpenResult {
    bool ok = false;
    std::string message;
    // The port is there but this user may not open it; `advice` says what to do about it on this system.
    bool permissionDenied = false;
    std::string advice;

    TReaderPortOpenResult() = default;
    TReaderPortOpenResult(bool opened, std::string reason = {}, bool denied = false, std::string whatToDo = {})
        : ok(opened), message(std::move(reason)), permissionDenied(denied), advice(std::move(whatToDo)) {}
};

// The board's version as the two version queries answered it; 255 stands for "no reply".
struct TReaderVersion {
    static constexpr std::uint8_t kNoReply = 255;
    // A first version number of this or more means the thing answering is not our board.
    static constexpr std::uint8_t kFirstVersionLimit = 10;

    bool detected = false;
    std::uint8_t first = kNoReply;
    std::uint8_t second = kNoReply;

    // "Reader 1.3"
    std::string text() const;
};

// Status texts of the reader link shown in the first status-bar panel.
namespace reader_status {
inline constexpr const char* kNoReader = "No Reader";
inline constexpr const char* kCannotFindReader = "Cannot Find Reader";
}  // namespace reader_status

// The window side of a port selection: the port drop-down list, the reader status panel and the learning
// commands. The main window implements it; tests pass a recording double.
class TReaderPortView {
public:
    virtual ~TReaderPortView() = default;
    virtual std::vector<std::string> portEntries() const = 0;
    // Selects entry `index` of the port list; -1 clears the selection.
    virtual void selectPortEntry(int index) = 0;
    // The first status-bar panel: "Reader 1.3" or "No Reader".
    virtual void showReaderStatus(const std::string& text) = 0;
    virtual void enableLearningCommands(bool enabled) = 0;
};

// What an erratic reply does to the capture in progress: the capture loop stops reading, and the capture's
// display list gets its normal window colour back.
class TErraticReplySink {
public:
    virtual ~TErraticReplySink() = default;
    virtual void markCaptureFailed() = 0;
    virtual void restoreDisplayListColour() = 0;
};

class TReaderLink {
public:
    // Time-outs of the link.
    static constexpr std::int64_t kByteTimeoutMs = 170;  // per reply byte, from the entry of each read
    static constexpr std::int64_t kBriefWaitMs = 50;     // between reader commands
    static constexpr int kMaxStaleBytes = 100;           // a send gives up at the 101st pending byte
    static constexpr int kErraticTrailingBytes = 5;      // polled and thrown away after an erratic code
    static constexpr const char* kInitialPortName = "COM1";

    TReaderLink(platform::SerialPortProvider& ports, platform::Clock& clock, platform::MessagePump& pump,
                platform::MessageBoxes& boxes);
    ~TReaderLink();
    TReaderLink(const TReaderLink&) = delete;
    TReaderLink& operator=(const TReaderLink&) = delete;

    // --- serial port access

    // Creates the port object if there is none and opens the current port name with the board's line
    // settings. Failing to open is an expected failure: the result says so (the port object stays, closed).
    TReaderPortOpenResult OpenReaderPort();
    // Closes the port, aborting pending transfers, and destroys the port object.
    void CloseReaderPort();
    bool ReaderPortOpen() const;
    // Stores `name` when it differs from the current name (exact comparison, letter case counts). An open
    // port is closed and reopened under the new name; the result is that of the reopening (ok otherwise).
    TReaderPortOpenResult SetReaderPortName(const std::string& name);
    const std::string& ReaderPortName() const { return portName_; }

    // The byte primitives require the port object (an assertion failure naming this module otherwise).
    // One non-waiting read; false when nothing is buffered or the port is not open.
    bool PollReaderByte(std::uint8_t& byte);
    // Waits up to 170 ms for one byte, pumping the message queue meanwhile (no longer once the port has failed).
    bool ReadReaderByte(std::uint8_t& byte);
    // Discards stale input (giving up, without writing, at the 101st pending byte), then writes one byte.
    bool SendReaderByte(std::uint8_t byte);
    // Reads and throws away whatever is pending; returns how many bytes that was.
    int DrainReader();
    // Pumps the message queue for 50 ms of wall-clock time.
    void WaitBriefly();

    // --- reader command protocol

    // The reset handshake: true when the board answered a reset byte with 0x00 (a second try is allowed
    // after a wrong answer).
    bool ResetReader();
    // Queries both version numbers; the result is also kept as ReaderVersion().
    TReaderVersion DetectReader();
    const TReaderVersion& ReaderVersion() const { return version_; }
    // Selects `name` in the view's port list (letter case does not matter), opens that port, detects the
    // reader, shows the outcome in the view and closes the port again. True when a reader was detected.
    // At the main window's first activation the board is not reset before the detection.
    bool SelectReaderPort(const std::string& name, TReaderPortView& view, bool firstActivation = false);
    // The reaction to an invalid code byte in the capture stream: tells the user, resets the board and marks
    // the capture as failed.
    void ReportErraticReply(std::uint8_t code, TErraticReplySink& capture);

    // The system's reason for the last failed open (empty after a successful one).
    const std::string& LastOpenError() const { return lastOpenError_; }
    // The last open failed because this user may not open the port (false after a successful one), and the
    // system's advice about it.
    bool LastOpenDenied() const { return lastOpenDenied_; }
    const std::string& LastOpenAdvice() const { return lastOpenAdvice_; }
    // The system's reason when the open port has failed for good, the board's device having gone away while in
    // use (a cable pulled); empty while it works and while no port is open. The waits return at once from then on.
    std::string ReaderPortFailure() const;
    // "Lost the connection to the reader on /dev/ttyUSB0: Input/output error", for a port that has failed.
    std::string ReaderLostMessage() const;

    // "Erratic reply from PIC (value 0A)"
    static std::string ErraticReplyMessage(std::uint8_t code);

private:
    platform::SerialPortProvider& ports_;
    platform::Clock& clock_;
    platform::MessagePump& pump_;
    platform::MessageBoxes& boxes_;

    std::string portName_ = kInitialPortName;
    // The port object exists from OpenReaderPort to CloseReaderPort; `port_` is null while it exists but the
    // open failed.
    bool portObject_ = false;
    std::unique_ptr<platform::SerialPort> port_;
    std::string lastOpenError_;
    bool lastOpenDenied_ = false;
    std::string lastOpenAdvice_;
    TReaderVersion version_;
};

}  // namespace spectrel
