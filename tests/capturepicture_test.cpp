// The picture of a capture: intervals, letters, vocabulary distances and frame roles, its SVG form, and the
// capture exported as a signal that the virtual board plays again.

#include "Code/SPX_CapturePicture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <utility>

#include "learning_test_support.h"
#include "tests/xml_wellformed.h"
#include "virtualboard/FlipperIrWriter.h"
#include "virtualboard/SignalFiles.h"

namespace spectrel::test {
namespace {

using Position = std::pair<int, int>;  // frame, interval

class CapturePictureTest : public LearningRig {
protected:
    // Learns one press of `signal` as a button; true when it was accepted. The first box is answered `answer`,
    // every later one accepted.
    bool LearnPress(const vb::IrSignal& signal, MessageButton answer = MessageButton::Abort) {
        boxes.clear();
        boxes.setStrict(false);
        boxes.push(answer);
        Press(signal);
        bool stop = false;
        std::string data, data2;
        const bool learned = procedures.LearnButton("Key", stop, nullptr, data, data2);
        lastCode = data;
        return learned;
    }

    TCapturePicture Picture() const { return BuildCapturePicture(context, current); }

    static std::set<Position> Unmatched(const TCapturePicture& picture) {
        std::set<Position> found;
        for (const TPictureRecord& record : picture.records) {
            for (const TPictureFrame& frame : record.frames) {
                for (std::size_t i = 0; i < frame.intervals.size(); ++i) {
                    if (frame.intervals[i].checked && !frame.intervals[i].matched)
                        found.insert({frame.number, static_cast<int>(i)});
                }
            }
        }
        return found;
    }

