// The capture view window.

#include "Code/SPX_CaptureView.h"

#include <QFile>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "Code/SPX_processing.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"
#include "virtualboard/FlipperIrWriter.h"
#include "virtualboard/IrSignal.h"

namespace spectrel {

namespace {

using platform::MessageButton;
using platform::MessageKind;

constexpr double kZoomStep = 1.25;
constexpr double kMostPixelsPerMicrosecond = 4;   // 0.25 us a pixel
constexpr int kMinimumWidth = 640;
constexpr int kMinimumHeight = 360;
// Letters are written above intervals at least this wide.
constexpr double kLetterWidth = 8;
// An interval outside the vocabulary is drawn at least this wide, so that it shows at any zoom.
constexpr double kOutsideWidth = 3;

QColor Rgb(std::uint32_t rgb) { return QColor(static_cast<int>(rgb >> 16) & 0xFF, static_cast<int>(rgb >> 8) & 0xFF,
                                             static_cast<int>(rgb) & 0xFF); }

QString FromStd(const std::string& text) { return QString::fromStdString(text); }

// The first interval of the frame that ends after `time`.
std::size_t FirstEndingAfter(const std::vector<TPictureInterval>& intervals, double time) {
    const auto it = std::upper_bound(intervals.begin(), intervals.end(), time,
                                     [](double t, const TPictureInterval& i) { return t < i.start + i.duration; });
    return static_cast<std::size_t>(it - intervals.begin());
}

}  // namespace

// --- the picture

TCapturePictureWidget::TCapturePictureWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("CapturePicture"));
    setMouseTracking(true);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setMinimumSize(400, 200);
}

void TCapturePictureWidget::SetPicture(TCapturePicture picture) {
    picture_ = std::move(picture);
    layout_ = LayoutCapturePicture(picture_, kAxisHeight - TPictureLayout::kTopMargin);
    if (fitted_) {
        Fit();
    } else {
        topOffset_ = std::clamp(topOffset_, 0.0, std::max(0.0, layout_.height - height()));
        update();
    }
}

double TCapturePictureWidget::PlotWidth() const {
    return std::max(width() - TPictureLayout::kLeftMargin - TPictureLayout::kRightMargin, 50.0);
}

void TCapturePictureWidget::Fit() {
    fitted_ = true;
    scale_ = picture_.longestFrame > 0 ? PlotWidth() / picture_.longestFrame : 0.01;
    leftTime_ = 0;
    topOffset_ = 0;
    update();
}

void TCapturePictureWidget::ZoomAt(double x, double factor) {
    const double plotX = std::max(x - TPictureLayout::kLeftMargin, 0.0);
    const double time = leftTime_ + plotX / scale_;
    const double fit = picture_.longestFrame > 0 ? PlotWidth() / picture_.longestFrame : scale_;
    scale_ = std::clamp(scale_ * factor, std::min(fit, kMostPixelsPerMicrosecond), kMostPixelsPerMicrosecond);
    leftTime_ = std::clamp(time - plotX / scale_, 0.0, std::max(0.0, picture_.longestFrame - PlotWidth() / scale_));
    fitted_ = scale_ <= fit && leftTime_ <= 0;
    update();
}

const TPictureInterval* TCapturePictureWidget::IntervalAt(QPointF point) const {
    const double x = point.x() - TPictureLayout::kLeftMargin;
    const double y = point.y() + topOffset_;
    if (x < 0 || point.y() < kAxisHeight) return nullptr;
    const double time = leftTime_ + x / scale_;
    for (const TPictureLayout::TRow& row : layout_.rows) {
        if (y < row.top || y >= row.top + TPictureLayout::kRowHeight) continue;
        const TPictureFrame& frame =
            picture_.records[static_cast<std::size_t>(row.record)].frames[static_cast<std::size_t>(row.frame)];
        // Half a pixel of slack either way, so that a thin interval can be hit.
        const double slack = 0.5 / scale_;
        std::size_t i = FirstEndingAfter(frame.intervals, time - slack);
        for (; i < frame.intervals.size() && frame.intervals[i].start <= time + slack; ++i) {
            const TPictureInterval& interval = frame.intervals[i];
            if (interval.isPulse || (interval.checked && !interval.matched) ||
                (time >= interval.start && time < interval.start + interval.duration)) {
                return &interval;
            }
        }
        return nullptr;
    }
    return nullptr;
}

