#pragma once
// The handout sheet: fields text0 ... text49 (readable, writable, Tab stops) and picture0 ...
// picture4 (pictures, readable, writable) over a handout document, with automatic ids continuing
// the layout's counter (text0 = -1 ... picture4 = -55 on a fresh layout). A script's setfieldvalue
// stores into the document directly: no undo step, no modified mark. Changes made on the sheet go
// through the document's hooks.

#include "sheet/sheet_layout.h"

namespace vorpane {

class HandoutSheetModel;

constexpr FieldFlags kHandoutTextFlags = FieldReadable | FieldWritable | FieldTabStop;
constexpr FieldFlags kHandoutPictureFlags = FieldPicture | FieldReadable | FieldWritable;

class HandoutSheet final : public SheetHost {
public:
    // Registers the fields and installs itself as the layout's host.
    HandoutSheet(SheetLayout& layout, HandoutSheetModel& document);
    ~HandoutSheet() override;

    HandoutSheetModel& document() { return m_document; }

    void beforeChange(SheetField& field, PlacedField* placement) override;
    void afterChange(SheetField& field, PlacedField* placement) override;

private:
    SheetLayout& m_layout;
    HandoutSheetModel& m_document;
};

} // namespace vorpane
