// The main window's button pictures: freedesktop standard names first, drawn ones behind them.
#include "app/forms/ButtonIcons.h"

#include "platform/qt/ThemeIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <array>
#include <functional>

namespace quillory {

namespace {

const QColor kInk(0x30, 0x30, 0x30);
const QColor kAccent(0x2a, 0x5d, 0xb0);

QPen Pen(const QColor& color, qreal width)
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A page broken in two: the top and bottom of two sheets with a dashed cut between.
void PaintPageBreak(QPainter& p)
{
    p.setPen(Pen(kInk, 1.2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5, 1.5, 9, 4.5));
    p.drawRect(QRectF(3.5, 10, 9, 4.5));
    p.setPen(QPen(kAccent, 1.5, Qt::DashLine));
    p.drawLine(QPointF(1, 8), QPointF(15, 8));
}

// Lines of text with an arrow turning back to the left margin.
void PaintWordWrap(QPainter& p)
{
    p.setPen(Pen(kInk, 1.5));
    p.drawLine(QPointF(2, 3), QPointF(14, 3));
    p.drawLine(QPointF(2, 13), QPointF(7, 13));
    p.setPen(Pen(kAccent, 1.5));
    QPainterPath turn;
    turn.moveTo(2, 8);
    turn.lineTo(11, 8);
    turn.cubicTo(15, 8, 15, 13, 11, 13);
    p.drawPath(turn);
    p.drawLine(QPointF(11, 13), QPointF(9, 11));
    p.drawLine(QPointF(11, 13), QPointF(9, 15));
}

// A window shrinking to a bar at the bottom.
void PaintMinimize(QPainter& p)
{
    p.setPen(Pen(kInk, 1.2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2.5, 1.5, 11, 8));
    p.setPen(Pen(kAccent, 2.5));
    p.drawLine(QPointF(4, 13.5), QPointF(12, 13.5));
}

// A calendar sheet: the button has no caption, so it must never be blank.
void PaintCalendar(QPainter& p)
{
    p.setPen(Pen(kInk, 1.2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 2.5, 13, 12));
    p.fillRect(QRectF(2, 3, 12, 3), kAccent);
    p.setPen(Pen(kInk, 1.5));
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 3; ++column)
            p.drawPoint(QPointF(4.5 + column * 3.5, 9 + row * 3));
}

struct ButtonPicture {
    std::string_view button;
    std::array<const char*, 2> themeNames;  // the standard name, then a second one that fits
    void (*paint)(QPainter&);               // our own, when the theme has neither
};

constexpr ButtonPicture kPictures[] = {
    {"SaveButton", {"document-save", nullptr}, nullptr},
    {"CancelButton", {"document-revert", "edit-undo"}, nullptr},
    {"FirstButton", {"go-first", nullptr}, nullptr},
    {"PriorButton", {"go-previous", nullptr}, nullptr},
    {"Nextbutton", {"go-next", nullptr}, nullptr},
    {"LastButton", {"go-last", nullptr}, nullptr},
    {"CalendarButton", {"x-office-calendar", "office-calendar"}, PaintCalendar},
    {"Hidebutton", {"window-minimize", nullptr}, PaintMinimize},
    {"ExplorerButton1", {"application-exit", "system-log-out"}, nullptr},
    {"Deletebutton", {"edit-delete", nullptr}, nullptr},
    {"DocPageBreakButton", {nullptr, nullptr}, PaintPageBreak},
    {"ParagraphSetupButton", {"format-indent-more", nullptr}, nullptr},
    {"DocWordWrapButton", {nullptr, nullptr}, PaintWordWrap},
    {"Printbutton", {"document-print", nullptr}, nullptr},
    {"PasteGraphicButton", {"insert-image", "image-x-generic"}, nullptr},
    {"SymbolSelectorButton", {"accessories-character-map", nullptr}, nullptr},
};

const ButtonPicture* PictureOf(std::string_view buttonName)
{
    for (const ButtonPicture& picture : kPictures) {
        if (picture.button == buttonName)
            return &picture;
    }
    return nullptr;
}

QIcon Drawn(void (*paint)(QPainter&))
{
    QIcon icon;
    for (const int side : {16, 32}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(side / 16.0, side / 16.0);
        paint(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

QStringList ButtonIconNames(std::string_view buttonName)
{
    QStringList names;
    if (const ButtonPicture* picture = PictureOf(buttonName)) {
        for (const char* name : picture->themeNames) {
            if (name)
                names.append(QString::fromLatin1(name));
        }
    }
    return names;
}

QIcon ButtonIcon(std::string_view buttonName)
{
    const ButtonPicture* picture = PictureOf(buttonName);
    if (!picture)
        return {};
    for (const QString& name : ButtonIconNames(buttonName)) {
        QIcon themed = ThemeIcon(name);
        if (!themed.isNull())
            return themed;
    }
    return picture->paint ? Drawn(picture->paint) : QIcon();
}

} // namespace quillory
