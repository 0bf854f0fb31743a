// Icons found in themes on disk: the theme's own, then what it inherits, then the fallback and
// the base theme; the picture that suits the size drawn.
#include "platform/qt/ThemeIcons.h"

#include "TempFolder.h"

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using quillory::ThemeIcon;

// Writes a PNG of one colour, `size` pixels square, into `folder`.
void WritePicture(const std::filesystem::path& file, int size, QColor colour)
{
    std::filesystem::create_directories(file.parent_path());
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(colour);
    ASSERT_TRUE(image.save(QString::fromStdString(file.string()), "PNG"));
}

class ThemeIconsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedPaths_ = QIcon::themeSearchPaths();
        savedTheme_ = QIcon::themeName();
        savedFallback_ = QIcon::fallbackThemeName();
        // "Desk" inherits "Parent"; "Spare" is the fallback; "hicolor" is searched last.
        folder_.write("Desk/index.theme",
                      "[Icon Theme]\nName=Desk\nInherits=Parent\nDirectories=16x16/actions,22x22/actions,scalable/actions\n\n"
                      "# folders\n[16x16/actions]\nSize=16\nType=Fixed\n\n[22x22/actions]\nSize=22\nType=Fixed\n\n"
                      "[scalable/actions]\nSize=48\nMinSize=32\nMaxSize=256\nType=Scalable\n");
        folder_.write("Parent/index.theme", "[Icon Theme]\nName=Parent\nDirectories=16x16\n\n[16x16]\nSize=16\n");
        folder_.write("Spare/index.theme", "[Icon Theme]\nName=Spare\nDirectories=16x16\n\n[16x16]\nSize=16\nType=Fixed\n");
        folder_.write("hicolor/index.theme", "[Icon Theme]\nName=Hicolor\nDirectories=16x16/apps\n\n[16x16/apps]\nSize=16\n");
        const auto root = folder_.path();
        WritePicture(root / "Desk/16x16/actions/edit-copy.png", 16, Qt::red);
        WritePicture(root / "Desk/22x22/actions/edit-copy.png", 22, Qt::green);
        folder_.write("Desk/scalable/actions/edit-copy.svg",
                      "<svg xmlns='http://www.w3.org/2000/svg' width='48' height='48'>"
                      "<rect width='48' height='48' fill='#0000ff'/></svg>");
        WritePicture(root / "Parent/16x16/go-next.png", 16, Qt::yellow);
        WritePicture(root / "Spare/16x16/edit-paste.png", 16, Qt::cyan);
        WritePicture(root / "Spare/16x16/go-next.png", 16, Qt::black);
        WritePicture(root / "hicolor/16x16/apps/diary.png", 16, Qt::magenta);
        QIcon::setThemeSearchPaths({QString::fromStdString(root.string())});
        QIcon::setThemeName(QStringLiteral("Desk"));
        QIcon::setFallbackThemeName(QStringLiteral("Spare"));
    }

    void TearDown() override
    {
        QIcon::setThemeSearchPaths(savedPaths_);
        QIcon::setThemeName(savedTheme_);
        QIcon::setFallbackThemeName(savedFallback_);
    }

    static QColor Centre(const QIcon& icon, int size)
    {
        const QImage image = icon.pixmap(size, size).toImage();
        return image.isNull() ? QColor() : image.pixelColor(image.width() / 2, image.height() / 2);
    }

    TempFolder folder_;
    QStringList savedPaths_;
    QString savedTheme_;
    QString savedFallback_;
};

