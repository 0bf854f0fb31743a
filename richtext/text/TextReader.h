// The base of the reader family and the plain-text reader (TWPTextReader), with the appender
// that every reader uses to add characters and paragraphs to a document.
#pragma once

#include "richtext/model/Document.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace quillory {

// Result codes of the readers.
namespace ReadResult {
inline constexpr int Ok = 0;
inline constexpr int OutOfMemory = 2;
inline constexpr int Failed = 7;
} // namespace ReadResult

// Takes the paragraphs a reader has finished with, in the document's order, while reading goes
// on: a conversion that streams writes each one out, and the reader then lets it go, so that a
// document of any length is held a few paragraphs at a time.
class TWPParagraphSink {
public:
    virtual ~TWPParagraphSink() = default;
    // `paragraph` will not change any more; `last` when no paragraph follows it.
    virtual void Take(const TParagraph& paragraph, bool last) = 0;
    // False for a sink that looks only at the text and at the marks kept by TextMarksOf: the
    // reader then drops the rest of each character's formatting, so that a run of text with
    // another font or size needs no record of its own.
    virtual bool KeepsFormatting() const noexcept { return true; }
};

// Of a character's record, only what decides whether plain text holds the character: the
// footnote, insert-point, automatic-text and object marks, with their tag.
constexpr TAttr TextMarksOf(const TAttr& attr) noexcept
{
    constexpr std::uint8_t kMarks = AttrFlag::FootnoteAnchor | AttrFlag::InsertPoint
                                  | AttrFlag::Automatic | AttrFlag::Object;
    TAttr marks;
    marks.flags = attr.flags & kMarks;
    marks.tag = marks.flags ? attr.tag : 0;
    return marks;
}

// Appends characters to a document, paragraph by paragraph, keeping its place so that each
// character costs a copy and no search. Segments grow to DefaultSegmentCapacity, then a new
// one is started when SegmentReserve places are left.
class TextAppender {
public:
    // Continues in `current`, or starts a new paragraph at the end of the document when null
    // (an empty document is filled from its first paragraph).
    TextAppender(TWPRTFText& document, TParagraph* current);
    // Streams: finished paragraphs go to `sink` and leave the document (see HandOffBefore).
    TextAppender(TWPRTFText& document, TWPParagraphSink& sink);

    TWPRTFText& document() noexcept { return document_; }
    TParagraph& paragraph() noexcept { return *paragraph_; }
    TParagraph* firstTouched() const noexcept { return first_; }

    // An ASCII character or control code.
    void Append(uint8_t c, const TAttr& attr);
    // Whole characters in UTF-8; a segment never ends inside one.
    void AppendRun(std::span<const uint8_t> bytes, const TAttr& attr);
    // Where the last character went (null before the first): readers mark it afterwards.
    TTextLine* lastLine() const noexcept { return lastLine_; }
    int lastIndex() const noexcept { return lastIndex_; }

    // Cuts the current paragraph's spare capacity and appends a new paragraph after it, which
    // takes over its properties; returns the new one.
    TParagraph& NextParagraph();
    // Removes the current paragraph when it is empty and not the first touched; the one
    // before it becomes current.
    void DropEmptyCurrent();
    // Marks every paragraph from the first touched one to the current one for reformatting.
    void MarkTouchedForReformat() noexcept;

    bool streaming() const noexcept { return sink_ != nullptr; }
    // False when the sink keeps no formatting: records are cut to TextMarksOf.
    bool keepsFormatting() const noexcept { return !textOnly_; }
    // When streaming: the paragraph at which a hand-off before `keep` stops, `keep` or an
    // earlier one that must stay (the current one, or one that holds the last character).
    TParagraph* HandOffLimit(TParagraph* keep) const noexcept;
    // When streaming: hands the paragraphs from the first touched one up to HandOffLimit(keep)
    // (exclusive) to the sink and removes them from the document; that one becomes the first
    // touched. A reader calls it with the first paragraph it may still change.
    void HandOffBefore(TParagraph* keep);
    // When streaming: hands every paragraph left to the sink, the current one last.
    void HandOffRest();

private:
    TTextLine& RoomFor(int count);
    [[gnu::noinline]] int TakeWholeCharacters(std::span<const uint8_t> bytes, int wanted, int take, TTextLine*& line);

    TWPRTFText& document_;
    TParagraph* paragraph_;
    TParagraph* first_;
    TTextLine* line_;
    TTextLine* lastLine_ = nullptr;
    int lastIndex_ = -1;
    TWPParagraphSink* sink_ = nullptr;
    bool textOnly_ = false; // the sink keeps no formatting: records hold TextMarksOf
};

// Reads plain text: UTF-8 (a byte-order mark dropped), or cp1252 when the bytes are not UTF-8
// (text files of older copies); CR ends a paragraph, LF is ignored, a zero byte ends reading.
// Readers of other formats derive from it and replace ReadBody.
class TWPTextReader {
public:
    virtual ~TWPTextReader() = default;

    // Reads `input` into the document, continuing in `*current` when given (else appending a
    // new paragraph at the end, or filling an empty document's first one); afterwards `*current` is the last paragraph read. Returns the
    // result code, also kept in result(). Throws Error(WrongArgumentsMessage()) without a
    // document; other exceptions pass on after the result is set.
    int ReadStream(std::span<const uint8_t> input, TWPRTFText* document, TParagraph** current = nullptr);
    int ReadStream(std::string_view input, TWPRTFText* document, TParagraph** current = nullptr)
    {
        return ReadStream(std::span(reinterpret_cast<const uint8_t*>(input.data()), input.size()),
                          document, current);
    }

    // Reads `input` into an empty document as a stream: each finished paragraph goes to `sink`
    // and is let go, so that the document holds only the paragraphs still being read. The
    // result code as ReadStream's.
    int ReadStreaming(std::span<const uint8_t> input, TWPRTFText& document, TWPParagraphSink& sink);

    int result() const noexcept { return result_; }
    // Bytes consumed: where a stream would be positioned after reading.
    std::size_t consumed() const noexcept { return consumed_; }

    // Set when reading into an existing document (a paste): fonts, colours, page values and
    // document information are then left alone.
    bool keepHeader = false;

protected:
    // Reads the whole input through the appender; returns the bytes consumed.
    virtual std::size_t ReadBody(std::span<const uint8_t> input, TextAppender& appender);
    virtual std::string_view WrongArgumentsMessage() const { return "Wrong Arguments"; }
    // The result when an exception ends reading.
    virtual int ExceptionResult() const { return ReadResult::OutOfMemory; }

private:
    int Read(std::span<const uint8_t> input, TextAppender& appender, TParagraph** current);

    int result_ = ReadResult::Ok;
    std::size_t consumed_ = 0;
};

} // namespace quillory
