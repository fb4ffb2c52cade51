#pragma once
// The IR wizard window: eight pages under a header with the page's title and subtitle, and the navigation
// buttons "< &Back", "&Next >", "&Finish" and "&Help". Every decision is TWizardFlow's; the window shows what the
// flow tells it and hands it every click.

#include <QDialog>
#include <memory>

#include "Code/SPX_WizardFlow.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTableWidget;

namespace spectrel {

class TListPalette;

namespace wizard {
class TColouredListBox;
class TProgressView;
class TThirdsGrid;
}  // namespace wizard

class TfrmIRWizard : public QDialog, public TWizardView {
    Q_OBJECT
public:
    // The palette colours the description lists; the default palette when none is given.
    TfrmIRWizard(TWizardModel model, TWizardHost& host, QWidget* parent = nullptr,
                 const TListPalette* palette = nullptr);
    ~TfrmIRWizard() override;

    // Prepares the pages and shows page 1 (before exec).
    void Prepare();
    TWizardFlow& Flow() { return *flow_; }

    // Runs the wizard modally; the protocol choice is stored in UserProtocolExplore afterwards. True only for
    // the modal result OK, which neither Finish nor the close box gives.
    static bool Run(TWizardModel model, TWizardHost& host, QWidget* parent = nullptr,
                    const TListPalette* palette = nullptr);

    // --- TWizardView
    void ShowPage(int page, const TWizardNavigation& navigation) override;
    void SetNavigation(const TWizardNavigation& navigation) override;
    void SetSubtitle(int page, const std::string& text) override;
    void CloseWizard() override;
    TWizardDetails Details() const override;
    void SetDetails(const TWizardDetails& details) override;
    void SetBrandLists(const std::vector<std::string>& brands) override;
    bool StandardChosen() const override;
    void SetStandardChosen(bool standard) override;
    std::string ProtocolNameField() const override;
    void SetProtocolNameField(const std::string& name) override;
    TColouredList& LearnResults() override;
    TCaptureProgressBar* ProtocolProgressBar() override;
    void ShowProtocolProgress(bool shown) override;
    void EnableLearnProtocol(bool enabled) override;
    void SetEditProtocolState(bool visible, bool enabled) override;
    TColouredList& StandardDetails() override;
    void SetStandardNames(const std::vector<std::string>& names, int selected) override;
    int SelectedStandard() const override;
    void SetTemplateNames(const std::vector<std::string>& names) override;
    void SetButtonNames(const std::vector<TNamedIndex>& names) override;
    int SelectedButtonEntry() const override;
    void SelectButtonEntry(int entry) override;
    void EnableButtonListCommands(bool enabled) override;
    void SetGridRows(const std::vector<TWizardRow>& rows) override;
    void RewriteGridRows(const std::vector<TWizardRow>& rows) override;
    int GridRowCount() const override;
    std::string GridCell(int row, int column) const override;
    int SelectedGridRow() const override;
    void SelectGridRow(int row) override;
    void EnableGridCommands(bool enabled) override;
    TCaptureProgressBar* ButtonsProgressBar() override;
    void ShowButtonsProgress(bool shown) override;
    void SetSummary(const std::vector<TWizardRow>& rows) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    QWidget* BuildHeader();
    QWidget* BuildWelcomePage();
    QWidget* BuildDetailsPage();
    QWidget* BuildProtocolChoicePage();
    QWidget* BuildLearnProtocolPage();
    QWidget* BuildStandardPage();
    QWidget* BuildButtonsPage();
    QWidget* BuildLearnButtonsPage();
    QWidget* BuildSavePage();
    QWidget* BuildNavigation();
    // Runs a command of the flow; an error it raises is shown in an error box and ends only that command.
    template <typename Command>
    void Guarded(Command command);

    TWizardModel model_;
    std::unique_ptr<TListPalette> ownPalette_;
    const TListPalette& palette_;
    std::vector<std::string> subtitles_;

    QLabel* lblTitle_ = nullptr;
    QLabel* lblSubtitle_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    QPushButton* btnBack_ = nullptr;
    QPushButton* btnNext_ = nullptr;
    QPushButton* btnFinish_ = nullptr;
    QPushButton* btnHelp_ = nullptr;

    QComboBox* cbDeviceType_ = nullptr;
    QComboBox* cbDeviceBrand_ = nullptr;
    QLineEdit* edtDeviceModel_ = nullptr;
    QComboBox* cbRemoteBrand_ = nullptr;
    QLineEdit* edtRemoteModel_ = nullptr;
    QPlainTextEdit* memoNotes_ = nullptr;

    QRadioButton* rbLearn_ = nullptr;
    QRadioButton* rbStandard_ = nullptr;

    QLineEdit* edtProtocol_ = nullptr;
    QPushButton* btnLearnProtocol_ = nullptr;
    QPushButton* btnEditProtocol_ = nullptr;
    wizard::TColouredListBox* lbxLearnResults_ = nullptr;
    wizard::TProgressView* pbProtocol_ = nullptr;

    QListWidget* lbxStandard_ = nullptr;
    wizard::TColouredListBox* lbxDetails_ = nullptr;

    QListWidget* lbxTemplates_ = nullptr;
    QListWidget* lbxButtons_ = nullptr;
    QPushButton* btnEditButton_ = nullptr;
    QPushButton* btnAddButton_ = nullptr;
    QPushButton* btnDeleteButton_ = nullptr;

    wizard::TThirdsGrid* grdLearn_ = nullptr;
    QPushButton* btnLearnAll_ = nullptr;
    QPushButton* btnGridEdit_ = nullptr;
    QPushButton* btnGridLearn_ = nullptr;
    QPushButton* btnGridAdd_ = nullptr;
    QPushButton* btnGridDelete_ = nullptr;
    wizard::TProgressView* pbButtons_ = nullptr;

    QPushButton* btnSave_ = nullptr;
    wizard::TThirdsGrid* grdSummary_ = nullptr;

    std::unique_ptr<TWizardFlow> flow_;
};

}  // namespace spectrel
