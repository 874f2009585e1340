#pragma once
// The objects and classes a script can reach, each with the members its own dispatch accepts:
// what an editor offers for completion and shows as call tips. Gathered from the objects' own
// listings, so a member added to an object shows here without a second list.

#include "script/host_member.h"

#include <string>
#include <string_view>
#include <vector>

namespace vorpane {

// Which scripts see an object.
enum HostScope : unsigned {
    ScopeUserScript = 1, // user scripts (.vsc) and rule-file hooks
    ScopeSheetScript = 2, // sheet and handout scripts (.vis, .vhs)
    ScopeRuleScript = 4, // rule-file scripts that adapt an investigator
    ScopeEveryScript = ScopeUserScript | ScopeSheetScript | ScopeRuleScript,
};

struct HostObjectInfo {
    std::string name; // the global's name, or the class name after «new»
    bool isClass = false;
    std::string createParameters; // a class's constructor arguments
    unsigned scopes = ScopeEveryScript;
    script::HostMemberList members;
};

// Every host object and class, in a fixed order.
const std::vector<HostObjectInfo>& hostObjects();

// The object of that name (case ignored), or nullptr.
const HostObjectInfo* findHostObject(std::string_view name);

} // namespace vorpane
