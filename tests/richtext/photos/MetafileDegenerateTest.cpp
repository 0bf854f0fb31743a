// The metafile player on degenerate window mappings (zero, tiny and huge extents, placeable boxes
// without width or height, text stretched past what a font can be drawn at). Each drawing runs in a
// child process, so that a crash fails its own case instead of ending the test program.
#include "richtext/layout/TextPaint.h"
#include "richtext/qt/MetafilePlayer.h"
#include "richtext/qt/QtCanvas.h"
#include "richtext/rtf/RtfReader.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace quillory {
namespace {

// The places pictures take in entries: a thumbnail up to a picture wider than the window.
const QSize kSizes[] = {{64, 48}, {100, 100}, {640, 480}, {1600, 1200}};

// --- metafiles made by hand ---------------------------------------------------------------------

void PutWord(std::string& out, int word)
{
    out += char(word & 0xFF);
    out += char(word >> 8 & 0xFF);
}

// One record: its size in words, its function, its parameters.
std::string Record(int function, const std::vector<int>& words)
{
    std::string out;
    PutWord(out, int(3 + words.size()));
    PutWord(out, 0);
    PutWord(out, function);
    for (int word : words)
        PutWord(out, word);
    return out;
}

// Text as parameter words, two characters to a word.
std::vector<int> TextWords(std::string_view text)
{
    std::vector<int> words;
    for (std::size_t i = 0; i < text.size(); i += 2)
        words.push_back(std::uint8_t(text[i]) | (i + 1 < text.size() ? std::uint8_t(text[i + 1]) << 8 : 0));
    return words;
}

std::string WindowExt(int x, int y) { return Record(0x020C, {y, x}); }
std::string WindowOrg(int x, int y) { return Record(0x020B, {y, x}); }
// A font `height` logical units high, selected at once.
std::string Font(int height)
{
    std::vector<int> words = {height, 0, 0, 0, 400, 0, 0, 0, 0};
    for (int word : TextWords("Arial"))
        words.push_back(word);
    return Record(0x02FB, words) + Record(0x012D, {0});
}
std::string TextOut(int x, int y, std::string_view text)
{
    std::vector<int> words = {int(text.size())};
    for (int word : TextWords(text))
        words.push_back(word);
    words.push_back(y);
    words.push_back(x);
    return Record(0x0521, words);
}
std::string ExtTextOut(int x, int y, std::string_view text)
{
    std::vector<int> words = {y, x, int(text.size()), 0};
    for (int word : TextWords(text))
        words.push_back(word);
    return Record(0x0A32, words);
}

std::string Metafile(const std::string& records)
{
    std::string out;
    for (int word : {1, 9, 0x0300, 0, 0, 0, 0, 0, 0})
        PutWord(out, word);
    return out + records + Record(0x0000, {});
}

std::string Placeable(int left, int top, int right, int bottom, const std::string& metafile)
{
    std::string out;
    for (int word : {0xCDD7, 0x9AC6, 0, left, top, right, bottom, 1440, 0, 0, 0})
        PutWord(out, word);
    return out + metafile;
}

// --- the child's report -----------------------------------------------------------------------

// "refused", or what the played picture shows: "text" when any pixel is inked, else "blank".
// The child writes it to its error output between brackets, where Qt's own notes cannot match.
const char* Outcome(const QImage& image)
{
    if (image.isNull())
        return "refused";
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 250)
                return "text";
    return "blank";
}

std::string SizeName(QSize size) { return std::to_string(size.width()) + "x" + std::to_string(size.height()); }

// Every case is played in a child that re-runs this program for its one statement.
class MetafileDegenerate : public testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(MetafileDegenerate, ExtremeWindowsArePlayedOrRefusedWithoutACrash)
{
    // What each case shows: "text" (played, the text inked), "blank" (played, the text left out),
    // "played" (either, by the size), "refused" (the canvas shows its placeholder).
    struct Row {
        const char* name;
        std::string records; // everything before the text record
        std::vector<int> box; // a placeable header's box (left, top, right, bottom), or none
        int x, y;
        const char* expect;
    };
    const Row rows[] = {
        // A zero extent is refused as GDI refuses it: the window stays 1000 wide.
        // Before, it counted as one, and the text drawn 64 times wide and 1/21 high crashed.
        {"zero width", WindowExt(0, 1024) + Font(200), {}, 300, 300, "text"},
        {"zero height", WindowExt(1024, 0) + Font(200), {}, 300, 300, "text"},
        {"zero both", WindowExt(0, 0) + Font(200), {}, 300, 300, "text"},
        {"zero after a good one", WindowExt(2000, 2000) + WindowExt(0, 5) + Font(400), {}, 600, 600, "text"},
        {"box without width", Font(200), {0, 0, 0, 1024}, 300, 300, "text"},
        {"box without height", Font(200), {0, 0, 1024, 0}, 300, 300, "text"},
        {"box without either", Font(200), {500, 500, 500, 500}, 300, 300, "text"},
        // One unit maps to a whole picture; text this large is drawn or left out by its size.
        {"one unit", WindowExt(1, 1), {}, 0, 0, "played"},
        {"widest box", Font(2000), {-32768, -32768, 32767, 32767}, 0, 0, "text"},
        {"largest extent", WindowExt(32767, 32767), {}, 100, 100, "played"},
        {"mirrored", WindowOrg(1000, 1000) + WindowExt(-1000, -1000) + Font(200), {}, 500, 500, "text"},
        // A drawing squashed to a line in one axis is no picture to show.
        {"one by the largest", WindowExt(1, 32767), {}, 0, 0, "refused"},
        {"largest by one", WindowExt(32767, 1), {}, 0, 0, "refused"},
        {"box one by the largest", "", {0, 0, 1, 32767}, 0, 0, "refused"},
        // Stretched forty times in one axis: the picture is drawn, its text left out (before, it
        // crashed at sizes where the glyph came out hundreds of pixels long and one high).
        {"stretched text", WindowExt(1000, 20) + Font(10), {}, 10, 2, "blank"},
        {"stretched text, other axis", WindowExt(20, 1000) + Font(10), {}, 2, 10, "blank"},
    };
    for (const Row& row : rows)
        for (bool extended : {false, true})
            for (QSize size : kSizes) {
                const std::string text = extended ? ExtTextOut(row.x, row.y, "Wg") : TextOut(row.x, row.y, "Wg");
                std::string wmf = Metafile(row.records + text);
                if (!row.box.empty())
                    wmf = Placeable(row.box[0], row.box[1], row.box[2], row.box[3], wmf);
                const std::string expect = row.expect == std::string("played") ? "(text|blank)" : row.expect;
                EXPECT_EXIT(
                    {
                        std::fprintf(stderr, "\n[%s]\n", Outcome(PlayMetafile(wmf, size)));
                        std::_Exit(0);
                    },
                    testing::ExitedWithCode(0), "\\[" + expect + "\\]")
                    << row.name << (extended ? ", EXTTEXTOUT" : ", TEXTOUT") << " at " << SizeName(size);
            }
}

