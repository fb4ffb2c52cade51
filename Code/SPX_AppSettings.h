#pragma once
// The keys of the settings file "SPX.ini" with their defaults and reading rules, the list colour palette,
// and the order in which the main window reads the settings at start-up and writes them back at close.
//
// Sections: "Setup" (port, reader delay, dump switch), "Window" (list colours), "Device Types",
// "Button Templates Section", "Protocols Section" and "Substutution Rules" (sic: the name stored files use).
// Only the templates, "Setup" "Serial" and "Setup" "Delay" are ever written; the rest is read only.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Code/SPX_Data.h"
#include "Code/SPX_IniFile.h"
#include "Code/SPX_processing.h"

namespace spectrel {

namespace platform {
class UserStore;
}
class TButtonTemplates;
class TReplaceRule;
class TSpectrelIniObject;

inline constexpr const char* kSettingsFileName = "SPX.ini";

inline constexpr const char* kSetupSection = "Setup";
inline constexpr const char* kSerialKey = "Serial";
inline constexpr const char* kDelayKey = "Delay";
inline constexpr const char* kDebugKey = "Debug";
inline constexpr const char* kWindowSection = "Window";
inline constexpr const char* kColourKeyPrefix = "Color";
inline constexpr const char* kDeviceTypesSection = "Device Types";

inline constexpr const char* kDefaultSerialPort = "COM2";
// The reader's end-of-burst delay in microseconds (kDefaultReaderDelay, beside the analysis that uses it), and
// the range a stored value must lie in.
constexpr int kMinReaderDelay = 40;
constexpr int kMaxReaderDelay = 100;
// What a stored delay outside that range becomes.
constexpr int kFallbackReaderDelay = 45;
// Longest device type taken from "Device Types", in characters.
constexpr std::size_t kMaxDeviceTypeLength = 200;

// "SPX.ini" in the application folder (given with its trailing separator).
std::string SettingsFilePath(const std::string& applicationFolder);

// --- the list colour palette

// A colour of the list palette: a fixed RGB colour, or one of the two system colours that only the window
// layer knows (the tooltip background and the window background).
struct TListColour {
    enum class Kind : std::uint8_t { Rgb, TooltipBackground, WindowBackground };
    Kind kind = Kind::Rgb;
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    static constexpr TListColour Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        return TListColour{Kind::Rgb, r, g, b};
    }
    // 0xRRGGBB.
    static constexpr TListColour FromRgb24(std::uint32_t rgb) {
        return Rgb(static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                   static_cast<std::uint8_t>(rgb));
    }
    static constexpr TListColour TooltipBackground() { return TListColour{Kind::TooltipBackground, 0, 0, 0}; }
    static constexpr TListColour WindowBackground() { return TListColour{Kind::WindowBackground, 0, 0, 0}; }

    constexpr bool IsSystemColour() const { return kind != Kind::Rgb; }
    // 0xRRGGBB of an RGB colour (0 for a system colour).
    constexpr std::uint32_t Rgb24() const {
        return IsSystemColour() ? 0u : (std::uint32_t{red} << 16) | (std::uint32_t{green} << 8) | blue;
    }
    constexpr bool operator==(const TListColour&) const = default;
};

namespace list_colours {
constexpr TListColour kBlack = TListColour::FromRgb24(0x000000);
constexpr TListColour kNavy = TListColour::FromRgb24(0x000080);
constexpr TListColour kGreen = TListColour::FromRgb24(0x008000);
constexpr TListColour kRed = TListColour::FromRgb24(0xFF0000);
constexpr TListColour kOlive = TListColour::FromRgb24(0x808000);
constexpr TListColour kMaroon = TListColour::FromRgb24(0x800000);
constexpr TListColour kPurple = TListColour::FromRgb24(0x800080);
constexpr TListColour kTeal = TListColour::FromRgb24(0x008080);
constexpr TListColour kGray = TListColour::FromRgb24(0x808080);
constexpr TListColour kFuchsia = TListColour::FromRgb24(0xFF00FF);
constexpr TListColour kYellow = TListColour::FromRgb24(0xFFFF00);
constexpr TListColour kBlue = TListColour::FromRgb24(0x0000FF);
}  // namespace list_colours

