#pragma once
// WeaponListDialog, "Elige armas": the rule file's weapons available to the investigator and the
// ones it owns, moved between the two lists, with the skill information window. It works directly
// on the investigator it is given; "Nueva..." opens CNewWeaponDlg.

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

} // namespace vorpane
