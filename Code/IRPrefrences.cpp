#include "Code/IRPrefrences.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cctype>

#include "shell/ZELfrmButtons.h"
#include "shell/core/FrameRules.h"

namespace spectrel {

namespace {

namespace text = preferences_text;
using P = TPreferencePair;

QString FromStd(const std::string& s) { return QString::fromStdString(s); }

void SetHint(QWidget* widget, const std::string& hint) {
    widget->setToolTip(FromStd(shell::ShortHint(hint)));
    widget->setStatusTip(FromStd(shell::LongHint(hint)));
}

// "Use Substitution Rules" -> "tsUseSubstitutionRules".
QString PageObjectName(const std::string& title) {
    QString name = QStringLiteral("ts");
    for (char c : title)
        if (std::isalnum(static_cast<unsigned char>(c))) name += QLatin1Char(c);
    return name;
}

constexpr int kMinimumWidth = 780;
constexpr int kMinimumHeight = 440;
constexpr int kTreeWidth = 290;

}  // namespace

TfrmIRPrefrences::TfrmIRPrefrences(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmIRPrefrences"));
    setWindowTitle(QString::fromUtf8(text::kCaption));
    setMinimumSize(kMinimumWidth, kMinimumHeight);

    auto* layout = new QVBoxLayout(this);
    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setObjectName(QStringLiteral("splNavigator"));
    splitter_->setChildrenCollapsible(false);
    tree_ = new QTreeWidget(splitter_);
    tree_->setObjectName(QStringLiteral("tvNavigator"));
    tree_->setHeaderHidden(true);
    tree_->setMinimumWidth(kTreeWidth);
    SetHint(tree_, text::kTreeHint);
    pages_ = new QTabWidget(splitter_);
    pages_->setObjectName(QStringLiteral("pcPages"));
    splitter_->addWidget(tree_);
    splitter_->addWidget(pages_);
    splitter_->setStretchFactor(1, 1);
    layout->addWidget(splitter_, 1);

    BuildFormPages();
    BuildAdvancedPages();
    BuildTree();

    auto* bottom = new QHBoxLayout;
    useTree_ = new QCheckBox(QString::fromUtf8(text::kUseTreeNavigator), this);
    useTree_->setObjectName(QStringLiteral("chkUseTreeNavigator"));
    useTree_->hide();
    pairs_.emplace(P::UsePreferencesTree, useTree_);
    connect(useTree_, &QCheckBox::clicked, this, [this](bool on) {
        model_.Click(P::UsePreferencesTree, on);
        Sync();
        ApplyTreeNavigator();
    });
    bottom->addWidget(useTree_);
    bottom->addStretch(1);
    buttons_ = new shell::TZELfrmButtons(this);
    buttons_->SetHints(
        {QString::fromUtf8(text::kOkHint), QString::fromUtf8(text::kCancelHint), QString::fromUtf8(text::kHelpHint)});
    buttons_->SetOnHelp([this] {
        if (openHelp_) openHelp_();
    });
    bottom->addWidget(buttons_);
    layout->addLayout(bottom);

    connect(tree_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) { NodeSelected(current); });
    connect(pages_, &QTabWidget::currentChanged, this, [this](int index) {
        if (!syncing_ && index >= 0) model_.SelectPage(pages_->tabText(index).toStdString());
    });
}

TfrmIRPrefrences::~TfrmIRPrefrences() {
    // The controls outlive the model: nothing they signal while they go may reach it.
    for (QObject* child : findChildren<QObject*>()) child->disconnect(this);
}

void TfrmIRPrefrences::SetAskTemplateText(TAskTemplateText ask) { model_.TemplateEditor().SetAsk(std::move(ask)); }

void TfrmIRPrefrences::SetShowHints(std::function<void(bool)> showHints) { model_.OnShowHints = std::move(showHints); }

void TfrmIRPrefrences::SetOpenHelp(std::function<void()> openHelp) { openHelp_ = std::move(openHelp); }

