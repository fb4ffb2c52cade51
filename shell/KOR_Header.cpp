#include "shell/KOR_Header.h"

#include <QFont>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>

namespace spectrel::shell {

namespace {

QFont HeaderFont(const QFont& base) {
    QFont font = base;
    font.setBold(true);
    font.setPixelSize(kHeaderFontPixels);
    return font;
}

constexpr int kCaptionIndent = 6;

}  // namespace

TKOR_Header::TKOR_Header(const QString& caption, QWidget* parent) : QWidget(parent), caption_(caption) {
    setFixedHeight(kHeaderHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TKOR_Header::SetCaption(const QString& caption) {
    caption_ = caption;
    updateGeometry();
    update();
}

QSize TKOR_Header::sizeHint() const {
    const QFontMetrics metrics(HeaderFont(font()));
    return {metrics.horizontalAdvance(caption_) + 2 * kCaptionIndent, kHeaderHeight};
}

QSize TKOR_Header::minimumSizeHint() const { return {0, kHeaderHeight}; }

void TKOR_Header::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kHeaderColour);
    painter.setPen(Qt::white);
    painter.setFont(HeaderFont(font()));
    painter.drawText(rect().adjusted(kCaptionIndent, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, caption_);
}

}  // namespace spectrel::shell
