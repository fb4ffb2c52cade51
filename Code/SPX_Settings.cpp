#include "Code/SPX_Settings.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include "Code/SPX_processing.h"

namespace spectrel {

// The message boxes of the window's edits, noting that one was shown: closing a box makes the window active
// again, and that activation must not rebuild the lines (a protocol without vocabulary would show its error
// box over and over).
class TSettingsFormBoxes : public platform::MessageBoxes {
public:
    explicit TSettingsFormBoxes(platform::MessageBoxes& boxes) : boxes_(boxes) {}
    platform::MessageButton show(platform::MessageKind kind, const std::string& text,
                                 platform::MessageButtons buttons, const std::string& caption = {}) override {
        shown = true;
        return boxes_.show(kind, text, buttons, caption);
    }
    bool shown = false;

private:
    platform::MessageBoxes& boxes_;
};

namespace {

constexpr int kTopBarHeight = 25;
constexpr int kFontPixels = 13;
constexpr int kLineHeight = 16;
const QColor kTeal(0, 128, 128);
const QColor kBlue(0, 0, 255);

QFont ListFont() {
    QFont font("Courier New");
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(kFontPixels);
    font.setBold(true);
    return font;
}

}  // namespace

TIR_Settings_form::TIR_Settings_form(TAnalysisContext& context, Tprotocol_descriptor& current,
                                     const Tstandard_protocols& standard, platform::MessageBoxes& boxes,
                                     std::function<void()> describeProtocol, QWidget* parent)
    // No Qt parent: the main window disables itself while the protocol is edited here, and a disabled parent
    // would disable this window as well. The main window still owns it and keeps it in front of itself.
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint),
      owner_(parent),
      boxes_(std::make_unique<TSettingsFormBoxes>(boxes)),
      lines_(std::make_unique<TDecodingLines>(context, current, standard, *boxes_)),
      describeProtocol_(std::move(describeProtocol)) {
    setObjectName("IR_Settings_form");
    if (parent != nullptr) connect(parent, &QObject::destroyed, this, [this] { delete this; });
    setWindowTitle("IR decoding parameters");
    setMinimumSize(480, 300);
    lines_->SetDescribeProtocol([this] {
        if (describeProtocol_) describeProtocol_();
    });

    label_ = new QLabel("Select parameter to edit", this);
    label_->setObjectName("lblSelectParameter");

    selector_ = new QComboBox(this);
    selector_->setObjectName("ComboxValue");
    QFont selectorFont = ListFont();
    selector_->setFont(selectorFont);
    QPalette selectorPalette = selector_->palette();
    selectorPalette.setColor(QPalette::Text, kTeal);
    selectorPalette.setColor(QPalette::ButtonText, kTeal);
    selector_->setPalette(selectorPalette);
    selector_->setInsertPolicy(QComboBox::NoInsert);
    selector_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    selector_->hide();

    accept_ = new QPushButton("Accept new setting", this);
    accept_->setObjectName("btnAccept");
    accept_->hide();

    list_ = new QListWidget(this);
    list_->setObjectName("lbxParameters");
    list_->setFont(ListFont());
    list_->setUniformItemSizes(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);

    insertAction_ = new QAction("Insert", this);
    insertAction_->setObjectName("mnuInsert");
    deleteAction_ = new QAction("Delete", this);
    deleteAction_->setObjectName("mnuDelete");

    // The top bar: the value selector lies over the label while it is shown.
    auto* top = new QWidget(this);
    top->setObjectName("pnlTop");
    top->setFixedHeight(kTopBarHeight);
    auto* bar = new QGridLayout(top);
    bar->setContentsMargins(2, 0, 2, 0);
    bar->addWidget(label_, 0, 0);
    bar->addWidget(selector_, 0, 0);
    bar->addWidget(accept_, 0, 1);
    bar->setColumnStretch(0, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(top);
    layout->addWidget(list_, 1);

    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { ListClick(list_->row(item)); });
    // Moving the selection with the keys counts as a click too; taking the focus selects nothing.
    connect(list_, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> selected = list_->selectedItems();
        if (!filling_ && !selected.isEmpty()) ListClick(list_->row(selected.front()));
    });
    connect(list_, &QWidget::customContextMenuRequested, this, &TIR_Settings_form::ShowContextMenu);
    connect(selector_, &QComboBox::currentIndexChanged, this, [this] { ValueChange(); });
    connect(selector_, &QComboBox::editTextChanged, this, [this] { ValueChange(); });
    connect(accept_, &QPushButton::clicked, this, &TIR_Settings_form::AcceptClick);
    connect(insertAction_, &QAction::triggered, this, &TIR_Settings_form::InsertClick);
    connect(deleteAction_, &QAction::triggered, this, &TIR_Settings_form::DeleteClick);
}

TIR_Settings_form::~TIR_Settings_form() = default;

