#include "platform/qt/QtClock.h"

#include <QCoreApplication>
#include <QTimer>

namespace spectrel::platform::qt {

QtMessagePump::QtMessagePump() = default;
QtMessagePump::~QtMessagePump() = default;

void QtMessagePump::pumpOnce() {
    if (!QCoreApplication::instance()) return;
    // The wake-up timer bounds the sleep when nothing happens; it is created on the first pump, in the thread
    // that pumps, once the application exists.
    if (!wake_) {
        wake_ = std::make_unique<QTimer>();
        wake_->setSingleShot(true);
        wake_->setTimerType(Qt::PreciseTimer);
    }
    if (!wake_->isActive()) wake_->start(kIdleWaitMs);
    // Handles what is pending; only when nothing is does it wait, for the next event or the timer.
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

}  // namespace spectrel::platform::qt
