#pragma once
// The "Virtual remote" tool window: the keys of the virtual remote as buttons. Holding a button down holds the
// key of the remote down (the virtual board sends its repeat frames meanwhile); letting go releases it.
// "Load remote..." takes the keys from a Flipper ".ir" file, a Pronto list or a text signal file.
//
// Object names: "VirtualRemotePanel" (the window), "VirtualKey_<name>" (one button per key),
// "VirtualRemoteTitle", "VirtualRemoteKeys", "VirtualRemoteStatus", "btnLoadRemote", "btnBuiltInRemote".
//
// The reader must outlive the panel.

#include <QString>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "platform/MessageBoxes.h"

class QGridLayout;
class QLabel;
class QPushButton;
class QScrollArea;

namespace spectrel::virtualboard {

class TVirtualReader;

class TVirtualRemotePanel : public QWidget {
    Q_OBJECT
public:
    TVirtualRemotePanel(TVirtualReader& reader, platform::MessageBoxes& boxes, QWidget* parent = nullptr);
    ~TVirtualRemotePanel() override;

    // Holds the key `name` down as a click on its button would; false when the remote has no such key.
    bool PressKey(const QString& name);
    void ReleaseKey();
    // Takes the keys from `path`; a file that cannot be taken is reported in an error box and the keys stay.
    bool LoadRemoteFile(const QString& path);
    // Asks for the file that "Load remote..." loads; returns an empty text when the user cancels. A file dialog
    // unless replaced (tests and scripts replace it).
    void SetFileChooser(std::function<QString(QWidget* parent)> chooser) { chooseFile_ = std::move(chooser); }

    // The buttons of the keys, in the remote's order.
    const std::vector<QPushButton*>& KeyButtons() const { return keyButtons_; }

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void BtnLoadRemoteClick();
    void BtnBuiltInRemoteClick();
    void KeyPressed(std::size_t index);
    void KeyReleased();
    void RebuildKeys();
    void ShowStatus();

    TVirtualReader& reader_;
    platform::MessageBoxes& boxes_;
    std::function<QString(QWidget*)> chooseFile_;
    QLabel* title_ = nullptr;
    QLabel* status_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QWidget* keyArea_ = nullptr;
    QGridLayout* keyGrid_ = nullptr;
    std::vector<QPushButton*> keyButtons_;
};

}  // namespace spectrel::virtualboard
