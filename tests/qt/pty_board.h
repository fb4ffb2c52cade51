#pragma once
// The spectrel-virtual-board program serving the board on a pseudo-terminal, for the tests that reach it through
// the real serial port code. Started with the options given; ended when the object goes (closing its input ends
// it; killed if it does not end).

#include <QProcess>
#include <QStringList>
#include <string>

namespace spectrel::test {

class PtyBoard {
public:
    explicit PtyBoard(const QString& program, const QStringList& options = {}) {
        process_.start(program, options);
        if (!process_.waitForStarted(5000)) return;
        while (!process_.canReadLine() && process_.waitForReadyRead(5000)) {
        }
        path_ = QString::fromLocal8Bit(process_.readLine()).trimmed().toStdString();
    }
    ~PtyBoard() {
        process_.closeWriteChannel();
        if (!process_.waitForFinished(3000)) {
            process_.kill();
            process_.waitForFinished(3000);
        }
    }
    PtyBoard(const PtyBoard&) = delete;
    PtyBoard& operator=(const PtyBoard&) = delete;

    // The terminal device the board is served on ("/dev/pts/N"); empty when the program did not start.
    const std::string& path() const { return path_; }
    QString errors() { return QString::fromLocal8Bit(process_.readAllStandardError()); }
    // Ends the program at once, as when the board's cable is pulled: its side of the terminal goes away.
    void kill() {
        process_.kill();
        process_.waitForFinished(3000);
    }
    bool running() const { return process_.state() == QProcess::Running; }

private:
    QProcess process_;
    std::string path_;
};

}  // namespace spectrel::test
