// spectrel-standard-protocols SETTINGS_FILE [--list]
// Learns every shipped standard protocol from its generator on the virtual board and replaces the
// "Protocols Section" of SETTINGS_FILE with them (the file is created when missing; other sections stay).
// --list prints each entry's name, format, carrier period, frame rate and vocabulary instead.

#include <cstdio>
#include <iostream>
#include <string>

#include "Code/SPX_Data.h"
#include "Code/SPX_IniFile.h"
#include "virtualboard/ShippedProtocols.h"

namespace vb = spectrel::virtualboard;

namespace {

int List() {
    for (const vb::TShippedProtocol& entry : vb::ShippedProtocols()) {
        const vb::TShippedLearning learned = vb::LearnShippedProtocol(entry.name, entry.presses);
        if (!learned.ok) {
            std::cout << learned.message << "\n";
            continue;
        }
        const spectrel::Tprotocol_descriptor& d = learned.descriptor;
        std::cout << d.name << ": " << d.format << " carrier " << d.carrier_period << " rate " << d.frame_rate
                  << " i " << d.i_length << " j " << d.j_length << " x " << d.x_length << " dummy '" << d.dummy_code
                  << "' vocabulary";
        for (int k = 0; k < d.vocabulary_count; ++k) {
            std::cout << " " << d.durations[static_cast<std::size_t>(k)] << (d.is_pulse[static_cast<std::size_t>(k)] ? "+" : "")
                      << (d.is_pause[static_cast<std::size_t>(k)] ? "-" : "");
        }
        std::cout << "\n";
        for (const std::string& box : learned.boxes) {
            if (box.find("Click") == std::string::npos && box.find("accept") == std::string::npos) {
                std::cout << "    box: " << box << "\n";
            }
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: spectrel-standard-protocols SETTINGS_FILE [--list]\n";
        return 2;
    }
    if (argc > 2 && std::string(argv[2]) == "--list") return List();
    spectrel::TIniFile settings(argv[1]);
    const vb::TShippedSection written = vb::WriteShippedProtocols(settings);
    if (!written.ok) {
        std::cerr << "spectrel-standard-protocols: " << written.message << "\n";
        return 1;
    }
    return 0;
}
