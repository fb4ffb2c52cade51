#include "cli/CliLearn.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>

#include "Code/SPX_CapturePicture.h"
#include "Code/SPX_ComPortUnit.h"
#include "Code/SPX_Data_ButtonCodes.h"
#include "Code/SPX_Files.h"
#include "Code/SPX_Files_dumps.h"
#include "Code/SPX_IniFile.h"
#include "Code/SPX_ProtocolDescription.h"
#include "Code/SPX_processing.h"
#include "Code/SPX_processing_learning.h"
#include "Code/SPX_replace.h"
#include "InfoBus/Code/KOR_TSubscriber.h"
#include "virtualboard/BoardEngine.h"
#include "virtualboard/SignalFiles.h"
#include "virtualboard/VirtualSerialPort.h"

#ifdef SPECTREL_CLI_WITH_SERIAL
#include "platform/qt/QtClock.h"
#include "platform/qt/QtSerialPort.h"
#endif

namespace spectrel::cli {

namespace {

namespace vb = virtualboard;
using platform::MessageButton;

TCommandResult Failure(int code, const std::string& message) { return {code, "spectrel-cli: " + message}; }

// A message list that keeps its lines and, when asked, echoes each line as it is added.
class TEchoLines : public TTextLines {
public:
    explicit TEchoLines(std::ostream* echo = nullptr) : echo_(echo) {}
    void Add(const std::string& line) override {
        TTextLines::Add(line);
        if (echo_ != nullptr) *echo_ << StripColourCodes(line) << std::endl;
    }

private:
    std::ostream* echo_;
};

// The dumps of one run, one set per capture: each capture starts a folder "capture-NNN" of its own in the dump
// folder, numbered after every set already there so that nothing is overwritten; the analysis dumps that follow
// a capture go into its set. A dump that cannot be written is shown once in an error box.
class TCaptureDumps : public TAnalysisDumps {
public:
    TCaptureDumps(std::string folder, platform::MessageBoxes& boxes) : folder_(std::move(folder)), boxes_(boxes) {}

    void DumpReaderStream(TReaderLink& reader) override {
        // Written inside a capture, before its capture table.
        StartSet();
        readerStreamInSet_ = true;
        Dump([&](TDumpFiles& files) { files.DumpReaderStream(reader); });
    }
    void DumpCaptureTable(const TAnalysisContext& context) override {
        if (!readerStreamInSet_) StartSet();
        readerStreamInSet_ = false;
        Dump([&](TDumpFiles& files) { files.DumpCaptureTable(context); });
    }
    void DumpAnalysisTable(const TAnalysisContext& context) override {
        Dump([&](TDumpFiles& files) { files.DumpAnalysisTable(context); });
    }
    void DumpVocabulary(const TAnalysisContext& context) override {
        Dump([&](TDumpFiles& files) { files.DumpVocabulary(context); });
    }
    void DumpFramesBuffer(const TAnalysisContext& context) override {
        Dump([&](TDumpFiles& files) { files.DumpFramesBuffer(context); });
    }

private:
    void StartSet() {
        namespace fs = std::filesystem;
        std::error_code error;
        fs::path set;
        do {
            char number[16];
            std::snprintf(number, sizeof number, "%03d", ++sets_);
            set = fs::path(folder_) / (std::string(kDumpSetPrefix) + number);
        } while (fs::exists(set, error) && sets_ < kMostSets);
        fs::create_directories(set, error);
        files_ = std::make_unique<TDumpFiles>(set.string(), true, errorShown_ ? nullptr : &boxes_);
    }
    void Dump(const std::function<void(TDumpFiles&)>& dump) {
        if (!files_) StartSet();
        dump(*files_);
        if (!files_->FirstError().ok) errorShown_ = true;
    }

