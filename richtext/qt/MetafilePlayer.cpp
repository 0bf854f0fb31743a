// The metafile player: records read one by one, each checked against its own length, GDI's
// device-context state (objects, pen position, colours, window mapping) kept as it goes.
#include "richtext/qt/MetafilePlayer.h"

#include "platform/Cp1252.h"
#include "richtext/layout/PictureBits.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

namespace quillory {
namespace {

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::size_t kPlaceableSize = 22;
constexpr std::size_t kMaxObjects = 4096;
constexpr int kMaxSide = 4096;
// A window mapping that stretches one axis this many times more than the other squashes the
// drawing to a line: such a picture is not drawn but refused.
constexpr double kMaxStretch = 1000;
// Text is drawn only where its glyphs can be: FreeType fails to render a glyph hundreds of pixels
// long and about one high, and Qt then copies from a null glyph. Text stretched further, smaller
// than half a pixel, larger than eight pictures, or placed too far out to reach the picture (Qt
// places glyphs in 26.6 fixed point) is left out.
constexpr double kMaxTextStretch = 16;
constexpr double kMinTextPixels = 0.5;
constexpr double kMaxTextPixels = 8.0 * kMaxSide;
constexpr double kMaxTextReach = 1 << 20;

// The records that draw, which a squashed mapping refuses.
constexpr std::uint16_t kDrawingRecords[] = {
    0x0213, 0x041B, 0x0418, 0x061C, 0x0817, 0x081A, 0x0830, 0x0324, // LINETO ... POLYGON
    0x0325, 0x0538, 0x0521, 0x0A32, 0x061D, 0x0F43, 0x0B41, 0x0940, // POLYLINE ... DIBBITBLT
};

// The parameters of one record: 16-bit words after its size and function.
class Params {
public:
    explicit Params(std::string_view bytes) : b_(bytes) {}
    std::size_t size() const noexcept { return b_.size(); }
    bool has(std::size_t bytes) const noexcept { return bytes <= b_.size(); }
    std::uint16_t u16(std::size_t word) const noexcept
    {
        const std::size_t at = word * 2;
        return at + 2 <= b_.size() ? std::uint16_t(std::uint8_t(b_[at]) | std::uint8_t(b_[at + 1]) << 8) : 0;
    }
    std::int16_t s16(std::size_t word) const noexcept { return std::int16_t(u16(word)); }
    std::uint32_t u32(std::size_t word) const noexcept { return u16(word) | std::uint32_t(u16(word + 1)) << 16; }
    std::string_view bytes(std::size_t from) const noexcept { return from < b_.size() ? b_.substr(from) : std::string_view(); }

private:
    std::string_view b_;
};

QColor ColourRef(std::uint32_t ref)
{
    return QColor(int(ref & 0xFF), int(ref >> 8 & 0xFF), int(ref >> 16 & 0xFF));
}

struct GdiObject {
    enum class Kind { Pen, Brush, Font, Other } kind = Kind::Other;
    QPen pen;
    QBrush brush;
    QFont font;
    bool symbol = false;
};

struct DcState {
    QPen pen{Qt::black, 0};
    QBrush brush{Qt::white};
    QFont font;
    bool symbol = false;
    QColor text = Qt::black;
    QColor background = Qt::white;
    bool opaque = true;
    int align = 0;
    QPointF position;
    Qt::FillRule fill = Qt::OddEvenFill;
    QPointF origin;
    QSizeF extent; // never zero in either axis: the mapping divides by it
};

class Player {
public:
    Player(QPainter& painter, QSizeF size, QRectF bounds) : p_(painter), size_(size)
    {
        s_.origin = bounds.topLeft();
        s_.extent = bounds.size();
        s_.font.setPixelSize(12);
        Map();
    }

