#include "script/output_object.h"

#include "platform/ui_services.h"

#include <strings.h>

namespace vorpane::script {

namespace {

bool isMember(const std::string& name, const char* member) { return strcasecmp(name.c_str(), member) == 0; }

int withoutArguments(int argCount, void (OutputModel::*action)())
{
    if (argCount > 0)
        return CallTooMany;
    (ui().output().*action)();
    return CallOk;
}

} // namespace

int OutputObject::callMember(const std::string& name, ScriptValue* args, int argCount, ScriptValue& result)
{
    if (isMember(name, "write")) {
        if (argCount < 1)
            return CallTooFew;
        if (argCount > 1)
            return CallTooMany;
        ui().output().addLine(args[0].toText());
        return CallOk;
    }
    if (isMember(name, "show"))
        return withoutArguments(argCount, &OutputModel::show);
    if (isMember(name, "hide"))
        return withoutArguments(argCount, &OutputModel::hide);
    if (isMember(name, "clear"))
        return withoutArguments(argCount, &OutputModel::clear);
    return CallNotFound;
}

HostMemberList OutputObject::memberList()
{
    return {
        { "write", HostMemberKind::Function, "value" },
        { "show", HostMemberKind::Function, {} },
        { "hide", HostMemberKind::Function, {} },
        { "clear", HostMemberKind::Function, {} },
    };
}

} // namespace vorpane::script
