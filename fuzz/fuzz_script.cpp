// Fuzz target: any script text is parsed and run with the objects of a user-script run (dice and
// output); questions are answered and prompts typed, and a step budget ends endless loops.
#include "platform/random.h"
#include "platform/recording_ui.h"
#include "rules/dice_object.h"
#include "script/script_runner.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

constexpr uint64_t kStepBudget = 200000; // node evaluations per input: ample for small scripts

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace vorpane;
    static ScopedRecordingUi recorder;
    recorder.reset();
    recorder.yesNoAnswers = { true, false, true };
    recorder.promptAnswers = { std::string("12"), std::nullopt, std::string("abc") };
    seedRandom(1);

    script::ScriptRunner runner;
    runner.setStepBudget(kStepBudget);
    runner.loadTextInMemory(std::string(reinterpret_cast<const char*>(data), size));
    registerDiceAndOutput(runner);
    int32_t value = 0;
    runner.run(&value);
    return 0;
}
