// The Qt canvas offscreen: font metrics of the Liberation fonts, pictures from the model's bytes,
// a small document rendered into an image, and text of every script drawn from fallback fonts.
#include "platform/Cp1252.h"
#include "platform/UnicodeText.h"
#include "platform/Utf8.h"
#include "richtext/layout/TextPaint.h"
#include "richtext/qt/QtCanvas.h"
#include "richtext/qt/SymbolFonts.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace quillory {
namespace {

FontRequest font(const char* name, int points, bool bold = false)
{
    FontRequest request;
    request.name = name;
    request.pointSize = points;
    request.bold = bold;
    return request;
}

TEST(QtCanvas, WidthsOfTheLiberationFontsArePlausible)
{
    QtCanvas canvas;
    canvas.selectFont(font("Arial", 10));
    const WidthTable arial = canvas.widths();
    EXPECT_GT(arial['W'], arial['i']);
    EXPECT_GE(arial['a'], 5);
    EXPECT_LE(arial['a'], 9);
    EXPECT_GT(arial[0xE9], 0); // é
    EXPECT_GE(canvas.fontHeight(), 13);
    EXPECT_LE(canvas.fontHeight(), 18);
    EXPECT_LT(canvas.fontAscent(), canvas.fontHeight());

    canvas.selectFont(font("Courier New", 10));
    const WidthTable courier = canvas.widths();
    for (int c : {'i', 'W', 'm', '.', ' ', '0'})
        EXPECT_EQ(courier[std::size_t(c)], courier['x']) << char(c);

    canvas.selectFont(font("Arial", 20));
    EXPECT_NEAR(canvas.widths()['W'], 2 * arial['W'], 2);
    canvas.selectFont(font("Arial", 10, true));
    EXPECT_GE(canvas.widths()['W'], arial['W']);
    canvas.selectFont(font("Arial", 10));
    EXPECT_EQ(canvas.cachedFonts(), 4); // width tables are kept per font
}

std::string bareDib24(int width, int height, std::uint32_t rgb)
{
    std::string dib(40, '\0');
    auto put = [&](int at, std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            dib[std::size_t(at + i)] = char((v >> (8 * i)) & 0xFF);
    };
    put(0, 40, 4);
    put(4, std::uint32_t(width), 4);
    put(8, std::uint32_t(height), 4);
    put(12, 1, 2);
    put(14, 24, 2);
    const int stride = (width * 3 + 3) / 4 * 4;
    for (int y = 0; y < height; ++y) {
        std::string row(std::size_t(stride), '\0');
        for (int x = 0; x < width; ++x) {
            row[std::size_t(3 * x)] = char(rgb & 0xFF);
            row[std::size_t(3 * x + 1)] = char((rgb >> 8) & 0xFF);
            row[std::size_t(3 * x + 2)] = char((rgb >> 16) & 0xFF);
        }
        dib += row;
    }
    return dib;
}

TEST(QtCanvas, PicturesComeFromTheModelsBytes)
{
    TGraphic dib;
    dib.kind = GraphicKind::Dib;
    dib.bytes = bareDib24(3, 2, 0x0000FF); // blue (0xRRGGBB; the file keeps BGR)
    const QImage fromDib = GraphicToImage(dib);
    ASSERT_FALSE(fromDib.isNull());
    EXPECT_EQ(fromDib.size(), QSize(3, 2));
    EXPECT_EQ(fromDib.pixelColor(1, 1), QColor(0, 0, 255));

    TGraphic device;
    device.kind = GraphicKind::DeviceBitmap;
    device.width = 8;
    device.height = 2;
    device.bitsPerPixel = 1;
    device.widthBytes = 2;
    device.bytes = std::string("\x80\x00\x01\x00", 4);
    const QImage fromBits = GraphicToImage(device);
    ASSERT_FALSE(fromBits.isNull());
    EXPECT_EQ(fromBits.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_EQ(fromBits.pixelColor(1, 0), QColor(Qt::black));
    EXPECT_EQ(fromBits.pixelColor(7, 1), QColor(Qt::white));

    device.bytes.resize(3); // fewer bytes than the rows need
    EXPECT_TRUE(GraphicToImage(device).isNull());

    TGraphic metafile;
    metafile.kind = GraphicKind::Metafile;
    metafile.bytes = "\xD7\xCD\xC6\x9A";
    EXPECT_TRUE(GraphicToImage(metafile).isNull());
}

int darkPixels(const QImage& image, const QRect& area, bool (*test)(QColor))
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += test(image.pixelColor(x, y)) ? 1 : 0;
    return count;
}

bool isDark(QColor c) { return c.lightness() < 128; }
bool isRed(QColor c) { return c.red() > 160 && c.green() < 100 && c.blue() < 100; }
bool isBlue(QColor c) { return c.blue() > 200 && c.red() < 60 && c.green() < 60; }

TEST(QtCanvas, RendersADocumentWhereTheLayoutPutsIt)
{
    TWPRTFText doc;
    TTextHeader& header = doc.header();
    header.marginLeft = header.marginRight = 0;
    header.paperWidth = 300 * 15; // 300 px
    TParagraph& first = *doc.firstParagraph();
    doc.appendText(first, "Hello", TAttr{});
    TParagraph& second = *doc.appendParagraph(&first);
    second.alignment = Alignment::Right;
    TAttr red;
    red.setTextColor(1);
    red.size = 20;
    red.style = AttrStyle::Bold;
    doc.appendText(second, "RED", red);
    TAttr picture;
    picture.flags = AttrFlag::Object;
    auto graphic = std::make_unique<TGraphic>();
    graphic->bytes = bareDib24(4, 4, 0x0000FF);
    TTextObject& object = doc.addObject(std::move(graphic));
    object.width = object.height = 300; // 20 px
    picture.tag = object.tag;
    TParagraph& third = *doc.appendParagraph(&second);
    third.alignment = Alignment::Left;
    doc.appendText(third, "\x01", picture);

    QtCanvas measuring;
    TWPRTFTextPaint engine(doc);
    engine.wordWrap = false;
    engine.setCanvas(&measuring);
    engine.reformatAll();

    QImage image(300, 120, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QtCanvas canvas(&painter);
        engine.paint(canvas, {0, 0, 300, 120}, 0, 0);
    }
    const auto& lines = engine.lines();
    ASSERT_EQ(lines.size(), 3u);
    const int firstBottom = lines[0].line->top + lines[0].line->height;
    const int hello = lines[0].line->lineWidth;
    EXPECT_GT(darkPixels(image, QRect(0, 0, hello, firstBottom), isDark), 20);
    EXPECT_EQ(darkPixels(image, QRect(hello + 4, 0, 300 - hello - 4, firstBottom), isDark), 0);

    const QRect redLine(0, lines[1].line->top, 300, lines[1].line->height);
    EXPECT_GT(darkPixels(image, redLine.adjusted(300 - lines[1].line->lineWidth - 2, 0, 0, 0), isRed), 30);
    EXPECT_EQ(darkPixels(image, redLine.adjusted(0, 0, -(lines[1].line->lineWidth + 4), 0), isRed), 0);

    const int pictureTop = lines[2].line->top + lines[2].line->ascent - 20;
    EXPECT_EQ(darkPixels(image, QRect(0, pictureTop, 20, 20), isBlue), 400);
}

TEST(QtCanvas, PrintingScalesTheLayoutToTheDevicesPixels)
{
    TWPRTFText doc;
    TTextHeader& header = doc.header();
    header.marginLeft = header.marginRight = header.marginTop = header.marginBottom = 0;
    header.paperWidth = 200 * 15;
    header.paperHeight = 100 * 15;
    TAttr big;
    big.size = 20;
    doc.appendText(*doc.firstParagraph(), "MMMM", big);
    QtCanvas measuring;
    TWPRTFTextPaint engine(doc);
    engine.wordWrap = false;
    engine.setCanvas(&measuring);
    engine.reformatAll();
    const int width = engine.lines()[0].line->lineWidth;
    const int height = engine.lines()[0].line->height;

    QImage page(400, 200, QImage::Format_RGB32); // the page at 192 dpi
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        QtCanvas printer(&painter);
        printer.setDeviceResolution(192, 192);
        engine.print(printer, 0, 0, PrintJob{});
    }
    EXPECT_GT(darkPixels(page, QRect(width + 4, 0, width, 2 * height), isDark), 100); // the right half of the word
    EXPECT_EQ(darkPixels(page, QRect(2 * width + 6, 0, 400 - 2 * width - 6, 200), isDark), 0);
    EXPECT_EQ(darkPixels(page, QRect(0, 2 * height + 4, 400, 200 - 2 * height - 4), isDark), 0);
}

