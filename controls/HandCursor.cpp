// The hand cursor of link labels.
#include "controls/HandCursor.h"

#include "platform/qt/KnownFormatImage.h"

#include <QPixmap>

namespace quillory {

QCursor HandCursor()
{
    const QPixmap hand = QPixmap::fromImage(ReadImageAs(QStringLiteral(":/furniture/HAND"), "png"));
    if (hand.isNull())
        return QCursor(Qt::PointingHandCursor);
    return QCursor(hand, 5, 0);
}

} // namespace quillory
