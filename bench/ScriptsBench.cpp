// Text of other scripts against Western text, 1 MB of the model's text each (UTF-8: a Russian
// letter takes two bytes, a Chinese character three): reading the entry's RTF as our writer stores
// it, laying the whole entry out with the Qt canvas, and one keystroke in its middle laid out again.
// "Ratios" measures every script in one run and reports, per script:
//   read_vs_western, layout_vs_western   time for the same megabyte of text   (target: at most 2)
//   read_chars_vs_western, ...           the same per character
//   keystroke_of_full_layout             one keystroke's layout / the whole entry's layout
//                                        (target: at most 0.01)
// Times are this thread's processor time, best of five runs.
#include "bench/OffscreenBenchmarks.h"
#include "platform/Utf8.h"
#include "richtext/layout/TextPaint.h"
#include "richtext/qt/QtCanvas.h"
#include "richtext/rtf/RtfReader.h"
#include "richtext/rtf/RtfWriter.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

using namespace quillory;

namespace {

constexpr std::size_t kTextBytes = 1u << 20;

struct Script {
    const char* name;
    std::vector<const char*> words;
    const char* separator;
    const char* typed; // the character typed in the keystroke benchmark
};

const Script kScripts[] = {
    {"western",
     {"diary", "morning", "the", "walked", "along", "river", "and", "thought", "about", "yesterday's", "letter,",
      "which", "arrived", "late.", "Weather:", "cold", "but", "bright;", "tea", "at", "four"},
     " ", "x"},
    {"russian",
     {"дневник", "утром", "мы", "гуляли", "вдоль", "реки", "и", "думали", "о", "вчерашнем", "письме,", "которое",
      "пришло", "поздно.", "Погода:", "холодно,", "но", "ясно;", "чай", "в", "четыре"},
     " ", "ж"},
    {"chinese",
     {"今天早上", "我们", "沿着", "河边", "散步，", "想起", "昨天", "那封", "来得", "很晚的", "信。", "天气：", "冷，",
      "但是", "晴朗；", "四点", "喝茶", "日记"},
     "", "好"},
};

// About kTextBytes of the script's words in paragraphs of 150-250 bytes, with bold and larger runs.
std::unique_ptr<TWPRTFText> MakeDocument(const Script& script)
{
    auto doc = std::make_unique<TWPRTFText>();
    doc->header().addFont("Times New Roman");
    std::size_t total = 0, word = 0;
    TParagraph* p = doc->firstParagraph();
    for (int paragraph = 0; total < kTextBytes; ++paragraph) {
        const std::size_t length = 150 + std::size_t(paragraph * 37) % 100;
        for (std::size_t here = 0; here < length; ++word) {
            TAttr attr;
            attr.style = std::uint8_t(word % 5 == 0 ? AttrStyle::Bold : 0);
            attr.size = std::uint8_t(word % 13 == 0 ? 14 : 10);
            std::string text = script.words[word % script.words.size()];
            text += script.separator;
            doc->appendText(*p, text, attr);
            here += text.size();
            total += text.size();
        }
        if (total < kTextBytes)
            p = doc->appendParagraph(p);
    }
    return doc;
}

double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

double Best(const std::function<void()>& run, int times = 5)
{
    double best = 1e9;
    for (int i = 0; i < times; ++i) {
        const double start = ThreadSeconds();
        run();
        best = std::min(best, ThreadSeconds() - start);
    }
    return best;
}

struct Figures {
    double read = 0;
    double layout = 0;
    double keystroke = 0;
    long characters = 0;
};

// Inserts one character at a character boundary in the middle of the middle paragraph (and takes
// it out again on the next call), laying the paragraph out again as editing does.
double Keystroke(TWPRTFText& doc, TWPRTFTextPaint& engine, const char* typed)
{
    TParagraph* p = doc.paragraphAt(doc.paragraphCount() / 2);
    const int n = int(std::strlen(typed));
    double total = 0;
    constexpr int kKeys = 200;
    for (int key = 0; key < kKeys; ++key) {
        TTextLine* line = p->firstLine();
        const int at = int(CharBoundaryAtOrBefore(line->view(), std::size_t(line->length() / 2)));
        if (key % 2 == 0) {
            if (line->room() < n)
                line->resize(line->capacity() + 16);
            std::memmove(line->text() + at + n, line->text() + at, std::size_t(line->length() - at));
            std::memmove(line->attrs() + at + n, line->attrs() + at, sizeof(TAttr) * std::size_t(line->length() - at));
            std::memcpy(line->text() + at, typed, std::size_t(n));
            line->setLength(line->length() + n);
        } else {
            const int end = int(NextCharBoundary(line->view(), std::size_t(at)));
            const int cut = end - at;
            std::memmove(line->text() + at, line->text() + end, std::size_t(line->length() - end));
            std::memmove(line->attrs() + at, line->attrs() + end, sizeof(TAttr) * std::size_t(line->length() - end));
            line->setLength(line->length() - cut);
        }
        p->layoutFlags |= LayoutFlag::Reformat;
        const double start = ThreadSeconds();
        engine.reformatParagraph(*p);
        total += ThreadSeconds() - start;
    }
    return total / kKeys;
}

Figures Measure(const Script& script)
{
    Figures figures;
    const auto source = MakeDocument(script);
    const std::string rtf = WriteRtf(*source);
    figures.characters = 0;
    for (auto* p = source->firstParagraph(); p; p = p->next()) {
        const std::string text = p->text();
        for (std::size_t at = 0; at < text.size(); at = NextCharBoundary(text, at))
            ++figures.characters;
    }
    figures.read = Best([&] {
        TWPRTFText doc;
        TWPRtfReader reader;
        reader.ReadStream(rtf, &doc);
        benchmark::DoNotOptimize(doc.paragraphCount());
    });
    QtCanvas canvas;
    TWPRTFTextPaint engine(*source);
    engine.windowWidth = 700;
    engine.setCanvas(&canvas);
    figures.layout = Best([&] { engine.reformatAll(); }, 3);
    figures.keystroke = Keystroke(*source, engine, script.typed);
    return figures;
}

void Ratios(benchmark::State& state)
{
    for (auto _ : state) {
        const Figures western = Measure(kScripts[0]);
        for (std::size_t i = 0; i < std::size(kScripts); ++i) {
            const Script& script = kScripts[i];
            const Figures f = i == 0 ? western : Measure(script);
            const std::string name = script.name;
            const double perChar = double(western.characters) / double(f.characters);
            state.counters[name + "_read_ms"] = f.read * 1000;
            state.counters[name + "_layout_ms"] = f.layout * 1000;
            state.counters[name + "_read_vs_western"] = f.read / western.read;
            state.counters[name + "_layout_vs_western"] = f.layout / western.layout;
            state.counters[name + "_read_chars_vs_western"] = f.read / western.read * perChar;
            state.counters[name + "_layout_chars_vs_western"] = f.layout / western.layout * perChar;
            state.counters[name + "_keystroke_of_full_layout"] = f.keystroke / f.layout;
        }
    }
}

} // namespace

BENCHMARK(Ratios)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv)
{
    return quillory::bench::RunOffscreenBenchmarks(argc, argv);
}
