#pragma once
// The standard protocol table that ships in SPX.ini: the common consumer codes, each learned by Spectrel itself
// from the virtual board with the standard learning presses (one key, the same key again, another key) and
// named by the table below. tools/standard-protocols.sh rewrites the shipped section from here, so its lines
// are never typed by hand.

#include <string>
#include <vector>

#include "Code/SPX_Data.h"
#include "virtualboard/IrSignal.h"

namespace spectrel {
class TIniFile;
}

namespace spectrel::virtualboard {

// One entry: its name in the table, and the three learning presses as its remote sends them (a remote with a
// toggle bit flips it between the two presses of the same key).
struct TShippedProtocol {
    std::string name;
    std::vector<IrSignal> presses;
};

// How long each learning press is held: as long as the learning asks the user to hold a key ("at least for
// 2 sec"). A shorter press sends fewer repeat frames and many protocols then learn another frame format, so an
// entry learned from short presses would not name the remote of a user who does as asked.
constexpr double kLearningHoldUs = 2'000'000;

// The entries in table order (at most the 26 slots of the table).
std::vector<TShippedProtocol> ShippedProtocols();

struct TShippedLearning {
    bool ok = false;
    std::string message;  // why the protocol was not learned
    Tprotocol_descriptor descriptor;
    std::vector<std::string> boxes;  // every message box the learning showed, in order
};

// Learns the protocol of the three presses on the in-process virtual board on a simulated clock, every prompt
// accepted, no matching against a standard table; the descriptor carries the given name and is marked valid
// and standard.
TShippedLearning LearnShippedProtocol(const std::string& name, const std::vector<IrSignal>& presses,
                                      double holdUs = kLearningHoldUs);

struct TShippedSection {
    bool ok = false;
    std::string message;
};

// Learns every entry and replaces the "Protocols Section" of the settings file with them, in table order;
// the other sections stay as they are.
TShippedSection WriteShippedProtocols(TIniFile& settings);

}  // namespace spectrel::virtualboard
