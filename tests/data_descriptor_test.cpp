#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "Code/SPX_Data.h"

namespace {

using namespace spectrel;

// A descriptor with a distinct value in every field, all 31 array entries included.
Tprotocol_descriptor FullDescriptor() {
    Tprotocol_descriptor d;
    d.valid = true;
    d.standard = false;
    d.name = "Living room TV";
    d.carrier_period = 26.5;
    d.frame_rate = 108;
    d.format = "xIx";
    d.i_letter = 'I';
    d.j_letter = '?';
    d.x_letter = 'x';
    d.dummy_code = "AbAaCc";
    d.i_position = 1;
    d.j_position = -1;
    d.x_position = 0;
    d.i_length = -20;
    d.j_length = 7;
    d.x_length = 6;
    d.min_frames = 3;
    d.max_frames = 101;
    d.vocabulary_count = 5;
    d.tick = 0.06;
    for (int k = 0; k < 31; ++k) {
        d.durations[k] = 560.25 + 17 * k;
        d.is_pulse[k] = k % 2 == 0;
        d.is_pause[k] = k % 3 == 0;
    }
    return d;
}

void ExpectSameFields(const Tprotocol_descriptor& a, const Tprotocol_descriptor& b, int arrayEntries) {
    EXPECT_EQ(a.valid, b.valid);
    EXPECT_EQ(a.standard, b.standard);
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.carrier_period, b.carrier_period);
    EXPECT_EQ(a.frame_rate, b.frame_rate);
    EXPECT_EQ(a.format, b.format);
    EXPECT_EQ(a.i_letter, b.i_letter);
    EXPECT_EQ(a.j_letter, b.j_letter);
    EXPECT_EQ(a.x_letter, b.x_letter);
    EXPECT_EQ(a.dummy_code, b.dummy_code);
    EXPECT_EQ(a.i_position, b.i_position);
    EXPECT_EQ(a.j_position, b.j_position);
    EXPECT_EQ(a.x_position, b.x_position);
    EXPECT_EQ(a.i_length, b.i_length);
    EXPECT_EQ(a.j_length, b.j_length);
    EXPECT_EQ(a.x_length, b.x_length);
    EXPECT_EQ(a.min_frames, b.min_frames);
    EXPECT_EQ(a.max_frames, b.max_frames);
    EXPECT_EQ(a.vocabulary_count, b.vocabulary_count);
    EXPECT_EQ(a.tick, b.tick);
    for (int k = 0; k < arrayEntries; ++k) {
        EXPECT_EQ(a.durations[k], b.durations[k]) << "entry " << k;
        EXPECT_EQ(a.is_pulse[k], b.is_pulse[k]) << "entry " << k;
        EXPECT_EQ(a.is_pause[k], b.is_pause[k]) << "entry " << k;
    }
}

void ExpectCleared(const Tprotocol_descriptor& d) {
    EXPECT_FALSE(d.valid);
    EXPECT_FALSE(d.standard);
    EXPECT_TRUE(d.name.empty());
    EXPECT_TRUE(d.format.empty());
    EXPECT_TRUE(d.dummy_code.empty());
    EXPECT_EQ(d.carrier_period, -1.0);
    EXPECT_EQ(d.frame_rate, -1.0);
    EXPECT_EQ(d.tick, -1.0);
    EXPECT_EQ(d.i_letter, '?');
    EXPECT_EQ(d.j_letter, '?');
    EXPECT_EQ(d.x_letter, '?');
    EXPECT_EQ(d.i_position, -1);
    EXPECT_EQ(d.j_position, -1);
    EXPECT_EQ(d.x_position, -1);
    EXPECT_EQ(d.i_length, 0);
    EXPECT_EQ(d.j_length, 0);
    EXPECT_EQ(d.x_length, 0);
    EXPECT_EQ(d.min_frames, -1);
    EXPECT_EQ(d.max_frames, -1);
    EXPECT_EQ(d.vocabulary_count, -1);
}

TEST(DataDescriptor, ClearPutsTheClearedStateAndLeavesTheArrays) {
    ExpectCleared(Tprotocol_descriptor{});
    Tprotocol_descriptor d = FullDescriptor();
    ClearDescriptor(d);
    ExpectCleared(d);
    EXPECT_EQ(d.durations[30], FullDescriptor().durations[30]);
    EXPECT_EQ(d.is_pulse[4], true);
}

