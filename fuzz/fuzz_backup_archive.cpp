// Arbitrary bytes as a diary backup archive: the check that a restore makes either refuses it
// with a message or accepts only entry files and QL.INI of sound sizes, and never crashes,
// hangs or reads out of bounds.
#include "app/BackupArchive.h"
#include "platform/Error.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace quillory;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // Small limits keep each run quick; the checks are the same at any size.
    ArchiveLimits limits;
    limits.maxMembers = 64;
    limits.maxEntrySize = 1 << 20;
    limits.maxSettingsSize = 1 << 16;
    limits.maxTotalSize = 4 << 20;
    try {
        const BackupArchive archive = BackupArchive::OpenBytes(bytes, "fuzz.zip");
        const auto members = CheckBackupArchive(archive, limits);
        std::uint64_t total = 0;
        for (const auto& member : members) {
            const auto kind = ClassifyMemberName(member.CanonicalName());
            if (!kind || kind->kind != member.kind || kind->day != member.day)
                std::abort();
            total += member.size;
        }
        if (members.empty() || members.size() > limits.maxMembers || total > limits.maxTotalSize)
            std::abort();
    } catch (const Error&) {
        // Refused: what a restore reports to the user.
    }
    return 0;
}
