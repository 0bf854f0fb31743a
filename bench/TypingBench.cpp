// Typing into a long entry, against one full layout of the same 1 MB document.
// - Through InsertString: 1,000 characters typed one by one into the middle of a paragraph, each
//   laid out as the editor does.
// - Through the real control: key events sent to the rich-text control (shown offscreen), each
//   counted as done when the control has painted after it — typed characters, Enter and
//   Backspace at the start of a paragraph, and the arrow keys.
#include "bench/OffscreenBenchmarks.h"
#include "bench/SampleDocument.h"
#include "platform/UnicodeText.h"
#include "richtext/input/TextInput.h"
#include "richtext/layout/TextPaint.h"
#include "richtext/qt/QtCanvas.h"
#include "richtext/qt/RichText.h"
#include "richtext/rtf/RtfWriter.h"

#include <QApplication>
#include <QKeyEvent>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <ctime>
#include <memory>
#include <vector>

using namespace quillory;

namespace {

double seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// The CPU time of this thread: the control's keys and the layout run on it, and the figures
// stay the same while other programs share the machine.
double threadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// The offset of the middle of a paragraph, between two characters.
int middleOf(const TParagraph& p)
{
    std::string text;
    for (const TTextLine* line = p.firstLine(); line; line = line->next())
        text.append(line->view());
    return int(GraphemeBoundaryAtOrBefore(text, text.size() / 2));
}

// The 1 MB document in English, Russian or Chinese; what is typed is English in all three, so that
// the figures tell how the text around the caret lays out again.
void BM_TypeIntoTheMiddleOfALongEntry(benchmark::State& state)
{
    const auto script = bench::Script(state.range(0));
    state.SetLabel(bench::ScriptName(script));
    auto doc = bench::MakeSampleDocument(1 << 20, bench::Justify::None, script);
    QtCanvas canvas;
    TWPRTFTextPaint paint(*doc);
    paint.windowWidth = 700;
    paint.setCanvas(&canvas);
    auto t0 = std::chrono::steady_clock::now();
    paint.reformatAll();
    const double full = seconds(t0);

    TWPRTFTextInput input(*doc, &paint);
    const int middle = doc->paragraphCount() / 2;
    constexpr int kCharacters = 1000;
    const char* typed = "Typing goes on in a long entry. ";
    double typing = 0;
    long characters = 0;
    paint.resetCounters();
    for (auto _ : state) {
        TParagraph* p = doc->paragraphAt(middle);
        input.SetCaretOffset(doc->absolutePosition({middle, 0, 0}) + middleOf(*p));
        t0 = std::chrono::steady_clock::now();
        for (int i = 0; i < kCharacters; ++i)
            input.InsertString(std::string_view(typed + i % 32, 1));
        typing += seconds(t0);
        characters += kCharacters;
        state.PauseTiming();
        for (int i = 0; i < kCharacters; ++i)
            input.InsertString("\b");
        state.ResumeTiming();
    }
    state.counters["full_layout_ms"] = full * 1000;
    state.counters["us_per_char"] = typing / double(characters) * 1e6;
    state.counters["char_per_full_layout"] = typing / double(characters) / full;
}

BENCHMARK(BM_TypeIntoTheMiddleOfALongEntry)->Unit(benchmark::kMillisecond)->Iterations(3)->DenseRange(0, 2);

// --- the real control ------------------------------------------------------------------------

// Counts the paint events of the control's viewport.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// The control, shown offscreen with the 1 MB document loaded from its RTF, and the CPU time of
// one full layout of it.
struct Control {
    TWPRichText editor;
    PaintCounter counter;
    double fullLayout = 0; // seconds

    Control()
    {
        editor.resize(800, 600);
        editor.show();
        QApplication::setActiveWindow(&editor);
        editor.setFocus();
        const std::string rtf = WriteRtf(*bench::MakeSampleDocument(1 << 20));
        editor.LoadFromStream(std::span(reinterpret_cast<const std::uint8_t*>(rtf.data()), rtf.size()));
        editor.viewport()->installEventFilter(&counter);
        QCoreApplication::processEvents();
        // The median of three full layouts of the document as it stands.
        std::vector<double> runs;
        for (int i = 0; i < 3; ++i) {
            const double t0 = threadSeconds();
            editor.engine().reformatAll();
            runs.push_back(threadSeconds() - t0);
        }
        std::sort(runs.begin(), runs.end());
        fullLayout = runs[1];
    }

