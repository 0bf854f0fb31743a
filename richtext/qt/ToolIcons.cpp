// Icon images: letters for the character styles, line patterns for alignment, small pictures for
// the commands. One ink and one accent colour keep them consistent; strokes are at least 1.5 px so
// that they stay legible at 20 × 20.
#include "richtext/qt/ToolIcons.h"

#include "platform/qt/ThemeIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace quillory {

namespace {

const QColor kInk(0x30, 0x30, 0x30);
const QColor kAccent(0x2a, 0x5d, 0xb0);
const QColor kWarn(0xc0, 0x30, 0x30);
const QColor kGood(0x2e, 0x8b, 0x3a);
const QColor kPaper(0xff, 0xff, 0xff);

QPen pen(const QColor& color, qreal width = 1.5)
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void letter(QPainter& p, const QString& text, const QRectF& box, bool bold, bool italic, int pixelSize,
            const QColor& color = kInk)
{
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setItalic(italic);
    p.setFont(font);
    p.setPen(color);
    p.drawText(box, Qt::AlignCenter, text);
}

// Four text lines; each row gives the line's start and end.
void lines(QPainter& p, const qreal (&rows)[4][2])
{
    p.setPen(pen(kInk, 2));
    for (int i = 0; i < 4; ++i)
        p.drawLine(QPointF(rows[i][0], 4 + i * 4), QPointF(rows[i][1], 4 + i * 4));
}

void page(QPainter& p, const QRectF& r)
{
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 4, r.top());
    path.lineTo(r.right(), r.top() + 4);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(pen(kInk, 1.2));
    p.setBrush(kPaper);
    p.drawPath(path);
    p.setBrush(Qt::NoBrush);
}

void magnifier(QPainter& p, QPointF centre, qreal radius)
{
    p.setPen(pen(kInk, 2));
    p.drawEllipse(centre, radius, radius);
    p.setPen(pen(kInk, 3));
    const QPointF handle = centre + QPointF(radius * 0.75, radius * 0.75);
    p.drawLine(handle, handle + QPointF(4.5, 4.5));
}

void printer(QPainter& p)
{
    p.setPen(pen(kInk, 1.2));
    p.setBrush(kPaper);
    p.drawRect(QRectF(5.5, 2.5, 9, 6));         // paper going in
    p.setBrush(QColor(0xd8, 0xd8, 0xd8));
    p.drawRoundedRect(QRectF(2.5, 8.5, 15, 7), 1.5, 1.5);
    p.setBrush(kPaper);
    p.drawRect(QRectF(5.5, 13.5, 9, 4.5));      // paper coming out
    p.setPen(pen(kGood, 1.5));
    p.drawPoint(QPointF(15, 10.5));
}

void triangle(QPainter& p, QPointF a, QPointF b, QPointF c, const QColor& color)
{
    QPolygonF shape{a, b, c};
    p.setPen(pen(color, 1));
    p.setBrush(color);
    p.drawPolygon(shape);
    p.setBrush(Qt::NoBrush);
}

} // namespace

