#pragma once
// Drawing a picture file into a box, as sheets and handouts do: ".emf" files are played as
// metafiles, anything else is loaded as an Image. A fitted picture keeps its aspect ratio at the
// largest size that fits the box, centred; a stretched one fills the box. Files that cannot be
// loaded draw nothing.

#include <QRectF>
#include <string>

class QPainter;

namespace vorpane {

enum class PictureFit { Fitted, Stretched };

// Where a picture file named on a sheet or in a document is: relative names are taken relative
// to the data folders, absolute ones as they stand (Windows-1252 either way).
std::string picturePath(const std::string& fileName);

// The largest rectangle of aspect ratio `aspect` (width / height) centred in `box`. The box may
// have a negative height (surfaces whose y axis points up); the result keeps its orientation.
QRectF fitPictureRect(const QRectF& box, double aspect);

// Relative names are taken relative to the data folders. Shows the loading text in the status
// bar and the wait cursor while loading. Returns whether something was drawn.
bool drawPicture(QPainter& painter, const QRectF& box, const std::string& fileName, PictureFit fit);

} // namespace vorpane
