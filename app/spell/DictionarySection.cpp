// Reading dictionary sections, the main sections' block cache, and adding to a user section.
#include "app/spell/DictionarySection.h"

#include "app/spell/SpellAlphabet.h"
#include "platform/AtomicWrite.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>


namespace quillory::spell {

namespace {

constexpr char kEndOfText = 26;
constexpr std::size_t kMaxSections = 4096;  // a damaged file cannot make the list endless
constexpr std::string_view kUserTitle = "USER DICTIONARY\r\n";
constexpr std::string_view kUserNotice = "Letter tree of 3-byte nodes. Do not edit.";
static_assert(kUserNotice.size() == 41);

std::uint32_t Get32(const unsigned char* p) noexcept
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

void Put32(unsigned char* p, std::uint32_t v) noexcept
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}

Node ParseNode(const unsigned char* p) noexcept
{
    return Node{static_cast<std::uint16_t>(p[0] | p[1] << 8), p[2]};
}

void PutNode(std::string& out, Node node)
{
    out.push_back(static_cast<char>(node.child & 0xFF));
    out.push_back(static_cast<char>(node.child >> 8));
    out.push_back(static_cast<char>(node.flags));
}

constexpr Node kFreeNode{Node::kFreeChild, Node::kLastSibling | Node::kEndsWord};

} // namespace

SectionHeader SectionHeader::Parse(const unsigned char* b) noexcept
{
    return SectionHeader{Get32(b), Get32(b + 4), Get32(b + 8), b[12], Get32(b + 13)};
}

void SectionHeader::Write(unsigned char* b) const noexcept
{
    Put32(b, usedNodes);
    Put32(b + 4, nodeCount);
    Put32(b + 8, wordCount);
    b[12] = kind;
    Put32(b + 13, position);
}

// --- DictionaryFile --------------------------------------------------------------------------

std::shared_ptr<const DictionaryFile> DictionaryFile::Open(const std::filesystem::path& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) || std::filesystem::file_size(path, error) > kMaxSize || error)
        return nullptr;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return nullptr;
    auto file = std::make_shared<DictionaryFile>();
    file->bytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad())
        return nullptr;
    return file;
}

void DictionaryFile::Read(std::uint64_t position, unsigned char* out, std::size_t length) const noexcept
{
    std::memset(out, 0, length);
    if (position >= bytes_.size())
        return;
    const std::size_t available = std::size_t(std::min<std::uint64_t>(length, bytes_.size() - position));
    std::memcpy(out, bytes_.data() + position, available);
}

// --- main sections ---------------------------------------------------------------------------

MainSection::MainSection(std::shared_ptr<const DictionaryFile> file, std::uint64_t headerPosition,
                         const SectionHeader& header, SectionKind kind)
    : file_(std::move(file)),
      header_(header),
      nodeBase_(headerPosition + SectionHeader::kSize - 3),
      limit_(std::min<std::uint32_t>(header.nodeCount, 65535)),
      kind_(kind),
      cache_(kSlots)
{
    for (std::uint32_t i = 1; i <= limit_; ++i) {
        const Node node = At(i);
        if (rootStart_[node.Code()] == 0)
            rootStart_[node.Code()] = i;
        if (node.LastSibling())
            break;
    }
}

