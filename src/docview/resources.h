#pragma once
// The program's own pictures and icons, drawn as SVG and compiled in (res/vorpane.qrc).

#include <QIcon>
#include <QPixmap>

namespace vorpane {

// An icon from ":/icons/NAME.svg"; a ".png" name finds the SVG of the same name. Null when the
// picture does not exist.
QIcon resourceIcon(const QString& path);
// The picture at `size`, or at its own size when `size` is empty; transparent outside the drawing.
QPixmap resourcePixmap(const QString& path, QSize size = {});

} // namespace vorpane
