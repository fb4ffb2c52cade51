#pragma once
// The middle column of the work area: caption "IR Protocol", the commands Learn, Select and Edit, the protocol
// name and the coloured description list `lbxProtocols`. The commands themselves run in TProtocolColumn and the
// learning procedures; this widget only holds the controls.

#include <QWidget>

#include "Code/SPX_AppSettings.h"

class QAction;
class QLineEdit;
class QToolBar;

namespace spectrel {

class TColouredListWidget;

class TProtocolColumnPanel : public QWidget {
    Q_OBJECT
public:
    TProtocolColumnPanel(const TListPalette& palette, QWidget* parent = nullptr);

    QAction* LearnAction() const { return learn_; }
    QAction* SelectAction() const { return select_; }
    QAction* EditAction() const { return edit_; }
    TColouredListWidget& ProtocolList() const { return *list_; }
    void ShowProtocolName(const QString& name);

signals:
    void learnClicked();
    void selectClicked();
    void editClicked();

private:
    QToolBar* toolBar_ = nullptr;
    QAction* learn_ = nullptr;
    QAction* select_ = nullptr;
    QAction* edit_ = nullptr;
    QLineEdit* name_ = nullptr;
    TColouredListWidget* list_ = nullptr;
};

}  // namespace spectrel
