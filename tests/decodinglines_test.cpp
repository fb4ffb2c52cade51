// The lines of the decoding parameters window in both modes, the value selector of a click, accepting a value and
// inserting or deleting vocabulary elements.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "Code/SPX_DecodingLines.h"
#include "Code/SPX_processing.h"
#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"

namespace spectrel {
namespace {

using platform::MessageButton;
using platform::MessageKind;

// A standard protocol as the table holds it.
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

class DecodingLinesTest : public ::testing::Test {
protected:
    DecodingLinesTest() {
        standards.protocols[0] = StandardNec();
        standards.count = 1;
        lines.SetDescribeProtocol([this] { ++described; });
    }

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const TDecodingLine& line : lines.Lines()) texts.push_back(line.text);
        return texts;
    }
    // The line whose text starts with `prefix`; -1 none.
    int LineOf(const std::string& prefix) const {
        for (std::size_t i = 0; i < lines.Lines().size(); ++i)
            if (lines.Lines()[i].text.rfind(prefix, 0) == 0) return static_cast<int>(i);
        return -1;
    }
    void OpenProtocol() {
        lines.SetMode(TDecodingMode::Protocol);
        lines.Rebuild();
    }

    testing::SimulatedClock clock;
    testing::ScriptedMessageBoxes boxes;
    TAnalysisContext context{boxes, clock, clock};
    Tprotocol_descriptor current = StandardNec();
    Tstandard_protocols standards;
    TDecodingLines lines{context, current, standards, boxes};
    int described = 0;
};

// --- parameter mode

TEST_F(DecodingLinesTest, FirstOpeningListsTheDefaultsInBlack) {
    EXPECT_TRUE(lines.Rebuild());
    EXPECT_EQ(lines.Lines(), (std::vector<TDecodingLine>{
                                 {"Minimum gap between frames: 10 ms", 0, 0, true, false},
                                 {"Remote Control clock adjustment: Nominal", 1, 0, true, false},
                                 {"Match to Standard Protocol tolerance : 6%", 2, 0, true, false},
                             }));
    EXPECT_EQ(lines.TextColour(), TDecodingTextColour::Black);
    EXPECT_FALSE(lines.Modified());
    EXPECT_EQ(described, 1);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(DecodingLinesTest, ClickingAParameterLineOffersItsChoicesWithTheCurrentOne) {
    struct Case {
        int line;
        std::vector<std::string> entries;
        int current;
        std::string text;
    };
    const Case cases[] = {
        {0, {"5 ms", "10 ms", "20 ms", "100 ms"}, 1, "10 ms"},
        {1, {"+5%", "+2.5%", "Nominal", "-2.5%", "-5%"}, 2, "Nominal"},
        {2, {"5%", "6%", "7%", "8%", "9%", "10%"}, 1, "6%"},
    };
    lines.Rebuild();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const TDecodingSelector selector = lines.SelectorFor(c.line);
        EXPECT_TRUE(selector.visible);
        EXPECT_TRUE(selector.listOnly);
        EXPECT_EQ(selector.entries, c.entries);
        EXPECT_EQ(selector.currentIndex, c.current);
        EXPECT_EQ(selector.text, c.text);
        EXPECT_FALSE(lines.OffersInsertDelete(c.line));
    }
    EXPECT_FALSE(lines.SelectorFor(3).visible);
    EXPECT_FALSE(lines.SelectorFor(-1).visible);
}