    // The caret into the middle of the middle paragraph, on the screen.
    void caretToTheMiddle()
    {
        TWPRTFText& document = editor.RtfText();
        const int middle = document.paragraphCount() / 2;
        const long start = document.absolutePosition({middle, 0, 0});
        editor.GoTo(start + document.paragraphAt(middle)->length() / 2);
        QCoreApplication::processEvents();
    }

    // One key press and release, done when the control has painted after it (the queued end of
    // the undo step and the update run in the event loop). Returns seconds of CPU time.
    double press(Qt::Key key, char text = 0, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const int paintsBefore = counter.paints;
        const double t0 = threadSeconds();
        const QString typed = text ? QString(QChar(text)) : QString();
        if (text)
            key = Qt::Key(QChar(text).toUpper().unicode()); // as the keyboard sends a letter
        QKeyEvent down(QEvent::KeyPress, key, modifiers, typed);
        QApplication::sendEvent(&editor, &down);
        QKeyEvent up(QEvent::KeyRelease, key, modifiers, typed);
        QApplication::sendEvent(&editor, &up);
        QCoreApplication::processEvents();
        if (counter.paints == paintsBefore)
            editor.viewport()->repaint();
        return threadSeconds() - t0;
    }
};

std::unique_ptr<Control>& theControl()
{
    static std::unique_ptr<Control> control;
    return control;
}

Control& control()
{
    if (!theControl())
        theControl() = std::make_unique<Control>();
    return *theControl();
}

// Sums the keys of a run and reports them against the full layout.
struct KeyTimes {
    double total = 0;
    double worst = 0;
    long keys = 0;
    void add(double t)
    {
        total += t;
        worst = std::max(worst, t);
        ++keys;
    }
    void report(benchmark::State& state, double full) const
    {
        state.counters["full_layout_ms"] = full * 1000;
        state.counters["us_per_key"] = total / double(std::max(1L, keys)) * 1e6;
        state.counters["key_per_full_layout"] = total / double(std::max(1L, keys)) / full;
        state.counters["worst_key_per_full_layout"] = worst / full;
    }
};

void BM_ControlTypeCharacters(benchmark::State& state)
{
    Control& c = control();
    const char* typed = "Typing goes on in a long entry. ";
    KeyTimes times;
    for (auto _ : state) {
        state.PauseTiming();
        c.caretToTheMiddle();
        state.ResumeTiming();
        for (int i = 0; i < 320; ++i)
            times.add(c.press(Qt::Key_unknown, typed[i % 32]));
    }
    times.report(state, c.fullLayout);
}
BENCHMARK(BM_ControlTypeCharacters)->Unit(benchmark::kMillisecond)->Iterations(3);

// Enter splits the paragraph; Backspace at the new paragraph's start joins them again.
void BM_ControlEnterAndBackspace(benchmark::State& state)
{
    Control& c = control();
    KeyTimes times;
    for (auto _ : state) {
        state.PauseTiming();
        c.caretToTheMiddle();
        state.ResumeTiming();
        for (int i = 0; i < 50; ++i) {
            times.add(c.press(Qt::Key_Return));
            times.add(c.press(Qt::Key_Backspace));
        }
    }
    times.report(state, c.fullLayout);
}
BENCHMARK(BM_ControlEnterAndBackspace)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ControlArrowKeys(benchmark::State& state)
{
    Control& c = control();
    const Qt::Key keys[] = {Qt::Key_Right, Qt::Key_Right, Qt::Key_Down, Qt::Key_Left, Qt::Key_Up, Qt::Key_Down};
    KeyTimes times;
    for (auto _ : state) {
        state.PauseTiming();
        c.caretToTheMiddle();
        state.ResumeTiming();
        for (int i = 0; i < 120; ++i)
            times.add(c.press(keys[i % 6]));
    }
    times.report(state, c.fullLayout);
}
BENCHMARK(BM_ControlArrowKeys)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    return quillory::bench::RunOffscreenBenchmarks<QApplication>(argc, argv, [] { theControl().reset(); });
}
