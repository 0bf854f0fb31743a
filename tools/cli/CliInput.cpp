// Reading a command's input without a stream library between the file and the buffer: the
// size is known for a regular file, so its bytes arrive in one read and are never copied.
#include "tools/cli/CliInput.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillory::cli {

namespace {

// Reads from `fd` until its end into `bytes`, whose first `have` bytes are read already; grows
// it only when it is full (a pipe, or a file larger than its size said).
bool ReadToEnd(int fd, std::string& bytes, std::size_t have)
{
    constexpr std::size_t kBlock = 64 * 1024;
    for (;;) {
        if (bytes.size() == have)
            bytes.resize(have + kBlock);
        const ssize_t got = ::read(fd, bytes.data() + have, bytes.size() - have);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (got == 0)
            break;
        have += std::size_t(got);
    }
    bytes.resize(have);
    return true;
}

// The whole of `fd`; a regular file's size is asked first so that it takes a single read (and
// one more that finds the end).
std::optional<std::string> ReadDescriptor(int fd)
{
    struct stat status {};
    std::string bytes;
    std::size_t have = 0;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
        // One byte more than the size, so that the read that finds the end needs no growing.
        bytes.resize(std::size_t(status.st_size) + 1);
        const ssize_t got = ::read(fd, bytes.data(), bytes.size());
        if (got < 0 && errno != EINTR)
            return std::nullopt;
        have = got > 0 ? std::size_t(got) : 0;
    }
    if (!ReadToEnd(fd, bytes, have))
        return std::nullopt;
    return bytes;
}

} // namespace

std::optional<std::string> ReadInput(const std::string& name)
{
    if (name == "-")
        return ReadDescriptor(STDIN_FILENO);
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    auto bytes = ReadDescriptor(fd);
    ::close(fd);
    return bytes;
}

} // namespace quillory::cli
