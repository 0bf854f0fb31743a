// Fonts, width tables and drawing of the Qt canvas.
#include "richtext/qt/QtCanvas.h"

#include "platform/Cp1252.h"
#include "platform/UnicodeText.h"
#include "platform/Utf8.h"
#include "platform/qt/QtText.h"
#include "richtext/qt/MetafilePlayer.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QPaintEngine>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace quillory {

namespace {


// Symbol fonts are addressed by byte: Qt finds glyph c of such a font at U+F000 + c.
QChar glyphFor(unsigned char byte, bool symbol)
{
    if (symbol && byte >= 0x20)
        return QChar(char16_t(0xF000 + byte));
    return QChar(char16_t(Cp1252ToUnicode(byte)));
}

// UTF-8 as UTF-16 for Qt; `unitAt` (when given) receives the UTF-16 offset of every byte
// offset, text.size() included. In a symbol font a character that stands for a cp1252 byte is
// that byte's glyph.
QString toUnits(std::string_view utf8, bool symbol, std::vector<int>* unitAt = nullptr)
{
    QString units;
    units.reserve(qsizetype(utf8.size()));
    if (unitAt)
        unitAt->assign(utf8.size() + 1, 0);
    for (std::size_t at = 0; at < utf8.size();) {
        int length = 1;
        char32_t c = DecodeUtf8At(utf8, at, length);
        if (unitAt)
            std::fill_n(unitAt->begin() + std::ptrdiff_t(at), length, int(units.size()));
        if (symbol)
            if (const auto byte = UnicodeToCp1252(c); byte && *byte >= 0x20)
                c = 0xF000 + *byte;
        if (c >= 0x10000) {
            units += QChar(HighSurrogate(c));
            units += QChar(LowSurrogate(c));
        } else {
            units += QChar(char16_t(c));
        }
        at += std::size_t(length);
    }
    if (unitAt)
        unitAt->back() = int(units.size());
    return units;
}

std::string fontKey(const FontRequest& s)
{
    return s.name + '\x01' + std::to_string(s.pointSize) + (s.bold ? "b" : "") + (s.italic ? "i" : "")
        + (s.symbol ? "s" : "");
}

} // namespace

QtCanvas::QtCanvas(QPainter* painter, int resolution)
    : painter_(painter), resolution_(resolution), deviceX_(resolution), deviceY_(resolution)
{
}

QtCanvas::~QtCanvas() = default;

void QtCanvas::setDeviceResolution(int x, int y)
{
    deviceX_ = x;
    deviceY_ = y;
}

QFont QtCanvas::qfont(const FontRequest& request) const
{
    QFont font(TextToQString(request.name));
    font.setPixelSize(std::max(1, int(std::lround(request.pointSize * resolution_ / 72.0))));
    font.setBold(request.bold);
    font.setItalic(request.italic);
    font.setKerning(false); // characters stand where their advances put them
    // Emoji that the font lacks come in colour: the colour font is asked before the fonts that
    // fontconfig falls back to, some of which draw emoji in outline.
    if (!request.symbol)
        font.setFamilies({QFontInfo(font).family(), QStringLiteral("Noto Color Emoji")});
    return font;
}

void QtCanvas::selectFont(const FontRequest& request)
{
    auto& slot = fonts_[fontKey(request)];
    if (!slot) {
        slot = std::make_unique<Font>();
        slot->font = qfont(request);
        slot->symbol = request.symbol;
        const QFontMetrics metrics(slot->font);
        slot->height = metrics.height();
        slot->ascent = metrics.ascent();
    }
    current_ = slot.get();
}

// Painting selects fonts without asking for widths: the table is built on first use.
const WidthTable& QtCanvas::widths()
{
    static const WidthTable none{};
    if (!current_)
        return none;
    if (!current_->hasWidths) {
        const QFontMetrics metrics(current_->font);
        for (int c = 0; c < 256; ++c)
            current_->widths[std::size_t(c)] = c < 0x20
                ? 0
                : std::uint16_t(std::max(0, metrics.horizontalAdvance(glyphFor(std::uint8_t(c), current_->symbol))));
        current_->hasWidths = true;
    }
    return current_->widths;
}

int QtCanvas::fontHeight() { return current_ ? current_->height : 0; }

int QtCanvas::fontAscent() { return current_ ? current_->ascent : 0; }

void QtCanvas::findGlyphs(Font& font)
{
    font.hasGlyphs = true;
    font.raw = QRawFont::fromFont(font.font);
    if (!font.raw.isValid())
        return;
    for (int c = 0x21; c < 256; ++c) {
        const QList<quint32> found = font.raw.glyphIndexesForString(QString(glyphFor(std::uint8_t(c), font.symbol)));
        font.glyphs[std::size_t(c)] = found.size() == 1 ? found.front() : 0;
    }
}