// --- the entry that stopped the diary at start --------------------------------------------------

// A window extent of zero width, then TEXTOUT "W".
constexpr const char* kZeroWidthWindow =
    "010009000003000000000000000000000000050000000c0200040000070000002105010057000a000a00030000000000";
// The same without the window record: the placeable box the reader builds from \picw0\pich1024
// is all the mapping there is.
constexpr const char* kNoWindow =
    "010009000003000000000000000000000000" "070000002105010057000a000a00" "030000000000";
// A window one unit wide and the largest high: squashed to a line, refused.
constexpr const char* kSquashedWindow =
    "010009000003000000000000000000000000050000000c02ff7f0100070000002105010057000a000a00030000000000";

std::string EntryRtf(const char* picwPich, const char* hex, QSize size)
{
    return std::string("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\plain\\f0 x{\\pict\\wmetafile8") + picwPich
         + "\\picwgoal" + std::to_string(size.width() * 15) + "\\pichgoal" + std::to_string(size.height() * 15) + " "
         + hex + "} y\\par}";
}

// Reads the entry, lays it out and paints it as the window does; reports "picture" or
// "placeholder" (the canvas's grey crossed box), or what went wrong before painting.
std::string PaintEntry(const std::string& rtf, QSize size)
{
    TWPRTFText doc;
    TParagraph* current = doc.firstParagraph();
    TWPRtfReader reader;
    if (reader.ReadStream(rtf, &doc, &current) != ReadResult::Ok)
        return "unread";
    if (doc.objects().size() != 1 || !doc.objects()[0]->graphic || doc.objects()[0]->graphic->kind != GraphicKind::Metafile)
        return "no metafile";
    doc.header().marginLeft = doc.header().marginRight = 0;
    doc.header().paperWidth = (size.width() + 200) * 15;
    QtCanvas measuring(nullptr, 96);
    TWPRTFTextPaint engine(doc);
    engine.setCanvas(&measuring);
    engine.reformatAll();
    QImage page(size.width() + 200, size.height() + 100, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        QtCanvas canvas(&painter, 96);
        engine.paint(canvas, {0, 0, page.width(), page.height()}, 0, 0);
    }
    // The placeholder's frame and diagonals are drawn in this one grey; text has only a few
    // pixels of it at its antialiased edges.
    int grey = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            grey += QColor(page.pixel(x, y)) == QColor(128, 128, 128);
    return grey >= size.width() + size.height() ? "placeholder" : "picture";
}

TEST_F(MetafileDegenerate, TheEntryThatCrashedAtStartIsPainted)
{
    const struct {
        const char* name;
        const char* picwPich;
        const char* hex;
        const char* expect;
    } rows[] = {
        {"zero width window", "\\picw1000\\pich1000", kZeroWidthWindow, "picture"},
        {"placeable box without width", "\\picw0\\pich1024", kNoWindow, "picture"},
        {"squashed window", "\\picw1000\\pich1000", kSquashedWindow, "placeholder"},
    };
    // The entry as it was found, then at the other sizes entries give pictures.
    const std::string asFound = EntryRtf("\\picw1000\\pich1000", kZeroWidthWindow, {100, 100});
    ASSERT_EQ(asFound, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\plain\\f0 x{\\pict\\wmetafile8\\picw1000\\pich1000"
                       "\\picwgoal1500\\pichgoal1500 010009000003000000000000000000000000050000000c0200040000070000"
                       "002105010057000a000a00030000000000} y\\par}");
    for (const auto& row : rows)
        for (QSize size : kSizes) {
            const std::string rtf = EntryRtf(row.picwPich, row.hex, size);
            EXPECT_EXIT(
                {
                    std::fprintf(stderr, "\n[%s]\n", PaintEntry(rtf, size).c_str());
                    std::_Exit(0);
                },
                testing::ExitedWithCode(0), std::string("\\[") + row.expect + "\\]")
                << row.name << " at " << SizeName(size);
        }
}

} // namespace
} // namespace quillory
