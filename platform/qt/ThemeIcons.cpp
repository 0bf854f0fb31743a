// Icon themes read from their index.theme files and folders, and an icon engine that decodes the
// one file that suits the size being drawn.
#include "platform/qt/ThemeIcons.h"

#include "platform/IconThemeCache.h"
#include "platform/qt/KnownFormatImage.h"

#include <QFile>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QSet>
#include <QStringList>

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace quillory {

namespace {

// One folder of a theme, with the sizes it serves in device pixels.
struct ThemeFolder {
    QString path;
    int smallest = 0;  // the sizes drawn from its pictures without scaling
    int largest = 0;
    bool scalable = false;
    std::unordered_set<std::string> files;  // the file names in it, when the theme has no cache
};

// The theme as found under one search path: its folders, and the cache that says what they
// hold when the theme has a current one (reading hundreds of folders costs more than the rest
// of the start-up's icons together).
struct ThemeRoot {
    std::optional<IconThemeCache> cache;
    std::vector<ThemeFolder> folders;
    std::unordered_map<std::string, size_t> folderNamed;  // index into folders, with a cache
};

struct Theme {
    std::vector<ThemeRoot> roots;
    QStringList inherits;
};

// One picture file that can draw the icon, and the sizes it serves.
struct IconFile {
    QString path;
    QByteArray format;
    int smallest = 0;
    int largest = 0;
    bool scalable = false;

    // How far `pixels` lies from what the file draws unscaled (0 inside its range).
    int DistanceTo(int pixels) const
    {
        if (pixels < smallest)
            return smallest - pixels;
        return pixels > largest ? pixels - largest : 0;
    }
};

// What an index.theme file says, read with the freedesktop desktop-entry syntax: the theme's
// folders and parents, and each folder's sizes. The base theme lists some six hundred folders.
struct FolderSizes {
    int size = 0;
    int scale = 1;
    int minSize = -1;
    int maxSize = -1;
    int threshold = 2;
    std::string type = "Threshold";
};

struct ThemeIndex {
    bool found = false;
    std::vector<std::string> folders;
    std::vector<std::string> inherits;
    std::unordered_map<std::string, FolderSizes> sizes;
};

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

void AppendList(std::vector<std::string>& list, std::string_view value)
{
    while (!value.empty()) {
        const size_t comma = value.find(',');
        const std::string_view item = Trimmed(value.substr(0, comma));
        if (!item.empty())
            list.emplace_back(item);
        value = comma == std::string_view::npos ? std::string_view() : value.substr(comma + 1);
    }
}

int Number(std::string_view value, int fallback)
{
    int number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    return error == std::errc() && end == value.data() + value.size() ? number : fallback;
}

ThemeIndex ReadIndex(const QString& fileName)
{
    ThemeIndex index;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return index;
    const QByteArray bytes = file.readAll();
    std::string_view rest(bytes.constData(), size_t(bytes.size()));
    bool inHeader = false;
    FolderSizes* folder = nullptr;
    while (!rest.empty()) {
        const size_t end = rest.find('\n');
        const std::string_view line = Trimmed(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            const std::string_view group = line.substr(1, line.size() - 2);
            inHeader = group == "Icon Theme";
            index.found = index.found || inHeader;
            folder = inHeader ? nullptr : &index.sizes[std::string(group)];
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view key = Trimmed(line.substr(0, equals));
        const std::string_view value = Trimmed(line.substr(equals + 1));
        if (inHeader) {
            if (key == "Directories" || key == "ScaledDirectories")
                AppendList(index.folders, value);
            else if (key == "Inherits")
                AppendList(index.inherits, value);
        } else if (folder) {
            if (key == "Size")
                folder->size = Number(value, 0);
            else if (key == "Scale")
                folder->scale = std::max(1, Number(value, 1));
            else if (key == "MinSize")
                folder->minSize = Number(value, -1);
            else if (key == "MaxSize")
                folder->maxSize = Number(value, -1);
            else if (key == "Threshold")
                folder->threshold = Number(value, 2);
            else if (key == "Type")
                folder->type = value;
        }
    }
    return index;
}

// A folder's sizes in device pixels: its nominal size times its scale, widened by its type.
void SetSizes(ThemeFolder& folder, const FolderSizes& sizes)
{
    int smallest = sizes.size;
    int largest = sizes.size;
    if (sizes.type == "Scalable") {
        smallest = sizes.minSize >= 0 ? sizes.minSize : sizes.size;
        largest = sizes.maxSize >= 0 ? sizes.maxSize : sizes.size;
        folder.scalable = true;
    } else if (sizes.type != "Fixed") {
        smallest = sizes.size - sizes.threshold;
        largest = sizes.size + sizes.threshold;
    }
    folder.smallest = smallest * sizes.scale;
    folder.largest = largest * sizes.scale;
}

// Reads the names in a folder of the theme; false when there is no such folder. Themes hold
// thousands of files in hundreds of folders (most of them absent), so this reads the directory
// as it is, without Qt's sorting and file information.
bool ListFiles(ThemeFolder& folder)
{
    const QByteArray path = QFile::encodeName(folder.path);
    DIR* dir = opendir(path.constData());
    if (!dir)
        return false;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] != '.')
            folder.files.emplace(entry->d_name);
    }
    closedir(dir);
    return true;
}

