// Bounded reading of zip archives through libzip.
#include "app/import/ImportZip.h"

#include "platform/Error.h"

#include <zip.h>

#include <array>

namespace quillory {

std::shared_ptr<ImportZip> ImportZip::OpenFile(const std::filesystem::path& file, const ImportLimits& limits)
{
    int code = 0;
    zip* archive = zip_open(file.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (!archive) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        const std::string why = zip_error_strerror(&error);
        zip_error_fini(&error);
        throw Error(file.string() + " is no zip archive that can be read (" + why + ")");
    }
    std::shared_ptr<ImportZip> made(new ImportZip(std::string()));
    made->Catalogue(archive, limits);
    return made;
}

std::shared_ptr<ImportZip> ImportZip::OpenBytes(std::string bytes, const ImportLimits& limits)
{
    // The archive reads the bytes where the object keeps them, so they move in first.
    std::shared_ptr<ImportZip> made(new ImportZip(std::move(bytes)));
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(made->bytes_.data(), made->bytes_.size(), 0, &error);
    zip* archive = source ? zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error) : nullptr;
    if (!archive) {
        const std::string why = zip_error_strerror(&error);
        zip_error_fini(&error);
        if (source)
            zip_source_free(source);
        throw Error("This is no zip archive that can be read (" + why + ")");
    }
    zip_error_fini(&error);
    made->Catalogue(archive, limits);
    return made;
}

void ImportZip::Catalogue(zip* archive, const ImportLimits& limits)
{
    archive_ = archive;
    const zip_int64_t count = zip_get_num_entries(archive_, 0);
    if (count < 0 || std::uint64_t(count) > limits.maxArchiveMembers) {
        zip_discard(archive_);
        archive_ = nullptr;
        throw Error("The archive holds more files than an import takes");
    }
    std::uint64_t total = 0;
    for (zip_int64_t index = 0; index < count; ++index) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive_, zip_uint64_t(index), 0, &stat) != 0 || !(stat.valid & ZIP_STAT_NAME)
            || !(stat.valid & ZIP_STAT_SIZE))
            continue;
        const std::string name = stat.name;
        if (name.empty() || name.back() == '/')
            continue;
        total += stat.size;
        if (total > limits.maxArchiveTotal) {
            zip_discard(archive_);
            archive_ = nullptr;
            throw Error("The archive unpacks to more than an import takes");
        }
        members_.emplace(name, stat.size);
        indexes_.emplace(name, std::uint64_t(index));
    }
}

ImportZip::~ImportZip()
{
    if (archive_)
        zip_discard(archive_);
}

std::string ImportZip::Read(const std::string& name, std::uint64_t maxSize) const
{
    const auto member = members_.find(name);
    if (member == members_.end())
        throw Error(name + " is not in the archive");
    const std::uint64_t size = member->second;
    if (size > maxSize)
        throw Error(name + " is larger than an import takes");
    zip_file_t* file = zip_fopen_index(archive_, indexes_.at(name), 0);
    if (!file)
        throw Error(name + " cannot be read (" + zip_strerror(archive_) + ")");
    std::string bytes;
    bytes.reserve(std::size_t(size));
    std::array<char, 64 * 1024> block;
    std::string problem;
    for (;;) {
        // One byte past the stated size finds a member that would give more; a read to the end
        // lets libzip compare the checksum.
        const std::uint64_t wanted = std::min<std::uint64_t>(block.size(), size + 1 - bytes.size());
        const zip_int64_t got = zip_fread(file, block.data(), wanted);
        if (got < 0) {
            problem = name + " is damaged (" + zip_file_strerror(file) + ")";
            break;
        }
        if (got == 0)
            break;
        bytes.append(block.data(), std::size_t(got));
        if (bytes.size() > size) {
            problem = name + " unpacks to more than its stated size";
            break;
        }
    }
    zip_fclose(file);
    if (problem.empty() && bytes.size() != size)
        problem = name + " is shorter than its stated size";
    if (!problem.empty())
        throw Error(problem);
    return bytes;
}

} // namespace quillory