void PaintToolIcon(QPainter& p, ToolIconId id)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF box(0, 0, 20, 20);
    using enum ToolIconId;
    switch (id) {
    case SelNormal:
        letter(p, QStringLiteral("A"), box, false, false, 16);
        break;
    case SelBold:
        letter(p, QStringLiteral("B"), box, true, false, 17);
        break;
    case SelItalic:
        letter(p, QStringLiteral("I"), box, true, true, 17);
        break;
    case SelUnder:
        letter(p, QStringLiteral("U"), box.adjusted(0, -2, 0, -2), false, false, 16);
        p.setPen(pen(kInk, 1.5));
        p.drawLine(QPointF(4, 17.5), QPointF(16, 17.5));
        break;
    case SelHyperLink: {
        p.setPen(pen(kAccent, 2));
        p.drawRoundedRect(QRectF(1.5, 6.5, 10, 7), 3.5, 3.5);
        p.drawRoundedRect(QRectF(8.5, 6.5, 10, 7), 3.5, 3.5);
        break;
    }
    case SelStrikeOut:
        letter(p, QStringLiteral("S"), box, false, false, 17);
        p.setPen(pen(kWarn, 1.5));
        p.drawLine(QPointF(3, 10.5), QPointF(17, 10.5));
        break;
    case SelSuper:
        letter(p, QStringLiteral("x"), QRectF(0, 3, 13, 16), false, false, 15);
        letter(p, QStringLiteral("2"), QRectF(11, 0, 9, 10), true, false, 10, kAccent);
        break;
    case SelSub:
        letter(p, QStringLiteral("x"), QRectF(0, 0, 13, 16), false, false, 15);
        letter(p, QStringLiteral("2"), QRectF(11, 10, 9, 10), true, false, 10, kAccent);
        break;
    case SelHidden: {
        p.setPen(pen(kInk, 1.5));
        QPainterPath eye;
        eye.moveTo(2, 10);
        eye.quadTo(10, 2, 18, 10);
        eye.quadTo(10, 18, 2, 10);
        p.drawPath(eye);
        p.setBrush(kInk);
        p.drawEllipse(QPointF(10, 10), 2.2, 2.2);
        p.setBrush(Qt::NoBrush);
        p.setPen(pen(kWarn, 2));
        p.drawLine(QPointF(4, 16), QPointF(16, 4));
        break;
    }
    case SelRTFCode:
        letter(p, QStringLiteral("{}"), box, true, false, 15, kAccent);
        break;
    case SelLeft: {
        const qreal rows[4][2] = {{3, 17}, {3, 12}, {3, 17}, {3, 10}};
        lines(p, rows);
        break;
    }
    case SelRight: {
        const qreal rows[4][2] = {{3, 17}, {8, 17}, {3, 17}, {10, 17}};
        lines(p, rows);
        break;
    }
    case SelBlock: {
        const qreal rows[4][2] = {{3, 17}, {3, 17}, {3, 17}, {3, 11}};
        lines(p, rows);
        break;
    }
    case SelCenter: {
        const qreal rows[4][2] = {{3, 17}, {6, 14}, {3, 17}, {7, 13}};
        lines(p, rows);
        break;
    }
    case SelCopy:
        page(p, QRectF(2.5, 2.5, 9, 11));
        page(p, QRectF(8.5, 6.5, 9, 11));
        break;
    case SelCut:
        p.setPen(pen(kInk, 1.5));
        p.drawLine(QPointF(6, 2), QPointF(12.5, 13));
        p.drawLine(QPointF(14, 2), QPointF(7.5, 13));
        p.setPen(pen(kWarn, 1.5));
        p.drawEllipse(QPointF(6, 15.5), 2.6, 2.6);
        p.drawEllipse(QPointF(14, 15.5), 2.6, 2.6);
        break;
    case SelPaste:
        p.setPen(pen(kInk, 1.2));
        p.setBrush(QColor(0xc8, 0x9b, 0x5e));
        p.drawRoundedRect(QRectF(2.5, 3.5, 12, 15), 1.5, 1.5);
        p.setBrush(QColor(0x80, 0x80, 0x80));
        p.drawRect(QRectF(5.5, 1.5, 6, 3));
        p.setBrush(Qt::NoBrush);
        page(p, QRectF(8.5, 7.5, 9, 11));
        break;
    case SelSelAll:
        p.setPen(QPen(kAccent, 1.5, Qt::DashLine));
        p.drawRect(QRectF(2.5, 2.5, 15, 15));
        letter(p, QStringLiteral("A"), box, true, false, 11);
        break;
    case SelHideSel:
        p.setPen(QPen(kAccent, 1.5, Qt::DashLine));
        p.drawRect(QRectF(2.5, 2.5, 15, 15));
        p.setPen(pen(kWarn, 2));
        p.drawLine(QPointF(6.5, 6.5), QPointF(13.5, 13.5));
        p.drawLine(QPointF(13.5, 6.5), QPointF(6.5, 13.5));
        break;
    case SelFind:
        magnifier(p, QPointF(8, 8), 5);
        break;
    case SelReplace:
        magnifier(p, QPointF(7, 7), 4.5);
        p.setPen(pen(kAccent, 1.5));
        p.drawLine(QPointF(12, 17), QPointF(19, 17));
        triangle(p, QPointF(16, 14.5), QPointF(19.5, 17), QPointF(16, 19.5), kAccent);
        break;
    case SelSpellCheck:
        letter(p, QStringLiteral("abc"), QRectF(0, 0, 20, 11), true, false, 10);
        p.setPen(pen(kGood, 2));
        p.drawLine(QPointF(4, 14), QPointF(8, 18));
        p.drawLine(QPointF(8, 18), QPointF(17, 10));
        break;
    case SelExit:
        p.setPen(pen(kInk, 1.5));
        p.drawRect(QRectF(3.5, 2.5, 9, 15));
        p.setPen(pen(kWarn, 2));
        p.drawLine(QPointF(8, 10), QPointF(17, 10));
        triangle(p, QPointF(15, 7), QPointF(19, 10), QPointF(15, 13), kWarn);
        break;
    case SelNew:
        page(p, QRectF(4.5, 2.5, 11, 15));
        p.setPen(pen(kGood, 2));
        p.drawLine(QPointF(10, 8), QPointF(10, 14));
        p.drawLine(QPointF(7, 11), QPointF(13, 11));
        break;
    case SelOpen: {
        p.setPen(pen(kInk, 1.2));
        p.setBrush(QColor(0xe8, 0xc0, 0x60));
        p.drawRect(QRectF(1.5, 5.5, 14, 11));
        p.drawRect(QRectF(1.5, 3.5, 6, 2));
        QPolygonF lid{QPointF(4.5, 9.5), QPointF(18.5, 9.5), QPointF(15.5, 16.5), QPointF(1.5, 16.5)};
        p.setBrush(QColor(0xf4, 0xd8, 0x88));
        p.drawPolygon(lid);
        p.setBrush(Qt::NoBrush);
        break;
    }
    case SelSave:
        p.setPen(pen(kInk, 1.2));
        p.setBrush(kAccent);
        p.drawRoundedRect(QRectF(2.5, 2.5, 15, 15), 1.5, 1.5);
        p.setBrush(kPaper);
        p.drawRect(QRectF(5.5, 2.5, 9, 6));
        p.setBrush(QColor(0xd8, 0xd8, 0xd8));
        p.drawRect(QRectF(5.5, 11.5, 9, 6));
        p.setBrush(Qt::NoBrush);
        break;
    case SelClose:
        page(p, QRectF(3.5, 2.5, 11, 15));
        p.setPen(pen(kWarn, 2));
        p.drawLine(QPointF(11, 11), QPointF(17, 17));
        p.drawLine(QPointF(17, 11), QPointF(11, 17));
        break;
    case SelPrint:
        printer(p);
        break;
    case SelPrintSetup:
        printer(p);
        p.setPen(pen(kAccent, 1.2));
        p.setBrush(kPaper);
        p.drawEllipse(QPointF(15.5, 15.5), 3.5, 3.5);
        p.setBrush(kAccent);
        p.drawEllipse(QPointF(15.5, 15.5), 1.2, 1.2);
        p.setBrush(Qt::NoBrush);
        break;
    case SelToStart:
        p.setPen(pen(kInk, 2));
        p.drawLine(QPointF(4, 4), QPointF(4, 16));
        triangle(p, QPointF(16, 4), QPointF(6, 10), QPointF(16, 16), kInk);
        break;
    case SelNext:
        triangle(p, QPointF(6, 4), QPointF(15, 10), QPointF(6, 16), kInk);
        break;
    case SelPrev:
        triangle(p, QPointF(14, 4), QPointF(5, 10), QPointF(14, 16), kInk);
        break;
    case SelToEnd:
        triangle(p, QPointF(4, 4), QPointF(14, 10), QPointF(4, 16), kInk);
        p.setPen(pen(kInk, 2));
        p.drawLine(QPointF(16, 4), QPointF(16, 16));
        break;
    case SelEdit: {
        p.setPen(pen(kInk, 1.2));
        p.setBrush(QColor(0xf0, 0xc0, 0x40));
        QPolygonF pencil{QPointF(13, 3), QPointF(17, 7), QPointF(7, 17), QPointF(3, 17), QPointF(3, 13)};
        p.drawPolygon(pencil);
        p.setBrush(Qt::NoBrush);
        break;
    }
    case SelAdd:
        p.setPen(pen(kGood, 3));
        p.drawLine(QPointF(10, 4), QPointF(10, 16));
        p.drawLine(QPointF(4, 10), QPointF(16, 10));
        break;
    case SelDel:
        p.setPen(pen(kWarn, 3));
        p.drawLine(QPointF(4, 10), QPointF(16, 10));
        break;
    case SelCancel:
        p.setPen(pen(kWarn, 2.5));
        p.drawLine(QPointF(5, 5), QPointF(15, 15));
        p.drawLine(QPointF(15, 5), QPointF(5, 15));
        break;
    case SelPost:
        p.setPen(pen(kGood, 2.5));
        p.drawLine(QPointF(4, 10), QPointF(8.5, 15));
        p.drawLine(QPointF(8.5, 15), QPointF(16, 5));
        break;
    }
}

