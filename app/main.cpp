// Spectrel: learns the infrared codes of remote controls through a reader board on a serial port.

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Spectrel");
    QMainWindow window;
    window.setWindowTitle("Spectrel");
    auto* label = new QLabel("Spectrel", &window);
    label->setAlignment(Qt::AlignCenter);
    window.setCentralWidget(label);
    window.statusBar()->showMessage("No Reader");
    window.resize(640, 480);
    window.show();
    if (qEnvironmentVariable("QT_QPA_PLATFORM") == "offscreen") return 0;
    return app.exec();
}
