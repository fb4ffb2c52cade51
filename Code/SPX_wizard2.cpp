#include "Code/SPX_wizard2.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <exception>

#include "Code/SPX_AppSettings.h"
#include "Code/SPX_wizard2_Views.h"
#include "Code/uKOR_SpectrelIni.h"
#include "platform/qt/QtMessageBoxes.h"

namespace spectrel {

namespace {

using platform::MessageButton;
using platform::MessageKind;
using wizard::TColouredListBox;
using wizard::TProgressView;
using wizard::TThirdsGrid;

QString Q(const std::string& text) { return QString::fromStdString(text); }
std::string S(const QString& text) { return text.toStdString(); }

// A hint "short|long": the tooltip shows the short text, the status bar the long one.
void SetHint(QWidget* widget, const QString& hint) {
    const qsizetype bar = hint.indexOf('|');
    widget->setToolTip(bar < 0 ? hint : hint.left(bar).trimmed());
    widget->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1).trimmed());
}

QPushButton* MakeButton(const QString& caption, const char* name, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

// Hidden but keeping its room, so the page does not jump when it shows.
void KeepRoomWhenHidden(QWidget* widget) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

// The welcome page's picture: a remote control sending to the reader board.
QPixmap WelcomePicture() {
    QPixmap picture(164, 300);
    picture.fill(QColor(0x1f, 0x4e, 0x79));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    // the remote
    painter.setBrush(QColor(0x2b, 0x2b, 0x2b));
    painter.setPen(QPen(QColor(0x9a, 0xa7, 0xb4), 2));
    painter.drawRoundedRect(QRectF(40, 110, 64, 160), 18, 18);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xd0, 0x30, 0x30));
    painter.drawEllipse(QPointF(72, 132), 7, 7);
    painter.setBrush(QColor(0xc8, 0xd2, 0xdc));
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 3; ++column)
            painter.drawRoundedRect(QRectF(52 + column * 15, 154 + row * 20, 10, 10), 3, 3);
    painter.setBrush(QColor(0x7f, 0x7f, 0x7f));
    painter.drawRoundedRect(QRectF(60, 238, 24, 14), 4, 4);
    // the beam
    painter.setBrush(Qt::NoBrush);
    for (int wave = 0; wave < 3; ++wave) {
        painter.setPen(QPen(QColor(0xff, 0x6a, 0x3d, 230 - wave * 60), 3));
        const double radius = 18 + wave * 14;
        painter.drawArc(QRectF(72 - radius, 100 - radius, 2 * radius, 2 * radius), 50 * 16, 80 * 16);
    }
    // the reader board
    painter.setPen(QPen(QColor(0x9a, 0xa7, 0xb4), 2));
    painter.setBrush(QColor(0x1b, 0x6b, 0x3a));
    painter.drawRect(QRectF(36, 20, 72, 30));
    painter.setBrush(QColor(0x20, 0x20, 0x20));
    painter.drawEllipse(QPointF(72, 50), 8, 8);
    return picture;
}

}  // namespace

TfrmIRWizard::TfrmIRWizard(TWizardModel model, TWizardHost& host, QWidget* parent, const TListPalette* palette)
    : QDialog(parent),
      model_(model),
      ownPalette_(std::make_unique<TListPalette>()),
      palette_(palette != nullptr ? *palette : *ownPalette_) {
    setObjectName("frmIRWizard");
    setWindowTitle(wizard_text::kCaption);
    setMinimumSize(620, 460);
    for (int page = 0; page < kWizardPageCount; ++page) subtitles_.push_back(WizardPageInfo(page).subtitle);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(BuildHeader());

    pages_ = new QStackedWidget(this);
    pages_->setObjectName("kWizard");
    pages_->addWidget(BuildWelcomePage());
    pages_->addWidget(BuildDetailsPage());
    pages_->addWidget(BuildProtocolChoicePage());
    pages_->addWidget(BuildLearnProtocolPage());
    pages_->addWidget(BuildStandardPage());
    pages_->addWidget(BuildButtonsPage());
    pages_->addWidget(BuildLearnButtonsPage());
    pages_->addWidget(BuildSavePage());
    for (int page = 0; page < kWizardPageCount; ++page) pages_->widget(page)->setObjectName(WizardPageInfo(page).objectName);
    layout->addWidget(pages_, 1);

    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    layout->addWidget(rule);
    layout->addWidget(BuildNavigation());

    flow_ = std::make_unique<TWizardFlow>(model, host, *this);
}

