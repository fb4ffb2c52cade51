// Tolerant learning: a key with a pause level the protocol keys never showed, marks that jitter beyond the
// vocabulary window, a press of one frame after a capture with another frame rate, the vocabulary bound, and
// the advanced option that switches it on.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "Code/uKOR_SpectrelIni.h"
#include "learning_test_support.h"
#include "testing/MemoryUserStore.h"

namespace spectrel::test {
namespace {

constexpr const char* kNoVocabularyMatch = "Error: captured data do not match vocabulary";
constexpr const char* kFrameRateDiffers =
    "Frames rate differs from the specified in protocol\rPlease explore IR or explore buttons";

// A pulse-position frame: 9000/4500 header, a 560 mark before each of the spaces and a closing mark; the frame
// starts again every 108 ms while the key is held.
vb::IrSignal PulsePosition(const std::vector<double>& spaces) {
    vb::IrSignal signal;
    signal.carrierHz = 38'000;
    signal.once = {9000, 4500};
    for (double space : spaces) {
        signal.once.push_back(560);
        signal.once.push_back(space);
    }
    signal.once.push_back(560);
    signal.once.push_back(108'000 - vb::totalDurationUs(signal.once));
    signal.repeat = signal.once;
    return signal;
}

// Sixteen bits of 560 and 1690 us spaces, bit i of `value` LSB first.
std::vector<double> Bits(unsigned value) {
    std::vector<double> spaces;
    for (int i = 0; i < 16; ++i) spaces.push_back((value >> i) & 1 ? 1690 : 560);
    return spaces;
}

// The third key: some of its spaces are 2800 us long, a level keys A and B never send.
std::vector<double> WithLongSpaces(std::vector<double> spaces, std::initializer_list<int> positions, double us) {
    for (int p : positions) spaces[static_cast<std::size_t>(p)] = us;
    return spaces;
}

class TolerantLearningTest : public LearningRig {
protected:
    // Boxes no case scripts are answered as a user who accepts; every case checks the boxes it is about.
    TolerantLearningTest() { boxes.setStrict(false); }

    // Protocol learned from key A twice and key B once.
    void LearnProtocolFrom(const vb::IrSignal& a, const vb::IrSignal& b, bool tolerant) {
        procedures.options.TolerantLearning = tolerant;
        Press(a);
        Press(a);
        Press(b);
        procedures.LearnProtocol(nullptr, &messages, &description);
        ASSERT_TRUE(current.valid);
        boxes.clear();
    }

    // One press learned as button "Key"; the codes, or "<none>" when no capture was taken.
    std::string LearnKey(const vb::IrSignal& signal, double holdUs = 250'000) {
        Press(signal, holdUs);
        bool stop = false;
        std::string data;
        std::string data2;
        if (!procedures.LearnButton("Key", stop, nullptr, data, data2)) return "<none>";
        return data + " " + data2;
    }

    bool Shown(const std::string& text) const {
        const std::vector<std::string> texts = Texts();
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    }

    const vb::IrSignal keyA = PulsePosition(Bits(0x00FF));
    const vb::IrSignal keyB = PulsePosition(Bits(0x0F0F));
    const vb::IrSignal keyC = PulsePosition(WithLongSpaces(Bits(0x3333), {2, 9}, 2800));
};

TEST_F(TolerantLearningTest, OffAKeyWithAnUnseenPauseLevelDoesNotMatchTheVocabulary) {
    LearnProtocolFrom(keyA, keyB, false);
    const int elements = current.vocabulary_count;
    boxes.script({MessageButton::Ignore});
    EXPECT_EQ(LearnKey(keyC), "<none>");
    EXPECT_EQ(Texts(), (std::vector<std::string>{kNoVocabularyMatch}));
    EXPECT_EQ(current.vocabulary_count, elements);
}

TEST_F(TolerantLearningTest, AnUnseenPauseLevelIsAddedAndEveryKeyGetsItsOwnCode) {
    LearnProtocolFrom(keyA, keyB, true);
    const int elements = current.vocabulary_count;
    const std::string a = LearnKey(keyA);
    const std::string b = LearnKey(keyB);
    ASSERT_TRUE(boxes.shown().empty()) << Texts().front();

    const std::string c = LearnKey(keyC);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Confirmation);
    EXPECT_EQ(boxes.shown()[0].text,
              "The capture holds a duration the protocol does not have: 2750 us\rAdd it to the protocol's "
              "vocabulary? Codes learned so far stay as they are.");
    EXPECT_EQ(current.vocabulary_count, elements + 1);
    // The 2800 us pauses measure about 2775 us on the board (burst ends reported late, then corrected); the
    // new nominal is their mean rounded to 50 us.
    EXPECT_DOUBLE_EQ(current.durations[static_cast<std::size_t>(elements)], 2750);
    EXPECT_TRUE(current.is_pause[static_cast<std::size_t>(elements)]);

    EXPECT_NE(c, "<none>");
    EXPECT_EQ((std::set<std::string>{a, b, c}).size(), 3u);
    // The new element has the next pause letter; the codes learned before keep their meaning.
    EXPECT_NE(c.find(static_cast<char>('a' + elements)), std::string::npos) << c;
    EXPECT_EQ(LearnKey(keyA), a);
    EXPECT_EQ(LearnKey(keyB), b);
    EXPECT_EQ(LearnKey(keyC), c);
}

TEST_F(TolerantLearningTest, AStandardProtocolExtendedByANewLevelIsNoLongerStandard) {
    LearnProtocolFrom(keyA, keyB, true);
    current.standard = true;
    current.name = "PP16";
    EXPECT_NE(LearnKey(keyC), "<none>");
    EXPECT_FALSE(current.standard);
    EXPECT_EQ(current.name, "~PP16");
}

TEST_F(TolerantLearningTest, TheVocabularyNeverHoldsMoreThan31Elements) {
    struct Case {
        const char* name;
        int padTo;                  // elements of the protocol before the press
        std::initializer_list<int> longSpaces3400;  // positions of a second new level
        bool offered;
        const char* error;  // the box when the levels do not fit
    } cases[] = {
        {"one level into the 31st element", 30, {}, true, nullptr},
        {"two levels would make 32", 30, {5},
         false,
         "Error: captured data do not match vocabulary\rThe 2 new durations would make 32 elements, more than the "
         "31 a protocol can hold"},
        {"one level would make 32", 31, {}, false,
         "Error: captured data do not match vocabulary\rThe 1 new duration would make 32 elements, more than the 31 "
         "a protocol can hold"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LearnProtocolFrom(keyA, keyB, true);
        // Elements far from every duration the keys send.
        for (int k = current.vocabulary_count; k < c.padTo; ++k) {
            current.durations[static_cast<std::size_t>(k)] = 20'000 + 1000 * k;
            current.is_pause[static_cast<std::size_t>(k)] = true;
        }
        current.vocabulary_count = c.padTo;
        const vb::IrSignal key = PulsePosition(WithLongSpaces(WithLongSpaces(Bits(0x3333), {2, 9}, 2800),
                                                              c.longSpaces3400, 3400));
        if (!c.offered) boxes.script({MessageButton::Ignore});
        const std::string code = LearnKey(key);
        if (c.offered) {
            EXPECT_NE(code, "<none>");
            EXPECT_EQ(current.vocabulary_count, 31);
        } else {
            EXPECT_EQ(code, "<none>");
            EXPECT_EQ(Texts(), (std::vector<std::string>{c.error}));
            EXPECT_EQ(current.vocabulary_count, c.padTo);
        }
    }
}

TEST_F(TolerantLearningTest, MarksJittered200usLearnWithEqualCodesForEqualKeys) {
    // 38 kHz: the vocabulary window is 6 carrier periods and 30 us, 189 us.
    board.config().faults.jitterUs = 200;
    board.config().faults.seed = 7;
    LearnProtocolFrom(vb::necSignal(0, 0x45), vb::necSignal(0, 0x46), true);
    std::vector<std::string> first;
    std::vector<std::string> second;
    for (int press = 0; press < 4; ++press) {
        first.push_back(LearnKey(vb::necSignal(0, 0x45)));
        second.push_back(LearnKey(vb::necSignal(0, 0x46)));
    }
    EXPECT_FALSE(Shown(kNoVocabularyMatch));
    for (int press = 0; press < 4; ++press) {
        SCOPED_TRACE(press);
        EXPECT_NE(first[static_cast<std::size_t>(press)], "<none>");
        EXPECT_EQ(first[static_cast<std::size_t>(press)], first[0]);
        EXPECT_EQ(second[static_cast<std::size_t>(press)], second[0]);
    }
    EXPECT_NE(first[0], second[0]);
}

TEST_F(TolerantLearningTest, AOneFramePressIsNotJudgedByTheFrameRateOfTheCaptureBefore) {
    struct Case {
        bool tolerant;
        bool frameRateBox;
    } cases[] = {{false, true}, {true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tolerant ? "tolerant" : "designed");
        LearnProtocolFrom(keyA, keyB, c.tolerant);
        // The capture before measured 300 ms; a key let go within 50 ms sends one frame.
        context.working.frame_rate = 300;
        boxes.script({MessageButton::Abort});
        EXPECT_NE(LearnKey(keyA, 50'000), "<none>");
        EXPECT_EQ(Shown(kFrameRateDiffers), c.frameRateBox);
    }
}

TEST(TolerantLearningOption, OffByDefaultStoredWithTheAdvancedOptions) {
    testing::MemoryUserStore store;
    {
        TSpectrelIniObject options(store, SpectrelKeyPath());
        EXPECT_FALSE(options.TolerantLearning);
        EXPECT_FALSE(LearningOptionsFrom(options).TolerantLearning);
    }
    // Never switched on: the store holds the eight options of every version only.
    EXPECT_EQ(store.valueCount(), 8u);
    EXPECT_FALSE(store.readValue(SpectrelKeyPath(), "AdvancedOptions", "TolerantLearning").has_value());
    {
        TSpectrelIniObject options(store, SpectrelKeyPath());
        options.TolerantLearning = true;
    }
    EXPECT_EQ(store.readValue(SpectrelKeyPath(), "AdvancedOptions", "TolerantLearning"), "1");
    {
        TSpectrelIniObject options(store, SpectrelKeyPath());
        EXPECT_TRUE(options.TolerantLearning);
        EXPECT_TRUE(LearningOptionsFrom(options).TolerantLearning);
        options.TolerantLearning = false;
    }
    // Switched off again, it is stored as off.
    EXPECT_EQ(store.readValue(SpectrelKeyPath(), "AdvancedOptions", "TolerantLearning"), "0");
}

}  // namespace
}  // namespace spectrel::test
