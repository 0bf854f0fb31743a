// Paragraph records (TParagraph) and their line segments (TTextLine) with the property bits.
#pragma once

#include "richtext/model/Attr.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <algorithm>
#include <utility>

namespace quillory {

enum class Alignment : std::uint8_t { Left = 0, Right = 1, Center = 2, Justified = 3 };

// Bits of TParagraph::flags.
namespace ParFlag {
inline constexpr std::uint8_t PageBreakBefore = 0x01;
inline constexpr std::uint8_t CellNotFirst = 0x02;    // a table cell that is not the first of its row
inline constexpr std::uint8_t MoreCellsFollow = 0x04; // more cells of the same row follow
inline constexpr std::uint8_t TableCell = 0x08;
inline constexpr std::uint8_t FromHtml = 0x20;
inline constexpr std::uint8_t KeepWithNext = 0x80;
} // namespace ParFlag

// Bits of TParagraph::layoutFlags.
namespace LayoutFlag {
inline constexpr std::uint8_t Reformat = 0x01;
inline constexpr std::uint8_t ReformatAll = 0x02;
inline constexpr std::uint8_t NeedsReformat = Reformat | ReformatAll;
} // namespace LayoutFlag

// Bits of BorderWord::flags.
namespace BorderFlag {
inline constexpr std::uint8_t Present = 0x01;
inline constexpr std::uint8_t RunEnds = 0x02; // the border run ends with this paragraph
inline constexpr std::uint8_t Top = 0x04;
inline constexpr std::uint8_t Bottom = 0x08;
inline constexpr std::uint8_t Left = 0x10;
inline constexpr std::uint8_t Right = 0x20;
inline constexpr std::uint8_t Box = 0x40; // all four sides
inline constexpr std::uint8_t Double = 0x80;
} // namespace BorderFlag

// Bits of BorderWord::extra.
namespace BorderExtra {
inline constexpr std::uint8_t Dotted = 0x01;
inline constexpr std::uint8_t Hairline = 0x02;
inline constexpr std::uint8_t Bar = 0x04;
inline constexpr std::uint8_t TabLine = 0x40;
} // namespace BorderExtra

// The border fields of a paragraph, handled as one word.
struct BorderWord {
    std::uint8_t flags = 0;        // BorderFlag bits
    std::uint8_t extra = 0;        // BorderExtra bits
    std::uint8_t width = 0;        // points
    std::uint8_t spacingColor = 0; // high nibble spacing in millimetre steps (cells: padding), low nibble colour
    std::uint8_t kept[2] = {0, 0}; // carried along when paragraphs are split

    int spacingSteps() const noexcept { return spacingColor >> 4; }
    int colorIndex() const noexcept { return spacingColor & 0x0F; }
    bool present() const noexcept { return (flags & BorderFlag::Present) != 0; }
    friend bool operator==(const BorderWord&, const BorderWord&) = default;
};

inline constexpr int MaxLineCapacity = 10000;
inline constexpr int MinLineCapacity = 8;

// One stretch of equal attribute records in a segment: it reaches up to (not including) `end`.
struct TAttrRun {
    std::uint16_t end = 0;
    TAttr attr;
};

// All fields equal, the layout fields too: records that may share one run.
inline bool sameRecord(const TAttr& a, const TAttr& b) noexcept
{
    return a == b && a.width == b.width && a.height == b.height && a.ascent == b.ascent;
}

// The runs of one segment: the first held inside the segment, more on the heap. Most segments
// of a read document have a single run (an empty paragraph always), which so costs nothing.
// The list is one run and one pointer: inside, a run's end is never 0, so an end of 0 marks the
// empty list; on the heap, the block's first element is a header holding the count (its end)
// and the room (its tag), and the runs follow it.
class TAttrRunList {
public:
    TAttrRunList() = default;
    TAttrRunList(const TAttrRunList&) = delete;
    TAttrRunList& operator=(const TAttrRunList&) = delete;

