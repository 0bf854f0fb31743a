// The search across entries over ten years of a diary (3,650 entries of 1-4 KB of RTF written
// by the program's own writer), without and with a password, against `grep -ril` over the same
// plain files in the same run. The query occurs nowhere, so every entry is read whole by both.
// Each search benchmark reports:
//   x_grep   its time per walk / grep's time per walk   (targets: 2 without a password, 3 with)
// and `entry_KB`, the mean size of an entry file.
#include "app/EntrySearch.h"
#include "app/EntryFiles.h"
#include "platform/ProgramFolder.h"
#include "richtext/model/Document.h"
#include "richtext/rtf/RtfWriter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace quillory;

namespace {

constexpr int kEntries = 3650;
const Day kFirst = *Day::FromDate(2015, 1, 1);
constexpr const char* kPassword = "Ten Yrs";
constexpr const char* kAbsent = "zebra crossing";

constexpr const char* kWords[] = {"morning", "the",   "walked",  "along",   "river",  "and", "thought",
                                  "about",   "caf\xe9", "letter,", "arrived", "late.", "Weather:", "cold",
                                  "but",     "bright;", "tea",     "at",      "four",  "na\xefve", "met"};

// One entry: paragraphs of words with bold, italic and font changes, about `characters` long.
std::string EntryRtf(int index, std::size_t characters)
{
    TWPRTFText document;
    document.header().addFont("Times New Roman");
    TParagraph* paragraph = document.firstParagraph();
    std::size_t written = 0, inParagraph = 0;
    for (std::size_t word = std::size_t(index); written < characters; ++word) {
        TAttr attr;
        attr.font = std::uint8_t(word % 7 == 0 ? 1 : 0);
        attr.style = std::uint8_t(word % 5 == 0 ? AttrStyle::Bold : word % 11 == 0 ? AttrStyle::Italic : 0);
        attr.size = std::uint8_t(word % 13 == 0 ? 14 : 10);
        const std::string text = std::string(kWords[word % std::size(kWords)]) + " ";
        document.appendText(*paragraph, text, attr);
        written += text.size();
        inParagraph += text.size();
        if (inParagraph > 180 + (word * 37) % 200 && written < characters) {
            paragraph = document.appendParagraph(paragraph);
            inParagraph = 0;
        }
    }
    return WriteRtf(document);
}

class Diary {
public:
    Diary()
    {
        std::string pattern = (fs::temp_directory_path() / "quillory-search-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        root_ = pattern;
        for (const char* name : {"plain", "enciphered"})
            fs::create_directories(root_ / name / "Entries");
        std::uintmax_t bytes = 0;
        for (int i = 0; i < kEntries; ++i) {
            const std::string rtf = EntryRtf(i, 500 + std::size_t(i * 7919) % 2200);
            SetProgramFolder((root_ / "plain").string() + "/");
            WriteEntry(kFirst + i, rtf, "");
            SetProgramFolder((root_ / "enciphered").string() + "/");
            WriteEntry(kFirst + i, rtf, kPassword);
            bytes += rtf.size();
        }
        meanKilobytes_ = double(bytes) / kEntries / 1024.0;
    }
    ~Diary() { fs::remove_all(root_); }

    void Use(bool enciphered) const { SetProgramFolder((root_ / (enciphered ? "enciphered" : "plain")).string() + "/"); }
    std::string PlainEntries() const { return (root_ / "plain" / "Entries").string(); }
    double MeanKilobytes() const { return meanKilobytes_; }

private:
    fs::path root_;
    double meanKilobytes_ = 0;
};

const Diary& TenYears()
{
    static const Diary diary;
    return diary;
}

double Seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

double GrepOnce()
{
    const std::string command = std::string("grep -ril -- '") + kAbsent + "' '" + TenYears().PlainEntries() + "' >/dev/null";
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    const auto stop = std::chrono::steady_clock::now();
    if (status == -1)
        std::abort();
    return Seconds(stop - start);
}

// grep's time per walk: the best of a few runs, measured in this run.
double GrepSeconds()
{
    static const double best = [] {
        double value = GrepOnce();
        for (int i = 0; i < 7; ++i)
            value = std::min(value, GrepOnce());
        return value;
    }();
    return best;
}

void Walk(benchmark::State& state, bool enciphered)
{
    TenYears().Use(enciphered);
    const double grep = GrepSeconds();
    const TWPTextFinder finder(kAbsent, FindOptions{});
    int found = 0;
    double best = 1e9;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        SearchHooks hooks;
        hooks.found = [&](Day, const TextMatch&) {
            ++found;
            return true;
        };
        SearchEntries(Day::First(), Day::Last(), finder, enciphered ? kPassword : "", hooks);
        best = std::min(best, Seconds(std::chrono::steady_clock::now() - start));
    }
    if (found != 0)
        state.SkipWithError("the absent query was found");
    state.counters["x_grep"] = best / grep;
    state.counters["entry_KB"] = TenYears().MeanKilobytes();
}

void SearchWithoutPassword(benchmark::State& state) { Walk(state, false); }
void SearchWithPassword(benchmark::State& state) { Walk(state, true); }

void GrepRil(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(GrepOnce());
}

} // namespace

BENCHMARK(GrepRil)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(SearchWithoutPassword)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(SearchWithPassword)->Unit(benchmark::kMillisecond)->MinTime(0.5);

BENCHMARK_MAIN();
