#pragma once
// The investigator file (".inv"): Windows-1252 text with CR LF line ends, written in one piece.
//
//   INV
//   Sheet {
//   	"Script" "sheet.vis"
//   	"Class" "Investigator"
//   }
//
//   Investigator {
//   	"Name" "..."            one line per stored field, in file order
//   	Skills {
//   		Skill {
//   			"Name" "..."    Skill, SpecialSkill (with its SubSkill blocks), Firearm, Melee
//   		}
//
//   	}
//   }
//
// Reading is lenient: keys and block words in any case, unknown keys and blocks skipped. Files
// that start with INV10 or INV20 go to the legacy reader.

#include "platform/whole_file.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace vorpane {

class Investigator;

struct InvestigatorFile {
    // Far above a real investigator (10,000 entries take about 2 MB); a larger file is refused
    // before it is read into memory.
    static constexpr size_t kMaxFileSize = kMaxDataFileBytes;

    // The bytes of the file. Double quotes in texts become apostrophes and NUL bytes are dropped,
    // so every value reads back as it was written.
    static std::string text(const Investigator& inv, const std::string& sheetScript);

    // Writes through a temporary file that replaces path only once it is complete; on failure
    // shows "Cannot write investigator file" and leaves an earlier file at path untouched.
    static bool save(const std::string& path, const Investigator& inv, const std::string& sheetScript);

    // Reads any investigator file, including the two legacy versions. On success inv and
    // sheetScript are replaced; on failure an error box was shown and both are untouched.
    static bool load(const std::string& path, Investigator& inv, std::string& sheetScript);
    // The same from the file's bytes.
    static bool read(std::string_view bytes, Investigator& inv, std::string& sheetScript);
};

} // namespace vorpane
