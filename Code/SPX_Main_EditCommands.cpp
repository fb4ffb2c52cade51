#include "Code/SPX_Main_EditCommands.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <type_traits>

namespace spectrel {

namespace {

// The action belongs to `owner`, so that it lives exactly as long as the commands that update it.
QAction* Command(QObject* owner, QMenu* menu, const QString& text, const char* objectName, const QString& hint,
                 const QKeySequence& shortcut = {}) {
    auto* action = new QAction(text, owner);
    menu->addAction(action);
    action->setObjectName(QString::fromLatin1(objectName));
    action->setToolTip(hint);
    action->setStatusTip(hint);
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    return action;
}

bool ClipboardHasText() {
    const QClipboard* clipboard = QApplication::clipboard();
    return clipboard && !clipboard->text().isEmpty();
}

}  // namespace

TEditCommands::TEditCommands(QMenu* editMenu, QObject* parent) : QObject(parent) {
    cut_ = Command(this, editMenu, QStringLiteral("Cut"), "mnuCut", QStringLiteral("Move highlighted text to the Windows clipboard"));
    copy_ = Command(this, editMenu, QStringLiteral("Copy"), "mnuCopy",
                    QStringLiteral("Copy highlighted text to the Windows clipboard"), QKeySequence(QStringLiteral("Ctrl+C")));
    paste_ = Command(this, editMenu, QStringLiteral("Paste"), "mnuPaste",
                     QStringLiteral("Copy text from the Windows clipboard to the currently slected position"),
                     QKeySequence(QStringLiteral("Ctrl+V")));
    // The focused field handles its own keys first; the menu's shortcuts reach only what has none.
    for (QAction* action : {cut_, copy_, paste_}) action->setShortcutContext(Qt::WindowShortcut);
    connect(cut_, &QAction::triggered, this, &TEditCommands::Cut);
    connect(copy_, &QAction::triggered, this, &TEditCommands::Copy);
    connect(paste_, &QAction::triggered, this, &TEditCommands::Paste);
    connect(editMenu, &QMenu::aboutToShow, this, &TEditCommands::UpdateStates);
    connect(qApp, &QApplication::focusChanged, this, &TEditCommands::UpdateStates);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &TEditCommands::UpdateStates);
    UpdateStates();
}

TFocusedControl TEditCommands::FocusedControl(QWidget* focused) {
    TFocusedControl control;
    if (focused == nullptr) return control;
    if (auto* combo = qobject_cast<QComboBox*>(focused)) {
        if (!combo->isEditable()) return {TFocusKind::ListDropDown, true, false};
        focused = combo->lineEdit();
    }
    if (auto* edit = qobject_cast<QLineEdit*>(focused)) {
        const bool inCombo = qobject_cast<QComboBox*>(edit->parentWidget()) != nullptr;
        return {inCombo ? TFocusKind::EditableDropDown : TFocusKind::TextField, edit->isReadOnly(),
                edit->hasSelectedText()};
    }
    if (auto* memo = qobject_cast<QPlainTextEdit*>(focused))
        return {TFocusKind::Memo, memo->isReadOnly(), memo->textCursor().hasSelection()};
    if (auto* memo = qobject_cast<QTextEdit*>(focused))
        return {TFocusKind::Memo, memo->isReadOnly(), memo->textCursor().hasSelection()};
    return {TFocusKind::Other, false, false};
}

void TEditCommands::UpdateStates() {
    const TClipboardCommandStates states =
        ClipboardCommandStates(FocusedControl(QApplication::focusWidget()), ClipboardHasText());
    cut_->setEnabled(states.cut);
    copy_->setEnabled(states.copy);
    paste_->setEnabled(states.paste);
}

namespace {
template <typename Act>
void OnFocusedText(Act act) {
    QWidget* focused = QApplication::focusWidget();
    if (auto* combo = qobject_cast<QComboBox*>(focused)) focused = combo->lineEdit();
    if (auto* edit = qobject_cast<QLineEdit*>(focused)) act(edit);
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(focused)) act(memo);
    else if (auto* text = qobject_cast<QTextEdit*>(focused)) act(text);
}
}  // namespace

void TEditCommands::Cut() {
    UpdateStates();
    if (cut_->isEnabled()) OnFocusedText([](auto* w) { w->cut(); });
}

void TEditCommands::Copy() {
    UpdateStates();
    if (copy_->isEnabled()) OnFocusedText([](auto* w) { w->copy(); });
}

void TEditCommands::Paste() {
    UpdateStates();
    // Plain text only: a field takes the clipboard's text, never its other formats.
    if (!paste_->isEnabled()) return;
    const QString text = QApplication::clipboard()->text();
    OnFocusedText([&](auto* w) {
        if constexpr (std::is_same_v<decltype(w), QLineEdit*>)
            w->insert(text);
        else
            w->insertPlainText(text);
    });
}

}  // namespace spectrel
