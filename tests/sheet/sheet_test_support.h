#pragma once
// Shared by the sheet tests: a small field table over plain values, a host for its computed
// fields, a text form of layout items for exact assertions, and pixel helpers.

#include "sheet/sheet_layout.h"

#include <QImage>
#include <QString>
#include <string>

namespace vorpane::test {

// The values behind the test field table.
struct SheetValues {
    std::string name = "Ada Crane";
    int age = 31;
    std::string notes;
    int checked = 5;
    std::string portrait;
    std::string era = "1920";
};

// Computed field 507 ("era") reads and writes SheetValues::era.
class TestHost final : public SheetHost {
public:
    explicit TestHost(SheetValues& values)
        : m_values(values)
    {
    }
    script::ScriptValue computedValue(const SheetField& field, const PlacedField* placement) override;
    void setComputedValue(
        const SheetField& field, const script::ScriptValue& value, PlacedField* placement) override;
    int bindCount = 0;
    void bindTables(SheetLayout&) override { ++bindCount; }

private:
    SheetValues& m_values;
};

// name (-1, readable, Tab), age (-2, readable), notes (-3, readable and writable), checked
// (-4, check box, not readable by scripts), portrait (-5, picture), era (507, computed, readable),
// anchor (100, not hit-tested).
void addTestFields(SheetLayout& layout, SheetValues& values);

// "2 1000 -2000 3000 -2000", "9 0x0000ff", "6 550 -725 'x' 9", ...
std::string describe(const SheetItem& item);
// Every item, one per line.
std::string describeAll(const SheetLayout& layout);

// Path of a fixture under tests/data/sheet.
QString sheetFixture(const QString& name);

// Pixels whose largest channel difference is above `threshold`.
int differingPixels(const QImage& a, const QImage& b, int threshold);

} // namespace vorpane::test
