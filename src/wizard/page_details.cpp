#include "wizard/page_details.h"

#include "docview/accessible_name.h"
#include "investigator/character_creation.h"
#include "investigator/investigator.h"
#include "platform/cp1252.h"
#include "platform/ui_services.h"
#include "rules/list_file.h"
#include "rules/name_generator.h"
#include "rules/rule_set_cache.h"
#include "widgets/image_file_dialog.h"
#include "wizard/new_investigator_wizard.h"
#include "wizard/wizard_icons.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace vorpane {

namespace {

constexpr const char* kOptionsKey = "Options";
constexpr int kOptionSlots = 3;
constexpr const char* kSexJoke = "\"%s\" for sex - you couldn't resist it, could you?\n\n:-)";

QComboBox* suggestionCombo(QWidget* parent, const char* name)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMaxVisibleItems(16);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(24);
    return combo;
}

void fill(QComboBox* combo, ListFile& options, const char* section)
{
    combo->clear();
    if (const ListFile::Entries entries = options.section(section)) {
        for (const std::string& entry : *entries)
            combo->addItem(fromCp1252(entry));
    }
}

} // namespace

CWizard_NewInvestigatorPage6::CWizard_NewInvestigatorPage6(CWizard_NewInvestigator& wizard)
    : WizardPage(wizard, tr("Detalles personales"))
    , m_name(new QLineEdit(this))
    , m_random(new QToolButton(this))
    , m_sex(new QLineEdit(this))
    , m_occupation(new QLineEdit(this))
    , m_colleges(suggestionCombo(this, "Colleges"))
    , m_birthplace(suggestionCombo(this, "Birthplace"))
    , m_disorders(suggestionCombo(this, "MentalDisorders"))
    , m_browse(new QPushButton(tr("&Examinar..."), this))
    , m_clearPortrait(new QPushButton(tr("&Quitar"), this))
    , m_portrait(new QLineEdit(this))
{
    setObjectName(QStringLiteral("CWizard_NewInvestigatorPage6"));
    m_name->setObjectName(QStringLiteral("Name"));
    m_sex->setObjectName(QStringLiteral("Sex"));
    m_occupation->setObjectName(QStringLiteral("Occupation"));
    m_portrait->setObjectName(QStringLiteral("Portrait"));
    m_portrait->setReadOnly(true);
    m_browse->setObjectName(QStringLiteral("Browse"));
    m_clearPortrait->setObjectName(QStringLiteral("ClearPortrait"));
    m_clearPortrait->setToolTip(tr("Sin fotografía"));
    m_clearPortrait->setEnabled(false);
    m_random->setObjectName(QStringLiteral("RandomName"));
    m_random->setText(QStringLiteral("..."));
    m_random->setIcon(quillIcon());
    m_random->setToolTip(tr("Nombre al azar"));
    m_sex->setMaximumWidth(fontMetrics().averageCharWidth() * 16);

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(m_name, 1);
    nameRow->addWidget(m_random);
    auto* portraitColumn = new QVBoxLayout;
    auto* browseRow = new QHBoxLayout;
    browseRow->addWidget(m_browse);
    browseRow->addWidget(m_clearPortrait);
    browseRow->addStretch(1);
    portraitColumn->addLayout(browseRow);
    portraitColumn->addWidget(m_portrait);

    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    auto* nameLabel = new QLabel(tr("&Nombre:"), this);
    nameLabel->setBuddy(m_name);
    form->addRow(nameLabel, nameRow);
    form->addRow(tr("&Sexo:"), m_sex);
    form->addRow(tr("&Profesión:"), m_occupation);
    form->addRow(tr("&Colegios, Títulos:"), m_colleges);
    form->addRow(tr("&Lugar de nacimiento:"), m_birthplace);
    form->addRow(tr("&Desordenes mentales:"), m_disorders);
    auto* portraitLabel = new QLabel(tr("Fotografía:"), this);
    portraitLabel->setBuddy(m_browse);
    // The picture's path beside the button speaks under the same label.
    m_portrait->setAccessibleName(withoutMnemonic(portraitLabel->text()));
    form->addRow(portraitLabel, portraitColumn);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 8, 0, 0);
    layout->addLayout(form);
    layout->addStretch(1);

    setTabOrder(m_name, m_random);
    setTabOrder(m_random, m_sex);
    setTabOrder(m_sex, m_occupation);
    setTabOrder(m_occupation, m_colleges);
    setTabOrder(m_colleges, m_birthplace);
    setTabOrder(m_birthplace, m_disorders);
    setTabOrder(m_disorders, m_browse);
    setTabOrder(m_browse, m_clearPortrait);
    setTabOrder(m_clearPortrait, m_portrait);

    connect(m_random, &QToolButton::clicked, this, &CWizard_NewInvestigatorPage6::randomName);
    connect(m_browse, &QPushButton::clicked, this, &CWizard_NewInvestigatorPage6::browsePortrait);
    connect(m_clearPortrait, &QPushButton::clicked, m_portrait, &QLineEdit::clear);
    connect(m_portrait, &QLineEdit::textChanged, this,
        [this](const QString& text) { m_clearPortrait->setEnabled(!text.isEmpty()); });
}

