#pragma once
// DiceObject: the script object "dice". Its one member, Roll (any case), evaluates its argument
// as a dice text and returns the Integer that DiceExpression gives.

#include "rules/dice_expression.h"
#include "script/host_member.h"
#include "script/script_object.h"
#include "script/script_runner.h"

#include <memory>

namespace vorpane {

class DiceObject final : public script::ScriptObject {
public:
    // The expression can be replaced so that tests roll known dice.
    explicit DiceObject(std::unique_ptr<DiceExpression> dice = std::make_unique<DiceExpression>());

    int callMember(const std::string& name, script::ScriptValue* args, int argCount,
        script::ScriptValue& result) override;

    static script::HostMemberList memberList();

private:
    ~DiceObject() override = default;

    std::unique_ptr<DiceExpression> m_dice;
};

// Registers what every user script and rule-file hook gets: "dice" and "output".
void registerDiceAndOutput(script::ScriptRunner& runner);

} // namespace vorpane
