#pragma once
// OptionalSkillsDialog, "Habilidades opcionales": "Selecciona N de las siguientes habilidades:"
// with a list in which several rows can be selected. OK checks the count (at most N; none only
// after a question) and keeps the dialog open otherwise.

#include "investigator/occupation_setup.h"

#include <QDialog>

class QListWidget;

namespace vorpane {

class OptionalSkillsDialog final : public QDialog {
    Q_OBJECT
public:
    OptionalSkillsDialog(int count, const std::vector<OptionalSkill>& offered, QWidget* parent = nullptr);

    // The chosen rows' indexes into the offered skills, in list order.
    std::vector<size_t> chosen() const;
    QListWidget* list() const { return m_list; }

    void accept() override;

    // The chooser the occupation setup calls.
    static OptionalSkillChooser chooser(QWidget* parent);

private:
    int m_count;
    QListWidget* m_list;
};

} // namespace vorpane
