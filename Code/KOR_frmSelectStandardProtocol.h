#pragma once
// The "Select Standard Protocol" dialog: the names of the standard protocols, one of which the user picks.
// It changes nothing itself; the caller applies the choice.
//
// Object names: "lbProtocols" the list, "btnSelect" "Select", "btnCancel" "Cancel", "lblSelectText" the text.

#include <QDialog>

#include "Code/SPX_Data.h"

class QListWidget;
class QPushButton;

namespace spectrel {

class TfrmSelectStandardProtocol : public QDialog {
    Q_OBJECT

public:
    TfrmSelectStandardProtocol(const Tstandard_protocols& standard, QWidget* parent = nullptr);

    // The index chosen with "Select" (or a double click on an entry); -1 until then.
    int ChosenIndex() const { return chosen_; }

private:
    void ListSelectionChange();
    void SelectClick();

    QListWidget* list_ = nullptr;
    QPushButton* select_ = nullptr;
    int chosen_ = -1;
};

// Shows the dialog modally; the index of the chosen standard protocol, or -1 when it was cancelled.
int ExecuteSelectStandardProtocol(const Tstandard_protocols& standard, QWidget* parent);

}  // namespace spectrel
