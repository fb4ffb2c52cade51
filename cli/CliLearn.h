#pragma once
// The learn command: protocol learning with two keys, then every button learned with one press, as a report
// in text or JSON, and optionally the device file.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Code/SPX_Data.h"
#include "cli/CliUser.h"

namespace spectrel::cli {

struct TLearnRequest {
    std::string file;                       // signal file (virtual board), or names of buttons (real board)
    std::string port;                       // a real board's serial port; empty: the in-process virtual board
    std::vector<std::string> protocolKeys;  // key pressed twice, key pressed once
    std::vector<std::string> buttonNames;   // real board: the buttons to learn
    std::string out;                        // device file to write
    std::string settings;                   // settings file with the standard protocols and substitution rules
    std::string dumpDir;                    // dumps switched on, one set per capture in this folder
    std::string pictureDir;                 // the picture of every capture, DIR/capture-NNN.svg
    bool json = false;
    bool matchStandard = true;
    bool tolerant = false;  // the advanced option "Tolerant learning"
    // Faults of the in-process virtual board (learning from a file): every mark and space moved by up to
    // ± jitterUs, each distinct duration of a press by its own offset of up to ± levelSpreadUs, a glitch in a
    // mark or space with this chance; drawn from the seed.
    double jitterUs = 0;
    double levelSpreadUs = 0;
    double glitchProbability = 0;
    std::uint32_t seed = 1;
    // How long each key is held: the protocol keys as long as the learning asks ("at least for 2 sec"), the
    // buttons briefly. --hold sets both.
    double protocolHoldMs = 2000;
    double holdMs = 250;
    TIRheader header;
};

struct TLearnedButton {
    std::string name;
    std::string code;
    std::string secondCode;
    bool learned = false;
};

// Folders of the dump sets: "capture-001", "capture-002", ... in the dump folder.
inline constexpr const char* kDumpSetPrefix = "capture-";
// Pictures of the captures: "capture-001.svg", ... in the picture folder, numbered after those already there.
inline constexpr const char* kPicturePrefix = "capture-";

struct TLearnReport {
    Tprotocol_descriptor protocol;
    std::vector<std::string> description;  // colour codes removed
    std::vector<std::string> log;          // the procedure's message list, colour codes removed
    std::vector<TLearnedButton> buttons;
    std::vector<TShownBox> messages;
    std::string deviceFile;          // written file, empty when none
    std::vector<std::string> notes;  // signal file entries that were skipped
};

// Outcome of a command: the exit code and, on failure, the one line for standard error.
struct TCommandResult {
    int exitCode = 0;
    std::string error;
};

// From a signal file through the in-process virtual board on a simulated clock: the protocol, then "Learn All"
// with every prompt accepted, started again after an Abort until every button has a code or a round gets no
// further (a button at which a round stopped is skipped by the next). Exit code 0 when every button was learned,
// 5 when some were not, 3 without protocol, 4 when the device file could not be written.

TCommandResult LearnFromFile(const TLearnRequest& request, TLearnReport& report);
// With a real board, every prompt answered at the terminal. Needs serial port support.
TCommandResult LearnWithBoard(const TLearnRequest& request, TLearnReport& report);

std::string ReportText(const TLearnReport& report);
std::string ReportJson(const TLearnReport& report);

}  // namespace spectrel::cli