QString QtCanvas::qtext(std::string_view utf8) const { return toUnits(utf8, current_ && current_->symbol); }

int QtCanvas::textWidth(std::string_view utf8)
{
    if (!current_ || utf8.empty())
        return 0;
    int length = 0;
    const char32_t c = DecodeUtf8At(utf8, 0, length);
    if (std::size_t(length) != utf8.size())
        return QFontMetrics(current_->font).horizontalAdvance(qtext(utf8));
    const auto [known, added] = current_->characterWidths.emplace(c, 0);
    if (added)
        known->second = QFontMetrics(current_->font).horizontalAdvance(qtext(utf8));
    return known->second;
}

// The stretch is laid out once; each piece's advance is the distance between the caret places at
// its two ends, and the last piece takes what rounding left over.
void QtCanvas::pieceWidths(std::string_view utf8, std::span<const int> ends, std::span<int> widths)
{
    const std::size_t count = std::min(ends.size(), widths.size());
    std::fill(widths.begin(), widths.end(), 0);
    if (!current_ || count == 0)
        return;
    std::vector<int> unitAt;
    const QString units = toUnits(utf8, current_->symbol, &unitAt);
    const int total = QFontMetrics(current_->font).horizontalAdvance(units);
    QTextLayout layout(units, current_->font);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (!line.isValid()) {
        layout.endLayout();
        widths[count - 1] = total;
        return;
    }
    line.setNumColumns(int(units.size()));
    layout.endLayout();
    double from = line.cursorToX(0);
    int sum = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const int at = unitAt[std::min(std::size_t(std::max(0, ends[k])), utf8.size())];
        const double to = line.cursorToX(at);
        widths[k] = k + 1 == count ? std::max(0, total - sum) : int(std::lround(std::abs(to - from)));
        sum += widths[k];
        from = to;
    }
}

