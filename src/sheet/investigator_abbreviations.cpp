#include "sheet/investigator_abbreviations.h"

#include "platform/data_files.h"
#include "platform/program_folder.h"
#include "rules/list_file.h"
#include "rules/row_reader.h"
#include "rules/section_file.h"
#include "rules/text_case.h"

namespace vorpane {

void Abbreviations::loadFromProgramFolder()
{
    m_rows.clear();
    SectionFile file;
    if (file.open(dataFilePath(ListFile::kFallbackFile)))
        readSection(file.section(kSection));
}

void Abbreviations::loadFromText(const std::string& name, std::string content)
{
    m_rows.clear();
    SectionFile file;
    if (file.openText(name, std::move(content)))
        readSection(file.section(kSection));
}

void Abbreviations::readSection(const std::string& section)
{
    RowReader rows(section);
    while (!rows.atEnd() && m_rows.size() < kMaxRows) {
        std::string full = rows.quoted();
        std::string shortName = rows.quoted();
        if (rows.error() || rows.exhausted())
            break;
        m_rows.emplace_back(std::move(full), std::move(shortName));
    }
}

const std::string& Abbreviations::of(const std::string& name) const
{
    for (const auto& [full, shortName] : m_rows) {
        if (equalsIgnoreCase(full, name))
            return shortName;
    }
    return name;
}

} // namespace vorpane
