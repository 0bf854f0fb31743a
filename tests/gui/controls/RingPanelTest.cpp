// The ring page: where the rings go, which picture and margin are used, and what gets painted.
#include "controls/Ring.h"

#include "app/forms/FurnitureResources.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace quillory;

namespace {

class RingPanelTest : public testing::Test {
protected:
    static void SetUpTestSuite() { InitFurnitureResources(); }

    static QImage Paint(TRingPanel& panel, int width, int height)
    {
        panel.resize(width, height);
        return panel.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
};

const QRgb kCloth = qRgb(128, 128, 128);

TEST_F(RingPanelTest, RingsStepDownWhileFortyPixelsAboveTheBottom)
{
    struct Case { int height; std::vector<int> rows; };
    const Case cases[] = {
        {49, {}},
        {50, {20}},
        {100, {20, 70}},
        {149, {20, 70}},
        {150, {20, 70, 120}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TRingPanel::RingRows(c.height), c.rows) << "height " << c.height;
}

TEST_F(RingPanelTest, PaintingPicksPictureAndMarginFromSmallRing)
{
    TRingPanel panel;
    EXPECT_EQ(panel.Shape(), 1);
    Paint(panel, 200, 100);
    EXPECT_EQ(panel.LeftEdge(), 43);
    EXPECT_EQ(panel.RightEdge(), 22);

    panel.SetSmallRing(true);
    Paint(panel, 200, 100);
    EXPECT_EQ(panel.LeftEdge(), 31);
    EXPECT_EQ(panel.RightEdge(), 15);

    // Whatever the owner set, the next paint puts back the picture's own edges.
    panel.SetLeftEdge(99);
    panel.SetRightEdge(1);
    Paint(panel, 200, 100);
    EXPECT_EQ(panel.LeftEdge(), 31);
    EXPECT_EQ(panel.RightEdge(), 15);
}

TEST_F(RingPanelTest, PaintsClothPageOutlineAndRings)
{
    TRingPanel panel;
    const QImage image = Paint(panel, 300, 100);
    const QImage ring(QStringLiteral(":/furniture/RINGIMAGE"));
    ASSERT_EQ(ring.size(), QSize(43, 11));

    EXPECT_EQ(image.pixel(5, 2), kCloth);                       // above the first ring
    EXPECT_EQ(image.pixel(295, 50), kCloth);                    // right of the page
    EXPECT_EQ(image.pixel(150, 2), kCloth);                     // above the page
    EXPECT_EQ(image.pixel(150, 50), qRgb(255, 255, 255));       // on the page
    EXPECT_EQ(image.pixel(22, 50), qRgb(0, 0, 0));              // the page's left outline
    EXPECT_EQ(image.pixel(150, 5), qRgb(0, 0, 0));              // its top outline

    const QImage picture = ring.convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(image.copy(0, 20, 43, 11), picture);
    EXPECT_EQ(image.copy(0, 70, 43, 11), picture);
    EXPECT_NE(image.copy(0, 35, 43, 11), picture);  // single rings only

    panel.SetDoubleRing(true);
    const QImage doubled = Paint(panel, 300, 100);
    EXPECT_EQ(doubled.copy(0, 35, 43, 11), picture);
    EXPECT_EQ(doubled.copy(0, 85, 43, 11), picture);
}

TEST_F(RingPanelTest, RingPicturesMeetThePageOutline)
{
    // The picture covers the page's edge; its own edge column must continue the outline.
    for (const bool small : {false, true}) {
        const QImage ring(small ? QStringLiteral(":/furniture/RINGIMAGES") : QStringLiteral(":/furniture/RINGIMAGE"));
        const int margin = small ? TRingPanel::kSmallMargin : TRingPanel::kNormalMargin;
        ASSERT_FALSE(ring.isNull());
        EXPECT_EQ(ring.height(), 11);
        EXPECT_LE(ring.colorCount(), 16);
        for (const int y : {0, 1, 9, 10}) {  // above and below the ring crossing it
            EXPECT_EQ(ring.pixel(margin, y), qRgb(0, 0, 0)) << "small " << small << " row " << y;
            EXPECT_EQ(ring.pixel(0, y), kCloth);
            EXPECT_EQ(ring.pixel(ring.width() - 1, y), qRgb(255, 255, 255));
        }
    }
}

} // namespace