    static constexpr int kMostSets = 99999;
    std::string folder_;
    platform::MessageBoxes& boxes_;
    std::unique_ptr<TDumpFiles> files_;
    int sets_ = 0;
    bool readerStreamInSet_ = false;
    bool errorShown_ = false;
};

// The pictures of one run, one SVG per capture, written when the run next asks the user something (the analysis
// of the capture is complete by then) and at the end of the run. A capture that is analysed again keeps its file.
class TCapturePictures {
public:
    explicit TCapturePictures(std::string folder) : folder_(std::move(folder)) {
        namespace fs = std::filesystem;
        std::error_code error;
        const std::string prefix = kPicturePrefix;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder_, error)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind(prefix, 0) != 0 || entry.path().extension() != ".svg") continue;
            const std::string digits = name.substr(prefix.size(), name.size() - prefix.size() - 4);
            if (!digits.empty() && digits.find_first_not_of("0123456789") == std::string::npos && digits.size() < 9) {
                offset_ = std::max(offset_, std::stoi(digits));
            }
        }
    }

    void CaptureAnalysed() { pending_ = true; }

    void Write(const TAnalysisContext& context, const Tprotocol_descriptor& current) {
        if (!pending_) return;
        pending_ = false;
        if (context.recordCount <= 0) return;
        char number[16];
        std::snprintf(number, sizeof number, "%03d", offset_ + context.captureSerial);
        const std::filesystem::path path =
            std::filesystem::path(folder_) / (std::string(kPicturePrefix) + number + ".svg");
        const std::filesystem::path partial = path.string() + ".part";
        bool written = false;
        {
            std::ofstream out(partial, std::ios::binary | std::ios::trunc);
            out << SvgOfCapturePicture(BuildCapturePicture(context, current));
            written = static_cast<bool>(out.flush());
        }
        std::error_code error;
        if (written) std::filesystem::rename(partial, path, error);
        if (!written || error) {
            std::filesystem::remove(partial, error);
            if (!errorShown_) std::cerr << "spectrel-cli: cannot write " << path.string() << std::endl;
            errorShown_ = true;
        }
    }

private:
    std::string folder_;
    int offset_ = 0;
    bool pending_ = false;
    bool errorShown_ = false;
};

// Everything the procedures work on, for one run.
struct TSession {
    TSession(platform::SerialPortProvider& ports, platform::Clock& clock, platform::MessagePump& pump,
             TRecordingBoxes& boxes)
        : link(ports, clock, pump, boxes), context(boxes, clock, pump), boxes(boxes) {}

    TReaderLink link;
    TAnalysisContext context;
    TRecordingBoxes& boxes;
    Tprotocol_descriptor current;
    Tprotocol_descriptor learned;
    Tstandard_protocols standards;
    TInfoBus bus;
    TbuttonCodes buttons{bus};
    TbuttonCodes explore{bus};
    TReplaceRule rules;
    TLearningWindow window;
    std::unique_ptr<TLearningProcedures> procedures;
    std::unique_ptr<TCaptureDumps> dumps;
    std::unique_ptr<TCapturePictures> pictures;

    TCommandResult Prepare(const TLearnRequest& request) {
        if (!request.pictureDir.empty()) {
            std::error_code error;
            std::filesystem::create_directories(request.pictureDir, error);
            if (!std::filesystem::is_directory(request.pictureDir, error)) {
                return Failure(2, "cannot create the picture folder " + request.pictureDir);
            }
            pictures = std::make_unique<TCapturePictures>(request.pictureDir);
            context.analysisCopied = [this] { pictures->CaptureAnalysed(); };
            boxes.beforeShow = [this] { pictures->Write(context, current); };
        }
        if (!request.dumpDir.empty()) {
            std::error_code error;
            std::filesystem::create_directories(request.dumpDir, error);
            if (!std::filesystem::is_directory(request.dumpDir, error)) {
                return Failure(2, "cannot create the dump folder " + request.dumpDir);
            }
            dumps = std::make_unique<TCaptureDumps>(request.dumpDir, boxes);
            context.dumps = dumps.get();
        }
        if (request.settings.empty()) {
            for (TRec& rule : DefaultAutomaticRules()) rules.Add(rule);
        } else {
            if (!std::filesystem::exists(request.settings)) {
                return Failure(2, "cannot read settings file " + request.settings);
            }
            TIniFile settings(request.settings);
            const TDataResult loaded = LoadStandardProtocols(standards, settings);
            if (!loaded) return Failure(2, request.settings + ": " + loaded.message);
            LoadRules(rules, settings);
        }
        procedures = std::make_unique<TLearningProcedures>(
            TLearningModel{context, link, boxes, current, learned, standards, buttons, explore, rules}, window);
        procedures->options.MatchToStandardProtocol = request.matchStandard;
        procedures->options.TolerantLearning = request.tolerant;
        return {};
    }

    void Report(const TTextLines& log, TLearnReport& report) {
        if (pictures) pictures->Write(context, current);
        report.protocol = current;
        report.description.clear();
        for (const std::string& line : ProtocolDescriptionLines(current)) {
            report.description.push_back(StripColourCodes(line));
        }
        for (const std::string& line : log.Lines()) report.log.push_back(StripColourCodes(line));
        report.buttons.clear();
        for (int i = 0; i < buttons.Count(); ++i) {
            const TButtonCode& b = buttons.Items(i);
            report.buttons.push_back({b.Name(), b.Code(), b.SecondCode(), b.HasCode()});
        }
    }

