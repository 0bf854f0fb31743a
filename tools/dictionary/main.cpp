// make-dictionary: writes a main spelling dictionary from word lists of one word a line, such
// as Debian's. A list is UTF-8, or Latin-1 when it is not well-formed UTF-8 (some of Debian's
// are). Words that the dictionary alphabet cannot spell (a space, a digit, a letter outside
// cp1252) are left out and counted; a line beginning with '#' is a comment. Run at build time,
// deterministic for the same lists.
#include "app/spell/DictionaryBuilder.h"
#include "platform/AtomicWrite.h"
#include "platform/Cp1252.h"
#include "platform/Utf8.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The list's words in cp1252, the words it cannot hold counted in `left`. Latin-1 and cp1252
// agree on every letter, so a Latin-1 list's bytes are taken as they are.
bool ReadList(const char* file, std::vector<std::string>& words, std::size_t& left)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return false;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return false;
    const bool utf8 = quillory::IsWellFormedUtf8(bytes);
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::size_t end = bytes.find('\n', at);
        if (end == std::string::npos)
            end = bytes.size();
        std::string_view line(bytes.data() + at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;  // a comment of our own lists; no word begins with '#'

        if (!utf8) {
            words.emplace_back(line);
        } else if (auto word = quillory::Utf8ToCp1252(line)) {
            words.push_back(std::move(*word));
        } else {
            ++left;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fputs("usage: make-dictionary OUTPUT WORDLIST...\n", stderr);
        return 2;
    }
    std::vector<std::string> words;
    std::size_t notCp1252 = 0;
    for (int i = 2; i < argc; ++i) {
        if (!ReadList(argv[i], words, notCp1252)) {
            std::fprintf(stderr, "make-dictionary: cannot read %s\n", argv[i]);
            return 2;
        }
    }
    try {
        const auto prepared = quillory::spell::PrepareWords(words);
        const auto dictionary = quillory::spell::BuildMainDictionary(prepared.capitals);
        std::string error;
        if (!quillory::WriteFileAtomically(argv[1], dictionary.bytes, &error)) {
            std::fprintf(stderr, "make-dictionary: %s\n", error.c_str());
            return 2;
        }
        std::printf("make-dictionary: %s: %zu words (%zu possessives by rule, %zu left out) in %zu sections, %zu bytes\n",
                    argv[1], prepared.capitals.size(), prepared.possessives, prepared.unstorable + notCp1252,
                    dictionary.sectionNodes.size(), dictionary.bytes.size());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make-dictionary: %s\n", e.what());
        return 2;
    }
    return 0;
}
