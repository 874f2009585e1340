#pragma once
// CNewWeaponDlgPage1: the firearm page of CNewWeaponDlg.

#include <QWidget>

class QLineEdit;
class QMenu;
class QTabWidget;
class QToolButton;

namespace vorpane {

class Investigator;

// Page 1, "Arma de fuego".
class CNewWeaponDlgPage1 final : public QWidget {
    Q_OBJECT
public:
    CNewWeaponDlgPage1(Investigator& inv, QWidget* parent = nullptr);

    QLineEdit* nameEdit() const { return m_name; }
    QLineEdit* baseEdit() const { return m_base; }
    QLineEdit* field(const char* objectName) const;
    // The ">" menu: "Fijar Base a Habilidad....." and "Multiplicar por".
    QMenu* baseMenu() const { return m_menu; }

    // Validates and adds the firearm; false (nothing added) after a message.
    bool createWeapon();
    // "Fijar Base a Habilidad.....": the skill picker; the base refers to the chosen skill.
    void pickBaseSkill();

private:
    Investigator& m_investigator;
    QLineEdit* m_name;
    QLineEdit* m_base;
    QToolButton* m_menuButton;
    QMenu* m_menu;
};

} // namespace vorpane
