// The document/view layer: document types, opening, saving, the save question on close, the
// script editor's byte-exact files, menus by document kind and the recent-file list.

#include "desktop_fixture.h"
#include "documents/investigator_document.h"
#include "documents/script_edit_doc.h"
#include "documents/script_edit_view.h"
#include "documents/sheet_printing.h"
#include "documents/view_commands.h"
#include "docview/child_frame.h"
#include "docview/doc_template.h"
#include "docview/document.h"
#include "docview/document_manager.h"
#include "docview/document_view.h"
#include "investigator/legacy_file.h"
#include "platform/cp1252.h"
#include "shell/main_frame.h"

#include <QClipboard>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QPrinter>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <Qsci/qsciscintilla.h>

using namespace vorpane;
using namespace vorpane::test;

namespace {

// A text as a PDF file's information dictionary holds it: UTF-16 with its byte-order mark.
QByteArray pdfText(const QString& text)
{
    QByteArray bytes("(\xfe\xff");
    for (const QChar c : text) {
        for (const char byte : { char(c.unicode() >> 8), char(c.unicode() & 0xff) }) {
            if (byte == '(' || byte == ')' || byte == '\\')
                bytes += '\\';
            bytes += byte;
        }
    }
    return bytes + ')';
}

QStringList menuTitles(QMainWindow& window)
{
    QStringList titles;
    for (QAction* action : window.menuBar()->actions())
        titles << action->text();
    return titles;
}

} // namespace

class TestDocuments : public QObject {
    Q_OBJECT
private slots:
    void templatesInOrder();
    void templatesFoundByTypeName_data();
    void templatesFoundByTypeName();
    void openShowsOneWindowPerFile();
    void closedFileOpensAgain();
    void failedOpenShowsNoWindow_data();
    void failedOpenShowsNoWindow();
    void olderVersionSavesAsNewFile();
    void closeAsksToSave_data();
    void closeAsksToSave();
    void failedSaveKeepsDocumentOpen();
    void scriptFileRoundTripsByteForByte_data();
    void scriptFileRoundTripsByteForByte();
    void editedScriptKeepsLineEnds();
    void characterOutsideCodePageIsRefused();
    void menuBarFollowsActiveDocument();
    void commandsRouteToActiveView();
    void recentFilesKeepEight();
    void mainTitleNamesActiveDocument();
    void menuMnemonicsOpenMenus_data();
    void menuMnemonicsOpenMenus();
    void scriptEditorPastesPlainText_data();
    void scriptEditorPastesPlainText();
    void pdfsCarryTitleAndMaker_data();
    void pdfsCarryTitleAndMaker();
};

void TestDocuments::templatesInOrder()
{
    DesktopFixture fixture;
    CMainFrame frame;
    QStringList names;
    for (const auto& docTemplate : frame.documents().templates())
        names << docTemplate->typeName();
    QCOMPARE(names, (QStringList { "Investigator", "Handout", "SheetScript", "HandoutScript", "Script" }));
    const CMultiFileMultiDocTemplate& investigator = *frame.documents().templates().front();
    QCOMPARE(investigator.field(CMultiFileMultiDocTemplate::NewFileName), QString("Zhaldor Investigator"));
    QCOMPARE(investigator.filter(), QString("Zhaldor Investigators (*.inv)"));
    QCOMPARE(investigator.extension(), QString(".inv"));
    QCOMPARE(investigator.field(CMultiFileMultiDocTemplate::RegistryTypeId), QString("Zhaldor.Investigator"));
}

void TestDocuments::templatesFoundByTypeName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("expected");
    QTest::newRow("investigator") << "investigator"
                                  << "a.INV"
                                  << "Investigator";
    QTest::newRow("handout") << "HANDOUT"
                             << "b.zho"
                             << "Handout";
    QTest::newRow("sheet script") << "SheetScript"
                                  << "c.vis"
                                  << "SheetScript";
    QTest::newRow("handout script") << "handoutscript"
                                    << "d.Vhs"
                                    << "HandoutScript";
    QTest::newRow("script") << "script"
                            << "e.vsc"
                            << "Script";
    QTest::newRow("unknown") << "Sheet"
                             << "f.txt"
                             << "";
}

void TestDocuments::templatesFoundByTypeName()
{
    QFETCH(QString, name);
    QFETCH(QString, file);
    QFETCH(QString, expected);
    DesktopFixture fixture;
    CMainFrame frame;
    CMultiFileMultiDocTemplate* byName = frame.documents().findTemplate(name);
    CMultiFileMultiDocTemplate* byFile = frame.documents().templateForFile(file);
    QCOMPARE(byName ? byName->typeName() : QString(), expected);
    QCOMPARE(byFile ? byFile->typeName() : QString(), expected);
}

