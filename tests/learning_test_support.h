#pragma once
// A whole learning set-up for the procedure tests: the virtual board attached in-process on a simulated clock,
// the reader link, the analysis context, the current protocol, the button and explore lists, the rules and a
// window that records what the procedures asked of it. Message boxes answer from a script.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Code/SPX_ComPortUnit.h"
#include "Code/SPX_Data.h"
#include "Code/SPX_Data_ButtonCodes.h"
#include "Code/SPX_ProtocolDescription.h"
#include "Code/SPX_processing.h"
#include "Code/SPX_processing_learning.h"
#include "Code/SPX_replace.h"
#include "InfoBus/Code/KOR_TSubscriber.h"
#include "testing/ScriptedMessageBoxes.h"
#include "testing/SimulatedClock.h"
#include "virtualboard/BoardEngine.h"
#include "virtualboard/Generators.h"
#include "virtualboard/VirtualSerialPort.h"

namespace spectrel::test {

namespace vb = virtualboard;
using platform::MessageButton;
using platform::MessageKind;

// Records every request of the procedures.
class RecordingWindow : public TLearningWindow {
public:
    void UpdateCommandStates(bool idle) override { commandStates.push_back(idle); }
    void RefreshButtonGrid() override { ++gridRefreshes; }
    void EnableMainWindow(bool enabled) override { mainWindowStates.push_back(enabled); }
    void ShowProtocolName(const std::string& name) override { protocolName = name; }
    void ResetDecodingSettingsChanged() override { ++decodingResets; }
    int SelectedButtonIndex() const override { return selected; }
    TColouredList* ProtocolList() override { return &protocolList; }

    std::vector<bool> commandStates;
    std::vector<bool> mainWindowStates;
    int gridRefreshes = 0;
    int decodingResets = 0;
    std::string protocolName = "unset";
    int selected = -1;
    TTextLines protocolList;
};

// NEC with the bit count changed: the data frame gets shorter by two intervals per bit left out.
inline vb::IrSignal NecWithBits(int bits, std::uint32_t value) {
    vb::IrSignal signal = vb::necSignal(0, 0);
    signal.once = {vb::kNecHeaderMark, vb::kNecHeaderSpace};
    for (int i = 0; i < bits; ++i) {
        signal.once.push_back(vb::kNecBitMark);
        signal.once.push_back((value >> (i % 32)) & 1 ? vb::kNecOneSpace : vb::kNecZeroSpace);
    }
    signal.once.push_back(vb::kNecBitMark);
    signal.once.push_back(vb::kNecFramePeriod - vb::totalDurationUs(signal.once));
    return signal;
}

// The signal with its second space made `us` long; the frame keeps its period.
inline vb::IrSignal WithShortSpace(vb::IrSignal signal, double us) {
    const double taken = signal.once[3] - us;
    signal.once[3] = us;
    signal.once.back() += taken;
    return signal;
}

class LearningRig : public ::testing::Test {
protected:
    static constexpr platform::MessageButton Ok = platform::MessageButton::Ok;

    LearningRig() {
        link.SetReaderPortName(vb::kVirtualPortName);
        for (TRec& rule : DefaultAutomaticRules()) rules.Add(rule);
    }

    void Press(const vb::IrSignal& signal, double holdUs = 250'000) { board.queuePress({signal, holdUs}); }

    // One key twice and another once, every box answered as scripted; without a script, the four boxes of a
    // learning that goes well (lose everything, first press, same key, another key) are answered OK.
    void LearnNec(std::uint8_t key = 0x45, std::uint8_t other = 0x46) {
        Press(vb::necSignal(0, key));
        Press(vb::necSignal(0, key));
        Press(vb::necSignal(0, other));
        if (boxes.pendingAnswers() == 0) boxes.script({Ok, Ok, Ok, Ok});
        procedures.LearnProtocol(nullptr, &messages, &description);
    }

    // A learned protocol, the boxes and the window's record then cleared.
    void LearnNecQuietly() {
        LearnNec();
        ASSERT_TRUE(current.valid);
        boxes.clear();
        window = RecordingWindow{};
    }

    std::vector<std::string> Texts() const { return boxes.texts(); }

    testing::SimulatedClock clock;
    vb::BoardEngine board;
    vb::VirtualSerialPortProvider ports{board, [this] { return static_cast<double>(clock.nowUs()); }};
    testing::ScriptedMessageBoxes boxes;
    TReaderLink link{ports, clock, clock, boxes};
    TAnalysisContext context{boxes, clock, clock};
    Tprotocol_descriptor current;
    Tprotocol_descriptor learned;
    Tstandard_protocols standards;
    TInfoBus bus;
    TbuttonCodes buttons{bus};
    TbuttonCodes explore{bus};
    TReplaceRule rules;
    RecordingWindow window;
    TTextLines messages;
    TTextLines description;
    TLearningProcedures procedures{{context, link, boxes, current, learned, standards, buttons, explore, rules},
                                   window};
};

}  // namespace spectrel::test
