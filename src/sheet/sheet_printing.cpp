#include "sheet/sheet_printing.h"

#include "platform/profile.h"
#include "sheet/sheet_painter.h"

#include <QPainter>
#include <algorithm>

namespace vorpane {

namespace {

constexpr double kTenthsOfMillimetrePerInch = 254.0;

} // namespace

PrintMargins PrintMargins::fromProfile()
{
    PrintMargins margins;
    margins.left = std::max(0, Profile::read(profile_keys::kLeftMargin));
    margins.top = std::max(0, Profile::read(profile_keys::kTopMargin));
    return margins;
}

QPointF printOffset(const PrintMargins& margins, double dpiX, double dpiY)
{
    return QPointF(
        margins.left * dpiX / kTenthsOfMillimetrePerInch, margins.top * dpiY / kTenthsOfMillimetrePerInch);
}

void printSheet(QPainter& painter, SheetLayout& layout, double dpiX, double dpiY, const PrintMargins& margins,
    const UserTextLook& look, SheetPictureCache* pictures)
{
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const QPointF offset = printOffset(margins, dpiX, dpiY);
    painter.setWorldTransform(sheetToDevice(dpiX, dpiY) * QTransform::fromTranslate(offset.x(), offset.y())
        * painter.worldTransform());
    {
        SheetPainter sheetPainter(painter, layout, look, pictures);
        sheetPainter.replay();
    }
    painter.restore();
}

} // namespace vorpane
