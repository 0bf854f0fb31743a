// Whole-document copies for the undo history.
#include "richtext/edit/DocumentCopy.h"

#include "richtext/edit/RangeEditing.h"

namespace quillory {

namespace {

bool SameObjects(const TWPRTFText& a, const TWPRTFText& b)
{
    if (a.objects().size() != b.objects().size())
        return false;
    for (std::size_t i = 0; i < a.objects().size(); ++i) {
        const TTextObject& x = *a.objects()[i];
        const TTextObject& y = *b.objects()[i];
        const bool sameGraphic = x.graphic && y.graphic ? *x.graphic == *y.graphic : x.graphic == y.graphic;
        if (!sameGraphic || x.tag != y.tag || x.tag2 != y.tag2 || x.width != y.width || x.height != y.height
            || x.fileName != y.fileName)
            return false;
    }
    return true;
}

} // namespace

void CopyDocumentInto(const TWPRTFText& from, TWPRTFText& into)
{
    if (&from == &into)
        return;
    TTextHeader header = from.header();
    const TTextHeader& screen = into.header();
    header.resolutionX = screen.resolutionX;
    header.resolutionY = screen.resolutionY;
    header.layoutWidthTwips = screen.layoutWidthTwips;
    header.layoutWidthPixels = screen.layoutWidthPixels;

    into.clear();
    into.setMemoryFormat(from.memoryFormat());
    into.header() = std::move(header);
    into.insertionAttr = from.insertionAttr;
    into.protectedProp = from.protectedProp;

    TParagraph* target = into.firstParagraph();
    for (const TParagraph* paragraph = from.firstParagraph(); paragraph; paragraph = paragraph->next()) {
        if (paragraph != from.firstParagraph())
            target = into.appendParagraph(target);
        target->copyPropertiesFrom(*paragraph);
        WriteParagraph(into, *target, ReadParagraph(*paragraph));
    }
    for (const auto& object : from.objects()) {
        TTextObject& added =
            into.addObject(object->graphic ? std::make_unique<TGraphic>(*object->graphic) : nullptr, object->tag);
        added.tag2 = object->tag2;
        added.width = object->width;
        added.height = object->height;
        added.isApplicationObject = object->isApplicationObject;
        added.insertedFromFile = object->insertedFromFile;
        added.fileName = object->fileName;
    }
    for (const auto& footnote : from.footnotes())
        into.addFootnote(*footnote);
}

std::unique_ptr<TWPRTFText> CopyDocument(const TWPRTFText& from)
{
    auto copy = std::make_unique<TWPRTFText>();
    CopyDocumentInto(from, *copy);
    return copy;
}

bool SameContent(const TWPRTFText& a, const TWPRTFText& b)
{
    if (!(a.insertionAttr == b.insertionAttr) || a.memoryFormat() != b.memoryFormat() || !SameObjects(a, b))
        return false;
    const TParagraph* x = a.firstParagraph();
    const TParagraph* y = b.firstParagraph();
    for (; x && y; x = x->next(), y = y->next()) {
        if (!sameProperties(*x, *y))
            return false;
        const ParagraphContent cx = ReadParagraph(*x);
        const ParagraphContent cy = ReadParagraph(*y);
        if (cx.text != cy.text || cx.attrs != cy.attrs || (cx.text.empty() && !(cx.emptyAttr == cy.emptyAttr)))
            return false;
    }
    return !x && !y;
}

} // namespace quillory
