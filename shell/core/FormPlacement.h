#pragma once
// Where a window goes on the screen: the default placement (the screen less a border) and the check that a
// saved placement still fits the screen. Plain rules, so that they are tested without a window.

#include <optional>
#include <string>

#include "platform/UserStore.h"
#include "shell/core/StoreKey.h"

namespace spectrel::shell {

// The gap kept between a window in its default placement and the screen's edges, in pixels.
inline constexpr int kScreenBorder = 10;
// The default placement leaves this much more room in height (for a task bar).
inline constexpr int kExtraHeightRoom = 40;

struct TPlacement {
    int left = -1;
    int top = -1;
    int width = -1;
    int height = -1;
    bool operator==(const TPlacement&) const = default;
};

// The area a window may cover; left and top are 0 on a screen without task bars above or left of it.
struct TScreenArea {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The screen less the border at each side and the extra height room, centred (halves rounded towards zero).
TPlacement DefaultPlacement(const TScreenArea& screen);

// A saved placement is used when Left > 0, Top > 0 and its right and bottom edges lie on the screen.
// A Left or Top of 0 (or the -1 of a value never saved) counts as invalid.
bool SavedPlacementFits(const TPlacement& saved, const TScreenArea& screen);

// The saved placement when it fits, otherwise the default placement.
TPlacement RestoredPlacement(const TPlacement& saved, const TScreenArea& screen);

// Reads "Left", "Top", "Height" and "Width" (missing or unreadable values are -1).
TPlacement ReadPlacement(platform::UserStore& store, const TStoreKey& key);
// Writes the four values as decimal integers.
void WritePlacement(platform::UserStore& store, const TStoreKey& key, const TPlacement& placement);

}  // namespace spectrel::shell
