#include "shell/fMainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <algorithm>
#include <map>

#include "shell/ZELFormSize.h"
#include "shell/ZELSplash.h"
#include "shell/ZELStatusBarHint.h"

namespace spectrel::shell {

namespace {

constexpr int kDefaultPanelCount = 2;
constexpr const char* kUntitledName = "New File";
constexpr const char* kFileToolBarName = "FileToolBar";

QString FromStd(const std::string& text) { return QString::fromStdString(text); }

// The standard icon of a document command's toolbar button.
QIcon CommandIcon(QStyle* style, TFrameMenuItem item) {
    switch (item) {
        case tmiNew: return style->standardIcon(QStyle::SP_FileIcon);
        case tmiOpen: return style->standardIcon(QStyle::SP_DialogOpenButton);
        case tmiReopen: return style->standardIcon(QStyle::SP_BrowserReload);
        case tmiSave: return style->standardIcon(QStyle::SP_DialogSaveButton);
        case tmiSaveAs: return style->standardIcon(QStyle::SP_DriveFDIcon);
        case tmiPreview: return style->standardIcon(QStyle::SP_FileDialogContentsView);
        case tmiPrint: return style->standardIcon(QStyle::SP_ComputerIcon);
        default: return {};
    }
}

QString DockName(Qt::ToolBarArea area) {
    switch (area) {
        case Qt::BottomToolBarArea: return QStringLiteral("Bottom");
        case Qt::LeftToolBarArea: return QStringLiteral("Left");
        case Qt::RightToolBarArea: return QStringLiteral("Right");
        default: return QStringLiteral("Top");
    }
}

Qt::ToolBarArea DockArea(const std::string& dock) {
    if (dock == "Bottom") return Qt::BottomToolBarArea;
    if (dock == "Left") return Qt::LeftToolBarArea;
    if (dock == "Right") return Qt::RightToolBarArea;
    return Qt::TopToolBarArea;
}

bool Horizontal(Qt::ToolBarArea area) { return area == Qt::TopToolBarArea || area == Qt::BottomToolBarArea; }

}  // namespace

TfrmZELFrame::TfrmZELFrame(TFrameEnvironment environment, const QString& windowName, QWidget* parent)
    : QMainWindow(parent),
      environment_(std::move(environment)),
      windowName_(windowName),
      preferencesKey_(ShellPreferencesKey(environment_.companyName, environment_.applicationTitle,
                                          windowName.toStdString())),
      placementKey_(PlacementKey(environment_.companyName, environment_.applicationTitle, windowName.toStdString())),
      toolbarKey_(ToolbarLayoutKey(environment_.companyName, environment_.applicationTitle,
                                   windowName.toStdString())) {
    setObjectName(windowName);
    setWindowTitle(FromStd(environment_.applicationTitle));
    setWindowIcon(ProgramIcon());
    BuildMenus();
    statusBarHint_ = std::make_unique<TZELStatusBarHint>(*statusBar());
    SetStatusPanelCount(kDefaultPanelCount);
    formSize_ = std::make_unique<TZELFormSize>(environment_.store, *this, environment_.screenGeometry);
    formSize_->SetKey(placementKey_);
    // The default placement holds from the moment the window is loaded.
    formSize_->Default();
    qApp->installEventFilter(this);
}

TfrmZELFrame::~TfrmZELFrame() {
    qApp->removeEventFilter(this);
    FormDestroy();
}

void TfrmZELFrame::BuildMenus() {
    QStyle* style = this->style();
    fileMenu_ = menuBar()->addMenu(QStringLiteral("&File"));
    fileMenu_->setObjectName(QStringLiteral("mnuFile"));
    fileMenu_->setSeparatorsCollapsible(true);
    editMenu_ = menuBar()->addMenu(QStringLiteral("&Edit"));
    editMenu_->setObjectName(QStringLiteral("mnuEdit"));
    windowsMenu_ = menuBar()->addMenu(QStringLiteral("&Windows"));
    windowsMenu_->setObjectName(QStringLiteral("mnuWindows"));
    windowsMenu_->addAction(QStringLiteral("&Cascade"))->setObjectName(QStringLiteral("mnuCascade"));
    windowsMenu_->addAction(QStringLiteral("&Tile"))->setObjectName(QStringLiteral("mnuTile"));
    helpMenu_ = menuBar()->addMenu(QStringLiteral("&Help"));
    helpMenu_->setObjectName(QStringLiteral("mnuHelp"));
    helpMenu_->setSeparatorsCollapsible(true);

    fileToolBar_ = new QToolBar(QStringLiteral("File"), this);
    fileToolBar_->setObjectName(QString::fromLatin1(kFileToolBarName));
    addToolBar(Qt::TopToolBarArea, fileToolBar_);

    frameActions_.resize(kFrameMenuItemCount, nullptr);
    for (int i = 0; i < kFrameMenuItemCount; ++i) {
        const auto item = static_cast<TFrameMenuItem>(i);
        const TFrameMenuItemInfo& info = FrameMenuItemInfo(item);
        auto* action = new QAction(QString::fromLatin1(info.caption), this);
        action->setObjectName(QString::fromLatin1(info.objectName));
        if (info.toolButton) action->setIcon(CommandIcon(style, item));
        if (item == tmiReopen) action->setMenu(new QMenu(this));
        frameActions_[static_cast<std::size_t>(i)] = action;
        if (item == tmiClose || item == tmiPreview || item == tmiPreferences) fileMenu_->addSeparator();
        fileMenu_->addAction(action);
        if (info.toolButton) fileToolBar_->addAction(action);
    }
    SetHint(frameActions_[tmiPreferences], QStringLiteral("Open the preferences dialog box"));
    connect(frameActions_[tmiPreferences], &QAction::triggered, this, [this] { ShowPreferences(); });
    fileMenu_->addSeparator();
    exitAction_ = fileMenu_->addAction(QStringLiteral("E&xit"));
    exitAction_->setObjectName(QStringLiteral("mnuExit"));
    connect(exitAction_, &QAction::triggered, this, &QWidget::close);

    helpContentsAction_ = helpMenu_->addAction(QStringLiteral("Help &Contents"));
    helpContentsAction_->setObjectName(QStringLiteral("mnuHelpContents"));
    SetHint(helpContentsAction_, QStringLiteral("Open the help file at the contents page"));
    connect(helpContentsAction_, &QAction::triggered, this, [this] { OpenHelp(THelpCommand::Contents); });
    helpIndexAction_ = helpMenu_->addAction(QStringLiteral("Help &Index"));
    helpIndexAction_->setObjectName(QStringLiteral("mnuHelpIndex"));
    SetHint(helpIndexAction_, QStringLiteral("Open the help file at the index page"));
    connect(helpIndexAction_, &QAction::triggered, this, [this] { OpenHelp(THelpCommand::Index); });
    helpOnHelpAction_ = helpMenu_->addAction(QStringLiteral("&Help On Help"));
    helpOnHelpAction_->setObjectName(QStringLiteral("mnuHelpOnHelp"));
    SetHint(helpOnHelpAction_, QStringLiteral("get help on how to use help"));
    connect(helpOnHelpAction_, &QAction::triggered, this, [this] { OpenHelp(THelpCommand::HelpOnHelp); });
    helpSeparator_ = helpMenu_->addSeparator();
    hintsAction_ = helpMenu_->addAction(QStringLiteral("H&ints"));
    hintsAction_->setObjectName(QStringLiteral("mnuHints"));
    hintsAction_->setCheckable(true);
    hintsAction_->setChecked(true);
    SetHint(hintsAction_, QStringLiteral("Toggle the hints (little yellow boxes) on or off"));
    connect(hintsAction_, &QAction::triggered, this, [this](bool checked) { SetHintsOn(checked); });
    tipOfTheDayAction_ = helpMenu_->addAction(QStringLiteral("&Tip Of The Day"));
    tipOfTheDayAction_->setObjectName(QStringLiteral("mnuTipOfTheDay"));
    tipOfTheDayAction_->setVisible(false);
    whatsNewAction_ = helpMenu_->addAction(QString());
    whatsNewAction_->setObjectName(QStringLiteral("mnuWhatsNew"));
    connect(whatsNewAction_, &QAction::triggered, this, [this] { ShowWhatsNew(); });
    helpMenu_->addSeparator();
    aboutAction_ = helpMenu_->addAction(QString());
    aboutAction_->setObjectName(QStringLiteral("mnuAbout"));
    connect(aboutAction_, &QAction::triggered, this, [this] { ShowAbout(); });
}

void TfrmZELFrame::FormCreate() {
    // 1. Not busy.
    busy_ = false;
    // 2. The untitled document name (the keys are formed with the window).
    untitledName_ = QString::fromLatin1(kUntitledName);
    // 3. The placement.
    formSize_->SetKey(placementKey_);
    formSize_->Restore();
    // 4. The shell preferences.
    preferences_ = ReadShellPreferences(environment_.store, preferencesKey_, kDefaultHintHidePause);
    SetHintsOn(preferences_.showHelp);
    ApplyFlatButtons(preferences_.flatButtons);
    ApplyHintHidePause(preferences_.hintHidePause);
    // 5. This frame is not a multi-document frame.
    windowsMenu_->menuAction()->setVisible(false);
    for (TFrameMenuItem item : {tmiSaveAll, tmiPrintAll, tmiClose, tmiCloseAll})
        frameActions_[static_cast<std::size_t>(item)]->setVisible(false);
    // 7. Every panel but the last holds a blank; the last one the hints.
    for (int i = 0; i + 1 < StatusPanelCount(); ++i) SetStatusPanelText(i, QStringLiteral(" "));
    // 8. The toolbars.
    PrepareToolBars();
    // 9. Captions and hints built from the title and the version.
    const std::string& title = environment_.applicationTitle;
    SetHint(exitAction_, FromStd(ExitHint(title)));
    aboutAction_->setText(FromStd(AboutCaption(title)));
    SetHint(aboutAction_, FromStd(AboutHint(title)));
    whatsNewAction_->setText(FromStd(WhatsNewCaption(title, environment_.fileVersion)));
    SetHint(whatsNewAction_, FromStd(WhatsNewHint(title, environment_.fileVersion)));
    whatsNewAction_->setVisible(!whatsNewText_.isEmpty());
    tipOfTheDayAction_->setVisible(false);
    // The program always has its help commands (they say so when no help is installed).
    for (QAction* action : {helpContentsAction_, helpIndexAction_, helpOnHelpAction_, helpSeparator_})
        action->setVisible(true);
    // 10. Busy mode ends.
    statusBar()->show();
    if (!panels_.empty()) panels_.back()->clear();
    SetBusy(false);
    unsetCursor();
    // 11. The document commands.
    SetFrameMenuItems(kInitialFrameMenuItems);
    // 12. The toolbar layout.
    if (preferences_.saveIntPos) RestoreToolbarLayout();
    created_ = true;
}

void TfrmZELFrame::SetFrameMenuItems(std::uint16_t items) {
    frameMenuItems_ = items;
    for (int i = 0; i < kFrameMenuItemCount; ++i)
        frameActions_[static_cast<std::size_t>(i)]->setVisible(HasFrameMenuItem(items, static_cast<TFrameMenuItem>(i)));
}

QAction* TfrmZELFrame::FrameMenuAction(TFrameMenuItem item) const {
    return frameActions_.at(static_cast<std::size_t>(item));
}

QAction* TfrmZELFrame::PreferencesAction() const { return FrameMenuAction(tmiPreferences); }

void TfrmZELFrame::InsertFileMenuAction(QAction* action) { fileMenu_->insertAction(PreferencesAction(), action); }

void TfrmZELFrame::SetWhatsNewText(const QStringList& lines) {
    whatsNewText_ = lines;
    whatsNewAction_->setVisible(!whatsNewText_.isEmpty());
}

void TfrmZELFrame::SetBusy(bool busy) {
    busy_ = busy;
    for (QWidget* widget : findChildren<QWidget*>()) {
        // The window's own controls carry names; the parts inside a control do not.
        const QString name = widget->objectName();
        if (name.isEmpty() || name.startsWith(QStringLiteral("qt_"))) continue;
        if (widget->property("tag").toInt() == kBusyExemptTag) continue;
        widget->setEnabled(!busy);
        if (qobject_cast<QTreeView*>(widget)) widget->setUpdatesEnabled(!busy);
    }
}

void TfrmZELFrame::SetHintsOn(bool on) {
    hintsOn_ = on;
    hintsAction_->setChecked(on);
    statusBarHint_->SetEnabled(on);
    if (!on && !panels_.empty()) panels_.back()->clear();
}

TShellPreferences TfrmZELFrame::ShellPreferences() const {
    TShellPreferences values = preferences_;
    values.showHelp = hintsOn_;
    return values;
}

void TfrmZELFrame::ApplyShellPreferences(const TShellPreferences& values) {
    ApplyFlatButtons(values.flatButtons);
    preferences_.saveIntPos = values.saveIntPos;
    SetHintsOn(values.showHelp);
    preferences_.savePos = values.savePos;
    preferences_.usePreferencesTree = values.usePreferencesTree;
    ApplyHintHidePause(values.hintHidePause);
}

void TfrmZELFrame::ApplyFlatButtons(bool flat) {
    preferences_.flatButtons = flat;
    for (QToolButton* button : findChildren<QToolButton*>()) {
        if (button->objectName().startsWith(QStringLiteral("qt_"))) continue;
        button->setAutoRaise(flat);
    }
}

void TfrmZELFrame::ApplyHintHidePause(int milliseconds) {
    preferences_.hintHidePause = milliseconds;
    for (QWidget* widget : findChildren<QWidget*>()) widget->setToolTipDuration(milliseconds);
}

void TfrmZELFrame::SetStatusPanelCount(int count) {
    count = std::max(count, 1);
    for (QLabel* panel : panels_) {
        statusBar()->removeWidget(panel);
        delete panel;
    }
    panels_.clear();
    for (int i = 0; i < count; ++i) {
        auto* panel = new QLabel(statusBar());
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panels_.push_back(panel);
        if (i + 1 < count) {
            panel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            panel->setContentsMargins(2, 0, 0, 0);
            statusBar()->addWidget(panel);
            SetStatusPanelText(i, QString());
        } else {
            statusBar()->addWidget(panel, 1);
        }
    }
    statusBarHint_->SetHintPanel(panels_.back());
}

void TfrmZELFrame::SetStatusPanelText(int panel, const QString& text) {
    QLabel* label = StatusPanel(panel);
    if (!label) return;
    label->setText(text);
    if (panel + 1 == StatusPanelCount()) return;
    label->setFixedWidth(StatusPanelWidth(text.isEmpty() ? 0 : label->fontMetrics().horizontalAdvance(text)));
    QPalette palette = statusBar()->palette();
    if (StatusPanelTextIsRed(text.toStdString())) palette.setColor(QPalette::WindowText, Qt::red);
    label->setPalette(palette);
}

QString TfrmZELFrame::StatusPanelText(int panel) const {
    const QLabel* label = StatusPanel(panel);
    return label ? label->text() : QString();
}

QLabel* TfrmZELFrame::StatusPanel(int panel) const {
    if (panel < 0 || panel >= StatusPanelCount()) return nullptr;
    return panels_[static_cast<std::size_t>(panel)];
}

void TfrmZELFrame::SetHint(QWidget* widget, const QString& hint) {
    const std::string text = hint.toStdString();
    widget->setProperty("hint", hint);
    widget->setToolTip(FromStd(ShortHint(text)));
    widget->setStatusTip(FromStd(LongHint(text)));
    widget->setToolTipDuration(preferences_.hintHidePause);
}

void TfrmZELFrame::SetHint(QAction* action, const QString& hint) {
    const std::string text = hint.toStdString();
    action->setProperty("hint", hint);
    action->setToolTip(FromStd(ShortHint(text)));
    action->setStatusTip(FromStd(LongHint(text)));
}

void TfrmZELFrame::OpenHelp(THelpCommand command, int context) {
    if (environment_.openHelp) {
        environment_.openHelp(command, context);
        return;
    }
    environment_.boxes.show(platform::MessageKind::Information, NoHelpText(environment_.applicationTitle),
                            platform::MessageButton::Ok, environment_.applicationTitle);
}

void TfrmZELFrame::ShowAbout() {
    std::string text = environment_.applicationTitle;
    if (!environment_.fileVersion.empty()) text += "\rVersion " + environment_.fileVersion;
    if (!environment_.companyName.empty()) text += "\r" + environment_.companyName;
    environment_.boxes.show(platform::MessageKind::Information, text, platform::MessageButton::Ok,
                            "About " + environment_.applicationTitle);
}

void TfrmZELFrame::ShowWhatsNew() {
    environment_.boxes.show(platform::MessageKind::Information, whatsNewText_.join(QLatin1Char('\r')).toStdString(),
                            platform::MessageButton::Ok, environment_.applicationTitle);
}

void TfrmZELFrame::PrepareToolBars() {
    for (QToolBar* bar : findChildren<QToolBar*>()) {
        bar->setMovable(true);
        bar->setFloatable(false);
        // The top dock takes only the file toolbar.
        if (bar != fileToolBar_) bar->setAllowedAreas(Qt::BottomToolBarArea | Qt::LeftToolBarArea | Qt::RightToolBarArea);
    }
}

void TfrmZELFrame::SaveToolbarLayout() {
    const QList<QToolBar*> bars = findChildren<QToolBar*>();
    for (QToolBar* bar : bars) {
        if (bar->objectName().isEmpty() || bar->parentWidget() != this) continue;
        const Qt::ToolBarArea area = toolBarArea(bar);
        const bool horizontal = Horizontal(area);
        // The rows of a dock are the distinct offsets of its toolbars across the dock, in order.
        std::vector<int> offsets;
        for (QToolBar* other : bars)
            if (other->parentWidget() == this && toolBarArea(other) == area)
                offsets.push_back(horizontal ? other->y() : other->x());
        std::sort(offsets.begin(), offsets.end());
        offsets.erase(std::unique(offsets.begin(), offsets.end()), offsets.end());
        const int offset = horizontal ? bar->y() : bar->x();
        TToolbarPlacement placement;
        placement.dock = (bar->isFloating() ? QStringLiteral("Float") : DockName(area)).toStdString();
        placement.row = static_cast<int>(std::find(offsets.begin(), offsets.end(), offset) - offsets.begin());
        placement.position = horizontal ? bar->x() : bar->y();
        placement.visible = !bar->isHidden();
        environment_.store.writeValue(toolbarKey_.keyPath, toolbarKey_.section, bar->objectName().toStdString(),
                                      FormatToolbarPlacement(placement));
    }
}

void TfrmZELFrame::RestoreToolbarLayout() {
    struct Entry {
        QToolBar* bar;
        TToolbarPlacement placement;
    };
    std::map<Qt::ToolBarArea, std::vector<Entry>> docks;
    for (QToolBar* bar : findChildren<QToolBar*>()) {
        if (bar->objectName().isEmpty() || bar->parentWidget() != this) continue;
        const std::optional<std::string> text =
            environment_.store.readValue(toolbarKey_.keyPath, toolbarKey_.section, bar->objectName().toStdString());
        if (!text) continue;
        const std::optional<TToolbarPlacement> placement = ParseToolbarPlacement(*text);
        if (!placement) continue;
        Qt::ToolBarArea area = DockArea(placement->dock);
        if (!bar->isAreaAllowed(area)) area = toolBarArea(bar);
        docks[area].push_back({bar, *placement});
    }
    for (auto& [area, entries] : docks) {
        std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
            return a.placement.row != b.placement.row ? a.placement.row < b.placement.row
                                                      : a.placement.position < b.placement.position;
        });
        int row = entries.front().placement.row;
        for (const Entry& entry : entries) {
            removeToolBar(entry.bar);
            if (entry.placement.row != row) addToolBarBreak(area);
            row = entry.placement.row;
            addToolBar(area, entry.bar);
            entry.bar->setVisible(entry.placement.visible);
        }
    }
}

