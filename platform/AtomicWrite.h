// Writing a user's file so that it is never left half-written: the bytes go to a temporary
// file in the same folder, are flushed to disk, and only then replace the old file by rename.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quillory {

// Replaces `file` with `bytes`. A file of the same name in another letter case is the one
// replaced, and a symbolic link is followed, so that the name keeps naming one file. On any
// failure the old file stays as it was, the temporary file is removed, and false is returned
// with a message in `error` (when given).
bool WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes,
                         std::string* error = nullptr);
// The same for a file that the caller has named exactly as it is to be on disk, having found any
// other spelling of it already: the folder's listing is not read. A long run of new files in one
// folder (an export) would otherwise read the growing listing again for every file.
bool WriteFileAtomicallyExact(const std::filesystem::path& file, std::string_view bytes,
                              std::string* error = nullptr);

// The same guarantee for a file written in pieces: nothing visible changes until Commit().
// Destroying the writer without a successful Commit() removes the temporary file.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const std::filesystem::path& file);
    // Writes `file` as it is spelled; see WriteFileAtomicallyExact.
    struct ExactName {};
    AtomicFileWriter(const std::filesystem::path& file, ExactName);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    bool Open(std::string* error = nullptr);
    bool Write(std::string_view bytes, std::string* error = nullptr);
    // Flushes the bytes to disk and renames the temporary file over the target.
    bool Commit(std::string* error = nullptr);

    // The file that Commit() replaces (the requested one, resolved for case and links).
    const std::filesystem::path& Target() const noexcept { return target_; }

private:
    void Discard() noexcept;

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    int descriptor_ = -1;
};

} // namespace quillory
