#include "rules/rule_file_entries.h"

#include "platform/data_files.h"
#include "rules/section_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace vorpane {

namespace {

constexpr const char* kEraSuffixes[] = { " (1890s)", " (1920s)", " (1990s)" };
constexpr int kEraLines = 3;
constexpr const char* kInvestigator = "Investigator";
constexpr const char* kNoCredit = "Vorpane v1.0 or v2.0 rule file\nNo further information available";

std::vector<std::string> firstLines(const std::string& text, int count)
{
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size() && int(lines.size()) < count) {
        const size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
        if (end > pos)
            lines.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return lines;
}

std::string withoutExtension(const std::string& fileName)
{
    const size_t dot = fileName.rfind('.');
    return dot == std::string::npos ? fileName : fileName.substr(0, dot);
}

} // namespace

std::vector<NewDocumentEntry> ruleFileEntries(const SectionFile& file, const std::string& ruleFile)
{
    std::vector<NewDocumentEntry> entries;
    const std::string eras = file.section("ERAS");
    if (eras.empty()) {
        for (int era = 0; era < kEraLines; ++era)
            entries.push_back({ ruleFile, withoutExtension(ruleFile) + kEraSuffixes[era], era });
        return entries;
    }
    const std::vector<std::string> lines = firstLines(eras, kEraLines);
    for (size_t era = 0; era < lines.size(); ++era) {
        if (lines[era].front() != '-')
            entries.push_back({ ruleFile, lines[era], int(era) });
    }
    return entries;
}

std::vector<NewDocumentEntry> ruleFileEntries(const std::string& ruleFile)
{
    SectionFile file;
    if (!file.open(dataFilePath(ruleFile)))
        return {};
    return ruleFileEntries(file, ruleFile);
}

std::vector<NewDocumentEntry> allRuleFileEntries()
{
    std::vector<NewDocumentEntry> entries;
    for (const std::string& path : dataFiles({ "*.rul" })) {
        const QString name = QFileInfo(QFile::decodeName(path.c_str())).fileName();
        std::vector<NewDocumentEntry> more = ruleFileEntries(QFile::encodeName(name).toStdString());
        entries.insert(entries.end(), more.begin(), more.end());
    }
    return entries;
}

EntryDescription describeEntry(const SectionFile& file, const NewDocumentEntry& entry)
{
    EntryDescription description;
    const bool loaded = file.isLoaded(); // an unreadable file was reported when it was opened
    const std::string investigator
        = loaded ? file.value("KEYVALUEPAIRS", "InvestigatorName", kInvestigator) : kInvestigator;
    const std::string shortInfo = loaded ? file.value("KEYVALUEPAIRS", "ShortInfo", "") : "";
    description.shortText = entry.text + " " + investigator + " " + shortInfo;
    const std::string credit = loaded ? file.section("CREDIT") : "";
    description.longText = description.shortText + "\r\n\r\n" + (credit.empty() ? kNoCredit : credit);
    return description;
}

EntryDescription describeEntry(const NewDocumentEntry& entry)
{
    SectionFile file;
    file.open(dataFilePath(entry.ruleFile));
    return describeEntry(file, entry);
}

} // namespace vorpane
