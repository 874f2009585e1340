#pragma once
// What the skill and weapon dialogs share: the base formula's "Multiplicar por" submenu and the
// "&Info" toggle of the skill information window.

#include <QDialog>
#include <functional>
#include <vector>

class QCheckBox;
class QFrame;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QToolButton;

namespace vorpane {

class Investigator;
class SkillInfoWindow;
struct SkillEntry;

// The "Multiplicar por" submenu of the base-formula menus: fourteen characteristics, each calling
// pick with the name a base formula uses ("APA", "SUER", "MAGIA"...).
QMenu* addMultiplierMenu(QMenu* menu, const std::function<void(const char*)>& pick);

// The "&Info" toggle of the dialogs that own a skill information window.
QToolButton* makeInfoToggle(QWidget* parent, SkillInfoWindow* info);

} // namespace vorpane
