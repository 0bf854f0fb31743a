// The HTML writer; see HtmlWriter.h. Tags are opened outermost first: the link, then FONT, then
// the style tags, and all of them are closed whenever a run's attributes change.
#include "richtext/html/HtmlWriter.h"

#include "platform/Cp1252.h"
#include "platform/Utf8.h"
#include "richtext/html/HtmlPictures.h"
#include "richtext/html/HtmlStyle.h"

#include <cstdio>

namespace quillory {
namespace {

using namespace html;

constexpr int kTwipsPerPixel = 15;

constexpr const char* kAlignNames[] = {"LEFT", "RIGHT", "CENTER", "JUSTIFIED"};

const char* AlignName(Alignment alignment) noexcept
{
    return kAlignNames[static_cast<int>(alignment) & 3];
}

// The attributes that decide the tags of a run (the link is handled apart).
bool SameLook(const TAttr& a, const TAttr& b) noexcept
{
    constexpr std::uint8_t kLinkBit = AttrStyle::Hyperlink;
    return a.font == b.font && a.size == b.size && a.color == b.color
        && (a.style & ~kLinkBit) == (b.style & ~kLinkBit);
}

bool IsRule(const TParagraph& paragraph) noexcept
{
    return paragraph.length() == 0 && paragraph.border.flags == (BorderFlag::Present | BorderFlag::Bottom);
}

// The markup characters as entities; every other character as it is, in UTF-8. Control codes
// (the object placeholders among them) are no text of the page.
const char* MarkupEntity(unsigned char c) noexcept
{
    switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '"': return "&quot;";
    default: return nullptr;
    }
}

// Appends the character that starts at `at` (from U+0080 on) and returns its length. A byte
// that is no part of a character goes out as the cp1252 character it was, so the page is UTF-8.
std::size_t AppendCharacterAt(std::string& out, std::string_view text, std::size_t at)
{
    int length = 1;
    DecodeUtf8At(text, at, length);
    if (length == 1)
        AppendUtf8(out, Cp1252ToUnicode(static_cast<unsigned char>(text[at])));
    else
        out.append(text.substr(at, std::size_t(length)));
    return std::size_t(length);
}

std::string Escaped(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const auto c = static_cast<unsigned char>(text[at]);
        if (c >= 0x80) {
            at += AppendCharacterAt(out, text, at);
            continue;
        }
        if (const char* entity = MarkupEntity(c))
            out += entity;
        else if (c >= 0x20)
            out += static_cast<char>(c);
        ++at;
    }
    return out;
}

} // namespace

TWPHTMLWriter::TWPHTMLWriter(const TWPRTFText& document) : TWPTextWriter(document) {}

int TWPHTMLWriter::WriteHeader(TWPOutputStream& stream)
{
    TWPTextWriter::WriteHeader(stream);
    const TTextHeader& header = document_.header();
    Emit("<html>\r\n<meta charset=\"utf-8\">\r\n<title>");
    Emit(Escaped(header.title));
    Emit("</title>\r\n<BASEFONT FACE=\"");
    Emit(Escaped(header.font(0) ? header.font(0)->name : std::string("Arial")));
    Emit("\" COLOR=");
    Emit(ColorText(header.colors[0]));
    Emit(">\r\n");
    return Flush();
}

int TWPHTMLWriter::StartParagraph()
{
    const TParagraph& p = *paragraph_;
    lastShown_ = 0;
    if (p.isTableCell()) {
        if (!tableOpen_) {
            Emit(p.border.present() ? "<table BORDER>\r\n" : "<table>\r\n");
            tableOpen_ = true;
        }
        if (rowOpen_ && !p.hasFlag(ParFlag::CellNotFirst)) {
            Emit("</tr>\r\n");
            rowOpen_ = false;
        }
        if (!rowOpen_) {
            Emit("<tr>");
            rowOpen_ = true;
        }
        Emit("<td");
        if (p.cellWidth > 0) {
            char width[32];
            std::snprintf(width, sizeof width, " WIDTH=\"%.2f%%\"", p.cellWidth * 100.0 / 255.0);
            Emit(width);
        }
        Emit(" ALIGN=\"");
        Emit(AlignName(p.alignment));
        Emit("\">");
        block_ = Block::Cell;
        return result_;
    }
    CloseTable();
    if (IsRule(p)) {
        Emit("<hr>");
        block_ = Block::Rule;
        return result_;
    }
    if (p.border.present()) {
        Emit("<table BORDER><td>");
        block_ = Block::BorderBox;
    } else {
        block_ = Block::Paragraph;
    }
    Emit("<p ALIGN=\"");
    Emit(AlignName(p.alignment));
    Emit("\">");
    return result_;
}

