// The analysis run: tables filled as a capture fills them, the built-in generators through the virtual board
// and the capture, and the recorded remotes.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "Code/SPX_ComPortUnit.h"
#include "Code/SPX_processing.h"
#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"
#include "tests/processing_table_writer.h"
#include "virtualboard/BoardEngine.h"
#include "virtualboard/Generators.h"
#include "virtualboard/VirtualSerialPort.h"

namespace spectrel {
namespace {

using test::TableWriter;
namespace vb = virtualboard;

std::string Describe(const TWorkingProtocol& w) {
    std::string text;
    char line[200];
    std::snprintf(line, sizeof line, "carrier %.1f tick %.1f rate %.1f format %s i%c j%c x%c pos %d %d %d\n",
                  w.carrier_period, w.tick, w.frame_rate, w.format.c_str(), w.i_letter, w.j_letter, w.x_letter,
                  w.i_position, w.j_position, w.x_position);
    text += line;
    for (int k = 0; k < w.vocabulary_count; ++k) {
        const TVocabularyElement& e = w.vocabulary[k];
        std::snprintf(line, sizeof line, "  %d: nominal %.1f mean %.2f members %d multiple %d %s%s\n", k, e.nominal,
                      e.mean, e.members, e.tickMultiple, e.hasPulse ? "+" : "", e.hasPause ? "-" : "");
        text += line;
    }
    text += "  data " + w.data_code + "\n  data2 " + w.second_data_code + "\n  dummy " + w.dummy_code + "\n";
    return text;
}

class AnalyseTest : public ::testing::Test {
protected:
    // After each accepted press: the analysis run, then the frames buffer, as protocol learning does it.
    bool AnalyseAfterPress() {
        const bool described = AnalyseProtocol(context, current);
        FillFramesBuffer(context);
        return described;
    }

