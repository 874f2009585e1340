#include "sheet/sheet_layout.h"

#include "platform/ui_services.h"
#include "script/member_name.h"
#include "sheet/sheet_painter.h"

namespace vorpane {

using script::ScriptValue;

// --- SheetHost defaults ------------------------------------------------------------------------

ScriptValue SheetHost::computedValue(const SheetField&, const PlacedField*) { return ScriptValue(""); }

void SheetHost::setComputedValue(const SheetField&, const ScriptValue&, PlacedField*) { }

void SheetHost::drawItem(SheetPainter& painter, SheetItem& item) { painter.drawItem(item); }

void SheetHost::beginReplay(SheetPainter&) { }

void SheetHost::bindTables(SheetLayout&) { }

void SheetHost::beforeChange(SheetField&, PlacedField*) { }

void SheetHost::afterChange(SheetField&, PlacedField*) { }

// --- SheetLayout -------------------------------------------------------------------------------

SheetLayout::SheetLayout() { m_parameterNames.emplace_back("checkboxshadowoffset", kCheckboxShadowOffset); }

SheetLayout::~SheetLayout()
{
    // Placements point into the field table: the drawing list goes first.
    clear();
}

void SheetLayout::setPageSize(int32_t width, int32_t height)
{
    m_pageWidth = width < 1 ? kMinimumPageSize : width;
    m_pageHeight = height < 1 ? kMinimumPageSize : height;
}

namespace {

size_t textBytesOf(const SheetItem& item)
{
    switch (item.kind()) {
    case SheetItemKind::FittedPicture:
    case SheetItemKind::StretchedPicture:
        return static_cast<const SheetPictureItem&>(item).fileName.size();
    case SheetItemKind::Text:
        return static_cast<const SheetTextItem&>(item).text.size();
    case SheetItemKind::TextBox:
        return static_cast<const SheetTextBoxItem&>(item).text.size();
    case SheetItemKind::Font:
    case SheetItemKind::FontRotated:
        return static_cast<const SheetFontItem&>(item).face.size();
    default:
        return 0;
    }
}

} // namespace

SheetItem* SheetLayout::append(std::unique_ptr<SheetItem> item)
{
    if (!item || isFull() || textBytesOf(*item) > kMaxSheetTextBytes - m_textBytes)
        return nullptr;
    return appendUnlimited(std::move(item));
}

SheetItem* SheetLayout::appendUnlimited(std::unique_ptr<SheetItem> item)
{
    if (!item)
        return nullptr;
    SheetItem* raw = item.get();
    m_textBytes += textBytesOf(*raw);
    if (raw->kind() == SheetItemKind::PlacedField || raw->kind() == SheetItemKind::TableEntry) {
        m_placed.push_back(static_cast<PlacedField*>(raw));
    }
    m_items.push_back(std::move(item));
    return raw;
}

void SheetLayout::clear()
{
    m_placed.clear();
    m_items.clear();
    m_textBytes = 0;
}

PlacedField* SheetLayout::placeField(const SheetRect& rect, const ScriptValue& id)
{
    SheetField* field = findField(id);
    if (!field)
        return nullptr;
    return static_cast<PlacedField*>(append(std::make_unique<PlacedField>(rect, *field)));
}

TableEntry* SheetLayout::placeTableEntry(
    const SheetRect& rect, const ScriptValue& id, const ScriptValue& value)
{
    SheetField* field = findField(id);
    if (!field)
        return nullptr;
    if (!field->canBeTableEntry()) {
        showMessage(field->name() + " cannot be placed in a table", {}, MsgIcon::None);
        return nullptr;
    }
    return static_cast<TableEntry*>(append(std::make_unique<TableEntry>(rect, *field, value.deref())));
}

int32_t SheetLayout::sheetParameter(int32_t key, int32_t defaultValue) const
{
    for (const auto& item : m_items) {
        if (item->kind() != SheetItemKind::SheetParameter)
            continue;
        const auto& parameter = static_cast<const SheetParameterItem&>(*item);
        if (parameter.key == key)
            return parameter.value;
    }
    return defaultValue;
}

SheetField& SheetLayout::addField(std::unique_ptr<SheetField> field)
{
    m_fields.push_back(std::move(field));
    return *m_fields.back();
}

SheetField& SheetLayout::addTextField(
    std::string name, FieldFlags flags, TextAccessor text, std::string optionListName)
{
    int32_t id = takeAutomaticId();
    return addField(
        std::make_unique<TextField>(std::move(name), id, flags, std::move(optionListName), std::move(text)));
}

SheetField& SheetLayout::addNumberField(std::string name, FieldFlags flags, NumberAccessor number)
{
    int32_t id = takeAutomaticId();
    return addField(std::make_unique<NumberField>(std::move(name), id, flags, std::move(number)));
}

SheetField& SheetLayout::addComputedField(
    int32_t id, std::string name, FieldFlags flags, std::string optionListName)
{
    return addField(
        std::make_unique<ComputedField>(*this, std::move(name), id, flags, std::move(optionListName)));
}

SheetField* SheetLayout::findField(const ScriptValue& id) const
{
    for (const auto& field : m_fields) {
        if (field->hasId(id))
            return field.get();
    }
    return nullptr;
}

SheetField* SheetLayout::findFieldByName(const std::string& name) const
{
    for (const auto& field : m_fields) {
        if (script::sameName(field->name(), name))
            return field.get();
    }
    return nullptr;
}

int32_t SheetLayout::hitTest(int32_t x, int32_t y) const
{
    for (size_t i = 0; i < m_placed.size(); ++i) {
        const PlacedField& placement = *m_placed[i];
        if (!placement.field->hasFlag(FieldNoHitTest) && placement.rect.containsStrictly(x, y))
            return int32_t(i);
    }
    return -1;
}

int32_t SheetLayout::moveToNextField(bool forward)
{
    const int32_t count = int32_t(m_placed.size());
    int32_t index = currentField >= 0 && currentField < count ? currentField : (forward ? -1 : count);
    currentField = -1;
    for (int32_t step = 0; step < count; ++step) {
        index = forward ? (index + 1) % count : (index - 1 + count) % count;
        const PlacedField& placement = *m_placed[size_t(index)];
        if (placement.field->hasFlag(FieldTabStop) && placement.enabled && !placement.isTableEntry()) {
            currentField = index;
            break;
        }
    }
    return currentField;
}

void SheetLayout::addSheetParameterName(std::string name, int32_t key)
{
    m_parameterNames.emplace_back(std::move(name), key);
}

} // namespace vorpane
