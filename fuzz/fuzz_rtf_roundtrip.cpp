// Fuzz target: whatever document the RTF reader makes of any bytes, the writer writes so that it
// reads back into the same document, and writing that again gives the same bytes.
#include "richtext/model/DocumentDump.h"
#include "richtext/rtf/RtfReader.h"
#include "richtext/rtf/RtfWriter.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace {

std::unique_ptr<quillory::TWPRTFText> Read(std::span<const uint8_t> bytes)
{
    auto document = std::make_unique<quillory::TWPRTFText>();
    quillory::TParagraph* current = document->firstParagraph();
    quillory::TWPRtfReader reader;
    try {
        reader.ReadStream(bytes, document.get(), &current);
    } catch (...) {
        // a partial document is still a document
    }
    return document;
}

std::string Write(const quillory::TWPRTFText& document)
{
    int result = -1;
    std::string rtf = quillory::WriteRtf(document, {}, &result);
    if (result != quillory::WriteResult::Ok) {
        std::fprintf(stderr, "writer result %d\n", result);
        std::abort();
    }
    return rtf;
}

std::span<const uint8_t> Bytes(const std::string& text)
{
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// Makes alike what the stored dialect cannot tell apart, in a document about to be compared:
// - a font of the roman family is written \fnil, as the stored format always wrote it;
// - size 0 stands for 10 points and is written \fs20, as size 10 is;
// - a footnote's mark is written in a superscript group and reads back superscript;
// - an object or a footnote mark is written as RTF of its own, never inside an RTF-code run;
// - an object with neither picture data nor a file name is written as the application's
//   placeholder, whatever made it;
// - a table cell's box is written as its four sides (RTF has no word for a cell's box);
// - tab stops are numbered by the document as it meets them, and a stop that no paragraph uses
//   is not written: they are renumbered here in the order the paragraphs use them.
void MakeCanonical(quillory::TWPRTFText& document)
{
    using namespace quillory;
    TTextHeader& header = document.header();
    const std::vector<FontEntry> fonts = header.fonts();
    header.clearFonts();
    for (const FontEntry& font : fonts) {
        const auto family = std::uint8_t(font.pitchFamily & 0xF0);
        header.addFont(font.name, family == 0x10 ? std::uint8_t(font.pitchFamily & 0x0F) : font.pitchFamily,
                       font.charset);
    }

    for (const auto& object : document.objects())
        if (!object->graphic && object->fileName.empty())
            object->isApplicationObject = true;

    std::vector<std::vector<TabStop>> stops;
    for (TParagraph* p = document.firstParagraph(); p; p = p->next()) {
        if (p->isTableCell() && (p->border.flags & BorderFlag::Box))
            p->border.flags = std::uint8_t((p->border.flags & ~BorderFlag::Box) | BorderFlag::Top
                                           | BorderFlag::Bottom | BorderFlag::Left | BorderFlag::Right);
        std::vector<TabStop>& used = stops.emplace_back();
        for (const int index : header.tabOrder())
            if ((p->tabMask >> index) & 1)
                used.push_back(header.tab(index));
        for (TTextLine* line = p->firstLine(); line; line = line->next()) {
            if (!line->hasAttributes())
                continue;
            std::vector<std::pair<int, TAttr>> runs;
            line->forEachAttrRun(0, line->length(), [&](int from, int to, const TAttr& attr) {
                for (int i = from; i < to; ++i)
                    runs.emplace_back(i, attr);
            });
            for (auto& [at, attr] : runs) {
                attr.size = std::uint8_t(attr.pointSize());
                if (attr.hasFlag(AttrFlag::FootnoteAnchor))
                    attr.style |= AttrStyle::Superscript;
                if (attr.hasFlag(AttrFlag::FootnoteAnchor) || attr.hasFlag(AttrFlag::Object))
                    attr.flags &= std::uint8_t(~AttrFlag::RtfCode);
                line->setAttr(at, attr);
            }
        }
    }
    header.clearTabs();
    std::size_t next = 0;
    for (TParagraph* p = document.firstParagraph(); p; p = p->next()) {
        p->tabMask = 0;
        for (const TabStop& stop : stops[next])
            if (const int index = header.addTab(stop.position, stop.kind); index >= 0)
                p->tabMask |= std::uint64_t{1} << index;
        ++next;
    }
}

// Everything a document holds that the writer writes: header, paragraphs with their runs
// (segments joined: where a line breaks is layout's business), objects with their data, and
// footnotes.
std::string Everything(const quillory::TWPRTFText& document)
{
    using namespace quillory;
    std::string text = DumpHeader(document.header()) + "--\n"
                     + DumpDocument(document, DumpSegments::Joined) + "--\n" + DumpSideLists(document);
    for (const auto& object : document.objects())
        if (object->graphic)
            text += "data " + std::to_string(object->tag) + " " + object->graphic->bytes + "\n";
    return text;
}

[[noreturn]] void Differ(const char* what, const std::string& a, const std::string& b)
{
    std::size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at])
        ++at;
    const std::size_t from = at > 60 ? at - 60 : 0;
    std::fprintf(stderr, "%s, different at byte %zu:\n1: %s\n2: %s\n", what, at,
                 a.substr(from, 160).c_str(), b.substr(from, 160).c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto first = Read(std::span(data, size));
    const std::string written = Write(*first);
    const auto again = Read(Bytes(written));
    const std::string rewritten = Write(*again);
    MakeCanonical(*first);
    MakeCanonical(*again);
    const std::string expected = Everything(*first);
    const std::string found = Everything(*again);
    if (expected != found)
        Differ("read back as another document", expected, found);
    if (written != rewritten)
        Differ("written twice", written, rewritten);
    return 0;
}
