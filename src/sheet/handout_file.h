#pragma once
// The handout file (".zho"): Windows-1252 text with CR LF line ends, written in one piece.
//
//   Handout {
//   	"Template" "carta"          always written
//   	"Text0" "..."               every non-empty text, then every non-empty picture
//   	"Picture0" "sello.gif"
//   }
//   (empty line)
//
// Reading takes any number of "word { ... }" sections; in a Handout block (case ignored) the key
// Template sets the template, TEXTn text n (0..49) and PICTUREn picture n (0..4), keys in any case;
// anything else is ignored. Texts may span lines. Brace blocks skip quoted strings, so a text
// holding a brace cannot end its block early.

#include "platform/whole_file.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace vorpane {

class HandoutFileData;

struct HandoutFile {
    // Far above any real handout; a larger file is refused before it is read.
    static constexpr size_t kMaxFileSize = kMaxDataFileBytes;

    // The bytes of the file. Double quotes in values become apostrophes and NUL bytes are
    // dropped, so every value reads back as it was written.
    static std::string text(const HandoutFileData& doc);

    // Writes through a temporary file that replaces path only once complete; on failure shows
    // "Cannot write handout file" and leaves an earlier file untouched.
    static bool save(const std::string& path, const HandoutFileData& doc);

    // Reads the file into doc's texts, pictures and template; what the file does not mention keeps
    // its value. On failure an error box was shown and doc is untouched. The history is not touched.
    static bool load(const std::string& path, HandoutFileData& doc);
    // The same from the file's bytes (which end at the first NUL byte).
    static bool read(std::string_view bytes, HandoutFileData& doc);
};

} // namespace vorpane
