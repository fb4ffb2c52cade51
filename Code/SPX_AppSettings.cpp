#include "Code/SPX_AppSettings.h"

#include <utility>

#include "Code/SPX_Assert.h"
#include "Code/SPX_replace.h"
#include "Code/uKOR_ButtonTemplates.h"
#include "Code/uKOR_SpectrelIni.h"

namespace spectrel {

namespace {

constexpr const char* kModule = "Code/SPX_AppSettings";

std::string TrimmedUpper(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
    std::string upper = text.substr(begin, end - begin);
    // ASCII only: the C library's mapping follows the user's locale (in Turkish "info" would stay "iNFO").
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

struct NamedColour {
    const char* name;
    TListColour colour;
};

constexpr NamedColour kColourNames[] = {
    {"BLACK", list_colours::kBlack},
    {"NAVY", list_colours::kNavy},
    {"GREEN", list_colours::kGreen},
    {"RED", list_colours::kRed},
    {"OLIVE", list_colours::kOlive},
    {"MAROON", list_colours::kMaroon},
    {"PURPLE", list_colours::kPurple},
    {"TEAL", list_colours::kTeal},
    {"GRAY", list_colours::kGray},
    {"FUCHSIA", list_colours::kFuchsia},
    {"YELLOW", list_colours::kYellow},
    {"INFO", TListColour::TooltipBackground()},
    {"WINDOW", TListColour::WindowBackground()},
};

// The first `limit` bytes of text, moved back so that no UTF-8 character is cut in half.
std::string CutToLength(const std::string& text, std::size_t limit) {
    if (text.size() <= limit) return text;
    auto isContinuation = [&](std::size_t i) { return (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80; };
    std::size_t cut = limit;
    if (isContinuation(cut)) {
        std::size_t lead = cut;
        while (lead > 0 && isContinuation(lead)) --lead;
        const auto first = static_cast<unsigned char>(text[lead]);
        const std::size_t length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 1;
        if (first >= 0xC0 && lead + length > limit) cut = lead;
    }
    return text.substr(0, cut);
}

}  // namespace

std::string SettingsFilePath(const std::string& applicationFolder) { return applicationFolder + kSettingsFileName; }

// --- palette

TListPalette::TListPalette()
    : colours_{list_colours::kBlack,
               list_colours::kTeal,
               list_colours::kBlue,
               list_colours::kMaroon,
               list_colours::kFuchsia,
               list_colours::kRed,
               TListColour::TooltipBackground(),
               TListColour::WindowBackground(),
               list_colours::kGray} {}

const TListColour& TListPalette::Colour(int n) const {
    SPX_ASSERT(n >= 1 && n <= kListPaletteSize, "Palette colour number out of range", kModule);
    return colours_[static_cast<std::size_t>(n - 1)];
}

void TListPalette::SetColour(int n, TListColour colour) {
    SPX_ASSERT(n >= 1 && n <= kListPaletteSize, "Palette colour number out of range", kModule);
    colours_[static_cast<std::size_t>(n - 1)] = colour;
}

TListColour ColourFromName(const std::string& name) {
    const std::string key = TrimmedUpper(name);
    for (const NamedColour& entry : kColourNames) {
        if (key == entry.name) return entry.colour;
    }
    return list_colours::kBlack;
}

void ReadListPalette(const TIniFile& settings, TListPalette& palette) {
    for (int n = 1; n <= kListPaletteSize; ++n) {
        const std::string value = settings.ReadString(kWindowSection, kColourKeyPrefix + std::to_string(n), "");
        // An empty value (blanks only, once unquoted) keeps the colour.
        if (!TrimmedUpper(value).empty()) palette.SetColour(n, ColourFromName(value));
    }
}

// --- Setup and Device Types

int ReaderDelayFromStored(int stored) {
    return (stored < kMinReaderDelay || stored > kMaxReaderDelay) ? kFallbackReaderDelay : stored;
}

TSetupSettings ReadSetup(const TIniFile& settings) {
    TSetupSettings setup;
    setup.serialPort = settings.ReadString(kSetupSection, kSerialKey, kDefaultSerialPort);
    setup.delay = ReaderDelayFromStored(settings.ReadInteger(kSetupSection, kDelayKey, kDefaultReaderDelay));
    setup.debug = settings.ReadBool(kSetupSection, kDebugKey, false);
    return setup;
}

const std::vector<std::string>& DefaultDeviceTypes() {
    static const std::vector<std::string> types = {"TV",        "Cable TV",        "Satellite TV",    "DVD",  "VCR",
                                                   "Amplifier", "Air Conditioner", "Home Automation", "Other"};
    return types;
}

std::vector<std::string> ReadDeviceTypes(const TIniFile& settings) {
    const std::vector<std::string> entries = settings.ReadSectionValues(kDeviceTypesSection);
    if (entries.empty()) return DefaultDeviceTypes();
    std::vector<std::string> types;
    types.reserve(entries.size());
    for (const std::string& entry : entries) {
        const std::size_t eq = entry.find('=');
        const std::string value = eq == std::string::npos ? std::string() : entry.substr(eq + 1);
        types.push_back(CutToLength(value, kMaxDeviceTypeLength));
    }
    return types;
}

// --- start-up and close

std::unique_ptr<TSpectrelIniObject> CreateAdvancedOptions(platform::UserStore& store) {
    return std::make_unique<TSpectrelIniObject>(store, SpectrelKeyPath());
}

TDataResult ReadSettingsAtStartup(const std::string& settingsPath, TButtonTemplates& templates, TAppSettings& settings,
                                  TReplaceRule& rules, Tstandard_protocols& standard) {
    settings.palette = TListPalette();
    TIniFile file(settingsPath);
    templates.LoadTemplates(file);
    ReadListPalette(file, settings.palette);
    settings.setup = ReadSetup(file);
    settings.deviceTypes = ReadDeviceTypes(file);
    LoadRules(rules, file);

    // The standard protocols go straight back, so every stored line takes the current text form.
    TDataResult loaded = LoadStandardProtocols(standard, file);
    // A file that exists but cannot be read has given defaults everywhere; say so (its writes fail too, so
    // the file itself is not overwritten).
    if (file.HasError()) return TDataResult{false, file.FirstError().message};
    if (!loaded.ok) return loaded;
    return SaveStandardProtocols(standard, file);
}

TIniResult WriteSettingsAtClose(std::unique_ptr<TSpectrelIniObject>& options, const std::string& settingsPath,
                                const TButtonTemplates& templates, const TCloseSettings& close) {
    options.reset();  // writes the advanced options

    TIniFile file(settingsPath);
    TIniResult first = templates.SaveTemplates(file);
    auto keep = [&first](TIniResult result) {
        if (first.ok && !result.ok) first = std::move(result);
    };
    if (close.readerConnected) keep(file.WriteString(kSetupSection, kSerialKey, close.portInUse));
    keep(file.WriteInteger(kSetupSection, kDelayKey, close.delay));
    return first;
}

}  // namespace spectrel
