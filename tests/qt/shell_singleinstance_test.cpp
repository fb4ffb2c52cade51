// The single-instance rule: a second start brings the running instance's window back in its normal state and
// ends; a marker left by a crashed run is taken over; the marker goes when the instance ends.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QEventLoop>
#include <QProcessEnvironment>
#include <QTest>
#include <QTimer>

#include "shell/ZELSingleInstance.h"

namespace spectrel::shell {
namespace {

using TStart = TZELSingleInstance::TStart;

TEST(SingleInstance, SecondStartBringsTheFirstWindowBack) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    TZELSingleInstance first(QStringLiteral("SpectrelRunning"), folder.path());
    ASSERT_EQ(first.Start(), TStart::First);
    EXPECT_TRUE(first.HoldsMarker());
    EXPECT_TRUE(QFileInfo::exists(first.LockFilePath()));

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Spectrel"));
    window.showMinimized();
    QTest::qWait(20);
    first.SetShowWindow([&window] {
        window.showNormal();
        window.raise();
        window.activateWindow();
        return true;
    });

    TZELSingleInstance second(QStringLiteral("SpectrelRunning"), folder.path());
    EXPECT_EQ(second.Start(), TStart::OtherShown);
    EXPECT_FALSE(second.HoldsMarker()) << "the second start creates nothing and leaves the marker alone";
    EXPECT_EQ(first.RequestsAnswered(), 1);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isMinimized());
    EXPECT_TRUE(first.HoldsMarker());
}

TEST(SingleInstance, RunningInstanceWithoutAWindowLetsTheNewOneStart) {
    QTemporaryDir folder;
    TZELSingleInstance first(QStringLiteral("SpectrelRunning"), folder.path());
    ASSERT_EQ(first.Start(), TStart::First);
    // No window yet (still being created).
    TZELSingleInstance second(QStringLiteral("SpectrelRunning"), folder.path());
    EXPECT_EQ(second.Start(), TStart::OtherNoWindow);
    first.SetShowWindow([] { return false; });
    TZELSingleInstance third(QStringLiteral("SpectrelRunning"), folder.path());
    EXPECT_EQ(third.Start(), TStart::OtherNoWindow);
    EXPECT_EQ(first.RequestsAnswered(), 2);
}

// Writes a marker as a run of process `pid` leaves it.
void WriteMarker(const QString& path, qint64 pid) {
    QFile lock(path);
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray::number(pid) + "\n" + QCoreApplication::applicationName().toUtf8() + "\n" +
               QSysInfo::machineHostName().toUtf8() + "\n");
}

TEST(SingleInstance, MarkerOfALiveProcessIsRespected) {
    QTemporaryDir folder;
    TZELSingleInstance probe(QStringLiteral("SpectrelRunning"), folder.path());
    WriteMarker(probe.LockFilePath(), QCoreApplication::applicationPid());
    // Held, but nobody answers: the new instance starts without taking the marker.
    EXPECT_EQ(probe.Start(300), TStart::OtherNoWindow);
    EXPECT_FALSE(probe.HoldsMarker());
    EXPECT_TRUE(QFileInfo::exists(probe.LockFilePath()));
}

TEST(SingleInstance, StaleMarkerOfACrashedRunIsTakenOver) {
    QTemporaryDir folder;
    TZELSingleInstance probe(QStringLiteral("SpectrelRunning"), folder.path());
    // A process that has ended stands for the crashed run that held the marker.
    QProcess gone;
    gone.start(QStringLiteral("true"), {});
    ASSERT_TRUE(gone.waitForFinished(5000));
    const qint64 deadPid = gone.processId() > 0 ? gone.processId() : 0;
    WriteMarker(probe.LockFilePath(), deadPid > 0 ? deadPid : 4194303);

    TZELSingleInstance next(QStringLiteral("SpectrelRunning"), folder.path());
    EXPECT_EQ(next.Start(), TStart::First);
    EXPECT_TRUE(next.HoldsMarker());
}

TEST(SingleInstance, MarkerGoesWhenTheInstanceEnds) {
    QTemporaryDir folder;
    QString lockPath;
    {
        TZELSingleInstance first(QStringLiteral("SpectrelRunning"), folder.path());
        ASSERT_EQ(first.Start(), TStart::First);
        lockPath = first.LockFilePath();
        EXPECT_TRUE(QFileInfo::exists(lockPath));
    }
    EXPECT_FALSE(QFileInfo::exists(lockPath));
    TZELSingleInstance next(QStringLiteral("SpectrelRunning"), folder.path());
    EXPECT_EQ(next.Start(), TStart::First);
    next.Release();
    EXPECT_FALSE(QFileInfo::exists(lockPath));
    EXPECT_FALSE(next.HoldsMarker());
}

TEST(SingleInstance, MarkersOfOtherFoldersDoNotMeet) {
    QTemporaryDir one;
    QTemporaryDir other;
    TZELSingleInstance first(QStringLiteral("SpectrelRunning"), one.path());
    TZELSingleInstance second(QStringLiteral("SpectrelRunning"), other.path());
    EXPECT_EQ(first.Start(), TStart::First);
    EXPECT_EQ(second.Start(), TStart::First);
    EXPECT_NE(first.ServerName(), second.ServerName());
}

}  // namespace
}  // namespace spectrel::shell

namespace spectrel::shell {
namespace {

// The real program started while an instance runs: it asks that instance to show its window and ends at once.
TEST(SingleInstance, ProgramStartedAgainEndsAfterShowingTheRunningWindow) {
    const QString program = QStringLiteral(SPECTREL_BINARY_DIR "/spectrel");
    if (!QFileInfo(program).isExecutable()) GTEST_SKIP() << "spectrel is not built";
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    TZELSingleInstance running(QStringLiteral("SpectrelRunning"), runtime.path());
    ASSERT_EQ(running.Start(), TZELSingleInstance::TStart::First);
    int shown = 0;
    running.SetShowWindow([&shown] {
        ++shown;
        return true;
    });

    QProcess second;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    second.setProcessEnvironment(environment);
    QEventLoop loop;
    QObject::connect(&second, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    second.start(program, {QStringLiteral("/NOSPLASH")});
    ASSERT_TRUE(second.waitForStarted(5000));
    // This instance answers from its event loop while the second one waits.
    loop.exec();
    ASSERT_EQ(second.state(), QProcess::NotRunning);
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(running.HoldsMarker());
}

}  // namespace
}  // namespace spectrel::shell