void TestDocuments::openShowsOneWindowPerFile()
{
    DesktopFixture fixture;
    CMainFrame frame;
    const QString file = fixture.copy(dataFile("examples/detective_1890.inv"));
    Document* first = frame.documents().openDocumentFile(file);
    QVERIFY(first);
    QCOMPARE(first->title(), QString("detective_1890.inv"));
    QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);
    QVERIFY(frame.mdiArea()->subWindowList().front()->isMaximized());
    QCOMPARE(frame.documents().openDocumentFile(file), first);
    QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);
    QVERIFY(fixture.ui.boxes.empty());
    QCOMPARE(frame.windowTitle(), QString("Vorpane - detective_1890.inv[*]"));
}

// Closing the last window of a document ends the document: the file opens in a new window again.
void TestDocuments::closedFileOpensAgain()
{
    DesktopFixture fixture;
    CMainFrame frame;
    const QString file = fixture.copy(dataFile("carta.zho"));
    Document* document = frame.documents().openDocumentFile(file);
    QVERIFY(document);
    QSignalSpy removed(&frame.documents(), &DocumentManager::documentRemoved);
    QVERIFY(frame.documents().closeDocument(*document));
    QVERIFY(removed.wait());
    QVERIFY(frame.documents().documents().isEmpty());
    QVERIFY(frame.documents().openDocumentFile(file));
    QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);
}

void TestDocuments::failedOpenShowsNoWindow_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty investigator") << QByteArray() << "a.inv"
                                        << "File is empty";
    QTest::newRow("bad header") << QByteArray("NOT AN INVESTIGATOR") << "b.inv"
                                << "Unknown file format: unknown file header";
    QTest::newRow("empty handout") << QByteArray() << "c.zho"
                                   << "File is empty";
    QTest::newRow("unknown type") << QByteArray("hello") << "d.txt"
                                  << "Vorpane no reconoce el tipo del archivo ";
}

void TestDocuments::failedOpenShowsNoWindow()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(QString, message);
    DesktopFixture fixture;
    CMainFrame frame;
    QVERIFY(writeAll(fixture.path(name), bytes));
    QVERIFY(!frame.documents().openDocumentFile(fixture.path(name)));
    QCOMPARE(frame.mdiArea()->subWindowList().size(), 0);
    QVERIFY(frame.documents().documents().isEmpty());
    QVERIFY(!fixture.ui.boxes.empty());
    QVERIFY2(
        fromCp1252(fixture.ui.boxes.front().text).startsWith(message), fixture.ui.boxes.front().text.c_str());
}

void TestDocuments::olderVersionSavesAsNewFile()
{
    DesktopFixture fixture;
    CMainFrame frame;
    auto* original = static_cast<CInvestigatorDoc*>(
        frame.documents().openDocumentFile(fixture.copy(dataFile("examples/medica_1890.inv"))));
    QVERIFY(original);
    const QString older = fixture.path("medica_20.inv");
    QVERIFY(LegacyFile::exportFile(older.toStdString(), original->investigator(), 2));
    const QByteArray olderBytes = readAll(older);

    Document* document = frame.documents().openDocumentFile(older);
    QVERIFY(document);
    QVERIFY(!document->canSaveInPlace());
    const QString saved = fixture.path("medica_nueva.inv");
    fixture.dialogs.saveNames.push_back(saved);
    frame.execute(cmd::Save);
    QCOMPARE(fixture.dialogs.proposedNames.last(), older);
    QCOMPARE(readAll(older), olderBytes);
    QVERIFY(readAll(saved).startsWith("INV\r\n"));
    QCOMPARE(document->path(), saved);
    QVERIFY(document->canSaveInPlace());
}

void TestDocuments::closeAsksToSave_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("saved");
    QTest::newRow("yes") << int(MsgResult::Yes) << true << true;
    QTest::newRow("no") << int(MsgResult::No) << true << false;
    QTest::newRow("cancel") << int(MsgResult::Cancel) << false << false;
}

