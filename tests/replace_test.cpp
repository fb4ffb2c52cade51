// Substitution rules: the automatic rules, rules from the settings file, the presets chosen by the vocabulary,
// and the translation of code texts.

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "Code/SPX_IniFile.h"
#include "Code/SPX_replace.h"
#include "tests/settings_temp_folder.h"
#include "tests/user_locale.h"

namespace spectrel {

// Readable rules in failure messages.
void PrintTo(const TRec& r, std::ostream* os) {
    *os << "{\"" << r.ProtocolName << "\", \"" << r.InChunk1 << "\", \"" << r.OutChunk1 << "\", \"" << r.InChunk2
        << "\", \"" << r.OutChunk2 << "\", " << r.Position << "}";
}

namespace {

// A descriptor whose vocabulary has the given signature ("Aab": A as pulse and pause, B as pause).
Tprotocol_descriptor Protocol(const std::string& name, double carrierPeriod, const std::string& signature = "",
                              const std::string& format = "I") {
    Tprotocol_descriptor d;
    d.valid = true;
    d.name = name;
    d.carrier_period = carrierPeriod;
    d.format = format;
    d.vocabulary_count = 0;
    for (char c : signature) {
        const bool pulse = c >= 'A' && c <= 'Z';
        const int k = pulse ? c - 'A' : c - 'a';
        (pulse ? d.is_pulse : d.is_pause)[static_cast<std::size_t>(k)] = true;
        d.durations[static_cast<std::size_t>(k)] = 560.0 * (k + 1);
        d.vocabulary_count = std::max(d.vocabulary_count, k + 1);
    }
    return d;
}

class RulesTest : public ::testing::Test {
protected:
    // Loads the rules from a settings file holding `text` (no file at all when text is empty).
    void Load(const std::string& text = "") {
        const std::string path = text.empty() ? folder_.File("SPX.ini") : folder_.Write("SPX.ini", text);
        TIniFile settings(path);
        LoadRules(rules_, settings);
    }
    std::string Show(const std::string& protocolName, const std::string& codeText, bool hex = false) const {
        return TranslateCode(rules_, protocolName, codeText, hex);
    }

