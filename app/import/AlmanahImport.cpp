// Almanah's SQLite database: read-only, bounded, and trusting nothing of its schema; the
// entries' XML read with Qt's stream reader.
#include "app/import/ImportSources.h"

#include "app/import/ImportFiles.h"
#include "app/import/ImportHtml.h"
#include "platform/Error.h"
#include "platform/Utf8.h"

#include <QXmlStreamReader>

#include <sqlite3.h>

#include <cstring>
#include <map>
#include <set>
#include <tuple>

namespace quillory {

namespace {

// Steps of SQLite's machine one import may take: a hostile database cannot make a query run on.
constexpr int kProgressEvery = 10'000;
constexpr long kMaxProgressCalls = 20'000;

struct Database {
    sqlite3* db = nullptr;
    long progress = 0;
    ~Database()
    {
        if (db)
            sqlite3_close(db);
    }
};

class Statement {
public:
    Statement(sqlite3* db, const std::string& sql)
    {
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement_, nullptr) != SQLITE_OK)
            throw Error(std::string("The database cannot be read: ") + sqlite3_errmsg(db));
    }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // True for a row, false at the end; throws when the database fails (damaged, too slow).
    bool Step(sqlite3* db)
    {
        const int result = sqlite3_step(statement_);
        if (result == SQLITE_ROW)
            return true;
        if (result == SQLITE_DONE)
            return false;
        throw Error(std::string("The database cannot be read: ") + sqlite3_errmsg(db));
    }
    int Integer(int column) const { return sqlite3_column_int(statement_, column); }
    std::string Text(int column) const
    {
        const void* bytes = sqlite3_column_blob(statement_, column);
        const int size = sqlite3_column_bytes(statement_, column);
        return bytes ? std::string(static_cast<const char*>(bytes), std::size_t(size)) : std::string();
    }

private:
    sqlite3_stmt* statement_ = nullptr;
};

void Harden(Database& database)
{
    sqlite3* db = database.db;
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
    sqlite3_limit(db, SQLITE_LIMIT_LENGTH, 64 << 20);
    sqlite3_progress_handler(
        db, kProgressEvery,
        [](void* data) { return ++static_cast<Database*>(data)->progress > kMaxProgressCalls ? 1 : 0; }, &database);
}

// The columns of a table, or none when there is no such table (a view or anything else
// of that name does not count).
std::set<std::string> Columns(sqlite3* db, const std::string& table)
{
    {
        Statement kind(db, "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = '" + table + "'");
        if (!kind.Step(db) || kind.Integer(0) != 1)
            return {};
    }
    std::set<std::string> columns;
    Statement info(db, "PRAGMA table_info(" + table + ")");
    while (info.Step(db))
        columns.insert(info.Text(1));
    return columns;
}

// Almanah's entry XML as HTML: <bold>, <italic>, <underline> and <link uri>, lines as
// paragraphs. Nothing, when the content is no such XML (an entry of the first version).
std::optional<std::string> EntryXmlToHtml(const std::string& content)
{
    QXmlStreamReader xml(QByteArray::fromRawData(content.data(), qsizetype(content.size())));
    std::string html = "<p>";
    std::vector<std::pair<std::string, std::string>> open;  // the inline elements open: their tags
    bool entry = false;
    std::size_t level = 0;  // elements open inside the entry; past 64 their formatting is not kept
    constexpr std::size_t kMaxLevel = 64;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement: {
            const QStringView name = xml.name();
            if (!entry) {
                if (name != QLatin1String("entry"))
                    return std::nullopt;
                entry = true;
                break;
            }
            if (++level > kMaxLevel)
                break;
            if (name == QLatin1String("bold")) {
                open.emplace_back("<b>", "</b>");
            } else if (name == QLatin1String("italic")) {
                open.emplace_back("<i>", "</i>");
            } else if (name == QLatin1String("underline")) {
                open.emplace_back("<u>", "</u>");
            } else if (name == QLatin1String("link")) {
                const std::string uri = xml.attributes().value(QLatin1String("uri")).toString().toStdString();
                open.emplace_back("<a href=\"" + EscapeHtml(uri) + "\">", "</a>");
            } else {
                open.emplace_back("<span>", "</span>");
            }
            html += open.back().first;
            break;
        }
        case QXmlStreamReader::EndElement:
            if (level > 0 && level-- <= kMaxLevel && !open.empty()) {
                html += open.back().second;
                open.pop_back();
            }
            break;
        case QXmlStreamReader::Characters: {
            const std::string text = xml.text().toUtf8().toStdString();
            std::size_t at = 0;
            for (std::size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', at)) {
                html += EscapeHtml(std::string_view(text).substr(at, end - at));
                // A line end closes the paragraph and goes on with the same formatting.
                for (auto close = open.rbegin(); close != open.rend(); ++close)
                    html += close->second;
                html += "</p>\n<p>";
                for (const auto& tags : open)
                    html += tags.first;
                at = end + 1;
            }
            html += EscapeHtml(std::string_view(text).substr(at));
            break;
        }
        default:
            break;
        }
    }
    if (xml.hasError() || !entry)
        return std::nullopt;
    return html + "</p>\n";
}

