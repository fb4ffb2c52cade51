#include "virtualboard/BoardOptions.h"

#include <charconv>
#include <memory>

#include "virtualboard/Generators.h"
#include "virtualboard/SignalFiles.h"

namespace spectrel::virtualboard {

namespace {

constexpr std::uint8_t kDefaultNecAddress = 0x00;
constexpr std::uint8_t kDefaultNecCommand = 0x45;

// Decimal, or hexadecimal with 0x.
bool parseInteger(const std::string& s, long long& value) {
    int base = 10;
    std::size_t start = 0;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        start = 2;
    }
    const char* first = s.data() + start;
    const char* last = s.data() + s.size();
    auto r = std::from_chars(first, last, value, base);
    return start < s.size() && r.ec == std::errc() && r.ptr == last;
}

bool parseDouble(const std::string& s, double& value) {
    auto r = std::from_chars(s.data(), s.data() + s.size(), value);
    return !s.empty() && r.ec == std::errc() && r.ptr == s.data() + s.size();
}

bool parsePair(const std::string& s, char separator, long long& a, long long& b) {
    const std::size_t at = s.find(separator);
    return at != std::string::npos && parseInteger(s.substr(0, at), a) && parseInteger(s.substr(at + 1), b);
}

}  // namespace

BoardOptionsResult parseBoardOptions(const std::vector<std::string>& args) {
    BoardOptionsResult result;
    BoardOptions& o = result.options;
    BoardFaults& faults = o.config.faults;
    std::optional<std::string> onlyButton;
    auto fail = [&result](const std::string& message) {
        result.ok = false;
        result.message = message;
        return result;
    };

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) return false;
            out = args[++i];
            return true;
        };
        std::string v;
        auto needs = [&](const char* what) { return "option " + a + " needs " + what; };
        auto byteOption = [&](std::uint8_t& out) {
            long long n = 0;
            if (!value(v) || !parseInteger(v, n) || n < 0 || n > 255) return false;
            out = static_cast<std::uint8_t>(n);
            return true;
        };

        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--signal") {
            if (!value(v)) return fail(needs("a signal file"));
            SignalFileResult file = readSignalFile(v);
            if (!file.ok) return fail(file.message);
            result.notes.insert(result.notes.end(), file.notes.begin(), file.notes.end());
            for (IrSignal& s : file.signals) {
                o.playlistNames.push_back(s.name);
                o.playlist.push_back([s] { return s; });
            }
        } else if (a == "--button") {
            if (!value(v)) return fail(needs("a button name"));
            onlyButton = v;
        } else if (a == "--text") {
            if (!value(v)) return fail(needs("a signal like \"f38000 +9000 -4500 ...\""));
            ParseSignalResult parsed = parseSignal(v);
            if (!parsed.ok) return fail("--text: " + parsed.message);
            parsed.signal.name = "Text " + std::to_string(o.playlist.size() + 1);
            o.playlistNames.push_back(parsed.signal.name);
            o.playlist.push_back([s = parsed.signal] { return s; });
        } else if (a == "--nec" || a == "--necext" || a == "--rc5" || a == "--sirc" || a == "--flash") {
            long long address = 0;
            long long command = 0;
            if (!value(v) || !parsePair(v, ',', address, command) || address < 0 || command < 0 ||
                address > (a == "--necext" ? 0xFFFF : 0xFF) || command > 0xFF) {
                return fail(needs("ADDRESS,COMMAND"));
            }
            const auto ad = static_cast<std::uint16_t>(address);
            const auto cd = static_cast<std::uint8_t>(command);
            std::function<IrSignal()> make;
            if (a == "--nec") make = [=] { return necSignal(static_cast<std::uint8_t>(ad), cd); };
            if (a == "--necext") make = [=] { return necExtendedSignal(ad, cd); };
            if (a == "--sirc") make = [=] { return sirc12Signal(static_cast<std::uint8_t>(ad), cd); };
            if (a == "--flash") make = [=] { return flashSignal(static_cast<std::uint8_t>(ad), cd); };
            if (a == "--rc5") {
                auto remote = std::make_shared<Rc5Remote>();
                make = [=] { return remote->press(static_cast<std::uint8_t>(ad), cd); };
            }
            o.playlistNames.push_back(a.substr(2) + " " + v);
            o.playlist.push_back(make);
        } else if (a == "--hold") {
            if (!value(v) || !parseDouble(v, o.holdUs) || o.holdUs < 0) return fail(needs("a time in ms"));
            o.holdUs *= 1000;
        } else if (a == "--version") {
            long long first = 0;
            long long second = 0;
            if (!value(v) || !parsePair(v, '.', first, second) || first < 0 || first > 255 || second < 0 ||
                second > 255) {
                return fail(needs("FIRST.SECOND, for example 1.3"));
            }
            o.config.firstVersion = static_cast<std::uint8_t>(first);
            o.config.secondVersion = static_cast<std::uint8_t>(second);
        } else if (a == "--late") {
            if (!value(v) || !parseDouble(v, o.config.lateBurstEndUs) || o.config.lateBurstEndUs < 0) {
                return fail(needs("a time in µs"));
            }
        } else if (a == "--eod") {
            double ms = 0;
            if (!value(v)) return fail(needs("a time in ms or \"never\""));
            if (v == "never") {
                o.config.endOfDataSilenceUs.reset();
            } else if (parseDouble(v, ms) && ms >= 0) {
                o.config.endOfDataSilenceUs = ms * 1000;
            } else {
                return fail(needs("a time in ms or \"never\""));
            }
        } else if (a == "--press-delay") {
            if (!value(v) || !parseDouble(v, o.config.pressDelayUs) || o.config.pressDelayUs < 0) {
                return fail(needs("a time in ms"));
            }
            o.config.pressDelayUs *= 1000;
        } else if (a == "--no-serial-timing") {
            o.config.serialTiming = false;
        } else if (a == "--counter-start") {
            long long n = 0;
            if (!value(v) || !parseInteger(v, n) || n < 0 || n >= BoardEngine::kCounterModulus) {
                return fail(needs("a counter value below 0x1000000"));
            }
            o.config.counterStart = static_cast<std::uint32_t>(n);
        } else if (a == "--no-answer") {
            faults.noAnswer = true;
        } else if (a == "--ignore") {
            std::uint8_t command = 0;
            if (!byteOption(command)) return fail(needs("a command byte, for example 0x18"));
            faults.ignoredCommands.push_back(command);
        } else if (a == "--bad-reset") {
            long long n = 0;
            if (!value(v)) return fail(needs("a count or \"always\""));
            if (v == "always") {
                faults.badResetReplies = BoardFaults::kAlways;
            } else if (parseInteger(v, n) && n >= 0 && n < 1'000'000) {
                faults.badResetReplies = static_cast<int>(n);
            } else {
                return fail(needs("a count or \"always\""));
            }
        } else if (a == "--bad-reset-value") {
            if (!byteOption(faults.badResetValue)) return fail(needs("a byte, for example 0x55"));
        } else if (a == "--erratic") {
            long long record = 0;
            long long code = faults.erraticCode;
            if (!value(v)) return fail(needs("RECORD or RECORD:CODE"));
            const bool withCode = v.find(':') != std::string::npos;
            if (!(withCode ? parsePair(v, ':', record, code) : parseInteger(v, record)) || record < 0 ||
                record > 1'000'000 || code < 0 || code > 255) {
                return fail(needs("RECORD or RECORD:CODE"));
            }
            faults.erraticBeforeRecord = static_cast<int>(record);
            faults.erraticCode = static_cast<std::uint8_t>(code);
        } else if (a == "--missing-byte") {
            long long record = 0;
            if (!value(v) || !parseInteger(v, record) || record < 0 || record > 1'000'000) {
                return fail(needs("a record number"));
            }
            faults.missingByteInRecord = static_cast<int>(record);
        } else if (a == "--missed-carry") {
            long long record = 0;
            if (!value(v) || !parseInteger(v, record) || record < 0 || record > 1'000'000) {
                return fail(needs("a record number"));
            }
            faults.missedCarryRecord = static_cast<int>(record);
        } else if (a == "--glitches") {
            if (!value(v) || !parseDouble(v, faults.glitchProbability) || faults.glitchProbability < 0 ||
                faults.glitchProbability > 1) {
                return fail(needs("a probability from 0 to 1"));
            }
        } else if (a == "--glitch-pause") {
            if (!value(v) || !parseDouble(v, faults.glitchPauseUs) || faults.glitchPauseUs < 0) {
                return fail(needs("a time in µs"));
            }
        } else if (a == "--glitch-pulse") {
            if (!value(v) || !parseDouble(v, faults.glitchPulseUs) || faults.glitchPulseUs < 0) {
                return fail(needs("a time in µs"));
            }
        } else if (a == "--jitter") {
            if (!value(v) || !parseDouble(v, faults.jitterUs) || faults.jitterUs < 0)
                return fail(needs("a time in µs"));
        } else if (a == "--level-spread") {
            if (!value(v) || !parseDouble(v, faults.levelSpreadUs) || faults.levelSpreadUs < 0)
                return fail(needs("a time in µs"));
        } else if (a == "--seed") {
            long long n = 0;
            if (!value(v) || !parseInteger(v, n) || n < 0 || n > 0xFFFFFFFFll) return fail(needs("a number"));
            faults.seed = static_cast<std::uint32_t>(n);
        } else if (a == "--print") {
            o.print = true;
        } else if (a == "--until-killed") {
            o.untilKilled = true;
        } else {
            return fail("unknown option " + a + " (see --help)");
        }
    }

    if (onlyButton) {
        std::vector<std::function<IrSignal()>> kept;
        std::vector<std::string> keptNames;
        for (std::size_t i = 0; i < o.playlist.size(); ++i) {
            if (o.playlistNames[i] == *onlyButton) {
                kept.push_back(o.playlist[i]);
                keptNames.push_back(o.playlistNames[i]);
            }
        }
        if (kept.empty()) return fail("no button named \"" + *onlyButton + "\" in the signals given");
        o.playlist = std::move(kept);
        o.playlistNames = std::move(keptNames);
    }
    if (o.playlist.empty()) {
        o.playlist.push_back([] { return necSignal(kDefaultNecAddress, kDefaultNecCommand); });
        o.playlistNames.push_back("nec 0x00,0x45");
    }
    result.ok = true;
    return result;
}

