#pragma once
// The port selector of the main window's toolbar (`ComboxComPort`): picking an entry connects, and the list is
// refreshed each time it drops down, which itself never connects. An entry shows its port's name, with a note
// when this user may not open the port ("ttyUSB0 (no permission)"); the name itself is what is connected to.

#include <QComboBox>
#include <string>
#include <vector>

namespace spectrel {

class TPortSelector : public QComboBox {
    Q_OBJECT
public:
    explicit TPortSelector(QWidget* parent = nullptr);
    void showPopup() override;

    // Replaces the entries by `names`, shown as `labels` (same length), and selects `selected` (-1: none).
    void SetEntries(const std::vector<std::string>& names, const std::vector<std::string>& labels, int selected);
    // Shows entry `index` as `label`.
    void SetEntryLabel(int index, const std::string& label);
    // The port name of entry `index`; of the selected entry (empty when none is selected).
    std::string EntryName(int index) const;
    std::string CurrentName() const { return EntryName(currentIndex()); }
    std::vector<std::string> Names() const;

signals:
    // The list is about to drop down.
    void dropDown();
};

}  // namespace spectrel
