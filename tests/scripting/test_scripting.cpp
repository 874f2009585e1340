// Scripts on the desktop: the output window and its settings, the script editor (font, tab stops,
// the caret's line, highlighting, the run command), user script runs, and the break key stopping
// runs that never end while the windows keep painting and no other input gets through.

#include "desktop_fixture.h"
#include "documents/investigator_document.h"
#include "documents/script_completion.h"
#include "documents/script_edit_doc.h"
#include "documents/script_edit_view.h"
#include "documents/script_find_bar.h"
#include "documents/script_lexer.h"
#include "documents/script_preview.h"
#include "documents/user_script.h"
#include "docview/commands.h"
#include "docview/doc_template.h"
#include "docview/document_manager.h"
#include "platform/break_key.h"
#include "platform/cp1252.h"
#include "platform/profile.h"
#include "script/interpreter.h"
#include "sheet/sheet_layout.h"
#include "sheet/sheet_script.h"
#include "shell/break_key_filter.h"
#include "shell/main_frame.h"
#include "shell/output_window.h"

#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <Qsci/qsciscintilla.h>

using namespace vorpane;
using namespace vorpane::test;

namespace {

QStringList listLines(const CMainFrame& frame)
{
    QStringList lines;
    QListWidget* list = frame.outputWindow()->list();
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

QString boxTexts(const RecordingUi& ui) { return fromCp1252(ui.texts()); }

// The lines that carry the error marker, counted from 1.
QList<int> markedLines(CScriptEditView* view)
{
    QList<int> lines;
    for (int line = 0; line < view->editor()->lines(); ++line) {
        if (view->editor()->markersAtLine(line) & (1 << CScriptEditView::kErrorMarker))
            lines << line + 1;
    }
    return lines;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

CScriptEditView* newScript(CMainFrame& frame, const QString& text, const QString& type = "Script")
{
    frame.documents().newDocument(type);
    auto* view = qobject_cast<CScriptEditView*>(frame.activeView());
    if (view)
        view->editor()->replaceSelectedText(text);
    return view;
}

// Presses Ctrl+Space after `delay`, while a run is going on (`during` looks at the windows first),
// then counts the interpreter's polls until the run ends: a zero timer fires once in each. A run
// the key does not stop has the flag pressed for it after kPollsBeforeForcing polls, so that the
// test fails at once instead of running for ever.
class BreakKeyPress final : public QObject {
public:
    static constexpr int kPollsBeforeForcing = 200;

    explicit BreakKeyPress(int delay, std::function<void()> during = {})
    {
        QTimer::singleShot(delay, this, [this, during] {
            if (during)
                during();
            QWidget* target
                = QApplication::focusWidget() ? QApplication::focusWidget() : CMainFrame::instance();
            QCoreApplication::postEvent(
                target, new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, Qt::ControlModifier, " "));
            QCoreApplication::postEvent(
                target, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Space, Qt::ControlModifier, " "));
            m_pressed = true;
            m_polls.start(0);
        });
        connect(&m_polls, &QTimer::timeout, this, [this] {
            if (!script::scriptRunInProgress()) {
                m_polls.stop();
                return;
            }
            if (++m_pollsAfterPress == kPollsBeforeForcing) {
                m_forced = true;
                pressBreakKey();
            }
        });
    }

    // Whether the run stopped at the key: pressed, and over within a poll or two after it.
    QString verdict() const
    {
        if (!m_pressed)
            return QStringLiteral("the run ended before the key was pressed");
        if (m_forced)
            return QStringLiteral("the key did not stop the run in %1 polls").arg(kPollsBeforeForcing);
        if (m_pollsAfterPress > 2)
            return QStringLiteral("the run went on for %1 polls after the key").arg(m_pollsAfterPress);
        return {};
    }

private:
    QTimer m_polls;
    bool m_pressed = false;
    bool m_forced = false;
    int m_pollsAfterPress = 0;
};

// Counts the paint events of a widget.
class PaintCounter final : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// A view that records the layout scripts it hears were saved.
class SpyView final : public DocumentView {
public:
    using DocumentView::DocumentView;
    void scriptFileSaved(const QString& path) override { saved << path; }
    QStringList saved;
};

// Needs "var i;" first.
const QByteArray kEndless = "i = 0;\nwhile (1) {\n  i++;\n}\n";

} // namespace

