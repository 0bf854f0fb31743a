// Writes the inputs of the whole-process benchmarks, RTF as the program itself stores it:
//   make_bench_inputs FOLDER [MEGABYTES] [PARAGRAPHS]
// FOLDER/sample.rtf            the generated diary-like document, about MEGABYTES of RTF (default 5)
// FOLDER/empty-paragraphs.rtf  PARAGRAPHS empty paragraphs (default 1,000,000; about 6 MB)
#include "bench/SampleDocument.h"

#include "richtext/rtf/RtfWriter.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

bool Save(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "make_bench_inputs: cannot write %s\n", path.c_str());
        return false;
    }
    std::printf("%s: %.1f MB\n", path.c_str(), double(bytes.size()) / (1024.0 * 1024.0));
    return true;
}

// The writer's own form of an empty paragraph, repeated: building a document of a million
// paragraphs only to write it would measure the model, not make an input.
std::string EmptyParagraphs(long count)
{
    quillory::TWPRTFText document;
    document.appendParagraph(document.firstParagraph());
    document.appendParagraph(document.firstParagraph());
    const std::string two = quillory::WriteRtf(document);
    quillory::TWPRTFText one;
    const std::string single = quillory::WriteRtf(one);
    // What a second and third paragraph add over the first, taken from the two documents.
    std::size_t common = 0;
    while (common < single.size() && common < two.size() && single[common] == two[common])
        ++common;
    const std::size_t tail = single.size() - common;
    const std::string pair = two.substr(common, two.size() - common - tail);
    const std::string step = pair.substr(0, pair.size() / 2);
    if (step + step != pair) {
        // The form of a paragraph end is not repeatable this simply: write the document itself.
        quillory::TWPRTFText large;
        quillory::TParagraph* at = large.firstParagraph();
        for (long i = 1; i < count; ++i)
            at = large.appendParagraph(at);
        return quillory::WriteRtf(large);
    }
    std::string bytes = single.substr(0, common);
    bytes.reserve(common + step.size() * std::size_t(count) + tail);
    for (long i = 1; i < count; ++i)
        bytes += step;
    bytes += single.substr(common);
    return bytes;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_bench_inputs FOLDER [MEGABYTES] [PARAGRAPHS]\n");
        return 2;
    }
    const std::string folder = argv[1];
    const double megabytes = argc > 2 ? std::atof(argv[2]) : 5.0;
    const long paragraphs = argc > 3 ? std::atol(argv[3]) : 1000000;
    // The document's text is scaled so that its RTF, not its text, has the size asked for.
    const std::size_t wanted = std::size_t(megabytes * 1024 * 1024);
    const std::size_t probe = quillory::WriteRtf(*quillory::bench::MakeSampleDocument(wanted / 16)).size();
    const auto sample = quillory::bench::MakeSampleDocument(std::size_t(double(wanted) * double(wanted / 16) / double(probe)));
    sample->header().formatted = true;
    const bool ok = Save(folder + "/sample.rtf", quillory::WriteRtf(*sample))
                 && Save(folder + "/empty-paragraphs.rtf", EmptyParagraphs(paragraphs));
    return ok ? 0 : 2;
}
