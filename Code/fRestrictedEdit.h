#pragma once
// The restricted text dialog: one line of text in which only the characters of a filter mode (and a few extra
// ones) can be typed; any other character is dropped with a beep. Enter accepts the text, even an empty one.

#include <QDialog>
#include <functional>
#include <string>

class QLabel;
class QLineEdit;

namespace spectrel {

namespace shell {
class TZELfrmButtons;
}

class TfrmRestictedEdit : public QDialog {
    Q_OBJECT
public:
    explicit TfrmRestictedEdit(QWidget* parent = nullptr);

    // Stores the mode and the extra characters, sets the prompt and the text, and OK's enabled state.
    void Prepare(const std::string& text, const std::string& prompt, const std::string& extra, int mode);
    std::string Text() const;
    // What sounds when a character is refused (the system beep by default).
    void SetBeep(std::function<void()> beep) { beep_ = std::move(beep); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void TextChanged();
    // Drops the characters the filter refuses from text that arrived other than by typing (pasted, dropped).
    void TextEdited(const QString& text);
    bool Accepts(const QString& textBefore, char32_t c) const;

    QLabel* lblPrompt_;
    QLineEdit* edtButton_;
    shell::TZELfrmButtons* buttons_;
    int mode_ = 0;
    std::string extra_;
    std::function<void()> beep_;
};

// Shows the dialog; true when closed with OK, the entered text then in `text`.
bool ExecuteRestrictedEdit(std::string& text, const std::string& prompt, const std::string& extra, int mode,
                           QWidget* parent = nullptr);

}  // namespace spectrel
