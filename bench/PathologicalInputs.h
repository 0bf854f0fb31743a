// Generators of outside files shaped to cost more than their size, for the growth benchmark
// (bench/PathologicalBench.cpp) and the tests that check such files still read right.
#pragma once

#include "platform/Day.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace quillory::bench {

namespace detail {

template <typename Bytes>
void Put16(Bytes& out, std::size_t at, unsigned value)
{
    out[at] = static_cast<typename Bytes::value_type>(value & 0xFF);
    out[at + 1] = static_cast<typename Bytes::value_type>((value >> 8) & 0xFF);
}

template <typename Bytes>
void Put32(Bytes& out, std::size_t at, std::uint32_t value)
{
    Put16(out, at, value & 0xFFFF);
    Put16(out, at + 2, value >> 16);
}

} // namespace detail

// --- An icon library of many sections --------------------------------------------------------

// Each section's data: a 40-byte DIB info header of a 32 x 32 image of 32 bits, then the
// section's number in four bytes, so that a test can tell which section an icon came from.
inline constexpr std::size_t kSectionImageSize = 44;

inline std::uint32_t SectionAddress(int section)
{
    return 0x1000u * std::uint32_t(section + 1);
}

// A 32-bit module with `sections` sections (2 to 65,535) and `groups` icon groups (up to 65,535)
// of one image each: 2 x groups resource names. The resource tree lives in the last section of the table;
// icon i's image is the data of section i % (sections - 1), so that every look-up of an
// address has to find its section among all of them. Icon group i lists icon resource i + 1.
inline std::vector<std::uint8_t> PeModuleWithManySections(int sections, int groups)
{
    using detail::Put16;
    using detail::Put32;
    const std::size_t header = 0x40;
    const std::size_t optional = header + 24;
    const std::size_t optionalSize = 224;
    const std::size_t table = optional + optionalSize;
    const std::size_t imagesAt = table + std::size_t(sections) * 40;
    const int imageSections = sections - 1;
    const std::size_t treeAt = imagesAt + std::size_t(imageSections) * kSectionImageSize;

    // The tree: root (two types), two type directories, a language directory per name, a data
    // entry per name, then the group directories.
    const std::size_t names = std::size_t(groups) * 2;
    const std::size_t root = 0;
    const std::size_t typeDirs = root + 16 + 2 * 8;
    const std::size_t typeDirSize = 16 + std::size_t(groups) * 8;
    const std::size_t languageDirs = typeDirs + 2 * typeDirSize;
    const std::size_t dataEntries = languageDirs + names * 24;
    const std::size_t groupDirs = dataEntries + names * 16;
    const std::size_t groupDirSize = 6 + 14;
    const std::size_t treeSize = groupDirs + std::size_t(groups) * groupDirSize;

    std::vector<std::uint8_t> out(treeAt + treeSize, 0);
    out[0] = 'M';
    out[1] = 'Z';
    Put32(out, 0x3C, std::uint32_t(header));
    Put32(out, header, 0x00004550u);
    Put16(out, header + 4, 0x14C);
    Put16(out, header + 6, unsigned(sections));
    Put16(out, header + 20, unsigned(optionalSize));
    Put16(out, optional, 0x10B);
    Put32(out, optional + 92, 16);
    const std::uint32_t treeRva = SectionAddress(sections - 1);
    Put32(out, optional + 96 + 16, treeRva);
    Put32(out, optional + 96 + 20, std::uint32_t(treeSize));

    for (int s = 0; s < sections; ++s) {
        const std::size_t entry = table + std::size_t(s) * 40;
        const bool tree = s == sections - 1;
        const std::size_t data = tree ? treeAt : imagesAt + std::size_t(s) * kSectionImageSize;
        Put32(out, entry + 8, std::uint32_t(tree ? treeSize : kSectionImageSize));
        Put32(out, entry + 12, SectionAddress(s));
        Put32(out, entry + 16, std::uint32_t(tree ? treeSize : kSectionImageSize));
        Put32(out, entry + 20, std::uint32_t(data));
        if (!tree) {
            Put32(out, data, 40);
            Put32(out, data + 4, 32);
            Put32(out, data + 8, 64);
            Put16(out, data + 12, 1);
            Put16(out, data + 14, 32);
            Put32(out, data + 40, std::uint32_t(s));
        }
    }

    const auto at = [&](std::size_t offset) { return treeAt + offset; };
    const auto directory = [&](std::size_t offset, unsigned entries) { Put16(out, at(offset) + 14, entries); };
    directory(root, 2);
    const unsigned types[2] = {3, 14};  // icons, icon groups
    for (std::size_t t = 0; t < 2; ++t) {
        Put32(out, at(root + 16 + t * 8), types[t]);
        Put32(out, at(root + 16 + t * 8 + 4), 0x80000000u | std::uint32_t(typeDirs + t * typeDirSize));
        directory(typeDirs + t * typeDirSize, unsigned(groups));
        for (std::size_t g = 0; g < std::size_t(groups); ++g) {
            const std::size_t name = t * std::size_t(groups) + g;
            const std::size_t nameEntry = typeDirs + t * typeDirSize + 16 + g * 8;
            Put32(out, at(nameEntry), std::uint32_t(g + 1));
            Put32(out, at(nameEntry + 4), 0x80000000u | std::uint32_t(languageDirs + name * 24));
            directory(languageDirs + name * 24, 1);
            Put32(out, at(languageDirs + name * 24 + 16), 0x409);
            Put32(out, at(languageDirs + name * 24 + 20), std::uint32_t(dataEntries + name * 16));
            const std::size_t data = dataEntries + name * 16;
            if (types[t] == 3) {
                Put32(out, at(data), SectionAddress(int(g % std::size_t(imageSections))));
                Put32(out, at(data + 4), std::uint32_t(kSectionImageSize));
            } else {
                const std::size_t group = groupDirs + g * groupDirSize;
                Put32(out, at(data), treeRva + std::uint32_t(group));
                Put32(out, at(data + 4), std::uint32_t(groupDirSize));
                Put16(out, at(group + 2), 1);
                Put16(out, at(group + 4), 1);
                out[at(group + 6)] = 32;
                out[at(group + 7)] = 32;
                Put16(out, at(group + 10), 1);
                Put16(out, at(group + 12), 32);
                Put32(out, at(group + 14), std::uint32_t(kSectionImageSize));
                Put16(out, at(group + 18), unsigned(g + 1));
            }
        }
    }
    return out;
}

