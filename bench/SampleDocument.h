// A generated diary-like document for the layout and typing benchmarks.
#pragma once

#include "richtext/model/Document.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>

namespace quillory::bench {

inline constexpr const char* kSampleWords[] = {
    "diary", "morning", "the",   "walked", "along",    "river",  "and",  "thought", "about", "yesterday's", "letter,",
    "which", "arrived", "late.", "Weather:", "cold", "but",    "bright;", "tea",  "at",      "four"};

enum class Justify { None, EveryFourth };

// About `bytes` characters in paragraphs of 150-250 characters, with bold, italic and larger runs.
inline std::unique_ptr<TWPRTFText> MakeSampleDocument(std::size_t bytes, Justify justify = Justify::None)
{
    auto doc = std::make_unique<TWPRTFText>();
    doc->header().addFont("Times New Roman");
    std::size_t total = 0, word = 0;
    TParagraph* p = doc->firstParagraph();
    int paragraph = 0;
    while (total < bytes) {
        const std::size_t length = 150 + (paragraph * 37) % 100;
        std::size_t here = 0;
        while (here < length) {
            TAttr attr;
            attr.font = std::uint8_t(word % 7 == 0 ? 1 : 0);
            attr.style = std::uint8_t(word % 5 == 0 ? AttrStyle::Bold : word % 11 == 0 ? AttrStyle::Italic : 0);
            attr.size = std::uint8_t(word % 13 == 0 ? 14 : 10);
            std::string text = kSampleWords[word % std::size(kSampleWords)];
            text += ' ';
            doc->appendText(*p, text, attr);
            here += text.size();
            ++word;
        }
        if (justify == Justify::EveryFourth && paragraph % 4 == 3)
            p->alignment = Alignment::Justified;
        total += here + 1;
        ++paragraph;
        if (total < bytes)
            p = doc->appendParagraph(p);
    }
    return doc;
}

} // namespace quillory::bench