class TestScripting : public QObject {
    Q_OBJECT
private slots:
    void outputWrites_data();
    void outputWrites();
    void outputSettings_data();
    void outputSettings();
    void editorFontAndTabStops();
    void caretLineInStatusBar();
    void highlighting_data();
    void highlighting();
    void runCommandMovesCaretToError_data();
    void runCommandMovesCaretToError();
    void runCommandOnlyForGeneralScripts();
    void userScriptResult_data();
    void userScriptResult();
    void breakKeys_data();
    void breakKeys();
    void breakKeyStopsEndlessUserScript();
    void breakKeyStopsEndlessSheetLayout();
    void savingLayoutScriptTellsEveryView();
    void findAndGoToLine();
    void findBarReplaces();
    void completion_data();
    void completion();
    void completionListOpens();
    void callTips_data();
    void callTips();
    void editedHighBytesRoundTrip();
    void previewDrawsUnsavedText();
    void previewFollowsAnOpenInvestigator();
    void previewSurvivesRunawayDrafts_data();
    void previewSurvivesRunawayDrafts();
};

// --- Output window ------------------------------------------------------------------------------

void TestScripting::outputWrites_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("boxes");
    QStringList last50;
    for (int i = 11; i <= 60; ++i)
        last50 << QString::number(i);
    QTest::newRow("sixty writes keep the last fifty")
        << "var i; for (i = 1; i <= 60; i++) output.write(i);" << last50 << "";
    QTest::newRow("float and null") << "output.write(1.5); output.write(null);"
                                    << QStringList { "1.5", "null" } << "";
    QTest::newRow("member names in any case") << "output.WRITE(\"x\"); Output = 1;" << QStringList { "x" }
                                              << "Line 1 : Variable \"Output\" not found";
    QTest::newRow("write without argument")
        << "output.write();" << QStringList {} << "Line 1 : write() : too few parameters";
    QTest::newRow("show with an argument")
        << "output.show(1);" << QStringList {} << "Line 1 : show() : too many parameters";
    QTest::newRow("clear") << "output.write(1); output.clear(); output.write(2);" << QStringList { "2" }
                           << "";
}

void TestScripting::outputWrites()
{
    QFETCH(QString, script);
    DesktopFixture fixture;
    CMainFrame frame;
    runUserScriptText(toCp1252(script));
    QTEST(listLines(frame), "lines");
    QTEST(boxTexts(fixture.ui), "boxes");
    QListWidget* list = frame.outputWindow()->list();
    QCOMPARE(list->currentRow(), list->count() - 1);
}

void TestScripting::outputSettings_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("weight");
    QTest::addColumn<int>("italic");
    QTest::addColumn<int>("background"); // -1: not stored
    QTest::addColumn<int>("text");
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<int>("qtWeight");
    QTest::newRow("defaults") << QString() << 0 << 0 << 0 << -1 << -1 << "Liberation Sans" << 10 << 400;
    QTest::newRow("stored") << "Courier New" << -14 << 700 << 1 << 0x00ff0000 << 0x0000ff00
                            << "Liberation Mono" << 14 << 700;
}

void TestScripting::outputSettings()
{
    QFETCH(QString, face);
    QFETCH(int, size);
    QFETCH(int, weight);
    QFETCH(int, italic);
    QFETCH(int, background);
    QFETCH(int, text);
    DesktopFixture fixture;
    CMainFrame frame;
    if (!face.isEmpty()) {
        Profile::writeString("Output", "FontFace", toCp1252(face));
        Profile::writeInt("Output", "FontSize", size);
        Profile::writeInt("Output", "FontWeight", weight);
        Profile::writeInt("Output", "FontItalic", italic);
        Profile::writeInt("Output", "BkColour", background);
        Profile::writeInt("Output", "TxColour", text);
        frame.outputWindow()->reloadSettings();
    }
    QListWidget* list = frame.outputWindow()->list();
    QTEST(QFontInfo(list->font()).family(), "family");
    QTEST(list->font().pixelSize(), "pixelSize");
    QTEST(int(list->font().weight()), "qtWeight");
    QCOMPARE(list->font().italic(), italic != 0);
    const QPalette system = QApplication::palette(list);
    QCOMPARE(list->palette().color(QPalette::Base),
        background < 0 ? system.color(QPalette::Base) : QColor(0, 0, 255));
    QCOMPARE(
        list->palette().color(QPalette::Text), text < 0 ? system.color(QPalette::Text) : QColor(0, 255, 0));
    frame.showOutputBar(true);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QCOMPARE(list->geometry().topLeft(), QPoint(OutputWindow::kMargin, OutputWindow::kMargin));
}

