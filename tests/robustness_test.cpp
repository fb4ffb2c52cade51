// Bad input never crashes and never corrupts a file: seeded, repeatable mutations of signal files, protocol lines,
// settings files, reader streams and interval tables, and the command-line learner on files it cannot use.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "Code/SPX_ComPortUnit.h"
#include "Code/SPX_Data.h"
#include "Code/SPX_Data_ButtonCodes.h"
#include "Code/SPX_Files.h"
#include "Code/SPX_IniFile.h"
#include "Code/SPX_processing.h"
#include "testing/FakeSerialPort.h"
#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"
#include "tests/processing_table_writer.h"
#include "tests/xml_wellformed.h"
#include "virtualboard/SignalFiles.h"

namespace spectrel {
namespace {

namespace fs = std::filesystem;
namespace vb = virtualboard;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteAll(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// A folder of its own for each test, removed afterwards.
class TempFolder {
public:
    TempFolder() {
        // The random part keeps runs of the suite side by side (several build trees on one machine) apart.
        path = fs::temp_directory_path() /
               ("spectrel_robust_" + std::to_string(std::random_device{}()) + "_" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempFolder() { fs::remove_all(path); }
    fs::path path;
};

// One random change of a text: the kinds of damage files meet on their way.
std::string Mutate(std::string text, std::mt19937& rng) {
    auto pick = [&rng](std::size_t n) { return n == 0 ? std::size_t(0) : std::size_t(rng() % n); };
    static const char* const kInserts[] = {
        "99999999999999999999999", "-1", "0", "-0", "1e308", "nan", "inf", "-2147483648", "4294967296",
        "+0 -0", "+1e300 -1e300", "0x7FFFFFFF", "FFFF FFFF", "0000 0000 FFFF 0001", ",", ":", "\n", "\r\n",
        "=", "[", "]", "\"", "data: ", "frequency: 0\n", "type: raw\n", "name: \n", "duty_cycle: -5\n", ";",
    };
    const int changes = 1 + int(rng() % 4);
    for (int c = 0; c < changes; ++c) {
        const std::size_t at = pick(text.size() + 1);
        switch (rng() % 9) {
        case 0:  // flip a byte
            if (!text.empty()) text[pick(text.size())] ^= char(1 << (rng() % 8));
            break;
        case 1:  // truncate
            text.resize(at);
            break;
        case 2:  // a NUL
            text.insert(at, 1, '\0');
            break;
        case 3:  // a very long line
            text.insert(at, std::string(20000 + pick(20000), "9 A,-+"[pick(6)]));
            break;
        case 4:  // a byte of any value
            text.insert(at, 1, char(rng() & 0xFF));
            break;
        case 5:  // drop a stretch
            text.erase(at, pick(40));
            break;
        case 6:  // duplicate a stretch (odd counts, repeated keys)
            text.insert(at, text.substr(pick(text.size() + 1), pick(60)));
            break;
        default:  // a number or separator that does not fit
            text.insert(at, kInserts[pick(std::size(kInserts))]);
            break;
        }
    }
    return text;
}

// --- signal files

// A failure names the file and the line; what is read is sound durations only.
void ExpectSoundResult(const vb::SignalFileResult& r, const std::string& source, const std::string& input) {
    if (!r.ok) {
        // "<source>:<line>: <what>", on one line.
        const std::string& m = r.message;
        std::size_t at = source.size() + 1;
        const std::size_t digits = at;
        while (at < m.size() && std::isdigit(static_cast<unsigned char>(m[at]))) ++at;
        EXPECT_TRUE(m.rfind(source + ":", 0) == 0 && at > digits && m.compare(at, 2, ": ") == 0 &&
                    m.size() > at + 2 && m.find('\n') == std::string::npos)
            << m.substr(0, 300);
        return;
    }
    for (const vb::IrSignal& s : r.signals) {
        EXPECT_GE(s.carrierHz, 0) << s.name;
        for (const auto* part : {&s.once, &s.repeat}) {
            for (double d : *part) {
                ASSERT_TRUE(std::isfinite(d) && d > 0) << s.name << " " << d << "\n" << input.substr(0, 400);
            }
        }
    }
}

TEST(RobustSignalFiles, MutatedRecordingsAreReadOrRefusedWithFileAndLine) {
#ifndef SPECTREL_SIGNALS_DIR
    GTEST_SKIP() << "no recordings";
#else
    const fs::path folder = SPECTREL_SIGNALS_DIR;
    if (!fs::is_directory(folder)) GTEST_SKIP() << "no recordings in " << folder;
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(folder)) {
        if (e.path().extension() == ".ir") files.push_back(e.path());
    }
    std::sort(files.begin(), files.end());
    std::mt19937 rng(20261210);
    for (const fs::path& file : files) {
        const std::string original = ReadAll(file);
        for (int k = 0; k < 25; ++k) {
            const std::string text = Mutate(original, rng);
            const vb::SignalFileResult r = vb::parseFlipperIr(text, "remote.ir");
            ExpectSoundResult(r, "remote.ir", text);
        }
    }
#endif
}

TEST(RobustSignalFiles, MutatedSignalListsAreReadOrRefusedWithFileAndLine) {
    const std::string original =
        "# codes\n"
        "Power: 0000 006D 0022 0002 0155 00AA 0015 0015 0015 0040 0015 0015 0015 0040 0015 0015 0015 0040 0015 0015 "
        "0015 0040 0015 0015 0015 0040 0015 0015 0015 0040 0015 0015 0015 0040 0015 0015 0015 0040 0015 0015 0015 "
        "0040 0015 0015 0015 0040 0015 0015 0015 0040 0015 0015 0015 0040 0015 0015 0015 0040 0015 0015 0015 0040 "
        "0015 0015 0015 0040 0015 0015 0015 0040 0015 0015 0015 0040 0015 0E6C 0155 0055 0015 0E6C\n"
        "0100 0073 0002 0001 0020 0020 0040 0020 0020 0CA0\n"
        "Mute: f38000 +9000 -4500 +562.5 -562.5 +562.5 -1687.5 +562.5 -40000\n"
        "Flash: f0 +20 -1000 +20 -3000\n";
    std::mt19937 rng(7);
    for (int k = 0; k < 400; ++k) {
        const std::string text = Mutate(original, rng);
        ExpectSoundResult(vb::parseSignalList(text, "codes.txt"), "codes.txt", text);
        const std::string line = text.substr(0, text.find('\n', text.find("Power")));
        (void)vb::parseProntoCode(line);
    }
}

// Inputs found to be read wrongly: each stays as a case.
TEST(RobustSignalFiles, FixedHostileEntries) {
    const char* const lists[] = {
        "A: f38000 +0 -100\n",
        "A: f38000 +100 -0\n",
        "A: f38000 +-100 -100\n",
        "A: f-38000 +100 -100\n",
        "A: f38000 +1e400 -100\n",
        "A: f38000 +nan -100\n",
        "A: 0000 006D 0001 0000 0000 0000\n",
        "A: 0000 0000 0001 0000 0010 0010\n",
        "A: 0000 006D FFFF FFFF 0010 0010\n",
        "A: 0000 006D 0001\n",
    };
    for (const char* text : lists) ExpectSoundResult(vb::parseSignalList(text, "codes.txt"), "codes.txt", text);
    const char* const flipper[] = {
        "Filetype: IR signals file\nVersion: 1\nname: A\ntype: raw\nfrequency: 38000\nduty_cycle: 0.33\ndata: 0 100\n",
        "Filetype: IR signals file\nVersion: 1\nname: A\ntype: raw\nfrequency: 38000\nduty_cycle: 0.33\ndata: -5 100\n",
        "Filetype: IR signals file\nVersion: 1\nname: A\ntype: raw\nfrequency: -38000\nduty_cycle: 0.33\ndata: 5 100\n",
        "Filetype: IR signals file\nVersion: 1\nname: A\ntype: raw\nfrequency: 38000\nduty_cycle: 0.33\n"
        "data: 99999999999999999999999 100\n",
        "Filetype: IR signals file\nVersion: 1\nname: A\ntype: parsed\nprotocol: NEC\naddress: FF FF FF FF FF\n"
        "command: 1\n",
    };
    for (const char* text : flipper) ExpectSoundResult(vb::parseFlipperIr(text, "remote.ir"), "remote.ir", text);
}

// --- protocol lines and settings files

std::string GoodProtocolLine() {
    const std::string ini = ReadAll(fs::path(SPECTREL_SOURCE_DIR) / "tests/data/protocols_good.ini");
    std::istringstream in(ini);
    std::string line;
    bool inside = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == "[Protocols Section]") inside = true;
        const auto eq = line.find('=');
        if (inside && eq != std::string::npos) {
            Tprotocol_descriptor d;
            if (DescriptorFromText(d, line.substr(eq + 1))) return DescriptorToText(d);
        }
    }
    return {};
}

TEST(RobustProtocolLines, MutatedLinesAreReadOrLeaveTheDescriptorCleared) {
    const std::string good = GoodProtocolLine();
    ASSERT_FALSE(good.empty());
    Tprotocol_descriptor cleared;
    ClearDescriptor(cleared);
    const std::string clearedText = DescriptorToText(cleared);
    std::mt19937 rng(113);
    for (int k = 0; k < 300; ++k) {
        const std::string line = Mutate(good, rng);
        Tprotocol_descriptor d;
        const TDataResult r = DescriptorFromText(d, line);
        if (!r) {
            EXPECT_FALSE(r.message.empty());
            EXPECT_EQ(DescriptorToText(d), clearedText) << line.substr(0, 300);
            continue;
        }
        // What was read is written back in a form that reads again to the same.
        const std::string again = DescriptorToText(d);
        Tprotocol_descriptor d2;
        ASSERT_TRUE(DescriptorFromText(d2, again)) << again;
        EXPECT_EQ(DescriptorToText(d2), again);
    }
}

TEST(RobustProtocolLines, AFailedLoadLeavesTheSettingsFileAsItWas) {
    TempFolder folder;
    const std::string good = GoodProtocolLine();
    ASSERT_FALSE(good.empty());
    std::mt19937 rng(26);
    for (int k = 0; k < 60; ++k) {
        const std::string line = Mutate(good, rng);
        const std::string ini = "[Setup]\r\nSerial=COM3\r\n[Protocols Section]\r\nNEC=" + good + "\r\nBAD=" + line +
                                "\r\n[Other]\r\nKey=Value\r\n";
        const fs::path path = folder.path / "SPX.ini";
        WriteAll(path, ini);
        Tstandard_protocols table;
        const TDataResult loaded = LoadStandardProtocols(table, path.string());
        if (!loaded) {
            // A line that cannot be read leaves the table empty and the file as it was.
            EXPECT_FALSE(loaded.message.empty());
            EXPECT_EQ(table.count, 0);
            TIniFile settings(path.string());
            EXPECT_FALSE(LoadAndRefreshStandardProtocols(table, settings));
            EXPECT_EQ(ReadAll(path), ini) << line.substr(0, 300);
            continue;
        }
        // A refreshed file keeps the other sections and still loads (it is written back by protocol name, so a
        // line whose name is not its key may land under another key).
        TIniFile settings(path.string());
        (void)LoadAndRefreshStandardProtocols(table, settings);
        EXPECT_EQ(settings.ReadString("Other", "Key", ""), "Value");
        EXPECT_EQ(settings.ReadString("Setup", "Serial", ""), "COM3");
        Tstandard_protocols again;
        EXPECT_TRUE(LoadStandardProtocols(again, path.string())) << ReadAll(path).substr(0, 600);
    }
}

TEST(RobustSettingsFiles, ReadingAMutatedFileNeverChangesIt) {
    TempFolder folder;
    const std::string original = ReadAll(fs::path(SPECTREL_SOURCE_DIR) / "tests/data/settings_with_comments.ini") +
                                 ReadAll(fs::path(SPECTREL_SOURCE_DIR) / "tests/data/protocols_good.ini");
    ASSERT_FALSE(original.empty());
    std::mt19937 rng(50);
    for (int k = 0; k < 80; ++k) {
        const std::string text = Mutate(original, rng);
        const fs::path path = folder.path / "SPX.ini";
        WriteAll(path, text);
        TIniFile ini(path.string());
        (void)ini.CheckReadable();
        for (const std::string& section : ini.ReadSections()) {
            for (const std::string& key : ini.ReadSection(section)) {
                (void)ini.ReadString(section, key, "");
                (void)ini.ReadInteger(section, key, 0);
                (void)ini.ReadBool(section, key, false);
                (void)ini.ValueExists(section, key);
            }
            (void)ini.ReadSectionValues(section);
        }
        Tstandard_protocols table;
        (void)LoadStandardProtocols(table, ini);
        EXPECT_EQ(ReadAll(path), text);
    }
}

// --- reader streams

class RobustCapture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(link.OpenReaderPort().ok); }