QWidget* TfrmIRPrefrences::AddPage(const std::string& title, QVBoxLayout*& body) {
    auto* page = new QWidget;
    page->setObjectName(PageObjectName(title));
    SetHint(page, PageHint(title));
    body = new QVBoxLayout(page);
    std::string header;
    for (const TPreferencesPage& p : PreferencesPages())
        if (p.title == title) header = p.header;
    auto* label = new QLabel(FromStd(header), page);
    label->setObjectName(QStringLiteral("lblHeader"));
    label->setWordWrap(true);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    body->addWidget(label);
    auto* line = new QFrame(page);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    body->addWidget(line);
    pages_->addTab(page, FromStd(title));
    return page;
}

QCheckBox* TfrmIRPrefrences::AddBox(QVBoxLayout* body, TPreferencePair pair, const char* caption,
                                    const char* objectName, const char* hint) {
    auto* box = new QCheckBox(QString::fromUtf8(caption));
    box->setObjectName(QString::fromUtf8(objectName));
    if (hint != nullptr) SetHint(box, hint);
    body->addWidget(box);
    pairs_.emplace(pair, box);
    connect(box, &QCheckBox::clicked, this, [this, pair](bool on) {
        model_.Click(pair, on);
        Sync();
    });
    return box;
}

void TfrmIRPrefrences::AddSubstitutionOptions(QVBoxLayout* body, const char* suffix) {
    auto* row = new QHBoxLayout;
    row->setContentsMargins(20, 0, 0, 0);
    auto* hex = new QRadioButton(QString::fromUtf8(text::kSubHex));
    auto* bin = new QRadioButton(QString::fromUtf8(text::kSubBin));
    hex->setObjectName(QStringLiteral("rbSubHex") + QString::fromUtf8(suffix));
    bin->setObjectName(QStringLiteral("rbSubBin") + QString::fromUtf8(suffix));
    auto* group = new QButtonGroup(this);
    group->addButton(hex);
    group->addButton(bin);
    row->addWidget(hex);
    row->addWidget(bin);
    row->addStretch(1);
    body->addLayout(row);
    subOptions_.emplace_back(hex, bin);
    connect(hex, &QRadioButton::clicked, this, [this] {
        model_.Click(P::SubsBinByHex, true);
        Sync();
    });
    connect(bin, &QRadioButton::clicked, this, [this] {
        model_.Click(P::SubsBinByHex, false);
        Sync();
    });
}

QSpinBox* TfrmIRPrefrences::AddHintTime(QVBoxLayout* body, const char* objectName) {
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QString::fromUtf8(text::kHintTimeLabel)));
    auto* spin = new QSpinBox;
    spin->setObjectName(QString::fromUtf8(objectName));
    spin->setRange(kHintTimeMinimum, kHintTimeMaximum);
    spin->setSingleStep(kHintTimeStep);
    row->addWidget(spin);
    row->addStretch(1);
    body->addLayout(row);
    hintTimes_.push_back(spin);
    connect(spin, &QSpinBox::valueChanged, this, [this](int value) {
        if (syncing_) return;
        model_.ChangeHintTime(value);
        Sync();
    });
    return spin;
}

