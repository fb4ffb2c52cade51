#include "Code/SPX_Main_ButtonsColumn.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "Code/KOR_XMLIMAGELIST.h"
#include "Code/KOR_frmAddButtons.h"
#include "Code/KOR_frmButtonCodeEdit.h"
#include "Code/SPX_CommandStates.h"
#include "Code/SPX_Data_ButtonCodes.h"
#include "Code/SPX_Main_ButtonGridModel.h"
#include "Code/fRestrictedEdit.h"
#include "shell/KOR_Header.h"

namespace spectrel {

namespace {
constexpr int kNameColumnWidth = 150;
constexpr int kImageSize = 16;

QAction* AddCommand(QToolBar* bar, const QString& text, const char* objectName, QStyle::StandardPixmap icon,
                    const QString& hint = {}) {
    QAction* action = bar->addAction(bar->style()->standardIcon(icon), text);
    action->setObjectName(QString::fromLatin1(objectName));
    if (!hint.isEmpty()) {
        action->setToolTip(hint.section('|', 0, 0).trimmed());
        action->setStatusTip(hint.section('|', 1).trimmed());
    }
    if (QWidget* button = bar->widgetForAction(action)) button->setObjectName(QString::fromLatin1(objectName));
    return action;
}
// A dialog goes above the modal window that asked for it (the wizard, the preferences), otherwise above the
// main window.
QWidget* DialogParent(QWidget* window) {
    QWidget* modal = QApplication::activeModalWidget();
    return modal != nullptr ? modal : window;
}
}  // namespace

TButtonsColumn::TButtonsColumn(TButtonsColumnModel model, QWidget* parent)
    : QWidget(parent),
      model_(std::move(model)),
      commands_({model_.buttons, model_.templates, model_.boxes, model_.fileDialogs, *this, model_.applicationFolder},
                *this),
      templateMenu_([this] { commands_.SaveAs1Click(); }, [this] { commands_.Clear1Click(); }) {
    setObjectName(QStringLiteral("pnlButtons"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(new shell::TKOR_Header(QStringLiteral("Buttons"), this));

    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName(QStringLiteral("tbButtons"));
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    add_ = AddCommand(toolBar_, QStringLiteral("Add"), "btnAddButton", QStyle::SP_FileIcon);
    addSeveral_ = AddCommand(toolBar_, QStringLiteral("Add +"), "btnAddMultipleButtons", QStyle::SP_FileDialogNewFolder);
    toolBar_->addSeparator();
    edit_ = AddCommand(toolBar_, QStringLiteral("Edit"), "btnEditButton", QStyle::SP_FileDialogDetailedView);
    learn_ = AddCommand(toolBar_, QStringLiteral("Learn"), "btnLearnButton", QStyle::SP_MediaPlay);
    clearCode_ = AddCommand(toolBar_, QStringLiteral("Clear Code"), "btnClearCode", QStyle::SP_DialogResetButton);
    delete_ = AddCommand(toolBar_, QStringLiteral("Delete"), "btnDeleteButton", QStyle::SP_TrashIcon);
    toolBar_->addSeparator();
    learnAll_ = AddCommand(toolBar_, QStringLiteral("Learn All"), "BtnLearn", QStyle::SP_MediaSeekForward,
                           QStringLiteral("Learn Buttons|Click to learn IR codes for listed buttons"));

    templatesMenu_ = new QMenu(QStringLiteral("Templates"), this);
    templatesMenu_->setObjectName(QStringLiteral("mnuTemplates"));
    templatesButton_ = new QToolButton(toolBar_);
    templatesButton_->setObjectName(QStringLiteral("btnTemplates"));
    templatesButton_->setText(QStringLiteral("Templates"));
    templatesButton_->setIcon(style()->standardIcon(QStyle::SP_FileDialogListView));
    templatesButton_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    templatesButton_->setPopupMode(QToolButton::InstantPopup);
    templatesButton_->setMenu(templatesMenu_);
    toolBar_->addWidget(templatesButton_);
    layout->addWidget(toolBar_);
    // The whole toolbar stays visible, "Templates" included.
    setMinimumWidth(toolBar_->sizeHint().width());

    gridModel_ = new TButtonGridModel(model_.buttons, model_.rules, model_.current, model_.displayOptions, nullptr,
                                      this);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("ButtonGrid"));
    grid_->setModel(gridModel_);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setShowGrid(false);
    grid_->setWordWrap(false);
    grid_->setIconSize(QSize(kImageSize, kImageSize));
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setDefaultSectionSize(kImageSize + 4);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->horizontalHeader()->setHighlightSections(false);
    grid_->setColumnWidth(0, kNameColumnWidth);
    // The selection stays visible when the grid loses the focus.
    QPalette colours = grid_->palette();
    colours.setColor(QPalette::Inactive, QPalette::Highlight, colours.color(QPalette::Active, QPalette::Highlight));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     colours.color(QPalette::Active, QPalette::HighlightedText));
    grid_->setPalette(colours);
    grid_->installEventFilter(this);
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(grid_, 1);

    contextMenu_ = new QMenu(this);
    contextMenu_->setObjectName(QStringLiteral("mnuButtonGrid"));
    contextMenu_->addAction(edit_);
    contextMenu_->addAction(learn_);
    contextMenu_->addAction(clearCode_);
    contextMenu_->addSeparator();
    contextMenu_->addAction(delete_);
    contextMenu_->addSeparator();
    contextMenu_->addMenu(templatesMenu_);

    connect(add_, &QAction::triggered, this, [this] { commands_.btnAddButtonClick(); });
    connect(addSeveral_, &QAction::triggered, this, [this] { commands_.btnAddMultipleButtonsClick(); });
    connect(edit_, &QAction::triggered, this, [this] { commands_.ButtonGridDblClick(); });
    connect(learn_, &QAction::triggered, this, &TButtonsColumn::learnClicked);
    connect(clearCode_, &QAction::triggered, this, [this] { commands_.aClearButtonCodeExecute(); });
    connect(delete_, &QAction::triggered, this, [this] { commands_.aDeleteButtonExecute(); });
    connect(learnAll_, &QAction::triggered, this, &TButtonsColumn::learnAllClicked);
    connect(grid_, &QTableView::doubleClicked, this, [this] { commands_.ButtonGridDblClick(); });
    connect(grid_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { contextMenu_->popup(grid_->viewport()->mapToGlobal(at)); });
    connect(grid_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TButtonsColumn::UpdateGridCommands);
    connect(gridModel_, &QAbstractItemModel::modelReset, this, &TButtonsColumn::UpdateGridCommands);

    templateMenu_.SetOnChanged([this] { BuildTemplatesMenu(); });
    model_.templates.BindMenu(&templateMenu_);
    model_.templates.SetOnApplied([this] {
        RefreshButtonGrid();
        UpdateCommandStates(true);
    });
    BuildTemplatesMenu();
    UpdateGridCommands();
}

// The templates outlive the column only in the program; the column leaves them alone as it goes.
TButtonsColumn::~TButtonsColumn() = default;

void TButtonsColumn::SetImageList(TDirectoryImageList* images) { gridModel_->SetImages(images); }

void TButtonsColumn::BuildTemplatesMenu() {
    // The menu may be rebuilt from inside one of its own commands: the old actions go when control returns.
    for (QAction* action : templatesMenu_->actions()) {
        templatesMenu_->removeAction(action);
        action->deleteLater();
    }
    const std::vector<TTemplateMenuModel::TEntry>& entries = templateMenu_.Entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].separator) {
            templatesMenu_->addSeparator();
            continue;
        }
        QAction* action = templatesMenu_->addAction(QString::fromStdString(entries[i].caption));
        action->setData(entries[i].tag);
        const int index = static_cast<int>(i);
        connect(action, &QAction::triggered, this, [this, index] { templateMenu_.Trigger(index); },
                Qt::QueuedConnection);
    }
}