std::optional<std::int64_t> ModifiedTime(const QString& path)
{
    struct stat info {};
    if (stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return std::int64_t(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
}

// The theme's cache, when it is there, readable and not older than the folders it describes
// (a theme changed after its cache was written is read from its folders).
std::optional<IconThemeCache> CurrentCache(const QString& root)
{
    const QString fileName = root + QStringLiteral("/icon-theme.cache");
    const auto written = ModifiedTime(fileName);
    const auto rootChanged = ModifiedTime(root);
    if (!written || !rootChanged || *rootChanged > *written)
        return std::nullopt;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    auto cache = IconThemeCache::Read(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    if (!cache)
        return std::nullopt;
    for (const std::string_view folder : cache->Folders()) {
        const auto changed = ModifiedTime(root + QLatin1Char('/') + QString::fromUtf8(folder.data(), qsizetype(folder.size())));
        if (changed && *changed > *written)
            return std::nullopt;
    }
    return cache;
}

Theme ReadTheme(const QString& name, const QStringList& searchPaths)
{
    Theme theme;
    for (const QString& base : searchPaths) {
        const QString rootPath = base + QLatin1Char('/') + name;
        const ThemeIndex index = ReadIndex(rootPath + QStringLiteral("/index.theme"));
        if (!index.found)
            continue;
        if (theme.inherits.isEmpty()) {
            for (const std::string& parent : index.inherits)
                theme.inherits.append(QString::fromStdString(parent));
        }
        ThemeRoot root;
        root.cache = CurrentCache(rootPath);
        for (const std::string& folderName : index.folders) {
            ThemeFolder folder;
            folder.path = rootPath + QLatin1Char('/') + QString::fromStdString(folderName);
            if (root.cache)
                root.folderNamed.emplace(folderName, root.folders.size());
            else if (!ListFiles(folder))
                continue;
            const auto sizes = index.sizes.find(folderName);
            SetSizes(folder, sizes == index.sizes.end() ? FolderSizes() : sizes->second);
            root.folders.push_back(std::move(folder));
        }
        theme.roots.push_back(std::move(root));
    }
    return theme;
}

// The themes on disk as read so far. Qt's own icon loader keeps the same per process; the
// cache is dropped when the theme or its search paths change.
class ThemeShelf {
public:
    // The themes to search, in order: Qt's theme and what it inherits, the fallback theme and
    // what that inherits, and the base theme every theme inherits.
    const QStringList& SearchOrder()
    {
        const QStringList searchPaths = QIcon::themeSearchPaths();
        const QStringList themeNames{QIcon::themeName(), QIcon::fallbackThemeName()};
        if (searchPaths == searchPaths_ && themeNames == themeNames_)
            return order_;
        if (searchPaths != searchPaths_)
            themes_.clear();
        searchPaths_ = searchPaths;
        themeNames_ = themeNames;
        order_.clear();
        const auto visit = [&](auto&& self, const QString& name) -> void {
            if (name.isEmpty() || order_.contains(name))
                return;
            order_.append(name);
            for (const QString& parent : ThemeNamed(name).inherits)
                self(self, parent);
        };
        for (const QString& name : themeNames)
            visit(visit, name);
        order_.removeAll(QStringLiteral("hicolor"));
        order_.append(QStringLiteral("hicolor"));
        return order_;
    }

    // A theme named in the search order, read on first use.
    const Theme& ThemeNamed(const QString& name)
    {
        auto found = themes_.find(name);
        if (found == themes_.end())
            found = themes_.insert(name, ReadTheme(name, searchPaths_));
        return *found;
    }

private:
    QStringList searchPaths_;  // what the themes were read with
    QStringList themeNames_;   // Qt's theme and fallback theme the order was made for
    QStringList order_;
    QHash<QString, Theme> themes_;
};

ThemeShelf& Shelf()
{
    static ThemeShelf shelf;
    return shelf;
}

std::vector<IconFile> FilesOf(const Theme& theme, const QString& name)
{
    std::vector<IconFile> found;
    const std::string encodedName = QFile::encodeName(name).toStdString();
    const auto add = [&](const ThemeFolder& folder, const char* format) {
        const QString fileName = QFile::decodeName(encodedName.c_str()) + QLatin1Char('.') + QLatin1String(format);
        found.push_back({folder.path + QLatin1Char('/') + fileName, format, folder.smallest, folder.largest, folder.scalable});
    };
    for (const ThemeRoot& root : theme.roots) {
        if (root.cache) {
            for (const IconThemeCache::Picture& picture : root.cache->Find(encodedName)) {
                const auto folder = root.folderNamed.find(std::string(picture.folder));
                if (folder == root.folderNamed.end())
                    continue;  // a folder the theme does not list
                for (const auto& [has, format] : {std::pair{picture.png, "png"}, {picture.svg, "svg"}, {picture.xpm, "xpm"}}) {
                    if (has)
                        add(root.folders[folder->second], format);
                }
            }
            continue;
        }
        for (const ThemeFolder& folder : root.folders) {
            for (const char* format : {"png", "svg", "xpm"}) {
                if (folder.files.contains(encodedName + '.' + format))
                    add(folder, format);
            }
        }
    }
    return found;
}

// Draws an icon from its theme files, decoding only the file that suits a size, the first time
// that size is drawn. What Qt does with decoded pictures (scaling down, the disabled look) is
// left to an ordinary pixmap icon holding them.
class ThemeFileEngine final : public QIconEngine {
public:
    ThemeFileEngine(QString name, std::vector<IconFile> files) : name_(std::move(name)), files_(std::move(files)) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        Decode(size);
        return decoded_.pixmap(size, mode, state);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        Decode(rect.size() * ratio);
        decoded_.paint(painter, rect, Qt::AlignCenter, mode, state);
    }

    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        Decode(size);
        return decoded_.actualSize(size, mode, state);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const IconFile& file : files_) {
            const int middle = (file.smallest + file.largest) / 2;
            if (!file.scalable)
                sizes.append(QSize(middle, middle));
        }
        return sizes;
    }

    QString iconName() override { return name_; }
    QString key() const override { return QStringLiteral("quillory-theme-file"); }
    // Qt takes ownership of the copy it asks for.
    QIconEngine* clone() const override { return new ThemeFileEngine(*this); }

private:
    void Decode(QSize size)
    {
        const int pixels = std::max(size.width(), size.height());
        if (pixels <= 0 || files_.empty())
            return;
        const auto best = std::min_element(files_.begin(), files_.end(), [&](const IconFile& a, const IconFile& b) {
            return a.DistanceTo(pixels) < b.DistanceTo(pixels);
        });
        const QString key = best->scalable ? best->path + QLatin1Char('@') + QString::number(pixels) : best->path;
        if (decodedFiles_.contains(key))
            return;
        decodedFiles_.insert(key);
        const QSize drawn = best->scalable ? QSize(pixels, pixels) : QSize();
        const QImage image = ReadImageAs(best->path, best->format.constData(), drawn);
        if (!image.isNull())
            decoded_.addPixmap(QPixmap::fromImage(image));
    }

    QString name_;
    std::vector<IconFile> files_;
    QSet<QString> decodedFiles_;
    QIcon decoded_;
};

} // namespace

QIcon ThemeIcon(const QString& name)
{
    if (name.isEmpty())
        return {};
    ThemeShelf& shelf = Shelf();
    const QStringList order = shelf.SearchOrder();
    for (const QString& themeName : order) {
        std::vector<IconFile> files = FilesOf(shelf.ThemeNamed(themeName), name);
        if (!files.empty())
            return QIcon(new ThemeFileEngine(name, std::move(files)));  // the icon owns its engine
    }
    return {};
}

} // namespace quillory
