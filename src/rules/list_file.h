#pragma once
// ListFile: named lists of lines ("names.lst", a rule file's options list), each list one section
// of a sectioned file with one entry per line. Lines end with CR, LF or any run of them; empty
// lines are skipped; nothing else is interpreted. A list missing from the file (or the file
// itself) is looked up in "options.lst" of the data folders; after that it is absent, without
// a message. The most recently loaded lists stay in a few cache slots.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vorpane {

class ListFile {
public:
    static constexpr int kMaxSlots = 64; // far more than any caller asks for
    static constexpr const char* kFallbackFile = "options.lst";

    using Entries = std::shared_ptr<const std::vector<std::string>>;

    // fileName in the data folders; slotCount is at least 1.
    ListFile(const std::string& fileName, int slotCount);
    // Lists read from text already in memory, with no fallback file (tests, fuzzing).
    static ListFile fromText(std::string name, std::string content, int slotCount);

    // The entries of the list, or null when neither file holds a non-empty list of that name.
    // Blanks around name are ignored and inner blanks stand for '_'.
    Entries section(const std::string& name);

    const std::string& path() const { return m_path; }

private:
    struct Slot {
        std::string name;
        Entries entries;
        uint32_t tick = 0; // when it was loaded
        uint64_t loadNumber = 0; // orders loads within one tick
    };

    ListFile() = default;
    void initSlots(int slotCount);
    std::vector<std::string> readList(const std::string& name) const;

    std::string m_path;
    std::string m_fallbackPath; // empty: no fallback
    std::optional<std::string> m_text; // set for lists read from memory
    std::vector<Slot> m_slots;
    uint64_t m_loads = 0;
};

// Splits a list's text into its entries.
std::vector<std::string> splitListEntries(const std::string& text);

// A list name as sections are looked up: outer blanks trimmed, inner blanks as '_'.
std::string normaliseListName(const std::string& name);

} // namespace vorpane
