#include "sheet/handout_file.h"

#include "platform/save_file.h"
#include "platform/ui_services.h"
#include "platform/whole_file.h"
#include "rules/block_reader.h"
#include "rules/row_reader.h"
#include "rules/text_case.h"
#include "sheet/handout_file_data.h"

#include <cstdio>

namespace vorpane {

namespace {

constexpr const char* kSectionName = "Handout";
constexpr const char* kTemplateKey = "Template";
constexpr const char* kTextPrefix = "TEXT";
constexpr const char* kPicturePrefix = "PICTURE";

void error(const std::string& message) { showMessage(message, {}, MsgIcon::Error); }

// One value line: TAB, "key", a blank, "value", CR LF.
void appendValueLine(std::string& out, const std::string& key, const std::string& value)
{
    out += "\t\"";
    out += key;
    out += "\" \"";
    for (char c : value) {
        if (c == '"')
            out += '\'';
        else if (c != '\0')
            out += c;
    }
    out += "\"\r\n";
}

std::string indexedKey(const char* format, int index)
{
    char key[32];
    std::snprintf(key, sizeof key, format, index);
    return key;
}

// The number after a key's prefix, as atoi reads it; -1 when it is not below count.
int keyIndex(std::string_view key, size_t prefixLength, int count)
{
    const int index = parseDecimal(std::string(key.substr(prefixLength)));
    return index >= 0 && index < count ? index : -1;
}

void applyPair(std::string_view key, std::string_view value, HandoutFileData& doc)
{
    if (equalsIgnoreCase(key, kTemplateKey)) {
        doc.templateName = value;
    } else if (startsWithIgnoreCase(key, kTextPrefix)) {
        if (const int i = keyIndex(key, 4, kHandoutTextCount); i >= 0)
            doc.texts[i] = value;
    } else if (startsWithIgnoreCase(key, kPicturePrefix)) {
        if (const int i = keyIndex(key, 7, kHandoutPictureCount); i >= 0)
            doc.pictures[i] = value;
    }
}

} // namespace

std::string HandoutFile::text(const HandoutFileData& doc)
{
    std::string out = "Handout { \r\n";
    appendValueLine(out, kTemplateKey, doc.templateName);
    for (int i = 0; i < kHandoutTextCount; ++i) {
        if (!doc.texts[i].empty())
            appendValueLine(out, indexedKey("Text%d", i), doc.texts[i]);
    }
    for (int i = 0; i < kHandoutPictureCount; ++i) {
        if (!doc.pictures[i].empty())
            appendValueLine(out, indexedKey("Picture%d", i), doc.pictures[i]);
    }
    out += "}\r\n\r\n";
    return out;
}

bool HandoutFile::save(const std::string& path, const HandoutFileData& doc)
{
    ui().beginWaitCursor();
    const std::string bytes = text(doc);
    const bool ok = saveFile(path, bytes) == SaveResult::Saved;
    ui().endWaitCursor();
    if (!ok)
        error("Cannot write handout file");
    return ok;
}

bool HandoutFile::load(const std::string& path, HandoutFileData& doc)
{
    std::string bytes, failure;
    if (!readWholeFile(path, kMaxFileSize, "Cannot open handout file", bytes, failure)) {
        error(failure);
        return false;
    }
    return read(bytes, doc);
}

bool HandoutFile::read(std::string_view bytes, HandoutFileData& doc)
{
    const size_t nul = bytes.find('\0');
    if (nul != std::string_view::npos)
        bytes = bytes.substr(0, nul);

    // Read into a copy, so that a file that fails half-way leaves the document as it was.
    HandoutFileData result;
    result.texts = doc.texts;
    result.pictures = doc.pictures;
    result.templateName = doc.templateName;

    const bool read = forEachSection(bytes, [&result](std::string_view section, std::string_view block) {
        if (!equalsIgnoreCase(section, kSectionName)) {
            showMessage("Warning Unknown section type: " + std::string(section), {}, MsgIcon::None);
            return;
        }
        // Pairs until the end of the block or the first unreadable one, whose box the reader shows.
        forEachPair(block,
            [&result](std::string_view key, std::string_view value) { applyPair(key, value, result); });
    });
    if (!read)
        return false;
    doc.texts = std::move(result.texts);
    doc.pictures = std::move(result.pictures);
    doc.templateName = std::move(result.templateName);
    return true;
}

} // namespace vorpane
