// The document's paragraph and segment operations, side lists and positions.
#include "richtext/model/Document.h"

#include "platform/Error.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace quillory {

TWPRTFText::TWPRTFText()
{
    appendParagraph(nullptr);
}

TWPRTFText::~TWPRTFText()
{
    destroyAllParagraphs();
}

void TWPRTFText::destroyParagraph(TParagraph* paragraph) noexcept
{
    TTextLine* line = paragraph->firstLine_;
    while (line) {
        TTextLine* next = line->next_;
        linePool_.destroy(line);
        line = next;
    }
    paragraphPool_.destroy(paragraph);
}

void TWPRTFText::destroyAllParagraphs() noexcept
{
    TParagraph* paragraph = first_;
    first_ = nullptr;
    while (paragraph) {
        TParagraph* next = paragraph->next_;
        destroyParagraph(paragraph);
        paragraph = next;
    }
    paragraphCount_ = 0;
    linePool_.releaseIfEmpty();
    paragraphPool_.releaseIfEmpty();
}

TParagraph* TWPRTFText::lastParagraph() const noexcept
{
    TParagraph* paragraph = first_;
    while (paragraph && paragraph->next())
        paragraph = paragraph->next();
    return paragraph;
}

TParagraph* TWPRTFText::paragraphAt(int index) const noexcept
{
    TParagraph* paragraph = first_;
    for (int i = 0; paragraph && i < index; ++i)
        paragraph = paragraph->next();
    return index < 0 ? nullptr : paragraph;
}

int TWPRTFText::paragraphCount() const noexcept
{
    return paragraphCount_;
}

TParagraph* TWPRTFText::appendParagraph(TParagraph* after)
{
    TParagraph* paragraph = nullptr;
    try {
        paragraph = paragraphPool_.create();
        try {
            paragraph->firstLine_ = linePool_.create(MinLineCapacity, !isPlainText());
        } catch (...) {
            paragraphPool_.destroy(paragraph);
            throw;
        }
        paragraph->lastLine_ = paragraph->firstLine_;
    } catch (const std::bad_alloc&) {
        throw Error("Out of Memory in\tNewParagraph");
    }
    if (!isPlainText())
        paragraph->firstLine_->setAttr(0, insertionAttr);
    paragraph->firstLine_->height = std::uint16_t(defaultLineHeight);

    if (after) {
        paragraph->firstIndent = after->firstIndent;
        paragraph->leftIndent = after->leftIndent;
        paragraph->rightIndent = after->rightIndent;
        paragraph->spaceBefore = after->spaceBefore;
        paragraph->spaceAfter = after->spaceAfter;
        paragraph->lineSpacing = after->lineSpacing;
        paragraph->alignment = after->alignment;
        paragraph->shadingColors = after->shadingColors;
        paragraph->shadingPercent = after->shadingPercent;
        paragraph->flags = after->flags;
        if (!after->isTableCell())
            paragraph->tabMask = after->tabMask;
        if (!(after->border.flags & BorderFlag::RunEnds))
            paragraph->border = after->border;
    }
    paragraph->layoutFlags = LayoutFlag::NeedsReformat;

    TParagraph*& slot = after ? after->next_ : first_;
    paragraph->next_ = slot;
    if (paragraph->next_)
        paragraph->next_->prev_ = paragraph;
    paragraph->prev_ = after;
    slot = paragraph;
    ++paragraphCount_;
    return paragraph;
}

TTextLine* TWPRTFText::appendLine(TParagraph& paragraph, TTextLine* after, int capacity)
{
    TTextLine* line = linePool_.create(capacity, !isPlainText());
    if (!isPlainText()) {
        try {
            line->setAttr(0, insertionAttr);
        } catch (...) {
            linePool_.destroy(line);
            throw;
        }
    }
    line->height = std::uint16_t(defaultLineHeight);

    TTextLine*& slot = after ? after->next_ : paragraph.firstLine_;
    line->next_ = slot;
    if (line->next_)
        line->next_->prev_ = line;
    line->prev_ = after;
    if (!line->next_)
        paragraph.lastLine_ = line;
    slot = line;
    return line;
}

void TWPRTFText::deleteParagraph(TParagraph* paragraph)
{
    if (!paragraph)
        return;
    TParagraph*& slot = paragraph->prev_ ? paragraph->prev_->next_ : first_;
    slot = paragraph->next_;
    if (slot)
        slot->prev_ = paragraph->prev_;
    destroyParagraph(paragraph);
    --paragraphCount_;
    if (!first_)
        appendParagraph(nullptr);
}

