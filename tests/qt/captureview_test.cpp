// The capture view headless: opened from the main window, it follows the captures, shows which interval of a
// refused press lies outside the vocabulary while the refusal is on screen, zooms and fits, and exports files
// that parse (the SVG as XML, the ".ir" through our own reader).

#include <gtest/gtest.h>

// Before the Qt headers: its result's member "signals" is a word Qt takes for itself.
#include "virtualboard/SignalFiles.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QXmlStreamReader>
#include <functional>
#include <memory>

#include "Code/SPX_CaptureView.h"
#include "Code/SPX_Data_ButtonCodes.h"
#include "Code/SPX_Main.h"
#include "Code/SPX_processing_checks.h"
#include "testing/FakeSerialPort.h"
#include "testing/MemoryUserStore.h"
#include "testing/ScriptedFileDialogs.h"
#include "testing/ScriptedInputBox.h"
#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"
#include "virtualboard/BoardEngine.h"
#include "virtualboard/Generators.h"
#include "virtualboard/VirtualPortList.h"
#include "virtualboard/VirtualSerialPort.h"

#undef signals

namespace spectrel {
namespace {

namespace vb = virtualboard;
using platform::MessageButton;
using platform::MessageKind;

// Scripted boxes that run a check while each box is on screen, as a modal box lets the event loop run.
class LookingBoxes : public testing::ScriptedMessageBoxes {
public:
    MessageButton show(MessageKind kind, const std::string& text, platform::MessageButtons buttons,
                       const std::string& caption = {}) override {
        QApplication::processEvents();
        if (onShow) onShow(text);
        return ScriptedMessageBoxes::show(kind, text, buttons, caption);
    }
    std::function<void(const std::string&)> onShow;
};

class CaptureViewTest : public ::testing::Test {
protected:
    CaptureViewTest() {
        TMainWindowContext context{ports, clock, clock, boxes, input, store, Folder(), Folder()};
        context.fileDialogs = &dialogs;
        context.screenGeometry = [] { return QRect(0, 0, 1280, 1024); };
        window = std::make_unique<TfrmMain>(context);
        window->show();
        window->FormActivate();
        QComboBox* portList = window->findChild<QComboBox*>(QStringLiteral("ComboxComPort"));
        QTest::keyClick(portList, Qt::Key_End);  // VIRTUAL
        boxes.clear();
    }
    ~CaptureViewTest() override { window.reset(); }

    std::string Folder() const { return folder.path().toStdString() + "/"; }

    TfrmCaptureView* OpenView() {
        auto* button = window->findChild<QToolButton*>(QStringLiteral("btnCaptureView"));
        EXPECT_NE(button, nullptr);
        if (button == nullptr) return nullptr;
        QTest::mouseClick(button, Qt::LeftButton);
        return window->findChild<TfrmCaptureView*>(QStringLiteral("frmCaptureView"));
    }

