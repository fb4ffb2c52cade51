#pragma once
// The Edit Button dialog: the button's name, its code as the grid shows it, and a Learn of its own; the button
// changes only on Save.

#include <QDialog>

#include "Code/SPX_ButtonDialogs.h"

class QLineEdit;
class QPushButton;

namespace spectrel {

class TReceiveProgressBar;

class TfrmButtonCodeEdit : public QDialog {
    Q_OBJECT
public:
    TfrmButtonCodeEdit(TButtonCode& button, TButtonEditEnvironment environment, QWidget* parent = nullptr);
    ~TfrmButtonCodeEdit() override;

    const TButtonEditController& Controller() const { return controller_; }
    // Escape and the close box do nothing while a code is being learned.
    void reject() override;

private:
    void btnLearnClick();
    void btnSaveClick();
    void EnableButtons(bool enabled);

    TButtonEditController controller_;
    QLineEdit* eButtonName_;
    QLineEdit* eCode_;
    QPushButton* btnLearn_;
    TReceiveProgressBar* progressBar_;
    QPushButton* btnSave_;
    QPushButton* btnCancel_;
    bool learning_ = false;
};

// Shows the button in the dialog; true when it was saved.
bool ExecuteButtonEdit(TButtonCode& button, const TButtonEditEnvironment& environment, QWidget* parent = nullptr);

}  // namespace spectrel
