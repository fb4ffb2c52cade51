#include "virtualboard/ShippedProtocols.h"

#include <cstdint>
#include <optional>

#include "Code/SPX_ComPortUnit.h"
#include "Code/SPX_Data_ButtonCodes.h"
#include "Code/SPX_IniFile.h"
#include "Code/SPX_ProtocolDescription.h"
#include "Code/SPX_processing.h"
#include "Code/SPX_processing_learning.h"
#include "Code/SPX_replace.h"
#include "InfoBus/Code/KOR_TSubscriber.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "virtualboard/BoardEngine.h"
#include "virtualboard/Generators.h"
#include "virtualboard/ProtocolGenerators.h"
#include "virtualboard/VirtualSerialPort.h"

namespace spectrel::virtualboard {

namespace {

using platform::MessageButton;

// A clock that advances only when the message loop is pumped (1 ms per pump), so a learning takes no real time.
class TPumpedTime : public platform::Clock, public platform::MessagePump {
public:
    std::int64_t nowMs() override { return nowUs_ / 1000; }
    void pumpOnce() override { nowUs_ += 1000; }
    double nowUs() const { return static_cast<double>(nowUs_); }

private:
    std::int64_t nowUs_ = 0;
};

// The user of the learning: answers OK (or Yes) to every box and keeps its text; presses the other key when
// asked for ANOTHER one.
class TAcceptingBoxes : public platform::MessageBoxes {
public:
    MessageButton show(platform::MessageKind, const std::string& text, platform::MessageButtons buttons,
                       const std::string& = {}) override {
        texts.push_back(text);
        if (onShow) onShow(text);
        for (MessageButton b : {MessageButton::Ok, MessageButton::Yes, MessageButton::Ignore, MessageButton::Abort,
                                MessageButton::Cancel}) {
            if (buttons.has(b)) return b;
        }
        return MessageButton::None;
    }

