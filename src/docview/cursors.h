#pragma once
// The program's own cursors.

#include <QCursor>

namespace vorpane {

// The hand over links and clickable sheet fields.
const QCursor& pointingHandCursor();

} // namespace vorpane
