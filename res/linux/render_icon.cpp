// Build tool: renders an SVG icon to PNG files of the hicolor sizes.
//   render_icon IN.svg OUT_DIR NAME SIZE...   writes OUT_DIR/SIZExSIZE/NAME.png

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: render_icon IN.svg OUT_DIR NAME SIZE...\n");
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "render_icon: cannot read %s\n", argv[1]);
        return 1;
    }
    const QDir out(QString::fromLocal8Bit(argv[2]));
    const QString name = QString::fromLocal8Bit(argv[3]);
    for (int i = 4; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        if (size <= 0 || size > 1024) {
            std::fprintf(stderr, "render_icon: bad size %s\n", argv[i]);
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        const QString folder = QStringLiteral("%1x%1").arg(size);
        if (!out.mkpath(folder)
            || !image.save(out.filePath(folder + QLatin1Char('/') + name + QStringLiteral(".png")))) {
            std::fprintf(stderr, "render_icon: cannot write %s\n", argv[2]);
            return 1;
        }
    }
    return 0;
}
