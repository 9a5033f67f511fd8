#include "text/string_table.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace kibiki {
namespace detail {
struct StringEntry { int id; const char* bytes; std::size_t length; };
extern const StringEntry kStringEntries[];
extern const std::size_t kStringCount;
}  // namespace detail

namespace {

struct Table {
    int firstId = 0;
    std::vector<std::string> texts;
    std::vector<bool> present;
};

// Dense by id: lookups sit on the keystroke path.
const Table& TheTable() {
    static const Table table = [] {
        Table t;
        if (detail::kStringCount == 0) return t;
        const auto* first = detail::kStringEntries;
        const auto* last = first + detail::kStringCount - 1;  // entries are sorted by id
        t.firstId = first->id;
        const std::size_t span = static_cast<std::size_t>(last->id - first->id) + 1;
        t.texts.resize(span);
        t.present.resize(span);
        for (std::size_t i = 0; i < detail::kStringCount; ++i) {
            const auto& e = detail::kStringEntries[i];
            t.texts[e.id - t.firstId].assign(e.bytes, e.length);
            t.present[e.id - t.firstId] = true;
        }
        return t;
    }();
    return table;
}

}  // namespace

const std::string* FindString(int id) {
    const Table& t = TheTable();
    if (id < t.firstId) return nullptr;
    const auto i = static_cast<std::size_t>(id - t.firstId);
    return i < t.texts.size() && t.present[i] ? &t.texts[i] : nullptr;
}

bool LoadString(int id, std::string& out) {
    const std::string* s = FindString(id);
    if (!s) return false;
    out = *s;
    return true;
}

std::string StringOrEmpty(int id) {
    const std::string* s = FindString(id);
    return s ? *s : std::string();
}

}  // namespace kibiki
