#include "Code/SPX_Main_ProgressBar.h"

#include <algorithm>

namespace spectrel {

TReceiveProgressBar::TReceiveProgressBar(QWidget* parent) : QProgressBar(parent) {
    setObjectName(QStringLiteral("ReceiveProgressBar"));
    QProgressBar::setRange(0, 100);
    setValue(0);
    setTextVisible(false);
    setMaximumHeight(12);
}

void TReceiveProgressBar::setPosition(int position) { setValue(std::clamp(position, minimum(), maximum())); }

}  // namespace spectrel
