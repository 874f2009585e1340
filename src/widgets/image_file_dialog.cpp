#include "widgets/image_file_dialog.h"

#include "docview/desktop_dialogs.h"
#include "image/image.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace vorpane {

QString imageFileFilter()
{
    // "Description|patterns|Description|patterns||", patterns separated by ';'.
    const QStringList parts = QString::fromLatin1(kImageFileFilter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            patterns << pattern;
            // Linux file names keep their case; "FOTO.JPG" is a picture too.
            if (pattern.toUpper() != pattern)
                patterns << pattern.toUpper();
        }
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(QLatin1Char(' ')));
    }
    return filters.join(QStringLiteral(";;"));
}

QString chooseImageFile(QWidget* parent, const QString& current)
{
    QString proposed = current;
    if (proposed.isEmpty() || !QFileInfo(proposed).dir().exists()) {
        QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (folder.isEmpty() || !QDir(folder).exists())
            folder = QDir::currentPath();
        proposed = current.isEmpty() ? folder : QDir(folder).filePath(QFileInfo(current).fileName());
    }
    const QString chosen = dialogs().openFileName(parent, QObject::tr("Abrir"), proposed, imageFileFilter());
    return chosen.isEmpty() ? QString() : QFileInfo(chosen).absoluteFilePath();
}

} // namespace vorpane
