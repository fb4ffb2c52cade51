#include "Code/SPX_Main_RemoteColumn.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "platform/MessageBoxes.h"
#include "shell/KOR_Header.h"

namespace spectrel {

namespace {
constexpr int kColumnWidth = 201;
constexpr int kColumnMinimumHeight = 192;

template <typename Field>
Field* AddField(QVBoxLayout* layout, QWidget* parent, const QString& label, const char* objectName,
                const QString& hint) {
    auto* caption = new QLabel(label, parent);
    layout->addWidget(caption);
    auto* field = new Field(parent);
    field->setObjectName(QString::fromLatin1(objectName));
    field->setToolTip(hint.section('|', 0, 0).trimmed());
    caption->setBuddy(field);
    layout->addWidget(field);
    return field;
}

QComboBox* AddCombo(QVBoxLayout* layout, QWidget* parent, const QString& label, const char* objectName,
                    const QString& hint, bool editable) {
    auto* combo = AddField<QComboBox>(layout, parent, label, objectName, hint);
    combo->setEditable(editable);
    // A typed brand is the field's text; it does not join the list.
    if (editable) combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}
}  // namespace

TRemoteColumn::TRemoteColumn(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pnlRemote"));
    setMinimumSize(kColumnWidth, kColumnMinimumHeight);
    setMaximumWidth(kColumnWidth);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(2);
    outer->addWidget(new shell::TKOR_Header(QStringLiteral("Remote"), this));
    auto* fields = new QVBoxLayout;
    fields->setContentsMargins(6, 2, 6, 4);
    fields->setSpacing(1);
    deviceType_ = AddCombo(fields, this, QStringLiteral("Device Type"), "ComboxDeviceType",
                           QStringLiteral("Select device type from list"), false);
    deviceBrand_ = AddCombo(fields, this, QStringLiteral("Device Brand"), "ComboxDeviceBrand",
                            QStringLiteral("Type in device brand name or select name from list"), true);
    deviceModel_ = AddField<QLineEdit>(fields, this, QStringLiteral("Device Model"), "EditDeviceModel",
                                       QStringLiteral("Type in device model name"));
    remoteBrand_ = AddCombo(fields, this, QStringLiteral("Remote Brand"), "ComboxRCBrand",
                            QStringLiteral("Type in remote control brand name or select name from list"), true);
    remoteModel_ = AddField<QLineEdit>(fields, this, QStringLiteral("Remote Model"), "EditRCModel",
                                       QStringLiteral("Type in remote control model name"));
    notes_ = AddField<QPlainTextEdit>(
        fields, this, QStringLiteral("Notes"), "MemoDeviceNotes",
        QStringLiteral("Addtional Notes | Enter in any addtional notes that may be required. The Notes will be "
                       "embedded into the file"));
    notes_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    fields->setStretchFactor(notes_, 1);
    outer->addLayout(fields, 1);
    connect(deviceType_, &QComboBox::currentIndexChanged, this, [this] { DeviceTypeChanged(); });
}

void TRemoteColumn::SetDeviceTypes(const std::vector<std::string>& deviceTypes) {
    QStringList entries;
    for (const std::string& type : deviceTypes) entries << QString::fromStdString(type);
    entries.sort(Qt::CaseInsensitive);
    const QSignalBlocker quiet(deviceType_);
    deviceType_->clear();
    deviceType_->addItems(entries);
}

void TRemoteColumn::SelectFirstDeviceType() {
    if (deviceType_->count() == 0) return;
    const QSignalBlocker quiet(deviceType_);
    deviceType_->setCurrentIndex(0);
}

void TRemoteColumn::SetBrandSource(std::string applicationFolder, platform::MessageBoxes* boxes) {
    applicationFolder_ = std::move(applicationFolder);
    boxes_ = boxes;
}

namespace {
// Fills an editable brand selector, keeping what is typed in it.
void FillBrands(QComboBox* combo, const std::vector<std::string>& brands) {
    const QString typed = combo->currentText();
    const QSignalBlocker quiet(combo);
    combo->clear();
    for (const std::string& brand : brands) combo->addItem(QString::fromStdString(brand));
    combo->setCurrentIndex(-1);
    combo->setEditText(typed);
}

// A message box that says nothing, for a column not told where its messages go.
class TSilentBoxes : public platform::MessageBoxes {
public:
    platform::MessageButton show(platform::MessageKind, const std::string&, platform::MessageButtons buttons,
                                 const std::string&) override {
        return buttons.has(platform::MessageButton::Ok) ? platform::MessageButton::Ok : platform::MessageButton::None;
    }
};
}  // namespace

void TRemoteColumn::DeviceTypeChanged() {
    TSilentBoxes silent;
    platform::MessageBoxes& boxes = boxes_ ? *boxes_ : silent;
    const TBrandLists lists = applicationFolder_.empty()
                                  ? TBrandLists{BrandListWithDefaults({}), BrandListWithDefaults({})}
                                  : DeviceTypeBrandLists(applicationFolder_, deviceType_->currentText().toStdString(),
                                                         boxes);
    FillBrands(deviceBrand_, lists.deviceBrands);
    FillBrands(remoteBrand_, lists.remoteBrands);
}

TDeviceDetails TRemoteColumn::Details() const {
    TDeviceDetails details;
    details.remoteBrand = remoteBrand_->currentText().toStdString();
    details.remoteModel = remoteModel_->text().toStdString();
    details.deviceType = deviceType_->currentText().toStdString();
    details.deviceBrand = deviceBrand_->currentText().toStdString();
    details.deviceModel = deviceModel_->text().toStdString();
    details.notes = SplitTextLines(notes_->toPlainText().toStdString());
    return details;
}

}  // namespace spectrel
