#include "sheet/sheet_object.h"

#include "platform/ui_services.h"
#include "script/error_line.h"
#include "script/error_titles.h"
#include "script/member_name.h"
#include "sheet/font_families.h"
#include "sheet/sheet_layout.h"

#include <cmath>
#include <limits>
#include <memory>

namespace vorpane {

using script::ScriptValue;

namespace {

enum class Member {
    SheetSize,
    DrawLine,
    DrawPicture,
    StretchPicture,
    DrawRectangle,
    DrawText,
    DrawTextBox,
    FillRectangle,
    SetLineColour,
    SetTextColour,
    SetFieldTextStyle,
    SetFont,
    SetFontRotated,
    AddField,
    AddTableEntry,
    SetUserTextSize,
    SetUserTextSizeRotate,
    SetSheetParameter,
    FindValidFont,
};

struct MemberEntry {
    const char* name;
    Member member;
    int argCount;
    const char* parameters;
};

// In the order of the object's own table.
constexpr MemberEntry kMembers[] = {
    { "sheetsize", Member::SheetSize, 2, "width, height" },
    { "drawline", Member::DrawLine, 4, "x1, y1, x2, y2" },
    { "drawpicture", Member::DrawPicture, 5, "x1, y1, x2, y2, file" },
    { "stretchpicture", Member::StretchPicture, 5, "x1, y1, x2, y2, file" },
    { "drawrectangle", Member::DrawRectangle, 4, "x1, y1, x2, y2" },
    { "drawtext", Member::DrawText, 4, "x, y, text, style" },
    { "drawtextbox", Member::DrawTextBox, 6, "x1, y1, x2, y2, text, style" },
    { "fillrectangle", Member::FillRectangle, 5, "x1, y1, x2, y2, colour" },
    { "setlinecolour", Member::SetLineColour, 1, "colour" },
    { "setlinecolor", Member::SetLineColour, 1, "colour" },
    { "settextcolour", Member::SetTextColour, 1, "colour" },
    { "settextcolor", Member::SetTextColour, 1, "colour" },
    { "setfieldtextstyle", Member::SetFieldTextStyle, 1, "style" },
    { "setfont", Member::SetFont, 3, "face, size, fontstyle" },
    { "setfontrotated", Member::SetFontRotated, 4, "face, size, fontstyle, angle" },
    { "addfield", Member::AddField, 5, "x1, y1, x2, y2, id" },
    { "addtableentry", Member::AddTableEntry, 6, "x1, y1, x2, y2, id, value" },
    { "setusertextsize", Member::SetUserTextSize, 1, "size" },
    { "setusertextsizerotate", Member::SetUserTextSizeRotate, 2, "size, angle" },
    { "setsheetparameter", Member::SetSheetParameter, 2, "key, value" },
    { "findvalidfont", Member::FindValidFont, 1, "prefix" },
};

struct Constant {
    const char* name;
    int32_t value;
};

constexpr Constant kConstants[] = {
    { "fontnormal", FontNormal },
    { "fontbold", FontBold },
    { "fontitalic", FontItalic },
    { "fontunderline", FontUnderline },
    { "fontstrikethrough", FontStrikethrough },
    { "textnormal", TextNormal },
    { "alignleft", AlignLeft },
    { "alignright", AlignRight },
    { "aligncenter", AlignCenter },
    { "textmultiline", TextMultiline },
    { "textclipped", TextClipped },
    { "fieldunderline", FieldUnderline },
    { "usertext", UserText },
    { "checkboxshadowoffset", kCheckboxShadowOffset },
    { "shortsheet", kShortSheet },
    { "showcorefirearms", kShowCoreFirearms },
    { "showbasepercent", kShowBasePercent },
};

// Scales and truncates toward zero; values past the integer range stop at its ends, not-a-number is 0.
int32_t scaled(double value, double factor)
{
    double v = std::trunc(value * factor);
    if (std::isnan(v))
        return 0;
    constexpr double kLow = double(std::numeric_limits<int32_t>::min() + 1);
    constexpr double kHigh = double(std::numeric_limits<int32_t>::max());
    return int32_t(v < kLow ? kLow : v > kHigh ? kHigh : v);
}

constexpr double kUnitsPerMm = 100.0;
constexpr double kTenths = 10.0;

int32_t xUnits(const ScriptValue& v) { return scaled(v.toFloat(), kUnitsPerMm); }

// Script y grows downwards; the layout's y points up.
int32_t yUnits(const ScriptValue& v) { return scaled(-v.toFloat(), kUnitsPerMm); }

SheetRect rectangle(const ScriptValue* args)
{
    return { xUnits(args[0]), yUnits(args[1]), xUnits(args[2]), yUnits(args[3]) };
}

int32_t tenths(const ScriptValue& v) { return scaled(v.toFloat(), kTenths); }

SheetColour colour(const ScriptValue& v) { return colourFromScript(v.toUnsigned()); }

const MemberEntry* findMemberEntry(const std::string& name)
{
    for (const MemberEntry& def : kMembers) {
        if (script::sameName(name, def.name))
            return &def;
    }
    return nullptr;
}

} // namespace

SheetObject::SheetObject(SheetLayout& layout)
    : m_layout(&layout)
{
    for (const Constant& constant : kConstants) {
        ScriptValue& slot = m_constants.emplace_back(constant.value);
        slot.setReadOnly(true);
    }
}

ScriptValue* SheetObject::findMember(const std::string& name)
{
    for (size_t i = 0; i < std::size(kConstants); ++i) {
        if (script::sameName(name, kConstants[i].name))
            return &m_constants[i];
    }
    if (!m_layout)
        return nullptr;
    const auto& names = m_layout->sheetParameterNames();
    for (size_t i = 0; i < names.size(); ++i) {
        if (!script::sameName(name, names[i].first))
            continue;
        while (m_parameters.size() <= i)
            m_parameters.emplace_back();
        // A script may have assigned to it; every read starts from the key again.
        m_parameters[i] = ScriptValue(names[i].second);
        return &m_parameters[i];
    }
    return nullptr;
}

int SheetObject::reportFull()
{
    showMessage("The sheet is too large: at most " + std::to_string(kMaxSheetItems) + " items and "
            + std::to_string(kMaxSheetTextBytes / (1024 * 1024)) + " MB of text",
        script::kScriptErrorTitle, MsgIcon::Error);
    return script::CallReported;
}

int SheetObject::callMember(const std::string& name, ScriptValue* args, int argCount, ScriptValue& result)
{
    const MemberEntry* def = findMemberEntry(name);
    if (!def || !m_layout)
        return script::CallNotFound;
    if (argCount < def->argCount)
        return script::CallTooFew;
    if (argCount > def->argCount)
        return script::CallTooMany;

    SheetLayout& layout = *m_layout;
    const size_t itemsBefore = layout.itemCount();
    bool appends = def->member != Member::SheetSize && def->member != Member::FindValidFont;
    if (appends && layout.isFull())
        return reportFull();
    std::unique_ptr<SheetItem> item;
    switch (def->member) {
    case Member::SheetSize:
        layout.setPageSize(scaled(args[0].toFloat(), kUnitsPerMm), scaled(args[1].toFloat(), kUnitsPerMm));
        return script::CallOk;
    case Member::FindValidFont:
        result = ScriptValue(findValidFont(args[0].toText()));
        return script::CallOk;
    case Member::AddField:
        layout.placeField(rectangle(args), args[4]);
        break;
    case Member::AddTableEntry:
        layout.placeTableEntry(rectangle(args), args[4], args[5]);
        break;
    case Member::DrawLine:
        item = std::make_unique<SheetShapeItem>(SheetItemKind::Line, rectangle(args));
        break;
    case Member::DrawRectangle:
        item = std::make_unique<SheetShapeItem>(SheetItemKind::Rectangle, rectangle(args));
        break;
    case Member::DrawPicture:
        item = std::make_unique<SheetPictureItem>(
            SheetItemKind::FittedPicture, rectangle(args), args[4].toText());
        break;
    case Member::StretchPicture:
        item = std::make_unique<SheetPictureItem>(
            SheetItemKind::StretchedPicture, rectangle(args), args[4].toText());
        break;
    case Member::DrawText:
        item = std::make_unique<SheetTextItem>(
            xUnits(args[0]), yUnits(args[1]), args[2].toText(), args[3].toInteger());
        break;
    case Member::DrawTextBox:
        item = std::make_unique<SheetTextBoxItem>(rectangle(args), args[4].toText(), args[5].toInteger());
        break;
    case Member::FillRectangle:
        item = std::make_unique<SheetFillItem>(rectangle(args), colour(args[4]));
        break;
    case Member::SetLineColour:
        item = std::make_unique<SheetColourItem>(SheetItemKind::LineColour, colour(args[0]));
        break;
    case Member::SetTextColour:
        item = std::make_unique<SheetColourItem>(SheetItemKind::TextColour, colour(args[0]));
        break;
    case Member::SetFieldTextStyle:
        item = std::make_unique<SheetTextStyleItem>(args[0].toInteger());
        break;
    case Member::SetFont:
        item = std::make_unique<SheetFontItem>(
            SheetItemKind::Font, args[0].toText(), tenths(args[1]), args[2].toInteger(), 0);
        break;
    case Member::SetFontRotated:
        item = std::make_unique<SheetFontItem>(SheetItemKind::FontRotated, args[0].toText(), tenths(args[1]),
            args[2].toInteger(), tenths(args[3]));
        break;
    case Member::SetUserTextSize:
        item = std::make_unique<SheetUserTextItem>(SheetItemKind::UserTextSize, tenths(args[0]), 0);
        break;
    case Member::SetUserTextSizeRotate:
        item = std::make_unique<SheetUserTextItem>(
            SheetItemKind::UserTextSizeRotated, tenths(args[0]), tenths(args[1]));
        break;
    case Member::SetSheetParameter: {
        int32_t key = args[0].toInteger();
        int32_t value
            = key == kCheckboxShadowOffset ? scaled(args[1].toFloat(), kUnitsPerMm) : args[1].toInteger();
        item = std::make_unique<SheetParameterItem>(key, value);
        break;
    }
    }
    if (item && !layout.append(std::move(item)))
        return reportFull();
    for (size_t i = itemsBefore; i < layout.itemCount(); ++i)
        layout.items()[i]->line = script::memberCallLine();
    return script::CallOk;
}

script::HostMemberList SheetObject::memberList()
{
    script::HostMemberList list;
    for (const MemberEntry& def : kMembers)
        list.push_back({ def.name, script::HostMemberKind::Function, def.parameters });
    for (const Constant& constant : kConstants)
        list.push_back({ constant.name, script::HostMemberKind::Variable, {} });
    return list;
}

} // namespace vorpane
