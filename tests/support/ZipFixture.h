// Zip archives for the backup tests: made member by member with libzip (names, modes and
// compression chosen freely, hostile ones included), snapshots of a folder's files to show that
// nothing changed, and byte surgery on an archive's headers.
#pragma once

#include <zip.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace zipfixture {

struct Member {
    std::string name;
    std::string bytes;
    std::uint32_t unixMode = 0100644;  // 0120777 makes a link
    bool store = false;                // else deflated
};

// Writes `members` into `file` with libzip, in order, duplicates and any names allowed.
inline void WriteZip(const std::filesystem::path& file, const std::vector<Member>& members)
{
    int code = 0;
    zip_t* archive = zip_open(file.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive)
        throw std::runtime_error("zip_open failed");
    for (const Member& member : members) {
        // The bytes must live until zip_close: libzip copies them when asked to (freep = 0 and
        // a copy made here that it frees).
        void* copy = std::malloc(member.bytes.size() + 1);
        std::memcpy(copy, member.bytes.data(), member.bytes.size());
        zip_source_t* source = zip_source_buffer(archive, copy, member.bytes.size(), 1);
        const bool directory = !member.name.empty() && member.name.back() == '/';
        const zip_int64_t index = directory ? zip_dir_add(archive, member.name.c_str(), 0)
                                            : zip_file_add(archive, member.name.c_str(), source, 0);
        if (directory)
            zip_source_free(source);
        if (index < 0)
            throw std::runtime_error(std::string("zip_file_add failed: ") + zip_strerror(archive));
        zip_file_set_external_attributes(archive, zip_uint64_t(index), 0, ZIP_OPSYS_UNIX,
                                         (directory ? 040755u : member.unixMode) << 16);
        zip_set_file_compression(archive, zip_uint64_t(index), member.store ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0);
    }
    if (zip_close(archive) != 0)
        throw std::runtime_error(std::string("zip_close failed: ") + zip_strerror(archive));
}

inline std::string ReadBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::filesystem::path& file, const std::string& bytes)
{
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

inline std::string MakeZip(const std::filesystem::path& scratch, const std::vector<Member>& members)
{
    WriteZip(scratch, members);
    std::string bytes = ReadBytes(scratch);
    std::filesystem::remove(scratch);
    return bytes;
}

// Every file under `folder` (relative name -> bytes): equal snapshots mean nothing changed.
inline std::map<std::string, std::string> Snapshot(const std::filesystem::path& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& item : std::filesystem::recursive_directory_iterator(folder)) {
        if (item.is_regular_file())
            files[std::filesystem::relative(item.path(), folder).generic_string()] = ReadBytes(item.path());
        else if (item.is_directory())
            files[std::filesystem::relative(item.path(), folder).generic_string() + "/"] = "";
    }
    return files;
}

// Sets the unpacked size that the local header and the central directory state for every
// member to `size` (a bomb: a member that unpacks to far more than it says).
inline std::string StateUnpackedSize(std::string zip, std::uint32_t size)
{
    auto put = [&](std::size_t at) {
        for (int i = 0; i < 4; ++i)
            zip[at + i] = char((size >> (8 * i)) & 0xFF);
    };
    for (std::size_t at = zip.find("PK\3\4"); at != std::string::npos; at = zip.find("PK\3\4", at + 4))
        put(at + 22);
    for (std::size_t at = zip.find("PK\1\2"); at != std::string::npos; at = zip.find("PK\1\2", at + 4))
        put(at + 24);
    return zip;
}

} // namespace zipfixture