void TfrmIRPrefrences::BuildFormPages() {
    QVBoxLayout* body = nullptr;
    AddPage(text::kFormPreferences, body);
    AddBox(body, P::FlatButtons, text::kFlatButtons, "chkFlatButtons", text::kFlatButtonsHint)->hide();
    AddBox(body, P::SaveIntPos, text::kRememberPositionsBox, "chkRememberPositions", text::kRememberPositionsHint);
    AddBox(body, P::ShowHints, text::kShowHints, "chkShowHints", text::kShowHintsHint);
    AddBox(body, P::SavePos, text::kPersistentBox, "chkPersistentSize", text::kPersistentHint);
    AddHintTime(body, "speHintTime");
    AddBox(body, P::WizardView, text::kWizardViewBox, "chkWizardView");
    body->addStretch(1);

    AddPage(text::kFlatButtons, body);
    AddBox(body, P::FlatButtons, text::kFlatButtons, "chkFlatButtonsDetail", text::kFlatButtonsHint);
    body->addWidget(new QLabel(QString::fromUtf8(text::kSample)));
    sample_ = new QToolBar;
    sample_->setObjectName(QStringLiteral("tbSample"));
    const QStyle::StandardPixmap pictures[] = {QStyle::SP_DialogOpenButton, QStyle::SP_DialogSaveButton,
                                               QStyle::SP_FileDialogDetailedView};
    for (QStyle::StandardPixmap picture : pictures) {
        auto* button = new QToolButton;
        button->setIcon(style()->standardIcon(picture));
        button->setFocusPolicy(Qt::NoFocus);
        SetHint(button, text::kSampleButtonHint);
        sample_->addWidget(button);
    }
    sample_->addSeparator();
    auto* group = new QButtonGroup(sample_);
    for (const char* caption : {"X", "Y"}) {
        auto* button = new QToolButton;
        button->setText(QString::fromUtf8(caption));
        button->setCheckable(true);
        button->setFocusPolicy(Qt::NoFocus);
        SetHint(button, text::kSampleButtonHint);
        group->addButton(button);
        sample_->addWidget(button);
    }
    group->buttons().first()->setChecked(true);
    body->addWidget(sample_);
    body->addStretch(1);

    AddPage(text::kRememberPositions, body);
    AddBox(body, P::SaveIntPos, text::kRememberPositionsDetail, "chkRememberPositionsDetail",
           text::kRememberPositionsHint);
    body->addStretch(1);

    AddPage(text::kShowHints, body);
    AddBox(body, P::ShowHints, text::kShowHints, "chkShowHintsDetail", text::kShowHintsHint);
    body->addStretch(1);

    AddPage(text::kHintTime, body);
    AddHintTime(body, "speHintTimeDetail");
    body->addStretch(1);

    AddPage(text::kPersistentPage, body);
    AddBox(body, P::SavePos, text::kPersistentBox, "chkPersistentSizeDetail", text::kPersistentHint);
    body->addStretch(1);

    AddPage(text::kWizardView, body);
    AddBox(body, P::WizardView, text::kWizardViewBox, "chkWizardViewDetail");
    body->addStretch(1);
}

void TfrmIRPrefrences::BuildAdvancedPages() {
    QVBoxLayout* body = nullptr;
    AddPage(text::kAdvanced, body);
    AddBox(body, P::MatchToStandardProtocol, text::kMatchToStandardBox, "chkMatchToStandard");
    AddBox(body, P::UseSubstutionRules, text::kUseSubstitutionBox, "chkUseSubstitution");
    AddSubstitutionOptions(body, "");
    AddBox(body, P::AllowProtocolEdit, text::kAllowProtocolEditBox, "chkAllowProtocolEdit");
    AddBox(body, P::AllowDecodingParmeterEdit, text::kAllowDecodingEditBox, "chkAllowDecodingEdit");
    AddBox(body, P::AttachProtocol, text::kAttachProtocolBox, "chkAttachProtocol");
    auto* row = new QHBoxLayout;
    auto* defaults = new QPushButton(QString::fromUtf8(text::kDefault));
    defaults->setObjectName(QStringLiteral("btnDefault"));
    SetHint(defaults, text::kDefaultHint);
    connect(defaults, &QPushButton::clicked, this, [this] {
        model_.Default();
        Sync();
    });
    row->addWidget(defaults);
    row->addStretch(1);
    body->addLayout(row);
    body->addStretch(1);

    AddPage(text::kMatchToStandard, body);
    AddBox(body, P::MatchToStandardProtocol, text::kMatchToStandardBox, "chkMatchToStandardDetail");
    body->addStretch(1);

    AddPage(text::kUseSubstitution, body);
    AddBox(body, P::UseSubstutionRules, text::kUseSubstitutionBox, "chkUseSubstitutionDetail");
    AddSubstitutionOptions(body, "Detail");
    body->addStretch(1);

    AddPage(text::kAllowProtocolEdit, body);
    AddBox(body, P::AllowProtocolEdit, text::kAllowProtocolEditBox, "chkAllowProtocolEditDetail");
    body->addStretch(1);

    AddPage(text::kAllowDecodingEdit, body);
    AddBox(body, P::AllowDecodingParmeterEdit, text::kAllowDecodingEditBox, "chkAllowDecodingEditDetail");
    body->addStretch(1);

    AddPage(text::kAttachProtocol, body);
    AddBox(body, P::AttachProtocol, text::kAttachProtocolBox, "chkAttachProtocolDetail");
    body->addStretch(1);

    AddPage(text::kButtonTemplates, body);
    BuildTemplatePage(body);
}