    // The board acknowledges the start and then sends `stream`.
    int capture(const std::vector<std::uint8_t>& stream) {
        std::vector<testing::TimedByte> reply{{0xFF, 1}};
        std::int64_t at = 2;
        for (std::uint8_t b : stream) reply.push_back({b, at += (b & 1)});
        serial.setResponder([reply](std::uint8_t written) -> std::vector<testing::TimedByte> {
            if (written == 0x00) return {{0x00, 1}};
            if (written == 0x18) return reply;
            return {};
        });
        return Capture(context, link, 0, 0, nullptr, nullptr);
    }

    testing::SimulatedClock clock;
    testing::FakeSerialPort serial{clock};
    testing::ScriptedMessageBoxes boxes;
    TReaderLink link{serial, clock, clock, boxes};
    TAnalysisContext context{boxes, clock, clock};
};

// Records with random fields (start 0x20, end 0x21, end of data 0x00), bytes of any value and cut records.
std::vector<std::uint8_t> RandomStream(std::mt19937& rng) {
    std::vector<std::uint8_t> s;
    const int records = int(rng() % 60);
    std::uint32_t counter = rng() & 0xFFFFFF;
    for (int k = 0; k < records; ++k) {
        const unsigned kind = rng() % 10;
        counter = (counter + (rng() % 8 == 0 ? rng() : rng() % 4000)) & 0xFFFFFF;
        if (kind < 4) {
            s.insert(s.end(), {0x20, std::uint8_t(counter >> 16), std::uint8_t(counter >> 8), std::uint8_t(counter)});
        } else if (kind < 8) {
            const unsigned cycles = rng() % 3 == 0 ? rng() & 0xFFFF : rng() % 200;
            s.insert(s.end(), {0x21, std::uint8_t(counter >> 16), std::uint8_t(counter >> 8), std::uint8_t(counter),
                               std::uint8_t(cycles >> 8), std::uint8_t(cycles)});
        } else if (kind == 8) {
            s.push_back(std::uint8_t(rng()));
        } else if (!s.empty()) {
            s.pop_back();  // a missing byte
        }
    }
    if (rng() % 3 != 0) s.push_back(0x00);
    return s;
}