CWizard_NewInvestigatorPage6::~CWizard_NewInvestigatorPage6() = default;

void CWizard_NewInvestigatorPage6::initialise()
{
    if (!m_names)
        m_names = std::make_unique<NameGenerator>();
    const std::string ruleFile = ruleFileOrDefault(investigator().RuleFile);
    std::string options = RuleSetCache::instance().keyValue(ruleFile, kOptionsKey, ListFile::kFallbackFile);
    if (options.empty())
        options = ListFile::kFallbackFile;
    m_options = std::make_unique<ListFile>(options, kOptionSlots);
    fill(m_birthplace, *m_options, "Birthplace");
    fill(m_disorders, *m_options, "Phobias");
    fill(m_colleges, *m_options, "CollegesDegrees");
}

void CWizard_NewInvestigatorPage6::activate()
{
    wizard().setWizardButtons(CWizard_NewInvestigator::BackButton | CWizard_NewInvestigator::NextButton);
    const Investigator& inv = investigator();
    m_name->setText(fromCp1252(inv.Name));
    m_sex->setText(fromCp1252(inv.Sex));
    m_occupation->setText(fromCp1252(inv.Occupation));
    m_colleges->setEditText(fromCp1252(inv.Colleges));
    m_birthplace->setEditText(fromCp1252(inv.Birthplace));
    m_disorders->setEditText(fromCp1252(inv.MentalDisorders));
    m_portrait->setText(fromCp1252(inv.Portrait));
}

void CWizard_NewInvestigatorPage6::randomName()
{
    if (!m_names)
        m_names = std::make_unique<NameGenerator>();
    m_names->draw();
    m_name->setText(fromCp1252(m_names->fullName()));
    m_sex->setText(fromCp1252(m_names->sex()));
}

void CWizard_NewInvestigatorPage6::browsePortrait()
{
    const QString path = chooseImageFile(this, m_portrait->text());
    if (!path.isEmpty())
        m_portrait->setText(path);
}

void CWizard_NewInvestigatorPage6::leave()
{
    Investigator& inv = investigator();
    inv.Name = toCp1252(m_name->text());
    inv.Sex = toCp1252(m_sex->text());
    inv.Occupation = toCp1252(m_occupation->text());
    inv.Colleges = toCp1252(m_colleges->currentText());
    inv.Birthplace = toCp1252(m_birthplace->currentText());
    inv.MentalDisorders = toCp1252(m_disorders->currentText());
    inv.Portrait = toCp1252(m_portrait->text());
}

int CWizard_NewInvestigatorPage6::next()
{
    leave();
    const Investigator& inv = investigator();
    if (!inv.Sex.empty() && (inv.Sex.front() == 'Y' || inv.Sex.front() == 'y')) {
        std::string text = kSexJoke;
        text.replace(text.find("%s"), 2, inv.Sex);
        showMessage(text, {}, MsgIcon::None);
    }
    return WizardPage::next();
}

} // namespace vorpane
