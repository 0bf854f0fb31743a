// The RTF writer: header, paragraph groups and properties, attribute blocks, text and trailer.
#include "richtext/rtf/RtfWriter.h"

#include "platform/Utf8.h"
#include "richtext/rtf/RtfLexer.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace quillory {

namespace {

constexpr std::uint8_t BorderIdentity = std::uint8_t(~BorderFlag::RunEnds);

// Two border words describe the same border; where a run ends does not count.
bool sameBorder(const BorderWord& a, const BorderWord& b) noexcept
{
    return (a.flags & BorderIdentity) == (b.flags & BorderIdentity) && a.extra == b.extra
        && a.width == b.width && a.spacingColor == b.spacingColor;
}

const char* familyWord(std::uint8_t pitchFamily) noexcept
{
    switch (pitchFamily & 0xF0) {
    case 0x20: return "\\fswiss";
    case 0x30: return "\\fmodern";
    case 0x40: return "\\fscript";
    case 0x50: return "\\fdecor";
    default: return "\\fnil"; // roman too
    }
}

// A character the writer copies unchanged: printable, and not one of RTF's own.
constexpr bool IsPlainRtfChar(unsigned char c) noexcept
{
    return c >= 32 && c <= 126 && c != '\\' && c != '{' && c != '}';
}

// Two runs that one attribute block writes alike.
bool writtenAlike(const TAttr& a, const TAttr& b) noexcept
{
    return a.font == b.font && a.pointSize() == b.pointSize() && a.color == b.color && a.style == b.style
        && a.flags == b.flags && (!a.hasFlag(AttrFlag::InsertPoint) || a.tag == b.tag);
}

bool IsSymbolGlyph(char32_t c) noexcept
{
    return c >= 0xF000 && c <= 0xF0FF;
}

// How many bytes from the start are ASCII, eight at a time while they are.
std::size_t AsciiLength(std::string_view text) noexcept
{
    std::size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
        std::uint64_t x;
        std::memcpy(&x, text.data() + at, 8);
        if (x & 0x8080808080808080ull)
            break;
    }
    while (at < text.size() && static_cast<unsigned char>(text[at]) < 0x80)
        ++at;
    return at;
}

// Whether the text, written under a font of this encoding, holds a character that only \\u can
// write. A byte that is no part of a well-formed character is written as the byte.
bool NeedsUnicode(std::string_view text, const RtfFontEncoding& encoding) noexcept
{
    for (std::size_t at = AsciiLength(text); at < text.size(); at += AsciiLength(text.substr(at))) {
        // U+00A0 to U+00FF, the Latin letters of most Western text: cp1252 holds them all.
        const auto lead = static_cast<unsigned char>(text[at]);
        if (encoding.cp1252() && at + 1 < text.size() && (lead == 0xC3 || (lead == 0xC2 && static_cast<unsigned char>(text[at + 1]) >= 0xA0))
            && IsUtf8Continuation(static_cast<unsigned char>(text[at + 1]))) {
            at += 2;
            continue;
        }
        int length = 1;
        const char32_t c = DecodeUtf8At(text, at, length);
        if (length > 1 && !encoding.ByteOf(c) && !(encoding.symbol() && IsSymbolGlyph(c)))
            return true;
        at += std::size_t(length);
    }
    return false;
}

// Border spacing and cell padding are kept in millimetre steps in a high nibble.
long spacingTwips(std::uint8_t spacingColor) noexcept
{
    return MulDiv(spacingColor & 0xF0, 567, 160);
}

} // namespace

long MulDiv(long a, long b, long c) noexcept
{
    if (c == 0)
        return -1;
    const long long product = static_cast<long long>(a) * b;
    const long long half = (c > 0 ? c : -c) / 2;
    const bool negative = (product < 0) != (c < 0);
    const long long magnitude = ((product < 0 ? -product : product) + half) / (c > 0 ? c : -c);
    return long(negative ? -magnitude : magnitude);
}

