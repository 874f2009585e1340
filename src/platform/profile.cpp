#include "platform/profile.h"

#include "platform/cp1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

// QSettings keys are case-sensitive; lower-case them so "FontFace" and "fontface" are one value.
QString keyOf(const std::string& section, const std::string& name)
{
    return (fromCp1252(section) + '/' + fromCp1252(name)).toLower();
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
