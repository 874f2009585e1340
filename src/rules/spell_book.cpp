#include "rules/spell_book.h"

#include "platform/data_files.h"
#include "platform/ui_services.h"
#include "rules/row_reader.h"
#include "rules/section_file.h"

#include <QDir>
#include <QFile>
#include <filesystem>

namespace vorpane {

namespace {

std::string fileTitle(const std::string& path) { return std::filesystem::path(path).stem().string(); }

std::string firstLine(const std::string& text) { return text.substr(0, text.find_first_of("\r\n")); }

std::optional<SpellBook> parse(const SectionFile& file)
{
    const std::optional<std::string> spells = file.findSection("SPELLS");
    if (!spells)
        return std::nullopt;

    SpellBook book;
    // A broken TITLE section has been reported; the file name stands in.
    book.title = firstLine(file.findSection("TITLE").value_or(std::string()));
    if (book.title.empty())
        book.title = fileTitle(file.fileName());

    RowReader reader(*spells);
    while (!reader.atEnd()) {
        const bool heading = reader.peek() == '*';
        const std::string text = heading ? reader.quoted('*', '*') : reader.quoted();
        if (reader.error()) {
            book.complete = false;
            break;
        }
        if (text.empty()) {
        } else if (heading) {
            book.headings.push_back({ text, {} });
        } else if (book.headings.empty()) {
            book.spells.push_back(text);
        } else {
            book.headings.back().spells.push_back(text);
        }
        reader.skipLine();
    }
    return book;
}

} // namespace

std::optional<SpellBook> readSpellBook(const std::string& path)
{
    SectionFile file;
    if (!file.open(path))
        return std::nullopt;
    return parse(file);
}

std::optional<SpellBook> parseSpellBook(const std::string& name, std::string content)
{
    SectionFile file;
    if (!file.openText(name, std::move(content)))
        return std::nullopt;
    return parse(file);
}

std::vector<std::string> spellBookFiles(const std::string& folder)
{
    const QDir dir(QFile::decodeName(folder.c_str()));
    const QString pattern = QStringLiteral("*") + QLatin1String(SpellBook::kExtension);
    std::vector<std::string> files;
    for (const QString& name : dir.entryList({ pattern }, QDir::Files, QDir::Name | QDir::IgnoreCase))
        files.push_back(QFile::encodeName(dir.filePath(name)).toStdString());
    return files;
}

std::vector<SpellBook> programSpellBooks(bool* allRead)
{
    const std::vector<std::string> files
        = dataFiles({ QStringLiteral("*") + QLatin1String(SpellBook::kExtension) }, QDir::Files,
            QDir::Name | QDir::IgnoreCase);
    if (files.empty())
        showMessage(kNoSpellBooksMessage);
    std::vector<SpellBook> books;
    bool all = !files.empty();
    for (const std::string& path : files) {
        std::optional<SpellBook> book = readSpellBook(path);
        all = all && book && book->complete;
        if (book && !book->isEmpty())
            books.push_back(std::move(*book));
    }
    if (allRead)
        *allRead = all;
    return books;
}

std::vector<std::string> splitSpells(std::string_view text)
{
    std::vector<std::string> names;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find(',', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view piece = text.substr(pos, end - pos);
        const size_t start = piece.find_first_not_of(" \t");
        if (start != std::string_view::npos)
            names.emplace_back(piece.substr(start));
        pos = end + 1;
    }
    return names;
}

std::string joinSpells(const std::vector<std::string>& names)
{
    std::string text;
    for (size_t i = 0; i < names.size(); ++i)
        text += (i > 0 ? ", " : "") + names[i];
    return text;
}

} // namespace vorpane
