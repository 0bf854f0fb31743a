// Main dictionary writer: a trie per section, minimised so that equal sibling lists (with
// equal subtrees) share one place, laid out depth first so that a lookup stays near its path.
#include "app/spell/DictionaryBuilder.h"

#include "app/spell/DictionarySection.h"
#include "app/spell/SpellAlphabet.h"

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>

namespace quillory::spell {

namespace {

constexpr std::string_view kMainTitle = "QUILLORY MAIN DICTIONARY\r\nLetter tree of 3-byte nodes.\r\n";

bool Storable(std::string_view capitals)
{
    return std::all_of(capitals.begin(), capitals.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u == 'A' || LetterCode(u) != 0;
    });
}

// Siblings are stored in the order of how often their letters occur in English, so that a
// lookup, which scans a list from its start, meets the common letters first. Letters outside
// this row follow in alphabet order.
constexpr std::string_view kLetterOrder = "ETAOINSHRDLCUMWFGYPBVKJXQZ";

int LetterRank(std::uint8_t flags)
{
    const std::uint8_t code = flags & Node::kCodeMask;
    const std::size_t at = kLetterOrder.find(char(kAlphabet[code]));
    return at != std::string_view::npos ? int(at) : int(kLetterOrder.size()) + code;
}

// One sibling list of the minimised tree: per node its letter code with the word-end flag,
// and the list of its children (0 = none, else list id + 1).
struct ListKey {
    std::vector<std::pair<std::uint8_t, std::uint32_t>> nodes;
    auto operator<=>(const ListKey&) const = default;
};

class SectionBuilder {
public:
    // Returns the id + 1 of the list holding the children of the words' next letter at `depth`
    // for the sorted run [begin, end) sharing a prefix of `depth` letters; 0 when there is none.
    std::uint32_t Build(const std::vector<std::string>& words, std::size_t begin, std::size_t end, std::size_t depth)
    {
        ListKey key;
        std::size_t at = begin;
        while (at < end && words[at].size() == depth)
            ++at;  // the word that ends at the parent
        while (at < end) {
            const char letter = words[at][depth];
            std::size_t stop = at;
            while (stop < end && words[stop][depth] == letter)
                ++stop;
            const bool endsHere = words[at].size() == depth + 1;
            const std::uint32_t child = Build(words, at, stop, depth + 1);
            std::uint8_t flags = LetterCode(static_cast<unsigned char>(letter));
            if (endsHere)
                flags |= Node::kEndsWord;
            key.nodes.emplace_back(flags, child);
            at = stop;
        }
        if (key.nodes.empty())
            return 0;
        std::stable_sort(key.nodes.begin(), key.nodes.end(),
                         [](const auto& a, const auto& b) { return LetterRank(a.first) < LetterRank(b.first); });
        const auto [it, added] = ids_.emplace(std::move(key), std::uint32_t(lists_.size()));
        if (added)
            lists_.push_back(&it->first);
        return it->second + 1;
    }

    std::uint32_t NodeCount() const
    {
        std::uint32_t n = 0;
        for (const ListKey* list : lists_)
            n += std::uint32_t(list->nodes.size());
        return n;
    }

    // The nodes, root list first, each list placed before the lists below it.
    std::string Layout(std::uint32_t rootList)
    {
        place_.assign(lists_.size(), 0);
        next_ = 1;
        nodes_.clear();
        Place(rootList - 1);
        std::string out;
        out.reserve(nodes_.size() * 3);
        for (const Node& node : nodes_) {
            out.push_back(static_cast<char>(node.child & 0xFF));
            out.push_back(static_cast<char>(node.child >> 8));
            out.push_back(static_cast<char>(node.flags));
        }
        return out;
    }

private:
    std::uint32_t Place(std::uint32_t list)
    {
        if (place_[list] != 0)
            return place_[list];
        const ListKey& key = *lists_[list];
        const std::uint32_t start = next_;
        place_[list] = start;
        next_ += std::uint32_t(key.nodes.size());
        nodes_.resize(next_ - 1);
        for (std::size_t i = 0; i < key.nodes.size(); ++i) {
            std::uint8_t flags = key.nodes[i].first;
            if (i + 1 == key.nodes.size())
                flags |= Node::kLastSibling;
            nodes_[start - 1 + i] = Node{0, flags};
        }
        for (std::size_t i = 0; i < key.nodes.size(); ++i) {
            if (const std::uint32_t child = key.nodes[i].second)
                nodes_[start - 1 + i].child = std::uint16_t(Place(child - 1));
        }
        return start;
    }

