// A document laid out on the fixed-metrics canvas: 10-point characters are 10 x 20 pixels with an
// ascent of 16, the page's text area is 200 pixels wide and 100 high (20 characters, 5 lines).
#pragma once

#include "richtext/layout/FixedCanvas.h"
#include "richtext/layout/TextPaint.h"

#include <string>
#include <string_view>
#include <vector>

namespace quillory {

struct LaidDocument {
    TWPRTFText doc;
    FixedCanvas canvas;
    TWPRTFTextPaint engine{doc};

    LaidDocument()
    {
        engine.setCanvas(&canvas);
        TTextHeader& h = doc.header();
        h.marginLeft = h.marginRight = h.marginTop = h.marginBottom = 0;
        h.paperWidth = 3000;  // 200 px at 96 dpi
        h.paperHeight = 1500; // 100 px
    }

    // Appends a paragraph (the document's first, empty one is used first).
    TParagraph& add(std::string_view text, TAttr attr = {})
    {
        TParagraph* p = doc.lastParagraph();
        if (p->length() > 0 || p->prev() || added_)
            p = doc.appendParagraph(p);
        added_ = true;
        const TParagraph plain;
        p->copyPropertiesFrom(plain);
        doc.appendText(*p, text, attr);
        return *p;
    }

    void layout() { engine.reformatAll(); }

    static std::vector<std::string> lineTexts(const TParagraph& p)
    {
        std::vector<std::string> out;
        for (auto* line = p.firstLine(); line; line = line->next())
            out.emplace_back(line->view());
        return out;
    }

    // The laid lines of one paragraph.
    std::vector<LaidLine> linesOf(const TParagraph& p) const
    {
        std::vector<LaidLine> out;
        for (const auto& l : engine.lines())
            if (l.paragraph == &p)
                out.push_back(l);
        return out;
    }

private:
    bool added_ = false;
};

} // namespace quillory