    // False at a drawing record the player does not know or cannot draw.
    bool Play(std::uint16_t function, const Params& a);

private:
    void Map()
    {
        p_.setTransform(QTransform()
                            .scale(size_.width() / s_.extent.width(), size_.height() / s_.extent.height())
                            .translate(-s_.origin.x(), -s_.origin.y()));
    }
    bool Squashed() const
    {
        const double stretch = std::abs(size_.width() / s_.extent.width() * s_.extent.height() / size_.height());
        return !(stretch <= kMaxStretch && stretch >= 1 / kMaxStretch);
    }
    bool TextDrawable(QPointF anchor) const;
    void Use()
    {
        p_.setPen(s_.pen);
        p_.setBrush(s_.brush);
    }
    void AddObject(GdiObject object)
    {
        for (auto& slot : objects_)
            if (!slot) {
                slot = std::move(object);
                return;
            }
        if (objects_.size() < kMaxObjects)
            objects_.push_back(std::move(object));
    }
    static QRectF Box(const Params& a, std::size_t first) // bottom, right, top, left
    {
        return QRectF(QPointF(a.s16(first + 3), a.s16(first + 2)), QPointF(a.s16(first + 1), a.s16(first))).normalized();
    }
    bool Points(const Params& a, std::size_t word, std::size_t count, QPolygonF& out) const
    {
        if (!a.has((word + 2 * count) * 2))
            return false;
        out.reserve(qsizetype(count));
        for (std::size_t i = 0; i < count; ++i)
            out << QPointF(a.s16(word + 2 * i), a.s16(word + 2 * i + 1));
        return true;
    }
    void Text(double x, double y, std::string_view bytes, const QRectF* opaqueBox);
    void Arc(std::uint16_t function, const Params& a);
    void Dib(QRectF target, QRectF source, std::string_view dib);

