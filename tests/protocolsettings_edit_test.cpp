// The protocol settings editor's decisions: loading, change actions, key filters, the checks of OK in order
// with the field that gets the focus, and the writes into the current descriptor.

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "Code/SPX_Data.h"
#include "Code/SPX_ProtocolSettingsEdit.h"
#include "testing/ScriptedMessageBoxes.h"

namespace spectrel {
namespace {

using platform::MessageKind;
using Field = TProtocolSettingsField;
using spectrel::testing::ScriptedMessageBoxes;

// A learned NEC remote: data frame longer than 66, a repeated dummy frame.
Tprotocol_descriptor LearnedNec() {
    Tprotocol_descriptor d;
    d.valid = true;
    d.name = "NO NAME";
    d.carrier_period = 26.5;
    d.frame_rate = 108;
    d.format = "iX";
    d.i_letter = 'i';
    d.x_letter = 'X';
    d.dummy_code = "CdAa";
    d.i_position = 0;
    d.x_position = 1;
    d.i_length = -67;
    d.x_length = 4;
    d.min_frames = 2;
    d.max_frames = 3;
    d.vocabulary_count = 4;
    d.tick = 562.5;
    d.durations = {562.4, 1687.6, 9000, 4500};
    d.is_pulse = {true, false, true, false};
    d.is_pause = {true, true, false, true};
    return d;
}

// A pulsed code: no carrier, only pauses.
Tprotocol_descriptor PulsedCode() {
    Tprotocol_descriptor d = LearnedNec();
    d.name = "Pulsed";
    d.carrier_period = 0;
    d.format = "I";
    d.i_letter = 'I';
    d.x_letter = '?';
    d.dummy_code.clear();
    d.i_length = 12;
    return d;
}

struct Rig {
    explicit Rig(Tprotocol_descriptor d, bool renameRequired = false) : descriptor(std::move(d)) {
        working.carrier_period = descriptor.carrier_period;
        edit.Load(renameRequired);
    }
    Tprotocol_descriptor descriptor;
    TWorkingProtocol working;
    ScriptedMessageBoxes boxes;
    TProtocolSettingsEdit edit{descriptor, working, boxes};
};

TEST(ProtocolSettingsEdit, LoadingShowsTheDescriptor) {
    Rig rig(LearnedNec());
    const TProtocolSettingsEdit& e = rig.edit;
    EXPECT_FALSE(e.ChangeRequiredShown());
    EXPECT_EQ(e.Name(), "NO NAME");
    EXPECT_EQ(e.CarrierPeriod(), "26.5");
    EXPECT_TRUE(e.CarrierPeriodShown());
    EXPECT_EQ(e.CarrierFrequencyText(), "37.74 kHz");
    EXPECT_EQ(e.FrameFormat(), "iX");
    EXPECT_EQ(e.FrameRate(), "108");
    EXPECT_TRUE(e.FrameRateShown());
    EXPECT_EQ(e.DummyFrame(), "CdAa");
    EXPECT_EQ(e.Length(), "67");
    EXPECT_TRUE(e.LengthAtLeast());
    EXPECT_EQ(e.Durations(), (std::vector<std::string>{"562", "1688", "9000", "4500"}));
    EXPECT_EQ(TProtocolSettingsEdit::ElementLetter(0), "A");
    EXPECT_EQ(TProtocolSettingsEdit::ElementLetter(3), "D");
    // Loading runs the change actions but leaves OK disabled.
    EXPECT_FALSE(e.OkEnabled());
    EXPECT_TRUE(rig.boxes.shown().empty());
}

TEST(ProtocolSettingsEdit, LoadingShowsPeriodsInGeneralFormAndRatesWithoutDecimals) {
    struct Case {
        const char* what;
        double period;
        double rate;
        const char* periodText;
        const char* rateText;
        bool periodShown;
    } cases[] = {
        {"tenths", 26.3, 108, "26.3", "108", true},
        {"whole", 25, 45, "25", "45", true},
        {"many digits", 27.7777777777777777, 44.5, "27.7777777777778", "45", true},
        {"pulsed", 0, 100, "0", "100", false},
    };
    for (const Case& c : cases) {
        Tprotocol_descriptor d = LearnedNec();
        d.carrier_period = c.period;
        d.frame_rate = c.rate;
        Rig rig(d);
        EXPECT_EQ(rig.edit.CarrierPeriod(), c.periodText) << c.what;
        EXPECT_EQ(rig.edit.FrameRate(), c.rateText) << c.what;
        EXPECT_EQ(rig.edit.CarrierPeriodShown(), c.periodShown) << c.what;
    }
}

TEST(ProtocolSettingsEdit, ChangeActionsEnableOkAndRenewTheirRows) {
    struct Case {
        const char* period;
        const char* frequency;
    } frequencies[] = {
        {"26.3", "38.02 kHz"}, {"25", "40.00 kHz"},  {"36", "27.78 kHz"}, {"", ""}, {"0", ""}, {".", ""},
        {"0.0", ""},           {"2.", "500.00 kHz"},
    };
    for (const Case& c : frequencies) {
        Rig rig(LearnedNec());
        rig.edit.SetCarrierPeriod(c.period);
        EXPECT_EQ(rig.edit.CarrierFrequencyText(), c.frequency) << c.period;
        EXPECT_TRUE(rig.edit.OkEnabled()) << c.period;
    }

    struct FormatCase {
        const char* format;
        bool rateShown;
    } formats[] = {{"i", false}, {"I", true}, {"ix", true}, {"", true}, {"i ", true}};
    for (const FormatCase& c : formats) {
        Rig rig(LearnedNec());
        rig.edit.SetFrameFormat(c.format);
        EXPECT_EQ(rig.edit.FrameRateShown(), c.rateShown) << c.format;
    }

    // Every other field enables OK as well.
    const std::vector<void (*)(TProtocolSettingsEdit&)> changes = {
        [](TProtocolSettingsEdit& e) { e.SetName("NEC"); },
        [](TProtocolSettingsEdit& e) { e.SetFrameFormat("Ix"); },
        [](TProtocolSettingsEdit& e) { e.SetFrameRate("110"); },
        [](TProtocolSettingsEdit& e) { e.SetDummyFrame("Aa"); },
        [](TProtocolSettingsEdit& e) { e.SetLength("12"); },
        [](TProtocolSettingsEdit& e) { e.SetLengthAtLeast(false); },
        [](TProtocolSettingsEdit& e) { e.SetDuration(1, "1700"); },
    };
    for (std::size_t i = 0; i < changes.size(); ++i) {
        Rig rig(LearnedNec());
        changes[i](rig.edit);
        EXPECT_TRUE(rig.edit.OkEnabled()) << "change " << i;
    }
}

TEST(ProtocolSettingsEdit, KeyFiltersDropWhatTheFieldCannotHold) {
    struct Case {
        Field field;
        const char* before;
        char32_t key;
        bool accepted;
    } cases[] = {
        {Field::CarrierPeriod, "26", U'5', true},
        {Field::CarrierPeriod, "26", U'.', true},
        {Field::CarrierPeriod, "26.", U'.', false},
        {Field::CarrierPeriod, "", U'-', false},
        {Field::CarrierPeriod, "26", U'e', false},
        {Field::CarrierPeriod, "26.3", 8, true},
        {Field::CarrierPeriod, "2", U',', false},
        {Field::FrameRate, "10", U'8', true},
        {Field::FrameRate, "10", U'.', false},
        {Field::FrameRate, "10", U'-', false},
        {Field::FrameRate, "10", 8, true},
        {Field::Length, "", U'-', false},
        {Field::Length, "6", U'7', true},
        {Field::Duration, "560", U'.', false},
        {Field::Duration, "56", U'0', true},
        {Field::Duration, "560", U' ', false},
        {Field::Name, "", U'-', true},
        {Field::Name, "NEC", U'\u00e9', true},
        {Field::FrameFormat, "i", U'y', true},
        {Field::DummyFrame, "", U'?', true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TProtocolSettingsEdit::AcceptsCharacter(c.field, c.before, c.key), c.accepted)
            << static_cast<int>(c.field) << " '" << c.before << "' + " << static_cast<unsigned>(c.key);
    }
}

// One field changed, then OK.
struct OkCase {
    const char* what;
    void (*change)(TProtocolSettingsEdit&);
    const char* message;  // nullptr: accepted
    Field focus;
    int durationIndex;
};

constexpr const char* kBlank = "Field cannot be left blank";
constexpr const char* kShortPeriod = "Carrier period cannot be less than 2 us (500 kHz)";
constexpr const char* kLongPeriod = "Carrier period cannot be greater than 50 us (20 kHz)";
constexpr const char* kLetters = "Only letters \"I\",\"J\",\"X\" are allowed";
constexpr const char* kShortInterval = "Interval cannot be less than 100 us";
constexpr const char* kLongInterval = "Interval cannot be greater than 16 ms";

const OkCase kOkCases[] = {
    {"unchanged", [](TProtocolSettingsEdit&) {}, nullptr, Field::None, -1},
    {"empty name", [](TProtocolSettingsEdit& e) { e.SetName(""); }, "A Protocol Name must be entered", Field::Name, -1},
    {"period 1.7 rounds to 1.5", [](TProtocolSettingsEdit& e) { e.SetCarrierPeriod("1.7"); }, kShortPeriod,
     Field::CarrierPeriod, -1},
    {"period 1.75 rounds to 2", [](TProtocolSettingsEdit& e) { e.SetCarrierPeriod("1.75"); }, nullptr, Field::None, -1},
    {"period 50.2 rounds to 50", [](TProtocolSettingsEdit& e) { e.SetCarrierPeriod("50.2"); }, nullptr, Field::None,
     -1},
    {"period 50.3 rounds to 50.5", [](TProtocolSettingsEdit& e) { e.SetCarrierPeriod("50.3"); }, kLongPeriod,
     Field::CarrierPeriod, -1},
    {"empty period", [](TProtocolSettingsEdit& e) { e.SetCarrierPeriod(""); }, kBlank, Field::CarrierPeriod, -1},
    {"lone decimal point", [](TProtocolSettingsEdit& e) { e.SetCarrierPeriod("."); },
     "'.' is not a valid floating point value", Field::CarrierPeriod, -1},
    {"format ixm", [](TProtocolSettingsEdit& e) { e.SetFrameFormat("ixm"); }, nullptr, Field::None, -1},
    {"format iy", [](TProtocolSettingsEdit& e) { e.SetFrameFormat("iy"); }, kLetters, Field::FrameFormat, -1},
    {"empty format", [](TProtocolSettingsEdit& e) { e.SetFrameFormat(""); }, kBlank, Field::FrameFormat, -1},
    {"empty frame rate", [](TProtocolSettingsEdit& e) { e.SetFrameRate(""); }, kBlank, Field::FrameRate, -1},
    {"pasted frame rate", [](TProtocolSettingsEdit& e) { e.SetFrameRate("1x"); },
     "'1x' is not a valid floating point value", Field::FrameRate, -1},
    {"empty dummy frame", [](TProtocolSettingsEdit& e) { e.SetDummyFrame(""); }, kBlank, Field::DummyFrame, -1},
    {"empty length", [](TProtocolSettingsEdit& e) { e.SetLength(""); }, kBlank, Field::Length, -1},
    {"pasted length", [](TProtocolSettingsEdit& e) { e.SetLength("6.5"); }, "'-6.5' is not a valid integer value",
     Field::Length, -1},
    {"duration 99.6 rounds to 100", [](TProtocolSettingsEdit& e) { e.SetDuration(0, "99.6"); }, nullptr, Field::None,
     -1},
    {"duration 99.4", [](TProtocolSettingsEdit& e) { e.SetDuration(0, "99.4"); }, kShortInterval, Field::Duration, 0},
    {"duration 16000.4 rounds to 16000", [](TProtocolSettingsEdit& e) { e.SetDuration(2, "16000.4"); }, nullptr,
     Field::None, -1},
    {"duration 16001", [](TProtocolSettingsEdit& e) { e.SetDuration(2, "16001"); }, kLongInterval, Field::Duration, 2},
    {"empty duration", [](TProtocolSettingsEdit& e) { e.SetDuration(3, ""); }, kBlank, Field::Duration, 3},
    // The checks stop at the first fault, in row order.
    {"name before period",
     [](TProtocolSettingsEdit& e) {
         e.SetCarrierPeriod("60");
         e.SetName("");
     },
     "A Protocol Name must be entered", Field::Name, -1},
    {"period before format",
     [](TProtocolSettingsEdit& e) {
         e.SetFrameFormat("q");
         e.SetCarrierPeriod("1");
     },
     kShortPeriod, Field::CarrierPeriod, -1},
    {"format before frame rate",
     [](TProtocolSettingsEdit& e) {
         e.SetFrameRate("");
         e.SetFrameFormat("z");
     },
     kLetters, Field::FrameFormat, -1},
    {"length before durations",
     [](TProtocolSettingsEdit& e) {
         e.SetDuration(0, "5");
         e.SetLength("");
     },
     kBlank, Field::Length, -1},
    {"top duration first",
     [](TProtocolSettingsEdit& e) {
         e.SetDuration(3, "20000");
         e.SetDuration(1, "50");
     },
     kShortInterval, Field::Duration, 1},
};

class ProtocolSettingsOk : public ::testing::TestWithParam<OkCase> {};

TEST_P(ProtocolSettingsOk, ChecksInOrderAndFocusesTheFault) {
    const OkCase& c = GetParam();
    Rig rig(LearnedNec());
    c.change(rig.edit);
    const Tprotocol_descriptor before = rig.descriptor;
    const TProtocolSettingsOutcome outcome = rig.edit.Ok();
    if (c.message == nullptr) {
        EXPECT_TRUE(outcome.accepted) << outcome.message;
        EXPECT_TRUE(rig.boxes.shown().empty());
        return;
    }
    EXPECT_FALSE(outcome.accepted);
    EXPECT_EQ(outcome.message, c.message);
    EXPECT_EQ(outcome.focus, c.focus);
    EXPECT_EQ(outcome.durationIndex, c.durationIndex);
    ASSERT_EQ(rig.boxes.shown().size(), 1u);
    EXPECT_EQ(rig.boxes.shown()[0].kind, MessageKind::Error);
    EXPECT_EQ(rig.boxes.shown()[0].text, c.message);
    EXPECT_EQ(rig.boxes.shown()[0].buttons, platform::MessageButtons(platform::MessageButton::Ok));
    // A refused OK writes nothing.
    EXPECT_EQ(DescriptorToText(rig.descriptor), DescriptorToText(before));
}

INSTANTIATE_TEST_SUITE_P(Cases, ProtocolSettingsOk, ::testing::ValuesIn(kOkCases),
                         [](const ::testing::TestParamInfo<OkCase>& info) {
                             std::string name;
                             for (const char* p = info.param.what; *p != '\0'; ++p)
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });

TEST(ProtocolSettingsEdit, RenameRequiredRefusesTheOpeningNameInAnyCase) {
    struct Case {
        bool renameRequired;
        const char* name;
        const char* message;
    } cases[] = {
        {true, "NO NAME", "You must change the protocol name to a unique value befor saving"},
        {true, "no name", "You must change the protocol name to a unique value befor saving"},
        {true, "", "A Protocol Name must be entered"},
        {true, "Prinz DVD", nullptr},
        {false, "NO NAME", nullptr},
        {false, "", "A Protocol Name must be entered"},
    };
    for (const Case& c : cases) {
        Rig rig(LearnedNec(), c.renameRequired);
        EXPECT_EQ(rig.edit.ChangeRequiredShown(), c.renameRequired);
        rig.edit.SetName(c.name);
        const TProtocolSettingsOutcome outcome = rig.edit.Ok();
        EXPECT_EQ(outcome.accepted, c.message == nullptr) << c.name;
        if (c.message != nullptr) {
            EXPECT_EQ(outcome.message, c.message) << c.name;
            EXPECT_EQ(outcome.focus, Field::Name);
        }
    }
}

TEST(ProtocolSettingsEdit, OkWritesEveryFieldAndTheDescriptorBecomesLearned) {
    Tprotocol_descriptor d = LearnedNec();
    d.standard = true;
    Rig rig(d);
    rig.edit.SetName(" Prinz DVD ");
    rig.edit.SetCarrierPeriod("26.26");
    rig.edit.SetFrameFormat("Ix");
    rig.edit.SetFrameRate("110.5");
    rig.edit.SetDummyFrame("CdAaAa");
    rig.edit.SetDuration(0, "560.4");
    rig.edit.SetDuration(3, "4500.5");
    ASSERT_TRUE(rig.edit.Ok().accepted);

    const Tprotocol_descriptor& r = rig.descriptor;
    EXPECT_FALSE(r.standard);
    EXPECT_EQ(r.name, " Prinz DVD ");  // as typed
    EXPECT_EQ(r.carrier_period, 26.5);
    EXPECT_EQ(r.format, "Ix");
    EXPECT_EQ(r.i_letter, 'I');
    EXPECT_EQ(r.x_letter, 'x');
    EXPECT_EQ(r.frame_rate, 110);  // 110.5 to the even 110
    EXPECT_EQ(r.dummy_code, "CdAaAa");
    EXPECT_EQ(r.x_length, 6);
    EXPECT_EQ(r.i_length, -67);
    EXPECT_EQ(r.durations[0], 560);
    EXPECT_EQ(r.durations[1], 1688);
    EXPECT_EQ(r.durations[3], 4500);
    EXPECT_TRUE(rig.boxes.shown().empty());
}

TEST(ProtocolSettingsEdit, LengthBoxStoresANegativeLengthAndReopensTicked) {
    struct Case {
        const char* length;
        bool ticked;
        int stored;
        const char* reopenedText;
        bool reopenedTicked;
    } cases[] = {
        {"12", true, -12, "12", true},
        {"12", false, 12, "12", false},
        {"0", true, 0, "0", false},
        {"0", false, 0, "0", false},
    };
    for (const Case& c : cases) {
        Rig rig(LearnedNec());
        rig.edit.SetLength(c.length);
        rig.edit.SetLengthAtLeast(c.ticked);
        ASSERT_TRUE(rig.edit.Ok().accepted) << c.length;
        EXPECT_EQ(rig.descriptor.i_length, c.stored) << c.length << " " << c.ticked;
        TProtocolSettingsEdit reopened(rig.descriptor, rig.working, rig.boxes);
        reopened.Load(false);
        EXPECT_EQ(reopened.Length(), c.reopenedText);
        EXPECT_EQ(reopened.LengthAtLeast(), c.reopenedTicked) << c.length << " " << c.ticked;
    }
}

TEST(ProtocolSettingsEdit, ProtocolWithoutDummyFrameNeedsSomeTextThatOnlyAnXKeeps) {
    struct Case {
        const char* format;
        const char* dummyKept;
    } cases[] = {{"I", ""}, {"IX", "AaAa"}};
    for (const Case& c : cases) {
        Tprotocol_descriptor d = LearnedNec();
        d.format = "I";
        d.x_letter = '?';
        d.dummy_code = "stale";
        Rig rig(d);
        EXPECT_EQ(rig.edit.DummyFrame(), "");
        EXPECT_EQ(rig.descriptor.dummy_code, "");  // cleared by opening

        TProtocolSettingsOutcome outcome = rig.edit.Ok();
        EXPECT_FALSE(outcome.accepted);
        EXPECT_EQ(outcome.message, kBlank);
        EXPECT_EQ(outcome.focus, Field::DummyFrame);

        rig.edit.SetFrameFormat(c.format);
        rig.edit.SetDummyFrame("AaAa");
        outcome = rig.edit.Ok();
        EXPECT_TRUE(outcome.accepted) << outcome.message;
        EXPECT_EQ(rig.descriptor.dummy_code, c.dummyKept) << c.format;
    }
}

TEST(ProtocolSettingsEdit, PulsedProtocolIsAcceptedWithoutAnyMessage) {
    Rig rig(PulsedCode());
    EXPECT_FALSE(rig.edit.CarrierPeriodShown());
    EXPECT_EQ(rig.edit.CarrierPeriod(), "0");
    EXPECT_EQ(rig.edit.CarrierFrequencyText(), "");
    rig.edit.SetDummyFrame("-");
    rig.edit.SetName("Pulsed Remote");

    const TProtocolSettingsOutcome outcome = rig.edit.Ok();
    EXPECT_TRUE(outcome.accepted) << outcome.message;
    EXPECT_TRUE(rig.boxes.shown().empty()) << rig.boxes.shown().front().text;
    EXPECT_EQ(rig.descriptor.carrier_period, 0);
    EXPECT_EQ(rig.descriptor.name, "Pulsed Remote");
}

TEST(ProtocolSettingsEdit, ANewPeriodOfZeroIsAcceptedWithTheWarningThatItMakesAPulsedCode) {
    Rig rig(LearnedNec());
    rig.edit.SetCarrierPeriod("0");
    EXPECT_TRUE(rig.edit.Ok().accepted);
    EXPECT_EQ(rig.descriptor.carrier_period, 0);
    ASSERT_EQ(rig.boxes.shown().size(), 1u);
    EXPECT_EQ(rig.boxes.shown()[0].kind, MessageKind::Warning);
    EXPECT_EQ(rig.boxes.shown()[0].text, "New setting defines pulsed code (no carrier)");
}

TEST(ProtocolSettingsEdit, CancelKeepsTheDescriptor) {
    Tprotocol_descriptor d = LearnedNec();
    d.standard = true;
    Rig rig(d);
    rig.edit.SetName("Changed");
    rig.edit.SetCarrierPeriod("30");
    rig.edit.SetFrameFormat("I");
    rig.edit.SetFrameRate("50");
    rig.edit.SetLength("3");
    rig.edit.SetLengthAtLeast(false);
    rig.edit.SetDuration(0, "700");
    // Cancel: the editor is dropped without OK.
    EXPECT_EQ(DescriptorToText(rig.descriptor), DescriptorToText(d));
    EXPECT_TRUE(rig.descriptor.standard);
}

TEST(ProtocolSettingsEdit, GridColumnsShareTheWidth) {
    EXPECT_EQ(TProtocolSettingsEdit::ElementColumnWidth(300), 100);
    EXPECT_EQ(TProtocolSettingsEdit::DurationColumnWidth(300), 175);
    EXPECT_EQ(TProtocolSettingsEdit::ElementColumnWidth(301), 100);
    EXPECT_EQ(TProtocolSettingsEdit::DurationColumnWidth(301), 175);
    EXPECT_EQ(TProtocolSettingsEdit::DurationColumnWidth(302), 176);
}

TEST(ProtocolSettingsEdit, DurationsOutsideTheGridAreIgnored) {
    Rig rig(LearnedNec());
    rig.edit.SetDuration(4, "700");
    rig.edit.SetDuration(-1, "700");
    EXPECT_EQ(rig.edit.Durations().size(), 4u);
    Tprotocol_descriptor empty;
    Rig none(empty);  // vocabulary count -1
    EXPECT_TRUE(none.edit.Durations().empty());
}

}  // namespace
}  // namespace spectrel
