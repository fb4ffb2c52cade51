#include "Code/SPX_replace.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <limits>
#include <string_view>

#include "Code/SPX_Assert.h"

namespace spectrel {

namespace {

constexpr const char* kModule = "Code/SPX_replace";
// The code text of a button that has not been learned; it is shown as it is.
constexpr const char* kNotRecordedCode = "<not recorded>";
// The protocol name of settings entry 0 when it names none.
constexpr const char* kUnnamedSettingsProtocol = "who knows?";
constexpr const char* kEndOfRulesProtocol = "END";
// The window of the hexadecimal pass: four binary digits make one hexadecimal digit.
constexpr std::size_t kHexWindow = 4;
// Element G of the signature "ABcdeFg" is a long pause only above this many microseconds.
constexpr double kLongGapMicroseconds = 5000.0;
constexpr int kElementG = 6;

std::string Trim(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
    return text.substr(begin, end - begin);
}

std::string Upper(std::string text) {
    // ASCII only, as the settings file's names are compared; the C library's mapping follows the user's locale.
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

TRec Automatic(const char* in1, const char* out1, const char* in2, const char* out2) {
    return TRec{kNoProtocolName, in1, out1, in2, out2, 0};
}

// Patterns of a protocol without carrier: only pause letters occur in its codes.
struct PulsedPattern {
    const char* in1;
    const char* out1;
    const char* in2;
    const char* out2;
};
constexpr std::array<PulsedPattern, kAutomaticRuleCount> kPulsedPatterns{{
    {" c", " S-", " d", " S-"},
    {" c", "-p ", "d ", "-p "},
    {"a", "0", "b", "1"},
    {"c", "2", "d", "3"},
}};

enum class PresetCondition { Always, FormatI, FormatNotI, LongElementG };

// One automatic rule set by a vocabulary signature. A null second pattern keeps that rule's second pair.
struct PresetRow {
    std::string_view signatures;  // alternatives separated by '|'
    PresetCondition condition;
    int rule;
    const char* in1;
    const char* out1;
    const char* in2;
    const char* out2;
};

constexpr PresetCondition kAlways = PresetCondition::Always;

// clang-format off
constexpr PresetRow kPresets[] = {
    {"Aabc|Aab", kAlways, 0, " Ac", " S-", " Ab", " S-"},
    {"Aabc|Aab", kAlways, 1, " AA", " S-", "A  ", "-p  "},
    {"Aabc|Aab", kAlways, 2, "Aa", "0", "Ab", "1"},
    {"Aabc|Aab", kAlways, 3, "Ac", "-x-", nullptr, nullptr},
    {"Abc|Abcd", kAlways, 0, " Ad", " S-", " Ac", " S-"},
    {"Abc|Abcd", kAlways, 1, " Ab", " S-", "A  ", "-p  "},
    {"Abc|Abcd", kAlways, 2, "Ab", "0", "Ac", "1"},
    {"Abc|Abcd", kAlways, 3, "Ad", "-x-", nullptr, nullptr},
    {"AabcD", PresetCondition::FormatI, 0, " Db", " S-", "A  ", "-p "},
    {"AabcD", PresetCondition::FormatI, 1, "Aa", "0", "Ab", "1"},
    {"AabcD", PresetCondition::FormatI, 2, "Ac", "2", nullptr, nullptr},
    {"AabcD", PresetCondition::FormatI, 3, " Dc", " S-", "D ", "-p  "},
    {"AabcD", PresetCondition::FormatNotI, 0, "Aa", "0", "Ab", "1"},
    {"AabcD", PresetCondition::FormatNotI, 1, " Dc", " S-", "A  ", "-p  "},
    {"AabcD", PresetCondition::FormatNotI, 2, "Ac", "-x-", "Dc", "-x-"},
    {"AabcD", PresetCondition::FormatNotI, 3, " -x-", " s-", nullptr, nullptr},
    {"Abcde", kAlways, 0, " Ae", " S-", " Ad", " S-"},
    {"Abcde", kAlways, 1, " Ac", " S-", "A  ", "-p  "},
    {"Abcde", kAlways, 2, "Ab", "0", "Ac", "1"},
    {"Abcde", kAlways, 3, "Ae", "2", "Ad", "3"},
    {"AabcdE", kAlways, 0, "Aa", "0", "Ab", "1"},
    {"AabcdE", kAlways, 1, " Ed", " S-", "A  ", "-p  "},
    {"AabcdE", kAlways, 2, " Ec", " S-", " Dd", " S-"},
    {"AabCc", kAlways, 0, "Aa", "0", "Ab", "1"},
    {"AabCc", kAlways, 1, " Cc", " S-", "A  ", "-p  "},
    {"AaBbc", kAlways, 0, "B", "AA", "b", "aa"},
    {"AaBbc", kAlways, 1, "aA", "0", "Aa", "1"},
    {"AaBbc", kAlways, 2, " Ac", " S-", "A  ", "1  "},
    {"aBcdE", kAlways, 0, " Ed", " S-", "B  ", "-p  "},
    {"aBcdE", kAlways, 1, "Ba", "0", "Bc", "1"},
    {"AbcDd", kAlways, 0, " Dd", " S-", "A  ", "-p  "},
    {"AbcDd", kAlways, 1, "Ab", "0", "Ac", "1"},
    {"ABcdeF", kAlways, 0, " Fe", " S-", nullptr, nullptr},
    {"ABcdeF", kAlways, 1, "Ac", "0", "Ad", "1"},
    {"ABcdeF", kAlways, 2, "B  ", "-p  ", "A  ", "-p  "},
    {"ABcdeFg", PresetCondition::LongElementG, 0, "g", "  ", nullptr, nullptr},
    {"ABcdeFg", kAlways, 1, " Fe", " S-", nullptr, nullptr},
    {"ABcdeFg", kAlways, 2, "Ac", "0", "Ad", "1"},
    {"ABcdeFg", kAlways, 3, "B  ", "-p  ", "A  ", "-p  "},
    {"AabCcd", kAlways, 0, " CcCd", " S-", nullptr, nullptr},
    {"AabCcd", kAlways, 1, "Cc", "  S-", nullptr, nullptr},
    {"AabCcd", kAlways, 2, "Ad ", "-p ", "A  ", "-p "},
    {"AabCcd", kAlways, 3, "Aa", "0", "Ab", "1"},
    {"ABcde", kAlways, 0, " Be", " S-", "AeB", "-p "},
    {"ABcde", kAlways, 1, "B ", "-p ", "A ", "-p "},
    {"ABcde", kAlways, 2, "Ac", "0", "Ad", "1"},
    {"ABcdef", kAlways, 0, " Be", " S-", " Ae", " S-"},
    {"ABcdef", kAlways, 1, "Ac", "0", "Ad", "1"},
    {"ABcdef", kAlways, 2, "AeB ", "-p ", "AfB ", "-p "},
    {"ABcdef", kAlways, 3, "A ", "-p ", "B ", "-p "},
    {"ABbcd", kAlways, 0, " Bd", " S-", "AdB", "-p "},
    {"ABbcd", kAlways, 1, "B ", "-p ", "A ", "-p "},
    {"ABbcd", kAlways, 2, "Ab", "0", "Ac", "1"},
    {"AbcdE", kAlways, 0, " Ed", " S-", nullptr, nullptr},
    {"AbcdE", kAlways, 1, "A ", "-p ", "E ", "-p "},
    {"AbcdE", kAlways, 2, "Ab", "0", "Ac", "1"},
    {"AbcD", kAlways, 0, " Dc", " S-", nullptr, nullptr},
    {"AbcD", kAlways, 1, "A ", "-p ", "D ", "-p "},
    {"AbcD", kAlways, 2, "Ab", "0", "Ac", "1"},
    {"AbcDe", kAlways, 0, " De", " S-", " Dc", " S-"},
    {"AbcDe", kAlways, 1, "AeA ", "-p ", "AeD ", "-p "},
    {"AbcDe", kAlways, 2, "A ", "-p ", "D ", "-p "},
    {"AbcDe", kAlways, 3, "Ab", "0", "Ac", "1"},
};
// clang-format on

bool SignatureListed(std::string_view alternatives, std::string_view signature) {
    while (true) {
        const std::size_t bar = alternatives.find('|');
        if (alternatives.substr(0, bar) == signature) return true;
        if (bar == std::string_view::npos) return false;
        alternatives.remove_prefix(bar + 1);
    }
}

bool ConditionHolds(PresetCondition condition, const Tprotocol_descriptor& d) {
    switch (condition) {
        case PresetCondition::Always:
            return true;
        case PresetCondition::FormatI:
            return d.format == "i";
        case PresetCondition::FormatNotI:
            return d.format != "i";
        case PresetCondition::LongElementG:
            return d.durations[kElementG] > kLongGapMicroseconds;
    }
    return false;
}

bool IsBinaryWindow(const std::string& window) {
    if (window.size() != kHexWindow) return false;
    for (char c : window)
        if (c != '0' && c != '1') return false;
    return true;
}

char HexDigit(const std::string& binary) {
    int value = 0;
    for (char c : binary) value = value * 2 + (c == '1' ? 1 : 0);
    return "0123456789ABCDEF"[value];
}

}  // namespace

TRec& TReplaceRule::Items(int index) {
    SPX_ASSERT(index >= 0 && index < Count(), "List index out of bounds", kModule);
    return rules_[static_cast<std::size_t>(index)];
}

const TRec& TReplaceRule::Items(int index) const {
    SPX_ASSERT(index >= 0 && index < Count(), "List index out of bounds", kModule);
    return rules_[static_cast<std::size_t>(index)];
}

std::vector<TRec> DefaultAutomaticRules() {
    return {
        Automatic("Aa", "0", "Ab", "1"),
        Automatic(" Ac", " S-", "A  ", "-p "),
        Automatic("", "???", "", "???"),
        Automatic("", "???", "", "???"),
    };
}

void LoadRules(TReplaceRule& rules, const TIniFile& settings) {
    rules.Clear();
    for (TRec& rule : DefaultAutomaticRules()) rules.Add(std::move(rule));

    std::string protocol = kUnnamedSettingsProtocol;
    for (int n = 0; n < kMaxSettingsRules; ++n) {
        const std::string number = std::to_string(n);
        const std::string p1 = settings.ReadString(kSubstitutionRulesSection, "Pattern1_" + number, "");
        const std::string s1 = settings.ReadString(kSubstitutionRulesSection, "Substitution1_" + number, "");
        const std::string p2 = settings.ReadString(kSubstitutionRulesSection, "Pattern2_" + number, "");
        const std::string s2 = settings.ReadString(kSubstitutionRulesSection, "Substitution2_" + number, "?");
        const int position = settings.ReadInteger(kSubstitutionRulesSection, "Position_" + number, 0);
        // An entry without a protocol belongs to the protocol of the entry before it.
        protocol = Upper(settings.ReadString(kSubstitutionRulesSection, "Protocol" + number, protocol));

        if (!p1.empty() && !s1.empty() && !protocol.empty() && position == 0) {
            rules.Add(TRec{protocol, p1, s1, p2, s2, 0});
        } else if (p1.empty() && !s1.empty() && !protocol.empty() && position != 0) {
            rules.Add(TRec{protocol, "", s1, "", "", position});
        }
        if (protocol == kEndOfRulesProtocol) break;
    }
}

std::string VocabularySignature(const Tprotocol_descriptor& descriptor) {
    std::string signature;
    const int count = std::min(descriptor.vocabulary_count, static_cast<int>(std::size(descriptor.durations)));
    for (int k = 0; k < count; ++k) {
        if (descriptor.is_pulse[k]) signature += static_cast<char>('A' + k);
        if (descriptor.is_pause[k]) signature += static_cast<char>('a' + k);
    }
    return signature;
}

void ResetRulesForProtocol(TReplaceRule& rules, const Tprotocol_descriptor& descriptor) {
    SPX_ASSERT(rules.Count() >= kAutomaticRuleCount, "The automatic substitution rules are missing", kModule);

    for (int i = 0; i < kAutomaticRuleCount; ++i) {
        rules.Items(i).InChunk1.clear();
        rules.Items(i).ProtocolName = kNoProtocolName;
    }

    const std::string upperName = Upper(descriptor.name);
    bool ownRulesExist = false;
    for (const TRec& rule : rules.Rules()) {
        if (rule.ProtocolName == descriptor.name) ownRulesExist = true;
    }
    const bool skipNaming = (ownRulesExist && upperName != kNoProtocolName) || Trim(descriptor.name).empty();
    if (!skipNaming) {
        for (int i = 0; i < 3; ++i) rules.Items(i).ProtocolName = upperName;
        if (descriptor.carrier_period <= 0) {
            for (int i = 0; i < kAutomaticRuleCount; ++i) {
                TRec& rule = rules.Items(i);
                const PulsedPattern& pattern = kPulsedPatterns[static_cast<std::size_t>(i)];
                rule.InChunk1 = pattern.in1;
                rule.OutChunk1 = pattern.out1;
                rule.InChunk2 = pattern.in2;
                rule.OutChunk2 = pattern.out2;
            }
        }
    }

    if (descriptor.carrier_period > 0) {
        const std::string signature = VocabularySignature(descriptor);
        for (const PresetRow& row : kPresets) {
            if (!SignatureListed(row.signatures, signature) || !ConditionHolds(row.condition, descriptor)) continue;
            TRec& rule = rules.Items(row.rule);
            rule.InChunk1 = row.in1;
            rule.OutChunk1 = row.out1;
            if (row.in2 != nullptr) {
                rule.InChunk2 = row.in2;
                rule.OutChunk2 = row.out2;
            }
        }
    }
}

namespace {
bool ApplyRuleWithin(const TRec& rule, const std::string& s, bool hex, std::size_t limit, std::string& result);
}  // namespace

std::string ApplyRule(const TReplaceRule& rules, int index, const std::string& text, bool hex) {
    return ApplyRule(rules.Items(index), text, hex);
}

std::string ApplyRule(const TRec& rule, const std::string& s, bool hex) {
    std::string out;
    ApplyRuleWithin(rule, s, hex, std::numeric_limits<std::size_t>::max(), out);
    return out;
}

namespace {

// ApplyRule, given up as soon as the result grows longer than `limit` (false then, and `result` is left alone).
bool ApplyRuleWithin(const TRec& rule, const std::string& s, bool hex, std::size_t limit, std::string& result) {
    auto unchanged = [&] {
        if (s.size() > limit) return false;
        result = s;
        return true;
    };
    if (rule.Position < 0) return unchanged();
    const std::size_t w = hex ? kHexWindow : rule.InChunk1.size();
    if (s.size() < w) return unchanged();

    if (rule.Position > 0) {
        const auto n = static_cast<std::size_t>(rule.Position);
        if (n > s.size()) return unchanged();
        if (s.size() + rule.OutChunk1.size() > limit) return false;
        result = s.substr(0, n) + rule.OutChunk1 + s.substr(n);
        return true;
    }

    if (w == 0) return unchanged();
    std::string out;
    std::string window;
    bool full = false;
    bool groupOpen = false;
    // The window slides over s; the last character is reached only by sliding, so a match that ends just
    // before it swallows it (callers append a blank for that).
    for (std::size_t p = 0; p + 1 < s.size(); ++p) {
        if (!full) {
            window += s[p];
            full = window.size() == w;
        }
        if (!full) continue;
        if (hex) {
            if (IsBinaryWindow(window)) {
                if (!groupOpen) {
                    out += '{';
                    groupOpen = true;
                }
                out += HexDigit(window);
                window.clear();
                full = false;
            } else {
                if (groupOpen) {
                    out += '}';
                    groupOpen = false;
                }
                out += window.front();
                window = window.substr(1) + s[p + 1];
            }
        } else if (window == rule.InChunk1) {
            out += rule.OutChunk1;
            window.clear();
            full = false;
        } else if (window == rule.InChunk2) {
            out += rule.OutChunk2;
            window.clear();
            full = false;
        } else {
            out += window.front();
            window = window.substr(1) + s[p + 1];
        }
        if (out.size() > limit) return false;
    }
    // What is left in the window is compared only when it is a full window: a match on a part of it would
    // let an empty second pattern (the usual case) add its text to the end of every code it reaches.
    if (hex) {
        if (groupOpen) out += '}';
        out += window;
    } else if (window == rule.InChunk1) {
        out += rule.OutChunk1;
    } else if (window.size() == w && window == rule.InChunk2) {
        out += rule.OutChunk2;
    } else {
        out += window;
    }
    if (out.size() > limit) return false;
    result = std::move(out);
    return true;
}

}  // namespace

std::string TranslateCode(const TReplaceRule& rules, const Tprotocol_descriptor& current, const std::string& text,
                          bool hex) {
    return TranslateCode(rules, current.name, text, hex);
}

namespace {

std::string TooLongMessage(const std::string& upperName) {
    return "<the substitution rules of " + upperName + " would make this code longer than " +
           std::to_string(kMaxTranslatedLength) + " characters>";
}

}  // namespace

TTranslatedCode TranslateCodeChecked(const TReplaceRule& rules, const std::string& currentProtocolName,
                                     const std::string& text, bool hex) {
    TTranslatedCode result;
    std::string r = Trim(text);
    if (r == kNotRecordedCode || rules.Count() == 0) {
        result.text = std::move(r);
        return result;
    }

    const std::string upperName = Upper(currentProtocolName);
    auto refuse = [&] {
        result.ok = false;
        result.text = Trim(text);
        result.message = TooLongMessage(upperName);
        return result;
    };
    // The blanks kept around the text let patterns that begin or end with a blank match at its ends.
    for (const TRec& rule : rules.Rules()) {
        if (rule.ProtocolName != upperName) continue;
        if (!ApplyRuleWithin(rule, r + " ", false, kMaxTranslatedLength, r)) return refuse();
        if (r.empty()) break;
        if (r.front() != ' ') r.insert(r.begin(), ' ');
        if (r.back() != ' ') r.push_back(' ');
    }
    if (!ApplyRuleWithin(rules.Items(0), r + " ", hex, kMaxTranslatedLength, r)) return refuse();
    result.text = Trim(r);
    return result;
}

std::string TranslateCode(const TReplaceRule& rules, const std::string& currentProtocolName, const std::string& text,
                          bool hex) {
    TTranslatedCode translated = TranslateCodeChecked(rules, currentProtocolName, text, hex);
    return translated.ok ? std::move(translated.text) : std::move(translated.message);
}

}  // namespace spectrel
