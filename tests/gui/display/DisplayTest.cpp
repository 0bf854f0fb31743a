// How the page looks on different screens: drawn at a device pixel ratio of 2 the furniture has
// detail finer than a pixel (no scaled-up bitmap), and a dark page or a dark desktop changes
// the colours shown, never the entry.
#include "app/forms/FurnitureResources.h"
#include "controls/Ring.h"
#include "richtext/qt/RichText.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <string>

namespace quillory {
namespace {

QImage Render(QWidget& widget, qreal ratio)
{
    QImage image(widget.size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::magenta);
    widget.render(&image);
    return image;
}

// Share of the 2 x 2 device-pixel blocks of an area whose pixels are not all alike: a bitmap
// scaled up to twice its size has none.
double FineDetail(const QImage& image, const QRect& logical)
{
    int blocks = 0;
    int mixed = 0;
    for (int y = logical.top(); y <= logical.bottom(); ++y)
        for (int x = logical.left(); x <= logical.right(); ++x) {
            const QRgb a = image.pixel(2 * x, 2 * y);
            ++blocks;
            if (image.pixel(2 * x + 1, 2 * y) != a || image.pixel(2 * x, 2 * y + 1) != a
                || image.pixel(2 * x + 1, 2 * y + 1) != a)
                ++mixed;
        }
    return blocks ? double(mixed) / blocks : 0;
}

TEST(Display, FurnitureIsSharpAtScaleTwo)
{
    InitFurnitureResources();
    TRingPanel panel;
    panel.SetSmallRing(true);
    panel.resize(300, 100);
    const QImage one = Render(panel, 1);
    const QImage two = Render(panel, 2);
    // The same at scale 1, resampled as a scaled-up bitmap would be.
    const QImage resampled = one.scaled(one.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const struct {
        const char* name;
        QRect area;
    } rows[] = {
        {"first ring", QRect(0, 20, 31, 11)},
        {"top left corner of the page", QRect(15, 5, 12, 12)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FineDetail(resampled, row.area), 0.0);
        EXPECT_GT(FineDetail(two, row.area), 0.05);
    }
    // Same picture otherwise: the page's middle is paper, the far left cloth.
    EXPECT_EQ(two.pixel(300, 100), qRgb(255, 255, 255));
    EXPECT_EQ(two.pixel(4, 4), one.pixel(2, 2));
}

TEST(Display, DarkPageShowsLightTextAndKeepsTheEntry)
{
    TWPRichText editor;
    editor.resize(300, 120);
    editor.SetColor(Qt::white);
    editor.InsertText(std::string_view("WWWWWWWW"));
    std::string before;
    ASSERT_TRUE(editor.SaveToStream(before));

    const auto darkest = [](const QImage& image) {
        int lowest = 255;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 120; ++x)
                lowest = std::min(lowest, qGray(image.pixel(x, y)));
        return lowest;
    };
    const auto lightest = [](const QImage& image) {
        int highest = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 120; ++x)
                highest = std::max(highest, qGray(image.pixel(x, y)));
        return highest;
    };
    const QImage light = editor.viewport()->grab().toImage();
    EXPECT_LT(darkest(light), 60);
    EXPECT_EQ(lightest(light), 255);

    editor.SetDarkPage(true);
    const QImage dark = editor.viewport()->grab().toImage();
    EXPECT_GT(lightest(dark), 200);  // the letters
    EXPECT_LE(darkest(dark), 30);    // the paper
    EXPECT_EQ(qGray(dark.pixel(250, 100)), 30);

    std::string after;
    ASSERT_TRUE(editor.SaveToStream(after));
    EXPECT_EQ(after, before);
}

TEST(Display, DarkDesktopDarkensTheCloth)
{
    const auto light = TRingPanel::ColoursFor(false, false);
    const auto dark = TRingPanel::ColoursFor(true, false);
    EXPECT_LT(dark.cloth.lightness(), 64);
    EXPECT_EQ(dark.paper, light.paper);  // the entry keeps its own paper
    EXPECT_LT(TRingPanel::ColoursFor(true, true).paper.lightness(), 64);

    InitFurnitureResources();
    TRingPanel panel;
    QPalette palette = panel.palette();
    palette.setColor(QPalette::Window, QColor(40, 40, 40));
    panel.setPalette(palette);
    panel.resize(300, 100);
    const QImage image = Render(panel, 1);
    EXPECT_EQ(QColor(image.pixel(150, 2)), dark.cloth);
    EXPECT_EQ(QColor(image.pixel(150, 50)), dark.paper);
}

} // namespace
} // namespace quillory
