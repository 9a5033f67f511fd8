#pragma once
// The built-in passages of the timed test: everyday texts of about a thousand characters, each
// sentence an entry in the form of the kanji lessons ("kanji,reading").
#include <string>
#include <vector>

namespace kibiki {

struct TestPassage {
    std::string strTitle;               // CP932
    std::vector<std::string> aEntries;  // CP932, one sentence each, in order
};

// Every passage, in id order; the same list for the whole run of the program.
const std::vector<TestPassage>& TestPassages();

}  // namespace kibiki
