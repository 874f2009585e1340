#include "documents/sheet_canvas.h"

#include "platform/profile.h"
#include "sheet/sheet_painter.h"

#include <QCoreApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace vorpane {

namespace {

constexpr int kZoomSteps[] = { 50, 67, 75, 90, 100, 110, 125, 150, 175, 200, 250, 300, 400 };
constexpr int kWheelStep = 120; // one notch of a mouse wheel
constexpr int kLineStep = 20;
// Pixels the cached page may hold (4 bytes each); a larger page is rendered coarser and drawn
// scaled, rather than taking hundreds of megabytes at high zoom on a dense screen.
constexpr double kMaxPagePixels = 32.0 * 1024 * 1024;
// What ensureVisible() leaves around the rectangle.
constexpr int kVisibleMargin = 8;

} // namespace

int SheetCanvas::savedZoom()
{
    return std::clamp(Profile::read(profile_keys::kSheetZoom), kMinZoom, kMaxZoom);
}

bool SheetCanvas::savedFitWidth() { return Profile::read(profile_keys::kSheetZoomFitWidth) != 0; }

SheetCanvas::SheetCanvas(QWidget* parent)
    : QAbstractScrollArea(parent)
    , m_zoom(savedZoom())
    , m_fitWidth(savedFitWidth())
{
    setObjectName(QStringLiteral("SheetCanvas"));
    setFocusPolicy(Qt::StrongFocus);
    setFrameStyle(QFrame::NoFrame);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setBackgroundRole(QPalette::Dark);
    horizontalScrollBar()->setSingleStep(kLineStep);
    verticalScrollBar()->setSingleStep(kLineStep);
}

SheetCanvas::~SheetCanvas() = default;

void SheetCanvas::setPageSize(int32_t width, int32_t height)
{
    m_pageWidth = std::max<int32_t>(width, 1);
    m_pageHeight = std::max<int32_t>(height, 1);
    if (m_fitWidth)
        m_zoom = fitWidthZoom();
    updateScrollBars();
}

double SheetCanvas::pixelsPerUnit() const { return logicalDpiX() * (m_zoom / 100.0) / kUnitsPerInch; }

QSizeF SheetCanvas::pageSizeInPixels() const
{
    const double scale = pixelsPerUnit();
    return QSizeF(m_pageWidth * scale, m_pageHeight * scale);
}

QPointF SheetCanvas::pageOrigin() const
{
    const QSizeF page = pageSizeInPixels();
    const int width = int(std::ceil(page.width()));
    const int x
        = width < viewport()->width() ? (viewport()->width() - width) / 2 : -horizontalScrollBar()->value();
    return QPointF(x, -verticalScrollBar()->value());
}

QPointF SheetCanvas::toSheet(QPointF viewportPoint) const
{
    const QPointF origin = pageOrigin();
    const double scale = pixelsPerUnit();
    return QPointF((viewportPoint.x() - origin.x()) / scale, -(viewportPoint.y() - origin.y()) / scale);
}

QRectF SheetCanvas::toViewport(const SheetRect& rect) const
{
    const QPointF origin = pageOrigin();
    const double scale = pixelsPerUnit();
    return QRectF(QPointF(origin.x() + rect.x1 * scale, origin.y() - rect.y1 * scale),
        QPointF(origin.x() + rect.x2 * scale, origin.y() - rect.y2 * scale))
        .normalized();
}

void SheetCanvas::ensureVisible(const QRectF& rect)
{
    const QRect area = viewport()->rect();
    const QRect wanted
        = rect.toAlignedRect().adjusted(-kVisibleMargin, -kVisibleMargin, kVisibleMargin, kVisibleMargin);
    const auto shift = [](int low, int high, int areaLow, int areaHigh) {
        if (high > areaHigh)
            return std::min(high - areaHigh, low - areaLow);
        if (low < areaLow)
            return low - areaLow;
        return 0;
    };
    const int dx = shift(wanted.left(), wanted.right(), area.left(), area.right());
    const int dy = shift(wanted.top(), wanted.bottom(), area.top(), area.bottom());
    if (dx != 0)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + dx);
    if (dy != 0)
        verticalScrollBar()->setValue(verticalScrollBar()->value() + dy);
}

