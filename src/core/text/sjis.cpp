#include "text/sjis.h"

namespace kibiki {

std::string UpperAscii(std::string_view s) {
    std::string out(s);
    for (std::size_t i = 0; i < out.size();) {
        const std::size_t n = CharLenAt(out, i);
        if (n == 1) out[i] = static_cast<char>(UpperAsciiChar(static_cast<unsigned char>(out[i])));
        i += n;
    }
    return out;
}

}  // namespace kibiki