TWPRTFWriter::TWPRTFWriter(const TWPRTFText& document) : TWPTextWriter(document), encoding_(&EncodingOfFont(0)) {}

TWPRTFWriter::~TWPRTFWriter() = default;

// --- groups ---------------------------------------------------------------------------------

bool TWPRTFWriter::Push(GroupKind kind)
{
    try {
        Group group = groups_.empty() ? Group{} : groups_.back();
        group.kind = kind;
        groups_.push_back(group);
        return true;
    } catch (const std::bad_alloc&) {
        Fail(WriteResult::OutOfMemory);
        return false;
    }
}

int TWPRTFWriter::FindGroup(GroupKind kind) const noexcept
{
    for (int i = int(groups_.size()) - 1; i >= 1; --i)
        if (groups_[std::size_t(i)].kind == kind)
            return i;
    return -1;
}

void TWPRTFWriter::CloseDownTo(GroupKind kind)
{
    const int at = FindGroup(kind);
    if (at < 1)
        return;
    while (int(groups_.size()) > at) {
        groups_.pop_back();
        Emit('}');
    }
}

void TWPRTFWriter::FlushWithBlank()
{
    if (pending())
        Emit(' ');
    Flush();
}

void TWPRTFWriter::EmitNumbered(const char* word, long value)
{
    Emit(word);
    EmitNumber(value);
}

// --- header ---------------------------------------------------------------------------------

void TWPRTFWriter::EscapeInto(std::string_view text)
{
    for (std::size_t at = 0; at < text.size();) {
        const auto c = static_cast<unsigned char>(text[at]);
        if (c >= 0x80) {
            at += EmitCharacterAt(text, at);
            continue;
        }
        if (c == '\\' || c == '{' || c == '}') {
            Emit('\\');
            Emit(char(c));
        } else if (c < 32 || c > 126) {
            EmitHexByte(c);
        } else
            Emit(char(c));
        ++at;
    }
}

void TWPRTFWriter::EmitHexByte(unsigned char byte)
{
    static constexpr char hex[] = "0123456789abcdef";
    const char escaped[] = {'\\', '\'', hex[byte >> 4], hex[byte & 15]};
    Emit(std::string_view(escaped, 4));
}

// A character from U+0080 on: the byte of the font's code page where it has one (of cp1252 for
// most fonts, as the writer always wrote it); else \\u with the signed 16-bit value and a '?'
// for readers that do not know \\u, two of them (a surrogate pair) beyond U+FFFF.
std::size_t TWPRTFWriter::EmitCharacterAt(std::string_view text, std::size_t at)
{
    int length = 1;
    const char32_t c = DecodeUtf8At(text, at, length);
    if (length == 1) {
        // A stray byte, no part of a character: kept as it is.
        EmitHexByte(static_cast<unsigned char>(text[at]));
        return 1;
    }
    // A symbol font's glyphs may come as U+F000 + byte (as other programs write them): the byte.
    if (encoding_->symbol() && IsSymbolGlyph(c)) {
        const auto byte = static_cast<unsigned char>(c - 0xF000);
        if (byte >= 0x7F || (codeRunOpen_ && (byte < 32 || byte == '\\')))
            EmitHexByte(byte);
        else if (codeRunOpen_)
            Emit(char(byte));
        else {
            const char plain = char(byte);
            WriteText(&plain, 1);
        }
        return std::size_t(length);
    }
    if (const auto byte = encoding_->ByteOf(c)) {
        EmitHexByte(*byte);
        return std::size_t(length);
    }
    const auto emitUnit = [this](char32_t unit) {
        Emit("\\u");
        EmitNumber(unit < 0x8000 ? long(unit) : long(unit) - 0x10000);
        Emit('?');
    };
    if (c > 0xFFFF) {
        emitUnit(HighSurrogate(c));
        emitUnit(LowSurrogate(c));
    } else {
        emitUnit(c);
    }
    return std::size_t(length);
}

