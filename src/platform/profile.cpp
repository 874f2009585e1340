#include "platform/profile.h"

#include "platform/cp1252.h"

#include <QSettings>
#include <memory>

namespace vorpane {

namespace {

QString g_path;

std::unique_ptr<QSettings> openSettings()
{
    QString path = g_path;
    if (path.isEmpty())
        path = qEnvironmentVariable("VORPANE_SETTINGS");
    if (!path.isEmpty())
        return std::make_unique<QSettings>(path, QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "Merrin", "Vorpane");
}

// QSettings keys are case-sensitive; lower-case them so "FontFace" and "fontface" are one value.
QString keyOf(const std::string& section, const std::string& name)
{
    return (fromCp1252(section) + '/' + fromCp1252(name)).toLower();
}

} // namespace

void setProfilePath(const std::string& path) { g_path = QString::fromStdString(path); }

int Profile::readInt(const std::string& section, const std::string& name, int defaultValue)
{
    bool ok = false;
    const int value = openSettings()->value(keyOf(section, name)).toInt(&ok);
    return ok ? value : defaultValue;
}

std::string Profile::readString(
    const std::string& section, const std::string& name, const std::string& defaultValue)
{
    const QVariant value = openSettings()->value(keyOf(section, name));
    return value.isValid() ? toCp1252(value.toString()) : defaultValue;
}

void Profile::writeInt(const std::string& section, const std::string& name, int value)
{
    openSettings()->setValue(keyOf(section, name), value);
}

void Profile::writeString(const std::string& section, const std::string& name, const std::string& value)
{
    openSettings()->setValue(keyOf(section, name), fromCp1252(value));
}

} // namespace vorpane
