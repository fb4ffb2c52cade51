#include "Code/SPX_Main_PortSelector.h"

#include <algorithm>

namespace spectrel {

namespace {
constexpr int kPortNameRole = Qt::UserRole;
constexpr int kMinimumCharacters = 10;
}  // namespace

TPortSelector::TPortSelector(QWidget* parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("ComboxComPort"));
    setEditable(false);
    setMinimumContentsLength(kMinimumCharacters);
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
    int widest = kMinimumCharacters;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const QString label = QString::fromStdString(i < labels.size() ? labels[i] : names[i]);
        addItem(label, QString::fromStdString(names[i]));
        widest = std::max(widest, static_cast<int>(label.size()) + 1);
    }
    // A long entry ("ttyUSB0 (no permission)") shows whole.
    setMinimumContentsLength(widest);
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