const RtfFontEncoding& TWPRTFWriter::EncodingOfFont(int index) const
{
    const std::size_t slot = std::size_t(std::clamp(index, 0, 255));
    if (const RtfFontEncoding* known = fontEncodings_[slot])
        return *known;
    const FontEntry* font = document_.header().font(index);
    const int charset = font ? font->charset : 0;
    auto& encoding = encodings_[std::uint8_t(charset)];
    if (!encoding)
        encoding = std::make_unique<RtfFontEncoding>(charset);
    fontEncodings_[slot] = encoding.get();
    return *encoding;
}

bool TWPRTFWriter::DocumentNeedsUnicode() const
{
    const TTextHeader& header = document_.header();
    for (int i = 0; i < header.fontCount(); ++i)
        if (const FontEntry* font = header.font(i); font && NeedsUnicode(font->name, EncodingOfFont(i)))
            return true;
    const RtfFontEncoding& first = EncodingOfFont(0);
    if (NeedsUnicode(header.title, first) || NeedsUnicode(header.subject, first) || NeedsUnicode(header.comment, first))
        return true;
    for (const auto& footnote : document_.footnotes())
        if (footnote && NeedsUnicode(footnote->text, EncodingOfFont(FootnoteFont)))
            return true;
    // A picture's name is written under the font of its place; cp1252's is the usual one.
    for (const auto& object : document_.objects())
        if (object && NeedsUnicode(object->fileName, EncodingOfFont(0)))
            return true;
    // Where every font writes cp1252, a line that cp1252 holds needs no look at its runs.
    bool allCp1252 = true;
    for (int i = 0; i < header.fontCount() && allCp1252; ++i)
        allCp1252 = EncodingOfFont(i).cp1252();
    const RtfFontEncoding cp1252(0);
    bool needed = false;
    for (const TParagraph* p = firstParagraph_; p && !needed; p = p->next()) {
        for (const TTextLine* line = p->firstLine(); line && !needed; line = line->next()) {
            const std::string_view text(line->text(), std::size_t(line->length()));
            if (AsciiLength(text) == text.size() || (allCp1252 && !NeedsUnicode(text, cp1252)))
                continue;
            if (!line->hasAttributes() || document_.isPlainText()) {
                needed = NeedsUnicode(text, first);
                continue;
            }
            line->forEachAttrRun(0, line->length(), [&](int from, int to, const TAttr& attr) {
                needed = needed || NeedsUnicode(text.substr(std::size_t(from), std::size_t(to - from)), EncodingOfFont(attr.font));
            });
        }
        if (p == lastParagraph_)
            break;
    }
    return needed;
}

int TWPRTFWriter::WriteHeader(TWPOutputStream& stream)
{
    TWPTextWriter::WriteHeader(stream);
    const TTextHeader& header = document_.header();
    // \\uc1 only where a character needs \\u: a document that cp1252 holds is written as always.
    Emit(DocumentNeedsUnicode() ? "{\\rtf1\\ansi\\uc1\\deff0\\deftab720{\\fonttbl" : "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl");
    const int fonts = document_.isPlainText() ? std::min(1, header.fontCount()) : header.fontCount();
    for (int i = 0; i < fonts; ++i) {
        const FontEntry& font = *header.font(i);
        if (font.name.empty())
            break;
        EmitNumbered("{\\f", i);
        Emit(familyWord(font.pitchFamily));
        EmitNumbered("\\charset", font.charset);
        Emit(' ');
        // Readers decode a font's name in the font's own code page.
        encoding_ = &EncodingOfFont(i);
        EscapeInto(font.name);
        Emit(";}");
    }
    // After the table the text is in font 0 until a run names another.
    encoding_ = &EncodingOfFont(0);
    Emit("}{\\colortbl");
    // Colour 15 exists in the model but the table has always had 15 entries.
    for (int i = 0; i < ColorCount - 1; ++i) {
        const RGBColor& c = header.colors[std::size_t(i)];
        EmitNumbered("\\red", c.red);
        EmitNumbered("\\green", c.green);
        EmitNumbered("\\blue", c.blue);
        Emit(';');
    }
    Emit('}');
    Flush();
    EmitNumbered("\\paperw", header.paperWidth);
    EmitNumbered("\\paperh", header.paperHeight);
    EmitNumbered("\\margl", header.marginLeft);
    EmitNumbered("\\margr", header.marginRight);
    EmitNumbered("\\margt", header.marginTop);
    EmitNumbered("\\margb", header.marginBottom);
    Flush();
    // The information texts are escaped like text: a brace in a title must not end the group.
    if (!header.title.empty()) {
        Emit("{\\title ");
        EscapeInto(header.title);
        Emit('}');
    }
    if (!header.subject.empty()) {
        Emit("{\\subject\t");
        EscapeInto(header.subject);
        Emit('}');
    }
    if (!header.comment.empty()) {
        Emit("{\\comment\t");
        EscapeInto(header.comment);
        Emit('}');
    }
    return Flush();
}