void TIR_Settings_form::SelectParameterMode() { SelectMode(TDecodingMode::Parameter); }
void TIR_Settings_form::SelectProtocolMode() { SelectMode(TDecodingMode::Protocol); }

void TIR_Settings_form::SelectMode(TDecodingMode mode) {
    lines_->SetMode(mode);
    // Already open (parameter mode is not modal): showing it again neither shows nor activates it, so it is
    // opened afresh here.
    if (isVisible()) FormActivate();
}

void TIR_Settings_form::ClearModified() {
    lines_->ClearModified();
    // The colour and the protocol line follow at once when the window is open.
    if (isVisible()) RebuildLines();
}

bool TIR_Settings_form::Modified() const { return lines_->Modified(); }

bool TIR_Settings_form::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) {
        ++activations_;
        if (boxes_->shown)
            boxes_->shown = false;  // back from one of our own message boxes
        else
            FormActivate();
    }
    return QWidget::event(e);
}

void TIR_Settings_form::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (e->spontaneous()) return;
    if (owner_ != nullptr && windowHandle() != nullptr && owner_->window()->windowHandle() != nullptr)
        windowHandle()->setTransientParent(owner_->window()->windowHandle());
    if (!centred_ && owner_ != nullptr) {
        const QWidget* main = owner_->window();
        QRect frame = frameGeometry();
        frame.moveCenter(main->frameGeometry().center());
        move(frame.topLeft());
        centred_ = true;
    }
    // The lines are built when the window becomes active; where the window system does not activate it (a
    // headless run), they are built all the same.
    const int before = activations_;
    QTimer::singleShot(0, this, [this, before] {
        if (isVisible() && activations_ == before) FormActivate();
    });
}

void TIR_Settings_form::hideEvent(QHideEvent* e) {
    QWidget::hideEvent(e);
    // The main window being minimised hides its tool windows as well; only a hide of this window counts.
    if (e->spontaneous()) return;
    boxes_->shown = false;
    emit hidden();
}

void TIR_Settings_form::closeEvent(QCloseEvent* e) {
    // Closing only hides the window; it lives as long as the main window.
    e->accept();
}

void TIR_Settings_form::FormActivate() {
    filling_ = true;
    selector_->clear();
    selector_->hide();
    label_->show();
    accept_->hide();
    filling_ = false;
    RebuildLines();
    list_->setFocus();
}

void TIR_Settings_form::RebuildLines() {
    lines_->Rebuild();
    FillList();
}

void TIR_Settings_form::FillList() {
    filling_ = true;
    list_->clear();
    selectedLine_ = -1;
    const QColor colour = lines_->TextColour() == TDecodingTextColour::Blue ? kBlue : QColor(Qt::black);
    for (const TDecodingLine& line : lines_->Lines()) {
        auto* item = new QListWidgetItem(QString::fromStdString(line.text), list_);
        item->setForeground(colour);
        item->setSizeHint(QSize(0, kLineHeight));
    }
    filling_ = false;
}

void TIR_Settings_form::ListClick(int row) {
    filling_ = true;
    selector_->hide();
    selector_->clear();
    selector_->setCurrentIndex(-1);
    accept_->hide();
    label_->show();
    selectedLine_ = row;

    const TDecodingSelector choice = lines_->SelectorFor(row);
    if (choice.visible) {
        selector_->setEditable(!choice.listOnly);
        for (const std::string& entry : choice.entries) selector_->addItem(QString::fromStdString(entry));
        selector_->setCurrentIndex(choice.currentIndex);
        if (selector_->isEditable()) selector_->setEditText(QString::fromStdString(choice.text));
        label_->hide();
        selector_->show();
    }
    filling_ = false;
}

void TIR_Settings_form::ValueChange() {
    if (filling_ || !selector_->isVisible()) return;
    accept_->show();
}

void TIR_Settings_form::AcceptClick() {
    accept_->hide();
    const int line = selectedLine_;
    const int index = selector_->currentIndex();
    const std::string text = selector_->currentText().toStdString();
    filling_ = true;
    selector_->hide();
    label_->show();
    filling_ = false;
    lines_->Accept(line, index, text);
    FillList();
}

void TIR_Settings_form::InsertClick() {
    lines_->Insert(selectedLine_);
    FillList();
}

void TIR_Settings_form::DeleteClick() {
    lines_->Delete(selectedLine_);
    FillList();
}

void TIR_Settings_form::ShowContextMenu(const QPoint& at) {
    // A right click on another line clicks that line first.
    const int row = list_->row(list_->itemAt(at));
    if (row >= 0 && row != selectedLine_) {
        list_->setCurrentRow(row);  // clicks it through the selection
        if (selectedLine_ != row) ListClick(row);
    }
    if (!lines_->OffersInsertDelete(selectedLine_)) return;
    QMenu menu(this);
    menu.setObjectName("pmnuVocabulary");
    menu.addAction(insertAction_);
    menu.addAction(deleteAction_);
    menu.exec(list_->viewport()->mapToGlobal(at));
}

}  // namespace spectrel
