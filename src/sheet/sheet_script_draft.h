#pragma once
// Running a sheet or handout script that is still being written, for a live preview: the text
// as it stands, within a step budget and a memory budget so that an endless loop or a memory
// grab ends quickly, and without a single box: the first message the run would have shown is
// handed back with its line instead.

#include "sheet/sheet_item_types.h"

#include <cstdint>
#include <string>

namespace vorpane {

class SheetLayout;

struct DraftRun {
    bool ok = false;
    std::string message; // Windows-1252, as the box would have said it; empty on success
    int32_t line = 0; // of the first error, 0 when none or unknown
};

struct DraftLimits {
    uint64_t steps = 5'000'000; // node evaluations: far above what the example sheets take
    uint64_t memoryBytes = 64ull * 1024 * 1024;
};

// Empties the layout, runs the text on it (page size reset first) and binds the host's tables.
DraftRun runSheetScriptDraft(const std::string& text, SheetLayout& layout, const DraftLimits& limits = {});

// The script line of the last item drawn under the point (sheet units), 0 for none. Lines,
// rectangles, pictures, text boxes, fills and placed fields count; settings items have no place.
int32_t drawnLineAt(const SheetLayout& layout, int32_t x, int32_t y);

} // namespace vorpane
