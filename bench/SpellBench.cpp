// The spell engine against hunspell with Debian's en_US dictionary, in the same run, on the same
// text: 100,000 words of ordinary prose in which 2 % are misspelt by one edit of the real word.
//  - BM_CheckFile: the whole programs on that text as a file of lines with Unix line ends:
//    `quillory-cli spell FILE` against `hunspell -l -d en_US FILE` (start, dictionary, walk and
//    output included), best of the runs; `x_hunspell` = hunspell's time / ours (target >= 2).
//  - BM_CheckWords: the engine's lookups against the hunspell library's, word by word.
//  - BM_Suggest: suggestion requests per second of each and their ratio (target >= 10).
//  - BM_SuggestionQuality: how often the intended word is among the first five suggestions.
// Without hunspell the program says so in each benchmark's label and measures ours alone.
#include <sys/wait.h>
#include <unistd.h>

#include "app/spell/SpellAlphabet.h"
#include "app/spell/SpellEngine.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>

#if defined(QUILLORY_HAVE_HUNSPELL)
#include <hunspell.hxx>
#endif

namespace {

using quillory::spell::TSpellEngine;

constexpr std::size_t kTextWords = 100000;
constexpr int kMisspeltPercent = 2;
constexpr std::size_t kSuggestSample = 200;  // requests timed per iteration
constexpr std::size_t kQualitySample = 400;  // misspellings whose top five are judged

double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

constexpr const char* kNoLibrary = "the hunspell library with Debian's en_US dictionary is NOT installed "
                                   "(packages libhunspell-dev, hunspell-en-us): no comparison";

struct Misspelling {
    std::string typed;
    std::string intended;
};

class Checkers {
public:
    Checkers()
    {
        if (!engine.OpenDictionary(QUILLORY_MAIN_DICTIONARY))
            std::fprintf(stderr, "bench_spell: no main dictionary at %s\n", QUILLORY_MAIN_DICTIONARY);
#if defined(QUILLORY_HAVE_HUNSPELL)
        const std::string base = "/usr/share/hunspell/en_US";
        if (std::filesystem::exists(base + ".aff") && std::filesystem::exists(base + ".dic"))
            hunspell = std::make_unique<Hunspell>((base + ".aff").c_str(), (base + ".dic").c_str());
#endif
        if (!hunspell)
            std::fprintf(stderr, "bench_spell: hunspell with Debian's en_US dictionary is not available "
                                 "(packages libhunspell-dev, hunspell-en-us); nothing is compared with it\n");
    }

#if defined(QUILLORY_HAVE_HUNSPELL)
    bool HunspellKnows(const std::string& word) { return hunspell && hunspell->spell(word); }
    std::vector<std::string> HunspellSuggest(const std::string& word)
    {
        return hunspell ? hunspell->suggest(word) : std::vector<std::string>{};
    }
    std::unique_ptr<Hunspell> hunspell;
#else
    bool HunspellKnows(const std::string&) { return false; }
    std::vector<std::string> HunspellSuggest(const std::string&) { return {}; }
    std::unique_ptr<int> hunspell;  // never set: the library was not there at build
#endif

