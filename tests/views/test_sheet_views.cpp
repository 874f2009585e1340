// The sheet views in the window: clicks and their hit-test rules at every zoom, the cursor, Tab,
// the style combo box, the field editor's keys and suggestions, undo of investigators and
// handouts, script writes, the display options, printing and the zoom.

#include "active_main_window.h"
#include "desktop_fixture.h"
#include "documents/field_editor.h"
#include "documents/handout_document.h"
#include "documents/handout_view.h"
#include "documents/investigator_document.h"
#include "documents/investigator_view.h"
#include "documents/sheet_canvas.h"
#include "documents/sheet_printing.h"
#include "documents/view_commands.h"
#include "docview/child_frame.h"
#include "docview/commands.h"
#include "docview/document_manager.h"
#include "platform/cp1252.h"
#include "platform/profile.h"
#include "platform/program_folder.h"
#include "sheet/investigator_sheet_options.h"
#include "sheet/sheet_item.h"
#include "sheet/sheet_painter.h"
#include "shell/main_frame.h"

#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QPrinter>
#include <QProcess>
#include <QScopeGuard>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTest>
#include <QTextEdit>

using namespace vorpane;
using namespace vorpane::test;

namespace {

// A handout page of 4 x 4 inches: at 100 % an inch is 96 pixels, so the borders below fall on
// whole pixels at 50 % and 200 % too. Placed list: 0 text0, 1 picture0, 2 text1 (multi-line),
// 3 text2.
constexpr const char* kGrid = R"(
sheet.sheetsize(101.6, 101.6);
sheet.addfield(25.4, 25.4, 50.8, 38.1, field.text0);
sheet.addfield(50.8, 25.4, 76.2, 50.8, field.picture0);
sheet.setfieldtextstyle(sheet.textmultiline | sheet.textclipped);
sheet.addfield(25.4, 60.0, 76.2, 90.0, field.text1);
sheet.setfieldtextstyle(0);
sheet.addfield(5.0, 5.0, 20.0, 10.0, field.text2);
)";

constexpr const char* kPicturesOnly = R"(
sheet.sheetsize(101.6, 101.6);
sheet.addfield(10.0, 10.0, 40.0, 40.0, field.picture0);
sheet.addfield(50.0, 10.0, 90.0, 40.0, field.picture1);
)";

constexpr const char* kScriptWrites = R"(
field.setfieldvalue(field.text3, "escrito por el script");
sheet.sheetsize(101.6, 101.6);
sheet.addfield(10.0, 10.0, 90.0, 20.0, field.text3);
)";

constexpr const char* kTurned = R"(
sheet.sheetsize(101.6, 101.6);
sheet.setusertextsizerotate(12, 300);
sheet.setfieldtextstyle(sheet.usertext);
sheet.addfield(25.4, 25.4, 50.8, 50.8, field.text0);
)";

// An investigator sheet. Placed list: 0 the skill row's anchor (not hit-tested), 1 the skill
// name under it, 2 its check box, 3 colleges and degrees, 4 age, 5 idea (read-only), 6 name.
constexpr const char* kInvestigatorSheet = R"(
sheet.sheetsize(101.6, 101.6);
sheet.setsheetparameter(sheet.showcorefirearms, 0);
sheet.addfield(25.4, 25.4, 76.2, 30.0, field.skill);
sheet.addfield(25.4, 25.4, 76.2, 30.0, field.skill_name);
sheet.addfield(80.0, 25.4, 84.0, 29.4, field.skill_check);
sheet.addfield(25.4, 40.0, 76.2, 45.0, field.collegesDegrees);
sheet.addfield(25.4, 50.0, 35.0, 55.0, field.age);
sheet.addfield(40.0, 50.0, 50.0, 55.0, field.idea);
sheet.addfield(25.4, 60.0, 76.2, 65.0, field.name);
)";

enum GridPlacement { Text0 = 0, Picture0 = 1, Text1 = 2, Text2 = 3 };
enum InvestigatorPlacement {
    SkillAnchor = 0,
    SkillName = 1,
    SkillCheck = 2,
    Colleges = 3,
    Age = 4,
    Idea = 5,
    Name = 6
};

// A program folder of the test's own: the rule file and lists of the real one, and the scripts
// given.
class ScriptFolder {
public:
    ScriptFolder(
        const DesktopFixture& fixture, std::initializer_list<std::pair<const char*, const char*>> scripts)
        : m_dir(fixture.path(QStringLiteral("data")))
    {
        QDir().mkpath(m_dir);
        const QString real = qEnvironmentVariable("VORPANE_DATA");
        for (const char* name : { "default.rul", "options.lst", "names.lst" })
            QFile::copy(QDir(real).filePath(name), QDir(m_dir).filePath(name));
        for (const auto& [name, text] : scripts) {
            QFile file(QDir(m_dir).filePath(name));
            if (file.open(QIODevice::WriteOnly))
                file.write(text);
        }
        setProgramFolder(m_dir.toStdString());
    }
    ~ScriptFolder() { setProgramFolder({}); }
    QString path(const QString& name) const { return QDir(m_dir).filePath(name); }

private:
    QString m_dir;
};

using Window = ActiveMainWindow;

CHandoutView* newHandout(Window& window, const char* script)
{
    // As the new-document dialog makes one: the layout script is set before the view shows it.
    window.frame.documents().newDocument(
        "Handout", QStringLiteral("New ") + script, [script](Document& document) {
            static_cast<CHandoutDoc&>(document).model().handout().templateName = script;
        });
    return window.view<CHandoutView>();
}

CInvestigatorView* openInvestigator(Window& window, const DesktopFixture& fixture)
{
    const QString file = fixture.copy(qEnvironmentVariable("VORPANE_DATA") + "/examples/detective_1890.inv");
    window.frame.documents().openDocumentFile(file);
    return window.view<CInvestigatorView>();
}

PlacedField& placement(CScriptSheetView* view, int index) { return *view->layout().placed()[size_t(index)]; }

