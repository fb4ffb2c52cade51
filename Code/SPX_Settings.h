#pragma once
// The decoding parameters window "IR decoding parameters": in parameter mode the three decoding parameters of
// the analysis, in protocol mode the fields of the current protocol. A tool window that stays on top, created
// once (hidden) by the main window and kept for the whole run; closing it only hides it. The window given as
// parent owns it (it is deleted with it) but is not its Qt parent, so the main window may disable itself while
// this window stays usable.
//
// Object names, for tests and screenshots:
//   "ComboxValue"      the value selector (hidden until a line is clicked)
//   "btnAccept"        "Accept new setting" (hidden until the value changes)
//   "lbxParameters"    the list of lines, with the context menu "Insert" / "Delete" on vocabulary lines
//   "lblSelectParameter" the label "Select parameter to edit"
//
// Every decision lives in TDecodingLines (Code/SPX_DecodingLines.h); this window wires the controls to it.

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include "Code/SPX_Data.h"
#include "Code/SPX_DecodingLines.h"
#include "platform/MessageBoxes.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QAction;

namespace spectrel {

class TAnalysisContext;
class TSettingsFormBoxes;

class TIR_Settings_form : public QWidget {
    Q_OBJECT

public:
    // `describeProtocol` renders the main window's protocol description list again; it runs after every
    // rebuild of the lines.
    TIR_Settings_form(TAnalysisContext& context, Tprotocol_descriptor& current, const Tstandard_protocols& standard,
                      platform::MessageBoxes& boxes, std::function<void()> describeProtocol,
                      QWidget* parent = nullptr);
    ~TIR_Settings_form() override;

    // The main window picks the mode before it shows the window.
    void SelectParameterMode();
    void SelectProtocolMode();
    // A protocol learning starts: the list goes back to black and the protocol is no longer "modified".
    void ClearModified();
    bool Modified() const;

    // The lines as listed, for the main window and tests.
    const TDecodingLines& Lines() const { return *lines_; }

signals:
    // The window was hidden (closed by the user or hidden by the program).
    void hidden();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void SelectMode(TDecodingMode mode);
    void FormActivate();
    // Builds the lines afresh and lists them.
    void RebuildLines();
    // Lists the lines as the controller last built them.
    void FillList();
    void ListClick(int row);
    void ValueChange();
    void AcceptClick();
    void InsertClick();
    void DeleteClick();
    void ShowContextMenu(const QPoint& at);

    QPointer<QWidget> owner_;  // the main window
    std::unique_ptr<TSettingsFormBoxes> boxes_;
    std::unique_ptr<TDecodingLines> lines_;
    std::function<void()> describeProtocol_;
    QLabel* label_ = nullptr;
    QComboBox* selector_ = nullptr;
    QPushButton* accept_ = nullptr;
    QListWidget* list_ = nullptr;
    int selectedLine_ = -1;
    bool filling_ = false;     // the controls are being filled by the program, not changed by the user
    bool centred_ = false;     // placed over the main window at its first showing
    int activations_ = 0;      // times the window became the active one
    QAction* insertAction_ = nullptr;
    QAction* deleteAction_ = nullptr;
};

}  // namespace spectrel
