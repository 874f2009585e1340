#pragma once
// The image file dialog of portraits and picture fields: an open-file dialog over the picture
// formats the program reads, starting at the current path or in the user's documents folder.

#include <QString>

class QWidget;

namespace vorpane {

// The Qt form of the image filter ("Image Files (*.bmp *.gif ...);;...").
QString imageFileFilter();

// The chosen file's full path, or an empty text for Cancel. current: the path shown at first.
QString chooseImageFile(QWidget* parent, const QString& current);

} // namespace vorpane
