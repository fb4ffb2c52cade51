// Message boxes and file dialogs asked for while a modal window runs (the wizard, the preferences) go above that
// window, whatever window they were made for; with no modal window up they go above their own window.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <ostream>

#include "platform/qt/QtFileDialogs.h"
#include "platform/qt/QtMessageBoxes.h"

namespace {

using spectrel::platform::FileDialogRequest;
using spectrel::platform::MessageButton;
using spectrel::platform::MessageKind;
using spectrel::platform::qt::QtFileDialogs;
using spectrel::platform::qt::QtMessageBoxes;

// Runs `ask` (which shows a modal window of type T) and records the parent of that window before closing it.
template <typename T>
QWidget* ParentOfShown(const std::function<void()>& ask) {
    QWidget* parent = nullptr;
    QTimer::singleShot(0, [&parent] {
        auto* shown = qobject_cast<T*>(QApplication::activeModalWidget());
        if (shown == nullptr) return;
        parent = shown->parentWidget();
        shown->reject();
    });
    ask();
    return parent;
}

// Runs `ask` while `modal` is shown modally.
void WhileModal(QDialog& modal, const std::function<void()>& ask) {
    QTimer::singleShot(0, &modal, [&] {
        ask();
        modal.reject();
    });
    modal.exec();
}

struct AskCase {
    const char* name;
    std::function<QWidget*(QWidget& owner)> parentOfShown;
};

const AskCase kAskCases[] = {
    {"MessageBox",
     [](QWidget& owner) {
         return ParentOfShown<QMessageBox>([&owner] {
             QtMessageBoxes boxes(&owner);
             boxes.show(MessageKind::Error, "No file", MessageButton::Ok);
         });
     }},
    {"SaveFileDialog",
     [](QWidget& owner) {
         return ParentOfShown<QFileDialog>([&owner] {
             QtFileDialogs dialogs(&owner);
             dialogs.saveFile(FileDialogRequest{"Save IR Code", "XML|*.xml|All|*.*", ".", "", ""});
         });
     }},
};

void PrintTo(const AskCase& c, std::ostream* os) { *os << c.name; }

class DialogParent : public ::testing::TestWithParam<AskCase> {};

TEST_P(DialogParent, GoesAboveTheModalWindowThatRuns) {
    QWidget owner;
    owner.show();
    EXPECT_EQ(GetParam().parentOfShown(owner), &owner);

    QDialog modal(&owner);
    QWidget* whileModal = nullptr;
    WhileModal(modal, [&] { whileModal = GetParam().parentOfShown(owner); });
    EXPECT_EQ(whileModal, &modal);
}

INSTANTIATE_TEST_SUITE_P(Qt, DialogParent, ::testing::ValuesIn(kAskCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
