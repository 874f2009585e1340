#include "documents/sheet_printing.h"

#include "platform/cp1252.h"
#include "platform/save_file.h"
#include "platform/ui_services.h"
#include "sheet/sheet_layout.h"
#include "sheet/sheet_painter.h"
#include "sheet/sheet_printing.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace vorpane {

namespace {

// PDF coordinates are fine enough at this resolution for hairlines and small type.
constexpr int kPdfResolution = 1200;
// The clipboard's picture is sharp enough to print from.
constexpr double kClipboardDpi = 150;

QPrinter* g_printer = nullptr;

QString tr(const char* text) { return QCoreApplication::translate("SheetPrinting", text); }

} // namespace

QPrinter& sheetPrinter()
{
    if (!g_printer) {
        g_printer = new QPrinter(QPrinter::HighResolution);
        // What a PDF printed from here names as its maker.
        g_printer->setCreator(QStringLiteral("Vorpane"));
        qAddPostRoutine([] {
            delete g_printer;
            g_printer = nullptr;
        });
    }
    return *g_printer;
}

bool printSheetOn(QPrinter& printer, SheetLayout& layout)
{
    QPainter painter;
    if (!painter.begin(&printer)) {
        const QString name
            = printer.printerName().isEmpty() ? printer.outputFileName() : printer.printerName();
        showMessage(name.isEmpty() ? cp1252("No se puede imprimir: no hay ninguna impresora disponible.")
                                   : cp1252("No se puede imprimir en ") + toCp1252(name) + ".",
            {}, MsgIcon::Error);
        return false;
    }
    printSheet(painter, layout, printer.logicalDpiX(), printer.logicalDpiY(), PrintMargins::fromProfile(),
        UserTextLook::fromProfile());
    return painter.end();
}

bool printSheetWithDialog(QWidget* parent, SheetLayout& layout, const QString& documentName)
{
    QPrinter& printer = sheetPrinter();
    printer.setDocName(documentName);
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(tr("Imprimir"));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    return printSheetOn(printer, layout);
}

void showSheetPrintPreview(QWidget* parent, SheetLayout& layout, const QString& documentName)
{
    QPrinter& printer = sheetPrinter();
    printer.setDocName(documentName);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(tr("Vista preliminar"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
        [&layout](QPrinter* target) { printSheetOn(*target, layout); });
    dialog.exec();
}

void showSheetPrinterSetup(QWidget* parent)
{
    QPageSetupDialog dialog(&sheetPrinter(), parent);
    dialog.setWindowTitle(tr("Configurar impresora"));
    dialog.exec();
}

bool exportSheetPdf(const QString& path, SheetLayout& layout, const QString& documentName)
{
    const SaveResult result = saveFile(QFile::encodeName(path).toStdString(), [&](QIODevice& device) {
        QPdfWriter writer(&device);
        writer.setCreator(QStringLiteral("Vorpane"));
        writer.setTitle(documentName);
        writer.setResolution(kPdfResolution);
        writer.setPageLayout(sheetPrinter().pageLayout());
        QPainter painter;
        if (!painter.begin(&writer))
            return false;
        printSheet(painter, layout, kPdfResolution, kPdfResolution, PrintMargins::fromProfile(),
            UserTextLook::fromProfile());
        return painter.end();
    });
    if (result != SaveResult::Saved) {
        showMessage(cp1252("No se puede escribir el archivo ") + toCp1252(path), {}, MsgIcon::Error);
        return false;
    }
    return true;
}

bool copySheetPicture(SheetLayout& layout)
{
    const QImage picture = renderSheet(layout, kClipboardDpi);
    if (picture.isNull()) {
        showMessage(cp1252("La hoja es demasiado grande para copiarla como imagen."), {}, MsgIcon::Warning);
        return false;
    }
    QGuiApplication::clipboard()->setImage(picture);
    return true;
}

} // namespace vorpane
