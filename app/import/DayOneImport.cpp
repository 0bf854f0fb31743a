// Day One's JSON export in a zip: journals as JSON (Qt's parser), photos beside them.
#include "app/import/ImportSources.h"

#include "app/import/ImportHtml.h"
#include "app/import/ImportZip.h"
#include "app/import/MarkdownHtml.h"
#include "platform/Error.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimeZone>

#include <map>
#include <set>

namespace quillory {

namespace {

constexpr std::string_view kMoment = "dayone-moment://";
constexpr std::string_view kOtherMoment = "dayone-moment:/";

std::string Utf8(const QString& text)
{
    return text.toUtf8().toStdString();
}

struct Photo {
    std::string member;  // "photos/<md5>.<type>"
};

// The day and minute of an entry: its UTC creation time in its own zone (UTC when the zone is
// missing or unknown).
std::optional<std::pair<Day, int>> LocalTime(const QJsonObject& entry)
{
    QDateTime time = QDateTime::fromString(entry.value(QStringLiteral("creationDate")).toString(), Qt::ISODateWithMs);
    if (!time.isValid())
        return std::nullopt;
    const QByteArray zoneName = entry.value(QStringLiteral("timeZone")).toString().toUtf8();
    const QTimeZone zone = zoneName.isEmpty() || !QTimeZone::isTimeZoneIdAvailable(zoneName)
                               ? QTimeZone::utc()
                               : QTimeZone(zoneName);
    time = time.toTimeZone(zone);
    const QDate date = time.date();
    const auto day = Day::FromDate(date.year(), date.month(), date.day());
    if (!day)
        return std::nullopt;
    return std::make_pair(*day, time.time().hour() * 60 + time.time().minute());
}

void ReadJournal(const ImportZip& zip, const std::string& member, const ImportLimits& limits, ImportSource& source)
{
    const std::string json = zip.Read(member, limits.maxFileSize);
    QJsonParseError error;
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromRawData(json.data(), qsizetype(json.size())), &error);
    const QJsonValue entries = document.object().value(QStringLiteral("entries"));
    if (error.error != QJsonParseError::NoError || !entries.isArray()) {
        source.problems.push_back(member + ": no Day One journal (" + Utf8(error.errorString()) + ")");
        return;
    }
    int number = 0;
    for (const QJsonValue& value : entries.toArray()) {
        ++number;
        const std::string origin = member + ", entry " + std::to_string(number);
        if (source.entries.size() >= limits.maxEntries) {
            source.problems.push_back(origin + " and those after it: more entries than an import takes");
            break;
        }
        const QJsonObject object = value.toObject();
        const auto when = LocalTime(object);
        if (!when) {
            source.problems.push_back(origin + ": its creationDate is no time");
            continue;
        }
        ImportedEntry entry;
        entry.day = when->first;
        entry.minute = when->second;
        entry.origin = origin;
        const std::string dayText = IsoText(entry.day);

        std::map<std::string, Photo> photos;  // by identifier
        std::vector<std::string> photoOrder;
        for (const QJsonValue& item : object.value(QStringLiteral("photos")).toArray()) {
            const QJsonObject photo = item.toObject();
            const std::string id = Utf8(photo.value(QStringLiteral("identifier")).toString());
            const std::string md5 = Utf8(photo.value(QStringLiteral("md5")).toString());
            std::string type = Utf8(photo.value(QStringLiteral("type")).toString());
            if (type.empty())
                type = "jpeg";
            if (id.empty() || md5.empty())
                continue;
            if (photos.emplace(id, Photo{"photos/" + md5 + "." + type}).second)
                photoOrder.push_back(id);
        }
        std::set<std::string> placed;
        const auto picture = [&](const std::string& src) -> std::string {
            if (src.rfind(kMoment, 0) == 0) {
                const std::string id = src.substr(kMoment.size());
                const auto photo = photos.find(id);
                if (photo == photos.end() || !zip.Members().count(photo->second.member)) {
                    source.problems.push_back(dayText + ": photo " + id + " is not in the archive");
                    return {};
                }
                placed.insert(id);
                try {
                    std::string tag = ImageTag(photo->second.member, zip.Read(photo->second.member, limits.maxPictureSize));
                    if (tag.empty())
                        source.problems.push_back(dayText + ": photo " + id + " is no PNG or JPEG picture");
                    return tag;
                } catch (const Error& failure) {
                    source.problems.push_back(dayText + ": " + failure.what());
                    return {};
                }
            }
            if (src.rfind(kOtherMoment, 0) == 0)
                return {};  // a video, audio or PDF: counted below with the entry's media
            source.problems.push_back(dayText + ": picture " + src + " is not in the archive");
            return {};
        };
        entry.html = MarkdownToHtml(Utf8(object.value(QStringLiteral("text")).toString()), picture);
        // Photos the text does not place go below it, in the order of the list.
        for (const std::string& id : photoOrder) {
            if (!placed.count(id))
                entry.html += "<p>" + picture(std::string(kMoment) + id) + "</p>\n";
        }
        for (const char* media : {"videos", "audios", "pdfAttachments"}) {
            const int count = int(object.value(QLatin1String(media)).toArray().size());
            if (count > 0)
                source.problems.push_back(dayText + ": " + std::to_string(count) + " of " + media
                                          + " not taken (only photos are)");
        }
        for (const QJsonValue& tag : object.value(QStringLiteral("tags")).toArray()) {
            if (const std::string word = Utf8(tag.toString()); !word.empty())
                entry.tags.push_back(TagWord(word));
        }
        if (object.value(QStringLiteral("starred")).toBool())
            entry.tags.push_back("starred");
        source.entries.push_back(std::move(entry));
    }
}

ImportSource ReadDayOne(const std::shared_ptr<ImportZip>& zip, const ImportLimits& limits)
{
    ImportSource source;
    source.format = "Day One";
    bool journal = false;
    for (const auto& [name, size] : zip->Members()) {
        if (name.find('/') != std::string::npos || name.size() < 5 || name.substr(name.size() - 5) != ".json")
            continue;
        journal = true;
        try {
            ReadJournal(*zip, name, limits, source);
        } catch (const Error& error) {
            source.problems.push_back(error.what());
        }
    }
    if (!journal)
        throw Error("This is no Day One export: the archive holds no journal (.json)");
    const std::uint64_t maxPicture = limits.maxPictureSize;
    source.picture = [zip, maxPicture](const std::string& member) -> std::optional<std::string> {
        try {
            return zip->Read(member, maxPicture);
        } catch (const Error&) {
            return std::nullopt;
        }
    };
    return source;
}

} // namespace

ImportSource ReadDayOneZip(const std::filesystem::path& file, const ImportLimits& limits)
{
    return ReadDayOne(ImportZip::OpenFile(file, limits), limits);
}

ImportSource ReadDayOneBytes(std::string bytes, const ImportLimits& limits)
{
    return ReadDayOne(ImportZip::OpenBytes(std::move(bytes), limits), limits);
}

} // namespace quillory