QRectF onScreen(CScriptSheetView* view, int index)
{
    return view->canvas()->toViewport(placement(view, index).rect);
}

QPoint centre(CScriptSheetView* view, int index) { return onScreen(view, index).center().toPoint(); }

void click(CScriptSheetView* view, QPoint at)
{
    QTest::mouseClick(view->canvas()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

void clickPlacement(CScriptSheetView* view, int index) { click(view, centre(view, index)); }

std::string handoutText(CHandoutView* view, int index)
{
    return view->handoutDocument().model().handout().texts[size_t(index)];
}

QWidget* editWidget(CScriptSheetView* view) { return view->fieldEditor()->editWidget(); }

// Characters as a keyboard layout delivers them, beyond what QTest's ASCII key table knows.
void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
    }
}

} // namespace

class TestSheetViews : public QObject {
    Q_OBJECT
private slots:
    void clicksAtEveryZoom_data();
    void clicksAtEveryZoom();
    void pictureClickOpensImageDialog();
    void placementWithoutHitTestPassesClicks();
    void cursorOverFields();
    void tabWalksAndWraps_data();
    void tabWalksAndWraps();
    void tabWithoutStopsOpensNothing();
    void sameStyleChosenAgainDoesNothing();
    void editorKeys_data();
    void editorKeys();
    void suggestionEnterTwice();
    void suggestionListFollowsTyping();
    void checkBoxAtTwoBecomesZero();
    void commitWithoutChangeMakesNoUndoStep();
    void investigatorUndoAndRedo();
    void handoutUndoRedrawsPage();
    void scriptWritesMakeNoUndoStep();
    void focusLossCommits();
    void turnedFieldEditor_data();
    void turnedFieldEditor();
    void displayOptionCommands();
    void zoomCommandsAndMemory();
    void printWithTopMarginZero_data();
    void printWithTopMarginZero();
    void exportPdfKeepsOldFileOnFailure();
    void newHandoutTitleAndSave();
    void savedScriptRunsAgain();
    void closedInvestigatorOpensAgain();
    void escapeBelongsToTheEditor();
    void failingScriptShowsErrorPageUntilRefresh();
    void copySheetPutsThePageOnTheClipboard();
    void saveProposesTheInvestigatorsName();
    void newStyleFromExisting_data();
    void newStyleFromExisting();
};

// --- Clicks -------------------------------------------------------------------------------------

void TestSheetViews::clicksAtEveryZoom_data()
{
    QTest::addColumn<int>("zoom");
    QTest::addColumn<QString>("where");
    QTest::addColumn<bool>("pressed");
    QTest::addColumn<bool>("opens");
    for (int zoom : { 50, 100, 200 }) {
        const QByteArray z = QByteArray::number(zoom) + "% ";
        QTest::newRow(z + "inside") << zoom << "inside" << true << true;
        QTest::newRow(z + "just inside the corner") << zoom << "corner+1" << true << true;
        QTest::newRow(z + "on the top-left corner") << zoom << "corner" << true << false;
        QTest::newRow(z + "on the right border") << zoom << "right" << true << false;
        QTest::newRow(z + "press began outside") << zoom << "inside" << false << false;
    }
}

void TestSheetViews::clicksAtEveryZoom()
{
    QFETCH(int, zoom);
    QFETCH(QString, where);
    QFETCH(bool, pressed);
    QFETCH(bool, opens);
    DesktopFixture fixture;
    ScriptFolder folder(fixture, { { "prueba.vhs", kGrid } });
    Window window;
    CHandoutView* view = newHandout(window, "prueba");
    QVERIFY(view);
    view->canvas()->setZoom(zoom);
    const QRectF box = onScreen(view, Text0);
    // The page's mapping puts the borders on whole pixels.
    QCOMPARE(box.left(), std::round(box.left()));
    QCOMPARE(box.width(), 96.0 * zoom / 100);

    QPoint at = box.center().toPoint();
    if (where == "corner")
        at = box.topLeft().toPoint();
    else if (where == "corner+1")
        at = box.topLeft().toPoint() + QPoint(1, 1);
    else if (where == "right")
        at = QPoint(int(box.right()), int(box.center().y()));
    if (pressed)
        click(view, at);
    else
        QTest::mouseRelease(view->canvas()->viewport(), Qt::LeftButton, Qt::NoModifier, at);

    QCOMPARE(view->isEditing(), opens);
    if (opens) {
        QCOMPARE(view->fieldEditor()->field(), &placement(view, Text0));
        // The editor covers the field where the page shows it.
        QCOMPARE(view->fieldEditor()->geometry().topLeft(), box.topLeft().toPoint());
        QCOMPARE(view->layout().currentField, int(Text0));
    }
}

void TestSheetViews::pictureClickOpensImageDialog()
{
    DesktopFixture fixture;
    ScriptFolder folder(fixture, { { "prueba.vhs", kGrid } });
    Window window;
    CHandoutView* view = newHandout(window, "prueba");
    const QString picture = folder.path("sello.png");
    QImage(4, 4, QImage::Format_RGB32).save(picture);

    fixture.dialogs.openFiles.push_back({}); // cancelled first
    clickPlacement(view, Picture0);
    QCOMPARE(fixture.dialogs.captions.size(), 1);
    QVERIFY(handoutText(view, 0).empty());
    QVERIFY(!view->document().isModified());

    fixture.dialogs.openFiles.push_back({ picture });
    clickPlacement(view, Picture0);
    QCOMPARE(QString::fromStdString(view->handoutDocument().model().handout().pictures[0]), picture);
    QVERIFY(view->document().isModified());
    QVERIFY(view->handoutDocument().model().canUndo());
    // With no picture yet the dialog starts in a folder (the documents folder, else the current one).
    QVERIFY(fixture.dialogs.proposedNames.front().endsWith("/"));
    QVERIFY(QFileInfo(fixture.dialogs.proposedNames.front()).isDir());
    // Then it proposes the picture held.
    fixture.dialogs.openFiles.push_back({});
    clickPlacement(view, Picture0);
    QCOMPARE(fixture.dialogs.proposedNames.last(), picture);
    // Pictures are not Tab stops, so the click leaves the current field alone.
    QCOMPARE(view->layout().currentField, -1);
}

