#include "wizard/investigator_info_window.h"

#include "investigator/investigator_summary.h"
#include "platform/cp1252.h"

#include <QPainter>

namespace vorpane {

namespace {

constexpr int kWidthChars = 16;
constexpr int kLines = 8;
constexpr int kMargin = 4;
constexpr int kIconSize = 16;

} // namespace

InvestigatorInfoWindow::InvestigatorInfoWindow(QWidget* owner)
    : FloatingInfoWindow(
        owner, profile_keys::kInvestigatorInfoX, profile_keys::kInvestigatorInfoY, Anchor::BottomRight)
{
    setObjectName(QStringLiteral("InvestigatorInfoWindow"));
    setWindowTitle(tr("Investigador"));
    setStoreOnHide(true);
    setSizeInText(kWidthChars, kLines);
    // Three columns of "Magia: 99" need more room than the classic size gives.
    const QFontMetrics metrics(font());
    const int needed = 3 * metrics.horizontalAdvance(QStringLiteral("Magia: 999 ")) + 2 * kMargin;
    if (width() < needed)
        setFixedWidth(needed);
    place();
}

void InvestigatorInfoWindow::setInvestigator(const Investigator* investigator)
{
    m_investigator = investigator;
    if (!investigator) {
        hide();
        return;
    }
    showInactive();
    refresh();
}

void InvestigatorInfoWindow::refresh()
{
    if (isVisible())
        repaint();
}

QStringList InvestigatorInfoWindow::lines() const
{
    QStringList lines;
    if (!m_investigator)
        return lines;
    const InvestigatorSummary summary = investigatorSummary(*m_investigator);
    lines << fromCp1252(summary.title);
    for (const auto& row : summary.rows)
        lines << fromCp1252(row[0]) + " | " + fromCp1252(row[1]) + " | " + fromCp1252(row[2]);
    if (!summary.schooling.empty())
        lines << fromCp1252(summary.schooling);
    return lines;
}

void InvestigatorInfoWindow::paintEvent(QPaintEvent*)
{
    if (!m_investigator)
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::ToolTipText));
    const QFontMetrics metrics(font());
    const int line = metrics.height();
    const int textWidth = width() - 2 * kMargin;
    const InvestigatorSummary summary = investigatorSummary(*m_investigator);

    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    const int titleWidth = textWidth - kIconSize - kMargin;
    painter.drawText(QRect(kMargin, kMargin, titleWidth, line), Qt::AlignLeft | Qt::AlignVCenter,
        QFontMetrics(bold).elidedText(fromCp1252(summary.title), Qt::ElideRight, titleWidth));
    painter.setFont(font());
    painter.drawPixmap(width() - kMargin - kIconSize, kMargin, infoIcon(kIconSize));

    int y = kMargin + line + line / 2;
    const int column = textWidth / 3;
    for (const auto& row : summary.rows) {
        for (int c = 0; c < 3; ++c) {
            painter.drawText(QRect(kMargin + c * column, y, column, line), Qt::AlignLeft | Qt::AlignVCenter,
                fromCp1252(row[size_t(c)]));
        }
        y += line;
    }
    y += line / 2;
    if (!summary.schooling.empty())
        painter.drawText(QRect(kMargin, y, textWidth, line), Qt::AlignLeft | Qt::AlignVCenter,
            fromCp1252(summary.schooling));
}

} // namespace vorpane
