#pragma once
// COptionsPage1, "Márgenes": the print margins of sheets.

#include "dialogs/millimetre_spin_box.h"

#include <QDialog>
#include <QDoubleSpinBox>
#include <QWidget>

class QCheckBox;
class QListWidget;
class QTabWidget;

namespace vorpane {

class Desk;

class COptionsPage1 final : public QWidget {
    Q_OBJECT
public:
    explicit COptionsPage1(QWidget* parent = nullptr);
    // Writes the margins in tenths of a millimetre, truncated.
    void apply();

    MillimetreSpinBox* leftMargin() const { return m_left; }
    MillimetreSpinBox* topMargin() const { return m_top; }

private:
    MillimetreSpinBox* m_left;
    MillimetreSpinBox* m_top;
};

} // namespace vorpane
