#include "Code/SPX_CaptureStream.h"

namespace spectrel {

namespace {

using namespace stream_code;

std::uint32_t Timestamp(std::uint8_t high, std::uint8_t middle, std::uint8_t low) {
    return (std::uint32_t{high} << 16) | (std::uint32_t{middle} << 8) | std::uint32_t{low};
}

}  // namespace

void CaptureStreamDecoder::reset() {
    code_ = 0;
    received_ = 0;
    expected_ = 0;
    lastStartHigh_ = 0;
    lastEndHigh_ = 0;
    lastCycles_ = 0;
}

bool CaptureStreamDecoder::push(std::uint8_t byte, CaptureRecord& record) {
    if (expected_ == 0) {
        // A code byte.
        code_ = byte;
        received_ = 0;
        if (byte == kBurstStartLong) {
            expected_ = 3;
        } else if (byte == kBurstEndLong) {
            expected_ = 5;
        } else if (byte == kBurstStartShort || byte == kBurstEndShort ||
                   (byte >= kBurstEndSmallFirst && byte <= kBurstEndSmallLast)) {
            expected_ = 2;
        } else {
            record = CaptureRecord{};
            record.code = byte;
            record.kind = byte == kEndOfData ? CaptureRecordKind::EndOfData : CaptureRecordKind::Erratic;
            return true;
        }
        return false;
    }

    bytes_[received_++] = byte;
    if (received_ < expected_) return false;
    expected_ = 0;

    record = CaptureRecord{};
    record.code = code_;
    switch (code_) {
        case kBurstStartLong:
            lastStartHigh_ = bytes_[0];
            record.kind = CaptureRecordKind::BurstStart;
            record.timestamp = Timestamp(bytes_[0], bytes_[1], bytes_[2]);
            break;
        case kBurstStartShort:
            record.kind = CaptureRecordKind::BurstStart;
            record.timestamp = Timestamp(lastStartHigh_, bytes_[0], bytes_[1]);
            break;
        case kBurstEndLong:
            lastEndHigh_ = bytes_[0];
            lastCycles_ = static_cast<std::uint16_t>((bytes_[3] << 8) | bytes_[4]);
            record.kind = CaptureRecordKind::BurstEnd;
            record.timestamp = Timestamp(bytes_[0], bytes_[1], bytes_[2]);
            record.carrierCycles = lastCycles_;
            break;
        case kBurstEndShort:
            record.kind = CaptureRecordKind::BurstEnd;
            record.timestamp = Timestamp(lastEndHigh_, bytes_[0], bytes_[1]);
            record.carrierCycles = lastCycles_;
            break;
        default:  // 0x60..0x7F
            lastCycles_ = code_ & kSmallCyclesMask;
            record.kind = CaptureRecordKind::BurstEnd;
            record.timestamp = Timestamp(lastEndHigh_, bytes_[0], bytes_[1]);
            record.carrierCycles = lastCycles_;
            break;
    }
    return true;
}

}  // namespace spectrel
