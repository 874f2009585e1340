#include "platform/whole_file.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

namespace vorpane {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

ReadFailure readWholeFile(const std::string& path, size_t maxSize, std::string& bytes)
{
    bytes.clear();
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(path, ignored))
        return ReadFailure::CannotOpen;
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return ReadFailure::CannotOpen;
    long length = -1;
    if (std::fseek(file.get(), 0, SEEK_END) == 0)
        length = std::ftell(file.get());
    if (length < 0 || std::fseek(file.get(), 0, SEEK_SET) != 0)
        return ReadFailure::CannotOpen;
    if (length == 0)
        return ReadFailure::Empty;
    if (size_t(length) > maxSize)
        return ReadFailure::TooLarge;
    bytes.assign(size_t(length), '\0');
    if (std::fread(bytes.data(), 1, bytes.size(), file.get()) < bytes.size()) {
        bytes.clear();
        return ReadFailure::Truncated;
    }
    return ReadFailure::None;
}

std::string readFailureMessage(ReadFailure failure, const char* openMessage)
{
    switch (failure) {
    case ReadFailure::None:
        return {};
    case ReadFailure::CannotOpen:
        return openMessage;
    case ReadFailure::Empty:
        return "File is empty";
    case ReadFailure::TooLarge:
        return "Cannot allocate buffer";
    case ReadFailure::Truncated:
        break;
    }
    return "Unexpected end of file";
}

bool readWholeFile(const std::string& path, size_t maxSize, const char* openMessage, std::string& bytes,
    std::string& failure)
{
    const ReadFailure result = readWholeFile(path, maxSize, bytes);
    failure = readFailureMessage(result, openMessage);
    return result == ReadFailure::None;
}

bool readTextFile(const std::string& path, size_t maxSize, std::string& text)
{
    text.clear();
    std::string bytes;
    const ReadFailure result = readWholeFile(path, maxSize, bytes);
    if (result != ReadFailure::None && result != ReadFailure::Empty)
        return false;
    text.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            continue;
        text += bytes[i];
    }
    return true;
}

} // namespace vorpane
