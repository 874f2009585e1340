#pragma once
// CWizard_NewInvestigatorPage3, "Armas": the rule file's weapons of the era moved between the
// available list and the investigator's, with the skill information window beside them.

#include "wizard/wizard_page.h"

class QListWidget;
class QPushButton;
class QToolButton;

namespace vorpane {

class SkillInfoWindow;

class CWizard_NewInvestigatorPage3 final : public WizardPage {
    Q_OBJECT
public:
    explicit CWizard_NewInvestigatorPage3(CWizard_NewInvestigator& wizard);

    void initialise() override;
    void activate() override;
    int next() override;

    // "&Añadir" and "&Quitar" on the selected rows.
    void addSelected();
    void removeSelected();

    QListWidget* availableList() const { return m_available; }
    QListWidget* ownedList() const { return m_owned; }
    QToolButton* infoButton() const { return m_info; }
    SkillInfoWindow* infoWindow() const { return m_infoWindow; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showSelected(QListWidget* list);
    void updateButtons();

    QListWidget* m_available;
    QListWidget* m_owned;
    QPushButton* m_add;
    QPushButton* m_remove;
    QToolButton* m_info;
    SkillInfoWindow* m_infoWindow = nullptr;
};

} // namespace vorpane
