#pragma once
// The scrolling page of a sheet view: the page as one picture rendered at the screen's resolution
// (and its device pixel ratio) times the zoom, kept until the layout or a value changes; the
// workspace colour around it; and the mapping between the viewport's pixels and sheet units that
// clicks, the cursor and the field editor use, exact at every zoom.

#include "sheet/sheet_item_types.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <functional>

namespace vorpane {

class SheetCanvas final : public QAbstractScrollArea {
    Q_OBJECT
public:
    // Paints the page on a painter that maps sheet units to a white picture of the given
    // resolution (dots per inch); false when the page cannot be painted now.
    using Renderer = std::function<bool(QPainter& painter)>;

    static constexpr int kMinZoom = 50;
    static constexpr int kMaxZoom = 400;
    // The zoom a new view starts with: the one last chosen.
    static int savedZoom();
    static bool savedFitWidth();

    explicit SheetCanvas(QWidget* parent = nullptr);
    ~SheetCanvas() override;

    void setRenderer(Renderer renderer) { m_renderer = std::move(renderer); }

    // Sheet units; sets the scroll range.
    void setPageSize(int32_t width, int32_t height);
    int32_t pageWidth() const { return m_pageWidth; }
    int32_t pageHeight() const { return m_pageHeight; }

    // Percent, kMinZoom to kMaxZoom; 100 is the page's real size.
    int zoom() const { return m_zoom; }
    // Keeps the page point under `anchor` (viewport pixels) where it is; without an anchor, the
    // centre of the viewport. Turns fitting to the width off.
    void setZoom(int percent, QPointF anchor = QPointF(-1, -1));
    // The next larger or smaller of the usual steps.
    static int nextZoom(int percent, bool larger);
    bool fitsWidth() const { return m_fitWidth; }
    void setFitWidth(bool fit);

    // Device-independent pixels per sheet unit at the current zoom.
    double pixelsPerUnit() const;
    // Where the page's top-left corner is in the viewport (scrolling and centring included).
    QPointF pageOrigin() const;
    // Viewport pixels to sheet units (y up, so points on the page have y <= 0), and back.
    QPointF toSheet(QPointF viewportPoint) const;
    QRectF toViewport(const SheetRect& rect) const;
    // Scrolls the least that shows the rectangle (viewport pixels), as much of it as fits.
    void ensureVisible(const QRectF& rect);

    // Throws the picture of the page away: it is rendered again from the event loop (the last
    // one is shown meanwhile) and repainted.
    void dropPage();
    bool hasPage() const { return !m_stale && !m_page.isNull(); }
    // The picture of the page, rendered now when it is out of date. Never from a paint event.
    const QImage& page();

signals:
    // Before the page moves under the pointer (scrolling, zooming): editing ends first.
    void aboutToMove();
    void zoomChanged(int percent);
    // Tab and Shift+Tab on the page.
    void tabPressed(bool forward);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    QSizeF pageSizeInPixels() const;
    int fitWidthZoom() const;
    void applyZoom(int percent, QPointF anchor);
    void updateScrollBars();
    void saveZoom() const;
    void renderQueued();

    Renderer m_renderer;
    int32_t m_pageWidth = 10000;
    int32_t m_pageHeight = 10000;
    int m_zoom = 100;
    bool m_fitWidth = false;
    int m_wheelAngle = 0;
    QImage m_page; // reused from one rendering to the next when its size stays
    bool m_stale = true; // m_page shows an earlier state of the page
    bool m_renderQueued = false;
    double m_renderedRatio = 1;
    QPointF m_origin; // where the page was when the window last changed
};

} // namespace vorpane
