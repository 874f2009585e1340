#pragma once
// SheetItem: one entry of a sheet layout's drawing list, appended by one call of the sheet script
// object and replayed in list order by SheetPainter. Each kind is its own small class; the kind
// number is the one scripts and the view agree on. Coordinates are sheet units (sheet_item_types.h).

#include "script/script_value.h"
#include "sheet/sheet_item_types.h"

#include <cstdint>
#include <string>

namespace vorpane {

class SheetField;
struct SkillEntry;

enum class SheetItemKind : int32_t {
    Line = 2,
    FittedPicture = 3,
    StretchedPicture = 4,
    Rectangle = 5,
    Text = 6,
    TextBox = 7,
    FilledRectangle = 8,
    LineColour = 9,
    TextColour = 10,
    FieldTextStyle = 11,
    Font = 12,
    FontRotated = 13,
    UserTextSize = 14,
    UserTextSizeRotated = 15,
    PlacedField = 16,
    TableEntry = 17,
    SheetParameter = 18,
};

class SheetItem {
public:
    explicit SheetItem(SheetItemKind kind)
        : m_kind(kind)
    {
    }
    virtual ~SheetItem() = default;
    SheetItem(const SheetItem&) = delete;
    SheetItem& operator=(const SheetItem&) = delete;

    SheetItemKind kind() const { return m_kind; }

    // The script line whose call made the item (0 when unknown): an editor goes there from the page.
    int32_t line = 0;

private:
    SheetItemKind m_kind;
};

// Kinds 2 (line from (x1, y1) to (x2, y2)) and 5 (hollow rectangle).
class SheetShapeItem final : public SheetItem {
public:
    SheetShapeItem(SheetItemKind kind, const SheetRect& rect)
        : SheetItem(kind)
        , rect(rect)
    {
    }
    SheetRect rect;
};

// Kinds 3 (fitted, aspect ratio kept, centred) and 4 (stretched).
class SheetPictureItem final : public SheetItem {
public:
    SheetPictureItem(SheetItemKind kind, const SheetRect& rect, std::string fileName)
        : SheetItem(kind)
        , rect(rect)
        , fileName(std::move(fileName))
    {
    }
    SheetRect rect;
    std::string fileName;
};

// Kind 6: a text at one point, drawn as a text box whose rectangle is that point.
class SheetTextItem final : public SheetItem {
public:
    SheetTextItem(int32_t x, int32_t y, std::string text, TextStyle style)
        : SheetItem(SheetItemKind::Text)
        , x(x)
        , y(y)
        , text(std::move(text))
        , style(style)
    {
    }
    int32_t x;
    int32_t y;
    std::string text;
    TextStyle style;
};

// Kind 7.
class SheetTextBoxItem final : public SheetItem {
public:
    SheetTextBoxItem(const SheetRect& rect, std::string text, TextStyle style)
        : SheetItem(SheetItemKind::TextBox)
        , rect(rect)
        , text(std::move(text))
        , style(style)
    {
    }
    SheetRect rect;
    std::string text;
    TextStyle style;
};

// Kind 8: filled and outlined in its colour.
class SheetFillItem final : public SheetItem {
public:
    SheetFillItem(const SheetRect& rect, SheetColour colour)
        : SheetItem(SheetItemKind::FilledRectangle)
        , rect(rect)
        , colour(colour)
    {
    }
    SheetRect rect;
    SheetColour colour;
};

// Kinds 9 (line colour) and 10 (text colour).
class SheetColourItem final : public SheetItem {
public:
    SheetColourItem(SheetItemKind kind, SheetColour colour)
        : SheetItem(kind)
        , colour(colour)
    {
    }
    SheetColour colour;
};

// Kind 11: the TextStyle of the fields placed after it.
class SheetTextStyleItem final : public SheetItem {
public:
    explicit SheetTextStyleItem(TextStyle style)
        : SheetItem(SheetItemKind::FieldTextStyle)
        , style(style)
    {
    }
    TextStyle style;
};

// Kinds 12 and 13. Size in tenths of a point, rotation in tenths of a degree (0 for kind 12).
class SheetFontItem final : public SheetItem {
public:
    SheetFontItem(SheetItemKind kind, std::string face, int32_t size, FontStyle style, int32_t rotation)
        : SheetItem(kind)
        , face(std::move(face))
        , size(size)
        , style(style)
        , rotation(rotation)
    {
    }
    std::string face;
    int32_t size;
    FontStyle style;
    int32_t rotation;
};

// Kinds 14 and 15: the user-text font's size (tenths of a point) and rotation (tenths of a degree).
class SheetUserTextItem final : public SheetItem {
public:
    SheetUserTextItem(SheetItemKind kind, int32_t size, int32_t rotation)
        : SheetItem(kind)
        , size(size)
        , rotation(rotation)
    {
    }
    int32_t size;
    int32_t rotation;
};

// Kind 18.
class SheetParameterItem final : public SheetItem {
public:
    SheetParameterItem(int32_t key, int32_t value)
        : SheetItem(SheetItemKind::SheetParameter)
        , key(key)
        , value(value)
    {
    }
    int32_t key;
    int32_t value;
};

// What a placement shows; table binding sets it.
enum class RowState : int32_t { Empty = 0, Normal = 1, Heading = 2 };

// The painter's state when a placement was last drawn; the field editor matches its look.
struct CapturedContext {
    const SheetFontItem* font = nullptr; // the current font item, none before the first setfont
    SheetColour textColour = kColourBlack;
    TextStyle fieldTextStyle = TextNormal;
    int32_t userTextSize = 100;
    int32_t userTextRotation = 0;
};

// Kind 16: a SheetField placed in a rectangle. Also the base of TableEntry.
class PlacedField : public SheetItem {
public:
    PlacedField(const SheetRect& rect, SheetField& field);

    bool isTableEntry() const { return kind() == SheetItemKind::TableEntry; }

    SheetRect rect;
    SheetField* field; // lives in the layout's field table, which outlives every placement
    int32_t enabled = 1; // a disabled placement ignores clicks and is skipped by Tab
    RowState rowState = RowState::Normal;
    SkillEntry* boundEntry = nullptr; // set by table binding
    std::string optionListName; // copied from the field; table binding may replace it
    CapturedContext context; // refreshed every time the placement is drawn

protected:
    PlacedField(SheetItemKind kind, const SheetRect& rect, SheetField& field);
};

// Kind 17: circles its rectangle while the field's value equals `value`; a click sets the field to it.
class TableEntry final : public PlacedField {
public:
    TableEntry(const SheetRect& rect, SheetField& field, script::ScriptValue value);
    script::ScriptValue value;
};

} // namespace vorpane
