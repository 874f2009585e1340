#include "sheet_test_support.h"

#include <QColor>
#include <cstdio>
#include <cstdlib>

namespace vorpane::test {

using script::ScriptValue;

ScriptValue TestHost::computedValue(const SheetField& field, const PlacedField*)
{
    return field.id().toInteger() == 507 ? ScriptValue(m_values.era) : ScriptValue("");
}

void TestHost::setComputedValue(const SheetField& field, const ScriptValue& value, PlacedField*)
{
    if (field.id().toInteger() == 507)
        m_values.era = value.toText();
}

void addTestFields(SheetLayout& layout, SheetValues& values)
{
    layout.addTextField("name", FieldReadable | FieldTabStop, [&values] { return &values.name; });
    layout.addNumberField("age", FieldReadable, [&values] { return &values.age; });
    layout.addTextField(
        "notes", FieldReadable | FieldWritable | FieldTabStop, [&values] { return &values.notes; });
    layout.addNumberField("checked", FieldCheckBox, [&values] { return &values.checked; });
    layout.addTextField(
        "portrait", FieldPicture | FieldReadable | FieldWritable, [&values] { return &values.portrait; });
    layout.addComputedField(507, "era", FieldReadable);
    layout.addComputedField(100, "anchor", FieldReadOnly | FieldNoHitTest);
}

namespace {

std::string numbers(std::initializer_list<long> values)
{
    std::string out;
    for (long v : values)
        out += " " + std::to_string(v);
    return out;
}

std::string rect(const SheetRect& r) { return numbers({ r.x1, r.y1, r.x2, r.y2 }); }

std::string colour(SheetColour c)
{
    char text[16];
    std::snprintf(text, sizeof text, " 0x%06x", unsigned(c));
    return text;
}

std::string quoted(const std::string& text) { return " '" + text + "'"; }

} // namespace

std::string describe(const SheetItem& item)
{
    std::string out = std::to_string(int(item.kind()));
    switch (item.kind()) {
    case SheetItemKind::Line:
    case SheetItemKind::Rectangle:
        return out + rect(static_cast<const SheetShapeItem&>(item).rect);
    case SheetItemKind::FittedPicture:
    case SheetItemKind::StretchedPicture: {
        const auto& p = static_cast<const SheetPictureItem&>(item);
        return out + rect(p.rect) + quoted(p.fileName);
    }
    case SheetItemKind::Text: {
        const auto& t = static_cast<const SheetTextItem&>(item);
        return out + numbers({ t.x, t.y }) + quoted(t.text) + numbers({ t.style });
    }
    case SheetItemKind::TextBox: {
        const auto& t = static_cast<const SheetTextBoxItem&>(item);
        return out + rect(t.rect) + quoted(t.text) + numbers({ t.style });
    }
    case SheetItemKind::FilledRectangle: {
        const auto& f = static_cast<const SheetFillItem&>(item);
        return out + rect(f.rect) + colour(f.colour);
    }
    case SheetItemKind::LineColour:
    case SheetItemKind::TextColour:
        return out + colour(static_cast<const SheetColourItem&>(item).colour);
    case SheetItemKind::FieldTextStyle:
        return out + numbers({ static_cast<const SheetTextStyleItem&>(item).style });
    case SheetItemKind::Font:
    case SheetItemKind::FontRotated: {
        const auto& f = static_cast<const SheetFontItem&>(item);
        return out + quoted(f.face) + numbers({ f.size, f.style, f.rotation });
    }
    case SheetItemKind::UserTextSize:
    case SheetItemKind::UserTextSizeRotated: {
        const auto& u = static_cast<const SheetUserTextItem&>(item);
        return out + numbers({ u.size, u.rotation });
    }
    case SheetItemKind::PlacedField: {
        const auto& p = static_cast<const PlacedField&>(item);
        return out + rect(p.rect) + " " + p.field->name();
    }
    case SheetItemKind::TableEntry: {
        const auto& t = static_cast<const TableEntry&>(item);
        return out + rect(t.rect) + " " + t.field->name() + quoted(t.value.toText());
    }
    case SheetItemKind::SheetParameter: {
        const auto& s = static_cast<const SheetParameterItem&>(item);
        return out + numbers({ s.key, s.value });
    }
    }
    return out;
}

std::string describeAll(const SheetLayout& layout)
{
    std::string out;
    for (const auto& item : layout.items())
        out += describe(*item) + "\n";
    return out;
}

QString sheetFixture(const QString& name)
{
    return qEnvironmentVariable("VORPANE_SOURCE_DIR") + "/tests/data/sheet/" + name;
}

int differingPixels(const QImage& a, const QImage& b, int threshold)
{
    if (a.size() != b.size())
        return a.width() * a.height() + 1;
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            const int d = std::max({ std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                std::abs(qBlue(p) - qBlue(q)) });
            if (d > threshold)
                ++count;
        }
    }
    return count;
}

} // namespace vorpane::test
