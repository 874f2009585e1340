// Scripts on the desktop: the output window and its settings, the script editor (font, tab stops,
// the caret's line, highlighting, the run command), user script runs, and the break key stopping
// runs that never end while the windows keep painting and no other input gets through.

#include "desktop_fixture.h"
#include "documents/script_edit_doc.h"
#include "documents/script_edit_view.h"
#include "documents/script_highlighter.h"
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
#include <QDockWidget>
#include <QFile>
#include <QKeyEvent>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>

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

CScriptEditView* newScript(CMainFrame& frame, const QString& text, const QString& type = "Script")
{
    frame.documents().newDocument(type);
    auto* view = qobject_cast<CScriptEditView*>(frame.activeView());
    if (view)
        view->editor()->insertPlainText(text);
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
    QFont font = view->editor()->font();
    QCOMPARE(QFontInfo(font).family(), QString("Liberation Mono"));
    QCOMPARE(int(font.weight()), 400);
    // Height 15 is the whole cell.
    QVERIFY(font.pixelSize() > 0 && font.pixelSize() <= 15);
    const qreal tab
        = CScriptEditView::kTabStopCharacters * QFontMetricsF(QApplication::font()).averageCharWidth();
    QCOMPARE(view->editor()->tabStopDistance(), tab);

    Profile::writeString("Edit", "FontFace", "Times New Roman");
    Profile::writeInt("Edit", "FontSize", -20);
    Profile::writeInt("Edit", "FontItalic", 1);
    view->settingsChanged();
    font = view->editor()->font();
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
    QTextCursor cursor = view->editor()->textCursor();
    cursor.movePosition(QTextCursor::Start);
    cursor.movePosition(QTextCursor::Down, QTextCursor::MoveAnchor, 2);
    view->editor()->setTextCursor(cursor);
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
    QTest::addColumn<int>("tokenClass"); // -1: plain
    using C = ScriptHighlighter::TokenClass;
    QTest::newRow("keyword") << "while (x) x--;\n"
                             << "while" << int(C::Keyword);
    QTest::newRow("keyword inside a word") << "whiles = 1;\n"
                                           << "whiles" << -1;
    QTest::newRow("case matters") << "If = 1;\n"
                                  << "If" << -1;
    QTest::newRow("string") << "s = \"a // b\";\n"
                            << "\"a // b\"" << int(C::String);
    QTest::newRow("hexadecimal") << "x = 0x1F;\n"
                                 << "0x1F" << int(C::Number);
    QTest::newRow("float") << "x = 12.5;\n"
                           << "12.5" << int(C::Number);
    QTest::newRow("digit in a name") << "x1 = 2;\n"
                                     << "x1" << -1;
    QTest::newRow("line comment") << "x = 1; // note\nx = 2;"
                                  << "// note" << int(C::Comment);
    QTest::newRow("line comment on the last line") << "x = 1;\nx = 2; // note"
                                                   << "// note" << -1;
    QTest::newRow("block comment over lines") << "/* a\nb */ var x;\n"
                                              << "b */" << int(C::Comment);
    QTest::newRow("after a block comment") << "/* a\nb */ var x;\n"
                                           << "var" << int(C::Keyword);
    QTest::newRow("unexpected symbol") << "x = $;\n"
                                       << "$" << int(C::Error);
}

void TestScripting::highlighting()
{
    QFETCH(QString, text);
    QFETCH(QString, token);
    QFETCH(int, tokenClass);
    DesktopFixture fixture;
    CMainFrame frame;
    CScriptEditView* view = newScript(frame, text);
    QVERIFY(view);
    const int at = int(text.lastIndexOf(token));
    const QTextBlock block = view->editor()->document()->findBlock(at);
    const int inBlock = at - block.position();
    QTextCharFormat found;
    for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
        if (range.start <= inBlock && inBlock + token.size() <= range.start + range.length)
            found = range.format;
    }
    if (tokenClass < 0) {
        QVERIFY(!found.hasProperty(QTextFormat::ForegroundBrush));
        QVERIFY(!found.hasProperty(QTextFormat::TextUnderlineStyle));
    } else {
        const QTextCharFormat wanted = view->highlighter()->format(ScriptHighlighter::TokenClass(tokenClass));
        QCOMPARE(found.foreground(), wanted.foreground());
        QCOMPARE(found.underlineStyle(), wanted.underlineStyle());
    }
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
    view->editor()->moveCursor(QTextCursor::Start);
    frame.updateCommandStates();
    QVERIFY(frame.action(cmd::RunScript)->isEnabled());
    frame.execute(cmd::RunScript);
    QCoreApplication::processEvents();
    QTEST(view->editor()->textCursor().blockNumber() + 1, "line");
    QTEST(boxTexts(fixture.ui), "boxes");
    // The error's line stays marked until the text changes.
    const bool failed = !fixture.ui.boxes.empty();
    QCOMPARE(view->markedErrorLine(), failed ? view->editor()->textCursor().blockNumber() + 1 : 0);
    QCOMPARE(view->editor()->extraSelections().size(), failed ? 1 : 0);
    view->editor()->insertPlainText("x");
    QCOMPARE(view->markedErrorLine(), 0);
    QVERIFY(view->editor()->extraSelections().isEmpty());
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
    QCOMPARE(view->editor()->toPlainText(), QString("// a script\n"));
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
    view->editor()->moveCursor(QTextCursor::Start);
    QVERIFY(view->findNext("a ="));
    QCOMPARE(view->editor()->textCursor().blockNumber(), 1);
    QVERIFY(view->findNext("var"));
    QCOMPARE(view->editor()->textCursor().blockNumber(), 0);
    QVERIFY(!view->findNext("zzz"));
    QCOMPARE(fixture.ui.boxes.size(), size_t(1));
    view->goToLine(3);
    QCOMPARE(view->editor()->textCursor().blockNumber(), 2);
    view->goToLine(99);
    QCOMPARE(view->editor()->textCursor().blockNumber(), 2);
}

QTEST_MAIN(TestScripting)
#include "test_scripting.moc"
