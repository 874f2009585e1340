#include "rules/section_file.h"

#include "platform/ui_services.h"
#include "platform/whole_file.h"
#include "rules/row_reader.h"
#include "rules/text_case.h"

#include <cstring>

namespace vorpane {

namespace {

std::string markerName(const std::string& name)
{
    std::string marker = name;
    for (char& c : marker) {
        if (c == ' ')
            c = '_';
    }
    return marker;
}

} // namespace

void SectionFile::report(const std::string& message) const
{
    showMessage(m_fileName.empty() ? message : m_fileName + " - " + message, {}, MsgIcon::Error);
}

bool SectionFile::fail(const std::string& message, Report how)
{
    m_content.reset();
    if (how == Report::Errors)
        report(message);
    return false;
}

bool SectionFile::open(const std::string& path, Report how)
{
    m_fileName = path;
    m_content.reset();
    std::string content;
    const ReadFailure failure = readWholeFile(path, kMaxFileSize, content);
    if (failure != ReadFailure::None)
        return fail(readFailureMessage(failure, "Cannot open file"), how);
    return openText(path, std::move(content), how);
}

bool SectionFile::openText(const std::string& name, std::string content, Report how)
{
    m_fileName = name;
    m_content.reset();
    if (content.empty())
        return fail("File is empty", how);
    if (content.size() > kMaxFileSize)
        return fail("Cannot allocate buffer", how);
    content.resize(std::strlen(content.c_str()));
    m_content = std::move(content);
    return true;
}

size_t SectionFile::findMarker(const std::string& marker, size_t from) const
{
    const std::string& text = *m_content;
    if (marker.empty() || text.size() < marker.size())
        return std::string::npos;
    const std::string_view rest(marker.data() + 1, marker.size() - 1);
    const size_t last = text.size() - marker.size();
    for (size_t at = text.find(marker[0], from); at != std::string::npos && at <= last;
         at = text.find(marker[0], at + 1)) {
        if (equalsIgnoreCase(std::string_view(text).substr(at + 1, rest.size()), rest))
            return at;
    }
    return std::string::npos;
}

std::string SectionFile::section(const std::string& name) const
{
    return findSection(name).value_or(std::string());
}

std::optional<std::string> SectionFile::findSection(const std::string& name) const
{
    if (!m_content) {
        report("File not loaded");
        return std::nullopt;
    }
    const std::string& text = *m_content;
    const std::string wanted = markerName(name);
    const size_t begin = findMarker("_BEGIN " + wanted, 0);
    if (begin == std::string::npos)
        return std::string();
    size_t start = text.find_first_of("\r\n", begin);
    if (start == std::string::npos)
        start = text.size();
    else
        start += text.compare(start, 2, "\r\n") == 0 ? 2 : 1;
    const size_t end = findMarker("_END " + wanted, start);
    if (end == std::string::npos) {
        report("Could not find matching _END for section _BEGIN " + name);
        return std::nullopt;
    }
    return text.substr(start, end - start);
}

std::string SectionFile::value(
    const std::string& sectionName, const std::string& key, const std::string& defaultValue) const
{
    RowReader reader(section(sectionName));
    while (!reader.atEnd()) {
        std::string pairKey = reader.quoted();
        std::string pairValue = reader.quoted();
        if (reader.error())
            break;
        if (reader.exhausted()) {
            report("Unexpected end of keypair section");
            break;
        }
        if (equalsIgnoreCase(pairKey, key))
            return pairValue;
        reader.skipLine();
    }
    return defaultValue;
}

} // namespace vorpane
