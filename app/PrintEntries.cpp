// The two print layouts of the diary over a print device.
#include "app/PrintEntries.h"

#include "app/DateTexts.h"
#include "app/EntryFiles.h"
#include "platform/Error.h"
#include "platform/UnicodeText.h"
#include "richtext/io/DocumentFormat.h"
#include "richtext/layout/TextPaint.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace quillory {

namespace {

constexpr int kTwips = 1440;
const RGBColor kBlack{0, 0, 0, 0};

// v with its fraction dropped, as every conversion of the print layouts does.
int Truncate(double v) { return int(v); }

void Check(bool done, PrintDevice& device)
{
    if (!done)
        throw Error(device.lastError().empty() ? std::string("The printer refused the job") : device.lastError());
}

// Reads the day's entry into an editor emptied first.
void LoadEntry(EditorCore& editor, std::string_view entry, const ClearDefaults& defaults)
{
    editor.Clear(defaults);
    editor.document().setMemoryFormat(MemoryFormat::fmRichText);
    LoadDocument(editor.document(), entry);
}

std::string PrintedStatus(Day day, const PrintSettings& settings)
{
    return std::string(kPrintedStatus) + ShortDateText(day, settings.dateSeparator);
}

std::string LongDate(Day day, const PrintSettings& settings)
{
    return settings.longDate ? settings.longDate(day) : IsoText(day);
}

// The long date above the text, Arial 12 point bold italic, and a line under it. The canvas
// draws in device pixels; the text is set in layout pixels scaled up to them.
void DrawPageHeader(Canvas& canvas, Canvas& measuring, const std::string& text, int x, int y, int w, int h)
{
    const FontRequest font{"Arial", 12, true, true, false};
    const double scale = double(canvas.resolutionY()) / std::max(1, measuring.resolutionY());
    canvas.selectFont(font);
    canvas.setTransform(scale, scale, x, Truncate(y + h * 0.5));
    const bool ascii = std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) {
        const WidthTable& widths = canvas.widths();
        std::vector<int> advances;
        advances.reserve(text.size());
        for (const char c : text)
            advances.push_back(widths[static_cast<unsigned char>(c)]);
        canvas.drawText(0, canvas.fontAscent(), text, advances, kBlack);
    } else {
        // A date in another language is shaped and ordered as the text of a page is.
        canvas.drawShapedText(0, canvas.fontAscent(), text, StartsRightToLeft(text), kBlack);
    }
    canvas.setTransform(1, 1, 0, 0);
    const int lineY = y + h - h / 4;
    canvas.drawLine(x, lineY, x + w, lineY, Pen{kBlack, 1, PenStyle::Solid});
}

void DrawPageFooter(Canvas& canvas, int x, int y, int w)
{
    const int d = Truncate(canvas.resolutionY() * 0.25);
    canvas.drawLine(x, y + d, x + w, y + d, Pen{kBlack, 1, PenStyle::Solid});
}

// Lays out a document for a device: measured on its measuring canvas, lines broken at the page.
void LayOut(TWPRTFTextPaint& engine, PrintDevice& device)
{
    engine.setCanvas(&device.measuringCanvas());
    engine.wordWrap = false;
    engine.reformatAll();
}