void TCapturePictureWidget::Draw(QPainter& painter, double scale, double leftTime, double topOffset,
                                 double plotWidth, double viewHeight) const {
    const double left = TPictureLayout::kLeftMargin;
    const double rightTime = leftTime + plotWidth / scale;
    const auto xOf = [&](double t) { return left + (t - leftTime) * scale; };
    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);

    // The tick grid: a faint line every tick, or every few ticks where they would crowd.
    if (picture_.tick > 0 && !layout_.rows.empty()) {
        double every = picture_.tick;
        while (every * scale < 4) every *= 2;
        painter.setPen(QPen(Rgb(kTickGridColour), 0));
        const double top = kAxisHeight;
        const double bottom = std::min(viewHeight, layout_.height - topOffset);
        for (double t = std::floor(leftTime / every) * every; t <= std::min(rightTime, picture_.longestFrame);
             t += every) {
            if (t < leftTime) continue;
            painter.drawLine(QPointF(xOf(t), top), QPointF(xOf(t), bottom));
        }
    }

    painter.save();
    painter.setClipRect(QRectF(0, kAxisHeight, left + plotWidth + TPictureLayout::kRightMargin, viewHeight));
    for (std::size_t r = 0; r < picture_.records.size(); ++r) {
        const double top = layout_.recordTops[r] - topOffset;
        if (top > viewHeight || top + TPictureLayout::kRecordHeader < kAxisHeight) continue;
        QFont bold = font;
        bold.setBold(true);
        painter.setFont(bold);
        // A button capture whose frame rate or carrier the protocol does not accept says so in red.
        const bool outside = r == 0 && (picture_.frameRateOutside || picture_.carrierOutside);
        painter.setPen(outside ? Rgb(kOutsideVocabularyColour) : QColor(Qt::black));
        painter.drawText(QPointF(8, top + 14), FromStd(RecordCaption(picture_.records[r])));
        painter.setFont(font);
    }
    for (const TPictureLayout::TRow& row : layout_.rows) {
        const double top = row.top - topOffset;
        if (top > viewHeight || top + TPictureLayout::kRowHeight < kAxisHeight) continue;
        const TPictureFrame& frame =
            picture_.records[static_cast<std::size_t>(row.record)].frames[static_cast<std::size_t>(row.frame)];
        const QColor colour = Rgb(FrameRoleColour(frame.role));
        const double markTop = top + TPictureLayout::kLetterBand + 3;
        const double markHeight = TPictureLayout::kMarkHeight;
        painter.setPen(colour);
        painter.drawText(QPointF(8, markTop + 11), FromStd(FrameCaption(frame)));
        painter.setPen(QPen(QColor(0xbb, 0xbb, 0xbb), 0));
        painter.drawLine(QPointF(std::max(xOf(0), left), markTop + markHeight),
                         QPointF(std::min(xOf(frame.length), left + plotWidth), markTop + markHeight));

        painter.save();
        painter.setClipRect(QRectF(left, top, plotWidth, TPictureLayout::kRowHeight));
        // Marks as filled blocks; those narrower than a pixel are gathered into runs, so that a long frame
        // zoomed out draws one block per run of pixels, not one per interval.
        const std::vector<TPictureInterval>& intervals = frame.intervals;
        double runStart = 0;
        double runEnd = -1;
        const auto flush = [&] {
            if (runEnd > runStart) painter.fillRect(QRectF(runStart, markTop, runEnd - runStart, markHeight), colour);
        };
        std::vector<const TPictureInterval*> outside;
        for (std::size_t i = FirstEndingAfter(intervals, leftTime); i < intervals.size(); ++i) {
            const TPictureInterval& interval = intervals[i];
            if (interval.start > rightTime) break;
            if (interval.checked && !interval.matched) outside.push_back(&interval);
            if (!interval.isPulse) continue;
            const double x0 = xOf(interval.start);
            const double x1 = std::max(xOf(interval.start + interval.duration), x0 + 0.5);
            if (x0 <= runEnd + 1) {
                runEnd = std::max(runEnd, x1);
            } else {
                flush();
                runStart = x0;
                runEnd = x1;
            }
        }
        flush();
        // Letters where there is room for them.
        painter.setPen(Qt::black);
        for (std::size_t i = FirstEndingAfter(intervals, leftTime); i < intervals.size(); ++i) {
            const TPictureInterval& interval = intervals[i];
            if (interval.start > rightTime) break;
            const double w = interval.duration * scale;
            if (interval.letter == 0 || w < kLetterWidth) continue;
            const bool isOutside = interval.checked && !interval.matched;
            painter.setPen(isOutside ? Rgb(kOutsideVocabularyColour) : Qt::black);
            // Over the part of the interval in view, so that a long one zoomed in keeps its letter above it.
            const double x0 = std::max(xOf(interval.start), left);
            const double x1 = std::min(xOf(interval.start + interval.duration), left + plotWidth);
            if (x1 - x0 < kLetterWidth) continue;
            painter.drawText(QRectF(x0, top, x1 - x0, TPictureLayout::kLetterBand + 2), Qt::AlignCenter,
                             QString(QChar(static_cast<char16_t>(static_cast<unsigned char>(interval.letter)))));
        }
        // What matches no vocabulary element, in red on top: a red block for a mark, a red frame for a space.
        const QColor red = Rgb(kOutsideVocabularyColour);
        for (const TPictureInterval* interval : outside) {
            double x0 = xOf(interval->start);
            double w = interval->duration * scale;
            if (w < kOutsideWidth) {
                x0 -= (kOutsideWidth - w) / 2;
                w = kOutsideWidth;
            }
            const QRectF box(x0, markTop - 2, w, markHeight + 4);
            if (interval->isPulse) {
                painter.fillRect(box, red);
            } else {
                QColor faint = red;
                faint.setAlpha(60);
                painter.fillRect(box, faint);
                painter.setPen(QPen(red, 1));
                painter.drawRect(box);
            }
        }
        painter.restore();
    }
    painter.restore();

    // The time scale along the top.
    painter.fillRect(QRectF(0, 0, left + plotWidth + TPictureLayout::kRightMargin, kAxisHeight), Qt::white);
    painter.setPen(QPen(QColor(0x88, 0x88, 0x88), 0));
    painter.drawLine(QPointF(left, kAxisHeight - 2), QPointF(left + plotWidth, kAxisHeight - 2));
    if (picture_.longestFrame > 0) {
        double step = 1;
        while (step * scale < 80) step *= 10;
        if (step / 2 * scale >= 80) step /= 2;
        painter.setPen(QColor(0x55, 0x55, 0x55));
        for (double t = std::ceil(leftTime / step) * step; t <= rightTime; t += step) {
            const double x = xOf(t);
            painter.drawLine(QPointF(x, kAxisHeight - 6), QPointF(x, kAxisHeight - 2));
            const QString label = step >= 1000 ? QString::number(t / 1000, 'f', step >= 10000 ? 0 : 1) + " ms"
                                               : QString::number(t, 'f', 0) + " us";
            // A label that would run past the plot is left out.
            if (x + 2 + painter.fontMetrics().horizontalAdvance(label) > left + plotWidth + TPictureLayout::kRightMargin)
                continue;
            painter.drawText(QPointF(x + 2, kAxisHeight - 8), label);
        }
    }
    if (picture_.empty()) {
        painter.setPen(Qt::gray);
        painter.drawText(QRectF(0, kAxisHeight, left + plotWidth, 60), Qt::AlignCenter,
                         QStringLiteral("No capture yet: learn the protocol or a button"));
    }
}

void TCapturePictureWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Draw(painter, scale_, leftTime_, topOffset_, PlotWidth(), height());
}

void TCapturePictureWidget::RenderWhole(QPainter& painter, double width) const {
    const double plot = std::max(width - TPictureLayout::kLeftMargin - TPictureLayout::kRightMargin, 50.0);
    const double scale = picture_.longestFrame > 0 ? plot / picture_.longestFrame : 0.01;
    painter.fillRect(QRectF(0, 0, width, WholeHeight()), Qt::white);
    Draw(painter, scale, 0, 0, plot, WholeHeight());
}

void TCapturePictureWidget::wheelEvent(QWheelEvent* event) {
    const double steps = event->angleDelta().y() / 120.0;
    if (steps == 0) return;
    ZoomAt(event->position().x(), std::pow(kZoomStep, steps));
    event->accept();
}

void TCapturePictureWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    dragging_ = true;
    dragFrom_ = event->position();
    setCursor(Qt::ClosedHandCursor);
}

void TCapturePictureWidget::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) return;
    const QPointF delta = event->position() - dragFrom_;
    dragFrom_ = event->position();
    leftTime_ = std::clamp(leftTime_ - delta.x() / scale_, 0.0,
                           std::max(0.0, picture_.longestFrame - PlotWidth() / scale_));
    topOffset_ = std::clamp(topOffset_ - delta.y(), 0.0, std::max(0.0, layout_.height - height() + 20));
    fitted_ = false;
    update();
}

