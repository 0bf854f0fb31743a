// A small document for typing tests, laid out on the fixed-metrics canvas (10-point characters
// are 10 pixels wide; a line holds 20 of them), written and read as text with marks:
// '|' between paragraphs, '^' for the caret, '/' for a soft line break.
#pragma once

#include "richtext/input/TextInput.h"
#include "richtext/layout/FixedCanvas.h"
#include "richtext/layout/TextPaint.h"

#include <string>
#include <string_view>

namespace quillory {

struct TypingDocument {
    TWPRTFText doc;
    FixedCanvas canvas;
    TWPRTFTextPaint paint{doc};
    TWPRTFTextInput input{doc, &paint};
    int beeps = 0;

    explicit TypingDocument(std::string_view marked = "^")
    {
        paint.setCanvas(&canvas);
        TTextHeader& h = doc.header();
        h.marginLeft = h.marginRight = h.marginTop = h.marginBottom = 0;
        h.paperWidth = 3000;  // 200 px at 96 dpi
        h.paperHeight = 1500; // 100 px
        input.OnBeep = [this] { ++beeps; };
        load(marked);
    }

    // Replaces the text; the caret goes where '^' stands.
    void load(std::string_view marked)
    {
        doc.clear();
        TParagraph* paragraph = doc.firstParagraph();
        long caret = 0, at = 0;
        std::string text;
        auto flush = [&] { doc.appendText(*paragraph, text, TAttr{}); text.clear(); };
        for (char c : marked) {
            if (c == '^') {
                caret = at;
                continue;
            }
            ++at;
            if (c == '|') {
                flush();
                paragraph = doc.appendParagraph(paragraph);
                continue;
            }
            text += c == '/' ? char(CharCode::SoftBreak) : c;
        }
        flush();
        paint.reformatAll();
        input.SetCaretOffset(caret);
    }

    // The text with its marks, the caret included.
    std::string marked() const
    {
        std::string out;
        const long caret = input.caretOffset();
        long at = 0;
        for (auto* p = doc.firstParagraph(); p; p = p->next()) {
            for (char c : p->text()) {
                if (at++ == caret)
                    out += '^';
                out += c == char(CharCode::SoftBreak) ? '/' : c;
            }
            if (at++ == caret)
                out += '^';
            if (p->next())
                out += '|';
        }
        return out;
    }
};

} // namespace quillory
