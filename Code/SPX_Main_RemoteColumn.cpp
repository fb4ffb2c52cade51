#include "Code/SPX_Main_RemoteColumn.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "Code/SPX_Main_Frame.h"

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
    outer->addWidget(new TKOR_Header(QStringLiteral("Remote"), this));
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

void TRemoteColumn::DeviceTypeChanged() {}

}  // namespace spectrel
