#include "sheet/sheet_field.h"

#include "sheet/sheet_layout.h"

namespace vorpane {

using script::ScriptValue;

namespace {

// Script equality can raise (a text past the length limit); such values are simply not equal.
bool scriptEquals(const ScriptValue& left, const ScriptValue& right)
{
    try {
        return script::binaryOperation(script::BinaryOp::Equal, left, right).toInteger() != 0;
    } catch (const script::ScriptError&) {
        return false;
    }
}

} // namespace

SheetField::SheetField(std::string name, ScriptValue id, FieldFlags flags, std::string optionListName)
    : m_name(std::move(name))
    , m_id(std::move(id))
    , m_flags(flags)
    , m_optionListName(std::move(optionListName))
{
}

bool SheetField::hasId(const ScriptValue& id) const { return scriptEquals(id, m_id); }

TextField::TextField(
    std::string name, int32_t id, FieldFlags flags, std::string optionListName, TextAccessor text)
    : SheetField(std::move(name), ScriptValue(id), flags, std::move(optionListName))
    , m_text(std::move(text))
{
}

ScriptValue TextField::value(const PlacedField*) const
{
    const std::string* text = m_text ? m_text() : nullptr;
    return ScriptValue(text ? std::string_view(*text) : std::string_view());
}

void TextField::setValue(const ScriptValue& value, PlacedField*)
{
    std::string* text = m_text ? m_text() : nullptr;
    if (!text)
        return;
    try {
        *text = value.toText();
    } catch (const script::ScriptError&) {
    }
}

NumberField::NumberField(std::string name, int32_t id, FieldFlags flags, NumberAccessor number)
    : SheetField(std::move(name), ScriptValue(id), flags, {})
    , m_number(std::move(number))
{
}

ScriptValue NumberField::value(const PlacedField*) const
{
    const int* number = m_number ? m_number() : nullptr;
    return ScriptValue(int32_t(number ? *number : 0));
}

void NumberField::setValue(const ScriptValue& value, PlacedField*)
{
    int* number = m_number ? m_number() : nullptr;
    if (!number)
        return;
    try {
        *number = value.toInteger();
    } catch (const script::ScriptError&) {
    }
}

ComputedField::ComputedField(
    const SheetLayout& layout, std::string name, int32_t id, FieldFlags flags, std::string optionListName)
    : SheetField(std::move(name), ScriptValue(id), flags, std::move(optionListName))
    , m_layout(layout)
{
}

ScriptValue ComputedField::value(const PlacedField* placement) const
{
    SheetHost* host = m_layout.host();
    return host ? host->computedValue(*this, placement) : ScriptValue("");
}

void ComputedField::setValue(const ScriptValue& value, PlacedField* placement)
{
    if (SheetHost* host = m_layout.host())
        host->setComputedValue(*this, value, placement);
}

} // namespace vorpane