// --- Script editor ------------------------------------------------------------------------------

void TestScripting::editorFontAndTabStops()
{
    DesktopFixture fixture;
    CMainFrame frame;
    CScriptEditView* view = newScript(frame, "a\tb");
    QVERIFY(view);
    QFont font = view->settingsFont();
    QCOMPARE(QFontInfo(font).family(), QString("Liberation Mono"));
    QCOMPARE(int(font.weight()), 400);
    // Height 15 is the whole cell.
    QVERIFY(font.pixelSize() > 0 && font.pixelSize() <= 15);
    // Tab stops as near as whole spaces of the editor's font come.
    const qreal tab
        = CScriptEditView::kTabStopCharacters * QFontMetricsF(QApplication::font()).averageCharWidth();
    const qreal space = QFontMetricsF(view->settingsFont()).horizontalAdvance(' ');
    QVERIFY(qAbs(view->editor()->tabWidth() * space - tab) <= space / 2 + 0.01);

    Profile::writeString("Edit", "FontFace", "Times New Roman");
    Profile::writeInt("Edit", "FontSize", -20);
    Profile::writeInt("Edit", "FontItalic", 1);
    view->settingsChanged();
    font = view->settingsFont();
    QCOMPARE(QFontInfo(font).family(), QString("Liberation Serif"));
    QCOMPARE(font.pixelSize(), 20);
    QVERIFY(font.italic());
}

void TestScripting::caretLineInStatusBar()
{
    DesktopFixture fixture;
    CMainFrame frame;
    CScriptEditView* view = newScript(frame, "one\ntwo\nthree\nfour");
    QVERIFY(view);
    view->goToLine(3);
    QCOMPARE(frame.paneText(CMainFrame::Pane::SkillPoints), QString("Line 3"));
    frame.setPaneText(CMainFrame::Pane::Points, "9 Points");
    view->activated(false);
    QCOMPARE(frame.paneText(CMainFrame::Pane::SkillPoints), QString());
    QCOMPARE(frame.paneText(CMainFrame::Pane::Points), QString());
    view->activated(true);
    QCOMPARE(frame.paneText(CMainFrame::Pane::SkillPoints), QString("Line 3"));
}

void TestScripting::highlighting_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("token");
    QTest::addColumn<int>("style");
    using S = ScriptLexer::Style;
    QTest::newRow("keyword") << "while (x) x--;\n"
                             << "while" << int(S::Keyword);
    QTest::newRow("keyword inside a word") << "whiles = 1;\n"
                                           << "whiles" << int(S::Default);
    QTest::newRow("case matters") << "If = 1;\n"
                                  << "If" << int(S::Default);
    QTest::newRow("string") << "s = \"a // b\";\n"
                            << "\"a // b\"" << int(S::String);
    QTest::newRow("string without its end") << "s = \"a b;\n"
                                            << "\"a b;" << int(S::Error);
    QTest::newRow("hexadecimal") << "x = 0x1F;\n"
                                 << "0x1F" << int(S::Number);
    QTest::newRow("float") << "x = 12.5;\n"
                           << "12.5" << int(S::Number);
    QTest::newRow("digit in a name") << "x1 = 2;\n"
                                     << "x1" << int(S::Default);
    QTest::newRow("line comment") << "x = 1; // note\nx = 2;"
                                  << "// note" << int(S::Comment);
    QTest::newRow("line comment on the last line") << "x = 1;\nx = 2; // note"
                                                   << "// note" << int(S::Default);
    QTest::newRow("block comment over lines") << "/* a\nb */ var x;\n"
                                              << "b */" << int(S::Comment);
    QTest::newRow("after a block comment") << "/* a\nb */ var x;\n"
                                           << "var" << int(S::Keyword);
    QTest::newRow("unexpected symbol") << "x = $;\n"
                                       << "$" << int(S::Error);
    QTest::newRow("host object") << "output.write(1);\n"
                                 << "output" << int(S::HostObject);
    QTest::newRow("member named like an object") << "a.output = 1;\n"
                                                 << "output" << int(S::Default);
}

void TestScripting::highlighting()
{
    QFETCH(QString, text);
    QFETCH(QString, token);
    QFETCH(int, style);
    DesktopFixture fixture;
    CMainFrame frame;
    CScriptEditView* view = newScript(frame, text);
    QVERIFY(view);
    QsciScintilla* editor = view->editor();
    editor->SendScintilla(QsciScintilla::SCI_COLOURISE, 0UL, -1L);
    const long at = long(text.lastIndexOf(token)); // the rows are ASCII: characters are bytes
    for (long i = at; i < at + token.size(); ++i)
        QCOMPARE(int(editor->SendScintilla(QsciScintilla::SCI_GETSTYLEAT, i)), style);
}

