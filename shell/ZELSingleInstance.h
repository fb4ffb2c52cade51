#pragma once
// The single-instance rule: the first start holds a lock file and listens on a local socket; a second start
// finds the lock held, asks the running instance to show its window in its normal state, and ends without
// creating anything. A lock left by a crashed run is taken over. The marker goes when the instance ends.

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;
class QLockFile;

namespace spectrel::shell {

class TZELSingleInstance : public QObject {
    Q_OBJECT
public:
    enum class TStart {
        First,          // no other instance: this one runs and holds the marker
        OtherShown,     // another instance runs and showed its window: end now
        OtherNoWindow,  // another instance holds the marker but has no window to show: start normally
    };

    // `folder` holds the lock file "<name>.lock"; the local socket is named after `name` and `folder`.
    TZELSingleInstance(const QString& name, const QString& folder, QObject* parent = nullptr);
    ~TZELSingleInstance() override;

    // The per-user folder of the marker (the runtime folder, or the temporary folder).
    static QString DefaultFolder();

    // Looks for a running instance; waits up to `answerTimeoutMs` for it to answer.
    TStart Start(int answerTimeoutMs = 3000);
    bool HoldsMarker() const;

    // What runs when another start asks this instance to show its window; returns false when there is none yet.
    void SetShowWindow(std::function<bool()> show) { showWindow_ = std::move(show); }
    // Shows the application's main window (a top-level main window titled `title`) in its normal state and
    // brings it forward; false when there is none.
    static bool ShowMainWindow(const QString& title);
    // Drops the marker (also done when the object goes).
    void Release();

    QString LockFilePath() const;
    QString ServerName() const;
    // How many other starts this instance has answered.
    int RequestsAnswered() const { return requestsAnswered_; }

private:
    bool AskRunningInstance(int timeoutMs);
    void Listen();
    void Answer();

    QString name_;
    QString folder_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
    std::function<bool()> showWindow_;
    int requestsAnswered_ = 0;
};

}  // namespace spectrel::shell