    // Writes the device file of the learned buttons.
    TCommandResult WriteDevice(const TLearnRequest& request, TLearnReport& report) {
        if (request.out.empty()) return {};
        TDeviceFileEnvironment environment{boxes};
        TIRheader header = request.header;
        header.protocol_name = current.name;
        const TFileResult written = WriteDeviceFile(environment, header, buttons, current, request.out, true);
        report.messages = boxes.Shown();
        if (!written) {
            return Failure(4, "cannot write " + request.out + (written.message.empty() ? "" : ": " + written.message));
        }
        report.deviceFile = request.out;
        return {};
    }
};

// The index of the signal called `name`: exact first, then ignoring letter case.
int FindSignal(const std::vector<vb::IrSignal>& signals, const std::string& name) {
    for (std::size_t i = 0; i < signals.size(); ++i) {
        if (signals[i].name == name) return static_cast<int>(i);
    }
    const auto lower = [](std::string s) {
        for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    for (std::size_t i = 0; i < signals.size(); ++i) {
        if (lower(signals[i].name) == lower(name)) return static_cast<int>(i);
    }
    return -1;
}

std::string Names(const std::vector<vb::IrSignal>& signals) {
    std::string names;
    for (const vb::IrSignal& s : signals) names += (names.empty() ? "" : ", ") + s.name;
    return names;
}

TCommandResult UnknownKey(const TLearnRequest& request, const std::vector<vb::IrSignal>& signals,
                          const std::string& name) {
    return Failure(2, "unknown key \"" + name + "\" (" + request.file + " holds: " + Names(signals) + ")");
}

// "Learn All" as a user who accepts every prompt and presses the button each prompt names: after an Abort it
// is started again (it skips the buttons that have a code), and the button at which a round stopped without a
// code is ignored from then on. It ends when every button has a code, when a round went through the whole list,
// or when a round neither learned a button nor stopped at a new one.
void LearnEveryButton(TSession& session, const std::vector<vb::IrSignal>& signals, const vb::IrSignal*& key,
                      TAcceptingUser& user) {
    TbuttonCodes& buttons = session.buttons;
    std::vector<bool> givenUp(static_cast<std::size_t>(buttons.Count()), false);
    int next = 0;       // where the round's next prompt is looked for
    int prompted = -1;  // the button of the round's last prompt
    // The prompt of a button, as "Learn All" words it ("???" for a blank name).
    const auto prompt = [&](int i) {
        const std::string& name = buttons.Items(i).Name();
        const bool blank = name.find_first_not_of(" \t") == std::string::npos;
        return PressButtonText(blank ? "???" : name);
    };
    const auto onShow = user.onShow;
    user.onShow = [&, onShow](const std::string& text) {
        if (onShow) onShow(text);
        for (int i = next; i < buttons.Count(); ++i) {
            const TButtonCode& button = buttons.Items(i);
            if (button.HasCode() || text != prompt(i)) continue;
            prompted = i;
            next = i + 1;
            key = &signals[static_cast<std::size_t>(i)];
            return;
        }
    };
    user.ignore = [&](const std::string& text) {
        return prompted >= 0 && givenUp[static_cast<std::size_t>(prompted)] &&
               text == prompt(prompted);
    };
    const auto learned = [&] {
        int count = 0;
        for (int i = 0; i < buttons.Count(); ++i) count += buttons.Items(i).HasCode() ? 1 : 0;
        return count;
    };
    for (int round = 0; round <= buttons.Count(); ++round) {
        const int before = learned();
        next = 0;
        prompted = -1;
        session.procedures->LearnAllButtons();
        if (learned() == buttons.Count() || !session.procedures->StopRequested()) break;
        bool newlyGivenUp = false;
        if (prompted >= 0 && !buttons.Items(prompted).HasCode() && !givenUp[static_cast<std::size_t>(prompted)]) {
            givenUp[static_cast<std::size_t>(prompted)] = true;
            newlyGivenUp = true;
        }
        if (learned() == before && !newlyGivenUp) break;
    }
    user.onShow = onShow;
    user.ignore = nullptr;
}

}  // namespace