// Nine colours, numbered 1 to 9. In a list text the characters 1 to 6 switch the text colour to colour n,
// 7 and 8 the background colour; colour 9 is kept but no text selects it.
constexpr int kListPaletteSize = 9;
class TListPalette {
public:
    // The defaults: black, teal, blue, maroon, fuchsia, red, tooltip background, window background, gray.
    TListPalette();
    // Colour n, 1 to 9 (another number is a programming error).
    const TListColour& Colour(int n) const;
    void SetColour(int n, TListColour colour);
    bool operator==(const TListPalette&) const = default;

private:
    std::array<TListColour, kListPaletteSize> colours_;
};

// The colour a "Window" key names, compared in upper case without the blanks around it: BLACK, NAVY, GREEN,
// RED, OLIVE, MAROON, PURPLE, TEAL, GRAY, FUCHSIA, YELLOW, INFO (tooltip background), WINDOW (window
// background). Any other name gives black.
TListColour ColourFromName(const std::string& name);

// Replaces colour n by the colour of key "Color"+n of "Window" where that key has a value that is not blank.
void ReadListPalette(const TIniFile& settings, TListPalette& palette);

// --- "Setup" and "Device Types"

struct TSetupSettings {
    std::string serialPort = kDefaultSerialPort;  // the port to connect to at start-up
    int delay = kDefaultReaderDelay;              // the reader's end-of-burst delay, microseconds
    bool debug = false;                           // write the diagnostic dump files
    bool operator==(const TSetupSettings&) const = default;
};

// A stored delay outside 40 to 100 becomes 45.
int ReaderDelayFromStored(int stored);
TSetupSettings ReadSetup(const TIniFile& settings);

// "TV", "Cable TV", "Satellite TV", "DVD", "VCR", "Amplifier", "Air Conditioner", "Home Automation", "Other".
const std::vector<std::string>& DefaultDeviceTypes();
// Every entry of "Device Types" in file order, its text after the first "=" cut to 200 characters (keys
// are not used); the defaults when the section has no entries.
std::vector<std::string> ReadDeviceTypes(const TIniFile& settings);

// --- start-up and close

// What the main window keeps of "SPX.ini" besides the templates, the rules and the standard table.
struct TAppSettings {
    TSetupSettings setup;
    TListPalette palette;
    std::vector<std::string> deviceTypes;
};

// Start-up, first step: the advanced options on the application's key of the per-user store.
std::unique_ptr<TSpectrelIniObject> CreateAdvancedOptions(platform::UserStore& store);

// Start-up, second step (bind the template menu and the button list to `templates` first, so that the menu
// is built from what is read): reads "SPX.ini" in this order: the templates, the palette (given its defaults first),
// "Setup", "Device Types", the substitution rules, and last the standard protocols, which are written back
// at once. A missing file is no error: everything takes its default. A file that cannot be read gives the
// defaults as well and is returned as the failure. A malformed protocol line leaves the table empty, is not
// written back and is returned as the failure; everything else has been read.
TDataResult ReadSettingsAtStartup(const std::string& settingsPath, TButtonTemplates& templates, TAppSettings& settings,
                                  TReplaceRule& rules, Tstandard_protocols& standard);

// What the main window hands over when it closes.
struct TCloseSettings {
    bool readerConnected = false;
    std::string portInUse;  // written as "Serial" only while a reader is connected
    int delay = kDefaultReaderDelay;
};

// Close: destroys the options object (which writes the advanced options), then writes the templates
// (their section erased and rewritten), "Setup" "Serial" (only while a reader is connected) and
// "Setup" "Delay". Returns the first failure of the file.
TIniResult WriteSettingsAtClose(std::unique_ptr<TSpectrelIniObject>& options, const std::string& settingsPath,
                                const TButtonTemplates& templates, const TCloseSettings& close);

}  // namespace spectrel
