// Line segment buffers and paragraph chains.
#include "richtext/model/Paragraph.h"

#include "platform/Error.h"

#include <algorithm>
#include <cstring>

namespace quillory {

namespace {

constexpr const char* LineTooLong = "Line longer then\t10000 character!";

int checkedCapacity(int capacity)
{
    if (capacity > MaxLineCapacity)
        throw Error(LineTooLong);
    capacity = std::max(capacity, MinLineCapacity);
    return (capacity + 1) & ~1;
}

} // namespace

TTextLine::TTextLine(int capacity, bool withAttributes)
{
    capacity = checkedCapacity(capacity);
    text_ = std::make_unique<char[]>(std::size_t(capacity));
    if (withAttributes)
        attrs_ = std::make_unique<TAttr[]>(std::size_t(capacity));
    capacity_ = std::uint16_t(capacity);
}

// Chains are freed one link at a time, so that a long chain never recurses.
TTextLine::~TTextLine()
{
    while (next_) {
        auto rest = std::move(next_->next_);
        next_ = std::move(rest);
    }
}

void TTextLine::setLength(int length) noexcept
{
    length = std::clamp(length, 0, capacity_ - 1);
    length_ = std::uint16_t(length);
    text_[length] = 0;
}

bool TTextLine::append(char c, const TAttr& attr) noexcept
{
    if (length_ >= capacity_ - 1)
        return false;
    text_[length_] = c;
    if (attrs_)
        attrs_[length_] = attr;
    ++length_;
    text_[length_] = 0;
    return true;
}

void TTextLine::resize(int capacity)
{
    capacity = checkedCapacity(capacity);
    // The zero byte after the text needs a place too, so a length equal to the capacity is cut.
    const int kept = std::min<int>(length_, capacity - 1);
    auto text = std::make_unique<char[]>(std::size_t(capacity));
    std::memcpy(text.get(), text_.get(), std::size_t(kept));
    if (attrs_) {
        auto attrs = std::make_unique<TAttr[]>(std::size_t(capacity));
        std::copy_n(attrs_.get(), kept, attrs.get());
        attrs_ = std::move(attrs);
    }
    text_ = std::move(text);
    capacity_ = std::uint16_t(capacity);
    setLength(kept);
}

void TTextLine::addAttributes(const TAttr& fill)
{
    if (attrs_)
        return;
    attrs_ = std::make_unique<TAttr[]>(capacity_);
    std::fill_n(attrs_.get(), capacity_, fill);
}

TParagraph::~TParagraph()
{
    firstLine_.reset();
    while (next_) {
        auto rest = std::move(next_->next_);
        next_ = std::move(rest);
    }
}

int TParagraph::lineCount() const noexcept
{
    int count = 0;
    for (auto* line = firstLine(); line; line = line->next())
        ++count;
    return count;
}

int TParagraph::length() const noexcept
{
    int count = 0;
    for (auto* line = firstLine(); line; line = line->next())
        count += line->length();
    return count;
}

std::string TParagraph::text() const
{
    std::string result;
    result.reserve(std::size_t(length()));
    for (auto* line = firstLine(); line; line = line->next())
        result.append(line->view());
    return result;
}

void TParagraph::copyPropertiesFrom(const TParagraph& other) noexcept
{
    firstIndent = other.firstIndent;
    leftIndent = other.leftIndent;
    rightIndent = other.rightIndent;
    spaceBefore = other.spaceBefore;
    spaceAfter = other.spaceAfter;
    lineSpacing = other.lineSpacing;
    alignment = other.alignment;
    flags = other.flags;
    layoutFlags = other.layoutFlags;
    border = other.border;
    shadingColors = other.shadingColors;
    shadingPercent = other.shadingPercent;
    tabMask = other.tabMask;
    cellLeft = other.cellLeft;
    cellWidth = other.cellWidth;
    cellFill = other.cellFill;
}

bool sameProperties(const TParagraph& a, const TParagraph& b) noexcept
{
    return a.firstIndent == b.firstIndent && a.leftIndent == b.leftIndent
        && a.rightIndent == b.rightIndent && a.spaceBefore == b.spaceBefore
        && a.spaceAfter == b.spaceAfter && a.lineSpacing == b.lineSpacing
        && a.alignment == b.alignment && a.flags == b.flags && a.border == b.border
        && a.shadingColors == b.shadingColors && a.shadingPercent == b.shadingPercent
        && a.tabMask == b.tabMask && a.cellLeft == b.cellLeft && a.cellWidth == b.cellWidth;
}

} // namespace quillory