bool PrintSeparate(PrintDevice& device, EditorCore& text, Day day, const PrintSettings& settings)
{
    if (text.IsEmpty())
        return false;
    const PrinterMetrics m = device.metrics();
    // The paper is the printable area with its offset on both sides.
    const int paperHeight = m.pageHeight + 2 * m.offsetY;
    const int paperWidth = m.pageWidth + 2 * m.offsetX;
    const int marginTop = Truncate((settings.topMargin + 0.3125) * kTwips);
    const int marginBottom = Truncate((settings.bottomMargin + 0.25) * kTwips);
    const int marginLeft = Truncate(settings.leftMargin * kTwips);
    const int marginRight = Truncate(settings.rightMargin * kTwips);
    text.SetPage(Truncate(double(paperWidth) / m.dpiX * kTwips), Truncate(double(paperHeight) / m.dpiY * kTwips),
                 marginLeft, marginRight, marginTop, marginBottom);
    TWPRTFTextPaint engine(text.document());
    LayOut(engine, device);

    const std::string header = LongDate(day, settings);
    Check(device.beginJob(header), device);
    Canvas& canvas = device.canvas();
    PrintJob job;
    job.offsetX = int(std::int64_t(marginLeft) * m.dpiX / kTwips);
    job.offsetY = int(std::int64_t(marginTop) * m.dpiY / kTwips);
    job.header = [&](Canvas& c, int x, int y, int w, int h, int, int) {
        DrawPageHeader(c, device.measuringCanvas(), header, x, y, w, h);
    };
    // The footer stands at the foot of every page, also under a short last page.
    const int footerTop = paperHeight - int(std::int64_t(marginBottom) * m.dpiY / kTwips);
    job.footer = [footerTop](Canvas& c, int x, int, int w, int, int, int) { DrawPageFooter(c, x, footerTop, w); };
    bool pageRefused = false;
    job.newPage = [&] { pageRefused = pageRefused || !device.newPage(); };
    engine.print(canvas, 0, INT_MAX, job);
    if (pageRefused) {
        device.abortJob();
        Check(false, device);
    }
    Check(device.endJob(), device);
    return true;
}

// The merged layout: one job, each entry under its heading, placed by the program itself.
class MergedPrinter {
public:
    MergedPrinter(PrintDevice& device, const PrintSettings& settings) : device_(device), settings_(settings)
    {
        const PrinterMetrics m = device.metrics();
        m_ = m;
        // Margins in device pixels from the printable area's origin.
        top_ = Truncate(m.dpiY * settings.topMargin) - m.offsetY;
        const int bottom = Truncate(m.dpiY * settings.bottomMargin) - m.offsetY;
        left_ = Truncate(m.dpiX * settings.leftMargin) - m.offsetX;
        const int right = Truncate(m.dpiX * settings.rightMargin) - m.offsetX;
        textWidth_ = m.pageWidth - left_ - right;
        const int textHeight = m.pageHeight - top_ - bottom;
        // The same in twips, for the page of the editor that holds each entry.
        const auto twips = [](int pixels, int dpi) { return Truncate(double(pixels) / dpi * kTwips); };
        textWidthTwips_ = twips(m.pageWidth, m.dpiX) - twips(left_, m.dpiX) - twips(right, m.dpiX);
        textHeightTwips_ = twips(m.pageHeight, m.dpiY) - twips(top_, m.dpiY) - twips(bottom, m.dpiY);
        half_ = m.dpiY / 2;
        quarter_ = m.dpiY / 4;
        y_ = top_;
        limit_ = top_ + textHeight;
    }

    void Add(Day day, EditorCore& loader)
    {
        // The job begins with its first entry, so that a range without one prints no blank sheet.
        if (!begun_) {
            Check(device_.beginJob("Diary entries"), device_);
            begun_ = true;
        }
        all_.Clear(settings_.defaults);
        all_.AssignHeader(loader.document());
        all_.SetPage(textWidthTwips_, textHeightTwips_, 0, 0, 0, 0);
        ParagraphDescriptor heading;
        heading.spaceAfter = 90;
        heading.attr.font = std::uint8_t(all_.FontIndex("arial"));
        heading.attr.style = AttrStyle::Bold | AttrStyle::Italic | AttrStyle::Underline;
        heading.attr.size = 10;
        heading.attr.color = 0;
        heading.text = LongDate(day, settings_);
        all_.InsertParagraph(heading);
        all_.FastAppendText(loader);
        TWPRTFTextPaint engine(all_.document());
        LayOut(engine, device_);

        if (newPagePending_)
            NextPage();
        newPagePending_ = false;
        int first = 0;
        Fit(engine, first);
        first = Print(engine, first);
        while (first > 0) {
            NextPage();
            Fit(engine, first);
            first = Print(engine, first);
        }
        y_ = bottom_ + quarter_;
        if (y_ + half_ > limit_)
            newPagePending_ = true;
    }

