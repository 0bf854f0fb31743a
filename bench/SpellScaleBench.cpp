// How spelling scales: ten times the text must take about ten times the time, in both walks
// over a text's words — `quillory-cli spell` on a file (100,000 and 1,000,000 words) and the
// spelling dialog's walk over a long entry (10,000 and 100,000 words, stopping at each unknown
// word as the dialog does) — and what each language's dictionary costs to open.
// Counters: `x10_time` = the time of ten times the text / the time of the text (target about
// 10; a walk that grows with the square of the text gives about 100), and per language the
// dictionary's size in KB and the milliseconds to open it and check the first word.
#include "app/spell/SpellEngine.h"
#include "app/spell/SpellLanguages.h"
#include "richtext/edit/EditorCore.h"

#include <benchmark/benchmark.h>

#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const fs::path kDataFolder = fs::path(QUILLORY_MAIN_DICTIONARY).parent_path();

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Prose of `count` words, a dozen a line (CR LF for the editor, LF for the file), with about 2 %
// of them misspelt by a changed letter.
std::string Prose(std::size_t count, const char* lineEnd)
{
    std::vector<std::string> words;
    {
        std::ifstream in(QUILLORY_SPELL_PROSE);
        for (std::string word; in >> word;) {
            while (!word.empty() && !std::isalpha(static_cast<unsigned char>(word.back())))
                word.pop_back();
            if (!word.empty())
                words.push_back(word);
        }
    }
    std::mt19937 random(2026);
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        std::string word = words[i % words.size()];
        if (word.size() > 3 && random() % 50 == 0)
            word[random() % word.size()] = char('a' + random() % 26);
        text += word;
        text += (i + 1) % 12 == 0 ? lineEnd : " ";
    }
    return text;
}

double RunSeconds(const std::vector<std::string>& argv)
{
    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        dup2(null, 1);
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) > 1)
        return -1;
    return Since(start);
}

void BM_CliWalkGrowth(benchmark::State& state)
{
    const fs::path folder = fs::temp_directory_path() / ("quillory-spell-scale-" + std::to_string(getpid()));
    fs::create_directories(folder);
    fs::copy_file(QUILLORY_CLI, folder / "quillory-cli", fs::copy_options::overwrite_existing);
    fs::copy_file(QUILLORY_MAIN_DICTIONARY, folder / "quillor.dct", fs::copy_options::overwrite_existing);
    for (const std::size_t words : {100000u, 1000000u})
        std::ofstream(folder / ("prose" + std::to_string(words) + ".txt"), std::ios::binary) << Prose(words, "\n");
    const auto command = [&](std::size_t words) {
        return std::vector<std::string>{(folder / "quillory-cli").string(), "--folder", folder.string(), "spell",
                                        (folder / ("prose" + std::to_string(words) + ".txt")).string()};
    };
    double small = 1e9, large = 1e9;
    for (auto _ : state) {
        const double a = RunSeconds(command(100000)), b = RunSeconds(command(1000000));
        if (a < 0 || b < 0) {
            state.SkipWithError("quillory-cli spell failed");
            break;
        }
        small = std::min(small, a);
        large = std::min(large, b);
    }
    fs::remove_all(folder);
    state.counters["100k words ms"] = small * 1e3;
    state.counters["1M words ms"] = large * 1e3;
    state.counters["x10_time"] = large / small;
}
BENCHMARK(BM_CliWalkGrowth)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// The dialog's walk: from the start to the end of the entry, stopping at every unknown word.
double DialogWalkSeconds(quillory::spell::TSpellEngine& engine, const std::string& text, int& stops)
{
    quillory::EditorCore core;
    core.InsertText(text);
    const auto start = Clock::now();
    stops = 0;
    const auto unknown = [&](std::string_view word) { return !engine.IsWordCorrect(word); };
    for (auto word = core.NextWord(true, unknown); word; word = core.NextWord(false, unknown))
        ++stops;
    return Since(start);
}

void BM_DialogWalkGrowth(benchmark::State& state)
{
    quillory::spell::TSpellEngine engine;
    if (!engine.OpenDictionary(QUILLORY_MAIN_DICTIONARY)) {
        state.SkipWithError("no main dictionary");
        return;
    }
    const std::string small = Prose(10000, "\r\n"), large = Prose(100000, "\r\n");
    double a = 1e9, b = 1e9;
    int smallStops = 0, largeStops = 0;
    for (auto _ : state) {
        a = std::min(a, DialogWalkSeconds(engine, small, smallStops));
        b = std::min(b, DialogWalkSeconds(engine, large, largeStops));
    }
    state.counters["10k words ms"] = a * 1e3;
    state.counters["100k words ms"] = b * 1e3;
    state.counters["stops at 100k"] = largeStops;
    state.counters["x10_time"] = b / a;
}
BENCHMARK(BM_DialogWalkGrowth)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// Opening a language's dictionary and checking a first word: what choosing it in the dialog
// or naming it to quillory-cli costs.
void BM_OpenDictionary(benchmark::State& state)
{
    const auto& language = quillory::spell::SpellLanguages()[std::size_t(state.range(0))];
    const fs::path file = kDataFolder / std::string(language.fileName);
    state.SetLabel(std::string(language.code));
    if (!fs::exists(file)) {
        state.SkipWithError("dictionary not built (its word list is missing)");
        return;
    }
    for (auto _ : state) {
        quillory::spell::TSpellEngine engine;
        benchmark::DoNotOptimize(engine.OpenDictionary(file.string()));
        benchmark::DoNotOptimize(engine.IsWordCorrect("word"));
    }
    state.counters["KB"] = double(fs::file_size(file)) / 1024.0;
}
BENCHMARK(BM_OpenDictionary)->DenseRange(0, 10)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