void TCapturePictureWidget::mouseReleaseEvent(QMouseEvent*) {
    dragging_ = false;
    unsetCursor();
}

void TCapturePictureWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (fitted_) Fit();
}

bool TCapturePictureWidget::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        if (const TPictureInterval* interval = IntervalAt(help->pos())) {
            QToolTip::showText(help->globalPos(), FromStd(IntervalHint(*interval, picture_)), this);
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

// --- the window

TfrmCaptureView::TfrmCaptureView(TAnalysisContext& context, const Tprotocol_descriptor& current,
                                 platform::FileDialogs& dialogs, platform::MessageBoxes& boxes, QWidget* parent)
    : QWidget(parent, Qt::Window), context_(context), current_(current), dialogs_(dialogs), boxes_(boxes) {
    setObjectName(QStringLiteral("frmCaptureView"));
    setWindowTitle(QStringLiteral("Capture View"));
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    resize(960, 560);

    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("lblSummary"));
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    bar->addWidget(summary_, 1);
    const auto command = [&](const QString& text, const char* name, const QString& tip) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(QString::fromLatin1(name));
        button->setToolTip(tip);
        bar->addWidget(button);
        return button;
    };
    QPushButton* fit = command(QStringLiteral("Fit"), "btnFit", QStringLiteral("Show the whole capture"));
    QPushButton* exportPicture = command(QStringLiteral("Export Picture..."), "btnExportPicture",
                                         QStringLiteral("Save the picture as PNG or SVG"));
    QPushButton* exportSignal = command(QStringLiteral("Export Signal..."), "btnExportSignal",
                                        QStringLiteral("Save the capture as a Flipper .ir raw signal or a text-form "
                                                       "signal, which the virtual board plays again"));
    layout->addLayout(bar);
    complaints_ = new QLabel(this);
    complaints_->setObjectName(QStringLiteral("lblComplaints"));
    complaints_->setStyleSheet(QStringLiteral("color: #ff0000;"));
    complaints_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    complaints_->setWordWrap(true);
    complaints_->hide();
    layout->addWidget(complaints_);
    picture_ = new TCapturePictureWidget(this);
    picture_->setToolTip(QStringLiteral(" "));  // the picture answers tooltip events itself
    layout->addWidget(picture_, 1);

    connect(fit, &QPushButton::clicked, picture_, &TCapturePictureWidget::Fit);
    connect(exportPicture, &QPushButton::clicked, this, &TfrmCaptureView::ExportPictureClick);
    connect(exportSignal, &QPushButton::clicked, this, &TfrmCaptureView::ExportSignalClick);
}

void TfrmCaptureView::Refresh() {
    refreshPending_ = false;
    TCapturePicture picture = BuildCapturePicture(context_, current_);
    QString summary;
    if (picture.empty()) {
        summary = QStringLiteral("No capture");
    } else {
        int frames = 0;
        for (const TPictureRecord& record : picture.records) frames += static_cast<int>(record.frames.size());
        summary = QStringLiteral("%1 record%2, %3 frame%4, %5 intervals")
                      .arg(picture.records.size())
                      .arg(picture.records.size() == 1 ? "" : "s")
                      .arg(frames)
                      .arg(frames == 1 ? "" : "s")
                      .arg(picture.intervalCount);
        if (picture.tick > 0) summary += QStringLiteral(", tick %1 us").arg(picture.tick);
        if (!picture.format.empty()) summary += QStringLiteral(", format ") + FromStd(picture.format);
        if (picture.protocolValid) summary += QStringLiteral(", protocol ") + FromStd(picture.protocolName);
    }
    summary_->setText(summary);
    QStringList lines;
    for (const std::string& line : CapturePictureComplaints(picture)) lines << FromStd(line);
    complaints_->setText(lines.join(QLatin1Char('\n')));
    complaints_->setVisible(!lines.isEmpty());
    picture_->SetPicture(std::move(picture));
}