    void End()
    {
        if (begun_)
            Check(device_.endJob(), device_);
    }

private:
    void NextPage()
    {
        y_ = top_;
        bottom_ = limit_;
        Check(device_.newPage(), device_);
    }

    // Shrinks the block in quarter-inch steps to the smallest height that still holds the rest
    // of the text; a rest that does not fit at all keeps the full height.
    void Fit(TWPRTFTextPaint& engine, int first)
    {
        bottom_ = limit_;
        for (;;) {
            if (Place(engine, first, bottom_ - quarter_ - y_, false) != 0)
                break;
            if (y_ + quarter_ >= bottom_)
                break;
            bottom_ -= quarter_;
        }
    }

    int Print(TWPRTFTextPaint& engine, int first) { return Place(engine, first, bottom_ - y_, true); }

    // The canvas's origin is the paper's corner; the layout's, the printable area's.
    int Place(TWPRTFTextPaint& engine, int first, int height, bool print)
    {
        return engine.printRectangle(device_.canvas(), left_ + m_.offsetX, y_ + m_.offsetY, textWidth_,
                                     std::max(0, height), first, print);
    }

    PrintDevice& device_;
    const PrintSettings& settings_;
    PrinterMetrics m_;
    EditorCore all_;
    int top_ = 0, left_ = 0, textWidth_ = 0;
    int textWidthTwips_ = 0, textHeightTwips_ = 0;
    int half_ = 0, quarter_ = 0;
    int y_ = 0, bottom_ = 0, limit_ = 0;
    bool newPagePending_ = false;
    bool begun_ = false;
};

PrintOutcome Failed(const std::exception& error, int printed)
{
    return {PrintEnd::Failed, std::string(kTooManyPagesStatus) + "\n" + error.what(), printed};
}

} // namespace

bool PrintEntryPages(PrintDevice& device, Day day, std::string_view entry, const PrintSettings& settings)
{
    EditorCore text;
    LoadEntry(text, entry, settings.defaults);
    return PrintSeparate(device, text, day, settings);
}

PrintOutcome PrintEntries(PrintDevice& device, const PrintSettings& settings, const AfterPrintedDay& afterDay)
{
    const std::vector<Day> days = EntryDaysIn(settings.days);
    EditorCore loader;
    int printed = 0;
    if (!settings.merged) {
        for (const Day day : days) {
            try {
                LoadEntry(loader, ReadEntry(day, settings.password), settings.defaults);
                printed += PrintSeparate(device, loader, day, settings) ? 1 : 0;
            } catch (const std::exception& error) {
                device.abortJob();  // a job left open by the failure; nothing when none is
                return Failed(error, printed);
            }
            if (afterDay && afterDay(PrintedStatus(day, settings)))
                return {PrintEnd::Cancelled, std::string(kCancelledStatus), printed};
        }
        return {PrintEnd::Completed, std::string(kCompletedStatus), printed};
    }

    MergedPrinter merged(device, settings);
    try {
        for (const Day day : days) {
            LoadEntry(loader, ReadEntry(day, settings.password), settings.defaults);
            if (!loader.IsEmpty()) {
                merged.Add(day, loader);
                ++printed;
            }
            if (afterDay && afterDay(PrintedStatus(day, settings))) {
                device.abortJob();
                return {PrintEnd::Cancelled, std::string(kCancelledStatus), printed};
            }
        }
        merged.End();
    } catch (const std::exception& error) {
        device.abortJob();
        return Failed(error, printed);
    }
    return {PrintEnd::Completed, std::string(kCompletedStatus), printed};
}

} // namespace quillory
