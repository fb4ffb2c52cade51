#pragma once
// The six shell preferences of a frame window, kept in the per-user store below the window's key.

#include <string>

#include "platform/UserStore.h"
#include "shell/core/StoreKey.h"

namespace spectrel::shell {

// How long a tooltip stays visible unless the user chose otherwise (the toolkit shows a short tooltip this long).
inline constexpr int kDefaultHintHidePause = 10000;

struct TShellPreferences {
    bool flatButtons = true;         // "FlatButtons": speed buttons drawn flat
    bool saveIntPos = true;          // "SaveIntPos": toolbar layout restored at creation and saved at the end
    bool showHelp = true;            // "ShowHelp": hints shown (the "H&ints" tick)
    bool savePos = false;            // "SavePos": kept for the preferences dialog
    bool usePreferencesTree = true;  // "USEPREFERENCESTREE": kept for the preferences dialog
    int hintHidePause = kDefaultHintHidePause;  // "HintHidePause", ms
    bool operator==(const TShellPreferences&) const = default;
};

// Missing or unreadable values take their defaults (`defaultHintHidePause` for the hint hide pause).
TShellPreferences ReadShellPreferences(platform::UserStore& store, const TStoreKey& key,
                                       int defaultHintHidePause = kDefaultHintHidePause);
// Writes the six values (booleans as "1" and "0", the pause as a decimal integer).
void WriteShellPreferences(platform::UserStore& store, const TStoreKey& key, const TShellPreferences& values);

}  // namespace spectrel::shell
