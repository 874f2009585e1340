#include "wizard/page_characteristics.h"

#include "docview/desk.h"
#include "investigator/derived_values.h"
#include "investigator/investigator.h"
#include "investigator/occupation_setup.h"
#include "investigator/rule_scripts.h"
#include "platform/cp1252.h"
#include "platform/profile.h"
#include "platform/ui_services.h"
#include "rules/dice_expression.h"
#include "wizard/age_dialog.h"
#include "wizard/drag_swap_edit.h"
#include "wizard/investigator_info_window.h"
#include "wizard/new_investigator_wizard.h"
#include "wizard/wizard_icons.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace vorpane {

namespace {

constexpr const char* kHintKey = "WizDragSwap";
constexpr const char* kHintText
    = "Puedes moverte entre las ventanas de la página para cambiar los valores de las tiradas. ";
constexpr const char* kTooWeak = "Aviso: ¡Has elegido un personaje tan débil, que si los efectos por la edad "
                                 "se aplicaran, la APA, la DES, "
                                 "la CON y la FUE, serían cero o menos!    \n\nLos efectos de la edad no se "
                                 "tendrán en cuenta, ¡pero tómate "
                                 "a tu personaje más seriamente!";
constexpr const char* kNoSkills = "Warning: Failed to add skills to investigator!";
constexpr const char* kShortModeOccupation = "Investigator";

struct FieldRow {
    const char* label;
    const char* name;
};
constexpr FieldRow kFieldRows[CWizard_NewInvestigatorPage1::FieldCount] = {
    { "&FUE", "FUE" },
    { "&CON", "CON" },
    { "&POD", "POD" },
    { "DE&S", "DES" },
    { "AP&A", "APA" },
    { "TA&M", "TAM" },
    { "&INT", "INT" },
    { "&EDU", "EDU" },
};

// Draws the outline of the group a dragged value belongs to, above the page's controls.
class DragOutline final : public QWidget {
public:
    explicit DragOutline(QWidget* page)
        : QWidget(page)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        hide();
    }

    void showOutline(const QRect& rect)
    {
        m_rect = rect;
        setGeometry(parentWidget()->rect());
        raise();
        setVisible(!rect.isEmpty());
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        QPen pen(palette().color(QPalette::Highlight), 2, Qt::DashLine);
        painter.setPen(pen);
        painter.drawRect(m_rect.adjusted(1, 1, -1, -1));
    }

private:
    QRect m_rect;
};

} // namespace

// --- The age field -------------------------------------------------------------------------------

void AgeSpinBox::stepBy(int steps)
{
    QSpinBox::stepBy(steps);
    emit stepped();
}

void AgeSpinBox::focusOutEvent(QFocusEvent* event)
{
    emit leaving();
    QSpinBox::focusOutEvent(event);
}

// --- The page ------------------------------------------------------------------------------------

CWizard_NewInvestigatorPage1::CWizard_NewInvestigatorPage1(CWizard_NewInvestigator& wizard)
    : WizardPage(wizard, tr("Tiradas base"))
{
    setObjectName(QStringLiteral("CWizard_NewInvestigatorPage1"));
    buildForm();
    m_canEdit->setChecked(Profile::read(profile_keys::kCanEditRolls) != 0);
    connect(m_canEdit, &QCheckBox::toggled, this, &CWizard_NewInvestigatorPage1::setCanEdit);
}