TEST_F(DecodingLinesTest, AcceptingAParameterSetsItsValueAndTurnsTheListBlue) {
    struct Case {
        const char* name;
        int line;
        int index;
        std::string text;  // the line afterwards
        std::function<bool(const TAnalysisContext&)> holds;
    };
    const Case cases[] = {
        {"gap 20 ms", 0, 2, "Minimum gap between frames: 20 ms",
         [](const TAnalysisContext& c) { return c.parameters().minimumGap() == 40000; }},
        {"gap 100 ms", 0, 3, "Minimum gap between frames: 100 ms",
         [](const TAnalysisContext& c) { return c.parameters().minimumGap() == 200000; }},
        {"clock +5%", 1, 0, "Remote Control clock adjustment: +5%",
         [](const TAnalysisContext& c) { return c.parameters().clockAdjustment() == 1.05; }},
        {"clock -2.5%", 1, 3, "Remote Control clock adjustment: -2.5%",
         [](const TAnalysisContext& c) { return c.parameters().clockAdjustment() == 0.975; }},
        {"tolerance 10%", 2, 5, "Match to Standard Protocol tolerance : 10%",
         [](const TAnalysisContext& c) {
             return c.parameters().matchTolerance() == 0.10 && c.working.match_tolerance == 0.10;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::SimulatedClock caseClock;
        TAnalysisContext caseContext{boxes, caseClock, caseClock};
        TDecodingLines caseLines{caseContext, current, standards, boxes};
        caseLines.Rebuild();
        EXPECT_TRUE(caseLines.Accept(c.line, c.index, "ignored in parameter mode"));
        EXPECT_TRUE(c.holds(caseContext));
        EXPECT_EQ(caseLines.Lines()[static_cast<std::size_t>(c.line)].text, c.text);
        EXPECT_TRUE(caseLines.Modified());
        EXPECT_EQ(caseLines.TextColour(), TDecodingTextColour::Blue);
    }
    // The other parameters keep their defaults.
    lines.Rebuild();
    lines.Accept(0, 2, "20 ms");
    EXPECT_EQ(context.parameters().minimumGap(), 40000);
    EXPECT_EQ(context.parameters().clockAdjustment(), 1.0);
    EXPECT_EQ(context.parameters().matchTolerance(), 0.06);
    EXPECT_EQ(described, 2);  // the opening and the accepted change
}

TEST_F(DecodingLinesTest, AnIndexThatIsNoChoiceIsNotAccepted) {
    lines.Rebuild();
    EXPECT_FALSE(lines.Accept(0, 4, ""));
    EXPECT_FALSE(lines.Accept(1, -1, ""));
    EXPECT_FALSE(lines.Accept(7, 0, ""));
    EXPECT_FALSE(lines.Modified());
    EXPECT_EQ(context.parameters().minimumGap(), 20000);
}

TEST_F(DecodingLinesTest, ClearingModifiedTurnsTheListBlackAgain) {
    lines.Rebuild();
    lines.Accept(2, 0, "5%");
    ASSERT_EQ(lines.TextColour(), TDecodingTextColour::Blue);
    lines.ClearModified();
    EXPECT_FALSE(lines.Modified());
    EXPECT_EQ(lines.TextColour(), TDecodingTextColour::Black);
    // The value stays.
    EXPECT_EQ(context.parameters().matchTolerance(), 0.05);
}

// --- protocol mode

TEST_F(DecodingLinesTest, AStandardProtocolListsEveryFieldWithItsCode) {
    OpenProtocol();
    EXPECT_EQ(lines.Lines(), (std::vector<TDecodingLine>{
                                 {" Carrier period: 26.3 us, carrier frequency: 38.02 kHz", 5, 0, false, false},
                                 {" Frames format: Ix", 7, 0, false, false},
                                 {" Frames rate: 108 ms", 6, 0, false, false},
                                 {" Dummy frame: AbAa", 8, 0, false, false},
                                 {" Data frame length shall be equal to: 67", 11, 0, false, false},
                                 {"  Vocabulary element A duration 560 us ", 15, 0, false, true},
                                 {"  Vocabulary element B duration 1120 us ", 15, 1, false, true},
                                 {"It is a standard protocol \"NEC\"", 3, 0, false, false},
                             }));
    EXPECT_EQ(described, 1);
}

TEST_F(DecodingLinesTest, ProtocolLinesFollowTheDescriptor) {
    struct Case {
        const char* name;
        std::function<void(Tprotocol_descriptor&)> change;
        std::vector<std::string> texts;
    };
    const std::string a = "  Vocabulary element A duration 560 us ";
    const std::string b = "  Vocabulary element B duration 1120 us ";
    const Case cases[] = {
        {"format i has no rate line",
         [](Tprotocol_descriptor& d) {
             d.format = "i";
             d.i_letter = 'i';
             d.x_letter = '?';
             d.standard = false;
             d.name = "Mine";
         },
         {" Carrier period: 26.3 us, carrier frequency: 38.02 kHz", " Frames format: i",
          " Data frame length shall be equal to: 67", a, b, "It is a non-standard protocol \"Mine\""}},
        {"pulsed code, no dummy letter, no name",
         [](Tprotocol_descriptor& d) {
             d.carrier_period = 0;
             d.format = "I";
             d.x_letter = '?';
             d.standard = false;
             d.name.clear();
         },
         {" No carrier, pulsed code", " Frames format: I", " Frames rate: 108 ms",
          " Data frame length shall be equal to: 67", a, b, "It is a non-standard no-name protocol"}},
        {"carrier 36 kHz, a rounded duration",
         [](Tprotocol_descriptor& d) {
             d.carrier_period = 27.8;
             d.durations[1] = 1120.5;
         },
         {" Carrier period: 27.8 us, carrier frequency: 35.97 kHz", " Frames format: Ix", " Frames rate: 108 ms",
          " Dummy frame: AbAa", " Data frame length shall be equal to: 67", a, b,
          "It is a standard protocol \"NEC\""}},
        {"longer than, second frame of any length",
         [](Tprotocol_descriptor& d) {
             d.format = "iJ";
             d.j_letter = 'J';
             d.x_letter = '?';
             d.i_length = -67;
             d.j_length = 0;
         },
         {" Carrier period: 26.3 us, carrier frequency: 38.02 kHz", " Frames format: iJ", " Frames rate: 108 ms",
          " Data frame length shall be greater than: 67", " Second data frame length: Any", a, b,
          "It is a standard protocol \"NEC\""}},
        {"second frame longer than",
         [](Tprotocol_descriptor& d) {
             d.j_letter = 'j';
             d.j_length = -5;
         },
         {" Carrier period: 26.3 us, carrier frequency: 38.02 kHz", " Frames format: Ix", " Frames rate: 108 ms",
          " Dummy frame: AbAa", " Data frame length shall be equal to: 67",
          " Second data frame length shall be greater than: 5", a, b, "It is a standard protocol \"NEC\""}},
        {"second frame exactly, empty dummy code",
         [](Tprotocol_descriptor& d) {
             d.j_letter = 'J';
             d.j_length = 12;
             d.dummy_code.clear();
         },
         {" Carrier period: 26.3 us, carrier frequency: 38.02 kHz", " Frames format: Ix", " Frames rate: 108 ms",
          " Data frame length shall be equal to: 67", " Second data frame length shall be equal to: 12", a, b,
          "It is a standard protocol \"NEC\""}},
        {"any length has no second-frame line",
         [](Tprotocol_descriptor& d) {
             d.j_letter = 'J';
             d.j_length = 12;
             d.i_length = 0;
         },
         {" Carrier period: 26.3 us, carrier frequency: 38.02 kHz", " Frames format: Ix", " Frames rate: 108 ms",
          " Dummy frame: AbAa", " Data frame length: Any", a, b, "It is a standard protocol \"NEC\""}},
        {"unknown carrier", [](Tprotocol_descriptor& d) { d.carrier_period = -1; },
         {" Carrier period: -1.0 us, carrier frequency: -1000.00 kHz", " Frames format: Ix", " Frames rate: 108 ms",
          " Dummy frame: AbAa", " Data frame length shall be equal to: 67", a, b,
          "It is a standard protocol \"NEC\""}},
        {"not explored", [](Tprotocol_descriptor& d) { d.valid = false; }, {"Protocol yet to be explored"}},
    };
    lines.SetMode(TDecodingMode::Protocol);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        current = StandardNec();
        c.change(current);
        EXPECT_TRUE(lines.Rebuild());
        EXPECT_EQ(Texts(), c.texts);
    }
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(DecodingLinesTest, WithoutADummyLetterTheDummyCodeIsCleared) {
    current.x_letter = '?';
    OpenProtocol();
    EXPECT_EQ(current.dummy_code, "");
    EXPECT_EQ(LineOf(" Dummy frame"), -1);
}

TEST_F(DecodingLinesTest, NoVocabularyIsAnInternalErrorAndShortensTheList) {
    current.vocabulary_count = 0;
    lines.SetMode(TDecodingMode::Protocol);
    EXPECT_FALSE(lines.Rebuild());
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Error);
    EXPECT_EQ(boxes.shown()[0].text, "Internal error: no vocabulary");
    EXPECT_EQ(boxes.shown()[0].buttons, platform::MessageButtons(MessageButton::Ok));
    EXPECT_EQ(Texts(), (std::vector<std::string>{" Carrier period: 26.3 us, carrier frequency: 38.02 kHz",
                                                 " Frames format: Ix", " Frames rate: 108 ms", " Dummy frame: AbAa",
                                                 " Data frame length shall be equal to: 67"}));
    // The description is not rendered again.
    EXPECT_EQ(described, 0);
}

TEST_F(DecodingLinesTest, ClickingAProtocolLineOffersItsCurrentText) {
    struct Case {
        std::string prefix;
        std::string text;
    };
    const Case cases[] = {
        {" Carrier period", "26.3"}, {" Frames format", "Ix"}, {" Frames rate", "108"}, {" Dummy frame", "AbAa"},
        {" Data frame length", "67"}, {"  Vocabulary element A", "560"}, {"  Vocabulary element B", "1120"},
    };
    OpenProtocol();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.prefix);
        const TDecodingSelector selector = lines.SelectorFor(LineOf(c.prefix));
        EXPECT_TRUE(selector.visible);
        EXPECT_FALSE(selector.listOnly);
        EXPECT_EQ(selector.entries, std::vector<std::string>{c.text});
        EXPECT_EQ(selector.currentIndex, 0);
        EXPECT_EQ(selector.text, c.text);
    }
    // The protocol line has nothing to choose, and cannot be accepted.
    const int protocolLine = LineOf("It is a");
    EXPECT_FALSE(lines.SelectorFor(protocolLine).visible);
    EXPECT_FALSE(lines.Accept(protocolLine, 0, "Other"));
    EXPECT_EQ(current.name, "NEC");
    EXPECT_FALSE(lines.Modified());
}