TEST_F(ThemeIconsTest, EachNameComesFromTheFirstThemeInTheSearchOrderThatHasIt)
{
    const struct {
        const char* name;
        QColor colour;
    } cases[] = {
        {"edit-copy", Qt::red},       // the theme's own
        {"go-next", Qt::yellow},      // inherited, before the fallback's picture of the same name
        {"edit-paste", Qt::cyan},     // the fallback theme
        {"diary", Qt::magenta},       // the base theme
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QIcon icon = ThemeIcon(QString::fromLatin1(c.name));
        ASSERT_FALSE(icon.isNull());
        EXPECT_EQ(Centre(icon, 16), c.colour);
        EXPECT_EQ(icon.name(), QString::fromLatin1(c.name));
    }
    EXPECT_TRUE(ThemeIcon(QStringLiteral("no-such-icon")).isNull());
    EXPECT_TRUE(ThemeIcon(QString()).isNull());
}

TEST_F(ThemeIconsTest, TheFolderNearestTheDrawnSizeGivesThePicture)
{
    const QIcon icon = ThemeIcon(QStringLiteral("edit-copy"));
    EXPECT_EQ(Centre(icon, 16), QColor(Qt::red));
    EXPECT_EQ(Centre(icon, 20), QColor(Qt::green));  // 22 is nearer than 16, scaled down
    EXPECT_EQ(icon.pixmap(20, 20).size(), QSize(20, 20));
    const QPixmap large = icon.pixmap(64, 64);  // the scalable picture, drawn at the size asked
    EXPECT_EQ(large.size(), QSize(64, 64));
    EXPECT_EQ(large.toImage().pixelColor(32, 32), QColor(Qt::blue));
}

TEST_F(ThemeIconsTest, ADamagedOrMissingThemeGivesNoIcon)
{
    folder_.write("Desk/16x16/actions/edit-cut.png", "not a picture");
    QIcon::setThemeSearchPaths({QString::fromStdString((folder_.path() / "elsewhere").string())});
    EXPECT_TRUE(ThemeIcon(QStringLiteral("edit-copy")).isNull());
    QIcon::setThemeSearchPaths({QString::fromStdString(folder_.path().string())});
    const QIcon damaged = ThemeIcon(QStringLiteral("edit-cut"));
    EXPECT_TRUE(damaged.pixmap(16, 16).isNull());
}

// A theme with the desktop's icon cache is looked up in the cache, not in its folders; a cache
// older than a folder it describes is passed by.
TEST_F(ThemeIconsTest, ACurrentIconCacheIsUsedAndAStaleOneIgnored)
{
    const auto desk = folder_.path() / "Desk";
    const auto updateCache = [&] {
        const std::string command = "gtk-update-icon-cache --quiet --force --ignore-theme-index " + desk.string();
        ASSERT_EQ(std::system(command.c_str()), 0) << "gtk-update-icon-cache missing or failed";
    };
    updateCache();
    // A picture the cache does not know, put in place without touching the folder's time: only
    // the cache can have been read if it is not found.
    const auto hidden = desk / "16x16/actions/edit-cut.png";
    const auto folderTime = std::filesystem::last_write_time(hidden.parent_path());
    WritePicture(hidden, 16, Qt::white);
    std::filesystem::last_write_time(hidden.parent_path(), folderTime);
    EXPECT_EQ(Centre(ThemeIcon(QStringLiteral("edit-copy")), 16), QColor(Qt::red));
    EXPECT_EQ(Centre(ThemeIcon(QStringLiteral("edit-copy")), 64), QColor(Qt::blue));
    EXPECT_TRUE(ThemeIcon(QStringLiteral("edit-cut")).isNull());

    // A folder changed after the cache was written: the folders are read instead.
    std::filesystem::last_write_time(hidden.parent_path(), std::filesystem::file_time_type::clock::now() + std::chrono::hours(1));
    QIcon::setThemeSearchPaths({});  // other paths: what was read is dropped
    EXPECT_TRUE(ThemeIcon(QStringLiteral("edit-cut")).isNull());
    QIcon::setThemeSearchPaths({QString::fromStdString(folder_.path().string())});
    EXPECT_EQ(Centre(ThemeIcon(QStringLiteral("edit-cut")), 16), QColor(Qt::white));
}

} // namespace
