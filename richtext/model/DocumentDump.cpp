// Text form of documents for tests: paragraphs | segments | attribute runs.
#include "richtext/model/DocumentDump.h"

#include <cstdio>

namespace quillory {

namespace {

void appendEscaped(std::string& out, std::string_view text)
{
    for (unsigned char c : text) {
        if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\\' || c == '"') {
            out += '\\';
            out += char(c);
        } else if (c < 32 || c > 126) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        } else
            out += char(c);
    }
}

void word(std::string& out, const std::string& text)
{
    if (!out.empty())
        out += ' ';
    out += text;
}

std::string hexByte(unsigned value)
{
    char hex[8];
    std::snprintf(hex, sizeof hex, "%02x", value & 0xFF);
    return hex;
}

std::string properties(const TParagraph& p)
{
    std::string out;
    static const char* const alignments[] = {"ql", "qr", "qc", "qj"};
    if (p.alignment != Alignment::Left)
        word(out, alignments[int(p.alignment) & 3]);
    if (p.leftIndent)
        word(out, "li" + std::to_string(p.leftIndent));
    if (p.firstIndent)
        word(out, "fi" + std::to_string(p.firstIndent));
    if (p.rightIndent)
        word(out, "ri" + std::to_string(p.rightIndent));
    if (p.spaceBefore)
        word(out, "sb" + std::to_string(p.spaceBefore));
    if (p.spaceAfter)
        word(out, "sa" + std::to_string(p.spaceAfter));
    if (p.lineSpacing)
        word(out, "sl" + std::to_string(p.lineSpacing));
    static const struct { std::uint8_t bit; const char* name; } flagNames[] = {
        {ParFlag::PageBreakBefore, "page"}, {ParFlag::TableCell, "cell"},
        {ParFlag::CellNotFirst, "notfirst"}, {ParFlag::MoreCellsFollow, "more"},
        {ParFlag::FromHtml, "html"}, {ParFlag::KeepWithNext, "keep"}};
    for (const auto& flag : flagNames)
        if (p.flags & flag.bit)
            word(out, flag.name);
    if (const auto rest = p.flags & ~(ParFlag::PageBreakBefore | ParFlag::TableCell | ParFlag::CellNotFirst
                                      | ParFlag::MoreCellsFollow | ParFlag::FromHtml | ParFlag::KeepWithNext))
        word(out, "flags" + hexByte(unsigned(rest)));
    const BorderWord& b = p.border;
    if (b.flags || b.extra || b.width || b.spacingColor)
        word(out, "brd" + hexByte(b.flags) + ":" + hexByte(b.extra) + ":" + std::to_string(b.width) + ":"
                      + hexByte(b.spacingColor));
    if (p.shadingColors || p.shadingPercent)
        word(out, "shd" + hexByte(p.shadingColors) + ":" + std::to_string(p.shadingPercent));
    if (p.tabMask) {
        char mask[24];
        std::snprintf(mask, sizeof mask, "tabs%llx", static_cast<unsigned long long>(p.tabMask));
        word(out, mask);
    }
    if (p.cellLeft || p.cellWidth)
        word(out, "cell" + std::to_string(p.cellLeft) + "+" + std::to_string(p.cellWidth));
    return out.empty() ? "-" : out;
}

} // namespace

std::string DumpAttr(const TAttr& a)
{
    std::string out = "f" + std::to_string(a.font);
    if (a.size)
        out += " s" + std::to_string(a.size);
    if (a.textColor())
        out += " c" + std::to_string(a.textColor());
    if (a.backColor())
        out += " bg" + std::to_string(a.backColor());
    static const struct { std::uint8_t bit; const char* name; } styles[] = {
        {AttrStyle::Bold, "b"}, {AttrStyle::Italic, "i"}, {AttrStyle::Underline, "u"},
        {AttrStyle::StrikeOut, "strike"}, {AttrStyle::Hyperlink, "link"},
        {AttrStyle::Superscript, "super"}, {AttrStyle::Subscript, "sub"}, {0x20, "style20"}};
    for (const auto& s : styles)
        if (a.style & s.bit)
            out += std::string(" ") + s.name;
    static const struct { std::uint8_t bit; const char* name; } flags[] = {
        {AttrFlag::Hidden, "hidden"}, {AttrFlag::Protected, "prot"}, {AttrFlag::RtfCode, "code"},
        {AttrFlag::FootnoteAnchor, "fn"}, {AttrFlag::InsertPoint, "ins"}, {AttrFlag::Automatic, "auto"},
        {AttrFlag::Object, "obj"}, {0x80, "flag80"}};
    for (const auto& f : flags)
        if (a.flags & f.bit)
            out += std::string(" ") + f.name;
    if (a.tag)
        out += " #" + std::to_string(a.tag);
    return out;
}