std::vector<std::unique_ptr<MainSection>> OpenMainSections(const std::filesystem::path& path)
{
    std::vector<std::unique_ptr<MainSection>> sections;
    auto file = DictionaryFile::Open(path);
    if (!file)
        return sections;
    // The text header ends at the first byte 26.
    std::uint64_t at = 0;
    {
        unsigned char chunk[512];
        bool found = false;
        while (!found && at < file->Size()) {
            file->Read(at, chunk, sizeof chunk);
            const std::size_t n = std::size_t(std::min<std::uint64_t>(sizeof chunk, file->Size() - at));
            const auto* end = std::find(chunk, chunk + n, static_cast<unsigned char>(kEndOfText));
            at += std::size_t(end - chunk);
            found = end != chunk + n;
        }
        if (!found)
            return sections;
        ++at;
    }
    while (sections.size() < kMaxSections) {
        unsigned char bytes[SectionHeader::kSize];
        file->Read(at, bytes, sizeof bytes);
        const SectionHeader header = SectionHeader::Parse(bytes);
        if (sections.empty() && header.kind == 0)
            return sections;  // a user dictionary, not a main one
        sections.push_back(std::make_unique<MainSection>(
            file, at, header, sections.empty() ? SectionKind::FirstMain : SectionKind::FurtherMain));
        const std::uint64_t nodeBase = at + SectionHeader::kSize - 3;
        const std::uint64_t next = nodeBase + 3 + std::uint64_t(header.nodeCount) * 3;
        if (next + 20 >= file->Size())
            break;
        at = next;
    }
    return sections;
}

// --- user sections ---------------------------------------------------------------------------

std::optional<UserSection> UserSection::Load(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return std::nullopt;
    const std::size_t end = bytes.find(kEndOfText);
    if (end == std::string::npos)
        return std::nullopt;
    const std::size_t at = end + 1;
    unsigned char raw[SectionHeader::kSize] = {};
    for (std::size_t i = 0; i < sizeof raw && at + i < bytes.size(); ++i)
        raw[i] = static_cast<unsigned char>(bytes[at + i]);
    SectionHeader header = SectionHeader::Parse(raw);
    if (header.kind != 0)
        return std::nullopt;

    UserSection section;
    section.path_ = path;
    section.prologue_ = bytes.substr(0, at);
    // The counts are trusted only as far as a tree can reach; the nodes the file lacks are zeros.
    header.usedNodes = std::min<std::uint32_t>(header.usedNodes, 65535);
    header.nodeCount = std::clamp<std::uint32_t>(header.nodeCount, header.usedNodes, 65535);
    header.position = std::uint32_t(at);
    section.header_ = header;
    section.nodes_.resize(std::size_t(header.nodeCount) + 1);
    const std::size_t nodeBase = at + SectionHeader::kSize - 3;
    for (std::uint32_t i = 1; i <= header.nodeCount; ++i) {
        unsigned char node[3] = {};
        for (std::size_t k = 0; k < 3 && nodeBase + i * 3 + k < bytes.size(); ++k)
            node[k] = static_cast<unsigned char>(bytes[nodeBase + i * 3 + k]);
        section.nodes_[i] = ParseNode(node);
    }
    return section;
}

std::string UserSection::NewFileBytes()
{
    std::string out(kUserTitle);
    out += kUserNotice;
    out += "\r\n";
    out.push_back(kEndOfText);
    const SectionHeader header{1, kNewCapacity, 1, 0, std::uint32_t(out.size())};
    unsigned char raw[SectionHeader::kSize];
    header.Write(raw);
    out.append(reinterpret_cast<const char*>(raw), sizeof raw);
    PutNode(out, Node{0, std::uint8_t(Node::kLastSibling | Node::kEndsWord | LetterCode('A'))});
    for (std::uint32_t i = 2; i <= kNewCapacity; ++i)
        PutNode(out, kFreeNode);
    return out;
}

Node UserSection::At(std::uint32_t index) const noexcept
{
    return index < nodes_.size() ? nodes_[index] : Node{};
}

std::string UserSection::FileBytes() const
{
    std::string out = prologue_;
    unsigned char raw[SectionHeader::kSize];
    header_.Write(raw);
    out.append(reinterpret_cast<const char*>(raw), sizeof raw);
    for (std::uint32_t i = 1; i <= header_.nodeCount; ++i)
        PutNode(out, nodes_[i]);
    return out;
}

// Makes room at `at` for `node`: the nodes from there on move one place on, and every child
// index that pointed at or past `at` follows them.
std::uint32_t UserSection::InsertNode(std::uint32_t at, Node node)
{
    for (std::uint32_t i = 1; i <= header_.usedNodes; ++i) {
        if (nodes_[i].child >= at && nodes_[i].child != 0)
            ++nodes_[i].child;
    }
    nodes_.insert(nodes_.begin() + at, node);
    ++header_.usedNodes;
    return at;
}

