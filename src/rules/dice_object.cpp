#include "rules/dice_object.h"

#include "script/output_object.h"

#include <strings.h>

namespace vorpane {

DiceObject::DiceObject(std::unique_ptr<DiceExpression> dice)
    : m_dice(std::move(dice))
{
}

int DiceObject::callMember(
    const std::string& name, script::ScriptValue* args, int argCount, script::ScriptValue& result)
{
    if (strcasecmp(name.c_str(), "Roll") != 0)
        return script::CallNotFound;
    if (argCount < 1)
        return script::CallTooFew;
    if (argCount > 1)
        return script::CallTooMany;
    result.setInteger(m_dice->evaluate(args[0].toText()));
    return script::CallOk;
}

script::HostMemberList DiceObject::memberList()
{
    return { { "Roll", script::HostMemberKind::Function, "dice" } };
}

void registerDiceAndOutput(script::ScriptRunner& runner)
{
    runner.registerValue("dice", script::ScriptValue(new DiceObject));
    runner.registerValue("output", script::ScriptValue(new script::OutputObject));
}

} // namespace vorpane