void TestSheetViews::placementWithoutHitTestPassesClicks()
{
    DesktopFixture fixture;
    ScriptFolder folder(fixture, { { "ancla.vis", kInvestigatorSheet } });
    Window window;
    CInvestigatorView* view = openInvestigator(window, fixture);
    QVERIFY(view);
    QCOMPARE(view->scriptName(), std::string("ancla"));
    // The script shown is kept in the document, as its own was missing.
    QCOMPARE(view->investigatorDocument().model().sheetScript(), std::string("ancla"));
    QVERIFY(placement(view, SkillAnchor).field->hasFlag(FieldNoHitTest));
    QVERIFY(onScreen(view, SkillAnchor) == onScreen(view, SkillName));
    clickPlacement(view, SkillName);
    QVERIFY(view->isEditing());
    QCOMPARE(view->fieldEditor()->field(), &placement(view, SkillName));
}

void TestSheetViews::cursorOverFields()
{
    DesktopFixture fixture;
    ScriptFolder folder(fixture, { { "ancla.vis", kInvestigatorSheet } });
    Window window;
    CInvestigatorView* view = openInvestigator(window, fixture);
    QCOMPARE(view->cursorAt(centre(view, Name)).shape(), Qt::IBeamCursor);
    QCOMPARE(view->cursorAt(centre(view, SkillCheck)).shape(), Qt::BitmapCursor);
    QCOMPARE(view->cursorAt(centre(view, Idea)).shape(), Qt::ArrowCursor); // read-only
    QCOMPARE(view->cursorAt(onScreen(view, Name).topLeft() - QPointF(5, 5)).shape(), Qt::ArrowCursor);
    // The view sets it as the mouse moves.
    QTest::mouseMove(view->canvas()->viewport(), centre(view, Name));
    QTRY_COMPARE(view->canvas()->viewport()->cursor().shape(), Qt::IBeamCursor);
}

// --- Tab ----------------------------------------------------------------------------------------

void TestSheetViews::tabWalksAndWraps_data()
{
    QTest::addColumn<bool>("forward");
    QTest::addColumn<QList<int>>("order");
    QTest::newRow("Tab") << true << QList<int> { Text0, Text1, Text2, Text0 };
    QTest::newRow("Shift+Tab") << false << QList<int> { Text2, Text1, Text0, Text2 };
}

void TestSheetViews::tabWalksAndWraps()
{
    QFETCH(bool, forward);
    QFETCH(QList<int>, order);
    DesktopFixture fixture;
    ScriptFolder folder(fixture, { { "prueba.vhs", kGrid } });
    Window window;
    CHandoutView* view = newHandout(window, "prueba");
    view->canvas()->setFocus();
    QTest::keyClick(view->canvas(), forward ? Qt::Key_Tab : Qt::Key_Backtab);
    for (int expected : order) {
        QCOMPARE(view->layout().currentField, expected);
        QCOMPARE(view->fieldEditor()->field(), &placement(view, expected));
        // Tab in the editor commits what was typed and moves on.
        QTest::keyClicks(editWidget(view), "x");
        QTest::keyClick(editWidget(view), forward ? Qt::Key_Tab : Qt::Key_Backtab);
    }
    // Each edit was stored: text0, text1 and text2 all took an "x" (text0 twice).
    QCOMPARE(handoutText(view, 0), std::string("x"));
    QCOMPARE(handoutText(view, 2), std::string("x"));
}

void TestSheetViews::tabWithoutStopsOpensNothing()
{
    DesktopFixture fixture;
    ScriptFolder folder(fixture, { { "fotos.vhs", kPicturesOnly } });
    Window window;
    CHandoutView* view = newHandout(window, "fotos");
    view->canvas()->setFocus();
    QTest::keyClick(view->canvas(), Qt::Key_Tab);
    QCOMPARE(view->layout().currentField, -1);
    QVERIFY(!view->isEditing());
    QVERIFY(fixture.dialogs.captions.isEmpty());
}

void TestSheetViews::sameStyleChosenAgainDoesNothing()
{
    DesktopFixture fixture;
    ScriptFolder folder(fixture, { { "prueba.vhs", kGrid }, { "fotos.vhs", kPicturesOnly } });
    Window window;
    CHandoutView* view = newHandout(window, "prueba");
    QComboBox* combo = window.frame.styleCombo();
    QVERIFY(combo->isEnabled());
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->currentText(), QString("prueba"));

    clickPlacement(view, Text0);
    QTest::keyClicks(editWidget(view), "abc");
    const SheetItem* first = view->layout().items().front().get();
    view->chooseStyle("prueba");
    QVERIFY(view->isEditing()); // not even the edit ends
    QCOMPARE(view->layout().items().front().get(), first);
    QCOMPARE(view->layout().currentField, int(Text0));

    view->chooseStyle("fotos");
    QCOMPARE(view->scriptName(), std::string("fotos"));
    QCOMPARE(view->layout().currentField, -1);
    QCOMPARE(handoutText(view, 0), std::string("abc")); // the edit was committed first
    QCOMPARE(combo->currentText(), QString("fotos"));
    // A handout keeps the layout it names.
    QCOMPARE(view->handoutDocument().model().handout().templateName, std::string("prueba"));
}

// --- The field editor ---------------------------------------------------------------------------