void CWizard_NewInvestigatorPage1::buildForm()
{
    auto* left = new QGroupBox(tr("3D6"), this);
    auto* right = new QGroupBox(tr("2D6+6"), this);
    auto* education = new QGroupBox(tr("Educación y edad"), this);
    left->setObjectName(QStringLiteral("LeftGroup"));
    right->setObjectName(QStringLiteral("RightGroup"));
    auto* leftForm = new QFormLayout(left);
    auto* rightForm = new QFormLayout(right);
    auto* educationForm = new QFormLayout(education);
    const int fieldWidth = fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 16;

    for (int i = 0; i < FieldCount; ++i) {
        const auto which = Field(i);
        QWidget* group = which <= APA ? left : which <= INT ? right : nullptr;
        auto* edit = new DragSwapEdit(this, group, this);
        edit->setObjectName(QString::fromLatin1(kFieldRows[i].name));
        edit->setFixedWidth(fieldWidth);
        edit->setAlignment(Qt::AlignRight);
        edit->setMaxLength(6);
        m_fields[size_t(i)] = edit;
        connect(edit, &QLineEdit::textChanged, this, [this, which] { fieldChanged(which); });
        connect(edit, &DragSwapEdit::dragStarted, this,
            [this](const QRect& outline) { static_cast<DragOutline*>(m_outline)->showOutline(outline); });
        connect(edit, &DragSwapEdit::dragEnded, this,
            [this] { static_cast<DragOutline*>(m_outline)->showOutline({}); });
    }
    // The form shows them in the sheet's order, not in roll order.
    for (Field which : { FUE, CON, DES, APA, POD })
        leftForm->addRow(tr(kFieldRows[which].label), m_fields[which]);
    for (Field which : { TAM, INT })
        rightForm->addRow(tr(kFieldRows[which].label), m_fields[which]);

    m_age = new AgeSpinBox(this);
    m_age->setObjectName(QStringLiteral("Age"));
    m_age->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    m_age->setFixedWidth(fieldWidth + 24);
    m_age->setAlignment(Qt::AlignRight);
    connect(m_age, &AgeSpinBox::stepped, this, &CWizard_NewInvestigatorPage1::ageStepped);
    connect(m_age, &AgeSpinBox::leaving, this, &CWizard_NewInvestigatorPage1::ageLeft);
    m_extraStudies = new QCheckBox(tr("Estudios extras"), this);
    m_extraStudies->setObjectName(QStringLiteral("ExtraStudies"));
    educationForm->addRow(tr(kFieldRows[EDU].label), m_fields[EDU]);
    educationForm->addRow(tr("&Edad:"), m_age);
    educationForm->addRow(m_extraStudies);

    auto* derived = new QGroupBox(tr("Valores derivados"), this);
    auto* derivedGrid = new QGridLayout(derived);
    const std::pair<const char*, const char*> derivedRows[] = {
        { "Idea", "Idea" },
        { "Conoc.", "Conoc." },
        { "Suerte", "Suerte" },
        { "PV", "PV" },
        { "COR", "COR" },
        { "BD", "BD" },
        { "Habil", "Ptos habil. :" },
        { "Interes", "Ptos interés:" },
    };
    int row = 0;
    for (const auto& [name, label] : derivedRows) {
        auto* value = new QLabel(this);
        value->setObjectName(QString::fromLatin1(name) + QStringLiteral("Value"));
        value->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("+9D6")));
        m_derived.insert(QString::fromLatin1(name), value);
        const int column = row < 4 ? 0 : 3;
        derivedGrid->addWidget(new QLabel(tr(label), this), row % 4, column);
        derivedGrid->addWidget(value, row % 4, column + 1);
        ++row;
    }
    derivedGrid->setColumnMinimumWidth(2, 24);
    derivedGrid->setColumnStretch(5, 1);
    m_derived.value(QStringLiteral("BD"))->setText(QStringLiteral("nada"));

    m_canEdit = new QCheckBox(tr("E&ditar tiradas"), this);
    m_canEdit->setObjectName(QStringLiteral("CanEdit"));
    m_reroll = new QToolButton(this);
    m_reroll->setObjectName(QStringLiteral("Reroll"));
    m_reroll->setText(tr("&Reroll"));
    m_reroll->setIcon(diceIcon());
    m_reroll->setIconSize(QSize(24, 24));
    m_reroll->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_reroll->setToolTip(tr("Tirar de nuevo todas las características"));
    connect(m_reroll, &QToolButton::clicked, this, &CWizard_NewInvestigatorPage1::roll);

    auto* hint = new QLabel(tr("Arrastra un valor sobre otro para intercambiarlos."), this);
    hint->setWordWrap(true);
    hint->setEnabled(false);

    auto* columns = new QHBoxLayout;
    columns->addWidget(left);
    auto* rightColumn = new QVBoxLayout;
    rightColumn->addWidget(right);
    rightColumn->addWidget(education);
    columns->addLayout(rightColumn);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_canEdit);
    bottom->addStretch(1);
    bottom->addWidget(m_reroll);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 8, 0, 0);
    layout->addLayout(columns);
    layout->addWidget(derived);
    layout->addWidget(hint);
    layout->addStretch(1);
    layout->addLayout(bottom);

    setTabOrder(m_fields[FUE], m_fields[CON]);
    setTabOrder(m_fields[CON], m_fields[DES]);
    setTabOrder(m_fields[DES], m_fields[APA]);
    setTabOrder(m_fields[APA], m_fields[POD]);
    setTabOrder(m_fields[POD], m_fields[TAM]);
    setTabOrder(m_fields[TAM], m_fields[INT]);
    setTabOrder(m_fields[INT], m_fields[EDU]);
    setTabOrder(m_fields[EDU], m_age);
    setTabOrder(m_age, m_extraStudies);
    setTabOrder(m_extraStudies, m_canEdit);
    setTabOrder(m_canEdit, m_reroll);

    m_outline = new DragOutline(this);
}