    test::TempFolder folder_;
    TReplaceRule rules_;
};

TEST_F(RulesTest, MissingSettingsGiveTheFourAutomaticRules) {
    Load();
    ASSERT_EQ(rules_.Count(), 4);
    EXPECT_EQ(rules_.Items(0), (TRec{"NO NAME", "Aa", "0", "Ab", "1", 0}));
    EXPECT_EQ(rules_.Items(1), (TRec{"NO NAME", " Ac", " S-", "A  ", "-p ", 0}));
    EXPECT_EQ(rules_.Items(2), (TRec{"NO NAME", "", "???", "", "???", 0}));
    EXPECT_EQ(rules_.Items(3), (TRec{"NO NAME", "", "???", "", "???", 0}));
}

TEST_F(RulesTest, DefaultRulesTranslateCodesOfAnUnnamedProtocol) {
    Load();
    struct Case {
        const char* code;
        bool hex;
        const char* shown;
    } cases[] = {
        {"AaAbAbAa ", false, "0110"},
        {"AaAbAbAa ", true, "{6}"},
        {"AaAb AbAa", false, "01 10"},  // a code and its second code
        {"AcAaAb ", false, "S-01"},     // the start gap
        {"<not recorded>", false, "<not recorded>"},
        {"  <not recorded>  ", true, "<not recorded>"},
        {"", false, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Show("NO NAME", c.code, c.hex), c.shown) << "code \"" << c.code << "\" hex " << c.hex;
    }
}

TEST_F(RulesTest, AnEmptyListShowsTheTrimmedText) {
    EXPECT_EQ(TranslateCode(TReplaceRule{}, "NO NAME", " AaAb ", true), "AaAb");
}

TEST_F(RulesTest, PatternRuleFromTheSettingsAppliesToItsProtocolInAnyCase) {
    Load("[Substutution Rules]\nPattern1_0=Ab\nSubstitution1_0=X\nProtocol0=nec1\n");
    ASSERT_EQ(rules_.Count(), 5);
    EXPECT_EQ(rules_.Items(4), (TRec{"NEC1", "Ab", "X", "", "?", 0}));

    // The rule turns Ab into X; the final pass of rule 0 still turns Aa into 0.
    EXPECT_EQ(Show("Nec1", "AaAbAa "), "0X0");
    // A code that ends in the pattern gets nothing from the empty second pattern.
    EXPECT_EQ(Show("NEC1", "AaAb "), "0X");
    // Another protocol does not use it.
    EXPECT_EQ(Show("Sony", "AaAbAa "), "010");
}

// Protocol names are compared in upper case whatever the user's locale (the window layer sets it).
TEST_F(RulesTest, ProtocolNamesMatchUnderTheUserLocale) {
    test::TurkishLocale turkish;
    if (!turkish.Active()) GTEST_SKIP() << "no Turkish locale installed";
    struct Case {
        const char* stored;         // Protocol0 of the settings file
        const char* current;        // name of the current protocol
        const char* automaticName;  // the name of rules 0 to 2 after a reset for it
    } cases[] = {
        {"PHILIPS", "Philips", "PHILIPS"},
        {"philips", "PHILIPS", "NO NAME"},  // the settings rule carries that very name
        {"Rc6 mix", "rc6 Mix", "RC6 MIX"},
    };
    for (const Case& c : cases) {
        Load(std::string("[Substutution Rules]\nPattern1_0=Ab\nSubstitution1_0=X\nProtocol0=") + c.stored + "\n");
        EXPECT_EQ(Show(c.current, "AaAbAa "), "0X0") << c.stored << " / " << c.current;
        ResetRulesForProtocol(rules_, Protocol(c.current, 27.0, "Aab"));
        EXPECT_EQ(rules_.Items(0).ProtocolName, c.automaticName) << c.current;
    }
}

TEST_F(RulesTest, PositionRuleInsertsAfterThatManyCharacters) {
    Load("[Substutution Rules]\nPosition_3=8\nSubstitution1_3=-\nProtocol3=nec1\n");
    ASSERT_EQ(rules_.Count(), 5);
    EXPECT_EQ(rules_.Items(4), (TRec{"NEC1", "", "-", "", "", 8}));
    EXPECT_EQ(Show("NEC1", "AbAbAbAbAb "), "1111-1");
    // A text of at most eight characters passes the rule unchanged.
    EXPECT_EQ(Show("NEC1", "AbAb "), "11");
}

TEST_F(RulesTest, SettingsEntriesAreReadUpToEndOrTheHundredth) {
    struct Case {
        const char* name;
        std::string ini;
        std::vector<TRec> added;
    };
    std::string hundredAndTen = "[Substutution Rules]\nProtocol0=p\n";
    for (int n = 0; n < 110; ++n) {
        hundredAndTen += "Pattern1_" + std::to_string(n) + "=Aa\nSubstitution1_" + std::to_string(n) + "=" +
                         std::to_string(n) + "\n";
    }
    const Case cases[] = {
        {"an entry without protocol takes the one before it",
         "[Substutution Rules]\nPattern1_0=Aa\nSubstitution1_0=z\nProtocol0=sony\n"
         "Pattern1_1=Ab\nSubstitution1_1=y\nPattern2_1=Ac\nSubstitution2_1=w\n",
         {{"SONY", "Aa", "z", "", "?", 0}, {"SONY", "Ab", "y", "Ac", "w", 0}}},
        {"entry 0 without protocol belongs to \"who knows?\"",
         "[Substutution Rules]\nPattern1_0=Aa\nSubstitution1_0=z\n",
         {{"WHO KNOWS?", "Aa", "z", "", "?", 0}}},
        {"the End entry is the last one read",
         "[Substutution Rules]\nPattern1_0=Aa\nSubstitution1_0=z\nProtocol0=end\n"
         "Pattern1_1=Ab\nSubstitution1_1=y\nProtocol1=sony\n",
         {{"END", "Aa", "z", "", "?", 0}}},
        {"entries that fit neither shape add nothing",
         "[Substutution Rules]\nProtocol0=a\nPattern1_0=Aa\n"  // no substitution
         "Pattern1_1=Aa\nSubstitution1_1=z\nPosition_1=4\n"    // pattern and position
         "Substitution1_2=z\n"                                 // neither
         "Substitution1_3=-\nPosition_3=-2\n",                 // negative position
         {{"A", "", "-", "", "", -2}}},
        {"quoted patterns keep their blanks",
         "[Substutution Rules]\nPattern1_0=\" Ac\"\nSubstitution1_0=\" S- \"\nProtocol0=rc5\n",
         {{"RC5", " Ac", " S- ", "", "?", 0}}},
    };
    for (const Case& c : cases) {
        Load(c.ini);
        std::vector<TRec> added(rules_.Rules().begin() + 4, rules_.Rules().end());
        EXPECT_EQ(added, c.added) << c.name;
    }

    Load(hundredAndTen);
    ASSERT_EQ(rules_.Count(), 4 + 100);
    EXPECT_EQ(rules_.Items(103).OutChunk1, "99");
}

TEST_F(RulesTest, PulsedProtocolGetsTheNoCarrierPatterns) {
    Load();
    ResetRulesForProtocol(rules_, Protocol("P", 0.0, "abcd"));
    EXPECT_EQ(rules_.Items(0), (TRec{"P", " c", " S-", " d", " S-", 0}));
    EXPECT_EQ(rules_.Items(1), (TRec{"P", " c", "-p ", "d ", "-p ", 0}));
    EXPECT_EQ(rules_.Items(2), (TRec{"P", "a", "0", "b", "1", 0}));
    EXPECT_EQ(rules_.Items(3), (TRec{"NO NAME", "c", "2", "d", "3", 0}));
    EXPECT_EQ(Show("P", "abaab "), "01001");
}

TEST_F(RulesTest, ProtocolWithCarrierAndSignatureAabGetsTheFirstPreset) {
    Load();
    ResetRulesForProtocol(rules_, Protocol("Nec", 26.3, "Aab"));
    EXPECT_EQ(rules_.Items(0), (TRec{"NEC", " Ac", " S-", " Ab", " S-", 0}));
    EXPECT_EQ(rules_.Items(1), (TRec{"NEC", " AA", " S-", "A  ", "-p  ", 0}));
    EXPECT_EQ(rules_.Items(2), (TRec{"NEC", "Aa", "0", "Ab", "1", 0}));
    // Rule 3 keeps its second pair from before.
    EXPECT_EQ(rules_.Items(3), (TRec{"NO NAME", "Ac", "-x-", "", "???", 0}));
    EXPECT_EQ(Show("NEC", "AaAbAbAa "), "0110");
}

TEST_F(RulesTest, UnlistedSignatureLeavesCodesToTheSettingsRulesAndTheLastPass) {
    Load("[Substutution Rules]\nPattern1_0=Ac\nSubstitution1_0=Q\nProtocol0=odd\n");
    ResetRulesForProtocol(rules_, Protocol("Odd", 38.0, "AabcdeF"));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(rules_.Items(i).InChunk1, "") << "rule " << i;
    // The settings rule turns Ac into Q; the final pass of rule 0 (now without pattern) does nothing.
    EXPECT_EQ(Show("ODD", "AcAaAb "), "QAaAb");
}

// Which presets the vocabulary signature picks. An empty expected pattern means the rule stays without one.
struct PresetCase {
    const char* name;
    const char* signature;
    const char* format;
    double elementG;          // duration of element G (index 6)
    std::vector<TRec> rules;  // the four automatic rules afterwards (protocol names not compared)
};

class PresetTest : public RulesTest, public ::testing::WithParamInterface<PresetCase> {};

TEST_P(PresetTest, SignatureChoosesThePreset) {
    const PresetCase& c = GetParam();
    Load();
    Tprotocol_descriptor d = Protocol("Remote", 27.0, c.signature, c.format);
    d.durations[6] = c.elementG;
    ASSERT_EQ(VocabularySignature(d), c.signature);
    ResetRulesForProtocol(rules_, d);
    for (int i = 0; i < 4; ++i) {
        TRec actual = rules_.Items(i);
        actual.ProtocolName.clear();
        EXPECT_EQ(actual, c.rules[static_cast<std::size_t>(i)]) << "rule " << i;
    }
}

// The four rules as LoadRules leaves them, after step 1 of a reset (no pattern).
const TRec kIdle0{"", "", "0", "Ab", "1", 0};
const TRec kIdle1{"", "", " S-", "A  ", "-p ", 0};
const TRec kIdle2{"", "", "???", "", "???", 0};
const TRec kIdle3{"", "", "???", "", "???", 0};

INSTANTIATE_TEST_SUITE_P(
    Signatures, PresetTest,
    ::testing::Values(PresetCase{"Aabc",
                                 "Aabc",
                                 "I",
                                 0,
                                 {{"", " Ac", " S-", " Ab", " S-", 0},
                                  {"", " AA", " S-", "A  ", "-p  ", 0},
                                  {"", "Aa", "0", "Ab", "1", 0},
                                  {"", "Ac", "-x-", "", "???", 0}}},
                      PresetCase{"Abcd",
                                 "Abcd",
                                 "I",
                                 0,
                                 {{"", " Ad", " S-", " Ac", " S-", 0},
                                  {"", " Ab", " S-", "A  ", "-p  ", 0},
                                  {"", "Ab", "0", "Ac", "1", 0},
                                  {"", "Ad", "-x-", "", "???", 0}}},
                      PresetCase{"AabcD_format_i",
                                 "AabcD",
                                 "i",
                                 0,
                                 {{"", " Db", " S-", "A  ", "-p ", 0},
                                  {"", "Aa", "0", "Ab", "1", 0},
                                  {"", "Ac", "2", "", "???", 0},
                                  {"", " Dc", " S-", "D ", "-p  ", 0}}},
                      PresetCase{"AabcD_format_I",
                                 "AabcD",
                                 "I",
                                 0,
                                 {{"", "Aa", "0", "Ab", "1", 0},
                                  {"", " Dc", " S-", "A  ", "-p  ", 0},
                                  {"", "Ac", "-x-", "Dc", "-x-", 0},
                                  {"", " -x-", " s-", "", "???", 0}}},
                      PresetCase{"AabCc_sets_two_rules",
                                 "AabCc",
                                 "I",
                                 0,
                                 {{"", "Aa", "0", "Ab", "1", 0}, {"", " Cc", " S-", "A  ", "-p  ", 0}, kIdle2, kIdle3}},
                      PresetCase{"ABcdeFg_long_G",
                                 "ABcdeFg",
                                 "I",
                                 6000,
                                 {{"", "g", "  ", "Ab", "1", 0},
                                  {"", " Fe", " S-", "A  ", "-p ", 0},
                                  {"", "Ac", "0", "Ad", "1", 0},
                                  {"", "B  ", "-p  ", "A  ", "-p  ", 0}}},
                      PresetCase{"ABcdeFg_short_G",
                                 "ABcdeFg",
                                 "I",
                                 5000,
                                 {kIdle0,
                                  {"", " Fe", " S-", "A  ", "-p ", 0},
                                  {"", "Ac", "0", "Ad", "1", 0},
                                  {"", "B  ", "-p  ", "A  ", "-p  ", 0}}},
                      PresetCase{"aBcdE",
                                 "aBcdE",
                                 "I",
                                 0,
                                 {{"", " Ed", " S-", "B  ", "-p  ", 0}, {"", "Ba", "0", "Bc", "1", 0}, kIdle2, kIdle3}},
                      PresetCase{"AbcDe",
                                 "AbcDe",
                                 "I",
                                 0,
                                 {{"", " De", " S-", " Dc", " S-", 0},
                                  {"", "AeA ", "-p ", "AeD ", "-p ", 0},
                                  {"", "A ", "-p ", "D ", "-p ", 0},
                                  {"", "Ab", "0", "Ac", "1", 0}}},
                      PresetCase{"unlisted", "AabcdeF", "I", 0, {kIdle0, kIdle1, kIdle2, kIdle3}}),
    [](const ::testing::TestParamInfo<PresetCase>& info) { return std::string(info.param.name); });

TEST_F(RulesTest, PresetsNeedACarrier) {
    for (double carrier : {0.0, -1.0}) {
        Load();
        ResetRulesForProtocol(rules_, Protocol("", carrier, "Aab"));
        for (int i = 0; i < 4; ++i) EXPECT_EQ(rules_.Items(i).InChunk1, "") << "carrier " << carrier;
    }
}

TEST_F(RulesTest, KeptFieldsCarryOverFromAnEarlierProtocol) {
    Load();
    ResetRulesForProtocol(rules_, Protocol("One", 27.0, "Abcde"));
    EXPECT_EQ(rules_.Items(3), (TRec{"NO NAME", "Ae", "2", "Ad", "3", 0}));
    ResetRulesForProtocol(rules_, Protocol("Two", 27.0, "Aab"));
    EXPECT_EQ(rules_.Items(3), (TRec{"NO NAME", "Ac", "-x-", "Ad", "3", 0}));
}

TEST_F(RulesTest, NamingTheAutomaticRules) {
    const std::string necRule = "[Substutution Rules]\nPattern1_0=Ab\nSubstitution1_0=X\nProtocol0=NEC1\n";
    struct Case {
        const char* name;
        std::string ini;
        std::string protocol;
        std::string automaticName;  // the name of rules 0 to 2 afterwards
    } cases[] = {
        {"a new name is given to rules 0 to 2", "", "Sony", "SONY"},
        {"an empty name leaves them unnamed", "", "", "NO NAME"},
        {"a blank name leaves them unnamed", "", "   ", "NO NAME"},
        {"a protocol with its own settings rules keeps them unnamed", necRule, "NEC1", "NO NAME"},
        {"the same name in another case still names them", necRule, "Nec1", "NEC1"},
        {"NO NAME itself", "", "no name", "NO NAME"},
    };
    for (const Case& c : cases) {
        Load(c.ini);
        ResetRulesForProtocol(rules_, Protocol(c.protocol, 27.0, "Aab"));
        for (int i = 0; i < 3; ++i) EXPECT_EQ(rules_.Items(i).ProtocolName, c.automaticName) << c.name;
        EXPECT_EQ(rules_.Items(3).ProtocolName, "NO NAME") << c.name;
    }
}

TEST(ApplyRuleTest, OneRuleOverOneText) {
    struct Case {
        const char* name;
        TRec rule;
        const char* text;
        bool hex;
        const char* result;
    } cases[] = {
        {"negative position does nothing", {"", "Aa", "0", "", "", -1}, "AaAa ", false, "AaAa "},
        {"text shorter than the window", {"", "Aab", "0", "", "", 0}, "Aa", false, "Aa"},
        {"empty pattern does nothing", {"", "", "0", "", "", 0}, "AaAa", false, "AaAa"},
        {"position inside the text", {"", "", "-", "", "", 2}, "Aabb", false, "Aa-bb"},
        {"position at the end appends", {"", "", "-", "", "", 4}, "Aabb", false, "Aabb-"},
        {"position past the end", {"", "", "-", "", "", 5}, "Aabb", false, "Aabb"},
        {"second pattern of another length never matches", {"", "Aa", "0", "b", "1", 0}, "Aabb ", false, "0bb "},
        {"... nor in what is left at the end", {"", "Aa", "0", "b", "1", 0}, "Aab ", false, "0b"},
        {"an empty second pattern adds nothing at the end", {"", "Ab", "X", "", "?", 0}, "AaAb ", false, "AaX"},
        {"case matters", {"", "Aa", "0", "", "", 0}, "aAAa ", false, "aA0"},
        {"hex groups", {"", "Aa", "0", "", "", 0}, "01101001 ", true, "{69}"},
        {"hex group broken by a letter", {"", "Aa", "0", "", "", 0}, "0110x1001 ", true, "{6}x{9}"},
        {"hex ignores the patterns", {"", "01", "z", "", "", 0}, "0101 ", true, "{5}"},
        {"hex on a text shorter than four", {"", "Aa", "0", "", "", 0}, "011", true, "011"},
    };
    for (const Case& c : cases) EXPECT_EQ(ApplyRule(c.rule, c.text, c.hex), c.result) << c.name;
}

}  // namespace
}  // namespace spectrel