TEST(DataDescriptor, CopyTakesTheFieldsAndTheUsedEntries) {
    const Tprotocol_descriptor source = FullDescriptor();
    Tprotocol_descriptor target;
    target.durations.fill(1.0);
    target.is_pause.fill(true);
    CopyDescriptor(source, target);
    ExpectSameFields(source, target, source.vocabulary_count);
    // Entries beyond the vocabulary count keep what the target held.
    EXPECT_EQ(target.durations[5], 1.0);
    EXPECT_TRUE(target.is_pause[5]);

    // Copying onto itself keeps the descriptor.
    CopyDescriptor(target, target);
    ExpectSameFields(source, target, source.vocabulary_count);

    // A vocabulary count beyond the arrays copies the arrays, nothing more.
    Tprotocol_descriptor odd = source;
    odd.vocabulary_count = 200;
    CopyDescriptor(odd, target);
    ExpectSameFields(odd, target, 31);
}

TEST(DataDescriptorText, RoundTripOfAFullDescriptor) {
    const Tprotocol_descriptor d = FullDescriptor();
    const std::string line = DescriptorToText(d);
    EXPECT_EQ(std::count(line.begin(), line.end(), ','), 113) << line;
    EXPECT_TRUE(line.ends_with(",End")) << line;
    EXPECT_TRUE(
        line.starts_with("T,F,\"Living room TV\",26.5,108,xIx,I,?,x,AbAaCc,1,-1,0,-20,7,6,3,101,5,0.06,"
                         "560.25,577.25,"))
        << line;
    Tprotocol_descriptor back;
    ASSERT_TRUE(DescriptorFromText(back, line));
    ExpectSameFields(d, back, 31);
}

TEST(DataDescriptorText, NumbersInShortestForm) {
    struct Case {
        double value;
        const char* text;
    } cases[] = {{26.5, "26.5"},
                 {-1, "-1"},
                 {560, "560"},
                 {0.06, "0.06"},
                 {26.3, "26.3"},
                 {0, "0"},
                 {-0.0, "0"},
                 {1.0 / 3, "0.333333333333333"},
                 {123456.789, "123456.789"}};
    for (const Case& c : cases) EXPECT_EQ(FormatGeneralNumber(c.value), c.text) << c.value;
}

TEST(DataDescriptorText, TextsThatCouldSplitTheLineSurvive) {
    struct Case {
        const char* what;
        std::string name, format, dummy;
    } cases[] = {
        {"comma in the name", "Sony, old", "I", ""},
        {"blanks around the name", "  spaced  ", "I", ""},
        {"double quote in the name", "12\" Monitor", "I", ""},
        {"equals sign in the name", "A=B", "I", ""},
        {"blank in the format", "X", "I x", ""},
        {"comma in the dummy code", "X", "Ix", "Ab,c"},
        {"quote at the start of the format", "X", "\"I", ""},
        {"empty name", "", "", ""},
    };
    for (const Case& c : cases) {
        Tprotocol_descriptor d = FullDescriptor();
        d.name = c.name;
        d.format = c.format;
        d.dummy_code = c.dummy;
        Tprotocol_descriptor back;
        const TDataResult read = DescriptorFromText(back, DescriptorToText(d));
        ASSERT_TRUE(read) << c.what << ": " << read.message;
        ExpectSameFields(d, back, 31);
    }
}

// The separators as a hand-edited line may hold them.
TEST(DataDescriptorText, CommaTextRules) {
    std::string line = DescriptorToText(FullDescriptor());
    // Blanks after the commas, a quoted name with a doubled quote, and no dummy code (two commas in a row).
    line.replace(0, line.find(",26.5"), "T , F,  \"Big \"\"TV\"\"\"");
    line.replace(line.find(",AbAaCc,"), 8, ",,");
    Tprotocol_descriptor d;
    ASSERT_TRUE(DescriptorFromText(d, line));
    EXPECT_TRUE(d.valid);
    EXPECT_FALSE(d.standard);
    EXPECT_EQ(d.name, "Big \"TV\"");
    EXPECT_EQ(d.dummy_code, "");
    EXPECT_EQ(d.i_position, 1);

    // Only "T" is true, and item 113 is not read.
    std::string lower = DescriptorToText(FullDescriptor());
    lower[0] = 't';
    lower.replace(lower.size() - 3, 3, "Whatever,extra,items");
    ASSERT_TRUE(DescriptorFromText(d, lower));
    EXPECT_FALSE(d.valid);
    EXPECT_EQ(d.carrier_period, 26.5);
}