void TestDocuments::closeAsksToSave()
{
    QFETCH(int, answer);
    QFETCH(bool, closed);
    QFETCH(bool, saved);
    DesktopFixture fixture;
    CMainFrame frame;
    const QString file = fixture.copy(dataFile("examples/detective_1890.inv"));
    auto* document = static_cast<CInvestigatorDoc*>(frame.documents().openDocumentFile(file));
    QVERIFY(document);
    document->model().change([](Investigator& inv) { inv.Name = "Otro nombre"; });
    QVERIFY(document->isModified());

    fixture.ui.answers.push_back(MsgResult(answer));
    QCOMPARE(frame.close(), closed);
    QCOMPARE(fixture.ui.boxes.size(), size_t(1));
    QCOMPARE(fixture.ui.boxes.front().buttons, MsgButtons::YesNoCancel);
    QCOMPARE(fromCp1252(fixture.ui.boxes.front().text),
        QString("¿Desea guardar los cambios en detective_1890.inv?"));
    QCOMPARE(readAll(file).contains("Otro nombre"), saved);
    if (!closed) {
        QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);
        QVERIFY(document->isModified());
    }
}

void TestDocuments::failedSaveKeepsDocumentOpen()
{
    DesktopFixture fixture;
    CMainFrame frame;
    Document* document = frame.documents().newDocument("Script", " N. Script");
    QVERIFY(document);
    static_cast<CScriptEditDoc*>(document)->textStore()->setText("output.write(1);");
    QVERIFY(document->isModified());
    // A folder that does not exist cannot take the file.
    fixture.dialogs.saveNames.push_back(fixture.path("missing/folder/x.vsc"));
    fixture.ui.answers.push_back(MsgResult::Yes);
    QVERIFY(!frame.documents().closeDocument(*document));
    QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);
    QVERIFY(document->isModified());
    QCOMPARE(fixture.ui.boxes.size(), size_t(2)); // the question, then the failure
    QCOMPARE(fixture.ui.boxes.back().icon, MsgIcon::Error);
}

void TestDocuments::scriptFileRoundTripsByteForByte_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("crlf") << QByteArray("var a = 1;\r\noutput.write(a);\r\n");
    QTest::newRow("lf only") << QByteArray("var a = 1;\noutput.write(a);\n");
    QTest::newRow("mixed and lone cr") << QByteArray("a\r\nb\nc\rd");
    QTest::newRow("high bytes") << QByteArray("// \xe9\xf1\x80\x81\x8d\x8f\x90\x9d\xff\r\n");
    QTest::newRow("no line end") << QByteArray("output.show();");
}

void TestDocuments::scriptFileRoundTripsByteForByte()
{
    QFETCH(QByteArray, bytes);
    DesktopFixture fixture;
    CMainFrame frame;
    const QString file = fixture.path("s.vsc");
    QVERIFY(writeAll(file, bytes));
    Document* document = frame.documents().openDocumentFile(file);
    QVERIFY(document);
    QVERIFY(!document->isModified());
    QVERIFY(frame.documents().saveDocument(*document));
    QCOMPARE(readAll(file), bytes);
}

void TestDocuments::editedScriptKeepsLineEnds()
{
    DesktopFixture fixture;
    CMainFrame frame;
    const QString file = fixture.path("s.vsc");
    QVERIFY(writeAll(file, "var a = 1;\r\n\xe9\r\n"));
    Document* document = frame.documents().openDocumentFile(file);
    QVERIFY(document);
    auto* view = qobject_cast<CScriptEditView*>(frame.activeView());
    QVERIFY(view);
    view->editor()->append("x\ny");
    QVERIFY(document->isModified());
    QVERIFY(frame.documents().saveDocument(*document));
    QCOMPARE(readAll(file), QByteArray("var a = 1;\r\n\xe9\r\nx\r\ny"));
    QVERIFY(!document->isModified());
}

void TestDocuments::characterOutsideCodePageIsRefused()
{
    DesktopFixture fixture;
    CMainFrame frame;
    const QString file = fixture.path("s.vsc");
    QVERIFY(writeAll(file, "a\r\n"));
    Document* document = frame.documents().openDocumentFile(file);
    auto* view = qobject_cast<CScriptEditView*>(frame.activeView());
    QVERIFY(view);
    view->editor()->append(QString::fromUtf8("\xe2\x88\x9a")); // a square root sign
    QVERIFY(!frame.documents().saveDocument(*document));
    QVERIFY(document->isModified());
    QCOMPARE(readAll(file), QByteArray("a\r\n"));
    QCOMPARE(fixture.ui.boxes.size(), size_t(1));
    // The box names the character even though the box's own text cannot hold it.
    QVERIFY(fromCp1252(fixture.ui.boxes.front().text).contains("Windows-1252"));
}