std::function<std::optional<KeyPress>()> playlistPressSource(const BoardOptions& options) {
    auto next = std::make_shared<std::size_t>(0);
    auto playlist = options.playlist;
    const double hold = options.holdUs;
    return [next, playlist, hold]() -> std::optional<KeyPress> {
        if (playlist.empty()) return std::nullopt;
        KeyPress press{playlist[*next % playlist.size()](), hold};
        *next = (*next + 1) % playlist.size();
        return press;
    };
}

std::string boardOptionsHelp(const std::string& program) {
    return "Usage: " + program + R"( [options]
Serves the virtual reader board on a pseudo-terminal. The first line of output is the device path;
the board runs until it is killed or its standard input ends.

What is played, one press per capture, in turn (default: --nec 0x00,0x45):
  --signal FILE          every button of a Flipper .ir file or a list of Pronto / text codes
  --button NAME          only the buttons of that name
  --text "f38000 +9000 -4500 ..."   a signal in text form ([...] holds the part repeated while held)
  --nec A,C  --necext A,C  --rc5 A,C  --sirc A,C  --flash A,C   a generated code
  --hold MS              how long each key is held (default 250)
Board:
  --version F.S          the version numbers (default 1.3)
  --late US              burst ends reported this late (default 50)
  --eod MS|never         silence before the end-of-data code (default 250)
  --press-delay MS       from the start of a capture to the press (default 100)
  --no-serial-timing     bytes are readable at once instead of at 9600 baud
  --counter-start N      the 24-bit counter at start-up (default 0)
Faults:
  --no-answer            answer nothing
  --ignore CMD           do not answer this command byte (e.g. 0x18)
  --bad-reset N|always   answer the next N resets (or all) with 0x55 (--bad-reset-value B)
  --erratic R[:CODE]     send an erratic code byte (default 0x33) before record R of each capture
  --missing-byte R       leave out the last byte of record R
  --missed-carry R       report the timestamp of record R 4096 counts low
  --glitches P           chance per mark/space of a glitch (--glitch-pause US, --glitch-pulse US)
  --jitter US            move every mark and space by up to this much
  --level-spread US      move each distinct duration of a press by its own offset of up to this much
  --seed N               seed of glitches, jitter and level offsets
Other:
  --until-killed         keep serving when standard input ends
  --print                print the signals as a signal file ("name: f38000 +9000 ..." lines) and end
  --help
)";
}

}  // namespace spectrel::virtualboard