TfrmIRWizard::~TfrmIRWizard() {
    // The subscription goes first: destroying the widgets must not reach a flow that is half gone.
    flow_.reset();
}

void TfrmIRWizard::Prepare() { Guarded([this] { flow_->Open(); }); }

bool TfrmIRWizard::Run(TWizardModel model, TWizardHost& host, QWidget* parent, const TListPalette* palette) {
    TfrmIRWizard wizard(model, host, parent, palette);
    wizard.Prepare();
    const int result = wizard.exec();
    wizard.Flow().Closing();
    return result == QDialog::Accepted;
}

template <typename Command>
void TfrmIRWizard::Guarded(Command command) {
    try {
        command();
    } catch (const std::exception& error) {
        model_.boxes.show(MessageKind::Error, error.what(), MessageButton::Ok);
    }
}

// --- the frame

QWidget* TfrmIRWizard::BuildHeader() {
    auto* header = new QWidget(this);
    header->setObjectName("pnlHeader");
    header->setAutoFillBackground(true);
    QPalette colours = header->palette();
    colours.setColor(QPalette::Window, QColor(Qt::white));
    colours.setColor(QPalette::WindowText, QColor(Qt::black));
    header->setPalette(colours);
    auto* layout = new QVBoxLayout(header);
    layout->setContentsMargins(16, 10, 16, 10);
    lblTitle_ = new QLabel(header);
    lblTitle_->setObjectName("lblTitle");
    QFont bold = lblTitle_->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    lblTitle_->setFont(bold);
    lblSubtitle_ = new QLabel(header);
    lblSubtitle_->setObjectName("lblSubtitle");
    lblSubtitle_->setWordWrap(true);
    lblSubtitle_->setContentsMargins(12, 0, 0, 0);
    lblSubtitle_->setMinimumHeight(lblSubtitle_->fontMetrics().height() * 4);
    lblSubtitle_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(lblTitle_);
    layout->addWidget(lblSubtitle_);
    auto* frame = new QWidget(this);
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(0, 0, 0, 0);
    frameLayout->setSpacing(0);
    frameLayout->addWidget(header);
    auto* rule = new QFrame(frame);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    frameLayout->addWidget(rule);
    return frame;
}

QWidget* TfrmIRWizard::BuildNavigation() {
    auto* strip = new QWidget(this);
    auto* layout = new QHBoxLayout(strip);
    layout->setContentsMargins(12, 8, 12, 10);
    btnHelp_ = MakeButton(wizard_text::kHelp, "btnHelp", strip);
    btnBack_ = MakeButton(wizard_text::kBack, "btnBack", strip);
    btnNext_ = MakeButton(wizard_text::kNext, "btnNext", strip);
    btnFinish_ = MakeButton(wizard_text::kFinish, "btnFinish", strip);
    layout->addWidget(btnHelp_);
    layout->addStretch(1);
    layout->addWidget(btnBack_);
    layout->addWidget(btnNext_);
    layout->addSpacing(8);
    layout->addWidget(btnFinish_);
    connect(btnBack_, &QPushButton::clicked, this, [this] { Guarded([this] { flow_->Back(); }); });
    connect(btnNext_, &QPushButton::clicked, this, [this] { Guarded([this] { flow_->Next(); }); });
    connect(btnFinish_, &QPushButton::clicked, this, [this] { Guarded([this] { flow_->Finish(); }); });
    connect(btnHelp_, &QPushButton::clicked, this, [this] { Guarded([this] { flow_->Help(); }); });
    return strip;
}

