#include "virtualboard/qt/VirtualRemotePanel.h"

#include <QHideEvent>

#include "virtualboard/qt/VirtualReader.h"

namespace spectrel::virtualboard {

TVirtualRemotePanel::TVirtualRemotePanel(TVirtualReader& reader, platform::MessageBoxes& boxes, QWidget* parent)
    : QWidget(parent, Qt::Tool), reader_(reader), boxes_(boxes) {
    setObjectName("VirtualRemotePanel");
    setWindowTitle("Virtual remote");
}

TVirtualRemotePanel::~TVirtualRemotePanel() = default;

bool TVirtualRemotePanel::PressKey(const QString&) { return false; }
void TVirtualRemotePanel::ReleaseKey() {}
bool TVirtualRemotePanel::LoadRemoteFile(const QString&) { return false; }
void TVirtualRemotePanel::hideEvent(QHideEvent* event) { QWidget::hideEvent(event); }
void TVirtualRemotePanel::BtnLoadRemoteClick() {}
void TVirtualRemotePanel::BtnBuiltInRemoteClick() {}
void TVirtualRemotePanel::KeyPressed(std::size_t) {}
void TVirtualRemotePanel::KeyReleased() {}
void TVirtualRemotePanel::RebuildKeys() {}
void TVirtualRemotePanel::ShowStatus() {}

}  // namespace spectrel::virtualboard
