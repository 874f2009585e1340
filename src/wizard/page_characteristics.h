#pragma once
// CWizard_NewInvestigatorPage1, "Tiradas base": the eight characteristic rolls (swapped by
// dragging, typed in when "E&ditar tiradas" is on), the values derived from them, age and an extra
// year of studies. The first Next applies age and education and writes everything into the
// investigator, once; coming back shows the committed values, disabled.

#include "investigator/character_creation.h"
#include "wizard/age_spin_box.h"
#include "wizard/wizard_page.h"

#include <QSpinBox>
#include <array>

class QCheckBox;
class QLabel;
class QToolButton;

namespace vorpane {

class DragSwapEdit;

class CWizard_NewInvestigatorPage1 final : public WizardPage {
    Q_OBJECT
public:
    // The fields in roll order.
    enum Field { FUE, CON, POD, DES, APA, TAM, INT, EDU, FieldCount };

    explicit CWizard_NewInvestigatorPage1(CWizard_NewInvestigator& wizard);

    void initialise() override;
    void activate() override;
    int next() override;

    // Rolls all eight again (the "&Reroll" button).
    void roll();

    DragSwapEdit* field(Field which) const { return m_fields[which]; }
    AgeSpinBox* ageField() const { return m_age; }
    QCheckBox* extraStudiesBox() const { return m_extraStudies; }
    QCheckBox* canEditBox() const { return m_canEdit; }
    QToolButton* rerollButton() const { return m_reroll; }
    bool isCommitted() const { return m_committed; }
    int baseEducation() const { return m_baseEdu; }
    // The shown text of a derived value ("Idea", "Conoc.", "Suerte", "PV", "COR", "BD", "Habil",
    // "Interes").
    QString derivedText(const QString& name) const;

private:
    void buildForm();
    void fieldChanged(Field which);
    void ageStepped();
    void ageLeft();
    void setEducation(int edu);
    void setAgeRange();
    void refreshDerived();
    void setControlsEnabled(bool enabled);
    void setCanEdit(bool canEdit);
    void showValues(const RolledCharacteristics& values, int age);
    bool commit();
    bool readValues(RolledCharacteristics& values);
    bool applyAge(RolledCharacteristics& values, int effectiveAge);
    int fieldValue(Field which) const;

    std::array<DragSwapEdit*, FieldCount> m_fields {};
    AgeSpinBox* m_age = nullptr;
    QCheckBox* m_extraStudies = nullptr;
    QCheckBox* m_canEdit = nullptr;
    QToolButton* m_reroll = nullptr;
    QWidget* m_outline = nullptr;
    QHash<QString, QLabel*> m_derived;
    int m_baseEdu = 0;
    bool m_committed = false;
    bool m_hintShown = false;
    bool m_shortMode = false;
    bool m_writing = false; // fields are being set by the page, not by the user
};

} // namespace vorpane
