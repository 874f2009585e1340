#pragma once
// InvestigatorObject: the script object "investigator" that rule-file scripts use to adapt an
// investigator. It holds its own copy of 40 properties (skillpoints, name, app, pow, san, ...);
// a script's assignments change only the copy until recalculate() runs or the object is
// detached or destroyed, which write the copy back. Members query and change the skills.
// Property and member names are matched without regard to case.
//
// The object does not own the investigator. Whoever binds it keeps a hold and calls detach()
// when the run is over, so the write-back happens then even if a script left the object in a
// cycle of values, and the object never touches the investigator afterwards.

#include "script/host_member.h"
#include "script/script_object.h"

#include <array>
#include <cstddef>
#include <string>

namespace vorpane {

class Investigator;
struct SkillEntry;

class InvestigatorObject final : public script::ScriptObject {
public:
    static constexpr size_t kPropertyCount = 40;

    explicit InvestigatorObject(Investigator& inv);

    int callMember(const std::string& name, script::ScriptValue* args, int argCount,
        script::ScriptValue& result) override;
    script::ScriptValue* findMember(const std::string& name) override;

    // The fixed members, for tools.
    static script::HostMemberList memberList();

    // Writes the properties back, drops them and forgets the investigator.
    void detach();
    bool isAttached() const { return m_inv != nullptr; }

private:
    ~InvestigatorObject() override;

    void readProperties();
    void writeProperties();

    // The entry of that name, ignoring subskill entries (they never count as found).
    SkillEntry* findSkill(const std::string& name) const;
    // Shows "Script Error: Skill <name> was not found" and returns CallReported.
    int skillNotFound(const std::string& name) const;

    int hasGotSkill(script::ScriptValue* args, script::ScriptValue& result);
    int getSkillValue(script::ScriptValue* args, script::ScriptValue& result);
    int setSkillValue(script::ScriptValue* args);
    int getSkillSubsetCount(script::ScriptValue* args, script::ScriptValue& result);
    int setSubSkill(script::ScriptValue* args, int argCount);
    int addSkill(script::ScriptValue* args, int argCount, bool occupational);
    int recalculate();

    Investigator* m_inv;
    std::array<script::ScriptValue, kPropertyCount> m_properties;
};

} // namespace vorpane
