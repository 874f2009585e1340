#include "wizard/age_dialog.h"

#include "platform/random.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vorpane {

AgeDialog::AgeDialog(const std::array<int, kAgeCharacteristicCount>& values, AgeCharacteristic preselected,
    int point, int points, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("AgeDialog"));
    setWindowTitle(tr("Edad del personaje"));

    auto* text = new QLabel(tr("Has elegido que tu personaje sea mayor de 40 años. Selecciona la "
                               "característica física que debe disminuir:"),
        this);
    text->setWordWrap(true);
    auto* progress = new QLabel(tr("Punto %1 de %2").arg(point).arg(points), this);
    progress->setEnabled(false);

    const char* const labels[kAgeCharacteristicCount] = { "&APA", "&CON", "&DES", "&FUE" };
    auto* grid = new QGridLayout;
    grid->setContentsMargins(24, 4, 0, 4);
    for (int i = 0; i < kAgeCharacteristicCount; ++i) {
        m_buttons[size_t(i)] = new QRadioButton(tr(labels[i]), this);
        m_buttons[size_t(i)]->setObjectName(QString::fromLatin1(labels[i] + 1));
        grid->addWidget(m_buttons[size_t(i)], i, 0);
        auto* value = new QLabel(QString::number(values[size_t(i)]), this);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(value, i, 1);
    }
    grid->setColumnMinimumWidth(1, fontMetrics().horizontalAdvance(QStringLiteral("999")));
    grid->setColumnStretch(2, 1);
    select(preselected);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(tr("Cancelar"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(progress);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 52);
}

AgeCharacteristic AgeDialog::selected() const
{
    for (int i = 0; i < kAgeCharacteristicCount; ++i) {
        if (m_buttons[size_t(i)]->isChecked())
            return AgeCharacteristic(i);
    }
    return AgeCharacteristic::APA;
}

void AgeDialog::select(AgeCharacteristic which)
{
    QRadioButton* button = m_buttons[size_t(which)];
    button->setChecked(true);
    button->setFocus();
}

std::optional<AgeCharacteristic> AgeDialog::ask(
    const std::array<int, kAgeCharacteristicCount>& values, int point, int points, QWidget* parent)
{
    const auto preselected = AgeCharacteristic(nextRandom() % kAgeCharacteristicCount);
    AgeDialog dialog(values, preselected, point, points, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selected();
}

} // namespace vorpane
