// The in-memory document (TWPRTFText): the paragraph chain, the header and the side lists.
#pragma once

#include "richtext/model/Attr.h"
#include "richtext/model/Paragraph.h"
#include "richtext/model/Position.h"
#include "richtext/model/SlabPool.h"
#include "richtext/model/TextHeader.h"
#include "richtext/model/TextObject.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace quillory {

enum class MemoryFormat : std::uint8_t { fmRichText = 0, fmPlainText = 1 };

// Bits of TWPRTFText::protectedProp.
namespace ProtectProp {
inline constexpr std::uint16_t ppProtected = 0x0001;
inline constexpr std::uint16_t ppHidden = 0x0002;
inline constexpr std::uint16_t ppIsInsertpoint = 0x0004;
inline constexpr std::uint16_t ppAutomatic = 0x0008;
inline constexpr std::uint16_t ppIsInvisible = 0x0010;
inline constexpr std::uint16_t ppParProtected = 0x0020;
inline constexpr std::uint16_t ppProtectSelectedTextToo = 0x0040;
inline constexpr std::uint16_t ppDontCopyProtectedAttribute = 0x0080;
inline constexpr std::uint16_t ppDontUseAttrOfProtected = 0x0100;
} // namespace ProtectProp

// tsIgnore keeps the text's own value, tsTRUE forces it on, tsFALSE forces it off.
enum class TThreeState : std::uint8_t { tsIgnore, tsTRUE, tsFALSE };

// How a kind of special text is shown (insert points, automatic text, links, protected text).
struct TCharacterAttr {
    std::uint32_t textColor = 0;         // RGB, red in the low byte
    std::uint32_t backColor = 0xFFFFFF;
    std::uint8_t style = 0;              // AttrStyle bits
    bool useBackColor = false;

    // Used by painting: each three-state replaces the character's own style bit unless ignored.
    TThreeState bold = TThreeState::tsIgnore;
    TThreeState italic = TThreeState::tsIgnore;
    TThreeState underline = TThreeState::tsIgnore;
    TThreeState strikeOut = TThreeState::tsIgnore;
    TThreeState superScript = TThreeState::tsIgnore;
    TThreeState subScript = TThreeState::tsIgnore;
    bool hidden = false; // such text takes no room and is not painted
    std::uint32_t underlineColor = 0; // RGB, red in the low byte
    bool useTextColor = false;
    bool useUnderlineColor = false;
};

inline constexpr int DefaultSegmentCapacity = 200;
// Readers start a new segment when a segment has this many places left.
inline constexpr int SegmentReserve = 4;

class TWPRTFText {
public:
    TWPRTFText(); // one paragraph with one empty segment
    virtual ~TWPRTFText();
    TWPRTFText(const TWPRTFText&) = delete;
    TWPRTFText& operator=(const TWPRTFText&) = delete;

    // --- paragraphs and segments --------------------------------------------------------
    TParagraph* firstParagraph() const noexcept { return first_; }
    TParagraph* lastParagraph() const noexcept;
    TParagraph* paragraphAt(int index) const noexcept;
    int paragraphCount() const noexcept;

    // Inserts a paragraph after `after` (null: as the new first paragraph). It takes from `after`
    // the indents, spacing, alignment, shading, flags, tab mask (not for table cells) and border
    // word (not when `after` ends a border run), and gets one empty segment.
    // Throws Error("Out of Memory in\tNewParagraph") when memory runs out.
    TParagraph* appendParagraph(TParagraph* after);
    TParagraph* appendParagraphAtEnd() { return appendParagraph(lastParagraph()); }
    // Inserts a segment after `after` (null: as the paragraph's first). In formatted documents its
    // first attribute is the insertion attributes and its height the default line height.
    TTextLine* appendLine(TParagraph& paragraph, TTextLine* after, int capacity = MinLineCapacity);
    // Removes a paragraph and its segments. The last paragraph of a document is replaced by an
    // empty one, so that the document always has a first paragraph.
    void deleteParagraph(TParagraph* paragraph);
    // Removes a segment; a paragraph keeps at least one (emptied) segment.
    void deleteLine(TParagraph& paragraph, TTextLine* line);
    // Splits the paragraph at the position: the characters from there on move into a new
    // paragraph after it, which takes the paragraph's properties. Returns the new paragraph.
    TParagraph* splitParagraph(const TextPosition& at);
    // Appends characters at the end of the paragraph with one attribute record, growing the last
    // segment and adding segments as needed (each kept below MaxLineCapacity).
    void appendText(TParagraph& paragraph, std::string_view text, const TAttr& attr);
    // Cuts the spare capacity of every segment of the paragraph down to its length + 2.
    void shrinkLines(TParagraph& paragraph);
    // Back to a new document: one empty paragraph, no objects or footnotes; the header keeps its
    // tables.
    void clear();
    bool isEmpty() const noexcept;

