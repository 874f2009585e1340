#pragma once
// Drives the new-investigator wizard as a user would: a wizard over a fresh investigator of a
// rule file and era, its pages, and the small modal dialogs it opens answered in order.

#include "desktop_fixture.h"
#include "investigator/investigator.h"
#include "wizard/new_investigator_wizard.h"
#include "wizard/wizard_pages.h"

#include <QTimer>
#include <deque>
#include <functional>
#include <memory>

namespace vorpane::test {

// Answers the modal dialogs that open above a window, one handler each, in order.
class ModalAnswers {
public:
    using Handler = std::function<void(QDialog*)>;

    explicit ModalAnswers(QWidget* below);
    void add(Handler handler) { m_handlers.push_back(std::move(handler)); }
    // Dialogs answered so far, by object name.
    const QStringList& seen() const { return m_seen; }
    int pending() const { return int(m_handlers.size()); }

private:
    void poll();

    QWidget* m_below;
    QTimer m_timer;
    std::deque<Handler> m_handlers;
    QStringList m_seen;
    int m_unanswered = 0; // polls that found a dialog without a handler
};

class WizardDriver {
public:
    // A new investigator of the rule file and era, FullWiz as given, the wizard shown above parent.
    explicit WizardDriver(int era = kEraIndex1920s, bool fullWizard = true,
        const char* ruleFile = "default.rul", QWidget* parent = nullptr);
    ~WizardDriver();

    DesktopFixture fixture;
    Investigator inv;
    std::unique_ptr<CWizard_NewInvestigator> wizard;
    std::unique_ptr<ModalAnswers> answers;

    int page() const { return wizard->currentIndex(); }
    CWizard_NewInvestigatorPage1& page1() const;
    CWizard_NewInvestigatorPage2& page2() const;
    CWizard_NewInvestigatorPage3& page3() const;
    SkillPointsPage& skillPage(int index) const;
    CWizard_NewInvestigatorPage6& page6() const;

    void next();
    void back();

    // Page 1: the eight values (FUE CON POD DES APA TAM INT EDU), typed; then the age field.
    void setCharacteristics(const RolledCharacteristics& values);
    void setAge(int age);
    // Page 2: picks the occupation (no optional skills expected unless answered).
    void chooseOccupation(const QString& name);
    // From page 1 to page 4 with the occupation, no age effects and no weapons.
    void goToOccupationSkills(const QString& occupation);

    // Answers the next age dialog with that characteristic ("APA", "CON", "DES", "FUE"), or
    // cancels it with an empty name.
    void answerAge(const QString& which);
    // The texts of the message boxes so far, joined by line feeds.
    QString boxTexts() const;
};

} // namespace vorpane::test