void CWizard_NewInvestigatorPage1::initialise()
{
    m_shortMode = Profile::read(profile_keys::kFullWizard) == 0;
    setCanEdit(m_canEdit->isChecked());
    roll();
}

void CWizard_NewInvestigatorPage1::activate()
{
    wizard().setWizardButtons(CWizard_NewInvestigator::NextButton);
    setControlsEnabled(!m_committed);
    if (!m_hintShown) {
        m_hintShown = true;
        // Once the wizard is on the screen, so that the hint stands in front of it.
        QTimer::singleShot(0, this, [] { ui().quickInfo(kHintKey, cp1252(kHintText)); });
    }
}

void CWizard_NewInvestigatorPage1::roll()
{
    DiceExpression dice;
    const RolledCharacteristics values = rollCharacteristicValues(dice);
    m_baseEdu = values.EDU;
    showValues(values, minimumAge(values.EDU));
    wizard().infoWindow().setInvestigator(nullptr);
    m_committed = false;
    refreshDerived();
    setControlsEnabled(true);
}

void CWizard_NewInvestigatorPage1::showValues(const RolledCharacteristics& values, int age)
{
    const int numbers[FieldCount]
        = { values.FUE, values.CON, values.POD, values.DES, values.APA, values.TAM, values.INT, values.EDU };
    m_writing = true;
    for (int i = 0; i < FieldCount; ++i)
        m_fields[size_t(i)]->setText(QString::number(numbers[i]));
    setAgeRange();
    m_age->setValue(age);
    m_writing = false;
}

int CWizard_NewInvestigatorPage1::fieldValue(Field which) const { return m_fields[which]->text().toInt(); }

QString CWizard_NewInvestigatorPage1::derivedText(const QString& name) const
{
    const QLabel* label = m_derived.value(name);
    return label ? label->text() : QString();
}

void CWizard_NewInvestigatorPage1::setAgeRange()
{
    m_age->setRange(minimumAge(m_baseEdu), std::max(kMaximumAge, minimumAge(m_baseEdu)));
}

void CWizard_NewInvestigatorPage1::fieldChanged(Field which)
{
    if (m_fields[which]->text().isEmpty())
        return;
    if (which == EDU && !m_writing) {
        // A new EDU from the user starts the age over.
        m_baseEdu = fieldValue(EDU);
        m_writing = true;
        setAgeRange();
        m_age->setValue(minimumAge(m_baseEdu));
        m_writing = false;
    }
    refreshDerived();
}

void CWizard_NewInvestigatorPage1::setEducation(int edu)
{
    m_writing = true;
    m_fields[EDU]->setText(QString::number(edu));
    m_writing = false;
}

void CWizard_NewInvestigatorPage1::ageStepped() { setEducation(educationForAge(m_baseEdu, m_age->value())); }

void CWizard_NewInvestigatorPage1::ageLeft()
{
    bool ok = false;
    const int typed = m_age->lineEdit()->text().trimmed().toInt(&ok);
    const int age = clampAge(m_baseEdu, ok ? typed : m_age->value());
    m_writing = true;
    m_age->setValue(age);
    m_age->lineEdit()->setText(QString::number(age));
    m_writing = false;
    setEducation(educationForAge(m_baseEdu, age));
}

void CWizard_NewInvestigatorPage1::refreshDerived()
{
    const long long fue = fieldValue(FUE), con = fieldValue(CON), pod = fieldValue(POD),
                    tam = fieldValue(TAM), intelligence = fieldValue(INT), edu = fieldValue(EDU);
    const auto set = [this](const char* name, long long value) {
        m_derived.value(QString::fromLatin1(name))->setText(QString::number(value));
    };
    set("Idea", intelligence * 5);
    set("Conoc.", edu * 5);
    set("Suerte", pod * 5);
    set("PV", (con + tam + 1) / 2);
    set("COR", pod * 5);
    m_derived.value(QStringLiteral("BD"))->setText(fromCp1252(damageBonus(int(fue), int(tam))));
    set("Habil", edu * 20);
    set("Interes", intelligence * 10);
}