std::string DumpParagraph(const TParagraph& paragraph, DumpSegments segments)
{
    std::string out = properties(paragraph) + " |";
    bool attributes = true;
    if (segments == DumpSegments::Joined)
        out += " \"";
    for (auto* line = paragraph.firstLine(); line; line = line->next()) {
        if (segments == DumpSegments::Separate)
            out += " \"";
        appendEscaped(out, line->view());
        if (segments == DumpSegments::Separate)
            out += '"';
        attributes = attributes && line->hasAttributes();
    }
    if (segments == DumpSegments::Joined)
        out += '"';
    out += " |";
    if (!attributes) {
        out += " plain";
        return out;
    }
    bool first = true;
    const TAttr* current = nullptr;
    int count = 0;
    auto flush = [&] {
        if (!current)
            return;
        out += first ? " " : ", ";
        first = false;
        out += std::to_string(count) + " " + DumpAttr(*current);
    };
    for (auto* line = paragraph.firstLine(); line; line = line->next())
        for (int i = 0; i < line->length(); ++i) {
            const TAttr& attr = line->attrAt(i);
            if (current && *current == attr) {
                ++count;
                continue;
            }
            flush();
            current = &attr;
            count = 1;
        }
    flush();
    return out;
}

std::string DumpDocument(const TWPRTFText& document, DumpSegments segments)
{
    std::string out;
    for (auto* paragraph = document.firstParagraph(); paragraph; paragraph = paragraph->next())
        out += DumpParagraph(*paragraph, segments) + "\n";
    return out;
}

std::string DumpText(const TWPRTFText& document)
{
    std::string out;
    for (auto* paragraph = document.firstParagraph(); paragraph; paragraph = paragraph->next()) {
        appendEscaped(out, paragraph->text());
        out += '\n';
    }
    return out;
}

std::string DumpHeader(const TTextHeader& header)
{
    std::string out = "fonts:";
    for (int i = 0; i < header.fontCount(); ++i) {
        const FontEntry& font = *header.font(i);
        out += " " + std::to_string(i) + "=" + font.name;
        if (font.pitchFamily || font.charset)
            out += "(" + hexByte(font.pitchFamily) + "," + std::to_string(font.charset) + ")";
    }
    out += "\n";
    const auto defaults = TTextHeader::defaultColors();
    for (int i = 0; i < ColorCount; ++i) {
        const RGBColor& c = header.colors[std::size_t(i)];
        if (!(c == defaults[std::size_t(i)]))
            out += "color" + std::to_string(i) + "=" + hexByte(c.red) + hexByte(c.green) + hexByte(c.blue) + "\n";
    }
    for (int index : header.tabOrder()) {
        static const char* const kinds[] = {"left", "right", "center", "decimal", "all"};
        const TabStop& tab = header.tab(index);
        out += "tab" + std::to_string(index) + "=" + std::to_string(tab.position) + " "
             + kinds[std::min<int>(int(tab.kind), 4)] + "\n";
    }
    const TTextHeader fresh;
    auto page = [&](const char* name, int value, int standard) {
        if (value != standard)
            out += std::string(name) + "=" + std::to_string(value) + "\n";
    };
    page("paperw", header.paperWidth, fresh.paperWidth);
    page("paperh", header.paperHeight, fresh.paperHeight);
    page("margl", header.marginLeft, fresh.marginLeft);
    page("margr", header.marginRight, fresh.marginRight);
    page("margt", header.marginTop, fresh.marginTop);
    page("margb", header.marginBottom, fresh.marginBottom);
    if (!header.title.empty())
        out += "title=" + header.title + "\n";
    if (!header.subject.empty())
        out += "subject=" + header.subject + "\n";
    if (!header.comment.empty())
        out += "comment=" + header.comment + "\n";
    return out;
}

std::string DumpSideLists(const TWPRTFText& document)
{
    std::string out;
    for (const auto& object : document.objects()) {
        out += "obj " + std::to_string(object->tag);
        if (object->graphic) {
            static const char* const kinds[] = {"wmf", "ddb", "dib", "png", "jpeg"};
            const TGraphic& g = *object->graphic;
            out += std::string(" ") + kinds[int(g.kind) % 5] + " " + std::to_string(g.bytes.size()) + "B "
                 + std::to_string(g.width) + "x" + std::to_string(g.height);
        } else
            out += " none";
        out += " show" + std::to_string(object->width) + "x" + std::to_string(object->height);
        if (object->isApplicationObject)
            out += " app";
        if (!object->fileName.empty())
            out += " file=" + object->fileName;
        out += "\n";
    }
    for (const auto& footnote : document.footnotes()) {
        out += "fn " + std::to_string(footnote->number) + " mark=";
        appendEscaped(out, std::string_view(&footnote->mark, 1));
        if (footnote->explicitNumber)
            out += " nr=" + std::to_string(footnote->explicitNumber);
        if (footnote->ownMark)
            out += " own";
        out += " \"";
        appendEscaped(out, footnote->rtfText.empty() ? footnote->text : footnote->rtfText);
        out += "\"\n";
    }
    return out;
}

} // namespace quillory
