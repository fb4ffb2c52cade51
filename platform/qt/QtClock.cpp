#include "platform/qt/QtClock.h"

#include <QCoreApplication>

namespace spectrel::platform::qt {

void QtMessagePump::pumpOnce() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace spectrel::platform::qt