void TestScripting::runCommandMovesCaretToError_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("line"); // the caret's afterwards
    QTest::addColumn<QString>("boxes");
    QTest::newRow("run error") << "var a;\na = 1;\nb = 2;\noutput.write(a);\n"
                               << 3 << "Line 3 : Variable \"b\" not found";
    QTest::newRow("syntax error") << "var a;\n\na = ;\n" << 3 << "Line 3 : syntax error\n;";
    QTest::newRow("success leaves the caret") << "var a;\na = 1;\noutput.write(a);\n" << 1 << "";
}

void TestScripting::runCommandMovesCaretToError()
{
    QFETCH(QString, script);
    DesktopFixture fixture;
    CMainFrame frame;
    CScriptEditView* view = newScript(frame, script);
    QVERIFY(view);
    view->editor()->setCursorPosition(0, 0);
    frame.updateCommandStates();
    QVERIFY(frame.action(cmd::RunScript)->isEnabled());
    frame.execute(cmd::RunScript);
    QCoreApplication::processEvents();
    QTEST(view->caretLine(), "line");
    QTEST(boxTexts(fixture.ui), "boxes");
    // The error's line stays marked until the text changes.
    const bool failed = !fixture.ui.boxes.empty();
    QCOMPARE(view->markedErrorLine(), failed ? view->caretLine() : 0);
    QCOMPARE(markedLines(view), failed ? QList<int> { view->caretLine() } : QList<int> {});
    if (failed) // the message, also in the status bar and as the line's tooltip
        QCOMPARE(view->errorMessage(), boxTexts(fixture.ui));
    QCOMPARE(frame.statusMessage(), failed ? boxTexts(fixture.ui) : QString());
    view->editor()->replaceSelectedText("x");
    QCOMPARE(view->markedErrorLine(), 0);
    QVERIFY(markedLines(view).isEmpty());
    // The text ran as it stands, unsaved.
    QVERIFY(view->document().isModified());
    QVERIFY(view->document().path().isEmpty());
}

void TestScripting::runCommandOnlyForGeneralScripts()
{
    DesktopFixture fixture;
    CMainFrame frame;
    newScript(frame, "sheet.sheetsize(10, 10);\n", "SheetScript");
    frame.updateCommandStates();
    QVERIFY(!frame.action(cmd::RunScript)->isEnabled());
    CScriptEditView* view = newScript(frame, QString::fromUtf8("output.write(\"\xe2\x88\x9a\");"));
    QVERIFY(!view->runScript());
    QVERIFY(boxTexts(fixture.ui).contains("Windows-1252"));
    QVERIFY(listLines(frame).isEmpty());
}

void TestScripting::userScriptResult_data()
{
    QTest::addColumn<QByteArray>("script"); // empty: no file
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("boxes");
    QTest::newRow("last value 1") << QByteArray("var a;\na = 1;\n") << true << "";
    QTest::newRow("return 1") << QByteArray("return 1;\nalert(2);\n") << true << "";
    QTest::newRow("last value 2") << QByteArray("2;\n") << false << "";
    QTest::newRow("last value text 1") << QByteArray("\"1\";\n") << true << "";
    QTest::newRow("fails after 1") << QByteArray("1;\nx = 1;\n") << false
                                   << "Line 2 : Variable \"x\" not found";
    QTest::newRow("no file") << QByteArray() << false << "Couldn't open file";
}

void TestScripting::userScriptResult()
{
    QFETCH(QByteArray, script);
    DesktopFixture fixture;
    CMainFrame frame;
    const QString path = fixture.path("user.vsc");
    if (!script.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(script);
    }
    QTEST(runUserScript(QFile::encodeName(path).toStdString()), "result");
    QTEST(boxTexts(fixture.ui), "boxes");
    QCOMPARE(fixture.ui.quickInfoKeys, std::vector<std::string> { "RunScript" });
}

// --- The break key ------------------------------------------------------------------------------