void TWPHTMLWriter::CloseTable()
{
    if (rowOpen_)
        Emit("</tr>\r\n");
    if (tableOpen_)
        Emit("</table>\r\n");
    rowOpen_ = false;
    tableOpen_ = false;
}

void TWPHTMLWriter::CloseRun()
{
    if (runOpen_)
        Emit(runClose_);
    runClose_.clear();
    runOpen_ = false;
}

void TWPHTMLWriter::CloseLink()
{
    CloseRun();
    if (linkOpen_)
        Emit("</A>");
    linkOpen_ = false;
}

// Ends the block of the paragraph being written. A block that shows nothing, or ends with a
// line break, gets one more <br>: a browser (and our reader) shows no line for the last <br>.
void TWPHTMLWriter::CloseBlock()
{
    CloseLink();
    if (block_ == Block::None)
        return;
    if (block_ != Block::Rule && (lastShown_ == 0 || lastShown_ == CharCode::SoftBreak))
        Emit("<br>");
    switch (block_) {
    case Block::Cell:
        Emit("</td>");
        if (!paragraph_->hasFlag(ParFlag::MoreCellsFollow)) {
            Emit("</tr>\r\n");
            rowOpen_ = false;
        }
        break;
    case Block::BorderBox:
        Emit("</p></td></table>\r\n");
        break;
    case Block::Paragraph:
        Emit("</p>\r\n");
        break;
    case Block::Rule:
        Emit("\r\n");
        break;
    case Block::None:
        break;
    }
    block_ = Block::None;
    linkTarget_.clear();
}

int TWPHTMLWriter::EndParagraph()
{
    CloseBlock();
    return result_;
}

void TWPHTMLWriter::OpenRun(const TAttr& attr)
{
    const TTextHeader& header = document_.header();
    std::string open;
    std::string close;
    std::string font;
    if (attr.font != 0 && header.font(attr.font))
        font += " FACE=\"" + Escaped(header.font(attr.font)->name) + "\"";
    if (attr.size != 0) {
        font += " SIZE=" + std::to_string(HtmlFontSize(attr.size)) + " STYLE=\"font-size:"
              + std::to_string(attr.size) + "pt\"";
    }
    if (attr.textColor() != 0)
        font += " COLOR=" + ColorText(header.colors[std::size_t(attr.textColor())]);
    if (attr.backColor() != 0)
        font += " BGCOLOR=" + ColorText(header.colors[std::size_t(attr.backColor())]);
    if (!font.empty()) {
        open += "<FONT" + font + ">";
        close = "</FONT>";
    }
    static constexpr struct {
        std::uint8_t bit;
        const char* tag;
    } kStyleTags[] = {
        {AttrStyle::Bold, "b"},        {AttrStyle::Italic, "i"},       {AttrStyle::Underline, "u"},
        {AttrStyle::StrikeOut, "s"},   {AttrStyle::Superscript, "sup"}, {AttrStyle::Subscript, "sub"},
    };
    for (const auto& style : kStyleTags) {
        if (attr.hasStyle(style.bit)) {
            open += std::string("<") + style.tag + ">";
            close = std::string("</") + style.tag + ">" + close;
        }
    }
    Emit(open);
    runClose_ = close;
    runAttr_ = attr;
    runOpen_ = true;
}

int TWPHTMLWriter::WriteAttributes(const TAttr& attr)
{
    const bool hidden = attr.hasFlag(AttrFlag::Hidden);
    const bool link = attr.hasStyle(AttrStyle::Hyperlink);
    captureTarget_ = hidden && link;
    skipText_ = hidden;
    if (hidden)
        return result_;
    if (!link && linkOpen_)
        CloseLink();
    if (link && !linkOpen_) {
        CloseRun();
        const std::string target = linkTarget_.empty() ? LinkTextAhead() : linkTarget_;
        linkTarget_.clear();
        Emit("<A HREF=\"");
        Emit(Escaped(target));
        Emit("\">");
        linkOpen_ = true;
    }
    if (runOpen_ && !SameLook(runAttr_, attr))
        CloseRun();
    if (!runOpen_)
        OpenRun(attr);
    return result_;
}

// The shown text of the link that starts at the current character, for a link that has no
// hidden target in front of it.
std::string TWPHTMLWriter::LinkTextAhead() const
{
    std::string text;
    int index = index_;
    for (const TTextLine* line = line_; line; line = line->next(), index = 0) {
        for (; index < line->length(); ++index) {
            const TAttr& attr = line->attrAt(index);
            if (!attr.hasStyle(AttrStyle::Hyperlink) || attr.hasFlag(AttrFlag::Hidden))
                return text;
            if (line->code(index) >= 0x20)
                text += static_cast<char>(line->code(index));
        }
    }
    return text;
}

