#include "Code/SPX_Main_PortSelector.h"

namespace spectrel {

namespace {
constexpr int kPortNameRole = Qt::UserRole;
}

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

void TPortSelector::SetEntries(const std::vector<std::string>& names, const std::vector<std::string>& labels,
                               int selected) {
    const QSignalBlocker quiet(this);
    clear();
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string& label = i < labels.size() ? labels[i] : names[i];
        addItem(QString::fromStdString(label), QString::fromStdString(names[i]));
    }
    setCurrentIndex(selected);
}

void TPortSelector::SetEntryLabel(int index, const std::string& label) {
    if (index >= 0 && index < count()) setItemText(index, QString::fromStdString(label));
}

std::string TPortSelector::EntryName(int index) const {
    if (index < 0 || index >= count()) return {};
    return itemData(index, kPortNameRole).toString().toStdString();
}

std::vector<std::string> TPortSelector::Names() const {
    std::vector<std::string> names;
    for (int i = 0; i < count(); ++i) names.push_back(EntryName(i));
    return names;
}

}  // namespace spectrel