bool isInk(QColor c) { return c.lightness() < 200 || c.saturation() > 60; }

constexpr const char* kEveryScript =
    "Zażółć Жук Ελλάδα שלום مرحبا नमस्ते สวัสดี 你好 日本語 한국어 😀";

struct PaintedLine {
    TWPRTFText doc;
    QtCanvas measuring;
    TWPRTFTextPaint engine{doc};
    QImage image{1000, 60, QImage::Format_RGB32};

    explicit PaintedLine(std::string_view text, int points = 16)
    {
        doc.header().marginLeft = doc.header().marginRight = 0;
        doc.header().paperWidth = 1000 * 15;
        TAttr attr;
        attr.size = std::uint8_t(points);
        doc.appendText(*doc.firstParagraph(), text, attr);
        engine.wordWrap = false;
        engine.setCanvas(&measuring);
        engine.reformatAll();
        image.fill(Qt::white);
        QPainter painter(&image);
        QtCanvas canvas(&painter);
        engine.paint(canvas, {0, 0, 1000, 60}, 0, 0);
    }
};

// One cluster drawn by the canvas as the layout would draw it, cropped to what it inked.
QImage drawnAlone(std::string_view cluster)
{
    QImage image(80, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QtCanvas canvas(&painter);
        FontRequest request;
        request.name = "Arial";
        request.pointSize = 16;
        canvas.selectFont(request);
        if (NeedsShaping(DecodeUtf8At(cluster, 0)) || cluster.size() > 4)
            canvas.drawShapedText(10, 40, cluster, false, RGBColor{0, 0, 0, 0});
        else
            canvas.drawText(10, 40, cluster, std::vector<int>(cluster.size(), 0), RGBColor{0, 0, 0, 0});
    }
    QRect inked;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (isInk(image.pixelColor(x, y)))
                inked |= QRect(x, y, 1, 1);
    return inked.isNull() ? QImage() : image.copy(inked);
}

