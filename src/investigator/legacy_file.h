#pragma once
// The two earlier investigator formats, "INV10" and "INV20": a byte stream of LF-ended lines and
// 32-bit little-endian integers.
//
//   line "INV10"/"INV20", lines Name Occupation Birthplace Colleges MentalDisorders Sex,
//   int Age, int Era, line Portrait, ints APA CON DES EDU INT POD TAM FUE, int n, n entries,
//   line Player, and in version 2 only: ints COR PV Magic, lines Affiliation CodeName
//   CurrentDate Insanities.
//
//   entry: int current, int base value, int occupational, int kind, then by kind:
//     4 AnySkill nothing; 1 Skill lines Name Base, ints era bits 1 2 4;
//     2 Firearm as 1 + lines Dmg Range Shots Bullets PV MAL; 3 Melee as 1 + lines Dmg Attacks PV;
//     5 SpecialSkill as 1 + int subskill count; 6 SubSkill as 1 + line parent's Name.
//
// Checked flags and every text not listed are not stored.

#include <string>
#include <string_view>

namespace vorpane {

class Investigator;

struct LegacyFile {
    // Reads the whole file (header line included) into inv, then removes unnamed entries, sorts,
    // computes base values and makes sure the rule set is cached. False, without a message, when
    // the data ends early or holds an unknown kind.
    static bool read(std::string_view bytes, int version, Investigator& inv);

    // The bytes of a version 1 or 2 file. A line break inside a text would end its line early and
    // shift every later item, so it is written as a blank.
    static std::string bytes(const Investigator& inv, int version);

    // Writes the file through a temporary file; "Could not open file for output!" or
    // "Could not write Vorpane 1.0 file" (2.0) on failure. The investigator is not changed.
    static bool exportFile(const std::string& path, const Investigator& inv, int version);

    // The name the export proposes: the document's path (empty when never saved) + "_10.inv".
    static std::string proposedName(const std::string& documentPath, int version);
};

} // namespace vorpane
