#pragma once
// The Explorer Buttons dialog: the codes of arbitrary keys collected in the exploration list, shown in a
// coloured list; the protocol may be corrected on the way. It cannot be closed while it explores.

#include <QDialog>
#include <memory>

#include "Code/SPX_AppSettings.h"
#include "Code/SPX_ButtonDialogs.h"

class QListWidget;
class QProgressBar;
class QPushButton;
class QStatusBar;

namespace spectrel {

class TLearningProcedures;
class TQtProgressBar;
class TQtColouredList;
class TColouredLineDelegate;

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
    QListWidget* lbOutput_;
    QProgressBar* progressBar_;
    QPushButton* btnExplore_;
    QPushButton* btnClose_;
    QStatusBar* statusBar_;
    TColouredLineDelegate* delegate_;
    std::unique_ptr<TQtProgressBar> progress_;
    std::unique_ptr<TQtColouredList> output_;
};

}  // namespace spectrel