TEST(QtCanvas, EveryScriptDrawsFromAFontThatHasIt)
{
    PaintedLine painted(kEveryScript);
    const LaidLine& laid = painted.engine.lines().front();
    const LinePlaces places = painted.engine.places(laid);
    const std::string_view text = laid.line->view();
    const int top = laid.line->top, height = laid.line->height;
    // The box the layout gives each cluster has ink in it.
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t next = NextGraphemeBoundary(text, at);
        if (text[at] != ' ') {
            int width = 0;
            for (std::size_t k = at; k < next; ++k)
                width += places.advances[k];
            const int left = places.left[at];
            EXPECT_GT(width, 0) << text.substr(at, next - at);
            EXPECT_GT(darkPixels(painted.image, QRect(left, top, std::max(1, width), height), isInk), 0)
                << text.substr(at, next - at);
        }
        at = next;
    }
    // No cluster draws as the box of a character that no font has.
    const QImage tofu = drawnAlone("\xEF\xBF\xBF"); // U+FFFF
    ASSERT_FALSE(tofu.isNull());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t next = NextGraphemeBoundary(text, at);
        const std::string_view cluster = text.substr(at, next - at);
        if (cluster != " ") {
            const QImage alone = drawnAlone(cluster);
            EXPECT_FALSE(alone.isNull()) << cluster;
            EXPECT_NE(alone, tofu) << cluster;
        }
        at = next;
    }
}

