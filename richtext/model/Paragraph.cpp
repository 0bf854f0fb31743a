// Line segment buffers and paragraph chains.
#include "richtext/model/Paragraph.h"

#include "platform/Error.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace quillory {

namespace {

constexpr const char* LineTooLong = "Line longer then\t10000 character!";

// sameRecord() with one test instead of one per field: neighbouring runs of a read document
// differ now in one field and now in another, which a test per field mispredicts.
bool equalRecords(const TAttr& a, const TAttr& b) noexcept
{
    return ((a.width ^ b.width) | (a.height ^ b.height) | (a.ascent ^ b.ascent) | (a.font ^ b.font)
            | (a.color ^ b.color) | (a.style ^ b.style) | (a.flags ^ b.flags) | (a.size ^ b.size)
            | (a.tag ^ b.tag)) == 0;
}

int checkedCapacity(int capacity)
{
    if (capacity > MaxLineCapacity)
        throw Error(LineTooLong);
    capacity = std::max(capacity, MinLineCapacity);
    return (capacity + 1) & ~1;
}

// Records [from, to) given to a list of runs that ends at `from`, as reading and typing append:
// the last run grows, or a new one follows it. False when the runs end elsewhere. The new run
// is made before the list grows, so `given` may be one of the list's own records.
bool appendToRuns(TAttrRunList& runs, int from, int to, const TAttr& given)
{
    const std::size_t count = runs.size();
    if (from != (count ? runs[count - 1].end : 0))
        return false;
    if (count && equalRecords(runs[count - 1].attr, given))
        runs[count - 1].end = std::uint16_t(to);
    else
        runs.push_back({std::uint16_t(to), given});
    return true;
}

// Copies `count` bytes. Most runs of text a reader appends are a few bytes long, where a call
// of memcpy costs more than the copy: up to sixteen bytes are moved as two loads and two stores
// of fixed size, which may overlap.
void copyChars(char* to, const char* from, std::size_t count) noexcept
{
    if (count >= 8 && count <= 16) {
        std::uint64_t head = 0, tail = 0;
        std::memcpy(&head, from, 8);
        std::memcpy(&tail, from + count - 8, 8);
        std::memcpy(to, &head, 8);
        std::memcpy(to + count - 8, &tail, 8);
    } else if (count >= 4 && count < 8) {
        std::uint32_t head = 0, tail = 0;
        std::memcpy(&head, from, 4);
        std::memcpy(&tail, from + count - 4, 4);
        std::memcpy(to, &head, 4);
        std::memcpy(to + count - 4, &tail, 4);
    } else if (count < 4) {
        for (std::size_t i = 0; i < count; ++i)
            to[i] = from[i];
    } else {
        std::memcpy(to, from, count);
    }
}

} // namespace

TTextLine::TTextLine(int capacity, bool withAttributes)
{
    capacity = checkedCapacity(capacity);
    if (capacity > InlineCapacity)
        std::construct_at(&text_.heap, std::make_unique<char[]>(std::size_t(capacity)));
    if (withAttributes)
        attrMode_ = AttrMode::Runs;
    capacity_ = std::uint16_t(capacity);
}

TTextLine::~TTextLine()
{
    if (onHeap())
        std::destroy_at(&text_.heap);
    if (attrMode_ == AttrMode::Array)
        std::destroy_at(&attrs_.array);
    else
        std::destroy_at(&attrs_.runs);
}

void TTextLine::adoptArray(std::unique_ptr<TAttr[]> array) const noexcept
{
    std::destroy_at(&attrs_.runs);
    std::construct_at(&attrs_.array, std::move(array));
    attrMode_ = AttrMode::Array;
}

const TAttr* TTextLine::attrs() const
{
    if (attrMode_ == AttrMode::Runs) {
        auto array = std::make_unique<TAttr[]>(capacity_);
        int from = 0;
        for (const TAttrRun& run : attrs_.runs) {
            std::fill(array.get() + from, array.get() + run.end, run.attr);
            from = run.end;
        }
        adoptArray(std::move(array));
    }
    return attrMode_ == AttrMode::Array ? attrs_.array.get() : nullptr;
}

