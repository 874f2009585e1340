#include "dialogs/options_dialog.h"

#include "docview/accessible_name.h"
#include "docview/desk.h"
#include "docview/desktop_dialogs.h"
#include "platform/profile.h"
#include "platform/stored_font.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPalette>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cmath>

namespace vorpane {

namespace {

constexpr double kMaxMillimetres = 999.0;

struct Component {
    const char* name;
    bool font;
    const char* section;
    const char* value; // the prefix of a font's values, a colour's value
    const char* defaultFace;
    int defaultSize;
    FontSize size;
};

// In list order; sections, names and defaults are the settings table's.
const Component kComponents[] = {
    { QT_TRANSLATE_NOOP("vorpane::COptionsPage2", "Output Window Font"), true, profile_keys::kOutput,
        profile_keys::kOutputFont, profile_keys::kOutputDefaultFace, profile_keys::kOutputDefaultHeight,
        FontSize::Stored },
    { QT_TRANSLATE_NOOP("vorpane::COptionsPage2", "Output Window Background Colour"), false,
        profile_keys::kOutput, profile_keys::kOutputBackground, "", 0, FontSize::Stored },
    { QT_TRANSLATE_NOOP("vorpane::COptionsPage2", "Output Window Foreground Colour"), false,
        profile_keys::kOutput, profile_keys::kOutputText, "", 0, FontSize::Stored },
    { QT_TRANSLATE_NOOP("vorpane::COptionsPage2", "User Text Font"), true, profile_keys::kSheet,
        profile_keys::kUserTextFont, profile_keys::kUserTextFace.defaultValue,
        profile_keys::kUserTextDefaultHeight, FontSize::NotStored },
    { QT_TRANSLATE_NOOP("vorpane::COptionsPage2", "User Text Colour"), false, profile_keys::kSheet,
        profile_keys::kUserTextColour.name, "", 0, FontSize::Stored },
    { QT_TRANSLATE_NOOP("vorpane::COptionsPage2", "Script Edit Window Font"), true, profile_keys::kEdit,
        profile_keys::kEditFont, profile_keys::kEditDefaultFace, profile_keys::kEditDefaultHeight,
        FontSize::Stored },
};

int defaultColour(const Component& component)
{
    const QString value = QString::fromLatin1(component.value);
    if (value == QLatin1String(profile_keys::kOutputBackground))
        return toColorRef(QPalette().color(QPalette::Base));
    if (value == QLatin1String(profile_keys::kOutputText))
        return toColorRef(QPalette().color(QPalette::Text));
    return profile_keys::kUserTextColour.defaultValue;
}

// Tenths of a millimetre, truncated; the small allowance keeps 0.7 from becoming 6.
int tenths(double millimetres) { return int(std::floor(millimetres * 10.0 + 1e-7)); }

} // namespace

// --- MillimetreSpinBox ---------------------------------------------------------------------

MillimetreSpinBox::MillimetreSpinBox(QWidget* parent)
    : QDoubleSpinBox(parent)
{
    setRange(0.0, kMaxMillimetres);
    setDecimals(2);
    setSuffix(QString());
    setAccelerated(true);
    setKeyboardTracking(false);
    setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("999.99")) + 48);
}

void MillimetreSpinBox::stepBy(int steps)
{
    const double now = value();
    const double whole = steps > 0 ? std::floor(now) + steps : std::ceil(now) + steps;
    setValue(std::clamp(whole, 0.0, kMaxMillimetres));
    selectAll();
}

QString MillimetreSpinBox::textFromValue(double value) const
{
    // 18.5, 0.0, 12.34: at least one decimal, no trailing zeros beyond it.
    QString text = QString::number(value, 'f', 2);
    while (text.endsWith(QLatin1Char('0')) && text.at(text.size() - 2) != QLatin1Char('.'))
        text.chop(1);
    return text;
}

double MillimetreSpinBox::valueFromText(const QString& text) const
{
    QString plain = text.trimmed();
    plain.replace(QLatin1Char(','), QLatin1Char('.'));
    return plain.toDouble();
}

QValidator::State MillimetreSpinBox::validate(QString& text, int&) const
{
    static const QRegularExpression number(QStringLiteral("^\\s*(\\d{0,3})([.,](\\d{0,2}))?\\s*$"));
    const QRegularExpressionMatch match = number.match(text);
    if (!match.hasMatch())
        return QValidator::Invalid;
    if (match.captured(1).isEmpty() && match.captured(3).isEmpty())
        return QValidator::Intermediate;
    return valueFromText(text) <= kMaxMillimetres ? QValidator::Acceptable : QValidator::Invalid;
}

// --- Pages ---------------------------------------------------------------------------------

COptionsPage1::COptionsPage1(QWidget* parent)
    : QWidget(parent)
    , m_left(new MillimetreSpinBox(this))
    , m_top(new MillimetreSpinBox(this))
{
    setObjectName(QStringLiteral("COptionsPage1"));
    m_left->setObjectName(QStringLiteral("LeftMargin"));
    m_top->setObjectName(QStringLiteral("TopMargin"));
    m_left->setValue(Profile::read(profile_keys::kLeftMargin) / 10.0);
    m_top->setValue(Profile::read(profile_keys::kTopMarginInOptions) / 10.0);

    auto* form = new QFormLayout;
    const auto row = [this, form](const QString& text, MillimetreSpinBox* box) {
        auto* label = new QLabel(text, this);
        label->setBuddy(box);
        auto* field = new QHBoxLayout;
        field->addWidget(box);
        field->addWidget(new QLabel(tr("mm"), this));
        field->addStretch(1);
        form->addRow(label, field);
    };
    row(tr("&Izq."), m_left);
    row(tr("&Sup"), m_top);
    auto* hint = new QLabel(tr("Márgenes de impresión de las fichas, en milímetros."), this);
    hint->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addLayout(form);
    layout->addStretch(1);
}

