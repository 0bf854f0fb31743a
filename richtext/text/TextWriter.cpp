// The shared paragraph loop and run splitting of the writers, and the plain-text writer.
#include "richtext/text/TextWriter.h"

#include <algorithm>
#include <charconv>

namespace quillory {

namespace {

// A size of 0 is written as the default size, so it does not start a run of its own.
bool sameWrittenRun(const TAttr& a, const TAttr& b) noexcept
{
    return a.font == b.font && a.pointSize() == b.pointSize() && a.color == b.color
        && a.style == b.style && a.flags == b.flags;
}

} // namespace

TWPTextWriter::TWPTextWriter(const TWPRTFText& document)
    : document_(document), firstParagraph_(document.firstParagraph())
{
}

TWPTextWriter::~TWPTextWriter() = default;

void TWPTextWriter::SetRange(const TParagraph* first, const TParagraph* last,
                             const TTextLine* startLine, int startOffset) noexcept
{
    firstParagraph_ = first;
    lastParagraph_ = last;
    startLine_ = startLine;
    startOffset_ = startOffset;
}

int TWPTextWriter::Write(TWPOutputStream& stream)
{
    if (WriteHeader(stream) != WriteResult::Ok)
        return WriteOut();
    if (WriteBody() != WriteResult::Ok)
        return WriteOut();
    WriteTrailer();
    return WriteOut();
}

int TWPTextWriter::Fail(int code) noexcept
{
    if (result_ == WriteResult::Ok)
        result_ = code;
    return result_;
}

void TWPTextWriter::Emit(std::string_view bytes)
{
    if (result_ != WriteResult::Ok)
        return;
    buffer_.append(bytes);
    if (buffer_.size() - pendingFrom_ > flushAbove)
        Flush();
}

void TWPTextWriter::Emit(char c)
{
    if (result_ != WriteResult::Ok)
        return;
    buffer_.push_back(c);
    if (buffer_.size() - pendingFrom_ > flushAbove)
        Flush();
}

void TWPTextWriter::EmitNumber(long value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    Emit(std::string_view(digits, std::size_t(end - digits)));
}

int TWPTextWriter::Flush()
{
    if (result_ != WriteResult::Ok) {
        buffer_.clear();
        pendingFrom_ = 0;
        return result_;
    }
    pendingFrom_ = buffer_.size();
    if (buffer_.size() >= OutputBlock)
        return WriteOut();
    return result_;
}

int TWPTextWriter::WriteOut()
{
    if (result_ != WriteResult::Ok || buffer_.empty()) {
        buffer_.clear();
        pendingFrom_ = 0;
        return result_;
    }
    const std::size_t written = stream_ ? stream_->Write(buffer_) : 0;
    if (written != buffer_.size())
        Fail(WriteResult::Failed);
    buffer_.clear();
    pendingFrom_ = 0;
    return result_;
}

int TWPTextWriter::Put(std::string_view bytes)
{
    Flush();
    if (WriteOut() != WriteResult::Ok || bytes.empty())
        return result_;
    const std::size_t written = stream_ ? stream_->Write(bytes) : 0;
    if (written != bytes.size())
        Fail(WriteResult::Failed);
    return result_;
}

int TWPTextWriter::WriteAttributes(const TAttr&)
{
    return result_;
}

int TWPTextWriter::WriteText(const char* text, int count)
{
    if (count > 0)
        Emit(std::string_view(text, std::size_t(count)));
    return result_;
}

int TWPTextWriter::WriteSegment(const TTextLine& line, int from, int to)
{
    line_ = &line;
    if (!line.hasAttributes() || document_.isPlainText()) {
        index_ = to;
        return WriteText(line.text() + from, to - from);
    }
    // Stored runs of equal records are passed whole, and a run of the writer's may span several:
    // the text from `start` to `end` waits here, with its record, until a run that is written
    // otherwise comes. The stored runs are walked in order, each looked up once.
    const TAttr* waiting = nullptr;
    int start = from, end = from;
    const auto writeWaiting = [&] {
        if (!waiting || result_ != WriteResult::Ok)
            return;
        index_ = start;
        WriteAttributes(*waiting);
        if (!Omitted(*waiting) && result_ == WriteResult::Ok)
            WriteText(line.text() + start, end - start);
        waiting = nullptr;
    };
    line.forEachAttrRun(from, to, [&](int runFrom, int runTo, const TAttr& attr) {
        if (waiting && sameWrittenRun(attr, *waiting)) {
            end = runTo;
            return;
        }
        writeWaiting();
        for (int i = runFrom; i < runTo && result_ == WriteResult::Ok; ++i) {
            // A footnote anchor is its footnote's mark and nothing else, even with the object
            // flag; an insert point or an object always stands alone.
            const unsigned char code = line.code(i);
            const bool anchor = attr.hasFlag(AttrFlag::FootnoteAnchor);
            const bool object = !anchor && attr.hasFlag(AttrFlag::Object)
                             && (code == CharCode::Object || code == CharCode::ObjectSecond);
            if (!anchor && !object && !attr.hasFlag(AttrFlag::InsertPoint)) {
                waiting = &attr;
                start = i;
                end = runTo;
                return;
            }
            index_ = i;
            WriteAttributes(attr);
            if (anchor) {
                WriteFootnote(attr.tag);
                continue;
            }
            if (object)
                WriteObject(attr.tag, code == CharCode::ObjectSecond);
            if (!Omitted(attr) && result_ == WriteResult::Ok)
                WriteText(line.text() + i, 1);
        }
    });
    writeWaiting();
    index_ = to;
    return result_;
}

bool TWPTextWriter::Omitted(const TAttr& attr) const noexcept
{
    return (attr.hasFlag(AttrFlag::InsertPoint) && options.omitInsertPoints)
        || (attr.hasFlag(AttrFlag::Automatic) && options.omitAutomaticText);
}

int TWPTextWriter::BetweenSegments()
{
    return result_;
}

int TWPTextWriter::EndParagraph()
{
    Emit("\r\n");
    return result_;
}

int TWPTextWriter::StartParagraph()
{
    return result_;
}

int TWPTextWriter::WriteObject(int, bool)
{
    return result_;
}

int TWPTextWriter::WriteFootnote(int)
{
    return result_;
}

int TWPTextWriter::WriteHeader(TWPOutputStream& stream)
{
    stream_ = &stream;
    return result_;
}

bool TWPTextWriter::HasSuccessor(const TParagraph& paragraph) const noexcept
{
    return paragraph.next() && &paragraph != lastParagraph_;
}

int TWPTextWriter::WriteBody()
{
    if (!firstParagraph_)
        return Fail(WriteResult::NothingToWrite);
    long total = 0, paragraphs = 0;
    for (auto* p = firstParagraph_; p; p = p->next()) {
        total += p->length();
        ++paragraphs;
        if (p == lastParagraph_)
            break;
    }
    // A string stream that grows by doubling copies the output again and again: room for the
    // whole of it is made at once (the RTF writer's output is rarely more than twice the text).
    if (stream_)
        stream_->Expect(std::size_t(total) * 2 + std::size_t(paragraphs) * 8 + 4096);
    if (progress.start)
        progress.start(total);
    long done = 0;
    previous_ = nullptr;
    for (auto* p = firstParagraph_; p && result_ == WriteResult::Ok; p = p->next()) {
        done += WriteParagraph(*p, HasSuccessor(*p));
        if (progress.advance)
            progress.advance(done);
        if (p == lastParagraph_)
            break;
    }
    Flush();
    if (progress.finish)
        progress.finish();
    return result_;
}

long TWPTextWriter::WriteParagraph(const TParagraph& p, bool hasSuccessor)
{
    long written = 0;
    paragraph_ = &p;
    StartParagraph();
    const TTextLine* line = p.firstLine();
    if (&p == firstParagraph_ && startLine_)
        line = startLine_;
    for (; line && result_ == WriteResult::Ok; line = line->next()) {
        const int from = (&p == firstParagraph_ && line == startLine_) ? std::min(startOffset_, line->length()) : 0;
        WriteSegment(*line, std::max(from, 0), line->length());
        written += line->length();
        if (line->next())
            BetweenSegments();
    }
    if (result_ == WriteResult::Ok && (hasSuccessor || p.isTableCell()))
        EndParagraph();
    previous_ = &p;
    return written;
}

int TWPTextWriter::WriteTrailer()
{
    Emit('\0');
    return Flush();
}

TWPTextStreamWriter::TWPTextStreamWriter(const TWPRTFText& document, TWPOutputStream& stream)
    : writer_(document)
{
    // Nothing is written before the first paragraph arrives: the header only takes the stream.
    writer_.WriteHeader(stream);
}

void TWPTextStreamWriter::Take(const TParagraph& paragraph, bool last)
{
    if (writer_.result() == WriteResult::Ok)
        writer_.WriteParagraph(paragraph, !last);
}

// Plain text writes no attributes, so the runs of equal records need no finding: each stored
// run is written whole, or left out whole when its records are footnote anchors (or text the
// options omit). The bytes are those of TWPTextWriter::WriteSegment.
int TWPTextStreamWriter::Steps::WriteSegment(const TTextLine& line, int from, int to)
{
    if (!line.hasAttributes() || document_.isPlainText())
        return TWPTextWriter::WriteSegment(line, from, to);
    line_ = &line;
    line.forEachAttrRun(from, to, [&](int start, int end, const TAttr& attr) {
        if (!attr.hasFlag(AttrFlag::FootnoteAnchor) && !Omitted(attr))
            WriteText(line.text() + start, end - start);
    });
    index_ = to;
    return result_;
}

int TWPTextStreamWriter::Finish()
{
    writer_.Flush();
    if (writer_.result() == WriteResult::Ok)
        writer_.WriteTrailer();
    return writer_.WriteOut();
}

std::string WritePlainText(const TWPRTFText& document, const WriterOptions& options)
{
    TWPStringStream stream;
    TWPTextWriter writer(document);
    writer.options = options;
    writer.Write(stream);
    return stream.take();
}

} // namespace quillory
