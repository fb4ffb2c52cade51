#pragma once
// Substitution rules: they turn the vocabulary letters of an IR code into something a person reads
// ("Aa" -> "0", "Ab" -> "1", " Ac" -> " S-", four bits -> one hexadecimal digit). Only what is shown is
// translated; stored codes and the device file keep the raw letters.
//
// Rules 0 to 3 are the automatic rules, derived again from the carrier and the vocabulary whenever the current
// protocol changes; rules read from the settings file follow from index 4 on and never change during a run.

#include <string>
#include <vector>

#include "Code/SPX_Data.h"
#include "Code/SPX_IniFile.h"

namespace spectrel {

inline constexpr const char* kSubstitutionRulesSection = "Substutution Rules";
inline constexpr const char* kNoProtocolName = "NO NAME";
inline constexpr int kAutomaticRuleCount = 4;
inline constexpr int kMaxSettingsRules = 100;
// Rules apply one after another and each may lengthen the text: a translation longer than this is not made.
inline constexpr std::size_t kMaxTranslatedLength = 1u << 20;

// One rule.
struct TRec {
    std::string ProtocolName;  // applies to the protocol whose upper-case name equals this
    std::string InChunk1;      // first pattern; its length is the window length
    std::string OutChunk1;     // replaces InChunk1; for a position rule, the text inserted
    std::string InChunk2;      // second pattern, compared with the same window
    std::string OutChunk2;     // replaces InChunk2
    int Position = 0;          // 0 pattern rule; n > 0 insert OutChunk1 after n characters; < 0 does nothing

    bool operator==(const TRec&) const = default;
};

// The rule list; it owns its rules.
class TReplaceRule {
public:
    int Count() const { return static_cast<int>(rules_.size()); }
    // Index 0 to Count()-1; any other index is a programming error.
    TRec& Items(int index);
    const TRec& Items(int index) const;
    void Add(TRec rule) { rules_.push_back(std::move(rule)); }
    void Clear() { rules_.clear(); }
    const std::vector<TRec>& Rules() const { return rules_; }

private:
    std::vector<TRec> rules_;
};

// The four automatic rules as they stand before any protocol is known.
std::vector<TRec> DefaultAutomaticRules();

// Empties the list, adds the four automatic rules and then the rules of the section "Substutution Rules"
// (entries 0 to 99; reading stops after the entry whose protocol is "End").
void LoadRules(TReplaceRule& rules, const TIniFile& settings);

// The vocabulary signature: for each element k, 'A'+k when it occurs as a pulse, then 'a'+k when as a pause.
std::string VocabularySignature(const Tprotocol_descriptor& descriptor);

// Derives the automatic rules again for the protocol `descriptor` (the current protocol after it changed).
void ResetRulesForProtocol(TReplaceRule& rules, const Tprotocol_descriptor& descriptor);

// One rule over one text; `hex` shows runs of four binary digits as hexadecimal digits between braces.
std::string ApplyRule(const TReplaceRule& rules, int index, const std::string& text, bool hex);
std::string ApplyRule(const TRec& rule, const std::string& text, bool hex);

// The displayed form of a button's code text under the current protocol `current`.
std::string TranslateCode(const TReplaceRule& rules, const Tprotocol_descriptor& current, const std::string& text,
                          bool hex);
// The same with the current protocol given by its name. When the rules would make the text longer than
// kMaxTranslatedLength characters, the result is the message of TranslatedCode instead.
std::string TranslateCode(const TReplaceRule& rules, const std::string& currentProtocolName, const std::string& text,
                          bool hex);

// A translation that may have been refused: then `ok` is false, `text` is the code text untranslated (trimmed)
// and `message` says why.
struct TTranslatedCode {
    bool ok = true;
    std::string text;
    std::string message;
};
TTranslatedCode TranslateCodeChecked(const TReplaceRule& rules, const std::string& currentProtocolName,
                                     const std::string& text, bool hex);

}  // namespace spectrel
