#pragma once
// The virtual reader board: the board's side of the wire protocol, driven by time.
//
// The engine answers the host's command bytes and, on a start of capture, turns the next key press into
// the capture stream a real board sends: burst-start and burst-end records stamped with a 24-bit
// free-running counter (0.5 µs per count, wrapping), short record forms whenever the high byte (and for a
// burst end the cycle count) did not change, the carrier cycles counted in each burst, each burst end
// reported late, and an end-of-data code after a silence.
//
// Time: every call carries the current time in microseconds (any origin, never going backwards). A byte
// the board sends becomes readable only at the time it would have arrived: with serial timing on (the
// default) every byte takes 10 bit times at 9600 baud, about 1.04 ms, in either direction, and the board's
// output queue drains at that rate, so the stream of a fast signal falls behind the signal and catches up
// in its pauses, as on the real line.
//
// Commands (host to board): 0x00 reset, answered 0x00; 0x16 and 0x17 the second and first version number;
// 0x18 start capture, answered 0xFF and followed by the stream. Other bytes are not answered. A byte that
// arrives during a capture ends the capture (what the board had not yet sent is dropped) and is then
// handled as a command, so the host's reset after a capture always gets its answer.
//
// Key presses: presses wait in a queue; a capture plays the next one, `pressDelayUs` after its start. When
// the queue is empty the press source (if set) is asked for one; when it has none either, the capture waits,
// and a press queued while a capture waits is played at once (no earlier than the press delay). One press
// per capture.
//
// Carrier cycles: a mark of duration m with carrier f has its first cycle at its start and one every period
// 1/f while it lasts: c = floor(m × f) + 1 cycles, the last at start + (c − 1)/f. A pulse without carrier
// (carrierHz 0) is a single rising edge for the board's counter and counts 1, its last "cycle" at the mark's
// end. The burst end is reported the late delay after the last counted cycle, so the host's carrier
// measurement, which divides the time from the first to the last cycle by the cycle count less one, gives 1/f.
// Pauses shorter than the late delay do not end a burst on the board: the two marks merge into one burst.
//
// Not thread-safe: use one engine from one thread. The engine must outlive the ports attached to it.
//
//     BoardConfig config;                       // versions 1.3, burst ends 50 µs late, 9600 baud timing
//     config.faults.badResetReplies = 1;        // the first reset is answered 0x55
//     BoardEngine board(config);
//     board.queuePress({necSignal(0x00, 0x45), 300'000});  // played by the next capture, held 300 ms
//     board.receive(0x18, nowUs);               // the host starts a capture
//     while (board.read(byte, laterUs)) ...     // 0xFF, then the stream as its bytes arrive

#include <cstdint>
#include <deque>
#include <functional>
#include <limits>
#include <optional>
#include <random>
#include <vector>

#include "virtualboard/IrSignal.h"

namespace spectrel::virtualboard {

// One press of a key: the signal and how long the key is held (from the first mark). The first part of
// the signal is always sent whole; its repeat part starts again as long as the key is still held.
struct KeyPress {
    IrSignal signal;
    double holdUs = 250'000;
};

// Faults the board shows on demand. Record indices count the records of one capture from 0: the burst
// start of burst i is record 2i, its burst end record 2i + 1.
struct BoardFaults {
    static constexpr int kAlways = -1;