TEST_F(RobustCapture, RandomStreamsEndInAFrameCountOrAFailureWithABox) {
    std::mt19937 rng(0xFF);
    for (int k = 0; k < 150; ++k) {
        const std::vector<std::uint8_t> stream = RandomStream(rng);
        context.recordCount = 0;
        boxes.clear();
        const int frames = capture(stream);
        ASSERT_GE(frames, -1) << k;
        // The only boxes of a capture: "Data corrupted" or the erratic reply, and only when it fails.
        for (const auto& box : boxes.shown()) {
            EXPECT_EQ(frames, -1) << k << " " << box.text;
            EXPECT_EQ(box.kind, platform::MessageKind::Error) << k;
            if (box.text != "Data corrupted") {
                EXPECT_EQ(box.text.rfind("Erratic reply from PIC (value ", 0), 0u) << box.text;
            }
        }
        EXPECT_LE(boxes.shown().size(), 1u) << k;
        if (frames < 0) continue;
        ASSERT_GT(context.recordCount, 0);
        ASSERT_LT(context.recordCount, kCaptureTableSize);
        Tprotocol_descriptor current;
        (void)AnalyseProtocol(context, current);
        FillFramesBuffer(context);
    }
}

// --- interval tables and the device file

std::string RandomText(std::mt19937& rng, std::size_t maxLength) {
    std::string text;
    const std::size_t n = rng() % (maxLength + 1);
    for (std::size_t k = 0; k < n; ++k) {
        const unsigned kind = rng() % 4;
        text += kind == 0 ? char(rng() % 32) : kind == 1 ? char(0x80 + rng() % 128) : char(' ' + rng() % 95);
    }
    return text;
}

