#pragma once
// The byte format of the board's capture stream (the records that follow the 0xFF acknowledge of a
// start-capture command), decoded one byte at a time. The board omits the high timestamp byte (and the
// cycle count) when it did not change; the decoder keeps the last values of each record family.
// The decoder judges single records only: whether an end of data is plausible where it comes (before any
// burst, say) is the capture loop's decision.

#include <cstdint>

namespace spectrel {

enum class CaptureRecordKind {
    BurstStart,  // 0x20 H M L, 0x40 M L
    BurstEnd,    // 0x21 H M L CH CL, 0x41 M L, 0x60..0x7F M L
    EndOfData,   // 0x00
    Erratic,     // any other code byte
};

struct CaptureRecord {
    CaptureRecordKind kind = CaptureRecordKind::Erratic;
    std::uint8_t code = 0;            // the record's code byte
    std::uint32_t timestamp = 0;      // board counter, 24 bits, 0.5 us per count
    std::uint16_t carrierCycles = 0;  // burst end only
};

// Code bytes of the capture stream's records.
namespace stream_code {
constexpr std::uint8_t kBurstStartLong = 0x20;      // H M L
constexpr std::uint8_t kBurstStartShort = 0x40;     // M L, H of the last long burst start
constexpr std::uint8_t kBurstEndLong = 0x21;        // H M L CH CL
constexpr std::uint8_t kBurstEndShort = 0x41;       // M L, cycle count of the previous burst end
constexpr std::uint8_t kBurstEndSmallFirst = 0x60;  // 0x60..0x7F M L, cycle count in the low five bits
constexpr std::uint8_t kBurstEndSmallLast = 0x7F;
constexpr std::uint8_t kSmallCyclesMask = 0x1F;
constexpr std::uint8_t kEndOfData = 0x00;
}  // namespace stream_code

// Command bytes of the reader board and its acknowledge of a capture start.
namespace reader_command {
constexpr std::uint8_t kReset = 0x00;
constexpr std::uint8_t kQuerySecondVersion = 0x16;
constexpr std::uint8_t kQueryFirstVersion = 0x17;
constexpr std::uint8_t kStartCapture = 0x18;
constexpr std::uint8_t kCaptureAcknowledge = 0xFF;
}  // namespace reader_command

class CaptureStreamDecoder {
public:
    // Forgets the last high bytes and cycle count (a new capture starts with 0 for each).
    void reset();
    // Feeds one byte. Returns true when the byte completed a record, which is then stored in `record`.
    // EndOfData and Erratic records complete on their code byte.
    bool push(std::uint8_t byte, CaptureRecord& record);
    // True while a record has been started but not completed.
    bool inRecord() const { return expected_ > 0; }

private:
    std::uint8_t code_ = 0;
    std::uint8_t bytes_[5] = {};
    int received_ = 0;
    int expected_ = 0;
    std::uint8_t lastStartHigh_ = 0;
    std::uint8_t lastEndHigh_ = 0;
    std::uint16_t lastCycles_ = 0;
};

}  // namespace spectrel
