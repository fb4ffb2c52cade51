#pragma once
// The Explorer Buttons dialog: the codes of arbitrary keys collected in the exploration list, shown in a
// coloured list; the protocol may be corrected on the way. It cannot be closed while it explores.

#include <QDialog>

#include "Code/SPX_AppSettings.h"
#include "Code/SPX_ButtonDialogs.h"

class QPushButton;
class QStatusBar;

namespace spectrel {

class TLearningProcedures;
class TReceiveProgressBar;
class TColouredListWidget;

namespace platform {
class MessageBoxes;
}

class TfrmExplorerButtons : public QDialog {
    Q_OBJECT
public:
    // Empties the exploration list.
    TfrmExplorerButtons(TLearningProcedures& procedures, TbuttonCodes& exploreList, platform::MessageBoxes& boxes,
                        const TListPalette& palette, QWidget* parent = nullptr);
    ~TfrmExplorerButtons() override;

    bool Exploring() const { return session_.Exploring(); }
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void btnExploreClick();
    void EnableButtons(bool enabled);

    TLearningProcedures& procedures_;
    platform::MessageBoxes& boxes_;
    TExploreSession session_;
    TListPalette palette_;
    TColouredListWidget* lbOutput_;
    TReceiveProgressBar* progressBar_;
    QPushButton* btnExplore_;
    QPushButton* btnClose_;
    QStatusBar* statusBar_;
};

}  // namespace spectrel
