// Temporary file, write, fsync, rename, fsync of the folder: POSIX calls, so that every step's
// failure is seen and the temporary file is always cleaned up.
#include "platform/AtomicWrite.h"

#include "platform/Files.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillory {

namespace {

bool Failed(std::string* error, const std::string& what, const std::filesystem::path& file, int code)
{
    if (error)
        *error = what + " " + file.string() + ": " + std::strerror(code);
    return false;
}

// Follows a symbolic link so that the rename replaces the file it points to, not the link.
std::filesystem::path FollowLink(const std::filesystem::path& file)
{
    std::error_code ec;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(file, ec)))
        return file;
    auto real = std::filesystem::weakly_canonical(file, ec);
    return ec ? file : real;
}

void SyncFolder(const std::filesystem::path& folder)
{
    // Makes the rename itself durable. File systems that cannot sync a folder say so with
    // EINVAL; the new file is complete either way, so this is best effort.
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

AtomicFileWriter::AtomicFileWriter(const std::filesystem::path& file)
    : target_(FollowLink(PathForWriting(file)))
{
}

AtomicFileWriter::AtomicFileWriter(const std::filesystem::path& file, ExactName) : target_(FollowLink(file)) {}

AtomicFileWriter::~AtomicFileWriter()
{
    Discard();
}

void AtomicFileWriter::Discard() noexcept
{
    if (descriptor_ >= 0) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

bool AtomicFileWriter::Open(std::string* error)
{
    Discard();
    const auto folder = target_.parent_path();
    const std::string stem = "." + target_.filename().string() + ".tmp-" + std::to_string(::getpid()) + "-";
    for (int attempt = 0; attempt < 1000; ++attempt) {
        auto candidate = folder / (stem + std::to_string(attempt));
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            descriptor_ = fd;
            temporary_ = std::move(candidate);
            // A replaced file keeps its permissions (a private diary stays private).
            struct stat old {};
            if (::stat(target_.c_str(), &old) == 0)
                ::fchmod(descriptor_, old.st_mode & 07777);
            return true;
        }
        if (errno != EEXIST)
            return Failed(error, "cannot create a temporary file for", target_, errno);
    }
    return Failed(error, "cannot create a temporary file for", target_, EEXIST);
}

bool AtomicFileWriter::Write(std::string_view bytes, std::string* error)
{
    if (descriptor_ < 0)
        return Failed(error, "cannot write", target_, EBADF);
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor_, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            const int code = errno;
            Discard();
            return Failed(error, "cannot write", target_, code);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool AtomicFileWriter::Commit(std::string* error)
{
    if (descriptor_ < 0)
        return Failed(error, "cannot write", target_, EBADF);
    if (::fsync(descriptor_) != 0) {
        const int code = errno;
        Discard();
        return Failed(error, "cannot flush", target_, code);
    }
    const int closed = ::close(descriptor_);
    descriptor_ = -1;
    if (closed != 0) {
        const int code = errno;
        Discard();
        return Failed(error, "cannot write", target_, code);
    }
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        const int code = errno;
        Discard();
        return Failed(error, "cannot replace", target_, code);
    }
    temporary_.clear();
    SyncFolder(target_.parent_path());
    return true;
}

bool WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes, std::string* error)
{
    AtomicFileWriter writer(file);
    return writer.Open(error) && writer.Write(bytes, error) && writer.Commit(error);
}

bool WriteFileAtomicallyExact(const std::filesystem::path& file, std::string_view bytes, std::string* error)
{
    AtomicFileWriter writer(file, AtomicFileWriter::ExactName{});
    return writer.Open(error) && writer.Write(bytes, error) && writer.Commit(error);
}

} // namespace quillory