void TestDocuments::menuBarFollowsActiveDocument()
{
    DesktopFixture fixture;
    CMainFrame frame;
    QCOMPARE(frame.menuKind(), MenuKind::NoDocument);
    QCOMPARE(menuTitles(frame), (QStringList { "&Archivo", "&Ver", "Ay&uda" }));
    frame.documents().newDocument("SheetScript");
    QCOMPARE(frame.menuKind(), MenuKind::Script);
    QVERIFY(menuTitles(frame).contains("&Script"));
    frame.documents().openDocumentFile(fixture.copy(dataFile("carta.zho")));
    QCOMPARE(frame.menuKind(), MenuKind::Handout);
    frame.documents().closeAll();
    qApp->processEvents();
    QCOMPARE(frame.menuKind(), MenuKind::NoDocument);
    QCOMPARE(frame.windowTitle(), QString("Vorpane"));
}

void TestDocuments::commandsRouteToActiveView()
{
    DesktopFixture fixture;
    CMainFrame frame;
    QVERIFY(!frame.action(cmd::Save)->isEnabled());
    frame.documents().newDocument("Script", " N. Script");
    auto* view = qobject_cast<CScriptEditView*>(frame.activeView());
    QVERIFY(view);
    view->editor()->replaceSelectedText("abc");
    frame.updateCommandStates();
    QVERIFY(frame.action(cmd::Save)->isEnabled());
    QVERIFY(frame.action(cmd::Undo)->isEnabled());
    frame.execute(cmd::Undo);
    QCOMPARE(view->editor()->text(), QString());
    QVERIFY(!frame.action(cmd::Undo)->isEnabled());
    // The frame's own commands answer when the view does not know them.
    QVERIFY(!frame.action(cmd::HideOutput)->isEnabled());
    frame.execute(cmd::OutputBar);
    QVERIFY(frame.outputBar()->isVisibleTo(&frame));
    QVERIFY(frame.action(cmd::OutputBar)->isChecked());
    frame.execute(cmd::HideOutput);
    QVERIFY(!frame.outputBar()->isVisibleTo(&frame));
}

void TestDocuments::recentFilesKeepEight()
{
    DesktopFixture fixture;
    CMainFrame frame;
    DocumentManager& documents = frame.documents();
    for (int i = 0; i < 10; ++i)
        documents.addRecentFile(fixture.path(QString("f%1.inv").arg(i)));
    const QStringList files = documents.recentFiles();
    QCOMPARE(files.size(), 8);
    QCOMPARE(files.front(), fixture.path("f9.inv"));
    QCOMPARE(files.back(), fixture.path("f2.inv"));
    documents.addRecentFile(fixture.path("f5.inv"));
    QCOMPARE(documents.recentFiles().front(), fixture.path("f5.inv"));
    QCOMPARE(documents.recentFiles().size(), 8);
}

void TestDocuments::mainTitleNamesActiveDocument()
{
    DesktopFixture fixture;
    CMainFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    auto* document = static_cast<CInvestigatorDoc*>(
        frame.documents().openDocumentFile(fixture.copy(dataFile("examples/detective_1890.inv"))));
    QVERIFY(document);
    QTRY_COMPARE(frame.windowTitle(), QString("Vorpane - detective_1890.inv[*]"));
    QVERIFY(!frame.isWindowModified());
    document->model().change([](Investigator& inv) { inv.Name = "Otro"; });
    QTRY_VERIFY(frame.isWindowModified());
    QCOMPARE(frame.windowTitle(), QString("Vorpane - detective_1890.inv[*]"));
    frame.documents().newDocument("Script", " N. Script");
    QTRY_COMPARE(frame.windowTitle(), QString("Vorpane -  N. Script[*]"));
    QVERIFY(!frame.isWindowModified());
    fixture.ui.answers.push_back(MsgResult::No);
    QVERIFY(frame.documents().closeAll());
    QTRY_COMPARE(frame.windowTitle(), QString("Vorpane"));
}

void TestDocuments::menuMnemonicsOpenMenus_data()
{
    QTest::addColumn<QString>("type");
    QTest::newRow("no document") << "";
    QTest::newRow("script") << "Script";
    QTest::newRow("handout") << "Handout";
    QTest::newRow("investigator") << "Investigator";
}

