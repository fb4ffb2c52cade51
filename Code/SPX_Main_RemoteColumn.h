#pragma once
// The left column of the work area: caption "Remote" and the fields that describe the device and its remote
// control (device type, brands, models, notes).

#include <QWidget>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

#include "Code/SPX_DeviceDetails.h"

namespace spectrel {

namespace platform {
class MessageBoxes;
}

class TRemoteColumn : public QWidget {
    Q_OBJECT
public:
    explicit TRemoteColumn(QWidget* parent = nullptr);

    // The entries of the Device Type selector, which sorts them.
    void SetDeviceTypes(const std::vector<std::string>& deviceTypes);
    void SelectFirstDeviceType();
    // Where the brand list files are (the application folder, with its trailing separator) and where the
    // "Duplicate: " messages go. Without them the brand lists hold the default brands alone, silently.
    void SetBrandSource(std::string applicationFolder, platform::MessageBoxes* boxes);
    // The device-type change action: the brand lists for the selected type (the typed brands are kept).
    void DeviceTypeChanged();
    // What the fields hold.
    TDeviceDetails Details() const;

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
    std::string applicationFolder_;
    platform::MessageBoxes* boxes_ = nullptr;
};

}  // namespace spectrel