const char* ToolIconThemeName(ToolIconId id) noexcept
{
    using enum ToolIconId;
    switch (id) {
    case SelBold: return "format-text-bold";
    case SelItalic: return "format-text-italic";
    case SelUnder: return "format-text-underline";
    case SelStrikeOut: return "format-text-strikethrough";
    case SelLeft: return "format-justify-left";
    case SelRight: return "format-justify-right";
    case SelBlock: return "format-justify-fill";
    case SelCenter: return "format-justify-center";
    case SelCopy: return "edit-copy";
    case SelCut: return "edit-cut";
    case SelPaste: return "edit-paste";
    case SelSelAll: return "edit-select-all";
    case SelFind: return "edit-find";
    case SelReplace: return "edit-find-replace";
    case SelSpellCheck: return "tools-check-spelling";
    case SelExit: return "application-exit";
    case SelNew: return "document-new";
    case SelOpen: return "document-open";
    case SelSave: return "document-save";
    case SelClose: return "window-close";
    case SelPrint: return "document-print";
    case SelToStart: return "go-first";
    case SelNext: return "go-next";
    case SelPrev: return "go-previous";
    case SelToEnd: return "go-last";
    case SelAdd: return "list-add";
    case SelDel: return "list-remove";
    default: return nullptr;
    }
}

QIcon ToolIconImage(ToolIconId id)
{
    if (const char* name = ToolIconThemeName(id)) {
        QIcon themed = ThemeIcon(QString::fromLatin1(name));
        if (!themed.isNull())
            return themed;
    }
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pixmap(20 * scale, 20 * scale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.scale(scale, scale);
        PaintToolIcon(painter, id);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon ColorSwatch(const QColor& color)
{
    QPixmap pixmap(20, 12);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(0x60, 0x60, 0x60));
    painter.setBrush(color);
    painter.drawRect(QRect(0, 0, 19, 11));
    painter.end();
    return QIcon(pixmap);
}

} // namespace quillory