// --- An old diary whose records share one memo block ------------------------------------------

// A table (QUILLOR.DBF: DATE C(8), ENTRY M(10)) of `records` live records for the days from
// 1 January 2000 on, whose memo pointers all name the one memo of `memoBytes` letters in the
// memo file (QUILLOR.FPT): a damaged or hostile table that, copied out record by record, would
// write records x memoBytes bytes.
inline std::pair<std::string, std::string> LegacyTableSharingOneBlock(int records, std::size_t memoBytes)
{
    using detail::Put16;
    using detail::Put32;
    constexpr std::size_t kFields = 2;
    constexpr std::size_t kHeaderLength = 32 + kFields * 32 + 1;
    constexpr std::size_t kRecordLength = 1 + 8 + 10;
    constexpr unsigned kBlockSize = 64;
    constexpr std::size_t kMemoHeader = 512;

    std::string table(kHeaderLength, '\0');
    table[0] = char(0xF5);
    Put32(table, 4, std::uint32_t(records));
    Put16(table, 8, unsigned(kHeaderLength));
    Put16(table, 10, unsigned(kRecordLength));
    const struct {
        const char* name;
        char type;
        unsigned width;
    } fields[kFields] = {{"DATE", 'C', 8}, {"ENTRY", 'M', 10}};
    for (std::size_t f = 0; f < kFields; ++f) {
        const std::size_t at = 32 + f * 32;
        table.replace(at, std::char_traits<char>::length(fields[f].name), fields[f].name);
        table[at + 11] = fields[f].type;
        table[at + 16] = char(fields[f].width);
    }
    table[kHeaderLength - 1] = '\x0D';

    const std::string pointer = "         " + std::to_string(kMemoHeader / kBlockSize);
    const Day first = *Day::FromDate(2000, 1, 1);
    table.reserve(table.size() + std::size_t(records) * kRecordLength + 1);
    for (int r = 0; r < records; ++r) {
        table += ' ';
        for (const char c : IsoText(first + r))
            if (c != '-')
                table += c;
        table += pointer.substr(pointer.size() - 10);
    }
    table += '\x1A';

    std::string memo(kMemoHeader + 8, '\0');
    // The memo file keeps its numbers big-endian: the next free block, the block size, then
    // the one memo block's type (1, text) and length.
    const std::uint32_t nextFree = std::uint32_t((kMemoHeader + 8 + memoBytes + kBlockSize - 1) / kBlockSize);
    for (int i = 0; i < 4; ++i)
        memo[std::size_t(i)] = char((nextFree >> (24 - 8 * i)) & 0xFF);
    memo[6] = char(kBlockSize >> 8);
    memo[7] = char(kBlockSize & 0xFF);
    memo[kMemoHeader + 3] = 1;
    memo[kMemoHeader + 4] = char((memoBytes >> 24) & 0xFF);
    memo[kMemoHeader + 5] = char((memoBytes >> 16) & 0xFF);
    memo[kMemoHeader + 6] = char((memoBytes >> 8) & 0xFF);
    memo[kMemoHeader + 7] = char(memoBytes & 0xFF);
    for (std::size_t i = 0; i < memoBytes; ++i)
        memo += char('a' + i % 26);
    return {std::move(table), std::move(memo)};
}

} // namespace quillory::bench
