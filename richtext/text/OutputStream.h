// The byte sinks that the writers write into.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillory {

// Where a writer's bytes go. Write returns the number of bytes taken; fewer than offered is a
// write failure.
class TWPOutputStream {
public:
    virtual ~TWPOutputStream() = default;
    virtual std::size_t Write(std::string_view bytes) = 0;
    // About this many more bytes will follow: a hint to make room once instead of growing.
    virtual void Expect(std::size_t) {}
};

// Collects the bytes in a string.
class TWPStringStream : public TWPOutputStream {
public:
    std::size_t Write(std::string_view bytes) override
    {
        data_.append(bytes);
        return bytes.size();
    }
    // Room that is never written to stays address space, not memory: the estimate may be high.
    void Expect(std::size_t bytes) override
    {
        if (data_.capacity() - data_.size() < bytes)
            data_.reserve(data_.size() + bytes);
    }
    const std::string& data() const noexcept { return data_; }
    std::string take() noexcept { return std::move(data_); }

private:
    std::string data_;
};

} // namespace quillory
