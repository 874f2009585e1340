// Loading generated rule files: skills x occupations, from memory and from a file. The time per
// byte should stay flat as the file grows (duplicate and occupation-skill checks are hashed).
#include "platform/program_folder.h"
#include "platform/recording_ui.h"
#include "rules/rule_set.h"

#include <QDir>
#include <benchmark/benchmark.h>
#include <fstream>

namespace {

using namespace vorpane;

constexpr int kSubSkillEvery = 10; // every tenth skill is a special skill
constexpr int kFirearms = 100;
constexpr int kMelee = 50;
constexpr int kSkillsPerOccupation = 8;

std::string skillName(int i) { return "Habilidad " + std::to_string(i); }

// One quoted field and a blank.
void field(std::string& text, const std::string& value) { text.append(1, '"').append(value).append("\" "); }

std::string generateRuleFile(int skills, int occupations)
{
    std::string text = "_BEGIN SKILLS\r\n";
    for (int i = 0; i < skills; ++i) {
        field(text, "^EDU*2");
        text.append(i % kSubSkillEvery == 0 ? "3 " : "0 ");
        field(text, skillName(i));
        text.append("xxx\r\n");
    }
    text.append("_END SKILLS\r\n_BEGIN FIREARMS\r\n");
    for (int i = 0; i < kFirearms; ++i) {
        for (const char* stat : { "F20", "1D10", "15", "1", "6", "8", "00" })
            field(text, stat);
        field(text, "Arma " + std::to_string(i));
        text.append("-xx\r\n");
    }
    text.append("_END FIREARMS\r\n_BEGIN MELEE\r\n");
    for (int i = 0; i < kMelee; ++i) {
        for (const char* stat : { "25", "1D6+db", "1", "n/a" })
            field(text, stat);
        field(text, "*Golpe " + std::to_string(i));
        text.append("xxx\r\n");
    }
    text.append("_END MELEE\r\n_BEGIN OCCUPATIONS\r\n");
    for (int i = 0; i < occupations; ++i) {
        field(text, "Profesion " + std::to_string(i));
        text.append("(");
        for (int k = 0; k < kSkillsPerOccupation; ++k)
            field(text, skillName((i * 7 + k * 131) % skills).append(k == 0 ? "$nota" : ""));
        text.append("* 2 {");
        for (int k = 0; k < 3; ++k)
            field(text, skillName((i + k) % skills));
        text.append("}) x-x {INT = INT + 1;}\r\n");
    }
    text.append("_END OCCUPATIONS\r\n");
    return text;
}

void loadFromMemory(benchmark::State& state)
{
    ScopedRecordingUi ui;
    const std::string text = generateRuleFile(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        RuleSet rules("bench.rul");
        if (!rules.loadText(text))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(rules.definitions().size());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
    state.counters["bytes"] = double(text.size());
}

void loadFromFile(benchmark::State& state)
{
    ScopedRecordingUi ui;
    const std::string folder = QDir::tempPath().toStdString() + "/";
    const std::string text = generateRuleFile(int(state.range(0)), int(state.range(1)));
    std::ofstream(folder + "vorpane_bench.rul", std::ios::binary) << text;
    setProgramFolder(folder);
    for (auto _ : state) {
        RuleSet rules("vorpane_bench.rul");
        if (!rules.load())
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(rules.definitions().size());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
    std::remove((folder + "vorpane_bench.rul").c_str());
}

} // namespace

BENCHMARK(loadFromMemory)
    ->Args({ 1000, 2000 })
    ->Args({ 10000, 2000 })
    ->Args({ 10000, 20000 })
    ->Args({ 30000, 2000 })
    ->Args({ 100000, 2000 })
    ->Args({ 300000, 2000 })
    ->Unit(benchmark::kMillisecond);
BENCHMARK(loadFromFile)->Args({ 1000, 2000 })->Args({ 10000, 2000 })->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
