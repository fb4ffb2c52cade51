#pragma once
// TZELHelpWindow: the program's help, a window of its own showing the HTML pages of the "help" folder shipped
// beside the program. On the left the contents (every topic in reading order) and the index (keywords, found
// as they are typed); on the right the page. The help commands, F1 and the help context numbers of the windows
// open it (TFrameEnvironment::openHelp).

#include <QString>
#include <QWidget>

#include "shell/fMainFrame.h"

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTabWidget;
class QTextBrowser;

namespace spectrel::shell {

class TZELHelpWindow : public QWidget {
    Q_OBJECT
public:
    // `folder` holds the pages (see FindHelpFolder).
    explicit TZELHelpWindow(QString folder, QWidget* parent = nullptr);

    // Shows the window on the contents, the index, the page on using the help, or the page of a context number
    // (the contents for a number without page), and brings it to the front.
    void Open(THelpCommand command, int context = 0);

    // The file name of the page shown ("index.html").
    QString CurrentPage() const;
    QString Folder() const { return folder_; }

    // The first folder of HelpFolderCandidates that holds the contents page; the first candidate when none does.
    static QString FindHelpFolder(const QString& executableFolder);

private:
    void ShowPage(const QString& page);
    void FillIndex(const QString& typed);
    void IndexActivated(QListWidgetItem* item);

    QString folder_;
    QTabWidget* navigation_ = nullptr;
    QListWidget* contents_ = nullptr;
    QLineEdit* indexEdit_ = nullptr;
    QListWidget* index_ = nullptr;
    QTextBrowser* browser_ = nullptr;
    QPushButton* back_ = nullptr;
};

}  // namespace spectrel::shell
