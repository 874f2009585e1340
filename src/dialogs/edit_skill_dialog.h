#pragma once
// EditSkillDialog, "Editar habilidad": a skill's name, base and listing, validated on OK.

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

} // namespace vorpane
