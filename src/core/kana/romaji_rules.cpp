// The table of typed rules, merged from the string tables.
#include "kana/romaji_rules.h"

#include "kana/romaji_spelling.h"
#include "text/string_ids.h"
#include "text/string_table.h"

namespace kibiki {

namespace {

std::uint64_t KeyOf(std::string_view s) {
    std::uint64_t key = s.size();
    for (const char c : s) key = key << 8 | static_cast<unsigned char>(c);
    return key;
}

// ime_romaji.tsv: "kana<TAB>spelling spelling ...".
void AddInputMethodRows(RomajiRules& rules) {
    for (int id = IDS_IME_ROMAJI_FIRST; id <= IDS_IME_ROMAJI_LAST; ++id) {
        const std::string* line = FindString(id);
        if (!line) continue;
        const std::size_t tab = line->find('\t');
        if (tab == std::string::npos || tab == 0 || tab > RomajiRules::kMaxKanaBytes) continue;
        const std::string_view kana = std::string_view(*line).substr(0, tab);
        for (std::size_t p = tab + 1; p < line->size();) {
            std::size_t end = line->find(' ', p);
            if (end == std::string::npos) end = line->size();
            RomajiRule rule;
            if (RomajiRules::Parse(std::string_view(*line).substr(p, end - p), rule)) rules.Add(kana, std::move(rule));
            p = end + 1;
        }
    }
}

// Each hiragana, two-kana unit and symbol with its default spelling and alternatives. ん's
// default is NN, as the builder makes it: one N types ん only before what the N(x) rows name.
void AddSpellings(RomajiRules& rules) {
    for (int id = IDS_KANA_FIRST; id <= IDS_SYMBOL_LAST; ++id) {
        const std::string* kana = FindString(id);
        if (!kana || kana->empty() || kana->size() > RomajiRules::kMaxKanaBytes) continue;
        const int nDefault = DefaultSpellingId(id);
        const std::string* def = FindString(nDefault);
        if (def && !def->empty()) {
            RomajiRule rule;
            if (RomajiRules::Parse(id == IDS_HIRAGANA_N ? "NN" : *def, rule) && rule.nPending == 0) {
                rule.kind = RuleKind::Default;
                rule.nId = nDefault;
                rules.Add(*kana, std::move(rule));
            }
        }
        for (const auto& [nAltId, alt] : AlternativeSpellings(id)) {
            RomajiRule rule;
            if (!RomajiRules::Parse(alt, rule) || rule.nPending != 0) continue;
            rule.kind = RuleKind::Alternative;
            rule.nId = nAltId;
            rules.Add(*kana, std::move(rule));
        }
    }
}

}  // namespace

bool RomajiRules::Parse(std::string_view s, RomajiRule& rule) {
    rule = RomajiRule{};
    std::size_t open = std::string_view::npos;
    if (s.size() >= 4 && s.back() == ')') open = s.find('(', 1);
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (open != std::string_view::npos && (i == open || i + 1 == s.size())) continue;
        if (c <= ' ' || c >= 0x7F || (c >= 'a' && c <= 'z')) return false;
        rule.strLetters += c;
    }
    if (open != std::string_view::npos) rule.nPending = static_cast<int>(s.size() - open - 2);
    return !rule.strLetters.empty() && rule.nPending >= 0 &&
           rule.strLetters.size() > static_cast<std::size_t>(rule.nPending);
}

void RomajiRules::Add(std::string_view strKana, RomajiRule rule) {
    Entry& e = m_map[KeyOf(strKana)];
    if (e.strKana.empty()) e.strKana.assign(strKana);
    // The same letters from a later source add nothing: the first kind (default, alternative,
    // input method) stands.
    for (const RomajiRule& r : e.aRules)
        if (r.strLetters == rule.strLetters && r.nPending == rule.nPending) return;
    e.aRules.push_back(std::move(rule));
}

std::span<const RomajiRule> RomajiRules::For(std::string_view strKana) const {
    if (strKana.size() > kMaxKanaBytes) return {};
    const auto it = m_map.find(KeyOf(strKana));
    if (it == m_map.end()) return {};
    return it->second.aRules;
}

std::vector<std::string> RomajiRules::Texts() const {
    std::vector<std::string> out;
    out.reserve(m_map.size());
    for (const auto& [key, e] : m_map) out.push_back(e.strKana);
    return out;
}

const RomajiRules& TheRomajiRules() {
    static const RomajiRules rules = [] {
        RomajiRules r;
        AddSpellings(r);
        AddInputMethodRows(r);
        return r;
    }();
    return rules;
}

std::string_view HiraganaOf(std::string_view strChar) {
    static const std::unordered_map<std::uint64_t, std::string> hiragana = [] {
        std::unordered_map<std::uint64_t, std::string> m;
        for (int id = IDS_KANA_FIRST; id <= IDS_TWO_KANA_LAST; ++id) {
            const std::string* hira = FindString(id);
            const std::string* kata = FindString(id + KATAKANA_OFFSET);
            if (hira && kata && kata->size() == 2 && !hira->empty()) m.emplace(KeyOf(*kata), *hira);
        }
        m.emplace(KeyOf("\x83\x62"), "\x82\xC1");  // ッ: no kana id of its own
        return m;
    }();
    const auto it = hiragana.find(KeyOf(strChar));
    return it == hiragana.end() ? strChar : std::string_view(it->second);
}

}  // namespace kibiki