void TestScripting::breakKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<quint32>("keysym");
    QTest::addColumn<bool>("isBreak");
    const int ctrl = int(Qt::ControlModifier);
    QTest::newRow("Ctrl+Space") << int(Qt::Key_Space) << ctrl << 0x20u << true;
    QTest::newRow("Ctrl+Shift+Space")
        << int(Qt::Key_Space) << (ctrl | int(Qt::ShiftModifier)) << 0x20u << true;
    // On X11 Ctrl+Pause gives the keysym Break, which Qt does not name.
    QTest::newRow("Ctrl+Break") << 0 << ctrl << 0xff6bu << true;
    QTest::newRow("Ctrl+Pause") << int(Qt::Key_Pause) << ctrl << 0xff13u << true;
    QTest::newRow("Space") << int(Qt::Key_Space) << 0 << 0x20u << false;
    QTest::newRow("Ctrl+Alt+Space") << int(Qt::Key_Space) << (ctrl | int(Qt::AltModifier)) << 0x20u << false;
    QTest::newRow("Pause") << int(Qt::Key_Pause) << 0 << 0xff13u << false;
    QTest::newRow("Ctrl+A") << int(Qt::Key_A) << ctrl << 0x61u << false;
}

void TestScripting::breakKeys()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(quint32, keysym);
    const QKeyEvent event(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), 0, keysym, 0);
    QTEST(BreakKeyFilter::isBreakKey(event), "isBreak");
}

void TestScripting::breakKeyStopsEndlessUserScript()
{
    DesktopFixture fixture;
    fixture.ui.yesNoAnswers = { true };
    CMainFrame frame;
    CScriptEditView* view = newScript(frame, "// a script\n");
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    const QString path = fixture.path("endless.vsc");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("var i;\noutput.show();\noutput.write(\"running\");\n" + kEndless);
    file.close();

    PaintCounter counter(frame.outputWindow()->list()->viewport());
    QStringList linesDuringRun;
    bool barShownDuringRun = false;
    int paintsDuringRun = 0;
    BreakKeyPress press(200, [&] {
        linesDuringRun = listLines(frame);
        barShownDuringRun = frame.outputBar()->isVisible();
        paintsDuringRun = counter.paints;
        // Typing and clicking during the run never reach the windows.
        QCoreApplication::postEvent(view->editor(), new QKeyEvent(QEvent::KeyPress, Qt::Key_X, {}, "x"));
        QCoreApplication::postEvent(frame.action(cmd::OutputBar), new QEvent(QEvent::Shortcut));
    });
    QVERIFY(!runUserScript(QFile::encodeName(path).toStdString()));
    QVERIFY2(press.verdict().isEmpty(), qPrintable(press.verdict()));
    QCOMPARE(linesDuringRun, QStringList { "running" });
    QVERIFY(barShownDuringRun);
    QVERIFY(paintsDuringRun > 0);
    QVERIFY2(boxTexts(fixture.ui).startsWith("Break detected at line "), qPrintable(boxTexts(fixture.ui)));
    QCOMPARE(fixture.ui.boxes.size(), size_t(1));
    QCoreApplication::processEvents();
    QCOMPARE(view->editor()->text(), QString("// a script\n"));
    QVERIFY(frame.outputBar()->isVisible());
}

void TestScripting::breakKeyStopsEndlessSheetLayout()
{
    DesktopFixture fixture;
    fixture.ui.yesNoAnswers = { true };
    CMainFrame frame;
    SheetLayout layout;
    BreakKeyPress press(100);
    QVERIFY(!runSheetScriptText("var i;\nsheet.sheetsize(100.0, 100.0);\n" + kEndless.toStdString(), layout));
    QVERIFY2(press.verdict().isEmpty(), qPrintable(press.verdict()));
    QVERIFY(boxTexts(fixture.ui).startsWith("Break detected at line"));
}

// --- Saving and finding -------------------------------------------------------------------------

void TestScripting::savingLayoutScriptTellsEveryView()
{
    DesktopFixture fixture;
    CMainFrame frame;
    DocumentManager& documents = frame.documents();
    QStringList* heard = nullptr;
    documents.addTemplate(std::make_unique<CMultiFileMultiDocTemplate>(
        1, "Vorpane\nSpy\nSpy\nSpies (*.spy)\n.spy\nVorpane.Spy\nSpy", MenuKind::Script,
        [](const CMultiFileMultiDocTemplate& t) { return std::make_unique<CScriptEditDoc>(t); },
        [&heard](Document& document) {
            auto* view = new SpyView(document);
            heard = &view->saved;
            return view;
        }));
    documents.newDocument("Spy");
    QVERIFY(heard);
    for (const char* type : { "SheetScript", "HandoutScript", "Script" }) {
        CScriptEditView* view = newScript(frame, "var a;\n", type);
        const QString path = fixture.path(QString("s.") + type);
        fixture.dialogs.saveNames.push_back(path);
        QVERIFY(documents.saveDocumentAs(view->document()));
    }
    QCOMPARE(*heard, (QStringList { fixture.path("s.SheetScript"), fixture.path("s.HandoutScript") }));
}