// --- paragraphs -----------------------------------------------------------------------------

void TWPRTFWriter::EmitTabs(std::uint64_t mask)
{
    const TTextHeader& header = document_.header();
    for (int i = 0; i < TabCount; ++i) {
        if (!((mask >> i) & 1))
            continue;
        const TabStop& tab = header.tab(i);
        switch (tab.kind) {
        case TTabKind::tkRight: Emit("\\tqr"); break;
        case TTabKind::tkCenter: Emit("\\tqc"); break;
        case TTabKind::tkDecimal: Emit("\\tqdec"); break;
        default: break;
        }
        EmitNumbered("\\tx", tab.position);
    }
}

void TWPRTFWriter::EmitBorderStyle(const BorderWord& border)
{
    Emit(border.flags & BorderFlag::Double ? "\\brdrdb" : "\\brdrs");
}

// A double border without sides still says so: the style word is what makes it a border.
void TWPRTFWriter::EmitStyleWithoutSides(const BorderWord& border, bool anySide)
{
    if (!anySide && (border.flags & BorderFlag::Double))
        Emit("\\brdrdb");
}

// Closes the groups whose state no longer holds for paragraph p.
void TWPRTFWriter::CloseGroupsFor(const TParagraph& p)
{
    const bool cell = p.isTableCell();
    if (const int border = FindGroup(GroupKind::Border); border >= 0) {
        const bool endedRun = previous_ && (previous_->border.flags & BorderFlag::RunEnds);
        const bool tableStarts = cell && Top().kind != GroupKind::TableRow;
        // A different border also closes the group: a group opened inside it would add its
        // sides to the ones in force.
        if (!p.border.present() || endedRun || tableStarts
            || !sameBorder(groups_[std::size_t(border)].border, p.border))
            CloseDownTo(GroupKind::Border);
    }
    // Every row gets its own group and definition: the reader forgets a row's definition at \row.
    if (Top().kind == GroupKind::TableRow && (!cell || !p.hasFlag(ParFlag::CellNotFirst))) {
        CloseDownTo(GroupKind::TableRow);
        rowCells_ = 0;
    }
    if (const int tabs = FindGroup(GroupKind::Tabs);
        tabs >= 0 && Top().kind != GroupKind::TableRow && groups_[std::size_t(tabs)].tabMask != p.tabMask)
        CloseDownTo(GroupKind::Tabs);
}

