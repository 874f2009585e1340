#pragma once
// What an investigator's rule file says about showing it: the sheet script a view shows when the
// document names none ("DefaultScript") and the list file of the field editor's suggestions
// ("Options").

#include <string>

namespace vorpane {

class InvestigatorDocumentModel;
class Investigator;

// The document's own sheet script, else the rule file's DefaultScript (loading the rule file),
// else "".
std::string investigatorSheetScript(const InvestigatorDocumentModel& document);

// The rule file's "Options" value, "options.lst" when it names none or does not load.
std::string investigatorOptionsFile(const Investigator& investigator);

} // namespace vorpane