TEST_F(DecodingLinesTest, AcceptingAValueOnAStandardProtocolRenamesIt) {
    OpenProtocol();
    EXPECT_TRUE(lines.Accept(LineOf(" Frames rate"), 0, "110"));
    EXPECT_EQ(current.frame_rate, 110);
    EXPECT_FALSE(current.standard);
    EXPECT_EQ(current.name, "NEC~1");
    EXPECT_TRUE(lines.Modified());
    EXPECT_EQ(Texts().back(), "It is a non-standard modified protocol \"NEC~1\"");
    EXPECT_EQ(Texts()[2], " Frames rate: 110 ms");
    EXPECT_EQ(described, 2);

    // The unchanged value accepted again: the name is no standard one any more and stays.
    EXPECT_TRUE(lines.Accept(LineOf(" Frames rate"), 0, "110"));
    EXPECT_EQ(current.name, "NEC~1");
}

TEST_F(DecodingLinesTest, AStandardNameIsRecognisedTrimmedAndInAnyCase) {
    current.standard = false;
    current.name = " nec ";
    OpenProtocol();
    EXPECT_TRUE(lines.Accept(LineOf("  Vocabulary element A"), 0, "600"));
    EXPECT_EQ(current.durations[0], 600);
    EXPECT_EQ(current.name, " nec ~1");

    current.name = "Sony";
    EXPECT_TRUE(lines.Accept(LineOf("  Vocabulary element A"), 0, "610"));
    EXPECT_EQ(current.name, "Sony");
}