void TestSheetViews::editorKeys_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("shiftEnter");
    QTest::addColumn<int>("endKey");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("beeps");
    QTest::newRow("enter commits") << int(Text0) << "Querido" << false << int(Qt::Key_Return)
                                   << QByteArray("Querido") << 0;
    QTest::newRow("star refused") << int(Text0) << "a*b" << false << int(Qt::Key_Return) << QByteArray("ab")
                                  << 1;
    QTest::newRow("esc keeps the old value")
        << int(Text0) << "nuevo" << false << int(Qt::Key_Escape) << QByteArray("viejo") << 0;
    QTest::newRow("shift+enter breaks the line")
        << int(Text1) << "uno" << true << int(Qt::Key_Return) << QByteArray("uno\r\ndos") << 0;
    QTest::newRow("enter in a multi-line field")
        << int(Text1) << "uno" << false << int(Qt::Key_Enter) << QByteArray("uno") << 0;
}

void TestSheetViews::editorKeys()
{
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(bool, shiftEnter);
    QFETCH(int, endKey);
    QFETCH(QByteArray, stored);
    QFETCH(int, beeps);
    DesktopFixture fixture;
    ScriptFolder folder(fixture, { { "prueba.vhs", kGrid } });
    Window window;
    CHandoutView* view = newHandout(window, "prueba");
    HandoutFileData& handout = view->handoutDocument().model().handout();
    handout.texts[0] = "viejo";
    view->refresh();
    const int text = field == Text0 ? 0 : 1;

    clickPlacement(view, field);
    QVERIFY(view->isEditing());
    // A multi-line field tells once how to break its lines.
    QCOMPARE(fixture.ui.quickInfoKeys == std::vector<std::string> { "MultilineEdit" }, field == Text1);
    QTest::keyClicks(editWidget(view), typed);
    if (shiftEnter) {
        QTest::keyClick(editWidget(view), Qt::Key_Return, Qt::ShiftModifier);
        QVERIFY(view->isEditing());
        QTest::keyClicks(editWidget(view), "dos");
    }
    QTest::keyClick(editWidget(view), Qt::Key(endKey));
    QVERIFY(!view->isEditing());
    QCOMPARE(QByteArray::fromStdString(handout.texts[size_t(text)]), stored);
    QCOMPARE(fixture.dialogs.beeps, beeps);
    QCOMPARE(view->handoutDocument().model().canUndo(), endKey != Qt::Key_Escape);
}

void TestSheetViews::suggestionEnterTwice()
{
    DesktopFixture fixture;
    ScriptFolder folder(fixture, { { "ancla.vis", kInvestigatorSheet } });
    Window window;
    CInvestigatorView* view = openInvestigator(window, fixture);
    Investigator& inv = view->investigatorDocument().investigator();
    clickPlacement(view, Colleges);
    FieldEditor* editor = view->fieldEditor();
    QVERIFY(editor->suggestionPopup()->isVisible());
    QListWidget* list = editor->suggestionList();
    QVERIFY(list->count() > 3);
    QVERIFY(list->selectedItems().isEmpty()); // the field is empty: nothing equal to select

    QTest::keyClicks(editWidget(view), "doc");
    QVERIFY(!list->selectedItems().isEmpty());
    const QString entry = list->selectedItems().front()->text();
    QVERIFY(entry.startsWith("Doc"));
    QTest::keyClick(editWidget(view), Qt::Key_Down);
    const QString next = list->selectedItems().front()->text();
    QVERIFY(next != entry);
    QCOMPARE(editor->text(), QString("doc")); // moving in the list leaves the text alone

    // The first Enter takes the entry and keeps the editor open; the second one commits.
    QTest::keyClick(editWidget(view), Qt::Key_Return);
    QVERIFY(view->isEditing());
    QCOMPARE(editor->text(), next);
    QVERIFY(inv.Colleges.empty());
    QTest::keyClick(editWidget(view), Qt::Key_Return);
    QVERIFY(!view->isEditing());
    QVERIFY(!editor->suggestionPopup()->isVisible());
    QCOMPARE(fromCp1252(inv.Colleges), next);
}

void TestSheetViews::suggestionListFollowsTyping()
{
    DesktopFixture fixture;
    ScriptFolder folder(fixture, { { "ancla.vis", kInvestigatorSheet } });
    Window window;
    CInvestigatorView* view = openInvestigator(window, fixture);
    Investigator& inv = view->investigatorDocument().investigator();
    clickPlacement(view, Colleges);
    FieldEditor* editor = view->fieldEditor();
    QListWidget* list = editor->suggestionList();
    // Up from the first entry stays on it.
    QTest::keyClick(editWidget(view), Qt::Key_Down);
    QTest::keyClick(editWidget(view), Qt::Key_Up);
    QCOMPARE(list->currentRow(), 0);

    // A single click copies the entry and keeps editing; a double click commits it.
    QListWidgetItem* third = list->item(2);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(third).center());
    QVERIFY(view->isEditing());
    QCOMPARE(editor->text(), third->text());
    QVERIFY(QApplication::focusWidget() == editWidget(view));
    QListWidgetItem* fourth = list->item(3);
    const QString chosen = fourth->text();
    const QPoint at = list->visualItemRect(fourth).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QMouseEvent secondPress(QEvent::MouseButtonDblClick, at, list->viewport()->mapToGlobal(at),
        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &secondPress);
    QVERIFY(!view->isEditing());
    QCOMPARE(fromCp1252(inv.Colleges), chosen);

    // An exact value is selected when the editor opens.
    clickPlacement(view, Colleges);
    QCOMPARE(list->selectedItems().front()->text(), chosen);
}

void TestSheetViews::checkBoxAtTwoBecomesZero()
{
    DesktopFixture fixture;
    ScriptFolder folder(fixture, { { "ancla.vis", kInvestigatorSheet } });
    Window window;
    CInvestigatorView* view = openInvestigator(window, fixture);
    SkillEntry* entry = placement(view, SkillCheck).boundEntry;
    QVERIFY(entry);
    entry->checked = 2;
    clickPlacement(view, SkillCheck);
    QCOMPARE(entry->checked, 0);
    clickPlacement(view, SkillCheck);
    QCOMPARE(entry->checked, 1);
    QVERIFY(view->document().isModified());
    QVERIFY(!view->isEditing());
}

