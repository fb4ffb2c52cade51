// spectrel-cli: the command-line front end. Lists serial ports, detects the reader board, and learns a remote's
// protocol and buttons either from a signal file played through the in-process virtual board or with a real
// board, printing the result and optionally writing the device file.

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "Code/ComPortUtils.h"
#include "Code/SPX_ComPortUnit.h"
#include "Code/SPX_Files.h"
#include "Code/SPX_PortPermission.h"
#include "SpectrelVersion.h"
#include "cli/CliLearn.h"
#include "cli/CliUser.h"
#include "virtualboard/BoardEngine.h"
#include "virtualboard/VirtualSerialPort.h"

#ifdef SPECTREL_CLI_WITH_SERIAL
#include <QCoreApplication>

#include "platform/qt/QtClock.h"
#include "platform/qt/QtSerialPort.h"
#endif

namespace {

using namespace spectrel;
using namespace spectrel::cli;
namespace vb = spectrel::virtualboard;

constexpr const char* kUsage =
    "usage:\n"
    "  spectrel-cli --version\n"
    "  spectrel-cli ports\n"
    "  spectrel-cli detect PORT\n"
    "  spectrel-cli learn FILE [--protocol-keys A,B] [--out DEVICE.xml] [--json] [options]\n"
    "  spectrel-cli learn --port PORT [FILE] [--buttons NAME,NAME,...] [--out DEVICE.xml] [--json] [options]\n"
    "\n"
    "FILE is a Flipper-style .ir file or a list of Pronto hex or text-form signals. Without --port its signals are\n"
    "played through the virtual reader board: key A twice and key B once to learn the protocol (the first two\n"
    "buttons of the file unless --protocol-keys names them), then every button of the file once. PORT VIRTUAL is\n"
    "the in-process virtual board.\n"
    "\n"
    "options:\n"
    "  --settings SPX.ini     standard protocols and substitution rules from a settings file\n"
    "  --no-match             keep the learned protocol even when a standard protocol matches\n"
    "  --tolerant             tolerant learning: new durations, jitter, air conditioners, one-frame presses\n"
    "  --jitter US            the virtual board moves every mark and space by up to this much\n"
    "  --level-spread US      ... each distinct duration of a press by its own offset of up to this much\n"
    "  --glitches P           ... and puts a glitch in a mark or space with this chance (--seed N)\n"
    "  --hold MS              how long each key is held (default: the protocol keys 2000, as the learning\n"
    "                         asks, the buttons 250)\n"
    "  --dump-dir DIR         write the diagnostic dumps of every capture into DIR/capture-NNN\n"
    "  --picture DIR          draw every capture as DIR/capture-NNN.svg\n"
    "  --device-type TEXT     device details written to the device file (defaults: Other, Unknown, the file\n"
    "  --device-brand TEXT    name, Unknown, the file name)\n"
    "  --device-model TEXT\n"
    "  --remote-brand TEXT\n"
    "  --remote-model TEXT\n"
    "  --note TEXT            a note line for the device file (may be repeated)\n";

int Fail(int code, const std::string& message) {
    std::cerr << "spectrel-cli: " << message << std::endl;
    return code;
}

std::vector<std::string> SplitList(const std::string& text) {
    std::vector<std::string> items;
    std::string item;
    for (char c : text) {
        if (c == ',') {
            items.push_back(item);
            item.clear();
        } else {
            item += c;
        }
    }
    items.push_back(item);
    return items;
}

int Ports() {
#ifdef SPECTREL_CLI_WITH_SERIAL
    platform::qt::QtSerialPortProvider ports;
    std::vector<std::string> names;
    EnumerateComPorts(ports, names);
    for (const std::string& name : names) std::cout << name << "\n";
    return 0;
#else
    return Fail(2, "this spectrel-cli was built without serial port support (configure with SPECTREL_WITH_QT=ON)");
#endif
}

int DetectOn(platform::SerialPortProvider& ports, platform::Clock& clock, platform::MessagePump& pump,
             const std::string& port) {
    TAcceptingUser boxes;
    TReaderLink link(ports, clock, pump, boxes);
    link.SetReaderPortName(port);
    const TReaderPortOpenResult opened = link.OpenReaderPort();
    TReaderVersion version;
    if (opened.ok) {
        link.ResetReader();
        version = link.DetectReader();
    }
    link.CloseReaderPort();
    if (!opened.ok) std::cerr << "spectrel-cli: " << PortOpenFailureText(port, opened) << std::endl;
    std::cout << (version.detected ? version.text() : reader_status::kNoReader) << std::endl;
    return version.detected ? 0 : 1;
}

int Detect(const std::string& port) {
    if (port == vb::kVirtualPortName) {
        TSimulatedTime time;
        vb::BoardEngine board;
        vb::VirtualSerialPortProvider ports(board, [&time] { return time.nowUs(); });
        return DetectOn(ports, time, time, port);
    }
#ifdef SPECTREL_CLI_WITH_SERIAL
    platform::qt::QtSerialPortProvider ports;
    platform::qt::QtClock clock;
    platform::qt::QtMessagePump pump;
    return DetectOn(ports, clock, pump, port);
#else
    return Fail(2, "this spectrel-cli was built without serial port support (configure with SPECTREL_WITH_QT=ON)");
#endif
}

int Learn(const std::vector<std::string>& args) {
    TLearnRequest request;
    std::vector<std::string> notes;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&](std::string& target) {
            if (i + 1 >= args.size()) return false;
            target = args[++i];
            return true;
        };
        std::string text;
        bool ok = true;
        if (arg == "--json") {
            request.json = true;
        } else if (arg == "--no-match") {
            request.matchStandard = false;
        } else if (arg == "--tolerant") {
            request.tolerant = true;
        } else if (arg == "--jitter" || arg == "--level-spread" || arg == "--glitches" || arg == "--seed") {
            ok = value(text);
            if (ok) {
                char* end = nullptr;
                const double number = std::strtod(text.c_str(), &end);
                const double most = arg == "--glitches" ? 1 : arg == "--seed" ? 4294967295.0 : 100000;
                if (end == text.c_str() || *end != '\0' || !(number >= 0 && number <= most)) {
                    return Fail(2, arg + " takes a number from 0 to " + FormatGeneralNumber(most) + ", not \"" +
                                       text + "\"");
                }
                if (arg == "--jitter") request.jitterUs = number;
                if (arg == "--level-spread") request.levelSpreadUs = number;
                if (arg == "--glitches") request.glitchProbability = number;
                if (arg == "--seed") request.seed = static_cast<std::uint32_t>(number);
            }
        } else if (arg == "--protocol-keys") {
            ok = value(text);
            if (ok) request.protocolKeys = SplitList(text);
        } else if (arg == "--buttons") {
            ok = value(text);
            if (ok) request.buttonNames = SplitList(text);
        } else if (arg == "--hold") {
            ok = value(text);
            if (ok) {
                char* end = nullptr;
                request.holdMs = std::strtod(text.c_str(), &end);
                if (end == text.c_str() || *end != '\0' || request.holdMs < 1 || request.holdMs > 60000) {
                    return Fail(2, "--hold takes milliseconds from 1 to 60000, not \"" + text + "\"");
                }
                request.protocolHoldMs = request.holdMs;
            }
        } else if (arg == "--out") {
            ok = value(request.out);
        } else if (arg == "--port") {
            ok = value(request.port);
        } else if (arg == "--dump-dir") {
            ok = value(request.dumpDir);
        } else if (arg == "--picture") {
            ok = value(request.pictureDir);
        } else if (arg == "--settings") {
            ok = value(request.settings);
        } else if (arg == "--device-type") {
            ok = value(request.header.device_type);
        } else if (arg == "--device-brand") {
            ok = value(request.header.device_brand);
        } else if (arg == "--device-model") {
            ok = value(request.header.device_model);
        } else if (arg == "--remote-brand") {
            ok = value(request.header.remote_brand);
        } else if (arg == "--remote-model") {
            ok = value(request.header.remote_model);
        } else if (arg == "--note") {
            ok = value(text);
            if (ok) notes.push_back(text);
        } else if (arg.rfind("--", 0) == 0) {
            return Fail(2, "unknown option " + arg);
        } else if (request.file.empty()) {
            request.file = arg;
        } else {
            return Fail(2, "more than one file given: " + request.file + " and " + arg);
        }
        if (!ok) return Fail(2, arg + " needs a value");
    }
    if (request.file.empty() && request.port.empty()) return Fail(2, "learn needs a signal file or --port PORT");
    // The device file drops a longer list of notes as a whole.
    if (notes.size() > kMaxDeviceFileNotes) return Fail(2, "at most " + std::to_string(kMaxDeviceFileNotes) + " notes");
    for (std::size_t n = 0; n < notes.size(); ++n) request.header.notes[n] = notes[n];
    request.header.note_count = static_cast<int>(notes.size());

    const std::string stem =
        request.file.empty() ? std::string("Unknown") : std::filesystem::path(request.file).stem().string();
    TIRheader& header = request.header;
    if (header.device_type.empty()) header.device_type = "Other";
    if (header.device_brand.empty()) header.device_brand = "Unknown";
    if (header.device_model.empty()) header.device_model = stem;
    if (header.remote_brand.empty()) header.remote_brand = "Unknown";
    if (header.remote_model.empty()) header.remote_model = stem;

    TLearnReport report;
    const TCommandResult result =
        request.port.empty() ? LearnFromFile(request, report) : LearnWithBoard(request, report);
    // A learning that ran prints what it found even when it failed.
    if (result.exitCode == 0 || !report.messages.empty()) {
        std::cout << (request.json ? ReportJson(report) : ReportText(report)) << std::flush;
    }
    // A failure is one line on standard error; the skipped entries are noted only beside a result (the JSON
    // report lists them either way).
    if (result.exitCode != 0) {
        std::cerr << result.error << std::endl;
    } else {
        for (const std::string& note : report.notes) std::cerr << "spectrel-cli: note: " << note << "\n";
    }
    return result.exitCode;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef SPECTREL_CLI_WITH_SERIAL
    QCoreApplication application(argc, argv);
#endif
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::cout << kUsage;
        return args.empty() ? 2 : 0;
    }
    const std::string& command = args[0];
    if (command == "--version" || command == "-v") {
        std::cout << "spectrel-cli " << kProgramVersion << std::endl;
        return 0;
    }
    if (command == "ports") {
        if (args.size() != 1) return Fail(2, "ports takes no arguments");
        return Ports();
    }
    if (command == "detect") {
        if (args.size() != 2) return Fail(2, "detect needs one port name: spectrel-cli detect PORT");
        return Detect(args[1]);
    }
    if (command == "learn") return Learn({args.begin() + 1, args.end()});
    return Fail(2, "unknown command \"" + command + "\" (ports, detect, learn; --help for more)");
}
