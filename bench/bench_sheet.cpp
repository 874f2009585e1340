// Sheet refresh: the sheet-script run, table binding and the replay of a complete page into a
// 96 dpi and a 300 dpi bitmap, and the replay of a page with a photograph with its pictures
// cached between replays versus reloaded at every replay. Needs the program folder's data
// (the build copies data/ next to the executables; VORPANE_DATA points elsewhere).

#include "platform/program_folder.h"
#include "platform/recording_ui.h"
#include "sheet/handout_sheet.h"
#include "sheet/handout_sheet_model.h"
#include "sheet/investigator_document_model.h"
#include "sheet/investigator_sheet.h"
#include "sheet/sheet_layout.h"
#include "sheet/sheet_painter.h"
#include "sheet/sheet_script.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <memory>
#include <string>

using namespace vorpane;

namespace {

// A finished example investigator on the complete sheet, and the note handout with its photograph.
constexpr const char* kInvestigatorFile = "examples/anticuaria_1920.inv";
constexpr const char* kCompleteSheet = "clasica";
constexpr const char* kHandoutFile = "nota.zho";

struct InvestigatorPage {
    InvestigatorDocumentModel document;
    SheetLayout layout;
    std::unique_ptr<InvestigatorSheet> sheet;
    bool loaded = false;
    InvestigatorPage()
    {
        loaded = document.open(programFile(kInvestigatorFile));
        sheet = std::make_unique<InvestigatorSheet>(layout, document);
    }
    bool run() { return runSheetScriptNamed(kCompleteSheet, kSheetScriptExtension, layout); }
};

struct HandoutPage {
    HandoutSheetModel document;
    SheetLayout layout;
    std::unique_ptr<HandoutSheet> sheet;
    bool loaded = false;
    HandoutPage()
    {
        loaded = document.open(programFile(kHandoutFile));
        sheet = std::make_unique<HandoutSheet>(layout, document);
    }
    bool run()
    {
        return runSheetScriptNamed(document.handout().templateName, kHandoutScriptExtension, layout);
    }
};

void BM_SheetRun(benchmark::State& state)
{
    ScopedRecordingUi quiet;
    InvestigatorPage page;
    if (!page.loaded || !page.run()) {
        state.SkipWithError("the example investigator or its sheet does not load");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(page.run());
    state.counters["items"] = double(page.layout.itemCount());
}
BENCHMARK(BM_SheetRun)->Unit(benchmark::kMillisecond);

// What a refresh of the view costs: run, bind, replay into a fresh bitmap.
void BM_SheetRefresh(benchmark::State& state)
{
    ScopedRecordingUi quiet;
    InvestigatorPage page;
    if (!page.loaded || !page.run()) {
        state.SkipWithError("the example investigator or its sheet does not load");
        return;
    }
    SheetPictureCache pictures;
    const double dpi = double(state.range(0));
    for (auto _ : state) {
        page.run();
        QImage image = renderSheet(page.layout, dpi, UserTextLook(), &pictures);
        benchmark::DoNotOptimize(image.bits());
    }
}
BENCHMARK(BM_SheetRefresh)->Arg(96)->Arg(300)->Unit(benchmark::kMillisecond);

void BM_SheetReplay(benchmark::State& state)
{
    ScopedRecordingUi quiet;
    InvestigatorPage page;
    if (!page.loaded || !page.run()) {
        state.SkipWithError("the example investigator or its sheet does not load");
        return;
    }
    SheetPictureCache pictures;
    const double dpi = double(state.range(0));
    for (auto _ : state) {
        QImage image = renderSheet(page.layout, dpi, UserTextLook(), &pictures);
        benchmark::DoNotOptimize(image.bits());
    }
}
BENCHMARK(BM_SheetReplay)->Arg(96)->Arg(300)->Unit(benchmark::kMillisecond);

// The note with its photograph: pictures kept between replays (range 1) or reloaded (range 0).
void BM_HandoutReplayPictures(benchmark::State& state)
{
    ScopedRecordingUi quiet;
    HandoutPage page;
    if (!page.loaded || !page.run()) {
        state.SkipWithError("the note handout or its script does not load");
        return;
    }
    SheetPictureCache shared;
    const bool cached = state.range(0) != 0;
    for (auto _ : state) {
        QImage image = renderSheet(page.layout, 96, UserTextLook(), cached ? &shared : nullptr);
        benchmark::DoNotOptimize(image.bits());
    }
    state.SetLabel(cached ? "cached" : "reloaded");
}
BENCHMARK(BM_HandoutReplayPictures)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
