#include "shell/ZELSplash.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QSplashScreen>
#include <QTimer>

#include "shell/KOR_Header.h"

// The resources are compiled into a static library; the program has to ask for them by name.
static void LoadProgramResources() { Q_INIT_RESOURCE(spectrel); }

namespace spectrel::shell {

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 280;
constexpr int kIconSize = 72;

// A hand-held remote control lying on its side, its IR window at the right end `front`.
void DrawRemote(QPainter& painter, QPointF front) {
    const QRectF body(front.x() - 140, front.y() - 24, 140, 48);
    painter.setPen(QPen(QColor(30, 30, 40), 2));
    painter.setBrush(QColor(60, 64, 78));
    painter.drawRoundedRect(body, 14, 14);
    // The IR window.
    painter.setBrush(QColor(150, 20, 30));
    painter.drawRoundedRect(QRectF(front.x() - 12, front.y() - 10, 8, 20), 3, 3);
    // The keys.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(200, 205, 215));
    for (int column = 0; column < 6; ++column)
        for (int row = 0; row < 3; ++row)
            painter.drawEllipse(QPointF(body.left() + 18 + 18 * column, body.top() + 10 + 14 * row), 4.5, 4.5);
}

// The reader board: a small green circuit board with the receiver and a chip.
void DrawBoard(QPainter& painter, QRectF board) {
    painter.setPen(QPen(QColor(10, 60, 25), 2));
    painter.setBrush(QColor(30, 120, 60));
    painter.drawRoundedRect(board, 6, 6);
    painter.setBrush(QColor(25, 25, 25));
    painter.drawRect(QRectF(board.center().x() - 22, board.center().y() - 14, 44, 28));
    painter.setPen(QPen(QColor(200, 190, 120), 2));
    for (int pin = 0; pin < 5; ++pin) {
        const double x = board.center().x() - 18 + 9 * pin;
        painter.drawLine(QPointF(x, board.center().y() - 14), QPointF(x, board.center().y() - 20));
        painter.drawLine(QPointF(x, board.center().y() + 14), QPointF(x, board.center().y() + 20));
    }
    // The receiver faces the remote.
    painter.setPen(QPen(QColor(20, 20, 20), 1));
    painter.setBrush(QColor(40, 40, 45));
    painter.drawRoundedRect(QRectF(board.left() - 10, board.center().y() - 12, 16, 24), 6, 6);
}

// The burst train in flight between the two.
void DrawSignal(QPainter& painter, QPointF from, QPointF to) {
    painter.setPen(QPen(QColor(255, 90, 90), 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    const double marks[] = {3, 1, 1, 1, 1, 2, 1, 1, 2, 1, 1};
    const double step = (to.x() - from.x()) / 18.0;
    QPainterPath path(from);
    double x = from.x();
    bool high = true;
    for (double length : marks) {
        const double y = high ? from.y() - 14 : from.y();
        path.lineTo(x, y);
        x += step * length;
        path.lineTo(x, y);
        high = !high;
    }
    path.lineTo(x, from.y());
    path.lineTo(to.x(), from.y());
    painter.drawPath(path);
}

}  // namespace

QIcon ProgramIcon() {
    static const bool loaded = (LoadProgramResources(), true);
    (void)loaded;
    return QIcon(QStringLiteral(":/spectrel/spectrel.svg"));
}

QPixmap SplashPicture(const QString& version) {
    QPixmap picture(kWidth, kHeight);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, kHeight);
    sky.setColorAt(0, QColor(0, 0, 79));
    sky.setColorAt(1, QColor(20, 40, 120));
    painter.fillRect(picture.rect(), sky);

    QFont title = painter.font();
    title.setPixelSize(46);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(QRect(24, 18, kWidth - 48, 56), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Spectrel"));

    QFont line = painter.font();
    line.setPixelSize(15);
    line.setBold(false);
    painter.setFont(line);
    painter.setPen(QColor(200, 210, 240));
    painter.drawText(QRect(26, 74, kWidth - 52, 22), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("learns the infrared codes of remote controls"));
    painter.drawPixmap(kWidth - 24 - kIconSize, 16, ProgramIcon().pixmap(kIconSize, kIconSize));

    DrawRemote(painter, QPointF(170, 170));
    DrawSignal(painter, QPointF(180, 177), QPointF(328, 177));
    DrawBoard(painter, QRectF(340, 130, 110, 80));

    painter.setFont(line);
    painter.setPen(QColor(200, 210, 240));
    const QString bottom = version.isEmpty() ? QStringLiteral("Halvren Didaziravu Systems")
                                             : QStringLiteral("Halvren Didaziravu Systems  -  version ") + version;
    painter.drawText(QRect(24, kHeight - 36, kWidth - 48, 24), Qt::AlignLeft | Qt::AlignVCenter, bottom);
    painter.end();
    return picture;
}

std::unique_ptr<QSplashScreen> ShowSplash(const QString& version) {
    auto splash = std::make_unique<QSplashScreen>(SplashPicture(version));
    splash->setObjectName(QStringLiteral("Splash"));
    splash->show();
    QTimer::singleShot(kSplashMilliseconds, splash.get(), &QWidget::close);
    return splash;
}

}  // namespace spectrel::shell