void TestSheetViews::commitWithoutChangeMakesNoUndoStep()
{
    DesktopFixture fixture;
    ScriptFolder folder(fixture, { { "ancla.vis", kInvestigatorSheet } });
    Window window;
    CInvestigatorView* view = openInvestigator(window, fixture);
    clickPlacement(view, Name);
    QTest::keyClick(editWidget(view), Qt::Key_Return);
    // Typing and taking it back is no change either.
    clickPlacement(view, Name);
    QTest::keyClick(editWidget(view), Qt::Key_End);
    QTest::keyClicks(editWidget(view), "z");
    QTest::keyClick(editWidget(view), Qt::Key_Backspace);
    QTest::keyClick(editWidget(view), Qt::Key_Return);
    QVERIFY(!view->investigatorDocument().model().canUndo());
    QVERIFY(!view->document().isModified());
    QVERIFY(!window.frame.action(cmd::Undo)->isEnabled());
}

void TestSheetViews::investigatorUndoAndRedo()
{
    DesktopFixture fixture;
    ScriptFolder folder(fixture, { { "ancla.vis", kInvestigatorSheet } });
    Window window;
    CInvestigatorView* view = openInvestigator(window, fixture);
    Investigator& inv = view->investigatorDocument().investigator();
    const std::string name = inv.Name;
    const int age = inv.Age;

    clickPlacement(view, Age);
    QTest::keyClicks(editWidget(view), "1234");
    QCOMPARE(view->fieldEditor()->text(), QString("123")); // digits only, three of them
    QTest::keyClicks(editWidget(view), "a");
    QCOMPARE(view->fieldEditor()->text(), QString("123"));
    // While a field is open, Undo is the field's own and Redo waits.
    window.frame.updateCommandStates();
    QVERIFY(window.frame.action(cmd::Undo)->isEnabled());
    QVERIFY(!window.frame.action(cmd::Redo)->isEnabled());
    window.frame.execute(cmd::Undo);
    QVERIFY(view->isEditing());
    QVERIFY(view->fieldEditor()->text() != QString("123"));
    QCOMPARE(inv.Age, age);
    QTest::keyClicks(editWidget(view), "45");
    QTest::keyClick(editWidget(view), Qt::Key_Return);
    QCOMPARE(inv.Age, 45);

    clickPlacement(view, Name);
    QTest::keyClicks(editWidget(view), "Otro");
    QTest::keyClick(editWidget(view), Qt::Key_Return);
    QCOMPARE(inv.Name, std::string("Otro"));
    QVERIFY(window.frame.windowTitle().contains("[*]"));
    QVERIFY(window.frame.isWindowModified());

    window.frame.execute(cmd::Undo);
    QCOMPARE(view->investigatorDocument().investigator().Name, name);
    QCOMPARE(view->investigatorDocument().investigator().Age, 45);
    window.frame.execute(cmd::Undo);
    QCOMPARE(view->investigatorDocument().investigator().Age, age);
    QVERIFY(!window.frame.action(cmd::Undo)->isEnabled());
    window.frame.execute(cmd::Redo);
    window.frame.execute(cmd::Redo);
    QCOMPARE(view->investigatorDocument().investigator().Name, std::string("Otro"));
}

void TestSheetViews::handoutUndoRedrawsPage()
{
    DesktopFixture fixture;
    ScriptFolder folder(fixture, { { "prueba.vhs", kGrid } });
    Window window;
    CHandoutView* view = newHandout(window, "prueba");
    for (const char* text : { "uno", "dos" }) {
        clickPlacement(view, Text0);
        QTest::keyClicks(editWidget(view), text);
        QTest::keyClick(editWidget(view), Qt::Key_Return);
    }
    QTRY_VERIFY(view->canvas()->hasPage());
    const QImage before = view->canvas()->page().copy();
    window.frame.execute(cmd::Undo);
    QCOMPARE(handoutText(view, 0), std::string("uno"));
    // The page shows it at once: the script ran again and the page was painted anew.
    QVERIFY(view->canvas()->hasPage());
    QVERIFY(view->canvas()->page() != before);
    window.frame.execute(cmd::Redo);
    QCOMPARE(handoutText(view, 0), std::string("dos"));
}

void TestSheetViews::scriptWritesMakeNoUndoStep()
{
    DesktopFixture fixture;
    ScriptFolder folder(fixture, { { "escribe.vhs", kScriptWrites } });
    Window window;
    CHandoutView* view = newHandout(window, "escribe");
    QCOMPARE(handoutText(view, 3), std::string("escrito por el script"));
    view->refresh();
    QVERIFY(!view->handoutDocument().model().canUndo());
    QVERIFY(!view->document().isModified());
}

void TestSheetViews::focusLossCommits()
{
    DesktopFixture fixture;
    ScriptFolder folder(fixture, { { "prueba.vhs", kGrid } });
    Window window;
    CHandoutView* view = newHandout(window, "prueba");
    clickPlacement(view, Text0);
    QTest::keyClicks(editWidget(view), "hola");
    window.frame.styleCombo()->setFocus();
    QVERIFY(!view->isEditing());
    QCOMPARE(handoutText(view, 0), std::string("hola"));
    // Scrolling commits too.
    view->canvas()->setZoom(400);
    clickPlacement(view, Text2);
    QTest::keyClicks(editWidget(view), "adios");
    view->canvas()->verticalScrollBar()->setValue(50);
    QVERIFY(!view->isEditing());
    QCOMPARE(handoutText(view, 2), std::string("adios"));
}

void TestSheetViews::turnedFieldEditor_data()
{
    QTest::addColumn<int>("animation");
    QTest::newRow("animated") << 1;
    QTest::newRow("no animation") << 0;
}

