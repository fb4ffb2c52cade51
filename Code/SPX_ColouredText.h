#pragma once
// How a line of a coloured list is drawn: the line is cut at its colour codes (characters 1 to 8) into runs,
// each drawn in the text and background colour in force where it starts. Codes 1 to 6 switch the text colour,
// 7 and 8 the background colour, to the palette entry of the same number. The list drawing only maps the
// numbers to colours and draws the runs one after the other.

#include <string>
#include <vector>

namespace spectrel {

// The list's own text or background colour, before any code switched it.
constexpr int kListOwnColour = 0;

struct TColouredRun {
    std::string text;
    int textColour = kListOwnColour;        // palette entry 1 to 6, or the list's own colour
    int backgroundColour = kListOwnColour;  // palette entry 7 or 8, or the list's own background
    bool operator==(const TColouredRun&) const = default;
};

// The runs of `line`, starting in the given colours; empty runs are left out.
std::vector<TColouredRun> ColouredRuns(const std::string& line, int startTextColour = kListOwnColour,
                                       int startBackgroundColour = kListOwnColour);

}  // namespace spectrel