void TWPRTFText::deleteLine(TParagraph& paragraph, TTextLine* line)
{
    if (!line)
        return;
    if (line == paragraph.firstLine() && !line->next()) {
        line->setLength(0);
        return;
    }
    TTextLine*& slot = line->prev_ ? line->prev_->next_ : paragraph.firstLine_;
    slot = line->next_;
    if (slot)
        slot->prev_ = line->prev_;
    else
        paragraph.lastLine_ = line->prev_;
    linePool_.destroy(line);
}

TParagraph* TWPRTFText::splitParagraph(const TextPosition& at)
{
    TParagraph* paragraph = paragraphAt(at.paragraph);
    if (!paragraph)
        paragraph = lastParagraph();
    TTextLine* line = paragraph->firstLine();
    for (int i = 0; i < at.segment && line->next(); ++i)
        line = line->next();
    const int index = std::clamp(at.index, 0, line->length());

    TParagraph* created = appendParagraph(paragraph);
    created->copyPropertiesFrom(*paragraph);
    created->layoutFlags = LayoutFlag::NeedsReformat;
    paragraph->layoutFlags = LayoutFlag::NeedsReformat;

    const int tailLength = line->length() - index;
    TTextLine* tail = linePool_.create(tailLength + 2, line->hasAttributes());
    try {
        std::memcpy(tail->text(), line->text() + index, std::size_t(tailLength));
        if (line->hasAttributes()) {
            tail->copyAttrs(*line, index, tailLength, 0);
            if (tailLength == 0)
                tail->setAttr(0, index > 0 ? line->attrAt(index - 1) : line->attrAt(0));
        }
    } catch (...) {
        linePool_.destroy(tail);
        throw;
    }
    tail->setLength(tailLength);
    tail->height = line->height;
    line->setLength(index);

    // The new paragraph's own empty segment gives way to the tail.
    linePool_.destroy(created->firstLine_);
    tail->next_ = line->next_;
    line->next_ = nullptr;
    if (tail->next_)
        tail->next_->prev_ = tail;
    else
        paragraph->lastLine_ = tail;
    created->lastLine_ = paragraph->lastLine_;
    paragraph->lastLine_ = line;
    created->firstLine_ = tail;
    return created;
}

void TWPRTFText::appendText(TParagraph& paragraph, std::string_view text, const TAttr& attr)
{
    TTextLine* line = paragraph.lastLine();
    if (!line)
        line = appendLine(paragraph, nullptr, MinLineCapacity);
    std::size_t done = 0;
    while (done < text.size()) {
        const int remaining = int(std::min<std::size_t>(text.size() - done, MaxLineCapacity));
        const int free = line->capacity() - SegmentReserve - line->length();
        if (free <= 0) {
            if (line->capacity() < DefaultSegmentCapacity) {
                const int wanted = std::max(line->capacity() * 2, line->length() + remaining + SegmentReserve);
                line->resize(std::min(DefaultSegmentCapacity, wanted));
            } else {
                line = appendLine(paragraph, line,
                                  std::min(DefaultSegmentCapacity, remaining + SegmentReserve));
            }
            continue;
        }
        const int take = std::min(free, remaining);
        std::memcpy(line->text() + line->length(), text.data() + done, std::size_t(take));
        line->fillAttrs(line->length(), line->length() + take, attr);
        line->setLength(line->length() + take);
        done += std::size_t(take);
    }
}

void TWPRTFText::shrinkLines(TParagraph& paragraph)
{
    for (auto* line = paragraph.firstLine(); line; line = line->next())
        if (line->capacity() > std::max(MinLineCapacity, line->length() + 2))
            line->resize(line->length() + 2);
}

void TWPRTFText::clear()
{
    destroyAllParagraphs();
    objects_.clear();
    footnotes_.clear();
    selection = {};
    appendParagraph(nullptr);
}

bool TWPRTFText::isEmpty() const noexcept
{
    return first_ && !first_->next() && first_->firstLine() && !first_->firstLine()->next()
        && first_->firstLine()->length() == 0;
}

