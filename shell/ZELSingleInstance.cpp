#include "shell/ZELSingleInstance.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QMainWindow>
#include <QStandardPaths>
#include <QTimer>

namespace spectrel::shell {

namespace {

constexpr char kShowRequest[] = "SHOW\n";
constexpr char kShownAnswer[] = "SHOWN\n";
constexpr char kNoWindowAnswer[] = "NOWINDOW\n";

}  // namespace

TZELSingleInstance::TZELSingleInstance(const QString& name, const QString& folder, QObject* parent)
    : QObject(parent), name_(name), folder_(folder) {}

TZELSingleInstance::~TZELSingleInstance() { Release(); }

QString TZELSingleInstance::DefaultFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    return folder;
}

QString TZELSingleInstance::LockFilePath() const { return QDir(folder_).filePath(name_ + QStringLiteral(".lock")); }

QString TZELSingleInstance::ServerName() const {
    // One socket per user: the marker folder is the user's own.
    return name_ + QStringLiteral("-") + QString::number(qHash(QDir(folder_).absolutePath()), 16);
}

bool TZELSingleInstance::HoldsMarker() const { return lock_ && lock_->isLocked(); }

TZELSingleInstance::TStart TZELSingleInstance::Start(int answerTimeoutMs) {
    QDir().mkpath(folder_);
    lock_ = std::make_unique<QLockFile>(LockFilePath());
    // Only a lock whose process is gone counts as stale, however old it is.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0)) {
        Listen();
        return TStart::First;
    }
    lock_.reset();
    if (AskRunningInstance(answerTimeoutMs)) return TStart::OtherShown;
    return TStart::OtherNoWindow;
}

void TZELSingleInstance::Listen() {
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket left by a crashed run would refuse the name.
    QLocalServer::removeServer(ServerName());
    server_->listen(ServerName());
    connect(server_, &QLocalServer::newConnection, this, &TZELSingleInstance::Answer);
}

void TZELSingleInstance::Answer() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto handle = [this, socket] {
            if (!socket->canReadLine()) return;
            const QByteArray request = socket->readLine();
            if (request != kShowRequest) {
                socket->disconnectFromServer();
                return;
            }
            const bool shown = showWindow_ && showWindow_();
            ++requestsAnswered_;
            socket->write(shown ? kShownAnswer : kNoWindowAnswer);
            socket->flush();
            socket->disconnectFromServer();
        };
        connect(socket, &QLocalSocket::readyRead, this, handle);
        handle();
    }
}

bool TZELSingleInstance::AskRunningInstance(int timeoutMs) {
    QLocalSocket socket;
    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    QByteArray answer;
    bool failed = false;
    connect(&socket, &QLocalSocket::connected, &loop, [&] {
        socket.write(kShowRequest);
        socket.flush();
    });
    connect(&socket, &QLocalSocket::readyRead, &loop, [&] {
        answer += socket.readAll();
        if (answer.endsWith('\n')) loop.quit();
    });
    connect(&socket, &QLocalSocket::errorOccurred, &loop, [&] {
        answer += socket.readAll();
        failed = true;
        loop.quit();
    });
    // The running instance answers from its own event loop, perhaps in this very process, so the wait runs
    // the event loop rather than blocking.
    socket.connectToServer(ServerName());
    timeout.start(timeoutMs);
    if (!failed && answer.isEmpty()) loop.exec();
    if (answer.isEmpty() && socket.bytesAvailable() > 0) answer = socket.readAll();
    return answer == kShownAnswer;
}

bool TZELSingleInstance::ShowMainWindow(const QString& title) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* window = qobject_cast<QMainWindow*>(widget);
        if (!window || window->windowTitle() != title) continue;
        window->showNormal();
        window->raise();
        window->activateWindow();
        return true;
    }
    return false;
}

void TZELSingleInstance::Release() {
    if (server_) {
        server_->close();
        delete server_;
        server_ = nullptr;
    }
    if (lock_) {
        lock_->unlock();
        lock_.reset();
    }
}

}  // namespace spectrel::shell
