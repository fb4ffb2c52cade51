#pragma once
// TZELFormSize: the placement of a window kept on a key of the per-user store. The window gets the default
// placement (the screen less a border) when it is loaded, a saved placement at creation when it still fits the
// screen, and its placement is written back at the end.

#include <QRect>
#include <functional>

#include "platform/UserStore.h"
#include "shell/core/FormPlacement.h"
#include "shell/core/StoreKey.h"

class QWidget;

namespace spectrel::shell {

class TZELFormSize {
public:
    // `screen` gives the area a window may cover; when empty the primary screen's available geometry.
    TZELFormSize(platform::UserStore& store, QWidget& form, std::function<QRect()> screen = {});

    void SetKey(const TStoreKey& key) { key_ = key; }
    const TStoreKey& Key() const { return key_; }

    // Places the window in the default placement.
    void Default();
    // Applies the saved placement when it fits the screen, the default placement otherwise.
    void Restore();
    // Writes the window's current placement.
    void Save();

    // The window's placement now, and placing it.
    TPlacement Current() const;
    void Apply(const TPlacement& placement);
    TScreenArea Screen() const;

private:
    platform::UserStore& store_;
    QWidget& form_;
    std::function<QRect()> screen_;
    TStoreKey key_;
};

// The primary screen's available area (a 1024 x 768 screen when there is none).
QRect PrimaryScreenArea();

}  // namespace spectrel::shell
