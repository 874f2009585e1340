#include "wizard/page_occupation.h"

#include "investigator/investigator.h"
#include "investigator/occupation_setup.h"
#include "investigator/rule_scripts.h"
#include "platform/cp1252.h"
#include "platform/profile.h"
#include "platform/random.h"
#include "platform/ui_services.h"
#include "rules/rule_set_cache.h"
#include "wizard/investigator_info_window.h"
#include "wizard/new_investigator_wizard.h"
#include "wizard/optional_skills_dialog.h"

#include <QCheckBox>
#include <QCollator>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

namespace vorpane {

namespace {

constexpr const char* kNoOccupations = "Rule File Error: No Occupations!";

// The occupation's skills as a player reads them.
QString describeSkills(const OccupationDef& occupation)
{
    QStringList items;
    for (const std::string& item : occupation.skills) {
        if (item == "*") {
            items << CWizard_NewInvestigatorPage2::tr("una a elegir");
            continue;
        }
        const QString name = fromCp1252(itemSkillName(item));
        const QString note = fromCp1252(itemNote(item));
        items << (note.isEmpty() ? name : QStringLiteral("%1 (%2)").arg(name, note));
    }
    if (occupation.subsetCount > 0 && !occupation.subsetSkills.empty()) {
        QStringList subset;
        for (const std::string& item : occupation.subsetSkills)
            subset << fromCp1252(itemSkillName(item));
        items << CWizard_NewInvestigatorPage2::tr("%1 de: %2")
                     .arg(occupation.subsetCount)
                     .arg(subset.join(", "));
    }
    return items.join(QStringLiteral(", ")) + QLatin1Char('.');
}

} // namespace

CWizard_NewInvestigatorPage2::CWizard_NewInvestigatorPage2(CWizard_NewInvestigator& wizard)
    : WizardPage(wizard, tr("Profesión"))
    , m_combo(new QComboBox(this))
    , m_statMods(new QCheckBox(tr("&Aplicar modificaciones a la características"), this))
    , m_skills(new QLabel(this))
{
    setObjectName(QStringLiteral("CWizard_NewInvestigatorPage2"));
    m_combo->setObjectName(QStringLiteral("Occupation"));
    m_combo->setMaxVisibleItems(20);
    m_statMods->setObjectName(QStringLiteral("UseStatMods"));
    m_statMods->setChecked(Profile::read(profile_keys::kUseStatMods) != 0);
    connect(m_statMods, &QCheckBox::toggled, this,
        [](bool on) { Profile::write(profile_keys::kUseStatMods, on ? 1 : 0); });
    m_skills->setObjectName(QStringLiteral("OccupationSkills"));
    m_skills->setWordWrap(true);
    m_skills->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* intro = new QLabel(tr("Elige la profesión de tu investigador. Sus habilidades recibirán los puntos "
                                "de profesión."),
        this);
    intro->setWordWrap(true);
    auto* label = new QLabel(tr("P&rofesión:"), this);
    label->setBuddy(m_combo);
    auto* skillsTitle = new QLabel(tr("Habilidades de la profesión:"), this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 8, 0, 0);
    layout->addWidget(intro);
    layout->addSpacing(8);
    layout->addWidget(label);
    layout->addWidget(m_combo);
    layout->addSpacing(8);
    layout->addWidget(skillsTitle);
    layout->addWidget(m_skills);
    layout->addStretch(1);
    layout->addWidget(m_statMods);
    connect(m_combo, &QComboBox::currentIndexChanged, this, &CWizard_NewInvestigatorPage2::occupationChanged);
}

CWizard_NewInvestigatorPage2::~CWizard_NewInvestigatorPage2() = default;

void CWizard_NewInvestigatorPage2::initialise()
{
    const Investigator& inv = investigator();
    m_rules = RuleSetCache::instance().ensureLoaded(ruleFileOrDefault(inv.RuleFile));
    QStringList names;
    if (m_rules) {
        for (const OccupationDef& occupation : m_rules->occupations()) {
            // An occupation of another era is not offered.
            if (occupation.availableInEra(inv.Era))
                names << fromCp1252(occupation.displayName());
        }
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(names.begin(), names.end(), collator);
    names.removeDuplicates();
    const QSignalBlocker blocker(m_combo);
    m_combo->addItems(names);
    if (names.isEmpty()) {
        showMessage(kNoOccupations, {}, MsgIcon::Warning);
        m_statMods->setEnabled(false);
        return;
    }
    m_combo->setCurrentIndex(nextRandom() % names.size());
    occupationChanged();
}

void CWizard_NewInvestigatorPage2::occupationChanged()
{
    const std::string name = toCp1252(m_combo->currentText());
    m_statMods->setEnabled(m_rules && m_rules->hasModifierScript(name));
    const OccupationDef* occupation = m_rules ? m_rules->findOccupation(name) : nullptr;
    m_skills->setText(occupation ? describeSkills(*occupation) : QString());
}

void CWizard_NewInvestigatorPage2::activate()
{
    wizard().setWizardButtons(CWizard_NewInvestigator::BackButton | CWizard_NewInvestigator::NextButton);
}

int CWizard_NewInvestigatorPage2::next()
{
    const std::string name = toCp1252(m_combo->currentText());
    Investigator& inv = investigator();
    if (name.empty() || !setUpOccupationSkills(inv, name, OptionalSkillsDialog::chooser(this)))
        return -1;
    inv.Occupation = name;
    if (m_statMods->isChecked() && m_rules && m_rules->hasModifierScript(name)) {
        if (!continueAfterModifierScript(runModifierScript(inv, name)))
            return -1;
    }
    wizard().infoWindow().refresh();
    return CWizard_NewInvestigator::Weapons;
}

} // namespace vorpane
