// The metafile player: a small drawing of the common records (made by hand, see drawing.wmf's
// records in the test below), a record it does not know, and bytes that are no metafile.
#include "richtext/qt/MetafilePlayer.h"
#include "richtext/qt/QtCanvas.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace quillory {
namespace {

std::string Fixture(const char* name)
{
    std::ifstream in(std::filesystem::path(QUILLORY_TEST_DATA) / "images" / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// drawing.wmf: window 200 x 100; a red rectangle 10..90 x 10..60 with a blue pen 2 wide; a green
// ellipse in 110..190 x 10..90; a blue line along y = 95; a green triangle (20,70) (60,70)
// (40,95); the text "Hi" from (120, 70).
TEST(MetafilePlayer, DrawsTheCommonRecordsScaledToTheImage)
{
    const std::string wmf = Fixture("drawing.wmf");
    const QImage image = PlayMetafile(wmf, QSize(400, 200)); // twice the window
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(400, 200));
    EXPECT_EQ(QColor(image.pixel(100, 70)), QColor(Qt::red));
    EXPECT_EQ(QColor(image.pixel(300, 100)), QColor(0, 128, 0));
    EXPECT_EQ(QColor(image.pixel(20, 70)), QColor(Qt::blue)); // the rectangle's left edge
    EXPECT_EQ(QColor(image.pixel(200, 190)), QColor(Qt::blue)); // the line
    EXPECT_EQ(QColor(image.pixel(80, 150)), QColor(0, 128, 0)); // inside the triangle
    EXPECT_EQ(QColor(image.pixel(390, 10)), QColor(Qt::white));
    // Some dark pixels of the text right of its start.
    int dark = 0;
    for (int y = 140; y < 200; ++y)
        for (int x = 240; x < 300; ++x)
            dark += qGray(image.pixel(x, y)) < 100;
    EXPECT_GT(dark, 10);
}

TEST(MetafilePlayer, RefusesUnknownRecordsAndNonMetafilesButKeepsACutDrawing)
{
    EXPECT_TRUE(PlayMetafile(Fixture("unknown-record.wmf"), QSize(50, 50)).isNull());
    EXPECT_TRUE(PlayMetafile("not a metafile at all", QSize(50, 50)).isNull());
    EXPECT_TRUE(PlayMetafile(Fixture("drawing.wmf"), QSize(0, 10)).isNull());
    const std::string wmf = Fixture("drawing.wmf");
    const QImage cut = PlayMetafile(wmf.substr(0, 150), QSize(200, 100));
    ASSERT_FALSE(cut.isNull());
    EXPECT_EQ(QColor(cut.pixel(50, 35)), QColor(Qt::red)); // the rectangle came before the cut
    // A huge place is drawn at a bounded size.
    EXPECT_LE(PlayMetafile(wmf, QSize(100000, 50000)).width(), 4096);
}

TEST(MetafilePlayer, TheCanvasShowsAMetafileOrItsPlaceholder)
{
    TGraphic graphic;
    graphic.kind = GraphicKind::Metafile;
    graphic.bytes = Fixture("drawing.wmf");
    QImage target(200, 100, QImage::Format_RGB32);
    target.fill(Qt::white);
    {
        QPainter painter(&target);
        QtCanvas canvas(&painter);
        canvas.drawPicture(graphic, Rect{0, 0, 200, 100});
    }
    EXPECT_EQ(QColor(target.pixel(50, 35)), QColor(Qt::red));

    graphic.bytes = Fixture("unknown-record.wmf");
    target.fill(Qt::white);
    {
        QPainter painter(&target);
        QtCanvas canvas(&painter);
        canvas.drawPicture(graphic, Rect{0, 0, 200, 100});
    }
    EXPECT_EQ(QColor(target.pixel(50, 35)), QColor(Qt::white));
    EXPECT_EQ(QColor(target.pixel(0, 50)), QColor(128, 128, 128)); // the frame
}

} // namespace
} // namespace quillory
