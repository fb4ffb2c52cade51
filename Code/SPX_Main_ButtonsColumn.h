#pragma once
// The right column of the work area: caption "Buttons", the button toolbar ("Add", "Add +", "Edit", "Learn",
// "Clear Code", "Delete", "Learn All", "Templates") and the button grid, a view over the button list with the
// pictures of the buttons. The commands are TButtonListCommands'; the column wires its controls to them and
// opens the dialogs they ask for.
//
// Object names: "ButtonGrid", "btnAddButton", "btnAddMultipleButtons", "btnEditButton", "btnLearnButton",
// "btnClearCode", "btnDeleteButton", "BtnLearn" (Learn All), "btnTemplates", the menus "mnuTemplates" and
// "mnuButtonGrid" (the grid's context menu).

#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Code/SPX_ButtonListEditing.h"

class QAction;
class QMenu;
class QTableView;
class QToolBar;
class QToolButton;

namespace spectrel {

class TbuttonCodes;
class TButtonGridModel;
class TDirectoryImageList;
class TLearningProcedures;
class TReplaceRule;
struct TCommandStates;

namespace platform {
class MessageBoxes;
class FileDialogs;
}  // namespace platform

// What the column works on; everything outlives it.
struct TButtonsColumnModel {
    TbuttonCodes& buttons;
    TButtonTemplates& templates;
    const TReplaceRule& rules;
    const Tprotocol_descriptor& current;
    std::function<TCodeDisplayOptions()> displayOptions;
    platform::MessageBoxes& boxes;
    platform::FileDialogs& fileDialogs;
    std::string applicationFolder;  // with its trailing separator
    TLearningProcedures& procedures;
    std::function<void(bool idle)> updateCommandStates;
};

class TButtonsColumn : public QWidget, private TButtonListView, private TButtonListDialogs {
    Q_OBJECT
public:
    explicit TButtonsColumn(TButtonsColumnModel model, QWidget* parent = nullptr);
    ~TButtonsColumn() override;

    // The pictures beside the button names (from the next refresh on).
    void SetImageList(TDirectoryImageList* images);

    // Rebuilds the grid from the button list, keeping the selected row (or the last one when it is gone).
    void RefreshButtonGrid() override;
    // Selects the last row and scrolls it into view.
    void SelectLastButton() override;
    // The button of the first selected row, -1 when none is selected.
    int SelectedButtonIndex() const;
    // Enables "Add", "Add +" and "Learn All" as the command states say.
    void ApplyCommandStates(const TCommandStates& states);

    // File "&Load Button Names" and "&Save Button Names".
    void LoadButtonNames() { commands_.mnuLoadButtonNames(); }
    void SaveButtonNames() { commands_.mnuSaveButtonsClick(); }

    TButtonListCommands& Commands() { return commands_; }
    // The dialogs the commands open (Edit Button, Add Buttons, restricted text), for the other windows that use
    // them: the IR wizard and the template editor of the preferences.
    TButtonListDialogs& Dialogs() { return *this; }
    const TTemplateMenuModel& TemplateMenuModel() const { return templateMenu_; }
    QTableView* Grid() const { return grid_; }
    QMenu* TemplatesMenu() const { return templatesMenu_; }
    QAction* LearnAllAction() const { return learnAll_; }
    QAction* AddAction() const { return add_; }
    QAction* AddSeveralAction() const { return addSeveral_; }
    QAction* EditAction() const { return edit_; }
    QAction* LearnAction() const { return learn_; }
    QAction* ClearCodeAction() const { return clearCode_; }
    QAction* DeleteAction() const { return delete_; }

signals:
    void learnAllClicked();
    // "Learn" for the first selected button.
    void learnClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // --- TButtonListView
    void UpdateCommandStates(bool idle) override;
    std::vector<int> SelectedButtonIndexes() const override;
    // --- TButtonListDialogs
    bool ExecuteButtonEdit(TButtonCode& button) override;
    bool ExecuteAddButtons(std::vector<std::string>& lines) override;
    bool ExecuteRestrictedEdit(std::string& text, const std::string& prompt, const std::string& extra,
                               int mode) override;

    void BuildTemplatesMenu();
    void UpdateGridCommands();

    TButtonsColumnModel model_;
    TButtonListCommands commands_;
    TTemplateMenuModel templateMenu_;
    TButtonGridModel* gridModel_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QTableView* grid_ = nullptr;
    QMenu* templatesMenu_ = nullptr;
    QMenu* contextMenu_ = nullptr;
    QToolButton* templatesButton_ = nullptr;
    QAction* add_ = nullptr;
    QAction* addSeveral_ = nullptr;
    QAction* edit_ = nullptr;
    QAction* learn_ = nullptr;
    QAction* clearCode_ = nullptr;
    QAction* delete_ = nullptr;
    QAction* learnAll_ = nullptr;
};

}  // namespace spectrel
