#include "dialogs/dice_roller_dialog.h"

#include "platform/cp1252.h"
#include "platform/ui_services.h"
#include "rules/dice_expression.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace vorpane {

namespace {

// The rolls of the table, "bd" for the damage bonus of weapons that add it.
const char* const kCommonRolls[] = { "D100", "D20", "D10", "D8", "D6", "D4", "3D6", "2D6+6", "3D6+6",
    "1D3+bd", "1D4+bd", "1D6+bd", "1D8+bd", "1D10+bd" };

QPointer<DiceRollerDialog> g_roller;

bool mentionsBonus(const QString& expression)
{
    return expression.contains(QLatin1String("bd"), Qt::CaseInsensitive);
}

} // namespace

DiceRollerDialog::DiceRollerDialog(BonusSource bonus, QWidget* parent)
    : QDialog(parent)
    , m_bonus(std::move(bonus))
    , m_expression(new QComboBox(this))
    , m_result(new QLabel(this))
{
    setObjectName(QStringLiteral("DiceRollerDialog"));
    setWindowTitle(tr("Tirar dados"));

    m_expression->setObjectName(QStringLiteral("Expression"));
    m_expression->setEditable(true);
    m_expression->setInsertPolicy(QComboBox::NoInsert);
    m_expression->setMaxVisibleItems(int(std::size(kCommonRolls)));
    for (const char* roll : kCommonRolls)
        m_expression->addItem(QString::fromLatin1(roll));
    m_expression->setToolTip(tr("Dados como 3D6+6, sin precedencia: se calcula de izquierda a derecha. "
                                "bd es el bonificador de daño del investigador activo."));
    m_expression->lineEdit()->selectAll();

    m_result->setObjectName(QStringLiteral("Result"));
    QFont big = m_result->font();
    big.setPointSizeF(big.pointSizeF() * 2.5);
    big.setBold(true);
    m_result->setFont(big);
    m_result->setAlignment(Qt::AlignCenter);
    m_result->setMinimumWidth(QFontMetrics(big).horizontalAdvance(QStringLiteral("-99999")));
    m_result->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* rollButton = buttons->addButton(tr("&Tirar"), QDialogButtonBox::ActionRole);
    rollButton->setObjectName(QStringLiteral("Roll"));
    rollButton->setDefault(true);
    buttons->addButton(tr("&Cerrar"), QDialogButtonBox::RejectRole);
    connect(rollButton, &QPushButton::clicked, this, &DiceRollerDialog::roll);
    connect(buttons, &QDialogButtonBox::rejected, this, &DiceRollerDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(tr("&Dados:"), m_expression);
    auto* top = new QHBoxLayout;
    top->addLayout(form, 1);
    top->addWidget(m_result);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_expression->setMinimumContentsLength(14);
}

DiceRollerDialog* DiceRollerDialog::showRoller(QWidget* parent, BonusSource bonus)
{
    if (!g_roller)
        g_roller = new DiceRollerDialog(std::move(bonus), parent);
    else
        g_roller->m_bonus = std::move(bonus);
    g_roller->show();
    g_roller->raise();
    g_roller->activateWindow();
    g_roller->m_expression->setFocus();
    return g_roller;
}

bool DiceRollerDialog::roll()
{
    const QString typed = m_expression->currentText().trimmed();
    if (typed.isEmpty())
        return false;
    const std::string expression = toCp1252(typed);
    std::string rolled = expression;
    if (mentionsBonus(typed)) {
        const std::optional<std::string> bonus = m_bonus ? m_bonus() : std::nullopt;
        if (!bonus) {
            showMessage(toCp1252(tr("«bd» es el bonificador de daño de un investigador: abre uno para "
                                    "tirar esta expresión.")));
            return false;
        }
        rolled = expandDamageBonus(expression, *bonus);
    }
    DiceExpression dice;
    const int value = dice.evaluate(rolled);
    if (dice.failed())
        return false;

    if (m_expression->findText(typed, Qt::MatchFixedString) < 0)
        m_expression->insertItem(0, typed);
    m_result->setText(QString::number(value));
    std::string line = expression;
    if (rolled != expression)
        line += " (" + rolled + ")";
    OutputModel& output = ui().output();
    output.addLine(line + " = " + std::to_string(value));
    output.show();
    m_expression->lineEdit()->selectAll();
    return true;
}

} // namespace vorpane
