#pragma once
// Every key of the settings file, once: the member that holds it, its default and its kind.
// Reading the file, writing it, the new-user file, the profile import and the Get/Set operations
// of CUserSettings all walk this table; a new setting is one new row (and its member).
#include <array>
#include <map>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "users/user_settings.h"

namespace kibiki {

// What a key's lines look like; n is an integer in decimal.
enum class SettingKind {
    Int,       // Key=n
    Bool,      // Key=0 or Key=1; any non-zero number reads as true
    Text,      // Key=text up to the end of the line
    Colours,   // Key0=n .. Key3=n, one COLORREF per finger group; the index is one character
    TextList,  // Key0=text, Key1=text, ...: the digits are not read, entries keep line order
    TextMap,   // Key<n>=text
    IntMap,    // Key<n>=n
};

// Int, Bool and Text keys stand alone on their line; the others carry an index after the key.
constexpr bool IsSingleLine(SettingKind kind) {
    return kind == SettingKind::Int || kind == SettingKind::Bool || kind == SettingKind::Text;
}

// Alternatives in the order of SettingKind.
using SettingMember =
    std::variant<int CUserSettings::*, bool CUserSettings::*, std::string CUserSettings::*,
                 int (CUserSettings::*)[4], std::vector<std::string> CUserSettings::*,
                 std::map<int, std::string> CUserSettings::*, std::map<int, int> CUserSettings::*>;

struct SettingKey {
    SettingKind kind;
    std::string_view key;
    std::string_view section;  // where the profile import finds it; empty: it never does
    SettingMember member;
    // Int, Bool: [0]; Colours: per finger group; IntMap: a value the profile names but lacks.
    // Both a new record and a new file start from these.
    std::array<int, 4> nDefault{};
    std::string_view strDefault{};  // Text: what the import sets; a new record holds none
    // Beyond the keys every reader of the file knows: written last and only when it differs from
    // its default (or, for a map, holds entries), so that a file that never used it keeps its
    // exact bytes; never imported, and back to its default when a user's file is loaded.
    bool bExtra = false;
};

// File order of the single-line keys; colours are written by finger group (ColorL0, ColorB0,
// ColorLG0, ColorL1, ...), then the lists and maps. Reading takes the first row a key fits.
inline constexpr SettingKey kSettingKeys[] = {
    // kind                 key          section     member                          default
    {SettingKind::Int,      "Type",      "Settings", &CUserSettings::m_nType,        {0}},
    {SettingKind::Bool,     "HomePos",   "Settings", &CUserSettings::m_bHomePos,     {1}},
    {SettingKind::Int,      "HomeColor", "Settings", &CUserSettings::m_nHomeColor,   {0x000000}},
    {SettingKind::Bool,     "RomanMode", "Settings", &CUserSettings::m_bRomanMode,   {1}},
    {SettingKind::Int,      "Font",      "Settings", &CUserSettings::m_nFont,        {3}},
    {SettingKind::Bool,     "Color",     "Settings", &CUserSettings::m_bColor,       {1}},
    {SettingKind::Int,      "count",     "Original", &CUserSettings::m_nCount,       {0}},
    {SettingKind::Text,     "KanaSepa",  "",         &CUserSettings::m_strKanaSepa,  {}, "\x81\x62"},  // ｜
    {SettingKind::Bool,     "ImeSpellings", "",      &CUserSettings::m_bImeSpellings, {0}, {}, true},
    {SettingKind::Bool,     "NextKeyFrame", "",      &CUserSettings::m_bNextKeyFrame, {0}, {}, true},
    {SettingKind::Int,      "DailyGoal", "",         &CUserSettings::m_nDailyGoal,   {0}, {}, true},
    // black legends; yellow, cyan, silver, green keys; red next-key legends
    {SettingKind::Colours,  "ColorL",    "Settings", &CUserSettings::m_nColorL,      {0x000000, 0x000000, 0x000000, 0x000000}},
    {SettingKind::Colours,  "ColorB",    "Settings", &CUserSettings::m_nColorB,      {0x00FFFF, 0xFFFF00, 0xC0C0C0, 0x00FF00}},
    {SettingKind::Colours,  "ColorLG",   "Settings", &CUserSettings::m_nColorLG,     {0x0000FF, 0x0000FF, 0x0000FF, 0x0000FF}},
    {SettingKind::TextList, "No",        "Original", &CUserSettings::m_aNo},
    {SettingKind::TextList, "File",      "Original", &CUserSettings::m_aFile},
    {SettingKind::TextMap,  "Roman",     "Roman",    &CUserSettings::m_mapRoman},
    {SettingKind::IntMap,   "DynRoman",  "DynRoman", &CUserSettings::m_mapDynRoman,  {-1}},
    // Input-method spellings learned: kana id -> letters. Never DynRoman, whose values name
    // only the alternatives every reader knows.
    {SettingKind::TextMap,  "ImeRoman",  "",         &CUserSettings::m_mapImeRoman,  {}, {}, true},
};

// A line's key is tried against the rows in order, so the single-line keys come before the
// indexed ones: RomanMode and Color must never be read as a Roman or a colour entry.
constexpr bool ExactKeysFirst() {
    bool bIndexed = false;
    for (const auto& k : kSettingKeys) {
        if (IsSingleLine(k.kind) && bIndexed) return false;
        bIndexed = bIndexed || !IsSingleLine(k.kind);
    }
    return true;
}
static_assert(ExactKeysFirst(), "single-line keys come before the indexed ones");

constexpr bool KindsMatchMembers() {
    for (const auto& k : kSettingKeys)
        if (static_cast<std::size_t>(k.kind) != k.member.index()) return false;
    return true;
}
static_assert(KindsMatchMembers(), "a row's kind names the type of its member");

// The row of a key of the given kind, or null.
constexpr const SettingKey* FindSettingKey(std::string_view key, SettingKind kind) {
    for (const auto& k : kSettingKeys)
        if (k.kind == kind && k.key == key) return &k;
    return nullptr;
}

}  // namespace kibiki
