#include "shell/core/FrameRules.h"

#include <array>
#include <charconv>
#include <sstream>

namespace spectrel::shell {

namespace {

constexpr std::array<TFrameMenuItemInfo, kFrameMenuItemCount> kItems{{
    {"mnuNew", "&New", true},
    {"mnuOpen", "&Open", true},
    {"mnuReopen", "&Reopen", true},
    {"mnuSave", "&Save", true},
    {"mnuSaveAs", "Save &As", true},
    {"mnuSaveAll", "Save All", false},
    {"mnuClose", "Close", false},
    {"mnuCloseAll", "Close All", false},
    {"mnuPreview", "Pre&view", true},
    {"mnuPrint", "&Print", true},
    {"mnuPrintAll", "Print All", false},
    {"mnuPrinterSetup", "Printer &Setup", false},
    {"mnuPreferences", "Pre&ferences", false},
}};

constexpr std::array<const char*, 5> kDocks{"Top", "Bottom", "Left", "Right", "Float"};

std::optional<int> ParseInt(const std::string& text) {
    int value = 0;
    const char* first = text.data();
    const char* last = first + text.size();
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (text.empty() || ec != std::errc() || ptr != last) return std::nullopt;
    return value;
}

}  // namespace

const TFrameMenuItemInfo& FrameMenuItemInfo(TFrameMenuItem item) { return kItems.at(static_cast<std::size_t>(item)); }

std::string ExitHint(const std::string& title) { return "Exit " + title + "?"; }

std::string AboutCaption(const std::string& title) { return "&About " + title; }

std::string AboutHint(const std::string& title) { return "View file/version details about " + title; }

std::string WhatsNewCaption(const std::string& title, const std::string& version) {
    return "&Whats new for \"" + title + "\" version  " + version;
}

std::string WhatsNewHint(const std::string& title, const std::string& version) {
    return "Show new features and bug fixes of \"" + title + "\" version  " + version;
}

std::string NoHelpText(const std::string& title) { return "No help is installed for " + title + "."; }

std::string ShortHint(const std::string& hint) {
    const std::size_t bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(0, bar);
}

std::string LongHint(const std::string& hint) {
    const std::size_t bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(bar + 1);
}

std::string StatusPanelHint(const std::string& longHint, bool sizeGrip) {
    std::string text = longHint.substr(0, longHint.find('\r'));
    if (sizeGrip) text += "      ";
    return text;
}

int StatusPanelWidth(int textWidth) { return (textWidth > 0 ? textWidth : 0) + 10; }

bool StatusPanelTextIsRed(const std::string& text) { return text == kModifiedText; }

std::string FormatToolbarPlacement(const TToolbarPlacement& placement) {
    return placement.dock + "," + std::to_string(placement.row) + "," + std::to_string(placement.position) + "," +
           (placement.visible ? "1" : "0");
}

std::optional<TToolbarPlacement> ParseToolbarPlacement(const std::string& text) {
    std::vector<std::string> fields;
    std::stringstream stream(text);
    std::string field;
    while (std::getline(stream, field, ',')) fields.push_back(field);
    if (fields.size() != 4) return std::nullopt;
    bool knownDock = false;
    for (const char* dock : kDocks) knownDock = knownDock || fields[0] == dock;
    const std::optional<int> row = ParseInt(fields[1]);
    const std::optional<int> position = ParseInt(fields[2]);
    if (!knownDock || !row || !position || *row < 0 || (fields[3] != "0" && fields[3] != "1")) return std::nullopt;
    return TToolbarPlacement{fields[0], *row, *position, fields[3] == "1"};
}

}  // namespace spectrel::shell
