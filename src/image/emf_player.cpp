#include "image/emf_player.h"

#include "image/emf_playback.h"
#include "image/emf_records.h"
#include "image/image.h"
#include "image/image_byte_reader.h"

#include <QPainter>

namespace vorpane {

namespace {

constexpr size_t kHeaderMinBytes = 88;
// The header may declare any handle count; more objects than this never occur in practice.
constexpr uint32_t kMaxHandles = 65535;
// 96 pixels per inch: 960 pixels over 254 mm.
constexpr int kFallbackDevicePixels = 960;
constexpr int kFallbackDeviceMillimetres = 254;

} // namespace

bool isMetafileName(const std::string& fileName)
{
    const auto dot = fileName.find_last_of('.');
    if (dot == std::string::npos || fileName.size() - dot != 4)
        return false;
    const char* ext = fileName.c_str() + dot + 1;
    return (ext[0] | 0x20) == 'e' && (ext[1] | 0x20) == 'm' && (ext[2] | 0x20) == 'f';
}

bool EnhancedMetafile::load(const std::string& fileName)
{
    std::string bytes;
    if (!readImageFile(fileName, bytes)) {
        *this = EnhancedMetafile();
        return false;
    }
    return loadData(byteSpan(bytes));
}

bool EnhancedMetafile::loadData(std::span<const uint8_t> data)
{
    *this = EnhancedMetafile();
    ImageByteReader in(data);
    const uint32_t type = in.le32();
    const uint32_t size = in.le32();
    if (type != emf::Header || size < kHeaderMinBytes || size > data.size())
        return false;
    in.skip(16); // bounds in device pixels
    const int left = in.le32s(), top = in.le32s(), right = in.le32s(), bottom = in.le32s();
    const uint32_t signature = in.le32();
    in.skip(12); // version, byte and record counts
    const uint32_t handles = in.le16();
    in.skip(2 + 12); // reserved, description, palette entries
    const int devW = in.le32s(), devH = in.le32s(), mmW = in.le32s(), mmH = in.le32s();
    if (in.overrun() || signature != emf::kSignature)
        return false;
    // A frame without area cannot be fitted or stretched into anything.
    if (int64_t(right) - left <= 0 || int64_t(bottom) - top <= 0)
        return false;
    m_frame.setCoords(left, top, right, bottom);
    // Without a usable reference device assume 96 pixels per inch.
    if (devW > 0 && devH > 0 && mmW > 0 && mmH > 0) {
        m_devicePixels = QSize(devW, devH);
        m_deviceMillimetres = QSize(mmW, mmH);
    } else {
        m_devicePixels = QSize(kFallbackDevicePixels, kFallbackDevicePixels);
        m_deviceMillimetres = QSize(kFallbackDeviceMillimetres, kFallbackDeviceMillimetres);
    }
    m_handles = std::min(handles, kMaxHandles);
    m_data.assign(data.begin(), data.end());
    return true;
}

double EnhancedMetafile::aspectRatio() const
{
    if (isNull())
        return 0;
    return double(int64_t(m_frame.right()) - m_frame.left())
        / double(int64_t(m_frame.bottom()) - m_frame.top());
}

int EnhancedMetafile::play(QPainter& painter, const QRectF& destination) const
{
    if (isNull() || destination.width() == 0 || destination.height() == 0)
        return 0;
    // Device pixels to 0.01 mm, then the frame onto the destination.
    const double frameW = double(int64_t(m_frame.right()) - m_frame.left());
    const double frameH = double(int64_t(m_frame.bottom()) - m_frame.top());
    QTransform toDestination;
    toDestination.translate(destination.x(), destination.y());
    toDestination.scale(destination.width() / frameW, destination.height() / frameH);
    toDestination.translate(-double(m_frame.left()), -double(m_frame.top()));
    QTransform deviceToFrame;
    deviceToFrame.scale(100.0 * m_deviceMillimetres.width() / m_devicePixels.width(),
        100.0 * m_deviceMillimetres.height() / m_devicePixels.height());

    painter.save();
    EmfPlayback playback(painter, deviceToFrame * toDestination * painter.transform(), m_handles,
        double(m_devicePixels.width()) / m_deviceMillimetres.width());
    const int skipped = playback.run(m_data);
    painter.restore();
    return skipped;
}

} // namespace vorpane
