// The RTF reader's keyword table and its lookup.
#include "richtext/rtf/RtfKeywordTable.h"

#include <array>

namespace quillory::rtf {
namespace {

using K = RtfKeywordKind;
using I = RtfKeywordId;

constexpr RtfKeyword Word(std::string_view name, K kind, I id, int32_t value = 0,
                          bool alwaysDefault = false)
{
    return {name, kind, id, value, alwaysDefault};
}
constexpr RtfKeyword Prop(std::string_view name, I id, int32_t value = 0) { return Word(name, K::Property, id, value); }
constexpr RtfKeyword Fixed(std::string_view name, I id, int32_t value) { return Word(name, K::Property, id, value, true); }
constexpr RtfKeyword Dest(std::string_view name, I id) { return Word(name, K::Destination, id); }
constexpr RtfKeyword Insert(std::string_view name, int32_t code) { return Word(name, K::InsertChar, I::Char, code, true); }

// \line inserts this code; the reader stores it as the soft line break (LF).
constexpr int32_t kLineCode = 1010;

// Order matters only where a name repeats: the second \pict is never reached.
constexpr std::array kKeywords = {
    Prop("plain", I::Plain),
    Prop("f", I::Font),
    Prop("fs", I::FontSize, 100),
    Prop("b", I::Bold, 1),
    Prop("i", I::Italic, 1),
    Prop("ul", I::Underline, 1),
    Prop("strike", I::StrikeOut, 1),
    Prop("uldb", I::Hyperlink, 1),
    Prop("shad", I::Protected, 1),
    Prop("v", I::Hidden, 1),
    Prop("super", I::Superscript, 1),
    Prop("sub", I::Subscript, 1),
    Prop("nosupersub", I::NoSuperSub, 1),
    Prop("inspnt", I::InsertPoint, 0),
    Prop("inaut", I::Automatic, 1),
    Prop("wprtf", I::RtfCode, 1),
    Prop("cf", I::TextColour, 0),
    Prop("cb", I::BackColour, 0),
    Prop("li", I::LeftIndent),
    Prop("ri", I::RightIndent),
    Prop("fi", I::FirstIndent),
    Prop("sb", I::SpaceBefore),
    Prop("sa", I::SpaceAfter),
    Prop("sl", I::LineSpacing),
    Fixed("ql", I::Align, 0),
    Fixed("qr", I::Align, 1),
    Fixed("qc", I::Align, 2),
    Fixed("qj", I::Align, 3),
    Prop("pard", I::Pard),
    Prop("par", I::Par),
    Insert("line", kLineCode),
    Insert("tab", 9),
    Insert("ldblquote", 0x93),
    Insert("rdblquote", 0x94),
    Insert("\r", 10),
    Insert("\n", 10),
    Prop("page", I::PageBreak),
    Fixed("keep", I::Keep, 1),
    Fixed("keepn", I::Keep, 1),
    Prop("tx", I::TabStop),
    Fixed("tqr", I::TabKind, 1),
    Fixed("tqc", I::TabKind, 2),
    Fixed("tqdec", I::TabKind, 3),
    Fixed("box", I::Border, 0),
    Fixed("brdrt", I::Border, 1),
    Fixed("brdrl", I::Border, 2),
    Fixed("brdrb", I::Border, 3),
    Fixed("brdrr", I::Border, 4),
    Fixed("brdrdb", I::Border, 5),
    Fixed("brdrdot", I::Border, 6),
    Fixed("brdrtablin", I::Border, 9),
    Fixed("clbrdrt", I::CellBorder, 1),
    Fixed("clbrdrl", I::CellBorder, 2),
    Fixed("clbrdrb", I::CellBorder, 3),
    Fixed("clbrdrr", I::CellBorder, 4),
    Prop("brdrw", I::BorderWidth),
    Prop("brsp", I::BorderSpacing),
    Prop("brdrcf", I::BorderColour),
    Prop("shading", I::Shading),
    Prop("cfpat", I::PatternColour),
    Prop("clcfpat", I::PatternColour),
    Prop("cbpat", I::PatternBackColour),
    Prop("clcbpat", I::PatternBackColour),
    Prop("trowd", I::RowDefinition),
    Prop("trgaph", I::RowGap),
    Prop("trleft", I::RowLeft),
    Prop("cellx", I::CellEdge),
    Prop("clmrg", I::CellMerge),
    Prop("intbl", I::InTable),
    Prop("cell", I::Cell),
    Prop("row", I::Row),
    Dest("colortbl", I::ColourTable),
    Prop("red", I::Red),
    Prop("green", I::Green),
    Prop("blue", I::Blue),
    Prop("paperw", I::PaperWidth, 12240),
    Prop("paperh", I::PaperHeight, 15480),
    Prop("margl", I::MarginLeft, 1800),
    Prop("margr", I::MarginRight, 1800),
    Prop("margt", I::MarginTop, 1440),
    Prop("margb", I::MarginBottom, 1440),
    Fixed("landscape", I::Landscape, 1),
    Fixed("facingp", I::FacingPages, 1),
    Fixed("pgnstart", I::NoEffect, 1),
    Prop("pgnx", I::NoEffect),
    Prop("pgny", I::NoEffect),
    Prop("cols", I::NoEffect, 1),
    Fixed("sbknone", I::NoEffect, 0),
    Fixed("sbkcol", I::NoEffect, 1),
    Fixed("sbkeven", I::NoEffect, 2),
    Fixed("sbkodd", I::NoEffect, 3),
    Fixed("sbkpage", I::NoEffect, 4),
    Fixed("pgndec", I::NoEffect, 1),
    Fixed("pgnucrm", I::NoEffect, 2),
    Fixed("pgnlcrm", I::NoEffect, 3),
    Fixed("pgnucltr", I::NoEffect, 4),
    Fixed("pgnlcltr", I::NoEffect, 5),
    Prop("rtf", I::NoEffect, 1),
    Dest("fonttbl", I::FontTable),
    Dest("title", I::Title),
    Dest("comment", I::Comment),
    Dest("subject", I::Subject),
    Dest("footnote", I::Footnote),
    Prop("wpfnnr", I::FootnoteNumber),
    Dest("field", I::Field),
    Dest("pict", I::Picture),
    Dest("picfile", I::PictureFile),
    Prop("wmetafile", I::Metafile),
    Prop("dibitmap", I::Dib),
    Prop("wbitmap", I::DeviceBitmap),
    Prop("picw", I::PicWidth),
    Prop("pich", I::PicHeight),
    Prop("picwgoal", I::PicGoalWidth),
    Prop("pichgoal", I::PicGoalHeight),
    Prop("wbmbitspixel", I::BitsPixel),
    Fixed("wbmplanes", I::Planes, 1),
    Prop("wbmwidthbytes", I::WidthBytes),
    Prop("picscalex", I::ScaleX, 100),
    Prop("picscaley", I::ScaleY, 100),
    Prop("wpobjtag", I::ObjectTag),
    Prop("wpobjw", I::ObjectWidth),
    Prop("wpobjh", I::ObjectHeight),
    Dest("author", I::Skip),
    Dest("buptim", I::Skip),
    Dest("creatim", I::Skip),
    Dest("doccomm", I::Skip),
    Dest("footer", I::Skip),
    Dest("footerf", I::Skip),
    Dest("footerl", I::Skip),
    Dest("footerr", I::Skip),
    Dest("ftncn", I::Skip),
    Dest("ftnsep", I::Skip),
    Dest("ftnsepc", I::Skip),
    Dest("header", I::Skip),
    Dest("headerf", I::Skip),
    Dest("headerl", I::Skip),
    Dest("headerr", I::Skip),
    Dest("info", I::Skip),
    Dest("keywords", I::Skip),
    Dest("operator", I::Skip),
    Dest("printim", I::Skip),
    Dest("private1", I::Skip),
    Dest("revtim", I::Skip),
    Dest("rxe", I::Skip),
    Dest("stylesheet", I::Skip),
    Dest("tc", I::Skip),
    Dest("delphicontrol", I::Skip),
    Dest("pict", I::Skip),
    Word("bin", K::Special, I::Binary),
    Word("*", K::Special, I::SkipUnknown),
    Word("'", K::Special, I::HexChar),
    Insert("{", '{'),
    Insert("}", '}'),
    Insert("\\", '\\'),
};
static_assert(kKeywords.size() == 154);

// Text other writers send that would otherwise be lost; the cp1252 characters of the symbol
// words, the end of underlining and highlighted text, two border styles and the cell shading
// the program's own writer emits, font families, charsets and code pages, and PNG and JPEG
// pictures.
constexpr std::array kExtraKeywords = {
    Word("u", K::Special, I::Unicode),
    Word("uc", K::Special, I::UnicodeSkip, 1),
    Insert("lquote", 0x91),
    Insert("rquote", 0x92),
    Insert("bullet", 0x95),
    Insert("endash", 0x96),
    Insert("emdash", 0x97),
    Insert("~", 0xA0),
    Insert("_", '-'),
    Insert("-", 0xAD),
    Fixed("ulnone", I::Underline, 0),
    Prop("highlight", I::BackColour, 0), // marked text: a colour-table index, like \cb
    Fixed("brdrhair", I::Border, 7),
    Fixed("brdrbar", I::Border, 8),
    Prop("clshdng", I::Shading),
    Fixed("fnil", I::FontFamily, 0x00),
    Fixed("froman", I::FontFamily, 0x10),
    Fixed("fswiss", I::FontFamily, 0x20),
    Fixed("fmodern", I::FontFamily, 0x30),
    Fixed("fscript", I::FontFamily, 0x40),
    Fixed("fdecor", I::FontFamily, 0x50),
    Prop("charset", I::FontCharset),
    Prop("fcharset", I::FontCharset),
    // The code page of the document's bytes (\'hh and raw) where a font names none.
    Prop("ansicpg", I::DocumentCodePage, 1252),
    // {\upr{ANSI text}{\*\ud{the same as Unicode}}}: the reader takes the Unicode half.
    Dest("upr", I::UnicodePair),
    Dest("ud", I::UnicodeText),
    // A field's result is text of the entry (converters write link text as {\*\fldrslt ...});
    // its instruction is read only to know a hyperlink.
    Dest("fldinst", I::FieldInstruction),
    Dest("fldrslt", I::FieldResult),
    Word("chftn", K::Special, I::AutomaticFootnoteMark),
    // Pictures in their own PNG or JPEG form, and the group that holds them with a metafile
    // stand-in for readers without them.
    Prop("pngblip", I::Png),
    Prop("jpegblip", I::Jpeg),
    Dest("shppict", I::ShapePicture),
    Dest("nonshppict", I::NonShapePicture),
};

// The index of both tables (see RtfKeywordSlot), built at compile time.
struct BuiltIndex {
    std::array<RtfKeywordSlot, kRtfKeywordSlots> slots{};
    bool complete = true; // every name has a key (is at most sixteen bytes long) and a slot
};

constexpr void Add(BuiltIndex& index, const RtfKeyword& keyword)
{
    const RtfWordKey key = MakeRtfWordKey(keyword.name);
    if (key == RtfWordKey{} || keyword.name.size() > kRtfWordKeyLength) {
        index.complete = false;
        return;
    }
    for (size_t at = RtfKeywordSlotOf(key), probes = 0; probes < kRtfKeywordSlots;
         at = (at + 1) % kRtfKeywordSlots, ++probes) {
        RtfKeywordSlot& slot = index.slots[at];
        if (!slot.keyword) {
            slot = {key, &keyword};
            return;
        }
        if (slot.key == key)
            return; // the first entry of a name wins
    }
    index.complete = false;
}

constexpr BuiltIndex BuildIndex()
{
    BuiltIndex built;
    for (const RtfKeyword& keyword : kKeywords)
        Add(built, keyword);
    for (const RtfKeyword& keyword : kExtraKeywords)
        Add(built, keyword);
    return built;
}

constexpr BuiltIndex kIndex = BuildIndex();
static_assert(kIndex.complete, "every keyword needs a key and a slot");

} // namespace

constinit const std::array<RtfKeywordSlot, kRtfKeywordSlots> kRtfKeywordIndex = kIndex.slots;

std::span<const RtfKeyword> RtfKeywordTable() noexcept { return kKeywords; }
std::span<const RtfKeyword> RtfExtraKeywords() noexcept { return kExtraKeywords; }

const RtfKeyword* FindRtfKeyword(std::string_view word) noexcept
{
    // A zero byte would vanish in the key ("b\0" would be "b"); no name holds one.
    if (word.empty() || word.size() > kRtfWordKeyLength || word.find('\0') != std::string_view::npos)
        return nullptr;
    return FindRtfKeyword(MakeRtfWordKey(word));
}

} // namespace quillory::rtf