void TWPRTFWriter::StartTableRow(const TParagraph& p)
{
    if (!Push(GroupKind::TableRow))
        return;
    // \pard resets the reader's paragraph state except the spacing.
    Group& row = Top();
    const Group below = row;
    row = Group{};
    row.kind = GroupKind::TableRow;
    row.spaceBefore = below.spaceBefore;
    row.spaceAfter = below.spaceAfter;
    row.lineSpacing = below.lineSpacing;

    EmitNumbered("{\\pard\\trowd\\trgaph", spacingTwips(p.border.spacingColor));
    EmitNumbered("\\trleft", p.leftIndent);
    const long usable = document_.header().usableWidthTwips() - p.rightIndent;
    int sum = p.cellLeft;
    rowCells_ = 0;
    for (const TParagraph* cell = &p; cell && cell->isTableCell() && rowCells_ < MaxRowCells;
         cell = cell->next()) {
        if (cell != &p && !cell->hasFlag(ParFlag::CellNotFirst))
            break; // the next row begins
        const BorderWord& border = cell->border;
        if (border.present()) {
            const bool box = border.flags & BorderFlag::Box;
            static const struct { std::uint8_t bit; const char* word; } sides[] = {
                {BorderFlag::Top, "\\clbrdrt"}, {BorderFlag::Bottom, "\\clbrdrb"},
                {BorderFlag::Left, "\\clbrdrl"}, {BorderFlag::Right, "\\clbrdrr"}};
            bool anySide = false;
            for (const auto& side : sides)
                if (box || (border.flags & side.bit)) {
                    Emit(side.word);
                    EmitBorderStyle(border);
                    anySide = true;
                }
            EmitStyleWithoutSides(border, anySide);
            EmitNumbered("\\brdrw", border.width * 20);
            if (border.colorIndex())
                EmitNumbered("\\brdrcf", border.colorIndex());
            if (border.extra & BorderExtra::Dotted)
                Emit("\\brdrdot");
            if (border.extra & BorderExtra::Hairline)
                Emit("\\brdrhair");
        }
        if (cell->shadingColors || cell->shadingPercent) {
            EmitNumbered("\\clshdng", cell->shadingPercent * 100);
            EmitNumbered("\\clcfpat", cell->patternColor());
            if (cell->shadingPercent != 100)
                EmitNumbered("\\clcbpat", cell->backgroundColor());
        }
        // The left edges follow from the widths: layout's copy of them may be stale or unset.
        const int left = sum;
        sum += cell->cellWidth;
        // Cut, not rounded: the reader rounds up and so gets the fractions back. A row never
        // reaches past its width, even when its cells' fractions add up to more.
        EmitNumbered("\\cellx", usable * std::min(left + cell->cellWidth, 255) / 255 + p.leftIndent);
        row_[std::size_t(rowCells_++)] = {border, cell->shadingColors, cell->shadingPercent,
                                          std::uint8_t(left), cell->cellWidth, cell->spaceBefore};
        if (!cell->hasFlag(ParFlag::MoreCellsFollow))
            break;
    }
    // Cells that leave the end of their row empty: the reader measures cells against the
    // farthest edge it is given, so a cell that is never filled marks where the row ends.
    if (sum < 255 && rowCells_ < MaxRowCells)
        EmitNumbered("\\cellx", usable + p.leftIndent);
    Emit("\\intbl");
}

void TWPRTFWriter::OpenBorderGroup(const TParagraph& p)
{
    if (!Push(GroupKind::Border))
        return;
    const BorderWord& border = p.border;
    Top().border = border;
    Emit('{');
    static const struct { std::uint8_t bit; const char* word; } sides[] = {
        {BorderFlag::Box, "\\box"}, {BorderFlag::Top, "\\brdrt"}, {BorderFlag::Bottom, "\\brdrb"},
        {BorderFlag::Left, "\\brdrl"}, {BorderFlag::Right, "\\brdrr"}};
    bool anySide = false;
    for (const auto& side : sides)
        if (border.flags & side.bit) {
            Emit(side.word);
            EmitBorderStyle(border);
            anySide = true;
        }
    EmitStyleWithoutSides(border, anySide);
    if (border.extra & BorderExtra::Bar)
        Emit("\\brdrbar");
    if (border.extra & BorderExtra::TabLine)
        Emit("\\brdrtablin");
    EmitNumbered("\\brdrw", border.width * 20);
    if (border.spacingColor) {
        EmitNumbered("\\brsp", spacingTwips(border.spacingColor));
        EmitNumbered("\\brdrcf", border.colorIndex());
    }
    if (border.extra & BorderExtra::Dotted)
        Emit("\\brdrdot");
    if (border.extra & BorderExtra::Hairline)
        Emit("\\brdrhair");
}

