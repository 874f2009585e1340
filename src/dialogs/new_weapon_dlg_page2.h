#pragma once
// CNewWeaponDlgPage2: the melee page of CNewWeaponDlg.

#include <QWidget>

class QLineEdit;
class QMenu;
class QTabWidget;
class QToolButton;

namespace vorpane {

class Investigator;

// Page 2, "Melee Weapon".
class CNewWeaponDlgPage2 final : public QWidget {
    Q_OBJECT
public:
    CNewWeaponDlgPage2(Investigator& inv, QWidget* parent = nullptr);

    QLineEdit* nameEdit() const { return m_name; }
    QLineEdit* baseEdit() const { return m_base; }
    QLineEdit* field(const char* objectName) const;

    bool createWeapon();

private:
    Investigator& m_investigator;
    QLineEdit* m_name;
    QLineEdit* m_base;
};

} // namespace vorpane
