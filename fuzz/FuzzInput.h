#pragma once
// Helpers of the fuzz targets: the input split into parts, and a property check that stops the run (libFuzzer
// saves the input that made it fail).

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace spectrel::fuzz {

// Stops the run with the property that failed; the fuzzer keeps the input as a crash.
[[noreturn]] inline void PropertyFailed(const char* what, const std::string& detail) {
    std::fprintf(stderr, "property failed: %s\n%s\n", what, detail.c_str());
    std::abort();
}

inline void Check(bool holds, const char* what, const std::string& detail = {}) {
    if (!holds) PropertyFailed(what, detail);
}

// The input as parts separated by the byte 0x00 (the seeds keep parts apart that way).
inline std::vector<std::string> Parts(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0)
            parts.emplace_back();
        else
            parts.back() += static_cast<char>(data[i]);
    }
    return parts;
}

}  // namespace spectrel::fuzz
