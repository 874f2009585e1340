// Sheet refresh: the sheet-script run, table binding and the replay of a complete page into a
// 96 dpi and a 300 dpi bitmap, and the replay of a page with a photograph with its pictures
// cached between replays versus reloaded at every replay. Needs the program folder's data
// (the build copies data/ next to the executables; VORPANE_DATA points elsewhere).

#include "platform/recording_ui.h"
#include "sheet/sheet_layout.h"
#include "sheet/sheet_painter.h"
#include "sheet/sheet_script.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <deque>
#include <string>

using namespace vorpane;

namespace {

// Every field the investigator sheet scripts name, over plain values; table rows stay empty.
class StandInFields final : public SheetHost {
public:
    explicit StandInFields(SheetLayout& layout)
    {
        static const char* const kTexts[]
            = { "name", "occupation", "birthplace", "collegesDegrees", "mentalDisorders", "sex" };
        static const char* const kNumbers[]
            = { "age", "app", "con", "dex", "edu", "int", "pow", "siz", "str", "san", "hitPoints", "magic" };
        static const char* const kMoreTexts[] = { "affiliation", "codeName", "currentDate", "insanities",
            "income", "spells", "residence", "personalDescription", "contacts", "wounds", "scars", "history",
            "cashonhand", "savings", "personalProperty", "realEstate", "possessions", "tomesRead",
            "artifacts", "entitiesEncountered", "playerName" };
        for (const char* name : kTexts)
            addText(layout, name);
        for (const char* name : kNumbers) {
            int& value = m_numbers.emplace_back(13);
            layout.addNumberField(name, FieldReadable | FieldTabStop, [&value] { return &value; });
        }
        for (const char* name : kMoreTexts)
            addText(layout, name);
        layout.addTextField("portrait", FieldPicture | FieldReadable, [this] { return &m_portrait; });
        struct Computed {
            const char* name;
            int id;
            FieldFlags flags;
        };
        static constexpr Computed kComputed[] = { { "maxsan", 500, 10 }, { "zhaldorMythos", 501, 10 },
            { "era", 507, 2 }, { "startingSan", 502, 3 }, { "luck", 503, 3 }, { "know", 504, 3 },
            { "idea", 505, 3 }, { "damageBonus", 506, 3 }, { "skill", 100, 0x11 },
            { "skill_check", 101, 0x40 }, { "skill_name", 102, 8 }, { "skill_percent", 103, 8 },
            { "firearm", 200, 0x11 }, { "firearm_check", 201, 0x40 }, { "firearm_name", 202, 8 },
            { "firearm_percent", 203, 8 }, { "firearm_damage", 204, 8 }, { "firearm_range", 205, 8 },
            { "firearm_shots", 206, 8 }, { "firearm_bullets", 207, 8 }, { "firearm_hitpoints", 208, 8 },
            { "firearm_mal", 209, 8 }, { "melee", 300, 0x11 }, { "melee_check", 301, 0x40 },
            { "melee_name", 302, 8 }, { "melee_percent", 303, 8 }, { "melee_damage", 304, 8 },
            { "melee_attacks", 305, 8 }, { "melee_hitpoints", 306, 8 }, { "weapon", 400, 0x11 },
            { "weapon_check", 401, 0x40 }, { "weapon_name", 402, 8 }, { "weapon_percent", 403, 8 },
            { "weapon_damage", 404, 8 }, { "weapon_hitpoints", 405, 8 }, { "weapon_bullets", 406, 8 },
            { "weapon_range", 407, 8 }, { "weapon_attacks", 408, 8 }, { "weapon_mal", 409, 8 } };
        for (const Computed& c : kComputed)
            layout.addComputedField(c.id, c.name, c.flags);
        layout.addSheetParameterName("shortsheet", kShortSheet);
        layout.addSheetParameterName("showcorefirearms", kShowCoreFirearms);
        layout.addSheetParameterName("showbasepercent", kShowBasePercent);
        layout.setHost(this);
    }

