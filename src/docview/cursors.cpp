#include "docview/cursors.h"

#include "docview/resources.h"

namespace vorpane {

const QCursor& pointingHandCursor()
{
    // The fingertip of the drawing is its hot spot.
    static const QCursor cursor = [] {
        const QPixmap hand = resourcePixmap(QStringLiteral(":/cursors/hand.svg"), QSize(32, 32));
        return hand.isNull() ? QCursor(Qt::PointingHandCursor) : QCursor(hand, 11, 2);
    }();
    return cursor;
}

} // namespace vorpane
