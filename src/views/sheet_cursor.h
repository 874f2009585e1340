#pragma once
// The pointing hand shown over what a click acts on at once: check boxes, pictures and table
// entries.

#include <QCursor>

namespace vorpane {

// Made anew at each call; views keep one.
QCursor sheetHandCursor();

} // namespace vorpane