double RandomDuration(std::mt19937& rng) {
    switch (rng() % 8) {
    case 0: return 0;
    case 1: return 1e9 * (1 + rng() % 100);
    case 2: return 1 + rng() % 5;
    case 3: return 1e-3;
    default: return 100 + rng() % 3000;
    }
}

TEST(RobustAnalysis, RandomTablesAreAnalysedAndGiveAWellFormedDeviceFile) {
    std::mt19937 rng(4096);
    for (int k = 0; k < 60; ++k) {
        testing::ScriptedMessageBoxes boxes;
        testing::SimulatedClock clock;
        TAnalysisContext context{boxes, clock, clock};
        test::TableWriter writer(context);
        const int presses = 1 + int(rng() % 4);
        for (int p = 0; p < presses; ++p) {
            writer.begin(p, p / 2);
            const int intervals = rng() % 10 == 0 ? 2000 + int(rng() % 2000) : int(rng() % 150);
            for (int i = 0; i < intervals && context.recordCount < kCaptureTableLimit - 2; ++i) {
                if (i % 2 == 0) {
                    writer.pulse(RandomDuration(rng), rng() % 5 == 0 ? int(rng() % 70000) : int(rng() % 40));
                } else {
                    writer.pause(rng() % 6 == 0 ? 30000 + RandomDuration(rng) : RandomDuration(rng));
                }
            }
            writer.close();
        }
        Tprotocol_descriptor current;
        (void)AnalyseProtocol(context, current);
        FillFramesBuffer(context);
        (void)ClassifyFormat(context);

        Tprotocol_descriptor protocol;
        DescriptorFromWorkingState(protocol, context.working);
        TIRheader header;
        header.protocol_name = RandomText(rng, 20);
        header.device_brand = RandomText(rng, 20);
        header.note_count = 1;
        header.notes[0] = RandomText(rng, 40);
        std::vector<TDeviceFileCommand> commands;
        for (int b = 0; b < 1 + int(rng() % 5); ++b) {
            commands.push_back({RandomText(rng, 16), b == 0 ? context.working.data_code : RandomText(rng, 40),
                                RandomText(rng, 8)});
        }
        bool corrupted = false;
        const std::string doc = DeviceFileText(header, commands, protocol, true, "10.12.2026 01:00:00", corrupted);
        EXPECT_EQ(testing::XmlWellFormedCheck::Check(doc), "") << k;
    }
}

