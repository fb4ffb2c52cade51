// Frame codes, the frames buffer and its queries, frame patterns, the format classification with its messages,
// the frame rate and the format description.

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "Code/SPX_processing.h"
#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"
#include "tests/processing_table_writer.h"

namespace spectrel {
namespace {

using test::TableWriter;

// Nominals of the test vocabulary: 'A'/'a' 500 us, 'B'/'b' 1000, 'C'/'c' 2000, 'D'/'d' 4000.
constexpr double kNominals[] = {500, 1000, 2000, 4000};
constexpr double kGap = 30000;  // longer than the 10 ms minimum gap

class FramesTest : public ::testing::Test {
protected:
    FramesTest() {
        context.working.carrier_period = 26.5;
        context.working.vocabulary_count = 4;
        for (int k = 0; k < 4; ++k) {
            context.working.vocabulary[k].nominal = kNominals[k];
            context.working.vocabulary[k].hasPulse = true;
            context.working.vocabulary[k].hasPause = true;
        }
    }

    // One press written straight into the analysis table: frames given by their codes, gaps between them.
    void Press(int record, int button, const std::vector<std::string>& frames) {
        TableWriter writer(context, true);
        writer.begin(record, button);
        for (size_t f = 0; f < frames.size(); ++f) {
            if (f > 0) writer.pause(kGap);
            for (char c : frames[f]) {
                if (c >= 'A' && c <= 'D')
                    writer.pulse(kNominals[c - 'A'], 20);
                else
                    writer.pause(kNominals[c - 'a']);
            }
        }
        writer.close();
    }
    // The three learning records: key 0 twice, key 1 once.
    void Learn(const std::vector<std::string>& first, const std::vector<std::string>& second,
               const std::vector<std::string>& other) {
        Press(0, 0, first);
        Press(1, 0, second);
        Press(2, 1, other);
        FillFramesBuffer(context);
    }

