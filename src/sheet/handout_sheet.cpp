#include "sheet/handout_sheet.h"

#include "sheet/handout_sheet_model.h"

#include <cstdio>

namespace vorpane {

namespace {

std::string indexedName(const char* format, int index)
{
    char name[32];
    std::snprintf(name, sizeof name, format, index);
    return name;
}

} // namespace

HandoutSheet::HandoutSheet(SheetLayout& layout, HandoutSheetModel& document)
    : m_layout(layout)
    , m_document(document)
{
    // The accessors reach the texts through the model at each use.
    for (int i = 0; i < kHandoutTextCount; ++i) {
        layout.addTextField(indexedName("text%d", i), kHandoutTextFlags,
            [&document, i] { return &document.handout().texts[size_t(i)]; });
    }
    for (int i = 0; i < kHandoutPictureCount; ++i) {
        layout.addTextField(indexedName("picture%d", i), kHandoutPictureFlags,
            [&document, i] { return &document.handout().pictures[size_t(i)]; });
    }
    layout.setHost(this);
}

HandoutSheet::~HandoutSheet()
{
    if (m_layout.host() == this)
        m_layout.setHost(nullptr);
}

void HandoutSheet::beforeChange(SheetField&, PlacedField*) { m_document.beforeChange(); }

void HandoutSheet::afterChange(SheetField& field, PlacedField*) { m_document.afterChange(field); }

} // namespace vorpane
