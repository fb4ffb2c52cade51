#pragma once
// The Add Buttons dialog: a multi-line field in which each line names a new button.

#include <QDialog>
#include <string>
#include <vector>

class QPlainTextEdit;
class QPushButton;

namespace spectrel {

class TfrmAddButtons : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAddButtons(QWidget* parent = nullptr);

    void SetLines(const std::vector<std::string>& lines);
    // The field's lines, one entry per line, empty lines included.
    std::vector<std::string> Lines() const;

private:
    QPlainTextEdit* memButtons_;
    QPushButton* btnAdd_;
    QPushButton* btnCancel_;
};

// Shows the dialog with `lines` as the initial lines; on "Add" the list receives the final lines and the
// result is true.
bool ExecuteAddButtons(std::vector<std::string>& lines, QWidget* parent = nullptr);

}  // namespace spectrel
