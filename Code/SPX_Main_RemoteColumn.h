#pragma once
// The left column of the work area: caption "Remote" and the fields that describe the device and its remote
// control (device type, brands, models, notes).

#include <QWidget>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace spectrel {

class TRemoteColumn : public QWidget {
    Q_OBJECT
public:
    explicit TRemoteColumn(QWidget* parent = nullptr);

    // The entries of the Device Type selector, which sorts them.
    void SetDeviceTypes(const std::vector<std::string>& deviceTypes);
    void SelectFirstDeviceType();
    // The device-type change action: the brand lists for the selected type.
    void DeviceTypeChanged();

    QComboBox* DeviceType() const { return deviceType_; }
    QComboBox* DeviceBrand() const { return deviceBrand_; }
    QLineEdit* DeviceModel() const { return deviceModel_; }
    QComboBox* RemoteBrand() const { return remoteBrand_; }
    QLineEdit* RemoteModel() const { return remoteModel_; }
    QPlainTextEdit* Notes() const { return notes_; }

private:
    QComboBox* deviceType_ = nullptr;
    QComboBox* deviceBrand_ = nullptr;
    QLineEdit* deviceModel_ = nullptr;
    QComboBox* remoteBrand_ = nullptr;
    QLineEdit* remoteModel_ = nullptr;
    QPlainTextEdit* notes_ = nullptr;
};

}  // namespace spectrel