TCommandResult LearnFromFile(const TLearnRequest& request, TLearnReport& report) {
    const vb::SignalFileResult read = vb::readSignalFile(request.file);
    if (!read.ok) return Failure(2, read.message);
    report.notes = read.notes;
    const std::vector<vb::IrSignal>& signals = read.signals;
    if (signals.size() < 2 && request.protocolKeys.empty()) {
        return Failure(2, request.file + ": learning a protocol needs two different keys, the file holds " +
                              std::to_string(signals.size()));
    }
    int keys[2] = {0, 1};
    if (!request.protocolKeys.empty()) {
        if (request.protocolKeys.size() != 2) return Failure(2, "--protocol-keys takes two key names, A,B");
        for (int k = 0; k < 2; ++k) {
            keys[k] = FindSignal(signals, request.protocolKeys[k]);
            if (keys[k] < 0) return UnknownKey(request, signals, request.protocolKeys[k]);
        }
    }

    TSimulatedTime time;
    vb::BoardConfig config;
    config.faults.jitterUs = request.jitterUs;
    config.faults.levelSpreadUs = request.levelSpreadUs;
    config.faults.glitchProbability = request.glitchProbability;
    config.faults.seed = request.seed;
    vb::BoardEngine board(config);
    vb::VirtualSerialPortProvider ports(board, [&time] { return time.nowUs(); });
    TAcceptingUser user;
    TSession session(ports, time, time, user);
    if (TCommandResult prepared = session.Prepare(request); prepared.exitCode != 0) return prepared;
    session.link.SetReaderPortName(vb::kVirtualPortName);

    // The user presses the key the procedure asks for; a retry presses it again.
    const vb::IrSignal* key = &signals[static_cast<std::size_t>(keys[0])];
    double holdUs = request.protocolHoldMs * 1000;
    board.setPressSource([&]() -> std::optional<vb::KeyPress> { return vb::KeyPress{*key, holdUs}; });
    user.onShow = [&](const std::string& text) {
        if (text == learning_text::kAnotherButton) key = &signals[static_cast<std::size_t>(keys[1])];
    };

    TEchoLines log;
    session.procedures->LearnProtocol(nullptr, &log, nullptr);
    holdUs = request.holdMs * 1000;
    for (const vb::IrSignal& signal : signals) session.buttons.Add(signal.name);
    if (session.current.valid) LearnEveryButton(session, signals, key, user);
    session.Report(log, report);
    report.messages = user.Shown();
    if (!session.current.valid) return Failure(3, "no protocol could be learned from " + request.file);
    if (TCommandResult written = session.WriteDevice(request, report); written.exitCode != 0) return written;
    std::string missing;
    int missingCount = 0;
    for (const TLearnedButton& button : report.buttons) {
        if (button.learned) continue;
        missing += (missingCount++ == 0 ? "" : ", ") + button.name;
    }
    if (missingCount > 0) {
        return Failure(5, std::to_string(missingCount) + " of " + std::to_string(report.buttons.size()) +
                              " buttons not learned: " + missing);
    }
    return {};
}

namespace {

// The dialogue with a board on `ports`: every prompt printed and answered at the terminal.
TCommandResult RunWithBoard(const TLearnRequest& request, const std::vector<std::string>& names,
                            platform::SerialPortProvider& ports, platform::Clock& clock, platform::MessagePump& pump,
                            TLearnReport& report, std::function<void(const std::string&)> onPrompt = {}) {
    // With --json the dialogue goes to standard error, so that standard output holds only the document.
    std::ostream& terminal = request.json ? std::cerr : std::cout;
    TTerminalUser user(std::cin, terminal);
    user.onShow = std::move(onPrompt);
    TSession session(ports, clock, pump, user);
    if (TCommandResult prepared = session.Prepare(request); prepared.exitCode != 0) return prepared;
    session.link.SetReaderPortName(request.port);

    const TReaderPortOpenResult opened = session.link.OpenReaderPort();
    if (!opened.ok) {
        session.link.CloseReaderPort();
        return Failure(1, "cannot open " + request.port + ": " + opened.message);
    }
    session.link.ResetReader();
    const TReaderVersion version = session.link.DetectReader();
    session.link.CloseReaderPort();
    if (!version.detected) return Failure(1, "no reader on " + request.port);
    terminal << version.text() << " on " << request.port << std::endl;

    TEchoLines log(&terminal);
    session.procedures->LearnProtocol(nullptr, &log, nullptr);
    for (const std::string& name : names) session.buttons.Add(name);
    if (session.current.valid && session.buttons.Count() > 0) session.procedures->LearnAllButtons();
    session.Report(log, report);
    report.messages = user.Shown();
    if (!session.current.valid) return Failure(3, "no protocol was learned");
    return session.WriteDevice(request, report);
}

}  // namespace