// --- the pages

QWidget* TfrmIRWizard::BuildWelcomePage() {
    auto* page = new QWidget(this);
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(0, 0, 16, 0);
    auto* picture = new QLabel(page);
    picture->setObjectName("imgWelcome");
    picture->setPixmap(WelcomePicture());
    picture->setAlignment(Qt::AlignTop);
    layout->addWidget(picture);
    // The steps ahead: the titles of the pages that follow.
    auto* steps = new QLabel(page);
    steps->setObjectName("lblSteps");
    QString text;
    for (int i = kDetailsPage; i < kWizardPageCount; ++i)
        text += QString::number(i) + ".  " + WizardPageInfo(i).title + "\n";
    steps->setText(text.trimmed());
    steps->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    layout->addSpacing(16);
    layout->addWidget(steps, 1);
    return page;
}

QWidget* TfrmIRWizard::BuildDetailsPage() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    form->setContentsMargins(24, 16, 24, 12);
    cbDeviceType_ = new QComboBox(page);
    cbDeviceType_->setObjectName("ComboxDeviceType");
    SetHint(cbDeviceType_, "Select device type from list");
    cbDeviceBrand_ = new QComboBox(page);
    cbDeviceBrand_->setObjectName("ComboxDeviceBrand");
    cbDeviceBrand_->setEditable(true);
    cbDeviceBrand_->setInsertPolicy(QComboBox::NoInsert);
    SetHint(cbDeviceBrand_, "Type in device brand name or select name from list");
    edtDeviceModel_ = new QLineEdit(page);
    edtDeviceModel_->setObjectName("EditDeviceModel");
    SetHint(edtDeviceModel_, "Type in device model name");
    cbRemoteBrand_ = new QComboBox(page);
    cbRemoteBrand_->setObjectName("ComboxRCBrand");
    cbRemoteBrand_->setEditable(true);
    cbRemoteBrand_->setInsertPolicy(QComboBox::NoInsert);
    SetHint(cbRemoteBrand_, "Type in remote control brand name or select name from list");
    edtRemoteModel_ = new QLineEdit(page);
    edtRemoteModel_->setObjectName("EditRCModel");
    SetHint(edtRemoteModel_, "Type in remote control model name");
    memoNotes_ = new QPlainTextEdit(page);
    memoNotes_->setObjectName("MemoDeviceNotes");
    memoNotes_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    SetHint(memoNotes_,
            "Addtional Notes | Enter in any addtional notes that may be required. The Notes will be embedded into "
            "the file");
    form->addRow("Device Type", cbDeviceType_);
    form->addRow("Device Brand", cbDeviceBrand_);
    form->addRow("Device Model", edtDeviceModel_);
    form->addRow("Remote Brand", cbRemoteBrand_);
    form->addRow("Remote Model", edtRemoteModel_);
    form->addRow("Notes", memoNotes_);
    connect(cbDeviceType_, &QComboBox::currentIndexChanged, this,
            [this] { Guarded([this] { flow_->DeviceTypeChanged(); }); });
    return page;
}

QWidget* TfrmIRWizard::BuildProtocolChoicePage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(32, 24, 24, 12);
    rbLearn_ = new QRadioButton(wizard_text::kLearnOption, page);
    rbLearn_->setObjectName("rbLearnProtocol");
    SetHint(rbLearn_, "Interrogate the Remote Unit|Interrogate the Remote Unit by following prompts");
    rbStandard_ = new QRadioButton(wizard_text::kStandardOption, page);
    rbStandard_->setObjectName("rbStandardProtocol");
    SetHint(rbStandard_, "Select a standard IR Protocol from a drop down list.");
    rbLearn_->setChecked(true);
    layout->addWidget(rbLearn_);
    layout->addSpacing(8);
    layout->addWidget(rbStandard_);
    layout->addStretch(1);
    return page;
}

