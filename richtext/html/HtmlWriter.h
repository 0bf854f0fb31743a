// The HTML writer (TWPHTMLWriter): a simple HTML page that TWPHTMLReader reads back with the
// document's paragraphs, alignment, character styles, fonts, colours, tables, pictures and links.
#pragma once

#include "richtext/text/TextWriter.h"

#include <string>
#include <vector>

namespace quillory {

// How footnotes are stored in HTML.
enum class THTMLStoreComment {
    shcFootnote,       // the mark in the text, the footnotes listed at the end of the page
    shcHiddenFootnote, // the mark in the text, the footnote's text in a comment beside it
    shcOFF,            // the mark only
};

// Output is UTF-8, declared by a meta tag; only the markup characters are written as entities.
// Pictures without a file name are embedded as
// data: URIs. A link's target is the hidden link text in front of it, or else its own text.
class TWPHTMLWriter : public TWPTextWriter {
public:
    explicit TWPHTMLWriter(const TWPRTFText& document);

    THTMLStoreComment storeComment = THTMLStoreComment::shcFootnote;

    int WriteAttributes(const TAttr& attr) override;
    int WriteText(const char* text, int count) override;
    int EndParagraph() override;
    int StartParagraph() override;
    int WriteObject(int tag, bool secondKind) override;
    int WriteFootnote(int number) override;
    int WriteHeader(TWPOutputStream& stream) override;
    int WriteTrailer() override;

private:
    enum class Block { None, Paragraph, Cell, BorderBox, Rule };

    void CloseRun();
    void CloseLink();
    void OpenRun(const TAttr& attr);
    void CloseBlock();
    void CloseTable();
    void EmitEscaped(unsigned char c, bool lastOfParagraph);
    void EmitShown(std::string_view text, int base);
    std::string LinkTextAhead() const;
    bool IsLastVisibleCharacter(int index) const;

    Block block_ = Block::None;
    bool tableOpen_ = false;
    bool rowOpen_ = false;
    bool linkOpen_ = false;
    bool runOpen_ = false;
    TAttr runAttr_{};
    std::string runClose_;     // closing tags of the open run, innermost first
    bool skipText_ = false;    // hidden text is not shown
    bool captureTarget_ = false;
    std::string linkTarget_;   // hidden link text waiting for the link it names
    unsigned char lastShown_ = 0; // last character shown in the block (0 at its start)
    std::vector<int> footnotes_;
};

// The document as an HTML page, through TWPHTMLWriter.
std::string WriteHtml(const TWPRTFText& document, const WriterOptions& options = {},
                      THTMLStoreComment storeComment = THTMLStoreComment::shcFootnote);

} // namespace quillory
