// Range edits on the paragraph chain: every edit reads a paragraph's content, changes it and
// writes it back; layout breaks the rewritten paragraph into lines again.
#include "richtext/edit/RangeEditing.h"

#include "platform/UnicodeText.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <map>

namespace quillory {

namespace {

// Segments written by edits stay well below the line limit, so that a later edit can grow them.
constexpr int kChunk = 4000;

bool hasAttributes(const TWPRTFText& document) { return !document.isPlainText(); }

ParagraphContent slice(const ParagraphContent& content, int from, int to)
{
    ParagraphContent part;
    part.emptyAttr = content.emptyAttr;
    part.text = content.text.substr(std::size_t(from), std::size_t(to - from));
    if (!content.attrs.empty())
        part.attrs.assign(content.attrs.begin() + from, content.attrs.begin() + to);
    if (!part.attrs.empty())
        part.emptyAttr = part.attrs.front();
    return part;
}

void append(ParagraphContent& content, const ParagraphContent& more, bool withAttributes)
{
    content.text += more.text;
    if (withAttributes)
        content.attrs.insert(content.attrs.end(), more.attrs.begin(), more.attrs.end());
}

void clampRange(const TWPRTFText& document, long& start, long& length)
{
    const long total = document.characterCount();
    start = std::clamp(start, 0L, total);
    length = std::clamp(length, 0L, total - start);
}

// Maps the colour indexes of one header onto the nearest colours of another.
int nearestColor(const TTextHeader& to, const RGBColor& color)
{
    int best = 0;
    long bestDistance = LONG_MAX;
    for (int i = 0; i < ColorCount; ++i) {
        const RGBColor& c = to.colors[std::size_t(i)];
        const long dr = long(c.red) - color.red, dg = long(c.green) - color.green,
                   db = long(c.blue) - color.blue;
        const long distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

// Translates attribute records of one document into another's font, colour and object tables.
class AttrMapper {
public:
    AttrMapper(TWPRTFText& target, const TWPRTFText& source) : target_(target), source_(source)
    {
        for (int i = 0; i < ColorCount; ++i)
            colors_[std::size_t(i)] = nearestColor(target.header(), source.header().colors[std::size_t(i)]);
    }

    TAttr map(TAttr attr)
    {
        attr.font = std::uint8_t(mapFont(attr.font));
        attr.setTextColor(colors_[std::size_t(attr.textColor())]);
        attr.setBackColor(colors_[std::size_t(attr.backColor())]);
        if (attr.hasFlag(AttrFlag::Object))
            attr.tag = std::uint16_t(mapObject(attr.tag));
        return attr;
    }

private:
    int mapFont(int index)
    {
        if (auto found = fonts_.find(index); found != fonts_.end())
            return found->second;
        const FontEntry* entry = source_.header().font(index);
        const int mapped = entry ? std::min(target_.header().addFont(entry->name, entry->pitchFamily, entry->charset), MaxFonts - 1) : 0;
        fonts_[index] = std::max(mapped, 0);
        return fonts_[index];
    }

    int mapObject(int tag)
    {
        if (auto found = objects_.find(tag); found != objects_.end())
            return found->second;
        const TTextObject* object = source_.findObject(tag);
        int mapped = tag;
        if (object) {
            auto graphic = object->graphic ? std::make_unique<TGraphic>(*object->graphic) : nullptr;
            TTextObject& copy = target_.addObject(std::move(graphic));
            copy.tag2 = object->tag2;
            copy.width = object->width;
            copy.height = object->height;
            copy.isApplicationObject = object->isApplicationObject;
            copy.insertedFromFile = object->insertedFromFile;
            copy.fileName = object->fileName;
            mapped = copy.tag;
        }
        objects_[tag] = mapped;
        return mapped;
    }

    TWPRTFText& target_;
    const TWPRTFText& source_;
    std::array<int, ColorCount> colors_{};
    std::map<int, int> fonts_;
    std::map<int, int> objects_;
};

} // namespace

ParagraphContent ReadParagraph(const TParagraph& paragraph)
{
    ParagraphContent content;
    content.text.reserve(std::size_t(paragraph.length()));
    bool first = true;
    for (auto* line = paragraph.firstLine(); line; line = line->next()) {
        content.text.append(line->view());
        if (line->hasAttributes()) {
            if (first)
                content.emptyAttr = line->attrs()[0];
            content.attrs.insert(content.attrs.end(), line->attrs(), line->attrs() + line->length());
        }
        first = false;
    }
    return content;
}

void WriteParagraph(TWPRTFText& document, TParagraph& paragraph, const ParagraphContent& content)
{
    while (paragraph.firstLine()->next())
        document.deleteLine(paragraph, paragraph.firstLine()->next());
    const bool withAttributes = hasAttributes(document) && content.attrs.size() == content.text.size();
    const int total = int(content.text.size());
    TTextLine* line = paragraph.firstLine();
    int done = 0;
    do {
        int take = std::min(kChunk, total - done);
        if (done + take < total) {
            // A segment ends between clusters, never inside a character.
            const std::string_view text = content.text;
            auto end = GraphemeBoundaryAtOrBefore(text, std::size_t(done + take));
            if (end <= std::size_t(done))
                end = CharBoundaryAtOrBefore(text, std::size_t(done + take));
            if (end > std::size_t(done))
                take = int(end) - done;
        }
        if (line->capacity() < take + SegmentReserve || line->capacity() > take + 4 * kChunk)
            line->resize(take + SegmentReserve);
        std::memcpy(line->text(), content.text.data() + done, std::size_t(take));
        if (line->hasAttributes()) {
            if (withAttributes && take > 0)
                std::copy_n(content.attrs.begin() + done, take, line->attrs());
            else if (take == 0)
                line->attrs()[0] = content.emptyAttr;
            else
                std::fill_n(line->attrs(), take, content.emptyAttr);
        }
        line->setLength(take);
        line->flags |= 0x01;
        done += take;
        if (done < total)
            line = document.appendLine(paragraph, line, std::min(kChunk, total - done) + SegmentReserve);
    } while (done < total);
    paragraph.layoutFlags |= LayoutFlag::NeedsReformat;
}

ParagraphSpot LocatePosition(const TWPRTFText& document, long position)
{
    ParagraphSpot spot;
    position = std::max(position, 0L);
    int number = 0;
    for (auto* paragraph = document.firstParagraph(); paragraph; paragraph = paragraph->next(), ++number) {
        const int length = paragraph->length();
        if (position <= length || !paragraph->next())
            return {paragraph, number, int(std::min<long>(position, length))};
        position -= length + 1;
    }
    return spot;
}

long PositionOfParagraph(const TWPRTFText& document, const TParagraph* target)
{
    long position = 0;
    for (auto* paragraph = document.firstParagraph(); paragraph && paragraph != target; paragraph = paragraph->next())
        position += paragraph->length() + 1;
    return position;
}

long InsertTextAt(TWPRTFText& document, long position, std::string_view text, const TAttr& attr)
{
    if (auto zero = text.find('\0'); zero != std::string_view::npos)
        text = text.substr(0, zero);
    std::string repaired;
    if (!IsWellFormedUtf8(text)) {
        repaired = Utf8OrCp1252(text);
        text = repaired;
    }
    ParagraphSpot spot = LocatePosition(document, position);
    position = PositionOfParagraph(document, spot.paragraph) + spot.offset;
    if (text.empty())
        return position;

    const bool withAttributes = hasAttributes(document);
    ParagraphContent content = ReadParagraph(*spot.paragraph);
    ParagraphContent tail = slice(content, spot.offset, int(content.text.size()));
    content = slice(content, 0, spot.offset);
    TParagraph* paragraph = spot.paragraph;

    auto put = [&](char c) {
        content.text.push_back(c);
        if (withAttributes)
            content.attrs.push_back(attr);
        ++position;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            const bool crlf = c == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
            if (c == '\n' || paragraph->isTableCell()) {
                put(char(CharCode::SoftBreak));
            } else {
                content.emptyAttr = attr;
                WriteParagraph(document, *paragraph, content);
                paragraph = document.appendParagraph(paragraph);
                paragraph->flags &= std::uint8_t(~ParFlag::PageBreakBefore);
                content = ParagraphContent{};
                ++position;
            }
            if (crlf)
                ++i;
            continue;
        }
        put(c);
    }
    const long end = position;
    content.emptyAttr = attr;
    append(content, tail, withAttributes);
    WriteParagraph(document, *paragraph, content);
    return end;
}

void DeleteRange(TWPRTFText& document, long start, long length)
{
    clampRange(document, start, length);
    if (length == 0)
        return;
    const ParagraphSpot from = LocatePosition(document, start);
    const ParagraphSpot to = LocatePosition(document, start + length);
    const bool withAttributes = hasAttributes(document);

    ParagraphContent content = ReadParagraph(*from.paragraph);
    ParagraphContent kept = slice(content, 0, from.offset);
    const ParagraphContent last = from.paragraph == to.paragraph ? content : ReadParagraph(*to.paragraph);
    append(kept, slice(last, to.offset, int(last.text.size())), withAttributes);
    if (kept.text.empty())
        kept.emptyAttr = content.emptyAttr;

    while (from.paragraph->next() && from.paragraph != to.paragraph) {
        TParagraph* doomed = from.paragraph->next();
        const bool wasLast = doomed == to.paragraph;
        document.deleteParagraph(doomed);
        if (wasLast)
            break;
    }
    WriteParagraph(document, *from.paragraph, kept);
}

std::unique_ptr<TWPRTFText> CopyRange(const TWPRTFText& document, long start, long length)
{
    clampRange(document, start, length);
    auto copy = std::make_unique<TWPRTFText>();
    copy->setMemoryFormat(document.memoryFormat());
    copy->header() = document.header();
    copy->insertionAttr = document.insertionAttr;
    copy->protectedProp = document.protectedProp;

    const ParagraphSpot from = LocatePosition(document, start);
    const ParagraphSpot to = LocatePosition(document, start + length);
    const bool withAttributes = hasAttributes(document);
    TParagraph* target = copy->firstParagraph();
    for (TParagraph* paragraph = from.paragraph; paragraph; paragraph = paragraph->next()) {
        if (paragraph != from.paragraph)
            target = copy->appendParagraph(target);
        target->copyPropertiesFrom(*paragraph);
        ParagraphContent content = ReadParagraph(*paragraph);
        const int begin = paragraph == from.paragraph ? from.offset : 0;
        const int end = paragraph == to.paragraph ? to.offset : int(content.text.size());
        ParagraphContent part = slice(content, begin, std::max(begin, end));
        if (withAttributes) {
            for (TAttr& attr : part.attrs) {
                if (!attr.hasFlag(AttrFlag::Object) || copy->findObject(attr.tag))
                    continue;
                if (const TTextObject* object = document.findObject(attr.tag)) {
                    TTextObject& added = copy->addObject(
                        object->graphic ? std::make_unique<TGraphic>(*object->graphic) : nullptr, object->tag);
                    added.tag2 = object->tag2;
                    added.width = object->width;
                    added.height = object->height;
                    added.isApplicationObject = object->isApplicationObject;
                    added.insertedFromFile = object->insertedFromFile;
                    added.fileName = object->fileName;
                }
            }
        }
        WriteParagraph(*copy, *target, part);
        if (paragraph == to.paragraph)
            break;
    }
    return copy;
}

long InsertDocumentAt(TWPRTFText& document, long position, const TWPRTFText& source)
{
    const ParagraphSpot spot = LocatePosition(document, position);
    position = PositionOfParagraph(document, spot.paragraph) + spot.offset;
    const bool withAttributes = hasAttributes(document);
    AttrMapper mapper(document, source);

    auto mapped = [&](const TParagraph& paragraph) {
        ParagraphContent content = ReadParagraph(paragraph);
        if (!withAttributes) {
            content.attrs.clear();
            return content;
        }
        if (content.attrs.size() != content.text.size())
            content.attrs.assign(content.text.size(), document.insertionAttr);
        else
            for (TAttr& attr : content.attrs)
                attr = mapper.map(attr);
        content.emptyAttr = source.isPlainText() ? document.insertionAttr : mapper.map(content.emptyAttr);
        return content;
    };

    ParagraphContent here = ReadParagraph(*spot.paragraph);
    const ParagraphContent tail = slice(here, spot.offset, int(here.text.size()));
    ParagraphContent current = slice(here, 0, spot.offset);
    TParagraph* paragraph = spot.paragraph;
    const bool wasEmpty = here.text.empty();

    for (const TParagraph* from = source.firstParagraph(); from; from = from->next()) {
        const ParagraphContent content = mapped(*from);
        if (from != source.firstParagraph()) {
            WriteParagraph(document, *paragraph, current);
            paragraph = document.appendParagraph(paragraph);
            paragraph->copyPropertiesFrom(*from);
            current = ParagraphContent{};
            current.emptyAttr = content.emptyAttr;
            ++position;
        } else if (wasEmpty) {
            paragraph->copyPropertiesFrom(*from);
            current.emptyAttr = content.emptyAttr;
        }
        append(current, content, withAttributes);
        position += long(content.text.size());
    }
    append(current, tail, withAttributes);
    WriteParagraph(document, *paragraph, current);
    document.header().formatted = document.header().formatted || source.header().formatted;
    return position;
}

void ApplyAttributes(TWPRTFText& document, long start, long length, const TAttr& attr)
{
    clampRange(document, start, length);
    if (!hasAttributes(document) || length == 0)
        return;
    constexpr std::uint8_t kept = AttrFlag::Object | AttrFlag::FootnoteAnchor | AttrFlag::InsertPoint
        | AttrFlag::Automatic | AttrFlag::RtfCode;
    constexpr std::uint8_t taken = AttrFlag::Hidden | AttrFlag::Protected;
    long position = PositionOfParagraph(document, LocatePosition(document, start).paragraph);
    for (TParagraph* paragraph : ParagraphsOfRange(document, start, length)) {
        const long paragraphStart = position;
        position += paragraph->length() + 1;
        long at = paragraphStart;
        for (auto* line = paragraph->firstLine(); line; line = line->next()) {
            for (int i = 0; i < line->length(); ++i, ++at) {
                if (at < start || at >= start + length)
                    continue;
                TAttr& target = line->attrs()[i];
                target.font = attr.font;
                target.size = attr.size;
                target.color = attr.color;
                target.style = attr.style;
                target.flags = std::uint8_t((target.flags & kept) | (attr.flags & taken));
            }
            line->flags |= 0x01;
        }
        paragraph->layoutFlags |= LayoutFlag::NeedsReformat;
    }
    document.header().formatted = true;
}

std::string TextOfRange(const TWPRTFText& document, long start, long length)
{
    clampRange(document, start, length);
    std::string text;
    const ParagraphSpot from = LocatePosition(document, start);
    const ParagraphSpot to = LocatePosition(document, start + length);
    for (TParagraph* paragraph = from.paragraph; paragraph; paragraph = paragraph->next()) {
        const std::string all = paragraph->text();
        const int begin = paragraph == from.paragraph ? from.offset : 0;
        const int end = paragraph == to.paragraph ? to.offset : int(all.size());
        text.append(all, std::size_t(begin), std::size_t(std::max(0, end - begin)));
        if (paragraph == to.paragraph)
            break;
        text += "\r\n";
    }
    return text;
}

TAttr AttributesAt(const TWPRTFText& document, long position)
{
    const ParagraphSpot spot = LocatePosition(document, position);
    const ParagraphContent content = ReadParagraph(*spot.paragraph);
    if (content.attrs.empty())
        return content.text.empty() ? content.emptyAttr : document.insertionAttr;
    const int index = spot.offset >= int(content.attrs.size()) ? int(content.attrs.size()) - 1 : spot.offset;
    return content.attrs[std::size_t(index)];
}

std::vector<TParagraph*> ParagraphsOfRange(const TWPRTFText& document, long start, long length)
{
    const ParagraphSpot from = LocatePosition(document, start);
    const ParagraphSpot to = LocatePosition(document, start + std::max(0L, length));
    std::vector<TParagraph*> result;
    for (TParagraph* paragraph = from.paragraph; paragraph; paragraph = paragraph->next()) {
        result.push_back(paragraph);
        if (paragraph == to.paragraph)
            break;
    }
    return result;
}

} // namespace quillory
