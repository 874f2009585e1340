#include "platform/profile.h"

#include "platform/cp1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSettings>
#include <QTemporaryFile>
#include <atomic>
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

bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// The table's entry for a name, whatever its case; null for a name the program does not declare.
const profile_keys::KeyName* declared(const QString& section, const QString& name)
{
    for (const profile_keys::KeyName& key : profile_keys::kKeyNames) {
        if (sameName(section, QLatin1String(key.section)) && sameName(name, QLatin1String(key.name)))
            return &key;
    }
    return nullptr;
}

QString declaredSection(const QString& section)
{
    for (const profile_keys::KeyName& key : profile_keys::kKeyNames) {
        if (sameName(section, QLatin1String(key.section)))
            return QLatin1String(key.section);
    }
    return section;
}

// Section and name as the program writes them: as declared, else as the caller spells them.
struct Spelling {
    QString section;
    QString name;
    QString key() const { return section + QLatin1Char('/') + name; }
};

Spelling canonical(const QString& section, const QString& name)
{
    if (const profile_keys::KeyName* key = declared(section, name))
        return { QLatin1String(key->section), QLatin1String(key->name) };
    return { declaredSection(section), name };
}

// QSettings compares names with their case: the key as the file spells it, the program's own
// spelling first; empty when the file has no such value.
QString findKey(QSettings& settings, const Spelling& wanted)
{
    if (settings.contains(wanted.key()))
        return wanted.key();
    const QStringList groups = settings.childGroups();
    for (const QString& group : groups) {
        if (!sameName(group, wanted.section))
            continue;
        settings.beginGroup(group);
        const QStringList names = settings.childKeys();
        settings.endGroup();
        for (const QString& name : names) {
            if (sameName(name, wanted.name))
                return group + QLatin1Char('/') + name;
        }
    }
    return {};
}

QVariant readValue(const std::string& section, const std::string& name)
{
    const std::unique_ptr<QSettings> settings = openSettings();
    const QString key = findKey(*settings, canonical(fromCp1252(section), fromCp1252(name)));
    return key.isEmpty() ? QVariant() : settings->value(key);
}

// Rewrites every section and value the file spells otherwise in the program's spelling (names the
// program does not declare in the spelling met first), so one name is one entry in one section.
// Where two spellings both hold a value, the one a read finds first is kept: the program's own,
// else the first in the file's order.
void tidy(QSettings& settings)
{
    QHash<QString, QString> sections; // lower case -> the spelling kept
    QHash<QString, QString> names;
    const QStringList groups = settings.childGroups();
    for (const QString& group : groups) {
        QString& section = sections[group.toLower()];
        if (section.isEmpty())
            section = declaredSection(group);
        settings.beginGroup(group);
        const QStringList keys = settings.childKeys();
        settings.endGroup();
        for (const QString& key : keys) {
            const Spelling spelling = canonical(section, key);
            QString& name = names[spelling.key().toLower()];
            if (name.isEmpty())
                name = spelling.name;
            const QString target = section + QLatin1Char('/') + name;
            const QString found = group + QLatin1Char('/') + key;
            if (found == target)
                continue;
            if (!settings.contains(target))
                settings.setValue(target, settings.value(found));
            settings.remove(found);
        }
    }
}

void writeValue(const std::string& section, const std::string& name, const QVariant& value)
{
    const std::unique_ptr<QSettings> settings = openSettings();
    tidy(*settings);
    settings->setValue(canonical(fromCp1252(section), fromCp1252(name)).key(), value);
}

// QSettings replaces the file through a new one beside it, so the folder must take new files too.
bool canStore(const QString& file)
{
    const QFileInfo info(file);
    if (info.exists()) {
        QFile existing(file);
        if (!info.isFile() || !existing.open(QIODevice::WriteOnly | QIODevice::Append))
            return false;
    }
    const QString folder = info.absolutePath();
    if (!QDir().mkpath(folder))
        return false;
    QTemporaryFile probe(folder + QStringLiteral("/.vorpane-probe-XXXXXX"));
    return probe.open();
}

// The settings reader passes over most binary junk in silence; a text file never holds a NUL.
bool holdsBinary(const QString& file)
{
    QFile settings(file);
    return settings.open(QIODevice::ReadOnly) && settings.read(1 << 20).contains('\0');
}

std::atomic<bool> g_warned { false };

} // namespace

ProfileCheck checkProfile()
{
    const std::unique_ptr<QSettings> settings = openSettings();
    const QString file = settings->fileName();
    ProfileCheck check;
    check.path = QFile::encodeName(file).toStdString();
    const QFileInfo info(file);
    if (settings->status() == QSettings::AccessError
        || (info.exists() && (!info.isFile() || !info.isReadable()))) {
        check.problem = ProfileProblem::Unreadable;
    } else if (settings->status() == QSettings::FormatError || holdsBinary(file)) {
        check.problem = ProfileProblem::Garbled;
        const QString kept = file + QStringLiteral(".bad");
        QFile::remove(kept);
        if (QFile::copy(file, kept))
            check.keptCopy = QFile::encodeName(kept).toStdString();
    } else if (!canStore(file)) {
        check.problem = ProfileProblem::Unwritable;
    }
    return check;
}

std::string profileProblemMessage(const ProfileCheck& check)
{
    const std::string path = toCp1252(QDir::toNativeSeparators(QFile::decodeName(check.path.c_str())));
    switch (check.problem) {
    case ProfileProblem::None:
        break;
    case ProfileProblem::Garbled:
        return cp1252("El archivo de configuración ") + path
            + cp1252(" está dañado. Vorpane usa los valores predeterminados para lo que no se puede leer")
            + (check.keptCopy.empty() ? std::string(".")
                                      : cp1252("; el archivo tal como estaba se ha guardado como ")
                        + toCp1252(QDir::toNativeSeparators(QFile::decodeName(check.keptCopy.c_str())))
                        + ".");
    case ProfileProblem::Unreadable:
        return cp1252("No se puede leer el archivo de configuración ") + path
            + cp1252(". Vorpane usa los valores predeterminados.");
    case ProfileProblem::Unwritable:
        return cp1252("No se puede escribir en el archivo de configuración ") + path
            + cp1252(". Vorpane funciona, pero los cambios en la configuración no se guardarán.");
    }
    return {};
}

std::string profileWarningOnce()
{
    if (g_warned.exchange(true))
        return {};
    return profileProblemMessage(checkProfile());
}

void setProfilePath(const std::string& path) { g_path = QString::fromStdString(path); }

int Profile::readInt(const std::string& section, const std::string& name, int defaultValue)
{
    const profile_keys::KeyName* key = declared(fromCp1252(section), fromCp1252(name));
    return readInt(section, name, defaultValue, key ? key->range : profile_keys::kAnyNumber);
}

int Profile::readInt(const std::string& section, const std::string& name, int defaultValue, IntRange range)
{
    bool ok = false;
    const int value = readValue(section, name).toInt(&ok);
    return ok ? range.clamp(value) : defaultValue;
}

std::string Profile::readString(
    const std::string& section, const std::string& name, const std::string& defaultValue)
{
    const QVariant value = readValue(section, name);
    return value.isValid() ? toCp1252(value.toString()) : defaultValue;
}

void Profile::writeInt(const std::string& section, const std::string& name, int value)
{
    writeValue(section, name, value);
}

void Profile::writeString(const std::string& section, const std::string& name, const std::string& value)
{
    writeValue(section, name, fromCp1252(value));
}

} // namespace vorpane