    std::size_t size() const noexcept { return heap_ ? heap_[0].end : (inline_.end ? 1 : 0); }
    bool empty() const noexcept { return size() == 0; }
    TAttrRun* begin() noexcept { return data(); }
    TAttrRun* end() noexcept { return data() + size(); }
    const TAttrRun* begin() const noexcept { return data(); }
    const TAttrRun* end() const noexcept { return data() + size(); }
    TAttrRun& operator[](std::size_t i) noexcept { return data()[i]; }
    const TAttrRun& operator[](std::size_t i) const noexcept { return data()[i]; }
    TAttrRun& back() noexcept { return data()[size() - 1]; }
    const TAttrRun& back() const noexcept { return data()[size() - 1]; }

    void push_back(const TAttrRun& run)
    {
        const std::size_t count = size();
        if (count == room())
            moveToHeap(std::min<std::size_t>(room() * 2, 0xFFFF));
        data()[count] = run;
        setSize(count + 1);
    }
    void pop_back() noexcept
    {
        const std::size_t count = size();
        if (!heap_)
            inline_ = TAttrRun{};
        setSize(count - 1);
    }
    void assign(const TAttrRun* first, const TAttrRun* last)
    {
        const std::size_t count = std::size_t(last - first);
        if (count > 1) {
            auto heap = allocate(count);
            std::copy(first, last, heap.get() + 1);
            heap[0].end = std::uint16_t(count);
            heap_ = std::move(heap);
            return;
        }
        clear();
        if (count == 1)
            push_back(*first);
    }
    void clear() noexcept
    {
        heap_.reset();
        inline_ = TAttrRun{};
    }
    // Gives back heap room the runs no longer need.
    void shrink() noexcept
    {
        const std::size_t count = size();
        if (!heap_ || room() <= count + 4)
            return;
        if (count <= 1) {
            const TAttrRun first = count ? heap_[1] : TAttrRun{};
            clear();
            if (first.end)
                inline_ = first;
            return;
        }
        try {
            auto heap = allocate(count);
            std::copy(begin(), end(), heap.get() + 1);
            heap[0].end = std::uint16_t(count);
            heap_ = std::move(heap);
        } catch (...) {
            // keeping the larger block is fine
        }
    }

private:
    // A heap block with room for `room` runs after its header.
    static std::unique_ptr<TAttrRun[]> allocate(std::size_t room)
    {
        auto heap = std::make_unique<TAttrRun[]>(room + 1);
        heap[0].attr.tag = std::uint16_t(room);
        return heap;
    }
    void moveToHeap(std::size_t room)
    {
        const std::size_t count = size();
        auto heap = allocate(room);
        std::copy(begin(), end(), heap.get() + 1);
        heap[0].end = std::uint16_t(count);
        heap_ = std::move(heap);
        inline_ = TAttrRun{};
    }
    void setSize(std::size_t count) noexcept
    {
        if (heap_)
            heap_[0].end = std::uint16_t(count);
    }
    std::size_t room() const noexcept { return heap_ ? heap_[0].attr.tag : 1; }
    TAttrRun* data() noexcept { return heap_ ? heap_.get() + 1 : &inline_; }
    const TAttrRun* data() const noexcept { return heap_ ? heap_.get() + 1 : &inline_; }

    TAttrRun inline_; // end 0: no run
    std::unique_ptr<TAttrRun[]> heap_;
};

// One line segment: a character buffer and, in formatted documents, a parallel TAttr array.
// The buffer holds a zero byte after the last character, so the length stays below the capacity.
//
// The attribute array is held as runs of equal records until somebody asks for it as an array
// (attrs()): then it is built once, with exactly the records the runs describe, and kept. A
// document that is read and written, and never laid out or edited, so needs about one record
// per run instead of one per character. Positions the runs do not reach hold default records,
// as a freshly allocated array does.
class TTextLine {
public:
    // Throws Error("Line longer then\t10000 character!") above MaxLineCapacity.
    TTextLine(int capacity, bool withAttributes);
    ~TTextLine();
    TTextLine(const TTextLine&) = delete;
    TTextLine& operator=(const TTextLine&) = delete;

