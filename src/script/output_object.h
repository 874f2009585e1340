#pragma once
// OutputObject: the script object "output", a thin adapter over the output window's lines
// (ui().output()). Members write, show, hide and clear, matched without regard to case.

#include "script/host_member.h"
#include "script/script_object.h"

namespace vorpane::script {

class OutputObject final : public ScriptObject {
public:
    int callMember(const std::string& name, ScriptValue* args, int argCount, ScriptValue& result) override;

    static HostMemberList memberList();

private:
    ~OutputObject() override = default;
};

} // namespace vorpane::script
