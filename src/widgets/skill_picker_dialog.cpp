#include "widgets/skill_picker_dialog.h"

#include "investigator/investigator.h"
#include "platform/cp1252.h"
#include "rules/text_case.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace vorpane {

namespace {

// Draws "name<TAB>value" as the name on the left and the value right-aligned in its own column.
class TabColumnDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString text = opt.text;
        opt.text.clear();
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : nullptr;
        if (!style)
            return;
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
        const QRect area
            = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget).adjusted(2, 0, -4, 0);
        const int tab = text.indexOf(QLatin1Char('\t'));
        const QString name = tab < 0 ? text : text.left(tab);
        const QString value = tab < 0 ? QString() : text.mid(tab + 1);
        const int valueWidth = opt.fontMetrics.horizontalAdvance(QStringLiteral("999%")) + 8;
        painter->save();
        painter->setPen(opt.palette.color(QPalette::Normal,
            (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text));
        const QRect nameRect = area.adjusted(0, 0, -valueWidth, 0);
        painter->drawText(nameRect, Qt::AlignLeft | Qt::AlignVCenter,
            opt.fontMetrics.elidedText(name, Qt::ElideRight, nameRect.width()));
        painter->drawText(area, Qt::AlignRight | Qt::AlignVCenter, value);
        painter->restore();
    }
};

} // namespace

SkillPickerDialog::SkillPickerDialog(
    Investigator& inv, SkillPickerMode mode, const QString& prompt, QWidget* parent)
    : QDialog(parent)
    , m_investigator(inv)
    , m_mode(mode)
    , m_list(new QListWidget(this))
    , m_entries(pickerEntries(inv, mode))
{
    setObjectName(QStringLiteral("SkillPickerDialog"));
    setWindowTitle(tr("Elige habilidad"));

    auto* label = new QLabel(prompt, this);
    label->setWordWrap(true);
    label->setBuddy(m_list);
    // The prompt is the script's or the program's plain text: every character is read.
    m_list->setAccessibleName(prompt);
    m_list->setObjectName(QStringLiteral("SkillList"));
    m_list->setItemDelegate(new TabColumnDelegate(m_list));
    m_list->setUniformItemSizes(true);
    for (SkillEntry* entry : m_entries) {
        const QString name = fromCp1252(skipLeadingStars(entry->name()));
        m_list->addItem(QStringLiteral("%1\t%2%").arg(name).arg(entry->current));
    }
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &SkillPickerDialog::accept);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(tr("Cancelar"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &SkillPickerDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SkillPickerDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    const QFontMetrics metrics(font());
    resize(metrics.averageCharWidth() * 52, metrics.height() * 28);
    m_list->setFocus();
}

SkillEntry* SkillPickerDialog::selectedEntry() const
{
    const int row = m_list->currentRow();
    if (row < 0 || row >= int(m_entries.size()) || !m_list->item(row)->isSelected())
        return nullptr;
    return m_entries[size_t(row)];
}

void SkillPickerDialog::accept()
{
    if (m_mode == SkillPickerMode::Occupation) {
        if (SkillEntry* entry = selectedEntry())
            markOccupationalChoice(m_investigator, *entry);
    }
    QDialog::accept();
}

SkillEntry* SkillPickerDialog::pick(
    Investigator& inv, SkillPickerMode mode, const QString& prompt, QWidget* parent)
{
    SkillPickerDialog dialog(inv, mode, prompt, parent);
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    return dialog.selectedEntry();
}

} // namespace vorpane
