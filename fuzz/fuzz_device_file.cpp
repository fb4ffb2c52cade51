// The device file: names, notes and codes of any bytes, and any protocol line, give a well-formed document.

#include <cstdint>
#include <cstring>

#include "Code/SPX_Data.h"
#include "Code/SPX_Files.h"
#include "fuzz/FuzzInput.h"
#include "tests/xml_wellformed.h"

using namespace spectrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> parts = fuzz::Parts(data, size);
    parts.resize(std::max<std::size_t>(parts.size(), 8));
    // A protocol line, the header's texts, then name / code / second code of each command.
    Tprotocol_descriptor protocol;
    if (!DescriptorFromText(protocol, parts[0])) {
        ClearDescriptor(protocol);
        protocol.name = parts[0];
        protocol.format = parts[1];
        if (!parts[1].empty()) protocol.i_letter = parts[1][0];
        protocol.dummy_code = parts[2];
    }
    TIRheader header;
    header.protocol_name = parts[1];
    header.remote_brand = parts[2];
    header.remote_model = parts[3];
    header.device_type = parts[4];
    header.device_brand = parts[5];
    header.device_model = parts[6];
    header.notes[0] = parts[7];
    header.note_count = 1;
    std::vector<TDeviceFileCommand> commands;
    for (std::size_t i = 8; i + 2 < parts.size() + 2 && i < parts.size(); i += 3) {
        commands.push_back({parts[i], i + 1 < parts.size() ? parts[i + 1] : "",
                            i + 2 < parts.size() ? parts[i + 2] : ""});
    }
    for (bool attach : {false, true}) {
        bool corrupted = false;
        const std::string text = DeviceFileText(header, commands, protocol, attach, "01.01.2024 12:00:00", corrupted);
        const std::string problem = testing::XmlWellFormedCheck::Check(text);
        fuzz::Check(problem.empty(), "the device file is well-formed", problem);
        // Every number of the document is a whole number.
        for (const char* tag : {"<CarrierFreq>", "<FrameRate>", "<Duration>"}) {
            for (std::size_t at = text.find(tag); at != std::string::npos; at = text.find(tag, at + 1)) {
                // Only the element itself, on a line of its own (notes in comments may hold any text).
                const std::size_t lineStart = text.rfind('\n', at);
                if (lineStart == std::string::npos ||
                    text.find_first_not_of(' ', lineStart + 1) != at)
                    continue;
                std::size_t p = at + std::strlen(tag);
                if (p < text.size() && text[p] == '-') ++p;
                const std::size_t digits = p;
                while (p < text.size() && text[p] >= '0' && text[p] <= '9') ++p;
                fuzz::Check(p > digits && text[p] == '<', "the device file holds whole numbers only",
                            text.substr(at, 40));
            }
        }
    }
    return 0;
}
