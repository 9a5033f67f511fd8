// Any bytes decode, and decoded text survives a trip through the encoder (NEC/IBM duplicates
// may come back as their canonical code, so compare the text, not the bytes).
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
    if (utf8.find("\xEF\xBF\xBD") == std::string::npos &&
        (!lossless || kibiki::Cp932ToUtf8(back) != utf8))
        std::abort();
    (void)kibiki::UpperAscii(in);
    return 0;
}
