// The capture stream decoder: every record family, the separate high bytes of burst starts and burst ends,
// and the cycle count that the short burst-end record inherits.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Code/SPX_CaptureStream.h"

namespace {

using spectrel::CaptureRecord;
using spectrel::CaptureRecordKind;
using spectrel::CaptureStreamDecoder;
using Kind = CaptureRecordKind;

struct Expected {
    Kind kind;
    std::uint8_t code;
    std::uint32_t timestamp;
    std::uint16_t cycles;
};

struct DecoderCase {
    std::string name;
    std::vector<std::uint8_t> bytes;
    std::vector<Expected> records;
};

std::vector<CaptureRecord> Decode(const std::vector<std::uint8_t>& bytes, CaptureStreamDecoder& decoder) {
    std::vector<CaptureRecord> out;
    for (std::uint8_t b : bytes) {
        CaptureRecord r;
        if (decoder.push(b, r)) out.push_back(r);
    }
    return out;
}

class CaptureStreamDecoderTable : public ::testing::TestWithParam<DecoderCase> {};

TEST_P(CaptureStreamDecoderTable, DecodesRecords) {
    const DecoderCase& c = GetParam();
    CaptureStreamDecoder decoder;
    const auto records = Decode(c.bytes, decoder);
    ASSERT_EQ(records.size(), c.records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        SCOPED_TRACE("record " + std::to_string(i));
        EXPECT_EQ(records[i].kind, c.records[i].kind);
        EXPECT_EQ(records[i].code, c.records[i].code);
        EXPECT_EQ(records[i].timestamp, c.records[i].timestamp);
        EXPECT_EQ(records[i].carrierCycles, c.records[i].cycles);
    }
    EXPECT_FALSE(decoder.inRecord());
}

const DecoderCase kDecoderCases[] = {
    {"LongBurstStart", {0x20, 0x12, 0x34, 0x56}, {{Kind::BurstStart, 0x20, 0x123456, 0}}},
    {"LongBurstEnd", {0x21, 0xAB, 0xCD, 0xEF, 0x01, 0x02}, {{Kind::BurstEnd, 0x21, 0xABCDEF, 0x0102}}},
    {"ShortStartBeforeAnyLongStartHasHighZero", {0x40, 0x12, 0x34}, {{Kind::BurstStart, 0x40, 0x001234, 0}}},
    {"ShortEndBeforeAnyLongEndHasHighAndCyclesZero", {0x41, 0x12, 0x34}, {{Kind::BurstEnd, 0x41, 0x001234, 0}}},
    {"ShortStartTakesHighOfLastLongStart",
     {0x20, 0x07, 0x00, 0x01, 0x40, 0x10, 0x20},
     {{Kind::BurstStart, 0x20, 0x070001, 0}, {Kind::BurstStart, 0x40, 0x071020, 0}}},
    {"StartAndEndKeepSeparateHighBytes",
     {0x20, 0x05, 0x00, 0x00, 0x21, 0x09, 0x00, 0x10, 0x00, 0x15, 0x40, 0x00, 0x20,
      0x41, 0x00, 0x30, 0x20, 0x0A, 0x00, 0x00, 0x41, 0x00, 0x40, 0x40, 0x00, 0x50},
     {{Kind::BurstStart, 0x20, 0x050000, 0},
      {Kind::BurstEnd, 0x21, 0x090010, 0x15},
      {Kind::BurstStart, 0x40, 0x050020, 0},
      {Kind::BurstEnd, 0x41, 0x090030, 0x15},
      {Kind::BurstStart, 0x20, 0x0A0000, 0},
      {Kind::BurstEnd, 0x41, 0x090040, 0x15},
      {Kind::BurstStart, 0x40, 0x0A0050, 0}}},
    {"SmallCycleEndsTakeHighOfLastLongEnd",
     {0x21, 0x03, 0x00, 0x00, 0x01, 0x00, 0x60, 0x11, 0x22, 0x7F, 0x33, 0x44, 0x75, 0x55, 0x66},
     {{Kind::BurstEnd, 0x21, 0x030000, 0x0100},
      {Kind::BurstEnd, 0x60, 0x031122, 0},
      {Kind::BurstEnd, 0x7F, 0x033344, 31},
      {Kind::BurstEnd, 0x75, 0x035566, 21}}},
    {"ShortEndAfterSmallCycleEndRepeatsItsCount",
     {0x21, 0x01, 0x00, 0x00, 0x02, 0x58, 0x6C, 0x00, 0x10, 0x41, 0x00, 0x20},
     {{Kind::BurstEnd, 0x21, 0x010000, 600},
      {Kind::BurstEnd, 0x6C, 0x010010, 12},
      {Kind::BurstEnd, 0x41, 0x010020, 12}}},
    {"ShortEndAfterLongEndRepeatsItsCount",
     {0x21, 0x00, 0x00, 0x00, 0x00, 0x16, 0x41, 0x01, 0x00, 0x41, 0x02, 0x00},
     {{Kind::BurstEnd, 0x21, 0x000000, 22},
      {Kind::BurstEnd, 0x41, 0x000100, 22},
      {Kind::BurstEnd, 0x41, 0x000200, 22}}},
    {"ZeroDataBytesAreNotCodeBytes",
     {0x20, 0x00, 0x00, 0x00, 0x00},
     {{Kind::BurstStart, 0x20, 0, 0}, {Kind::EndOfData, 0x00, 0, 0}}},
    {"EndOfData", {0x00}, {{Kind::EndOfData, 0x00, 0, 0}}},
    {"ErraticCodes",
     {0x01, 0x1F, 0x22, 0x3F, 0x42, 0x5F, 0x80, 0xFF},
     {{Kind::Erratic, 0x01, 0, 0},
      {Kind::Erratic, 0x1F, 0, 0},
      {Kind::Erratic, 0x22, 0, 0},
      {Kind::Erratic, 0x3F, 0, 0},
      {Kind::Erratic, 0x42, 0, 0},
      {Kind::Erratic, 0x5F, 0, 0},
      {Kind::Erratic, 0x80, 0, 0},
      {Kind::Erratic, 0xFF, 0, 0}}},
};

INSTANTIATE_TEST_SUITE_P(Records, CaptureStreamDecoderTable, ::testing::ValuesIn(kDecoderCases),
                         [](const auto& info) { return info.param.name; });

TEST(CaptureStreamDecoder, InRecordWhileDataBytesAreOutstanding) {
    CaptureStreamDecoder decoder;
    CaptureRecord r;
    EXPECT_FALSE(decoder.push(0x21, r));
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(decoder.inRecord());
        EXPECT_FALSE(decoder.push(0x01, r));
    }
    EXPECT_TRUE(decoder.push(0x01, r));
    EXPECT_FALSE(decoder.inRecord());
}

TEST(CaptureStreamDecoder, ResetForgetsHighBytesAndCycles) {
    CaptureStreamDecoder decoder;
    Decode({0x20, 0x05, 0x00, 0x00, 0x21, 0x06, 0x00, 0x00, 0x00, 0x20}, decoder);
    decoder.reset();
    const auto records = Decode({0x40, 0x00, 0x01, 0x41, 0x00, 0x02}, decoder);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].timestamp, 0x000001u);
    EXPECT_EQ(records[1].timestamp, 0x000002u);
    EXPECT_EQ(records[1].carrierCycles, 0);
}

TEST(CaptureStreamDecoder, ResetAbandonsAPartialRecord) {
    CaptureStreamDecoder decoder;
    Decode({0x21, 0x05, 0x00}, decoder);
    decoder.reset();
    EXPECT_FALSE(decoder.inRecord());
    const auto records = Decode({0x00}, decoder);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].kind, Kind::EndOfData);
}

}  // namespace
