// spectrel-cli run as a program: learning from signal files of the built-in generators and from the recorded
// remotes, the report, the device file and the errors.

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "virtualboard/Generators.h"
#include "virtualboard/IrSignal.h"
#include "virtualboard/ProtocolGenerators.h"
#include "virtualboard/SignalFiles.h"

namespace spectrel {
namespace {

#ifdef SPECTREL_CLI_PATH

namespace fs = std::filesystem;
namespace vb = virtualboard;

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Quoted(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("spectrel_cli_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    // Runs the program with `input` on its standard input.
    CliRun Run(const std::vector<std::string>& args, const std::string& input = {}) {
        std::string command = Quoted(SPECTREL_CLI_PATH);
        for (const std::string& arg : args) command += " " + Quoted(arg);
        const fs::path in = folder / "stdin.txt";
        const fs::path out = folder / "stdout.txt";
        const fs::path err = folder / "stderr.txt";
        std::ofstream(in) << input;
        command += " <" + Quoted(in.string()) + " >" + Quoted(out.string()) + " 2>" + Quoted(err.string());
        const int status = std::system(command.c_str());
        CliRun run;
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.out = ReadAll(out);
        run.err = ReadAll(err);
        return run;
    }

    // A signal list in the text form, one named signal a line.
    std::string WriteSignals(const std::string& file, const std::vector<vb::IrSignal>& signals) {
        const fs::path path = folder / file;
        std::ofstream out(path);
        for (const vb::IrSignal& s : signals) out << s.name << ": " << vb::formatSignal(s) << "\n";
        return path.string();
    }

    fs::path folder;
};

// The "Buttons" section of the text report: name and code of every button.
std::vector<std::pair<std::string, std::string>> Buttons(const std::string& report) {
    std::vector<std::pair<std::string, std::string>> buttons;
    std::istringstream in(report);
    std::string line;
    bool inside = false;
    while (std::getline(in, line)) {
        if (line == "Buttons") {
            inside = true;
            continue;
        }
        if (!line.empty() && line[0] != ' ') inside = false;
        if (!inside || line.size() < 3) continue;
        const auto colon = line.rfind(": ");
        if (colon == std::string::npos) continue;
        buttons.emplace_back(line.substr(2, colon - 2), line.substr(colon + 2));
    }
    return buttons;
}

vb::IrSignal Named(vb::IrSignal signal, const std::string& name) {
    signal.name = name;
    return signal;
}

struct GeneratorCase {
    const char* name;
    std::vector<vb::IrSignal> keys;  // three different keys
};

class CliGenerators : public CliTest, public ::testing::WithParamInterface<GeneratorCase> {};

// Key K1 is in the file twice: both presses must give the same code, and different keys different codes.
TEST_P(CliGenerators, EveryButtonGetsItsOwnCode) {
    const auto& keys = GetParam().keys;
    const std::string file = WriteSignals(
        "remote.txt", {Named(keys[0], "K1"), Named(keys[1], "K2"), Named(keys[2], "K3"), Named(keys[0], "K1 again")});
    const CliRun run = Run({"learn", file});
    ASSERT_EQ(run.exitCode, 0) << run.err << run.out;
    const auto buttons = Buttons(run.out);
    ASSERT_EQ(buttons.size(), 4u) << run.out;
    for (const auto& [name, code] : buttons) EXPECT_NE(code, "<not recorded>") << name << "\n" << run.out;
    EXPECT_EQ(buttons[3].second, buttons[0].second);
    const std::set<std::string> distinct{buttons[0].second, buttons[1].second, buttons[2].second};
    EXPECT_EQ(distinct.size(), 3u) << run.out;
    EXPECT_NE(run.out.find("Frames structure: "), std::string::npos);
    EXPECT_NE(run.out.find("Protocol line\n  T,F,\"NO NAME\","), std::string::npos) << run.out;
    // The second press of K1 is the one duplicate the accepting user agreed to.
    EXPECT_NE(run.out.find("Do you wish to use that code for button \"K1 again\" as well? -> OK"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Cli, CliGenerators,
    ::testing::Values(
        GeneratorCase{"Nec", {vb::necSignal(0x04, 0x08), vb::necSignal(0x04, 0x09), vb::necSignal(0x04, 0x40)}},
        GeneratorCase{"NecExtended",
                      {vb::necExtendedSignal(0x7F01, 0x10), vb::necExtendedSignal(0x7F01, 0x11),
                       vb::necExtendedSignal(0x7F01, 0x12)}},
        GeneratorCase{"Rc5",
                      {vb::rc5Signal(5, 0x23, false), vb::rc5Signal(5, 0x24, false), vb::rc5Signal(5, 0x10, false)}},
        GeneratorCase{"Sirc12", {vb::sirc12Signal(1, 0x15), vb::sirc12Signal(1, 0x16), vb::sirc12Signal(1, 0x12)}},
        GeneratorCase{"Flash",
                      {vb::flashSignal(0x12, 0x34), vb::flashSignal(0x12, 0x35), vb::flashSignal(0x12, 0x01)}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CliTest, JsonReportAndDeviceFile) {
    const std::string file =
        WriteSignals("tv.txt", {Named(vb::necSignal(1, 2), "Power"), Named(vb::necSignal(1, 3), "Mute & \"Off\"")});
    const std::string device = (folder / "tv.xml").string();
    const CliRun run =
        Run({"learn", file, "--json", "--out", device, "--device-brand", "Acme", "--note", "Living room"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (const char* field :
         {"\"protocol\": {", "\"valid\": true", "\"name\": \"NO NAME\"", "\"carrier_period_us\": 26.5",
          "\"format\": \"iX\"", "\"description\": [\"Carrier frequency: 37.7 kHz\"", "\"buttons\": [",
          "{\"name\": \"Mute & \\\"Off\\\"\", \"code\": \"", "\"learned\": true", "\"messages\": [",
          "{\"kind\": \"warning\", \"text\": \"All learned information will be "
          "lost. Continue?\", \"buttons\": [\"OK\", \"Cancel\"], \"answer\": \"OK\"}",
          "\"log\": [", "\"device_file\": \""}) {
        EXPECT_NE(run.out.find(field), std::string::npos) << field << "\n" << run.out;
    }
    const std::string xml = ReadAll(device);
    EXPECT_NE(xml.find("\r\n                Mute &amp; &quot;Off&quot;\r\n"), std::string::npos);
    EXPECT_NE(xml.find("<!-- Living room -->"), std::string::npos);
    EXPECT_NE(xml.find("      <Name>Acme</Name>"), std::string::npos);
    EXPECT_NE(xml.find("          <Protocol>NO NAME</Protocol>"), std::string::npos);
    EXPECT_NE(xml.find("<ProtocolDef>"), std::string::npos);

    // Writing again over the file is accepted and keeps a backup.
    const CliRun again = Run({"learn", file, "--out", device});
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_NE(again.out.find("already exists. Overwrite? -> OK"), std::string::npos);
    EXPECT_TRUE(fs::exists(folder / "tv.~xml"));
}

// Names are UTF-8 text: the JSON document carries their letters, not the bytes one by one.
TEST_F(CliTest, JsonKeepsNonAsciiNames) {
    const std::string file = WriteSignals(
        "tv.txt", {Named(vb::necSignal(1, 2), "Lautst\u00e4rke"), Named(vb::necSignal(1, 3), "\u97f3\u91cf")});
    const CliRun run = Run({"learn", file, "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const bool umlaut = run.out.find("{\"name\": \"Lautst\u00e4rke\"") != std::string::npos ||
                        run.out.find("{\"name\": \"Lautst\\u00e4rke\"") != std::string::npos;
    EXPECT_TRUE(umlaut) << run.out;
    const bool cjk = run.out.find("{\"name\": \"\u97f3\u91cf\"") != std::string::npos ||
                     run.out.find("{\"name\": \"\\u97f3\\u91cf\"") != std::string::npos;
    EXPECT_TRUE(cjk) << run.out;
}

// The protocol line of the text report.
std::string ProtocolLine(const std::string& report) {
    const std::string heading = "Protocol line\n  ";
    const auto begin = report.find(heading);
    if (begin == std::string::npos) return {};
    const auto start = begin + heading.size();
    return report.substr(start, report.find('\n', start) - start);
}

TEST_F(CliTest, AStandardProtocolOfTheSettingsFileReplacesTheLearnedOne) {
    const std::string file =
        WriteSignals("tv.txt", {Named(vb::necSignal(1, 2), "Power"), Named(vb::necSignal(1, 3), "Mute")});
    const CliRun first = Run({"learn", file});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    std::string line = ProtocolLine(first.out);
    ASSERT_EQ(line.rfind("T,F,\"NO NAME\",", 0), 0u) << first.out;
    line = "T,T,\"NEC1\"," + line.substr(std::string("T,F,\"NO NAME\",").size());
    const std::string settings = (folder / "SPX.ini").string();
    std::ofstream(settings) << "[Protocols Section]\r\nNEC1=" << line << "\r\n";

    const CliRun matched = Run({"learn", file, "--settings", settings});
    ASSERT_EQ(matched.exitCode, 0) << matched.err;
    EXPECT_EQ(ProtocolLine(matched.out).rfind("T,T,\"NEC1\",", 0), 0u) << matched.out;
    const CliRun learned = Run({"learn", file, "--settings", settings, "--no-match"});
    EXPECT_EQ(ProtocolLine(learned.out).rfind("T,F,\"NO NAME\",", 0), 0u) << learned.out;

    const CliRun missing = Run({"learn", file, "--settings", (folder / "none.ini").string()});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find("cannot read settings file"), std::string::npos);
}

// The protocol keys are held as long as the learning asks the user to, so a remote of a shipped protocol is named
// by its entry; Kaseikyo learns another frame format from presses of a quarter of a second.
TEST_F(CliTest, TheProtocolKeysAreHeldAsTheLearningAsksSoTheShippedTableNamesTheRemote) {
    const std::string file =
        WriteSignals("panasonic.txt", {Named(vb::kaseikyoSignal(vb::kPanasonicVendor, 0x80, 0, 0x3D), "Power"),
                                       Named(vb::kaseikyoSignal(vb::kPanasonicVendor, 0x80, 0, 0x20), "Mute")});
    const std::string shipped = std::string(SPECTREL_SOURCE_DIR) + "/data/SPX.ini";
    const CliRun asAsked = Run({"learn", file, "--settings", shipped});
    ASSERT_EQ(asAsked.exitCode, 0) << asAsked.err;
    EXPECT_EQ(ProtocolLine(asAsked.out).rfind("T,T,\"Panasonic Kaseikyo 48\",", 0), 0u) << asAsked.out;

    const CliRun brief = Run({"learn", file, "--settings", shipped, "--hold", "250"});
    EXPECT_EQ(ProtocolLine(brief.out).rfind("T,F,\"NO NAME\",", 0), 0u) << brief.out;
}

TEST_F(CliTest, ProtocolKeysChooseTheLearningKeys) {
    const std::string file = WriteSignals(
        "remote.txt",
        {Named(vb::necSignal(1, 2), "Power"), Named(vb::necSignal(1, 3), "Mute"), Named(vb::necSignal(1, 4), "Menu")});
    const CliRun run = Run({"learn", file, "--protocol-keys", "menu,Mute"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Buttons(run.out).size(), 3u);
    const CliRun unknown = Run({"learn", file, "--protocol-keys", "Power,Volume"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_EQ(unknown.err, "spectrel-cli: unknown key \"Volume\" (" + file + " holds: Power, Mute, Menu)\n");
    EXPECT_EQ(unknown.out, "");
}

TEST_F(CliTest, ErrorsAreOneLineOnStandardError) {
    struct ErrorCase {
        std::vector<std::string> args;
        int exitCode;
        std::string error;
    };
    const std::string broken = (folder / "broken.txt").string();
    std::ofstream(broken) << "Power: f38000 +9000 +4500\n";
    const std::string single = WriteSignals("single.txt", {Named(vb::necSignal(1, 2), "Power")});
    // A file with an entry that is skipped (noted on success) and too few keys left.
    const std::string skipped = (folder / "skipped.ir").string();
    std::ofstream(skipped) << "Filetype: IR signals file\nVersion: 1\n#\nname: Power\ntype: parsed\nprotocol: NEC\n"
                              "address: 04 00 00 00\ncommand: 08 00 00 00\n#\nname: Odd\ntype: parsed\n"
                              "protocol: Kaseikyo\naddress: 00 00 00 00\ncommand: 00 00 00 00\n";
    // The device file carries at most 99 note lines; 100 would be dropped as a whole.
    std::vector<std::string> hundredNotes = {"learn", single};
    for (int n = 0; n < 100; ++n) hundredNotes.insert(hundredNotes.end(), {"--note", "n" + std::to_string(n)});
    const ErrorCase cases[] = {
        {hundredNotes, 2, "at most 99 notes"},
        {{"learn", skipped}, 2, "learning a protocol needs two different keys"},
        {{"learn", skipped, "--protocol-keys", "Power,Odd"}, 2, "unknown key \"Odd\""},
        {{"learn", (folder / "missing.ir").string()}, 2, ""},
        {{"learn", broken}, 2, broken + ":1:"},
        {{"learn", single}, 2, "learning a protocol needs two different keys"},
        {{"learn"}, 2, "learn needs a signal file or --port PORT"},
        {{"learn", single, "--bogus"}, 2, "unknown option --bogus"},
        {{"frobnicate"}, 2, "unknown command"},
        {{"detect"}, 2, "detect needs one port name"},
    };
    for (const ErrorCase& c : cases) {
        const CliRun run = Run(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args.back();
        EXPECT_EQ(run.err.rfind("spectrel-cli: ", 0), 0u) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_NE(run.err.find(c.error), std::string::npos) << run.err;
    }
}

// The terminal dialogue, with the in-process board pressing the key each prompt asks for.
TEST_F(CliTest, PromptsAreAnsweredAtTheTerminal) {
    const std::string file = WriteSignals(
        "remote.txt",
        {Named(vb::necSignal(1, 2), "Power"), Named(vb::necSignal(1, 3), "Mute"), Named(vb::necSignal(1, 4), "Menu")});
    // OK to the four protocol prompts, Power OK, Mute Ignore, an answer that is not offered, Menu OK.
    const CliRun run = Run({"learn", "--port", "VIRTUAL", file}, "ok\nOK\no\n o \nok\ni\nmaybe\nOk\n");
    ASSERT_EQ(run.exitCode, 0) << run.err << run.out;
    EXPECT_NE(run.out.find("Reader 1.3 on VIRTUAL\n"), std::string::npos);
    EXPECT_NE(run.out.find("[warning] Click \"OK\" and then press ANOTHER button\nAnswer (OK / Abort): "),
              std::string::npos);
    EXPECT_NE(run.out.find("Please type one of the answers shown."), std::string::npos);
    const auto buttons = Buttons(run.out);
    ASSERT_EQ(buttons.size(), 3u) << run.out;
    EXPECT_NE(buttons[0].second, "<not recorded>");
    EXPECT_EQ(buttons[1].second, "<not recorded>");
    EXPECT_NE(buttons[2].second, "<not recorded>");
    EXPECT_NE(buttons[2].second, buttons[0].second);

    // With --json the dialogue goes to standard error; the end of the input aborts at the first prompt asked.
    const CliRun json = Run({"learn", "--port", "VIRTUAL", file, "--json"}, "ok\nok\nok\nok\n");
    EXPECT_EQ(json.exitCode, 0) << json.err;
    EXPECT_EQ(json.out.rfind("{\n  \"protocol\": {", 0), 0u) << json.out;
    EXPECT_NE(json.err.find("Answer (OK / Abort / Ignore): "), std::string::npos);
    EXPECT_NE(json.out.find("\"text\": \"Click OK and then press button \\r\\r       Power\\r\", \"buttons\": [\"OK\", "
                            "\"Abort\", \"Ignore\"], \"answer\": \"Abort\"}"),
              std::string::npos)
        << json.out;
}

// A key with a 100 us pause after its first bit mark, shorter than five carrier periods: every press of it is
// refused ("Too short intervals", Abort or Retry), so it never gets a code.
vb::IrSignal ShortPause(vb::IrSignal signal, const std::string& name) {
    signal.once[3] = 100;
    return Named(signal, name);
}

struct ExitCase {
    const char* name;
    std::vector<vb::IrSignal> signals;
    int exitCode;
    std::vector<std::string> notLearned;
    std::string error;  // the start of the line on standard error, empty: none
};

class CliExitCodes : public CliTest, public ::testing::WithParamInterface<ExitCase> {};

// "Learn All" is started again after an Abort until every button has a code or a round gets no further; a
// button at which a round stopped is ignored by the next.
TEST_P(CliExitCodes, TellWhetherEveryButtonWasLearned) {
    const ExitCase& c = GetParam();
    const std::string file = WriteSignals("remote.txt", c.signals);
    const CliRun run = Run({"learn", file});
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err << run.out;
    if (c.error.empty()) {
        EXPECT_EQ(run.err, "");
    } else {
        EXPECT_EQ(run.err.rfind("spectrel-cli: " + c.error, 0), 0u) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    const auto buttons = Buttons(run.out);
    ASSERT_EQ(buttons.size(), c.signals.size()) << run.out;
    for (const auto& [name, code] : buttons) {
        const bool missing = std::find(c.notLearned.begin(), c.notLearned.end(), name) != c.notLearned.end();
        EXPECT_EQ(code == "<not recorded>", missing) << name << "\n" << run.out;
    }
    // Every button of the file was asked for with the prompt of "Learn All".
    for (const vb::IrSignal& s : c.signals) {
        if (c.exitCode == 3) break;
        EXPECT_NE(run.out.find("information: Click OK and then press button \n    \n           " + s.name + "\n"),
                  std::string::npos)
            << s.name << "\n" << run.out;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cli, CliExitCodes,
    ::testing::Values(
        ExitCase{"EveryButtonLearned",
                 {Named(vb::necSignal(1, 2), "K1"), Named(vb::necSignal(1, 3), "K2"), Named(vb::necSignal(1, 4), "K3")},
                 0,
                 {},
                 ""},
        ExitCase{"ThirdKeyAlwaysFails",
                 {Named(vb::necSignal(1, 2), "K1"), Named(vb::necSignal(1, 3), "K2"),
                  ShortPause(vb::necSignal(1, 4), "K3"), Named(vb::necSignal(1, 5), "K4"),
                  Named(vb::necSignal(1, 6), "K5")},
                 5,
                 {"K3"},
                 "1 of 5 buttons not learned: K3"},
        ExitCase{"TwoKeysAlwaysFail",
                 {Named(vb::necSignal(1, 2), "K1"), Named(vb::necSignal(1, 3), "K2"),
                  ShortPause(vb::necSignal(1, 4), "K3"), ShortPause(vb::necSignal(1, 5), "K4"),
                  Named(vb::necSignal(1, 6), "K5")},
                 5,
                 {"K3", "K4"},
                 "2 of 5 buttons not learned: K3, K4"},
        // Bursts longer than 50 ms fail every capture.
        ExitCase{"NoProtocol",
                 {vb::IrSignal{"A", 38'000, {60'000}, {}}, vb::IrSignal{"B", 38'000, {60'000}, {}}},
                 3,
                 {"A", "B"},
                 "no protocol could be learned from "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CliTest, AButtonThatFailsIsAbortedOnceAndThenIgnored) {
    const std::string file = WriteSignals(
        "remote.txt", {Named(vb::necSignal(1, 2), "K1"), Named(vb::necSignal(1, 3), "K2"),
                       ShortPause(vb::necSignal(1, 4), "K3"), Named(vb::necSignal(1, 5), "K4")});
    const CliRun run = Run({"learn", file, "--json"});
    EXPECT_EQ(run.exitCode, 5) << run.err;
    const std::string prompt = "\"text\": \"Click OK and then press button \\r\\r       K3\\r\", \"buttons\": "
                               "[\"OK\", \"Abort\", \"Ignore\"], \"answer\": ";
    const std::string rate =
        "\"text\": \"Error: Too short intervals\", \"buttons\": [\"Abort\", \"Retry\"], \"answer\": ";
    const auto first = run.out.find(prompt + "\"OK\"");
    ASSERT_NE(first, std::string::npos) << run.out;
    const auto retried = run.out.find(rate + "\"Retry\"", first);
    ASSERT_NE(retried, std::string::npos) << run.out;
    const auto aborted = run.out.find(rate + "\"Abort\"", retried);
    ASSERT_NE(aborted, std::string::npos) << run.out;
    EXPECT_NE(run.out.find(prompt + "\"Ignore\"", aborted), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("{\"name\": \"K4\", \"code\": \"Ed"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"learned\": false"), std::string::npos);
}

// --dump-dir: the dumps of every capture in a folder of their own; a second run adds sets, overwriting none.
TEST_F(CliTest, DumpDirHoldsOneSetPerCapture) {
    const std::string file =
        WriteSignals("remote.txt", {Named(vb::necSignal(1, 2), "K1"), Named(vb::necSignal(1, 3), "K2")});
    const fs::path dumps = folder / "dumps" / "nested";
    const CliRun run = Run({"learn", file, "--dump-dir", dumps.string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // Three presses for the protocol, one per button.
    const std::vector<std::string> sets = {"capture-001", "capture-002", "capture-003", "capture-004", "capture-005"};
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(dumps)) found.push_back(entry.path().filename().string());
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, sets);
    for (const std::string& set : sets) {
        EXPECT_NE(ReadAll(dumps / set / "Dbg.txt").find("\n     -------------- First record ------------- "),
                  std::string::npos)
            << set;
        EXPECT_TRUE(fs::exists(dumps / set / "RawDump.txt")) << set;
    }
    EXPECT_EQ(ReadAll(dumps / "capture-001" / "VocDump.txt").rfind("Vocabulary length ", 0), 0u);
    // The carrier is measured from the first capture on.
    EXPECT_EQ(ReadAll(dumps / "capture-002" / "Dbg.txt").rfind("Carrier 26.50 us, or 37.74 kHz", 0), 0u);
    EXPECT_NE(ReadAll(dumps / "capture-003" / "FrameBuf.txt").find("frames structure: iX"), std::string::npos);
    EXPECT_FALSE(fs::exists(folder / "Dbg.txt"));

    const std::string before = ReadAll(dumps / "capture-001" / "Dbg.txt");
    std::ofstream(dumps / "capture-001" / "Dbg.txt", std::ios::app) << "kept\n";
    const CliRun again = Run({"learn", file, "--dump-dir", dumps.string()});
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(ReadAll(dumps / "capture-001" / "Dbg.txt"), before + "kept\n");
    EXPECT_TRUE(fs::exists(dumps / "capture-010" / "Dbg.txt"));
    EXPECT_FALSE(fs::exists(dumps / "capture-011"));

    // A dump folder that cannot be made is an error of the command line.
    std::ofstream(folder / "plain") << "a file";
    const CliRun bad = Run({"learn", file, "--dump-dir", (folder / "plain").string()});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_EQ(bad.err, "spectrel-cli: cannot create the dump folder " + (folder / "plain").string() + "\n");
}

TEST_F(CliTest, DetectFindsTheVirtualBoard) {
    const CliRun run = Run({"detect", "VIRTUAL"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "Reader 1.3\n");
}

TEST_F(CliTest, VersionIsPrinted) {
    const CliRun run = Run({"--version"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.rfind("spectrel-cli ", 0), 0u) << run.out;
    EXPECT_GT(run.out.size(), std::string("spectrel-cli \n").size()) << "a version follows the name";
}

// A serial device of the group "dialout" that the user "nobody" may not open, as a board's adapter is on Linux.
TEST_F(CliTest, DetectTellsAUserWhoMayNotOpenThePortWhatToDo) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to hand the device to a group and to drop to another user";
    if (std::system("command -v setpriv >/dev/null") != 0) GTEST_SKIP() << "setpriv is not installed";
    const group* dialout = ::getgrnam("dialout");
    if (dialout == nullptr) GTEST_SKIP() << "no group dialout here";
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    const std::string device = ::ptsname(master);
    ASSERT_EQ(::chown(device.c_str(), 0, dialout->gr_gid), 0);
    ASSERT_EQ(::chmod(device.c_str(), 0660), 0);

    std::string command = "setpriv --reuid=nobody --regid=nogroup --clear-groups " + Quoted(SPECTREL_CLI_PATH) +
                          " detect " + Quoted(device) + " >" + Quoted((folder / "out.txt").string()) + " 2>" +
                          Quoted((folder / "err.txt").string());
    const int status = std::system(command.c_str());
    ::close(master);
    const std::string out = ReadAll(folder / "out.txt");
    const std::string err = ReadAll(folder / "err.txt");
    if (err.find("without serial port support") != std::string::npos) GTEST_SKIP() << "built without serial ports";
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 1);
    EXPECT_EQ(out, "No Reader\n");
    EXPECT_NE(err.find("spectrel-cli: cannot open " + device + ": "), std::string::npos) << err;
    EXPECT_NE(err.find("\nYou may not open " + device + ". Add yourself to the group 'dialout' and log in again "
                       "(for example: sudo usermod -a -G dialout nobody)."),
              std::string::npos)
        << err;
}

// --- the recorded remotes

// Two recordings of one key are named "<key>" and "<key>_alt" or "<key>_2".
std::string KeyOf(const std::string& name) {
    std::string key;
    for (char c : name) key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const std::string suffix : {"_alt", "_2"}) {
        if (key.size() > suffix.size() && key.compare(key.size() - suffix.size(), suffix.size(), suffix) == 0) {
            key.resize(key.size() - suffix.size());
        }
    }
    return key;
}

// The file with its first button recorded once more under the name "again".
std::string WithFirstButtonAgain(const std::string& text) {
    std::istringstream in(text);
    std::string line;
    std::string block;
    bool inFirst = false;
    bool done = false;
    while (std::getline(in, line)) {
        if (line.rfind("name:", 0) == 0) {
            if (inFirst) done = true;
            if (!done) {
                inFirst = true;
                block += "name: again\n";
                continue;
            }
        }
        if (line.rfind("#", 0) == 0 && inFirst) done = true;
        if (inFirst && !done) block += line + "\n";
    }
    return text + (text.empty() || text.back() == '\n' ? "" : "\n") + "#\n" + block;
}

// What each recording gives. Some remotes cannot be relied on to learn completely: keys whose presses use levels
// the two protocol keys never show, marks just outside the vocabulary window, or a frame rate the protocol does
// not accept leave keys without code. Some send their whole state in a frame that the learned format does not pick
// as the data frame, so their keys are not told apart.
struct RecordedRemote {
    const char* file;
    bool complete;       // every key gets a code (otherwise some keys may stay without one)
    bool keysToldApart;  // different keys get different codes
};

const RecordedRemote kRecordedRemotes[] = {
    {"01_prinz_dvd_t182.ir", true, true},
    {"05_jvc_hr_s2902u.ir", true, true},
    {"08_hauppauge_wintv_dualhd.ir", true, true},
    {"11_philips_tv.ir", true, true},
    {"12_sony_rm_sc30.ir", false, true},
    {"13_panasonic_tx_43gxw584.ir", true, true},
    {"15_sharp_lc_rc1_16.ir", true, true},
    {"16_denon_dra_365r.ir", true, true},
    {"21_dreo_cruiser_pro_fan.ir", true, true},
    {"22_directv.ir", false, true},
    {"24_daikin_ftxm95pvma.ir", true, false},
    {"32_corona_ac_esp.ir", true, true},
};

TEST_F(CliTest, RecordedRemotes) {
    const fs::path signals = SPECTREL_SIGNALS_DIR;
    if (!fs::is_directory(signals)) GTEST_SKIP() << "no recorded remotes in " << signals;
    // Every recording of the folder is in the table.
    for (const auto& entry : fs::directory_iterator(signals)) {
        if (entry.path().extension() != ".ir") continue;
        const std::string name = entry.path().filename().string();
        const bool listed = std::any_of(std::begin(kRecordedRemotes), std::end(kRecordedRemotes),
                                        [&](const RecordedRemote& r) { return name == r.file; });
        EXPECT_TRUE(listed) << name << " is not in the table of recorded remotes";
    }
    for (const RecordedRemote& remote : kRecordedRemotes) {
        const std::string name = remote.file;
        SCOPED_TRACE(name);
        if (!fs::exists(signals / name)) {
            ADD_FAILURE() << "missing recording";
            continue;
        }
        const fs::path copy = folder / name;
        std::ofstream(copy) << WithFirstButtonAgain(ReadAll(signals / name));
        const CliRun run = Run({"learn", copy.string()});
        // A protocol is learned in every case: exit code 0 when every button was learned, 5 when some were not.
        ASSERT_TRUE(run.exitCode == 0 || (!remote.complete && run.exitCode == 5)) << run.exitCode << run.err << run.out;
        EXPECT_EQ(ProtocolLine(run.out).rfind("T,F,\"NO NAME\",", 0), 0u) << run.out;
        const auto buttons = Buttons(run.out);
        ASSERT_GE(buttons.size(), 3u);
        EXPECT_EQ(buttons.back().first, "again");

        std::size_t learned = 0;
        for (const auto& [button, code] : buttons) learned += code != "<not recorded>" ? 1 : 0;
        EXPECT_EQ(run.exitCode == 0, learned == buttons.size()) << run.err;
        if (remote.complete) {
            for (const auto& [button, code] : buttons) EXPECT_NE(code, "<not recorded>") << button;
            EXPECT_EQ(buttons.back().second, buttons.front().second);
        } else {
            // The two protocol keys at least.
            EXPECT_GE(learned, 2u) << run.out;
            if (buttons.front().second != "<not recorded>" && buttons.back().second != "<not recorded>") {
                EXPECT_EQ(buttons.back().second, buttons.front().second);
            }
        }

        if (!remote.keysToldApart) continue;
        std::map<std::string, std::string> keyOfCode;
        for (std::size_t i = 0; i + 1 < buttons.size(); ++i) {
            if (buttons[i].second == "<not recorded>") continue;
            const auto [it, added] = keyOfCode.emplace(buttons[i].second, KeyOf(buttons[i].first));
            if (!added) {
                EXPECT_EQ(it->second, KeyOf(buttons[i].first)) << "the same code for two keys";
            }
        }
    }
}

// Two recordings of one key: every mark and space within 200 us (or 5 %) of the other's, as far as the shorter
// press goes (presses differ in their repeats); a mark or space under 100 us at the start (a receiver glitch)
// is not compared.
bool SameRecordedKey(const vb::IrSignal& a, const vb::IrSignal& b) {
    const auto stripped = [](std::vector<double> d) {
        while (d.size() >= 2 && (d[0] < 100 || d[1] < 100)) d.erase(d.begin(), d.begin() + 2);
        return d;
    };
    const std::vector<double> x = stripped(a.once);
    const std::vector<double> y = stripped(b.once);
    const std::size_t n = std::min(x.size(), y.size());
    if (n == 0) return false;
    for (std::size_t i = 0; i < n; ++i) {
        if (std::abs(x[i] - y[i]) > std::max(200.0, 0.05 * std::max(x[i], y[i]))) return false;
    }
    return true;
}

// With tolerant learning every recorded remote learns completely: every key gets a code, a key recorded twice
// (the first button again, and the remotes' own second recordings of a key) gets the same code each time, and
// different keys get different codes. The air conditioners (24, 32) learn their settings apart.
TEST_F(CliTest, RecordedRemotesLearnCompletelyWithTolerantLearning) {
    const fs::path signals = SPECTREL_SIGNALS_DIR;
    if (!fs::is_directory(signals)) GTEST_SKIP() << "no recorded remotes in " << signals;
    for (const RecordedRemote& remote : kRecordedRemotes) {
        const std::string name = remote.file;
        SCOPED_TRACE(name);
        if (!fs::exists(signals / name)) continue;
        const fs::path copy = folder / name;
        std::ofstream(copy) << WithFirstButtonAgain(ReadAll(signals / name));
        const vb::SignalFileResult keys = vb::readSignalFile(copy.string());
        ASSERT_TRUE(keys.ok) << keys.message;
        const CliRun run = Run({"learn", copy.string(), "--tolerant"});
        ASSERT_EQ(run.exitCode, 0) << run.err << run.out;
        const auto buttons = Buttons(run.out);
        ASSERT_EQ(buttons.size(), keys.signals.size());
        EXPECT_EQ(buttons.back().first, "again");
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            EXPECT_NE(buttons[i].second, "<not recorded>") << buttons[i].first;
            for (std::size_t j = i + 1; j < buttons.size(); ++j) {
                const bool sameKey = SameRecordedKey(keys.signals[i], keys.signals[j]);
                EXPECT_EQ(buttons[i].second == buttons[j].second, sameKey)
                    << buttons[i].first << " and " << buttons[j].first
                    << (sameKey ? ": one key, two codes" : ": two keys, one code");
            }
        }
    }
}

#endif  // SPECTREL_CLI_PATH

}  // namespace
}  // namespace spectrel