const TAttr& TTextLine::attrAt(int index) const noexcept
{
    static const TAttr none{};
    if (attrMode_ == AttrMode::Array)
        return attrs_.array[index];
    if (attrMode_ == AttrMode::None)
        return none;
    // Runs are few: the first whose end lies beyond the index.
    const auto run = std::upper_bound(attrs_.runs.begin(), attrs_.runs.end(), index,
                                      [](int at, const TAttrRun& r) { return at < r.end; });
    return run == attrs_.runs.end() ? none : run->attr;
}

int TTextLine::attrRunEnd(int index, int limit) const noexcept
{
    if (attrMode_ != AttrMode::Runs)
        return attrMode_ == AttrMode::None ? limit : std::min(index + 1, limit);
    const auto run = std::upper_bound(attrs_.runs.begin(), attrs_.runs.end(), index,
                                      [](int at, const TAttrRun& r) { return at < r.end; });
    return run == attrs_.runs.end() ? limit : std::min<int>(run->end, limit);
}

void TTextLine::fillAttrs(int from, int to, const TAttr& given)
{
    if (attrMode_ == AttrMode::Runs && from >= 0 && from < to && to <= capacity_) {
        // The common case first (the general path below gives the same runs).
        if (appendToRuns(attrs_.runs, from, to, given))
            return;
    }
    const TAttr attr = given; // it may be one of this segment's own records
    from = std::max(from, 0);
    to = std::min(to, int(capacity_));
    if (from >= to || attrMode_ == AttrMode::None)
        return;
    if (attrMode_ == AttrMode::Array) {
        std::fill(attrs_.array.get() + from, attrs_.array.get() + to, attr);
        return;
    }
    const int covered = attrs_.runs.empty() ? 0 : attrs_.runs.back().end;
    if (from >= covered) {
        // Appending, the common case: a gap keeps default records, as an array's would.
        if (from > covered) {
            if (!attrs_.runs.empty() && sameRecord(attrs_.runs.back().attr, TAttr{}))
                attrs_.runs.back().end = std::uint16_t(from);
            else
                attrs_.runs.push_back({std::uint16_t(from), TAttr{}});
        }
        if (!attrs_.runs.empty() && sameRecord(attrs_.runs.back().attr, attr))
            attrs_.runs.back().end = std::uint16_t(to);
        else
            attrs_.runs.push_back({std::uint16_t(to), attr});
        return;
    }
    // Anywhere else: the runs before `from`, the new one, the runs after `to`, equal
    // neighbours joined.
    std::vector<TAttrRun> result;
    result.reserve(attrs_.runs.size() + 2);
    auto add = [&result](int end, const TAttr& record) {
        if (!result.empty() && sameRecord(result.back().attr, record))
            result.back().end = std::uint16_t(end);
        else
            result.push_back({std::uint16_t(end), record});
    };
    int start = 0;
    bool placed = false; // from < covered: some run reaches past `from`
    for (const TAttrRun& run : attrs_.runs) {
        if (run.end <= from) {
            add(run.end, run.attr);
        } else {
            if (start < from)
                add(from, run.attr);
            if (!placed) {
                add(to, attr);
                placed = true;
            }
            if (run.end > to)
                add(run.end, run.attr);
        }
        start = run.end;
    }
    attrs_.runs.assign(result.data(), result.data() + result.size());
}

void TTextLine::copyAttrs(const TTextLine& source, int sourceFrom, int count, int at)
{
    if (attrMode_ == AttrMode::None || !source.hasAttributes())
        return;
    int done = 0;
    while (done < count) {
        const int end = source.attrRunEnd(sourceFrom + done, sourceFrom + count);
        fillAttrs(at + done, at + end - sourceFrom, source.attrAt(sourceFrom + done));
        done = end - sourceFrom;
    }
}

