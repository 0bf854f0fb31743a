// The base of the writer family and the plain-text writer (TWPTextWriter): the paragraph loop,
// the splitting of segments into runs of equal attributes, and the output buffer.
#pragma once

#include "richtext/model/Document.h"
#include "richtext/text/OutputStream.h"
#include "richtext/text/TextReader.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace quillory {

// Result codes of the writers.
namespace WriteResult {
inline constexpr int Ok = 0;
inline constexpr int OutOfMemory = 2;
inline constexpr int Failed = 7;        // the stream took fewer bytes than offered
inline constexpr int NothingToWrite = 8; // no first paragraph
} // namespace WriteResult

// Switches copied from the engine before a save.
struct WriterOptions {
    bool omitInsertPoints = false;
    bool omitAutomaticText = false;
    bool documentIsEmpty = false;
    bool writeBitmapAsDib = false;  // device bitmaps are written as DIBs
    bool helpReferences = false;    // pictures with a file name are written as {bmc name}
    bool forClipboard = false;      // with ppDontCopyProtectedAttribute: no \shad
};

// Progress display driven by the body loop (start with a total, advance, finish).
struct WriterProgress {
    std::function<void(long total)> start;
    std::function<void(long done)> advance;
    std::function<void()> finish;
};

// Writes a document as plain ANSI text: each segment's characters unchanged, CR LF between
// paragraphs and one zero byte at the end. Other writers derive from it and replace the
// virtual steps; the loop (WriteBody, WriteSegment) is shared.
//
// Every step returns the result code and also keeps it in result(); once it is not Ok, further
// output is dropped and the loop stops.
class TWPTextWriter {
public:
    explicit TWPTextWriter(const TWPRTFText& document);
    virtual ~TWPTextWriter();
    TWPTextWriter(const TWPTextWriter&) = delete;
    TWPTextWriter& operator=(const TWPTextWriter&) = delete;

    // Limits the output to the paragraphs from `first` to `last` (null: to the end), starting in
    // `startLine` of `first` at `startOffset` (null: its first line).
    void SetRange(const TParagraph* first, const TParagraph* last = nullptr,
                  const TTextLine* startLine = nullptr, int startOffset = 0) noexcept;

    // WriteHeader, then WriteBody when the header succeeded, then WriteTrailer when the body did;
    // the result of the last call made.
    int Write(TWPOutputStream& stream);

    WriterOptions options;
    WriterProgress progress;
    int result() const noexcept { return result_; }

    // The writer's slots, in their order. The base does what the plain-text writer needs.
    virtual int WriteAttributes(const TAttr& attr);                  // base: nothing
    virtual int WriteText(const char* text, int count);              // base: unchanged bytes
    virtual int WriteSegment(const TTextLine& line, int from, int to); // runs; shared
    virtual int BetweenSegments();                                   // base: nothing
    virtual int EndParagraph();                                      // base: CR LF
    virtual int StartParagraph();                                    // base: nothing
    virtual int WriteObject(int tag, bool secondKind);               // base: nothing
    virtual int WriteFootnote(int number);                           // base: nothing
    virtual int WriteHeader(TWPOutputStream& stream);                // base: remembers the stream
    virtual int WriteBody();                                         // paragraph loop; shared
    virtual int WriteTrailer();                                      // base: one zero byte

    // Writes one paragraph of the body, ending it when `hasSuccessor` (or a table cell); the
    // characters written. WriteBody calls it for each paragraph; a stream writer (below) for
    // each paragraph a reader hands over.
    long WriteParagraph(const TParagraph& paragraph, bool hasSuccessor);

protected:
    // Appends to the output buffer. Flush ends what is pending (see pending()), as does
    // growing past `flushAbove` pending bytes; the bytes themselves go to the stream in large
    // blocks (OutputBlock), at Put and when writing ends, so that a long document is not
    // handed over a few bytes at a time.
    void Emit(std::string_view bytes);
    void Emit(char c);
    void EmitNumber(long value);
    // Ends the pending bytes; the buffer is written once it holds OutputBlock bytes. A
    // shortfall of the stream sets the result to Failed. Returns the result.
    int Flush();
    // Writes everything buffered to the stream. Returns the result.
    int WriteOut();
    static constexpr std::size_t OutputBlock = 64 * 1024;
    // Writes the bytes straight through (after the buffer).
    int Put(std::string_view bytes);
    bool pending() const noexcept { return buffer_.size() > pendingFrom_; }
    char lastPending() const noexcept { return pending() ? buffer_.back() : '\0'; }
    int Fail(int code) noexcept;
    // Text of this record the options leave out: insert points, automatic text.
    bool Omitted(const TAttr& attr) const noexcept;

    const TWPRTFText& document_;
    TWPOutputStream* stream_ = nullptr;
    std::size_t flushAbove = 90;

    // The walk: what is being written now.
    const TParagraph* firstParagraph_ = nullptr;
    const TParagraph* lastParagraph_ = nullptr; // null: to the end
    const TTextLine* startLine_ = nullptr;
    int startOffset_ = 0;
    const TParagraph* paragraph_ = nullptr;     // current paragraph
    const TParagraph* previous_ = nullptr;      // the paragraph written before it
    const TTextLine* line_ = nullptr;           // current segment
    int index_ = 0;                             // current character in the segment
    int result_ = WriteResult::Ok;

private:
    bool HasSuccessor(const TParagraph& paragraph) const noexcept;

    std::string buffer_;
    std::size_t pendingFrom_ = 0; // the bytes of buffer_ from here on are pending
};

// Writes the paragraphs a streaming reader hands over (TWPTextReader::ReadStreaming) as plain
// text, byte for byte as TWPTextWriter writes the whole document: a document of any length is
// converted holding a few paragraphs and one output block.
class TWPTextStreamWriter : public TWPParagraphSink {
public:
    // `document` is the one being read into (its memory format decides how segments are written).
    TWPTextStreamWriter(const TWPRTFText& document, TWPOutputStream& stream);
    void Take(const TParagraph& paragraph, bool last) override;
    bool KeepsFormatting() const noexcept override { return false; }
    // Writes the trailer and what is buffered; the writer's result.
    int Finish();

private:
    // The paragraph steps of the text writer, opened to the stream writer.
    class Steps : public TWPTextWriter {
    public:
        using TWPTextWriter::TWPTextWriter;
        using TWPTextWriter::Flush;
        using TWPTextWriter::WriteOut;
        int WriteSegment(const TTextLine& line, int from, int to) override;
    };
    Steps writer_;
};

// The document as plain text, through TWPTextWriter.
std::string WritePlainText(const TWPRTFText& document, const WriterOptions& options = {});

} // namespace quillory
