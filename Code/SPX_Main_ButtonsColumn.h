#pragma once
// The right column of the work area: caption "Buttons", the button toolbar and the button grid, a view over
// the button list (names and codes, the codes shown through the substitution rules when they are on).

#include <QAbstractTableModel>
#include <QWidget>
#include <functional>

class QAction;
class QTableView;
class QToolBar;

namespace spectrel {

class TbuttonCodes;
struct TCommandStates;

// The button list as a table: "Name" and "IR Code", one row per button in list order.
class TButtonGridModel : public QAbstractTableModel {
public:
    // `codeText` gives the text shown for a button's code text ("<not recorded>" included).
    TButtonGridModel(const TbuttonCodes& buttons, std::function<std::string(const std::string&)> codeText,
                     QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The list changed: the rows are read again.
    void Reload();

private:
    const TbuttonCodes& buttons_;
    std::function<std::string(const std::string&)> codeText_;
};

class TButtonsColumn : public QWidget {
    Q_OBJECT
public:
    TButtonsColumn(const TbuttonCodes& buttons, std::function<std::string(const std::string&)> codeText,
                   QWidget* parent = nullptr);

    // Rebuilds the grid from the button list, keeping the selected row (or the last one when it is gone).
    void RefreshButtonGrid();
    // Selects the last row and scrolls it into view.
    void SelectLastButton();
    // The button of the first selected row, -1 when none is selected.
    int SelectedButtonIndex() const;
    // Enables "Add", "Add +" and "Learn All" as the command states say.
    void ApplyCommandStates(const TCommandStates& states);

    QTableView* Grid() const { return grid_; }
    QAction* LearnAllAction() const { return learnAll_; }
    QAction* AddAction() const { return add_; }
    QAction* AddSeveralAction() const { return addSeveral_; }

signals:
    void learnAllClicked();
    void addClicked();
    void addSeveralClicked();

private:
    TButtonGridModel* model_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QTableView* grid_ = nullptr;
    QAction* add_ = nullptr;
    QAction* addSeveral_ = nullptr;
    QAction* learnAll_ = nullptr;
};

}  // namespace spectrel
