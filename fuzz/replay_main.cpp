// Runs every file of a corpus folder (and the folder's regression cases) through the fuzz entry
// point, so each test run replays what fuzzing found.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "support/test_util.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR\n", argv[0]);
        return 2;
    }
    int count = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(argv[1])) {
        if (!entry.is_regular_file()) continue;
        const std::string bytes = kibiki::test::ReadFile(entry.path());
        // Like libFuzzer, never hand over a null pointer, even for an empty input.
        static const std::uint8_t kEmpty = 0;
        const auto* data = bytes.empty() ? &kEmpty : reinterpret_cast<const std::uint8_t*>(bytes.data());
        LLVMFuzzerTestOneInput(data, bytes.size());
        ++count;
    }
    if (count == 0) {
        std::fprintf(stderr, "%s: empty corpus\n", argv[1]);
        return 1;
    }
    std::printf("%d inputs replayed\n", count);
    return 0;
}
