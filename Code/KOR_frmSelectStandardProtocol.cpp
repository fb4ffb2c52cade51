#include "Code/KOR_frmSelectStandardProtocol.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace spectrel {

TfrmSelectStandardProtocol::TfrmSelectStandardProtocol(const Tstandard_protocols& standard, QWidget* parent)
    : QDialog(parent) {
    setObjectName("frmSelectStandardProtocol");
    setWindowTitle("Select Standard Protocol");
    setSizeGripEnabled(true);
    setMinimumSize(420, 300);

    auto* text = new QLabel(
        "Select from the standard protocols listed below.\n\n"
        "Press OK to apply the selected protocol, this will cause all previously learned codes to be erased.",
        this);
    text->setObjectName("lblSelectText");
    text->setWordWrap(true);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);

    list_ = new QListWidget(this);
    list_->setObjectName("lbProtocols");
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    const int count = std::clamp(standard.count, 0, kStandardProtocolSlots);
    for (int i = 0; i < count; ++i)
        list_->addItem(QString::fromStdString(standard.protocols[static_cast<std::size_t>(i)].name));

    select_ = new QPushButton("Select", this);
    select_->setObjectName("btnSelect");
    select_->setDefault(true);
    select_->setEnabled(false);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("btnCancel");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(select_);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);

    connect(list_, &QListWidget::itemSelectionChanged, this, &TfrmSelectStandardProtocol::ListSelectionChange);
    // A double click on an empty part of the list reaches no item, so it does nothing.
    connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (item != nullptr && item->isSelected()) SelectClick();
    });
    connect(select_, &QPushButton::clicked, this, &TfrmSelectStandardProtocol::SelectClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);  // Escape rejects the dialog as well
}

void TfrmSelectStandardProtocol::ListSelectionChange() { select_->setEnabled(!list_->selectedItems().isEmpty()); }

void TfrmSelectStandardProtocol::SelectClick() {
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty()) return;
    chosen_ = list_->row(selected.front());
    accept();
}

int ExecuteSelectStandardProtocol(const Tstandard_protocols& standard, QWidget* parent) {
    TfrmSelectStandardProtocol dialog(standard, parent);
    return dialog.exec() == QDialog::Accepted ? dialog.ChosenIndex() : -1;
}

}  // namespace spectrel