    std::map<ListKey, std::uint32_t> ids_;
    std::vector<const ListKey*> lists_;
    std::vector<std::uint32_t> place_;
    std::vector<Node> nodes_;
    std::uint32_t next_ = 1;
};

struct SectionBytes {
    std::string nodes;
    std::uint32_t count = 0;
};

SectionBytes BuildSection(const std::vector<std::string>& words, std::size_t begin, std::size_t end)
{
    SectionBuilder builder;
    const std::uint32_t root = builder.Build(words, begin, end, 0);
    SectionBytes section;
    if (root != 0) {
        section.count = builder.NodeCount();
        section.nodes = builder.Layout(root);
    }
    return section;
}

std::uint32_t CountNodes(const std::vector<std::string>& words, std::size_t begin, std::size_t end)
{
    SectionBuilder builder;
    builder.Build(words, begin, end, 0);
    return builder.NodeCount();
}

// The end of the longest run of words from `begin` (before `end`) that fits in `maxNodes`:
// doubling, then halving back.
std::size_t LongestFittingRun(const std::vector<std::string>& words, std::size_t begin, std::size_t end,
                              std::uint32_t maxNodes)
{
    std::size_t good = begin, step = 1;
    while (good < end) {
        const std::size_t tryEnd = std::min(end, good + step);
        if (CountNodes(words, begin, tryEnd) <= maxNodes) {
            good = tryEnd;
            step *= 2;
        } else if (step > 1) {
            step /= 2;
        } else {
            break;
        }
    }
    if (good == begin)
        throw std::runtime_error("a word is longer than a dictionary section can hold");
    return good;
}

} // namespace

PreparedWords PrepareWords(const std::vector<std::string>& words)
{
    PreparedWords prepared;
    std::set<std::string> known;
    for (const std::string& word : words) {
        if (word.empty())
            continue;
        std::string capitals = Capitals(word);
        if (!Storable(capitals)) {
            ++prepared.unstorable;
            continue;
        }
        known.insert(std::move(capitals));
    }
    for (const std::string& word : known) {
        if (word.size() > 2 && word.ends_with("'S") && known.count(word.substr(0, word.size() - 2))) {
            ++prepared.possessives;
            continue;
        }
        prepared.capitals.push_back(word);
    }
    return prepared;
}

MainDictionary BuildMainDictionary(const std::vector<std::string>& capitals, std::uint32_t maxNodes)
{
    maxNodes = std::min<std::uint32_t>(maxNodes, 65535);
    MainDictionary dictionary;
    std::string& out = dictionary.bytes;
    out = kMainTitle;
    out.push_back(26);

    // Sections are packed from runs of words with the same first letter: the nodes of a union
    // are at most the sum of its runs' nodes, so the packing never passes the limit and each
    // run is built only once more. A run too large alone is cut where the limit falls.
    std::vector<std::pair<std::size_t, std::size_t>> sections;  // [begin, end) of each
    const std::size_t total = capitals.size();
    std::size_t begin = 0, end = 0;
    std::uint64_t packed = 0;
    for (std::size_t at = 0; at < total;) {
        std::size_t stop = at;
        while (stop < total && capitals[stop][0] == capitals[at][0])
            ++stop;
        const std::uint32_t nodes = CountNodes(capitals, at, stop);
        if (nodes > maxNodes) {
            if (end > begin)
                sections.emplace_back(begin, end);
            for (std::size_t from = at; from < stop;) {
                const std::size_t cut = LongestFittingRun(capitals, from, stop, maxNodes);
                sections.emplace_back(from, cut);
                from = cut;
            }
            begin = end = stop;
            packed = 0;
        } else if (packed + nodes > maxNodes) {
            sections.emplace_back(begin, end);
            begin = at;
            end = stop;
            packed = nodes;
        } else {
            end = stop;
            packed += nodes;
        }
        at = stop;
    }
    if (end > begin || sections.empty())
        sections.emplace_back(begin, end);

    for (const auto& [from, to] : sections) {
        const SectionBytes section = BuildSection(capitals, from, to);
        const SectionHeader header{section.count, section.count, std::uint32_t(to - from), 1,
                                   std::uint32_t(out.size())};
        unsigned char raw[SectionHeader::kSize];
        header.Write(raw);
        out.append(reinterpret_cast<const char*>(raw), sizeof raw);
        out += section.nodes;
        dictionary.sectionNodes.push_back(section.count);
    }
    return dictionary;
}

} // namespace quillory::spell