ImportSource ReadDatabase(Database& database, const ImportLimits& limits)
{
    Harden(database);
    sqlite3* db = database.db;
    const std::set<std::string> columns = Columns(db, "entries");
    for (const char* needed : {"year", "month", "day", "content"}) {
        if (!columns.count(needed))
            throw Error("This is no Almanah diary: it has no table of entries");
    }
    ImportSource source;
    source.format = "Almanah";

    // Tags first, so that each entry takes its own.
    std::map<std::tuple<int, int, int>, std::vector<std::string>> tags;
    if (const auto tagColumns = Columns(db, "entry_tag"); tagColumns.count("tag") && tagColumns.count("year")
                                                          && tagColumns.count("month") && tagColumns.count("day")) {
        Statement rows(db, "SELECT year, month, day, tag FROM entry_tag");
        while (rows.Step(db)) {
            auto& list = tags[{rows.Integer(0), rows.Integer(1), rows.Integer(2)}];
            if (list.size() < 1000)
                list.push_back(TagWord(RepairUtf8(rows.Text(3))));
        }
    }

    const bool importance = columns.count("is_important") > 0;
    Statement rows(db, std::string("SELECT year, month, day, content, ") + (importance ? "is_important" : "0")
                           + " FROM entries ORDER BY year, month, day");
    while (rows.Step(db)) {
        const int year = rows.Integer(0), month = rows.Integer(1), dayNumber = rows.Integer(2);
        const std::string origin = "entry of " + std::to_string(year) + "-" + std::to_string(month) + "-"
                                 + std::to_string(dayNumber);
        const auto day = Day::FromDate(year, month, dayNumber);
        if (!day) {
            source.problems.push_back(origin + ": no day of the calendar");
            continue;
        }
        if (source.entries.size() >= limits.maxEntries) {
            source.problems.push_back(origin + " and those after it: more entries than an import takes");
            break;
        }
        ImportedEntry entry;
        entry.day = *day;
        entry.origin = origin;
        const std::string content = rows.Text(3);
        if (auto html = EntryXmlToHtml(content))
            entry.html = std::move(*html);
        else
            entry.html = PlainTextToHtml(RepairUtf8(content));
        if (const auto found = tags.find({year, month, dayNumber}); found != tags.end())
            entry.tags = found->second;
        if (rows.Integer(4) != 0)
            entry.tags.push_back("important");
        source.entries.push_back(std::move(entry));
    }
    return source;
}

} // namespace

ImportSource ReadAlmanahDatabase(const std::filesystem::path& file, const ImportLimits& limits)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        throw Error(FormatMessage("Cannot open file %s", file.string()));
    // Immutable: no lock, journal or WAL file is made beside the other program's database.
    char* uri = sqlite3_mprintf("file:%s?immutable=1", file.c_str());
    Database database;
    const int opened =
        sqlite3_open_v2(uri, &database.db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr);
    sqlite3_free(uri);
    if (opened != SQLITE_OK)
        throw Error(file.string() + " cannot be opened as a database");
    return ReadDatabase(database, limits);
}

ImportSource ReadAlmanahBytes(std::string_view bytes, const ImportLimits& limits)
{
    Database database;
    if (sqlite3_open_v2(":memory:", &database.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK)
        throw Error("No database can be opened");
    auto* copy = static_cast<unsigned char*>(sqlite3_malloc64(bytes.size() ? bytes.size() : 1));
    if (!copy)
        throw Error("Out of memory");
    std::memcpy(copy, bytes.data(), bytes.size());
    if (sqlite3_deserialize(database.db, "main", copy, sqlite3_int64(bytes.size()), sqlite3_int64(bytes.size()),
                            SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_READONLY)
        != SQLITE_OK)
        throw Error("This is no database");
    return ReadDatabase(database, limits);
}

} // namespace quillory
