#include "Code/fProtocolSettings2.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include "shell/ZELfrmButtons.h"
#include "ui_fProtocolSettings2.h"

namespace spectrel {

namespace {

using Field = TProtocolSettingsField;
namespace text = protocol_settings_text;

QString FromStd(const std::string& s) { return QString::fromStdString(s); }
std::string ToStd(const QString& s) { return s.toStdString(); }

void SetHint(QWidget* widget, const char* hint) {
    const QString h = QString::fromUtf8(hint);
    const qsizetype bar = h.indexOf(QLatin1Char('|'));
    widget->setToolTip(bar < 0 ? h : h.left(bar));
    widget->setStatusTip(bar < 0 ? h : h.mid(bar + 1));
}

constexpr int kDurationColumn = 1;
constexpr const char* kFieldProperty = "protocolSettingsField";

}  // namespace

// Editors of the duration cells get the window's key filter; the last one opened can be committed before OK
// (Enter performs OK before the cell would commit it).
class TProtocolSettingsDelegate : public QStyledItemDelegate {
public:
    TProtocolSettingsDelegate(QObject* keyFilter, QObject* parent) : QStyledItemDelegate(parent), filter_(keyFilter) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (editor != nullptr) {
            editor->setObjectName(QStringLiteral("edtDuration"));
            editor->setProperty(kFieldProperty, static_cast<int>(Field::Duration));
            editor->installEventFilter(filter_);
            editor_ = editor;
        }
        return editor;
    }

    void CommitOpenEditor() {
        if (editor_) emit commitData(editor_);
    }

private:
    QObject* filter_;
    mutable QPointer<QWidget> editor_;
};

TfrmProtocolSettings::TfrmProtocolSettings(Tprotocol_descriptor& descriptor, const TWorkingProtocol& working,
                                           platform::MessageBoxes& boxes, QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::TfrmProtocolSettings>()),
      edit_(descriptor, working, boxes),
      buttons_(nullptr),
      delegate_(nullptr) {
    ui_->setupUi(this);
    setWindowTitle(QString::fromUtf8(text::kCaption));

    buttons_ = new shell::TZELfrmButtons(this);
    buttons_->SetVisibleButtons(shell::fbOK | shell::fbCANCEL);
    buttons_->SetOnOK([this] { PerformOK(); });
    ui_->layButtons->addWidget(buttons_);

    SetHint(ui_->edtLength, text::kLengthHint);
    ui_->lblChangeRequired->setText(QString::fromUtf8(text::kChangeRequired));
    ui_->lblMicroseconds->setText(QString::fromUtf8(text::kMicroseconds));
    ui_->lblPulsed->setText(QString::fromUtf8(text::kPulsedCarrier));
    ui_->lblNoFrameRate->setText(QString::fromUtf8(text::kNoFrameRate));
    ui_->chkLengthAtLeast->setText(QString::fromUtf8(text::kLengthAtLeast));

    QTableWidget* grid = ui_->grdVocabulary;
    grid->setHorizontalHeaderLabels(
        {QString::fromUtf8(text::kElementColumn), QString::fromUtf8(text::kDurationColumn)});
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    delegate_ = new TProtocolSettingsDelegate(this, grid);
    grid->setItemDelegateForColumn(kDurationColumn, delegate_);

    const std::pair<QWidget*, Field> filtered[] = {
        {ui_->edtName, Field::Name},
        {ui_->edtCarrierPeriod, Field::CarrierPeriod},
        {ui_->edtFrameFormat, Field::FrameFormat},
        {ui_->edtFrameRate, Field::FrameRate},
        {ui_->edtDummyFrame, Field::DummyFrame},
        {ui_->edtLength, Field::Length},
        {grid, Field::Duration},
    };
    for (const auto& [widget, field] : filtered) {
        widget->setProperty(kFieldProperty, static_cast<int>(field));
        widget->installEventFilter(this);
    }

    connect(ui_->edtName, &QLineEdit::textEdited, this, [this](const QString& t) {
        edit_.SetName(ToStd(t));
        Refresh();
    });
    connect(ui_->edtCarrierPeriod, &QLineEdit::textEdited, this, [this](const QString& t) {
        edit_.SetCarrierPeriod(ToStd(t));
        Refresh();
    });
    connect(ui_->edtFrameFormat, &QLineEdit::textEdited, this, [this](const QString& t) {
        edit_.SetFrameFormat(ToStd(t));
        Refresh();
    });
    connect(ui_->edtFrameRate, &QLineEdit::textEdited, this, [this](const QString& t) {
        edit_.SetFrameRate(ToStd(t));
        Refresh();
    });
    connect(ui_->edtDummyFrame, &QLineEdit::textEdited, this, [this](const QString& t) {
        edit_.SetDummyFrame(ToStd(t));
        Refresh();
    });
    connect(ui_->edtLength, &QLineEdit::textEdited, this, [this](const QString& t) {
        edit_.SetLength(ToStd(t));
        Refresh();
    });
    connect(ui_->chkLengthAtLeast, &QCheckBox::toggled, this, [this](bool on) {
        if (loading_) return;
        edit_.SetLengthAtLeast(on);
        Refresh();
    });
    connect(grid, &QTableWidget::itemChanged, this, &TfrmProtocolSettings::DurationChanged);
}

