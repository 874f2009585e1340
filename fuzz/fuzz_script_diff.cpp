// Differential fuzz target: every script text runs through the engine and through the reference
// evaluator (the earlier tree walker, tests/script_reference) with the objects of a user-script
// run. Both must show the same boxes, prompts and output lines in the same order, and give the
// same success and value. A run that used up its step budget, or the machine stack (each
// evaluator uses it differently), may stop at another point: then only the events up to where the
// first one stopped must agree.
#include "platform/random.h"
#include "platform/recording_ui.h"
#include "rules/dice_object.h"
#include "script/array_object.h"
#include "script/math_object.h"
#include "script/output_object.h"
#include "script/script_runner.h"
#include "script_reference/interpreter.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace vorpane;

constexpr uint64_t kStepBudget = 200000; // node evaluations per input: ample for small scripts

// Records every box, prompt and output event in the order they happen.
class EventUi final : public RecordingUi, private OutputModel::Listener {
public:
    EventUi()
        : m_previous(installUi(this))
    {
    }
    ~EventUi() override
    {
        output().setListener(nullptr);
        installUi(m_previous);
    }

    void start()
    {
        output().setListener(nullptr);
        reset();
        events.clear();
        yesNoAnswers = { true, false, true };
        promptAnswers = { std::string("12"), std::nullopt, std::string("abc") };
        output().setListener(this);
        seedRandom(1);
    }

    MsgResult messageBox(
        const std::string& text, const std::string& title, MsgIcon icon, MsgButtons buttons) override
    {
        MsgResult answer = RecordingUi::messageBox(text, title, icon, buttons);
        events.push_back("box " + title + " " + std::to_string(int(icon)) + " " + std::to_string(int(buttons))
            + " -> " + std::to_string(int(answer)) + ": " + text);
        return answer;
    }
    std::optional<std::string> prompt(const std::string& label) override
    {
        auto answer = RecordingUi::prompt(label);
        events.push_back("prompt " + label + " -> " + (answer ? *answer : std::string("(cancel)")));
        return answer;
    }

    std::vector<std::string> events;

private:
    void lineAdded(const std::string& line) override { events.push_back("line " + line); }
    void cleared() override { events.push_back("clear"); }
    void visibilityChanged(bool visible) override { events.push_back(visible ? "show" : "hide"); }

    UiServices* m_previous;
};

struct Outcome {
    std::vector<std::string> events;
    int ok = 0;
    int32_t value = 0;
    bool budgetSpent = false;
    bool stackSpent = false;
};

// The report of an exhausted machine stack.
bool reportsStackSpent(const std::vector<std::string>& events)
{
    for (const auto& event : events)
        if (event.find("Unhandled exception:") != std::string::npos)
            return true;
    return false;
}

Outcome runEngine(EventUi& recorder, const std::string& text)
{
    recorder.start();
    Outcome outcome;
    {
        script::ScriptRunner runner;
        runner.setStepBudget(kStepBudget);
        runner.loadTextInMemory(text);
        registerDiceAndOutput(runner);
        outcome.ok = runner.run(&outcome.value);
        outcome.budgetSpent = runner.interpreter()->stepBudgetSpent();
    }
    outcome.events = recorder.events;
    outcome.stackSpent = reportsStackSpent(outcome.events);
    return outcome;
}

// What ScriptRunner and registerDiceAndOutput declare, in their order.
Outcome runReference(EventUi& recorder, const std::string& text)
{
    recorder.start();
    Outcome outcome;
    {
        script::reference::ScriptInterpreter in("");
        in.setStepBudget(kStepBudget);
        in.setScriptText(text);
        in.declareGlobal("dice", script::ScriptValue(new DiceObject));
        in.declareGlobal("output", script::ScriptValue(new script::OutputObject));
        in.declareGlobal("null", script::ScriptValue::null());
        in.declareGlobal("true", script::ScriptValue(1));
        in.declareGlobal("false", script::ScriptValue(0));
        in.declareGlobal("math", script::ScriptValue(new script::MathObject));
        in.registerClass("array", script::ArrayObject::create);
        outcome.ok = in.run(&outcome.value);
        if (!outcome.ok)
            outcome.value = 0; // a failed run has no value
        outcome.budgetSpent = in.stepBudgetSpent();
    }
    outcome.events = recorder.events;
    outcome.stackSpent = reportsStackSpent(outcome.events);
    return outcome;
}

[[noreturn]] void mismatch(const char* what, const Outcome& engine, const Outcome& reference)
{
    std::fprintf(stderr, "engine and reference differ: %s\n", what);
    std::fprintf(stderr, "engine: ok %d value %d budget spent %d\n", engine.ok, int(engine.value),
        int(engine.budgetSpent));
    for (const auto& e : engine.events)
        std::fprintf(stderr, "  %s\n", e.c_str());
    std::fprintf(stderr, "reference: ok %d value %d budget spent %d\n", reference.ok, int(reference.value),
        int(reference.budgetSpent));
    for (const auto& e : reference.events)
        std::fprintf(stderr, "  %s\n", e.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static EventUi recorder;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const Outcome reference = runReference(recorder, text);
    const Outcome engine = runEngine(recorder, text);

    const bool engineCut = engine.budgetSpent || engine.stackSpent;
    const bool referenceCut = reference.budgetSpent || reference.stackSpent;
    if (!engineCut && !referenceCut) {
        if (engine.events != reference.events)
            mismatch("events", engine, reference);
        if (engine.ok != reference.ok || engine.value != reference.value)
            mismatch("result", engine, reference);
        return 0;
    }
    // Up to the stack report, which may come at another point.
    const auto comparable = [](const Outcome& outcome) {
        size_t count = outcome.events.size();
        if (outcome.stackSpent && count > 0)
            --count;
        return count;
    };
    const size_t common = std::min(comparable(engine), comparable(reference));
    for (size_t i = 0; i < common; ++i)
        if (engine.events[i] != reference.events[i])
            mismatch("events before a run was cut short", engine, reference);
    if (engineCut != referenceCut) {
        // The one that finished must not have done less than the one cut short.
        const Outcome& finished = engineCut ? reference : engine;
        const Outcome& cut = engineCut ? engine : reference;
        if (comparable(finished) < comparable(cut))
            mismatch("events of a finished run", engine, reference);
    }
    return 0;
}