QWidget* TfrmIRWizard::BuildLearnProtocolPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(16, 12, 16, 8);
    auto* row = new QHBoxLayout;
    auto* nameLabel = new QLabel("Protocol Name", page);
    edtProtocol_ = new QLineEdit(page);
    edtProtocol_->setObjectName("edtProtocol");
    SetHint(edtProtocol_,
            "Protocol Name Edit Field|Edit the Protocol Name (default value is the Remote band and model number)");
    nameLabel->setBuddy(edtProtocol_);
    btnLearnProtocol_ = MakeButton("Learn", "btnLearn", page);
    SetHint(btnLearnProtocol_, "Interrogate the Remote Unit|Interrogate the Remote Unit by following prompts");
    btnEditProtocol_ = MakeButton("Edit Protocol", "btnEditProtocol", page);
    SetHint(btnEditProtocol_, "Edit the protocol|Edit the protocol (recommended for advanced users only)");
    row->addWidget(nameLabel);
    row->addWidget(edtProtocol_, 1);
    row->addWidget(btnLearnProtocol_);
    row->addWidget(btnEditProtocol_);
    layout->addLayout(row);
    layout->addWidget(new QLabel("Learn Results", page));
    lbxLearnResults_ = new TColouredListBox(palette_, page);
    lbxLearnResults_->setObjectName("lbxLearnResults");
    SetHint(lbxLearnResults_, "Results of the Interrogation|Results of the Interrogation of the remote unit");
    layout->addWidget(lbxLearnResults_, 1);
    pbProtocol_ = new TProgressView(page);
    pbProtocol_->setObjectName("pbProtocol");
    KeepRoomWhenHidden(pbProtocol_);
    pbProtocol_->hide();
    layout->addWidget(pbProtocol_);
    connect(btnLearnProtocol_, &QPushButton::clicked, this, [this] { Guarded([this] { flow_->LearnProtocol(); }); });
    connect(btnEditProtocol_, &QPushButton::clicked, this, [this] { Guarded([this] { flow_->EditProtocol(); }); });
    return page;
}

QWidget* TfrmIRWizard::BuildStandardPage() {
    auto* page = new QWidget(this);
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(16, 12, 16, 8);
    lbxStandard_ = new QListWidget(page);
    lbxStandard_->setObjectName("lbxStandardProtocols");
    lbxStandard_->setMinimumWidth(150);
    layout->addWidget(lbxStandard_, 1);
    auto* group = new QGroupBox("Details", page);
    auto* groupLayout = new QVBoxLayout(group);
    lbxDetails_ = new TColouredListBox(palette_, group);
    lbxDetails_->setObjectName("lbxStandardDetails");
    lbxDetails_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lbxDetails_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lbxDetails_->setEnabled(false);
    // Disabled, but drawn in its colours like the learn results.
    QPalette colours = lbxDetails_->palette();
    colours.setColor(QPalette::Disabled, QPalette::Base, colours.color(QPalette::Active, QPalette::Base));
    lbxDetails_->setPalette(colours);
    groupLayout->addWidget(lbxDetails_);
    layout->addWidget(group, 2);
    // A selection by click or by the arrow keys chooses the protocol; the current row that the list sets by
    // itself on getting the focus does not.
    connect(lbxStandard_, &QListWidget::itemSelectionChanged, this, [this] {
        const int row = SelectedStandard();
        if (row >= 0) Guarded([this, row] { flow_->StandardClicked(row); });
    });
    return page;
}

