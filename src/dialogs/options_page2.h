#pragma once
// COptionsPage2, "Opciones": the fonts and colours of the output window, the user text and the
// script editor, the toolbar style, the field animation and the tip of the day.

#include <QDialog>
#include <QDoubleSpinBox>
#include <QWidget>

class QCheckBox;
class QListWidget;
class QTabWidget;

namespace vorpane {

class Desk;

class COptionsPage2 final : public QWidget {
    Q_OBJECT
public:
    explicit COptionsPage2(QWidget* parent = nullptr);
    // Writes the options; the desk, when there is one, takes the toolbar style at once.
    void apply(Desk* desk = nullptr);

    QListWidget* components() const { return m_components; }
    // "&Cambiar...": the dialog of the selected component.
    void changeSelected();

private:
    QListWidget* m_components;
    QCheckBox* m_flatToolbar;
    QCheckBox* m_animation;
    QCheckBox* m_tipOfTheDay;
};

} // namespace vorpane