QtCanvas::Font::Fallback QtCanvas::fallbackGlyph(Font& font, char32_t c)
{
    const auto known = font.fallback.find(c);
    if (known != font.fallback.end())
        return known->second;
    Font::Fallback found;
    std::string utf8;
    AppendUtf8(utf8, c);
    QTextLayout layout(toUnits(utf8, false), font.font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    if (runs.size() == 1 && runs.front().glyphIndexes().size() == 1 && runs.front().glyphIndexes().front() != 0) {
        const QRawFont raw = runs.front().rawFont();
        auto same = std::find(font.fallbacks.begin(), font.fallbacks.end(), raw);
        if (same == font.fallbacks.end())
            same = font.fallbacks.insert(font.fallbacks.end(), raw);
        found = {int(same - font.fallbacks.begin()), runs.front().glyphIndexes().front()};
    }
    font.fallback.emplace(c, found);
    return found;
}

void QtCanvas::drawText(int x, int baseline, std::string_view text, std::span<const int> advances, RGBColor color)
{
    if (!painter_ || !current_)
        return;
    painter_->setPen(ink(color));
    // On the screen the characters go out as runs of glyphs, one per font (the font's own and the
    // fallback fonts Qt finds for what it lacks); a cluster of several characters, and every
    // character on a printer, is drawn by itself as text.
    const bool raster = painter_->paintEngine() && painter_->paintEngine()->type() == QPaintEngine::Raster;
    if (raster && !current_->hasGlyphs)
        findGlyphs(*current_);
    const bool runs = raster && current_->raw.isValid();
    struct Run {
        QList<quint32> glyphs;
        QList<QPointF> positions;
    };
    std::vector<Run> byFont(runs ? current_->fallbacks.size() + 1 : 0);
    const auto place = [&](std::size_t font, quint32 glyph, int cx) {
        if (byFont.size() <= font)
            byFont.resize(font + 1);
        byFont[font].glyphs.push_back(glyph);
        byFont[font].positions.push_back(QPointF(cx - x, 0));
    };
    const auto drawAsText = [&](int cx, std::string_view cluster) {
        drawString(cx, baseline, toUnits(cluster, current_->symbol), false);
    };
    int cx = x;
    for (std::size_t i = 0; i < text.size();) {
        // A cluster's advance is on its first byte: the characters past ASCII that follow it
        // with none of their own belong to it.
        std::size_t next = NextCharBoundary(text, i);
        while (next < text.size() && static_cast<unsigned char>(text[next]) >= 0x80
               && (next >= advances.size() || advances[next] == 0))
            next = NextCharBoundary(text, next);
        int advance = 0;
        for (std::size_t k = i; k < next && k < advances.size(); ++k)
            advance += advances[k];
        const std::string_view cluster = text.substr(i, next - i);
        int length = 1;
        const char32_t c = DecodeUtf8At(cluster, 0, length);
        if (std::size_t(length) != cluster.size()) {
            drawAsText(cx, cluster);
        } else if (c > 0x20) {
            const auto asByte = UnicodeToCp1252(c);
            const quint32 glyph = runs && asByte ? current_->glyphs[*asByte] : 0;
            if (glyph) {
                place(0, glyph, cx);
            } else if (runs && !current_->symbol && c >= 0x80) {
                const Font::Fallback fallback = fallbackGlyph(*current_, c);
                if (fallback.font >= 0)
                    place(std::size_t(fallback.font) + 1, fallback.glyph, cx);
                else
                    drawAsText(cx, cluster);
            } else {
                drawAsText(cx, cluster);
            }
        }
        cx += advance;
        i = next;
    }
    for (std::size_t font = 0; font < byFont.size(); ++font) {
        if (byFont[font].glyphs.isEmpty())
            continue;
        QGlyphRun run;
        run.setRawFont(font == 0 ? current_->raw : current_->fallbacks[font - 1]);
        run.setGlyphIndexes(byFont[font].glyphs);
        run.setPositions(byFont[font].positions);
        painter_->drawGlyphRun(QPointF(x, baseline), run);
    }
}

void QtCanvas::drawShapedText(int x, int baseline, std::string_view text, bool rightToLeft, RGBColor color)
{
    if (!painter_ || !current_)
        return;
    painter_->setPen(ink(color));
    drawString(x, baseline, qtext(text), rightToLeft);
}

// Text drawn by itself takes the painter's font; the glyph runs bring their own.
void QtCanvas::drawString(int x, int baseline, const QString& text, bool rightToLeft)
{
    painter_->setFont(current_->font);
    const Qt::LayoutDirection direction = painter_->layoutDirection();
    painter_->setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    const bool raster = painter_->paintEngine() && painter_->paintEngine()->type() == QPaintEngine::Raster;
    if (raster || !hasColourGlyphs(text)) {
        painter_->drawText(QPointF(x, baseline), text);
    } else {
        // Colour glyphs (emoji) are pictures that a PDF or a printer cannot take as text: they
        // are drawn into an image at the device's resolution, and the image onto the page.
        const QFontMetrics metrics(current_->font);
        QTextLayout layout(text, current_->font);
        layout.beginLayout();
        const QTextLine line = layout.createLine();
        layout.endLayout();
        const double ascent = std::max<double>(metrics.ascent(), line.ascent());
        const double height = ascent + std::max<double>(metrics.descent(), line.descent());
        const double width = std::max(1, metrics.horizontalAdvance(text));
        const QTransform device = painter_->transform();
        const double scale = std::clamp(std::max(std::abs(device.m11()), std::abs(device.m22())), 1.0, 16.0);
        QImage image(int(std::ceil(width * scale)), int(std::ceil(height * scale)), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter picture(&image);
            picture.scale(scale, scale);
            picture.setFont(current_->font);
            picture.setPen(painter_->pen());
            picture.setLayoutDirection(painter_->layoutDirection());
            picture.drawText(QPointF(0, ascent), text);
        }
        painter_->drawImage(QRectF(x, baseline - ascent, width, height), image);
    }
    painter_->setLayoutDirection(direction);
}

bool QtCanvas::hasColourGlyphs(const QString& text)
{
    // Colour fonts are asked for emoji and pictographs only, none of which come before U+2000.
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x2000; }))
        return false;
    QTextLayout layout(text, current_->font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QRawFont font = run.rawFont();
        auto known = colourFonts_.find(font.familyName());
        if (known == colourFonts_.end()) {
            const bool colour = !font.fontTable("CBDT").isEmpty() || !font.fontTable("COLR").isEmpty()
                || !font.fontTable("sbix").isEmpty();
            known = colourFonts_.emplace(font.familyName(), colour).first;
        }
        if (known->second)
            return true;
    }
    return false;
}

