#pragma once
// The Edit menu's "Cut", "Copy" and "Paste": they act on the text control that has the focus (a text field, the
// notes memo, the edit part of a brand selector) and on plain text only; their enabled states follow the focused
// control and the clipboard.

#include <QObject>

#include "Code/SPX_ButtonListEditing.h"

class QAction;
class QMenu;
class QWidget;

namespace spectrel {

class TEditCommands : public QObject {
    Q_OBJECT
public:
    // Adds the three commands to `editMenu`.
    TEditCommands(QMenu* editMenu, QObject* parent = nullptr);

    // The focused control as the commands see it.
    static TFocusedControl FocusedControl(QWidget* focused);
    // Sets the enabled states from the focused control and the clipboard.
    void UpdateStates();

    QAction* CutAction() const { return cut_; }
    QAction* CopyAction() const { return copy_; }
    QAction* PasteAction() const { return paste_; }

private:
    void Cut();
    void Copy();
    void Paste();

    QAction* cut_;
    QAction* copy_;
    QAction* paste_;
};

}  // namespace spectrel
