#include "sheet/sheet_script_draft.h"

#include "platform/break_key.h"
#include "platform/ui_services.h"
#include "script/error_line.h"
#include "script/memory_budget.h"
#include "sheet/sheet_item.h"
#include "sheet/sheet_layout.h"
#include "sheet/sheet_script.h"

#include <algorithm>

namespace vorpane {

namespace {

// Answers for the run: no box, no question, no prompt; the first message is kept. What the
// script writes to `output` stays here too, away from the output bar.
class QuietUi final : public UiServices {
public:
    MsgResult messageBox(const std::string& text, const std::string&, MsgIcon, MsgButtons buttons) override
    {
        if (first.empty())
            first = text;
        return buttons == MsgButtons::Ok      ? MsgResult::Ok
            : buttons == MsgButtons::OkCancel ? MsgResult::Cancel
                                              : MsgResult::No;
    }
    std::optional<std::string> prompt(const std::string&) override { return std::nullopt; }
    bool hasMainWindow() const override { return false; }

    std::string first;
};

class UiSwap {
public:
    explicit UiSwap(UiServices* services)
        : m_before(installUi(services))
    {
    }
    ~UiSwap() { installUi(m_before); }
    UiSwap(const UiSwap&) = delete;
    UiSwap& operator=(const UiSwap&) = delete;

private:
    UiServices* m_before;
};

// The run never hands events to the windows: keys typed meanwhile wait for the editor rather
// than being dropped as a running script's input is, and nothing can start another run.
class NoPoll {
public:
    NoPoll()
        : m_before(breakKeyPoll())
    {
        setBreakKeyPoll(nullptr);
    }
    ~NoPoll() { setBreakKeyPoll(m_before); }
    NoPoll(const NoPoll&) = delete;
    NoPoll& operator=(const NoPoll&) = delete;

private:
    BreakKeyPoll m_before;
};

class StepBudgetSwap {
public:
    explicit StepBudgetSwap(uint64_t steps)
        : m_before(sheetScriptStepBudget())
    {
        setSheetScriptStepBudget(steps);
    }
    ~StepBudgetSwap() { setSheetScriptStepBudget(m_before); }
    StepBudgetSwap(const StepBudgetSwap&) = delete;
    StepBudgetSwap& operator=(const StepBudgetSwap&) = delete;

private:
    uint64_t m_before;
};

// The text as a script file is read: CR LF as LF.
std::string withLineFeeds(const std::string& text)
{
    std::string lines;
    lines.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            lines += text[i];
    }
    return lines;
}

// The box of a text drawn at a point, which may be aligned on either side of it: enough to click
// on a label (sheet units; the text hangs below its point).
constexpr int32_t kTextLeft = 2000;
constexpr int32_t kTextRight = 4000;
constexpr int32_t kTextAbove = 200;
constexpr int32_t kTextBelow = 800;

bool bounds(const SheetItem& item, SheetRect& rect)
{
    switch (item.kind()) {
    case SheetItemKind::Line:
    case SheetItemKind::Rectangle:
        rect = static_cast<const SheetShapeItem&>(item).rect;
        return true;
    case SheetItemKind::FittedPicture:
    case SheetItemKind::StretchedPicture:
        rect = static_cast<const SheetPictureItem&>(item).rect;
        return true;
    case SheetItemKind::TextBox:
        rect = static_cast<const SheetTextBoxItem&>(item).rect;
        return true;
    case SheetItemKind::FilledRectangle:
        rect = static_cast<const SheetFillItem&>(item).rect;
        return true;
    case SheetItemKind::PlacedField:
    case SheetItemKind::TableEntry:
        rect = static_cast<const PlacedField&>(item).rect;
        return true;
    case SheetItemKind::Text: {
        const auto& text = static_cast<const SheetTextItem&>(item);
        rect = { text.x - kTextLeft, text.y + kTextAbove, text.x + kTextRight, text.y - kTextBelow };
        return true;
    }
    default:
        return false;
    }
}

} // namespace

DraftRun runSheetScriptDraft(const std::string& text, SheetLayout& layout, const DraftLimits& limits)
{
    DraftRun run;
    QuietUi quiet;
    {
        UiSwap swap(&quiet);
        NoPoll noPoll;
        StepBudgetSwap steps(limits.steps);
        script::MemoryBudgetScope memory(limits.memoryBytes);
        script::ErrorLineRecorder errors;
        layout.resetPageSize();
        run.ok = runSheetScriptText(withLineFeeds(text), layout);
        run.line = errors.line();
        if (layout.host())
            layout.host()->bindTables(layout);
    }
    if (!run.ok) {
        run.message = quiet.first.empty() ? std::string(kRunFailedMessage) : quiet.first;
        if (quiet.first.empty() && run.line == 0)
            run.message = "The script was stopped: it took too many steps (an endless loop?)";
    }
    return run;
}

int32_t drawnLineAt(const SheetLayout& layout, int32_t x, int32_t y)
{
    const auto& items = layout.items();
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        SheetRect rect;
        if ((*it)->line <= 0 || !bounds(**it, rect))
            continue;
        // y grows upwards; a line's box may be given either way round.
        const int32_t left = std::min(rect.x1, rect.x2), right = std::max(rect.x1, rect.x2);
        const int32_t bottom = std::min(rect.y1, rect.y2), top = std::max(rect.y1, rect.y2);
        const int32_t slack = (right - left < 100 || top - bottom < 100) ? 100 : 0; // thin lines
        if (x >= left - slack && x <= right + slack && y >= bottom - slack && y <= top + slack)
            return (*it)->line;
    }
    return 0;
}

} // namespace vorpane