int TWPRTFWriter::StartParagraph()
{
    const TParagraph& p = *paragraph_;
    const bool cell = p.isTableCell();
    if (groups_.empty()) {
        if (!Push(GroupKind::Document))
            return result_;
        Emit('{');
    }
    const std::size_t open = groups_.size();
    CloseGroupsFor(p);
    if (groups_.size() < open)
        closedAfterEnd_ = true;
    runWritten_ = false;
    Flush();
    if (p.hasFlag(ParFlag::PageBreakBefore))
        Emit("\\page");

    if (cell) {
        if (Top().kind != GroupKind::TableRow) {
            StartTableRow(p);
        } else if (p.tabMask == 0 && Top().tabMask != 0) {
            // Tab stops carry over from cell to cell; only \pard clears them.
            Emit("\\pard\\intbl");
            Top().alignment = Alignment::Left;
        } else {
            Emit("\\intbl");
        }
        EmitTabs(p.tabMask);
        Top().tabMask = p.tabMask;
    } else {
        if (p.border.present() && FindGroup(GroupKind::Border) < 0)
            OpenBorderGroup(p);
        if (p.hasFlag(ParFlag::KeepWithNext))
            Emit("\\keep");
        FlushWithBlank();
        if (p.tabMask != Top().tabMask && Push(GroupKind::Tabs)) {
            Top().tabMask = p.tabMask;
            Emit('{');
            EmitTabs(p.tabMask);
        }
    }
    if (result_ != WriteResult::Ok)
        return result_;

    Group& group = Top();
    if (p.alignment != group.alignment) {
        static const char* const words[] = {"\\ql", "\\qr", "\\qc", "\\qj"};
        Emit(words[int(p.alignment) & 3]);
        group.alignment = p.alignment;
    }
    if (!cell && (p.leftIndent != group.leftIndent || p.firstIndent != group.firstIndent
                  || p.rightIndent != group.rightIndent)) {
        EmitNumbered("\\li", p.leftIndent);
        EmitNumbered("\\fi", long(p.firstIndent) - p.leftIndent);
        EmitNumbered("\\ri", p.rightIndent);
        group.leftIndent = p.leftIndent;
        group.firstIndent = p.firstIndent;
        group.rightIndent = p.rightIndent;
    }
    // In a cell the space after carries the padding (the space before) again.
    const std::int32_t after = cell ? p.spaceBefore : p.spaceAfter;
    if (cell || p.spaceBefore != group.spaceBefore || after != group.spaceAfter
        || p.lineSpacing != group.lineSpacing) {
        EmitNumbered("\\sb", p.spaceBefore);
        Emit("\\sl");
        if (p.lineSpacing)
            EmitNumber(p.lineSpacing);
        EmitNumbered("\\sa", after);
        group.spaceBefore = p.spaceBefore;
        group.spaceAfter = after;
        group.lineSpacing = p.lineSpacing;
    }
    FlushWithBlank();

    // The shading group holds nothing but the shading and the paragraph's text, so that closing
    // it at the paragraph end undoes no other state. A percent alone is shading too: black.
    // No percent is written \shading1, which reads back as none, also beside a pattern colour:
    // no pattern shows then, and written as full (as the stored format once did) it would show
    // the pattern colour solid after the next load.
    if (!cell && (p.shadingColors || p.shadingPercent)) {
        Emit('{');
        if (p.shadingPercent)
            EmitNumbered("\\shading", p.shadingPercent * 100);
        else
            Emit("\\shading1");
        EmitNumbered("\\cfpat", p.patternColor());
        // At 100 percent no background shows.
        if (p.shadingPercent != 100)
            EmitNumbered("\\cbpat", p.backgroundColor());
        FlushWithBlank();
        shadingOpen_ = true;
    }
    return result_;
}

