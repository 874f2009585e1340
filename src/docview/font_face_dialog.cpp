#include "docview/font_face_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdlib>
#include <iterator>

namespace vorpane {

namespace {

struct WeightName {
    QFont::Weight weight;
    const char* name;
};

const WeightName kWeights[] = {
    { QFont::Thin, QT_TRANSLATE_NOOP("vorpane::FontFaceDialog", "Extrafina") },
    { QFont::ExtraLight, QT_TRANSLATE_NOOP("vorpane::FontFaceDialog", "Fina") },
    { QFont::Light, QT_TRANSLATE_NOOP("vorpane::FontFaceDialog", "Ligera") },
    { QFont::Normal, QT_TRANSLATE_NOOP("vorpane::FontFaceDialog", "Normal") },
    { QFont::Medium, QT_TRANSLATE_NOOP("vorpane::FontFaceDialog", "Media") },
    { QFont::DemiBold, QT_TRANSLATE_NOOP("vorpane::FontFaceDialog", "Seminegrita") },
    { QFont::Bold, QT_TRANSLATE_NOOP("vorpane::FontFaceDialog", "Negrita") },
    { QFont::ExtraBold, QT_TRANSLATE_NOOP("vorpane::FontFaceDialog", "Extranegrita") },
    { QFont::Black, QT_TRANSLATE_NOOP("vorpane::FontFaceDialog", "Negra") },
};

} // namespace

FontFaceDialog::FontFaceDialog(const QFont& initial, QWidget* parent)
    : QDialog(parent)
    , m_initial(initial)
    , m_face(new QFontComboBox(this))
    , m_weight(new QComboBox(this))
    , m_italic(new QCheckBox(tr("&Cursiva"), this))
    , m_sample(new QLabel(this))
{
    setObjectName(QStringLiteral("FontFaceDialog"));
    setWindowTitle(tr("Fuente"));
    m_face->setObjectName(QStringLiteral("Face"));
    m_face->setFontFilters(QFontComboBox::ScalableFonts);
    m_face->setCurrentFont(initial);
    m_weight->setObjectName(QStringLiteral("Weight"));
    int nearest = 0;
    for (int i = 0; i < int(std::size(kWeights)); ++i) {
        m_weight->addItem(tr(kWeights[i].name), int(kWeights[i].weight));
        if (std::abs(kWeights[i].weight - initial.weight())
            < std::abs(kWeights[nearest].weight - initial.weight()))
            nearest = i;
    }
    m_weight->setCurrentIndex(nearest);
    m_italic->setObjectName(QStringLiteral("Italic"));
    m_italic->setChecked(initial.italic());
    m_sample->setObjectName(QStringLiteral("Sample"));
    m_sample->setText(tr("Los papeles del profesor Ángel Zarza"));
    m_sample->setMinimumHeight(m_sample->sizeHint().height() * 2);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancelar"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout;
    auto* faceLabel = new QLabel(tr("&Fuente:"), this);
    faceLabel->setBuddy(m_face);
    form->addRow(faceLabel, m_face);
    auto* weightLabel = new QLabel(tr("&Grosor:"), this);
    weightLabel->setBuddy(m_weight);
    form->addRow(weightLabel, m_weight);
    form->addRow(QString(), m_italic);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_sample);
    layout->addWidget(buttons);

    connect(m_face, &QFontComboBox::currentFontChanged, this, &FontFaceDialog::updateSample);
    connect(m_weight, &QComboBox::currentIndexChanged, this, &FontFaceDialog::updateSample);
    connect(m_italic, &QCheckBox::toggled, this, &FontFaceDialog::updateSample);
    updateSample();
}

QFont FontFaceDialog::chosenFont() const
{
    QFont font = m_initial;
    font.setFamily(m_face->currentFont().family());
    font.setWeight(QFont::Weight(m_weight->currentData().toInt()));
    font.setItalic(m_italic->isChecked());
    return font;
}

void FontFaceDialog::updateSample()
{
    QFont sample = chosenFont();
    sample.setPointSizeF(font().pointSizeF() * 1.5);
    m_sample->setFont(sample);
}

} // namespace vorpane
