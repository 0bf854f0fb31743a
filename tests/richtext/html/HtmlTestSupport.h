// Helpers of the HTML tests: reading into a fresh document, and a dump of a document that names
// fonts and colours by value, so that documents with differently ordered tables compare equal.
#pragma once

#include "richtext/html/HtmlReader.h"
#include "richtext/model/DocumentDump.h"

#include <memory>
#include <string>
#include <string_view>

namespace htmltest {

inline std::unique_ptr<quillory::TWPRTFText> ReadHtml(std::string_view html, quillory::TWPHTMLReader* with = nullptr)
{
    auto document = std::make_unique<quillory::TWPRTFText>();
    quillory::TWPHTMLReader plain;
    quillory::TWPHTMLReader& reader = with ? *with : plain;
    quillory::TParagraph* current = document->firstParagraph();
    reader.ReadStream(html, document.get(), &current);
    return document;
}

// One line per paragraph: "alignment cell-flags width | text | runs", runs as
// "count font-name size colour-rgb style-and-flag-bits".
inline std::string Canonical(const quillory::TWPRTFText& document)
{
    using namespace quillory;
    std::string out;
    const TTextHeader& header = document.header();
    for (const TParagraph* p = document.firstParagraph(); p; p = p->next()) {
        out += "q" + std::to_string(int(p->alignment));
        if (p->isTableCell()) {
            out += std::string(" cell") + (p->hasFlag(ParFlag::CellNotFirst) ? " notfirst" : "")
                 + (p->hasFlag(ParFlag::MoreCellsFollow) ? " more" : "") + " w" + std::to_string(p->cellWidth);
        }
        if (p->border.present())
            out += " border";
        out += " | ";
        std::string runs;
        const TAttr* previous = nullptr;
        int count = 0;
        auto flush = [&] {
            if (!previous)
                return;
            const FontEntry* font = header.font(previous->font);
            const RGBColor color = header.colors[std::size_t(previous->textColor())];
            const RGBColor back = header.colors[std::size_t(previous->backColor())];
            char text[160];
            std::snprintf(text, sizeof text, " %d:%s/%d/%02x%02x%02x/%02x%02x%02x/%02x/%02x", count,
                          font ? font->name.c_str() : "?", previous->pointSize(), color.red, color.green,
                          color.blue, back.red, back.green, back.blue, previous->style, previous->flags);
            runs += text;
        };
        for (const TTextLine* line = p->firstLine(); line; line = line->next()) {
            for (int i = 0; i < line->length(); ++i) {
                const unsigned char c = line->code(i);
                if (c == '\t')
                    out += "\\t";
                else if (c == '\n')
                    out += "\\n";
                else if (c < 0x20 || c > 0x7E) {
                    char hex[8];
                    std::snprintf(hex, sizeof hex, "\\x%02x", c);
                    out += hex;
                } else
                    out += char(c);
                const TAttr* attr = line->attrs() ? &line->attrs()[i] : nullptr;
                if (attr && previous && previous->sameRun(*attr)) {
                    ++count;
                    continue;
                }
                flush();
                previous = attr;
                count = 1;
            }
        }
        flush();
        out += " |" + runs + "\n";
    }
    return out;
}

} // namespace htmltest