void TestScripting::findAndGoToLine()
{
    DesktopFixture fixture;
    CMainFrame frame;
    CScriptEditView* view = newScript(frame, "var a;\na = 1;\nb = a;\n");
    view->editor()->setCursorPosition(0, 0);
    QVERIFY(view->findNext("a ="));
    QCOMPARE(view->caretLine() - 1, 1);
    QVERIFY(view->findNext("var"));
    QCOMPARE(view->caretLine() - 1, 0);
    QVERIFY(!view->findNext("zzz"));
    QCOMPARE(fixture.ui.boxes.size(), size_t(1));
    view->goToLine(3);
    QCOMPARE(view->caretLine() - 1, 2);
    view->goToLine(99);
    QCOMPARE(view->caretLine() - 1, 2);
}

void TestScripting::findBarReplaces()
{
    DesktopFixture fixture;
    CMainFrame frame;
    CScriptEditView* view = newScript(frame, "a = A + a;\n");
    frame.execute(cmd::Replace);
    ScriptFindBar* bar = view->findBar();
    QVERIFY(!bar->isHidden());
    bar->findEdit()->setText("a");
    bar->replaceEdit()->setText("bb");
    QCOMPARE(bar->replaceAll(), 3); // case ignored unless asked
    QCOMPARE(view->editor()->text(), QString("bb = bb + bb;\n"));
    frame.execute(cmd::Undo); // one step
    QCOMPARE(view->editor()->text(), QString("a = A + a;\n"));
    QVERIFY(fixture.ui.boxes.empty());
}

void TestScripting::completion_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("offered");
    QTest::addColumn<QString>("notOffered");
    QTest::newRow("sheet member") << "SheetScript"
                                  << "sheet.draw"
                                  << "drawtextbox"
                                  << "sheetsize";
    QTest::newRow("sheet constant") << "SheetScript"
                                    << "x = sheet.font"
                                    << "fontbold"
                                    << "while";
    QTest::newRow("field member") << "HandoutScript"
                                  << "field."
                                  << "setfieldvalue"
                                  << "drawline";
    QTest::newRow("dice in a script") << "Script"
                                      << "v = dice.r"
                                      << "Roll"
                                      << "";
    QTest::newRow("objects and keywords") << "Script"
                                          << "out"
                                          << "output"
                                          << "";
    QTest::newRow("keyword") << "Script"
                             << "  wh"
                             << "while"
                             << "";
    QTest::newRow("no sheet in a script") << "Script"
                                          << "sheet."
                                          << ""
                                          << "drawline";
    QTest::newRow("unknown object") << "SheetScript"
                                    << "mine."
                                    << ""
                                    << "drawline";
    QTest::newRow("inside a number") << "Script"
                                     << "x = 12"
                                     << ""
                                     << "";
}

void TestScripting::completion()
{
    QFETCH(QString, type);
    QFETCH(QString, typed);
    QFETCH(QString, offered);
    QFETCH(QString, notOffered);
    DesktopFixture fixture;
    CMainFrame frame;
    CScriptEditView* view = newScript(frame, typed, type);
    QVERIFY(view);
    const QStringList words = view->completionsAtCaret();
    if (offered.isEmpty())
        QVERIFY2(words.isEmpty() || !notOffered.isEmpty(), qPrintable(words.join(' ')));
    else
        QVERIFY2(words.contains(offered), qPrintable(words.join(' ')));
    if (!notOffered.isEmpty())
        QVERIFY2(!words.contains(notOffered), qPrintable(words.join(' ')));
}

