#pragma once
// Readers for signal files that people already share, giving named signals for the virtual board.
//
// Flipper-style ".ir" files ("Filetype: IR signals file" or "IR library file", then "Version: 1"):
//   lines "key: value", "#" comments, blank lines. Each button starts with "name:", then
//   - "type: raw" with "frequency:" (carrier in Hz), optional "duty_cycle:" and one or more "data:" lines
//     of positive whole microseconds, alternating mark and space and starting with a mark (long recordings
//     continue on further "data:" lines). The data is one whole press: it becomes the signal's once part.
//   - "type: parsed" with "protocol:", "address:" and "command:" (hexadecimal bytes, low byte first).
//     NEC, NECext, RC5, RC5X and SIRC are generated; other protocols are skipped with a note.
//
// Signal lists (Pronto hex and the canonical text form), one code per line, optionally named:
//     # a comment
//     Power: 0000 006D 0022 0002 0155 00AA 0015 0015 ... 0015 0E6C
//     0000 0073 0000 000D 0020 0020 0040 0020 ...
//     Mute: f38000 +9000 -4500 +562.5 -562.5 ...
//   A Pronto learned code is 4-digit hexadecimal words: 0000 (modulated) or 0100 (no carrier), the
//   frequency word (carrier = 1000000 / (word × 0.241246) Hz, which is also the time unit), the number of
//   burst pairs sent once, the number of burst pairs repeated while held, then the on/off durations of all
//   pairs in carrier periods. Other Pronto formats (5000 RC5, 900A NEC, ...) are skipped with a note.
//   An unnamed code is called "Code N", N being its position among the codes of the file (from 1).
//
// A malformed file is not read at all: the result names the file and the line, "remote.ir:12: ...".

#include <string>
#include <vector>

#include "virtualboard/IrSignal.h"

namespace spectrel::virtualboard {

struct SignalFileResult {
    bool ok = false;
    std::string message;             // the first error, "<file>:<line>: <what is wrong>"
    std::vector<IrSignal> signals;   // the buttons, in file order
    std::vector<std::string> notes;  // entries that were skipped, "<file>:<line>: <why>"
};

// `sourceName` names the text in messages (usually the file name).
SignalFileResult parseFlipperIr(const std::string& text, const std::string& sourceName);
SignalFileResult parseSignalList(const std::string& text, const std::string& sourceName);

// Reads a file: a Flipper file when it ends in ".ir" or starts with "Filetype:", otherwise a signal list.
SignalFileResult readSignalFile(const std::string& path);

// One Pronto learned code, e.g. "0000 006D 0000 0002 0020 0020 0040 0CA0".
ParseSignalResult parseProntoCode(const std::string& code);

}  // namespace spectrel::virtualboard
