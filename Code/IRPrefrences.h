#pragma once
// TfrmIRPrefrences: the "Preferences" dialog with its navigation tree, one page per topic, the paired controls
// and the button template editor. The decisions and the dialog's copies of the values are TPreferencesModel's;
// this window shows them and sends every click there.

#include <QDialog>
#include <functional>
#include <map>
#include <vector>

#include "Code/SPX_PreferencesModel.h"

class QAbstractButton;
class QCheckBox;
class QListWidget;
class QSpinBox;
class QSplitter;
class QTabWidget;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class QVBoxLayout;

namespace spectrel {

namespace shell {
class TZELfrmButtons;
}

class TfrmIRPrefrences : public QDialog {
    Q_OBJECT
public:
    explicit TfrmIRPrefrences(QWidget* parent = nullptr);
    ~TfrmIRPrefrences() override;

    // The dialog's values; the caller sets OnLoad and OnSave here.
    TPreferencesModel& Model() { return model_; }
    // Template names and items are typed in the restricted text dialog the caller hands in.
    void SetAskTemplateText(TAskTemplateText ask);
    // Switches the application's tooltips (at once, when a "Show Hints" box is clicked).
    void SetShowHints(std::function<void(bool)> showHints);
    // Opens the help: none of the pages has a topic of its own, so "Help" opens the contents.
    void SetOpenHelp(std::function<void()> openHelp);

    // OnLoad, the window prepared, shown modally, OnSave after OK. True for OK.
    bool Execute();
    // OnLoad and the preparation without showing the window (Execute does this first).
    void Prepare();

    shell::TZELfrmButtons* Buttons() const { return buttons_; }

private:
    QWidget* AddPage(const std::string& title, QVBoxLayout*& body);
    QCheckBox* AddBox(QVBoxLayout* body, TPreferencePair pair, const char* caption, const char* objectName,
                      const char* hint = nullptr);
    void AddSubstitutionOptions(QVBoxLayout* body, const char* suffix);
    QSpinBox* AddHintTime(QVBoxLayout* body, const char* objectName);
    void BuildFormPages();
    void BuildAdvancedPages();
    void BuildTemplatePage(QVBoxLayout* body);
    QToolButton* AddCommand(QVBoxLayout* column, const char* objectName, const char* hint, int icon,
                            void (TTemplateEditor::*command)());
    void BuildTree();

    // The tree collapsed but for its first node, the first page shown, every control in the model's state.
    void PrepareControls();
    void ShowPage(const std::string& title);
    void NodeSelected(QTreeWidgetItem* item);
    void ApplyTreeNavigator();
    // Every control takes the state of the model.
    void Sync();
    void SyncTemplates();

    TPreferencesModel model_;
    std::function<void()> openHelp_;
    QTreeWidget* tree_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QTabWidget* pages_ = nullptr;
    QCheckBox* useTree_ = nullptr;
    shell::TZELfrmButtons* buttons_ = nullptr;
    QToolBar* sample_ = nullptr;
    std::multimap<TPreferencePair, QAbstractButton*> pairs_;
    std::vector<std::pair<QAbstractButton*, QAbstractButton*>> subOptions_;  // "Sub Hex", "Sub Bin" per page
    std::vector<QSpinBox*> hintTimes_;
    QListWidget* names_ = nullptr;
    QListWidget* items_ = nullptr;
    std::map<QToolButton*, bool TTemplateCommandStates::*> commands_;
    bool syncing_ = false;
};

}  // namespace spectrel
