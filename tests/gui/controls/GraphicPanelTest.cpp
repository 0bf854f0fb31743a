// The window-less panel: its frames and face, and the plain gap the toolbar uses.
#include "controls/Graphp.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace quillory;

namespace {

QImage Paint(TGraphicPanel& panel)
{
    return panel.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TEST(GraphicPanelTest, Defaults)
{
    TGraphicPanel panel;
    EXPECT_EQ(panel.size(), QSize(185, 41));
    EXPECT_EQ(panel.Alignment(), PanelAlignment::Center);
    EXPECT_EQ(panel.BevelOuter(), PanelBevel::Raised);
    EXPECT_EQ(panel.BevelInner(), PanelBevel::None);
    EXPECT_EQ(panel.BevelWidth(), 1);
    EXPECT_EQ(panel.BorderWidth(), 0);
    EXPECT_EQ(panel.BorderStyle(), PanelBorderStyle::None);
    EXPECT_EQ(panel.Color(), panel.palette().color(QPalette::Button));
}

TEST(GraphicPanelTest, WithoutBevelAndCaptionItIsAPlainArea)
{
    TGraphicPanel gap;
    gap.SetBevelOuter(PanelBevel::None);
    gap.SetColor(QColor(10, 200, 30));
    gap.resize(3, 20);
    const QImage image = Paint(gap);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ASSERT_EQ(image.pixel(x, y), qRgb(10, 200, 30)) << x << "," << y;
}

TEST(GraphicPanelTest, FramesFromTheOutsideIn)
{
    const QRgb light = TGraphicPanel().palette().color(QPalette::Light).rgb();
    const QRgb dark = TGraphicPanel().palette().color(QPalette::Dark).rgb();
    const QRgb face = qRgb(200, 0, 0);
    struct Case {
        PanelBorderStyle border; PanelBevel outer; int borderWidth; PanelBevel inner;
        std::vector<QRgb> topLeftDiagonal;      // pixels (i, i) from the corner inwards
        std::vector<QRgb> bottomRightDiagonal;  // pixels (w-1-i, h-1-i)
    };
    const Case cases[] = {
        {PanelBorderStyle::None, PanelBevel::Raised, 0, PanelBevel::None, {light, face}, {dark, face}},
        {PanelBorderStyle::None, PanelBevel::Lowered, 0, PanelBevel::None, {dark, face}, {light, face}},
        {PanelBorderStyle::Single, PanelBevel::Raised, 0, PanelBevel::None, {qRgb(0, 0, 0), light, face},
         {qRgb(0, 0, 0), dark, face}},
        {PanelBorderStyle::None, PanelBevel::Raised, 2, PanelBevel::Lowered, {light, face, face, dark, face},
         {dark, face, face, light, face}},
    };
    for (const auto& c : cases) {
        TGraphicPanel panel;
        panel.SetBorderStyle(c.border);
        panel.SetBevelOuter(c.outer);
        panel.SetBorderWidth(c.borderWidth);
        panel.SetBevelInner(c.inner);
        panel.SetColor(QColor(face));
        panel.resize(40, 30);
        const QImage image = Paint(panel);
        for (std::size_t i = 0; i < c.topLeftDiagonal.size(); ++i) {
            const int at = static_cast<int>(i);
            EXPECT_EQ(image.pixel(at, at), c.topLeftDiagonal[i]) << "top-left " << i;
            EXPECT_EQ(image.pixel(39 - at, 29 - at), c.bottomRightDiagonal[i]) << "bottom-right " << i;
        }
    }
}

TEST(GraphicPanelTest, CaptionFollowsAlignment)
{
    // Where ink appears tells the alignment: the leftmost dark pixel of the caption's row.
    auto firstInk = [](PanelAlignment alignment) {
        TGraphicPanel panel;
        panel.SetBevelOuter(PanelBevel::None);
        panel.SetColor(Qt::white);
        panel.SetCaption(QStringLiteral("WW"));
        panel.SetAlignment(alignment);
        panel.resize(185, 41);
        const QImage image = Paint(panel);
        for (int x = 0; x < image.width(); ++x)
            for (int y = 0; y < image.height(); ++y)
                if (qGray(image.pixel(x, y)) < 128)
                    return x;
        return -1;
    };
    const int left = firstInk(PanelAlignment::Left);
    const int centre = firstInk(PanelAlignment::Center);
    const int right = firstInk(PanelAlignment::Right);
    ASSERT_GE(left, 0);
    EXPECT_LT(left, 5);
    EXPECT_GT(centre, left + 50);
    EXPECT_GT(right, centre + 50);
}

} // namespace
