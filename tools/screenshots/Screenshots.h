#pragma once
// The screenshot tool renders windows headless to PNG files for a person to look at. Each window group adds
// one file here that registers its pictures:
//
//     SPECTREL_SCREENSHOT("main_window_no_reader") { ...build the window...; return Grab(window); }
//
// The tool runs every registered picture in name order (or those named on its command line) and writes
// <out>/<name>.png.

#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>

namespace spectrel::screenshots {

using TakePicture = std::function<QImage()>;

// Registers a picture; used through SPECTREL_SCREENSHOT.
bool RegisterPicture(const char* name, TakePicture take);

// Shows the widget, lets it lay itself out and paint, and returns what it drew.
QImage Grab(QWidget& widget);

// Runs the event loop for a while, so that timers and queued work of the window get their turn.
void Settle(int milliseconds = 50);

}  // namespace spectrel::screenshots

#define SPECTREL_SCREENSHOT_CONCAT2(a, b) a##b
#define SPECTREL_SCREENSHOT_CONCAT(a, b) SPECTREL_SCREENSHOT_CONCAT2(a, b)
#define SPECTREL_SCREENSHOT(name)                                                                               \
    static QImage SPECTREL_SCREENSHOT_CONCAT(TakePicture_, __LINE__)();                                         \
    static const bool SPECTREL_SCREENSHOT_CONCAT(registered_, __LINE__) =                                       \
        ::spectrel::screenshots::RegisterPicture(name, &SPECTREL_SCREENSHOT_CONCAT(TakePicture_, __LINE__));   \
    static QImage SPECTREL_SCREENSHOT_CONCAT(TakePicture_, __LINE__)()