TEST(RobustAnalysis, TheWrittenDeviceFileFromRandomButtonsIsWellFormed) {
    TempFolder folder;
    std::mt19937 rng(999);
    for (int k = 0; k < 20; ++k) {
        testing::ScriptedMessageBoxes boxes;
        TbuttonCodes buttons;
        for (int b = 0; b < 1 + int(rng() % 6); ++b) {
            buttons.AddWithCodes(RandomText(rng, 12), "A" + RandomText(rng, 20), RandomText(rng, 6));
        }
        TIRheader header;
        header.remote_model = RandomText(rng, 30);
        Tprotocol_descriptor protocol;
        ClearDescriptor(protocol);
        const fs::path file = folder.path / "device.xml";
        TDeviceFileEnvironment env{boxes};
        env.dateTime = [] { return std::string("10.12.2026 01:00:00"); };
        const TFileResult r = WriteDeviceFile(env, header, buttons, protocol, file.string(), true);
        if (!r) continue;
        EXPECT_EQ(testing::XmlWellFormedCheck::Check(ReadAll(file)), "") << k;
    }
}

// --- the command-line learner

#ifdef SPECTREL_CLI_PATH
TEST(RobustCli, AGarbageOrEmptyFileGivesOneLineAndAFailingExit) {
    TempFolder folder;
    std::mt19937 rng(3);
    std::string garbage;
    for (int k = 0; k < 3000; ++k) garbage += char(rng() & 0xFF);
    const struct {
        const char* name;
        std::string text;
    } cases[] = {{"garbage.txt", garbage}, {"garbage.ir", garbage}, {"empty.txt", ""}, {"empty.ir", ""}};
    for (const auto& c : cases) {
        const fs::path file = folder.path / c.name;
        WriteAll(file, c.text);
        const fs::path err = folder.path / "err.txt";
        const std::string command = std::string("'") + SPECTREL_CLI_PATH + "' learn '" + file.string() +
                                    "' </dev/null >/dev/null 2>'" + err.string() + "'";
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status)) << c.name;
        EXPECT_NE(WEXITSTATUS(status), 0) << c.name;
        const std::string text = ReadAll(err);
        EXPECT_EQ(text.rfind("spectrel-cli: ", 0), 0u) << c.name << ": " << text;
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << c.name << ": " << text;
    }
}
#endif

}  // namespace
}  // namespace spectrel