// --- Zoom ---------------------------------------------------------------------------------------

int SheetCanvas::nextZoom(int percent, bool larger)
{
    if (larger) {
        for (int step : kZoomSteps) {
            if (step > percent)
                return step;
        }
        return kMaxZoom;
    }
    for (auto it = std::rbegin(kZoomSteps); it != std::rend(kZoomSteps); ++it) {
        if (*it < percent)
            return *it;
    }
    return kMinZoom;
}

void SheetCanvas::setZoom(int percent, QPointF anchor)
{
    const bool wasFitting = m_fitWidth;
    m_fitWidth = false;
    applyZoom(percent, anchor);
    if (wasFitting)
        saveZoom();
}

void SheetCanvas::setFitWidth(bool fit)
{
    m_fitWidth = fit;
    if (fit)
        applyZoom(fitWidthZoom(), QPointF(0, 0));
    saveZoom();
}

int SheetCanvas::fitWidthZoom() const
{
    const double pageAtFull = m_pageWidth * logicalDpiX() / kUnitsPerInch;
    if (!(pageAtFull > 0))
        return 100;
    const QRect area = contentsRect();
    int width = area.width();
    int zoom = int(std::floor(width * 100.0 / pageAtFull));
    // A page taller than the window brings the vertical scroll bar, which takes its width.
    if (m_pageHeight * logicalDpiY() / kUnitsPerInch * zoom / 100.0 > area.height()) {
        width -= style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
        zoom = int(std::floor(width * 100.0 / pageAtFull));
    }
    return std::clamp(zoom, kMinZoom, kMaxZoom);
}

void SheetCanvas::applyZoom(int percent, QPointF anchor)
{
    percent = std::clamp(percent, kMinZoom, kMaxZoom);
    if (percent == m_zoom) {
        saveZoom();
        return;
    }
    emit aboutToMove();
    if (anchor.x() < 0 || anchor.y() < 0)
        anchor = QPointF(viewport()->width() / 2.0, viewport()->height() / 2.0);
    const QPointF fixed = toSheet(anchor);
    m_zoom = percent;
    m_stale = true;
    updateScrollBars();
    const double scale = pixelsPerUnit();
    horizontalScrollBar()->setValue(int(std::lround(fixed.x() * scale - anchor.x())));
    verticalScrollBar()->setValue(int(std::lround(-fixed.y() * scale - anchor.y())));
    page();
    m_origin = pageOrigin();
    viewport()->update();
    saveZoom();
    emit zoomChanged(m_zoom);
}

void SheetCanvas::saveZoom() const
{
    Profile::write(profile_keys::kSheetZoom, m_zoom);
    Profile::write(profile_keys::kSheetZoomFitWidth, m_fitWidth ? 1 : 0);
}

// --- The page -----------------------------------------------------------------------------------

void SheetCanvas::dropPage()
{
    m_stale = true;
    // Rendered from the event loop, never inside a paint event: what the replay shows on the way
    // (the status bar's "Loading image" text) repaints other widgets at once.
    if (!m_renderQueued) {
        m_renderQueued = true;
        QMetaObject::invokeMethod(this, &SheetCanvas::renderQueued, Qt::QueuedConnection);
    }
    viewport()->update();
}

void SheetCanvas::renderQueued()
{
    m_renderQueued = false;
    if (m_stale)
        page();
    viewport()->update();
}

