#pragma once
// The sequence of the commands that work on an investigator file: load it, act on it and, for
// those that change it, save it with its sheet script. The loaders, act and the writers show
// their own messages; a step that fails ends the command with kFailed.

#include <functional>
#include <string>

namespace vorpane {
class Investigator;
}

namespace vorpane::cli {

using InvestigatorAction = std::function<bool(Investigator& inv)>;

// Loads the file at path and runs act on the investigator.
int actOnInvestigator(const std::string& path, const InvestigatorAction& act);

// The same, then saves the investigator as the investigator file out.
int updateInvestigator(const std::string& in, const std::string& out, const InvestigatorAction& act);

} // namespace vorpane::cli
