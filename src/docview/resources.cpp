#include "docview/resources.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

namespace vorpane {

namespace {

QString svgPath(const QString& path)
{
    if (path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive) && !QFile::exists(path))
        return path.chopped(4) + QStringLiteral(".svg");
    return path;
}

QPixmap render(QSvgRenderer& renderer, QSize size, qreal ratio)
{
    QPixmap pixmap(size * ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

} // namespace

QIcon resourceIcon(const QString& path)
{
    const QString file = svgPath(path);
    if (!file.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive))
        return QFile::exists(file) ? QIcon(file) : QIcon();
    QSvgRenderer renderer(file);
    if (!renderer.isValid())
        return {};
    QIcon icon;
    for (int side : { 16, 20, 24, 32, 48 })
        icon.addPixmap(render(renderer, QSize(side, side), 1.0));
    return icon;
}

QPixmap resourcePixmap(const QString& path, QSize size)
{
    const QString file = svgPath(path);
    if (!file.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        QPixmap pixmap(file);
        return size.isEmpty() || pixmap.isNull()
            ? pixmap
            : pixmap.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    QSvgRenderer renderer(file);
    if (!renderer.isValid())
        return {};
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    return render(renderer, size.isEmpty() ? renderer.defaultSize() : size, ratio);
}

} // namespace vorpane
