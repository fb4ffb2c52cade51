#pragma once
// The protocol description: the coloured lines that show a protocol's carrier, frame rate, frame structure,
// dummy frame and vocabulary. The main window's protocol list, the wizard and the learning procedures draw them;
// this module only builds the text.
//
// Colour codes: the characters 1 to 8 in a line are not shown; 1 to 6 switch the text colour and 7, 8 the
// background colour to an entry of the list palette (1 black, 2 teal, 3 blue, 4 maroon, 5 fuchsia, 6 red by
// default).

#include <string>
#include <vector>

#include "Code/SPX_CaptureViews.h"
#include "Code/SPX_Data.h"

namespace spectrel {

namespace colour_code {
constexpr char kBlack = '\001';
constexpr char kTeal = '\002';
constexpr char kBlue = '\003';
constexpr char kMaroon = '\004';
constexpr char kFuchsia = '\005';
constexpr char kRed = '\006';
constexpr char kTooltipBackground = '\007';
constexpr char kWindowBackground = '\010';
}  // namespace colour_code

inline constexpr const char* kNoProtocolLine = "No Protocol";

// A list of text lines that may carry colour codes: the message, description and explore lists the procedures
// write to. The window layer implements it with its owner-drawn list boxes; TTextLines keeps the lines in memory.
class TColouredList : public TCaptureDisplayList {
public:
    virtual int Count() const = 0;
    virtual std::string Line(int index) const = 0;
    virtual void Add(const std::string& line) = 0;
    // Replaces line `index` (0 to Count()-1).
    virtual void Replace(int index, const std::string& line) = 0;
    // Removes line `index` (0 to Count()-1).
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    // The text colour the lines start in (a colour code: kBlack or kTeal).
    virtual void SetTextColour(char colourCode) { (void)colourCode; }
    // Selects the line, repaints the list at once and clears the selection again, so the line blinks.
    virtual void FlashLine(int index) { (void)index; }
    // The decimal separator of the numbers a description writes into the list: the user's in a window,
    // '.' in memory and on the command line.
    virtual char DecimalSeparator() const { return '.'; }
    void restoreNormalColour() override {}
};

// The list in memory.
class TTextLines : public TColouredList {
public:
    int Count() const override { return static_cast<int>(lines_.size()); }
    std::string Line(int index) const override { return lines_.at(static_cast<std::size_t>(index)); }
    void Add(const std::string& line) override { lines_.push_back(line); }
    void Replace(int index, const std::string& line) override { lines_.at(static_cast<std::size_t>(index)) = line; }
    void Delete(int index) override;
    void Clear() override { lines_.clear(); }
    void SetTextColour(char colourCode) override { textColour_ = colourCode; }
    void FlashLine(int index) override { flashed_.push_back(index); }

    const std::vector<std::string>& Lines() const { return lines_; }
    char TextColour() const { return textColour_; }
    // Every line flashed, in order.
    const std::vector<int>& Flashed() const { return flashed_; }

private:
    std::vector<std::string> lines_;
    char textColour_ = colour_code::kBlack;
    std::vector<int> flashed_;
};

// The description lines of a descriptor: "No Protocol" when it is not valid. Numbers with decimals use
// `decimalSeparator`.
std::vector<std::string> ProtocolDescriptionLines(const Tprotocol_descriptor& descriptor,
                                                  char decimalSeparator = '.');
// The colour the description starts in: teal for a standard protocol, black for a learned one.
char ProtocolDescriptionColour(const Tprotocol_descriptor& descriptor);
// Writes the description into the list (emptied first when `clear`) and sets the list's text colour; numbers
// take the list's decimal separator.
void WriteProtocolDescription(TColouredList& list, const Tprotocol_descriptor& descriptor, bool clear = true);

// The text without its colour codes (characters 1 to 8).
std::string StripColourCodes(const std::string& text);

}  // namespace spectrel
