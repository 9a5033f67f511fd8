#pragma once
// What the romaji settings dialog edits: the fixed-spelling switch and the fixed spelling of
// each kana, with the spelling check of the small edit dialog. It works on a copy; Apply stores
// the copy and saves. Deleting the learned spellings is the exception: it acts at once.
#include <string>
#include <string_view>
#include <vector>

#include "kana/romaji_spelling.h"

namespace kibiki {

class CKibikiDoc;
class CUserSettings;
class Messenger;

// Rows あ to でぃ: kana ids 40100-40250, row i being kana id 40100 + i and key i of Roman.
constexpr int kRomanRowCount = 151;

// The text of the spelling box (UTF-8) as a fixed spelling: the letters A-Z in either case,
// stored upper case; empty means the default. Anything else is refused with a message
// (pMessenger, when given) and false returned.
bool CheckRomanSpelling(std::string_view utf8, std::string& strSpelling, Messenger* pMessenger);

class CRomanSettingModel {
public:
    // Rows show the fixed spelling where one is set, else the default, whatever the mode;
    // learned spellings are not shown.
    CRomanSettingModel(const CUserSettings& settings, bool bFixRoman);

    struct Row {
        std::string strKana;   // CP932
        std::string strRoman;  // CP932
    };

    // The list is usable only with the fixed-spelling mode on.
    bool ListEnabled() const { return m_bFixRoman; }
    void SetFixRoman(bool bFixRoman);
    // A row was selected (-1: none).
    void Select(int nRow);
    // "変更" answered with OK: the spelling (already checked) is queued and the row shows it, or
    // the default for an empty one.
    void Change(int nRow, const std::string& strSpelling);

    // "学習削除": asks first; on Yes the learned spellings (input-method ones too) go and the settings are saved at
    // once, whether the dialog then ends with OK or not. True when they were deleted.
    static bool DeleteLearning(CUserSettings& settings, Messenger& messenger);

    // "OK": the queued spellings in order (a row changed twice ends with its later text), the
    // switch into RomanMode and the document, the input-method option, saved once.
    bool Apply(CKibikiDoc& doc) const;

    std::vector<Row> m_aRows;
    bool m_bFixRoman;
    bool m_bImeSpellings = false;  // "IMEと同じつづりをすべて受け付ける", in either mode
    int m_nSelected = -1;
    bool m_bCanChange = false;  // "変更"
    std::vector<int> m_aChangedRows;
    std::vector<std::string> m_aChangedRoman;
};

}  // namespace kibiki
