// A generated diary-like document for the layout and typing benchmarks.
#pragma once

#include "platform/Utf8.h"
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

// The same diary sentence in Russian, and in Chinese (written without blanks between words).
inline constexpr const char* kRussianWords[] = {
    "дневник", "утром", "мы",      "гуляли",  "вдоль", "реки",    "и",        "думали", "о",  "вчерашнем", "письме,",
    "которое", "пришло", "поздно.", "Погода:", "холодно,", "но", "ясно;", "чай", "в", "четыре"};
inline constexpr const char* kChineseWords[] = {
    "日记", "早上", "我们", "沿着", "河边", "散步", "想起", "昨天", "那封", "来得", "很晚的",
    "信，", "天气：", "寒冷", "但是", "晴朗；", "下午", "四点", "喝茶。", "然后", "回家"};

// Two of the 4,000 ideographs from U+4E00 on, picked by `n`.
inline std::string CommonIdeographs(std::size_t n)
{
    std::string text;
    for (std::size_t k = 0; k < 2; ++k) {
        AppendUtf8(text, 0x4E00 + char32_t((n * 2654435761u + k * 40503u) % 4000));
    }
    return text;
}

enum class Justify { None, EveryFourth };
enum class Script { Western, Russian, Chinese };

inline const char* ScriptName(Script script)
{
    return script == Script::Russian ? "russian" : script == Script::Chinese ? "chinese" : "western";
}

// About `bytes` bytes of text in paragraphs of 150-250 bytes, with bold, italic and larger runs,
// in English words or the same sentence in Russian or Chinese.
inline std::unique_ptr<TWPRTFText> MakeSampleDocument(std::size_t bytes, Justify justify = Justify::None,
                                                      Script script = Script::Western)
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
            std::string text;
            if (script == Script::Russian)
                text = std::string(kRussianWords[word % std::size(kRussianWords)]) + ' ';
            else if (script == Script::Chinese && word % 3 == 2)
                text = CommonIdeographs(word); // a text uses thousands of different characters
            else if (script == Script::Chinese)
                text = kChineseWords[word % std::size(kChineseWords)];
            else
                text = std::string(kSampleWords[word % std::size(kSampleWords)]) + ' ';
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
