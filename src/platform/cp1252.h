#pragma once
// Windows-1252 is the text encoding of every file and script; the core keeps texts as such bytes
// in std::string and converts only where they meet Qt widgets or the terminal.

#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace vorpane {

// Windows-1252 bytes to Unicode. The five bytes the code page leaves undefined map to U+FFFD.
QString fromCp1252(std::string_view bytes);

// Unicode to Windows-1252 bytes; characters outside the code page become '?'.
std::string toCp1252(const QString& text);

// Exact forms for text that is edited and written back byte for byte (the script editor): the
// five bytes the code page leaves undefined become the C1 control of the same number and back.
QString fromCp1252Exact(std::string_view bytes);
// Nothing when a character has no byte; `badIndex` then names the first such character.
std::optional<std::string> toCp1252Exact(const QString& text, qsizetype* badIndex = nullptr);

// A UTF-8 literal of the source code as the core's Windows-1252 text.
std::string cp1252(std::string_view utf8);

// Windows-1252 bytes as UTF-8 (for standard output).
std::string cp1252ToUtf8(std::string_view bytes);

} // namespace vorpane
