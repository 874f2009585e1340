#pragma once
// InvestigatorInfoWindow: the wizard's floating summary of the investigator being created (era and
// occupation, the characteristics with sanity, hit points, damage bonus and magic, the education
// roll). Shown without taking the focus; its position is remembered.

#include "widgets/floating_info_window.h"

namespace vorpane {

class Investigator;

class InvestigatorInfoWindow final : public FloatingInfoWindow {
    Q_OBJECT
public:
    explicit InvestigatorInfoWindow(QWidget* owner);

    // Null hides the window; an investigator shows it (inactive) and draws it at once.
    void setInvestigator(const Investigator* investigator);
    const Investigator* investigator() const { return m_investigator; }
    // Draws the investigator's present values at once.
    void refresh();

    // The lines as drawn, columns joined by " | " (tests).
    QStringList lines() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Investigator* m_investigator = nullptr;
};

} // namespace vorpane
