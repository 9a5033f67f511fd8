#pragma once
// The rules an input method types romaji by, as one table: for each kana text (hiragana, a
// symbol or a digit, CP932) every spelling that types it and where the spelling comes from.
// Generated once from the string tables: each kana's default spelling and alternatives, and
// ime_romaji.tsv. The input-method matcher reads nothing else.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kibiki {

enum class RuleKind : unsigned char {
    Default,      // the kana's default spelling
    Alternative,  // one of the kana's alternatives (learned as DynRoman)
    InputMethod,  // any other spelling an input method takes (learned as ImeRoman)
};

struct RomajiRule {
    std::string strLetters;  // the keys, pending ones included
    int nPending = 0;        // the last letters: they type nothing here and begin what follows
    RuleKind kind = RuleKind::InputMethod;
    int nId = 0;             // the string of a default or alternative spelling
    bool operator==(const RomajiRule&) const = default;

    std::string_view Own() const {
        return std::string_view(strLetters).substr(0, strLetters.size() - static_cast<std::size_t>(nPending));
    }
    std::string_view Pending() const { return std::string_view(strLetters).substr(Own().size()); }
};

class RomajiRules {
public:
    // Kana texts run to three characters: う゛ぁ.
    static constexpr std::size_t kMaxKanaBytes = 6;

    // The rules that type exactly this kana text, in the table's order (defaults first).
    std::span<const RomajiRule> For(std::string_view strKana) const;
    // Every kana text with rules.
    std::vector<std::string> Texts() const;

    // A rule as ime_romaji.tsv writes it: "KYA", "K(K)" (the K in parentheses pending).
    static bool Parse(std::string_view strSpelling, RomajiRule& rule);

    void Add(std::string_view strKana, RomajiRule rule);

private:
    struct Entry {
        std::string strKana;
        std::vector<RomajiRule> aRules;
    };
    std::unordered_map<std::uint64_t, Entry> m_map;
};

const RomajiRules& TheRomajiRules();

// The hiragana a katakana character reads as (ヴ: う゛); the text itself when it is no katakana.
std::string_view HiraganaOf(std::string_view strChar);

}  // namespace kibiki
