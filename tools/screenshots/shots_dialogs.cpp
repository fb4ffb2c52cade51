// Pictures of the decoding parameters window in both modes, the Select Standard Protocol dialog and the button
// image preview.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>

#include "Code/KOR_FrmImagePreview.h"
#include "Code/KOR_frmSelectStandardProtocol.h"
#include "Code/SPX_ComPortUnit.h"
#include "Code/SPX_Data_ButtonCodes.h"
#include "Code/SPX_ProtocolDescription.h"
#include "Code/SPX_Settings.h"
#include "Code/SPX_processing.h"
#include "Code/SPX_processing_learning.h"
#include "Code/SPX_replace.h"
#include "InfoBus/Code/KOR_TSubscriber.h"
#include "testing/MemoryUserStore.h"
#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"
#include "tools/screenshots/Screenshots.h"
#include "virtualboard/BoardEngine.h"
#include "virtualboard/Generators.h"
#include "virtualboard/VirtualSerialPort.h"

namespace spectrel::screenshots {
namespace {

namespace vb = virtualboard;

// The analysis, the current protocol and the tables the decoding parameters window works on.
struct DecodingRig {
    testing::SimulatedClock clock;
    testing::ScriptedMessageBoxes boxes;
    TAnalysisContext context{boxes, clock, clock};
    Tprotocol_descriptor current;
    Tstandard_protocols standards;

    // Learns an NEC remote on the in-process virtual board: one key twice, another once.
    void LearnNec() {
        vb::BoardEngine board;
        vb::VirtualSerialPortProvider ports{board, [this] { return static_cast<double>(clock.nowUs()); }};
        TReaderLink link{ports, clock, clock, boxes};
        link.SetReaderPortName(vb::kVirtualPortName);
        Tprotocol_descriptor learned;
        TInfoBus bus;
        TbuttonCodes buttons{bus};
        TbuttonCodes explore{bus};
        TReplaceRule rules;
        for (TRec& rule : DefaultAutomaticRules()) rules.Add(rule);
        TLearningWindow window;
        TLearningProcedures procedures{{context, link, boxes, current, learned, standards, buttons, explore, rules},
                                       window};
        for (std::uint8_t key : {0x45, 0x45, 0x46}) board.queuePress({vb::necSignal(0, key), 250'000});
        TTextLines messages;
        procedures.LearnProtocol(nullptr, &messages, nullptr);
    }
};

QListWidget& ListOf(QWidget& window, const char* name) { return *window.findChild<QListWidget*>(name); }

// Selecting a row is what a click on it does.
void ClickRow(QListWidget& list, int row) { list.setCurrentRow(row); }

SPECTREL_SCREENSHOT("decoding_parameters") {
    DecodingRig rig;
    TIR_Settings_form form(rig.context, rig.current, rig.standards, rig.boxes, [] {});
    form.SelectParameterMode();
    form.resize(520, 200);
    form.show();
    Settle();
    ClickRow(ListOf(form, "lbxParameters"), 0);
    return Grab(form);
}

SPECTREL_SCREENSHOT("decoding_parameters_modified") {
    DecodingRig rig;
    TIR_Settings_form form(rig.context, rig.current, rig.standards, rig.boxes, [] {});
    form.SelectParameterMode();
    form.resize(520, 200);
    form.show();
    Settle();
    ClickRow(ListOf(form, "lbxParameters"), 0);
    auto* selector = form.findChild<QComboBox*>("ComboxValue");
    selector->setCurrentIndex(2);
    form.findChild<QPushButton*>("btnAccept")->click();
    ClickRow(ListOf(form, "lbxParameters"), 2);
    selector->setCurrentIndex(3);
    return Grab(form);
}

SPECTREL_SCREENSHOT("decoding_parameters_protocol") {
    DecodingRig rig;
    rig.LearnNec();
    TIR_Settings_form form(rig.context, rig.current, rig.standards, rig.boxes, [] {});
    form.SelectProtocolMode();
    form.resize(560, 300);
    form.show();
    Settle();
    QListWidget& list = ListOf(form, "lbxParameters");
    int vocabulary = 0;
    for (int i = 0; i < list.count(); ++i)
        if (list.item(i)->text().startsWith("  Vocabulary element B")) vocabulary = i;
    ClickRow(list, vocabulary);
    auto* selector = form.findChild<QComboBox*>("ComboxValue");
    selector->lineEdit()->setText("1700");
    return Grab(form);
}

SPECTREL_SCREENSHOT("select_standard_protocol") {
    Tstandard_protocols table;
    const char* names[] = {"NEC", "NEC Extended", "RC5", "RC6", "Sony SIRC 12", "Samsung", "JVC", "Halvren"};
    int count = 0;
    for (const char* name : names) {
        table.protocols[static_cast<std::size_t>(count)].valid = true;
        table.protocols[static_cast<std::size_t>(count)].name = name;
        ++count;
    }
    table.count = count;
    TfrmSelectStandardProtocol dialog(table);
    dialog.show();
    Settle();
    ClickRow(ListOf(dialog, "lbProtocols"), 2);
    return Grab(dialog);
}

// A 16 x 16 picture with a magenta background (shown in the window colour) and a coloured sign.
QImage ButtonPicture(const QColor& colour, int shape) {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 255));
    QPainter painter(&image);
    painter.setPen(colour.darker(150));
    painter.setBrush(colour);
    switch (shape) {
        case 0:
            painter.drawEllipse(2, 2, 11, 11);
            break;
        case 1:
            painter.drawPolygon(QPolygon({QPoint(3, 2), QPoint(13, 8), QPoint(3, 13)}));
            break;
        case 2:
            painter.drawRect(3, 3, 9, 9);
            break;
        default:
            painter.drawRect(2, 6, 11, 3);
            painter.drawRect(6, 2, 3, 11);
            break;
    }
    return image;
}

SPECTREL_SCREENSHOT("image_preview") {
    QTemporaryDir folder;
    const struct {
        const char* file;
        QColor colour;
        int shape;
    } pictures[] = {
        {"Power.bmp", Qt::red, 0},          {"Play.bmp", QColor(0, 160, 0), 1}, {"Stop.bmp", Qt::darkGray, 2},
        {"VOLUME.bmp", Qt::blue, 3},        {"Vanta.bmp", QColor(0, 128, 128), 0}, {"Mute.bmp", Qt::black, 2},
        {"CH.UP.bmp", QColor(200, 120, 0), 1}, {"Record.bmp", QColor(200, 0, 0), 0},
    };
    for (const auto& p : pictures) ButtonPicture(p.colour, p.shape).save(folder.filePath(p.file), "BMP");
    testing::MemoryUserStore store;
    TfrmImagePreview preview(folder.path(), store);
    preview.resize(700, 320);
    return Grab(preview);
}

}  // namespace
}  // namespace spectrel::screenshots
