#pragma once
// The "Capture View" window: the latest capture drawn as a picture (Code/SPX_CapturePicture.h), one row per
// frame on a common time axis, the frames of a record stacked and the records one under the other; letters above
// the intervals, the tick grid, frame roles in colour and what matches no vocabulary element in red. The wheel
// zooms the time axis, dragging pans, "Fit" shows everything; hovering an interval tells its durations, element,
// carrier cycles and vocabulary distance. The picture exports as PNG or SVG, the capture as a Flipper-style ".ir"
// raw signal or a text-form signal that the virtual board plays again.
//
// The window does not block the main window; it follows the captures while it is open (Refresh after every copy
// of a capture for analysis, on the next turn of the event loop, when the analysis of the capture is complete).
//
// Object names: "frmCaptureView", the picture "CapturePicture", the complaints "lblComplaints", the summary
// "lblSummary", the commands "btnFit", "btnExportPicture", "btnExportSignal".

#include <QWidget>
#include <string>

#include "Code/SPX_CapturePicture.h"

class QLabel;

namespace spectrel {

class TAnalysisContext;
namespace platform {
class FileDialogs;
class MessageBoxes;
}  // namespace platform

// Draws a capture picture with its own zoom and pan.
class TCapturePictureWidget : public QWidget {
    Q_OBJECT
public:
    explicit TCapturePictureWidget(QWidget* parent = nullptr);

    void SetPicture(TCapturePicture picture);
    const TCapturePicture& Picture() const { return picture_; }
    // The whole time axis in the width, the first row at the top.
    void Fit();
    // Microseconds per pixel of the time axis and the time at the left edge of the plot.
    double MicrosecondsPerPixel() const { return 1.0 / scale_; }
    double LeftTime() const { return leftTime_; }
    // Zooms by `factor` (above 1 zooms in) keeping the time under `x` in place.
    void ZoomAt(double x, double factor);
    // The interval under a point of the widget, or null.
    const TPictureInterval* IntervalAt(QPointF point) const;
    // Renders the whole picture (every row, the whole time axis) at `width` pixels on a painter.
    void RenderWhole(class QPainter& painter, double width) const;
    double WholeHeight() const { return layout_.height + 8; }

    static constexpr double kAxisHeight = 22;

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    // Draws the rows in [top, bottom) of the picture with `scale` px/us from `leftTime`, the plot `plotWidth` wide.
    void Draw(QPainter& painter, double scale, double leftTime, double topOffset, double plotWidth,
              double viewHeight) const;
    double PlotWidth() const;

    TCapturePicture picture_;
    TPictureLayout layout_;
    double scale_ = 0.01;   // px per us
    double leftTime_ = 0;   // us at the plot's left edge
    double topOffset_ = 0;  // px the rows are scrolled up
    bool dragging_ = false;
    QPointF dragFrom_;
    bool fitted_ = true;
};

class TfrmCaptureView : public QWidget {
    Q_OBJECT
public:
    TfrmCaptureView(TAnalysisContext& context, const Tprotocol_descriptor& current, platform::FileDialogs& dialogs,
                    platform::MessageBoxes& boxes, QWidget* parent = nullptr);

    // Builds the picture from the tables now.
    void Refresh();
    // Refresh on the next turn of the event loop (several requests make one refresh).
    void ScheduleRefresh();

    TCapturePictureWidget& PictureWidget() { return *picture_; }
    // The exports; each shows an error box and returns false when the file cannot be written.
    bool ExportPng(const std::string& path);
    bool ExportSvg(const std::string& path);
    bool ExportFlipperIr(const std::string& path);
    bool ExportTextSignal(const std::string& path);

    void ExportPictureClick();
    void ExportSignalClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool WriteText(const std::string& path, const std::string& text);

    TAnalysisContext& context_;
    const Tprotocol_descriptor& current_;
    platform::FileDialogs& dialogs_;
    platform::MessageBoxes& boxes_;
    TCapturePictureWidget* picture_ = nullptr;
    QLabel* summary_ = nullptr;
    QLabel* complaints_ = nullptr;
    bool refreshPending_ = false;
};

}  // namespace spectrel
