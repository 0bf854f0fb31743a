// The table of import formats and the guess of a source's format.
#include "app/import/ImportFormats.h"

#include "app/import/ImportSources.h"

#include <cctype>
#include <fstream>

namespace quillory {

namespace {

std::string LowerExtension(const std::filesystem::path& path)
{
    std::string extension = path.extension().string();
    for (char& c : extension)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

bool StartsWith(const std::filesystem::path& file, std::string_view bytes)
{
    std::ifstream in(file, std::ios::binary);
    std::string head(bytes.size(), '\0');
    return in.read(head.data(), std::streamsize(head.size())) && head == bytes;
}

} // namespace

const std::vector<ImportFormatInfo>& ImportFormats()
{
    static const std::vector<ImportFormatInfo> formats = {
        {ImportFormat::Jrnl, "jrnl", "jrnl JSON export (.json)", false},
        {ImportFormat::DayOne, "dayone", "Day One JSON export (.zip)", false},
        {ImportFormat::RedNotebook, "rednotebook", "RedNotebook data folder", true},
        {ImportFormat::Almanah, "almanah", "Almanah diary (diary.db)", false},
        {ImportFormat::Markdown, "markdown", "Markdown notes folder", true},
        {ImportFormat::Text, "text", "Folder of text files named by date", true},
    };
    return formats;
}

const ImportFormatInfo& InfoOf(ImportFormat format)
{
    for (const ImportFormatInfo& info : ImportFormats()) {
        if (info.format == format)
            return info;
    }
    return ImportFormats().front();
}

std::optional<ImportFormat> ImportFormatNamed(std::string_view word)
{
    for (const ImportFormatInfo& info : ImportFormats()) {
        if (info.word == word)
            return info.format;
    }
    return std::nullopt;
}

std::optional<ImportFormat> DetectImportFormat(const std::filesystem::path& source)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::is_regular_file(source, ec)) {
        const std::string extension = LowerExtension(source);
        if (extension == ".zip" || StartsWith(source, "PK\x03\x04"))
            return ImportFormat::DayOne;
        if (StartsWith(source, std::string_view("SQLite format 3\0", 16)))
            return ImportFormat::Almanah;
        if (extension == ".json")
            return ImportFormat::Jrnl;
        return std::nullopt;
    }
    if (!fs::is_directory(source, ec))
        return std::nullopt;
    bool markdown = false, text = false;
    int looked = 0;
    for (fs::recursive_directory_iterator walk(source, fs::directory_options::skip_permission_denied, ec), end;
         !ec && walk != end && looked < 10000; walk.increment(ec), ++looked) {
        const std::string name = walk->path().filename().string();
        const std::string extension = LowerExtension(walk->path());
        if (walk.depth() == 0 && name.size() == 11 && name[4] == '-' && extension == ".txt"
            && std::isdigit(static_cast<unsigned char>(name[0])) && std::isdigit(static_cast<unsigned char>(name[6])))
            return ImportFormat::RedNotebook;
        markdown |= extension == ".md";
        text |= extension == ".txt";
    }
    if (markdown)
        return ImportFormat::Markdown;
    if (text)
        return ImportFormat::Text;
    return std::nullopt;
}

ImportSource ReadImportSource(ImportFormat format, const std::filesystem::path& source, std::string_view pattern,
                              const ImportLimits& limits)
{
    switch (format) {
    case ImportFormat::Jrnl:
        return ReadJrnlFile(source, limits);
    case ImportFormat::DayOne:
        return ReadDayOneZip(source, limits);
    case ImportFormat::RedNotebook:
        return ReadRedNotebookFolder(source, limits);
    case ImportFormat::Almanah:
        return ReadAlmanahDatabase(source, limits);
    case ImportFormat::Markdown:
        return ReadMarkdownFolder(source, pattern, limits);
    case ImportFormat::Text:
        return ReadTextFolder(source, limits);
    }
    return {};
}

} // namespace quillory
