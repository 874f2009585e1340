#include "image/emf_playback.h"

#include "image/bmp_reader.h"
#include "image/emf_records.h"
#include "image/image_byte_reader.h"
#include "image/image_limits.h"
#include "platform/cp1252.h"

#include <QFontMetricsF>
#include <QPainter>
#include <array>
#include <bit>
#include <cmath>

namespace vorpane {

namespace {

constexpr size_t kRecordHeader = 8;
// SaveDC without RestoreDC in a loop must not grow without bound.
constexpr size_t kMaxSavedStates = 1024;
// Shapes reaching further than this (in painter pixels) are skipped: no picture needs them and
// the rasteriser would spend its time clipping them.
constexpr double kMaxPainterCoordinate = 1e7;
// Text is laid out at this pixel size and scaled, so tiny logical units keep their precision.
constexpr int kTextReferencePixels = 256;
constexpr double kMaxTextPixels = 1e5;
constexpr double kDefaultFontPixels = 16;
constexpr int kFaceNameChars = 32;
constexpr int kBoldWeight = 600;

QColor colourRef(uint32_t c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

std::span<const uint8_t> body(std::span<const uint8_t> record) { return record.subspan(kRecordHeader); }

bool finite(const QTransform& t)
{
    return std::isfinite(t.m11()) && std::isfinite(t.m12()) && std::isfinite(t.m21())
        && std::isfinite(t.m22()) && std::isfinite(t.dx()) && std::isfinite(t.dy());
}

bool reasonable(const QRectF& r)
{
    return std::isfinite(r.left()) && std::isfinite(r.top()) && std::isfinite(r.right())
        && std::isfinite(r.bottom()) && std::abs(r.left()) < kMaxPainterCoordinate
        && std::abs(r.right()) < kMaxPainterCoordinate && std::abs(r.top()) < kMaxPainterCoordinate
        && std::abs(r.bottom()) < kMaxPainterCoordinate;
}

QPointF readPoint(ImageByteReader& in, bool small)
{
    if (small) {
        const int16_t x = int16_t(in.le16());
        return QPointF(x, int16_t(in.le16()));
    }
    const int32_t x = in.le32s();
    return QPointF(x, in.le32s());
}

QRectF readBox(ImageByteReader& in)
{
    const double l = in.le32s(), t = in.le32s(), r = in.le32s(), b = in.le32s();
    return QRectF(QPointF(l, t), QPointF(r, b));
}

// A source rectangle from a record; an empty one when its edges would not fit an int.
QRect sourceRect(int32_t x, int32_t y, int32_t w, int32_t h)
{
    const auto fits = [](int64_t v) { return v > -kMaxImageSide && v < kMaxImageSide; };
    if (!fits(x) || !fits(y) || !fits(w) || !fits(h))
        return {};
    return QRect(x, y, w, h);
}

bool isSmallPoints(uint32_t type) { return type >= emf::PolyBezier16 && type <= emf::PolyPolygon16; }

// The 32-bit record that a 16-bit one stands for.
uint32_t wideType(uint32_t type)
{
    switch (type) {
    case emf::PolyBezier16:
        return emf::PolyBezier;
    case emf::Polygon16:
        return emf::Polygon;
    case emf::Polyline16:
        return emf::Polyline;
    case emf::PolyBezierTo16:
        return emf::PolyBezierTo;
    case emf::PolylineTo16:
        return emf::PolylineTo;
    case emf::PolyPolyline16:
        return emf::PolyPolyline;
    case emf::PolyPolygon16:
        return emf::PolyPolygon;
    default:
        return type;
    }
}

// Millimetres per logical unit of the fixed mapping modes.
double millimetresPerUnit(uint32_t mode)
{
    switch (mode) {
    case emf::LoMetric:
        return 0.1;
    case emf::HiMetric:
        return 0.01;
    case emf::LoEnglish:
        return 0.254;
    case emf::HiEnglish:
        return 0.0254;
    case emf::Twips:
        return 25.4 / 1440;
    default:
        return 0;
    }
}

} // namespace

EmfPlayback::EmfPlayback(
    QPainter& painter, const QTransform& deviceToPainter, uint32_t handleCount, double devicePixelsPerMm)
    : m_painter(painter)
    , m_deviceToPainter(deviceToPainter)
    , m_handleCount(handleCount)
    , m_devicePixelsPerMm(devicePixelsPerMm)
{
    m_state.font.height = -kDefaultFontPixels;
}

int EmfPlayback::run(std::span<const uint8_t> data)
{
    int skipped = 0;
    size_t pos = 0;
    while (data.size() - pos >= kRecordHeader) {
        ImageByteReader in(data.subspan(pos));
        const uint32_t type = in.le32();
        const uint32_t size = in.le32();
        if (size < kRecordHeader || size > data.size() - pos)
            break; // a record that does not fit ends the picture
        if (type == emf::Eof)
            break;
        if (!play(type, data.subspan(pos, size)))
            ++skipped;
        pos += size;
    }
    return skipped;
}

QTransform EmfPlayback::logicalToDevice() const
{
    const State& s = m_state;
    double sx = 1, sy = 1;
    if (s.mapMode == emf::Isotropic || s.mapMode == emf::Anisotropic) {
        if (s.windowExtent.x() != 0 && s.windowExtent.y() != 0) {
            sx = s.viewportExtent.x() / s.windowExtent.x();
            sy = s.viewportExtent.y() / s.windowExtent.y();
        }
        if (s.mapMode == emf::Isotropic) {
            const double m = std::min(std::abs(sx), std::abs(sy));
            sx = std::copysign(m, sx);
            sy = std::copysign(m, sy);
        }
    } else if (const double mm = millimetresPerUnit(s.mapMode); mm > 0) {
        sx = mm * m_devicePixelsPerMm;
        sy = -sx; // y grows upwards
    }
    const QTransform page(sx, 0, 0, sy, s.viewportOrigin.x() - s.windowOrigin.x() * sx,
        s.viewportOrigin.y() - s.windowOrigin.y() * sy);
    return s.world * page;
}

double EmfPlayback::deviceScale() const { return std::sqrt(std::abs(logicalToDevice().determinant())); }

void EmfPlayback::drawDevicePath(const QPainterPath& device, bool fill, bool stroke)
{
    const QTransform toPainter = m_deviceToPainter;
    if (!finite(toPainter) || !reasonable(toPainter.mapRect(device.boundingRect())))
        return;
    QPen pen = m_state.pen;
    if (!pen.isCosmetic()) {
        const double width = pen.widthF() * deviceScale();
        if (!std::isfinite(width)
            || width * std::sqrt(std::abs(toPainter.determinant())) > kMaxPainterCoordinate)
            return;
        pen.setWidthF(width);
    }
    m_painter.setTransform(toPainter);
    m_painter.setPen(stroke ? pen : QPen(Qt::NoPen));
    m_painter.setBrush(fill ? m_state.brush : QBrush(Qt::NoBrush));
    m_painter.drawPath(device);
}

void EmfPlayback::drawPath(const QPainterPath& logical, bool fill, bool stroke)
{
    QPainterPath path = logical;
    path.setFillRule(m_state.polyFillMode == emf::kFillWinding ? Qt::WindingFill : Qt::OddEvenFill);
    const QTransform t = logicalToDevice();
    if (!finite(t))
        return;
    if (m_inPath) {
        addToPath(logical);
        return;
    }
    drawDevicePath(t.map(path), fill, stroke);
}

void EmfPlayback::addToPath(const QPainterPath& logical)
{
    const QTransform t = logicalToDevice();
    if (finite(t))
        m_path.addPath(t.map(logical));
}

bool EmfPlayback::polyRecord(uint32_t type, std::span<const uint8_t> record)
{
    const bool small = isSmallPoints(type);
    type = wideType(type);
    ImageByteReader in(body(record));
    in.skip(16); // bounds
    const uint32_t count = in.le32();
    if (count == 0 || count > in.remaining() / (small ? 4 : 8))
        return false;
    QPolygonF points;
    points.reserve(qsizetype(count));
    for (uint32_t i = 0; i < count; ++i)
        points << readPoint(in, small);

    const bool continues = type == emf::PolylineTo || type == emf::PolyBezierTo;
    if (continues)
        points.prepend(m_state.current);
    QPainterPath path;
    path.moveTo(points.first());
    if (type == emf::PolyBezier || type == emf::PolyBezierTo) {
        for (qsizetype i = 1; i + 2 < points.size(); i += 3)
            path.cubicTo(points[i], points[i + 1], points[i + 2]);
    } else {
        for (qsizetype i = 1; i < points.size(); ++i)
            path.lineTo(points[i]);
    }
    if (type == emf::Polygon)
        path.closeSubpath();

    if (m_inPath && continues) {
        // The figure goes on from where the path is.
        const QTransform t = logicalToDevice();
        if (!finite(t))
            return false;
        if (m_path.elementCount() == 0)
            m_path.moveTo(t.map(points.first()));
        if (type == emf::PolyBezierTo) {
            for (qsizetype i = 1; i + 2 < points.size(); i += 3)
                m_path.cubicTo(t.map(points[i]), t.map(points[i + 1]), t.map(points[i + 2]));
        } else {
            for (qsizetype i = 1; i < points.size(); ++i)
                m_path.lineTo(t.map(points[i]));
        }
    } else {
        drawPath(path, type == emf::Polygon, true);
    }
    if (continues)
        m_state.current = points.last();
    return true;
}

bool EmfPlayback::polyPolyRecord(uint32_t type, std::span<const uint8_t> record)
{
    const bool small = isSmallPoints(type);
    type = wideType(type);
    ImageByteReader in(body(record));
    in.skip(16); // bounds
    const uint32_t polys = in.le32();
    const uint32_t total = in.le32();
    if (polys == 0 || polys > in.remaining() / 4)
        return false;
    std::vector<uint32_t> counts(polys);
    uint64_t sum = 0;
    for (uint32_t& c : counts) {
        c = in.le32();
        sum += c;
    }
    if (sum != total || total > in.remaining() / (small ? 4 : 8))
        return false;
    QPainterPath path;
    for (uint32_t c : counts) {
        for (uint32_t i = 0; i < c; ++i) {
            const QPointF p = readPoint(in, small);
            if (i == 0)
                path.moveTo(p);
            else
                path.lineTo(p);
        }
        if (type == emf::PolyPolygon && c > 0)
            path.closeSubpath();
    }
    drawPath(path, type == emf::PolyPolygon, true);
    return true;
}

bool EmfPlayback::createPen(std::span<const uint8_t> record, bool extended)
{
    ImageByteReader in(body(record));
    const uint32_t handle = in.le32();
    uint32_t style = 0;
    double width = 0;
    uint32_t colour = 0;
    if (extended) {
        in.skip(16); // brush bitmap offsets and sizes
        style = in.le32();
        width = in.le32();
        in.le32(); // brush style
        colour = in.le32();
        if (!(style & emf::PenGeometric))
            width = 0;
    } else {
        style = in.le32();
        width = in.le32s();
        in.le32s(); // unused y of the width
        colour = in.le32();
    }
    if (in.overrun() || handle == 0 || handle >= m_handleCount)
        return false;
    QPen pen(colourRef(colour));
    pen.setWidthF(std::max(width, 0.0));
    pen.setCosmetic(width <= 0);
    switch (style & emf::PenStyleMask) {
    case emf::PenDash:
        pen.setStyle(Qt::DashLine);
        break;
    case emf::PenDot:
        pen.setStyle(Qt::DotLine);
        break;
    case emf::PenDashDot:
        pen.setStyle(Qt::DashDotLine);
        break;
    case emf::PenDashDotDot:
        pen.setStyle(Qt::DashDotDotLine);
        break;
    case emf::PenNull:
        pen.setStyle(Qt::NoPen);
        break;
    default:
        pen.setStyle(Qt::SolidLine);
    }
    switch (style & emf::PenEndCapMask) {
    case emf::PenEndCapSquare:
        pen.setCapStyle(Qt::SquareCap);
        break;
    case emf::PenEndCapFlat:
        pen.setCapStyle(Qt::FlatCap);
        break;
    default:
        pen.setCapStyle(Qt::RoundCap);
    }
    switch (style & emf::PenJoinMask) {
    case emf::PenJoinBevel:
        pen.setJoinStyle(Qt::BevelJoin);
        break;
    case emf::PenJoinMiter:
        pen.setJoinStyle(Qt::MiterJoin);
        break;
    default:
        pen.setJoinStyle(Qt::RoundJoin);
    }
    Object object;
    object.kind = Object::Pen;
    object.pen = pen;
    m_objects[handle] = object;
    return true;
}

bool EmfPlayback::createFont(std::span<const uint8_t> record)
{
    ImageByteReader in(body(record));
    const uint32_t handle = in.le32();
    LogFont font;
    font.height = in.le32s();
    in.le32s(); // width
    font.escapement = in.le32s();
    in.le32s(); // orientation
    font.weight = in.le32s();
    font.italic = in.u8();
    font.underline = in.u8();
    font.strikeOut = in.u8();
    in.skip(5); // character set, precisions, quality, pitch and family
    std::u16string face;
    for (int i = 0; i < kFaceNameChars; ++i) {
        const char16_t c = in.le16();
        if (c == 0)
            break;
        face += c;
    }
    if (in.overrun() || handle == 0 || handle >= m_handleCount)
        return false;
    font.face = QString::fromStdU16String(face);
    Object object;
    object.kind = Object::Font;
    object.font = font;
    m_objects[handle] = object;
    return true;
}

bool EmfPlayback::selectObject(uint32_t handle)
{
    if (handle & emf::kStockObject) {
        const uint32_t stock = handle & ~emf::kStockObject;
        switch (stock) {
        case emf::WhiteBrush:
            m_state.brush = QBrush(Qt::white);
            break;
        case emf::LightGreyBrush:
            m_state.brush = QBrush(QColor(192, 192, 192));
            break;
        case emf::GreyBrush:
            m_state.brush = QBrush(QColor(128, 128, 128));
            break;
        case emf::DarkGreyBrush:
            m_state.brush = QBrush(QColor(64, 64, 64));
            break;
        case emf::BlackBrush:
            m_state.brush = QBrush(Qt::black);
            break;
        case emf::NullBrush:
            m_state.brush = QBrush(Qt::NoBrush);
            break;
        case emf::WhitePen:
            m_state.pen = QPen(Qt::white, 0);
            break;
        case emf::BlackPen:
            m_state.pen = QPen(Qt::black, 0);
            break;
        case emf::NullPen:
            m_state.pen = QPen(Qt::NoPen);
            break;
        default:
            if (stock >= emf::FirstStockFont && stock <= emf::LastStockFont) {
                m_state.font = LogFont();
                m_state.font.height = -kDefaultFontPixels;
                return true;
            }
            return false;
        }
        return true;
    }
    const auto it = m_objects.find(handle);
    if (it == m_objects.end())
        return false;
    switch (it->second.kind) {
    case Object::Pen:
        m_state.pen = it->second.pen;
        break;
    case Object::Brush:
        m_state.brush = it->second.brush;
        break;
    case Object::Font:
        m_state.font = it->second.font;
        break;
    }
    return true;
}

bool EmfPlayback::worldTransform(std::span<const uint8_t> record, bool modify)
{
    ImageByteReader in(body(record));
    std::array<double, 6> m {};
    for (double& v : m)
        v = std::bit_cast<float>(in.le32());
    const uint32_t mode = modify ? in.le32() : uint32_t(emf::Set);
    if (in.overrun())
        return false;
    const QTransform x(m[0], m[1], m[2], m[3], m[4], m[5]);
    if (!finite(x))
        return false;
    switch (mode) {
    case emf::Identity:
        m_state.world.reset();
        break;
    case emf::LeftMultiply:
        m_state.world = x * m_state.world;
        break;
    case emf::RightMultiply:
        m_state.world = m_state.world * x;
        break;
    case emf::Set:
        m_state.world = x;
        break;
    default:
        return false;
    }
    return true;
}

bool EmfPlayback::textRecord(bool wide, std::span<const uint8_t> record)
{
    ImageByteReader in(body(record));
    in.skip(16 + 12); // bounds, graphics mode, scales
    const QPointF reference = readPoint(in, false);
    const uint32_t chars = in.le32();
    const uint32_t offString = in.le32();
    const uint32_t options = in.le32();
    (void)options;
    if (in.overrun())
        return false;
    const size_t bytes = size_t(chars) * (wide ? 2 : 1);
    if (offString > record.size() || bytes > record.size() - offString)
        return false;
    const auto raw = record.subspan(offString, bytes);
    QString text;
    if (wide) {
        std::u16string units(chars, u'\0');
        for (size_t i = 0; i < chars; ++i)
            units[i] = char16_t(raw[2 * i] | (raw[2 * i + 1] << 8));
        text = QString::fromStdU16String(units);
    } else {
        text = fromCp1252(std::string_view(reinterpret_cast<const char*>(raw.data()), raw.size()));
    }
    if (text.isEmpty())
        return true;

    const QTransform t = logicalToDevice();
    if (!finite(t))
        return false;
    const LogFont& lf = m_state.font;
    const QPointF origin = t.map((m_state.textAlign & emf::AlignUpdateCp) ? m_state.current : reference);
    // Text stays upright on the device whatever the direction of the logical y axis.
    const double yScale = std::hypot(t.m21(), t.m22());
    double pixels = std::abs(lf.height) * yScale;
    if (lf.height == 0)
        pixels = kDefaultFontPixels;

    QFont font(lf.face.isEmpty() ? QStringLiteral("Liberation Sans") : lf.face);
    font.setPixelSize(kTextReferencePixels);
    font.setWeight(lf.weight >= kBoldWeight ? QFont::Bold : QFont::Normal);
    font.setItalic(lf.italic);
    font.setUnderline(lf.underline);
    font.setStrikeOut(lf.strikeOut);
    font.setStyleStrategy(QFont::PreferOutline);
    QFontMetricsF metrics(font);
    // A positive height is the cell height (ascent plus descent), not the character height.
    if (lf.height > 0 && metrics.height() > 0)
        pixels *= kTextReferencePixels / metrics.height();
    const double scale = pixels / kTextReferencePixels;
    const double painterScale = scale * std::sqrt(std::abs(m_deviceToPainter.determinant()));
    if (!std::isfinite(scale) || scale <= 0 || !(painterScale * kTextReferencePixels < kMaxTextPixels)
        || !reasonable(m_deviceToPainter.mapRect(QRectF(origin, QSizeF(1, 1)))))
        return false;

    const double width = metrics.horizontalAdvance(text);
    double x = 0, y = 0;
    const uint32_t horizontal = m_state.textAlign & emf::AlignHorizontalMask;
    if (horizontal == emf::AlignCenter)
        x = -width / 2;
    else if (horizontal == emf::AlignRight)
        x = -width;
    const uint32_t vertical = m_state.textAlign & emf::AlignVerticalMask;
    if (vertical == emf::AlignBaseline)
        y = 0;
    else if (vertical == emf::AlignBottom)
        y = -metrics.descent();
    else
        y = metrics.ascent();

    QTransform local;
    local.translate(origin.x(), origin.y());
    local.rotate(-lf.escapement / 10.0);
    local.scale(scale, scale);
    m_painter.setTransform(local * m_deviceToPainter);
    m_painter.setFont(font);
    if (m_state.backgroundMode != emf::kBkTransparent)
        m_painter.fillRect(
            QRectF(x, y - metrics.ascent(), width, metrics.height()), m_state.backgroundColour);
    // Drawn as outlines: the glyph cache mishandles the strongly uneven scales a stretched
    // picture can give, and outlines look the same on screen and printer.
    QPainterPath glyphs;
    glyphs.addText(QPointF(x, y), font, text);
    m_painter.fillPath(glyphs, m_state.textColour);
    return true;
}

bool EmfPlayback::drawDib(std::span<const uint8_t> record, uint32_t offInfo, uint32_t infoSize,
    uint32_t offBits, uint32_t bitsSize, const QRectF& destination, const QRect& source)
{
    if (offInfo > record.size() || infoSize > record.size() - offInfo || offBits > record.size()
        || bitsSize > record.size() - offBits)
        return false;
    ImageBitmap bitmap;
    if (!readDib(record.subspan(offInfo, infoSize), record.subspan(offBits, bitsSize), bitmap))
        return false;
    const QTransform t = logicalToDevice() * m_deviceToPainter;
    if (!finite(t) || !reasonable(t.mapRect(destination)))
        return false;
    const QRect whole(0, 0, bitmap.width(), bitmap.height());
    const QRect from = source.isNull() ? whole : source.intersected(whole);
    if (from.isEmpty())
        return true;
    m_painter.setTransform(t);
    drawStretched(m_painter, destination, bitmap.toQImage(), from);
    return true;
}

bool EmfPlayback::stretchDiBits(std::span<const uint8_t> record)
{
    ImageByteReader in(body(record));
    in.skip(16); // bounds
    const int x = in.le32s(), y = in.le32s();
    const int sx = in.le32s(), sy = in.le32s(), sw = in.le32s(), sh = in.le32s();
    const uint32_t offInfo = in.le32(), infoSize = in.le32(), offBits = in.le32(), bitsSize = in.le32();
    in.skip(8); // usage, raster operation
    const int w = in.le32s(), h = in.le32s();
    if (in.overrun())
        return false;
    return drawDib(
        record, offInfo, infoSize, offBits, bitsSize, QRectF(x, y, w, h), sourceRect(sx, sy, sw, sh));
}

bool EmfPlayback::bitBlt(bool stretch, std::span<const uint8_t> record)
{
    ImageByteReader in(body(record));
    in.skip(16); // bounds
    const int x = in.le32s(), y = in.le32s(), w = in.le32s(), h = in.le32s();
    const uint32_t rop = in.le32();
    const int sx = in.le32s(), sy = in.le32s();
    in.skip(24 + 4 + 4); // source transform, background colour, usage
    const uint32_t offInfo = in.le32(), infoSize = in.le32(), offBits = in.le32(), bitsSize = in.le32();
    int sw = w, sh = h;
    if (stretch) {
        sw = in.le32s();
        sh = in.le32s();
    }
    if (in.overrun())
        return false;
    const QRectF destination(x, y, w, h);
    if (infoSize == 0) {
        // No source bitmap: the operation paints with the brush or a fixed colour.
        QBrush brush;
        if (rop == emf::PatCopy)
            brush = m_state.brush;
        else if (rop == emf::Blackness)
            brush = QBrush(Qt::black);
        else if (rop == emf::Whiteness)
            brush = QBrush(Qt::white);
        else
            return false;
        QPainterPath path;
        path.addRect(destination);
        const QBrush saved = m_state.brush;
        m_state.brush = brush;
        drawPath(path, true, false);
        m_state.brush = saved;
        return true;
    }
    return drawDib(record, offInfo, infoSize, offBits, bitsSize, destination, sourceRect(sx, sy, sw, sh));
}

bool EmfPlayback::play(uint32_t type, std::span<const uint8_t> record)
{
    ImageByteReader in(body(record));
    State& s = m_state;
    switch (type) {
    case emf::Header:
        return true;
    case emf::PolyBezier:
    case emf::Polygon:
    case emf::Polyline:
    case emf::PolyBezierTo:
    case emf::PolylineTo:
    case emf::PolyBezier16:
    case emf::Polygon16:
    case emf::Polyline16:
    case emf::PolyBezierTo16:
    case emf::PolylineTo16:
        return polyRecord(type, record);
    case emf::PolyPolyline:
    case emf::PolyPolygon:
    case emf::PolyPolyline16:
    case emf::PolyPolygon16:
        return polyPolyRecord(type, record);
    case emf::SetWindowExtEx:
    case emf::SetWindowOrgEx:
    case emf::SetViewportExtEx:
    case emf::SetViewportOrgEx: {
        const QPointF p = readPoint(in, false);
        if (in.overrun())
            return false;
        if (type == emf::SetWindowExtEx)
            s.windowExtent = p;
        else if (type == emf::SetWindowOrgEx)
            s.windowOrigin = p;
        else if (type == emf::SetViewportExtEx)
            s.viewportExtent = p;
        else
            s.viewportOrigin = p;
        return true;
    }
    case emf::SetMapMode:
    case emf::SetBkMode:
    case emf::SetPolyFillMode:
    case emf::SetTextAlign:
    case emf::SetTextColor:
    case emf::SetBkColor: {
        const uint32_t v = in.le32();
        if (in.overrun())
            return false;
        if (type == emf::SetMapMode)
            s.mapMode = v;
        else if (type == emf::SetBkMode)
            s.backgroundMode = v;
        else if (type == emf::SetPolyFillMode)
            s.polyFillMode = v;
        else if (type == emf::SetTextAlign)
            s.textAlign = v;
        else if (type == emf::SetTextColor)
            s.textColour = colourRef(v);
        else
            s.backgroundColour = colourRef(v);
        return true;
    }
    case emf::MoveToEx: {
        const QPointF p = readPoint(in, false);
        if (in.overrun())
            return false;
        s.current = p;
        if (m_inPath && finite(logicalToDevice()))
            m_path.moveTo(logicalToDevice().map(p));
        return true;
    }
    case emf::LineTo: {
        const QPointF p = readPoint(in, false);
        if (in.overrun())
            return false;
        if (m_inPath) {
            const QTransform t = logicalToDevice();
            if (finite(t)) {
                if (m_path.elementCount() == 0)
                    m_path.moveTo(t.map(s.current));
                m_path.lineTo(t.map(p));
            }
        } else {
            QPainterPath path;
            path.moveTo(s.current);
            path.lineTo(p);
            drawPath(path, false, true);
        }
        s.current = p;
        return true;
    }
    case emf::SaveDc:
        if (m_saved.size() >= kMaxSavedStates)
            return false;
        m_saved.push_back(s);
        return true;
    case emf::RestoreDc: {
        const int32_t relative = in.le32s();
        if (in.overrun() || relative >= 0 || size_t(-int64_t(relative)) > m_saved.size())
            return false;
        const size_t keep = m_saved.size() - size_t(-int64_t(relative));
        s = m_saved[keep];
        m_saved.resize(keep);
        return true;
    }
    case emf::SetWorldTransform:
        return worldTransform(record, false);
    case emf::ModifyWorldTransform:
        return worldTransform(record, true);
    case emf::SelectObject: {
        const uint32_t handle = in.le32();
        return !in.overrun() && selectObject(handle);
    }
    case emf::CreatePen:
        return createPen(record, false);
    case emf::ExtCreatePen:
        return createPen(record, true);
    case emf::CreateBrushIndirect: {
        const uint32_t handle = in.le32();
        const uint32_t style = in.le32();
        const uint32_t colour = in.le32();
        const uint32_t hatch = in.le32();
        if (in.overrun() || handle == 0 || handle >= m_handleCount)
            return false;
        Object object;
        object.kind = Object::Brush;
        if (style == emf::BrushNull) {
            object.brush = QBrush(Qt::NoBrush);
        } else if (style == emf::BrushHatched) {
            static constexpr Qt::BrushStyle kHatches[] = { Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern,
                Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern };
            object.brush = QBrush(colourRef(colour), hatch < 6 ? kHatches[hatch] : Qt::SolidPattern);
        } else {
            object.brush = QBrush(colourRef(colour));
        }
        m_objects[handle] = object;
        return true;
    }
    case emf::DeleteObject: {
        const uint32_t handle = in.le32();
        return !in.overrun() && m_objects.erase(handle) > 0;
    }
    case emf::Ellipse:
    case emf::Rectangle:
    case emf::RoundRect: {
        const QRectF box = readBox(in);
        const QPointF corner = type == emf::RoundRect ? readPoint(in, false) : QPointF();
        if (in.overrun())
            return false;
        QPainterPath path;
        if (type == emf::Ellipse)
            path.addEllipse(box);
        else if (type == emf::Rectangle)
            path.addRect(box);
        else
            path.addRoundedRect(box, std::abs(corner.x()) / 2, std::abs(corner.y()) / 2);
        drawPath(path, true, true);
        return true;
    }
    case emf::BeginPath:
        m_inPath = true;
        m_path = QPainterPath();
        return true;
    case emf::EndPath:
        m_inPath = false;
        return true;
    case emf::AbortPath:
        m_inPath = false;
        m_path = QPainterPath();
        return true;
    case emf::CloseFigure:
        m_path.closeSubpath();
        return true;
    case emf::FillPath:
    case emf::StrokeAndFillPath:
    case emf::StrokePath:
        m_path.setFillRule(s.polyFillMode == emf::kFillWinding ? Qt::WindingFill : Qt::OddEvenFill);
        drawDevicePath(m_path, type != emf::StrokePath, type != emf::FillPath);
        m_path = QPainterPath();
        return true;
    case emf::ExtCreateFontIndirectW:
        return createFont(record);
    case emf::ExtTextOutA:
        return textRecord(false, record);
    case emf::ExtTextOutW:
        return textRecord(true, record);
    case emf::StretchDiBits:
        return stretchDiBits(record);
    case emf::BitBlt:
        return bitBlt(false, record);
    case emf::StretchBlt:
        return bitBlt(true, record);
    default:
        return false;
    }
}

} // namespace vorpane
