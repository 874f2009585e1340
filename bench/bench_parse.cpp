// Parsing speed of the script front end on generated scripts of 5,000 to 40,000 lines; the time per
// line should stay flat as the script grows.

#include "platform/recording_ui.h"
#include "script/syntax_tree.h"

#include <benchmark/benchmark.h>
#include <string>

using namespace vorpane;
using namespace vorpane::script;

namespace {

// One function of the kind sheet and rule scripts hold, followed by a call of it.
void appendFunction(std::string& out, int n)
{
    const std::string id = std::to_string(n);
    out += "// function " + id + "\n";
    out += "function f" + id + "(a, b, c)\n{\n";
    out += "    var i, total = 0, name = \"item\\t" + id + "\";\n";
    out += "    var r = new Array(10);\n";
    out += "    for (i = 0; i < a; i++) {\n";
    out += "        total += i * b - (c % 7) << 1;\n";
    out += "        if (total > 0x7FFF && !done) { r[i % 10] = total; } else { total = -total; }\n";
    out += "    }\n";
    out += "    while (total > 100) total /= 2.5;\n";
    out += "    /* a block comment\n       over two lines */\n";
    out += "    sheet.text(10.5, 20 + i, name + \": \" + total, r.length);\n";
    out += "    return total == 0 ? f0(1, 2, 3) : total;\n";
    out += "}\n";
    out += "x = f" + id + "(3, 4, 017);\n";
}

std::string generateScript(int lines)
{
    std::string script = "var x;\n";
    int written = 1;
    for (int n = 0; written < lines; ++n) {
        std::string function;
        appendFunction(function, n);
        for (char c : function)
            written += c == '\n';
        script += function;
    }
    return script;
}

void BM_ParseScript(benchmark::State& state)
{
    ScopedRecordingUi ui;
    const int lines = int(state.range(0));
    const std::string script = generateScript(lines);
    for (auto _ : state) {
        SyntaxTree tree = parseScript(script);
        if (!tree.program) {
            state.SkipWithError("the generated script did not parse");
            break;
        }
        benchmark::DoNotOptimize(tree.program);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(script.size()));
    state.counters["lines"] = lines;
    state.counters["ns/line"] = benchmark::Counter(
        double(lines), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(BM_ParseScript)->Arg(5000)->Arg(10000)->Arg(20000)->Arg(40000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
