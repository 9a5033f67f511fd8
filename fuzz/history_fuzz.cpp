// A history file of any bytes reads without crashing, and every line yields one row.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "users/history_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto rows = kibiki::ParseHistory(text);
    if (rows.size() > size) std::abort();
    return 0;
}
