// A whole file read into memory with one read where the system allows: entries and documents
// are read whole before a reader sees them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quillory {

// The file's bytes, or nothing when it cannot be opened or read (a folder, no permission, a
// read error). A file that grows while it is read is read to its new end.
std::optional<std::string> ReadFileBytes(const std::string& path);

// Everything that can still be read from the open descriptor `fd` (a file, a pipe, standard
// input), or nothing on a read error or when it is a folder. `fd` stays open.
std::optional<std::string> ReadDescriptorBytes(int fd);

// A file's bytes for one reading from start to end. A large regular file is mapped: its pages
// come straight from the system's file cache, neither copied nor first filled with zeros, which
// for a document of megabytes is most of the cost of reading it whole. Anything else (a small
// file, a pipe, standard input) is read as ReadDescriptorBytes reads it.
//
// A mapped file that another program shortens while it is being read ends the process (the
// system's signal for a page past the file's end); the diary replaces its files by renaming,
// which never shortens a file that is open.
class FileContents {
public:
    // The contents of the open descriptor `fd` (which stays open), or nothing as for
    // ReadDescriptorBytes.
    static std::optional<FileContents> FromDescriptor(int fd);
    static std::optional<FileContents> FromFile(const std::string& path);

    FileContents(FileContents&& other) noexcept;
    FileContents& operator=(FileContents&& other) noexcept;
    FileContents(const FileContents&) = delete;
    FileContents& operator=(const FileContents&) = delete;
    ~FileContents();

    std::string_view view() const noexcept
    {
        return mapped_ ? std::string_view(mapped_, mappedSize_) : std::string_view(read_);
    }
    std::span<const std::uint8_t> bytes() const noexcept
    {
        const std::string_view all = view();
        return {reinterpret_cast<const std::uint8_t*>(all.data()), all.size()};
    }

    // Files from this size on are mapped.
    static constexpr std::size_t MapFrom = 256 * 1024;

private:
    FileContents() = default;
    void Unmap() noexcept;

    std::string read_;
    const char* mapped_ = nullptr;
    std::size_t mappedSize_ = 0;
};

} // namespace quillory