    testing::ScriptedMessageBoxes boxes;
    testing::SimulatedClock clock;
    TAnalysisContext context{boxes, clock, clock};
    Tprotocol_descriptor current;
};

TEST_F(AnalyseTest, DoesNothingForADefinedProtocol) {
    TableWriter writer(context);
    writer.begin(0, 0);
    writer.press(test::ExpandPress(vb::necSignal(1, 2), 2), vb::kNecCarrierHz, 50);
    current.valid = true;
    context.working.tick = 123;
    EXPECT_FALSE(AnalyseProtocol(context, current));
    EXPECT_EQ(context.working.tick, 123);
    EXPECT_EQ(context.working.carrier_period, -1);
    EXPECT_EQ(context.analysisTable()[0].duration, 0);
}

TEST_F(AnalyseTest, AnEmptyCaptureGivesTheDefaultFormat) {
    EXPECT_TRUE(AnalyseProtocol(context, current));
    EXPECT_EQ(context.working.vocabulary_count, 0);
    EXPECT_EQ(context.working.format, "iJ");
    EXPECT_EQ(context.working.frame_rate, -1);
    EXPECT_EQ(context.working.tick, 500);
}

// NEC written into the capture table as the capture stores it: key 0x45 twice, key 0x46 once, each with
// two repeat frames.
TEST_F(AnalyseTest, NecFromATableFilledAsACaptureFillsIt) {
    TableWriter writer(context);
    const vb::IrSignal keys[] = {vb::necSignal(0, 0x45), vb::necSignal(0, 0x45), vb::necSignal(0, 0x46)};
    for (int record = 0; record < 3; ++record) {
        writer.begin(record, record / 2);
        writer.press(test::ExpandPress(keys[record], 2), vb::kNecCarrierHz, context.readerDelay);
        AnalyseAfterPress();
    }
    EXPECT_TRUE(AnalyseProtocol(context, current));
    const TWorkingProtocol& w = context.working;
    EXPECT_EQ(w.carrier_period, 26.5) << Describe(w);
    EXPECT_EQ(w.tick, 562.5);
    EXPECT_EQ(w.format, "iX");
    EXPECT_EQ(w.vocabulary_count, 5);
    EXPECT_EQ(w.dummy_code, "EcA");
    EXPECT_EQ(w.frame_rate, 103.6);
    EXPECT_TRUE(boxes.shown().empty());
}

// The board's end-of-data code leaves a closing entry of no duration after every press; the pulse correction
// must not turn those of the earlier presses into short pauses (here 50 us, the whole reader delay without
// carrier), which would narrow the windows and add a flash-plus-nothing element.
TEST_F(AnalyseTest, ClosingEntriesOfEarlierPressesStayWithoutDuration) {
    TableWriter writer(context);
    const vb::IrSignal keys[] = {vb::flashSignal(3, 77), vb::flashSignal(3, 77), vb::flashSignal(3, 78)};
    for (int record = 0; record < 3; ++record) {
        writer.begin(record, record / 2);
        writer.press(test::ExpandPress(keys[record], 1), 0, context.readerDelay);
    }
    EXPECT_TRUE(AnalyseProtocol(context, current));
    for (int k = 1; k < context.recordCount; ++k) {
        if (context.captureTable()[k].duration == 0) {
            EXPECT_EQ(context.analysisTable()[k].duration, 0) << k;
        }
    }
    const TWorkingProtocol& w = context.working;
    ASSERT_EQ(w.vocabulary_count, 3) << Describe(w);
    // Flash and pause: 150 + 600, 150 + 1200, 150 + 3000.
    EXPECT_EQ(w.vocabulary[0].mean, 750);
    EXPECT_EQ(w.vocabulary[1].mean, 1350);
    EXPECT_EQ(w.vocabulary[2].mean, 3150);
}

TEST_F(AnalyseTest, SingleFramesGiveOneDataFrameAndNoFrameRate) {
    TableWriter writer(context);
    const vb::IrSignal keys[] = {vb::necSignal(7, 1), vb::necSignal(7, 1), vb::necSignal(7, 2)};
    for (int record = 0; record < 3; ++record) {
        writer.begin(record, record / 2);
        writer.press(test::ExpandPress(keys[record], 0), vb::kNecCarrierHz, context.readerDelay);
        AnalyseAfterPress();
    }
    context.working.frame_rate = 55;
    EXPECT_TRUE(AnalyseProtocol(context, current));
    EXPECT_EQ(context.working.format, "i");
    EXPECT_EQ(context.working.frame_rate, -1);
    EXPECT_EQ(FormatDescription(context), "<data>");
    EXPECT_EQ(context.working.data_code.size(), 67u);
}

// --- the built-in generators through the virtual board and the capture

// Everything protocol learning needs: the virtual board on a simulated clock, the reader link, the context.
struct BoardLearner {
    static constexpr int kRetryPauseMs = 3000;

    BoardLearner() {
        link.SetReaderPortName(vb::kVirtualPortName);
        opened = link.OpenReaderPort().ok;
    }

    // Captures one press and, when it has frames, analyses everything captured so far and refills the frames
    // buffer, as protocol learning does after an accepted press.
    int Press(const vb::IrSignal& signal, int record, int button, double holdUs) {
        const int kept = context.recordCount;
        int frames = 0;
        for (int attempt = 0; attempt < 2 && frames <= 0; ++attempt) {
            if (attempt > 0) {
                // As a user answering Retry to "No frames recorded, abort?" a few seconds later: a capture
                // stopped at twenty frames leaves the board sending the rest of a long press meanwhile.
                for (int ms = 0; ms < kRetryPauseMs; ++ms) clock.pumpOnce();
                link.DrainReader();
            }
            board.queuePress(vb::KeyPress{signal, holdUs});
            context.recordCount = kept;
            frames = Capture(context, link, record, button, nullptr, nullptr);
            link.ResetReader();
        }
        if (frames <= 0) {
            context.recordCount = kept;
            return frames;
        }
        CopyForAnalysis(context);
        AnalyseProtocol(context, current);
        FillFramesBuffer(context);
        return frames;
    }
    // One key twice, another once, then the final run; its result.
    bool Learn(const vb::IrSignal& key, const vb::IrSignal& again, const vb::IrSignal& other, double holdUs) {
        frames[0] = Press(key, 0, 0, holdUs);
        frames[1] = Press(again, 1, 0, holdUs);
        frames[2] = Press(other, 2, 1, holdUs);
        return AnalyseProtocol(context, current);
    }
    bool ShowedError() const {
        for (const auto& shown : boxes.shown()) {
            if (shown.kind == platform::MessageKind::Error) return true;
        }
        return false;
    }

