#pragma once
// SheetField: one value a sheet can show and edit, reached by scripts as a property of the
// `field` object (name -> id) and placed on the page by `sheet.addfield`. The field table of a
// view is a list of these; the investigator and handout tables register theirs at first display.
//
// Three bindings exist: a text of the document, an integer of the document, and a computed
// value that the view's SheetHost reads and writes by id. Text and number fields reach their
// storage through an accessor called at each use, so a document that replaces its data (undo)
// never leaves a field pointing at freed memory; an accessor that returns null reads as empty
// and ignores writes.

#include "script/script_value.h"

#include <cstdint>
#include <functional>
#include <string>

namespace vorpane {

class PlacedField;
class SheetLayout;

// FieldFlags: one byte of bits.
using FieldFlags = uint8_t;
enum : FieldFlags {
    FieldReadOnly = 0x01, // clicks do nothing on the sheet
    FieldReadable = 0x02, // getfieldvalue may read it
    FieldWritable = 0x04, // setfieldvalue may write it
    FieldTabStop = 0x08,
    FieldNoHitTest = 0x10, // clicks pass through (table anchors)
    FieldRecalculates = 0x20, // a change recalculates the document's derived values
    FieldCheckBox = 0x40,
    FieldPicture = 0x80, // the value is a picture file name
};

// Fields whose flags byte is this or more (check boxes, pictures) cannot be table entries.
constexpr FieldFlags kFirstUntabulatedFlags = FieldCheckBox;

enum class FieldBinding { Text, Number, Computed };

using TextAccessor = std::function<std::string*()>;
using NumberAccessor = std::function<int*()>;

class SheetField {
public:
    SheetField(std::string name, script::ScriptValue id, FieldFlags flags, std::string optionListName);
    virtual ~SheetField() = default;
    SheetField(const SheetField&) = delete;
    SheetField& operator=(const SheetField&) = delete;

    const std::string& name() const { return m_name; }
    const script::ScriptValue& id() const { return m_id; }
    FieldFlags flags() const { return m_flags; }
    bool hasFlag(FieldFlags flag) const { return (m_flags & flag) != 0; }
    bool isCheckBox() const { return hasFlag(FieldCheckBox); }
    bool isPicture() const { return hasFlag(FieldPicture); }
    bool canBeTableEntry() const { return m_flags < kFirstUntabulatedFlags; }
    const std::string& optionListName() const { return m_optionListName; }

    virtual FieldBinding binding() const = 0;
    // The value shown by `placement` (null when asked from a script): a String for text and
    // picture fields, an Integer for number fields and check boxes.
    virtual script::ScriptValue value(const PlacedField* placement) const = 0;
    // Stores the string or integer conversion of `value`. Conversion errors leave the value as it was.
    virtual void setValue(const script::ScriptValue& value, PlacedField* placement) = 0;

    // Compares the id by the script's equality rule.
    bool hasId(const script::ScriptValue& id) const;

private:
    std::string m_name;
    script::ScriptValue m_id;
    FieldFlags m_flags;
    std::string m_optionListName;
};

class TextField final : public SheetField {
public:
    TextField(std::string name, int32_t id, FieldFlags flags, std::string optionListName, TextAccessor text);
    FieldBinding binding() const override { return FieldBinding::Text; }
    script::ScriptValue value(const PlacedField* placement) const override;
    void setValue(const script::ScriptValue& value, PlacedField* placement) override;

private:
    TextAccessor m_text;
};

class NumberField final : public SheetField {
public:
    NumberField(std::string name, int32_t id, FieldFlags flags, NumberAccessor number);
    FieldBinding binding() const override { return FieldBinding::Number; }
    script::ScriptValue value(const PlacedField* placement) const override;
    void setValue(const script::ScriptValue& value, PlacedField* placement) override;

private:
    NumberAccessor m_number;
};

// Asks the layout's SheetHost; without a host it reads "" and ignores writes.
class ComputedField final : public SheetField {
public:
    ComputedField(const SheetLayout& layout, std::string name, int32_t id, FieldFlags flags,
        std::string optionListName);
    FieldBinding binding() const override { return FieldBinding::Computed; }
    script::ScriptValue value(const PlacedField* placement) const override;
    void setValue(const script::ScriptValue& value, PlacedField* placement) override;

private:
    const SheetLayout& m_layout;
};

} // namespace vorpane
