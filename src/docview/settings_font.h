#pragma once
// The fonts of the output window and the script editor as the profile stores them
// (platform/stored_font.h), with the face mapped to an installed one the way sheets map theirs.

#include <QFont>
#include <string>

namespace vorpane {

// A Windows face that Linux lacks becomes its installed twin (Liberation, Comic Neue), any other
// missing face the last installed face that begins with its name; else Qt's nearest face.
QFont readSettingsFont(const std::string& section, const std::string& defaultFace, int defaultHeight);

} // namespace vorpane
