// The diagnostic dump files: nothing while dumps are off, the layouts and number formats of each file, and a
// dump that cannot be written.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "Code/SPX_ComPortUnit.h"
#include "Code/SPX_Files_dumps.h"
#include "Code/SPX_processing.h"
#include "Code/SPX_processing_state.h"
#include "testing/FakeSerialPort.h"
#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"

namespace spectrel {
namespace {

namespace fs = std::filesystem;
using testing::FakeSerialPort;
using testing::ScriptedMessageBoxes;
using testing::SimulatedClock;

std::vector<std::string> FileLines(const fs::path& path) {
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
}

std::string FileText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

TIntervalRecord Record(bool pulse, double time, double duration, int record, int frame, int index, int cycles) {
    TIntervalRecord r;
    r.isPulse = pulse;
    r.time = time;
    r.duration = duration;
    r.recordNumber = record;
    r.frameNumber = frame;
    r.indexInFrame = index;
    r.carrierCycles = cycles;
    return r;
}

class DumpFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device seed;
        folder_ = fs::temp_directory_path() / ("spectrel_dumps_" + std::to_string(seed()));
        fs::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    fs::path file(const char* name) const { return folder_ / name; }

    // Two presses: a header burst and pause, then the gap that opens the second press and a short burst.
    void fillTables() {
        const TIntervalRecord records[] = {
            Record(true, 0, 9000, 0, 0, 1, 340),
            Record(false, 9000, 4500, 0, 0, 2, 0),
            Record(false, 60000.5, 40000, 1, -1, 0, 0),
            Record(true, 60040.25, 40.25, 1, 0, 1, 2),
        };
        context_.recordCount = 4;
        for (int i = 0; i < 4; ++i) {
            context_.captureTable()[i] = records[i];
            context_.analysisTable()[i] = records[i];
        }
        context_.working.carrier_period = 26.5;
        context_.readerDelay = 50;
    }

    fs::path folder_;
    ScriptedMessageBoxes boxes_;
    SimulatedClock clock_;
    TAnalysisContext context_{boxes_, clock_, clock_};
};

TEST_F(DumpFilesTest, NothingIsWrittenOrTouchedWhileDumpsAreOff) {
    std::ofstream(file("Dbg.txt")) << "from an earlier run\n";
    fillTables();
    TDumpFiles dumps(folder_.string(), false, &boxes_);
    int bytesRead = 0;
    dumps.DumpReaderStream([&](std::uint8_t& b) {
        b = 0x40;
        return ++bytesRead < 3;
    });
    dumps.DumpCaptureTable(context_);
    dumps.DumpAnalysisTable(context_);
    dumps.DumpVocabulary(context_);
    dumps.DumpFramesBuffer(context_);
    EXPECT_EQ(bytesRead, 0);  // the reader's stream is left alone as well
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, (std::vector<std::string>{"Dbg.txt"}));
    EXPECT_EQ(FileText(file("Dbg.txt")), "from an earlier run\n");
    EXPECT_TRUE(dumps.FirstError());
}

TEST_F(DumpFilesTest, ReaderStreamExampleGivesOneLine) {
    TDumpFiles dumps(folder_.string(), true);
    const std::vector<std::uint8_t> stream = {0x40, 0x05, 0x06, 0x21, 0x00};
    std::size_t next = 0;
    dumps.DumpReaderStream([&](std::uint8_t& b) {
        if (next == stream.size()) return false;
        b = stream[next++];
        return true;
    });
    EXPECT_EQ(FileLines(file("PicDump.txt")), (std::vector<std::string>{"400506 2100"}));
}

TEST_F(DumpFilesTest, ReaderStreamLinesEndOnceLongerThan60Characters) {
    TDumpFiles dumps(folder_.string(), true);
    // 30 bytes make 60 characters, which is not yet too long; the 31st ends the line, the 32nd starts the next.
    std::vector<std::uint8_t> stream(31, 0xAB);
    stream.push_back(0x20);
    std::size_t next = 0;
    dumps.DumpReaderStream([&](std::uint8_t& b) {
        if (next == stream.size()) return false;
        b = stream[next++];
        return true;
    });
    std::string first;
    for (int i = 0; i < 31; ++i) first += "AB";
    EXPECT_EQ(FileLines(file("PicDump.txt")), (std::vector<std::string>{first, " 20"}));

    // A line that ends exactly with the stream leaves an empty last line.
    stream.pop_back();
    next = 0;
    dumps.DumpReaderStream([&](std::uint8_t& b) {
        if (next == stream.size()) return false;
        b = stream[next++];
        return true;
    });
    EXPECT_EQ(FileLines(file("PicDump.txt")), (std::vector<std::string>{first, ""}));
}

