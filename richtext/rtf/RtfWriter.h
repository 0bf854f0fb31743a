// The RTF writer (TWPRTFWriter): the program's own RTF dialect, in which every entry is stored.
#pragma once

#include "richtext/rtf/RtfWriterEncoding.h"
#include "richtext/text/TextWriter.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quillory {

// Writes the document as RTF: a small header, the document group, one group per open state
// (tab set, border, table row), a full attribute block at every run, and the private words
// \wprtf, \inspnt, \inaut, \wpobjtag, \wpobjw, \wpobjh and \wpfnnr that the reader knows.
class TWPRTFWriter : public TWPTextWriter {
public:
    explicit TWPRTFWriter(const TWPRTFText& document);
    ~TWPRTFWriter() override;

    int WriteAttributes(const TAttr& attr) override;
    int WriteText(const char* text, int count) override;
    int EndParagraph() override;
    int StartParagraph() override;
    int WriteObject(int tag, bool secondKind) override;
    int WriteFootnote(int number) override;
    int WriteHeader(TWPOutputStream& stream) override;
    int WriteTrailer() override;

    // The font whose code page a footnote's text is written in: the footnote group names it.
    static constexpr int FootnoteFont = 4;

    // Row definitions hold at most this many cells.
    static constexpr int MaxRowCells = 50;

    enum class GroupKind : std::uint8_t { Document = 0, Tabs = 1, TableRow = 2, Border = 3 };

    // The paragraph state in force inside one open group.
    struct Group {
        GroupKind kind = GroupKind::Document;
        Alignment alignment = Alignment::Left;
        std::int32_t leftIndent = 0;
        std::int32_t firstIndent = 0;
        std::int32_t rightIndent = 0;
        std::int32_t spaceBefore = 0;
        std::int32_t spaceAfter = 0;
        std::int32_t lineSpacing = 0;
        std::uint64_t tabMask = 0;
        BorderWord border;
        std::uint8_t shadingColors = 0;
        std::uint8_t shadingPercent = 0;
    };

    // What a table row was defined with, cell by cell.
    struct CellDefinition {
        BorderWord border;
        std::uint8_t shadingColors = 0;
        std::uint8_t shadingPercent = 0;
        std::uint8_t cellLeft = 0;
        std::uint8_t cellWidth = 0;
        std::int32_t padding = 0;
    };

    const std::vector<Group>& groups() const noexcept { return groups_; }
    int rowCellCount() const noexcept { return rowCells_; }

private:
    // Groups.
    bool Push(GroupKind kind);
    Group& Top() { return groups_.back(); }
    int FindGroup(GroupKind kind) const noexcept;
    // Pops and closes every group above the first of that kind and that group itself; the
    // document group is never closed this way.
    void CloseDownTo(GroupKind kind);
    void FlushWithBlank();

    // Parts of StartParagraph.
    void CloseGroupsFor(const TParagraph& p);
    void StartTableRow(const TParagraph& p);
    void OpenBorderGroup(const TParagraph& p);
    void EmitTabs(std::uint64_t mask);
    void EmitBorderStyle(const BorderWord& border);
    void EmitStyleWithoutSides(const BorderWord& border, bool anySide);
    void EmitNumbered(const char* word, long value);

    // Parts of WriteObject.
    void EmitHex(std::string_view bytes);
    void WritePicture(const TTextObject& object);
    void EscapeInto(std::string_view text); // \ { } and characters above 126 escaped

    // Characters.
    void EmitHexByte(unsigned char byte); // \'hh
    // The text of an RTF-code run, gathered until the run ends, and then the run's end.
    void CloseCodeRun();
    void EmitCodeText(std::string_view text);
    // Writes the character from U+0080 on that starts at `at`; the bytes it took.
    std::size_t EmitCharacterAt(std::string_view text, std::size_t at);
    // Whether some text of the part to write needs \u (and so \uc1 in the header).
    bool DocumentNeedsUnicode() const;
    // How text is written under the font of that index (found once for each charset).
    const RtfFontEncoding& EncodingOfFont(int index) const;

    std::vector<Group> groups_;
    std::array<CellDefinition, MaxRowCells> row_{};
    int rowCells_ = 0;
    bool lastRunHidden_ = false;
    bool codeRunOpen_ = false;
    TAttr codeAttr_;       // of the open code run
    std::string codeText_; // its text: a backslash is judged by what follows it in the run
    bool shadingOpen_ = false;
    bool closedAfterEnd_ = false; // a group closed since the last paragraph end
    bool runWritten_ = false;    // the current paragraph has an attribute block
    mutable std::array<std::unique_ptr<RtfFontEncoding>, 256> encodings_; // by charset
    mutable std::array<const RtfFontEncoding*, 256> fontEncodings_{}; // by font index
    const RtfFontEncoding* encoding_ = nullptr; // of the text being written
};

// The document as RTF bytes; `result` (when given) receives the writer's result code.
std::string WriteRtf(const TWPRTFText& document, const WriterOptions& options = {}, int* result = nullptr);

// MulDiv of the original platform: a × b / c rounded half away from zero.
long MulDiv(long a, long b, long c) noexcept;

} // namespace quillory
