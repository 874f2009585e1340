#pragma once
// The dialogs that manage an investigator's weapons after creation:
//  - WeaponListDialog, "Elige armas": the rule file's weapons available to the investigator and
//    the ones it owns, moved between the two lists, with the skill information window;
//  - CNewWeaponDlg, "Nueva arma": a firearm or melee weapon the rule file does not have, one page
//    each; OK creates the weapon of the page in front.
// Both work directly on the investigator they are given.

#include <QDialog>
#include <memory>

class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace vorpane {

class Investigator;
class RuleSet;
class SkillInfoWindow;

class WeaponListDialog final : public QDialog {
    Q_OBJECT
public:
    WeaponListDialog(Investigator& inv, QWidget* parent = nullptr);
    ~WeaponListDialog() override;

    // Whether a weapon was bought, removed or created.
    bool changed() const { return m_changed; }

    QListWidget* availableList() const { return m_available; }
    QListWidget* ownedList() const { return m_owned; }
    SkillInfoWindow* infoWindow() const { return m_info; }

    void addSelected();
    void removeSelected();
    void newWeapon();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fill();
    void describe(QListWidget* list);
    void updateButtons();

    Investigator& m_investigator;
    std::shared_ptr<const RuleSet> m_rules;
    SkillInfoWindow* m_info;
    QListWidget* m_available;
    QListWidget* m_owned;
    QPushButton* m_add;
    QPushButton* m_remove;
    bool m_changed = false;
};

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
