#pragma once
// The frame window's rules that need no window: the document command set, the captions and hints built from
// the application title and version, hint texts, status panel widths and the keys of the per-user store.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/UserStore.h"

namespace spectrel::shell {

// The document commands a frame window may show; bit n of a command set stands for member n.
enum TFrameMenuItem {
    tmiNew,
    tmiOpen,
    tmiReopen,
    tmiSave,
    tmiSaveAs,
    tmiSaveAll,
    tmiClose,
    tmiCloseAll,
    tmiPreview,
    tmiPrint,
    tmiPrintAll,
    tmiPrinterSetup,
    tmiPreferences,
};
inline constexpr int kFrameMenuItemCount = 13;

// The command set a frame window starts with: New, Open, Reopen, Save, Save As, Preview, Print, Printer Setup
// and Preferences.
inline constexpr std::uint16_t kInitialFrameMenuItems = 6943;

constexpr std::uint16_t FrameMenuItemBit(TFrameMenuItem item) { return static_cast<std::uint16_t>(1u << item); }
constexpr bool HasFrameMenuItem(std::uint16_t items, TFrameMenuItem item) {
    return (items & FrameMenuItemBit(item)) != 0;
}

struct TFrameMenuItemInfo {
    const char* objectName;  // "mnuNew"
    const char* caption;     // "&New"
    bool toolButton;         // the command also has a button on the file toolbar
};
// The caption, object name and toolbar button of each member.
const TFrameMenuItemInfo& FrameMenuItemInfo(TFrameMenuItem item);

// Captions and hints built from the application title T and the file version V.
std::string ExitHint(const std::string& title);                      // "Exit Spectrel?"
std::string AboutCaption(const std::string& title);                  // "&About Spectrel"
std::string AboutHint(const std::string& title);                     // "View file/version details about Spectrel"
std::string WhatsNewCaption(const std::string& title, const std::string& version);
std::string WhatsNewHint(const std::string& title, const std::string& version);

// The text of the information box shown while no help is installed.
std::string NoHelpText(const std::string& title);  // "No help is installed for Spectrel."

// A hint "short|long": the tooltip is the part before the first "|", the status bar hint the part after it
// (the whole hint when there is no "|").
std::string ShortHint(const std::string& hint);
std::string LongHint(const std::string& hint);
// What the last status panel shows for a long hint: the text up to its first carriage return, and six
// blanks after it when the status bar has a size grip.
std::string StatusPanelHint(const std::string& longHint, bool sizeGrip);

// Width of an owner-drawn status panel: its text's width plus 10 pixels (10 for an empty text).
int StatusPanelWidth(int textWidth);
// The text of a status panel drawn in red.
inline constexpr const char* kModifiedText = "Modified";
bool StatusPanelTextIsRed(const std::string& text);

// How one toolbar lies in the window: its dock ("Top", "Bottom", "Left", "Right" or "Float"), its row in the
// dock, its position along the row in pixels, and whether it is shown.
struct TToolbarPlacement {
    std::string dock = "Top";
    int row = 0;
    int position = 0;
    bool visible = true;
    bool operator==(const TToolbarPlacement&) const = default;
};
// "Top,0,0,1"
std::string FormatToolbarPlacement(const TToolbarPlacement& placement);
// nullopt for a text that is not four fields of the form above.
std::optional<TToolbarPlacement> ParseToolbarPlacement(const std::string& text);

}  // namespace spectrel::shell
