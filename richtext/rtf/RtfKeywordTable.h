// The RTF reader's keyword table: every control word it understands, as data.
#pragma once

#include "richtext/rtf/RtfWordKey.h"

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
    // character properties
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
    // destinations
    FontTable, ColourTable, Title, Comment, Subject, Footnote, Field, Picture, PictureFile,
    Skip,
    FieldInstruction, FieldResult,
    ShapePicture, NonShapePicture, // \shppict and its stand-in \nonshppict
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
// \~ ...), consulted after the main table.
std::span<const RtfKeyword> RtfExtraKeywords() noexcept;

// The first entry named `word` in the main table, then in the extra words; null when unknown.
const RtfKeyword* FindRtfKeyword(std::string_view word) noexcept;
// The same for a word's key, as the lexer gives it with each control word and symbol.
const RtfKeyword* FindRtfKeyword(RtfWordKey key) noexcept;

// The parameter a keyword acts on: its default when it always uses it or none was given.
constexpr int32_t RtfKeywordParameter(const RtfKeyword& keyword, bool hasParameter,
                                      int32_t parameter) noexcept
{
    return keyword.alwaysDefault || !hasParameter ? keyword.value : parameter;
}

} // namespace quillory::rtf