void TfrmZELFrame::FormDestroy() {
    if (destroyed_) return;
    destroyed_ = true;
    // A window that was never built has nothing of its own to keep.
    if (!created_) return;
    if (preferences_.saveIntPos) SaveToolbarLayout();
    TShellPreferences values = preferences_;
    values.showHelp = hintsAction_->isChecked();
    WriteShellPreferences(environment_.store, preferencesKey_, values);
    formSize_->Save();
    environment_.store.flush();
}

QRect TfrmZELFrame::ScreenGeometry() const {
    return environment_.screenGeometry ? environment_.screenGeometry() : PrimaryScreenArea();
}

bool TfrmZELFrame::BelongsToWindow(QObject* object) const {
    auto* widget = qobject_cast<QWidget*>(object);
    return widget && widget != this && widget->window() == this;
}

void TfrmZELFrame::closeEvent(QCloseEvent* event) {
    // A busy window stays; then the derived window's question decides.
    if (busy_ || !FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TfrmZELFrame::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && !event->isAutoRepeat()) {
        OpenHelp(THelpCommand::Contents);
        return;
    }
    QMainWindow::keyReleaseEvent(event);
}

bool TfrmZELFrame::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        statusBarHint_->ShowHint(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    if (event->type() == QEvent::ToolTip && !hintsOn_) return true;
    return QMainWindow::event(event);
}

bool TfrmZELFrame::eventFilter(QObject* watched, QEvent* event) {
    // The window previews the keys of its controls, and its hints switch covers their tooltips.
    if (event->type() == QEvent::KeyRelease && BelongsToWindow(watched)) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F1 && !key->isAutoRepeat()) {
            OpenHelp(THelpCommand::Contents);
            return true;
        }
    }
    if (event->type() == QEvent::ToolTip && !hintsOn_ && BelongsToWindow(watched)) return true;
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace spectrel::shell
