// vorpane-cli image IN OUT.png: decodes a picture with the program's own image component and
// writes what it decoded, with the transparent index as alpha 0. Metafiles are played at their
// frame's size at 96 pixels per inch.

#include "cli/cli_command.h"
#include "image/emf_player.h"
#include "image/image.h"
#include "platform/cp1252.h"

#include <QImage>
#include <QPainter>
#include <cmath>

namespace vorpane::cli {

namespace {

constexpr double kMetafilePixelsPerMm = 96 / 25.4;
constexpr int kMaxMetafileSide = 8000;

QImage renderMetafile(const std::string& in)
{
    EnhancedMetafile metafile;
    if (!metafile.load(in))
        return {};
    const QRect frame = metafile.frame();
    const double w = (double(frame.right()) - frame.left()) / 100 * kMetafilePixelsPerMm;
    const double h = (double(frame.bottom()) - frame.top()) / 100 * kMetafilePixelsPerMm;
    const int width = int(std::clamp(std::ceil(w), 1.0, double(kMaxMetafileSide)));
    const int height = int(std::clamp(std::ceil(h), 1.0, double(kMaxMetafileSide)));
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    metafile.play(painter, QRectF(0, 0, width, height));
    return image;
}

int runImage(const Command& self, const Args& args)
{
    if (args.size() != 2)
        return printUsage(self);
    const std::string in = cp1252(args[0]);
    const QImage decoded = isMetafileName(in) ? renderMetafile(in) : Image(in).toQImage();
    if (decoded.isNull()) {
        printError("vorpane-cli: cannot load " + args[0]);
        return kFailed;
    }
    if (!decoded.save(QString::fromStdString(args[1]), "PNG")) {
        printError("vorpane-cli: cannot write " + args[1]);
        return kFailed;
    }
    return kSuccess;
}

} // namespace

VORPANE_CLI_COMMAND(image, "image", "IN OUT.png", runImage);

} // namespace vorpane::cli