TCommandResult LearnWithBoard(const TLearnRequest& request, TLearnReport& report) {
    std::vector<vb::IrSignal> signals;
    if (!request.file.empty()) {
        vb::SignalFileResult read = vb::readSignalFile(request.file);
        if (!read.ok) return Failure(2, read.message);
        report.notes = read.notes;
        signals = std::move(read.signals);
    }
    std::vector<std::string> names = request.buttonNames;
    if (names.empty()) {
        for (const vb::IrSignal& signal : signals) names.push_back(signal.name);
    }

    if (request.port == vb::kVirtualPortName) {
        // The in-process board plays the key each prompt asks for: the first protocol key, the second one after
        // "ANOTHER button", and the named button after "press button".
        if (signals.empty()) return Failure(2, "the virtual board needs a signal file to play");
        int keys[2] = {0, 1};
        if (!request.protocolKeys.empty()) {
            if (request.protocolKeys.size() != 2) return Failure(2, "--protocol-keys takes two key names, A,B");
            for (int k = 0; k < 2; ++k) {
                keys[k] = FindSignal(signals, request.protocolKeys[k]);
                if (keys[k] < 0) return UnknownKey(request, signals, request.protocolKeys[k]);
            }
        } else if (signals.size() < 2) {
            return Failure(2, request.file + ": learning a protocol needs two different keys");
        }
        for (const std::string& name : names) {
            if (FindSignal(signals, name) < 0) return UnknownKey(request, signals, name);
        }
        TSimulatedTime time;
        vb::BoardEngine board;
        const vb::IrSignal* key = &signals[static_cast<std::size_t>(keys[0])];
        double holdUs = request.protocolHoldMs * 1000;
        board.setPressSource([&]() -> std::optional<vb::KeyPress> { return vb::KeyPress{*key, holdUs}; });
        vb::VirtualSerialPortProvider ports(board, [&time] { return time.nowUs(); });
        const std::string prompt = learning_text::kPressButtonPrefix;
        const auto pressWhenAsked = [&](const std::string& text) {
            if (text == learning_text::kAnotherButton) key = &signals[static_cast<std::size_t>(keys[1])];
            if (text.rfind(prompt, 0) == 0 && text.size() > prompt.size()) {
                holdUs = request.holdMs * 1000;
                const int index = FindSignal(signals, text.substr(prompt.size(), text.size() - prompt.size() - 1));
                if (index >= 0) key = &signals[static_cast<std::size_t>(index)];
            }
        };
        return RunWithBoard(request, names, ports, time, time, report, pressWhenAsked);
    }
#ifdef SPECTREL_CLI_WITH_SERIAL
    platform::qt::QtSerialPortProvider ports;
    platform::qt::QtClock clock;
    platform::qt::QtMessagePump pump;
    return RunWithBoard(request, names, ports, clock, pump, report);
#else
    return Failure(2, "this spectrel-cli was built without serial port support (configure with SPECTREL_WITH_QT=ON)");
#endif
}

// --- reports

namespace {

// Length of the well-formed UTF-8 sequence at `pos` (2 to 4 bytes), or 0 when the byte there starts none.
std::size_t Utf8SequenceLength(const std::string& s, std::size_t pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char b0 = byte(pos);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        if (b0 == 0xE0) low = 0xA0;   // no overlong forms
        if (b0 == 0xED) high = 0x9F;  // no surrogates
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        if (b0 == 0xF0) low = 0x90;
        if (b0 == 0xF4) high = 0x8F;  // nothing beyond U+10FFFF
    } else {
        return 0;
    }
    if (pos + length > s.size()) return 0;
    if (byte(pos + 1) < low || byte(pos + 1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(pos + i) < 0x80 || byte(pos + i) > 0xBF) return 0;
    }
    return length;
}

