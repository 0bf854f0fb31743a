// A zip archive from another diary, read-only and bounded: every member's stated size is
// checked against the limits before it is read, and a member that unpacks to more than it
// states is refused, so that a small archive cannot take the memory (a zip bomb).
#pragma once

#include "app/import/ImportedEntry.h"

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>

struct zip;

namespace quillory {

class ImportZip {
public:
    // Throws quillory::Error when the archive cannot be opened, holds more members than the
    // limits allow, or states more bytes in all than they allow.
    static std::shared_ptr<ImportZip> OpenFile(const std::filesystem::path& file, const ImportLimits& limits);
    // `bytes` are kept by the archive.
    static std::shared_ptr<ImportZip> OpenBytes(std::string bytes, const ImportLimits& limits);
    ~ImportZip();
    ImportZip(const ImportZip&) = delete;
    ImportZip& operator=(const ImportZip&) = delete;

    // Member names (as stored, '/' between folders) with their stated sizes; folders left out.
    const std::map<std::string, std::uint64_t>& Members() const noexcept { return members_; }
    // A member's bytes, at most `maxSize` of them. Throws quillory::Error when it is missing,
    // larger than `maxSize`, damaged, or unpacks to another size than it states.
    std::string Read(const std::string& name, std::uint64_t maxSize) const;

private:
    explicit ImportZip(std::string bytes) : bytes_(std::move(bytes)) {}
    // Takes the archive and lists its members within the limits.
    void Catalogue(zip* archive, const ImportLimits& limits);

    std::string bytes_;  // an archive opened from memory reads these
    zip* archive_ = nullptr;
    std::map<std::string, std::uint64_t> members_;
    std::map<std::string, std::uint64_t> indexes_;
};

} // namespace quillory