int TWPRTFWriter::EndParagraph()
{
    const TParagraph& p = *paragraph_;
    closedAfterEnd_ = false;
    // A code run ends with its paragraph, so that the paragraph end is read as RTF again.
    CloseCodeRun();
    if (p.isTableCell()) {
        Emit("\\cell");
        // The cell that ends a row ends it with \row, also in a row of one cell.
        if (!p.hasFlag(ParFlag::MoreCellsFollow))
            Emit("\\row");
        Emit("\n\r");
    } else if (lastRunHidden_) {
        Emit("\\plain\\par\n\r");
        lastRunHidden_ = false;
    } else
        Emit("\\par\n\r");
    if (shadingOpen_) {
        Emit('}');
        shadingOpen_ = false;
        closedAfterEnd_ = true;
    }
    return Flush();
}

// --- characters -----------------------------------------------------------------------------

int TWPRTFWriter::WriteAttributes(const TAttr& attr)
{
    // Objects and footnotes are written as RTF of their own, which a code run would swallow.
    const bool code = attr.hasFlag(AttrFlag::RtfCode)
                   && !attr.hasFlag(AttrFlag::Object) && !attr.hasFlag(AttrFlag::FootnoteAnchor);
    // A code run goes on while the runs are written alike; another font or style inside it would
    // be read as code, so it ends and the next run has a block of its own.
    if (codeRunOpen_ && code && writtenAlike(attr, codeAttr_))
        return result_;
    CloseCodeRun();
    Flush();
    runWritten_ = true;
    encoding_ = &EncodingOfFont(attr.font);
    EmitNumbered("\\plain\\f", attr.font);
    EmitNumbered("\\fs", attr.size ? attr.size * 2 : 20);
    EmitNumbered("\\cf", attr.textColor());
    if (attr.color > 15)
        EmitNumbered("\\cb", attr.backColor());
    if (attr.hasStyle(AttrStyle::Bold))
        Emit("\\b");
    if (attr.hasStyle(AttrStyle::Underline))
        Emit("\\ul");
    if (attr.hasStyle(AttrStyle::Hyperlink))
        Emit("\\uldb");
    // A footnote mark is written inside a superscript group and read back superscript.
    if (attr.hasStyle(AttrStyle::Superscript) || attr.hasFlag(AttrFlag::FootnoteAnchor))
        Emit("\\super");
    if (attr.hasStyle(AttrStyle::Subscript))
        Emit("\\sub");
    if (attr.hasStyle(AttrStyle::Italic))
        Emit("\\i");
    if (attr.hasStyle(AttrStyle::StrikeOut))
        Emit("\\strike");
    if (attr.hasFlag(AttrFlag::Protected)
        && !(options.forClipboard && (document_.protectedProp & ProtectProp::ppDontCopyProtectedAttribute)))
        Emit("\\shad");
    lastRunHidden_ = attr.hasFlag(AttrFlag::Hidden);
    if (lastRunHidden_)
        Emit("\\v");
    if (attr.hasFlag(AttrFlag::InsertPoint) && !options.omitInsertPoints)
        EmitNumbered("\\inspnt", attr.tag);
    if (attr.hasFlag(AttrFlag::Automatic) && !options.omitAutomaticText)
        Emit("\\inaut");
    // Last in the block: everything after \wprtf1 is read as the user's RTF source.
    if (code) {
        Emit("\\wprtf1");
        codeRunOpen_ = true;
        codeAttr_ = attr;
    }
    Emit(' ');
    return Flush();
}