QWidget* TfrmIRWizard::BuildButtonsPage() {
    auto* page = new QWidget(this);
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(16, 12, 16, 8);
    auto* templates = new QGroupBox("Template", page);
    auto* templatesLayout = new QVBoxLayout(templates);
    lbxTemplates_ = new QListWidget(templates);
    lbxTemplates_->setObjectName("lbxTemplates");
    SetHint(lbxTemplates_, "Template Commands|Chick on a command to populate the buttons list");
    templatesLayout->addWidget(lbxTemplates_);
    layout->addWidget(templates, 1);

    auto* buttons = new QGroupBox("Buttons", page);
    auto* buttonsLayout = new QHBoxLayout(buttons);
    lbxButtons_ = new QListWidget(buttons);
    lbxButtons_->setObjectName("lbxButtons");
    SetHint(lbxButtons_, "Buttons list | Displays the current button set for the remote unit. edit buttons are left.");
    buttonsLayout->addWidget(lbxButtons_, 1);
    auto* commands = new QVBoxLayout;
    btnEditButton_ = MakeButton("Edit", "btnEditButton", buttons);
    btnAddButton_ = MakeButton("Add", "btnAddButton", buttons);
    btnDeleteButton_ = MakeButton("Delete", "btnDeleteButton", buttons);
    commands->addWidget(btnEditButton_);
    commands->addWidget(btnAddButton_);
    commands->addWidget(btnDeleteButton_);
    commands->addStretch(1);
    buttonsLayout->addLayout(commands);
    layout->addWidget(buttons, 1);

    const auto clickTemplate = [this](QListWidgetItem* item) {
        if (item == nullptr) return;
        const std::string text = S(item->text());
        Guarded([this, text] { flow_->TemplateClicked(text); });
    };
    connect(lbxTemplates_, &QListWidget::itemClicked, this, clickTemplate);
    connect(lbxTemplates_, &QListWidget::itemActivated, this, clickTemplate);
    connect(lbxButtons_, &QListWidget::itemSelectionChanged, this,
            [this] { Guarded([this] { flow_->ButtonListClicked(); }); });
    connect(btnEditButton_, &QPushButton::clicked, this, [this] { Guarded([this] { flow_->EditListButton(); }); });
    connect(btnAddButton_, &QPushButton::clicked, this, [this] { Guarded([this] { flow_->AddButton(); }); });
    connect(btnDeleteButton_, &QPushButton::clicked, this, [this] { Guarded([this] { flow_->DeleteListButton(); }); });
    return page;
}

QWidget* TfrmIRWizard::BuildLearnButtonsPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(16, 12, 16, 8);
    auto* row = new QHBoxLayout;
    grdLearn_ = new TThirdsGrid(page);
    grdLearn_->setObjectName("grdLearn");
    grdLearn_->setHorizontalHeaderLabels({wizard_text::kGridNameHeader, wizard_text::kGridCodeHeader});
    grdLearn_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grdLearn_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdLearn_->setSelectionMode(QAbstractItemView::SingleSelection);
    grdLearn_->verticalHeader()->setDefaultSectionSize(grdLearn_->fontMetrics().height() + 6);
    row->addWidget(grdLearn_, 1);
    auto* commands = new QVBoxLayout;
    btnLearnAll_ = MakeButton("Learn All", "btnLearnAll", page);
    btnGridEdit_ = MakeButton("Edit", "btnGridEdit", page);
    btnGridLearn_ = MakeButton("Learn", "btnGridLearn", page);
    btnGridAdd_ = MakeButton("Add", "btnGridAdd", page);
    btnGridDelete_ = MakeButton("Delete", "btnGridDelete", page);
    for (QPushButton* button : {btnLearnAll_, btnGridEdit_, btnGridLearn_, btnGridAdd_, btnGridDelete_})
        commands->addWidget(button);
    commands->addStretch(1);
    row->addLayout(commands);
    layout->addLayout(row, 1);
    pbButtons_ = new TProgressView(page);
    pbButtons_->setObjectName("pbButtons");
    KeepRoomWhenHidden(pbButtons_);
    pbButtons_->hide();
    layout->addWidget(pbButtons_);

    connect(grdLearn_, &QTableWidget::itemSelectionChanged, this, [this] { Guarded([this] { flow_->GridClicked(); }); });
    connect(grdLearn_, &QTableWidget::cellDoubleClicked, this, [this] { Guarded([this] { flow_->EditGridButton(); }); });
    connect(btnLearnAll_, &QPushButton::clicked, this, [this] { Guarded([this] { flow_->LearnAllButtons(); }); });
    connect(btnGridEdit_, &QPushButton::clicked, this, [this] { Guarded([this] { flow_->EditGridButton(); }); });
    connect(btnGridLearn_, &QPushButton::clicked, this, [this] { Guarded([this] { flow_->LearnGridButton(); }); });
    connect(btnGridAdd_, &QPushButton::clicked, this, [this] { Guarded([this] { flow_->AddButton(); }); });
    connect(btnGridDelete_, &QPushButton::clicked, this, [this] { Guarded([this] { flow_->DeleteGridButton(); }); });
    return page;
}

