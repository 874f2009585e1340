#pragma once
// A sheet on paper and in other programs: printing (with the dialog, directly, in the preview),
// the printer setup, a PDF file of the page the printer gets, and the page as a picture on the
// clipboard. Failures show a message and change nothing already saved.

#include <QString>

class QPrinter;
class QWidget;

namespace vorpane {

class SheetLayout;

// The printer every print command uses: the default printer until the user sets up another; the
// setup lasts for the session.
QPrinter& sheetPrinter();

// Paints the page on the printer. False, after a message, when the printer cannot be used.
bool printSheetOn(QPrinter& printer, SheetLayout& layout);
// The print dialog, then the page. False when cancelled or the printer failed.
bool printSheetWithDialog(QWidget* parent, SheetLayout& layout, const QString& documentName);
void showSheetPrintPreview(QWidget* parent, SheetLayout& layout, const QString& documentName);
void showSheetPrinterSetup(QWidget* parent);

// The page as the printer gets it (paper, margins), with vector text, written whole or not at all.
bool exportSheetPdf(const QString& path, SheetLayout& layout, const QString& documentName);

// The page as a picture on the clipboard.
bool copySheetPicture(SheetLayout& layout);

} // namespace vorpane