    std::vector<std::string> texts;
    std::function<void(const std::string&)> onShow;
};

// The three presses of a learning: a key, the same key again, another key.
std::vector<IrSignal> Presses(const IrSignal& key, const IrSignal& other) { return {key, key, other}; }

// Three presses of a remote that flips a toggle with every press.
template <class Remote>
std::vector<IrSignal> TogglingPresses(Remote remote, std::uint8_t address, std::uint8_t key, std::uint8_t other) {
    IrSignal first = remote.press(address, key);
    IrSignal second = remote.press(address, key);
    return {first, second, remote.press(address, other)};
}

}  // namespace

std::vector<TShippedProtocol> ShippedProtocols() {
    return {
        {"NEC", Presses(necSignal(0x00, 0x45), necSignal(0x00, 0x46))},
        {"NEC extended", Presses(necExtendedSignal(0x7F86, 0x12), necExtendedSignal(0x7F86, 0x13))},
        {"Samsung32", Presses(samsung32Signal(0x07, 0x02), samsung32Signal(0x07, 0x07))},
        {"JVC", Presses(jvcSignal(0x03, 0x17), jvcSignal(0x03, 0x18))},
        {"RC5", TogglingPresses(Rc5Remote(), 0x00, 0x0C, 0x10)},
        {"RC5 extended", TogglingPresses(Rc5Remote(), 0x05, 0x45, 0x50)},
        {"RC6 mode 0", TogglingPresses(Rc6Remote(false), 0x00, 0x0C, 0x10)},
        {"RC6 mode 6 32-bit", TogglingPresses(Rc6Remote(true), 0x04, 0x0C, 0x10)},
        {"Sony SIRC 12", Presses(sirc12Signal(0x01, 0x15), sirc12Signal(0x01, 0x12))},
        {"Sony SIRC 15", Presses(sirc15Signal(0x97, 0x1A), sirc15Signal(0x97, 0x1B))},
        {"Sony SIRC 20", Presses(sirc20Signal(0x1A, 0x39, 0xE2), sirc20Signal(0x1A, 0x3A, 0xE2))},
        {"Panasonic Kaseikyo 48",
         Presses(kaseikyoSignal(kPanasonicVendor, 0x80, 0x00, 0x3D), kaseikyoSignal(kPanasonicVendor, 0x80, 0x00, 0x20))},
        {"Sharp", Presses(sharpSignal(0x01, 0x16), sharpSignal(0x01, 0x17))},
        {"Denon", Presses(denonSignal(0x0C, 0x11), denonSignal(0x0C, 0x12))},
        {"RCA", Presses(rcaSignal(0x0F, 0x2A), rcaSignal(0x0F, 0x2B))},
        {"Pioneer", Presses(pioneerSignal(0xAA, 0x1C), pioneerSignal(0xAA, 0x1D))},
        {"Mitsubishi", Presses(mitsubishiSignal(0x01, 0x10), mitsubishiSignal(0x01, 0x11))},
        {"Bose", Presses(boseSignal(0x4C), boseSignal(0x4D))},
    };
}

TShippedLearning LearnShippedProtocol(const std::string& name, const std::vector<IrSignal>& presses, double holdUs) {
    TShippedLearning result;
    if (presses.empty()) {
        result.message = "no presses";
        return result;
    }
    TPumpedTime time;
    BoardEngine board;
    VirtualSerialPortProvider ports(board, [&time] { return time.nowUs(); });
    TAcceptingBoxes boxes;
    TReaderLink link(ports, time, time, boxes);
    link.SetReaderPortName(kVirtualPortName);
    TAnalysisContext context(boxes, time, time);
    Tprotocol_descriptor current;
    Tprotocol_descriptor learned;
    Tstandard_protocols standards;
    TInfoBus bus;
    TbuttonCodes buttons{bus};
    TbuttonCodes explore{bus};
    TReplaceRule rules;
    for (TRec& rule : DefaultAutomaticRules()) rules.Add(rule);
    TLearningWindow window;
    TLearningProcedures procedures({context, link, boxes, current, learned, standards, buttons, explore, rules},
                                   window);
    procedures.options.MatchToStandardProtocol = false;

    // Each capture plays the next press; after the last one the last press again (a retry presses it again).
    std::size_t next = 0;
    board.setPressSource([&]() -> std::optional<KeyPress> {
        const IrSignal& signal = presses[std::min(next, presses.size() - 1)];
        ++next;
        return KeyPress{signal, holdUs};
    });
    TTextLines log;
    procedures.LearnProtocol(nullptr, &log, nullptr);
    result.boxes = boxes.texts;
    if (!current.valid) {
        result.message = name + ": no protocol learned";
        for (const std::string& line : log.Lines()) result.message += "\n  " + StripColourCodes(line);
        return result;
    }
    result.descriptor = current;
    result.descriptor.name = name;
    result.descriptor.valid = true;
    result.descriptor.standard = true;
    result.ok = true;
    return result;
}

TShippedSection WriteShippedProtocols(TIniFile& settings) {
    TShippedSection result;
    Tstandard_protocols table;
    const std::vector<TShippedProtocol> shipped = ShippedProtocols();
    if (shipped.size() > table.protocols.size()) {
        result.message = "more protocols than the table holds";
        return result;
    }
    for (const TShippedProtocol& entry : shipped) {
        TShippedLearning learned = LearnShippedProtocol(entry.name, entry.presses);
        if (!learned.ok) {
            result.message = learned.message;
            return result;
        }
        table.protocols[static_cast<std::size_t>(table.count++)] = learned.descriptor;
    }
    if (const TIniResult erased = settings.EraseSection(kProtocolsSection); !erased) {
        result.message = erased.message;
        return result;
    }
    if (const TDataResult saved = SaveStandardProtocols(table, settings); !saved) {
        result.message = saved.message;
        return result;
    }
    result.ok = true;
    return result;
}

}  // namespace spectrel::virtualboard