const QImage& SheetCanvas::page()
{
    if ((!m_stale && !m_page.isNull()) || !m_renderer)
        return m_page;
    const double ratio = devicePixelRatioF();
    const double screenDpi = logicalDpiX() * (m_zoom / 100.0);
    double dpi = screenDpi * ratio;
    const double pixels = (m_pageWidth * dpi / kUnitsPerInch) * (m_pageHeight * dpi / kUnitsPerInch);
    if (pixels > kMaxPagePixels)
        dpi *= std::sqrt(kMaxPagePixels / pixels);
    const QSize size(std::max(1, int(std::ceil(m_pageWidth * dpi / kUnitsPerInch))),
        std::max(1, int(std::ceil(m_pageHeight * dpi / kUnitsPerInch))));
    // The picture shown stays as it is until the new one is finished.
    QImage image = m_page.size() == size && m_stale ? std::move(m_page) : QImage(size, QImage::Format_RGB32);
    if (image.isNull())
        return m_page;
    image.setDevicePixelRatio(1);
    image.fill(Qt::white);
    bool painted = false;
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        painter.setWorldTransform(sheetToDevice(dpi, dpi));
        painted = m_renderer(painter);
    }
    if (!painted) {
        // A renderer that cannot paint now (a script is running) leaves the last picture shown.
        if (m_page.isNull() && image.size() == size)
            m_page = std::move(image);
        return m_page;
    }
    image.setDevicePixelRatio(dpi / screenDpi);
    m_page = std::move(image);
    m_stale = false;
    m_renderedRatio = ratio;
    return m_page;
}

void SheetCanvas::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const QPointF origin = pageOrigin();
    const QSizeF size = pageSizeInPixels();
    const QRect pageRect(
        origin.toPoint(), QSize(int(std::ceil(size.width())), int(std::ceil(size.height()))));
    if (!qFuzzyCompare(m_renderedRatio, devicePixelRatioF()) && !m_stale)
        dropPage(); // the window moved to a screen of another density
    if (m_page.isNull()) {
        painter.fillRect(pageRect, Qt::white);
    } else if (qFuzzyCompare(m_page.devicePixelRatio(), devicePixelRatioF())) {
        painter.drawImage(origin, m_page);
    } else {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(origin, size), m_page, QRectF(m_page.rect()));
    }
    const QRegion outside = QRegion(event->rect()) - QRegion(pageRect);
    for (const QRect& rect : outside)
        painter.fillRect(rect, palette().brush(QPalette::Dark));
}

void SheetCanvas::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (m_fitWidth) {
        const int zoom = fitWidthZoom();
        if (zoom != m_zoom)
            applyZoom(zoom, QPointF(0, 0));
    }
    updateScrollBars();
    // A centred page moves with the window's width.
    if (pageOrigin() != m_origin)
        emit aboutToMove();
    m_origin = pageOrigin();
}

void SheetCanvas::updateScrollBars()
{
    const QSizeF page = pageSizeInPixels();
    const QSize area = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, int(std::ceil(page.width())) - area.width()));
    horizontalScrollBar()->setPageStep(area.width());
    verticalScrollBar()->setRange(0, std::max(0, int(std::ceil(page.height())) - area.height()));
    verticalScrollBar()->setPageStep(area.height());
    // The scroll bars come and go now, not later, so that the page does not move after it is
    // shown (or under an open editor).
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    viewport()->update();
}

void SheetCanvas::scrollContentsBy(int dx, int dy)
{
    emit aboutToMove();
    m_origin = pageOrigin();
    viewport()->scroll(dx, dy);
}

void SheetCanvas::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        m_wheelAngle = 0;
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    m_wheelAngle += event->angleDelta().y();
    int zoom = m_zoom;
    for (; m_wheelAngle >= kWheelStep; m_wheelAngle -= kWheelStep)
        zoom = nextZoom(zoom, true);
    for (; m_wheelAngle <= -kWheelStep; m_wheelAngle += kWheelStep)
        zoom = nextZoom(zoom, false);
    if (zoom != m_zoom)
        setZoom(zoom, event->position());
    event->accept();
}

bool SheetCanvas::focusNextPrevChild(bool next)
{
    emit tabPressed(next);
    return true;
}

} // namespace vorpane
