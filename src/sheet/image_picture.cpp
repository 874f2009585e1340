#include "sheet/image_picture.h"

#include "image/emf_player.h"
#include "image/image.h"
#include "platform/cp1252.h"
#include "platform/data_files.h"
#include "platform/program_folder.h"
#include "platform/ui_services.h"
#include "platform/wait_cursor.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>

namespace vorpane {

std::string picturePath(const std::string& fileName)
{
    if (QDir::isAbsolutePath(fromCp1252(fileName)))
        return fileName;
    return dataFilePath(fileName);
}

QRectF fitPictureRect(const QRectF& box, double aspect)
{
    const double boxW = std::abs(box.width());
    const double boxH = std::abs(box.height());
    if (!(aspect > 0) || !std::isfinite(aspect) || boxW == 0 || boxH == 0)
        return box;
    const double u = boxW / boxH;
    double w = boxW, h = boxH;
    if (aspect >= u)
        h = boxH / (aspect / u);
    else
        w = boxW / (u / aspect);
    const double signW = box.width() < 0 ? -1 : 1;
    const double signH = box.height() < 0 ? -1 : 1;
    const QPointF centre = box.center();
    return QRectF(centre.x() - signW * w / 2, centre.y() - signH * h / 2, signW * w, signH * h);
}

bool drawPicture(QPainter& painter, const QRectF& box, const std::string& fileName, PictureFit fit)
{
    const auto dot = fileName.find_last_of('.');
    if (dot == std::string::npos)
        return false;
    const std::string path = picturePath(fileName);
    // A portrait path is the user's own choice, but only a regular file is read: a device or a
    // pipe named there would never end.
    if (!QFileInfo(QFile::decodeName(path.c_str())).isFile())
        return false;
    WaitCursor wait;
    if (isMetafileName(fileName)) {
        ui().setStatusText("Loading metafile " + fileName + "...");
        EnhancedMetafile metafile;
        metafile.load(path);
        ui().setStatusText({});
        if (metafile.isNull())
            return false;
        metafile.play(painter, fit == PictureFit::Fitted ? fitPictureRect(box, metafile.aspectRatio()) : box);
        return true;
    }
    ui().setStatusText("Loading image " + fileName + "...");
    const Image image(path);
    ui().setStatusText({});
    if (image.width() <= 0 || image.height() <= 0)
        return false;
    const double aspect = double(image.width()) / image.height();
    image.draw(painter, fit == PictureFit::Fitted ? fitPictureRect(box, aspect) : box);
    return true;
}

} // namespace vorpane
