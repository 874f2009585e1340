#include "wizard/wizard_page.h"

#include "wizard/new_investigator_wizard.h"
#include "wizard/wizard_picture.h"

#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <tuple>

namespace vorpane {

WizardPage::WizardPage(CWizard_NewInvestigator& wizard, const QString& title)
    : m_wizard(wizard)
    , m_title(title)
{
}

Investigator& WizardPage::investigator() const { return m_wizard.target(); }

int WizardPage::index() const
{
    for (int i = 0; i < CWizard_NewInvestigator::kPageCount; ++i) {
        if (m_wizard.page(i) == this)
            return i;
    }
    return -1;
}

int WizardPage::next() { return index() + 1; }

// --- The picture ---------------------------------------------------------------------------------

namespace {

constexpr int kPictureWidth = 168;

void paintSky(QPainter& p, const QRectF& r)
{
    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0.0, QColor(9, 14, 24));
    sky.setColorAt(0.55, QColor(28, 48, 66));
    sky.setColorAt(0.8, QColor(70, 86, 88));
    sky.setColorAt(1.0, QColor(30, 36, 40));
    p.fillRect(r, sky);

    // The same stars every time: a fixed seed.
    QRandomGenerator stars(1890);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 70; ++i) {
        const qreal x = r.left() + stars.bounded(r.width());
        const qreal y = r.top() + stars.bounded(r.height() * 0.6);
        const int alpha = 60 + stars.bounded(170);
        p.setBrush(QColor(235, 235, 220, alpha));
        const qreal size = stars.bounded(10) == 0 ? 1.8 : 1.0;
        p.drawEllipse(QPointF(x, y), size / 2 + 0.2, size / 2 + 0.2);
    }
}

void paintMoon(QPainter& p, const QRectF& r)
{
    const QPointF centre(r.left() + r.width() * 0.68, r.top() + r.height() * 0.17);
    const qreal radius = r.width() * 0.13;
    QRadialGradient glow(centre, radius * 3.2);
    glow.setColorAt(0.0, QColor(240, 232, 200, 110));
    glow.setColorAt(1.0, QColor(240, 232, 200, 0));
    p.setBrush(glow);
    p.drawEllipse(centre, radius * 3.2, radius * 3.2);
    p.setBrush(QColor(241, 234, 210));
    p.drawEllipse(centre, radius, radius);
    // A few darker seas.
    p.setBrush(QColor(210, 200, 170, 140));
    p.drawEllipse(centre + QPointF(-radius * 0.3, -radius * 0.2), radius * 0.28, radius * 0.22);
    p.drawEllipse(centre + QPointF(radius * 0.25, radius * 0.3), radius * 0.2, radius * 0.16);
    // Thin clouds drifting across it.
    for (const auto& [dx, dy, length] : { std::tuple { -2.3, 0.45, 3.6 }, std::tuple { -0.7, 1.0, 3.1 } }) {
        const QRectF band(centre.x() + radius * dx, centre.y() + radius * dy, radius * length, radius * 0.38);
        QLinearGradient cloud(band.topLeft(), band.topRight());
        cloud.setColorAt(0.0, QColor(40, 55, 70, 0));
        cloud.setColorAt(0.3, QColor(40, 55, 70, 150));
        cloud.setColorAt(0.7, QColor(40, 55, 70, 150));
        cloud.setColorAt(1.0, QColor(40, 55, 70, 0));
        p.setBrush(cloud);
        p.drawEllipse(band);
    }
}

