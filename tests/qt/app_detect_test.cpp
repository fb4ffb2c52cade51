// The program's console mode: `spectrel --detect` prints the reader status, with no display at all, and a port
// named on the command line is the only one tried.

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <memory>
#include <string>

namespace {

const QString kProgram = QStringLiteral(SPECTREL_BINARY_DIR "/spectrel");
const QString kBoardProgram = QStringLiteral(SPECTREL_BINARY_DIR "/spectrel-virtual-board");
constexpr const char* kBoardPath = "<board>";  // stands for the pseudo-terminal of spectrel-virtual-board

struct RunResult {
    bool finished = false;
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs the program as a user would on a machine without a display.
RunResult RunSpectrel(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    process.setProcessEnvironment(environment);
    process.start(kProgram, arguments);
    RunResult result;
    result.finished = process.waitForFinished(60000);
    if (!result.finished) process.kill();
    process.waitForFinished(3000);
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromLocal8Bit(process.readAllStandardOutput()).toStdString();
    result.err = QString::fromLocal8Bit(process.readAllStandardError()).toStdString();
    return result;
}

// spectrel-virtual-board on a pseudo-terminal; it ends when its standard input is closed.
class PtyBoard {
public:
    PtyBoard() {
        process_.start(kBoardProgram, {});
        if (!process_.waitForStarted(5000)) return;
        while (!process_.canReadLine() && process_.waitForReadyRead(5000)) {
        }
        path_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
    }
    ~PtyBoard() {
        process_.closeWriteChannel();
        if (!process_.waitForFinished(3000)) {
            process_.kill();
            process_.waitForFinished(3000);
        }
    }
    const QString& path() const { return path_; }

private:
    QProcess process_;
    QString path_;
};

struct DetectCase {
    const char* name;
    QStringList arguments;
    std::string out;
    int exitCode;
};

TEST(SpectrelDetect, PrintsTheReaderStatus) {
    if (!QFileInfo(kProgram).isExecutable()) GTEST_SKIP() << "spectrel is not built";
    const DetectCase cases[] = {
        {"falls back to the virtual board", {"--detect"}, "Reader 1.3\n", 0},
        {"with the start-up option of tools/run.sh", {"--detect", "--virtual-if-no-port"}, "Reader 1.3\n", 0},
        {"a missing port without the virtual board",
         {"--detect", "--no-virtual", "--port", "/dev/spectrel-no-such-port"},
         "No Reader\n",
         1},
        // Asked about one port, the answer is about that port: the virtual board does not stand in for it.
        {"a missing port named alone", {"--detect", "--port", "/dev/spectrel-no-such-port"}, "No Reader\n", 1},
        {"the board on a pseudo-terminal", {"--detect", "--port", kBoardPath}, "Reader 1.3\n", 0},
    };
    for (const DetectCase& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList arguments = c.arguments;
        std::unique_ptr<PtyBoard> board;
        if (arguments.contains(kBoardPath)) {
            if (!QFileInfo(kBoardProgram).isExecutable()) continue;
            board = std::make_unique<PtyBoard>();
            ASSERT_FALSE(board->path().isEmpty()) << "the board program printed no device path";
            arguments.replaceInStrings(kBoardPath, board->path());
        }
        const RunResult r = RunSpectrel(arguments);
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.out, c.out) << r.err;
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
    }
}

TEST(SpectrelDetect, HelpNeedsNoDisplay) {
    if (!QFileInfo(kProgram).isExecutable()) GTEST_SKIP() << "spectrel is not built";
    const RunResult r = RunSpectrel({"--help"});
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("--detect"), std::string::npos) << r.out;
}

}  // namespace
