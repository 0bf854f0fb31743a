// Arbitrary bytes as a dictionary file, opened both as a main and as a user dictionary: lookups,
// suggestions and adding words must end (no loop, no read out of bounds), and a word that was
// added must then be known.
#include "app/spell/SpellEngine.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace quillory::spell;
    static const std::string path = "/tmp/fuzz_dictionary_" + std::to_string(::getpid()) + ".dct";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    const char* words[] = {"house", "HOUSES", "Teh", "recieve", "don't", "Anne's", "aaaaaaaaaa", "\xC9t\xE9"};
    {
        TSpellEngine engine;
        engine.SetMaxSuggestions(40);
        if (engine.OpenDictionary(path)) {
            for (const char* word : words) {
                engine.IsWordCorrect(word);
                engine.GetSuggestions(word);
            }
        }
    }
    {
        TSpellEngine engine;
        engine.DictionaryName = "/nonexistent/quillor.dct";
        const int number = engine.OpenUserDictionary(path);
        if (number != -1) {
            for (const char* word : words) {
                engine.GetSuggestions(word);
                if (engine.AddWord(word, number) && !engine.IsWordCorrect(word))
                    std::abort();
            }
        }
    }
    ::unlink(path.c_str());
    return 0;
}
