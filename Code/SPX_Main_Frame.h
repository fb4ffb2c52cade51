#pragma once
// Stand-in for the frame window the main window derives from, until the shell's lands: the menus, the status
// panels, the hints and the close hooks under the shell's names.

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QCloseEvent>
#include <vector>

namespace spectrel {

// A caption bar: 30 pixels high, dark blue, its caption in bold white 21-pixel text at the left.
class TKOR_Header : public QLabel {
public:
    explicit TKOR_Header(const QString& caption, QWidget* parent = nullptr) : QLabel(caption, parent) {
        setFixedHeight(30);
        setAutoFillBackground(true);
        QPalette colours = palette();
        colours.setColor(QPalette::Window, QColor(0, 0, 79));
        colours.setColor(QPalette::WindowText, Qt::white);
        setPalette(colours);
        QFont bold = font();
        bold.setBold(true);
        bold.setPixelSize(21);
        setFont(bold);
        setContentsMargins(6, 0, 0, 0);
    }
};

class TfrmZELFrame : public QMainWindow {
public:
    explicit TfrmZELFrame(QWidget* parent = nullptr) : QMainWindow(parent) {
        file_ = menuBar()->addMenu(QStringLiteral("&File"));
        file_->setObjectName(QStringLiteral("mnuFile"));
        edit_ = menuBar()->addMenu(QStringLiteral("&Edit"));
        edit_->setObjectName(QStringLiteral("mnuEdit"));
        help_ = menuBar()->addMenu(QStringLiteral("&Help"));
        help_->setObjectName(QStringLiteral("mnuHelp"));
        preferences_ = file_->addAction(QStringLiteral("Pre&ferences"));
        preferences_->setObjectName(QStringLiteral("mnuPreferences"));
        connect(preferences_, &QAction::triggered, this, [this] { ShowPreferences(); });
        file_->addSeparator();
        exit_ = file_->addAction(QStringLiteral("E&xit"));
        exit_->setObjectName(QStringLiteral("mnuExit"));
        connect(exit_, &QAction::triggered, this, &QWidget::close);
        toolBar_ = addToolBar(QStringLiteral("File"));
        toolBar_->setObjectName(QStringLiteral("FileToolBar"));
    }

    QMenu* FileMenu() const { return file_; }
    QMenu* EditMenu() const { return edit_; }
    QMenu* HelpMenu() const { return help_; }
    QToolBar* FileToolBar() const { return toolBar_; }
    // Puts `action` into the File menu before Preferences.
    void InsertFileMenuAction(QAction* action) { file_->insertAction(preferences_, action); }
    void SetFrameMenuItems(unsigned) {}

    void SetStatusPanelCount(int count) {
        for (int i = 0; i < count; ++i) {
            auto* panel = new QLabel(QStringLiteral(" "), this);
            panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
            statusBar()->addWidget(panel, i + 1 == count ? 1 : 0);
            panels_.push_back(panel);
        }
    }
    void SetStatusPanelText(int index, const QString& text) { panels_.at(static_cast<std::size_t>(index))->setText(text); }
    QString StatusPanelText(int index) const { return panels_.at(static_cast<std::size_t>(index))->text(); }
    void SetHint(QWidget* widget, const QString& hint) { widget->setToolTip(hint.section('|', 0, 0).trimmed()); }
    void SetHint(QAction* action, const QString& hint) { action->setToolTip(hint.section('|', 0, 0).trimmed()); }

    virtual void ShowPreferences() {}

protected:
    virtual void FormCreate() {}
    virtual bool FormCloseQuery() { return true; }
    virtual void FormClose() {}
    virtual void FormDestroy() {}

    void closeEvent(QCloseEvent* event) override {
        if (!FormCloseQuery()) {
            event->ignore();
            return;
        }
        FormClose();
        event->accept();
    }

private:
    QMenu* file_;
    QMenu* edit_;
    QMenu* help_;
    QAction* preferences_;
    QAction* exit_;
    QToolBar* toolBar_;
    std::vector<QLabel*> panels_;
};

}  // namespace spectrel
