// A protocol line of the settings file: whatever reads must write a line that reads back as the same
// descriptor, and an edited field that the editor's check accepts is taken by the edit.

#include <cstdint>

#include "Code/SPX_Data.h"
#include "fuzz/FuzzInput.h"
#include "testing/ScriptedMessageBoxes.h"

using namespace spectrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> parts = fuzz::Parts(data, size);
    Tprotocol_descriptor d;
    if (DescriptorFromText(d, parts[0])) {
        const std::string line = DescriptorToText(d);
        Tprotocol_descriptor back;
        const TDataResult read = DescriptorFromText(back, line);
        fuzz::Check(read.ok, "a written protocol line reads back", line + "\n" + read.message);
        fuzz::Check(DescriptorToText(back) == line, "a written protocol line reads back the same", line);
    } else {
        ClearDescriptor(d);
    }
    // Further parts: a field code and a text for the editor.
    testing::ScriptedMessageBoxes boxes{testing::ScriptedMessageBoxes::Unscripted::Accept};
    TWorkingProtocol working;
    for (std::size_t i = 1; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty()) continue;
        const int code = static_cast<unsigned char>(parts[i][0]) % 20;
        const int index = parts[i].size() > 1 ? static_cast<unsigned char>(parts[i][1]) % 40 - 4 : 0;
        const bool checked = CheckParamText(d, parts[i + 1], code).ok;
        TDataResult set{};
        try {
            set = SetParamText(d, parts[i + 1], code, index, working, boxes);
        } catch (const std::exception&) {
            continue;  // a conversion error of the general error handling
        }
        (void)checked;
        const std::string line = DescriptorToText(d);
        Tprotocol_descriptor back;
        fuzz::Check(DescriptorFromText(back, line).ok && DescriptorToText(back) == line,
                    "an edited protocol reads back the same", line);
    }
    return 0;
}
