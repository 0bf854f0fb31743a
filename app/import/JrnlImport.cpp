// jrnl's JSON export, read with Qt's JSON parser.
#include "app/import/ImportSources.h"

#include "app/import/ImportFiles.h"
#include "app/import/ImportHtml.h"
#include "platform/Error.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <set>

namespace quillory {

namespace {

bool IsTagByte(unsigned char c)
{
    return std::isalnum(c) || c == '_' || c == '-' || c == '+' || c == '*' || c == '#' || c == '/' || c >= 0x80;
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// jrnl finds a tag where its symbol starts a word; those of the entry's tags become "#tag".
std::string WithHashTags(std::string_view text, const std::set<std::string>& tags)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool wordStart = i == 0 || std::isspace(static_cast<unsigned char>(text[i - 1]));
        if (wordStart && !std::isalnum(static_cast<unsigned char>(text[i])) && text[i] != '#') {
            std::size_t end = i + 1;
            while (end < text.size() && IsTagByte(static_cast<unsigned char>(text[end])))
                ++end;
            if (end > i + 1 && tags.count(Lower(std::string(text.substr(i, end - i))))) {
                out += '#';
                out += text.substr(i + 1, end - i - 1);
                i = end - 1;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

std::string Utf8(const QString& text)
{
    return text.toUtf8().toStdString();
}

} // namespace

ImportSource ReadJrnlJson(std::string_view json, const ImportLimits& limits)
{
    if (json.size() > limits.maxFileSize)
        throw Error("The jrnl export is larger than an import takes");
    QJsonParseError error;
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromRawData(json.data(), qsizetype(json.size())), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        throw Error("This is no jrnl JSON export: " + Utf8(error.errorString()));
    const QJsonValue entries = document.object().value(QStringLiteral("entries"));
    if (!entries.isArray())
        throw Error("This is no jrnl JSON export: it has no list of entries");

    ImportSource source;
    source.format = "jrnl JSON";
    int number = 0;
    for (const QJsonValue& value : entries.toArray()) {
        ++number;
        if (source.entries.size() >= limits.maxEntries) {
            source.problems.push_back("entries after the " + std::to_string(limits.maxEntries) + "th");
            break;
        }
        const QJsonObject object = value.toObject();
        const std::string date = Utf8(object.value(QStringLiteral("date")).toString());
        const std::optional<Day> day = DayFromIso(date);
        if (!day) {
            source.problems.push_back("entry " + std::to_string(number) + ": \"" + date + "\" is no date");
            continue;
        }
        ImportedEntry entry;
        entry.day = *day;
        entry.minute = MinuteFromClock(Utf8(object.value(QStringLiteral("time")).toString()));
        entry.origin = "entry " + std::to_string(number);
        std::set<std::string> tags;
        for (const QJsonValue& tag : object.value(QStringLiteral("tags")).toArray()) {
            const std::string word = Utf8(tag.toString());
            if (!word.empty()) {
                tags.insert(Lower(word));
                entry.tags.push_back(TagWord(word));
            }
        }
        if (object.value(QStringLiteral("starred")).toBool())
            entry.tags.push_back("starred");
        const std::string title = Utf8(object.value(QStringLiteral("title")).toString());
        const std::string body = Utf8(object.value(QStringLiteral("body")).toString());
        // jrnl splits the text after its first sentence and trims both halves: a title ending a
        // sentence goes on in the same line, any other stands as a line of its own.
        std::string text = title;
        if (!body.empty()) {
            const bool sentence = !title.empty() && std::string_view(".!?").find(title.back()) != std::string_view::npos;
            text += (sentence && body.front() != '\n' ? " " : "\n") + body;
        }
        entry.html = PlainTextToHtml(WithHashTags(text, tags));
        source.entries.push_back(std::move(entry));
    }
    return source;
}

ImportSource ReadJrnlFile(const std::filesystem::path& file, const ImportLimits& limits)
{
    return ReadJrnlJson(ReadSourceFile(file, limits.maxFileSize), limits);
}

} // namespace quillory