void TestScripting::completionListOpens()
{
    DesktopFixture fixture;
    CMainFrame frame;
    CScriptEditView* view = newScript(frame, "", "SheetScript");
    QsciScintilla* editor = view->editor();
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    editor->setFocus();
    // A dot after an object offers its members at once.
    QTest::keyClicks(editor, "sheet.");
    QVERIFY(editor->SendScintilla(QsciScintilla::SCI_AUTOCACTIVE));
    QTest::keyClicks(editor, "drawl");
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(editor->text(), QString("sheet.drawline"));
    // Ctrl+J asks; Ctrl+Space is not the editor's.
    editor->replaceSelectedText("\nou");
    QTest::keyClick(editor, Qt::Key_J, Qt::ControlModifier);
    QVERIFY(editor->SendScintilla(QsciScintilla::SCI_AUTOCACTIVE));
    QTest::keyClick(editor, Qt::Key_Escape);
    QVERIFY(!editor->SendScintilla(QsciScintilla::SCI_AUTOCACTIVE));
    QTest::keyClick(editor, Qt::Key_Space, Qt::ControlModifier);
    QVERIFY(!editor->SendScintilla(QsciScintilla::SCI_AUTOCACTIVE));
    QCOMPARE(editor->text(), QString("sheet.drawline\nou"));

    // Braces indent the lines inside them and the closing one goes back.
    editor->selectAll();
    editor->removeSelectedText();
    QTest::keyClicks(editor, "if (1) {");
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::keyClicks(editor, "x = 1;");
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::keyClicks(editor, "}");
    QCOMPARE(editor->text(), QString("if (1) {\n\tx = 1;\n}"));
}

void TestScripting::callTips_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("tip");
    QTest::newRow("sheet member") << "sheet.drawline("
                                  << "sheet.drawline(x1, y1, x2, y2)";
    QTest::newRow("later argument") << "sheet.setfont(\"Arial\", 10, "
                                    << "sheet.setfont(face, size, fontstyle)";
    QTest::newRow("nested call") << "sheet.drawtext(1, 2, math.abs("
                                 << "math.abs(x)";
    QTest::newRow("after the nested call") << "sheet.drawtext(1, 2, math.abs(3), "
                                           << "sheet.drawtext(x, y, text, style)";
    QTest::newRow("optional arguments") << "investigator.addskill("
                                        << "investigator.addskill(name, [base], [value])";
    QTest::newRow("class") << "a = new Array("
                           << "new Array(length or elements...)";
    QTest::newRow("closed call") << "sheet.drawline(1, 2, 3, 4);"
                                 << "";
    QTest::newRow("unknown member") << "sheet.nothing("
                                    << "";
}

void TestScripting::callTips()
{
    QFETCH(QString, typed);
    QFETCH(QString, tip);
    QCOMPARE(ScriptCompletion().callTip(typed), tip);
}

void TestScripting::editedHighBytesRoundTrip()
{
    DesktopFixture fixture;
    CMainFrame frame;
    const QString file = fixture.path("s.vis");
    const QByteArray bytes("// \xe9\x80\x81\x8d\x8f\x90\x9d\x9f\xff\r\nvar a;\r\n");
    QVERIFY(writeFile(file, bytes));
    Document* document = frame.documents().openDocumentFile(file);
    auto* view = qobject_cast<CScriptEditView*>(frame.activeView());
    QVERIFY(view);
    view->editor()->append("a = 1;");
    QVERIFY(frame.documents().saveDocument(*document));
    QCOMPARE(readFile(file), bytes + "a = 1;");
}

namespace {

// A sheet script document with the preview beside it, drawing the first example investigator.
struct PreviewFixture {
    DesktopFixture fixture;
    CMainFrame frame;
    CScriptEditView* view = nullptr;
    ScriptPreview* preview = nullptr;
    explicit PreviewFixture(const QString& text)
    {
        frame.resize(1000, 700);
        view = newScript(frame, text, "SheetScript");
        preview = view ? view->preview() : nullptr;
    }
};

const QString kDraft = "sheet.sheetsize(60.0, 40.0);\n"
                       "sheet.fillrectangle(10.0, 10.0, 30.0, 30.0, 0xff);\n"
                       "sheet.drawtextbox(35.0, 10.0, 55.0, 30.0, field.name, 0);\n";

} // namespace

