#pragma once
// The small icons of the wizard's buttons, drawn rather than loaded so that they follow the
// screen's scale.

#include <QIcon>

namespace vorpane {

// Two dice: roll again.
QIcon diceIcon();
// A curved arrow back: undo.
QIcon undoIcon();
// A quill: the random name.
QIcon quillIcon();
// A sealed letter: the investigator is ready.
QPixmap readyPicture(int size);

} // namespace vorpane
