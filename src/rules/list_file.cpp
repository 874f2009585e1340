#include "rules/list_file.h"

#include "platform/data_files.h"
#include "platform/program_folder.h"
#include "platform/random.h"
#include "platform/ui_services.h"
#include "platform/wait_cursor.h"
#include "rules/section_file.h"
#include "rules/text_case.h"

#include <algorithm>

namespace vorpane {

namespace {

std::string readSection(SectionFile& file, const std::string& name)
{
    return file.isLoaded() ? file.section(name) : std::string();
}

} // namespace

std::vector<std::string> splitListEntries(const std::string& text)
{
    std::vector<std::string> entries;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
        if (end > pos)
            entries.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return entries;
}

std::string normaliseListName(const std::string& name)
{
    const size_t first = name.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    std::string trimmed = name.substr(first, name.find_last_not_of(' ') - first + 1);
    std::replace(trimmed.begin(), trimmed.end(), ' ', '_');
    return trimmed;
}

ListFile::ListFile(const std::string& fileName, int slotCount)
    : m_path(dataFilePath(fileName))
    , m_fallbackPath(dataFilePath(kFallbackFile))
{
    initSlots(slotCount);
}

ListFile ListFile::fromText(std::string name, std::string content, int slotCount)
{
    ListFile list;
    list.m_path = std::move(name);
    list.m_text = std::move(content);
    list.initSlots(slotCount);
    return list;
}

void ListFile::initSlots(int slotCount)
{
    m_slots.assign(size_t(std::clamp(slotCount, 1, kMaxSlots)), Slot());
    const uint32_t now = tickCount();
    for (Slot& slot : m_slots)
        slot.tick = now;
}

std::vector<std::string> ListFile::readList(const std::string& name) const
{
    SectionFile file;
    if (m_text)
        file.openText(m_path, *m_text, SectionFile::Report::Quiet);
    else
        file.open(m_path, SectionFile::Report::Quiet);
    std::vector<std::string> entries = splitListEntries(readSection(file, name));
    if (entries.empty() && !m_fallbackPath.empty()) {
        SectionFile fallback;
        fallback.open(m_fallbackPath, SectionFile::Report::Quiet);
        entries = splitListEntries(readSection(fallback, name));
    }
    return entries;
}

ListFile::Entries ListFile::section(const std::string& name)
{
    const std::string wanted = normaliseListName(name);
    for (const Slot& slot : m_slots) {
        if (slot.entries && equalsIgnoreCase(slot.name, wanted))
            return slot.entries;
    }
    std::vector<std::string> entries;
    {
        WaitCursor wait;
        entries = readList(wanted);
    }
    if (entries.empty())
        return nullptr;
    Slot* oldest = &m_slots.front();
    for (Slot& slot : m_slots) {
        if (slot.loadNumber < oldest->loadNumber)
            oldest = &slot;
    }
    *oldest = Slot();
    oldest->tick = tickCount();
    oldest->loadNumber = ++m_loads;
    oldest->name = wanted;
    oldest->entries = std::make_shared<const std::vector<std::string>>(std::move(entries));
    return oldest->entries;
}

} // namespace vorpane