void TfrmCaptureView::ScheduleRefresh() {
    // A closed view draws the capture when it is shown again.
    if (refreshPending_ || !isVisible()) return;
    refreshPending_ = true;
    QTimer::singleShot(0, this, [this] {
        if (refreshPending_) Refresh();
    });
}

void TfrmCaptureView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Refresh();
}

bool TfrmCaptureView::WriteText(const std::string& path, const std::string& text) {
    QSaveFile file(FromStd(path));
    if (file.open(QIODevice::WriteOnly) &&
        file.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size()) &&
        file.commit()) {
        return true;
    }
    boxes_.show(MessageKind::Error, "Cannot write " + path + ": " + file.errorString().toStdString(),
                MessageButton::Ok);
    return false;
}

bool TfrmCaptureView::ExportPng(const std::string& path) {
    const double width = std::max(1200, picture_->width());
    QImage image(static_cast<int>(width), static_cast<int>(std::ceil(picture_->WholeHeight())), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        picture_->RenderWhole(painter, width);
    }
    QSaveFile file(FromStd(path));
    if (file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") && file.commit()) return true;
    boxes_.show(MessageKind::Error, "Cannot write " + path, MessageButton::Ok);
    return false;
}

bool TfrmCaptureView::ExportSvg(const std::string& path) {
    const double width = std::max(1200, picture_->width());
    const double height = std::ceil(picture_->WholeHeight());
    QSaveFile file(FromStd(path));
    if (!file.open(QIODevice::WriteOnly)) {
        boxes_.show(MessageKind::Error, "Cannot write " + path + ": " + file.errorString().toStdString(),
                    MessageButton::Ok);
        return false;
    }
    {
        QSvgGenerator generator;
        generator.setOutputDevice(&file);
        generator.setSize(QSize(static_cast<int>(width), static_cast<int>(height)));
        generator.setViewBox(QRectF(0, 0, width, height));
        generator.setTitle(QStringLiteral("Capture View"));
        QPainter painter(&generator);
        picture_->RenderWhole(painter, width);
    }
    if (file.commit()) return true;
    boxes_.show(MessageKind::Error, "Cannot write " + path, MessageButton::Ok);
    return false;
}

bool TfrmCaptureView::ExportFlipperIr(const std::string& path) {
    const TCapturePicture& picture = picture_->Picture();
    std::vector<virtualboard::IrSignal> exported;
    for (std::size_t r = 0; r < picture.records.size(); ++r) {
        const TCapturedSignal s = CapturedSignalOf(picture, static_cast<int>(r), context_.readerDelay);
        if (!s.durations.empty()) exported.push_back({s.name, s.carrierHz, s.durations, {}});
    }
    return WriteText(path, virtualboard::formatFlipperIr(exported));
}

bool TfrmCaptureView::ExportTextSignal(const std::string& path) {
    const TCapturePicture& picture = picture_->Picture();
    std::string text;
    for (std::size_t r = 0; r < picture.records.size(); ++r) {
        const TCapturedSignal s = CapturedSignalOf(picture, static_cast<int>(r), context_.readerDelay);
        if (s.durations.empty()) continue;
        text += s.name + ": " + virtualboard::formatSignal({s.name, s.carrierHz, s.durations, {}}) + "\n";
    }
    return WriteText(path, text);
}

void TfrmCaptureView::ExportPictureClick() {
    const std::optional<std::string> path =
        dialogs_.saveFile({"Export Picture", "PNG picture|*.png|SVG picture|*.svg", "", "capture.png", ".png"});
    if (!path) return;
    const bool svg = path->size() >= 4 && QString::fromStdString(path->substr(path->size() - 4)).toLower() == ".svg";
    if (svg) {
        ExportSvg(*path);
    } else {
        ExportPng(*path);
    }
}

void TfrmCaptureView::ExportSignalClick() {
    if (picture_->Picture().empty()) {
        boxes_.show(MessageKind::Information, "There is no capture to export", MessageButton::Ok);
        return;
    }
    const std::optional<std::string> path = dialogs_.saveFile(
        {"Export Signal", "Flipper IR file|*.ir|Text-form signals|*.txt", "", "capture.ir", ".ir"});
    if (!path) return;
    const bool ir = path->size() >= 3 && QString::fromStdString(path->substr(path->size() - 3)).toLower() == ".ir";
    if (ir) {
        ExportFlipperIr(*path);
    } else {
        ExportTextSignal(*path);
    }
}

}  // namespace spectrel
