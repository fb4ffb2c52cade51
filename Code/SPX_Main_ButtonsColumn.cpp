#include "Code/SPX_Main_ButtonsColumn.h"

#include <QHeaderView>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "Code/SPX_CommandStates.h"
#include "Code/SPX_Data_ButtonCodes.h"
#include "Code/SPX_Main_Frame.h"

namespace spectrel {

namespace {
constexpr int kNameColumnWidth = 150;

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
}  // namespace

TButtonGridModel::TButtonGridModel(const TbuttonCodes& buttons,
                                   std::function<std::string(const std::string&)> codeText, QObject* parent)
    : QAbstractTableModel(parent), buttons_(buttons), codeText_(std::move(codeText)) {}

int TButtonGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : buttons_.Count(); }

int TButtonGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant TButtonGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= buttons_.Count()) return {};
    const TButtonCode& button = buttons_.Items(index.row());
    if (role == Qt::DisplayRole) {
        if (index.column() == 0) return QString::fromStdString(button.Name());
        return QString::fromStdString(codeText_ ? codeText_(button.CodeText()) : button.CodeText());
    }
    if (role == Qt::UserRole) return index.row();  // the row carries its button's index
    return {};
}

QVariant TButtonGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return section == 0 ? QStringLiteral("Name") : QStringLiteral("IR Code");
}

void TButtonGridModel::Reload() {
    beginResetModel();
    endResetModel();
}

TButtonsColumn::TButtonsColumn(const TbuttonCodes& buttons, std::function<std::string(const std::string&)> codeText,
                               QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("pnlButtons"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(new TKOR_Header(QStringLiteral("Buttons"), this));

    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName(QStringLiteral("tbButtons"));
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    add_ = AddCommand(toolBar_, QStringLiteral("Add"), "btnAddButton", QStyle::SP_FileIcon);
    addSeveral_ = AddCommand(toolBar_, QStringLiteral("Add +"), "btnAddMultipleButtons", QStyle::SP_FileDialogNewFolder);
    toolBar_->addSeparator();
    learnAll_ = AddCommand(toolBar_, QStringLiteral("Learn All"), "BtnLearn", QStyle::SP_MediaSeekForward,
                           QStringLiteral("Learn Buttons|Click to learn IR codes for listed buttons"));
    connect(add_, &QAction::triggered, this, &TButtonsColumn::addClicked);
    connect(addSeveral_, &QAction::triggered, this, &TButtonsColumn::addSeveralClicked);
    connect(learnAll_, &QAction::triggered, this, &TButtonsColumn::learnAllClicked);
    layout->addWidget(toolBar_);

    model_ = new TButtonGridModel(buttons, std::move(codeText), this);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("ButtonGrid"));
    grid_->setModel(model_);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setShowGrid(false);
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->setColumnWidth(0, kNameColumnWidth);
    layout->addWidget(grid_, 1);
}

void TButtonsColumn::RefreshButtonGrid() {
    int selected = SelectedButtonIndex();
    model_->Reload();
    const int rows = model_->rowCount();
    if (selected >= rows) selected = rows - 1;
    if (selected >= 0) {
        grid_->selectRow(selected);
        grid_->scrollTo(model_->index(selected, 0));
    }
}

void TButtonsColumn::SelectLastButton() {
    const int rows = model_->rowCount();
    if (rows == 0) return;
    grid_->clearSelection();
    grid_->selectRow(rows - 1);
    grid_->scrollTo(model_->index(rows - 1, 0));
}

int TButtonsColumn::SelectedButtonIndex() const {
    const QModelIndexList rows = grid_->selectionModel()->selectedRows();
    if (rows.isEmpty()) return -1;
    int first = rows.front().row();
    for (const QModelIndex& row : rows) first = std::min(first, row.row());
    return model_->index(first, 0).data(Qt::UserRole).toInt();
}

void TButtonsColumn::ApplyCommandStates(const TCommandStates& states) {
    add_->setEnabled(states.addButtons);
    addSeveral_->setEnabled(states.addButtons);
    learnAll_->setEnabled(states.learnAll);
}

}  // namespace spectrel
