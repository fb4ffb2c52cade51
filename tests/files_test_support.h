#pragma once
// Fixtures shared by the device file tests of the core and of the Qt layer: a learned protocol, the hostile texts
// of tests/data/files_hostile_texts.txt, and device file documents built from them.

#include <cstdint>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "Code/SPX_Data.h"
#include "Code/SPX_Files.h"

namespace spectrel::files_test {

inline constexpr const char* kFixedDateTime = "09/12/2026 23:30:00";

// A learned protocol with a data frame and a repeated second data frame (format "iJ"), four elements.
inline Tprotocol_descriptor LearnedProtocol() {
    Tprotocol_descriptor p;
    p.valid = true;
    p.standard = false;
    p.name = "Learned iJ";
    p.carrier_period = 26.3;
    p.frame_rate = 108.4;
    p.format = "iJ";
    p.i_letter = 'i';
    p.j_letter = 'J';
    p.x_letter = '?';
    p.i_position = 0;
    p.j_position = 1;
    p.i_length = 34;
    p.j_length = 4;
    p.min_frames = 2;
    p.max_frames = 255;
    p.vocabulary_count = 4;
    p.tick = 430;
    p.durations = {430, 1290.5, 3440, 1719.4};
    p.is_pulse = {true, false, true, false};
    p.is_pause = {true, true, true, true};
    return p;
}

// "\xNN", "\t", "\r" and "\n" in a fixture line stand for the bytes they name.
inline std::string DecodeEscapes(const std::string& line) {
    std::string out;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            const char e = line[i + 1];
            if (e == 'x' && i + 3 < line.size()) {
                out += static_cast<char>(std::stoi(line.substr(i + 2, 2), nullptr, 16));
                i += 3;
                continue;
            }
            if (e == 't' || e == 'r' || e == 'n') {
                out += e == 't' ? '\t' : e == 'r' ? '\r' : '\n';
                ++i;
                continue;
            }
        }
        out += line[i];
    }
    return out;
}

inline std::vector<std::string> HostileTexts() {
    std::ifstream file(std::string(SPECTREL_SOURCE_DIR) + "/tests/data/files_hostile_texts.txt", std::ios::binary);
    std::vector<std::string> texts;
    for (std::string line; std::getline(file, line);)
        if (!line.empty()) texts.push_back(DecodeEscapes(line));
    return texts;
}

// Every byte value once, as IR code characters.
inline std::string AllCodeBytes() {
    std::string code;
    for (int b = 0; b < 256; ++b) code += static_cast<char>(b);
    return code;
}

inline std::string DocumentFrom(const std::string& text, const std::string& code, bool standard) {
    TIRheader header;
    header.protocol_name = text;
    header.remote_brand = text;
    header.remote_model = text;
    header.device_type = text;
    header.device_brand = text;
    header.device_model = text;
    header.notes[0] = text;
    header.notes[1] = "--" + text + "-";
    header.notes[2] = "-" + text + "--";
    header.note_count = 3;
    Tprotocol_descriptor protocol = LearnedProtocol();
    protocol.standard = standard;
    protocol.name = text;
    protocol.format = text.empty() ? "iJ" : text;
    protocol.i_letter = text.empty() ? 'i' : text[0];
    protocol.j_letter = text.size() < 2 ? 'J' : text[1];
    protocol.dummy_code = code;
    protocol.vocabulary_count = 40;  // more than a descriptor holds
    const std::vector<TDeviceFileCommand> commands = {{text, code, code}, {"Power", "AaBb", text}};
    bool corrupted = false;
    return DeviceFileText(header, commands, protocol, true, text, corrupted);
}

// Documents built from every hostile text, and from random bytes (fixed seed, so every run checks the same).
inline std::vector<std::string> HostileDocuments() {
    std::vector<std::string> documents;
    for (const auto& text : HostileTexts()) {
        documents.push_back(DocumentFrom(text, text, false));
        documents.push_back(DocumentFrom(text, AllCodeBytes(), true));
    }
    std::mt19937 random(20261209);
    for (int n = 0; n < 200; ++n) {
        std::string text;
        const std::size_t length = random() % 24;
        for (std::size_t i = 0; i < length; ++i) text += static_cast<char>(random() & 0xFF);
        documents.push_back(DocumentFrom(text, text, n % 2 == 0));
    }
    return documents;
}

}  // namespace spectrel::files_test
