#pragma once
// Paths that are no regular file, for the tests and fuzz targets of every file reader. A fuzz
// input chooses one with a first line "#!folder", "#!fifo", "#!devzero" or "#!huge".
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

namespace kibiki::test {

enum class FileKind { Regular, Folder, Fifo, DevZeroLink, Huge };

// Takes a leading "#!<kind>\n" line off data; Regular when there is none.
inline FileKind TakeFileKind(std::string_view& data) {
    static const struct { std::string_view tag; FileKind kind; } kTags[] = {
        {"#!folder\n", FileKind::Folder}, {"#!fifo\n", FileKind::Fifo},
        {"#!devzero\n", FileKind::DevZeroLink}, {"#!huge\n", FileKind::Huge}};
    for (const auto& t : kTags) {
        if (data.starts_with(t.tag)) {
            data.remove_prefix(t.tag.size());
            return t.kind;
        }
    }
    return FileKind::Regular;
}

// Replaces whatever is at path (its folder must exist) with a thing of that kind. Regular and
// Huge files hold bytes; Huge is then grown with zeros to nHugeSize. False when it cannot be made.
inline bool MakeFileKind(const std::string& path, FileKind kind, std::string_view bytes = {},
                         std::uintmax_t nHugeSize = 0) {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
    switch (kind) {
        case FileKind::Folder: return std::filesystem::create_directory(path, ec);
        case FileKind::Fifo: return ::mkfifo(path.c_str(), 0600) == 0;
        case FileKind::DevZeroLink: std::filesystem::create_symlink("/dev/zero", path, ec); return !ec;
        case FileKind::Regular:
        case FileKind::Huge: break;
    }
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) return false;
    }
    if (kind == FileKind::Huge) std::filesystem::resize_file(path, nHugeSize, ec);
    return !ec;
}

}  // namespace kibiki::test
