#pragma once
// FieldObject: the script object `field`. getfieldvalue and setfieldvalue reach the layout's
// field table by id; every field is a read-only property whose name is the field's name (case
// ignored) and whose value is its id. Does not own the layout; detach() before the layout goes.

#include "script/host_member.h"
#include "script/script_object.h"

#include <deque>
#include <string>

namespace vorpane {

class SheetLayout;

class FieldObject final : public script::ScriptObject {
public:
    explicit FieldObject(SheetLayout& layout);

    int callMember(const std::string& name, script::ScriptValue* args, int argCount,
        script::ScriptValue& result) override;
    script::ScriptValue* findMember(const std::string& name) override;

    // The fixed members, for tools.
    static script::HostMemberList memberList();

    void detach() { m_layout = nullptr; }

private:
    ~FieldObject() override = default;

    SheetLayout* m_layout;
    std::deque<script::ScriptValue> m_properties; // one per field asked for, stable addresses
};

} // namespace vorpane