TEST_F(DumpFilesTest, ReaderStreamIsReadFromTheReaderUntilItFallsSilent) {
    FakeSerialPort serial(clock_);
    TReaderLink reader(serial, clock_, clock_, boxes_);
    ASSERT_TRUE(reader.OpenReaderPort().ok);
    const std::uint8_t bytes[] = {0x40, 0x05, 0x06, 0x21, 0x00};
    for (int i = 0; i < 5; ++i) serial.scheduleByte(bytes[i], clock_.nowMs() + 10 * (i + 1));
    TDumpFiles dumps(folder_.string(), true);
    dumps.DumpReaderStream(reader);
    EXPECT_EQ(FileLines(file("PicDump.txt")), (std::vector<std::string>{"400506 2100"}));
}

// A real capture that meets corrupted data, with the dump files attached to its context.
TEST_F(DumpFilesTest, ACorruptedCaptureDumpsTheRestOfTheStreamAndTheCaptureTable) {
    FakeSerialPort serial(clock_);
    TReaderLink reader(serial, clock_, clock_, boxes_);
    ASSERT_TRUE(reader.OpenReaderPort().ok);
    // A 560 us burst, a 5 us pause (corrupted), then the rest of the stream: a burst end and the end of data.
    const std::vector<std::uint8_t> stream = {0x20, 0x10, 0x00, 0x00, 0x21, 0x10, 0x04, 0x60, 0x00, 0x16, 0x20,
                                              0x10, 0x04, 0x6A, 0x21, 0x10, 0x08, 0xCA, 0x00, 0x16, 0x00};
    std::vector<testing::TimedByte> reply{{0xFF, 1}};
    for (std::uint8_t b : stream) reply.push_back({b, 2});
    serial.setResponder([reply](std::uint8_t written) -> std::vector<testing::TimedByte> {
        if (written == 0x00) return {{0x00, 1}};
        if (written == 0x18) return reply;
        return {};
    });
    TDumpFiles dumps(folder_.string(), true, &boxes_);
    context_.dumps = &dumps;
    context_.recordCount = 0;
    EXPECT_EQ(Capture(context_, reader, 0, 0, nullptr, nullptr), -1);
    EXPECT_EQ(FileLines(file("PicDump.txt")), (std::vector<std::string>{" 211008CA001600"}));
    const auto table = FileLines(file("Dbg.txt"));
    ASSERT_GE(table.size(), 3u);
    EXPECT_EQ(table[0], "No carrier");
    EXPECT_EQ(table[2].substr(0, 8), "0:0:0:1 ");
    EXPECT_NE(table[2].find("PULSE=560"), std::string::npos) << table[2];
    EXPECT_TRUE(dumps.FirstError());
}

TEST_F(DumpFilesTest, CaptureTableOfAnEmptyTableHasTheTwoHeaderLines) {
    context_.recordCount = 0;
    TDumpFiles dumps(folder_.string(), true);
    dumps.DumpCaptureTable(context_);
    EXPECT_EQ(FileLines(file("Dbg.txt")),
              (std::vector<std::string>{"No carrier", "     -------------- First record ------------- "}));
}

TEST_F(DumpFilesTest, CaptureTableLinesWithBurstFrequencies) {
    fillTables();
    TDumpFiles dumps(folder_.string(), true);
    dumps.DumpCaptureTable(context_);
    EXPECT_EQ(FileLines(file("Dbg.txt")),
              (std::vector<std::string>{
                  "Carrier 26.50 us, or 37.74 kHz",
                  "     -------------- First record ------------- ",
                  "0:0:0:1        0              PULSE=9000      curr_pls=340 freq=37.9",
                  "1:0:0:2        9000           pause=4500      curr_pls=0",
                  "     -------------- New record ------------- ",
                  "",
                  "2:1:-1:0       60000.5        pause=40000     curr_pls=0",
                  "-------",
                  "3:1:0:1        60040.25       PULSE=40.25     curr_pls=2",
              }));
}

TEST_F(DumpFilesTest, AnalysisTableLinesWithTheCorrectedDurations) {
    fillTables();
    TDumpFiles dumps(folder_.string(), true);
    dumps.DumpAnalysisTable(context_);
    EXPECT_EQ(FileLines(file("RawDump.txt")),
              (std::vector<std::string>{
                  "Carrier 26.50 us, or 37.74 kHz",
                  "     -------------- First record ------------- ",
                  "0:0:0:1        0              PULSE=9000     +carrier-tail=8976.5 carrier pulses=340",
                  "1:0:0:2        9000           pause=4500     -carrier+tail=4523.5 carrier pulses=0",
                  "     -------------- New record ------------- ",
                  "",
                  "2:1:-1:0       60000.5        pause=40000    -carrier+tail=40023.5 carrier pulses=0",
                  "-------",
                  "3:1:0:1        60040.25       PULSE=40.25    +carrier-tail=16.8 carrier pulses=2",
              }));
}