    void Press(const vb::IrSignal& signal) { board.queuePress({signal, 250'000}); }
    void LearnNec() {
        Press(vb::necSignal(0, 0x45));
        Press(vb::necSignal(0, 0x45));
        Press(vb::necSignal(0, 0x46));
        boxes.script({MessageButton::Ok, MessageButton::Ok, MessageButton::Ok, MessageButton::Ok});
        window->findChild<QAction*>(QStringLiteral("BtnExploreProto"))->trigger();
        boxes.clear();
    }
    // "Learn" of the first button of the list, with one press of `signal`.
    void LearnButton(const vb::IrSignal& signal) {
        TbuttonCodes& buttons = window->Workspace().buttons;
        if (buttons.Count() == 0) buttons.Add("Power");
        window->RefreshButtonGrid();
        Press(signal);
        // The procedure itself, as the button list's Learn runs it for the selected button.
        TLearningProcedures procedures(
            TLearningModel{window->Workspace().context, window->Workspace().reader, boxes, window->Workspace().current,
                           window->Workspace().learnedCopy, window->Workspace().standards, buttons,
                           window->Workspace().exploreList, window->Workspace().rules},
            *window);
        bool stop = false;
        std::string data, data2;
        procedures.LearnButton("Power", stop, nullptr, data, data2);
    }

    static std::string Text(const QLabel* label) { return label->text().toStdString(); }

    QTemporaryDir folder;
    testing::SimulatedClock clock;
    testing::FakeSerialPort realPorts{clock};
    vb::BoardEngine board;
    vb::VirtualSerialPortProvider virtualPorts{board, [this] { return static_cast<double>(clock.nowUs()); }};
    vb::VirtualPortList ports{realPorts, virtualPorts};
    LookingBoxes boxes;
    testing::ScriptedInputBox input;
    testing::MemoryUserStore store;
    testing::ScriptedFileDialogs dialogs;
    std::unique_ptr<TfrmMain> window;
};

TEST_F(CaptureViewTest, OpensFromTheToolbarAndTheMenuAndFollowsTheCaptures) {
    auto* menuItem = window->findChild<QAction*>(QStringLiteral("mnuCaptureView"));
    ASSERT_NE(menuItem, nullptr);
    menuItem->trigger();
    TfrmCaptureView* view = window->CaptureView();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(view->windowTitle(), "Capture View");
    // Non-modal: the main window stays usable.
    EXPECT_FALSE(view->isModal());
    EXPECT_TRUE(window->findChild<QAction*>(QStringLiteral("BtnExploreProto"))->isEnabled());
    EXPECT_TRUE(view->PictureWidget().Picture().empty());

    LearnNec();
    QApplication::processEvents();
    const TCapturePicture& picture = view->PictureWidget().Picture();
    ASSERT_EQ(picture.records.size(), 3u);
    EXPECT_EQ(picture.records[0].frames[0].role, TFrameRole::Data);
    EXPECT_NE(Text(view->findChild<QLabel*>(QStringLiteral("lblSummary"))).find("3 records"), std::string::npos);
    EXPECT_FALSE(view->findChild<QLabel*>(QStringLiteral("lblComplaints"))->isVisible());

    // The toolbar button brings the same window back after it was closed.
    view->close();
    EXPECT_EQ(OpenView(), view);
    EXPECT_TRUE(view->isVisible());
}

TEST_F(CaptureViewTest, ARefusedPressShowsTheIntervalOutsideTheVocabularyWhileTheBoxIsUp) {
    LearnNec();
    TfrmCaptureView* view = OpenView();
    ASSERT_NE(view, nullptr);
    vb::IrSignal odd = vb::necSignal(0, 0x47);
    odd.once[1] = 2750;
    odd.once.back() += vb::kNecHeaderSpace - 2750;
    std::string complaintsDuringBox;
    int redDuringBox = -1;
    boxes.onShow = [&](const std::string& text) {
        if (text != kNoVocabularyMatchText) return;
        complaintsDuringBox = Text(view->findChild<QLabel*>(QStringLiteral("lblComplaints")));
        redDuringBox = view->PictureWidget().Picture().unmatchedCount;
    };
    boxes.script({MessageButton::Abort});
    LearnButton(odd);
    EXPECT_EQ(redDuringBox, 1);
    EXPECT_EQ(complaintsDuringBox.rfind("1 interval matches no vocabulary element", 0), 0u) << complaintsDuringBox;
    EXPECT_NE(complaintsDuringBox.find("record 0, frame 0, interval 1: pause"), std::string::npos)
        << complaintsDuringBox;

    // Hovering the red interval tells its distance.
    TCapturePictureWidget& picture = view->PictureWidget();
    view->resize(1000, 600);
    QApplication::processEvents();
    picture.Fit();
    const TPictureInterval& outside = picture.Picture().records[0].frames[0].intervals[1];
    const double x = TPictureLayout::kLeftMargin +
                     (outside.start + outside.duration / 2 - picture.LeftTime()) / picture.MicrosecondsPerPixel();
    const double y = TCapturePictureWidget::kAxisHeight + TPictureLayout::kRecordHeader +
                     TPictureLayout::kLetterBand + 3 + TPictureLayout::kMarkHeight / 2;
    const TPictureInterval* hovered = picture.IntervalAt(QPointF(x, y));
    ASSERT_EQ(hovered, &outside);
    const std::string hint = IntervalHint(*hovered, picture.Picture());
    EXPECT_NE(hint.find("Outside the vocabulary"), std::string::npos) << hint;
    EXPECT_NE(hint.find("window 189 us"), std::string::npos) << hint;

    // The picture shows red where the interval is (a space: a faint red box with a red border).
    const QImage shot = picture.grab().toImage();
    bool red = false;
    const int half = static_cast<int>(outside.duration / picture.MicrosecondsPerPixel() / 2) + 2;
    for (int dx = -half; dx <= half && !red; ++dx) {
        const QColor c = shot.pixelColor(static_cast<int>(x) + dx, static_cast<int>(y));
        red = c.red() > 200 && c.green() < 120 && c.blue() < 120;
    }
    EXPECT_TRUE(red);
}

TEST_F(CaptureViewTest, TheWheelZoomsAroundTheMouseAndFitShowsEverything) {
    LearnNec();
    TfrmCaptureView* view = OpenView();
    ASSERT_NE(view, nullptr);
    TCapturePictureWidget& picture = view->PictureWidget();
    const double fitted = picture.MicrosecondsPerPixel();
    const QPoint at(500, 80);
    QWheelEvent wheel(at, picture.mapToGlobal(at), QPoint(), QPoint(0, 360), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&picture, &wheel);
    EXPECT_LT(picture.MicrosecondsPerPixel(), fitted / 1.5);
    EXPECT_GT(picture.LeftTime(), 0);
    // Dragging to the right shows earlier times.
    const double before = picture.LeftTime();
    QTest::mousePress(&picture, Qt::LeftButton, Qt::NoModifier, at);
    QMouseEvent move(QEvent::MouseMove, QPointF(at + QPoint(100, 0)), picture.mapToGlobal(QPointF(at + QPoint(100, 0))),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&picture, &move);
    QTest::mouseRelease(&picture, Qt::LeftButton, Qt::NoModifier, at + QPoint(100, 0));
    EXPECT_LT(picture.LeftTime(), before);
    QTest::mouseClick(view->findChild<QPushButton*>(QStringLiteral("btnFit")), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(picture.MicrosecondsPerPixel(), fitted);
    EXPECT_DOUBLE_EQ(picture.LeftTime(), 0);
}

TEST_F(CaptureViewTest, ExportsParse) {
    LearnNec();
    TfrmCaptureView* view = OpenView();
    ASSERT_NE(view, nullptr);
    const std::string svg = Folder() + "capture.svg";
    const std::string png = Folder() + "capture.png";
    const std::string ir = Folder() + "capture.ir";
    const std::string txt = Folder() + "capture.txt";
    dialogs.choose(svg);
    QTest::mouseClick(view->findChild<QPushButton*>(QStringLiteral("btnExportPicture")), Qt::LeftButton);
    dialogs.choose(png);
    QTest::mouseClick(view->findChild<QPushButton*>(QStringLiteral("btnExportPicture")), Qt::LeftButton);
    dialogs.choose(ir);
    QTest::mouseClick(view->findChild<QPushButton*>(QStringLiteral("btnExportSignal")), Qt::LeftButton);
    dialogs.choose(txt);
    QTest::mouseClick(view->findChild<QPushButton*>(QStringLiteral("btnExportSignal")), Qt::LeftButton);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{});

    QFile svgFile(QString::fromStdString(svg));
    ASSERT_TRUE(svgFile.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&svgFile);
    int elements = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement) ++elements;
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_GT(elements, 10);

    const QImage image(QString::fromStdString(png));
    EXPECT_FALSE(image.isNull());
    EXPECT_GE(image.width(), 1200);

    // The three presses of the learning, as three raw signals in each signal file.
    for (const std::string& file : {ir, txt}) {
        const vb::SignalFileResult read = vb::readSignalFile(file);
        ASSERT_TRUE(read.ok) << read.message;
        ASSERT_EQ(read.signals.size(), 3u) << file;
        EXPECT_EQ(read.signals[2].name, "Record 2");
        EXPECT_NEAR(read.signals[0].carrierHz, 38000, 800);
    }
}

TEST_F(CaptureViewTest, AnExportThatCannotBeWrittenSaysSo) {
    LearnNec();
    TfrmCaptureView* view = OpenView();
    ASSERT_NE(view, nullptr);
    boxes.script({MessageButton::Ok});
    EXPECT_FALSE(view->ExportFlipperIr(Folder() + "missing/folder/capture.ir"));
    ASSERT_EQ(boxes.texts().size(), 1u);
    EXPECT_EQ(boxes.texts()[0].rfind("Cannot write " + Folder() + "missing/folder/capture.ir", 0), 0u);
}

}  // namespace
}  // namespace spectrel
