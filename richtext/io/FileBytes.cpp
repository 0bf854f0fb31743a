// Reading a whole file: its size first, then one read into a buffer of that size.
#include "richtext/io/FileBytes.h"

#include <cerrno>
#include <utility>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillory {
namespace {

// Closes the descriptor however reading ends.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) noexcept : fd_(fd) {}
    ~FileDescriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const noexcept { return fd_; }

private:
    int fd_;
};

} // namespace

std::optional<std::string> ReadFileBytes(const std::string& path)
{
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0)
        return std::nullopt;
    return ReadDescriptorBytes(file.get());
}

std::optional<std::string> ReadDescriptorBytes(int fd)
{
    struct stat status {};
    if (::fstat(fd, &status) != 0 || S_ISDIR(status.st_mode))
        return std::nullopt;
    std::string bytes;
    // Regular files tell their size; pipes and the like report 0 and are read in blocks.
    std::size_t size = S_ISREG(status.st_mode) && status.st_size > 0 ? std::size_t(status.st_size) : 0;
    bytes.resize(size > 0 ? size + 1 : 64 * 1024); // one byte more shows the end in the same read
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size())
            bytes.resize(bytes.size() * 2);
        const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        if (got == 0)
            break;
        filled += std::size_t(got);
    }
    bytes.resize(filled);
    return bytes;
}

std::optional<FileContents> FileContents::FromFile(const std::string& path)
{
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0)
        return std::nullopt;
    return FromDescriptor(file.get());
}

std::optional<FileContents> FileContents::FromDescriptor(int fd)
{
    FileContents contents;
    struct stat status {};
    // Only a file read from its start: a descriptor handed on part-read goes on where it is.
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && std::size_t(status.st_size) >= MapFrom
        && ::lseek(fd, 0, SEEK_CUR) == 0) {
        int flags = MAP_PRIVATE;
#ifdef MAP_POPULATE
        flags |= MAP_POPULATE; // all of it is read: its pages are mapped in one go, not one by one
#endif
        void* mapped = ::mmap(nullptr, std::size_t(status.st_size), PROT_READ, flags, fd, 0);
        if (mapped != MAP_FAILED) {
            contents.mapped_ = static_cast<const char*>(mapped);
            contents.mappedSize_ = std::size_t(status.st_size);
            return contents;
        }
    }
    // Not mappable (a pipe, a small file, a system that refuses): read.
    auto bytes = ReadDescriptorBytes(fd);
    if (!bytes)
        return std::nullopt;
    contents.read_ = std::move(*bytes);
    return contents;
}

FileContents::FileContents(FileContents&& other) noexcept
    : read_(std::move(other.read_)),
      mapped_(std::exchange(other.mapped_, nullptr)),
      mappedSize_(std::exchange(other.mappedSize_, 0))
{
}

FileContents& FileContents::operator=(FileContents&& other) noexcept
{
    if (this != &other) {
        Unmap();
        read_ = std::move(other.read_);
        mapped_ = std::exchange(other.mapped_, nullptr);
        mappedSize_ = std::exchange(other.mappedSize_, 0);
    }
    return *this;
}

FileContents::~FileContents()
{
    Unmap();
}

void FileContents::Unmap() noexcept
{
    if (mapped_)
        ::munmap(const_cast<char*>(mapped_), mappedSize_);
    mapped_ = nullptr;
    mappedSize_ = 0;
}

} // namespace quillory
