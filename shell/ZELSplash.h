#pragma once
// The splash picture shown for one second while the main window loads.

#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <memory>

class QSplashScreen;

namespace spectrel::shell {

inline constexpr int kSplashMilliseconds = 1000;

// The program's icon (resources/icons/spectrel.svg): the windows, the splash picture and the desktop entry show it.
QIcon ProgramIcon();

// Draws the picture: the program's name and icon, a remote sending to a reader board, the version.
QPixmap SplashPicture(const QString& version);

// Shows the splash picture; it closes itself after one second. The caller keeps the object.
std::unique_ptr<QSplashScreen> ShowSplash(const QString& version);

}  // namespace spectrel::shell