    testing::ScriptedMessageBoxes boxes;
    testing::SimulatedClock clock;
    TAnalysisContext context{boxes, clock, clock};
};

const std::string kX = "AaBbAb";
const std::string kY = "AbAbAa";
const std::string kZ = "CaCbCa";
const std::string kW = "DdAaBb";

TEST_F(FramesTest, NearestElementTakesTheMidpointsBetweenNominals) {
    EXPECT_EQ(NearestElement(context, 10), 0);
    EXPECT_EQ(NearestElement(context, 749.9), 0);
    EXPECT_EQ(NearestElement(context, 750), 1);
    EXPECT_EQ(NearestElement(context, 2999), 2);
    EXPECT_EQ(NearestElement(context, 1e9), 3);
    context.working.vocabulary_count = 1;
    EXPECT_EQ(NearestElement(context, 1e9), 0);
    context.working.vocabulary_count = 0;
    EXPECT_EQ(NearestElement(context, 500), -1);
}

TEST_F(FramesTest, FrameCodeDropsTheLeadingPauseAndStopsAtTheFrameEnd) {
    TableWriter writer(context, true);
    writer.begin(0, 0);
    writer.pause(1000);  // a pause inside frame 0 before its first pulse
    writer.pulse(500, 20);
    writer.pause(1000);
    writer.pulse(2000, 20);
    writer.pause(kGap);
    writer.pulse(4000, 20);
    writer.pause(500);
    writer.close();
    EXPECT_EQ(FrameCode(context, 0, 0), "AbC");
    EXPECT_EQ(FrameCode(context, 0, 1), "Da");
    EXPECT_EQ(FrameCode(context, 0, 2), "");
    EXPECT_EQ(FrameCode(context, 0, -1), "");
    EXPECT_EQ(FrameCode(context, 1, 0), "");
    // Without vocabulary every interval is "?", the leading pause included.
    context.working.vocabulary_count = 0;
    EXPECT_EQ(FrameCode(context, 0, 0), "????");
}

TEST_F(FramesTest, FewerThanFiveRecordsGiveNoFrameCodes) {
    TableWriter writer(context, true);
    writer.begin(0, 0);
    writer.pulse(500, 20);
    writer.pause(500);
    writer.pulse(500, 20);
    writer.pause(500);
    EXPECT_EQ(FrameCode(context, 0, 0), "");
    writer.pulse(500, 20);
    EXPECT_EQ(FrameCode(context, 0, 0), "AaAaA");
}

TEST_F(FramesTest, APulsedCodeIsWrittenByItsPausesWithThePulseBefore) {
    context.working.carrier_period = 0;
    TableWriter writer(context, true);
    writer.begin(0, 0);
    writer.pulse(150, 1);
    writer.pause(350);  // 500 with its pulse
    writer.pulse(150, 1);
    writer.pause(1850);  // 2000
    writer.pulse(150, 1);
    writer.pause(850);  // 1000
    writer.close();
    EXPECT_EQ(FrameCode(context, 0, 0), "acb");
}

TEST_F(FramesTest, BufferHoldsEveryFrameWithButtonAndPress) {
    Learn({kX, kY}, {kX}, {kZ, kY, kY});
    const TFramesBuffer& buffer = context.framesBuffer;
    ASSERT_EQ(buffer.count, 6);
    EXPECT_EQ(buffer.entries[2].code, kX);
    EXPECT_EQ(buffer.entries[2].button_number, 0);
    EXPECT_EQ(buffer.entries[2].record_number, 1);
    EXPECT_EQ(buffer.entries[5].button_number, 1);
    EXPECT_EQ(buffer.entries[5].record_number, 0);
    EXPECT_EQ(buffer.entries[5].frame_number, 2);
    EXPECT_EQ(RecordFrameCount(context, 0, 0), 2);
    EXPECT_EQ(RecordFrameCount(context, 0, 1), 1);
    EXPECT_EQ(RecordFrameCount(context, 1, 0), 3);
    EXPECT_EQ(RecordFrameCount(context, 1, 1), 0);
}

TEST_F(FramesTest, BufferedFrameCodeBeyondTheLastFrameIsTheLastFrame) {
    Learn({kX, kY}, {kX}, {kZ, kY, kW});
    EXPECT_EQ(BufferedFrameCode(context, 1, 0, 1), kY);
    EXPECT_EQ(BufferedFrameCode(context, 1, 0, 3), kW);
    EXPECT_EQ(BufferedFrameCode(context, 1, 0, 10000), kW);
    EXPECT_EQ(BufferedFrameCode(context, 0, 1, 100), kX);
    EXPECT_EQ(BufferedFrameCode(context, 1, 0, -1), "");
    EXPECT_EQ(BufferedFrameCode(context, 2, 0, 0), "");
}

TEST_F(FramesTest, BufferQueries) {
    Learn({kX, kY}, {kX, kY}, {kZ, kY});
    EXPECT_TRUE(AllRecordsTwoFrames(context));
    EXPECT_TRUE(LastFramesEqual(context));
    EXPECT_TRUE(RecordsIdentical(context, 0, 0, 1));
    EXPECT_FALSE(RecordsIdentical(context, 0, 0, 2));
    EXPECT_FALSE(FrameSameAcrossButtons(context, 0));
    EXPECT_TRUE(FrameSameAcrossButtons(context, 1));
    EXPECT_EQ(ShortestDataCode(context, 0), kX);  // all of one length: the first wins
}

TEST_F(FramesTest, ShortestDataCodeSkipsMissingFrames) {
    Learn({"AaBbAbAa", kY}, {"AaBb"}, {"AaB", kY});
    EXPECT_EQ(ShortestDataCode(context, 0), "AaB");
    // Frame 1 of the second press is beyond its last frame: its only frame stands in.
    EXPECT_EQ(ShortestDataCode(context, 1), "AaBb");
    EXPECT_FALSE(AllRecordsTwoFrames(context));
}

TEST_F(FramesTest, TheIndexAndTheScanAgreeOnATableOutOfOrder) {
    // Record numbers that go down, and a press written with a frame number that goes back.
    Press(1, 0, {kX, kY});
    Press(0, 0, {kZ, kW, kZ});
    Press(2, 1, {kY});
    context.analysisTable()[context.recordCount - 3].frameNumber = 0;
    FillFramesBuffer(context);
    int entry = 0;
    int presses[2] = {0, 0};
    for (int r = 0; r <= 10; ++r) {
        int f = 0;
        for (; f <= 100; ++f) {
            const std::string code = FrameCode(context, r, f);
            if (code.empty()) break;
            ASSERT_LT(entry, context.framesBuffer.count);
            EXPECT_EQ(context.framesBuffer.entries[entry].code, code) << r << " " << f;
            EXPECT_EQ(context.framesBuffer.entries[entry].record_number, presses[r == 2 ? 1 : 0]);
            ++entry;
        }
        if (f == 0) break;
        ++presses[r == 2 ? 1 : 0];
    }
    EXPECT_EQ(entry, context.framesBuffer.count);
}

// The frames buffer filled through the index must hold what coding every frame by scanning the table gives,
// whatever order the records and frames come in.
TEST_F(FramesTest, TheIndexAndTheScanAgreeOnRandomTables) {
    std::mt19937 random(4097);
    std::uniform_int_distribution<int> letter(0, 3);
    for (int round = 0; round < 40; ++round) {
        context.recordCount = 0;
        context.working.carrier_period = round % 5 == 0 ? 0 : 26.5;
        const int presses = 1 + round % 6;
        for (int p = 0; p < presses; ++p) {
            const int record = round % 3 == 0 ? (p * 7 + round) % 5 : p;  // some tables out of order
            std::vector<std::string> frames(1 + (round + p) % 4);
            for (std::string& code : frames) {
                for (int i = 0; i < 6; ++i) code += static_cast<char>((i % 2 ? 'a' : 'A') + letter(random));
            }
            Press(record, p % 2, frames);
        }
        if (round % 4 == 1 && context.recordCount > 8) context.analysisTable()[context.recordCount / 2].frameNumber = 0;
        FillFramesBuffer(context);

        std::vector<Tframes_buf> expected;
        std::map<int, int> pressesOf;
        for (int r = 0; r <= 10; ++r) {
            int f = 0;
            int press = 0;
            for (; f <= 100; ++f) {
                const std::string code = FrameCode(context, r, f);
                if (code.empty()) break;
                if (f == 0) press = pressesOf[context.analysis.lastRecordButton]++;
                expected.push_back({code, context.analysis.lastRecordButton, press, f});
            }
            if (f == 0) break;
        }
        ASSERT_EQ(context.framesBuffer.count, static_cast<int>(expected.size())) << round;
        for (size_t i = 0; i < expected.size(); ++i) {
            const Tframes_buf& e = context.framesBuffer.entries[i];
            EXPECT_EQ(e.code, expected[i].code) << round << " " << i;
            EXPECT_EQ(e.button_number, expected[i].button_number) << round << " " << i;
            EXPECT_EQ(e.record_number, expected[i].record_number) << round << " " << i;
            EXPECT_EQ(e.frame_number, expected[i].frame_number) << round << " " << i;
        }
    }
}

// --- patterns

struct PatternCase {
    const char* name;
    std::vector<std::string> frames;
    const char* pattern;
};

void PrintTo(const PatternCase& c, std::ostream* os) { *os << c.name; }

class Patterns : public FramesTest, public ::testing::WithParamInterface<PatternCase> {};

TEST_P(Patterns, OfOneRecord) {
    Press(0, 0, GetParam().frames);
    EXPECT_EQ(FramePattern(context, 0), GetParam().pattern);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, Patterns,
    ::testing::Values(PatternCase{"HeaderThenRepeats", {kX, kY, kY, kY}, "aB"},
                      PatternCase{"Repeats", {kX, kX, kX, kX}, "A"}, PatternCase{"Single", {kX}, "a"},
                      PatternCase{"TrailingFrame", {kX, kX, kX, kY}, "Ab"},
                      PatternCase{"Alternating", {kX, kY, kX, kY, kX}, "[ab]"},
                      PatternCase{"ThreeAlternationsAreNotEnough", {kX, kY, kX}, "aba"},
                      PatternCase{"HeaderThenAlternating", {kW, kX, kY, kX, kY, kX}, "a[bc]"},
                      PatternCase{"FrameRepeatsThenOther", {kX, kY, kY, kX}, "aBa"}, PatternCase{"Empty", {}, ""}),
    [](const ::testing::TestParamInfo<PatternCase>& info) { return std::string(info.param.name); });

TEST(PatternWeight, CountsSevenLettersUpperCaseHeavier) {
    EXPECT_EQ(PatternWeight(""), 0);
    EXPECT_EQ(PatternWeight("a"), 1);
    EXPECT_EQ(PatternWeight("A"), 129);
    EXPECT_EQ(PatternWeight("aB"), 1 + 130 * 10);
    EXPECT_EQ(PatternWeight("[ab]"), 155 + 10 + 200 + 157000);
    EXPECT_EQ(PatternWeight("abcdefgh"), PatternWeight("abcdefg"));
}

TEST_F(FramesTest, PressesAgreeWhenOneLostItsTrailingFrame) {
    Press(0, 0, {kX, kX, kX, kY});
    Press(1, 0, {kX, kX, kX, kX});
    Press(2, 1, {kZ, kZ, kZ});
    EXPECT_EQ(ConsensusPattern(context), "A");
}

TEST_F(FramesTest, DisagreeingPressesHaveNoConsensus) {
    Press(0, 0, {kX, kY, kY});
    Press(1, 0, {kX, kX, kX});
    Press(2, 1, {kX, kY, kZ});
    EXPECT_EQ(ConsensusPattern(context), "");
}

TEST_F(FramesTest, PositionDigitsMarkFramesThatStayTheSame) {
    Learn({kW, kX, kX}, {kW, kX, kX}, {kW, kY, kY, kY});
    EXPECT_EQ(PositionDigits(context), "211");
    FillFramesBuffer(context);
    context.recordCount = 0;
    FillFramesBuffer(context);
    EXPECT_EQ(PositionDigits(context), "nothing to say");
}

struct AlignCase {
    const char* digits;
    const char* pattern;
    const char* aligned;
};

TEST(AlignedDigits, LineUpWithThePattern) {
    const AlignCase cases[] = {{"2111", "aB", "21"},  {"2121", "aB", "21"}, {"1", "aB", ""},       {"", "aB", ""},
                               {"12", "", ""},        {"21", "[ab]", "22"}, {"12", "a[bc]", "11"}, {"222", "A", "2"},
                               {"1222", "aBa", "12"}, {"1212", "A", "12"}};
    for (const AlignCase& c : cases)
        EXPECT_EQ(AlignedDigits(c.digits, c.pattern), c.aligned) << c.digits << " " << c.pattern;
}

// --- classification

TEST_F(FramesTest, AFixedHeaderFrameThenRepeatsIsDummyThenData) {
    Learn({kW, kX, kX, kX}, {kW, kX, kX, kX}, {kW, kY, kY, kY});
    EXPECT_EQ(ClassifyFormat(context), "xI");
    const TWorkingProtocol& w = context.working;
    EXPECT_EQ(w.i_position, 1);
    EXPECT_EQ(w.j_position, -1);
    EXPECT_EQ(w.x_position, 0);
    EXPECT_EQ(w.i_letter, 'I');
    EXPECT_EQ(w.j_letter, '?');
    EXPECT_EQ(w.x_letter, 'x');
    EXPECT_EQ(w.dummy_code, kW);
    EXPECT_EQ(w.data_code, kX);
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(FormatDescription(context), "<dummy>-<data>-<data>- ...");
}

TEST_F(FramesTest, DataThenRepeatedDummyFrames) {
    Learn({kX, kW, kW}, {kX, kW, kW, kW}, {kY, kW, kW});
    EXPECT_EQ(ClassifyFormat(context), "iX");
    EXPECT_EQ(context.working.data_code, kX);
    EXPECT_EQ(context.working.dummy_code, kW);
    EXPECT_EQ(context.working.x_position, 1);
}

TEST_F(FramesTest, AlternatingFramesAreTwoRepeatedDataFrames) {
    Learn({kX, kY, kX, kY, kX, kY}, {kX, kY, kX, kY}, {kZ, kW, kZ, kW, kZ});
    EXPECT_EQ(ClassifyFormat(context), "IJ");
    EXPECT_EQ(context.working.i_letter, 'I');
    EXPECT_EQ(context.working.j_letter, 'J');
    EXPECT_EQ(context.working.i_position, 0);
    EXPECT_EQ(context.working.j_position, 1);
    EXPECT_EQ(context.working.data_code, kX);
    EXPECT_EQ(context.working.second_data_code, kY);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(FramesTest, NoCommonPatternGivesTheDefaultSilently) {
    Learn({kX, kY, kY}, {kX, kX, kX}, {kX, kY, kZ});
    EXPECT_EQ(ClassifyFormat(context), "iJ");
    EXPECT_EQ(context.working.i_position, 0);
    EXPECT_EQ(context.working.j_position, 1);
    EXPECT_EQ(context.working.x_position, -1);
    EXPECT_EQ(context.working.j_letter, 'J');
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(FramesTest, AnEmptyTableGivesTheDefaultWithEmptyCodes) {
    FillFramesBuffer(context);
    EXPECT_EQ(ClassifyFormat(context), "iJ");
    EXPECT_EQ(context.working.data_code, "");
    EXPECT_EQ(context.working.second_data_code, "");
}

TEST_F(FramesTest, ARepeatedFrameWithATrailerThatIsTheSameForAllKeys) {
    Learn({kX, kX, kX, kW}, {kX, kX, kW}, {kY, kY, kY, kW});
    EXPECT_EQ(ClassifyFormat(context), "Ix");
    EXPECT_EQ(context.working.i_position, 1);
    EXPECT_EQ(context.working.j_position, 10000);
    EXPECT_EQ(context.working.x_position, 100);
    EXPECT_EQ(context.working.dummy_code, kW);
    EXPECT_EQ(context.working.data_code, kX);
}

TEST_F(FramesTest, AFixedFirstFrameBeforeALastFrameThatChangesHasNoDescription) {
    Learn({kX, kX, kX, kY}, {kX, kX, kY}, {kX, kX, kX, kW});
    EXPECT_EQ(ClassifyFormat(context), "Xi");
    EXPECT_EQ(context.working.i_position, 100);
    EXPECT_EQ(context.working.x_position, 10000);
    EXPECT_EQ(context.working.data_code, kY);  // the shortest last frame: frame 3, or the last one before it
    EXPECT_EQ(context.working.dummy_code, kX);
    EXPECT_EQ(FormatDescription(context), "");
}

// Shorter codes than kX..kW, so that the shortest of the three presses shows where a code was taken from.
const std::string kS = "AaB";
const std::string kT = "CcA";

struct RowCase {
    const char* name;
    std::vector<std::string> first, second, other;
    std::vector<std::string> extra;  // a fourth press (record 3, a third button) when not empty
    const char* format;
    int positions[3];  // I, J, X
    char letters[3];   // I, J, X
    const char* data;  // nullptr: not looked at
    const char* data2;
    const char* dummy;
};

void PrintTo(const RowCase& c, std::ostream* os) { *os << c.name; }

class ClassifyRows : public FramesTest, public ::testing::WithParamInterface<RowCase> {};

// One case per way through the classification that the cases above leave out: the format, where each frame
// sits, its letters, and which frame of which press each code comes from.
TEST_P(ClassifyRows, SetFormatPositionsLettersAndCodes) {
    const RowCase& c = GetParam();
    Press(0, 0, c.first);
    Press(1, 0, c.second);
    Press(2, 1, c.other);
    if (!c.extra.empty()) Press(3, 2, c.extra);
    FillFramesBuffer(context);
    EXPECT_EQ(ClassifyFormat(context), c.format);
    const TWorkingProtocol& w = context.working;
    EXPECT_EQ(w.format, c.format);
    EXPECT_EQ(w.i_position, c.positions[0]);
    EXPECT_EQ(w.j_position, c.positions[1]);
    EXPECT_EQ(w.x_position, c.positions[2]);
    EXPECT_EQ(w.i_letter, c.letters[0]);
    EXPECT_EQ(w.j_letter, c.letters[1]);
    EXPECT_EQ(w.x_letter, c.letters[2]);
    if (c.data != nullptr) {
        EXPECT_EQ(w.data_code, c.data);
    }
    if (c.data2 != nullptr) {
        EXPECT_EQ(w.second_data_code, c.data2);
    }
    if (c.dummy != nullptr) {
        EXPECT_EQ(w.dummy_code, c.dummy);
    }
    EXPECT_TRUE(boxes.shown().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Frames, ClassifyRows,
    ::testing::Values(
        // One frame per press: the first press's frame, not the shortest.
        RowCase{"OneFrame", {kX}, {kX}, {kS}, {}, "i", {0, -1, -1}, {'i', '?', '?'}, "AaBbAb", "", ""},
        RowCase{"TwoEqualFramesInEveryPress", {kX, kX}, {kX, kX}, {kS, kS}, {}, "ii", {1, 0, -1}, {'i', '?', '?'},
                "AaB", "", ""},
        RowCase{"OneFrameRepeated", {kX, kX, kX}, {kX, kX}, {kS, kS, kS}, {}, "I", {1, -1, -1}, {'I', '?', '?'},
                "AaB", "", ""},
        RowCase{"FirstFrameThenRepeatsBothChanging", {kX, kY, kY}, {kX, kY, kY}, {kS, kT, kT}, {}, "iJ",
                {0, 1, -1}, {'i', 'J', '?'}, "AaB", "CcA", ""},
        RowCase{"TwoChangingFrames", {kX, kY}, {kX, kY}, {kS, kT}, {}, "ij", {0, 1, -1}, {'i', 'j', '?'}, "AaB",
                "CcA", ""},
        // A further press with three frames: not every record has two frames.
        RowCase{"TwoChangingFramesNotAllPressesTwo", {kX, kY}, {kX, kY}, {kS, kT}, {kZ, kW, kZ}, "iJ", {0, 1, -1},
                {'i', 'J', '?'}, "AaB", "CcA", ""},
        // Two frames in every press, one of them the same for both keys: "ij" without data codes.
        RowCase{"FixedThenChangingFrame", {kW, kX}, {kW, kX}, {kW, kS}, {}, "ij", {0, 1, -1}, {'i', 'j', '?'}, "",
                "", ""},
        RowCase{"FixedThenChangingFrameNotAllPressesTwo", {kW, kX}, {kW, kX}, {kW, kS}, {kZ, kZ, kZ}, "xI",
                {1, -1, 0}, {'I', '?', 'x'}, "AaB", "", "DdAaBb"},
        RowCase{"ChangingThenFixedFrame", {kX, kW}, {kX, kW}, {kS, kW}, {}, "ij", {0, 1, -1}, {'i', 'j', '?'}, "",
                "", ""},
        RowCase{"ChangingThenFixedFrameNotAllPressesTwo", {kX, kW}, {kX, kW}, {kS, kW}, {kZ, kZ, kZ}, "iX",
                {0, -1, 1}, {'i', '?', 'X'}, "AaB", "", "DdAaBb"},
        // A repeated frame and a last one that changes with the key: a second data frame at the end.
        RowCase{"RepeatsThenAChangingLastFrame", {kX, kX, kY}, {kX, kX, kY}, {kS, kS, kT}, {}, "Ij",
                {1, 10000, -1}, {'I', 'j', '?'}, "AaB", "CcA", ""},
        // The last frame is the same for both keys but not in the second press: no trailer.
        RowCase{"RepeatsThenALastFrameNotAlwaysSent", {kX, kX, kY}, {kX, kX, kW}, {kS, kS, kY}, {}, "I",
                {1, -1, -1}, {'I', '?', '?'}, "AaB", "", ""},
        RowCase{"FixedFramesAroundRepeats", {kW, kX, kX, kW}, {kW, kX, kX, kW}, {kW, kS, kS, kW}, {}, "xIx",
                {1, 10000, 0}, {'I', '?', 'x'}, "AaB", "", "DdAaBb"},
        RowCase{"ChangingFramesAroundRepeats", {kX, kY, kY, kX}, {kX, kY, kY, kX}, {kS, kT, kT, kS}, {}, "iJi",
                {0, 1, -1}, {'i', 'J', '?'}, "AaB", "CcA", ""},
        RowCase{"ChangingFrameThenAlternating", {kW, kX, kY, kX, kY}, {kW, kX, kY, kX, kY}, {kS, kX, kY, kX, kY},
                {}, "iXY", {0, -1, 1}, {'i', '?', 'X'}, "AaB", "", "AaBbAb"},
        RowCase{"FixedFrameThenAlternating", {kW, kX, kY, kX, kY}, {kW, kX, kY, kX, kY}, {kW, kS, kT, kS, kT},
                {}, "xIJ", {1, 2, 0}, {'I', 'J', 'x'}, "AaB", "CcA", "DdAaBb"}),
    [](const ::testing::TestParamInfo<RowCase>& info) { return std::string(info.param.name); });

struct MessageCase {
    const char* name;
    std::vector<std::string> first, second, other;
    const char* format;
    platform::MessageKind kind;
    const char* text;
};

void PrintTo(const MessageCase& c, std::ostream* os) { *os << c.name; }

class ClassifyMessages : public FramesTest, public ::testing::WithParamInterface<MessageCase> {};

TEST_P(ClassifyMessages, WarnOrComplainWhenTheSameKeyWasPressed) {
    const MessageCase& c = GetParam();
    Learn(c.first, c.second, c.other);
    EXPECT_EQ(ClassifyFormat(context), c.format);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].kind, c.kind);
    EXPECT_EQ(boxes.shown()[0].text, c.text);
    EXPECT_EQ(boxes.shown()[0].buttons, platform::MessageButtons(platform::MessageButton::Ok));
}

INSTANTIATE_TEST_SUITE_P(
    Frames, ClassifyMessages,
    ::testing::Values(
        MessageCase{"RepeatedFrameAccepted",
                    {kX, kX, kX},
                    {kX, kX},
                    {kX, kX, kX},
                    "I",
                    platform::MessageKind::Warning,
                    "Please press DIFFERENT buttons as requested\rFortunately data can be accepted anyway"},
        MessageCase{"HeaderAndRepeatsInconclusive",
                    {kW, kX, kX},
                    {kW, kX, kX},
                    {kW, kX, kX},
                    "iJ",
                    platform::MessageKind::Error,
                    "Please press DIFFERENT buttons as requested\rData are inconclusive"},
        MessageCase{"TwoFramesTakenForAnAirConditioner",
                    {kX, kY},
                    {kX, kY},
                    {kX, kY},
                    "ij",
                    platform::MessageKind::Warning,
                    "Please press DIFFERENT buttons as requested\rSo far assumption is made that it is "
                    "airconditioner code"}),
    [](const ::testing::TestParamInfo<MessageCase>& info) { return std::string(info.param.name); });

// --- frame rate and description

TEST_F(FramesTest, FrameRateRunsFromTheSecondRecordToTheFirstEntryOfTheSecondFrame) {
    TableWriter writer(context, true);
    writer.begin(0, 0);
    writer.pulse(9000, 300);  // time 9000
    writer.pause(4500);       // record 1 at 13500
    writer.pulse(560, 20);
    writer.pause(40000);      // the gap
    writer.pulse(9000, 300);  // first entry of frame 1 at 63060
    writer.close();
    EXPECT_EQ(MeasureFrameRate(context), 49.6);  // 49.56 ms in 0.1 ms steps
    EXPECT_EQ(context.working.frame_rate, 49.6);
}

TEST_F(FramesTest, FrameRateStaysWithoutASecondFrame) {
    Press(0, 0, {kX});
    context.working.frame_rate = -1;
    EXPECT_EQ(MeasureFrameRate(context), -1);
}

TEST_F(FramesTest, FormatDescriptions) {
    const std::pair<const char*, const char*> known[] = {{"I", "<data>-<data>- ..."},
                                                         {"ii", "<data>-<data>"},
                                                         {"Ix", "<data>-...-<data>-<dummy>"},
                                                         {"xi", "<dummy>-<data>"},
                                                         {"ix", "<data>-<dummy>"},
                                                         {"iX", "<data>-<dummy>-<dummy>- ..."},
                                                         {"iJ", "<data1>-<data2>-<data2>- ..."},
                                                         {"IJ", "<data1>-<data2>-<data1>-<data2>- ..."},
                                                         {"ij", "<data1>-<data2>"},
                                                         {"Ij", "<data1>-...-<data1>-<data2>"},
                                                         {"iJi", "<data1>-<data2>-...<data2>-<data1>"},
                                                         {"xIx", "<dummy>-<data>-...<data>-<dummy>"},
                                                         {"Xi", ""},
                                                         {"iXY", ""},
                                                         {"xIJ", ""}};
    for (const auto& [format, description] : known) {
        context.working.format = format;
        context.working.frame_rate = 108;
        EXPECT_EQ(FormatDescription(context), description) << format;
        EXPECT_EQ(context.working.frame_rate, 108) << format;
    }
    context.working.format = "i";
    EXPECT_EQ(FormatDescription(context), "<data>");
    EXPECT_EQ(context.working.frame_rate, -1);
}

// --- letters of large working vocabularies

// One interval of a frame: a pulse or a pause of a vocabulary element.
struct Interval {
    bool pulse;
    int element;
};
Interval P(int element) { return {true, element}; }
Interval p(int element) { return {false, element}; }

// A working vocabulary of `elements` elements, element k at 200 + 100 k us, with frames written straight into
// the analysis table as one press.
class LargeVocabulary : public ::testing::Test {
protected:
    void Vocabulary(int elements) {
        context.working.carrier_period = 26.5;
        context.working.vocabulary_count = elements;
        for (int k = 0; k < elements; ++k) {
            context.working.vocabulary[k].nominal = 200 + 100 * k;
            context.working.vocabulary[k].hasPulse = true;
            context.working.vocabulary[k].hasPause = true;
        }
    }
    void Press(const std::vector<std::vector<Interval>>& frames) {
        TableWriter writer(context, true);
        writer.begin(0, 0);
        for (size_t f = 0; f < frames.size(); ++f) {
            if (f > 0) writer.pause(kGap);
            for (const Interval& i : frames[f]) {
                if (i.pulse)
                    writer.pulse(200 + 100 * i.element, 20);
                else
                    writer.pause(200 + 100 * i.element);
            }
        }
        writer.close();
    }

    testing::ScriptedMessageBoxes boxes;
    testing::SimulatedClock clock;
    TAnalysisContext context{boxes, clock, clock};
};

struct ClashCase {
    const char* name;
    int elements;
    std::vector<Interval> first;
    std::vector<Interval> second;  // differs from the first in one interval
};

class LetterClash : public LargeVocabulary, public ::testing::WithParamInterface<ClashCase> {};

// 'A' + 32 is 'a': the pulse of element 32 would read as the pause of element 0, and the pause of element 32
// ('a' + 32) as the pulse of element 64. Two frames that differ never get the same code.
TEST_P(LetterClash, DifferentFramesGetDifferentCodes) {
    Vocabulary(GetParam().elements);
    Press({GetParam().first, GetParam().second});
    const std::string first = FrameCode(context, 0, 0);
    const std::string second = FrameCode(context, 0, 1);
    EXPECT_EQ(first.size(), GetParam().first.size());
    EXPECT_EQ(second.size(), GetParam().second.size());
    EXPECT_NE(first, second);
    EXPECT_EQ(first.find('?'), std::string::npos);
    EXPECT_EQ(second.find('?'), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Frames, LetterClash,
                         ::testing::Values(ClashCase{"Pulse32AndPause0", 33, {P(0), p(0), P(1)}, {P(0), P(32), P(1)}},
                                           ClashCase{"Pulse33AndPause1", 34, {P(2), p(1)}, {P(2), P(33)}},
                                           ClashCase{"Pulse32AtTheStart", 34, {P(32), p(1)}, {P(32), P(33)}},
                                           ClashCase{"Pause32AndPulse64", 65, {P(0), p(32)}, {P(0), P(64)}},
                                           ClashCase{"Pause33AndPulse65", 101, {P(3), p(33), P(3)},
                                                     {P(3), P(65), P(3)}}),
                         [](const auto& info) { return std::string(info.param.name); });

struct PlainLettersCase {
    const char* name;
    int elements;
    std::vector<Interval> frame;
    std::string code;
};

class PlainLetters : public LargeVocabulary, public ::testing::WithParamInterface<PlainLettersCase> {};

// Elements below 32 keep their letters 'A' + k and 'a' + k whatever the size of the vocabulary.
TEST_P(PlainLetters, StayAsTheyAre) {
    Vocabulary(GetParam().elements);
    Press({GetParam().frame});
    EXPECT_EQ(FrameCode(context, 0, 0), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, PlainLetters,
    ::testing::Values(PlainLettersCase{"ThirtyTwoElements", 32, {P(0), p(0), P(31), p(31), P(1), p(30)},
                                       "Aa`\x80"
                                       "B\x7f"},
                      PlainLettersCase{"ThirtyFourElements", 34, {P(31), p(31), P(25), p(26)}, "`\x80Z{"},
                      PlainLettersCase{"HundredAndOneElements", 101, {P(4), p(7), P(0), p(0)}, "EhAa"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ElementLetters, NoTwoAlikeAndNoneIsTheUnknownMark) {
    std::set<char> letters;
    for (int k = 0; k < 101; ++k) {
        if (k < 32) {
            EXPECT_EQ(PulseLetter(k), static_cast<char>('A' + k)) << k;
            EXPECT_EQ(static_cast<unsigned char>(PauseLetter(k)), 'a' + k) << k;
        }
        letters.insert(PulseLetter(k));
        letters.insert(PauseLetter(k));
    }
    EXPECT_EQ(letters.size(), 202u);
    EXPECT_EQ(letters.count('?'), 0u);
    // Nor a blank, a comma or a quote, which separate codes in lines of text.
    EXPECT_EQ(letters.count(' '), 0u);
    EXPECT_EQ(letters.count(','), 0u);
    EXPECT_EQ(letters.count('"'), 0u);
}

}  // namespace
}  // namespace spectrel