QWidget* TfrmIRWizard::BuildSavePage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(16, 12, 16, 8);
    btnSave_ = MakeButton("Save", "btnSave", page);
    SetHint(btnSave_,
            "Save the leant buttons|Press to save the learnt buttons. You must save the learnt buttons to proceed.");
    auto* row = new QHBoxLayout;
    row->addWidget(btnSave_);
    row->addStretch(1);
    layout->addLayout(row);
    grdSummary_ = new TThirdsGrid(page);
    grdSummary_->setObjectName("grdSummary");
    SetHint(grdSummary_, "Summery Grid|Summary or data about to be saved");
    grdSummary_->horizontalHeader()->hide();
    grdSummary_->setShowGrid(false);
    grdSummary_->setSelectionMode(QAbstractItemView::NoSelection);
    grdSummary_->setFocusPolicy(Qt::NoFocus);
    grdSummary_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    grdSummary_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdSummary_->verticalHeader()->setDefaultSectionSize(grdSummary_->fontMetrics().height() + 4);
    layout->addWidget(grdSummary_, 1);
    connect(btnSave_, &QPushButton::clicked, this, [this] { Guarded([this] { flow_->Save(); }); });
    return page;
}

// --- closing

void TfrmIRWizard::reject() {
    // The learning procedures run the message loop; the window stays until they are done.
    if (flow_ && flow_->Busy()) return;
    QDialog::reject();
}