// Items of a valid line replaced by something that does not parse.
TEST(DataDescriptorText, MalformedLinesAreRefused) {
    const std::string good = DescriptorToText(FullDescriptor());
    auto replaceItem = [&](int item, const std::string& with) {
        std::string line = good;
        // The name (item 2) has no comma, so items can be found by counting commas.
        std::size_t start = 0;
        for (int i = 0; i < item; ++i) start = line.find(',', start) + 1;
        const std::size_t end = line.find(',', start);
        return line.replace(start, end - start, with);
    };
    auto firstItems = [&](int n) {
        std::size_t end = 0;
        for (int i = 0; i < n; ++i) end = good.find(',', end) + 1;
        return good.substr(0, end - 1);
    };
    struct Case {
        const char* what;
        std::string line;
        const char* inMessage;
    } cases[] = {
        {"empty line", "", "0 items"},
        {"cut after 112 items", firstItems(112), "112 items"},
        {"cut in the middle", firstItems(60), "60 items"},
        {"carrier with a decimal comma", replaceItem(3, "26,3"), "is not a number"},
        {"carrier with letters", replaceItem(3, "26.3us"), "item 3"},
        {"infinite frame rate", replaceItem(4, "inf"), "item 4"},
        {"empty data letter", replaceItem(6, ""), "item 6"},
        {"empty dummy letter", replaceItem(8, "\"\""), "item 8"},
        {"fraction for a position", replaceItem(10, "1.5"), "item 10"},
        {"vocabulary count too big for int", replaceItem(18, "99999999999"), "item 18"},
        {"last duration", replaceItem(50, "x"), "item 50"},
    };
    for (const Case& c : cases) {
        Tprotocol_descriptor d = FullDescriptor();
        const TDataResult read = DescriptorFromText(d, c.line);
        EXPECT_FALSE(read.ok) << c.what;
        EXPECT_NE(read.message.find(c.inMessage), std::string::npos) << c.what << ": " << read.message;
        ExpectCleared(d);
    }
}

TEST(DataFrameCodeLength, CountsInUnitsOfTheShortElement) {
    Tprotocol_descriptor d;
    d.vocabulary_count = 3;
    d.durations[0] = 560;
    d.durations[1] = 1120;
    d.durations[2] = 9000;
    d.is_pulse[0] = d.is_pause[0] = d.is_pulse[1] = d.is_pause[1] = true;
    struct Case {
        const char* code;
        double workingCarrier;
        int length;
    } cases[] = {
        {"AbAaAb", 26.3, 8},       // counted as AaaAaAaa
        {"AbAaAb", -1, 6},         // no working carrier: plain length
        {"AbAaAb", 0, 6},          // pulsed code
        {"AbCcCcCcAb", 26.3, 10},  // only 4 of 10 characters are A or B letters
        {"AbAbCcC", 26.3, 9},      // 4 counted, 7 characters: rebuilt
        {"AbAbCcCc", 26.3, 8},     // 4 counted, 8 characters: plain
        {"", 26.3, 0},
        {"   ", 26.3, 0},
        {"Ab?a", 26.3, 5},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FrameCodeLength(d, c.code, c.workingCarrier), c.length) << c.code << " at " << c.workingCarrier;

    TWorkingProtocol working;
    working.carrier_period = 26.3;
    EXPECT_EQ(FrameCodeLength(d, "AbAaAb", working), 8);

    // Not a doubled long element, or an element missing one use: plain length.
    Tprotocol_descriptor notDouble = d;
    notDouble.durations[1] = 1700;
    EXPECT_EQ(FrameCodeLength(notDouble, "AbAaAb", 26.3), 6);
    Tprotocol_descriptor noPause = d;
    noPause.is_pause[1] = false;
    EXPECT_EQ(FrameCodeLength(noPause, "AbAaAb", 26.3), 6);
}

