// Painting laid-out lines: runs of text with their colours and display attributes, pictures,
// paragraph borders and shading, table cells, the selection and page-break lines.
#include "richtext/layout/TextPaint.h"

#include <algorithm>

namespace quillory {

namespace {

RGBColor fromRgb(std::uint32_t value) noexcept
{
    return {std::uint8_t(value & 0xFF), std::uint8_t((value >> 8) & 0xFF), std::uint8_t((value >> 16) & 0xFF), 0};
}

constexpr RGBColor White{255, 255, 255, 0};
constexpr RGBColor Gray{128, 128, 128, 0};

std::tuple<int, int> key(int paragraph, int segment) { return {paragraph, segment}; }

} // namespace

void TWPRTFTextPaint::paint(Canvas& canvas, const Rect& update, int scrollX, int scrollY)
{
    if (!document_.firstParagraph()) {
        Measurer measurer(document_);
        measurer.setCanvas(&canvas);
        const TAttr attr = measurer.plainAttr();
        canvas.selectFont(measurer.fontFor(attr));
        const std::string_view text = "<empty>";
        std::vector<int> widths;
        int total = 0;
        for (char c : text) {
            widths.push_back(canvas.widths()[static_cast<unsigned char>(c)]);
            total += widths.back();
        }
        const int width = windowWidth > 0 ? windowWidth : update.right();
        const int height = clientHeight > 0 ? clientHeight : update.bottom();
        canvas.drawText((width - total) / 2, (height + canvas.fontAscent()) / 2, text, widths,
                        document_.header().colors[0]);
        return;
    }
    const Rect area{update.left + scrollX, update.top + scrollY, update.width, update.height};
    paintArea(canvas, area, 0, lineCount(), -scrollX, -scrollY, true);
}

void TWPRTFTextPaint::paintArea(Canvas& canvas, const Rect& area, int from, int to, int dx, int dy, bool screen)
{
    // Bands only grow downwards (the lines of a table row share their row's band).
    auto begin = std::partition_point(lines_.begin() + from, lines_.begin() + to, [&](const LaidLine& l) {
        return bottomOf(std::size_t(&l - lines_.data())) <= area.top;
    });
    auto end = begin;
    while (end != lines_.begin() + to && topOf(std::size_t(end - lines_.begin())) < area.bottom())
        ++end;
    // The lines shown and the page starts among them are settled; those below can wait.
    paginate(std::size_t(end - lines_.begin()));

    for (const LaidBox& box : boxes_)
        if (box.rect.intersects(area))
            paintBox(canvas, box, dx, dy, false);
    for (auto it = begin; it != end; ++it)
        paintLine(canvas, *it, dx, dy);
    for (const LaidBox& box : boxes_)
        if (box.rect.intersects(area))
            paintBox(canvas, box, dx, dy, true);
    if (!screen)
        return;
    for (auto it = begin; it != end; ++it) {
        paintSelection(canvas, *it, dx, dy);
        it->line->flags &= ~0x01;
        it->line->repaintState = 0;
    }
    if (showPageBreak)
        for (std::size_t page = 1; page < pageFirstLine_.size(); ++page) {
            const int y = lines_[std::size_t(pageFirstLine_[page])].bandTop;
            if (y >= area.top && y < area.bottom())
                canvas.drawLine(area.left + dx, y + dy, area.right() + dx, y + dy, Pen{Gray, 1, PenStyle::Dotted});
        }
}

void TWPRTFTextPaint::paintLine(Canvas& canvas, const LaidLine& laid, int dx, int dy)
{
    const TTextLine& line = *laid.line;
    const int n = line.length();
    if (n == 0)
        return;
    const LinePlaces places = this->places(laid);
    const std::vector<int>& adv = places.advances;
    const std::string_view lineText = line.view();
    const auto& colors = document_.header().colors;
    const TAttr plain = measurer_.plainAttr();
    const int baseline = line.top + line.ascent + dy;
    std::string text;
    // Runs of one format and one direction, each in one place on the line.
    for (int i = 0; i < n;) {
        const TAttr& attr = line.hasAttributes() ? line.attrs()[i] : plain;
        int j = i + 1;
        if (line.hasAttributes())
            while (j < n && line.attrs()[j].sameRun(attr))
                ++j;
        else
            j = n;
        if (!places.levels.empty())
            for (int k = i + 1; k < j; ++k)
                if (places.levels[std::size_t(k)] != places.levels[std::size_t(i)]) {
                    j = k;
                    break;
                }
        int runWidth = 0;
        for (int k = i; k < j; ++k)
            runWidth += adv[std::size_t(k)];
        if (measurer_.invisible(attr)) {
            i = j;
            continue;
        }
        const bool reversed = places.rightToLeft(i);
        const int x = (reversed ? places.left[std::size_t(j - 1)] : places.left[std::size_t(i)]) + dx;
        const TCharacterAttr* display = DisplayAttrFor(document_, attr);
        const std::uint8_t style = EffectiveStyle(attr, display);
        if (display && display->useBackColor)
            canvas.fillRect({x, line.top + dy, runWidth, line.height}, fromRgb(display->backColor));
        else if (attr.backColor() != 0) // index 0 is "no background", not the table's black
            canvas.fillRect({x, line.top + dy, runWidth, line.height}, colors[std::size_t(attr.backColor())]);

        const RGBColor color = display && display->useTextColor ? fromRgb(display->textColor)
                                                                 : colors[std::size_t(attr.textColor())];
        const int fullHeight = attr.height ? attr.height : line.height;
        const int fullAscent = attr.ascent ? attr.ascent : line.ascent;
        int shift = 0;
        if (style & AttrStyle::Superscript)
            shift = -fullAscent / 3;
        else if (style & AttrStyle::Subscript)
            shift = fullAscent / 4;

        text.assign(line.text() + i, std::size_t(j - i));
        bool ascii = true;
        for (int k = i; k < j; ++k) {
            char& c = text[std::size_t(k - i)];
            const auto code = static_cast<unsigned char>(c);
            ascii = ascii && code < 0x80;
            if (code == CharCode::Tab || code == CharCode::SoftBreak)
                c = ' ';
            if ((code == CharCode::Object || code == CharCode::ObjectSecond) && line.hasAttributes()) {
                c = ' ';
                const TAttr& a = line.attrs()[k];
                const Rect box{places.left[std::size_t(k)] + dx, baseline - a.ascent, adv[std::size_t(k)], a.ascent};
                const TTextObject* object = a.hasFlag(AttrFlag::Object) ? document_.findObject(a.tag) : nullptr;
                if (object && object->graphic)
                    canvas.drawPicture(*object->graphic, box);
                else
                    canvas.frameRect(box, Pen{Gray, 1, PenStyle::Solid});
            }
        }
        bool selected = false;
        const auto draw = [&](int from, int to) {
            const std::string_view piece = std::string_view(text).substr(std::size_t(from - i), std::size_t(to - from));
            if (piece.find_first_not_of(' ') == std::string_view::npos)
                return;
            if (!selected) {
                canvas.selectFont(measurer_.fontFor(attr));
                selected = true;
            }
            canvas.drawText(places.left[std::size_t(from)] + dx, baseline + shift, piece,
                            std::span<const int>(adv.data() + from, std::size_t(to - from)), color);
        };
        if (ascii && !reversed) {
            draw(i, j);
        } else {
            // Stretches that are shaped are drawn as one string each; other clusters by
            // themselves, one after the other where the run goes left to right.
            for (int k = i; k < j;) {
                TextPiece piece = measurer_.pieceAt(lineText, std::size_t(k), std::size_t(j));
                const int end = int(piece.end);
                if (piece.shaped) {
                    if (!selected) {
                        canvas.selectFont(measurer_.fontFor(attr));
                        selected = true;
                    }
                    const int left = reversed ? places.left[std::size_t(end - 1)] : places.left[std::size_t(k)];
                    canvas.drawShapedText(left + dx, baseline + shift,
                                          std::string_view(text).substr(std::size_t(k - i), std::size_t(end - k)),
                                          reversed, color);
                    k = end;
                    continue;
                }
                int to = end;
                while (!reversed && to < j && !(piece = measurer_.pieceAt(lineText, std::size_t(to), std::size_t(j))).shaped)
                    to = int(piece.end);
                draw(k, to);
                k = to;
            }
        }
        // Lines under and through the run, trailing blanks left out.
        int blanks = 0;
        for (int k = j - 1; k >= i && line.code(k) == ' '; --k)
            blanks += adv[std::size_t(k)];
        const int drawn = runWidth - blanks;
        const int from = reversed ? x + blanks : x;
        const int thickness = std::max(1, fullHeight / 20);
        if ((style & AttrStyle::Underline) && drawn > 0) {
            const RGBColor under = display && display->useUnderlineColor ? fromRgb(display->underlineColor) : color;
            const int y = baseline + shift + std::max(1, (fullHeight - fullAscent) / 3);
            canvas.drawLine(from, y, from + drawn, y, Pen{under, thickness, PenStyle::Solid});
        }
        if ((style & AttrStyle::StrikeOut) && drawn > 0) {
            const int y = baseline + shift - fullAscent / 3;
            canvas.drawLine(from, y, from + drawn, y, Pen{color, thickness, PenStyle::Solid});
        }
        i = j;
    }
}

void TWPRTFTextPaint::paintBox(Canvas& canvas, const LaidBox& box, int dx, int dy, bool frame)
{
    const TParagraph& p = *box.style;
    const auto& colors = document_.header().colors;
    const Rect r{box.rect.left + dx, box.rect.top + dy, box.rect.width, box.rect.height};
    if (!frame) {
        if (p.shadingPercent > 0 || p.backgroundColor() != 0) {
            const RGBColor back = p.backgroundColor() != 0 ? colors[std::size_t(p.backgroundColor())] : White;
            canvas.fillShading(r, colors[std::size_t(p.patternColor())], back, p.shadingPercent);
        }
        return;
    }
    const BorderWord& b = p.border;
    if (!b.present()) {
        if (box.cell && paintGrayTable)
            canvas.frameRect(r, Pen{Gray, 1, PenStyle::Dotted});
        return;
    }
    Pen pen{colors[std::size_t(b.colorIndex())], std::max(1, b.width * document_.header().resolutionX / 72),
            PenStyle::Solid};
    if (b.extra & BorderExtra::Dotted)
        pen.style = PenStyle::Dotted;
    if (b.extra & BorderExtra::Hairline) {
        pen.style = PenStyle::Hairline;
        pen.width = 1;
    }
    const bool all = b.flags & BorderFlag::Box;
    const int rounds = (b.flags & BorderFlag::Double) ? 2 : 1;
    for (int round = 0; round < rounds; ++round) {
        const int inset = round * (pen.width + 1);
        const int left = r.left + inset, top = r.top + inset;
        const int right = r.right() - 1 - inset, bottom = r.bottom() - 1 - inset;
        if (all || (b.flags & BorderFlag::Top))
            canvas.drawLine(left, top, right, top, pen);
        if (all || (b.flags & BorderFlag::Bottom))
            canvas.drawLine(left, bottom, right, bottom, pen);
        if (all || (b.flags & BorderFlag::Left))
            canvas.drawLine(left, top, left, bottom, pen);
        if (all || (b.flags & BorderFlag::Right))
            canvas.drawLine(right, top, right, bottom, pen);
    }
}

void TWPRTFTextPaint::paintSelection(Canvas& canvas, const LaidLine& laid, int dx, int dy)
{
    TextPosition a = document_.selection.blockStart;
    TextPosition b = document_.selection.blockEnd;
    if (b < a)
        std::swap(a, b);
    if (a == b)
        return;
    const auto here = key(laid.paragraphIndex, laid.segment);
    if (here < key(a.paragraph, a.segment) || here > key(b.paragraph, b.segment))
        return;
    const int n = laid.line->length();
    const int from = here == key(a.paragraph, a.segment) ? std::clamp(a.index, 0, n) : 0;
    const bool continues = here != key(b.paragraph, b.segment);
    const int to = continues ? n : std::clamp(b.index, 0, n);
    const LinePlaces places = this->places(laid);
    const std::vector<int>& adv = places.advances;
    // The selected clusters' places, joined where they touch: in a line that mixes directions a
    // selection may show as several pieces.
    std::vector<std::pair<int, int>> spans;
    for (int i = from; i < to; ++i)
        if (adv[std::size_t(i)] > 0)
            spans.emplace_back(places.left[std::size_t(i)], places.left[std::size_t(i)] + adv[std::size_t(i)]);
    if (spans.empty()) {
        const int at = from < n ? places.left[std::size_t(from)] : caretX(laid, n);
        spans.emplace_back(at, at);
    }
    std::sort(spans.begin(), spans.end());
    std::vector<std::pair<int, int>> joined{spans.front()};
    for (std::size_t k = 1; k < spans.size(); ++k) {
        if (spans[k].first <= joined.back().second)
            joined.back().second = std::max(joined.back().second, spans[k].second);
        else
            joined.push_back(spans[k]);
    }
    // A selection that goes on past the line's end shows it with a little extra.
    if (continues && laid.lastOfParagraph) {
        if (laid.rightToLeft)
            joined.front().first -= 4;
        else
            joined.back().second += 4;
    }
    for (const auto& [x1, x2] : joined)
        if (x2 > x1)
            canvas.invertRect({x1 + dx, laid.line->top + dy, x2 - x1, laid.line->height});
}

} // namespace quillory
