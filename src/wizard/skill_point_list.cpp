#include "wizard/skill_point_list.h"

#include "docview/desktop_dialogs.h"
#include "investigator/investigator.h"
#include "platform/cp1252.h"
#include "rules/list_file.h"
#include "rules/rule_set_cache.h"
#include "rules/text_case.h"
#include "widgets/skill_picker_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QSpinBox>
#include <QStyledItemDelegate>

namespace vorpane {

namespace {

constexpr const char* kFreeChoice = "(free choice)";
constexpr const char* kChooseSpeciality = "Selecciona una habilidad como especialidad.  ";
constexpr const char* kOptionsKey = "Options";
constexpr int kOptionSlots = 4;
constexpr int kTextMargin = 4;
constexpr int kEmptyNameWidth = 90;

QString displayName(const SkillEntry& entry) { return fromCp1252(skipLeadingStars(entry.name())); }

QString parentPrefix(const SkillEntry& entry)
{
    const SpecialSkill* parent = entry.parent();
    return (parent ? fromCp1252(skipLeadingStars(parent->name())) : QString()) + QStringLiteral(": ");
}

void dottedFrame(QPainter& painter, const QRect& rect, const QColor& colour)
{
    painter.save();
    painter.setPen(QPen(colour, 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.restore();
}

class SkillRowDelegate final : public QStyledItemDelegate {
public:
    explicit SkillRowDelegate(SkillPointList* list)
        : QStyledItemDelegate(list)
        , m_list(list)
    {
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return { QStyledItemDelegate::sizeHint(option, index).width(), SkillPointList::kRowHeight };
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const SkillEntry* entry = m_list->entryAt(index.row());
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        opt.text.clear();
        QStyle* style = m_list->style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, m_list);
        if (!entry)
            return;

        painter->save();
        const bool selected = opt.state & QStyle::State_Selected;
        const QColor text
            = opt.palette.color(QPalette::Normal, selected ? QPalette::HighlightedText : QPalette::Text);
        painter->setPen(text);
        QFont font = opt.font;
        font.setBold(entry->occupational != 0);
        painter->setFont(font);
        const QFontMetrics metrics(font);
        const QRect row = opt.rect;
        // Wide enough for "999%" in bold.
        const int valueWidth
            = std::max(SkillPointList::kValueWidth, metrics.horizontalAdvance(QStringLiteral("999%")) + 4);
        const QRect value(row.right() - valueWidth, row.top(), valueWidth - 2, row.height());
        QRect name(
            row.left() + kTextMargin, row.top(), value.left() - row.left() - 2 * kTextMargin, row.height());

        switch (entry->kind()) {
        case SkillKind::AnySkill: {
            const QString label = QString::fromLatin1(kFreeChoice);
            painter->drawText(name, Qt::AlignLeft | Qt::AlignVCenter, label);
            const int x = name.left() + metrics.horizontalAdvance(label) + kTextMargin;
            dottedFrame(*painter,
                QRect(x, row.top() + 3, std::max(kEmptyNameWidth, name.right() - x - 20), row.height() - 6),
                text);
            dottedFrame(*painter, value.adjusted(6, 3, 0, -3), text);
            break;
        }
        case SkillKind::SubSkill: {
            const QString prefix = parentPrefix(*entry);
            if (entry->name().empty()) {
                painter->drawText(name, Qt::AlignLeft | Qt::AlignVCenter, prefix);
                const int x = name.left() + metrics.horizontalAdvance(prefix);
                dottedFrame(*painter, QRect(x, row.top() + 3, kEmptyNameWidth, row.height() - 6), text);
            } else {
                painter->drawText(name, Qt::AlignLeft | Qt::AlignVCenter,
                    metrics.elidedText(prefix + displayName(*entry), Qt::ElideRight, name.width()));
            }
            painter->drawText(
                value, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("%1%").arg(entry->current));
            break;
        }
        default:
            painter->drawText(name, Qt::AlignLeft | Qt::AlignVCenter,
                metrics.elidedText(displayName(*entry), Qt::ElideRight, name.width()));
            painter->drawText(
                value, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("%1%").arg(entry->current));
            break;
        }
        painter->restore();
    }

private:
    SkillPointList* m_list;
};

} // namespace

// The value editor: a spin box whose Up and Down keys move between rows instead of stepping.
class SkillPointList::ValueEditor final : public QSpinBox {
public:
    explicit ValueEditor(SkillPointList* list)
        : QSpinBox(list->viewport())
        , m_list(list)
    {
        setObjectName(QStringLiteral("ValueEditor"));
        setAlignment(Qt::AlignRight);
        setButtonSymbols(QAbstractSpinBox::UpDownArrows);
        setKeyboardTracking(true);
        hide();
    }

