#include "sheet/host_members.h"

#include "investigator/investigator_object.h"
#include "rules/dice_object.h"
#include "script/array_object.h"
#include "script/math_object.h"
#include "script/member_name.h"
#include "script/output_object.h"
#include "sheet/field_object.h"
#include "sheet/sheet_object.h"

namespace vorpane {

namespace {

std::vector<HostObjectInfo> gather()
{
    std::vector<HostObjectInfo> objects;
    objects.push_back({ "output", false, {}, ScopeEveryScript, script::OutputObject::memberList() });
    objects.push_back({ "math", false, {}, ScopeEveryScript, script::MathObject::memberList() });
    objects.push_back({ "Array", true, script::ArrayObject::kCreateParameters, ScopeEveryScript,
        script::ArrayObject::memberList() });
    objects.push_back({ "dice", false, {}, ScopeUserScript | ScopeRuleScript, DiceObject::memberList() });
    objects.push_back({ "sheet", false, {}, ScopeSheetScript, SheetObject::memberList() });
    objects.push_back({ "field", false, {}, ScopeSheetScript, FieldObject::memberList() });
    objects.push_back({ "investigator", false, {}, ScopeRuleScript, InvestigatorObject::memberList() });
    return objects;
}

} // namespace

const std::vector<HostObjectInfo>& hostObjects()
{
    static const std::vector<HostObjectInfo> objects = gather();
    return objects;
}

const HostObjectInfo* findHostObject(std::string_view name)
{
    for (const HostObjectInfo& object : hostObjects()) {
        if (script::sameName(object.name, name))
            return &object;
    }
    return nullptr;
}

} // namespace vorpane