void QtCanvas::drawLine(int x1, int y1, int x2, int y2, const Pen& pen)
{
    if (!painter_)
        return;
    QPen qpen(ink(pen.color));
    qpen.setWidth(pen.style == PenStyle::Hairline ? 0 : pen.width);
    qpen.setStyle(pen.style == PenStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
    qpen.setCapStyle(Qt::FlatCap);
    painter_->setPen(qpen);
    painter_->drawLine(x1, y1, x2, y2);
}

void QtCanvas::fillRect(const Rect& r, RGBColor color)
{
    if (painter_)
        painter_->fillRect(QRect(r.left, r.top, r.width, r.height), ink(color));
}

void QtCanvas::fillShading(const Rect& r, RGBColor pattern, RGBColor background, int percent)
{
    // The pattern is printed as the mixed colour it looks like from a distance.
    const int p = std::clamp(percent, 0, 100);
    auto mix = [p](int fore, int back) { return (fore * p + back * (100 - p)) / 100; };
    fillRect(r, RGBColor{std::uint8_t(mix(pattern.red, background.red)), std::uint8_t(mix(pattern.green, background.green)),
                         std::uint8_t(mix(pattern.blue, background.blue)), 0});
}

void QtCanvas::frameRect(const Rect& r, const Pen& pen)
{
    if (!painter_ || r.empty())
        return;
    QPen qpen(ink(pen.color));
    qpen.setWidth(pen.style == PenStyle::Hairline ? 0 : pen.width);
    qpen.setStyle(pen.style == PenStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
    painter_->setPen(qpen);
    painter_->setBrush(Qt::NoBrush);
    painter_->drawRect(QRect(r.left, r.top, r.width - 1, r.height - 1));
}

void QtCanvas::invertRect(const Rect& r)
{
    if (!painter_)
        return;
    const auto mode = painter_->compositionMode();
    painter_->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter_->fillRect(QRect(r.left, r.top, r.width, r.height), Qt::white);
    painter_->setCompositionMode(mode);
}

void QtCanvas::drawPicture(const TGraphic& graphic, const Rect& r)
{
    if (!painter_ || r.empty())
        return;
    const QRect target(r.left, r.top, r.width, r.height);
    const QImage& image = pictureFor(graphic, painter_->transform().mapRect(target).size());
    if (!image.isNull()) {
        painter_->drawImage(QRect(r.left, r.top, r.width, r.height), image);
        return;
    }
    // A picture that cannot be shown (broken bytes, a metafile record the player does not know)
    // keeps its place as a framed, crossed box.
    const Pen pen{RGBColor{128, 128, 128, 0}, 1, PenStyle::Solid};
    frameRect(r, pen);
    drawLine(r.left, r.top, r.right() - 1, r.bottom() - 1, pen);
    drawLine(r.left, r.bottom() - 1, r.right() - 1, r.top, pen);
}

const QImage& QtCanvas::pictureFor(const TGraphic& graphic, QSize deviceSize)
{
    const auto same = [&](const CachedPicture& c) {
        return c.graphic == &graphic && c.bytes == graphic.bytes.data() && c.size == graphic.bytes.size()
            && c.deviceSize == deviceSize;
    };
    auto found = std::find_if(pictures_.begin(), pictures_.end(), same);
    if (found != pictures_.end()) {
        std::rotate(found, found + 1, pictures_.end());
        return pictures_.back().image;
    }
    // Metafiles are played at the size they are drawn at; other pictures are decoded.
    QImage image = graphic.kind == GraphicKind::Metafile ? PlayMetafile(graphic.bytes, deviceSize)
                                                         : GraphicToImage(graphic);
    // A picture far larger than its place is reduced once, smoothly; drawing it reduced on
    // every paint would be slow and coarse.
    if (!image.isNull() && deviceSize.width() > 0 && deviceSize.height() > 0
        && (image.width() > 2 * deviceSize.width() || image.height() > 2 * deviceSize.height()))
        image = image.scaled(deviceSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (pictures_.size() >= kCachedPictures)
        pictures_.erase(pictures_.begin());
    pictures_.push_back({&graphic, graphic.bytes.data(), graphic.bytes.size(), deviceSize, std::move(image)});
    return pictures_.back().image;
}

void QtCanvas::setTransform(double scaleX, double scaleY, int offsetX, int offsetY)
{
    if (painter_)
        painter_->setTransform(QTransform(scaleX, 0, 0, scaleY, offsetX, offsetY));
}

void QtCanvas::setClip(const Rect& r)
{
    if (painter_)
        painter_->setClipRect(QRect(r.left, r.top, r.width, r.height));
}

void QtCanvas::clearClip()
{
    if (painter_)
        painter_->setClipping(false);
}

QColor QtCanvas::ink(RGBColor c) const
{
    const QColor color(c.red, c.green, c.blue);
    if (!darkPage_)
        return color;
    // On a dark page every colour keeps its hue and saturation and turns its lightness over:
    // black text becomes white, white paper the dark page's grey (30), a pale highlight a deep one.
    const int lightness = 30 + (255 - color.lightness()) * 225 / 255;
    return QColor::fromHsl(color.hslHue(), color.hslSaturation(), lightness);
}

} // namespace quillory
