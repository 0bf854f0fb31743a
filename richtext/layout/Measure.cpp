// Character measuring with a cache of font metrics per font, size and style.
#include "richtext/layout/Measure.h"

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

const Measurer::FontMetrics& Measurer::metricsFor(const TAttr& attr)
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
        found = fonts_.emplace(key, metrics).first;
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

CharMetric Measurer::defaults()
{
    const FontMetrics& font = metricsFor(plainAttr());
    return {0, font.height, font.ascent};
}

} // namespace quillory
