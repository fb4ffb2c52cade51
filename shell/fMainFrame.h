#pragma once
// TfrmZELFrame: the base window of the application's main window. It supplies the menu bar skeleton (File, Edit,
// Windows, Help), the document commands a derived window switches on or off, a status bar whose last panel shows
// the long hint of the control under the mouse, the hints switch, the help commands and F1, the shell
// preferences and the window placement in the per-user store, the toolbar layout, and a busy mode that disables
// the window's controls and refuses closing.

#include <QMainWindow>
#include <QRect>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/MessageBoxes.h"
#include "platform/UserStore.h"
#include "shell/core/FrameRules.h"
#include "shell/core/ShellPreferences.h"
#include "shell/core/StoreKey.h"

class QAction;
class QCloseEvent;
class QKeyEvent;
class QLabel;
class QMenu;
class QToolBar;

namespace spectrel::shell {

class TZELFormSize;
class TZELStatusBarHint;

enum class THelpCommand { Contents, Index, HelpOnHelp, Context };

// What the frame needs from outside.
struct TFrameEnvironment {
    TFrameEnvironment(platform::UserStore& userStore, platform::MessageBoxes& messageBoxes)
        : store(userStore), boxes(messageBoxes) {}

    platform::UserStore& store;  // per-user store (QSettings in the program, MemoryUserStore in tests)
    platform::MessageBoxes& boxes;
    std::string companyName = "Halvren Didaziravu Systems";
    std::string applicationTitle = "Spectrel";
    std::string fileVersion;  // for the what's-new caption and the about box
    // Opens the help; when empty an information box says that no help is installed.
    std::function<void(THelpCommand, int context)> openHelp;
    // The screen area a window may cover; when empty the primary screen's available geometry.
    std::function<QRect()> screenGeometry;
};

// A control whose "tag" property holds this value keeps its enabled state through busy mode.
inline constexpr int kBusyExemptTag = 99;

class TfrmZELFrame : public QMainWindow {
    Q_OBJECT
public:
    TfrmZELFrame(TFrameEnvironment environment, const QString& windowName, QWidget* parent = nullptr);
    ~TfrmZELFrame() override;

    // The base creation steps in their order; a derived FormCreate calls it first.
    virtual void FormCreate();

    // The document commands shown: bit n stands for TFrameMenuItem n.
    void SetFrameMenuItems(std::uint16_t items);
    std::uint16_t FrameMenuItems() const { return frameMenuItems_; }
    QAction* FrameMenuAction(TFrameMenuItem item) const;

    QMenu* FileMenu() const { return fileMenu_; }
    QMenu* EditMenu() const { return editMenu_; }
    QMenu* WindowsMenu() const { return windowsMenu_; }
    QMenu* HelpMenu() const { return helpMenu_; }
    QToolBar* FileToolBar() const { return fileToolBar_; }
    QAction* PreferencesAction() const;
    QAction* ExitAction() const { return exitAction_; }
    QAction* HintsAction() const { return hintsAction_; }
    QAction* HelpContentsAction() const { return helpContentsAction_; }
    QAction* HelpIndexAction() const { return helpIndexAction_; }
    QAction* HelpOnHelpAction() const { return helpOnHelpAction_; }
    QAction* WhatsNewAction() const { return whatsNewAction_; }
    QAction* AboutAction() const { return aboutAction_; }

    // Derived File menu items go before "Pre&ferences".
    void InsertFileMenuAction(QAction* action);

    // The lines of the what's-new window; its menu item is shown only when there are some.
    void SetWhatsNewText(const QStringList& lines);
    QStringList WhatsNewText() const { return whatsNewText_; }

    // Busy mode: every control of the window (but those tagged 99) disabled, closing refused.
    void SetBusy(bool busy);
    bool Busy() const { return busy_; }

    // The hints switch: the "H&ints" tick, tooltips and status bar hints.
    void SetHintsOn(bool on);
    bool HintsOn() const { return hintsOn_; }

    // The values handed to the preferences dialog, and the values it hands back.
    TShellPreferences ShellPreferences() const;
    void ApplyShellPreferences(const TShellPreferences& values);

    // Status bar panels; all but the last are sized to their text, the last shows the long hints.
    void SetStatusPanelCount(int count);
    int StatusPanelCount() const { return static_cast<int>(panels_.size()); }
    void SetStatusPanelText(int panel, const QString& text);
    QString StatusPanelText(int panel) const;
    QLabel* StatusPanel(int panel) const;

    // A hint "short|long": the tooltip shows the short part, the status bar the long part.
    void SetHint(QWidget* widget, const QString& hint);
    void SetHint(QAction* action, const QString& hint);

    // Every help command goes through here.
    void OpenHelp(THelpCommand command, int context = 0);

    virtual void ShowPreferences() {}

    // K\W, K\W\W and the placement key of this window.
    const TStoreKey& PreferencesKey() const { return preferencesKey_; }
    const TStoreKey& PlacementStoreKey() const { return placementKey_; }
    const TStoreKey& ToolbarKey() const { return toolbarKey_; }
    const TFrameEnvironment& Environment() const { return environment_; }
    QString UntitledName() const { return untitledName_; }

protected:
    // The derived window's question, asked after the base's busy check; false keeps the window open.
    virtual bool FormCloseQuery() { return true; }
    // Runs once the close is allowed, before the window goes.
    virtual void FormClose() {}
    // Saves the toolbar layout (when SaveIntPos is on), the six shell preferences and the placement. A derived
    // destructor calls it before its own members go; a second call does nothing.
    void FormDestroy();

    // Shows the about box and the what's-new window.
    virtual void ShowAbout();
    virtual void ShowWhatsNew();

    void closeEvent(QCloseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenus();
    void ApplyFlatButtons(bool flat);
    void ApplyHintHidePause(int milliseconds);
    void PrepareToolBars();
    void RestoreToolbarLayout();
    void SaveToolbarLayout();
    QRect ScreenGeometry() const;
    bool BelongsToWindow(QObject* object) const;

    TFrameEnvironment environment_;
    QString windowName_;
    TStoreKey preferencesKey_;
    TStoreKey placementKey_;
    TStoreKey toolbarKey_;
    QString untitledName_;
    std::uint16_t frameMenuItems_ = 0;
    bool busy_ = false;
    bool hintsOn_ = true;
    bool destroyed_ = false;
    bool created_ = false;
    TShellPreferences preferences_;
    QStringList whatsNewText_;

    QMenu* fileMenu_ = nullptr;
    QMenu* editMenu_ = nullptr;
    QMenu* windowsMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QToolBar* fileToolBar_ = nullptr;
    std::vector<QAction*> frameActions_;  // indexed by TFrameMenuItem
    QAction* exitAction_ = nullptr;
    QAction* helpContentsAction_ = nullptr;
    QAction* helpIndexAction_ = nullptr;
    QAction* helpOnHelpAction_ = nullptr;
    QAction* helpSeparator_ = nullptr;
    QAction* hintsAction_ = nullptr;
    QAction* whatsNewAction_ = nullptr;
    QAction* tipOfTheDayAction_ = nullptr;
    QAction* aboutAction_ = nullptr;
    std::vector<QLabel*> panels_;
    std::unique_ptr<TZELFormSize> formSize_;
    std::unique_ptr<TZELStatusBarHint> statusBarHint_;
};

}  // namespace spectrel::shell