    // Layout values (pixels).
    std::uint16_t height = 0;
    std::uint16_t ascent = 0;
    std::int32_t top = 0;
    std::uint8_t flags = 0;       // 0x01 needs repainting, 0x02 starts a new page
    std::uint8_t repaintState = 0;
    std::uint16_t lineWidth = 0;
    std::uint16_t justifyExtra = 0;
    std::uint16_t justifyBlanks = 0;

    int capacity() const noexcept { return capacity_; }
    int length() const noexcept { return length_; }
    int room() const noexcept { return capacity_ - 1 - length_; }

    char* text() noexcept { return onHeap() ? text_.heap.get() : text_.inline_; }
    const char* text() const noexcept { return onHeap() ? text_.heap.get() : text_.inline_; }
    std::string_view view() const noexcept { return {text(), std::size_t(length_)}; }
    unsigned char code(int index) const noexcept { return static_cast<unsigned char>(text()[index]); }

    // The attribute array, capacity records; null when the document is in plain-text memory
    // format. Builds the array from the runs on first use (see above).
    const TAttr* attrs() const;
    TAttr* attrs() { return const_cast<TAttr*>(std::as_const(*this).attrs()); }
    bool hasAttributes() const noexcept { return attrMode_ != AttrMode::None; }

    // The record at a position below the capacity, without building the array.
    const TAttr& attrAt(int index) const noexcept;
    // The first position after `index` whose record may differ from the one at `index` (at
    // most `limit`): the end of its run, or index + 1 once the array is built.
    int attrRunEnd(int index, int limit) const noexcept;
    // Calls visit(from, to, record) for each stretch of equal stored records in [from, limit),
    // in order: one look-up for the first, then a walk along the runs.
    template <class Visit>
    void forEachAttrRun(int from, int limit, Visit&& visit) const
    {
        if (attrMode_ == AttrMode::Runs) {
            auto run = std::upper_bound(attrs_.runs.begin(), attrs_.runs.end(), from,
                                        [](int at, const TAttrRun& r) { return at < r.end; });
            for (; from < limit && run != attrs_.runs.end(); ++run) {
                const int to = std::min<int>(run->end, limit);
                visit(from, to, run->attr);
                from = to;
            }
        }
        while (from < limit) {
            const int to = attrRunEnd(from, limit);
            visit(from, to, attrAt(from));
            from = to;
        }
    }
    // Sets the records of positions [from, to) (within the capacity); nothing in plain text.
    void fillAttrs(int from, int to, const TAttr& attr);
    void setAttr(int index, const TAttr& attr) { fillAttrs(index, index + 1, attr); }
    // Copies `count` records of another segment, from `sourceFrom` on, to `at` on.
    void copyAttrs(const TTextLine& source, int sourceFrom, int count, int at);
    // Runs kept instead of an array (0 once the array is built): for tests and benchmarks.
    int attrRunCount() const noexcept { return attrMode_ == AttrMode::Runs ? int(attrs_.runs.size()) : 0; }

    // Sets the length (cut to capacity - 1) and writes the closing zero byte.
    void setLength(int length) noexcept;
    // Appends one character when there is room; false when the segment is full.
    bool append(char c, const TAttr& attr) noexcept;
    // Appends `count` characters of one record, as readers do: the same as copying them after
    // the text, fillAttrs() over them and setLength(), in one call. They must fit (at most
    // room() of them); when a new run cannot be allocated nothing is appended and it throws.
    void appendRun(const char* chars, int count, const TAttr& attr);
    // New capacity: at least MinLineCapacity, rounded up to even, at most MaxLineCapacity (else
    // throws). A length that no longer fits is cut to capacity - 1.
    void resize(int capacity);
    void dropAttributes() noexcept;
    void addAttributes(const TAttr& fill);

    TTextLine* next() const noexcept { return next_; }
    TTextLine* prev() const noexcept { return prev_; }

private:
    friend class TParagraph;
    friend class TWPRTFText;

    enum class AttrMode : std::uint8_t { None, Runs, Array };
    // The smallest capacity, held inside the segment itself.
    static constexpr int InlineCapacity = MinLineCapacity;

