#pragma once
// SheetLayout: what a sheet view shows. The page size and the ordered drawing list that the last
// sheet-script run produced, the placed list (the placements of that list, in order, for
// hit-testing, Tab and table binding), the field table (built once per view) and the names of
// the sheet parameters that scripts read from `sheet`.
//
// SheetHost is how the view kind takes part: computed field values, its own drawing of some
// items (the investigator's table rows), table binding after a run, and the change hooks.

#include "script/script_value.h"
#include "sheet/sheet_field.h"
#include "sheet/sheet_item.h"

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vorpane {

class SheetPainter;

// Keys of setsheetparameter.
enum SheetParameterKey : int32_t {
    kCheckboxShadowOffset = 1, // 0.01 mm
    kShortSheet = 700, // investigator sheets
    kShowCoreFirearms = 701,
    kShowBasePercent = 702,
};

// A page of 100 x 100 mm before any sheetsize.
constexpr int32_t kDefaultPageSize = 10000;
// What a page size below one unit becomes (1 mm).
constexpr int32_t kMinimumPageSize = 100;
// Items a script may append to one layout. A runaway script stops there (the run fails and the
// error page shows) instead of eating memory: some 30 MB of items at most.
constexpr size_t kMaxSheetItems = 250000;
// Bytes of text (texts, file names, faces) the items of one layout may hold; each item keeps its
// own copy, so a script drawing one huge text many times would otherwise multiply it.
constexpr size_t kMaxSheetTextBytes = size_t(64) * 1024 * 1024;

class SheetHost {
public:
    virtual ~SheetHost() = default;

    // Value of a computed field; `placement` is null when a script asks.
    virtual script::ScriptValue computedValue(const SheetField& field, const PlacedField* placement);
    virtual void setComputedValue(
        const SheetField& field, const script::ScriptValue& value, PlacedField* placement);

    // Draws one item of the list; the default is the painter's own drawing.
    virtual void drawItem(SheetPainter& painter, SheetItem& item);
    // Called at the start of every replay, before the first item.
    virtual void beginReplay(SheetPainter& painter);

    // After every script run (also a failed one), before the page is shown.
    virtual void bindTables(SheetLayout& layout);

    // Around a change that the sheet makes to a field (editor commit, check box, picture, table entry).
    virtual void beforeChange(SheetField& field, PlacedField* placement);
    virtual void afterChange(SheetField& field, PlacedField* placement);
};

class SheetLayout {
public:
    SheetLayout();
    ~SheetLayout();
    SheetLayout(const SheetLayout&) = delete;
    SheetLayout& operator=(const SheetLayout&) = delete;

    // --- Page ---------------------------------------------------------------------------------
    int32_t pageWidth() const { return m_pageWidth; }
    int32_t pageHeight() const { return m_pageHeight; }
    // Sheet units; a size below 1 becomes kMinimumPageSize.
    void setPageSize(int32_t width, int32_t height);
    void resetPageSize() { setPageSize(kDefaultPageSize, kDefaultPageSize); }

    // --- Drawing list -------------------------------------------------------------------------
    const std::vector<std::unique_ptr<SheetItem>>& items() const { return m_items; }
    const std::vector<PlacedField*>& placed() const { return m_placed; }
    size_t itemCount() const { return m_items.size(); }
    bool isFull() const { return m_items.size() >= kMaxSheetItems; }
    size_t textBytes() const { return m_textBytes; }
    // Appends (placements also to the placed list); the item is dropped when the list is full
    // or its text would pass kMaxSheetTextBytes. Returns the item appended, or null.
    SheetItem* append(std::unique_ptr<SheetItem> item);
    // The same without the limit (the error page must always fit).
    SheetItem* appendUnlimited(std::unique_ptr<SheetItem> item);
    // Destroys the drawing list and empties the placed list; the field table stays.
    void clear();

    // Places the field with that id; null (nothing appended) when no field has it.
    PlacedField* placeField(const SheetRect& rect, const script::ScriptValue& id);
    // Null when no field has the id, or (after the message "<name> cannot be placed in a table")
    // when the field is a check box or a picture.
    TableEntry* placeTableEntry(
        const SheetRect& rect, const script::ScriptValue& id, const script::ScriptValue& value);

    // Value of the first kind-18 item with that key, else `defaultValue`.
    int32_t sheetParameter(int32_t key, int32_t defaultValue) const;

    // --- Field table --------------------------------------------------------------------------
    const std::vector<std::unique_ptr<SheetField>>& fields() const { return m_fields; }
    // Text and number fields take the next automatic id (-1, -2, ...).
    SheetField& addTextField(
        std::string name, FieldFlags flags, TextAccessor text, std::string optionListName = {});
    SheetField& addNumberField(std::string name, FieldFlags flags, NumberAccessor number);
    SheetField& addComputedField(
        int32_t id, std::string name, FieldFlags flags, std::string optionListName = {});
    // Any other kind of field, with the id it was made with.
    SheetField& addField(std::unique_ptr<SheetField> field);
    // Takes the next automatic id for a field made by the caller.
    int32_t takeAutomaticId() { return m_nextAutomaticId--; }
    int32_t nextAutomaticId() const { return m_nextAutomaticId; }

    // First field whose id equals `id` (script equality), or null.
    SheetField* findField(const script::ScriptValue& id) const;
    // First field with that name, case ignored, or null.
    SheetField* findFieldByName(const std::string& name) const;

    // --- Sheet parameters -------------------------------------------------------------------
    // Names scripts read from `sheet`; "checkboxshadowoffset" -> 1 is always there.
    const std::vector<std::pair<std::string, int32_t>>& sheetParameterNames() const
    {
        return m_parameterNames;
    }
    void addSheetParameterName(std::string name, int32_t key);

    // --- View state ---------------------------------------------------------------------------
    // Index into the placed list of the field Tab reached last, -1 for none.
    int32_t currentField = -1;

    // The first placement whose field takes clicks (no FieldNoHitTest) and whose rectangle holds
    // the point strictly inside; -1 for none.
    int32_t hitTest(int32_t x, int32_t y) const;
    // Tab (forward) or Shift+Tab from the current field, wrapping once round the placed list:
    // the next enabled placement of a Tab-stop field that is not a table entry, or -1. Makes
    // it the current field.
    int32_t moveToNextField(bool forward);

    SheetHost* host() const { return m_host; }
    void setHost(SheetHost* host) { m_host = host; }

private:
    int32_t m_pageWidth = kDefaultPageSize;
    int32_t m_pageHeight = kDefaultPageSize;
    std::vector<std::unique_ptr<SheetItem>> m_items;
    std::vector<PlacedField*> m_placed;
    size_t m_textBytes = 0;
    std::vector<std::unique_ptr<SheetField>> m_fields;
    int32_t m_nextAutomaticId = -1;
    std::vector<std::pair<std::string, int32_t>> m_parameterNames;
    SheetHost* m_host = nullptr;
};

} // namespace vorpane
