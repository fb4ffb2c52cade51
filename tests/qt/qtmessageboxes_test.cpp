// QMessageBox behind our message boxes: icon by kind, line breaks, the buttons offered and the answer.

#include "platform/qt/QtMessageBoxes.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <optional>

namespace {

using spectrel::platform::MessageButton;
using spectrel::platform::MessageButtons;
using spectrel::platform::MessageKind;
using spectrel::platform::qt::QtMessageBoxes;

struct SeenBox {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString text;
    QString title;
    QMessageBox::StandardButtons buttons;
};

// Shows a box and, once it is up, records what it shows and presses `press` (or closes it with Escape).
MessageButton ShowAndAnswer(MessageKind kind, const std::string& text, MessageButtons buttons,
                            std::optional<QMessageBox::StandardButton> press, SeenBox& seen) {
    std::function<void()> answer = [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            QTimer::singleShot(10, answer);
            return;
        }
        seen = {box->icon(), box->text(), box->windowTitle(), box->standardButtons()};
        if (press)
            box->button(*press)->click();
        else
            box->reject();
    };
    QTimer::singleShot(0, answer);
    QtMessageBoxes boxes;
    return boxes.show(kind, text, buttons, "Spectrel test");
}

struct BoxCase {
    std::string name;
    MessageKind kind;
    MessageButtons buttons;
    std::optional<QMessageBox::StandardButton> press;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons shown;
    MessageButton answer;
};

class QtMessageBoxTable : public ::testing::TestWithParam<BoxCase> {};

TEST_P(QtMessageBoxTable, ShowsAndAnswers) {
    const BoxCase& c = GetParam();
    SeenBox seen;
    EXPECT_EQ(ShowAndAnswer(c.kind, "First line\rSecond line", c.buttons, c.press, seen), c.answer);
    EXPECT_EQ(seen.icon, c.icon);
    EXPECT_EQ(seen.text, QString("First line\nSecond line"));
    EXPECT_EQ(seen.title, QString("Spectrel test"));
    EXPECT_EQ(seen.buttons, c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Qt, QtMessageBoxTable,
    ::testing::Values(BoxCase{"ErrorOk", MessageKind::Error, MessageButton::Ok, QMessageBox::Ok, QMessageBox::Critical,
                              QMessageBox::Ok, MessageButton::Ok},
                      BoxCase{"ConfirmationNo", MessageKind::Confirmation, MessageButton::Yes | MessageButton::No,
                              QMessageBox::No, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
                              MessageButton::No},
                      BoxCase{"WarningRetry", MessageKind::Warning,
                              MessageButton::Abort | MessageButton::Retry | MessageButton::Ignore, QMessageBox::Retry,
                              QMessageBox::Warning, QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore,
                              MessageButton::Retry},
                      BoxCase{"InformationOkCancel", MessageKind::Information,
                              MessageButton::Ok | MessageButton::Cancel, QMessageBox::Cancel, QMessageBox::Information,
                              QMessageBox::Ok | QMessageBox::Cancel, MessageButton::Cancel},
                      // Closed without a button: the escaping answer among those offered.
                      BoxCase{"EscapeMeansCancel", MessageKind::Confirmation, MessageButton::Ok | MessageButton::Cancel,
                              std::nullopt, QMessageBox::Question, QMessageBox::Ok | QMessageBox::Cancel,
                              MessageButton::Cancel},
                      BoxCase{"EscapeWithOnlyOk", MessageKind::Error, MessageButton::Ok, std::nullopt,
                              QMessageBox::Critical, QMessageBox::Ok, MessageButton::Ok}),
    [](const auto& info) { return info.param.name; });

TEST(QtMessageBoxes, CarriageReturnsBreakLines) {
    EXPECT_EQ(QtMessageBoxes::displayText("one\rtwo\r\nthree\n"), QString("one\ntwo\nthree\n"));
}

}  // namespace
