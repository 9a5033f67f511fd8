#include "lessons/control_names.h"

#include "kana/jis_keyboard.h"
#include "kana/kana_tables.h"
#include "lessons/practice_form.h"
#include "text/cp932.h"

namespace kibiki {

namespace {

constexpr const char* kFingers[] = {"left_little", "left_ring",    "left_middle", "left_index",
                                    "right_index", "right_middle", "right_ring",  "right_little"};
constexpr const char* kMarkedKeys[] = {"A", "S", "D", "F", "J", "K", "L", ";"};

}  // namespace

std::string ControlName(int nId) {
    if (nId >= IDC_KEY_FIRST && nId <= IDC_KEY_LAST) {
        const char half = static_cast<char>(KanaOfKey(nId - IDC_KEY_FIRST, false));
        std::string kana;  // the key's own kana as hiragana
        ConvertKana(kana, false, std::string(1, half));
        return "cap_" + Cp932ToUtf8(kana);
    }
    if (nId >= IDC_FINGER_FIRST && nId <= IDC_FINGER_LAST)
        return std::string("finger_") + kFingers[nId - IDC_FINGER_FIRST];
    if (nId >= IDC_MARKER_FIRST && nId <= IDC_MARKER_LAST)
        return std::string("marker_") + kMarkedKeys[nId - IDC_MARKER_FIRST];
    switch (nId) {
        case IDC_TITLE: return "title";
        case IDC_QUESTION: return "question";
        case IDC_ANSWER: return "answer";
        case IDC_MISS_COUNT: return "miss_count";
        case IDC_MISS_KEY: return "miss_key";
        case IDC_ACCURACY: return "accuracy";
        case IDC_REMAINING: return "remaining";
        case IDC_SHIFT_LEFT: return "shift_left";
        case IDC_SHIFT_RIGHT: return "shift_right";
        case IDC_PROGRESS: return "progress";
    }
    return std::to_string(nId);
}

}  // namespace kibiki
