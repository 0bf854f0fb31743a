// Stands in for libFuzzer in ordinary builds: feeds every file under the given folders to the
// target once, so that the seed corpus and past findings stay regression tests. Fails when it
// found nothing to replay.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv)
{
    int files = 0;
    for (int i = 1; i < argc; ++i) {
        std::error_code error;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(argv[i], error)) {
            if (!entry.is_regular_file())
                continue;
            std::ifstream in(entry.path(), std::ios::binary);
            const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++files;
        }
    }
    std::printf("replayed %d files\n", files);
    // A missing or empty corpus tests nothing: that is a failure, not a pass.
    if (files == 0) {
        std::fprintf(stderr, "no corpus files found: nothing was replayed\n");
        return 1;
    }
    return 0;
}
