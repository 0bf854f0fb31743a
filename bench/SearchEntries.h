// The entries of the search benchmarks: paragraphs of everyday words (two of them accented) with
// bold, italic, size and font changes, as RTF.
#pragma once

#include "richtext/model/Document.h"
#include "richtext/rtf/RtfWriter.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>

namespace quillory::bench {

inline constexpr const char* kSearchWords[] = {
    "morning", "the",     "walked",  "along", "river",           "and",     "thought",
    "about",   "caf\xc3\xa9", "letter,", "arrived", "late.",     "Weather:", "cold",
    "but",     "bright;", "tea",     "at",    "four",            "na\xc3\xafve", "met"};

// Entry `index`, about `characters` long; with `rareWord`, one entry in forty holds it once.
inline std::string SearchEntryRtf(int index, std::size_t characters, const char* rareWord = nullptr)
{
    TWPRTFText document;
    document.header().addFont("Times New Roman");
    TParagraph* paragraph = document.firstParagraph();
    std::size_t written = 0, inParagraph = 0;
    for (std::size_t word = std::size_t(index); written < characters; ++word) {
        TAttr attr;
        attr.font = std::uint8_t(word % 7 == 0 ? 1 : 0);
        attr.style = std::uint8_t(word % 5 == 0 ? AttrStyle::Bold : word % 11 == 0 ? AttrStyle::Italic : 0);
        attr.size = std::uint8_t(word % 13 == 0 ? 14 : 10);
        const bool rare = rareWord && index % 40 == 0 && word == std::size_t(index) + 30;
        const std::string text = std::string(rare ? rareWord : kSearchWords[word % std::size(kSearchWords)]) + " ";
        document.appendText(*paragraph, text, attr);
        written += text.size();
        inParagraph += text.size();
        if (inParagraph > 180 + (word * 37) % 200 && written < characters) {
            paragraph = document.appendParagraph(paragraph);
            inParagraph = 0;
        }
    }
    return WriteRtf(document);
}

} // namespace quillory::bench