// Alt and a menu's letter opens it wherever the focus is, the script editor included.
void TestDocuments::menuMnemonicsOpenMenus()
{
    QFETCH(QString, type);
    DesktopFixture fixture;
    CMainFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    if (!type.isEmpty())
        QVERIFY(frame.documents().newDocument(type));
    QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : &frame;
    QTest::keyClick(focus, Qt::Key_A, Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget());
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QCOMPARE(menu->title(), QString("&Archivo"));
    menu->close();
    if (Document* document = frame.documents().activeDocument())
        QVERIFY(!document->isModified()); // the letter was not typed
}

void TestDocuments::scriptEditorPastesPlainText_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("modified");
    // What a clipboard offers once the program that filled it has ended: no format at all.
    QTest::newRow("nothing") << QString() << QString() << false;
    QTest::newRow("text") << QString() << "alert(1);" << true;
    QTest::newRow("html and text") << "<b>alert(2);</b>"
                                   << "alert(2);" << true;
}

void TestDocuments::scriptEditorPastesPlainText()
{
    QFETCH(QString, html);
    QFETCH(QString, text);
    QFETCH(bool, modified);
    DesktopFixture fixture;
    CMainFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    Document* document = frame.documents().newDocument("Script");
    auto* view = qobject_cast<CScriptEditView*>(frame.activeView());
    QVERIFY(view);
    const QString before = view->editor()->text();
    auto* data = new QMimeData;
    if (!html.isEmpty())
        data->setHtml(html);
    if (!text.isEmpty())
        data->setText(text);
    QGuiApplication::clipboard()->setMimeData(data);
    view->editor()->setFocus();
    QTest::keyClick(view->editor(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(document->isModified(), modified);
    QCOMPARE(view->editor()->text(), text + before);
    QGuiApplication::clipboard()->clear();
}

void TestDocuments::pdfsCarryTitleAndMaker_data()
{
    QTest::addColumn<QString>("file"); // a data file, or a script of that many lines
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("pages");
    QTest::newRow("investigator exported") << "examples/detective_1890.inv" << cmd::ExportPdf << 1;
    QTest::newRow("investigator printed") << "examples/detective_1890.inv" << cmd::PrintDirect << 1;
    QTest::newRow("handout printed") << "carta.zho" << cmd::PrintDirect << 1;
    QTest::newRow("short script printed") << "3" << cmd::PrintDirect << 1;
    // Each line wraps once; a page holds far fewer than 200.
    QTest::newRow("long script printed") << "200" << cmd::PrintDirect << 4;
}

void TestDocuments::pdfsCarryTitleAndMaker()
{
    QFETCH(QString, file);
    QFETCH(QString, how);
    QFETCH(int, pages);
    DesktopFixture fixture;
    CMainFrame frame;
    QString path;
    bool lines = false;
    const int count = file.toInt(&lines);
    if (lines) {
        QByteArray text;
        for (int i = 1; i <= count; ++i)
            text += "\tx" + QByteArray::number(i) + " = \"" + QByteArray(150, 'a') + "\";\r\n";
        path = fixture.path("largo.vsc");
        QVERIFY(writeAll(path, text));
    } else {
        path = fixture.copy(dataFile(file));
    }
    QVERIFY(frame.documents().openDocumentFile(path));
    QString title = QFileInfo(path).fileName();
    if (auto* doc = qobject_cast<CInvestigatorDoc*>(frame.documents().documents().front()))
        title = fromCp1252(doc->investigator().Name).trimmed();
    QVERIFY(!title.isEmpty());
    const QString pdf = fixture.path("salida.pdf");
    QPrinter& printer = sheetPrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    fixture.dialogs.saveNames.push_back(pdf);
    frame.updateCommandStates();
    QVERIFY(frame.action(how)->isEnabled());
    frame.execute(how);
    printer.setOutputFileName({});
    QVERIFY(fixture.ui.boxes.empty());
    const QByteArray bytes = readAll(pdf);
    QVERIFY(bytes.startsWith("%PDF-"));
    QVERIFY(bytes.contains("/Title " + pdfText(title)));
    QVERIFY(bytes.contains("/Creator " + pdfText("Vorpane")));
    int printed = 0;
    for (auto it = QRegularExpression("/Type /Page[^s]").globalMatch(QString::fromLatin1(bytes));
         it.hasNext(); it.next())
        ++printed;
    if (lines)
        QVERIFY2(printed >= pages, qPrintable(QString::number(printed)));
    else
        QCOMPARE(printed, pages);
}

QTEST_MAIN(TestDocuments)
#include "test_documents.moc"
