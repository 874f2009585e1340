#pragma once
// WizardPage: one page of the new-investigator wizard. The wizard initialises a page the first
// time it shows it, activates it every time, and asks it where Next leads.

#include <QWidget>

namespace vorpane {

class CWizard_NewInvestigator;
class Investigator;

class WizardPage : public QWidget {
    Q_OBJECT
public:
    WizardPage(CWizard_NewInvestigator& wizard, const QString& title);

    const QString& title() const { return m_title; }

    // First display.
    virtual void initialise() { }
    // Every display: sets the wizard buttons.
    virtual void activate() = 0;
    // Next pressed: the page to show, or -1 to stay.
    virtual int next();
    // Back pressed, or the wizard closing: the page keeps what the user gave it so far.
    virtual void leave() { }
    // Finish pressed (last page only): true to end the wizard.
    virtual bool finish() { return false; }

protected:
    CWizard_NewInvestigator& wizard() const { return m_wizard; }
    Investigator& investigator() const;
    int index() const;

private:
    CWizard_NewInvestigator& m_wizard;
    QString m_title;
};

} // namespace vorpane
