#include "documents/script_printing.h"

#include "platform/cp1252.h"
#include "platform/stored_font.h"
#include "platform/ui_services.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>
#include <QTextOption>

namespace vorpane {

namespace {

QString tr(const char* text) { return QCoreApplication::translate("ScriptPrinting", text); }

// The editor's pixels are the screen's; on paper the same size is kept in points.
QFont paperFont(QFont font)
{
    if (font.pixelSize() > 0)
        font.setPointSizeF(font.pixelSize() * 72.0 / kStoredFontDpi);
    return font;
}

} // namespace

int printScript(QPrinter& printer, const ScriptPrintJob& job)
{
    printer.setDocName(job.fileName);
    QPainter painter;
    if (!painter.begin(&printer)) {
        const QString name
            = printer.printerName().isEmpty() ? printer.outputFileName() : printer.printerName();
        showMessage(name.isEmpty() ? cp1252("No se puede imprimir: no hay ninguna impresora disponible.")
                                   : cp1252("No se puede imprimir en ") + toCp1252(name) + ".",
            {}, MsgIcon::Error);
        return 0;
    }
    const QFont font = paperFont(job.font);
    const QFontMetricsF metrics(font, &printer);
    const QRectF page
        = printer.pageLayout()
              .paintRectPixels(printer.resolution())
              .translated(-printer.pageLayout().paintRectPixels(printer.resolution()).topLeft());
    const qreal headerHeight = metrics.lineSpacing() * 2;

    QTextDocument document;
    document.documentLayout()->setPaintDevice(&printer);
    document.setDefaultFont(font);
    document.setDocumentMargin(0);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // Tab stops are measured at the screen's resolution; the layout scales them to the printer's.
    option.setTabStopDistance(std::max<qreal>(1, job.tabCharacters * QFontMetricsF(font).averageCharWidth()));
    document.setDefaultTextOption(option);
    document.setPlainText(job.text);
    // With a page height the layout moves a line that would cross a page's end onto the next page.
    const QSizeF body(page.width(), std::max<qreal>(metrics.lineSpacing(), page.height() - headerHeight));
    document.setPageSize(body);
    const int pages = std::max(document.pageCount(), 1);

    QFont headerFont = font;
    headerFont.setBold(true);
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            printer.newPage();
        painter.setFont(headerFont);
        painter.setPen(Qt::black);
        const QRectF header(0, 0, page.width(), metrics.lineSpacing());
        painter.drawText(header, Qt::AlignLeft | Qt::AlignVCenter, job.fileName);
        painter.drawText(
            header, Qt::AlignRight | Qt::AlignVCenter, tr("Página %1 de %2").arg(i + 1).arg(pages));
        painter.drawLine(
            QPointF(0, metrics.lineSpacing() * 1.4), QPointF(page.width(), metrics.lineSpacing() * 1.4));
        painter.save();
        painter.translate(0, headerHeight - i * body.height());
        const QRectF visible(0, i * body.height(), body.width(), body.height());
        painter.setClipRect(visible);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = visible;
        context.palette.setColor(QPalette::Text, Qt::black);
        document.documentLayout()->draw(&painter, context);
        painter.restore();
    }
    return painter.end() ? pages : 0;
}

} // namespace vorpane
