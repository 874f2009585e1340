#pragma once
// The per-user settings: an INI file through QSettings (maker "Merrin", program "Vorpane").
// VORPANE_SETTINGS=path, or setProfilePath(), redirects the file; tests always do.
// Section and value names compare without regard to case. Texts are Windows-1252.

#include "platform/profile_keys.h"

#include <string>

namespace vorpane {

void setProfilePath(const std::string& path);

// What is wrong with the settings file. The program goes on either way: values that cannot be read
// take their defaults, and changes that cannot be stored last until the program ends.
enum class ProfileProblem {
    None,
    Garbled, // not all of it reads; the next write keeps only what could be read
    Unreadable, // not a readable file (a folder, no permission)
    Unwritable, // reads, but a change could not be stored
};

struct ProfileCheck {
    ProfileProblem problem = ProfileProblem::None;
    std::string path; // the settings file, in the file system's encoding
    std::string keptCopy; // Garbled: the file as it was, copied aside before anything rewrites it
};

// Looks at the settings file. Call it before anything writes a setting, so that a garbled file is
// still whole when it is copied aside.
ProfileCheck checkProfile();
// What to tell the user (Windows-1252); empty when nothing is wrong.
std::string profileProblemMessage(const ProfileCheck& check);
// checkProfile()'s message the first time this process asks, empty after: the user is told once.
std::string profileWarningOnce();

class Profile {
public:
    // A number found under a name declared in profile_keys.h is clamped to its range; no value, or
    // one that is no number, gives the default as it is.
    static int readInt(const std::string& section, const std::string& name, int defaultValue);
    static int readInt(const std::string& section, const std::string& name, int defaultValue, IntRange range);
    static std::string readString(
        const std::string& section, const std::string& name, const std::string& defaultValue);
    static void writeInt(const std::string& section, const std::string& name, int value);
    static void writeString(const std::string& section, const std::string& name, const std::string& value);

    // The same through a key of profile_keys.h, with its default.
    static int read(const IntKey& key) { return readInt(key.section, key.name, key.defaultValue, key.range); }
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