int TWPRTFWriter::WriteText(const char* text, int count)
{
    const std::string_view all(text, std::size_t(std::max(count, 0)));
    if (codeRunOpen_) {
        codeText_ += all;
        return result_;
    }
    for (std::size_t i = 0; i < all.size() && result_ == WriteResult::Ok;) {
        // Characters that stand for themselves go out together.
        std::size_t plain = i;
        while (plain < all.size() && IsPlainRtfChar(static_cast<unsigned char>(all[plain])))
            ++plain;
        if (plain > i) {
            Emit(all.substr(i, plain - i));
            i = plain;
            continue;
        }
        const unsigned char c = static_cast<unsigned char>(all[i]);
        if (c >= 0x80) {
            i += EmitCharacterAt(all, i);
            continue;
        }
        ++i;
        if (c == '\\' || c == '{' || c == '}') {
            Emit('\\');
            Emit(char(c));
        } else if (c == CharCode::Tab) {
            Emit("\\tab ");
        } else if (c >= 32 && c <= 126) {
            Emit(char(c));
        } else if (c == CharCode::SoftBreak) {
            Emit("\\line ");
        } else if (c <= CharCode::Reserved) {
            // placeholders: their objects and footnotes are written by WriteObject/WriteFootnote
        } else {
            EmitHexByte(c);
        }
    }
    return result_;
}

void TWPRTFWriter::CloseCodeRun()
{
    if (!codeRunOpen_)
        return;
    EmitCodeText(codeText_);
    codeText_.clear();
    Emit("\\wprtf0");
    codeRunOpen_ = false;
}

// The user's RTF source goes out as it is, so that other readers take it as RTF, except what
// would not read back as the same text: TAB, the soft break, control bytes and characters from
// 127 on are escaped as in other text, and a backslash that the reader of a code run would
// take for an escape or for the run's end is written \'5c (a backslash that ends the text is
// followed by the writer's \wprtf0, which begins no escape with it).
void TWPRTFWriter::EmitCodeText(std::string_view text)
{
    const auto bytes = [text](std::size_t from) {
        return std::span(reinterpret_cast<const std::uint8_t*>(text.data()) + from, text.size() - from);
    };
    for (std::size_t i = 0; i < text.size() && result_ == WriteResult::Ok;) {
        std::size_t plain = i;
        while (plain < text.size() && IsPlainRtfChar(static_cast<unsigned char>(text[plain])))
            ++plain;
        if (plain > i) {
            Emit(text.substr(i, plain - i));
            i = plain;
            continue;
        }
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            i += EmitCharacterAt(text, i);
            continue;
        }
        if (c == '\\' && rtf::RtfLexer::CodeRunEscapeAt(bytes(i)).kind != rtf::RtfCodeRunEscape::Kind::None)
            EmitHexByte(c);
        else if (c == '\\' || c == '{' || c == '}')
            Emit(char(c));
        else if (c == CharCode::Tab)
            Emit("\\tab ");
        else if (c == CharCode::SoftBreak)
            Emit("\\line ");
        else if (c > CharCode::Reserved)
            EmitHexByte(c);
        ++i;
    }
}

// --- trailer --------------------------------------------------------------------------------

int TWPRTFWriter::WriteTrailer()
{
    // An empty last paragraph has nothing of its own before the closing braces. Where groups
    // close there, a reader could not tell its properties from those of the groups, nor a
    // border around it from the end of a border run: an attribute block stands in for its text.
    if (paragraph_ && !runWritten_ && !paragraph_->isTableCell() && (closedAfterEnd_ || groups_.size() > 1))
        WriteAttributes(TAttr{});
    CloseCodeRun();
    if (shadingOpen_) {
        Emit('}');
        shadingOpen_ = false;
    }
    while (!groups_.empty()) {
        groups_.pop_back();
        Emit('}');
    }
    if (Flush() != WriteResult::Ok)
        return result_;
    return Put("\r\n}");
}

std::string WriteRtf(const TWPRTFText& document, const WriterOptions& options, int* result)
{
    TWPStringStream stream;
    TWPRTFWriter writer(document);
    writer.options = options;
    const int code = writer.Write(stream);
    if (result)
        *result = code;
    return stream.take();
}

} // namespace quillory
