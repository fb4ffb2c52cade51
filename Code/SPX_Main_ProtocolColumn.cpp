#include "Code/SPX_Main_ProtocolColumn.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "Code/SPX_Main_ColouredList.h"
#include "shell/KOR_Header.h"

namespace spectrel {

namespace {
constexpr int kColumnMinimumWidth = 215;
constexpr int kDescriptionLineHeight = 13;
constexpr int kDescriptionFontPixels = 11;

QAction* AddCommand(QToolBar* bar, const QString& text, const char* objectName, QStyle::StandardPixmap icon,
                    const QString& hint) {
    QAction* action = bar->addAction(bar->style()->standardIcon(icon), text);
    action->setObjectName(QString::fromLatin1(objectName));
    if (!hint.isEmpty()) action->setToolTip(hint.section('|', 0, 0).trimmed());
    action->setStatusTip(hint.section('|', 1).trimmed());
    if (QWidget* button = bar->widgetForAction(action)) button->setObjectName(QString::fromLatin1(objectName));
    return action;
}
}  // namespace

TProtocolColumnPanel::TProtocolColumnPanel(const TListPalette& palette, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pnlProtocol"));
    setMinimumWidth(kColumnMinimumWidth);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(new shell::TKOR_Header(QStringLiteral("IR Protocol"), this));

    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName(QStringLiteral("tbProtocol"));
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    learn_ = AddCommand(toolBar_, QStringLiteral("Learn"), "BtnExploreProto", QStyle::SP_MediaPlay,
                        QStringLiteral("Learn Protocol | Initiates the process to learn the protocol of the device"));
    select_ = AddCommand(toolBar_, QStringLiteral("Select"), "btnSelectProtocol", QStyle::SP_FileDialogListView, {});
    edit_ = AddCommand(toolBar_, QStringLiteral("Edit"), "btnEditProtocol", QStyle::SP_FileDialogDetailedView, {});
    connect(learn_, &QAction::triggered, this, &TProtocolColumnPanel::learnClicked);
    connect(select_, &QAction::triggered, this, &TProtocolColumnPanel::selectClicked);
    connect(edit_, &QAction::triggered, this, &TProtocolColumnPanel::editClicked);
    layout->addWidget(toolBar_);

    auto* nameRow = new QHBoxLayout;
    nameRow->setContentsMargins(4, 0, 4, 0);
    nameRow->addWidget(new QLabel(QStringLiteral("Name"), this));
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("eProtocolName"));
    name_->setReadOnly(true);
    QPalette grey = name_->palette();
    grey.setColor(QPalette::Base, grey.color(QPalette::Window));
    name_->setPalette(grey);
    nameRow->addWidget(name_, 1);
    layout->addLayout(nameRow);

    list_ = new TColouredListWidget(palette, kDescriptionLineHeight, kDescriptionFontPixels, this);
    list_->setObjectName(QStringLiteral("lbxProtocols"));
    list_->setToolTip(QStringLiteral("Protocol description"));
    layout->addWidget(list_, 1);
}

void TProtocolColumnPanel::ShowProtocolName(const QString& name) { name_->setText(name); }

}  // namespace spectrel
