#pragma once
// SkillPickerDialog, "Elige habilidad": a list of an investigator's skills ("name<TAB>value%"),
// a prompt line, OK and Cancelar.
//
//   Occupation mode (the wizard's free choice): offers the skills that are not occupational yet;
//   OK marks the chosen one occupational, with the subskills of a special skill.
//   Plain mode (a weapon's base): offers every skill and named subskill; changes nothing.
//
//   SkillEntry* chosen = SkillPickerDialog::pick(inv, SkillPickerMode::Plain, prompt, this);

#include "investigator/skill_choice.h"

#include <QDialog>
#include <vector>

class QListWidget;

namespace vorpane {

class Investigator;
struct SkillEntry;

class SkillPickerDialog final : public QDialog {
    Q_OBJECT
public:
    SkillPickerDialog(
        Investigator& inv, SkillPickerMode mode, const QString& prompt, QWidget* parent = nullptr);

    // Runs the dialog; the chosen entry after OK, null after Cancel or with nothing chosen.
    static SkillEntry* pick(Investigator& inv, SkillPickerMode mode, const QString& prompt, QWidget* parent);

    // The entry of the selected row, or null.
    SkillEntry* selectedEntry() const;
    QListWidget* list() const { return m_list; }

    void accept() override;

private:
    Investigator& m_investigator;
    SkillPickerMode m_mode;
    QListWidget* m_list;
    std::vector<SkillEntry*> m_entries;
};

} // namespace vorpane
