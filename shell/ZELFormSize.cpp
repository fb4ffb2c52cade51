#include "shell/ZELFormSize.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace spectrel::shell {

namespace {
constexpr QRect kNoScreenArea{0, 0, 1024, 768};
}

QRect PrimaryScreenArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : kNoScreenArea;
}

TZELFormSize::TZELFormSize(platform::UserStore& store, QWidget& form, std::function<QRect()> screen)
    : store_(store), form_(form), screen_(std::move(screen)) {}

TScreenArea TZELFormSize::Screen() const {
    const QRect area = screen_ ? screen_() : PrimaryScreenArea();
    return {area.x(), area.y(), area.width(), area.height()};
}

void TZELFormSize::Default() { Apply(DefaultPlacement(Screen())); }

void TZELFormSize::Restore() { Apply(RestoredPlacement(ReadPlacement(store_, key_), Screen())); }

void TZELFormSize::Save() { WritePlacement(store_, key_, Current()); }

TPlacement TZELFormSize::Current() const {
    // A maximised window keeps the placement it returns to.
    const QRect normal = form_.isMaximized() || form_.isMinimized() ? form_.normalGeometry() : form_.geometry();
    const QPoint corner = form_.isMaximized() || form_.isMinimized() ? normal.topLeft() : form_.pos();
    return {corner.x(), corner.y(), normal.width(), normal.height()};
}

void TZELFormSize::Apply(const TPlacement& placement) {
    form_.resize(placement.width, placement.height);
    form_.move(placement.left, placement.top);
}

}  // namespace spectrel::shell
