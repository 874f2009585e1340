#include "documents/sheet_field_accessible.h"

#include "documents/script_sheet_view.h"
#include "documents/sheet_accessibility.h"
#include "documents/sheet_canvas.h"
#include "platform/cp1252.h"
#include "sheet/field_actions.h"
#include "sheet/field_outline.h"
#include "sheet/sheet_field.h"
#include "sheet/sheet_item.h"
#include "sheet/sheet_layout.h"

#include <QScrollBar>
#include <QWidget>
#include <QWindow>
#include <cmath>

namespace vorpane {

SheetFieldAccessible::SheetFieldAccessible(SheetAccessibility& sheet, int field)
    : m_sheet(sheet)
    , m_canvas(&sheet.canvas())
    , m_field(field)
    , m_generation(sheet.generation())
{
}

bool SheetFieldAccessible::isValid() const
{
    return m_canvas && m_generation == m_sheet.generation() && placement() != nullptr;
}

const OutlineField* SheetFieldAccessible::outlineField() const
{
    if (!m_canvas || m_generation != m_sheet.generation())
        return nullptr;
    const std::vector<OutlineField>& fields = m_sheet.outline().fields();
    return size_t(m_field) < fields.size() ? &fields[size_t(m_field)] : nullptr;
}

PlacedField* SheetFieldAccessible::placement() const
{
    if (!m_canvas || m_generation != m_sheet.generation())
        return nullptr;
    return m_sheet.placement(m_field);
}

QWindow* SheetFieldAccessible::window() const
{
    return m_canvas ? m_canvas->window()->windowHandle() : nullptr;
}

QAccessibleInterface* SheetFieldAccessible::parent() const
{
    const OutlineField* field = outlineField();
    if (field && field->table >= 0)
        return m_sheet.table(field->table);
    return m_canvas ? QAccessible::queryAccessibleInterface(m_canvas.data()) : nullptr;
}

QString SheetFieldAccessible::value() const
{
    const PlacedField* field = placement();
    if (!field)
        return {};
    // Line breaks as the field editor shows them.
    QString text = fromCp1252(fieldValueText(*field));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

bool SheetFieldAccessible::isNumber() const
{
    const PlacedField* field = placement();
    if (!field || !field->field || field->field->isCheckBox())
        return false;
    try {
        const script::ValueKind kind = field->field->value(field).effectiveKind();
        return kind == script::ValueKind::Integer || kind == script::ValueKind::Unsigned;
    } catch (const script::ScriptError&) {
        return false;
    }
}

bool SheetFieldAccessible::isEditable() const
{
    const PlacedField* field = placement();
    return field && field->enabled && !field->field->hasFlag(FieldReadOnly);
}

QString SheetFieldAccessible::text(QAccessible::Text t) const
{
    const OutlineField* field = outlineField();
    if (!field)
        return {};
    switch (t) {
    case QAccessible::Name:
        return m_sheet.fieldName(m_field);
    case QAccessible::Value:
        return field->role == OutlineRole::Text ? value() : QString();
    case QAccessible::Description:
        // A picture is described by its file's name; a choice by the field it sets.
        if (field->role == OutlineRole::Picture)
            return value();
        if (field->role == OutlineRole::Choice)
            return fromCp1252(readableFieldName(placement()->field->name()));
        return {};
    default:
        return {};
    }
}

void SheetFieldAccessible::setText(QAccessible::Text t, const QString& text)
{
    if (t == QAccessible::Value)
        store(text);
}

QRect SheetFieldAccessible::rect() const
{
    const PlacedField* field = placement();
    if (!field)
        return {};
    const QRect local = m_canvas->toViewport(field->rect).toAlignedRect();
    return local.translated(m_canvas->viewport()->mapToGlobal(QPoint(0, 0)));
}

QAccessible::Role SheetFieldAccessible::role() const
{
    const OutlineField* field = outlineField();
    if (!field)
        return QAccessible::NoRole;
    switch (field->role) {
    case OutlineRole::CheckBox:
        return QAccessible::CheckBox;
    case OutlineRole::Picture:
        return QAccessible::Graphic;
    case OutlineRole::Choice:
        return QAccessible::RadioButton;
    case OutlineRole::Text:
        break;
    }
    return field->table >= 0 ? QAccessible::Cell : QAccessible::EditableText;
}

QAccessible::State SheetFieldAccessible::state() const
{
    QAccessible::State state;
    const OutlineField* outline = outlineField();
    const PlacedField* field = placement();
    if (!outline || !field) {
        state.invalid = true;
        return state;
    }
    const bool readOnly = field->field->hasFlag(FieldReadOnly);
    state.readOnly = readOnly;
    state.disabled = !field->enabled;
    state.focusable = field->enabled && field->field->hasFlag(FieldTabStop);
    state.focused = m_sheet.isFocused(m_field);
    if (outline->role == OutlineRole::CheckBox || outline->role == OutlineRole::Choice) {
        state.checkable = true;
        state.checked = isFieldChecked(*field);
    } else if (outline->role == OutlineRole::Text) {
        state.editable = !readOnly && field->enabled;
        state.multiLine = (field->context.fieldTextStyle & TextMultiline) != 0;
    }
    if (!m_canvas->viewport()->rect().intersects(m_canvas->toViewport(field->rect).toAlignedRect()))
        state.offscreen = true;
    return state;
}

void* SheetFieldAccessible::interface_cast(QAccessible::InterfaceType type)
{
    const OutlineField* field = outlineField();
    if (!field)
        return nullptr;
    const bool text = field->role == OutlineRole::Text;
    switch (type) {
    case QAccessible::TextInterface:
        return text ? static_cast<QAccessibleTextInterface*>(this) : nullptr;
    case QAccessible::EditableTextInterface:
        return text && isEditable() ? static_cast<QAccessibleEditableTextInterface*>(this) : nullptr;
    case QAccessible::ValueInterface:
        return text && isNumber() ? static_cast<QAccessibleValueInterface*>(this) : nullptr;
    case QAccessible::ActionInterface:
        return static_cast<QAccessibleActionInterface*>(this);
    case QAccessible::TableCellInterface:
        return field->table >= 0 ? static_cast<QAccessibleTableCellInterface*>(this) : nullptr;
    default:
        return nullptr;
    }
}

// --- Text ---------------------------------------------------------------------------------------

void SheetFieldAccessible::selection(int, int* startOffset, int* endOffset) const
{
    *startOffset = 0;
    *endOffset = 0;
}

QString SheetFieldAccessible::text(int startOffset, int endOffset) const
{
    const QString all = value();
    if (endOffset < 0 || endOffset > all.size())
        endOffset = int(all.size());
    startOffset = std::clamp(startOffset, 0, endOffset);
    return all.mid(startOffset, endOffset - startOffset);
}

int SheetFieldAccessible::characterCount() const { return int(value().size()); }

QRect SheetFieldAccessible::characterRect(int) const { return rect(); }

void SheetFieldAccessible::scrollToSubstring(int, int)
{
    if (const PlacedField* field = placement())
        m_canvas->ensureVisible(m_canvas->toViewport(field->rect));
}

QString SheetFieldAccessible::attributes(int offset, int* startOffset, int* endOffset) const
{
    *startOffset = 0;
    *endOffset = std::max(offset, characterCount());
    return {};
}

// --- Editing ------------------------------------------------------------------------------------

bool SheetFieldAccessible::store(const QString& text)
{
    PlacedField* field = placement();
    if (!field || !isEditable())
        return false;
    const std::optional<std::string> bytes = toCp1252Exact(text);
    const std::optional<std::string> accepted = bytes ? acceptedFieldText(*field, *bytes) : std::nullopt;
    if (!accepted || *accepted == fieldValueText(*field))
        return false;
    // An editor open on the field would write its own text over this one when it closes.
    CScriptSheetView& view = m_sheet.view();
    view.commitEditing();
    if (!isValid())
        return false;
    return storeFieldValue(view.layout(), *placement(), script::ScriptValue(*accepted));
}

void SheetFieldAccessible::deleteText(int startOffset, int endOffset)
{
    replaceText(startOffset, endOffset, {});
}

void SheetFieldAccessible::insertText(int offset, const QString& text) { replaceText(offset, offset, text); }

void SheetFieldAccessible::replaceText(int startOffset, int endOffset, const QString& text)
{
    const QString current = value();
    startOffset = std::clamp(startOffset, 0, int(current.size()));
    endOffset = std::clamp(endOffset < 0 ? int(current.size()) : endOffset, startOffset, int(current.size()));
    store(current.left(startOffset) + text + current.mid(endOffset));
}

// --- Value --------------------------------------------------------------------------------------

QVariant SheetFieldAccessible::currentValue() const { return value().toInt(); }

void SheetFieldAccessible::setCurrentValue(const QVariant& value)
{
    bool ok = false;
    const int number = value.toInt(&ok);
    if (ok)
        store(QString::number(number));
}

QVariant SheetFieldAccessible::maximumValue() const
{
    // The editor's length: three digits, or as many as the value already has.
    const int digits = std::max(3, int(value().size()));
    return int(std::min(std::pow(10.0, digits) - 1, double(std::numeric_limits<int>::max())));
}

QVariant SheetFieldAccessible::minimumValue() const { return value().startsWith(QLatin1Char('-')) ? -99 : 0; }

// --- Actions ------------------------------------------------------------------------------------

QStringList SheetFieldAccessible::actionNames() const
{
    const OutlineField* field = outlineField();
    if (!field || !isEditable())
        return {};
    switch (field->role) {
    case OutlineRole::CheckBox:
        return { toggleAction(), pressAction() };
    case OutlineRole::Choice:
    case OutlineRole::Picture:
        return { pressAction() };
    case OutlineRole::Text:
        break;
    }
    return { pressAction(), setFocusAction() };
}

void SheetFieldAccessible::doAction(const QString& actionName)
{
    const OutlineField* field = outlineField();
    if (!field || !actionNames().contains(actionName))
        return;
    if (field->role != OutlineRole::Picture) {
        m_sheet.view().activatePlacement(field->placement);
        return;
    }
    // The picture's file dialog is modal: opened later, so that the reader's request is answered
    // first instead of waiting for the dialog to close.
    QPointer<CScriptSheetView> view = &m_sheet.view();
    SheetAccessibility* sheet = &m_sheet;
    const unsigned generation = m_generation;
    const int placement = field->placement;
    QMetaObject::invokeMethod(
        view,
        [view, sheet, generation, placement] {
            if (view && sheet->generation() == generation)
                view->activatePlacement(placement);
        },
        Qt::QueuedConnection);
}

// --- Table cell ---------------------------------------------------------------------------------

QList<QAccessibleInterface*> SheetFieldAccessible::rowHeaderCells() const
{
    const OutlineField* field = outlineField();
    if (!field || field->table < 0)
        return {};
    const int header = m_sheet.outline().tables()[size_t(field->table)].rowHeaders[size_t(field->row)];
    if (header < 0 || header == m_field)
        return {};
    return { m_sheet.field(header) };
}

int SheetFieldAccessible::columnIndex() const
{
    const OutlineField* field = outlineField();
    return field ? field->column : -1;
}

int SheetFieldAccessible::rowIndex() const
{
    const OutlineField* field = outlineField();
    return field ? field->row : -1;
}

QAccessibleInterface* SheetFieldAccessible::table() const
{
    const OutlineField* field = outlineField();
    return field && field->table >= 0 ? m_sheet.table(field->table) : nullptr;
}

} // namespace vorpane
