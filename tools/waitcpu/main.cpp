// spectrel-wait-cpu [--seconds N] [--busy]: how much processor time a capture costs while the board is silent.
//
// Runs captures on the virtual reader with no key pressed, through the program's clock and message pump, for at
// least N seconds (10 by default; a silent capture ends after 7.5 s, so whole captures are run), and prints the
// wall time, the process' processor time and their ratio as a share of one core. --busy pumps without ever
// sleeping, for comparison.

#include <ctime>

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include "Code/SPX_ComPortUnit.h"
#include "Code/SPX_processing.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtMessageBoxes.h"
#include "virtualboard/qt/VirtualReader.h"

namespace {

class NoPorts : public spectrel::platform::SerialPortProvider {
public:
    spectrel::platform::OpenPortResult open(const std::string&) override { return {nullptr, "no such port"}; }
    std::vector<std::string> portNames() override { return {}; }
};

// Counts the pumps; with `busy` it only handles what is pending and never sleeps.
class CountingPump : public spectrel::platform::MessagePump {
public:
    explicit CountingPump(bool busy) : busy_(busy) {}
    void pumpOnce() override {
        ++pumps;
        if (busy_) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        } else {
            pump_.pumpOnce();
        }
    }
    long long pumps = 0;

private:
    bool busy_;
    spectrel::platform::qt::QtMessagePump pump_;
};

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");

    QCommandLineParser options;
    options.addHelpOption();
    const QCommandLineOption secondsOption("seconds", "How long to wait at least (10).", "seconds", "10");
    const QCommandLineOption busyOption("busy", "Pump without sleeping, for comparison.");
    options.addOptions({secondsOption, busyOption});
    options.process(app);
    const double seconds = options.value(secondsOption).toDouble();

    NoPorts real;
    spectrel::platform::qt::QtClock clock;
    CountingPump pump(options.isSet(busyOption));
    spectrel::platform::qt::QtMessageBoxes boxes;
    spectrel::virtualboard::TVirtualReader reader(real, clock);
    spectrel::TAnalysisContext context(boxes, clock, pump);
    spectrel::TReaderLink link(reader.Ports(), clock, pump, boxes);
    link.SetReaderPortName("VIRTUAL");
    if (!link.OpenReaderPort().ok) {
        std::fprintf(stderr, "spectrel-wait-cpu: the virtual reader did not open\n");
        return 1;
    }

    QElapsedTimer wall;
    wall.start();
    const double cpuStart = ProcessCpuSeconds();
    int captures = 0;
    while (wall.elapsed() < seconds * 1000) {
        context.recordCount = 0;
        if (spectrel::Capture(context, link, 0, 0, nullptr, nullptr) != 0) {
            std::fprintf(stderr, "spectrel-wait-cpu: the silent board sent something\n");
            return 1;
        }
        ++captures;
    }
    const double cpu = ProcessCpuSeconds() - cpuStart;
    const double elapsed = static_cast<double>(wall.elapsed()) / 1000;
    link.CloseReaderPort();

    std::printf("%d silent captures, %.1f s wall, %.3f s CPU: %.2f %% of one core, %.0f pumps/s (%s pump)\n", captures,
                elapsed, cpu, 100 * cpu / elapsed, static_cast<double>(pump.pumps) / elapsed,
                options.isSet(busyOption) ? "busy" : "sleeping");
    return 0;
}
