#pragma once
// SkillListDialog, "Habilidades": the investigator's skills with "&Añadir", "&Editar", "&Quitar"
// and the skill information window; it works directly on the investigator it is given.

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
