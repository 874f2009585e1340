#pragma once
// Spell books: small sectioned files (".vsb" in the data folders) that list spells under
// headings, read for the spell dialog and `vorpane-cli spells`.
//
//   _BEGIN TITLE
//   Libro de las mareas          the first line is the title; without one, the file's name
//   _END TITLE
//   _BEGIN SPELLS
//   "Voz del pozo"               a spell before any heading hangs under the book itself
//   *Protección*                 a heading between two '*' (an empty one is ignored)
//   "Círculo de ceniza"          a spell, under the latest heading
//   _END SPELLS
//
// Rows are read with the RowReader (comments and blank lines skipped, the rest of a row ignored).
// Spells never hang under the book after a heading, so a book is its loose spells, then its
// headings. The investigator keeps the chosen spells as one text, the names joined with ", ".

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorpane {

struct SpellHeading {
    std::string name;
    std::vector<std::string> spells;
};

struct SpellBook {
    static constexpr const char* kExtension = ".vsb";

    std::string title;
    std::vector<std::string> spells; // before the first heading
    std::vector<SpellHeading> headings;
    // False when a row could not be read: the reader showed its box and the rest of the section
    // was skipped.
    bool complete = true;

    // A book without headings and spells is not shown.
    bool isEmpty() const { return spells.empty() && headings.empty(); }
};

// Reads the book at path. nullopt when the file or its SPELLS section cannot be read (the
// section-file messages were shown); the book contributes no node then.
std::optional<SpellBook> readSpellBook(const std::string& path);
// The same from bytes in memory; name stands for the path in messages and titles.
std::optional<SpellBook> parseSpellBook(const std::string& name, std::string content);

// The warning when no data folder holds a spell book.
inline constexpr const char* kNoSpellBooksMessage
    = "Could not find any spell books in the Vorpane folder (*.vsb)";

// The "*.vsb" files of the folder (case ignored), as full paths sorted by file name so that the
// books always appear in the same order.
std::vector<std::string> spellBookFiles(const std::string& folder);

// The books of the data folders that the dialog shows, in file-name order, a user's book hiding
// the program's of the same name (empty ones left out); warns
// with kNoSpellBooksMessage when there is no "*.vsb" file. allRead turns false then, and when a
// book could not be read in full.
std::vector<SpellBook> programSpellBooks(bool* allRead = nullptr);

// The Spells text as a list: split at commas, blanks and TABs at the start of each piece dropped,
// empty pieces skipped.
std::vector<std::string> splitSpells(std::string_view text);
// The names joined with ", ".
std::string joinSpells(const std::vector<std::string>& names);

} // namespace vorpane
