// TRingPanel: the ring-binder page on which the main window shows the entry.
#pragma once

#include <QColor>
#include <QFrame>
#include <QImage>
#include <vector>

namespace quillory {

class TRingPanel : public QFrame {
    Q_OBJECT
    Q_PROPERTY(int Shape READ Shape WRITE SetShape)
    Q_PROPERTY(bool DoubleRing READ DoubleRing WRITE SetDoubleRing)
    Q_PROPERTY(bool SmallRing READ SmallRing WRITE SetSmallRing)
    Q_PROPERTY(int LeftEdge READ LeftEdge WRITE SetLeftEdge)
    Q_PROPERTY(int RightEdge READ RightEdge WRITE SetRightEdge)

public:
    // Horizontal margin of the page with each ring picture.
    static constexpr int kNormalMargin = 22;
    static constexpr int kSmallMargin = 15;
    // First ring, distance between rings, offset of the second of a double ring.
    static constexpr int kFirstRingY = 20;
    static constexpr int kRingStep = 50;
    static constexpr int kDoubleRingOffset = 15;
    // Rings are drawn while their top is at least this far above the bottom edge. A page
    // 100 px high has rings at 20 and 70, as it always had; 120 is too low.
    static constexpr int kRingBottomClearance = 30;

    explicit TRingPanel(QWidget* parent = nullptr);

    // Kept and repainted on change; the painting does not depend on it.
    int Shape() const noexcept { return shape_; }
    void SetShape(int shape);
    bool DoubleRing() const noexcept { return doubleRing_; }
    void SetDoubleRing(bool doubleRing);
    bool SmallRing() const noexcept { return smallRing_; }
    void SetSmallRing(bool smallRing);
    // Width of the ring picture in use and the page's margin; painting sets both, and the
    // main window's layout reads them to place the editor on the page.
    int LeftEdge() const noexcept { return leftEdge_; }
    void SetLeftEdge(int leftEdge);
    int RightEdge() const noexcept { return rightEdge_; }
    void SetRightEdge(int rightEdge);

    // A dark page (dark paper, light outline) for the "dark page" setting.
    bool DarkPage() const noexcept { return darkPage_; }
    void SetDarkPage(bool on);
    // The colours of the furniture: the cloth follows the desktop's light or dark scheme, the
    // paper the dark page setting.
    struct Colours {
        QColor cloth;
        QColor paper;
        QColor outline;
    };
    static Colours ColoursFor(bool darkDesktop, bool darkPage);

    // The tops of the rings (first copies only) for a client area `height` pixels high.
    static std::vector<int> RingRows(int height);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void PaintPage(QPainter& painter, const QRect& client);
    // A ring drawn as shapes, sharp at any scale, at the place of the ring picture's top left.
    void PaintRing(QPainter& painter, int y) const;

    int shape_ = 1;
    bool doubleRing_ = false;
    bool smallRing_ = false;
    int leftEdge_ = 0;
    int rightEdge_ = 0;
    QImage ring_;
    bool ringIsSmall_ = false;
    bool darkPage_ = false;
};

} // namespace quillory
