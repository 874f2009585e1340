// Spell books from arbitrary bytes: the title, headings and spells, and the Spells text split and
// joined again.
#include "platform/recording_ui.h"
#include "rules/spell_book.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace vorpane;
    static RecordingUi recorder;
    installUi(&recorder);
    recorder.reset();

    const std::string text(reinterpret_cast<const char*>(data), size);
    if (const std::optional<SpellBook> book = parseSpellBook("fuzz.vsb", text)) {
        std::vector<std::string> chosen = book->spells;
        for (const SpellHeading& heading : book->headings)
            chosen.insert(chosen.end(), heading.spells.begin(), heading.spells.end());
        splitSpells(joinSpells(chosen));
    }
    // Pieces hold no comma and start with no blank, so they survive a join unchanged.
    const std::vector<std::string> pieces = splitSpells(text);
    if (splitSpells(joinSpells(pieces)) != pieces)
        std::abort();
    return 0;
}
