#pragma once
// Where the image preview window is placed: restored from the per-user store when the window is created and
// saved there whenever it closes (values Left, Top, Height and Width in the subkey ZELFormSize).

#include <memory>

#include "platform/UserStore.h"

class QWidget;

namespace spectrel {

inline constexpr const char* kImagePreviewPlacementKey = "Software\\Halvren Didaziravu Systems\\Spectrel";

class TImagePreviewPlacement {
public:
    virtual ~TImagePreviewPlacement() = default;
    virtual void Restore(QWidget& window) = 0;
    virtual void Save(const QWidget& window) = 0;
};

std::unique_ptr<TImagePreviewPlacement> MakeImagePreviewPlacement(platform::UserStore& store);

}  // namespace spectrel
