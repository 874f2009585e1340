#pragma once
// What the new-document dialog offers for rule files: one entry per offered era, and the short
// and long descriptions of an entry. The ERAS section's first three non-empty lines title eras
// 0, 1 and 2; a line starting with '-' withholds its era. Without ERAS every era is offered as
// "<name without extension> (1890s)" and so on.

#include <string>
#include <vector>

namespace vorpane {

class SectionFile;

struct NewDocumentEntry {
    std::string ruleFile; // file name without folder
    std::string text; // display text
    int era = 0; // 0 1890s, 1 1920s, 2 1990s
};

struct EntryDescription {
    std::string shortText; // status bar
    std::string longText; // "Más Información"
};

// The entries of one rule file, already opened.
std::vector<NewDocumentEntry> ruleFileEntries(const SectionFile& file, const std::string& ruleFile);
// The entries of a rule file of the data folders (none when it cannot be opened).
std::vector<NewDocumentEntry> ruleFileEntries(const std::string& ruleFile);
// The entries of every "*.rul" file of the data folders, files in name order, a user's file
// hiding the program's of the same name.
std::vector<NewDocumentEntry> allRuleFileEntries();

// Text, "InvestigatorName" and "ShortInfo" of the rule file's KEYVALUEPAIRS; then the CREDIT
// section for the long text.
EntryDescription describeEntry(const SectionFile& file, const NewDocumentEntry& entry);
EntryDescription describeEntry(const NewDocumentEntry& entry);

} // namespace vorpane