void paintHill(QPainter& p, const QRectF& r)
{
    const qreal w = r.width();
    const qreal h = r.height();
    const qreal ground = r.top() + h * 0.8;
    QPainterPath hill;
    hill.moveTo(r.left(), ground + h * 0.02);
    hill.cubicTo(r.left() + w * 0.25, ground - h * 0.06, r.left() + w * 0.55, ground - h * 0.05, r.right(),
        ground + h * 0.03);
    hill.lineTo(r.bottomRight());
    hill.lineTo(r.bottomLeft());
    hill.closeSubpath();
    const QColor dark(8, 11, 15);
    p.setBrush(dark);
    p.drawPath(hill);

    // An old house with a tower on the crest.
    const qreal baseY = ground - h * 0.045;
    const qreal hx = r.left() + w * 0.22;
    const qreal hw = w * 0.36;
    const qreal hh = h * 0.07;
    QPainterPath house;
    house.addRect(QRectF(hx, baseY - hh, hw, hh + h * 0.02));
    QPolygonF roof;
    roof << QPointF(hx - w * 0.03, baseY - hh) << QPointF(hx + hw * 0.45, baseY - hh - h * 0.05)
         << QPointF(hx + hw + w * 0.03, baseY - hh);
    house.addPolygon(roof);
    const qreal tx = hx + hw * 0.72;
    house.addRect(QRectF(tx, baseY - hh - h * 0.07, w * 0.075, h * 0.07));
    QPolygonF spire;
    spire << QPointF(tx - w * 0.015, baseY - hh - h * 0.07)
          << QPointF(tx + w * 0.0375, baseY - hh - h * 0.115)
          << QPointF(tx + w * 0.09, baseY - hh - h * 0.07);
    house.addPolygon(spire);
    house.setFillRule(Qt::WindingFill);
    p.drawPath(house);

    // One lit window.
    const QRectF window(hx + hw * 0.2, baseY - hh * 0.65, w * 0.035, hh * 0.3);
    QRadialGradient light(window.center(), w * 0.09);
    light.setColorAt(0.0, QColor(255, 196, 100, 120));
    light.setColorAt(1.0, QColor(255, 196, 100, 0));
    p.setBrush(light);
    p.drawEllipse(window.center(), w * 0.09, w * 0.09);
    p.setBrush(QColor(250, 200, 110));
    p.drawRect(window);

    // A bare tree on the right.
    p.setPen(QPen(dark, 2.2, Qt::SolidLine, Qt::RoundCap));
    const QPointF root(r.left() + w * 0.82, ground - h * 0.005);
    const QPointF fork(root.x() - w * 0.01, root.y() - h * 0.08);
    p.drawLine(root, fork);
    p.setPen(QPen(dark, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(fork, fork + QPointF(-w * 0.09, -h * 0.05));
    p.drawLine(fork, fork + QPointF(w * 0.07, -h * 0.06));
    p.drawLine(fork + QPointF(-w * 0.05, -h * 0.028), fork + QPointF(-w * 0.07, -h * 0.075));
    p.drawLine(fork + QPointF(w * 0.045, -h * 0.04), fork + QPointF(w * 0.11, -h * 0.045));
    p.setPen(Qt::NoPen);
}

void paintFog(QPainter& p, const QRectF& r)
{
    // One soft bank of mist over the foot of the hill.
    const qreal h = r.height();
    QLinearGradient fog(QPointF(r.left(), r.top() + h * 0.8), QPointF(r.left(), r.bottom()));
    fog.setColorAt(0.0, QColor(140, 155, 165, 0));
    fog.setColorAt(0.45, QColor(140, 155, 165, 70));
    fog.setColorAt(1.0, QColor(140, 155, 165, 25));
    p.fillRect(QRectF(r.left(), r.top() + h * 0.8, r.width(), h * 0.2), fog);
}

} // namespace

WizardPicture::WizardPicture(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("WizardPicture"));
    setFixedWidth(kPictureWidth);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize WizardPicture::sizeHint() const { return { kPictureWidth, 380 }; }

void WizardPicture::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_cache = QPixmap();
}

void WizardPicture::paintEvent(QPaintEvent*)
{
    const qreal ratio = devicePixelRatioF();
    if (m_cache.isNull() || m_cache.size() != size() * ratio) {
        m_cache = QPixmap(size() * ratio);
        m_cache.setDevicePixelRatio(ratio);
        QPainter p(&m_cache);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        const QRectF r(QPointF(0, 0), QSizeF(size()));
        paintSky(p, r);
        paintMoon(p, r);
        paintHill(p, r);
        paintFog(p, r);
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_cache);
}

} // namespace vorpane
