#pragma once
// Open-file and save-file dialogs with QFileDialog.

#include <QString>

#include "platform/FileDialogs.h"

class QWidget;

namespace spectrel::platform::qt {

class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    std::optional<std::string> openFile(const FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;

    // "XML|*.xml|All|*.*" as QFileDialog writes it: "XML (*.xml);;All (*.*)"; ";" between patterns becomes a blank.
    static QString qtFilter(const std::string& filter);

private:
    std::optional<std::string> run(const FileDialogRequest& request, bool save);
    QWidget* parent_;
};

}  // namespace spectrel::platform::qt
