// quillory-cli: the diary's command-line companion. It works on the same program folder as the
// window, never asks questions, and reports errors on standard error with a non-zero exit.
#include "tools/cli/CliCommands.h"
#include "tools/cli/CommandLine.h"

#include <cstdio>
#include <cstring>
#include <string_view>

namespace quillory::cli {

int Fail(const std::string& message)
{
    std::fprintf(stderr, "quillory-cli: %s\n", message.c_str());
    return kErrorStatus;
}

} // namespace quillory::cli

namespace {

struct Command {
    std::string_view name;
    int (*run)(const quillory::cli::Arguments&);
    // Works on the diary, whose folder is then made ready first. Deciding where it lies reads
    // the program's folder (for an installed copy the system's folder of programs), which a
    // conversion of one file to another has no need of.
    bool usesDiary = true;
};

constexpr Command kCommands[] = {
    {"days", quillory::cli::RunDays},
    {"cat", quillory::cli::RunCat},
    {"crypt", quillory::cli::RunCrypt, false},
    {"convert", quillory::cli::RunConvert, false},
    {"convert-legacy", quillory::cli::RunConvertLegacy},
    {"export", quillory::cli::RunExport},
    {"print", quillory::cli::RunPrint},
    {"search", quillory::cli::RunSearch},
    {"onthisday", quillory::cli::RunOnThisDay},
    {"tags", quillory::cli::RunTags},
    {"stats", quillory::cli::RunStats},
    {"password", quillory::cli::RunPassword},
    {"spell", quillory::cli::RunSpell},
    {"backup", quillory::cli::RunBackup},
    {"restore", quillory::cli::RunRestore},
    {"backups", quillory::cli::RunBackups},
    {"versions", quillory::cli::RunVersions},
    {"resolve", quillory::cli::RunResolve},
    {"import", quillory::cli::RunImport},
};

constexpr const char* kUsage =
    "usage: quillory-cli [--folder DIR] COMMAND ...\n"
    "  days [YYYY-MM]                          first and last diary day, or a month's days\n"
    "  cat DAY [--version FILE] [--password-file F]\n"
    "                                          an entry's RTF (DAY is YYYY-MM-DD or YYYYMMDD),\n"
    "                                          or that of another version of the day\n"
    "  crypt --encrypt|--decrypt --password P IN OUT\n"
    "  convert [--to rtf|text|html|pdf] IN OUT (OUT \"-\" = standard output)\n"
    "  convert-legacy                          the old QUILLOR.DBF diary into entry files\n"
    "  export [--from DAY] [--until DAY] [--format rtf|text|html|pdf|markdown|json] [--password-file F] OUTDIR\n"
    "                                          each entry into a file YYYYMMDD.RTF (.txt, .html, .pdf),\n"
    "                                          YYYY-MM-DD.md with its pictures, or all into diary.json\n"
    "  print --pdf OUT.pdf [--from DAY] [--until DAY] [--merged] [--password-file F]\n"
    "                                          the printed pages of the entries as a PDF\n"
    "  search [--from DAY] [--until DAY] [--password-file F] QUERY\n"
    "                                          days whose entries answer QUERY: words, \"a phrase\",\n"
    "                                          -word, #tag, from:DAY, until:DAY\n"
    "  onthisday [DAY]                         entries of DAY's date in earlier years, with their first line\n"
    "  tags [--from DAY] [--until DAY]         tags and the number of days each is on, most used first\n"
    "  stats [--from DAY] [--until DAY] [--json]\n"
    "                                          entries, words, first entry, streaks (key: value or JSON)\n"
    "  password set [--legacy] [--password-file F] [--old-password-file F]\n"
    "  password clear [--old-password-file F]  set, change or clear the diary password\n"
    "  spell [--suggest] [--language CODE] FILE|-\n"
    "                                          misspelt words of an entry or text (exit 1: none;\n"
    "                                          spell --help lists the languages)\n"
    "  backup OUT.zip                          the entries and QL.INI into one checked archive\n"
    "  backup --auto                           what closing the diary does: an automatic backup when due\n"
    "  backups                                 the automatic backups: date, entries, bytes, file\n"
    "  restore IN.zip                          the diary replaced by a backup (the old one kept)\n"
    "  versions [DAY]                          other versions of days (sync tools' conflict copies):\n"
    "                                          DAY<TAB>file<TAB>modified per line (exit 1: none)\n"
    "  resolve DAY --append [FILE] | --use FILE | --dismiss FILE [--password-file F]\n"
    "                                          a version below the entry, instead of it (the entry\n"
    "                                          kept as a version), or set aside in \"Old versions\"\n"
    "  import jrnl|dayone|rednotebook|almanah|markdown|text SOURCE [--on-conflict append|skip|replace]\n"
    "         [--pattern PATTERN] [--dry-run] [--password-file F]\n"
    "                                          entries of another diary program into this diary\n";

} // namespace

// Sets the diary folder that the commands work on (--folder DIR), and makes a default one ready
// when `prepareDiary`; defined with the platform layer.
void QuilloryCliUseFolder(const char* folderOrNull, bool prepareDiary);

int main(int argc, char** argv)
{
    int at = 1;
    const char* folder = nullptr;
    if (at + 1 < argc && std::strcmp(argv[at], "--folder") == 0) {
        folder = argv[at + 1];
        at += 2;
    }
    if (at >= argc) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    quillory::cli::KeepCommandLine(argv);
    const std::string_view word = argv[at];
    quillory::cli::Arguments args(argv + at + 1, argv + argc);
    for (const Command& command : kCommands) {
        if (command.name == word) {
            QuilloryCliUseFolder(folder, command.usesDiary);
            return command.run(args);
        }
    }
    std::fputs(kUsage, stderr);
    return 2;
}