void TTextLine::appendRun(const char* chars, int count, const TAttr& attr)
{
    count = std::min(count, room()); // never past the capacity, whatever the caller says
    if (count <= 0)
        return;
    const int at = length_;
    // The records first: if they throw, the text is as it was.
    if (attrMode_ != AttrMode::Runs || !appendToRuns(attrs_.runs, at, at + count, attr))
        fillAttrs(at, at + count, attr);
    char* const buffer = text();
    copyChars(buffer + at, chars, std::size_t(count));
    length_ = std::uint16_t(at + count);
    buffer[length_] = 0;
}

void TTextLine::setLength(int length) noexcept
{
    length = std::clamp(length, 0, capacity_ - 1);
    length_ = std::uint16_t(length);
    text()[length] = 0;
}

bool TTextLine::append(char c, const TAttr& attr) noexcept
{
    if (length_ >= capacity_ - 1)
        return false;
    char* chars = text();
    chars[length_] = c;
    if (attrMode_ == AttrMode::Array)
        attrs_.array[length_] = attr;
    else if (attrMode_ == AttrMode::Runs) {
        try {
            fillAttrs(length_, length_ + 1, attr);
        } catch (...) {
            return false; // no memory for one more run: the character is not taken
        }
    }
    ++length_;
    chars[length_] = 0;
    return true;
}

void TTextLine::resize(int capacity)
{
    capacity = checkedCapacity(capacity);
    // The zero byte after the text needs a place too, so a length equal to the capacity is cut.
    const int kept = std::min<int>(length_, capacity - 1);
    std::unique_ptr<char[]> heap;
    char chars[InlineCapacity] = {}; // as a new buffer: zero after the kept characters
    if (capacity > InlineCapacity) {
        heap = std::make_unique<char[]>(std::size_t(capacity));
        std::memcpy(heap.get(), text(), std::size_t(kept));
    } else {
        std::memcpy(chars, text(), std::size_t(kept));
    }
    if (attrMode_ == AttrMode::Array) {
        auto attrs = std::make_unique<TAttr[]>(std::size_t(capacity));
        std::copy_n(attrs_.array.get(), kept, attrs.get());
        attrs_.array = std::move(attrs);
    } else if (attrMode_ == AttrMode::Runs) {
        // Only the kept records move; the rest of the new array is default records.
        while (!attrs_.runs.empty() && (attrs_.runs.size() > 1 ? attrs_.runs[attrs_.runs.size() - 2].end : 0) >= kept)
            attrs_.runs.pop_back();
        if (!attrs_.runs.empty())
            attrs_.runs.back().end = std::uint16_t(std::min<int>(attrs_.runs.back().end, kept));
        if (!attrs_.runs.empty() && attrs_.runs.back().end == 0)
            attrs_.runs.pop_back();
        attrs_.runs.shrink();
    }
    // Nothing throws from here on: the characters move to their new store.
    if (onHeap())
        std::destroy_at(&text_.heap);
    if (capacity > InlineCapacity)
        std::construct_at(&text_.heap, std::move(heap));
    else
        std::memcpy(text_.inline_, chars, sizeof chars);
    capacity_ = std::uint16_t(capacity);
    setLength(kept);
}

void TTextLine::dropAttributes() noexcept
{
    if (attrMode_ == AttrMode::Array) {
        std::destroy_at(&attrs_.array);
        std::construct_at(&attrs_.runs);
    }
    attrs_.runs.clear();
    attrMode_ = AttrMode::None;
}

void TTextLine::addAttributes(const TAttr& fill)
{
    if (attrMode_ != AttrMode::None)
        return;
    attrs_.runs.clear();
    attrs_.runs.push_back(TAttrRun{capacity_, fill});
    attrMode_ = AttrMode::Runs;
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
