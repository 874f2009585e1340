// vorpane-cli spells [FILE.vsb...]: prints spell books as the spell dialog shows them, one node a
// line: the title at the start of the line, a heading two blanks in, a spell two blanks further in
// than the node it hangs under. Without a file, every book of the data folders. A book that
// cannot be read in full prints the reader's messages and makes the exit status 1; a book that
// the dialog would not show prints nothing.

#include "cli/cli_command.h"
#include "platform/cp1252.h"
#include "rules/spell_book.h"

namespace vorpane::cli {

namespace {

void print(const std::string& indent, const std::string& cp1252Text)
{
    printLine(indent + cp1252ToUtf8(cp1252Text));
}

void printBook(const SpellBook& book)
{
    if (book.isEmpty())
        return;
    print("", book.title);
    for (const std::string& spell : book.spells)
        print("  ", spell);
    for (const SpellHeading& heading : book.headings) {
        print("  ", heading.name);
        for (const std::string& spell : heading.spells)
            print("    ", spell);
    }
}

int runSpells(const Command& self, const Args& args)
{
    for (const std::string& arg : args) {
        if (arg.starts_with("-"))
            return printUsage(self);
    }
    bool allRead = true;
    if (args.empty()) {
        const std::vector<SpellBook> books = programSpellBooks(&allRead);
        for (const SpellBook& book : books)
            printBook(book);
        return allRead ? kSuccess : kFailed;
    }
    for (const std::string& path : args) {
        const std::optional<SpellBook> book = readSpellBook(path);
        if (!book || !book->complete)
            allRead = false;
        if (book)
            printBook(*book);
    }
    return allRead ? kSuccess : kFailed;
}

} // namespace

VORPANE_CLI_COMMAND(spells, "spells", "[FILE.vsb...]", runSpells);

} // namespace vorpane::cli