    std::string lastCode;
};

TEST_F(CapturePictureTest, NecPressIsOneDataFrameAndItsRepeats) {
    LearnNecQuietly();
    ASSERT_TRUE(LearnPress(vb::necSignal(0, 0x47), MessageButton::Ok));
    const TCapturePicture picture = Picture();
    ASSERT_EQ(picture.records.size(), 1u);
    const TPictureRecord& record = picture.records[0];
    ASSERT_GE(record.frames.size(), 2u);
    EXPECT_EQ(record.frames[0].role, TFrameRole::Data);
    EXPECT_EQ(record.frames[0].code, lastCode);
    // Header mark and space, 32 bits of a mark and a space, the closing mark.
    EXPECT_EQ(record.frames[0].intervals.size(), 67u);
    for (std::size_t f = 1; f < record.frames.size(); ++f) {
        EXPECT_EQ(record.frames[f].role, TFrameRole::Repeat) << "frame " << f;
        // 9000 us mark, 2250 us space, 562.5 us mark.
        EXPECT_EQ(record.frames[f].intervals.size(), 3u) << "frame " << f;
    }
    EXPECT_EQ(picture.unmatchedCount, 0);
    EXPECT_TRUE(CapturePictureComplaints(picture).empty());
    // From the end of the header space of frame 0 to the end of the header mark of frame 1: 108 ms less 4.5 ms.
    EXPECT_NEAR(record.frameRate, 103.5, 0.2);
    EXPECT_NEAR(record.frameRate, current.frame_rate, 0.6);
    EXPECT_NEAR(record.carrierPeriod, 26.5, 0.5);

    // Every interval lies end to end from the start of its frame.
    const TPictureFrame& data = record.frames[0];
    EXPECT_DOUBLE_EQ(data.intervals[0].start, 0);
    for (std::size_t i = 1; i < data.intervals.size(); ++i) {
        EXPECT_DOUBLE_EQ(data.intervals[i].start, data.intervals[i - 1].start + data.intervals[i - 1].duration);
    }
    // The header mark: a pulse of the longest element, counted cycles of a 38 kHz carrier.
    const TPictureInterval& header = data.intervals[0];
    EXPECT_TRUE(header.isPulse);
    EXPECT_EQ(header.letter, lastCode[0]);
    EXPECT_EQ(header.element, lastCode[0] - 'A');
    EXPECT_NEAR(header.nominal, 9000, 60);
    EXPECT_NEAR(header.carrierCycles, 9000 / 26.3, 3);
}

struct TVocabularyCase {
    const char* name;
    int index;      // interval of the data frame made `us` long (-1: none)
    double us;
    std::set<Position> unmatched;
};

class CapturePictureVocabulary : public CapturePictureTest, public ::testing::WithParamInterface<TVocabularyCase> {};

TEST_P(CapturePictureVocabulary, MarksExactlyTheIntervalsOutsideTheVocabulary) {
    const TVocabularyCase& c = GetParam();
    LearnNecQuietly();
    vb::IrSignal signal = vb::necSignal(0, 0x47);
    if (c.index >= 0) {
        const double taken = signal.once[static_cast<std::size_t>(c.index)] - c.us;
        signal.once[static_cast<std::size_t>(c.index)] = c.us;
        signal.once.back() += taken;
    }
    const bool learned = LearnPress(signal);
    const TCapturePicture picture = Picture();
    EXPECT_EQ(Unmatched(picture), c.unmatched);
    // The same verdict as the check of the button capture.
    EXPECT_EQ(MatchesVocabulary(context, current), c.unmatched.empty());
    EXPECT_EQ(learned, c.unmatched.empty());
    if (c.unmatched.empty()) return;

    EXPECT_EQ(boxes.texts().front(), kNoVocabularyMatchText);
    const Position where = *c.unmatched.begin();
    const TPictureInterval& interval =
        picture.records[0].frames[static_cast<std::size_t>(where.first)].intervals[static_cast<std::size_t>(where.second)];
    // The distance to the nearest reference, beyond the window of six carrier periods and 30 us.
    EXPECT_NEAR(picture.vocabularyWindow, 6 * 26.5 + 30, 0.01);
    EXPECT_GT(interval.distance, picture.vocabularyWindow);
    EXPECT_DOUBLE_EQ(interval.distance, std::fabs(interval.compared - interval.reference));
    for (const double reference : picture.references) {
        EXPECT_GE(std::fabs(interval.compared - reference), interval.distance);
    }
    EXPECT_NEAR(interval.compared, c.us, 60);
    const std::vector<std::string> complaints = CapturePictureComplaints(picture);
    ASSERT_GE(complaints.size(), 2u);
    EXPECT_EQ(complaints[0].rfind("1 interval matches no vocabulary element", 0), 0u) << complaints[0];
    EXPECT_NE(complaints[1].find("frame 0, interval " + std::to_string(where.second)), std::string::npos) << complaints[1];
    EXPECT_NE(IntervalHint(interval, picture).find("Outside the vocabulary"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Presses, CapturePictureVocabulary,
    ::testing::Values(TVocabularyCase{"clean", -1, 0, {}},
                      TVocabularyCase{"header_space_2750", 1, 2750, {{0, 1}}},
                      TVocabularyCase{"bit_space_1100", 3, 1100, {{0, 3}}},
                      TVocabularyCase{"bit_mark_1200", 2, 1200, {{0, 2}}},
                      TVocabularyCase{"bit_space_700_inside_window", 3, 700, {}}),
    [](const ::testing::TestParamInfo<TVocabularyCase>& info) { return std::string(info.param.name); });

TEST_F(CapturePictureTest, FrameRateOutsideTheProtocolShowsBothValues) {
    LearnNecQuietly();
    vb::IrSignal slow = vb::necSignal(0, 0x47);
    slow.once.back() += 20'000;  // frames 128 ms apart instead of 108
    LearnPress(slow);
    EXPECT_EQ(boxes.texts().front(), learning_text::kFrameRateDiffers);
    const TCapturePicture picture = Picture();
    EXPECT_TRUE(picture.frameRateOutside);
    EXPECT_FALSE(picture.carrierOutside);
    EXPECT_NEAR(picture.measuredFrameRate, 123.5, 0.2);
    EXPECT_DOUBLE_EQ(picture.protocolFrameRate, current.frame_rate);
    const std::vector<std::string> complaints = CapturePictureComplaints(picture);
    ASSERT_EQ(complaints.size(), 1u);
    EXPECT_EQ(complaints[0].rfind("Frame rate 123.", 0), 0u) << complaints[0];
    EXPECT_NE(complaints[0].find(" ms, the protocol's 104.0 ms"), std::string::npos) << complaints[0];
}

TEST_F(CapturePictureTest, CarrierOutsideTheProtocolShowsBothValues) {
    LearnNecQuietly();
    vb::IrSignal fast = vb::necSignal(0, 0x47);
    fast.carrierHz = 56'000;
    LearnPress(fast);
    EXPECT_EQ(boxes.texts().back(), learning_text::kCarrierDiffers);
    const TCapturePicture picture = Picture();
    EXPECT_TRUE(picture.carrierOutside);
    EXPECT_NEAR(picture.measuredCarrier, 1e6 / 56'000, 0.5);
    const std::vector<std::string> complaints = CapturePictureComplaints(picture);
    ASSERT_FALSE(complaints.empty());
    EXPECT_EQ(complaints.back().rfind("Carrier period 18.", 0), 0u) << complaints.back();
    EXPECT_NE(complaints.back().find("the protocol's 26.5 us"), std::string::npos) << complaints.back();
}

TEST_F(CapturePictureTest, ProtocolLearningStacksTheThreeRecordsWithTheirRoles) {
    LearnNec();
    ASSERT_TRUE(current.valid);
    const TCapturePicture picture = Picture();
    ASSERT_EQ(picture.records.size(), 3u);
    EXPECT_EQ(picture.format, current.format);
    for (int r = 0; r < 3; ++r) {
        const TPictureRecord& record = picture.records[static_cast<std::size_t>(r)];
        EXPECT_EQ(record.recordNumber, r);
        EXPECT_EQ(record.buttonNumber, r < 2 ? 0 : 1);
        EXPECT_EQ(record.frames[0].role, TFrameRole::Data);
        for (std::size_t f = 0; f < record.frames.size(); ++f) {
            // The letters are those the analysis wrote.
            EXPECT_EQ(record.frames[f].code, FrameCode(context, r, static_cast<int>(f))) << r << "/" << f;
        }
    }
    EXPECT_GT(picture.tick, 0);
    EXPECT_EQ(picture.unmatchedCount, 0);
}

// Tolerant learning matches against the ranges measured while learning; the picture judges the same way.
TEST_F(CapturePictureTest, TolerantMatchingAgreesWithTheCheck) {
    procedures.options.TolerantLearning = true;
    LearnNecQuietly();
    vb::IrSignal odd = vb::necSignal(0, 0x47);
    odd.once[1] = 2750;
    odd.once.back() += vb::kNecHeaderSpace - 2750;
    // "Add it to the protocol's vocabulary?" No, then Abort.
    boxes.clear();
    boxes.script({MessageButton::No, MessageButton::Abort});
    Press(odd);
    bool stop = false;
    std::string data, data2;
    EXPECT_FALSE(procedures.LearnButton("Key", stop, nullptr, data, data2));
    const TCapturePicture picture = Picture();
    EXPECT_EQ(Unmatched(picture), (std::set<Position>{{0, 1}}));
    EXPECT_FALSE(MatchesVocabulary(context, current));

    ASSERT_TRUE(LearnPress(vb::necSignal(0, 0x48), MessageButton::Ok));
    EXPECT_TRUE(Unmatched(Picture()).empty());
    EXPECT_TRUE(MatchesVocabulary(context, current));
}

// Without a carrier only the pauses are coded, each with the pulse before it.
TEST_F(CapturePictureTest, APulsedCodeLettersItsPauses) {
    vb::IrSignal a = vb::necSignal(0, 0x45);
    vb::IrSignal b = vb::necSignal(0, 0x46);
    a.carrierHz = 0;
    b.carrierHz = 0;
    Press(a);
    Press(a);
    Press(b);
    boxes.setStrict(false);
    procedures.LearnProtocol(nullptr, &messages, &description);
    ASSERT_TRUE(current.valid);
    ASSERT_EQ(current.carrier_period, 0);
    const TCapturePicture picture = Picture();
    ASSERT_EQ(picture.records.size(), 3u);
    for (const TPictureRecord& record : picture.records) {
        EXPECT_EQ(record.carrierPeriod, 0);
        for (std::size_t f = 0; f < record.frames.size(); ++f) {
            const TPictureFrame& frame = record.frames[f];
            EXPECT_EQ(frame.code, FrameCode(context, record.recordNumber, static_cast<int>(f)));
            for (const TPictureInterval& interval : frame.intervals) {
                if (interval.isPulse) {
                    EXPECT_EQ(interval.letter, 0);
                }
            }
        }
    }
    // The picture judges the vocabulary as the check of a button capture would (a header whose pulse-and-pause
    // sum lies beyond the swept range matches no element without carrier).
    EXPECT_EQ(picture.unmatchedCount == 0, MatchesVocabulary(context, current));
    // The exported signal says it has no carrier.
    EXPECT_EQ(CapturedSignalOf(picture, 0, context.readerDelay).carrierHz, 0);
}

TEST_F(CapturePictureTest, EmptyTableGivesAnEmptyPictureAndAWellFormedSvg) {
    const TCapturePicture picture = Picture();
    EXPECT_TRUE(picture.empty());
    EXPECT_EQ(testing::XmlWellFormedCheck::Check(SvgOfCapturePicture(picture)), "");
}

TEST_F(CapturePictureTest, SvgIsWellFormedAndTitlesTheIntervalOutsideTheVocabulary) {
    LearnNecQuietly();
    vb::IrSignal signal = vb::necSignal(0, 0x47);
    signal.once[1] = 2750;
    signal.once.back() += vb::kNecHeaderSpace - 2750;
    EXPECT_FALSE(LearnPress(signal));
    const TCapturePicture picture = Picture();
    for (const int titled : {0, 100000}) {
        const std::string svg = SvgOfCapturePicture(picture, 1200, titled);
        EXPECT_EQ(testing::XmlWellFormedCheck::Check(svg), "");
        EXPECT_NE(svg.find("Outside the vocabulary"), std::string::npos);
        EXPECT_NE(svg.find("fill=\"#ff0000\""), std::string::npos);
        EXPECT_NE(svg.find("F0 data"), std::string::npos);
    }
}

// A capture exported as a raw ".ir" signal and as the text form, read back and played again through the virtual
// board, gives the same codes.
TEST_F(CapturePictureTest, ExportedCapturePlaysBackToTheSameCodes) {
    LearnNecQuietly();
    for (const std::uint8_t key : {0x47, 0x08}) {
        ASSERT_TRUE(LearnPress(vb::necSignal(0, key), MessageButton::Ok));
        const std::string code = lastCode;
        const TCapturePicture picture = Picture();
        const TCapturedSignal captured = CapturedSignalOf(picture, 0, context.readerDelay);
        EXPECT_NEAR(captured.carrierHz, 38'000, 800);
        ASSERT_EQ(captured.durations.size() % 2, 1u);
        vb::IrSignal exported{captured.name, captured.carrierHz, captured.durations, {}};

        const vb::SignalFileResult flipper = vb::parseFlipperIr(vb::formatFlipperIr({exported}), "capture.ir");
        ASSERT_TRUE(flipper.ok) << flipper.message;
        ASSERT_EQ(flipper.signals.size(), 1u);
        EXPECT_EQ(flipper.signals[0].name, "Record 0");
        ASSERT_TRUE(LearnPress(flipper.signals[0], MessageButton::Ok));
        EXPECT_EQ(lastCode, code) << ".ir, key " << int(key);

        const vb::ParseSignalResult text = vb::parseSignal(vb::formatSignal(exported));
        ASSERT_TRUE(text.ok) << text.message;
        ASSERT_TRUE(LearnPress(text.signal, MessageButton::Ok));
        EXPECT_EQ(lastCode, code) << "text form, key " << int(key);
    }
}

// Recorded remotes: the letters of every frame are the codes the analysis gave, and the roles follow the format.
TEST_F(CapturePictureTest, RecordedRemotesCodeAsTheAnalysis) {
    const std::filesystem::path folder = SPECTREL_SIGNALS_DIR;
    for (const char* file : {"01_prinz_dvd_t182.ir", "11_philips_tv.ir", "12_sony_rm_sc30.ir", "22_directv.ir"}) {
        SCOPED_TRACE(file);
        const vb::SignalFileResult read = vb::readSignalFile((folder / file).string());
        if (!read.ok) GTEST_SKIP() << read.message;
        ASSERT_GE(read.signals.size(), 2u);
        context.Reset();
        board.clearPresses();
        Press(read.signals[0]);
        Press(read.signals[0]);
        Press(read.signals[1]);
        boxes.clear();
        boxes.setStrict(false);
        procedures.LearnProtocol(nullptr, &messages, &description);
        const TCapturePicture picture = Picture();
        ASSERT_FALSE(picture.empty());
        int dataFrames = 0;
        for (const TPictureRecord& record : picture.records) {
            for (std::size_t f = 0; f < record.frames.size(); ++f) {
                EXPECT_EQ(record.frames[f].code, FrameCode(context, record.recordNumber, static_cast<int>(f)));
                dataFrames += record.frames[f].role == TFrameRole::Data ? 1 : 0;
            }
        }
        if (current.valid) {
            EXPECT_GE(dataFrames, 3);
        }
        EXPECT_EQ(testing::XmlWellFormedCheck::Check(SvgOfCapturePicture(picture)), "");
    }
}

}  // namespace
}  // namespace spectrel::test
