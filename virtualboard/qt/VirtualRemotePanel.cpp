#include "virtualboard/qt/VirtualRemotePanel.h"

#include <QFile>
#include <QFileDialog>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include "virtualboard/qt/VirtualReader.h"

namespace spectrel::virtualboard {

namespace {

constexpr int kKeysPerRow = 3;
constexpr int kKeyMinimumWidth = 64;
constexpr int kKeyAreaMaximumHeight = 420;  // taller remotes scroll
constexpr int kMaxNotesShown = 10;
const char* const kCaption = "Virtual remote";
const char* const kIdleText = "Hold a key down while the reader waits for a press.";

QString DefaultFileChooser(QWidget* parent) {
    return QFileDialog::getOpenFileName(parent, "Load remote", QString(),
                                        "Signal files (*.ir *.txt *.pronto);;All files (*)");
}

// The skipped entries of a file, at most kMaxNotesShown of them, one a line.
std::string SkippedEntriesText(const std::vector<std::string>& notes) {
    std::string text = "Some entries of the file were skipped:";
    for (std::size_t i = 0; i < notes.size() && i < static_cast<std::size_t>(kMaxNotesShown); ++i) {
        text += "\r" + notes[i];
    }
    if (notes.size() > static_cast<std::size_t>(kMaxNotesShown)) {
        text += "\r... and " + std::to_string(notes.size() - kMaxNotesShown) + " more";
    }
    return text;
}

}  // namespace

TVirtualRemotePanel::TVirtualRemotePanel(TVirtualReader& reader, platform::MessageBoxes& boxes, QWidget* parent)
    : QWidget(parent, Qt::Tool), reader_(reader), boxes_(boxes), chooseFile_(DefaultFileChooser) {
    setObjectName("VirtualRemotePanel");
    setWindowTitle(kCaption);

    title_ = new QLabel(this);
    title_->setObjectName("VirtualRemoteTitle");
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    title_->setAlignment(Qt::AlignCenter);

    keyArea_ = new QWidget;
    keyGrid_ = new QGridLayout(keyArea_);
    keyGrid_->setContentsMargins(0, 0, 0, 0);
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName("VirtualRemoteKeys");
    scroll_->setWidget(keyArea_);
    scroll_->setWidgetResizable(true);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    status_ = new QLabel(this);
    status_->setObjectName("VirtualRemoteStatus");
    status_->setWordWrap(true);

    auto* load = new QPushButton("Load remote...", this);
    load->setObjectName("btnLoadRemote");
    load->setAutoDefault(false);
    connect(load, &QPushButton::clicked, this, [this] { BtnLoadRemoteClick(); });
    auto* builtIn = new QPushButton("Built-in remote", this);
    builtIn->setObjectName("btnBuiltInRemote");
    builtIn->setAutoDefault(false);
    connect(builtIn, &QPushButton::clicked, this, [this] { BtnBuiltInRemoteClick(); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(load);
    buttons->addWidget(builtIn);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title_);
    layout->addWidget(scroll_, 1);
    layout->addWidget(status_);
    layout->addLayout(buttons);

    RebuildKeys();
}

TVirtualRemotePanel::~TVirtualRemotePanel() { reader_.Remote().release(); }

bool TVirtualRemotePanel::PressKey(const QString& name) {
    const std::vector<IrSignal>& keys = reader_.Remote().keys();
    const std::string wanted = name.toStdString();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (keys[i].name != wanted) continue;
        KeyPressed(i);
        if (i < keyButtons_.size()) keyButtons_[i]->setDown(true);
        return true;
    }
    return false;
}

void TVirtualRemotePanel::ReleaseKey() {
    for (QPushButton* button : keyButtons_) button->setDown(false);
    KeyReleased();
}

bool TVirtualRemotePanel::LoadRemoteFile(const QString& path) {
    const RemoteLoadResult result = reader_.Remote().loadFile(QFile::encodeName(path).toStdString());
    if (!result.ok) {
        boxes_.show(platform::MessageKind::Error, result.message, platform::MessageButton::Ok, kCaption);
        ShowStatus();
        return false;
    }
    RebuildKeys();
    if (!result.notes.empty()) {
        boxes_.show(platform::MessageKind::Information, SkippedEntriesText(result.notes), platform::MessageButton::Ok,
                    kCaption);
    }
    return true;
}

void TVirtualRemotePanel::hideEvent(QHideEvent* event) {
    // A key held down when the panel goes away would otherwise stay down.
    ReleaseKey();
    QWidget::hideEvent(event);
}

void TVirtualRemotePanel::BtnLoadRemoteClick() {
    const QString path = chooseFile_ ? chooseFile_(this) : QString();
    if (!path.isEmpty()) LoadRemoteFile(path);
}

void TVirtualRemotePanel::BtnBuiltInRemoteClick() {
    reader_.Remote().useBuiltInRemote();
    RebuildKeys();
}

void TVirtualRemotePanel::KeyPressed(std::size_t index) {
    reader_.Remote().press(index);
    ShowStatus();
}

void TVirtualRemotePanel::KeyReleased() {
    reader_.Remote().release();
    ShowStatus();
}

void TVirtualRemotePanel::RebuildKeys() {
    for (QPushButton* button : keyButtons_) delete button;
    keyButtons_.clear();
    const std::vector<IrSignal>& keys = reader_.Remote().keys();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const QString name = QString::fromStdString(keys[i].name);
        auto* button = new QPushButton(name, keyArea_);
        button->setObjectName("VirtualKey_" + name);
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::NoFocus);
        button->setMinimumWidth(kKeyMinimumWidth);
        button->setToolTip(QString::fromStdString(formatSignal(keys[i])).left(200));
        connect(button, &QPushButton::pressed, this, [this, i] { KeyPressed(i); });
        connect(button, &QPushButton::released, this, [this] { KeyReleased(); });
        keyGrid_->addWidget(button, static_cast<int>(i) / kKeysPerRow, static_cast<int>(i) % kKeysPerRow);
        keyButtons_.push_back(button);
    }
    title_->setText(QString::fromStdString(reader_.Remote().title()));
    // The whole remote is shown when it fits; a taller one scrolls.
    const QSize wanted = keyArea_->sizeHint();
    scroll_->setMinimumSize(wanted.width() + scroll_->verticalScrollBar()->sizeHint().width(),
                            std::min(wanted.height(), kKeyAreaMaximumHeight));
    ShowStatus();
}

void TVirtualRemotePanel::ShowStatus() {
    const VirtualRemote& remote = reader_.Remote();
    status_->setText(remote.held() ? "Holding " + QString::fromStdString(remote.heldKey()) : QString(kIdleText));
}

}  // namespace spectrel::virtualboard
