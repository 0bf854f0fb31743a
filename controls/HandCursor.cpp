// The hand cursor of link labels.
#include "controls/HandCursor.h"

#include <QPixmap>

namespace quillory {

QCursor HandCursor()
{
    const QPixmap hand(QStringLiteral(":/furniture/HAND"));
    if (hand.isNull())
        return QCursor(Qt::PointingHandCursor);
    return QCursor(hand, 5, 0);
}

} // namespace quillory