    QPainter& p_;
    QSizeF size_;
    DcState s_;
    std::vector<DcState> saved_;
    std::vector<std::optional<GdiObject>> objects_;
};

bool Player::TextDrawable(QPointF anchor) const
{
    const QTransform& t = p_.worldTransform();
    const double sx = std::hypot(t.m11(), t.m12()), sy = std::hypot(t.m21(), t.m22());
    if (!t.isInvertible() || !(sx > 0 && sy > 0) || !std::isfinite(sx) || !std::isfinite(sy))
        return false;
    const double pixels = s_.font.pixelSize();
    const QPointF at = t.map(anchor);
    return std::max(sx, sy) <= kMaxTextStretch * std::min(sx, sy) && pixels * std::min(sx, sy) >= kMinTextPixels
        && pixels * std::max(sx, sy) <= kMaxTextPixels && std::abs(at.x()) <= kMaxTextReach
        && std::abs(at.y()) <= kMaxTextReach;
}

void Player::Text(double x, double y, std::string_view bytes, const QRectF* opaqueBox)
{
    QString text;
    for (unsigned char c : bytes)
        text += s_.symbol && c >= 0x20 ? QChar(char16_t(0xF000 + c)) : QChar(char32_t(Cp1252ToUnicode(c)));
    p_.setFont(s_.font);
    const QFontMetricsF metrics(s_.font);
    const double width = metrics.horizontalAdvance(text);
    if (s_.align & 1) { // TA_UPDATECP: drawn at the current position, which moves on
        x = s_.position.x();
        y = s_.position.y();
    }
    const int horizontal = s_.align & 6, vertical = s_.align & 24;
    const double left = horizontal == 6 ? x - width / 2 : horizontal == 2 ? x - width : x;
    const double baseline = vertical == 24 ? y : vertical == 8 ? y - metrics.descent() : y + metrics.ascent();
    if (s_.align & 1)
        s_.position.setX(left + width);
    if (opaqueBox)
        p_.fillRect(*opaqueBox, s_.background);
    else if (s_.opaque)
        p_.fillRect(QRectF(left, baseline - metrics.ascent(), width, metrics.height()), s_.background);
    if (!TextDrawable(QPointF(left, baseline)))
        return;
    p_.setPen(s_.text);
    p_.drawText(QPointF(left, baseline), text);
}

// ARC, PIE, CHORD: end point, start point, box; drawn counter-clockwise from start to end.
void Player::Arc(std::uint16_t function, const Params& a)
{
    const QRectF box = Box(a, 4);
    const QPointF centre = box.center();
    const auto angle = [&](double x, double y) { return std::atan2(-(y - centre.y()), x - centre.x()) * 180 / M_PI; };
    const double start = angle(a.s16(3), a.s16(2));
    double span = angle(a.s16(1), a.s16(0)) - start;
    if (span <= 0)
        span += 360;
    Use();
    const int from = int(std::lround(start * 16)), length = int(std::lround(span * 16));
    if (function == 0x0817)
        p_.drawArc(box, from, length);
    else if (function == 0x081A)
        p_.drawPie(box, from, length);
    else
        p_.drawChord(box, from, length);
}

void Player::Dib(QRectF target, QRectF source, std::string_view dib)
{
    const auto bmp = BmpFileFromDib(dib);
    if (!bmp)
        return;
    const QImage image = QImage::fromData(reinterpret_cast<const uchar*>(bmp->data()), int(bmp->size()), "BMP");
    if (image.isNull())
        return;
    // A source outside the bitmap (the bottom-up row numbering of some writers) takes all of it.
    if (source.isEmpty() || !QRectF(image.rect()).contains(source))
        source = image.rect();
    p_.drawImage(target.normalized(), image, source);
}

bool Player::Play(std::uint16_t function, const Params& a)
{
    if (Squashed() && std::ranges::find(kDrawingRecords, function) != std::end(kDrawingRecords))
        return false;
    switch (function) {
    case 0x020B: s_.origin = QPointF(a.s16(1), a.s16(0)); Map(); return true;           // SETWINDOWORG
    case 0x020C:                                                                        // SETWINDOWEXT
        // A zero extent is refused, as GDI refuses it: the window stays as it was.
        if (a.s16(0) && a.s16(1)) {
            s_.extent = QSizeF(a.s16(1), a.s16(0));
            Map();
        }
        return true;
    case 0x020F: s_.origin += QPointF(a.s16(1), a.s16(0)); Map(); return true;          // OFFSETWINDOWORG
    case 0x0201: s_.background = ColourRef(a.u32(0)); return true;                      // SETBKCOLOR
    case 0x0102: s_.opaque = a.u16(0) == 2; return true;                                // SETBKMODE
    case 0x0209: s_.text = ColourRef(a.u32(0)); return true;                            // SETTEXTCOLOR
    case 0x012E: s_.align = a.u16(0); return true;                                      // SETTEXTALIGN
    case 0x0106: s_.fill = a.u16(0) == 2 ? Qt::WindingFill : Qt::OddEvenFill; return true; // SETPOLYFILLMODE
    case 0x0214: s_.position = QPointF(a.s16(1), a.s16(0)); return true;                // MOVETO
    case 0x0213: {                                                                      // LINETO
        const QPointF to(a.s16(1), a.s16(0));
        Use();
        p_.drawLine(s_.position, to);
        s_.position = to;
        return true;
    }
    case 0x02FA: { // CREATEPENINDIRECT: style, width (x, y), colour
        GdiObject pen{GdiObject::Kind::Pen};
        const int style = a.u16(0) & 0xF;
        static constexpr Qt::PenStyle kStyles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine,
                                                   Qt::DashDotDotLine, Qt::NoPen, Qt::SolidLine};
        Qt::PenStyle qtStyle = style <= 6 ? kStyles[style] : Qt::SolidLine;
        int width = std::max(0, int(a.s16(1)));
        // As on the original system, only thin pens are dashed; and a thin dashed pen is one
        // device pixel wide, which also keeps a stretched picture from being cut into millions
        // of dashes.
        if (qtStyle >= Qt::DashLine && qtStyle <= Qt::DashDotDotLine) {
            if (width > 1)
                qtStyle = Qt::SolidLine;
            else
                width = 0;
        }
        pen.pen = QPen(ColourRef(a.u32(3)), width, qtStyle);
        AddObject(pen);
        return true;
    }
    case 0x01FC: { // CREATEBRUSHINDIRECT: style, colour, hatch
        GdiObject brush{GdiObject::Kind::Brush};
        const QColor colour = ColourRef(a.u32(1));
        static constexpr Qt::BrushStyle kHatches[] = {Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern,
                                                      Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        const std::uint16_t style = a.u16(0), hatch = a.u16(3);
        brush.brush = style == 1 ? QBrush(Qt::NoBrush)
                    : style == 2 ? QBrush(colour, hatch < 6 ? kHatches[hatch] : Qt::SolidPattern)
                                 : QBrush(colour);
        AddObject(brush);
        return true;
    }
    case 0x02FB: { // CREATEFONTINDIRECT: height, width, escapement, orientation, weight, flags, face
        GdiObject font{GdiObject::Kind::Font};
        const int height = std::abs(int(a.s16(0)));
        font.font.setPixelSize(std::clamp(height ? height : 12, 1, 32000));
        font.font.setWeight(a.u16(4) >= 600 ? QFont::Bold : QFont::Normal);
        const std::string_view flags = a.bytes(10);
        if (flags.size() >= 4) {
            font.font.setItalic(flags[0]);
            font.font.setUnderline(flags[1]);
            font.font.setStrikeOut(flags[2]);
            font.symbol = std::uint8_t(flags[3]) == 2;
        }
        std::string_view face = a.bytes(18).substr(0, 32);
        face = face.substr(0, face.find('\0'));
        font.font.setFamily(QString::fromLatin1(face.data(), qsizetype(face.size())));
        AddObject(font);
        return true;
    }
    case 0x00F7: case 0x01F9: case 0x0142: case 0x06FF: // palette, pattern brushes, region: a slot
        AddObject(GdiObject{function == 0x0142 || function == 0x01F9 ? GdiObject::Kind::Brush : GdiObject::Kind::Other,
                            QPen(), QBrush(Qt::gray), QFont(), false});
        return true;
    case 0x012D: { // SELECTOBJECT
        const std::size_t index = a.u16(0);
        if (index < objects_.size() && objects_[index]) {
            const GdiObject& object = *objects_[index];
            if (object.kind == GdiObject::Kind::Pen)
                s_.pen = object.pen;
            else if (object.kind == GdiObject::Kind::Brush)
                s_.brush = object.brush;
            else if (object.kind == GdiObject::Kind::Font) {
                s_.font = object.font;
                s_.symbol = object.symbol;
            }
        }
        return true;
    }
    case 0x01F0: // DELETEOBJECT
        if (a.u16(0) < objects_.size())
            objects_[a.u16(0)].reset();
        return true;
    case 0x001E: saved_.push_back(s_); p_.save(); return true; // SAVEDC
    case 0x0127:                                             // RESTOREDC
        if (!saved_.empty()) {
            s_ = saved_.back();
            saved_.pop_back();
            p_.restore();
        }
        return true;
    case 0x0416: p_.setClipRect(Box(a, 0), Qt::IntersectClip); return true; // INTERSECTCLIPRECT
    case 0x041B: Use(); p_.drawRect(Box(a, 0)); return true;                // RECTANGLE
    case 0x0418: Use(); p_.drawEllipse(Box(a, 0)); return true;             // ELLIPSE
    case 0x061C:                                                            // ROUNDRECT
        Use();
        p_.drawRoundedRect(Box(a, 2), std::abs(a.s16(1)) / 2.0, std::abs(a.s16(0)) / 2.0);
        return true;
    case 0x0817: case 0x081A: case 0x0830: Arc(function, a); return true; // ARC, PIE, CHORD
    case 0x0324: case 0x0325: { // POLYGON, POLYLINE
        QPolygonF points;
        if (!Points(a, 1, a.u16(0), points))
            return true;
        Use();
        if (function == 0x0324)
            p_.drawPolygon(points, s_.fill);
        else
            p_.drawPolyline(points);
        return true;
    }
    case 0x0538: { // POLYPOLYGON: count, point counts, points
        const std::size_t polygons = a.u16(0);
        if (!a.has((1 + polygons) * 2))
            return true;
        QPainterPath path;
        path.setFillRule(s_.fill);
        std::size_t word = 1 + polygons;
        for (std::size_t i = 0; i < polygons; ++i) {
            QPolygonF points;
            if (!Points(a, word, a.u16(1 + i), points))
                break;
            word += 2 * std::size_t(a.u16(1 + i));
            path.addPolygon(points);
            path.closeSubpath();
        }
        Use();
        p_.drawPath(path);
        return true;
    }
    case 0x0521: { // TEXTOUT: count, text (even length), y, x
        const std::size_t count = a.u16(0);
        const std::size_t padded = (count + 1) & ~std::size_t(1);
        if (!a.has(2 + padded + 4))
            return true;
        const std::size_t after = (2 + padded) / 2;
        Text(a.s16(after + 1), a.s16(after), a.bytes(2).substr(0, count), nullptr);
        return true;
    }
    case 0x0A32: { // EXTTEXTOUT: y, x, count, options, [box], text, [spacing]
        const std::size_t count = a.u16(2);
        const std::uint16_t options = a.u16(3);
        const bool boxed = options & 0x0006;
        const std::size_t textAt = boxed ? 16 : 8;
        if (!a.has(textAt + count))
            return true;
        const QRectF box = QRectF(QPointF(a.s16(4), a.s16(5)), QPointF(a.s16(6), a.s16(7))).normalized();
        Text(a.s16(1), a.s16(0), a.bytes(textAt).substr(0, count), boxed && (options & 2) ? &box : nullptr);
        return true;
    }
    case 0x061D: { // PATBLT: raster operation, height, width, y, x
        const QRectF box(a.s16(5), a.s16(4), a.s16(3), a.s16(2));
        const std::uint32_t rop = a.u32(0);
        p_.fillRect(box.normalized(), rop == 0x00FF0062 ? QBrush(Qt::white) : rop == 0x00000042 ? QBrush(Qt::black) : s_.brush);
        return true;
    }
    case 0x0F43: // STRETCHDIB: rop, usage, source h w y x, destination h w y x, DIB
        if (a.has(22))
            Dib(QRectF(a.s16(10), a.s16(9), a.s16(8), a.s16(7)), QRectF(a.s16(6), a.s16(5), a.s16(4), a.s16(3)), a.bytes(22));
        return true;
    case 0x0B41: // DIBSTRETCHBLT: rop, source h w y x, destination h w y x, DIB
        if (a.size() > 22)
            Dib(QRectF(a.s16(9), a.s16(8), a.s16(7), a.s16(6)), QRectF(a.s16(5), a.s16(4), a.s16(3), a.s16(2)), a.bytes(20));
        return true;
    case 0x0940: // DIBBITBLT: rop, source y x, h w, destination y x, DIB
        if (a.size() > 20)
            Dib(QRectF(a.s16(7), a.s16(6), a.s16(5), a.s16(4)), QRectF(a.s16(3), a.s16(2), a.s16(5), a.s16(4)), a.bytes(16));
        return true;
    // State that changes nothing drawn here: mapping mode and viewport (the picture fills its
    // place), raster and stretch modes, palettes, escapes, character spacing, clip regions.
    case 0x0103: case 0x0104: case 0x0107: case 0x0108: case 0x020A: case 0x020D: case 0x020E:
    case 0x0211: case 0x0231: case 0x0234: case 0x0035: case 0x0626: case 0x0037: case 0x0139:
    case 0x0220: case 0x012C: case 0x0415: case 0x0412: case 0x0410: case 0x0149: case 0x0000:
        return true;
    default:
        return false;
    }
}

} // namespace

QSize MetafilePixelSize(std::string_view bytes, int dpi)
{
    const auto word = [&](std::size_t at) { return std::uint8_t(bytes[at]) | std::uint8_t(bytes[at + 1]) << 8; };
    if (bytes.size() < kPlaceableSize || std::uint32_t(word(0) | word(2) << 16) != kPlaceableKey || word(14) == 0)
        return {};
    const int width = std::abs(std::int16_t(word(10)) - std::int16_t(word(6)));
    const int height = std::abs(std::int16_t(word(12)) - std::int16_t(word(8)));
    return QSize(width * dpi / word(14), height * dpi / word(14));
}

QImage PlayMetafile(std::string_view bytes, QSize size)
{
    if (size.isEmpty())
        return {};
    if (size.width() > kMaxSide || size.height() > kMaxSide)
        size = size.scaled(kMaxSide, kMaxSide, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    const auto word = [&](std::size_t at) -> int {
        return at + 2 <= bytes.size() ? std::uint8_t(bytes[at]) | std::uint8_t(bytes[at + 1]) << 8 : 0;
    };
    QRectF bounds(0, 0, 1000, 1000);
    if (bytes.size() >= kPlaceableSize && std::uint32_t(word(0) | word(2) << 16) == kPlaceableKey) {
        const QPointF topLeft(std::int16_t(word(6)), std::int16_t(word(8)));
        const QPointF bottomRight(std::int16_t(word(10)), std::int16_t(word(12)));
        // A box without width or height maps nothing: the records' own window, or the default.
        if (topLeft.x() != bottomRight.x() && topLeft.y() != bottomRight.y())
            bounds = QRectF(topLeft, bottomRight);
        bytes.remove_prefix(kPlaceableSize);
    }
    // The header: type 1 (memory) or 2 (disk), 9 words long.
    const int headerWords = word(2);
    if (bytes.size() < 18 || (word(0) != 1 && word(0) != 2) || headerWords < 9)
        return {};
    std::size_t at = std::size_t(headerWords) * 2;

    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    Player player(painter, QSizeF(size), bounds);
    while (at + 6 <= bytes.size()) {
        const std::uint32_t words = std::uint32_t(word(at) | word(at + 2) << 16);
        const std::uint16_t function = std::uint16_t(word(at + 4));
        if (function == 0x0000)
            break; // the end record
        if (words < 3 || words > (bytes.size() - at) / 2)
            break; // a record running past the end: what came before stands
        if (!player.Play(function, Params(bytes.substr(at + 6, words * 2 - 6))))
            return {};
        at += std::size_t(words) * 2;
    }
    return image;
}

} // namespace quillory
