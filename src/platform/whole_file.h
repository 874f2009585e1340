#pragma once
// Reading a file whole: the one way every reader of the program gets a file's bytes. Only regular
// files are read (a pipe or a device could block or never end), never more than the caller's cap,
// and a failure comes with the message the readers show.
//
// Paths are passed to the file system as they are (its own encoding); callers holding a
// Windows-1252 name convert it first.

#include <cstddef>
#include <string>

namespace vorpane {

// The cap of the sectioned data files (rule, investigator and handout files).
constexpr size_t kMaxDataFileBytes = size_t(32) * 1024 * 1024;
// The cap of script files (user scripts, sheet and handout scripts, the script editor): no script
// is this large, and a stray file would otherwise take the memory and the time of a parse.
constexpr size_t kMaxScriptFileBytes = size_t(16) * 1024 * 1024;

enum class ReadFailure {
    None,
    CannotOpen, // missing, no regular file, or unreadable
    Empty,
    TooLarge,
    Truncated, // fewer bytes came than the file's size
};

// Reads the regular file at path into bytes (empty after a failure).
ReadFailure readWholeFile(const std::string& path, size_t maxSize, std::string& bytes);

// The readers' message for a failure: openMessage for CannotOpen, else "File is empty",
// "Cannot allocate buffer" or "Unexpected end of file".
std::string readFailureMessage(ReadFailure failure, const char* openMessage);

// The same read with its message: false and the message in failure when it fails.
bool readWholeFile(const std::string& path, size_t maxSize, const char* openMessage, std::string& bytes,
    std::string& failure);

// A text-mode read: the bytes with every CR LF turned into LF. An empty file is an empty text.
// False when the file cannot be read or is larger than maxSize.
bool readTextFile(const std::string& path, size_t maxSize, std::string& text);

} // namespace vorpane
