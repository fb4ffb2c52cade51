#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "Code/SPX_Data.h"
#include "testing/ScriptedMessageBoxes.h"

namespace {

using namespace spectrel;
using platform::MessageKind;
using spectrel::testing::ScriptedMessageBoxes;

constexpr const char* kCarrierTooShort = "Carrier period cannot be less than 2 us (500 kHz)";
constexpr const char* kCarrierTooLong = "Carrier period cannot be greater than 50 us (20 kHz)";
constexpr const char* kPulsed = "New setting defines pulsed code (no carrier)";
constexpr const char* kLetters = "Only letters \"I\",\"J\",\"X\" are allowed";
constexpr const char* kTooShort = "Interval cannot be less than 100 us";
constexpr const char* kTooLong = "Interval cannot be greater than 16 ms";

// A standard protocol as loaded from the table.
Tprotocol_descriptor StandardNec() {
    Tprotocol_descriptor d;
    d.valid = true;
    d.standard = true;
    d.name = "NEC";
    d.carrier_period = 26.3;
    d.frame_rate = 108;
    d.format = "Ix";
    d.i_letter = 'I';
    d.x_letter = 'x';
    d.dummy_code = "AbAa";
    d.min_frames = 2;
    d.max_frames = 101;
    d.i_length = 67;
    d.x_length = 4;
    d.vocabulary_count = 2;
    d.durations[0] = 560;
    d.durations[1] = 1120;
    d.is_pulse[0] = d.is_pause[0] = d.is_pulse[1] = d.is_pause[1] = true;
    return d;
}

struct Box {
    MessageKind kind;
    std::string text;
    bool operator==(const Box&) const = default;
};

std::vector<Box> Boxes(const ScriptedMessageBoxes& boxes) {
    std::vector<Box> out;
    for (const auto& m : boxes.shown()) {
        EXPECT_EQ(m.buttons, platform::MessageButtons(platform::MessageButton::Ok)) << m.text;
        out.push_back({m.kind, m.text});
    }
    return out;
}

struct SetCase {
    const char* what;
    int code;
    int index;
    std::string text;
    bool ok;
    std::string shownAfter;  // GetParamText of the same code and index afterwards
    std::vector<Box> boxes;
};

class DataSetParamText : public ::testing::TestWithParam<SetCase> {};

TEST_P(DataSetParamText, ClampsAndTellsTheUser) {
    const SetCase& c = GetParam();
    Tprotocol_descriptor d = StandardNec();
    TWorkingProtocol working;
    working.carrier_period = 26.3;
    ScriptedMessageBoxes boxes;
    const TDataResult result = SetParamText(d, c.text, c.code, c.index, working, boxes);
    EXPECT_EQ(result.ok, c.ok) << result.message;
    EXPECT_EQ(result.message.empty(), c.ok) << result.message;
    EXPECT_EQ(GetParamText(d, c.code, c.index), c.shownAfter);
    EXPECT_EQ(Boxes(boxes), c.boxes);
    // Any edit turns the standard protocol into a learned one.
    if (c.code != param_code::kStandard) {
        EXPECT_FALSE(d.standard);
    }
}

const SetCase kSetCases[] = {
    {"carrier to the nearest half", 5, 0, "26.26", true, "26.5", {}},
    {"carrier tie to even", 5, 0, "26.25", true, "26.0", {}},
    {"carrier tie to even upward", 5, 0, "26.75", true, "27.0", {}},
    {"carrier below 2", 5, 0, "1.2", true, "2.0", {{MessageKind::Error, kCarrierTooShort}}},
    {"negative carrier", 5, 0, "-1", true, "2.0", {{MessageKind::Error, kCarrierTooShort}}},
    {"no carrier", 5, 0, "0", true, "0.0", {{MessageKind::Warning, kPulsed}}},
    {"carrier rounding to none", 5, 0, "0.2", true, "0.0", {{MessageKind::Warning, kPulsed}}},
    {"carrier 2 kept", 5, 0, "2", true, "2.0", {}},
    {"carrier 50 kept", 5, 0, "50", true, "50.0", {}},
    {"carrier above 50", 5, 0, "60", true, "50.0", {{MessageKind::Error, kCarrierTooLong}}},
    {"carrier with blanks", 5, 0, " 38 ", true, "38.0", {}},
    {"carrier with a decimal comma", 5, 0, "26,3", false, "26.3", {}},
    {"carrier empty", 5, 0, "", false, "26.3", {}},
    {"frame rate rounded", 6, 0, "107.5", true, "108", {}},
    {"frame rate no number", 6, 0, "fast", false, "108", {}},
    {"duration rounded", 15, 1, "1690.4", true, "1690", {}},
    {"duration 100 kept", 15, 1, "100", true, "100", {}},
    {"duration 99.5 rounds to 100", 15, 1, "99.5", true, "100", {}},
    {"duration below 100", 15, 1, "99", true, "100", {{MessageKind::Error, kTooShort}}},
    {"duration 16000 kept", 15, 1, "16000", true, "16000", {}},
    {"duration above 16000", 15, 1, "16001", true, "16000", {{MessageKind::Error, kTooLong}}},
    {"duration at the last index", 15, 30, "700", true, "700", {}},
    {"duration index outside", 15, 31, "700", false, "", {}},
    {"duration no number", 15, 1, "long", false, "1120", {}},
    {"flags pulse", 16, 0, "+", true, "+", {}},
    {"flags pause", 17, 0, "-", true, "-", {}},
    {"flags both reversed", 16, 0, "-+", true, "+-", {}},
    {"flags unknown text clears both", 16, 0, "x", true, "", {}},
    {"flags empty text keeps them", 16, 0, "", true, "+-", {}},
    {"flags index outside", 17, -1, "+", false, "", {}},
    {"minimum frames", 9, 0, "3", true, "3", {}},
    {"maximum frames not an integer", 10, 0, "1.5", false, "101", {}},
    {"data length shown without sign", 11, 0, "-20", true, "20", {}},
    {"dummy length", 13, 0, "12", true, "12", {}},
    {"vocabulary count", 14, 0, "3", true, "3", {}},
    {"name", 3, 0, "My, remote", true, "My, remote", {}},
    {"standard set again", 4, 0, "Standard", true, "standard", {}},
    {"standard needs the exact word", 4, 0, "standard ", true, "learned", {}},
    {"format", 7, 0, "IQ", true, "IQ", {{MessageKind::Error, kLetters}}},
    {"dummy frame", 8, 0, "AbAaAb", true, "AbAaAb", {}},
    {"code of a dialog row", 1, 0, "5", true, "", {}},
};

INSTANTIATE_TEST_SUITE_P(DataCases, DataSetParamText, ::testing::ValuesIn(kSetCases), [](const auto& info) {
    std::string name;
    for (const char* p = info.param.what; *p; ++p) name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
});

TEST(DataSetParamFormat, LettersFollowTheTypedFormat) {
    struct Case {
        const char* format;
        char i, j, x;
        int minFrames, maxFrames;
        int errorBoxes;
    } cases[] = {
        {"xIx", 'I', '?', 'x', 3, 101, 0}, {"IM", 'I', 'J', '?', 2, 101, 0}, {"ij", 'i', 'j', '?', 2, 101, 0},
        {"IQ", 'I', '?', '?', 2, 101, 1},  {"AQ", 'I', '?', '?', 2, 101, 2},  // the data letter is not reset by a
                                                                              // format without one
    };
    for (const Case& c : cases) {
        Tprotocol_descriptor d = StandardNec();
        ScriptedMessageBoxes boxes;
        ASSERT_TRUE(SetParamText(d, c.format, param_code::kFormat, 0, TWorkingProtocol{}, boxes));
        EXPECT_EQ(d.format, c.format);
        EXPECT_EQ(d.i_letter, c.i) << c.format;
        EXPECT_EQ(d.j_letter, c.j) << c.format;
        EXPECT_EQ(d.x_letter, c.x) << c.format;
        EXPECT_EQ(d.min_frames, c.minFrames) << c.format;
        EXPECT_EQ(d.max_frames, c.maxFrames) << c.format;
        EXPECT_EQ(boxes.shown().size(), static_cast<std::size_t>(c.errorBoxes)) << c.format;
        // Without a dummy frame letter the dummy code goes.
        EXPECT_EQ(d.dummy_code.empty(), c.x == '?') << c.format;
    }

    // A longer format raises the maximum; an empty one changes nothing but may drop the dummy code.
    Tprotocol_descriptor d = StandardNec();
    d.max_frames = 2;
    ScriptedMessageBoxes boxes;
    ASSERT_TRUE(SetParamText(d, "xIxx", param_code::kFormat, 0, TWorkingProtocol{}, boxes));
    EXPECT_EQ(d.max_frames, 4);
    d.x_letter = '?';
    d.dummy_code = "Ab";
    ASSERT_TRUE(SetParamText(d, "", param_code::kFormat, 0, TWorkingProtocol{}, boxes));
    EXPECT_EQ(d.format, "xIxx");
    EXPECT_EQ(d.dummy_code, "");
}

TEST(DataSetParamDummy, OnlyAFormatWithADummyFrameTakesIt) {
    TWorkingProtocol working;
    working.carrier_period = 26.3;
    ScriptedMessageBoxes boxes;

    Tprotocol_descriptor d = StandardNec();
    ASSERT_TRUE(SetParamText(d, "AbAaAb", param_code::kDummyCode, 0, working, boxes));
    EXPECT_EQ(d.dummy_code, "AbAaAb");
    EXPECT_EQ(d.x_length, 8);

    d.format = "I";
    d.x_length = 5;
    ASSERT_TRUE(SetParamText(d, "AbAaAb", param_code::kDummyCode, 0, working, boxes));
    EXPECT_EQ(d.dummy_code, "");
    EXPECT_EQ(d.x_length, 5);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST(DataGetParamText, ShowsTheFields) {
    Tprotocol_descriptor d = StandardNec();
    d.j_length = -5;
    d.x_length = -4;
    d.durations[2] = 2250.5;  // ties to even
    d.durations[3] = 2251.5;
    d.is_pulse[3] = d.is_pause[3] = false;
    struct Case {
        int code, index;
        const char* text;
    } cases[] = {
        {3, 0, "NEC"},  {4, 0, "standard"}, {5, 0, "26.3"},  {6, 0, "108"},   {7, 0, "Ix"},
        {8, 0, "AbAa"}, {9, 0, "2"},        {10, 0, "101"},  {11, 0, "67"},   {12, 0, "5"},
        {13, 0, "4"},   {14, 0, "2"},       {15, 2, "2250"}, {15, 3, "2252"}, {16, 0, "+-"},
        {17, 3, ""},    {0, 0, ""},         {2, 0, ""},      {18, 0, ""},     {15, 40, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(GetParamText(d, c.code, c.index), c.text) << c.code << "/" << c.index;

    Tprotocol_descriptor cleared;
    EXPECT_EQ(GetParamText(cleared, 5, 0), "-1.0");
    EXPECT_EQ(GetParamText(cleared, 4, 0), "learned");
    EXPECT_EQ(GetParamText(cleared, 6, 0), "-1");
}

TEST(DataNumbers, FixedNotationRoundsHalvesAwayFromZero) {
    struct Case {
        double value;
        int decimals;
        const char* text;
    } cases[] = {
        {26.25, 1, "26.3"}, {-26.25, 1, "-26.3"}, {26.3, 1, "26.3"}, {-1, 1, "-1.0"},
        {0, 1, "0.0"},      {99.95, 1, "100.0"},  {0.5, 0, "1"},     {1.5, 0, "2"},
        {2.5, 0, "3"},      {-0.04, 1, "0.0"},    {108, 0, "108"},   {9.96, 1, "10.0"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatFixedNumber(c.value, c.decimals), c.text) << c.value;

    struct Round {
        double value, rounded;
    } rounds[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {52.52, 53}, {52.5, 52}, {2.4, 2}};
    for (const Round& r : rounds) EXPECT_EQ(RoundHalfEven(r.value), r.rounded) << r.value;
}

}  // namespace

namespace {

TEST(DataCheckParamText, RefusesWhatTheEditorMayNotSet) {
    struct Case {
        int code;
        const char* text;
        const char* message;  // empty: accepted
    } cases[] = {
        {5, "", "Field cannot be left blank"},
        {6, "", "Field cannot be left blank"},
        {3, "", "Field cannot be left blank"},
        {5, "1.7", "Carrier period cannot be less than 2 us (500 kHz)"},
        {5, "1.75", ""},  // rounds to 2
        {5, "0", ""},
        {5, "0.2", ""},    // rounds to 0
        {5, "50.25", ""},  // rounds to 50
        {5, "50.3", "Carrier period cannot be greater than 50 us (20 kHz)"},
        {5, "abc", "'abc' is not a valid floating point value"},
        {7, "iJmX", ""},
        {7, "IQ", "Only letters \"I\",\"J\",\"X\" are allowed"},
        {15, "99.4", "Interval cannot be less than 100 us"},
        {15, "99.5", ""},
        {15, "16000.5", ""},
        {15, "16001", "Interval cannot be greater than 16 ms"},
        {6, "fast", ""},
        {8, "anything", ""},
    };
    const Tprotocol_descriptor d;
    for (const Case& c : cases) {
        const TDataResult r = CheckParamText(d, c.text, c.code);
        EXPECT_EQ(r.message, c.message) << c.code << " " << c.text;
        EXPECT_EQ(r.ok, *c.message == '\0') << c.code << " " << c.text;
    }
}

}  // namespace
