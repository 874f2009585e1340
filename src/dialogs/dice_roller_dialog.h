#pragma once
// DiceRollerDialog, "Tirar dados": a small window that stays open beside the sheets. A dice
// expression is typed or picked from the common ones; each roll is written to the output bar with
// its expression. "bd" stands for the damage bonus of the active investigator.

#include <QDialog>
#include <functional>
#include <optional>
#include <string>

class QComboBox;
class QLabel;

namespace vorpane {

class DiceRollerDialog final : public QDialog {
    Q_OBJECT
public:
    // The damage bonus of the investigator the user works on, or none.
    using BonusSource = std::function<std::optional<std::string>()>;

    DiceRollerDialog(BonusSource bonus, QWidget* parent = nullptr);

    // Shows the one roller of the application, making it when needed, and brings it to the front.
    static DiceRollerDialog* showRoller(QWidget* parent, BonusSource bonus);

    QComboBox* expressionBox() const { return m_expression; }
    QLabel* resultLabel() const { return m_result; }

    // Rolls the expression in the box; false when it could not be rolled (a message was shown).
    bool roll();

private:
    BonusSource m_bonus;
    QComboBox* m_expression;
    QLabel* m_result;
};

} // namespace vorpane
