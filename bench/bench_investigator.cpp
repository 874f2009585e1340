// Investigators of 1,000 and 10,000 entries: building the file text, reading it back, saving
// through the temporary file, copying (an undo snapshot) and sorting. Time per entry should stay
// flat as the investigator grows, and the sort should grow as n log n.
#include "investigator/derived_values.h"
#include "investigator/investigator.h"
#include "investigator/investigator_file.h"
#include "investigator/legacy_file.h"
#include "platform/random.h"
#include "platform/recording_ui.h"

#include <QDir>
#include <benchmark/benchmark.h>

namespace {

using namespace vorpane;

constexpr int kSpecialEvery = 20; // every twentieth entry is a special skill with three subskills
constexpr int kWeaponEvery = 10;

// Names in scrambled order, so that the sort has work to do.
std::string entryName(int i) { return "Habilidad " + std::to_string((i * 7919) % 100003); }

Investigator makeInvestigator(int entries)
{
    Investigator inv;
    inv.Name = "Banco de pruebas";
    inv.EDU = 15, inv.INT = 14, inv.DES = 12, inv.POD = 11, inv.TAM = 13, inv.CON = 12, inv.FUE = 10;
    computeBudgets(inv);
    computeDerivedValues(inv);
    for (int i = 0; int(inv.entries().size()) < entries; ++i) {
        if (i % kSpecialEvery == 0) {
            auto special = std::make_unique<SpecialSkill>(entryName(i), "05", kAllEraFlags, 3, true);
            for (int s = 0; s < 3; ++s)
                special->subSkill(s)->setName(entryName(i + s + 1));
            inv.addEntry(std::move(special), false);
        } else if (i % kWeaponEvery == 0) {
            inv.addEntry(std::make_unique<Firearm>(entryName(i), "20", kAllEraFlags,
                             FirearmStats { "1D10", "15", "2", "6", "10", "00" }),
                false);
        } else {
            inv.addEntry(std::make_unique<Skill>(entryName(i), "^DES2", kAllEraFlags), i % 3 == 0).current
                += i % 50;
        }
    }
    recalculate(inv);
    return inv;
}

void setEntries(benchmark::State& state, const Investigator& inv)
{
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(inv.entries().size()));
}

void BM_WriteText(benchmark::State& state)
{
    const Investigator inv = makeInvestigator(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(InvestigatorFile::text(inv, "ficha.vis"));
    setEntries(state, inv);
}

void BM_ReadText(benchmark::State& state)
{
    ScopedRecordingUi quiet;
    const Investigator inv = makeInvestigator(int(state.range(0)));
    const std::string text = InvestigatorFile::text(inv, "ficha.vis");
    state.counters["bytes"] = double(text.size());
    for (auto _ : state) {
        Investigator loaded;
        std::string script;
        if (!InvestigatorFile::read(text, loaded, script))
            state.SkipWithError("load failed");
    }
    setEntries(state, inv);
}

void BM_SaveFile(benchmark::State& state)
{
    ScopedRecordingUi quiet;
    const Investigator inv = makeInvestigator(int(state.range(0)));
    const std::string path = QDir::tempPath().toStdString() + "/vorpane_bench_investigator.inv";
    for (auto _ : state) {
        if (!InvestigatorFile::save(path, inv, "ficha.vis"))
            state.SkipWithError("save failed");
    }
    QFile::remove(QString::fromStdString(path));
    setEntries(state, inv);
}

void BM_LoadFile(benchmark::State& state)
{
    ScopedRecordingUi quiet;
    const Investigator inv = makeInvestigator(int(state.range(0)));
    const std::string path = QDir::tempPath().toStdString() + "/vorpane_bench_investigator_load.inv";
    InvestigatorFile::save(path, inv, "ficha.vis");
    for (auto _ : state) {
        Investigator loaded;
        std::string script;
        if (!InvestigatorFile::load(path, loaded, script))
            state.SkipWithError("load failed");
    }
    QFile::remove(QString::fromStdString(path));
    setEntries(state, inv);
}

void BM_LegacyRoundTrip(benchmark::State& state)
{
    ScopedRecordingUi quiet;
    const Investigator inv = makeInvestigator(int(state.range(0)));
    for (auto _ : state) {
        Investigator loaded;
        if (!LegacyFile::read(LegacyFile::bytes(inv, 2), 2, loaded))
            state.SkipWithError("load failed");
    }
    setEntries(state, inv);
}

void BM_Copy(benchmark::State& state)
{
    ScopedRecordingUi quiet;
    const Investigator inv = makeInvestigator(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(Investigator(inv));
    setEntries(state, inv);
}

void BM_Sort(benchmark::State& state)
{
    ScopedRecordingUi quiet;
    const Investigator unsorted = makeInvestigator(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        Investigator inv(unsorted);
        state.ResumeTiming();
        inv.sort();
    }
    state.SetComplexityN(state.range(0));
    setEntries(state, unsorted);
}

} // namespace

BENCHMARK(BM_WriteText)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadText)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveFile)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadFile)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LegacyRoundTrip)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Copy)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sort)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Complexity(benchmark::oNLogN)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
