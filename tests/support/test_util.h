#pragma once
// Helpers shared by the tests, the benchmarks and the fuzz targets.
#include <stdlib.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>

#include "text/cp932.h"

namespace kibiki::test {

// Tests write expectations in UTF-8; the core speaks CP932.
inline std::string Sj(std::string_view utf8) { return Utf8ToCp932(utf8); }
inline std::string U8(std::string_view cp932) { return Cp932ToUtf8(cp932); }

// A fresh folder in the temporary directory, removed with all it holds when the object goes.
class TempFolder {
public:
    explicit TempFolder(std::string_view stem = "kibiki") {
        std::string path =
            (std::filesystem::temp_directory_path() / (std::string(stem) + "_XXXXXX")).string();
        if (!::mkdtemp(path.data()))
            throw std::system_error(errno, std::generic_category(), "mkdtemp " + path);
        m_path = std::move(path);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Without a trailing '/'.
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

// The whole file, byte for byte; empty when it cannot be read.
inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace kibiki::test
