// SheetPainter: pictures and metafiles, fitted or stretched, and the cache of decoded pictures.

#include "image/emf_player.h"
#include "image/image.h"
#include "image/image_bitmap.h"
#include "platform/ui_services.h"
#include "sheet/image_picture.h"
#include "sheet/sheet_painter.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QPainter>

namespace vorpane {

namespace {

QRectF area(const SheetRect& r) { return QRectF(QPointF(r.x1, -double(r.y1)), QPointF(r.x2, -double(r.y2))); }

// Scoped wait cursor and status text, as a load shows them.
class LoadingNotice {
public:
    explicit LoadingNotice(const std::string& text)
    {
        ui().beginWaitCursor();
        ui().setStatusText(text);
    }
    ~LoadingNotice()
    {
        ui().setStatusText({});
        ui().endWaitCursor();
    }
    LoadingNotice(const LoadingNotice&) = delete;
    LoadingNotice& operator=(const LoadingNotice&) = delete;
};

} // namespace

// --- SheetPictureCache -------------------------------------------------------------------------

struct SheetPictureCache::Entry {
    std::list<std::string>::iterator recent;
    size_t bytes = 0;
    qint64 size = -1;
    QDateTime modified;
    bool imageTried = false;
    bool metafileTried = false;
    std::unique_ptr<Image> image;
    QImage pixels; // the image's ARGB form, converted once
    std::unique_ptr<EnhancedMetafile> metafile;
};

SheetPictureCache::SheetPictureCache(size_t maxBytes)
    : m_maxBytes(maxBytes)
{
}
SheetPictureCache::~SheetPictureCache() = default;

void SheetPictureCache::clear()
{
    m_entries.clear();
    m_recent.clear();
    m_heldBytes = 0;
}

size_t SheetPictureCache::size() const { return m_entries.size(); }

SheetPictureCache::Entry* SheetPictureCache::entry(const std::string& path)
{
    const QFileInfo info(QFile::decodeName(path.c_str()));
    // Only a regular file is read: a device or a pipe named by a portrait path would never end.
    const qint64 size = info.isFile() ? info.size() : -1;
    const QDateTime modified = info.exists() ? info.lastModified() : QDateTime();
    auto& slot = m_entries[path];
    if (slot && (slot->size != size || slot->modified != modified)) {
        m_heldBytes -= slot->bytes;
        m_recent.erase(slot->recent);
        slot.reset();
    }
    if (!slot) {
        slot = std::make_unique<Entry>();
        slot->size = size;
        slot->modified = modified;
        m_recent.push_front(path);
        slot->recent = m_recent.begin();
    } else {
        m_recent.splice(m_recent.begin(), m_recent, slot->recent);
    }
    return slot.get();
}

void SheetPictureCache::account(Entry& entry, size_t bytes)
{
    entry.bytes = bytes;
    m_heldBytes += bytes;
    while (m_heldBytes > m_maxBytes && m_recent.size() > 1) {
        const auto found = m_entries.find(m_recent.back());
        if (found->second.get() == &entry)
            break;
        m_heldBytes -= found->second->bytes;
        m_recent.pop_back();
        m_entries.erase(found);
    }
}

const Image* SheetPictureCache::image(const std::string& path)
{
    Entry* e = entry(path);
    if (!e->imageTried) {
        e->imageTried = true;
        if (e->size < 0)
            return nullptr;
        LoadingNotice notice("Loading image " + path + "...");
        auto image = std::make_unique<Image>(path);
        if (!image->isNull() && image->width() > 0 && image->height() > 0) {
            e->pixels = image->toQImage();
            const size_t bitmapBytes
                = size_t(image->width()) * size_t(image->height()) * size_t(image->bitsPerPixel()) / 8;
            e->image = std::move(image);
            account(*e, bitmapBytes + size_t(e->pixels.sizeInBytes()));
        }
    }
    return e->image.get();
}

const QImage* SheetPictureCache::pixels(const std::string& path)
{
    Entry* e = entry(path);
    return image(path) ? &e->pixels : nullptr;
}

const EnhancedMetafile* SheetPictureCache::metafile(const std::string& path)
{
    Entry* e = entry(path);
    if (!e->metafileTried) {
        e->metafileTried = true;
        if (e->size < 0)
            return nullptr;
        LoadingNotice notice("Loading metafile " + path + "...");
        auto metafile = std::make_unique<EnhancedMetafile>();
        if (metafile->load(path)) {
            e->metafile = std::move(metafile);
            account(*e, size_t(std::max<qint64>(e->size, 0)));
        }
    }
    return e->metafile.get();
}

// --- Drawing -----------------------------------------------------------------------------------

void SheetPainter::drawPictureFile(const SheetRect& rect, const std::string& fileName, bool fitted)
{
    if (fileName.find('.') == std::string::npos)
        return;
    const std::string path = picturePath(fileName);
    if (isMetafileName(fileName)) {
        if (const EnhancedMetafile* metafile = m_pictures->metafile(path))
            drawMetafile(rect, *metafile, fitted);
        return;
    }
    if (const QImage* pixels = m_pictures->pixels(path))
        drawPixels(rect, *pixels, fitted);
}

void SheetPainter::drawImage(const SheetRect& rect, const Image& image, bool fitted)
{
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        return;
    drawPixels(rect, image.toQImage(), fitted);
}

void SheetPainter::drawPixels(const SheetRect& rect, const QImage& pixels, bool fitted)
{
    if (pixels.isNull())
        return;
    const QRect whole(0, 0, pixels.width(), pixels.height());
    if (!fitted) {
        drawStretched(m_painter, area(rect), pixels, whole);
        return;
    }
    const double boxWidth = rect.width();
    const double boxHeight = rect.height();
    if (boxWidth <= 0 || boxHeight <= 0)
        return;
    const double scale = std::min(boxWidth / pixels.width(), boxHeight / pixels.height());
    const double width = pixels.width() * scale;
    const double height = pixels.height() * scale;
    const double left = rect.x1 + (boxWidth - width) / 2;
    const double top = -double(rect.y1) + (boxHeight - height) / 2;
    drawStretched(m_painter, QRectF(left, top, width, height), pixels, whole);
}

void SheetPainter::drawMetafile(const SheetRect& rect, const EnhancedMetafile& metafile, bool fitted)
{
    QRectF target = area(rect);
    if (fitted) {
        const double boxWidth = rect.width();
        const double boxHeight = rect.height();
        const double o = metafile.aspectRatio();
        if (boxWidth == 0 || boxHeight == 0 || !(o > 0))
            return;
        const double u = boxWidth / boxHeight;
        double width = boxWidth, height = boxHeight;
        if (o >= u)
            height = boxHeight / (o / u);
        else
            width = boxWidth / (u / o);
        target = QRectF(
            rect.x1 + (boxWidth - width) / 2, -double(rect.y1) + (boxHeight - height) / 2, width, height);
    }
    m_painter.save();
    metafile.play(m_painter, target);
    m_painter.restore();
}

} // namespace vorpane