    testing::ScriptedMessageBoxes boxes;
    testing::SimulatedClock clock;
    TAnalysisContext context{boxes, clock, clock};
    Tprotocol_descriptor current;
    vb::BoardEngine board;
    vb::VirtualSerialPortProvider ports{board, clock};
    TReaderLink link{ports, clock, clock, boxes};
    bool opened = false;
    int frames[3] = {};
};

class LearnThroughBoard : public ::testing::Test, public BoardLearner {};

// NEC bits as the vocabulary writes them: a 562.5 us pulse (A) then a short (a) or long (b) pause, LSB first.
std::string NecCode(std::uint8_t address, std::uint8_t command) {
    std::string code = "Ed";  // 9 ms header pulse, 4.5 ms pause
    const std::uint8_t bytes[] = {address, static_cast<std::uint8_t>(~address), command,
                                  static_cast<std::uint8_t>(~command)};
    for (std::uint8_t byte : bytes) {
        for (int bit = 0; bit < 8; ++bit) code += (byte >> bit) & 1 ? "Ab" : "Aa";
    }
    return code + "A";
}

struct LearnCase {
    const char* name;
    std::vector<vb::IrSignal> presses;  // key, the same key again, another key
    double carrier;
    double tick;
    double frameRate;
    const char* format;
    char letters[3];
    int positions[3];
    std::vector<double> nominals;
    const char* flags;  // per element "+", "-" or "b" (both)
    std::string data;
    std::string dummy;
    const char* description;
    double jitterUs = 0;  // the board moves every mark and space by up to this much
};

void PrintTo(const LearnCase& c, std::ostream* os) { *os << c.name; }

std::vector<vb::IrSignal> Rc5Presses() {
    vb::Rc5Remote remote;  // the toggle bit flips with every press
    const vb::IrSignal first = remote.press(5, 12);
    const vb::IrSignal again = remote.press(5, 12);
    return {first, again, remote.press(5, 13)};
}

class LearnGenerators : public LearnThroughBoard, public ::testing::WithParamInterface<LearnCase> {};

// Every press is captured through the virtual board: each burst end comes 50 us after the burst's last counted
// carrier cycle, which lies up to one period before the mark's end. The pulse correction takes back the reader
// delay less one period, so a pulse reads up to one period long and the pause after it as much short; where the
// members of an element do not reach its tick multiple, the nominal is their mean.
TEST_P(LearnGenerators, ThreePressesGiveTheProtocol) {
    const LearnCase& c = GetParam();
    ASSERT_TRUE(opened);
    board.config().faults.jitterUs = c.jitterUs;
    EXPECT_TRUE(Learn(c.presses[0], c.presses[1], c.presses[2], 250'000));
    for (int r = 0; r < 3; ++r) EXPECT_GT(frames[r], 0) << r;
    const TWorkingProtocol& w = context.working;
    SCOPED_TRACE(Describe(w));
    EXPECT_EQ(w.carrier_period, c.carrier);
    EXPECT_EQ(w.tick, c.tick);
    EXPECT_EQ(w.frame_rate, c.frameRate);
    EXPECT_EQ(w.format, c.format);
    EXPECT_EQ(w.i_letter, c.letters[0]);
    EXPECT_EQ(w.j_letter, c.letters[1]);
    EXPECT_EQ(w.x_letter, c.letters[2]);
    EXPECT_EQ(w.i_position, c.positions[0]);
    EXPECT_EQ(w.j_position, c.positions[1]);
    EXPECT_EQ(w.x_position, c.positions[2]);
    ASSERT_EQ(w.vocabulary_count, static_cast<int>(c.nominals.size()));
    for (int k = 0; k < w.vocabulary_count; ++k) {
        EXPECT_NEAR(w.vocabulary[k].nominal, c.nominals[k], 0.05) << k;
        EXPECT_EQ(w.vocabulary[k].hasPulse, c.flags[k] != '-') << k;
        EXPECT_EQ(w.vocabulary[k].hasPause, c.flags[k] != '+') << k;
    }
    EXPECT_EQ(w.data_code, c.data);
    EXPECT_EQ(w.second_data_code, "");
    EXPECT_EQ(w.dummy_code, c.dummy);
    EXPECT_EQ(FormatDescription(context), c.description);
    EXPECT_TRUE(boxes.shown().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Analyse, LearnGenerators,
    ::testing::Values(
        // The repeat frame (9 ms, 2.25 ms, one bit pulse) is the same for every key: a dummy frame. The frame
        // rate runs from the end of the first pause to the end of the repeat frame's first pulse, so it comes
        // out about 4.5 ms short of NEC's 108 ms. The 9000 us header mark counts 343 cycles at 38 kHz, the last
        // one at 9000 us, so it reads 9000 + 26 us and the 4500 us pause after it 26 us short; a 562.5 us bit
        // mark counts 22, the last at 552.6 us, so a 1687.5 us pause after it reads 1671 us.
        LearnCase{"Nec",
                  {vb::necSignal(0, 0x45), vb::necSignal(0, 0x45), vb::necSignal(0, 0x46)},
                  26.5,
                  562.5,
                  103.6,
                  "iX",
                  {'i', '?', 'X'},
                  {0, -1, 1},
                  {562.5, 1671, 2224, 4474, 9026},
                  "b---+",
                  NecCode(0, 0x45),
                  "EcA",
                  "<data>-<dummy>-<dummy>- ..."},
        // With the timing spread a real remote has, the members of an element span its tick multiple, which
        // then stands as the nominal; the three 4.5 ms pauses do not reach 4500 and keep their mean, and the
        // header's mean (9032.6) lies more than 20 us from 9000, so its nominal is the mean to 50 us.
        LearnCase{"NecWithJitter",
                  {vb::necSignal(0, 0x45), vb::necSignal(0, 0x45), vb::necSignal(0, 0x46)},
                  26.5,
                  562.5,
                  103.2,
                  "iX",
                  {'i', '?', 'X'},
                  {0, -1, 1},
                  {562.5, 1687.5, 2250, 4488.5, 9050},
                  "b---+",
                  NecCode(0, 0x45),
                  "EcA",
                  "<data>-<dummy>-<dummy>- ...",
                  40},
        // The whole frame repeats; the toggle bit changes the code between the two presses of one key, which
        // the classification does not compare. 36 kHz (27.8 us) to the nearest half microsecond is 28.0 us.
        LearnCase{"Rc5",
                  Rc5Presses(),
                  28.0,
                  889,
                  113.0,
                  "I",
                  {'I', '?', '?'},
                  {1, -1, -1},
                  {889, 1778},
                  "bb",
                  "AaBaAaAbBbBaAbAaBaA",
                  "",
                  "<data>-<data>- ..."},
        // Three frames per press at least, then repeats: one repeated data frame at 40 kHz (25 us). The 1200 and
        // 2400 us marks are whole carrier periods: they count 49 and 97 cycles, the last at their end, and read
        // one period long.
        LearnCase{"Sirc12",
                  {vb::sirc12Signal(1, 21), vb::sirc12Signal(1, 21), vb::sirc12Signal(1, 22)},
                  25.0,
                  600,
                  44.4,
                  "I",
                  {'I', '?', '?'},
                  {1, -1, -1},
                  {600, 1225, 2425},
                  "b++",
                  "CaBaAaBaAaBaAaAaBaAaAaAaA",
                  "",
                  "<data>-<data>- ..."},
        // Without carrier every element is a flash with the pause after it (150 + 600, 150 + 1200,
        // 150 + 3000). The tick candidates come from the first element and its halves and thirds only, so the
        // 150 us flash unit is never tried: 750 fits best.
        LearnCase{"Flash",
                  {vb::flashSignal(3, 77), vb::flashSignal(3, 77), vb::flashSignal(3, 78)},
                  0,
                  750,
                  57,
                  "I",
                  {'I', '?', '?'},
                  {1, -1, -1},
                  {750, 1350, 3150},
                  "---",
                  "cbbaaaaaababbaaba",
                  "",
                  "<data>-<data>- ..."}),
    [](const ::testing::TestParamInfo<LearnCase>& info) { return std::string(info.param.name); });

// Two frames in every press, one of them the same for both keys and the other not: the format is "ij", and the
// protocol carries no data frame lengths.
struct TwoFrameCase {
    const char* name;
    bool sharedFirst;  // the first frame is the one both keys send; otherwise the second
};

class TwoFramesOneShared : public LearnThroughBoard, public ::testing::WithParamInterface<TwoFrameCase> {};

TEST_P(TwoFramesOneShared, GiveIjWithoutDataLengths) {
    ASSERT_TRUE(opened);
    const auto press = [&](std::uint8_t command) {
        const vb::IrSignal shared = vb::necSignal(0x10, 0x20);
        const vb::IrSignal own = vb::necSignal(0x10, command);
        vb::IrSignal signal{"", vb::kNecCarrierHz, GetParam().sharedFirst ? shared.once : own.once, {}};
        signal.once.push_back(40'000);
        const std::vector<double>& second = GetParam().sharedFirst ? own.once : shared.once;
        signal.once.insert(signal.once.end(), second.begin(), second.end());
        return signal;
    };
    EXPECT_TRUE(Learn(press(0x45), press(0x45), press(0x46), 0));
    for (int r = 0; r < 3; ++r) EXPECT_EQ(frames[r], 2) << r;
    EXPECT_EQ(context.working.format, "ij");
    EXPECT_EQ(context.working.data_code, "");
    EXPECT_EQ(context.working.second_data_code, "");
    Tprotocol_descriptor learned;
    DescriptorFromWorkingState(learned, context.working);
    EXPECT_EQ(learned.format, "ij");
    EXPECT_EQ(learned.i_length, 0);
    EXPECT_EQ(learned.j_length, 0);
}

INSTANTIATE_TEST_SUITE_P(Analyse, TwoFramesOneShared,
                         ::testing::Values(TwoFrameCase{"SharedThenOwn", true}, TwoFrameCase{"OwnThenShared", false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Every recorded remote: its first key twice, its second key once. Whatever the recording holds (glitches,
// cut-off frames, presses longer than twenty frames), the analysis runs through without an error.
TEST(LearnRecorded, EveryRemoteAnalysesWithoutError) {
    const std::string dir = test::SignalsDir();
    if (dir.empty() || !std::filesystem::is_directory(dir)) GTEST_SKIP() << "no recordings folder";
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() != ".ir") continue;
        const test::RecordedRemote remote = test::ReadRecordedRemote(entry.path().string());
        BoardLearner l;
        vb::IrSignal key{"", remote.carrierHz, remote.keys[0], {}};
        vb::IrSignal other{"", remote.carrierHz, remote.keys[1], {}};
        ASSERT_TRUE(l.opened);
        l.Learn(key, key, other, 100'000);
        SCOPED_TRACE(entry.path().filename().string() + "\n" + Describe(l.context.working));
        for (int r = 0; r < 3; ++r) EXPECT_GT(l.frames[r], 0) << r;
        EXPECT_GT(l.context.working.vocabulary_count, 0);
        EXPECT_FALSE(l.context.working.format.empty());
        EXPECT_FALSE(l.ShowedError());
        EXPECT_GT(l.context.framesBuffer.count, 0);
    }
}

// The carrier each recording gives, to the nearest half microsecond: every remote was recorded at 38 kHz
// (26.3 us), so the protocol and every single key measure 26.5 us, within 0.5 us of the recording's own carrier.
struct CarrierCase {
    const char* file;
    int carrierHz;
    double period;
};

const CarrierCase kRecordedCarriers[] = {
    {"01_prinz_dvd_t182.ir", 38000, 26.5},         {"05_jvc_hr_s2902u.ir", 38000, 26.5},
    {"08_hauppauge_wintv_dualhd.ir", 38000, 26.5}, {"11_philips_tv.ir", 38000, 26.5},
    {"12_sony_rm_sc30.ir", 38000, 26.5},           {"13_panasonic_tx_43gxw584.ir", 38000, 26.5},
    {"15_sharp_lc_rc1_16.ir", 38000, 26.5},        {"16_denon_dra_365r.ir", 38000, 26.5},
    {"21_dreo_cruiser_pro_fan.ir", 38000, 26.5},   {"22_directv.ir", 38000, 26.5},
    {"24_daikin_ftxm95pvma.ir", 38000, 26.5},      {"32_corona_ac_esp.ir", 38000, 26.5},
};

TEST(LearnRecorded, CarrierIsTheRecordingsOwn) {
    const std::string dir = test::SignalsDir();
    if (dir.empty() || !std::filesystem::is_directory(dir)) GTEST_SKIP() << "no recordings folder";
    for (const CarrierCase& c : kRecordedCarriers) {
        SCOPED_TRACE(c.file);
        const test::RecordedRemote remote = test::ReadRecordedRemote(dir + "/" + c.file);
        ASSERT_GE(remote.keys.size(), 2u);
        EXPECT_EQ(remote.carrierHz, c.carrierHz);
        const double own = 1e6 / c.carrierHz;
        ASSERT_LE(std::abs(c.period - own), 0.5);

        BoardLearner protocol;
        ASSERT_TRUE(protocol.opened);
        const vb::IrSignal first{"", remote.carrierHz, remote.keys[0], {}};
        protocol.Learn(first, first, vb::IrSignal{"", remote.carrierHz, remote.keys[1], {}}, 100'000);
        EXPECT_EQ(protocol.context.working.carrier_period, c.period);

        // Every key on its own.
        BoardLearner keys;
        ASSERT_TRUE(keys.opened);
        for (std::size_t k = 0; k < remote.keys.size(); ++k) {
            keys.context.recordCount = 0;
            if (keys.Press(vb::IrSignal{"", remote.carrierHz, remote.keys[k], {}}, 0, 0, 100'000) <= 0) {
                ADD_FAILURE() << remote.names[k] << ": no frames";
                continue;
            }
            EXPECT_LE(std::abs(keys.context.working.carrier_period - own), 0.5) << remote.names[k];
            EXPECT_EQ(keys.context.working.carrier_period, c.period) << remote.names[k];
        }
    }
}

// Marks of 177 us at 38 kHz count 7 cycles, the last 6 periods (157.9 us) after the mark's start: the carrier
// measured from them is 26.3 us, 26.5 to the half microsecond.
TEST_F(LearnThroughBoard, ShortBurstsMeasureTheirOwnCarrier) {
    ASSERT_TRUE(opened);
    vb::IrSignal signal{"", 38'000, {}, {}};
    for (int bit = 0; bit < 16; ++bit) {
        signal.once.push_back(177);
        signal.once.push_back(bit % 3 == 0 ? 2000 : 1000);
    }
    signal.once.push_back(177);
    signal.once.push_back(vb::kImpliedGapUs);
    ASSERT_GT(Press(signal, 0, 0, 0), 0);
    EXPECT_EQ(context.working.carrier_period, 26.5);
}

}  // namespace
}  // namespace spectrel
