// The ring-binder page: grey cloth, a white page with rounded corners, and rings down its left.
#include "controls/Ring.h"

#include "platform/qt/KnownFormatImage.h"

#include <QPainter>

namespace quillory {

namespace {

const QColor kCloth(128, 128, 128);

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

    painter.fillRect(client, kCloth);

    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    // The page spans (m, 5) to (width - m, height - 5), right and bottom edges exclusive as
    // rectangles are on the original platform; corner ellipses of 25 x 25.
    const QRectF page(margin, 5, client.width() - 2 * margin - 1, client.height() - 10 - 1);
    painter.drawRoundedRect(page, 12.5, 12.5);

    if (ring_.isNull())
        return;
    for (const int y : RingRows(client.height())) {
        painter.drawImage(0, y, ring_);
        if (doubleRing_)
            painter.drawImage(0, y + kDoubleRingOffset, ring_);
    }
}

} // namespace quillory