TEST_F(DecodingLinesTest, ValuesOutOfRangeAreClampedWithTheirMessages) {
    OpenProtocol();
    EXPECT_TRUE(lines.Accept(LineOf(" Carrier period"), 0, "60"));
    EXPECT_EQ(current.carrier_period, 50);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "Carrier period cannot be greater than 50 us (20 kHz)");
    EXPECT_EQ(Texts()[0], " Carrier period: 50.0 us, carrier frequency: 20.00 kHz");
}

TEST_F(DecodingLinesTest, ATextThatIsNoNumberIsReportedAndNotAccepted) {
    OpenProtocol();
    EXPECT_FALSE(lines.Accept(LineOf(" Frames rate"), 0, "fast"));
    EXPECT_EQ(current.frame_rate, 108);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Error);
    EXPECT_FALSE(boxes.shown()[0].text.empty());
    // The edit has cleared the standard flag all the same, so the name must give way.
    EXPECT_FALSE(current.standard);
    EXPECT_EQ(current.name, "NEC~1");
    EXPECT_FALSE(lines.Modified());
    EXPECT_EQ(Texts().back(), "It is a non-standard protocol \"NEC~1\"");
}

// --- Insert and Delete on vocabulary lines

class VocabularyEditTest : public DecodingLinesTest {
protected:
    VocabularyEditTest() {
        current.standard = false;
        current.name = "Mine";
        current.vocabulary_count = 3;
        current.durations[0] = 500;
        current.is_pulse[0] = true;
        current.is_pause[0] = false;
        current.durations[1] = 1000;
        current.is_pulse[1] = false;
        current.is_pause[1] = true;
        current.durations[2] = 1500;
        current.is_pulse[2] = true;
        current.is_pause[2] = true;
        OpenProtocol();
    }
    struct Element {
        double duration;
        bool pulse;
        bool pause;
        bool operator==(const Element&) const = default;
    };
    std::vector<Element> Vocabulary() const {
        std::vector<Element> out;
        for (int k = 0; k < current.vocabulary_count; ++k) {
            const auto i = static_cast<std::size_t>(k);
            out.push_back({current.durations[i], current.is_pulse[i], current.is_pause[i]});
        }
        return out;
    }
};

