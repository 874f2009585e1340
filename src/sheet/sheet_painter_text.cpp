// SheetPainter: text boxes. Lines are one font height (ascent plus descent) apart, the first line's
// top at the box's top, as the sheets have always been laid out; writing lines sit on the baselines.

#include "platform/cp1252.h"
#include "sheet/sheet_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>
#include <cmath>
#include <vector>

namespace vorpane {

namespace {

// The angle of rotated writing lines is computed with this value of pi, as it always was.
constexpr double kPi = 3.142;
// Characters of one text that are laid out; a page shows a few thousand at most, and shaping a
// text of millions would stall every repaint.
constexpr size_t kMaxDrawnText = 65536;

QColor toQColor(SheetColour c) { return QColor(colourRed(c), colourGreen(c), colourBlue(c)); }

QPointF point(double x, double y) { return QPointF(x, -y); }

QString withoutTrailingBlanks(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1].isSpace())
        --end;
    return text.left(end);
}

// The lines of a text: one line (line breaks drawn as blanks), or its own lines, each
// word-wrapped at `wrapWidth` when that is not negative.
std::vector<QString> textLines(const QString& text, const QFont& font, bool multiline, double wrapWidth)
{
    std::vector<QString> lines;
    if (!multiline) {
        QString line = text;
        line.remove(QLatin1Char('\r'));
        line.replace(QLatin1Char('\n'), QLatin1Char(' '));
        lines.push_back(line);
        return lines;
    }
    const QStringList paragraphs = QString(text).remove(QLatin1Char('\r')).split(QLatin1Char('\n'));
    for (const QString& paragraph : paragraphs) {
        if (wrapWidth < 0 || paragraph.isEmpty()) {
            lines.push_back(paragraph);
            continue;
        }
        QTextLayout layout(paragraph, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WordWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(wrapWidth);
            lines.push_back(withoutTrailingBlanks(paragraph.mid(line.textStart(), line.textLength())));
        }
        layout.endLayout();
    }
    return lines;
}

} // namespace

RotatedRun rotatedRun(const SheetRect& rect, int degrees)
{
    switch (((degrees % 360 + 360 + 45) % 360) / 90) {
    case 1:
        return { rect.x2, rect.y1, rect.y1 - rect.y2 };
    case 2:
        return { rect.x2, rect.y2, rect.x2 - rect.x1 };
    case 3:
        return { rect.x1, rect.y2, rect.y1 - rect.y2 };
    default:
        return { rect.x1, rect.y1, rect.x2 - rect.x1 };
    }
}

void SheetPainter::drawTextBox(const SheetRect& rect, const std::string& text, TextStyle style)
{
    const bool user = style & UserText;
    drawText(rect, text, style, user ? m_userFont : m_font, user ? m_userFontRotation : m_fontRotation,
        toQColor(user ? m_look.colour : m_textColour));
}

void SheetPainter::drawTextBox(
    const SheetRect& rect, const std::string& text, TextStyle style, const QFont& font)
{
    const bool user = style & UserText;
    drawText(rect, text, style, font, user ? m_userFontRotation : m_fontRotation,
        toQColor(user ? m_look.colour : m_textColour));
}

void SheetPainter::drawUnderlines(const SheetRect& rect, const QFont& font)
{
    const QFontMetricsF metrics(font);
    const double height = metrics.ascent() + metrics.descent();
    if (!(height > 0))
        return;
    m_painter.save();
    m_painter.setPen(QPen(Qt::black, 0));
    const double top = -double(rect.y1);
    const double bottom = -double(rect.y2);
    // The first line always; then each following one while it is still above the bottom.
    for (double y = top + metrics.ascent();; y += height) {
        m_painter.drawLine(QPointF(rect.x1, y), QPointF(rect.x2, y));
        if (!(y + height < bottom))
            break;
    }
    m_painter.restore();
}

void SheetPainter::drawText(const SheetRect& rect, const std::string& text, TextStyle style,
    const QFont& font, int rotation, const QColor& colour)
{
    const QFontMetricsF metrics(font);
    const double ascent = metrics.ascent();
    const double lineHeight = ascent + metrics.descent();
    const bool centred = style & AlignCenter;
    const bool right = !centred && (style & AlignRight);
    const bool multiline = style & TextMultiline;
    const bool clipped = (style & TextClipped) && rotation == 0;

    SheetRect box = rect;
    double originX = 0, originY = 0; // where the box's top-left corner is drawn (y down)
    if (rotation == 0) {
        if (style & FieldUnderline)
            drawUnderlines(rect, font);
        originX = rect.x1;
        originY = -double(rect.y1);
    } else {
        const RotatedRun run = rotatedRun(rect, rotation);
        const int32_t px = run.x, py = run.y, length = run.length;
        if (style & FieldUnderline) {
            const double a = rotation * kPi / 180.0;
            const double rise = ascent;
            const double sx = px - std::trunc(rise * std::sin(a));
            const double sy = py - std::trunc(rise * std::cos(a));
            const double ex = std::trunc(px + length * std::cos(a) - rise * std::sin(a));
            const double ey = std::trunc(py - length * std::sin(a) - rise * std::cos(a));
            m_painter.save();
            m_painter.setPen(QPen(Qt::black, 0));
            m_painter.drawLine(point(sx, sy), point(ex, ey));
            m_painter.restore();
        }
        box = SheetRect { 0, 0, 0, 0 };
        originX = px;
        originY = -double(py);
    }
    if (text.empty())
        return;

    const double width = double(box.x2) - box.x1;
    const bool wraps = multiline && box.x1 != box.x2;
    const std::vector<QString> lines = textLines(fromCp1252(std::string_view(text).substr(0, kMaxDrawnText)),
        font, multiline, wraps ? std::max(width, 0.0) : -1);

    m_painter.save();
    m_painter.translate(originX, originY);
    if (rotation != 0)
        m_painter.rotate(rotation);
    if (clipped)
        m_painter.setClipRect(QRectF(0, 0, width, double(box.y1) - box.y2).normalized(), Qt::IntersectClip);
    m_painter.setFont(font);
    m_painter.setPen(colour);
    double baseline = ascent;
    for (QString line : lines) {
        double advance = metrics.horizontalAdvance(line);
        if (clipped && advance > width) {
            line = metrics.elidedText(line, Qt::ElideRight, std::max(width, 0.0));
            advance = metrics.horizontalAdvance(line);
        }
        const double x = centred ? (width - advance) / 2 : right ? width - advance : 0;
        m_painter.drawText(QPointF(x, baseline), line);
        baseline += lineHeight;
    }
    m_painter.restore();
}

} // namespace vorpane