// A JSON string of text: names, messages and file names are UTF-8 and keep their characters; a byte that
// starts no UTF-8 sequence is written as the character of its value.
std::string JsonString(const std::string& s, bool bytes = false) {
    std::string out = "\"";
    for (std::size_t pos = 0; pos < s.size(); ++pos) {
        const unsigned char c = static_cast<unsigned char>(s[pos]);
        if (!bytes && c >= 0x80) {
            if (const std::size_t length = Utf8SequenceLength(s, pos); length > 0) {
                out.append(s, pos, length);
                pos += length - 1;
                continue;
            }
        }
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out += escaped;
                } else if (c >= 0x80) {
                    // Codes hold single bytes beyond ASCII only for vocabularies of more than 31 elements: each
                    // byte is written as its own code point so the document stays valid UTF-8 (so is a stray
                    // byte of text).
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out += escaped;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

// A JSON string of an IR code or a frame format: one character per byte.
std::string JsonCode(const std::string& code) { return JsonString(code, true); }

std::string JsonStrings(const std::vector<std::string>& items) {
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + JsonString(items[i]);
    return out + "]";
}

std::string JsonNumber(double value) { return FormatGeneralNumber(value); }

std::string Indented(const std::string& text, const std::string& indent) {
    std::string out = indent;
    for (char c : text) {
        if (c == '\r' || c == '\n') {
            out += "\n" + indent + "  ";
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

std::string ReportText(const TLearnReport& report) {
    std::string out = "Protocol\n";
    for (const std::string& line : report.description) out += "  " + line + "\n";
    out += "Protocol line\n  " + DescriptorToText(report.protocol) + "\n";
    out += "Buttons\n";
    for (const TLearnedButton& b : report.buttons) {
        std::string code = kNotRecordedText;
        if (b.learned) code = b.secondCode.empty() ? b.code : b.code + " " + b.secondCode;
        out += "  " + b.name + ": " + code + "\n";
    }
    out += "Messages\n";
    for (const TShownBox& box : report.messages) {
        out += Indented(KindName(box.kind) + ": " + box.text + " -> " + ButtonName(box.answer), "  ") + "\n";
    }
    if (!report.deviceFile.empty()) out += "Device file\n  " + report.deviceFile + "\n";
    return out;
}

std::string ReportJson(const TLearnReport& report) {
    const Tprotocol_descriptor& p = report.protocol;
    std::string out = "{\n  \"protocol\": {\n";
    out += "    \"valid\": " + std::string(p.valid ? "true" : "false") + ",\n";
    out += "    \"standard\": " + std::string(p.standard ? "true" : "false") + ",\n";
    out += "    \"name\": " + JsonString(p.name) + ",\n";
    out += "    \"carrier_period_us\": " + JsonNumber(p.carrier_period) + ",\n";
    out += "    \"frame_rate_ms\": " + JsonNumber(p.frame_rate) + ",\n";
    out += "    \"format\": " + JsonCode(p.format) + ",\n";
    out += "    \"dummy_code\": " + JsonCode(p.dummy_code) + ",\n";
    out += "    \"data_length\": " + std::to_string(p.i_length) + ",\n";
    out += "    \"description\": " + JsonStrings(report.description) + ",\n";
    out += "    \"text\": " + JsonString(DescriptorToText(p)) + "\n  },\n";
    out += "  \"buttons\": [";
    for (std::size_t i = 0; i < report.buttons.size(); ++i) {
        const TLearnedButton& b = report.buttons[i];
        out += std::string(i ? "," : "") + "\n    {\"name\": " + JsonString(b.name) +
               ", \"code\": " + JsonCode(b.code) + ", \"second_code\": " + JsonCode(b.secondCode) +
               ", \"learned\": " + (b.learned ? "true" : "false") + "}";
    }
    out += report.buttons.empty() ? "],\n" : "\n  ],\n";
    out += "  \"messages\": [";
    for (std::size_t i = 0; i < report.messages.size(); ++i) {
        const TShownBox& box = report.messages[i];
        std::vector<std::string> buttons;
        for (MessageButton b : ButtonList(box.buttons)) buttons.push_back(ButtonName(b));
        out += std::string(i ? "," : "") + "\n    {\"kind\": " + JsonString(KindName(box.kind)) +
               ", \"text\": " + JsonString(box.text) + ", \"buttons\": " + JsonStrings(buttons) +
               ", \"answer\": " + JsonString(ButtonName(box.answer)) + "}";
    }
    out += report.messages.empty() ? "],\n" : "\n  ],\n";
    out += "  \"log\": " + JsonStrings(report.log) + ",\n";
    out += "  \"notes\": " + JsonStrings(report.notes) + ",\n";
    out += "  \"device_file\": " + (report.deviceFile.empty() ? std::string("null") : JsonString(report.deviceFile)) +
           "\n}\n";
    return out;
}

}  // namespace spectrel::cli
