#pragma once
// The dialogs that change an investigator's skills after creation:
//  - AddSkillDialog, "Añadir habilidad": name, base formula with its ">" menu and an advanced part
//    (kind, subskill count, listing) that folds away, remembered as "AddSkillExpand";
//  - EditSkillDialog, "Editar habilidad": a skill's name, base and listing;
//  - SkillListDialog, "Habilidades": the investigator's skills with "&Añadir", "&Editar", "&Quitar"
//    and the skill information window.
// They work directly on the investigator they are given; each validates on OK and stays open on
// failure, so nothing partial reaches it.

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

class AddSkillDialog final : public QDialog {
    Q_OBJECT
public:
    AddSkillDialog(Investigator& inv, QWidget* parent = nullptr);

    // The entry OK added, or null.
    SkillEntry* addedEntry() const { return m_added; }

    bool isExpanded() const { return m_expanded; }
    // Shows or hides the advanced part and stores the state.
    void setExpanded(bool expanded);

    QLineEdit* nameEdit() const { return m_name; }
    QLineEdit* baseEdit() const { return m_base; }
    QRadioButton* specialButton() const { return m_special; }
    QSpinBox* subSkillCount() const { return m_count; }
    QCheckBox* listedBox() const { return m_listed; }
    QPushButton* expandButton() const { return m_expand; }
    // The ">" menu; its radio items are marked from the base each time it opens.
    QMenu* baseMenu() const { return m_menu; }

    void accept() override;

private:
    void markPrefix();

    Investigator& m_investigator;
    QLineEdit* m_name;
    QLineEdit* m_base;
    QToolButton* m_menuButton;
    std::vector<QWidget*> m_advancedWidgets;
    QRadioButton* m_normal;
    QRadioButton* m_special;
    QSpinBox* m_count;
    QCheckBox* m_listed;
    QPushButton* m_expand;
    QMenu* m_menu;
    std::vector<QAction*> m_prefixActions; // Nada, fixed, firearm
    bool m_expanded = false;
    SkillEntry* m_added = nullptr;
};

class EditSkillDialog final : public QDialog {
    Q_OBJECT
public:
    EditSkillDialog(Investigator& inv, SkillEntry& entry, QWidget* parent = nullptr);

    QLineEdit* nameEdit() const { return m_name; }
    QLineEdit* baseEdit() const { return m_base; }
    QCheckBox* listedBox() const { return m_listed; }

    void accept() override;

private:
    Investigator& m_investigator;
    SkillEntry& m_entry;
    QLineEdit* m_name;
    QLineEdit* m_base;
    QCheckBox* m_listed;
};

class SkillListDialog final : public QDialog {
    Q_OBJECT
public:
    SkillListDialog(Investigator& inv, QWidget* parent = nullptr);
    ~SkillListDialog() override;

    // Whether a skill was added, edited or removed.
    bool changed() const { return m_changed; }

    QListWidget* list() const { return m_list; }
    SkillInfoWindow* infoWindow() const { return m_info; }
    // The entry of the selected row, or null.
    SkillEntry* selectedEntry() const;

    void addSkill();
    void editSkill();
    void removeSkill();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fill();
    void selectionChanged();

    Investigator& m_investigator;
    SkillInfoWindow* m_info;
    QListWidget* m_list;
    QPushButton* m_edit;
    QPushButton* m_remove;
    std::vector<SkillEntry*> m_rows;
    bool m_changed = false;
};

} // namespace vorpane
