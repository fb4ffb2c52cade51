#include "Code/SPX_ButtonDialogs.h"

#include "Code/SPX_Data_ButtonCodes.h"
#include "Code/SPX_Utf8.h"
#include "Code/SPX_processing_learning.h"
#include "platform/MessageBoxes.h"

namespace spectrel {

using platform::MessageButton;
using platform::MessageKind;

namespace {

// Runs `action` when the scope ends, also by an exception.
class TOnExit {
public:
    explicit TOnExit(std::function<void()> action) : action_(std::move(action)) {}
    ~TOnExit() {
        if (action_) action_();
    }
    TOnExit(const TOnExit&) = delete;
    TOnExit& operator=(const TOnExit&) = delete;

private:
    std::function<void()> action_;
};

std::string Utf8(char32_t c) {
    std::string out;
    AppendUtf8(out, c);
    return out;
}

bool IsLetter(char32_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char32_t c) { return c >= '0' && c <= '9'; }

bool ModeAccepts(int mode, const std::string& text, char32_t c) {
    switch (mode) {
        case kRestrictAnything:
            return true;
        case kRestrictLetters:
            return IsLetter(c);
        case kRestrictLettersDigits:
            return IsLetter(c) || IsDigit(c);
        case kRestrictDigits:
            return IsDigit(c);
        case kRestrictNumberName:
            return IsLetter(c) || IsDigit(c) || (c == '.' && text.find('.') == std::string::npos);
        default:
            return false;
    }
}

}  // namespace

// --- Edit Button ----------------------------------------------------------------------------------------------------

TButtonEditController::TButtonEditController(TButtonCode& button, TButtonEditEnvironment environment)
    : button_(button), environment_(std::move(environment)) {
    codeField_ = environment_.codeDisplayText ? environment_.codeDisplayText(button_) : button_.CodeText();
}

std::string TButtonEditController::NameText() const { return button_.Name(); }

void TButtonEditController::Learn(TCaptureProgressBar* progressBar, const std::function<void(const std::string&)>& show,
                                  const std::function<void(bool)>& enableButtons) {
    if (!environment_.current.valid) {
        environment_.boxes.show(MessageKind::Warning, learning_text::kNoProtocolForButton, MessageButton::Ok);
        return;
    }
    newCodeLearnt_ = false;
    if (enableButtons) enableButtons(false);
    auto showCode = [&](const std::string& text) {
        codeField_ = text;
        if (show) show(text);
    };
    const TOnExit enableAgain([&] {
        if (enableButtons) enableButtons(true);
    });
    showCode(dialog_text::kPressButtonNow);
    bool stop = false;
    std::string data;
    std::string data2;
    bool learnt = false;
    try {
        learnt = environment_.procedures.LearnButton(button_.Name(), stop, progressBar, data, data2) && !stop;
    } catch (...) {
        showCode(environment_.codeDisplayText ? environment_.codeDisplayText(button_) : button_.CodeText());
        throw;
    }
    if (learnt) {
        data_ = data;
        data2_ = data2;
        newCodeLearnt_ = true;
        showCode(dialog_text::kNewCodeLearnt);
    } else {
        showCode(environment_.codeDisplayText ? environment_.codeDisplayText(button_) : button_.CodeText());
    }
}

void TButtonEditController::Save(const std::string& nameText) {
    button_.SetName(nameText);
    if (newCodeLearnt_) {
        button_.SetCode(data_);
        button_.SetSecondCode(data2_);
    }
}

// --- Explorer Buttons -----------------------------------------------------------------------------------------------

TExploreSession::TExploreSession(TbuttonCodes& exploreList) { exploreList.Clear(); }

void TExploreSession::Explore(const std::function<void()>& explore, const std::function<void(bool)>& enableButtons) {
    if (exploring_) return;
    exploring_ = true;
    if (enableButtons) enableButtons(false);
    const TOnExit done([&] {
        exploring_ = false;
        if (enableButtons) enableButtons(true);
    });
    if (explore) explore();
}

// --- restricted text ------------------------------------------------------------------------------------------------

bool RestrictedEditAccepts(int mode, const std::string& extra, const std::string& text, char32_t typed) {
    if (typed == 8 || typed == 13) return true;
    if (ModeAccepts(mode, text, typed)) return true;
    return typed != 0 && extra.find(Utf8(typed)) != std::string::npos;
}

}  // namespace spectrel
