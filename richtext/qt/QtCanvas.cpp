// Fonts, width tables and drawing of the Qt canvas.
#include "richtext/qt/QtCanvas.h"

#include "platform/Cp1252.h"
#include "richtext/qt/MetafilePlayer.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace quillory {

namespace {

QColor qcolor(RGBColor c) { return QColor(c.red, c.green, c.blue); }

// Symbol fonts are addressed by byte: Qt finds glyph c of such a font at U+F000 + c.
QChar glyphFor(unsigned char byte, bool symbol)
{
    if (symbol && byte >= 0x20)
        return QChar(char16_t(0xF000 + byte));
    return QChar(char16_t(Cp1252ToUnicode(byte)));
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
    QFont font(QString::fromLatin1(request.name.data(), qsizetype(request.name.size())));
    font.setPixelSize(std::max(1, int(std::lround(request.pointSize * resolution_ / 72.0))));
    font.setBold(request.bold);
    font.setItalic(request.italic);
    font.setKerning(false); // characters stand where their advances put them
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

void QtCanvas::drawText(int x, int baseline, std::string_view text, std::span<const int> advances, RGBColor color)
{
    if (!painter_ || !current_)
        return;
    painter_->setPen(qcolor(color));
    // On the screen the characters go out as one run of the font's glyphs; a character the font
    // lacks, and every character on a printer, is drawn by itself as text.
    const bool raster = painter_->paintEngine() && painter_->paintEngine()->type() == QPaintEngine::Raster;
    if (raster && !current_->hasGlyphs)
        findGlyphs(*current_);
    const bool runs = raster && current_->raw.isValid();
    QList<quint32> glyphs;
    QList<QPointF> positions;
    if (runs) {
        glyphs.reserve(qsizetype(text.size()));
        positions.reserve(qsizetype(text.size()));
    }
    bool fontSet = false;
    int cx = x;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte > 0x20) {
            const quint32 glyph = runs ? current_->glyphs[byte] : 0;
            if (glyph) {
                glyphs.push_back(glyph);
                positions.push_back(QPointF(cx - x, 0));
            } else {
                // The glyph run brings its own font; text drawn by itself takes the painter's.
                if (!fontSet) {
                    painter_->setFont(current_->font);
                    fontSet = true;
                }
                painter_->drawText(QPoint(cx, baseline), QString(glyphFor(byte, current_->symbol)));
            }
        }
        cx += i < advances.size() ? advances[i] : 0;
    }
    if (!glyphs.isEmpty()) {
        QGlyphRun run;
        run.setRawFont(current_->raw);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        painter_->drawGlyphRun(QPointF(x, baseline), run);
    }
}

void QtCanvas::drawLine(int x1, int y1, int x2, int y2, const Pen& pen)
{
    if (!painter_)
        return;
    QPen qpen(qcolor(pen.color));
    qpen.setWidth(pen.style == PenStyle::Hairline ? 0 : pen.width);
    qpen.setStyle(pen.style == PenStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
    qpen.setCapStyle(Qt::FlatCap);
    painter_->setPen(qpen);
    painter_->drawLine(x1, y1, x2, y2);
}

void QtCanvas::fillRect(const Rect& r, RGBColor color)
{
    if (painter_)
        painter_->fillRect(QRect(r.left, r.top, r.width, r.height), qcolor(color));
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
    QPen qpen(qcolor(pen.color));
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

} // namespace quillory