    // A million empty paragraphs hold a million segments, so a segment keeps its storage in
    // two unions: the characters inside it or on the heap (chosen by the capacity), and the
    // attribute records as runs or as an array (chosen by attrMode_).
    union TextStore {
        TextStore() noexcept : inline_{} {}
        ~TextStore() {}
        std::unique_ptr<char[]> heap; // capacity_ > InlineCapacity
        char inline_[InlineCapacity];
    };
    union AttrStore {
        AttrStore() : runs() {}
        ~AttrStore() {}
        TAttrRunList runs;              // AttrMode::None (empty) and AttrMode::Runs
        std::unique_ptr<TAttr[]> array; // AttrMode::Array
    };
    bool onHeap() const noexcept { return capacity_ > InlineCapacity; }
    // Switches the record store from runs to the given array.
    void adoptArray(std::unique_ptr<TAttr[]> array) const noexcept;

    TextStore text_;
    std::uint16_t capacity_ = 0;
    std::uint16_t length_ = 0;
    // Building the array changes how the records are held, not what they are: also for a
    // const segment.
    mutable AttrMode attrMode_ = AttrMode::None;
    mutable AttrStore attrs_;
    TTextLine* next_ = nullptr; // segments are owned by their document's pool
    TTextLine* prev_ = nullptr;
};

// One paragraph; its segments are the visual lines once layout has broken it.
class TParagraph {
public:
    TParagraph() = default;
    TParagraph(const TParagraph&) = delete;
    TParagraph& operator=(const TParagraph&) = delete;

    std::int32_t firstIndent = 0; // absolute, twips from the left margin (RTF \fi = this - left)
    std::int32_t leftIndent = 0;
    std::int32_t rightIndent = 0;
    std::int32_t spaceBefore = 0; // in a table cell: the cell padding
    std::int32_t spaceAfter = 0;
    std::int32_t lineSpacing = 0; // 0 = single
    Alignment alignment = Alignment::Left;
    std::uint8_t flags = 0;       // ParFlag bits
    std::uint8_t layoutFlags = 0; // LayoutFlag bits
    BorderWord border;
    std::uint8_t shadingColors = 0;  // low nibble pattern colour, high nibble background colour
    std::uint8_t shadingPercent = 0; // 0-100
    std::uint8_t cellLeft = 0;       // table cell: left edge, 0-255 of the usable row width
    std::uint8_t cellWidth = 0;      // table cell: width, 0-255
    std::uint8_t cellFill = 0;       // kept by layout; typing is refused from 240 on
    std::uint64_t tabMask = 0;       // bit i: document tab stop i applies here

    bool hasFlag(std::uint8_t bit) const noexcept { return (flags & bit) != 0; }
    bool isTableCell() const noexcept { return hasFlag(ParFlag::TableCell); }
    int patternColor() const noexcept { return shadingColors & 0x0F; }
    int backgroundColor() const noexcept { return shadingColors >> 4; }

    TTextLine* firstLine() const noexcept { return firstLine_; }
    TTextLine* lastLine() const noexcept { return lastLine_; }
    int lineCount() const noexcept;
    int length() const noexcept; // characters of all segments
    std::string text() const;    // characters of all segments

    TParagraph* next() const noexcept { return next_; }
    TParagraph* prev() const noexcept { return prev_; }

    // Copies the property fields (not text, not links) from another paragraph.
    void copyPropertiesFrom(const TParagraph& other) noexcept;

private:
    friend class TWPRTFText;

    // Paragraphs and segments are owned by their document's pools, which free them; these
    // only link them.
    TTextLine* firstLine_ = nullptr;
    TTextLine* lastLine_ = nullptr; // kept by every change of the segment chain
    TParagraph* next_ = nullptr;
    TParagraph* prev_ = nullptr;
};

// Equality of the stored properties of two paragraphs (layout bookkeeping does not count).
bool sameProperties(const TParagraph& a, const TParagraph& b) noexcept;

} // namespace quillory
