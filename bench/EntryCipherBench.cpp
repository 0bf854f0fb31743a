// Reading every entry of a diary through ReadEntry, as search, export and printing do: plain,
// under the stored format's cipher, and under the strong scheme (key held for the run). The
// figure that counts is the strong run against the plain one: opening a seal must not make a
// walk over the diary noticeably slower than reading the files.
#include "app/DiarySecurity.h"
#include "app/EntryFiles.h"
#include "app/EntryStore.h"
#include "app/PasswordChange.h"
#include "platform/ProgramFolder.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <sodium.h>

namespace fs = std::filesystem;
using namespace quillory;

namespace {

const Day kFirst = *Day::FromDate(2000, 1, 1);
constexpr int kEntries = 400;

// A diary of kEntries entries of about 4 KiB each under `scheme`, with the key held.
class Diary {
public:
    Diary(Scheme scheme)
    {
        std::string pattern = (fs::temp_directory_path() / "quillory-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        root_ = pattern;
        SetProgramFolder(root_.string() + "/");
        fs::create_directories(root_ / "Entries");
        const std::string rtf = "{\\rtf1\\ansi " + std::string(4000, 'w') + "}";
        for (int i = 0; i < kEntries; ++i)
            WriteEntry(kFirst + i, rtf, "");
        ForgetSessionKey();
        if (scheme != Scheme::None) {
            RekeyTarget target;
            target.scheme = scheme == Scheme::Strong ? PasswordScheme::Strong : PasswordScheme::Legacy;
            ProcessPassword("", password(), {}, target);  // holds the new key, as the gate would
        }
    }
    ~Diary()
    {
        ForgetSessionKey();
        fs::remove_all(root_);
    }
    static std::string password() { return "Bench 1"; }

private:
    fs::path root_;
};

void ReadAll(benchmark::State& state, Scheme scheme)
{
    const Diary diary(scheme);
    const std::string password = scheme == Scheme::None ? std::string() : Diary::password();
    for (auto _ : state) {
        std::size_t bytes = 0;
        for (int i = 0; i < kEntries; ++i)
            bytes += ReadEntry(kFirst + i, password).size();
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * kEntries);
}

void BM_ReadAllPlain(benchmark::State& state) { ReadAll(state, Scheme::None); }
void BM_ReadAllLegacy(benchmark::State& state) { ReadAll(state, Scheme::Legacy); }
void BM_ReadAllStrong(benchmark::State& state) { ReadAll(state, Scheme::Strong); }

BENCHMARK(BM_ReadAllPlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAllLegacy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAllStrong)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
