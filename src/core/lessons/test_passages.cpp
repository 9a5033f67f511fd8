#include "lessons/test_passages.h"

#include <utility>

#include "text/string_ids.h"
#include "text/string_table.h"

namespace kibiki {

namespace {

// A passage is its title and the sentences that follow it without a gap; the first missing
// title ends the list.
std::vector<TestPassage> ReadPassages() {
    std::vector<TestPassage> passages;
    for (int base = IDS_TEST_PASSAGE_FIRST; base < IDS_TEST_PASSAGE_LAST; base += TEST_PASSAGE_STRIDE) {
        const std::string* title = FindString(base);
        if (title == nullptr) break;
        TestPassage passage{*title, {}};
        for (int id = base + 1; id < base + TEST_PASSAGE_STRIDE; ++id) {
            const std::string* entry = FindString(id);
            if (entry == nullptr) break;
            passage.aEntries.push_back(*entry);
        }
        passages.push_back(std::move(passage));
    }
    return passages;
}

}  // namespace

const std::vector<TestPassage>& TestPassages() {
    static const std::vector<TestPassage> passages = ReadPassages();
    return passages;
}

}  // namespace kibiki