void TWPRTFText::setMemoryFormat(MemoryFormat format)
{
    if (format == format_)
        return;
    format_ = format;
    for (auto* paragraph = first_; paragraph; paragraph = paragraph->next())
        for (auto* line = paragraph->firstLine(); line; line = line->next()) {
            if (format == MemoryFormat::fmPlainText)
                line->dropAttributes();
            else
                line->addAttributes(insertionAttr);
        }
}

int TWPRTFText::snapIndent(int twips) const noexcept
{
    if (header_.resolutionX <= 0)
        return twips;
    const int grid = header_.metricRuler ? 141 : 144;
    const int value = twips + grid / 2 + 1;
    const int steps = value >= 0 ? value / grid : -((-value + grid - 1) / grid);
    return steps * grid;
}

TTextObject* TWPRTFText::findObject(int tag) const noexcept
{
    for (const auto& object : objects_)
        if (object->tag == tag)
            return object.get();
    return nullptr;
}

TTextObject* TWPRTFText::findObjectByFileName(std::string_view fileName) const noexcept
{
    if (fileName.empty())
        return nullptr;
    for (const auto& object : objects_)
        if (object->fileName == fileName)
            return object.get();
    return nullptr;
}

int TWPRTFText::nextFreeTag() const noexcept
{
    int highest = 0;
    for (const auto& object : objects_)
        highest = std::max<int>(highest, object->tag);
    if (highest < 0xFFFF)
        return highest + 1;
    for (int tag = 1; tag <= 0xFFFF; ++tag) // the tags wrapped: take the first gap
        if (!findObject(tag))
            return tag;
    return 0xFFFF;
}

TTextObject& TWPRTFText::addObject(std::unique_ptr<TGraphic> graphic, int tag)
{
    auto object = std::make_unique<TTextObject>();
    object->graphic = std::move(graphic);
    object->tag = std::uint16_t(tag <= 0 || tag > 0xFFFF ? nextFreeTag() : tag);
    objects_.push_back(std::move(object));
    return *objects_.back();
}

TFootnote* TWPRTFText::findFootnote(int number) const noexcept
{
    for (const auto& footnote : footnotes_)
        if (footnote->number == number)
            return footnote.get();
    return nullptr;
}

TFootnote& TWPRTFText::addFootnote(TFootnote footnote)
{
    if (footnote.number <= 0) {
        int highest = 0;
        for (const auto& existing : footnotes_)
            highest = std::max(highest, existing->number);
        footnote.number = highest + 1;
    }
    footnotes_.push_back(std::make_unique<TFootnote>(std::move(footnote)));
    return *footnotes_.back();
}

long TWPRTFText::characterCount() const noexcept
{
    long count = 0;
    for (auto* paragraph = first_; paragraph; paragraph = paragraph->next())
        count += paragraph->length() + (paragraph->next() ? 1 : 0);
    return count;
}

long TWPRTFText::absolutePosition(const TextPosition& position) const noexcept
{
    long result = 0;
    int index = 0;
    for (auto* paragraph = first_; paragraph; paragraph = paragraph->next(), ++index) {
        if (index < position.paragraph) {
            if (!paragraph->next())
                return result + paragraph->length(); // past the end: the end
            result += paragraph->length() + 1;
            continue;
        }
        int segment = 0;
        for (auto* line = paragraph->firstLine(); line; line = line->next(), ++segment) {
            if (segment == position.segment || !line->next())
                return result + std::clamp(position.index, 0, line->length());
            result += line->length();
        }
        return result;
    }
    return result;
}

TextPosition TWPRTFText::positionAt(long absolute) const noexcept
{
    absolute = std::max(absolute, 0L);
    int index = 0;
    for (auto* paragraph = first_; paragraph; paragraph = paragraph->next(), ++index) {
        const int length = paragraph->length();
        if (absolute > length && paragraph->next()) {
            absolute -= length + 1;
            continue;
        }
        int segment = 0;
        for (auto* line = paragraph->firstLine(); line; line = line->next(), ++segment) {
            // A boundary between two segments is the start of the later one.
            if (absolute < line->length() || !line->next())
                return {index, segment, int(std::min<long>(absolute, line->length()))};
            absolute -= line->length();
        }
    }
    return {};
}

TextRange TWPRTFText::selectionRange() const noexcept
{
    const long a = absolutePosition(selection.blockStart);
    const long b = absolutePosition(selection.blockEnd);
    return {std::min(a, b), a < b ? b - a : a - b};
}

} // namespace quillory
