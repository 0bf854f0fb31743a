// Character measuring with a cache of font metrics per font, size and style.
#include "richtext/layout/Measure.h"

#include "platform/UnicodeText.h"
#include "platform/Utf8.h"

#include <algorithm>

namespace quillory {

namespace {

constexpr std::uint8_t SupSub = AttrStyle::Superscript | AttrStyle::Subscript;

std::uint8_t applyThreeState(std::uint8_t style, TThreeState state, std::uint8_t bit) noexcept
{
    if (state == TThreeState::tsTRUE)
        return style | bit;
    if (state == TThreeState::tsFALSE)
        return style & ~bit;
    return style;
}

int reducedSize(int points) { return std::max(1, points * 2 / 3); }

namespace PropertyBits {
constexpr std::uint8_t Known = 0x01;
constexpr std::uint8_t Joins = 0x02;
constexpr std::uint8_t Ideograph = 0x04;
} // namespace PropertyBits

// Characters that may form one cluster with their neighbours, beyond those that need shaping:
// Hangul jamo (which compose syllables) and the halfwidth katakana sound marks.
bool composes(char32_t c) noexcept
{
    return (c >= 0x1100 && c <= 0x11FF) || (c >= 0xA960 && c <= 0xA97F) || (c >= 0xD7B0 && c <= 0xD7FF)
        || c == 0xFF9E || c == 0xFF9F;
}

void setMetric(TAttr& attr, const CharMetric& m) noexcept
{
    attr.width = std::uint16_t(std::min(m.width, 0xFFFF));
    attr.height = std::uint16_t(std::min(m.height, 0xFFFF));
    attr.ascent = std::uint16_t(std::min(m.ascent, 0xFFFF));
}

} // namespace

const TCharacterAttr* DisplayAttrFor(const TWPRTFText& document, const TAttr& attr) noexcept
{
    if (attr.hasFlag(AttrFlag::InsertPoint))
        return &document.insertPointAttr;
    if (attr.hasFlag(AttrFlag::Automatic))
        return &document.automaticTextAttr;
    if (attr.hasStyle(AttrStyle::Hyperlink))
        return &document.hyperlinkTextAttr;
    if (attr.hasFlag(AttrFlag::Protected))
        return &document.protectedTextAttr;
    return nullptr;
}

std::uint8_t EffectiveStyle(const TAttr& attr, const TCharacterAttr* display) noexcept
{
    std::uint8_t style = attr.style;
    if (!display)
        return style;
    style = applyThreeState(style, display->bold, AttrStyle::Bold);
    style = applyThreeState(style, display->italic, AttrStyle::Italic);
    style = applyThreeState(style, display->underline, AttrStyle::Underline);
    style = applyThreeState(style, display->strikeOut, AttrStyle::StrikeOut);
    style = applyThreeState(style, display->superScript, AttrStyle::Superscript);
    style = applyThreeState(style, display->subScript, AttrStyle::Subscript);
    return style;
}

void Measurer::setCanvas(Canvas* canvas)
{
    canvas_ = canvas;
    widthsByFont_.clear();
    forgetFonts();
}

bool Measurer::invisible(const TAttr& attr) const noexcept
{
    if (attr.hasFlag(AttrFlag::Hidden) && !visibility.showHiddenText)
        return true;
    if (attr.hasFlag(AttrFlag::InsertPoint) && visibility.omitInsertPoints)
        return true;
    if (attr.hasFlag(AttrFlag::Automatic) && visibility.omitAutomaticText)
        return true;
    const TCharacterAttr* display = DisplayAttrFor(document_, attr);
    return display && display->hidden;
}

FontRequest Measurer::fontFor(const TAttr& attr) const
{
    FontRequest request;
    const FontEntry* entry = document_.header().font(attr.font);
    if (!entry)
        entry = document_.header().font(0);
    request.name = entry && !entry->name.empty() ? entry->name : "Arial";
    request.symbol = entry && entry->charset == 2;
    const std::uint8_t style = EffectiveStyle(attr, DisplayAttrFor(document_, attr));
    request.bold = style & AttrStyle::Bold;
    request.italic = style & AttrStyle::Italic;
    request.pointSize = (style & SupSub) ? reducedSize(attr.pointSize()) : attr.pointSize();
    return request;
}

TAttr Measurer::plainAttr() const noexcept
{
    TAttr attr = document_.insertionAttr;
    attr.font = 0;
    attr.style = 0;
    attr.flags = 0;
    return attr;
}

Measurer::FontMetrics& Measurer::metricsFor(const TAttr& attr)
{
    const std::uint8_t style = EffectiveStyle(attr, DisplayAttrFor(document_, attr));
    const std::uint32_t key = std::uint32_t(attr.font) << 16 | std::uint32_t(attr.pointSize()) << 8
        | (style & (AttrStyle::Bold | AttrStyle::Italic | SupSub));
    if (key == lastKey_ && last_)
        return *last_;
    auto found = fonts_.find(key);
    if (found == fonts_.end()) {
        FontMetrics metrics;
        if (canvas_) {
            TAttr full = attr;
            full.style = style & ~SupSub;
            canvas_->selectFont(fontFor(full));
            metrics.height = canvas_->fontHeight();
            metrics.ascent = canvas_->fontAscent();
            if (style & SupSub)
                canvas_->selectFont(fontFor(attr));
            metrics.widths = canvas_->widths();
            for (auto& width : metrics.widths)
                width = std::max<std::uint16_t>(width, 1);
        }
        found = fonts_.emplace(key, std::move(metrics)).first;
    }
    lastKey_ = key;
    last_ = &found->second;
    return found->second;
}

const WidthTable& Measurer::widthsFor(const TAttr& attr) { return metricsFor(attr).widths; }

CharMetric Measurer::measure(unsigned char code, const TAttr& attr)
{
    if (invisible(attr))
        return {};
    const FontMetrics& font = metricsFor(attr);
    if (attr.hasFlag(AttrFlag::Object) && (code == CharCode::Object || code == CharCode::ObjectSecond)) {
        if (const TTextObject* object = document_.findObject(attr.tag)) {
            const int resX = canvas_ ? canvas_->resolutionX() : 96;
            const int resY = canvas_ ? canvas_->resolutionY() : 96;
            int width = object->width * resX / TwipsPerInch;
            int height = object->height * resY / TwipsPerInch;
            if ((width <= 0 || height <= 0) && object->graphic) {
                width = object->graphic->width;
                height = object->graphic->height;
            }
            width = std::clamp(width, 1, 0xFFFF);
            height = std::clamp(height, 1, 0x7FFF);
            // Standing on the baseline, the line grows by the font's descent below it.
            return {width, height + std::max(0, font.height - font.ascent), height};
        }
    }
    if (code == CharCode::SoftBreak)
        return {0, font.height, font.ascent};
    const int width = code == CharCode::Tab ? font.widths[' '] : font.widths[code];
    return {width, font.height, font.ascent};
}

std::uint8_t Measurer::properties(char32_t c)
{
    if (c < 0x80)
        return PropertyBits::Known;
    std::uint8_t& bits = properties_[c];
    if (!bits)
        bits = std::uint8_t(PropertyBits::Known | (NeedsShaping(c) || composes(c) ? PropertyBits::Joins : 0)
                            | (BreaksAroundIdeograph(c) ? PropertyBits::Ideograph : 0));
    return bits;
}

// True when the character at `at` (before `end`) joins the one before it or needs shaping.
bool Measurer::joins(std::string_view text, std::size_t at, std::size_t end)
{
    if (at >= end || static_cast<unsigned char>(text[at]) < 0x80)
        return false;
    return properties(DecodeUtf8At(text.substr(0, end), at)) & PropertyBits::Joins;
}

int Measurer::widthOf(char32_t c, FontMetrics& font, const TAttr& attr)
{
    if (!font.wide) {
        const FontRequest request = fontFor(attr);
        font.wide = &widthsByFont_[request.name + '\x01' + std::to_string(request.pointSize) + (request.bold ? "b" : "")
                                   + (request.italic ? "i" : "") + (request.symbol ? "s" : "")];
    }
    std::uint16_t& known = (*font.wide)[c];
    if (!known) {
        int width = 0;
        if (canvas_) {
            std::string utf8;
            AppendUtf8(utf8, c);
            canvas_->selectFont(fontFor(attr));
            width = std::max(1, canvas_->textWidth(utf8));
        }
        known = std::uint16_t(std::min(width, 0xFFFE) + 1);
    }
    return known - 1;
}

TextPiece Measurer::pieceAt(std::string_view text, std::size_t at, std::size_t end, std::vector<int>* ends)
{
    end = std::min(end, text.size());
    if (at >= end)
        return {end, false};
    const auto first = static_cast<unsigned char>(text[at]);
    // A character that joins neither the one before nor the one after it is a cluster by itself.
    std::size_t next = at + 1;
    bool single = true;
    if (first >= 0x80) {
        int length = 1;
        const char32_t c = DecodeUtf8At(text.substr(0, end), at, length);
        next = at + std::size_t(length);
        single = !(properties(c) & PropertyBits::Joins);
    }
    const std::string_view run = text.substr(0, end);
    // (A blank before Thai is followed by a character that needs shaping, yet stands alone.)
    if (single && (!joins(text, next, end) || NextGraphemeBoundary(run, at) == next))
        return {next, false};
    // A stretch: clusters that start with a character past ASCII, or with an ASCII character
    // that a mark joins, up to the end of the run.
    if (ends)
        ends->clear();
    std::size_t k = at;
    while (k < end) {
        if (k != at && static_cast<unsigned char>(text[k]) < 0x80
            && (!joins(text, k + 1, end) || NextGraphemeBoundary(run, k) == k + 1))
            break;
        k = std::max(k + 1, NextGraphemeBoundary(run, k));
        if (ends)
            ends->push_back(int(k - at));
    }
    return {k, true};
}

// Characters of one format from `from` on that are clusters by themselves (most text of most
// scripts), from the width table and the widths of code points kept per font. Returns where they
// end: at `from` when the first one joins another or is a control character.
std::size_t Measurer::measureSingles(std::string_view text, TAttr* attrs, std::size_t from,
                                     std::vector<std::uint8_t>& kinds)
{
    const std::size_t n = text.size();
    const auto decode = [&](std::size_t at, int& length) -> char32_t {
        const auto byte = static_cast<unsigned char>(text[at]);
        length = 1;
        return byte < 0x80 ? byte : DecodeUtf8At(text, at, length);
    };
    const TAttr& attr = attrs[from];
    const bool hidden = invisible(attr);
    FontMetrics& font = metricsFor(attr);
    const std::uint16_t height = std::uint16_t(hidden ? 0 : std::min(font.height, 0xFFFF));
    const std::uint16_t ascent = std::uint16_t(hidden ? 0 : std::min(font.ascent, 0xFFFF));
    std::size_t k = from;
    int length = 1;
    char32_t c = decode(k, length);
    std::uint8_t bits = properties(c);
    while (c >= 0x20 && !(bits & PropertyBits::Joins)) {
        const std::size_t next = k + std::size_t(length);
        int nextLength = 1;
        char32_t following = 0;
        std::uint8_t followingBits = PropertyBits::Known;
        if (next < n) {
            following = decode(next, nextLength);
            followingBits = properties(following);
            if ((followingBits & PropertyBits::Joins) && NextGraphemeBoundary(text, k) != next)
                break; // a mark on this character, or the start of a joined sequence
        }
        if (kinds.empty() && c >= 0x80)
            kinds.assign(n, ClusterKind::Start);
        TAttr& a = attrs[k];
        a.width = hidden ? 0 : c < 0x80 ? font.widths[c] : std::uint16_t(widthOf(c, font, attr));
        a.height = height;
        a.ascent = ascent;
        if (!kinds.empty())
            kinds[k] = std::uint8_t(ClusterKind::Start | (bits & PropertyBits::Ideograph ? ClusterKind::Ideograph : 0));
        for (std::size_t rest = k + 1; rest < next; ++rest) {
            attrs[rest].width = 0;
            attrs[rest].height = height;
            attrs[rest].ascent = ascent;
            kinds[rest] = 0;
        }
        k = next;
        if (k >= n || !attrs[k].sameRun(attr))
            break;
        c = following;
        length = nextLength;
        bits = followingBits;
    }
    return k;
}

void Measurer::measureText(std::string_view text, TAttr* attrs, std::vector<std::uint8_t>& kinds)
{
    kinds.clear();
    const std::size_t n = text.size();
    std::vector<int> ends, widths;
    std::size_t runEnd = 0; // the end of the run of one format that holds i, once asked for
    for (std::size_t i = 0; i < n;) {
        const auto code = static_cast<unsigned char>(text[i]);
        const auto asciiAt = [&](std::size_t k) { return k >= n || static_cast<unsigned char>(text[k]) < 0x80; };
        if (code >= 0x20 && code < 0x80 && asciiAt(i + 1)) {
            // Printable ASCII of one format, straight from the width table.
            const TAttr& attr = attrs[i];
            const bool hidden = invisible(attr);
            const FontMetrics& font = metricsFor(attr);
            std::size_t k = i;
            do {
                TAttr& a = attrs[k];
                a.width = hidden ? 0 : font.widths[static_cast<unsigned char>(text[k])];
                a.height = std::uint16_t(hidden ? 0 : std::min(font.height, 0xFFFF));
                a.ascent = std::uint16_t(hidden ? 0 : std::min(font.ascent, 0xFFFF));
                ++k;
            } while (k < n && static_cast<unsigned char>(text[k]) >= 0x20 && static_cast<unsigned char>(text[k]) < 0x80
                     && asciiAt(k + 1) && attrs[k].sameRun(attr));
            i = k;
            continue;
        }
        if (code < 0x80 && asciiAt(i + 1)) {
            setMetric(attrs[i], measure(code, attrs[i]));
            ++i;
            continue;
        }
        if (const std::size_t end = measureSingles(text, attrs, i, kinds); end > i) {
            i = end;
            continue;
        }
        if (kinds.empty())
            kinds.assign(n, ClusterKind::Start);
        const TAttr& attr = attrs[i];
        if (runEnd <= i) {
            runEnd = i + 1;
            while (runEnd < n && attrs[runEnd].sameRun(attr))
                ++runEnd;
        }
        const TextPiece piece = pieceAt(text, i, runEnd, &ends);
        if (!piece.shaped && code < 0x80) {
            setMetric(attrs[i], measure(code, attr));
            i = piece.end;
            continue;
        }
        const bool hidden = invisible(attr);
        FontMetrics& font = metricsFor(attr);
        const CharMetric full{0, font.height, font.ascent};
        auto markCluster = [&](std::size_t from, std::size_t to, int width) {
            int length = 1;
            const char32_t c = DecodeUtf8At(text.substr(0, to), from, length);
            kinds[from] = std::uint8_t(ClusterKind::Start | (properties(c) & PropertyBits::Ideograph ? ClusterKind::Ideograph : 0));
            setMetric(attrs[from], hidden ? CharMetric{} : CharMetric{width, full.height, full.ascent});
            for (std::size_t k = from + 1; k < to; ++k) {
                kinds[k] = 0;
                setMetric(attrs[k], hidden ? CharMetric{} : full);
            }
        };
        if (!piece.shaped) {
            markCluster(i, piece.end, hidden ? 0 : widthOf(DecodeUtf8At(text.substr(0, piece.end), i), font, attr));
        } else {
            widths.assign(ends.size(), 0);
            if (!hidden && canvas_) {
                canvas_->selectFont(fontFor(attr));
                canvas_->pieceWidths(text.substr(i, piece.end - i), ends, widths);
            }
            std::size_t from = i;
            for (std::size_t k = 0; k < ends.size(); ++k) {
                markCluster(from, i + std::size_t(ends[k]), std::max(0, widths[k]));
                from = i + std::size_t(ends[k]);
            }
        }
        i = piece.end;
    }
}

CharMetric Measurer::defaults()
{
    const FontMetrics& font = metricsFor(plainAttr());
    return {0, font.height, font.ascent};
}

} // namespace quillory