QToolButton* TfrmIRPrefrences::AddCommand(QVBoxLayout* column, const char* objectName, const char* hint, int icon,
                                          void (TTemplateEditor::*command)()) {
    auto* button = new QToolButton;
    button->setObjectName(QString::fromUtf8(objectName));
    button->setIcon(style()->standardIcon(static_cast<QStyle::StandardPixmap>(icon)));
    button->setIconSize(QSize(16, 16));
    SetHint(button, hint);
    column->addWidget(button);
    connect(button, &QToolButton::clicked, this, [this, command] {
        (model_.TemplateEditor().*command)();
        SyncTemplates();
        Sync();
    });
    return button;
}

void TfrmIRPrefrences::BuildTemplatePage(QVBoxLayout* body) {
    auto* lists = new QHBoxLayout;
    names_ = new QListWidget;
    names_->setObjectName(QStringLiteral("lbTemplateNames"));
    items_ = new QListWidget;
    items_->setObjectName(QStringLiteral("lbTemplateItems"));
    using E = TTemplateEditor;
    using S = TTemplateCommandStates;

    auto* nameCommands = new QVBoxLayout;
    commands_[AddCommand(nameCommands, "btnAddName", text::kAddName, QStyle::SP_FileDialogNewFolder, &E::AddName)] =
        &S::nameAdd;
    commands_[AddCommand(nameCommands, "btnEditName", text::kEditName, QStyle::SP_FileDialogDetailedView,
                         &E::EditName)] = &S::nameEdit;
    commands_[AddCommand(nameCommands, "btnDeleteName", text::kDeleteName, QStyle::SP_DialogCancelButton,
                         &E::DeleteName)] = &S::nameDelete;
    commands_[AddCommand(nameCommands, "btnCloneName", text::kCloneName, QStyle::SP_FileLinkIcon, &E::CloneName)] =
        &S::nameClone;
    commands_[AddCommand(nameCommands, "btnNameUp", text::kNameUp, QStyle::SP_ArrowUp, &E::MoveNameUp)] = &S::nameUp;
    commands_[AddCommand(nameCommands, "btnNameDown", text::kNameDown, QStyle::SP_ArrowDown, &E::MoveNameDown)] =
        &S::nameDown;
    nameCommands->addStretch(1);
    commands_[AddCommand(nameCommands, "btnTemplateDefaults", text::kTemplateDefaults, QStyle::SP_BrowserReload,
                         &E::SetDefaults)] = &S::defaults;

    auto* itemCommands = new QVBoxLayout;
    commands_[AddCommand(itemCommands, "btnAddItem", text::kAddItem, QStyle::SP_FileDialogNewFolder, &E::AddItem)] =
        &S::itemAdd;
    commands_[AddCommand(itemCommands, "btnEditItem", text::kEditItem, QStyle::SP_FileDialogDetailedView,
                         &E::EditItem)] = &S::itemEdit;
    commands_[AddCommand(itemCommands, "btnDeleteItem", text::kDeleteItem, QStyle::SP_DialogCancelButton,
                         &E::DeleteItem)] = &S::itemDelete;
    commands_[AddCommand(itemCommands, "btnItemUp", text::kItemUp, QStyle::SP_ArrowUp, &E::MoveItemUp)] = &S::itemUp;
    commands_[AddCommand(itemCommands, "btnItemDown", text::kItemDown, QStyle::SP_ArrowDown, &E::MoveItemDown)] =
        &S::itemDown;
    itemCommands->addStretch(1);

    lists->addWidget(names_, 2);
    lists->addLayout(nameCommands);
    lists->addSpacing(12);
    lists->addWidget(items_, 3);
    lists->addLayout(itemCommands);
    body->addLayout(lists, 1);

    connect(names_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (syncing_) return;
        model_.TemplateEditor().SelectName(row);
        SyncTemplates();
    });
    connect(items_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (syncing_) return;
        model_.TemplateEditor().SelectItem(row);
        SyncTemplates();
    });
}