TEST_F(DumpFilesTest, VocabularyLines) {
    TWorkingProtocol& w = context_.working;
    w.tick = 562.5;
    w.vocabulary_count = 2;
    w.vocabulary[0] = {true, true, 571.3, 610.5, 520.0, 68, 562.5, 1};
    w.vocabulary[1] = {false, true, 1689.9, 1720.0, 1650.0, 32, 1687.5, 3};
    TDumpFiles dumps(folder_.string(), true);
    dumps.DumpVocabulary(context_);
    EXPECT_EQ(FileLines(file("VocDump.txt")),
              (std::vector<std::string>{
                  "Vocabulary length 2, tick 562.50",
                  "0: Interval=571.3   [520.0...610.5]     Hits=68 +-          ticks=1.016  562.500",
                  "1: Interval=1689.9  [1650.0...1720.0]   Hits=32 -           ticks=3.004  1687.500",
              }));

    // Without a tick the tick multiples are left out.
    w.tick = 0;
    w.vocabulary_count = 1;
    dumps.DumpVocabulary(context_);
    EXPECT_EQ(FileLines(file("VocDump.txt")),
              (std::vector<std::string>{
                  "Vocabulary length 1, tick 0.00",
                  "0: Interval=571.3   [520.0...610.5]     Hits=68 +-            562.500",
              }));
}

TEST_F(DumpFilesTest, FramesBufferLines) {
    context_.framesBuffer.Clear();
    context_.framesBuffer.Append("AaAbAb", 0, 0, 0);
    context_.framesBuffer.Append("AaCc", 0, 0, 1);
    context_.framesBuffer.Append("AbAbAa", 1, 0, 0);
    context_.working.format = "iJ";
    const std::string rows = " rows: " + FramePattern(context_, 0) + ", " + FramePattern(context_, 1);
    TDumpFiles dumps(folder_.string(), true);
    dumps.DumpFramesBuffer(context_);
    EXPECT_EQ(FileLines(file("FrameBuf.txt")),
              (std::vector<std::string>{"0:0:0 AaAbAb", "0:0:1 AaCc", "1:0:0 AbAbAa", rows, "frames structure: iJ"}));
}

TEST_F(DumpFilesTest, AFailedDumpIsReportedOnceAndDisturbsNothing) {
    fillTables();
    TDumpFiles dumps((folder_ / "missing").string(), true, &boxes_);
    dumps.DumpCaptureTable(context_);
    dumps.DumpVocabulary(context_);
    EXPECT_FALSE(dumps.FirstError());
    EXPECT_NE(dumps.FirstError().message.find("Dbg.txt"), std::string::npos) << dumps.FirstError().message;
    ASSERT_EQ(boxes_.shown().size(), 1u);
    EXPECT_EQ(boxes_.shown()[0].kind, platform::MessageKind::Error);
    EXPECT_EQ(context_.recordCount, 4);
}

TEST(DumpNumberFormatTest, FixedAndGeneral) {
    const struct {
        double value;
        int precision;
        int decimals;
        const char* text;
    } cases[] = {
        {26.5, 8, 2, "26.50"},
        {1000 / 26.5, 8, 2, "37.74"},
        {0.125, 8, 2, "0.13"},
        {16.75, 8, 1, "16.8"},
        {-16.75, 8, 1, "-16.8"},
        {-0.04, 8, 1, "0.0"},
        {339000 / 8955.0, 4, 1, "37.9"},
        {1234.56, 4, 1, "1235.0"},
        {99.96, 3, 2, "100.00"},
        {0.00123456, 4, 6, "0.001235"},
        {2.5, 8, 0, "3"},
        {0, 8, 3, "0.000"},
        {123456, 4, 1, "1.235E+05"},
        {12345678.9, 8, 1, "12345679.0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DumpFixed(c.value, c.precision, c.decimals), c.text) << c.value << " " << c.precision;
    EXPECT_EQ(DumpGeneral(60040.25), "60040.25");
    EXPECT_EQ(DumpGeneral(9000), "9000");
    EXPECT_EQ(DumpGeneral(0.1 + 0.2), "0.3");
    EXPECT_EQ(DumpGeneral(-4.5), "-4.5");
}

}  // namespace
}  // namespace spectrel
