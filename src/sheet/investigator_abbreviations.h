#pragma once
// Short names of skills for compact sheets: the section "Abbreviations" of "options.lst" in the
// data folders, rows of two quoted strings (full name, short name) read in order until the end
// or the first unreadable row.

#include <string>
#include <utility>
#include <vector>

namespace vorpane {

class Abbreviations {
public:
    static constexpr const char* kSection = "Abbreviations";
    // More rows than any list needs; the rest of a runaway section is ignored.
    static constexpr size_t kMaxRows = 10000;

    // Reads the options list (ListFile::kFallbackFile) of the data folders; a missing file is reported by
    // the file reader and leaves the table empty.
    void loadFromProgramFolder();
    // Reads the section from a file's text; name stands for the file in messages.
    void loadFromText(const std::string& name, std::string content);

    // The short name of the first row whose full name equals name ignoring case, else name.
    const std::string& of(const std::string& name) const;

    size_t size() const { return m_rows.size(); }

private:
    void readSection(const std::string& section);

    std::vector<std::pair<std::string, std::string>> m_rows;
};

} // namespace vorpane
