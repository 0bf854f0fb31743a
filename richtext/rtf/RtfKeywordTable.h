// The RTF reader's keyword table: every control word it understands, as data.
#pragma once

#include "richtext/rtf/RtfWordKey.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace quillory::rtf {

// What the reader does with a keyword.
enum class RtfKeywordKind : uint8_t {
    InsertChar = 1,  // inserts the character in `value`
    Destination = 2, // changes where the group's text goes
    Property = 3,    // changes character, paragraph, table, picture or page state
    Special = 4,     // handled by the reader itself (\bin, \*, \', \u ...)
};

enum class RtfKeywordId : uint8_t {
    // characters
    Char,
    // character properties (kept together, from Plain to BackColour: the reader tells them by range)
    Plain, Font, FontSize, Bold, Italic, Underline, StrikeOut, Hyperlink, Protected, Hidden,
    Superscript, Subscript, NoSuperSub, InsertPoint, Automatic, RtfCode, TextColour,
    BackColour,
    // paragraph properties
    LeftIndent, RightIndent, FirstIndent, SpaceBefore, SpaceAfter, LineSpacing, Align, Pard,
    Par, PageBreak, Keep, TabStop, TabKind, Border, CellBorder, BorderWidth, BorderSpacing,
    BorderColour, Shading, PatternColour, PatternBackColour,
    // tables
    RowDefinition, RowGap, RowLeft, CellEdge, CellMerge, InTable, Cell, Row,
    // colour table
    Red, Green, Blue,
    // page
    PaperWidth, PaperHeight, MarginLeft, MarginRight, MarginTop, MarginBottom, Landscape,
    FacingPages, NoEffect, FontFamily, FontCharset,
    DocumentCodePage, // \ansicpg
    // destinations
    FontTable, ColourTable, Title, Comment, Subject, Footnote, Field, Picture, PictureFile,
    Skip,
    FieldInstruction, FieldResult,
    ShapePicture, NonShapePicture, // \shppict and its stand-in \nonshppict
    UnicodePair, UnicodeText,      // \upr (ANSI text, then its Unicode twin in \ud) and \ud
    // footnotes
    FootnoteNumber, AutomaticFootnoteMark,
    // pictures and objects
    Metafile, Dib, DeviceBitmap, PicWidth, PicHeight, PicGoalWidth, PicGoalHeight, BitsPixel,
    Planes, WidthBytes, ScaleX, ScaleY, ObjectTag, ObjectWidth, ObjectHeight,
    Png, Jpeg,
    // specials
    Binary, SkipUnknown, HexChar, Unicode, UnicodeSkip,
};

struct RtfKeyword {
    std::string_view name;
    RtfKeywordKind kind;
    RtfKeywordId id;
    int32_t value;      // default parameter, or the character / sub-code for the id
    bool alwaysDefault; // the default replaces any parameter given
};

// The 154 words of the program's own dialect, in lookup order (the first match wins).
std::span<const RtfKeyword> RtfKeywordTable() noexcept;

// Words other writers send that carry text or formatting worth keeping (\u, \lquote, \emdash,
// \~, \ansicpg ...), consulted after the main table.
std::span<const RtfKeyword> RtfExtraKeywords() noexcept;

// The first entry named `word` in the main table, then in the extra words; null when unknown.
const RtfKeyword* FindRtfKeyword(std::string_view word) noexcept;

// The index behind the lookup by key, built at compile time (RtfKeywordTable.cpp): open
// addressing over the keys, so that a lookup multiplies the two numbers of the key, compares
// them with the slot's, and looks at the next slot only when two names share one. A name
// already in the index keeps its slot, so the first match in table order wins.
struct RtfKeywordSlot {
    RtfWordKey key;
    const RtfKeyword* keyword = nullptr; // null: an empty slot, which ends a search
};
inline constexpr size_t kRtfKeywordSlotBits = 9; // 512 slots for 184 names: few share a slot
inline constexpr size_t kRtfKeywordSlots = size_t{1} << kRtfKeywordSlotBits;
extern const std::array<RtfKeywordSlot, kRtfKeywordSlots> kRtfKeywordIndex;

constexpr size_t RtfKeywordSlotOf(const RtfWordKey& key) noexcept
{
    return size_t((key.low * 0x9E3779B97F4A7C15u ^ key.high * 0xC2B2AE3D27D4EB4Fu) >> (64 - kRtfKeywordSlotBits));
}

// The same for a word's key, as the lexer gives it with each control word and symbol. Inline:
// the reader looks up every control word of a document.
inline const RtfKeyword* FindRtfKeyword(RtfWordKey key) noexcept
{
    // The empty key (a word too long to be a keyword) and a zero byte's key match no slot, as
    // no keyword holds a zero byte: the search ends at the next empty slot.
    for (size_t at = RtfKeywordSlotOf(key);; at = (at + 1) % kRtfKeywordSlots) {
        const RtfKeywordSlot& slot = kRtfKeywordIndex[at];
        if (!slot.keyword || slot.key == key)
            return slot.keyword;
    }
}

// The parameter a keyword acts on: its default when it always uses it or none was given.
constexpr int32_t RtfKeywordParameter(const RtfKeyword& keyword, bool hasParameter,
                                      int32_t parameter) noexcept
{
    return keyword.alwaysDefault || !hasParameter ? keyword.value : parameter;
}

} // namespace quillory::rtf
