// quillory-cli convert-legacy: converts the old single-table diary of the folder into entry
// files, as the window does at its first start but without asking. It refuses to run when
// Entries exists or a table file is missing, and succeeds only when Entries is complete.
#include "tools/cli/CliCommands.h"

#include "app/legacy/LegacyConversion.h"
#include "platform/Error.h"
#include "platform/Files.h"
#include "platform/ProgramFolder.h"

#include <cstdio>

namespace quillory::cli {

int RunConvertLegacy(const Arguments& args)
{
    if (!args.empty())
        return Fail("convert-legacy takes no arguments");
    if (FindNoCase(DiaryFolder() + "Entries"))
        return Fail("Entries exists already in " + DiaryFolder() + "; there is nothing to convert into");
    for (const std::string& file : {LegacyTableFileName(), LegacyMemoFileName()}) {
        if (!FileExistsNoCase(file))
            return Fail("no such file: " + file);
    }
    try {
        const ConversionResult result = ConvertLegacyTable();
        std::printf("%d entries written\n%d records skipped\n", result.entriesWritten, result.recordsSkipped);
        if (result.recordsWithDamagedMemo > 0)
            std::printf("%d records with a damaged memo\n", result.recordsWithDamagedMemo);
        return 0;
    } catch (const Error& error) {
        return Fail(std::string("the old diary was not converted: ") + error.what());
    }
}

} // namespace quillory::cli