    using QSpinBox::lineEdit;

protected:
    bool event(QEvent* event) override
    {
        // The wizard's buttons must not take Enter or Esc from an open editor.
        if (event->type() == QEvent::ShortcutOverride) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
                event->accept();
                return true;
            }
        }
        return QSpinBox::event(event);
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        switch (event->key()) {
        case Qt::Key_Up:
            m_list->editorKey(Move::Previous);
            return;
        case Qt::Key_Down:
            m_list->editorKey(Move::Next);
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            m_list->editorKey(Move::Enter);
            return;
        case Qt::Key_Escape:
            m_list->editorKey(Move::Escape);
            return;
        default:
            QSpinBox::keyPressEvent(event);
        }
    }

    void focusOutEvent(QFocusEvent* event) override
    {
        // Committed before the spin box corrects the text: it would put back the old value in
        // place of one typed below the floor, which the commit raises to the floor instead.
        if (event->reason() != Qt::PopupFocusReason)
            m_list->commitEditing();
        QSpinBox::focusOutEvent(event);
    }

private:
    SkillPointList* m_list;
};

SkillPointList::SkillPointList(QWidget* parent)
    : QListWidget(parent)
    , m_valueEditor(new ValueEditor(this))
    , m_nameEditor(new QComboBox(viewport()))
{
    setObjectName(QStringLiteral("SkillPointList"));
    setItemDelegate(new SkillRowDelegate(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_nameEditor->setObjectName(QStringLiteral("NameEditor"));
    m_nameEditor->setEditable(true);
    m_nameEditor->setInsertPolicy(QComboBox::NoInsert);
    m_nameEditor->setMaxVisibleItems(kNameDropHeight / kRowHeight);
    m_nameEditor->hide();
    m_nameEditor->installEventFilter(this);
    m_nameEditor->lineEdit()->installEventFilter(this);
}

SkillPointList::~SkillPointList() = default;

QSpinBox* SkillPointList::valueEditor() const { return m_valueEditor; }

QComboBox* SkillPointList::nameEditor() const { return m_nameEditor; }

void SkillPointList::setUp(Investigator& inv, SkillPointMode mode)
{
    m_investigator = &inv;
    m_mode = mode;
    const std::string ruleFile = ruleFileOrDefault(inv.RuleFile);
    const std::string options
        = RuleSetCache::instance().keyValue(ruleFile, kOptionsKey, ListFile::kFallbackFile);
    m_options = std::make_unique<ListFile>(
        options.empty() ? std::string(ListFile::kFallbackFile) : options, kOptionSlots);
}

void SkillPointList::setCounter(int points)
{
    m_counter = points;
    emit counterChanged(points);
}

SkillEntry* SkillPointList::entryAt(int row) const
{
    return row >= 0 && row < int(m_entries.size()) ? m_entries[size_t(row)] : nullptr;
}

int SkillPointList::rowOf(const SkillEntry* entry) const
{
    const auto it = std::find(m_entries.begin(), m_entries.end(), entry);
    return it == m_entries.end() ? -1 : int(it - m_entries.begin());
}

QString SkillPointList::rowText(const SkillEntry& entry) const
{
    switch (entry.kind()) {
    case SkillKind::AnySkill:
        return QString::fromLatin1(kFreeChoice);
    case SkillKind::SubSkill:
        return parentPrefix(entry) + displayName(entry) + QStringLiteral("\t%1%").arg(entry.current);
    default:
        return displayName(entry) + QStringLiteral("\t%1%").arg(entry.current);
    }
}

void SkillPointList::refill()
{
    cancelEditing();
    const int row = std::max(currentRow(), 0);
    const QSignalBlocker blocker(this);
    clear();
    m_entries = m_investigator ? skillPointEntries(*m_investigator, m_mode) : std::vector<SkillEntry*>();
    for (const SkillEntry* entry : m_entries)
        addItem(rowText(*entry));
    if (count() > 0)
        setCurrentRow(std::min(row, count() - 1));
    viewport()->update();
}

void SkillPointList::updateRow(int row)
{
    if (QListWidgetItem* it = item(row); it && entryAt(row))
        it->setText(rowText(*entryAt(row)));
}

QRect SkillPointList::rowRect(int row) const { return visualItemRect(item(row)); }

void SkillPointList::editRow(int row, int x)
{
    SkillEntry* entry = entryAt(row);
    if (!entry)
        return;
    setCurrentRow(row);
    switch (entry->kind()) {
    case SkillKind::AnySkill:
        chooseFreeSkill(row);
        break;
    case SkillKind::SubSkill:
        if (entry->name().empty() || x < rowRect(row).right() - kValueEditorWidth)
            openNameEditor(row);
        else
            openValueEditor(row);
        break;
    default:
        openValueEditor(row);
        break;
    }
}

bool SkillPointList::openValueEditor(int row)
{
    SkillEntry* entry = entryAt(row);
    if (!entry || entry->kind() == SkillKind::AnySkill
        || (entry->kind() == SkillKind::SubSkill && entry->name().empty()))
        return false;
    commitEditing();
    m_editor = Editor::Value;
    m_editedRow = row;
    m_oldValue = entry->current;
    const QRect r = rowRect(row);
    const int width = std::max(kValueEditorMinWidth, m_valueEditor->sizeHint().width());
    m_valueEditor->setGeometry(r.right() - 2 - width + 1, r.top(), width, kRowHeight - 1);
    m_valueEditor->setRange(pointFloor(*entry, m_mode), std::max(kMaxValue, entry->current));
    m_valueEditor->setValue(entry->current);
    // A reader hears which skill's percentage is being set.
    m_valueEditor->setAccessibleName(
        tr("%1, porcentaje").arg(rowText(*entry).section(QLatin1Char('\t'), 0, 0)));
    m_valueEditor->show();
    m_valueEditor->setFocus(Qt::OtherFocusReason);
    m_valueEditor->selectAll();
    return true;
}

bool SkillPointList::openNameEditor(int row)
{
    SkillEntry* entry = entryAt(row);
    if (!entry || entry->kind() != SkillKind::SubSkill)
        return false;
    commitEditing();
    m_editor = Editor::Name;
    m_editedRow = row;
    m_nameEditor->clear();
    if (m_options) {
        const SpecialSkill* parent = entry->parent();
        const std::string list = parent ? std::string(skipLeadingStars(parent->name())) : std::string();
        if (const ListFile::Entries names = m_options->section(list)) {
            for (const std::string& name : *names)
                m_nameEditor->addItem(fromCp1252(name));
        }
    }
    m_nameEditor->setEditText(fromCp1252(entry->name()));
    m_nameEditor->setAccessibleName(tr("Nombre de %1").arg(parentPrefix(*entry).trimmed()));
    const QRect r = rowRect(row);
    QFont font = this->font();
    font.setBold(entry->occupational != 0);
    const int left = r.left() + kTextMargin + QFontMetrics(font).horizontalAdvance(parentPrefix(*entry));
    m_nameEditor->setGeometry(left, r.top(), std::max(r.right() - kNameEditorGap - left, 60), kRowHeight);
    m_nameEditor->show();
    m_nameEditor->setFocus(Qt::OtherFocusReason);
    m_nameEditor->lineEdit()->selectAll();
    return true;
}

bool SkillPointList::commitValue()
{
    SkillEntry* entry = entryAt(m_editedRow);
    if (!entry)
        return false;
    bool ok = false;
    const int typed = m_valueEditor->text().trimmed().toInt(&ok);
    const PointSpend spend = spendOnEntry(*entry, m_mode, ok ? typed : 0, m_oldValue, m_counter);
    if (spend.beep)
        dialogs().beep();
    setCounter(spend.counter);
    updateRow(m_editedRow);
    return true;
}

bool SkillPointList::commitName()
{
    SkillEntry* entry = entryAt(m_editedRow);
    if (!entry)
        return false;
    entry->definition->setName(toCp1252(m_nameEditor->currentText().trimmed()));
    updateRow(m_editedRow);
    return true;
}

void SkillPointList::commitEditing()
{
    const Editor editor = m_editor;
    if (editor == Editor::None)
        return;
    // Closed first: the commit may move the focus, which would commit again.
    m_editor = Editor::None;
    if (editor == Editor::Value)
        commitValue();
    else
        commitName();
    closeEditor();
}

void SkillPointList::cancelEditing()
{
    m_editor = Editor::None;
    closeEditor();
}

void SkillPointList::closeEditor()
{
    // The window's focus child, which is kept even while another window is active.
    const QWidget* focus = window()->focusWidget();
    const bool hadFocus = focus
        && (focus == m_valueEditor || m_valueEditor->isAncestorOf(focus) || focus == m_nameEditor
            || m_nameEditor->isAncestorOf(focus));
    m_editor = Editor::None;
    m_editedRow = -1;
    // The list takes the keyboard before the editor goes, so it does not pass to the next control.
    if (hadFocus)
        setFocus(Qt::OtherFocusReason);
    m_valueEditor->hide();
    m_nameEditor->hide();
    viewport()->update();
}

void SkillPointList::editorKey(Move move)
{
    const Editor editor = m_editor;
    const int row = m_editedRow;
    if (editor == Editor::None)
        return;
    if (move == Move::Escape) {
        cancelEditing();
        return;
    }
    const bool last = row >= count() - 1;
    if (move == Move::Previous && row <= 0) {
        dialogs().beep();
        return;
    }
    if (move == Move::Next && last) {
        dialogs().beep();
        return;
    }
    commitEditing();
    if (move == Move::Enter && last)
        return;
    const int target = move == Move::Previous ? row - 1 : row + 1;
    setCurrentRow(target);
    scrollToItem(item(target));
    if (editor == Editor::Value)
        openValueEditor(target);
    else
        openNameEditor(target);
}

void SkillPointList::chooseFreeSkill(int row)
{
    SkillEntry* placeholder = entryAt(row);
    if (!m_investigator || !placeholder)
        return;
    commitEditing();
    if (!SkillPickerDialog::pick(
            *m_investigator, SkillPickerMode::Occupation, QString::fromLatin1(kChooseSpeciality), window()))
        return;
    m_investigator->removeEntry(placeholder);
    refill();
}

void SkillPointList::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid()) {
        QListWidget::mouseDoubleClickEvent(event);
        return;
    }
    editRow(index.row(), event->position().toPoint().x());
}

