// Any bytes decode, and text that decodes without loss encodes back to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "text/cp932.h"
#include "text/sjis.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string in(reinterpret_cast<const char*>(data), size);
    const std::string utf8 = kibiki::Cp932ToUtf8(in);
    bool lossless = false;
    const std::string back = kibiki::Utf8ToCp932(utf8, &lossless);
    if (utf8.find("\xEF\xBF\xBD") == std::string::npos && back != in) std::abort();
    (void)kibiki::UpperAscii(in);
    return 0;
}
