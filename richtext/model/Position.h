// Character positions in a document as (paragraph, segment, index) and the selection triples.
#pragma once

#include <compare>
#include <ostream>

namespace quillory {

// Paragraph and segment are counted from 0; index is the character offset in the segment.
struct TextPosition {
    int paragraph = 0;
    int segment = 0;
    int index = 0;
    friend auto operator<=>(const TextPosition&, const TextPosition&) = default;
    friend std::ostream& operator<<(std::ostream& out, const TextPosition& p)
    {
        return out << '(' << p.paragraph << ',' << p.segment << ',' << p.index << ')';
    }
};

struct TextRange {
    long start = 0;
    long length = 0;
    friend bool operator==(const TextRange&, const TextRange&) = default;
    friend std::ostream& operator<<(std::ostream& out, const TextRange& r)
    {
        return out << '[' << r.start << '+' << r.length << ']';
    }
};

// Block start and block end as the user made them; the end may lie before the start.
struct Selection {
    TextPosition blockStart;
    TextPosition blockEnd;
    bool endBeforeStart = false;
    friend bool operator==(const Selection&, const Selection&) = default;
};

} // namespace quillory
