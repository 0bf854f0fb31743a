// make-dictionary: writes the program's main spelling dictionary from word lists of one word a
// line (UTF-8), such as Debian's. Words that cp1252 or the dictionary alphabet cannot hold are
// left out. Run at every build, so it is quick, and deterministic for the same lists.
#include "app/spell/DictionaryBuilder.h"
#include "platform/AtomicWrite.h"
#include "platform/Cp1252.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fputs("usage: make-dictionary OUTPUT WORDLIST...\n", stderr);
        return 2;
    }
    std::vector<std::string> words;
    std::size_t notCp1252 = 0;
    for (int i = 2; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "make-dictionary: cannot read %s\n", argv[i]);
            return 2;
        }
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (auto word = quillory::Utf8ToCp1252(line))
                words.push_back(std::move(*word));
            else
                ++notCp1252;
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
        std::printf("make-dictionary: %zu words (%zu possessives by rule, %zu left out) in %zu sections, %zu bytes\n",
                    prepared.capitals.size(), prepared.possessives, prepared.unstorable + notCp1252,
                    dictionary.sectionNodes.size(), dictionary.bytes.size());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make-dictionary: %s\n", e.what());
        return 2;
    }
    return 0;
}