namespace spectrel {
namespace {

// Rules apply in a chain, and each may lengthen the text: a translation that would pass 1 048 576 characters
// is not made, and the code's place shows why instead (the stored code is not touched).
TEST_F(RulesTest, ATranslationThatWouldGrowBeyondItsBoundIsRefusedWithAMessage) {
    const std::string sixtyFour(64, 'A');
    std::string settings = "[Substutution Rules]\n";
    for (int n = 0; n < 3; ++n) {
        const std::string i = std::to_string(n);
        settings += "Pattern1_" + i + "=A\nSubstitution1_" + i + "=" + sixtyFour + "\nProtocol" + i + "=grow\n";
    }
    Load(settings);
    struct Case {
        const char* name;
        std::string code;
        bool translated;
        std::size_t length;  // of the translation
    } cases[] = {
        {"a 32-letter code (8.4 million characters)", std::string(32, 'A'), false, 0},
        {"two letters (524 288 characters)", "AA", true, 2 * 64 * 64 * 64},
        {"one letter", "A", true, 64 * 64 * 64},
    };
    for (const Case& c : cases) {
        const TTranslatedCode checked = TranslateCodeChecked(rules_, "Grow", c.code, false);
        EXPECT_EQ(checked.ok, c.translated) << c.name;
        if (c.translated) {
            EXPECT_EQ(checked.text, std::string(c.length, 'A')) << c.name;
            EXPECT_EQ(Show("Grow", c.code), checked.text) << c.name;
            continue;
        }
        EXPECT_EQ(checked.text, c.code) << c.name;
        EXPECT_EQ(checked.message,
                  "<the substitution rules of GROW would make this code longer than 1048576 characters>")
            << c.name;
        EXPECT_EQ(Show("Grow", c.code), checked.message) << c.name;
        EXPECT_EQ(Show("Grow", c.code, true), checked.message) << c.name;
    }
    // Another protocol's codes are not touched by those rules.
    EXPECT_EQ(Show("NO NAME", "AaAb"), "01");
}

}  // namespace
}  // namespace spectrel