TEST_F(VocabularyEditTest, InsertOnBDuplicatesIt) {
    EXPECT_TRUE(lines.Insert(LineOf("  Vocabulary element B")));
    EXPECT_EQ(Vocabulary(), (std::vector<Element>{{500, true, false}, {1000, false, true}, {1000, false, true},
                                                  {1500, true, true}}));
    EXPECT_NE(LineOf("  Vocabulary element D duration 1500 us "), -1);
    EXPECT_FALSE(lines.Modified());
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(VocabularyEditTest, DeleteOnBKeepsCWithItsOwnFlags) {
    EXPECT_TRUE(lines.Delete(LineOf("  Vocabulary element B")));
    EXPECT_EQ(Vocabulary(), (std::vector<Element>{{500, true, false}, {1500, true, true}}));
    EXPECT_EQ(LineOf("  Vocabulary element C"), -1);
    EXPECT_NE(LineOf("  Vocabulary element B duration 1500 us "), -1);
    EXPECT_FALSE(lines.Modified());
}

TEST_F(VocabularyEditTest, InsertAndDeleteAtTheEnds) {
    EXPECT_TRUE(lines.Insert(LineOf("  Vocabulary element C")));
    EXPECT_EQ(Vocabulary(), (std::vector<Element>{{500, true, false}, {1000, false, true}, {1500, true, true},
                                                  {1500, true, true}}));
    EXPECT_TRUE(lines.Delete(LineOf("  Vocabulary element A")));
    EXPECT_EQ(Vocabulary(),
              (std::vector<Element>{{1000, false, true}, {1500, true, true}, {1500, true, true}}));
}

TEST_F(VocabularyEditTest, NoOtherLineOffersInsertOrDelete) {
    const std::string prefixes[] = {" Carrier period", " Frames format", " Frames rate", " Data frame length",
                                    "It is a"};
    for (const std::string& prefix : prefixes) {
        SCOPED_TRACE(prefix);
        const int line = LineOf(prefix);
        ASSERT_NE(line, -1);
        EXPECT_FALSE(lines.OffersInsertDelete(line));
        EXPECT_FALSE(lines.Insert(line));
        EXPECT_FALSE(lines.Delete(line));
        EXPECT_EQ(current.vocabulary_count, 3);
    }
    // The dummy and second-frame lines as well.
    current = StandardNec();
    current.j_letter = 'J';
    current.j_length = 4;
    lines.Rebuild();
    for (const std::string prefix : {" Dummy frame", " Second data frame"}) {
        SCOPED_TRACE(prefix);
        const int line = LineOf(prefix);
        ASSERT_NE(line, -1);
        EXPECT_FALSE(lines.OffersInsertDelete(line));
        EXPECT_FALSE(lines.Insert(line));
        EXPECT_EQ(current.vocabulary_count, 2);
    }
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(VocabularyEditTest, AThirtySecondElementIsRefused) {
    current.vocabulary_count = 31;
    for (int k = 0; k < 31; ++k) {
        current.durations[static_cast<std::size_t>(k)] = 100 + 10 * k;
        current.is_pulse[static_cast<std::size_t>(k)] = true;
    }
    lines.Rebuild();
    EXPECT_FALSE(lines.Insert(LineOf("  Vocabulary element A")));
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Error);
    EXPECT_EQ(boxes.shown()[0].text, kVocabularyFullMessage);
    EXPECT_EQ(current.vocabulary_count, 31);
    EXPECT_EQ(current.durations[1], 110);

    // The last element (index 30) is never duplicated, and without a message.
    boxes.clear();
    const std::string last = std::string("  Vocabulary element ") + static_cast<char>('A' + 30);
    EXPECT_FALSE(lines.Insert(LineOf(last)));
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(current.vocabulary_count, 31);

    // Thirty elements take one more.
    EXPECT_TRUE(lines.Delete(LineOf(last)));
    EXPECT_TRUE(lines.Insert(LineOf("  Vocabulary element A")));
    EXPECT_EQ(current.vocabulary_count, 31);
    EXPECT_EQ(current.durations[1], 100);
}

}  // namespace
}  // namespace spectrel