void TestSheetViews::turnedFieldEditor()
{
    QFETCH(int, animation);
    DesktopFixture fixture;
    Profile::write(profile_keys::kFieldAnimation, animation);
    ScriptFolder folder(fixture, { { "gira.vhs", kTurned } });
    Window window;
    CHandoutView* view = newHandout(window, "gira");
    clickPlacement(view, 0);
    FieldEditor* editor = view->fieldEditor();
    QVERIFY(view->isEditing());
    QCOMPARE(editor->width(), FieldEditor::kRotatedEditorWidth);
    QVERIFY(editor->frameWidth() > 0);
    QCOMPARE(editor->isAnimating(), animation != 0);
    QTRY_VERIFY(!editor->isAnimating());
    QVERIFY(view->isEditing());
}

// --- Commands -----------------------------------------------------------------------------------

void TestSheetViews::displayOptionCommands()
{
    DesktopFixture fixture;
    Window window;
    CInvestigatorView* view = openInvestigator(window, fixture);
    QVERIFY(view);
    QAction* action = window.frame.action(cmd::AllPercent);
    QVERIFY(action && action->isCheckable());
    QVERIFY(!action->isChecked());
    QTRY_VERIFY(view->canvas()->hasPage());
    window.frame.execute(cmd::AllPercent);
    QVERIFY(displayOptions().allPercent);
    QVERIFY(action->isChecked());
    QCOMPARE(Profile::readInt("Sheet", "AllPercent", 0), 1);
    QVERIFY(!view->canvas()->hasPage()); // painted again
    window.frame.execute(cmd::AllPercent);
    QVERIFY(!displayOptions().allPercent);
    QCOMPARE(Profile::readInt("Sheet", "AllPercent", 1), 0);
    QVERIFY(window.frame.action(cmd::TrimSkills)->isChecked());
    // The status bar shows the investigator's skill points while its window is the active one.
    QVERIFY(window.frame.paneText(CMainFrame::Pane::SkillPoints).startsWith("Skill: "));
    QVERIFY(window.frame.paneText(CMainFrame::Pane::Points).endsWith(" Points"));
    // Another window's view gets them empty (a script editor shows its line there).
    window.frame.documents().newDocument("Script", " N. Script");
    QVERIFY(!window.frame.paneText(CMainFrame::Pane::SkillPoints).startsWith("Skill: "));
    QVERIFY(window.frame.paneText(CMainFrame::Pane::Points).isEmpty());
}

void TestSheetViews::zoomCommandsAndMemory()
{
    DesktopFixture fixture;
    ScriptFolder folder(fixture, { { "prueba.vhs", kGrid } });
    Window window;
    CHandoutView* view = newHandout(window, "prueba");
    SheetCanvas* canvas = view->canvas();
    QCOMPARE(canvas->zoom(), 100);
    window.frame.execute(cmd::ZoomIn);
    QCOMPARE(canvas->zoom(), 110);
    window.frame.execute(cmd::ZoomOut);
    window.frame.execute(cmd::ZoomOut);
    QCOMPARE(canvas->zoom(), 90);
    canvas->setZoom(1000);
    QCOMPARE(canvas->zoom(), SheetCanvas::kMaxZoom);
    window.frame.updateCommandStates();
    QVERIFY(!window.frame.action(cmd::ZoomIn)->isEnabled());
    canvas->setZoom(10);
    QCOMPARE(canvas->zoom(), SheetCanvas::kMinZoom);
    window.frame.execute(cmd::ZoomActual);
    QCOMPARE(canvas->zoom(), 100);

    // Ctrl and the wheel zoom around the pointer: on a page larger than the window, the point
    // under it stays.
    canvas->setZoom(300);
    const QPoint at = canvas->viewport()->rect().center() + QPoint(30, 20);
    const QPointF sheetPoint = canvas->toSheet(at);
    QWheelEvent wheel(at, canvas->viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
        Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(canvas->viewport(), &wheel);
    QCOMPARE(canvas->zoom(), 400);
    QVERIFY((canvas->toSheet(at) - sheetPoint).manhattanLength() < 2 * kUnitsPerInch / 96);

    window.frame.execute(cmd::ZoomFitWidth);
    QVERIFY(canvas->fitsWidth());
    QVERIFY(std::abs(canvas->width() - 4 * 96 * canvas->zoom() / 100) < 60);
    // The next view opens as the last one was left.
    window.frame.execute(cmd::ZoomFitWidth);
    canvas->setZoom(150);
    CHandoutView* second = newHandout(window, "prueba");
    QCOMPARE(second->canvas()->zoom(), 150);
    QCOMPARE(Profile::readInt("Sheet", "Zoom", 0), 150);
}

void TestSheetViews::printWithTopMarginZero_data()
{
    QTest::addColumn<int>("topMargin");
    QTest::newRow("top margin 0") << 0;
    QTest::newRow("top margin 18 mm") << 180;
}

void TestSheetViews::printWithTopMarginZero()
{
    QFETCH(int, topMargin);
    const QString ghostscript = QStandardPaths::findExecutable(QStringLiteral("gs"));
    if (ghostscript.isEmpty())
        QSKIP("Ghostscript is needed to look at the printed page");
    DesktopFixture fixture;
    Profile::writeInt("Sheet", "TopMargin", topMargin);
    ScriptFolder folder(fixture,
        { { "negro.vhs",
            "sheet.sheetsize(100.0, 50.0);\n"
            "sheet.fillrectangle(0.0, 0.0, 100.0, 10.0, 0x000000);\n" } });
    Window window;
    newHandout(window, "negro");
    QPrinter& printer = sheetPrinter();
    const QString pdf = fixture.path("hoja.pdf");
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    window.frame.execute(cmd::PrintDirect);
    QVERIFY(QFile::exists(pdf));
    QVERIFY(fixture.ui.boxes.empty());

    // 100 dots per inch: the first dark row is where the printable area starts, plus the margin.
    const QString png = fixture.path("hoja.png");
    QProcess gs;
    gs.start(ghostscript, { "-q", "-dNOPAUSE", "-dBATCH", "-sDEVICE=pnggray", "-r100", "-o", png, pdf });
    QVERIFY(gs.waitForFinished(30000));
    const QImage page(png);
    QVERIFY(!page.isNull());
    int first = -1;
    for (int y = 0; y < page.height() && first < 0; ++y) {
        for (int x = 0; x < page.width(); ++x) {
            if (qGray(page.pixel(x, y)) < 64) {
                first = y;
                break;
            }
        }
    }
    const double printableTop = printer.pageLayout().paintRect(QPageLayout::Inch).top() * 100;
    QVERIFY2(std::abs(first - (printableTop + topMargin / 254.0 * 100)) <= 1.5,
        qPrintable(QString("first ink at row %1, printable area at %2").arg(first).arg(printableTop)));
    printer.setOutputFileName({});
}

void TestSheetViews::exportPdfKeepsOldFileOnFailure()
{
    DesktopFixture fixture;
    ScriptFolder folder(fixture, { { "prueba.vhs", kGrid } });
    Window window;
    newHandout(window, "prueba");
    const QString pdf = fixture.path("hoja.pdf");
    fixture.dialogs.saveNames.push_back(pdf);
    window.frame.execute(cmd::ExportPdf);
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.read(5) == "%PDF-");
    QVERIFY(fixture.dialogs.proposedNames.last().endsWith("New prueba.pdf"));

    fixture.dialogs.saveNames.push_back(fixture.path("no/existe/hoja.pdf"));
    window.frame.execute(cmd::ExportPdf);
    QCOMPARE(fixture.ui.boxes.size(), size_t(1));
    QCOMPARE(fixture.ui.boxes.front().icon, MsgIcon::Error);
}

