// Edits of a document by absolute position: insert text, delete a range, copy a range out into a
// document of its own, insert another document, restyle a range.
#pragma once

#include "richtext/model/Document.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillory {

// A paragraph's characters and attributes, segments joined. `attrs` is empty in plain-text
// documents; otherwise it has one record per character.
struct ParagraphContent {
    std::string text;
    std::vector<TAttr> attrs;
    // The attribute record an empty paragraph keeps in its first segment.
    TAttr emptyAttr;
};

ParagraphContent ReadParagraph(const TParagraph& paragraph);
// Replaces the paragraph's segments with the content (segments below the line limit, ending
// between grapheme clusters) and marks the paragraph for reformatting.
void WriteParagraph(TWPRTFText& document, TParagraph& paragraph, const ParagraphContent& content);

// Where an absolute position falls: the paragraph, its number and the offset in it.
struct ParagraphSpot {
    TParagraph* paragraph = nullptr;
    int number = 0;
    int offset = 0;
};
// Positions past the end give the end of the last paragraph.
ParagraphSpot LocatePosition(const TWPRTFText& document, long position);
long PositionOfParagraph(const TWPRTFText& document, const TParagraph* paragraph);

// Inserts UTF-8 text at the position with one attribute record. CR ends a paragraph (CR LF is
// one paragraph end; inside a table cell it becomes a soft line break), a lone LF is a soft line
// break, a zero byte ends the text. Text that is not well-formed UTF-8 is read as cp1252.
// Returns the position after the inserted text.
long InsertTextAt(TWPRTFText& document, long position, std::string_view text, const TAttr& attr);

// Removes `length` characters from `start`; paragraph ends inside the range join the paragraphs
// around it, and the first of them keeps its properties.
void DeleteRange(TWPRTFText& document, long start, long length);

// A new document holding the range: the same header, the paragraphs' properties, and copies of
// the objects that placeholders in the range refer to.
std::unique_ptr<TWPRTFText> CopyRange(const TWPRTFText& document, long start, long length);

// Inserts every paragraph of `source` at the position. Fonts, colours and objects are mapped
// into this document's tables. The first source paragraph joins the paragraph at the position
// (which takes the source paragraph's properties only when it was empty); the last joins the
// text after the position. Returns the position after the inserted text.
long InsertDocumentAt(TWPRTFText& document, long position, const TWPRTFText& source);

// Gives the characters of the range the font, size, colours, style and the hidden and
// protected flags of `attr`; what makes a character an object, anchor or insert point stays.
void ApplyAttributes(TWPRTFText& document, long start, long length, const TAttr& attr);

// The characters of the range (UTF-8); paragraph ends become CR LF.
std::string TextOfRange(const TWPRTFText& document, long start, long length);
// The attributes of the character at the position (of the one before it at a paragraph's end);
// the empty-paragraph record when the paragraph is empty.
TAttr AttributesAt(const TWPRTFText& document, long position);

// The paragraphs that the range touches, in document order (the paragraph at `start` when the
// range is empty).
std::vector<TParagraph*> ParagraphsOfRange(const TWPRTFText& document, long start, long length);

} // namespace quillory
