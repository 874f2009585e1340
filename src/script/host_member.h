#pragma once
// HostMember: one member of an object that scripts reach, as an object lists it for tools (an
// editor's completion and call tips). Each object lists what its own dispatch accepts; nothing
// here takes part in a run.

#include <string>
#include <vector>

namespace vorpane::script {

enum class HostMemberKind { Function, Variable };

struct HostMember {
    std::string name; // as scripts usually write it; matched without regard to case
    HostMemberKind kind = HostMemberKind::Function;
    // Parameter names separated by ", "; an optional one in brackets ("name, [base]"), "..." for
    // any number. Empty for a variable or a function without parameters.
    std::string parameters;
};

using HostMemberList = std::vector<HostMember>;

} // namespace vorpane::script
