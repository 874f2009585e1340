#pragma once
// Reading a document file whole, with the messages the file readers share.

#include <cstddef>
#include <string>

namespace vorpane {

// Reads the regular file at path (a pipe or a device would block or never end) into bytes.
// False with the message to show when that fails: openMessage when the file cannot be opened
// or is no regular file, else "File is empty", "Cannot allocate buffer" (beyond maxSize) or
// "Unexpected end of file".
bool readWholeFile(const std::string& path, size_t maxSize, const char* openMessage, std::string& bytes,
    std::string& failure);

} // namespace vorpane
