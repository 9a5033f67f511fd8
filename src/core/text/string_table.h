#pragma once
// Numbered strings compiled in from resources/strings.tsv and resources/lessons.tsv (UTF-8 there,
// CP932 here). Ids are fixed: some are stored in users' settings files.
#include <string>
#include <string_view>

namespace kibiki {

// The string with that id, or nullptr when there is none (a missing resource).
const std::string* FindString(int id);

// Like the framework's LoadString: true and out set when the id exists; out unchanged otherwise.
bool LoadString(int id, std::string& out);

// Convenience for callers that treat a missing string as empty.
std::string StringOrEmpty(int id);

}  // namespace kibiki
