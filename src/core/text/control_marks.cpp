#include "text/control_marks.h"

#include "text/string_ids.h"
#include "text/string_table.h"

namespace kibiki {

std::string ControlMark(unsigned char ch) {
    struct Named { unsigned char ch; int nId; };
    static constexpr Named kNamed[] = {{'\b', IDS_MARK_BACKSPACE}, {'\t', IDS_MARK_TAB},
                                       {'\n', IDS_MARK_LINE_FEED}, {'\r', IDS_MARK_ENTER},
                                       {0x1B, IDS_MARK_ESCAPE},     {' ', IDS_MARK_SPACE},
                                       {0x7F, IDS_MARK_DELETE}};
    for (const Named& n : kNamed)
        if (n.ch == ch) return StringOrEmpty(n.nId);
    if (ch < 0x20) return std::string{'^', static_cast<char>(ch + 0x40)};
    return {};
}

std::string ShowControls(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto ch = static_cast<unsigned char>(c);
        if (ch < 0x20 || ch == 0x7F) out += "[" + ControlMark(ch) + "]";
        else out += c;
    }
    return out;
}

}  // namespace kibiki
