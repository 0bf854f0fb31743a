// The entry's text for screen readers and its offsets against document positions.
#include "richtext/qt/AccessibleText.h"

#include "platform/Utf8.h"
#include "richtext/model/Attr.h"
#include "richtext/model/Document.h"

#include <algorithm>

namespace quillory {

namespace {

constexpr char16_t kObjectReplacement = 0xFFFC;

} // namespace

AccessibleTextMap::AccessibleTextMap(const TWPRTFText& document)
{
    long position = 0;
    int paragraphIndex = 0;
    const auto add = [this](char16_t unit, long at, Place place) {
        text_.append(QChar(unit));
        positions_.push_back(at);
        places_.push_back(place);
    };
    for (const TParagraph* paragraph = document.firstParagraph(); paragraph;
         paragraph = paragraph->next(), ++paragraphIndex) {
        int segment = 0;
        for (const TTextLine* line = paragraph->firstLine(); line; line = line->next(), ++segment) {
            segmentStarts_.push_back(int(text_.size()));
            const std::string_view bytes = line->view();
            std::size_t at = 0;
            while (at < bytes.size()) {
                int length = 1;
                const char32_t c = DecodeUtf8At(bytes, at, length);
                const long here = position + long(at);
                const Place place{paragraphIndex, segment, int(at)};
                if (c == CharCode::Object || c == CharCode::ObjectSecond || c == CharCode::Reserved)
                    add(kObjectReplacement, here, place);
                else if (c == CharCode::SoftBreak)
                    add(u'\n', here, place);
                else if (c >= 0x10000) {
                    add(HighSurrogate(c), here, place);
                    add(LowSurrogate(c), here, place);
                } else
                    add(char16_t(c), here, place);
                at += std::size_t(std::max(length, 1));
            }
            position += line->length();
        }
        if (paragraph->next()) {
            add(u'\n', position, Place{paragraphIndex, segment, -1});
            ++position;
        }
    }
    positions_.push_back(position);
    if (segmentStarts_.empty())
        segmentStarts_.push_back(0);
}

TextChange DiffTexts(const QString& before, const QString& after)
{
    const qsizetype most = std::min(before.size(), after.size());
    qsizetype head = 0;
    while (head < most && before[head] == after[head])
        ++head;
    // A surrogate pair is told whole: neither end of the change falls between its halves.
    if (head > 0 && before[head - 1].isHighSurrogate())
        --head;
    qsizetype tail = 0;
    while (tail < most - head && before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    if (tail > 0 && after[after.size() - tail].isLowSurrogate())
        --tail;
    return {int(head), before.mid(head, before.size() - head - tail), after.mid(head, after.size() - head - tail)};
}

long AccessibleTextMap::positionOf(int offset) const noexcept
{
    return positions_[std::size_t(std::clamp(offset, 0, int(text_.size())))];
}

int AccessibleTextMap::offsetOf(long position) const noexcept
{
    const auto found = std::lower_bound(positions_.begin(), positions_.end(), position);
    if (found == positions_.end())
        return int(text_.size());
    return int(found - positions_.begin());
}

bool AccessibleTextMap::placeOf(int offset, Place& place) const noexcept
{
    if (offset < 0 || offset >= int(places_.size()) || places_[std::size_t(offset)].index < 0)
        return false;
    place = places_[std::size_t(offset)];
    return true;
}

} // namespace quillory
