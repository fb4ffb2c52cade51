#include "shell/ZELHelpWindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

#include "shell/core/HelpTopics.h"

namespace spectrel::shell {

namespace {

constexpr int kPageRole = Qt::UserRole;
constexpr int kMinimumWidth = 720;
constexpr int kMinimumHeight = 480;
constexpr int kNavigationWidth = 220;

}  // namespace

TZELHelpWindow::TZELHelpWindow(QString folder, QWidget* parent) : QWidget(parent, Qt::Window), folder_(std::move(folder)) {
    setObjectName("frmHelp");
    setWindowTitle("Spectrel Help");
    setMinimumSize(kMinimumWidth, kMinimumHeight);

    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    back_ = new QPushButton("&Back", this);
    back_->setObjectName("btnHelpBack");
    back_->setEnabled(false);
    auto* contentsButton = new QPushButton("&Contents", this);
    contentsButton->setObjectName("btnHelpContents");
    buttons->addWidget(back_);
    buttons->addWidget(contentsButton);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    navigation_ = new QTabWidget(splitter);
    navigation_->setObjectName("tabHelpNavigation");
    navigation_->setMinimumWidth(kNavigationWidth);
    contents_ = new QListWidget(navigation_);
    contents_->setObjectName("lbxHelpContents");
    for (const THelpTopic& topic : HelpTopics()) {
        auto* item = new QListWidgetItem(QString::fromUtf8(topic.title), contents_);
        item->setData(kPageRole, QString::fromUtf8(topic.page));
    }
    navigation_->addTab(contents_, "Contents");

    auto* indexPage = new QWidget(navigation_);
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexLayout->addWidget(new QLabel("Type the word you are looking for:", indexPage));
    indexEdit_ = new QLineEdit(indexPage);
    indexEdit_->setObjectName("edtHelpIndex");
    index_ = new QListWidget(indexPage);
    index_->setObjectName("lbxHelpIndex");
    indexLayout->addWidget(indexEdit_);
    indexLayout->addWidget(index_, 1);
    navigation_->addTab(indexPage, "Index");
    FillIndex(QString());

    browser_ = new QTextBrowser(splitter);
    browser_->setObjectName("HelpBrowser");
    browser_->setSearchPaths({folder_});
    browser_->setOpenExternalLinks(true);
    splitter->addWidget(navigation_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter, 1);

    connect(contents_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { ShowPage(item->data(kPageRole).toString()); });
    connect(contents_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { ShowPage(item->data(kPageRole).toString()); });
    connect(indexEdit_, &QLineEdit::textChanged, this, &TZELHelpWindow::FillIndex);
    connect(indexEdit_, &QLineEdit::returnPressed, this, [this] {
        if (index_->count() > 0) IndexActivated(index_->currentItem() ? index_->currentItem() : index_->item(0));
    });
    connect(index_, &QListWidget::itemClicked, this, &TZELHelpWindow::IndexActivated);
    connect(index_, &QListWidget::itemActivated, this, &TZELHelpWindow::IndexActivated);
    connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
    connect(contentsButton, &QPushButton::clicked, this, [this] { Open(THelpCommand::Contents); });
    ShowPage(kContentsPage);
}

void TZELHelpWindow::Open(THelpCommand command, int context) {
    switch (command) {
        case THelpCommand::Contents:
            navigation_->setCurrentIndex(0);
            ShowPage(kContentsPage);
            break;
        case THelpCommand::Index:
            navigation_->setCurrentIndex(1);
            ShowPage(kIndexPage);
            indexEdit_->setFocus();
            break;
        case THelpCommand::HelpOnHelp:
            ShowPage(kHelpOnHelpPage);
            break;
        case THelpCommand::Context:
            ShowPage(QString::fromStdString(HelpPageForContext(context)));
            break;
    }
    // Opened from a modal window (the wizard, the preferences), the help belongs to that window: while a modal
    // window runs, only it and the windows that belong to it take input.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == this) modal = nullptr;
    winId();
    if (QWindow* handle = windowHandle())
        handle->setTransientParent(modal != nullptr ? modal->windowHandle() : nullptr);
    show();
    raise();
    activateWindow();
}

QString TZELHelpWindow::CurrentPage() const { return QFileInfo(browser_->source().path()).fileName(); }

QString TZELHelpWindow::FindHelpFolder(const QString& executableFolder) {
    const std::vector<std::string> candidates = HelpFolderCandidates(executableFolder.toStdString());
    for (const std::string& candidate : candidates) {
        const QString folder = QDir::cleanPath(QString::fromStdString(candidate));
        if (QFileInfo::exists(QDir(folder).filePath(kContentsPage))) return folder;
    }
    return QDir::cleanPath(QString::fromStdString(candidates.front()));
}

void TZELHelpWindow::ShowPage(const QString& page) {
    const QString path = QDir(folder_).filePath(page);
    if (!QFileInfo::exists(path)) {
        browser_->setHtml("<h1>Help not found</h1><p>The help page <b>" + page.toHtmlEscaped() +
                          "</b> is not in the folder " + QDir::toNativeSeparators(folder_).toHtmlEscaped() +
                          ". Install the help files beside the program.</p>");
        return;
    }
    browser_->setSource(QUrl::fromLocalFile(path));
    for (int i = 0; i < contents_->count(); ++i) {
        if (contents_->item(i)->data(kPageRole).toString() == page) contents_->setCurrentRow(i);
    }
}

void TZELHelpWindow::FillIndex(const QString& typed) {
    index_->clear();
    QListWidgetItem* first = nullptr;
    for (const THelpKeyword& keyword : HelpKeywords()) {
        auto* item = new QListWidgetItem(QString::fromUtf8(keyword.keyword), index_);
        item->setData(kPageRole, QString::fromUtf8(keyword.page));
        if (first == nullptr && !typed.isEmpty() && item->text().startsWith(typed, Qt::CaseInsensitive)) first = item;
    }
    if (first != nullptr) {
        index_->setCurrentItem(first);
        index_->scrollToItem(first);
    }
}

void TZELHelpWindow::IndexActivated(QListWidgetItem* item) {
    if (item != nullptr) ShowPage(item->data(kPageRole).toString());
}

}  // namespace spectrel::shell
