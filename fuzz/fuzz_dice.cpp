// Fuzz target: dice texts of any bytes evaluate without crashing, overflowing or hanging.
#include "platform/random.h"
#include "platform/recording_ui.h"
#include "rules/dice_expression.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static vorpane::ScopedRecordingUi recorder;
    recorder.reset();
    vorpane::seedRandom(1);

    vorpane::DiceExpression dice;
    dice.evaluate(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
