#pragma once
// The receive progress bar along the bottom of the work area, as the capture's progress bar.

#include <QProgressBar>

#include "Code/SPX_CaptureViews.h"

namespace spectrel {

class TReceiveProgressBar : public QProgressBar, public TCaptureProgressBar {
public:
    explicit TReceiveProgressBar(QWidget* parent = nullptr);

    void setRange(int minimum, int maximum) override { QProgressBar::setRange(minimum, maximum); }
    void setPosition(int position) override;
    int position() const override { return value(); }
    void redraw() override { repaint(); }
};

}  // namespace spectrel
