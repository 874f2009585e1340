#pragma once
// MathObject: the script object "math": the read-only Floats PI and E and the numeric functions.
// Member names are matched without regard to case.

#include "script/host_member.h"
#include "script/script_object.h"

namespace vorpane::script {

class MathObject final : public ScriptObject {
public:
    MathObject();

    int callMember(const std::string& name, ScriptValue* args, int argCount, ScriptValue& result) override;
    ScriptValue* findMember(const std::string& name) override;

    static HostMemberList memberList();

private:
    ~MathObject() override = default;

    ScriptValue m_pi;
    ScriptValue m_e;
};

} // namespace vorpane::script