void CWizard_NewInvestigatorPage1::setControlsEnabled(bool enabled)
{
    for (DragSwapEdit* edit : m_fields)
        edit->setEnabled(enabled);
    for (QWidget* w : std::initializer_list<QWidget*> { m_age, m_extraStudies, m_canEdit, m_reroll })
        w->setEnabled(enabled);
}

void CWizard_NewInvestigatorPage1::setCanEdit(bool canEdit)
{
    Profile::write(profile_keys::kCanEditRolls, canEdit ? 1 : 0);
    for (DragSwapEdit* edit : m_fields)
        edit->setReadOnly(!canEdit);
    if (canEdit && isVisible()) {
        m_fields[FUE]->setFocus(Qt::OtherFocusReason);
        m_fields[FUE]->selectAll();
    }
}

bool CWizard_NewInvestigatorPage1::readValues(RolledCharacteristics& values)
{
    int* targets[FieldCount] = { &values.FUE, &values.CON, &values.POD, &values.DES, &values.APA, &values.TAM,
        &values.INT, &values.EDU };
    // In the order a user reads the page.
    for (Field which : { FUE, CON, DES, APA, POD, TAM, INT, EDU }) {
        bool ok = false;
        const int value = m_fields[which]->text().trimmed().toInt(&ok);
        if (!ok || value < kMinCharacteristic || value > kMaxCharacteristic) {
            showMessage(toCp1252(tr("Introduzca un número entero entre %1 y %2.")
                                     .arg(kMinCharacteristic)
                                     .arg(kMaxCharacteristic)));
            m_fields[which]->setFocus(Qt::OtherFocusReason);
            m_fields[which]->selectAll();
            return false;
        }
        *targets[which] = value;
    }
    return true;
}

bool CWizard_NewInvestigatorPage1::applyAge(RolledCharacteristics& values, int effectiveAge)
{
    const int points = agePointsToLose(effectiveAge);
    if (points <= 0)
        return true;
    if (tooWeakForAge(values, points)) {
        showMessage(cp1252(kTooWeak), {}, MsgIcon::Warning);
        return true;
    }
    RolledCharacteristics lowered = values;
    for (int point = 0; point < points;) {
        const std::array<int, kAgeCharacteristicCount> now
            = { lowered.APA, lowered.CON, lowered.DES, lowered.FUE };
        const std::optional<AgeCharacteristic> choice = AgeDialog::ask(now, point + 1, points, this);
        if (!choice)
            return false;
        int& value = ageCharacteristic(lowered, *choice);
        const AgePointCheck check = checkAgePoint(value);
        if (check == AgePointCheck::Refused) {
            showMessage(agePointMessage(*choice, check), {}, MsgIcon::Warning);
            continue;
        }
        if (check == AgePointCheck::NowZero)
            showMessage(agePointMessage(*choice, check), {}, MsgIcon::Information);
        --value;
        ++point;
    }
    values = lowered;
    return true;
}

bool CWizard_NewInvestigatorPage1::commit()
{
    // Enter may press Next while the age field still has the focus.
    ageLeft();
    RolledCharacteristics values;
    if (!readValues(values))
        return false;
    const int age = m_age->value();
    const bool extraStudies = m_extraStudies->isChecked();
    if (!applyAge(values, extraStudies ? age + 1 : age))
        return false;

    Investigator& inv = investigator();
    DiceExpression dice;
    commitCharacteristics(inv, values, age, extraStudies, dice);
    wizard().setSkillPointsLeft(inv.SkillPoints);
    wizard().setInterestPointsLeft(inv.InterestPoints);
    if (Desk* desk = wizard().desk()) {
        desk->setPaneText(Desk::Pane::SkillPoints,
            QStringLiteral("Skill: %1 Hobby: %2").arg(inv.SkillPoints).arg(inv.InterestPoints));
        desk->setPaneText(Desk::Pane::Points, {});
    }
    runIncomeScript(inv);

    values.EDU = inv.EDU;
    showValues(values, inv.Age);
    refreshDerived();
    if (m_shortMode) {
        if (!setUpOccupationSkills(inv, {}, {}))
            showMessage(kNoSkills, {}, MsgIcon::Warning);
        inv.Occupation = kShortModeOccupation;
    }
    m_committed = true;
    return true;
}

int CWizard_NewInvestigatorPage1::next()
{
    if (!m_committed && !commit())
        return -1;
    wizard().infoWindow().setInvestigator(&investigator());
    return m_shortMode ? CWizard_NewInvestigator::PersonalDetails : CWizard_NewInvestigator::Occupation;
}

} // namespace vorpane
