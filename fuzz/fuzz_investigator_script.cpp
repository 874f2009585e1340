// Fuzz target: any script text run as a rule-file hook on an investigator (the investigator object
// with dice and output), then the sheet check and the HTML export of whatever the script left.
#include "investigator/derived_values.h"
#include "investigator/html_export.h"
#include "investigator/investigator.h"
#include "investigator/investigator_object.h"
#include "investigator/sheet_check.h"
#include "platform/random.h"
#include "platform/recording_ui.h"
#include "rules/dice_object.h"
#include "script/script_runner.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

constexpr uint64_t kStepBudget = 200000; // node evaluations per input: ample for small scripts

vorpane::Investigator sample()
{
    using namespace vorpane;
    Investigator inv;
    inv.RuleFile = "none.rul";
    inv.Name = "Ana";
    inv.APA = inv.CON = inv.DES = inv.EDU = inv.INT = inv.POD = inv.TAM = inv.FUE = 12;
    inv.COR = 60;
    inv.addEntry(std::make_unique<Skill>("Nadar", "25", kAllEraFlags), false);
    inv.addEntry(std::make_unique<Skill>("*Esquivar", "^DES*2", kAllEraFlags), true);
    inv.addEntry(std::make_unique<Skill>("Zhaldor Mythos", "0", kAllEraFlags), false);
    inv.addEntry(std::make_unique<SpecialSkill>("Idioma", "01", kAllEraFlags, 3, true), true);
    inv.addEntry(std::make_unique<Firearm>("Revolver", "F20", kAllEraFlags, FirearmStats {}), false);
    inv.addEntry(std::make_unique<Melee>("*Patada", "25", kAllEraFlags, MeleeStats {}), false);
    computeBaseValues(inv);
    return inv;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace vorpane;
    static ScopedRecordingUi recorder;
    recorder.reset();
    seedRandom(1);

    Investigator inv = sample();
    auto* object = new InvestigatorObject(inv);
    const script::ScriptValue hold(object);
    {
        script::ScriptRunner runner;
        runner.setStepBudget(kStepBudget);
        runner.loadTextInMemory(std::string(reinterpret_cast<const char*>(data), size));
        runner.registerValue("investigator", hold);
        registerDiceAndOutput(runner);
        runner.run();
    }
    object->detach();
    checkSheet(inv);
    htmlExportText(inv, true);
    return 0;
}
