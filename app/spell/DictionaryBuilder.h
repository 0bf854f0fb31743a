// Writes main dictionaries: words → letter trees whose identical sibling lists are stored once,
// split into sections under the node limit. Used by the build-time dictionary tool and tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillory::spell {

struct PreparedWords {
    std::vector<std::string> capitals;  // sorted, each once
    std::size_t unstorable = 0;         // words with a character outside the alphabet, dropped
    std::size_t possessives = 0;        // "X's" of a listed X, known through the possessive rule
};

// The words (cp1252) as a dictionary stores them.
PreparedWords PrepareWords(const std::vector<std::string>& words);

struct MainDictionary {
    std::string bytes;
    std::vector<std::uint32_t> sectionNodes;  // node count of each section
};

// A main dictionary of words prepared as above. Each section holds a run of the sorted words
// in at most `maxNodes` nodes (at most 65535: child indexes are 16 bits). Deterministic.
MainDictionary BuildMainDictionary(const std::vector<std::string>& capitals, std::uint32_t maxNodes = 64000);

} // namespace quillory::spell