    TSpellEngine engine;
};

Checkers& Shared()
{
    static Checkers checkers;
    return checkers;
}

std::vector<std::string> ProseWords()
{
    std::vector<std::string> words;
    for (const char* file : {QUILLORY_SPELL_PROSE, "/usr/share/common-licenses/GPL-3"}) {
        std::ifstream in(file);
        std::string word;
        for (char c; in.get(c);) {
            if (std::isalpha(static_cast<unsigned char>(c)) || (c == '\'' && !word.empty())) {
                word += c;
            } else if (!word.empty()) {
                while (!word.empty() && word.back() == '\'')
                    word.pop_back();
                words.push_back(word);
                word.clear();
            }
        }
    }
    return words;
}

// One edit of a real word: a letter changed, dropped, doubled or two swapped; only an edit that
// neither checker knows counts as a misspelling.
std::string OneEdit(std::string word, std::mt19937& random)
{
    const std::size_t at = random() % word.size();
    switch (random() % 4) {
    case 0: word[at] = char('a' + random() % 26); break;
    case 1: word.erase(at, 1); break;
    case 2: word.insert(at, 1, word[at]); break;
    default:
        if (at + 1 < word.size())
            std::swap(word[at], word[at + 1]);
        else
            word[at] = char('a' + random() % 26);
        break;
    }
    return word;
}

struct Text {
    std::vector<std::string> words;
    std::vector<Misspelling> misspelt;
};

const Text& TheText()
{
    static const Text text = [] {
        Checkers& c = Shared();
        const std::vector<std::string> prose = ProseWords();
        std::vector<std::string> known;
        for (const std::string& w : prose) {
            if (c.engine.IsWordCorrect(w) && (!c.hunspell || c.HunspellKnows(w)))
                known.push_back(w);
        }
        Text out;
        std::mt19937 random(20261210);
        std::size_t at = 0;
        while (out.words.size() < kTextWords) {
            const std::string& word = known[at++ % known.size()];
            if (word.size() >= 3 && int(random() % 100) < kMisspeltPercent) {
                std::string typo = OneEdit(word, random);
                for (int tries = 0; tries < 20 && (c.engine.IsWordCorrect(typo) || c.HunspellKnows(typo)); ++tries)
                    typo = OneEdit(word, random);
                if (!c.engine.IsWordCorrect(typo) && !c.HunspellKnows(typo)) {
                    out.words.push_back(typo);
                    out.misspelt.push_back({typo, word});
                    continue;
                }
            }
            out.words.push_back(word);
        }
        return out;
    }();
    return text;
}

// The text as a file: a dozen words a line, Unix line ends.
const std::filesystem::path& TextFile()
{
    static const std::filesystem::path file = [] {
        const auto folder = std::filesystem::temp_directory_path() / ("quillory-spell-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        const auto path = folder / "prose.txt";
        std::ofstream out(path, std::ios::binary);
        const Text& text = TheText();
        for (std::size_t i = 0; i < text.words.size(); ++i)
            out << text.words[i] << ((i + 1) % 12 == 0 ? '\n' : ' ');
        out << '\n';
        return path;
    }();
    return file;
}

// A portable copy of quillory-cli beside the main dictionary, in the text's folder, as a user has it.
std::string PortableCli()
{
    static const std::string cli = [] {
        const auto folder = TextFile().parent_path();
        std::filesystem::copy_file(QUILLORY_CLI, folder / "quillory-cli", std::filesystem::copy_options::overwrite_existing);
        std::filesystem::copy_file(QUILLORY_MAIN_DICTIONARY, folder / "quillor.dct",
                                   std::filesystem::copy_options::overwrite_existing);
        return (folder / "quillory-cli").string();
    }();
    return cli;
}

// The program on PATH, or empty.
std::string OnPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::string rest = path ? path : "/usr/bin:/bin";
    for (std::size_t at = 0; at <= rest.size();) {
        const std::size_t end = std::min(rest.find(':', at), rest.size());
        const auto candidate = std::filesystem::path(rest.substr(at, end - at)) / name;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate.string();
        at = end + 1;
    }
    return {};
}

// Wall seconds of one run of `argv`, its output thrown away; negative when it could not run
// or failed (exit codes 0 and 1 are success: 1 is spell's "nothing found").
double RunSeconds(const std::vector<std::string>& argv)
{
    const auto start = std::chrono::steady_clock::now();
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
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_CheckFile(benchmark::State& state)
{
    const std::string file = TextFile().string();
    const std::vector<std::string> ours = {PortableCli(), "--folder", TextFile().parent_path().string(), "spell", file};
    const std::string hunspellTool = OnPath("hunspell");
    const bool compare = !hunspellTool.empty() && std::filesystem::exists("/usr/share/hunspell/en_US.dic");
    const std::vector<std::string> theirs = {hunspellTool, "-l", "-d", "en_US", file};
    double bestOurs = 1e9, bestTheirs = 1e9;
    for (auto _ : state) {
        const double a = RunSeconds(ours);
        if (a < 0) {
            state.SkipWithError("quillory-cli spell failed");
            return;
        }
        bestOurs = std::min(bestOurs, a);
        if (compare) {
            const double b = RunSeconds(theirs);
            if (b < 0) {
                state.SkipWithError("hunspell -l failed");
                return;
            }
            bestTheirs = std::min(bestTheirs, b);
        }
    }
    const double words = double(TheText().words.size());
    state.counters["words"] = words;
    state.counters["quillory words/s"] = words / bestOurs;
    if (compare) {
        state.counters["hunspell words/s"] = words / bestTheirs;
        state.counters["x_hunspell"] = bestTheirs / bestOurs;
    } else {
        state.SetLabel("hunspell -l with Debian's en_US dictionary is NOT installed (packages hunspell, "
                       "hunspell-en-us): no comparison");
    }
}
BENCHMARK(BM_CheckFile)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

void BM_CheckWords(benchmark::State& state)
{
    Checkers& c = Shared();
    const Text& text = TheText();
    double ours = 0, theirs = 0;
    std::size_t unknown = 0;
    for (auto _ : state) {
        const double start = ThreadSeconds();
        for (const std::string& w : text.words)
            unknown += !c.engine.IsWordCorrect(w);
        const double middle = ThreadSeconds();
        if (c.hunspell) {
            for (const std::string& w : text.words)
                benchmark::DoNotOptimize(c.HunspellKnows(w));
        }
        ours += middle - start;
        theirs += ThreadSeconds() - middle;
    }
    const double words = double(text.words.size() * state.iterations());
    state.counters["quillory words/s"] = words / ours;
    state.counters["flagged %"] = 100.0 * double(unknown) / words;
    if (c.hunspell) {
        state.counters["hunspell words/s"] = words / theirs;
        state.counters["quillory/hunspell"] = theirs / ours;
    } else {
        state.SetLabel(kNoLibrary);
    }
}
BENCHMARK(BM_CheckWords)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_Suggest(benchmark::State& state)
{
    Checkers& c = Shared();
    const Text& text = TheText();
    const std::size_t n = std::min(kSuggestSample, text.misspelt.size());
    double ours = 0, theirs = 0;
    for (auto _ : state) {
        const double start = ThreadSeconds();
        for (std::size_t i = 0; i < n; ++i)
            benchmark::DoNotOptimize(c.engine.GetSuggestions(text.misspelt[i].typed).size());
        const double middle = ThreadSeconds();
        if (c.hunspell) {
            for (std::size_t i = 0; i < n; ++i)
                benchmark::DoNotOptimize(c.HunspellSuggest(text.misspelt[i].typed).size());
        }
        ours += middle - start;
        theirs += ThreadSeconds() - middle;
    }
    const double requests = double(n * state.iterations());
    state.counters["quillory suggestions/s"] = requests / ours;
    if (c.hunspell) {
        state.counters["hunspell suggestions/s"] = requests / theirs;
        state.counters["quillory/hunspell"] = theirs / ours;
    } else {
        state.SetLabel(kNoLibrary);
    }
}
BENCHMARK(BM_Suggest)->Unit(benchmark::kMillisecond)->Iterations(1);

bool AmongFirstFive(const std::vector<std::string>& list, const std::string& intended)
{
    const std::string want = quillory::spell::Capitals(intended);
    for (std::size_t i = 0; i < list.size() && i < 5; ++i) {
        if (quillory::spell::Capitals(list[i]) == want)
            return true;
    }
    return false;
}

void BM_SuggestionQuality(benchmark::State& state)
{
    Checkers& c = Shared();
    const Text& text = TheText();
    const std::size_t n = std::min(kQualitySample, text.misspelt.size());
    std::size_t ours = 0, theirs = 0;
    for (auto _ : state) {
        for (std::size_t i = 0; i < n; ++i) {
            const Misspelling& m = text.misspelt[i];
            ours += AmongFirstFive(c.engine.GetSuggestions(m.typed), m.intended);
            if (c.hunspell)
                theirs += AmongFirstFive(c.HunspellSuggest(m.typed), m.intended);
        }
    }
    state.counters["misspellings"] = double(n);
    state.counters["quillory top-5 %"] = 100.0 * double(ours) / double(n);
    if (c.hunspell)
        state.counters["hunspell top-5 %"] = 100.0 * double(theirs) / double(n);
    else
        state.SetLabel(kNoLibrary);
}
BENCHMARK(BM_SuggestionQuality)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
