#pragma once
// SectionFile: a data file read whole and divided into named sections:
//
//   _BEGIN NAME
//   ...the section's lines...
//   _END NAME
//
// Section names compare ignoring case, and a blank in a requested name stands for '_'. A marker is
// found anywhere in the text as a prefix (so "_BEGIN SKILL" also matches "_BEGIN SKILLS"); the first
// match wins. A key/value section holds lines of two quoted strings, key then value.
//
// Errors are error boxes, "<file name> - <message>". The text ends at its first NUL byte, as a
// C text would. Files larger than kMaxFileSize are refused ("Cannot allocate buffer").

#include "platform/whole_file.h"

#include <cstddef>
#include <optional>
#include <string>

namespace vorpane {

class SectionFile {
public:
    // Far above any real data file; keeps a stray huge file from being read into memory.
    static constexpr size_t kMaxFileSize = kMaxDataFileBytes;

    enum class Report { Errors, Quiet };

    // Reads the whole file. On failure shows the error (unless Quiet) and keeps no text.
    bool open(const std::string& path, Report report = Report::Errors);
    // The same from bytes already in memory; name stands for the path in messages.
    bool openText(const std::string& name, std::string content, Report report = Report::Errors);

    bool isLoaded() const { return m_content.has_value(); }
    const std::string& fileName() const { return m_fileName; }

    // The text from the line after "_BEGIN name" up to "_END name" (exclusive). Empty without a
    // message when the section is absent; empty with a message when its _END is missing or the
    // file is not loaded.
    std::string section(const std::string& name) const;
    // The same, but nullopt after a reported error, so that readers can tell a broken section from
    // an absent one.
    std::optional<std::string> findSection(const std::string& name) const;

    // The value of the first pair of the key/value section whose key equals key ignoring case;
    // defaultValue when there is none.
    std::string value(
        const std::string& section, const std::string& key, const std::string& defaultValue) const;

private:
    void report(const std::string& message) const;
    bool fail(const std::string& message, Report report);
    // Offset of the first occurrence of marker (first character exact, the rest ignoring case).
    size_t findMarker(const std::string& marker, size_t from) const;

    std::string m_fileName;
    std::optional<std::string> m_content;
};

} // namespace vorpane
