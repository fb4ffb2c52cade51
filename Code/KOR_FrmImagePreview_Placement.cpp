#include "Code/KOR_FrmImagePreview_Placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <string>

namespace spectrel {
namespace {

constexpr const char* kSection = "ZELFormSize";
constexpr int kScreenBorder = 10;
constexpr int kTaskbarAllowance = 40;

int ReadInt(platform::UserStore& store, const char* name) {
    const auto value = store.readValue(kImagePreviewPlacementKey, kSection, name);
    if (!value) return -1;
    try {
        return std::stoi(*value);
    } catch (...) {
        return -1;
    }
}

class TStorePlacement : public TImagePreviewPlacement {
public:
    explicit TStorePlacement(platform::UserStore& store) : store_(store) {}

    void Restore(QWidget& window) override {
        const QScreen* screen = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
        const QSize area = screen != nullptr ? screen->size() : QSize(1024, 768);
        const int left = ReadInt(store_, "Left");
        const int top = ReadInt(store_, "Top");
        const int height = ReadInt(store_, "Height");
        const int width = ReadInt(store_, "Width");
        if (left > 0 && top > 0 && width > 0 && height > 0 && left + width <= area.width() &&
            top + height <= area.height()) {
            window.setGeometry(left, top, width, height);
            return;
        }
        const int h = area.height() - 2 * kScreenBorder - kTaskbarAllowance;
        const int w = area.width() - 2 * kScreenBorder;
        window.setGeometry((area.width() - w) / 2, (area.height() - h) / 2, w, h);
    }

    void Save(const QWidget& window) override {
        const QRect g = window.geometry();
        store_.writeValue(kImagePreviewPlacementKey, kSection, "Left", std::to_string(g.left()));
        store_.writeValue(kImagePreviewPlacementKey, kSection, "Top", std::to_string(g.top()));
        store_.writeValue(kImagePreviewPlacementKey, kSection, "Height", std::to_string(g.height()));
        store_.writeValue(kImagePreviewPlacementKey, kSection, "Width", std::to_string(g.width()));
        store_.flush();
    }

private:
    platform::UserStore& store_;
};

}  // namespace

std::unique_ptr<TImagePreviewPlacement> MakeImagePreviewPlacement(platform::UserStore& store) {
    return std::make_unique<TStorePlacement>(store);
}

}  // namespace spectrel