void TestSheetViews::newHandoutTitleAndSave()
{
    DesktopFixture fixture;
    ScriptFolder folder(fixture, { { "prueba.vhs", kGrid } });
    Window window;
    CHandoutView* view = newHandout(window, "prueba");
    QCOMPARE(view->document().title(), QString("New prueba"));
    clickPlacement(view, Text0);
    typeText(editWidget(view), QString("Señas \"x\""));
    const QString file = fixture.path("carta.zho");
    fixture.dialogs.saveNames.push_back(file);
    window.frame.execute(cmd::Save); // commits the open field first
    QVERIFY(!view->document().isModified());
    QFile saved(file);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    QVERIFY(bytes.contains("\t\"Template\" \"prueba\"\r\n"));
    QVERIFY(bytes.contains("\t\"Text0\" \"Se\xf1"
                           "as 'x'\"\r\n"));
}

void TestSheetViews::savedScriptRunsAgain()
{
    DesktopFixture fixture;
    ScriptFolder folder(fixture, { { "prueba.vhs", kGrid } });
    Window window;
    CHandoutView* view = newHandout(window, "prueba");
    QCOMPARE(view->layout().placed().size(), size_t(4));
    QFile script(folder.path("prueba.vhs"));
    QVERIFY(script.open(QIODevice::Append));
    script.write("sheet.addfield(1.0, 1.0, 2.0, 2.0, field.text9);\n");
    script.close();
    view->scriptFileSaved(folder.path("otro.vhs"));
    QCOMPARE(view->layout().placed().size(), size_t(4));
    view->scriptFileSaved(folder.path("prueba.vhs"));
    QCOMPARE(view->layout().placed().size(), size_t(5));
}

void TestSheetViews::closedInvestigatorOpensAgain()
{
    DesktopFixture fixture;
    Window window;
    CInvestigatorView* view = openInvestigator(window, fixture);
    QVERIFY(view);
    window.frame.execute(cmd::Close);
    QTRY_VERIFY(window.frame.documents().documents().isEmpty());
    view = openInvestigator(window, fixture);
    QVERIFY(view);
    QVERIFY(view->canvas()->hasPage());
}

void TestSheetViews::escapeBelongsToTheEditor()
{
    DesktopFixture fixture;
    ScriptFolder folder(fixture, { { "prueba.vhs", kGrid } });
    Window window;
    CHandoutView* view = newHandout(window, "prueba");
    window.frame.showOutputBar(true);
    window.frame.updateCommandStates();
    QVERIFY(window.frame.action(cmd::HideOutput)->isEnabled());
    clickPlacement(view, Text0);
    QTest::keyClicks(editWidget(view), "nada");
    QTest::keyClick(editWidget(view), Qt::Key_Escape);
    QVERIFY(!view->isEditing());
    QVERIFY(window.frame.outputBar()->isVisibleTo(&window.frame));
    QVERIFY(handoutText(view, 0).empty());
}

void TestSheetViews::saveProposesTheInvestigatorsName()
{
    DesktopFixture fixture;
    Window window;
    auto* document = static_cast<CInvestigatorDoc*>(
        window.frame.documents().createInvestigator("default.rul", 1, false));
    QVERIFY(document);
    document->model().change([](Investigator& inv) { inv.Name = cp1252("Íñigo/Ruiz"); });
    window.frame.execute(cmd::Save); // cancelled
    QCOMPARE(fixture.dialogs.proposedNames.last(), QString("Íñigo_Ruiz.inv"));
    QVERIFY(document->isModified());

    // A save that fails keeps the document modified.
    fixture.dialogs.saveNames.push_back(fixture.path("no/existe/x.inv"));
    window.frame.execute(cmd::Save);
    QVERIFY(document->isModified());
    QCOMPARE(fixture.ui.boxes.back().icon, MsgIcon::Error);
}