void COptionsPage1::apply()
{
    m_left->interpretText();
    m_top->interpretText();
    Profile::write(profile_keys::kLeftMargin, tenths(m_left->value()));
    Profile::write(profile_keys::kTopMargin, tenths(m_top->value()));
}

COptionsPage2::COptionsPage2(QWidget* parent)
    : QWidget(parent)
    , m_components(new QListWidget(this))
    , m_flatToolbar(new QCheckBox(tr("&Barra flotante"), this))
    , m_animation(new QCheckBox(tr("Mostrar animación"), this))
    , m_tipOfTheDay(new QCheckBox(tr("&Frase del Día"), this))
{
    setObjectName(QStringLiteral("COptionsPage2"));
    m_components->setObjectName(QStringLiteral("Components"));
    m_flatToolbar->setObjectName(QStringLiteral("FlatToolbar"));
    m_animation->setObjectName(QStringLiteral("FieldAnimation"));
    m_tipOfTheDay->setObjectName(QStringLiteral("TipOfTheDay"));
    for (const Component& component : kComponents)
        m_components->addItem(tr(component.name));
    m_components->setCurrentRow(0);
    m_flatToolbar->setChecked(Profile::read(profile_keys::kFlatToolbar) != 0);
    m_animation->setChecked(Profile::read(profile_keys::kFieldAnimation) != 0);
    m_tipOfTheDay->setChecked(Profile::read(profile_keys::kTipsStartUp) == 0);

    auto* label = new QLabel(tr("Comp&onente"), this);
    nameAfterLabel(m_components, label);
    auto* change = new QPushButton(tr("&Cambiar..."), this);
    change->setObjectName(QStringLiteral("Change"));
    change->setAutoDefault(false);
    connect(change, &QPushButton::clicked, this, &COptionsPage2::changeSelected);
    connect(m_components, &QListWidget::itemActivated, this, &COptionsPage2::changeSelected);

    auto* layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0);
    layout->addWidget(m_components, 1, 0, 4, 1);
    layout->addWidget(change, 1, 1, Qt::AlignTop);
    layout->addWidget(m_flatToolbar, 5, 0, 1, 2);
    layout->addWidget(m_animation, 6, 0, 1, 2);
    layout->addWidget(m_tipOfTheDay, 7, 0, 1, 2);
    layout->setRowStretch(4, 1);
    m_components->setMinimumHeight(m_components->sizeHintForRow(0) * 6 + 2 * m_components->frameWidth() + 4);
}

void COptionsPage2::changeSelected()
{
    const int row = m_components->currentRow();
    if (row < 0 || row >= int(std::size(kComponents)))
        return;
    const Component& component = kComponents[row];
    if (component.font) {
        const StoredFont stored = readStoredFont(
            component.section, component.value, component.defaultFace, component.defaultSize, component.size);
        // Qt's font dialog cannot hide its size box, so a font without a size has a dialog of its own.
        const std::optional<QFont> chosen = component.size == FontSize::NotStored
            ? dialogs().chooseFontFace(this, toQFont(stored))
            : dialogs().chooseFont(this, toQFont(stored), QFontDialog::ScalableFonts);
        if (chosen)
            writeStoredFont(component.section, component.value, fromQFont(*chosen), component.size);
    } else {
        const int stored = Profile::readInt(component.section, component.value, defaultColour(component));
        const std::optional<QColor> chosen = dialogs().chooseColour(this, fromColorRef(stored));
        if (chosen)
            Profile::writeInt(component.section, component.value, toColorRef(*chosen));
    }
}

void COptionsPage2::apply(Desk* desk)
{
    const bool flat = m_flatToolbar->isChecked();
    Profile::write(profile_keys::kFlatToolbar, flat ? 1 : 0);
    Profile::write(profile_keys::kFieldAnimation, m_animation->isChecked() ? 1 : 0);
    Profile::write(profile_keys::kTipsStartUp, m_tipOfTheDay->isChecked() ? 0 : 1);
    if (desk)
        desk->applyToolbarStyle(flat);
}

// --- The sheet -----------------------------------------------------------------------------

COptionsDlg::COptionsDlg(QWidget* parent)
    : QDialog(parent)
    , m_desk(dynamic_cast<Desk*>(parent))
    , m_tabs(new QTabWidget(this))
    , m_page1(new COptionsPage1)
    , m_page2(new COptionsPage2)
{
    setObjectName(QStringLiteral("COptionsDlg"));
    setWindowTitle(tr("Opciones"));
    m_tabs->addTab(m_page1, tr("Márgenes"));
    m_tabs->addTab(m_page2, tr("Opciones"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancelar"));
    connect(buttons, &QDialogButtonBox::accepted, this, &COptionsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
    m_page1->leftMargin()->setFocus();
}

void COptionsDlg::accept()
{
    m_page1->apply();
    m_page2->apply(m_desk);
    QDialog::accept();
}

void COptionsDlg::run(QWidget* parent)
{
    COptionsDlg dialog(parent);
    if (dialog.exec() == QDialog::Accepted && dialog.m_desk)
        dialog.m_desk->settingsChanged();
}

} // namespace vorpane