void TfrmIRPrefrences::BuildTree() {
    std::vector<QTreeWidgetItem*> nodes;
    for (const TPreferencesNode& node : PreferencesTree()) {
        QTreeWidgetItem* item = node.parent < 0 ? new QTreeWidgetItem(tree_)
                                                : new QTreeWidgetItem(nodes[static_cast<std::size_t>(node.parent)]);
        item->setText(0, FromStd(node.text));
        item->setIcon(0, style()->standardIcon(QStyle::SP_ArrowRight));
        nodes.push_back(item);
    }
    // A collapsed node shows the first picture, an expanded one the second.
    connect(tree_, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* item) { item->setIcon(0, style()->standardIcon(QStyle::SP_ArrowDown)); });
    connect(tree_, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem* item) { item->setIcon(0, style()->standardIcon(QStyle::SP_ArrowRight)); });
}

void TfrmIRPrefrences::NodeSelected(QTreeWidgetItem* item) {
    if (item == nullptr || syncing_) return;
    model_.SelectNode(item->text(0).toStdString());
    ShowPage(model_.ShownPage());
}

void TfrmIRPrefrences::ShowPage(const std::string& title) {
    const bool was = syncing_;
    syncing_ = true;
    for (int i = 0; i < pages_->count(); ++i)
        if (pages_->tabText(i).toStdString() == title) pages_->setCurrentIndex(i);
    syncing_ = was;
}

void TfrmIRPrefrences::ApplyTreeNavigator() {
    const bool useTree = model_.Value(P::UsePreferencesTree);
    tree_->setVisible(useTree);
    pages_->tabBar()->setVisible(!useTree);
}

void TfrmIRPrefrences::Prepare() {
    if (model_.OnLoad) model_.OnLoad(model_);
    model_.Prepare();
    PrepareControls();
}

void TfrmIRPrefrences::PrepareControls() {
    syncing_ = true;
    tree_->collapseAll();
    QTreeWidgetItem* first = tree_->topLevelItem(0);
    first->setExpanded(true);
    tree_->setCurrentItem(first);
    syncing_ = false;
    ShowPage(model_.ShownPage());
    ApplyTreeNavigator();
    SyncTemplates();
    Sync();
}

bool TfrmIRPrefrences::Execute() {
    return model_.Execute([this] {
        PrepareControls();
        return exec() == QDialog::Accepted;
    });
}

void TfrmIRPrefrences::Sync() {
    const bool was = syncing_;
    syncing_ = true;
    for (const auto& [pair, button] : pairs_) {
        button->setChecked(model_.Value(pair));
        button->setEnabled(model_.Enabled(pair));
    }
    const bool hex = model_.Value(P::SubsBinByHex);
    const bool subEnabled = model_.Enabled(P::SubsBinByHex);
    for (const auto& [hexOption, binOption] : subOptions_) {
        hexOption->setChecked(hex);
        binOption->setChecked(!hex);
        hexOption->setEnabled(subEnabled);
        binOption->setEnabled(subEnabled);
    }
    for (QSpinBox* spin : hintTimes_) spin->setValue(model_.HintHidePause());
    const bool flat = model_.Value(P::FlatButtons);
    for (QToolButton* button : sample_->findChildren<QToolButton*>()) button->setAutoRaise(flat);
    buttons_->SetButtonEnabled(shell::fbOK, model_.OkEnabled());
    syncing_ = was;
}

void TfrmIRPrefrences::SyncTemplates() {
    const bool was = syncing_;
    syncing_ = true;
    const TTemplateEditor& editor = model_.TemplateEditor();
    QStringList names;
    for (const std::string& name : editor.Names()) names << FromStd(name);
    if (names_->count() != names.size() || [&] {
            for (int i = 0; i < names.size(); ++i)
                if (names_->item(i)->text() != names[i]) return true;
            return false;
        }()) {
        names_->clear();
        names_->addItems(names);
    }
    names_->setCurrentRow(editor.SelectedName());
    items_->clear();
    for (const std::string& item : editor.Items()) items_->addItem(FromStd(item));
    items_->setCurrentRow(editor.SelectedItem());
    const TTemplateCommandStates states = editor.Commands();
    for (const auto& [button, enabled] : commands_) button->setEnabled(states.*enabled);
    syncing_ = was;
}

}  // namespace spectrel
