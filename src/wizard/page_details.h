#pragma once
// CWizard_NewInvestigatorPage6, "Detalles personales": name (with a random one a click away), sex,
// occupation, colleges, birthplace, mental disorders (with suggestions from the rule file's options
// list) and the portrait's path.

#include "wizard/wizard_page.h"

#include <memory>

class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace vorpane {

class ListFile;
class NameGenerator;

class CWizard_NewInvestigatorPage6 final : public WizardPage {
    Q_OBJECT
public:
    explicit CWizard_NewInvestigatorPage6(CWizard_NewInvestigator& wizard);
    ~CWizard_NewInvestigatorPage6() override;

    void initialise() override;
    void activate() override;
    int next() override;
    // Back keeps what was typed, so coming forward again shows it.
    void leave() override;

    // "...": a new random name and its sex.
    void randomName();
    // "&Examinar...": the image file dialog.
    void browsePortrait();

    QLineEdit* nameEdit() const { return m_name; }
    QLineEdit* sexEdit() const { return m_sex; }
    QLineEdit* occupationEdit() const { return m_occupation; }
    QComboBox* collegesCombo() const { return m_colleges; }
    QComboBox* birthplaceCombo() const { return m_birthplace; }
    QComboBox* disordersCombo() const { return m_disorders; }
    QLineEdit* portraitEdit() const { return m_portrait; }
    QPushButton* clearPortraitButton() const { return m_clearPortrait; }
    QToolButton* randomNameButton() const { return m_random; }

private:
    std::unique_ptr<NameGenerator> m_names;
    std::unique_ptr<ListFile> m_options;
    QLineEdit* m_name;
    QToolButton* m_random;
    QLineEdit* m_sex;
    QLineEdit* m_occupation;
    QComboBox* m_colleges;
    QComboBox* m_birthplace;
    QComboBox* m_disorders;
    QPushButton* m_browse;
    QPushButton* m_clearPortrait;
    QLineEdit* m_portrait;
};

} // namespace vorpane
