// HTML pieces for imported entries, and their conversion into the entry's RTF.
#include "app/import/ImportHtml.h"

#include "platform/Error.h"
#include "richtext/io/DocumentFormat.h"
#include "richtext/model/EncodedPicture.h"
#include "richtext/text/OutputStream.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <set>

namespace quillory {

std::string EscapeHtml(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string PlainTextToHtml(std::string_view text)
{
    std::string out;
    std::string line;
    const auto flush = [&] {
        out += "<p>" + EscapeHtml(line) + "</p>\n";
        line.clear();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            flush();
        } else if (c == '\n') {
            flush();
        } else if (text.substr(i, 3) == "\xE2\x80\xA8") {  // U+2028 LINE SEPARATOR
            i += 2;
            flush();
        } else {
            line += c;
        }
    }
    if (!line.empty())
        flush();
    return out;
}

std::string TagWord(std::string_view tag)
{
    while (!tag.empty() && (tag.front() == '#' || tag.front() == '@'))
        tag.remove_prefix(1);
    std::string word(tag);
    std::replace(word.begin(), word.end(), ' ', '_');
    return word;
}

namespace {

// The tag as a whole word in the text: "#tag" not followed by another letter of a tag.
std::string AsciiLower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// Tags are told apart without regard to ASCII letter case, as the other diaries do.
bool HoldsTag(std::string_view text, const std::string& tagWord)
{
    const std::string lower = AsciiLower(text);
    const std::string_view html = lower;
    const std::string wanted = "#" + AsciiLower(tagWord);
    for (std::size_t at = html.find(wanted); at != std::string_view::npos; at = html.find(wanted, at + 1)) {
        const std::size_t end = at + wanted.size();
        const unsigned char next = end < html.size() ? static_cast<unsigned char>(html[end]) : ' ';
        if (!(std::isalnum(next) || next == '_' || next == '-' || next >= 0x80))
            return true;
    }
    return false;
}

} // namespace

std::string TagsParagraph(const std::vector<std::string>& tags, std::string_view html)
{
    std::string line;
    std::set<std::string> written;
    for (const std::string& tag : tags) {
        const std::string word = TagWord(tag);
        if (word.empty() || HoldsTag(html, word) || !written.insert(AsciiLower(word)).second)
            continue;
        line += (line.empty() ? "#" : " #") + word;
    }
    return line.empty() ? std::string() : "<p>" + EscapeHtml(line) + "</p>\n";
}

std::string ImageTag(const std::string& source, std::string_view picture)
{
    const auto kind = EncodedPictureKind(picture);
    const auto size = kind ? EncodedPictureSize(*kind, picture) : std::nullopt;
    if (!size)
        return {};
    const int width = std::min(size->width, kImportedPictureWidth);
    const long height = std::max<long>(1, long(size->height) * width / std::max(1, size->width));
    return "<img src=\"" + EscapeHtml(source) + "\" width=\"" + std::to_string(width) + "\" height=\""
         + std::to_string(height) + "\">";
}

std::string ClockText(int minute)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", (minute / 60) % 100, minute % 60);
    return text;
}

std::string DayHtml(const std::vector<const ImportedEntry*>& entries)
{
    if (entries.size() == 1)
        return entries.front()->html + TagsParagraph(entries.front()->tags, entries.front()->html);
    std::string html;
    for (const ImportedEntry* entry : entries) {
        if (entry->minute >= 0)
            html += "<h4>" + ClockText(entry->minute) + "</h4>\n";
        else if (!html.empty())
            html += "<hr>\n";
        html += entry->html + TagsParagraph(entry->tags, entry->html);
    }
    return html;
}

std::string EntryRtf(std::string_view existingRtf, std::string_view html, const PictureLoader& pictures,
                     std::vector<std::string>* missing)
{
    TWPRTFText document;
    if (!existingRtf.empty() && LoadDocument(document, existingRtf).result != 0)
        throw Error("The entry that is there cannot be read");
    std::set<std::string> served;
    LoadHooks hooks;
    hooks.onHtmlBitmapRequest = [&](std::string_view source, TGraphic& graphic) {
        std::optional<std::string> bytes = pictures ? pictures(std::string(source)) : std::nullopt;
        const std::optional<GraphicKind> kind = bytes ? EncodedPictureKind(*bytes) : std::nullopt;
        const std::optional<PixelSize> size = kind ? EncodedPictureSize(*kind, *bytes) : std::nullopt;
        if (!size) {
            if (missing)
                missing->push_back(std::string(source));
            return false;
        }
        graphic.kind = *kind;
        graphic.bytes = std::move(*bytes);
        graphic.width = size->width;
        graphic.height = size->height;
        graphic.bitsPerPixel = 24;
        served.insert(std::string(source));
        return true;
    };
    std::string page;
    if (!existingRtf.empty())
        page += kAppendSeparator;
    page += html;
    if (LoadDocument(document, page, TWPFormatSetting::FormatHTML, hooks).result != 0)
        throw Error("The imported text cannot be read");
    // A picture that came with the import is kept inside the entry, not named as a file.
    for (const auto& object : document.objects()) {
        if (object->graphic && served.count(object->fileName))
            object->fileName.clear();
    }
    TWPStringStream stream;
    if (SaveDocument(document, stream, TWPLoadFormat::Rtf) != 0)
        throw Error("The imported entry cannot be written as RTF");
    return stream.take();
}

} // namespace quillory
