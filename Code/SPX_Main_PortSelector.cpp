#include "Code/SPX_Main_PortSelector.h"

namespace spectrel {

TPortSelector::TPortSelector(QWidget* parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("ComboxComPort"));
    setEditable(false);
    setMinimumContentsLength(10);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
}

void TPortSelector::showPopup() {
    emit dropDown();
    QComboBox::showPopup();
}

}  // namespace spectrel
