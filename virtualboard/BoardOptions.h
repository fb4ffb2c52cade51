#pragma once
// Command-line options of the virtual board programs: what to play on each capture, the versions, timing
// and faults. Parsed into a board configuration and a playlist; `boardOptionsHelp()` lists them.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "virtualboard/BoardEngine.h"
#include "virtualboard/IrSignal.h"

namespace spectrel::virtualboard {

struct BoardOptions {
    BoardConfig config;
    // One entry per signal, played in turn, one press per capture, starting again after the last.
    // An entry makes the signal of its next press (RC5 entries flip their toggle bit each time).
    std::vector<std::function<IrSignal()>> playlist;
    std::vector<std::string> playlistNames;
    double holdUs = 250'000;
    bool untilKilled = false;  // keep serving when standard input ends
    bool help = false;
    bool print = false;  // print the playlist in the text form instead of serving it
};

struct BoardOptionsResult {
    bool ok = false;
    std::string message;  // what is wrong with the arguments
    BoardOptions options;
    std::vector<std::string> notes;  // skipped entries of signal files
};

// Arguments without the program name. With no signal given the playlist holds one NEC code.
BoardOptionsResult parseBoardOptions(const std::vector<std::string>& args);

std::string boardOptionsHelp(const std::string& program);

// A press source playing the playlist in turn with the given hold time.
std::function<std::optional<KeyPress>()> playlistPressSource(const BoardOptions& options);

}  // namespace spectrel::virtualboard
