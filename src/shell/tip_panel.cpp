#include "shell/tip_panel.h"

#include "docview/resources.h"
#include "platform/cp1252.h"
#include "platform/data_files.h"
#include "platform/program_folder.h"

#include <QApplication>
#include <QMdiArea>
#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>
#include <qdrawutil.h>

namespace vorpane {

namespace {
constexpr int kInset = 8;
constexpr int kTextGap = 16;
} // namespace

TipPanel::TipPanel(QMdiArea* area)
    : QObject(area)
    , m_area(area)
    , m_viewport(area->viewport())
{
    setObjectName(QStringLiteral("TipPanel"));
    m_tips.open(dataFilePath("tips.lst"));
    if (m_tips.isEnabled())
        m_picture = resourcePixmap(QStringLiteral(":/pictures/tip_panel.svg"));
    m_viewport->installEventFilter(this);
}

TipPanel::~TipPanel() { m_tips.close(); }

QString TipPanel::currentTip() const { return fromCp1252(m_tips.tip()); }

QRect TipPanel::panelRect() const
{
    const QSize size = m_picture.isNull() ? QSize(400, 150) : m_picture.deviceIndependentSize().toSize();
    const QRect area = m_area->viewport()->rect();
    return QRect(QPoint(kMargin, area.bottom() + 1 - kMargin - size.height()), size);
}

void TipPanel::showAtStartUp()
{
    if (m_tips.wantedAtStartUp() && m_tips.isEnabled())
        show();
}

void TipPanel::showNextTip()
{
    if (!m_tips.next())
        return;
    show();
}

void TipPanel::show()
{
    m_fadeTimer.stop();
    m_fadeStep = 0;
    m_showing = true;
    m_showTimer.start(kShowMs, this);
    updateArea();
}

void TipPanel::fade()
{
    m_showTimer.stop();
    if (!m_showing || m_fadeTimer.isActive())
        return;
    m_fadeStep = 0;
    m_fadeTimer.start(kFadeMs, this);
}

void TipPanel::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_showTimer.timerId()) {
        fade();
    } else if (event->timerId() == m_fadeTimer.timerId()) {
        if (m_fadeStep < kFadeSteps) {
            ++m_fadeStep;
        } else {
            m_fadeTimer.stop();
            m_showing = false;
            m_fadeStep = 0;
        }
        updateArea();
    }
}

bool TipPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_viewport)
        return false;
    if (event->type() == QEvent::Paint) {
        // The area's own painting is the plain fill; the panel goes on top of it.
        QPainter painter(m_area->viewport());
        paintBackground(painter);
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (m_showing && mouse->button() == Qt::LeftButton
            && panelRect().contains(mouse->position().toPoint()))
            fade();
    }
    return false;
}

QColor TipPanel::workspaceColour() const { return m_area->background().color(); }

void TipPanel::paintBackground(QPainter& painter)
{
    painter.fillRect(m_area->viewport()->rect(), m_area->background());
    if (!m_showing || !m_tips.isEnabled())
        return;
    const QRect rect = panelRect();
    drawPanel(painter, rect);
    if (m_fadeStep > 0) {
        // Each component moves step/10 of the way from the panel to the workspace.
        painter.setOpacity(qreal(m_fadeStep) / kFadeSteps);
        painter.fillRect(rect, workspaceColour());
        painter.setOpacity(1.0);
    }
}

void TipPanel::drawPanel(QPainter& painter, const QRect& rect) const
{
    if (m_picture.isNull())
        painter.fillRect(rect, m_area->palette().window());
    else
        painter.drawPixmap(rect.topLeft(), m_picture);
    qDrawShadePanel(&painter, rect, m_area->palette(), false, 2);

    QFont font = QApplication::font();
    QFont bold = font;
    bold.setBold(true);
    const QRect inner = rect.adjusted(kInset, kInset, -kInset, -kInset);
    painter.setPen(QColor(0x2b, 0x20, 0x18));
    painter.setFont(bold);
    const QString title = tr("Frase del Día de Zhaldor    ");
    painter.drawText(inner, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, title);
    const int titleHeight = QFontMetrics(bold).height();
    painter.setFont(font);
    painter.drawText(inner.adjusted(0, std::max(kTextGap, titleHeight + kInset / 2), 0, 0),
        Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, currentTip());
}

void TipPanel::updateArea() { m_area->viewport()->update(panelRect()); }

} // namespace vorpane
