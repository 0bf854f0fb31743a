// quillory-cli spell [--suggest] [--language CODE] FILE|-: the misspelt words of an RTF entry or
// a UTF-8 text, one a line, each once, in order of first occurrence; with --suggest each is
// followed by a TAB and its suggestions, best first. Uses the diary's dictionaries as the window
// does (its language unless --language names another, and its user dictionary): a word in a
// script they do not spell (Russian, Greek, Chinese) is passed by. `spell --help` lists the
// languages installed.
#include "tools/cli/CliCommands.h"
#include "tools/cli/CliInput.h"

#include "app/spell/DictionaryPaths.h"
#include "app/spell/SpellEngine.h"
#include "platform/Utf8.h"
#include "richtext/edit/RangeEditing.h"
#include "richtext/edit/TextFinder.h"
#include "richtext/io/DocumentFormat.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <set>

namespace quillory::cli {

namespace {

int Error(const std::string& message)
{
    Fail(message);
    return 2;
}

bool LooksLikeRtf(std::string_view bytes)
{
    const std::size_t start = bytes.find_first_not_of(" \t\r\n\b");
    return start != std::string_view::npos && bytes.substr(start).starts_with("{\\rtf");
}

// The text reader keeps the stored behaviour of ending paragraphs at CR and dropping LF, which
// would run the last word of a Unix line into the first of the next: a lone LF becomes CR LF.
std::string WithParagraphEnds(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            out += '\r';
        out += text[i];
    }
    return out;
}

constexpr const char* kSpellUsage = "usage: quillory-cli spell [--suggest] [--language CODE] FILE|-";

std::string InstalledCodes()
{
    std::string codes;
    for (const spell::SpellLanguage* language : spell::InstalledSpellLanguages())
        codes += (codes.empty() ? "" : " ") + std::string(language->code);
    return codes.empty() ? "none" : codes;
}

int Help()
{
    std::printf("%s\n"
                "  the misspelt words of an RTF entry or UTF-8 text, one a line (exit 1: none)\n"
                "  --suggest        each word followed by a TAB and its suggestions, best first\n"
                "  --language CODE  the dictionary's language (default: the diary's, else the locale's)\n"
                "languages installed: %s\n",
                kSpellUsage, InstalledCodes().c_str());
    return 0;
}

} // namespace

int RunSpell(const Arguments& args)
{
    bool suggest = false;
    std::optional<std::string> code;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h")
            return Help();
        if (arg == "--suggest") {
            suggest = true;
        } else if (arg == "--language") {
            if (i + 1 >= args.size())
                return Error("--language needs a language code (installed: " + InstalledCodes() + ")");
            code = args[++i];
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 1)
        return Error("spell takes [--suggest] [--language CODE] FILE (an RTF entry or UTF-8 text)");

    const spell::SpellLanguage* language = nullptr;
    if (code) {
        language = spell::FindSpellLanguage(*code);
        if (!language)
            return Error("no spelling language " + *code + " (installed: " + InstalledCodes() + ")");
    } else {
        language = spell::ChooseSpellLanguage(spell::StoredSpellLanguage(), spell::EnvironmentLocale(),
                                              spell::InstalledSpellLanguages());
    }
    const std::string main = spell::MainDictionaryPath(language ? language->code : spell::kDefaultSpellLanguage);

    // "-" reads standard input, so that `quillory-cli cat DAY | quillory-cli spell -` checks an
    // entry of a diary with a password without a plain copy on disk.
    const auto read = ReadInput(files[0]);
    if (!read)
        return Error("cannot read " + files[0]);
    const std::string& bytes = *read;

    TWPRTFText document;
    try {
        const LoadOutcome loaded = LooksLikeRtf(bytes)
                                       ? LoadDocument(document, bytes, TWPFormatSetting::FormatRTF)
                                       : LoadDocument(document, WithParagraphEnds(Utf8OrCp1252(bytes)), TWPFormatSetting::FormatANSI);
        if (loaded.result != 0)
            return Error("cannot read " + files[0] + " (reader result " + std::to_string(loaded.result) + ")");
    } catch (const std::exception& error) {
        return Error("cannot read " + files[0] + ": " + error.what());
    }

    spell::TSpellEngine engine;
    if (!engine.OpenDictionary(main))
        return Error("no main dictionary in " + main + " (installed: " + InstalledCodes() + ")");
    const std::string user = spell::UserDictionaryPath();
    if (std::filesystem::exists(user) && engine.OpenUserDictionary(user) == -1)
        return Error("cannot read the user dictionary " + user);

    std::set<std::string> reported;
    auto report = [&](const std::string& word) {
        if (engine.IsWordCorrect(word) || !reported.insert(word).second)
            return;
        std::string line = word;
        if (suggest) {
            line += '\t';
            const auto& suggestions = engine.GetSuggestions(word);
            for (std::size_t i = 0; i < suggestions.size(); ++i)
                line += (i ? ", " : "") + suggestions[i];
        }
        std::printf("%s\n", line.c_str());
    };
    // Paragraph by paragraph, each read once: a walk by document positions would look each
    // position up from the first paragraph again.
    for (const TParagraph* paragraph = document.firstParagraph(); paragraph; paragraph = paragraph->next()) {
        const ParagraphContent content = ReadParagraph(*paragraph);
        for (auto found = FindNextWordIn(content, 0); found; found = FindNextWordIn(content, std::size_t(found->start + found->length)))
            report(content.text.substr(std::size_t(found->start), std::size_t(found->length)));
    }
    return reported.empty() ? 1 : 0;
}

} // namespace quillory::cli
