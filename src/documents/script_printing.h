#pragma once
// A script on paper: the text in the editor's font, tabs kept, long lines wrapped, each page under
// a header with the file's name and the page number.

#include <QFont>
#include <QString>

class QPrinter;

namespace vorpane {

struct ScriptPrintJob {
    QString text;
    QString fileName; // shown in the header and given to the printer as the document's name
    QFont font; // the editor's, sized in pixels of the screen
    int tabCharacters = 4; // tab stops every so many average characters of the font
};

// Paints every page on the printer; the number of pages, or 0 (after a message) when the printer
// cannot be used.
int printScript(QPrinter& printer, const ScriptPrintJob& job);

} // namespace vorpane
