// The ring-binder page: grey cloth, a white page with rounded corners, and rings down its left.
#include "controls/Ring.h"

#include "platform/qt/KnownFormatImage.h"

#include <QLinearGradient>
#include <QPaintEngine>
#include <QPainter>

namespace quillory {

namespace {

QImage LoadRingPicture(bool small)
{
    return ReadImageAs(small ? QStringLiteral(":/furniture/RINGIMAGES") : QStringLiteral(":/furniture/RINGIMAGE"), "bmp");
}

} // namespace

TRingPanel::TRingPanel(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("RingPanel"));
}

void TRingPanel::SetShape(int shape)
{
    if (shape_ == shape)
        return;
    shape_ = shape;
    update();
}

void TRingPanel::SetDoubleRing(bool doubleRing)
{
    if (doubleRing_ == doubleRing)
        return;
    doubleRing_ = doubleRing;
    update();
}

void TRingPanel::SetSmallRing(bool smallRing)
{
    if (smallRing_ == smallRing)
        return;
    smallRing_ = smallRing;
    update();
}

void TRingPanel::SetLeftEdge(int leftEdge)
{
    if (leftEdge_ == leftEdge)
        return;
    leftEdge_ = leftEdge;
    update();
}

void TRingPanel::SetRightEdge(int rightEdge)
{
    if (rightEdge_ == rightEdge)
        return;
    rightEdge_ = rightEdge;
    update();
}

void TRingPanel::SetDarkPage(bool on)
{
    if (darkPage_ == on)
        return;
    darkPage_ = on;
    update();
}

TRingPanel::Colours TRingPanel::ColoursFor(bool darkDesktop, bool darkPage)
{
    Colours colours{darkDesktop ? QColor(48, 48, 52) : QColor(128, 128, 128), Qt::white, Qt::black};
    if (darkPage) {
        colours.paper = QColor(30, 30, 30);
        colours.outline = QColor(150, 150, 150);
    }
    return colours;
}

std::vector<int> TRingPanel::RingRows(int height)
{
    std::vector<int> rows;
    for (int y = kFirstRingY; y <= height - kRingBottomClearance; y += kRingStep)
        rows.push_back(y);
    return rows;
}

void TRingPanel::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect client = contentsRect();
    painter.save();
    painter.setClipRect(client);
    painter.translate(client.topLeft());
    PaintPage(painter, QRect(QPoint(0, 0), client.size()));
    painter.restore();
    QFrame::paintEvent(event);  // the frame, when the owner gave the panel one
}

void TRingPanel::PaintPage(QPainter& painter, const QRect& client)
{
    if (ring_.isNull() || ringIsSmall_ != smallRing_) {
        ring_ = LoadRingPicture(smallRing_);
        ringIsSmall_ = smallRing_;
    }
    // Painting decides the edges, whatever they were set to; no repaint is asked for here.
    leftEdge_ = ring_.isNull() ? 0 : ring_.width();
    const int margin = smallRing_ ? kSmallMargin : kNormalMargin;
    rightEdge_ = margin;

    // What the painting lands on: the screen, or an image when the panel is rendered into one.
    const QPaintDevice* target = painter.paintEngine() ? painter.paintEngine()->paintDevice() : nullptr;
    const qreal ratio = target ? target->devicePixelRatioF() : devicePixelRatioF();
    const bool darkDesktop = palette().color(QPalette::Window).lightness() < 128;
    const Colours colours = ColoursFor(darkDesktop, darkPage_);
    painter.fillRect(client, colours.cloth);

    painter.setPen(QPen(colours.outline, 1));
    painter.setBrush(colours.paper);
    // The page spans (m, 5) to (width - m, height - 5), right and bottom edges exclusive as
    // rectangles are on the original platform; corner ellipses of 25 x 25.
    const QRectF page(margin, 5, client.width() - 2 * margin - 1, client.height() - 10 - 1);
    if (ratio > 1.0) {
        // On a dense screen the corners are drawn smooth, and moved by half a pixel so that the
        // outline covers whole device pixels.
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.drawRoundedRect(page.translated(0.5, 0.5), 12.5, 12.5);
        painter.restore();
    } else {
        painter.drawRoundedRect(page, 12.5, 12.5);
    }

    if (ring_.isNull())
        return;
    // The ring picture as designed at one device pixel per pixel on the designed colours;
    // shapes everywhere else, so that a dense screen shows no scaled-up bitmap.
    const bool picture = ratio <= 1.0 && !darkDesktop && !darkPage_;
    for (const int y : RingRows(client.height())) {
        for (const int top : {y, y + kDoubleRingOffset}) {
            if (top != y && !doubleRing_)
                break;
            if (picture)
                painter.drawImage(0, top, ring_);
            else
                PaintRing(painter, top);
        }
    }
}

void TRingPanel::PaintRing(QPainter& painter, int y) const
{
    // The picture's shape: a rod from the cloth across the page's edge, rounded at its ends and
    // shaded from a light top to a grey bottom, its end in a hole punched in the paper.
    const qreal width = leftEdge_;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    QLinearGradient metal(0, y + 4, 0, y + 7);
    metal.setColorAt(0.0, Qt::white);
    metal.setColorAt(0.5, QColor(192, 192, 192));
    metal.setColorAt(1.0, QColor(128, 128, 128));
    painter.setBrush(metal);
    painter.drawRoundedRect(QRectF(1.5, y + 3.5, width - 6, 4), 2, 2);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawEllipse(QPointF(width - 6, y + 5.5), 2.6, 4.2);
    painter.restore();
}

} // namespace quillory
