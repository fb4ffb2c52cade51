#include "platform/qt/QtFileDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

namespace spectrel::platform::qt {

QString QtFileDialogs::qtFilter(const std::string& filter) {
    QStringList entries;
    for (const auto& [label, patterns] : FilterPairs(filter)) {
        QString qpatterns = QString::fromStdString(patterns);
        qpatterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        entries << QString::fromStdString(label) + QStringLiteral(" (") + qpatterns + QStringLiteral(")");
    }
    return entries.join(QStringLiteral(";;"));
}

std::optional<std::string> QtFileDialogs::run(const FileDialogRequest& request, bool save) {
    // A dialog asked for while a modal window runs (the wizard's save page) goes above that window.
    QWidget* parent = QApplication::activeModalWidget();
    if (parent == nullptr) parent = parent_;
    QFileDialog dialog(parent, QString::fromStdString(request.title));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setNameFilter(qtFilter(request.filter));
    if (!request.defaultExtension.empty()) {
        QString suffix = QString::fromStdString(request.defaultExtension);
        if (suffix.startsWith(QLatin1Char('.'))) suffix.remove(0, 1);
        dialog.setDefaultSuffix(suffix);
    }
    const QString fileName = QString::fromStdString(request.fileName);
    const QFileInfo offered(fileName);
    if (!fileName.isEmpty() && offered.isAbsolute()) {
        dialog.setDirectory(offered.absolutePath());
        dialog.selectFile(offered.fileName());
    } else {
        if (!request.initialFolder.empty()) dialog.setDirectory(QString::fromStdString(request.initialFolder));
        if (!fileName.isEmpty()) dialog.selectFile(fileName);
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    return chosen.first().toStdString();
}

std::optional<std::string> QtFileDialogs::openFile(const FileDialogRequest& request) { return run(request, false); }

std::optional<std::string> QtFileDialogs::saveFile(const FileDialogRequest& request) { return run(request, true); }

}  // namespace spectrel::platform::qt
