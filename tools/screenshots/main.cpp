// spectrel-screenshots [--out DIR] [NAME ...]: renders the registered windows to DIR/NAME.png.

#include <clocale>
#include <cstdio>
#include <map>
#include <string>

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include "tools/screenshots/Screenshots.h"

namespace spectrel::screenshots {
namespace {

std::map<std::string, TakePicture>& Registry() {
    static std::map<std::string, TakePicture> pictures;
    return pictures;
}

}  // namespace

bool RegisterPicture(const char* name, TakePicture take) {
    Registry().emplace(name, std::move(take));
    return true;
}

void Settle(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

QImage Grab(QWidget& widget) {
    widget.show();
    Settle();
    return widget.grab().toImage();
}

}  // namespace spectrel::screenshots

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QCoreApplication::setOrganizationName("Halvren Didaziravu Systems");
    QCoreApplication::setApplicationName("Spectrel");

    QCommandLineParser options;
    options.addHelpOption();
    const QCommandLineOption outOption("out", "Folder of the pictures.", "dir", "screenshots");
    options.addOption(outOption);
    options.addPositionalArgument("name", "Pictures to take (all by default).");
    options.process(app);

    const QString out = options.value(outOption);
    QDir().mkpath(out);
    const QStringList wanted = options.positionalArguments();
    int failed = 0;
    for (const auto& [name, take] : spectrel::screenshots::Registry()) {
        const QString qname = QString::fromStdString(name);
        if (!wanted.isEmpty() && !wanted.contains(qname)) continue;
        const QImage picture = take();
        const QString file = out + "/" + qname + ".png";
        if (picture.isNull() || !picture.save(file)) {
            std::fprintf(stderr, "spectrel-screenshots: %s: no picture\n", name.c_str());
            ++failed;
            continue;
        }
        std::printf("%s\n", file.toLocal8Bit().constData());
    }
    return failed == 0 ? 0 : 1;
}
