#pragma once
// CNewWeaponDlg, "Nueva arma": a firearm or melee weapon the rule file does not have, one page
// each; OK creates the weapon of the page in front, directly on the investigator it is given.

#include <QDialog>

class QLineEdit;
class QMenu;
class QTabWidget;
class QToolButton;

namespace vorpane {

class Investigator;
class CNewWeaponDlgPage1;
class CNewWeaponDlgPage2;

class CNewWeaponDlg final : public QDialog {
    Q_OBJECT
public:
    CNewWeaponDlg(Investigator& inv, QWidget* parent = nullptr);

    QTabWidget* pages() const { return m_pages; }
    CNewWeaponDlgPage1* firearmPage() const { return m_firearm; }
    CNewWeaponDlgPage2* meleePage() const { return m_melee; }

    // Only the page in front creates its weapon; the sheet stays open when it could not.
    void accept() override;
    // The name of the weapon OK created.
    const QString& createdName() const { return m_createdName; }

private:
    QTabWidget* m_pages;
    CNewWeaponDlgPage1* m_firearm;
    CNewWeaponDlgPage2* m_melee;
    QString m_createdName;
};

} // namespace vorpane