    script::ScriptValue computedValue(const SheetField& field, const PlacedField*) override
    {
        switch (field.id().toInteger()) {
        case 507:
            return script::ScriptValue("1920");
        case 500:
            return script::ScriptValue(int32_t(99));
        case 506:
            return script::ScriptValue("+1D4");
        default:
            return script::ScriptValue(int32_t(65));
        }
    }

private:
    void addText(SheetLayout& layout, const char* name)
    {
        std::string& value = m_texts.emplace_back(std::string("Some text for ") + name);
        layout.addTextField(name, FieldReadable | FieldTabStop, [&value] { return &value; });
    }

    std::deque<std::string> m_texts;
    std::deque<int> m_numbers;
    std::string m_portrait = "retrato.png";
};

// text0..text49 and picture0..picture4 of a handout, with the photograph of the note.
class StandInHandout final : public SheetHost {
public:
    explicit StandInHandout(SheetLayout& layout)
    {
        for (int i = 0; i < 50; ++i) {
            std::string& value = m_texts[i];
            value = i < 4 ? "A line of the note, long enough to wrap once or twice in its box." : "";
            layout.addTextField("text" + std::to_string(i), 0x0E, [&value] { return &value; });
        }
        m_pictures[0] = "faro.jpg";
        for (int i = 0; i < 5; ++i) {
            std::string& value = m_pictures[i];
            layout.addTextField("picture" + std::to_string(i), 0x86, [&value] { return &value; });
        }
        layout.setHost(this);
    }

private:
    std::string m_texts[50];
    std::string m_pictures[5];
};

struct Quiet {
    RecordingUi ui;
    Quiet() { installUi(&ui); }
    ~Quiet() { installUi(nullptr); }
};

void BM_SheetRun(benchmark::State& state)
{
    Quiet quiet;
    SheetLayout layout;
    StandInFields fields(layout);
    for (auto _ : state)
        benchmark::DoNotOptimize(runSheetScriptNamed("clasica", kSheetScriptExtension, layout));
    state.counters["items"] = double(layout.itemCount());
}
BENCHMARK(BM_SheetRun)->Unit(benchmark::kMillisecond);

// What a refresh of the view costs: run, bind, replay into a fresh bitmap.
void BM_SheetRefresh(benchmark::State& state)
{
    Quiet quiet;
    SheetLayout layout;
    StandInFields fields(layout);
    SheetPictureCache pictures;
    const double dpi = double(state.range(0));
    for (auto _ : state) {
        runSheetScriptNamed("clasica", kSheetScriptExtension, layout);
        QImage page = renderSheet(layout, dpi, UserTextLook(), &pictures);
        benchmark::DoNotOptimize(page.bits());
    }
}
BENCHMARK(BM_SheetRefresh)->Arg(96)->Arg(300)->Unit(benchmark::kMillisecond);

void BM_SheetReplay(benchmark::State& state)
{
    Quiet quiet;
    SheetLayout layout;
    StandInFields fields(layout);
    runSheetScriptNamed("clasica", kSheetScriptExtension, layout);
    SheetPictureCache pictures;
    const double dpi = double(state.range(0));
    for (auto _ : state) {
        QImage page = renderSheet(layout, dpi, UserTextLook(), &pictures);
        benchmark::DoNotOptimize(page.bits());
    }
}
BENCHMARK(BM_SheetReplay)->Arg(96)->Arg(300)->Unit(benchmark::kMillisecond);

// The note with its photograph: pictures kept between replays (range 1) or reloaded (range 0).
void BM_HandoutReplayPictures(benchmark::State& state)
{
    Quiet quiet;
    SheetLayout layout;
    StandInHandout handout(layout);
    runSheetScriptNamed("nota", kHandoutScriptExtension, layout);
    SheetPictureCache shared;
    const bool cached = state.range(0) != 0;
    for (auto _ : state) {
        QImage page = renderSheet(layout, 96, UserTextLook(), cached ? &shared : nullptr);
        benchmark::DoNotOptimize(page.bits());
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