// Appends the letters as a chain of single-node lists; returns the index of the first.
std::uint32_t UserSection::AppendChain(std::string_view capitals)
{
    const std::uint32_t first = header_.usedNodes + 1;
    for (std::size_t i = 0; i < capitals.size(); ++i) {
        const bool last = i + 1 == capitals.size();
        Node node{last ? std::uint16_t(0) : std::uint16_t(header_.usedNodes + 2),
                  std::uint8_t(Node::kLastSibling | LetterCode(static_cast<unsigned char>(capitals[i])))};
        if (last)
            node.flags |= Node::kEndsWord;
        ++header_.usedNodes;
        nodes_.insert(nodes_.begin() + header_.usedNodes, node);
    }
    return first;
}

bool UserSection::Add(std::string_view capitals)
{
    if (capitals.empty() || capitals.size() > kMaxWordLength ||
        header_.usedNodes + capitals.size() > kMaxUsedNodes)
        return false;
    const UserSection before = *this;
    // Only the used nodes take part; the free ones behind them are rebuilt on writing.
    nodes_.resize(std::size_t(header_.usedNodes) + 1);

    std::uint32_t list = 1;
    std::size_t pos = 0;
    bool changed = false;
    while (pos < capitals.size()) {
        const std::uint8_t code = LetterCode(static_cast<unsigned char>(capitals[pos]));
        const bool lastLetter = pos + 1 == capitals.size();
        std::uint32_t found = 0, lastOfList = 0;
        for (std::uint32_t i = list; i <= header_.usedNodes; ++i) {
            if (nodes_[i].Code() == code) {
                found = i;
                break;
            }
            if (nodes_[i].LastSibling()) {
                lastOfList = i;
                break;
            }
        }
        if (found == 0 && lastOfList == 0 && list <= header_.usedNodes) {
            *this = before;  // a list that runs off the used nodes: a damaged tree
            return false;
        }
        if (found != 0) {
            Node& node = nodes_[found];
            if (lastLetter) {
                changed = !node.EndsWord();
                node.flags |= Node::kEndsWord;
                break;
            }
            if (node.child != 0) {
                if (node.child > header_.usedNodes) {
                    *this = before;
                    return false;
                }
                list = node.child;
                ++pos;
                continue;
            }
            const std::uint32_t chain = AppendChain(capitals.substr(pos + 1));
            nodes_[found].child = std::uint16_t(chain);
            changed = true;
            break;
        }
        // The letter is missing from this list: a new last node of the list.
        const std::uint32_t at = lastOfList != 0 ? lastOfList + 1 : list;
        std::uint8_t flags = std::uint8_t(Node::kLastSibling | code);
        if (lastLetter)
            flags |= Node::kEndsWord;
        if (lastOfList != 0)
            nodes_[lastOfList].flags &= std::uint8_t(~Node::kLastSibling);
        InsertNode(at, Node{0, flags});
        if (!lastLetter)
            nodes_[at].child = std::uint16_t(AppendChain(capitals.substr(pos + 1)));
        changed = true;
        break;
    }
    if (!changed) {
        *this = before;
        return true;  // known already
    }
    ++header_.wordCount;
    // Room grows in steps of the new file's capacity; the free nodes are marked as a new file's.
    std::uint32_t capacity = std::max(header_.nodeCount, kNewCapacity);
    while (capacity < header_.usedNodes)
        capacity += kNewCapacity;
    header_.nodeCount = std::min<std::uint32_t>(capacity, 65535);
    nodes_.resize(std::size_t(header_.nodeCount) + 1, kFreeNode);
    if (!WriteFileAtomically(path_, FileBytes())) {
        *this = before;
        return false;
    }
    return true;
}

} // namespace quillory::spell
