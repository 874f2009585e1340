#include "wizard/optional_skills_dialog.h"

#include "docview/accessible_name.h"
#include "platform/cp1252.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vorpane {

OptionalSkillsDialog::OptionalSkillsDialog(
    int count, const std::vector<OptionalSkill>& offered, QWidget* parent)
    : QDialog(parent)
    , m_count(count)
    , m_list(new QListWidget(this))
{
    setObjectName(QStringLiteral("OptionalSkillsDialog"));
    setWindowTitle(tr("Habilidades opcionales"));

    auto* text = new QLabel(tr("Selecciona %1 de las siguientes habilidades:").arg(count), this);
    nameAfterLabel(m_list, text);
    m_list->setObjectName(QStringLiteral("OptionalList"));
    m_list->setSelectionMode(QAbstractItemView::MultiSelection);
    for (const OptionalSkill& skill : offered)
        m_list->addItem(fromCp1252(skill.name));
    if (m_list->count() > 0)
        m_list->setCurrentRow(0, QItemSelectionModel::NoUpdate);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(tr("Cancelar"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &OptionalSkillsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    const QFontMetrics metrics(font());
    resize(metrics.averageCharWidth() * 44, metrics.height() * (std::min<int>(int(offered.size()), 12) + 8));
    m_list->setFocus();
}

std::vector<size_t> OptionalSkillsDialog::chosen() const
{
    std::vector<size_t> rows;
    for (int i = 0; i < m_list->count(); ++i) {
        if (m_list->item(i)->isSelected())
            rows.push_back(size_t(i));
    }
    return rows;
}

void OptionalSkillsDialog::accept()
{
    if (acceptOptionalChoice(m_count, chosen().size()))
        QDialog::accept();
}

OptionalSkillChooser OptionalSkillsDialog::chooser(QWidget* parent)
{
    return
        [parent](int count, const std::vector<OptionalSkill>& offered) -> std::optional<std::vector<size_t>> {
            OptionalSkillsDialog dialog(count, offered, parent);
            if (dialog.exec() != QDialog::Accepted)
                return std::nullopt;
            return dialog.chosen();
        };
}

} // namespace vorpane