void TButtonsColumn::UpdateGridCommands() {
    const TGridCommandStates states = GridCommandStates(grid_->selectionModel()->hasSelection());
    edit_->setEnabled(states.edit);
    learn_->setEnabled(states.learn);
    clearCode_->setEnabled(states.clearCode);
    delete_->setEnabled(states.remove);
}

bool TButtonsColumn::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_ && event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers m = key->modifiers();
        const int code = key->key() == Qt::Key_Delete ? kDeleteKeyCode : 0;
        if (IsGridDeleteKey(code, m & Qt::ShiftModifier, m & Qt::ControlModifier, m & Qt::AltModifier)) {
            commands_.aDeleteButtonExecute();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TButtonsColumn::RefreshButtonGrid() {
    int remembered = -1;
    for (const QModelIndex& row : grid_->selectionModel()->selectedRows())
        remembered = remembered < 0 ? row.row() : std::min(remembered, row.row());
    setUpdatesEnabled(false);
    gridModel_->Rebuild();
    const int row = RowToSelectAfterRefresh(remembered, gridModel_->rowCount());
    if (row >= 0) {
        grid_->selectRow(row);
        grid_->scrollTo(gridModel_->index(row, 0));
    }
    setUpdatesEnabled(true);
    UpdateGridCommands();
}

void TButtonsColumn::SelectLastButton() {
    const int rows = gridModel_->rowCount();
    if (rows == 0) return;
    grid_->clearSelection();
    grid_->selectRow(rows - 1);
    grid_->scrollTo(gridModel_->index(rows - 1, 0));
}

int TButtonsColumn::SelectedButtonIndex() const {
    const std::vector<int> selected = SelectedButtonIndexes();
    return selected.empty() ? -1 : selected.front();
}

std::vector<int> TButtonsColumn::SelectedButtonIndexes() const {
    std::vector<int> rows;
    for (const QModelIndex& row : grid_->selectionModel()->selectedRows()) rows.push_back(row.row());
    std::sort(rows.begin(), rows.end());
    std::vector<int> indexes;
    for (int row : rows) indexes.push_back(gridModel_->ButtonIndexOfRow(row));
    return indexes;
}

void TButtonsColumn::ApplyCommandStates(const TCommandStates& states) {
    add_->setEnabled(states.addButtons);
    addSeveral_->setEnabled(states.addButtons);
    learnAll_->setEnabled(states.learnAll);
}

void TButtonsColumn::UpdateCommandStates(bool idle) {
    if (model_.updateCommandStates) model_.updateCommandStates(idle);
}

bool TButtonsColumn::ExecuteButtonEdit(TButtonCode& button) {
    const TButtonEditEnvironment environment{
        model_.procedures, model_.boxes, model_.current, [this](const TButtonCode& b) {
            return ButtonCodeDisplayText(b, model_.rules, model_.current,
                                         model_.displayOptions ? model_.displayOptions() : TCodeDisplayOptions{});
        }};
    return spectrel::ExecuteButtonEdit(button, environment, DialogParent(window()));
}

bool TButtonsColumn::ExecuteAddButtons(std::vector<std::string>& lines) {
    return spectrel::ExecuteAddButtons(lines, DialogParent(window()));
}

bool TButtonsColumn::ExecuteRestrictedEdit(std::string& text, const std::string& prompt, const std::string& extra,
                                           int mode) {
    return spectrel::ExecuteRestrictedEdit(text, prompt, extra, mode, DialogParent(window()));
}

}  // namespace spectrel