TfrmProtocolSettings::~TfrmProtocolSettings() {
    // The controls outlive this part of the window: an open cell editor commits and sends keys while it goes.
    for (QObject* child : findChildren<QObject*>()) {
        child->removeEventFilter(this);
        child->disconnect(this);
    }
}

void TfrmProtocolSettings::Load(bool renameRequired) {
    loading_ = true;
    edit_.Load(renameRequired);
    ui_->edtName->setText(FromStd(edit_.Name()));
    ui_->edtCarrierPeriod->setText(FromStd(edit_.CarrierPeriod()));
    ui_->edtFrameFormat->setText(FromStd(edit_.FrameFormat()));
    ui_->edtFrameRate->setText(FromStd(edit_.FrameRate()));
    ui_->edtDummyFrame->setText(FromStd(edit_.DummyFrame()));
    ui_->edtLength->setText(FromStd(edit_.Length()));
    ui_->chkLengthAtLeast->setChecked(edit_.LengthAtLeast());

    QTableWidget* grid = ui_->grdVocabulary;
    const std::vector<std::string>& durations = edit_.Durations();
    grid->setRowCount(static_cast<int>(durations.size()));
    for (int row = 0; row < static_cast<int>(durations.size()); ++row) {
        auto* letter = new QTableWidgetItem(FromStd(TProtocolSettingsEdit::ElementLetter(row)));
        letter->setFlags(Qt::ItemIsEnabled);
        letter->setBackground(palette().button());
        letter->setTextAlignment(Qt::AlignCenter);
        grid->setItem(row, 0, letter);
        grid->setItem(row, kDurationColumn, new QTableWidgetItem(FromStd(durations[static_cast<std::size_t>(row)])));
    }
    if (!durations.empty()) grid->setCurrentCell(0, kDurationColumn);
    loading_ = false;
    Refresh();
    SizeColumns();
}

bool TfrmProtocolSettings::Edit(bool renameRequired) {
    Load(renameRequired);
    return exec() == QDialog::Accepted;
}

void TfrmProtocolSettings::Refresh() {
    ui_->lblChangeRequired->setVisible(edit_.ChangeRequiredShown());
    const bool period = edit_.CarrierPeriodShown();
    ui_->edtCarrierPeriod->setVisible(period);
    ui_->lblMicroseconds->setVisible(period);
    ui_->lblPulsed->setVisible(!period);
    ui_->lblCarrierFrequency->setText(FromStd(edit_.CarrierFrequencyText()));
    const bool rate = edit_.FrameRateShown();
    ui_->edtFrameRate->setVisible(rate);
    ui_->lblNoFrameRate->setVisible(!rate);
    buttons_->SetButtonEnabled(shell::fbOK, edit_.OkEnabled());
}

void TfrmProtocolSettings::DurationChanged(QTableWidgetItem* item) {
    if (loading_ || item == nullptr || item->column() != kDurationColumn) return;
    edit_.SetDuration(item->row(), ToStd(item->text()));
    Refresh();
}

void TfrmProtocolSettings::PerformOK() {
    // A duration being typed is taken before the checks run.
    delegate_->CommitOpenEditor();
    const TProtocolSettingsOutcome outcome = edit_.Ok();
    if (outcome.accepted) {
        accept();
        return;
    }
    Focus(outcome);
}

void TfrmProtocolSettings::Focus(const TProtocolSettingsOutcome& outcome) {
    QWidget* target = nullptr;
    switch (outcome.focus) {
        case Field::Name:
            target = ui_->edtName;
            break;
        case Field::CarrierPeriod:
            target = ui_->edtCarrierPeriod;
            break;
        case Field::FrameFormat:
            target = ui_->edtFrameFormat;
            break;
        case Field::FrameRate:
            target = ui_->edtFrameRate;
            break;
        case Field::DummyFrame:
            target = ui_->edtDummyFrame;
            break;
        case Field::Length:
            target = ui_->edtLength;
            break;
        case Field::Duration:
            ui_->grdVocabulary->setCurrentCell(outcome.durationIndex, kDurationColumn);
            target = ui_->grdVocabulary;
            break;
        default:
            break;
    }
    if (target != nullptr) target->setFocus(Qt::OtherFocusReason);
}

bool TfrmProtocolSettings::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString typed = key->text();
        const bool character =
            typed.size() == 1 && (typed[0].unicode() >= 0x20 || typed[0].unicode() == 8) && typed[0].unicode() != 0x7f;
        const QVariant field = watched->property(kFieldProperty);
        if (character && field.isValid()) {
            const auto which = static_cast<Field>(field.toInt());
            QString before;
            if (auto* line = qobject_cast<QLineEdit*>(watched)) {
                before = line->text();
            } else if (watched == ui_->grdVocabulary && ui_->grdVocabulary->currentColumn() != kDurationColumn) {
                return QDialog::eventFilter(watched, event);
            }
            if (!TProtocolSettingsEdit::AcceptsCharacter(which, ToStd(before), typed[0].unicode())) return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmProtocolSettings::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    SizeColumns();
}

void TfrmProtocolSettings::SizeColumns() {
    QTableWidget* grid = ui_->grdVocabulary;
    const int width = grid->width();
    grid->setColumnWidth(0, TProtocolSettingsEdit::ElementColumnWidth(width));
    grid->setColumnWidth(kDurationColumn, TProtocolSettingsEdit::DurationColumnWidth(width));
}

}  // namespace spectrel