void TestScripting::previewDrawsUnsavedText()
{
    PreviewFixture f(kDraft);
    QVERIFY(f.preview);
    QVERIFY(f.preview->sourceBox()->count() > 0);
    QTRY_VERIFY(f.preview->redrawCount() > 0);
    QVERIFY2(f.preview->lastRun().ok, f.preview->lastRun().message.c_str());
    const QImage page = f.preview->page();
    QVERIFY(!page.isNull());
    QVERIFY(qAbs(double(page.width()) / page.height() - 1.5) < 0.05);
    const double pixelsPerMm = page.width() / 60.0;
    // The square (script colours are 0xRRGGBB), drawn by line 2, and the text box of line 3.
    const QPointF square(20 * pixelsPerMm, 20 * pixelsPerMm);
    QCOMPARE(page.pixelColor(square.toPoint()), QColor(Qt::blue));
    QCOMPARE(f.preview->lineAtPixel(square), 2);
    QCOMPARE(f.preview->lineAtPixel(QPointF(45 * pixelsPerMm, 20 * pixelsPerMm)), 3);
    QCOMPARE(f.preview->lineAtPixel(QPointF(2 * pixelsPerMm, 2 * pixelsPerMm)), 0);
    // A click there puts the caret on the line.
    emit f.preview->lineClicked(2);
    QCOMPARE(f.view->caretLine(), 2);

    // Keystrokes in a row draw once, after the pause; the file was never saved.
    const int before = f.preview->redrawCount();
    f.view->editor()->setCursorPosition(1, 0);
    for (const char* text : { "/", "/", " " })
        f.view->editor()->replaceSelectedText(text);
    QVERIFY(f.preview->isPending());
    QCOMPARE(f.preview->redrawCount(), before);
    QTRY_COMPARE_WITH_TIMEOUT(f.preview->redrawCount(), before + 1, 2000);
    QVERIFY(f.preview->lastRun().ok);
    QVERIFY(f.preview->page().pixelColor(square.toPoint()) != QColor(Qt::blue));
    QVERIFY(f.view->document().path().isEmpty());
    QVERIFY(f.fixture.ui.boxes.empty());
}

// An open investigator is read again for every redraw; the page shows it as it stands, and no
// field of the copy read before outlives it.
void TestScripting::previewFollowsAnOpenInvestigator()
{
    DesktopFixture fixture;
    CMainFrame frame;
    frame.resize(1000, 700);
    const QString file = fixture.copy(dataFile("examples/detective_1890.inv"));
    auto* investigator = static_cast<CInvestigatorDoc*>(frame.documents().openDocumentFile(file));
    QVERIFY(investigator);
    CScriptEditView* view = newScript(frame,
        "sheet.sheetsize(60.0, 40.0);\n"
        "sheet.setusertextsize(12);\n"
        "sheet.addfield(2.0, 2.0, 58.0, 38.0, field.name);\n",
        "SheetScript");
    QVERIFY(view && view->preview());
    ScriptPreview* preview = view->preview();
    preview->refreshSources();
    QCOMPARE(preview->sourceBox()->currentText(), investigator->title().trimmed());
    preview->redraw();
    QVERIFY2(preview->lastRun().ok, preview->lastRun().message.c_str());
    const QImage before = preview->page();
    investigator->model().change([](Investigator& inv) { inv.Name = "WWWWWWWW"; });
    preview->redraw();
    QVERIFY2(preview->lastRun().ok, preview->lastRun().message.c_str());
    QVERIFY(preview->page() != before);
}

void TestScripting::previewSurvivesRunawayDrafts_data()
{
    QTest::addColumn<QString>("draft");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("message");
    QTest::newRow("endless loop") << "var i;\nwhile (1) {\n  i++;\n}\n" << 0 << "too many steps";
    QTest::newRow("memory grab") << "var s;\ns = \"x\";\nwhile (1)\n  s = s + s;\n" << 4 << "Out of memory";
    QTest::newRow("error") << "sheet.drawline(1, 2);\n" << 1 << "too few parameters";
}

void TestScripting::previewSurvivesRunawayDrafts()
{
    QFETCH(QString, draft);
    QFETCH(int, line);
    QFETCH(QString, message);
    PreviewFixture f(kDraft);
    QVERIFY(f.preview);
    f.preview->redraw();
    QVERIFY(f.preview->lastRun().ok);
    const QImage good = f.preview->page();
    f.view->editor()->selectAll();
    f.view->editor()->replaceSelectedText(draft);
    f.preview->redraw();
    QVERIFY(!f.preview->lastRun().ok);
    QVERIFY2(QString::fromStdString(f.preview->lastRun().message).contains(message),
        f.preview->lastRun().message.c_str());
    // The last good page stays; no box, and the error is marked in place.
    QCOMPARE(f.preview->page(), good);
    QVERIFY(f.fixture.ui.boxes.empty());
    QCOMPARE(f.view->markedErrorLine(), line);
    if (line > 0)
        QVERIFY(f.view->errorMessage().contains(message));
}

QTEST_MAIN(TestScripting)
#include "test_scripting.moc"
