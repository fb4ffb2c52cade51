// Cutting a coloured list line into its runs.

#include "Code/SPX_ColouredText.h"

namespace spectrel {

namespace {
constexpr char kFirstTextCode = '\001';
constexpr char kLastTextCode = '\006';
constexpr char kFirstBackgroundCode = '\007';
constexpr char kLastBackgroundCode = '\010';
}  // namespace

std::vector<TColouredRun> ColouredRuns(const std::string& line, int startTextColour, int startBackgroundColour) {
    std::vector<TColouredRun> runs;
    TColouredRun run{{}, startTextColour, startBackgroundColour};
    for (char c : line) {
        const bool textCode = c >= kFirstTextCode && c <= kLastTextCode;
        const bool backgroundCode = c >= kFirstBackgroundCode && c <= kLastBackgroundCode;
        if (!textCode && !backgroundCode) {
            run.text += c;
            continue;
        }
        if (!run.text.empty()) runs.push_back(run);
        run.text.clear();
        if (textCode) run.textColour = c;
        if (backgroundCode) run.backgroundColour = c;
    }
    if (!run.text.empty()) runs.push_back(run);
    return runs;
}

}  // namespace spectrel
