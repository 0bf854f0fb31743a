// The plain-text reader and the appender shared by all readers.
#include "richtext/text/TextReader.h"

#include "platform/Error.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <cstring>

namespace quillory {

namespace {

// Without a paragraph to continue in, reading appends one at the end; an empty document's only
// paragraph is no text to append after, so reading fills it instead of leaving an empty line.
TParagraph* StartParagraph(TWPRTFText& document, TParagraph* current)
{
    if (current)
        return current;
    if (document.isEmpty())
        return document.firstParagraph();
    return document.appendParagraph(document.lastParagraph());
}

bool Holds(const TParagraph& paragraph, const TTextLine* wanted) noexcept
{
    for (const TTextLine* line = paragraph.firstLine(); wanted && line; line = line->next())
        if (line == wanted)
            return true;
    return false;
}

} // namespace

TextAppender::TextAppender(TWPRTFText& document, TParagraph* current)
    : document_(document),
      paragraph_(StartParagraph(document, current)),
      first_(paragraph_),
      line_(paragraph_->lastLine())
{
}

TextAppender::TextAppender(TWPRTFText& document, TWPParagraphSink& sink)
    : TextAppender(document, nullptr)
{
    sink_ = &sink;
    textOnly_ = !sink.KeepsFormatting();
}

TTextLine& TextAppender::RoomFor(int count)
{
    for (;;) {
        const int free = line_->capacity() - SegmentReserve - line_->length();
        if (free >= count)
            return *line_;
        if (line_->capacity() < DefaultSegmentCapacity)
            line_->resize(DefaultSegmentCapacity);
        else
            line_ = document_.appendLine(*paragraph_, line_, DefaultSegmentCapacity);
    }
}

void TextAppender::Append(uint8_t c, const TAttr& attr)
{
    TTextLine& line = RoomFor(1);
    const int at = line.length();
    const char character = static_cast<char>(c);
    line.appendRun(&character, 1, textOnly_ ? TextMarksOf(attr) : attr);
    lastLine_ = &line;
    lastIndex_ = at;
}

void TextAppender::AppendRun(std::span<const uint8_t> bytes, const TAttr& given)
{
    const TAttr attr = textOnly_ ? TextMarksOf(given) : given;
    while (!bytes.empty()) {
        constexpr int chunk = DefaultSegmentCapacity - SegmentReserve;
        const int wanted = int(std::min<std::size_t>(bytes.size(), chunk));
        TTextLine* line = &RoomFor(1);
        int take = std::min(wanted, line->capacity() - SegmentReserve - line->length());
        if (std::size_t(take) < bytes.size()) [[unlikely]]
            take = TakeWholeCharacters(bytes, wanted, take, line);
        const int at = line->length();
        line->appendRun(reinterpret_cast<const char*>(bytes.data()), take, attr);
        lastLine_ = line;
        lastIndex_ = at + take - 1;
        bytes = bytes.subspan(std::size_t(take));
    }
}

// A segment never ends inside a character: of the `take` bytes that fit, those of a character cut
// at the end go to the next segment, which `line` then is when not even one character fit.
int TextAppender::TakeWholeCharacters(std::span<const uint8_t> bytes, int wanted, int take, TTextLine*& line)
{
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    take = int(CharBoundaryAtOrBefore(text, std::size_t(take)));
    if (take > 0)
        return take;
    line = &RoomFor(int(NextCharBoundary(text, 0)));
    const int room = line->capacity() - SegmentReserve - line->length();
    return std::max(1, int(CharBoundaryAtOrBefore(text, std::size_t(std::min(wanted, room)))));
}

TParagraph& TextAppender::NextParagraph()
{
    // A paragraph that is handed off soon keeps its spare room: shrinking would only copy it.
    if (!streaming())
        document_.shrinkLines(*paragraph_);
    paragraph_ = document_.appendParagraph(paragraph_);
    line_ = paragraph_->firstLine();
    return *paragraph_;
}

void TextAppender::DropEmptyCurrent()
{
    TParagraph* previous = paragraph_->prev();
    if (paragraph_ == first_ || !previous || paragraph_->length() != 0)
        return;
    document_.deleteParagraph(paragraph_);
    paragraph_ = previous;
    line_ = paragraph_->lastLine();
}

TParagraph* TextAppender::HandOffLimit(TParagraph* keep) const noexcept
{
    // The character appended last may still be marked (a footnote's anchor): its paragraph
    // stays, and with it those after it, until text is appended further on.
    for (TParagraph* p = first_; p; p = p->next())
        if (p == keep || p == paragraph_ || Holds(*p, lastLine_))
            return p;
    return paragraph_;
}

void TextAppender::HandOffBefore(TParagraph* keep)
{
    if (!sink_)
        return;
    keep = HandOffLimit(keep);
    while (first_ != keep) {
        TParagraph* next = first_->next();
        sink_->Take(*first_, false);
        document_.deleteParagraph(first_);
        first_ = next;
    }
}

void TextAppender::HandOffRest()
{
    if (!sink_)
        return;
    // Reading has ended: nothing can change any more.
    lastLine_ = nullptr;
    lastIndex_ = -1;
    HandOffBefore(paragraph_);
    sink_->Take(*paragraph_, true);
}

void TextAppender::MarkTouchedForReformat() noexcept
{
    for (TParagraph* p = first_; p; p = p->next()) {
        p->layoutFlags |= LayoutFlag::NeedsReformat;
        if (p == paragraph_)
            break;
    }
}

int TWPTextReader::ReadStream(std::span<const uint8_t> input, TWPRTFText* document, TParagraph** current)
{
    if (!document)
        throw Error(std::string(WrongArgumentsMessage()));
    TextAppender appender(*document, current ? *current : nullptr);
    return Read(input, appender, current);
}

int TWPTextReader::ReadStreaming(std::span<const uint8_t> input, TWPRTFText& document, TWPParagraphSink& sink)
{
    if (!document.isEmpty())
        throw Error(std::string(WrongArgumentsMessage()));
    TextAppender appender(document, sink);
    Read(input, appender, nullptr);
    appender.HandOffRest();
    return result_;
}

int TWPTextReader::Read(std::span<const uint8_t> input, TextAppender& appender, TParagraph** current)
{
    TWPRTFText* document = &appender.document();
    result_ = ReadResult::Ok;
    consumed_ = 0;
    try {
        consumed_ = ReadBody(input, appender);
    } catch (...) {
        result_ = ExceptionResult();
        appender.MarkTouchedForReformat();
        if (current)
            *current = &appender.paragraph();
        throw;
    }
    document->shrinkLines(appender.paragraph());
    appender.MarkTouchedForReformat();
    if (current)
        *current = &appender.paragraph();
    return result_;
}

std::size_t TWPTextReader::ReadBody(std::span<const uint8_t> input, TextAppender& appender)
{
    const auto zero = std::find(input.begin(), input.end(), 0);
    const std::size_t length = std::size_t(zero - input.begin());
    std::string_view text(reinterpret_cast<const char*>(input.data()), length);
    // Text files are UTF-8; one that is not was written by an older copy, in cp1252.
    std::string converted;
    if (!IsWellFormedUtf8(text)) {
        converted = Utf8OrCp1252(text);
        text = converted;
    }
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3); // a byte-order mark is no text
    const TAttr plain{};
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", at), text.size());
        appender.AppendRun({reinterpret_cast<const uint8_t*>(text.data()) + at, end - at}, plain);
        if (end == text.size())
            break;
        at = end + 1;
        if (text[end] == '\r') {
            appender.NextParagraph();
            appender.HandOffBefore(appender.paragraph().prev());
        }
    }
    // Like a stream, reading stops after the zero byte that ends the text.
    return zero == input.end() ? length : length + 1;
}

} // namespace quillory