// Text in a symbol font holds the cp1252 characters of its bytes: each is measured and drawn as
// the font's glyph of that byte.
TEST(QtCanvas, ASymbolFontsCharactersStandForItsBytes)
{
    static const QStringList families = AddSymbolFonts();
    ASSERT_TRUE(families.contains(QStringLiteral("Wingdings"))) << "the symbol fonts of " << SymbolFontFolder().toStdString();
    FontRequest request;
    request.name = "Wingdings";
    request.pointSize = 24;
    request.symbol = true;
    const auto drawn = [&](const std::function<void(QPainter&, QtCanvas&)>& draw) {
        QImage image(60, 60, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QtCanvas canvas(&painter);
        canvas.selectFont(request);
        draw(painter, canvas);
        painter.end();
        return image;
    };
    QtCanvas measuring;
    measuring.selectFont(request);
    const QFontMetrics metrics(measuring.qfont(request));
    int checked = 0;
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        const QChar glyph(char16_t(0xF000 + byte));
        if (!metrics.inFont(glyph))
            continue;
        const std::string character = Cp1252ToUtf8(std::string(1, char(byte)));
        EXPECT_EQ(measuring.textWidth(character), measuring.widths()[std::size_t(byte)]) << byte;
        const QImage ours = drawn([&](QPainter&, QtCanvas& canvas) {
            canvas.drawText(10, 40, character, std::vector<int>(character.size(), 0), RGBColor{0, 0, 0, 0});
        });
        const QImage direct = drawn([&](QPainter& painter, QtCanvas& canvas) {
            painter.setFont(canvas.qfont(request));
            painter.drawText(QPoint(10, 40), QString(glyph));
        });
        EXPECT_GT(darkPixels(ours, ours.rect(), isDark), 0) << byte;
        EXPECT_EQ(ours, direct) << byte;
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

// Printing goes through the painter of a PDF, where text is not a glyph run and colour glyphs
// cannot go as text: every script must arrive there too, as characters where the PDF can hold
// them and as ink in every cluster's place.
TEST(QtCanvas, APdfPrintKeepsEveryScript)
{
    TWPRTFText doc;
    doc.header().marginLeft = doc.header().marginTop = 0;
    doc.appendText(*doc.firstParagraph(), kEveryScript, TAttr{});
    QtCanvas measuring;
    TWPRTFTextPaint engine(doc);
    engine.wordWrap = false;
    engine.setCanvas(&measuring);
    engine.reformatAll();

    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("scripts.pdf"));
    {
        QPdfWriter writer(pdf);
        writer.setResolution(600);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&writer);
        QtCanvas device(&painter, 96);
        device.setDeviceResolution(600, 600);
        engine.print(device, 0, 0, PrintJob{});
    }
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    // (Words whose glyphs a PDF reader maps back to other characters, such as ligatures,
    // joined Arabic letters and radicals, are left to the pixels.)
    for (const char* word : {"Zażółć", "Жук", "Ελλάδα", "สวัสดี", "你好", "한국어"})
        EXPECT_TRUE(printed.contains(QString::fromUtf8(word))) << word << " in " << printed.toStdString();

    // At 96 dots per inch the page's pixels are the layout's.
    QProcess render;
    render.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("96"), QStringLiteral("-png"),
                                              QStringLiteral("-singlefile"), pdf, folder.filePath(QStringLiteral("page"))});
    ASSERT_TRUE(render.waitForFinished(30000));
    const QImage page(folder.filePath(QStringLiteral("page.png")));
    ASSERT_FALSE(page.isNull());
    const LaidLine& laid = engine.lines().front();
    const LinePlaces places = engine.places(laid);
    const std::string_view line = laid.line->view();
    for (std::size_t at = 0; at < line.size();) {
        const std::size_t next = NextGraphemeBoundary(line, at);
        if (line[at] != ' ') {
            int width = 0;
            for (std::size_t k = at; k < next; ++k)
                width += places.advances[k];
            const QRect box(places.left[at], laid.line->top, std::max(1, width), laid.line->height);
            EXPECT_GT(darkPixels(page, box, isInk), 0) << line.substr(at, next - at);
        }
        at = next;
    }
}

} // namespace
} // namespace quillory
