#pragma once
// TfrmProtocolSettings: the "Protocol Settings" dialog, in which an advanced user corrects the current protocol
// descriptor by hand. The decisions are TProtocolSettingsEdit's; this window mirrors them in its controls.

#include <QDialog>
#include <memory>

#include "Code/SPX_ProtocolSettingsEdit.h"

class QTableWidgetItem;

namespace Ui {
class TfrmProtocolSettings;
}

namespace spectrel {

namespace platform {
class MessageBoxes;
}

namespace shell {
class TZELfrmButtons;
}

class TProtocolSettingsDelegate;

class TfrmProtocolSettings : public QDialog {
    Q_OBJECT
public:
    // Edits `descriptor` in place; error boxes go to `boxes`.
    TfrmProtocolSettings(Tprotocol_descriptor& descriptor, const TWorkingProtocol& working,
                         platform::MessageBoxes& boxes, QWidget* parent = nullptr);
    ~TfrmProtocolSettings() override;

    // Loads the controls, shows the dialog modally and returns true when it closed through a successful OK.
    bool Edit(bool renameRequired);
    // Loads the controls without showing the dialog (Edit does this first).
    void Load(bool renameRequired);

    const TProtocolSettingsEdit& Controller() const { return edit_; }
    shell::TZELfrmButtons* Buttons() const { return buttons_; }

    // The OK action: Enter anywhere in the dialog performs it as well.
    void PerformOK();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Refresh();
    void SizeColumns();
    void DurationChanged(QTableWidgetItem* item);
    void Focus(const TProtocolSettingsOutcome& outcome);

    std::unique_ptr<Ui::TfrmProtocolSettings> ui_;
    TProtocolSettingsEdit edit_;
    shell::TZELfrmButtons* buttons_;
    TProtocolSettingsDelegate* delegate_;
    bool loading_ = false;
};

}  // namespace spectrel