void TfrmIRWizard::closeEvent(QCloseEvent* event) {
    if (flow_ && flow_->Busy()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

// --- TWizardView

void TfrmIRWizard::ShowPage(int page, const TWizardNavigation& navigation) {
    pages_->setCurrentIndex(page);
    lblTitle_->setText(WizardPageInfo(page).title);
    lblSubtitle_->setText(platform::qt::QtMessageBoxes::displayText(subtitles_.at(static_cast<std::size_t>(page))));
    SetNavigation(navigation);
}

void TfrmIRWizard::SetNavigation(const TWizardNavigation& navigation) {
    btnBack_->setEnabled(navigation.backEnabled);
    btnNext_->setEnabled(navigation.nextEnabled);
    btnFinish_->setEnabled(navigation.finishEnabled);
    btnHelp_->setVisible(navigation.helpShown);
    btnHelp_->setEnabled(navigation.helpEnabled);
    btnNext_->setDefault(navigation.nextIsDefault);
    btnFinish_->setDefault(!navigation.nextIsDefault);
}

void TfrmIRWizard::SetSubtitle(int page, const std::string& text) {
    subtitles_.at(static_cast<std::size_t>(page)) = text;
    if (pages_->currentIndex() == page) lblSubtitle_->setText(platform::qt::QtMessageBoxes::displayText(text));
}

void TfrmIRWizard::CloseWizard() { reject(); }

namespace {

TWizardSelector ReadSelector(const QComboBox* box) {
    TWizardSelector selector;
    for (int i = 0; i < box->count(); ++i) selector.items.push_back(S(box->itemText(i)));
    selector.index = box->currentIndex();
    selector.text = S(box->currentText());
    return selector;
}

void WriteSelector(QComboBox* box, const TWizardSelector& selector) {
    const QSignalBlocker quiet(box);
    box->clear();
    for (const std::string& item : selector.items) box->addItem(Q(item));
    box->setCurrentIndex(selector.index);
    if (box->isEditable()) box->setEditText(Q(selector.text));
}

}  // namespace

TWizardDetails TfrmIRWizard::Details() const {
    TWizardDetails details;
    details.deviceType = ReadSelector(cbDeviceType_);
    details.deviceBrand = ReadSelector(cbDeviceBrand_);
    details.deviceModel = S(edtDeviceModel_->text());
    details.remoteBrand = ReadSelector(cbRemoteBrand_);
    details.remoteModel = S(edtRemoteModel_->text());
    details.notes = S(memoNotes_->toPlainText());
    return details;
}

void TfrmIRWizard::SetDetails(const TWizardDetails& details) {
    WriteSelector(cbDeviceType_, details.deviceType);
    WriteSelector(cbDeviceBrand_, details.deviceBrand);
    edtDeviceModel_->setText(Q(details.deviceModel));
    WriteSelector(cbRemoteBrand_, details.remoteBrand);
    edtRemoteModel_->setText(Q(details.remoteModel));
    memoNotes_->setPlainText(Q(details.notes));
}

void TfrmIRWizard::SetBrandLists(const std::vector<std::string>& brands) {
    for (QComboBox* box : {cbDeviceBrand_, cbRemoteBrand_}) {
        TWizardSelector selector{brands, -1, S(box->currentText())};
        WriteSelector(box, selector);
    }
}

bool TfrmIRWizard::StandardChosen() const { return rbStandard_->isChecked(); }

void TfrmIRWizard::SetStandardChosen(bool standard) {
    rbStandard_->setChecked(standard);
    rbLearn_->setChecked(!standard);
}

std::string TfrmIRWizard::ProtocolNameField() const { return S(edtProtocol_->text()); }
void TfrmIRWizard::SetProtocolNameField(const std::string& name) { edtProtocol_->setText(Q(name)); }
TColouredList& TfrmIRWizard::LearnResults() { return *lbxLearnResults_; }
TCaptureProgressBar* TfrmIRWizard::ProtocolProgressBar() { return pbProtocol_; }
void TfrmIRWizard::ShowProtocolProgress(bool shown) { pbProtocol_->setVisible(shown); }
void TfrmIRWizard::EnableLearnProtocol(bool enabled) { btnLearnProtocol_->setEnabled(enabled); }

void TfrmIRWizard::SetEditProtocolState(bool visible, bool enabled) {
    btnEditProtocol_->setVisible(visible);
    btnEditProtocol_->setEnabled(enabled);
}

TColouredList& TfrmIRWizard::StandardDetails() { return *lbxDetails_; }

void TfrmIRWizard::SetStandardNames(const std::vector<std::string>& names, int selected) {
    const QSignalBlocker quiet(lbxStandard_);
    lbxStandard_->clear();
    for (const std::string& name : names) lbxStandard_->addItem(Q(name));
    lbxStandard_->setCurrentRow(selected);
    if (selected < 0) lbxStandard_->clearSelection();
}

int TfrmIRWizard::SelectedStandard() const {
    return lbxStandard_->selectedItems().isEmpty() ? -1 : lbxStandard_->currentRow();
}

void TfrmIRWizard::SetTemplateNames(const std::vector<std::string>& names) {
    lbxTemplates_->clear();
    for (const std::string& name : names) lbxTemplates_->addItem(Q(name));
}

void TfrmIRWizard::SetButtonNames(const std::vector<TNamedIndex>& names) {
    const QSignalBlocker quiet(lbxButtons_);
    const int selected = SelectedButtonEntry();
    lbxButtons_->clear();
    for (const TNamedIndex& entry : names) {
        auto* item = new QListWidgetItem(Q(entry.name));
        item->setData(Qt::UserRole, entry.index);
        lbxButtons_->addItem(item);
    }
    if (selected >= 0 && selected < lbxButtons_->count()) lbxButtons_->setCurrentRow(selected);
}

int TfrmIRWizard::SelectedButtonEntry() const {
    return lbxButtons_->selectedItems().isEmpty() ? -1 : lbxButtons_->currentRow();
}

void TfrmIRWizard::SelectButtonEntry(int entry) {
    const QSignalBlocker quiet(lbxButtons_);
    if (entry < 0) {
        lbxButtons_->clearSelection();
    } else {
        lbxButtons_->setCurrentRow(entry);
    }
}

void TfrmIRWizard::EnableButtonListCommands(bool enabled) {
    btnEditButton_->setEnabled(enabled);
    btnDeleteButton_->setEnabled(enabled);
}

void TfrmIRWizard::SetGridRows(const std::vector<TWizardRow>& rows) {
    const QSignalBlocker quiet(grdLearn_);
    grdLearn_->clearContents();
    grdLearn_->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        grdLearn_->setItem(row, 0, new QTableWidgetItem(Q(rows[static_cast<std::size_t>(row)].label)));
        grdLearn_->setItem(row, 1, new QTableWidgetItem(Q(rows[static_cast<std::size_t>(row)].value)));
    }
    grdLearn_->clearSelection();
}

void TfrmIRWizard::RewriteGridRows(const std::vector<TWizardRow>& rows) {
    const int present = std::min(grdLearn_->rowCount(), static_cast<int>(rows.size()));
    for (int row = 0; row < present; ++row) {
        for (int column = 0; column < 2; ++column) {
            const TWizardRow& cells = rows[static_cast<std::size_t>(row)];
            const QString text = Q(column == 0 ? cells.label : cells.value);
            if (QTableWidgetItem* item = grdLearn_->item(row, column)) {
                item->setText(text);
            } else {
                grdLearn_->setItem(row, column, new QTableWidgetItem(text));
            }
        }
    }
}

int TfrmIRWizard::GridRowCount() const { return grdLearn_->rowCount(); }

std::string TfrmIRWizard::GridCell(int row, int column) const {
    const QTableWidgetItem* item = grdLearn_->item(row, column);
    return item == nullptr ? std::string() : S(item->text());
}

int TfrmIRWizard::SelectedGridRow() const {
    const QModelIndexList rows = grdLearn_->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
}

void TfrmIRWizard::SelectGridRow(int row) {
    const QSignalBlocker quiet(grdLearn_);
    if (row < 0 || row >= grdLearn_->rowCount()) {
        grdLearn_->clearSelection();
    } else {
        grdLearn_->selectRow(row);
    }
}

void TfrmIRWizard::EnableGridCommands(bool enabled) {
    btnGridEdit_->setEnabled(enabled);
    btnGridLearn_->setEnabled(enabled);
    btnGridDelete_->setEnabled(enabled);
}

TCaptureProgressBar* TfrmIRWizard::ButtonsProgressBar() { return pbButtons_; }
void TfrmIRWizard::ShowButtonsProgress(bool shown) { pbButtons_->setVisible(shown); }

void TfrmIRWizard::SetSummary(const std::vector<TWizardRow>& rows) {
    grdSummary_->clearContents();
    grdSummary_->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        const TWizardRow& cells = rows[static_cast<std::size_t>(row)];
        for (int column = 0; column < 2; ++column) {
            auto* item = new QTableWidgetItem(Q(column == 0 ? cells.label : cells.value));
            item->setTextAlignment(Qt::AlignLeft | Qt::AlignTop);
            item->setFlags(Qt::ItemIsEnabled);
            grdSummary_->setItem(row, column, item);
        }
    }
}

}  // namespace spectrel