    // --- header, format, attributes ------------------------------------------------------
    TTextHeader& header() noexcept { return header_; }
    const TTextHeader& header() const noexcept { return header_; }
    MemoryFormat memoryFormat() const noexcept { return format_; }
    // Switching to plain text drops every segment's attribute array; switching back gives each
    // segment an array filled with the insertion attributes.
    void setMemoryFormat(MemoryFormat format);
    bool isPlainText() const noexcept { return format_ == MemoryFormat::fmPlainText; }

    TAttr insertionAttr;        // applied to typed characters
    int defaultLineHeight = 16; // pixels, given to new segments
    std::array<int, 256> layoutTable{};
    std::uint16_t protectedProp = 0; // ProtectProp bits
    TCharacterAttr insertPointAttr;
    TCharacterAttr automaticTextAttr;
    TCharacterAttr hyperlinkTextAttr;
    TCharacterAttr protectedTextAttr;
    std::unique_ptr<TGraphic> background;

    // Snaps an indent to the ruler grid (144 twips in inches, 141 in metric) when the horizontal
    // resolution is known; otherwise returns it unchanged.
    int snapIndent(int twips) const noexcept;

    // --- objects and footnotes -------------------------------------------------------------
    const std::vector<std::unique_ptr<TTextObject>>& objects() const noexcept { return objects_; }
    TTextObject* findObject(int tag) const noexcept;
    TTextObject* findObjectByFileName(std::string_view fileName) const noexcept;
    // Adds an object holding the graphic (may be null). A tag of 0 or -1 takes the next free tag.
    TTextObject& addObject(std::unique_ptr<TGraphic> graphic, int tag = 0);
    int nextFreeTag() const noexcept;

    const std::vector<std::unique_ptr<TFootnote>>& footnotes() const noexcept { return footnotes_; }
    TFootnote* findFootnote(int number) const noexcept;
    // Adds a footnote; a number of 0 takes the next free number.
    TFootnote& addFootnote(TFootnote footnote);

    // Called when an object without graphic is met (tag, the object to fill).
    std::function<void(int, TTextObject&)> onProvideObject;
    std::function<void()> onChange;

    // --- positions and selection ------------------------------------------------------------
    // Characters of all segments plus one for each paragraph end.
    long characterCount() const noexcept;
    long absolutePosition(const TextPosition& position) const noexcept;
    // The position of an absolute offset; offsets past the end give the end of the document.
    TextPosition positionAt(long absolute) const noexcept;
    Selection selection;
    TextRange selectionRange() const noexcept;

private:
    // Ends the paragraph and its segments, giving their slots back to the pools.
    void destroyParagraph(TParagraph* paragraph) noexcept;
    // Ends every paragraph, one at a time (no recursion along a long chain).
    void destroyAllParagraphs() noexcept;

    // Every paragraph and segment of the document lives in these pools.
    SlabPool<TParagraph> paragraphPool_;
    SlabPool<TTextLine> linePool_;
    TParagraph* first_ = nullptr;
    int paragraphCount_ = 0; // kept by every change of the paragraph chain
    TTextHeader header_;
    MemoryFormat format_ = MemoryFormat::fmRichText;
    std::vector<std::unique_ptr<TTextObject>> objects_;
    std::vector<std::unique_ptr<TFootnote>> footnotes_;
};

} // namespace quillory
