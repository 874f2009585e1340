#pragma once
// A sheet on a printer page: the page is moved from the printable area's top-left corner by the
// print margins of profile section "Sheet", which are kept in tenths of a millimetre, and
// replayed there at the printer's resolution. A PDF export paints the same page the same way.

#include <QPointF>

class QPainter;

namespace vorpane {

class SheetLayout;
class SheetPictureCache;
struct UserTextLook;

struct PrintMargins {
    int left = 0; // tenths of a millimetre
    int top = 0;

    // "LeftMargin" and "TopMargin"; a negative value counts as 0.
    static PrintMargins fromProfile();
};

// The margins in device pixels of a surface with that resolution: tenths of a millimetre times
// dots per inch over 254.
QPointF printOffset(const PrintMargins& margins, double dpiX, double dpiY);

// Replays the layout on a painter whose origin is the printable area's top-left corner, in
// device pixels of the given resolution.
void printSheet(QPainter& painter, SheetLayout& layout, double dpiX, double dpiY, const PrintMargins& margins,
    const UserTextLook& look, SheetPictureCache* pictures = nullptr);

} // namespace vorpane
