#include "shell/core/FormPlacement.h"

#include <charconv>
#include <string>

namespace spectrel::shell {

namespace {

int ReadInteger(platform::UserStore& store, const TStoreKey& key, const char* name) {
    const std::optional<std::string> text = store.readValue(key.keyPath, key.section, name);
    if (!text) return -1;
    int value = -1;
    const char* first = text->data();
    const char* last = first + text->size();
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last) return -1;
    return value;
}

}  // namespace

TPlacement DefaultPlacement(const TScreenArea& screen) {
    TPlacement placement;
    placement.height = screen.height - 2 * kScreenBorder - kExtraHeightRoom;
    placement.width = screen.width - 2 * kScreenBorder;
    // Integer division rounds towards zero, as the halves are meant to.
    placement.top = screen.top + (screen.height - placement.height) / 2;
    placement.left = screen.left + (screen.width - placement.width) / 2;
    return placement;
}

bool SavedPlacementFits(const TPlacement& saved, const TScreenArea& screen) {
    if (saved.left <= 0 || saved.top <= 0 || saved.width < 0 || saved.height < 0) return false;
    // Wide values are added as long long, so that no sum of stored numbers overflows.
    const long long right = static_cast<long long>(saved.left) + saved.width;
    const long long bottom = static_cast<long long>(saved.top) + saved.height;
    return right <= static_cast<long long>(screen.left) + screen.width &&
           bottom <= static_cast<long long>(screen.top) + screen.height;
}

TPlacement RestoredPlacement(const TPlacement& saved, const TScreenArea& screen) {
    return SavedPlacementFits(saved, screen) ? saved : DefaultPlacement(screen);
}

TPlacement ReadPlacement(platform::UserStore& store, const TStoreKey& key) {
    TPlacement placement;
    placement.left = ReadInteger(store, key, "Left");
    placement.top = ReadInteger(store, key, "Top");
    placement.height = ReadInteger(store, key, "Height");
    placement.width = ReadInteger(store, key, "Width");
    return placement;
}

void WritePlacement(platform::UserStore& store, const TStoreKey& key, const TPlacement& placement) {
    store.writeValue(key.keyPath, key.section, "Left", std::to_string(placement.left));
    store.writeValue(key.keyPath, key.section, "Top", std::to_string(placement.top));
    store.writeValue(key.keyPath, key.section, "Height", std::to_string(placement.height));
    store.writeValue(key.keyPath, key.section, "Width", std::to_string(placement.width));
}

}  // namespace spectrel::shell
