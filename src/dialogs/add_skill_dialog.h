#pragma once
// AddSkillDialog, "Añadir habilidad": name, base formula with its ">" menu and an advanced part
// (kind, subskill count, listing) that folds away, remembered as "AddSkillExpand". It works
// directly on the investigator it is given, validates on OK and stays open on failure.

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

} // namespace vorpane
