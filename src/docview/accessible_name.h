#pragma once
// The names screen readers say for controls. Qt names most controls after the label whose buddy
// they are, but never a list or a tree; those take their label's text here.

#include <QString>

class QLabel;
class QWidget;

namespace vorpane {

// A label's text as it is read: without the '&' that marks its mnemonic ("&&" stays one '&').
QString withoutMnemonic(const QString& text);

// The label becomes the control's buddy, and its text (without the mnemonic) the control's name.
void nameAfterLabel(QWidget* control, QLabel* label);

} // namespace vorpane
