#pragma once
// Investigators far larger than a player makes: a generated investigator file with the personal
// details of an example and as many skills and weapons as asked, for the stress tests and the
// benchmarks. The same counts always give the same bytes.

#include <string>

namespace vorpane::test {

// The bytes of an investigator file (Windows-1252, CR LF) with skills plain skills and weapons
// weapons, firearms and melee weapons in turn.
std::string largeInvestigatorText(int skills, int weapons);

// Writes it to path; false when the file cannot be written.
bool writeLargeInvestigator(const std::string& path, int skills, int weapons);

} // namespace vorpane::test