    bool noAnswer = false;                      // the board never answers anything
    std::vector<std::uint8_t> ignoredCommands;  // command bytes it does not answer (e.g. 0x18: no acknowledge)
    int badResetReplies = 0;                    // how many of the next reset replies are wrong; kAlways: all
    std::uint8_t badResetValue = 0x55;
    std::optional<int> erraticBeforeRecord;  // an erratic code byte is sent just before this record
    std::uint8_t erraticCode = 0x33;
    std::optional<int> missingByteInRecord;  // the last byte of this record is never sent
    std::optional<int> missedCarryRecord;    // this record's timestamp is 4096 counts low, as when the
                                             // board reads its counter while the low 12 bits roll over
    double glitchProbability = 0;            // chance per mark of a short pause inside it, and per space
                                             // of a short pulse inside it
    double glitchPauseUs = 70;               // seen by the host as about 45 µs, below the 49.5 µs glitch limit
    double glitchPulseUs = 10;
    double jitterUs = 0;     // each mark and space moves by up to ± this much
    std::uint32_t seed = 1;  // glitches and jitter are drawn from this seed (per capture)
};

struct BoardConfig {
    std::uint8_t firstVersion = 1;                       // answer to 0x17
    std::uint8_t secondVersion = 3;                      // answer to 0x16
    std::uint32_t counterStart = 0;                      // counter reading at time 0 (taken modulo 2^24)
    double lateBurstEndUs = 50;  // each burst end is reported this much after the last counted carrier cycle
    std::optional<double> endOfDataSilenceUs = 250'000;  // silence after the last burst before 0x00; none: never
    double pressDelayUs = 100'000;                       // from the start of a capture to the first mark of the press
    bool serialTiming = true;
    double byteTimeUs = 10 * 1e6 / 9600;  // start bit, 8 data bits, stop bit at 9600 baud
    BoardFaults faults;
};

// One burst of a played press, as the board saw and reported it (for tests and diagnostics).
struct PlayedBurst {
    double startUs = 0;        // first carrier
    double endUs = 0;          // end of the mark
    double lastCycleUs = 0;    // last counted carrier cycle (endUs without carrier)
    double reportedEndUs = 0;  // late delay after the last counted carrier cycle (after endUs without carrier)
    std::uint32_t startCount = 0;
    std::uint32_t endCount = 0;  // counter at reportedEndUs
    std::uint16_t cycles = 0;
};

class BoardEngine {
public:
    static constexpr std::uint32_t kCounterModulus = 1u << 24;
    static constexpr double kMaxPressUs = 60e6;                 // a press is never played longer than this
    static constexpr std::size_t kMaxPressIntervals = 200'000;  // nor with more marks and spaces than this
    static constexpr std::uint32_t kMissedCarryCounts = 4096;

    explicit BoardEngine(BoardConfig config = {});

    // The configuration may be changed at any time; changes apply to the commands and captures that follow.
    BoardConfig& config() { return config_; }
    const BoardConfig& config() const { return config_; }

    void queuePress(KeyPress press);
    std::size_t queuedPresses() const { return presses_.size(); }
    void clearPresses() { presses_.clear(); }
    // Asked for a press when a capture starts and the queue is empty; may return none.
    void setPressSource(std::function<std::optional<KeyPress>()> source) { source_ = std::move(source); }

    // A byte from the host, written at `nowUs`.
    void receive(std::uint8_t byte, double nowUs);
    // The next byte to the host if it is readable at `nowUs`.
    bool read(std::uint8_t& byte, double nowUs);
    // Drops every byte readable at `nowUs` (what arrived while nobody listened).
    void discardReadable(double nowUs);
    std::size_t readableCount(double nowUs) const;
    // When the next byte becomes readable; none when the board has nothing more to send.
    std::optional<double> nextByteTime() const;

    // True from the start of a capture until its end-of-data code or the next host byte.
    bool capturing(double nowUs) const;
    bool waitingForPress() const { return captureActive_ && !pressPlayed_; }
    // Lets go of the key of the press the current capture plays, at `nowUs`: a repeat part that started before
    // is sent whole, the later ones are not sent, and the end of data follows the silence as usual. Nothing
    // changes when no capture plays a press or the press ends before `nowUs` anyway. A press queued with a
    // hold of kMaxPressUs thus lasts for as long as the user holds the key.
    void releasePress(double nowUs);
    std::uint32_t counterAt(double timeUs) const;
    int capturesStarted() const { return captures_; }
    // The bursts of the press played last.
    const std::vector<PlayedBurst>& lastPress() const { return played_; }

private:
    struct OutByte {
        std::uint8_t value;
        double readyUs;
        double eventUs;  // when the board saw what the byte reports
        bool capture;    // part of a capture stream (dropped when the capture ends early)
    };

    void handleCommand(std::uint8_t byte, double atUs);
    void startCapture(double atUs);
    void playPress(const KeyPress& press, double firstMarkUs);
    void send(std::uint8_t value, double eventUs, bool capture);
    void endCaptureEarly(double atUs);
    double uniform();

    BoardConfig config_;
    std::deque<KeyPress> presses_;
    std::function<std::optional<KeyPress>()> source_;
    std::deque<OutByte> out_;
    double txFreeUs_ = -std::numeric_limits<double>::infinity();
    double rxFreeUs_ = -std::numeric_limits<double>::infinity();
    double latestNowUs_ = -std::numeric_limits<double>::infinity();
    bool captureActive_ = false;
    bool pressPlayed_ = false;
    double captureStartUs_ = 0;
    double captureEndUs_ = std::numeric_limits<double>::infinity();
    int captures_ = 0;
    std::mt19937 random_;
    std::vector<PlayedBurst> played_;
    std::vector<std::size_t> repeatStartBursts_;  // indices into played_ where repeat parts begin
};

}  // namespace spectrel::virtualboard