TEST(DataWorkingState, DescriptorFromTheWorkingState) {
    TWorkingProtocol w;
    w.vocabulary_count = 2;
    w.vocabulary[0] = {true, true, 555, 600, 500, 40, 560, 1};
    w.vocabulary[1] = {true, true, 1110, 1200, 1000, 20, 1120, 2};
    w.format = "Ix";
    w.i_letter = 'I';
    w.x_letter = 'x';
    w.data_code = "AbAaAb";
    w.second_data_code = "";
    w.dummy_code = "AbAbCcC";
    w.i_position = 1;
    w.j_position = -1;
    w.x_position = 3;
    w.carrier_period = 26.3;
    w.tick = 560;
    w.frame_rate = 107.5;

    Tprotocol_descriptor d = FullDescriptor();
    d.standard = true;
    DescriptorFromWorkingState(d, w);
    EXPECT_FALSE(d.valid);
    EXPECT_FALSE(d.standard);
    EXPECT_TRUE(d.name.empty());
    EXPECT_EQ(d.vocabulary_count, 2);
    EXPECT_EQ(d.durations[1], 1120);
    EXPECT_EQ(d.i_length, 8);
    EXPECT_EQ(d.j_length, 0);
    EXPECT_EQ(d.x_length, 9);
    EXPECT_EQ(d.format, "Ix");
    EXPECT_EQ(d.dummy_code, "AbAbCcC");
    EXPECT_EQ(d.x_letter, 'x');
    EXPECT_EQ(d.j_letter, '?');
    EXPECT_EQ(d.i_position, 1);
    EXPECT_EQ(d.x_position, 3);
    EXPECT_EQ(d.tick, 560);
    EXPECT_EQ(d.carrier_period, 26.3);
    EXPECT_EQ(d.frame_rate, 108);  // rounded, ties to even

    struct Case {
        double working;
        double stored;
    } rates[] = {{108.5, 108}, {109.5, 110}, {-1, 0}, {-0.4, 0}, {0, 0}};
    for (const Case& c : rates) {
        w.frame_rate = c.working;
        DescriptorFromWorkingState(d, w);
        EXPECT_EQ(d.frame_rate, c.stored) << c.working;
    }

    // At most 30 elements are taken over.
    w.vocabulary_count = 80;
    DescriptorFromWorkingState(d, w);
    EXPECT_EQ(d.vocabulary_count, 30);
}

TEST(DataWorkingState, DescriptorToTheWorkingState) {
    const Tprotocol_descriptor d = FullDescriptor();
    TWorkingProtocol w;
    w.data_code = "AbAb";
    w.i_position = 4;
    DescriptorToWorkingState(d, w);
    EXPECT_EQ(w.vocabulary_count, 5);
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(w.vocabulary[k].nominal, d.durations[k]);
        EXPECT_EQ(w.vocabulary[k].hasPulse, d.is_pulse[k]);
        EXPECT_EQ(w.vocabulary[k].hasPause, d.is_pause[k]);
        EXPECT_EQ(w.vocabulary[k].members, 10000);
    }
    EXPECT_EQ(w.vocabulary[5].members, 0);
    EXPECT_EQ(w.format, "xIx");
    EXPECT_EQ(w.dummy_code, "AbAaCc");
    EXPECT_EQ(w.carrier_period, 26.5);
    EXPECT_EQ(w.tick, 0.06);
    EXPECT_EQ(w.frame_rate, 108);
    EXPECT_EQ(w.x_letter, 'x');
    // Codes and positions belong to the analysis.
    EXPECT_EQ(w.data_code, "AbAb");
    EXPECT_EQ(w.i_position, 4);

    // A cleared descriptor gives an empty working vocabulary.
    DescriptorToWorkingState(Tprotocol_descriptor{}, w);
    EXPECT_EQ(w.vocabulary_count, 0);
}

TEST(DataWorkingState, FreshStateHoldsTheInitialValues) {
    TWorkingProtocol w;
    w.tick = 1;
    w.vocabulary_count = 3;
    w.Reset();
    EXPECT_EQ(w.tick, 500.0);
    EXPECT_EQ(w.carrier_period, -1.0);
    EXPECT_EQ(w.frame_rate, 0.0);
    EXPECT_EQ(w.vocabulary_count, 0);
    EXPECT_EQ(w.match_tolerance, 0.06);
    EXPECT_EQ(w.i_letter, '?');
    EXPECT_EQ(w.i_position, 0);
}

TEST(DataFramesBuffer, AppendsUntilFull) {
    auto buffer = std::make_unique<TFramesBuffer>();
    EXPECT_EQ(buffer->count, 0);
    for (int i = 0; i < 4097; ++i) ASSERT_TRUE(buffer->Append("AbAb", i / 101, i % 101, i % 7));
    EXPECT_FALSE(buffer->Append("Cc", 0, 0, 0));
    EXPECT_EQ(buffer->count, 4097);
    EXPECT_EQ(buffer->entries[4096].record_number, 4096 % 101);
    buffer->Clear();
    EXPECT_EQ(buffer->count, 0);
    ASSERT_TRUE(buffer->Append("Cc", 2, 1, 0));
    EXPECT_EQ(buffer->entries[0].code, "Cc");
    EXPECT_EQ(buffer->entries[0].button_number, 2);

    TIRheader header;
    EXPECT_EQ(header.note_count, 0);
    EXPECT_EQ(header.notes.size(), 101u);
}

}  // namespace
