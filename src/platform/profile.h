#pragma once
// The per-user settings: an INI file through QSettings (maker "Merrin", program "Vorpane").
// VORPANE_SETTINGS=path, or setProfilePath(), redirects the file; tests always do.
// Section and value names compare without regard to case. Texts are Windows-1252.

#include "platform/profile_keys.h"

#include <string>

namespace vorpane {

void setProfilePath(const std::string& path);

class Profile {
public:
    static int readInt(const std::string& section, const std::string& name, int defaultValue);
    static std::string readString(
        const std::string& section, const std::string& name, const std::string& defaultValue);
    static void writeInt(const std::string& section, const std::string& name, int value);
    static void writeString(const std::string& section, const std::string& name, const std::string& value);

    // The same through a key of profile_keys.h, with its default.
    static int read(const IntKey& key) { return readInt(key.section, key.name, key.defaultValue); }
    static std::string read(const TextKey& key)
    {
        return readString(key.section, key.name, key.defaultValue);
    }
    static void write(const IntKey& key, int value) { writeInt(key.section, key.name, value); }
    static void write(const TextKey& key, const std::string& value)
    {
        writeString(key.section, key.name, value);
    }
};

} // namespace vorpane
