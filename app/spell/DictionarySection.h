// One section of a dictionary file: a letter tree of 3-byte nodes behind a 17-byte header.
// Main sections are read from their file through a cache of 8-node blocks; a user section is
// held whole in memory and written back whole after each change.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillory::spell {

struct SectionHeader {
    static constexpr std::size_t kSize = 17;
    std::uint32_t usedNodes = 0;  // highest node index in use
    std::uint32_t nodeCount = 0;  // nodes of a main section; capacity of a user section
    std::uint32_t wordCount = 0;
    std::uint8_t kind = 0;        // nonzero: main section; 0: user section
    std::uint32_t position = 0;   // of this header in its file

    static SectionHeader Parse(const unsigned char* bytes) noexcept;
    void Write(unsigned char* bytes) const noexcept;
};

struct Node {
    static constexpr std::uint8_t kLastSibling = 0x40;
    static constexpr std::uint8_t kEndsWord = 0x80;
    static constexpr std::uint8_t kCodeMask = 0x3F;
    static constexpr std::uint16_t kFreeChild = 65000;  // an unused node of a user dictionary

    std::uint16_t child = 0;  // first child; 0 = none
    std::uint8_t flags = 0;

    std::uint8_t Code() const noexcept { return flags & kCodeMask; }
    bool EndsWord() const noexcept { return flags & kEndsWord; }
    bool LastSibling() const noexcept { return flags & kLastSibling; }
};

// The program's own kinds of an open section.
enum class SectionKind { FirstMain = 0, FurtherMain = 1, User = 2 };

// A dictionary file's bytes, read whole when it is opened (a main dictionary is a few hundred
// kilobytes), so that the block cache refills from memory rather than by a read each time.
// Bytes past its end read as zeros.
class DictionaryFile {
public:
    static constexpr std::uint64_t kMaxSize = 256u << 20;  // far beyond any real dictionary

    // Nothing when the file cannot be read whole or is larger than kMaxSize.
    static std::shared_ptr<const DictionaryFile> Open(const std::filesystem::path& path);

    void Read(std::uint64_t position, unsigned char* out, std::size_t length) const noexcept;
    std::uint64_t Size() const noexcept { return bytes_.size(); }

private:
    std::vector<unsigned char> bytes_;
};

class DictionarySection {
public:
    virtual ~DictionarySection() = default;

    // Node `index` (1-based). An index past the section's nodes reads as zeros.
    virtual Node At(std::uint32_t index) const noexcept = 0;
    // The highest index that lookups may visit: child indexes above it are damage and are
    // treated as "no children", so a damaged file can neither loop nor read out of bounds.
    virtual std::uint32_t Limit() const noexcept = 0;
    virtual SectionKind Kind() const noexcept = 0;
};

// A section of a main dictionary, read through 1024 slots of 8 nodes.
class MainSection final : public DictionarySection {
public:
    MainSection(std::shared_ptr<const DictionaryFile> file, std::uint64_t headerPosition, const SectionHeader& header,
                SectionKind kind);

    Node At(std::uint32_t index) const noexcept override;
    std::uint32_t Limit() const noexcept override { return limit_; }
    SectionKind Kind() const noexcept override { return kind_; }
    const SectionHeader& Header() const noexcept { return header_; }
    // The first node of the root list with this letter code, 0 when the list has none: where a
    // scan of the root list from node 1 would first stop, found once at opening.
    std::uint32_t RootStart(std::uint8_t code) const noexcept { return rootStart_[code & Node::kCodeMask]; }

private:
    static constexpr std::size_t kSlots = 1024;
    static constexpr std::size_t kBlockBytes = 24;  // 8 nodes
    struct Slot {
        std::uint64_t position = ~std::uint64_t{0};
        std::array<unsigned char, kBlockBytes> bytes{};
    };

    std::shared_ptr<const DictionaryFile> file_;
    SectionHeader header_;
    std::uint64_t nodeBase_;  // node i lies at nodeBase_ + 3 i
    std::uint32_t limit_;
    SectionKind kind_;
    mutable std::vector<Slot> cache_;
    std::array<std::uint32_t, 64> rootStart_{};
};

inline Node MainSection::At(std::uint32_t index) const noexcept
{
    if (index == 0 || index > limit_)
        return Node{};
    const std::uint64_t block = std::uint64_t(index & ~7u) * 3 + nodeBase_;
    Slot& slot = cache_[(block / 8) % kSlots];
    if (slot.position != block) [[unlikely]] {
        file_->Read(block, slot.bytes.data(), kBlockBytes);
        slot.position = block;
    }
    const unsigned char* p = slot.bytes.data() + (index & 7u) * 3;
    return Node{static_cast<std::uint16_t>(p[0] | p[1] << 8), p[2]};
}

// The sections of a main dictionary file; empty when the file cannot be read or its first
// section is not a main section.
std::vector<std::unique_ptr<MainSection>> OpenMainSections(const std::filesystem::path& path);

// A user dictionary: its one section in memory, the file rewritten whole after each word.
class UserSection final : public DictionarySection {
public:
    static constexpr std::uint32_t kNewCapacity = 500;
    static constexpr std::size_t kMaxWordLength = 25;
    static constexpr std::uint32_t kMaxUsedNodes = 63999;

    // Nothing when the file cannot be read or its first section is not a user section.
    static std::optional<UserSection> Load(const std::filesystem::path& path);
    // The bytes of a new user dictionary that knows the word "A".
    static std::string NewFileBytes();

    Node At(std::uint32_t index) const noexcept override;
    std::uint32_t Limit() const noexcept override { return header_.usedNodes; }
    SectionKind Kind() const noexcept override { return SectionKind::User; }
    const SectionHeader& Header() const noexcept { return header_; }
    const std::filesystem::path& Path() const noexcept { return path_; }

    // Adds a word given in capitals; false when it is empty, over 25 characters, would pass the
    // node limit, meets a damaged tree, or the file cannot be written (then nothing changes).
    bool Add(std::string_view capitals);
    // The whole file as it is to be written.
    std::string FileBytes() const;

private:
    UserSection() = default;
    std::uint32_t InsertNode(std::uint32_t at, Node node);
    std::uint32_t AppendChain(std::string_view capitals);

    std::filesystem::path path_;
    std::string prologue_;  // the text header up to and including the byte 26
    SectionHeader header_;
    std::vector<Node> nodes_;  // nodes_[0] is unused; 1..capacity
};

} // namespace quillory::spell