void TestSheetViews::failingScriptShowsErrorPageUntilRefresh()
{
    DesktopFixture fixture;
    ScriptFolder folder(
        fixture, { { "roto.vhs", "sheet.sheetsize(101.6, 101.6);\nsheet.nadaquever(1);\n" } });
    Window window;
    CHandoutView* view = newHandout(window, "roto");
    const auto showsError = [view] {
        for (const auto& item : view->layout().items()) {
            if (item->kind() == SheetItemKind::TextBox
                && static_cast<const SheetTextBoxItem&>(*item).text == "Sheet Script Error")
                return true;
        }
        return false;
    };
    QVERIFY(showsError());
    QVERIFY(!fixture.ui.boxes.empty()); // the script's own error box
    QVERIFY(view->canvas()->hasPage());

    QFile script(folder.path("roto.vhs"));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(kGrid);
    script.close();
    window.frame.execute(cmd::Refresh);
    QVERIFY(!showsError());
    QCOMPARE(view->layout().placed().size(), size_t(4));
}

void TestSheetViews::copySheetPutsThePageOnTheClipboard()
{
    DesktopFixture fixture;
    ScriptFolder folder(fixture, { { "prueba.vhs", kGrid } });
    Window window;
    newHandout(window, "prueba");
    QApplication::clipboard()->clear();
    window.frame.execute(cmd::CopySheet);
    const QImage picture = QApplication::clipboard()->image();
    // Four inches at 150 dots per inch.
    QCOMPARE(picture.size(), QSize(600, 600));
}

// --- A new style from an existing one -----------------------------------------------------------

// The style picked from the list ("" cancels the list), the names typed in order ("-" cancels),
// the file made in the user data folder ("" for none) and a piece of each message box shown.
void TestSheetViews::newStyleFromExisting_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QString>("made");
    QTest::addColumn<QStringList>("told");
    QTest::newRow("a sheet from clasica")
        << "clasica.vis" << QStringList { "mia" } << "mia.vis" << QStringList();
    QTest::newRow("the extension typed too")
        << "clasica.vis" << QStringList { " mia.VIS " } << "mia.vis" << QStringList();
    QTest::newRow("a handout from carta")
        << "carta.vhs" << QStringList { "aviso" } << "aviso.vhs" << QStringList();
    QTest::newRow("a folder in the name, then a plain one")
        << "clasica.vis" << QStringList { "../mia", "mia" } << "mia.vis" << QStringList { "no sirve" };
    QTest::newRow("a hidden name, then a plain one")
        << "clasica.vis" << QStringList { ".mia", "mia" } << "mia.vis" << QStringList { "no sirve" };
    QTest::newRow("a name that exists, then a new one")
        << "compacta.vis" << QStringList { "clasica", "mia" } << "mia.vis" << QStringList { "Ya existe" };
    QTest::newRow("an accent, then cancel")
        << "clasica.vis" << QStringList { "mía", "-" } << "" << QStringList { "no sirve" };
    QTest::newRow("nothing typed, then cancel")
        << "carta.vhs" << QStringList { "  ", "-" } << "" << QStringList { "Escriba un nombre" };
    QTest::newRow("cancelled at the name") << "clasica.vis" << QStringList { "-" } << "" << QStringList();
    QTest::newRow("cancelled at the list") << "" << QStringList() << "" << QStringList();
}

void TestSheetViews::newStyleFromExisting()
{
    QFETCH(QString, source);
    QFETCH(QStringList, typed);
    QFETCH(QString, made);
    QFETCH(QStringList, told);
    DesktopFixture fixture;
    const QByteArray oldHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", fixture.path("xdg").toLocal8Bit());
    const auto restore = qScopeGuard([&] { qputenv("XDG_DATA_HOME", oldHome); });
    const QString userFolder = fixture.path("xdg/vorpane");

    Window window;
    CInvestigatorView* investigator = openInvestigator(window, fixture);
    CHandoutView* handout = newHandout(window, "carta");
    QVERIFY(investigator && handout);
    fixture.dialogs.choices.push_back(source);
    for (const QString& answer : typed)
        fixture.ui.promptAnswers.push_back(answer == "-" ? std::nullopt : std::optional(toCp1252(answer)));
    window.frame.execute(cmd::NewFromStyle);

    // The list offers the program's sheets, then its handouts.
    QCOMPARE(fixture.dialogs.offeredItems.size(), 1);
    const QStringList offered = fixture.dialogs.offeredItems.front();
    QVERIFY(
        offered.indexOf("clasica.vis") >= 0 && offered.indexOf("clasica.vis") < offered.indexOf("carta.vhs"));
    QCOMPARE(fixture.ui.boxes.size(), size_t(told.size()));
    for (int i = 0; i < told.size(); ++i)
        QVERIFY2(fromCp1252(fixture.ui.boxes[size_t(i)].text).contains(told[i]),
            fixture.ui.boxes[size_t(i)].text.c_str());
    if (made.isEmpty()) {
        QVERIFY(QDir(userFolder).isEmpty());
        QCOMPARE(window.frame.activeView(), static_cast<DocumentView*>(handout));
        return;
    }

    // A copy byte for byte in the user's folder, which only the user may enter, open for editing.
    const QString path = QDir(userFolder).filePath(made);
    QCOMPARE(readAll(path), readAll(dataFile(source)));
    QCOMPARE(QFile::permissions(userFolder) & 0x0077, QFileDevice::Permissions());
    QVERIFY(window.frame.activeDocument());
    QCOMPARE(window.frame.activeDocument()->path(), path);

    // Offered by the open view of its kind, and chosen there.
    CScriptSheetView* view = made.endsWith(".vis") ? static_cast<CScriptSheetView*>(investigator) : handout;
    for (QMdiSubWindow* sub : window.frame.mdiArea()->subWindowList()) {
        if (static_cast<CChildFrame*>(sub)->view() == view)
            window.frame.mdiArea()->setActiveSubWindow(sub);
    }
    QCOMPARE(window.frame.activeView(), static_cast<DocumentView*>(view));
    const QString name = QFileInfo(made).completeBaseName();
    QVERIFY(window.frame.styleCombo()->findText(name) >= 0);
    view->chooseStyle(name.toStdString());
    QCOMPARE(view->scriptName(), name.toStdString());
    QCOMPARE(window.frame.styleCombo()->currentText(), name);
}

QTEST_MAIN(TestSheetViews)
#include "test_sheet_views.moc"