bool TWPHTMLWriter::IsLastVisibleCharacter(int index) const
{
    return line_ && index + 1 >= line_->length() && !line_->next();
}

void TWPHTMLWriter::EmitEscaped(unsigned char c, bool lastOfParagraph)
{
    switch (c) {
    case CharCode::Tab:
        Emit("&#9;");
        break;
    case CharCode::SoftBreak:
        Emit("<br>");
        break;
    case ' ':
        // HTML folds blanks together and drops them at line starts and ends; those keep theirs.
        if (lastShown_ == 0 || lastShown_ == ' ' || lastShown_ == CharCode::Tab
            || lastShown_ == CharCode::SoftBreak || lastOfParagraph)
            Emit("&#32;");
        else
            Emit(' ');
        break;
    default:
        if (c < 0x20)
            return; // placeholders of objects and footnotes, written by their own slots
        if (const char* entity = MarkupEntity(c))
            Emit(entity);
        else
            Emit(static_cast<char>(c));
        break;
    }
    lastShown_ = c;
}

int TWPHTMLWriter::WriteText(const char* text, int count)
{
    if (captureTarget_) {
        for (int i = 0; i < count; ++i) {
            if (static_cast<unsigned char>(text[i]) >= 0x20)
                linkTarget_ += text[i];
        }
        return result_;
    }
    if (skipText_)
        return result_;
    const bool fromLine = line_ && text >= line_->text() && text < line_->text() + line_->length();
    EmitShown(std::string_view(text, std::size_t(std::max(count, 0))), fromLine ? int(text - line_->text()) : -1);
    return result_;
}

// `base`: where the text starts in the current segment, or -1 when it is not the segment's.
void TWPHTMLWriter::EmitShown(std::string_view all, int base)
{
    std::string character;
    for (std::size_t i = 0; i < all.size();) {
        const auto c = static_cast<unsigned char>(all[i]);
        if (c < 0x80) {
            EmitEscaped(c, base >= 0 && IsLastVisibleCharacter(base + int(i)));
            ++i;
            continue;
        }
        character.clear();
        i += AppendCharacterAt(character, all, i);
        Emit(character);
        lastShown_ = 0x80; // shown, and no blank
    }
}

int TWPHTMLWriter::WriteObject(int tag, bool)
{
    const TTextObject* object = document_.findObject(tag);
    if (!object || (!object->graphic && object->fileName.empty()))
        return result_;
    Emit("<IMG SRC=\"");
    if (!object->fileName.empty())
        Emit(Escaped(object->fileName));
    else
        Emit(DataUri(*object->graphic));
    Emit("\" WIDTH=\"");
    EmitNumber(object->width / kTwipsPerPixel);
    Emit("\" HEIGHT=\"");
    EmitNumber(object->height / kTwipsPerPixel);
    Emit("\">");
    lastShown_ = CharCode::Object;
    return result_;
}

int TWPHTMLWriter::WriteFootnote(int number)
{
    const TFootnote* footnote = document_.findFootnote(number);
    const char mark = footnote ? footnote->mark : '?';
    EmitShown(std::string_view(&mark, 1), -1);
    if (!footnote)
        return result_;
    if (storeComment == THTMLStoreComment::shcHiddenFootnote) {
        std::string text = Escaped(footnote->text);
        for (std::size_t at = text.find("--"); at != std::string::npos; at = text.find("--", at))
            text.replace(at, 2, "- -");
        Emit("<!--");
        Emit(text);
        Emit("-->");
    } else if (storeComment == THTMLStoreComment::shcFootnote) {
        footnotes_.push_back(number);
    }
    return result_;
}

int TWPHTMLWriter::WriteTrailer()
{
    CloseBlock();
    CloseTable();
    if (!footnotes_.empty()) {
        Emit("<hr>\r\n");
        for (int number : footnotes_) {
            const TFootnote* footnote = document_.findFootnote(number);
            Emit("<p ALIGN=\"LEFT\">");
            Emit(Escaped(std::string(1, footnote->mark)));
            Emit(" ");
            Emit(Escaped(footnote->text));
            Emit("</p>\r\n");
        }
    }
    Emit("\r\n</html>");
    return Flush();
}

std::string WriteHtml(const TWPRTFText& document, const WriterOptions& options, THTMLStoreComment storeComment)
{
    TWPStringStream stream;
    TWPHTMLWriter writer(document);
    writer.options = options;
    writer.storeComment = storeComment;
    writer.Write(stream);
    return stream.take();
}

} // namespace quillory
