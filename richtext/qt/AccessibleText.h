// The entry as assistive technology reads it: the document's text as one string (paragraph ends
// and line breaks as '\n', pictures as U+FFFC) and the map between offsets into that string
// (UTF-16 units, as Qt's accessibility interfaces count) and the document's absolute positions.
#pragma once

#include <QString>

#include <vector>

namespace quillory {

class TWPRTFText;

// The one stretch in which two texts differ, as screen readers are told of an edit: where it
// starts, what went and what came (typing: nothing went; Backspace: nothing came).
struct TextChange {
    int position = 0;
    QString removed;
    QString inserted;
    friend bool operator==(const TextChange&, const TextChange&) = default;
};
TextChange DiffTexts(const QString& before, const QString& after);

class AccessibleTextMap {
public:
    explicit AccessibleTextMap(const TWPRTFText& document);

    const QString& text() const noexcept { return text_; }
    // The absolute document position of an offset (clamped to 0..text().size()).
    long positionOf(int offset) const noexcept;
    // The offset of an absolute position; a position inside a character gives the next one.
    int offsetOf(long position) const noexcept;
    // Where each segment of a paragraph starts (the lines the layout broke it into), ascending.
    const std::vector<int>& segmentStarts() const noexcept { return segmentStarts_; }
    // The absolute position of the first byte of the character at an offset, and that byte's
    // place as (paragraph, segment, byte index); false past the end or at a paragraph end.
    struct Place {
        int paragraph = 0;
        int segment = 0;
        int index = 0;
    };
    bool placeOf(int offset, Place& place) const noexcept;

private:
    QString text_;
    std::vector<long> positions_;  // per offset, and one more for the end
    std::vector<Place> places_;    // per offset; paragraph ends have index -1
    std::vector<int> segmentStarts_;
};

} // namespace quillory