void SkillPointList::keyPressEvent(QKeyEvent* event)
{
    const int row = currentRow();
    switch (event->key()) {
    case Qt::Key_F2:
        // As a double click on the name: a subskill's name editor.
        if (row >= 0) {
            editRow(row);
            return;
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        // As a double click on the value.
        if (row >= 0) {
            editRow(row, rowRect(row).right());
            return;
        }
        break;
    default:
        // Typing a number starts editing the value with it.
        if (row >= 0 && event->text().size() == 1 && event->text().at(0).isDigit()) {
            if (openValueEditor(row)) {
                m_valueEditor->lineEdit()->setText(event->text());
                return;
            }
        }
        break;
    }
    QListWidget::keyPressEvent(event);
}

void SkillPointList::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    if (m_editor != Editor::None && current.row() != m_editedRow)
        commitEditing();
    QListWidget::currentChanged(current, previous);
}

bool SkillPointList::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched != m_nameEditor && watched != m_nameEditor->lineEdit()) || m_editor != Editor::Name)
        return QListWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
            event->accept();
            return true;
        }
        break;
    }
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & Qt::AltModifier)
            break; // Alt+Down opens the suggestions
        switch (key->key()) {
        case Qt::Key_Up:
            editorKey(Move::Previous);
            return true;
        case Qt::Key_Down:
            editorKey(Move::Next);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            editorKey(Move::Enter);
            return true;
        case Qt::Key_Escape:
            editorKey(Move::Escape);
            return true;
        default:
            break;
        }
        break;
    }
    case QEvent::FocusOut:
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
            commitEditing();
        break;
    default:
        break;
    }
    return QListWidget::eventFilter(watched, event);
}

} // namespace vorpane
