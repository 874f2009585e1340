// What a screen reader hears of an open investigator: the fields by the labels the sheet draws,
// their values, roles and states, the skill and weapon tables with their headers, edits through
// the text interface under the field editor's rules, the check box's action, and the events that
// announce the focus and values changed by an undo.

#include "active_main_window.h"
#include "desktop_fixture.h"
#include "dialogs/about_dialog.h"
#include "dialogs/add_skill_dialog.h"
#include "dialogs/dice_roller_dialog.h"
#include "dialogs/edit_skill_dialog.h"
#include "dialogs/new_weapon_dlg.h"
#include "dialogs/options_dialog.h"
#include "dialogs/skill_list_dialog.h"
#include "dialogs/spell_book_dialog.h"
#include "dialogs/weapon_list_dialog.h"
#include "documents/field_editor.h"
#include "documents/investigator_view.h"
#include "documents/sheet_canvas.h"
#include "docview/document_manager.h"
#include "docview/font_face_dialog.h"
#include "investigator/investigator.h"
#include "investigator/new_investigator.h"
#include "rules/eras.h"
#include "shell/main_frame.h"
#include "shell/new_document_dialog.h"
#include "widgets/prompt_dialog.h"
#include "widgets/skill_picker_dialog.h"
#include "wizard/age_dialog.h"
#include "wizard/optional_skills_dialog.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QTabWidget>
#include <QTest>
#include <map>

using namespace vorpane;
using namespace vorpane::test;

namespace {

struct Heard {
    QAccessible::Event type;
    QString name;
    QObject* object;
    QVariant value;
};
std::vector<Heard> g_heard;

void hear(QAccessibleEvent* event)
{
    QAccessibleInterface* iface = event->accessibleInterface();
    QVariant value;
    if (event->type() == QAccessible::ValueChanged)
        value = static_cast<QAccessibleValueChangeEvent*>(event)->value();
    g_heard.push_back(
        { event->type(), iface ? iface->text(QAccessible::Name) : QString(), event->object(), value });
}

// Listens to every accessibility event for the scope's life.
// Qt hands events to a listener only while a bridge to a reader is active: on a display with the
// accessibility bus (on_bus.sh), not on the offscreen platform.
#define SKIP_UNLESS_EVENTS_FLOW()                                                                            \
    if (!QAccessible::isActive())                                                                            \
    QSKIP("events reach a listener only with the accessibility bus (run through on_bus.sh)")

struct Listening {
    QAccessible::UpdateHandler previous;
    Listening()
        : previous(QAccessible::installUpdateHandler(hear))
    {
        // Qt joins the bus a moment after the start.
        if (QGuiApplication::platformName() != QLatin1String("offscreen"))
            (void)QTest::qWaitFor([] { return QAccessible::isActive(); }, 5000);
        g_heard.clear();
    }
    ~Listening() { QAccessible::installUpdateHandler(previous); }
    static bool heard(QAccessible::Event type, const QString& name)
    {
        return std::any_of(
            g_heard.begin(), g_heard.end(), [&](const Heard& h) { return h.type == type && h.name == name; });
    }
};

using Window = ActiveMainWindow;

CInvestigatorView* openDetective(Window& window, const DesktopFixture& fixture)
{
    const QString file = fixture.copy(qEnvironmentVariable("VORPANE_DATA") + "/examples/detective_1890.inv");
    window.frame.documents().openDocumentFile(file);
    return qobject_cast<CInvestigatorView*>(window.frame.activeView());
}

QAccessibleInterface* page(CScriptSheetView* view)
{
    return QAccessible::queryAccessibleInterface(view->canvas());
}

// The page's child (a field or a table) with that name.
QAccessibleInterface* named(CScriptSheetView* view, const QString& name)
{
    QAccessibleInterface* sheet = page(view);
    for (int i = 0; i < sheet->childCount(); ++i) {
        QAccessibleInterface* child = sheet->child(i);
        if (child && child->text(QAccessible::Name) == name)
            return child;
    }
    return nullptr;
}

QString valueOf(CScriptSheetView* view, const QString& name)
{
    QAccessibleInterface* field = named(view, name);
    return field ? field->text(QAccessible::Value) : QStringLiteral("<none>");
}

QAccessibleInterface* skillCell(CScriptSheetView* view, int row, int column)
{
    QAccessibleInterface* table = named(view, QStringLiteral("Habilidades"));
    return table && table->tableInterface() ? table->tableInterface()->cellAt(row, column) : nullptr;
}

using DialogMaker = std::function<QWidget*(Investigator&, CMainFrame&)>;

const std::map<QString, DialogMaker>& dialogMakers()
{
    static const std::map<QString, DialogMaker> makers {
        { "about", [](Investigator&, CMainFrame& f) { return new CAboutDlg(&f); } },
        { "add skill", [](Investigator& inv, CMainFrame& f) { return new AddSkillDialog(inv, &f); } },
        { "edit skill",
            [](Investigator& inv, CMainFrame& f) {
                return new EditSkillDialog(inv, *inv.findSkill("Contabilidad"), &f);
            } },
        { "skills", [](Investigator& inv, CMainFrame& f) { return new SkillListDialog(inv, &f); } },
        { "weapons", [](Investigator& inv, CMainFrame& f) { return new WeaponListDialog(inv, &f); } },
        { "new weapon", [](Investigator& inv, CMainFrame& f) { return new CNewWeaponDlg(inv, &f); } },
        { "dice roller",
            [](Investigator&, CMainFrame& f) {
                return new DiceRollerDialog([] { return std::optional<std::string>(); }, &f);
            } },
        { "options", [](Investigator&, CMainFrame& f) { return new COptionsDlg(&f); } },
        { "spell book", [](Investigator&, CMainFrame& f) { return new SpellBookDialog({}, &f); } },
        { "prompt",
            [](Investigator&, CMainFrame& f) { return new PromptDialog(QStringLiteral("Nombre:"), &f); } },
        { "skill picker",
            [](Investigator& inv, CMainFrame& f) {
                return new SkillPickerDialog(inv, SkillPickerMode::Occupation, QStringLiteral("Elige"), &f);
            } },
        { "new document",
            [](Investigator&, CMainFrame& f) { return new NewDocumentDialog(f.documents(), &f); } },
        { "age",
            [](Investigator&, CMainFrame& f) {
                return new AgeDialog({ 10, 10, 10, 10 }, AgeCharacteristic::FUE, 1, 2, &f);
            } },
        { "optional skills",
            [](Investigator&, CMainFrame& f) {
                return new OptionalSkillsDialog(1, { { "Arte", "Arte" }, { "Ciencia", "Ciencia" } }, &f);
            } },
        { "font face", [](Investigator&, CMainFrame& f) { return new FontFaceDialog(QFont(), &f); } },
    };
    return makers;
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
private slots:
    void fieldsReadAsTheSheetShows_data();
    void fieldsReadAsTheSheetShows();
    void tablesHaveHeaders();
    void handoutTextsAndPicture();
    void portraitPressOpensTheFileDialogAfterAnswering();
    void writesFollowTheEditorsRules_data();
    void writesFollowTheEditorsRules();
    void checkBoxActionAndUndoAreAnnounced();
    void editorTakesFocusAndName();
    void everyControlHasAName_data();
    void everyControlHasAName();
};

void TestAccessibility::fieldsReadAsTheSheetShows_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("editable");
    QTest::addColumn<bool>("checked");
    const int text = QAccessible::EditableText;
    QTest::newRow("name") << "Investigador" << text << "Ignacio Valverde Ruiz" << true << false;
    QTest::newRow("characteristic") << "FUE" << text << "10" << true << false;
    QTest::newRow("computed, read-only") << "Idea" << text << "60" << false << false;
    QTest::newRow("era chosen") << "1890s" << int(QAccessible::RadioButton) << "" << false << true;
    QTest::newRow("era not chosen") << "1920s" << int(QAccessible::RadioButton) << "" << false << false;
    QTest::newRow("portrait") << "retrato" << int(QAccessible::Graphic) << "" << false << false;
}

void TestAccessibility::fieldsReadAsTheSheetShows()
{
    QFETCH(QString, name);
    QFETCH(int, role);
    QFETCH(QString, value);
    QFETCH(bool, editable);
    QFETCH(bool, checked);
    DesktopFixture fixture;
    Window window;
    CInvestigatorView* view = openDetective(window, fixture);
    QVERIFY(view);
    QAccessibleInterface* field = named(view, name);
    QVERIFY2(field, qPrintable(name));
    QCOMPARE(int(field->role()), role);
    QCOMPARE(field->text(QAccessible::Value), value);
    QCOMPARE(bool(field->state().editable), editable);
    QCOMPARE(bool(field->state().checked), checked);
    QCOMPARE(field->parent()->object(), view->canvas());
    QCOMPARE(page(view)->indexOfChild(field) >= 0, true);
    // Its place on the screen leads back to it.
    QVERIFY(!field->rect().isEmpty());
    QCOMPARE(page(view)->childAt(field->rect().center().x(), field->rect().center().y()), field);
    if (field->valueInterface())
        QCOMPARE(field->valueInterface()->currentValue().toString(), value);
}

void TestAccessibility::tablesHaveHeaders()
{
    DesktopFixture fixture;
    Window window;
    CInvestigatorView* view = openDetective(window, fixture);
    QVERIFY(view);
    QAccessibleInterface* skills = named(view, QStringLiteral("Habilidades"));
    QVERIFY(skills && skills->tableInterface());
    QCOMPARE(skills->role(), QAccessible::Table);
    QAccessibleTableInterface* table = skills->tableInterface();
    QCOMPARE(table->columnCount(), 3);
    QCOMPARE(table->rowDescription(0), QStringLiteral("Antropología"));
    QAccessibleInterface* percent = table->cellAt(0, 2);
    QVERIFY(percent && percent->tableCellInterface());
    QCOMPARE(percent->text(QAccessible::Name), QStringLiteral("Antropología skill percent"));
    QCOMPARE(percent->text(QAccessible::Value), QStringLiteral("1"));
    QCOMPARE(percent->tableCellInterface()->rowHeaderCells().value(0)->text(QAccessible::Value),
        QStringLiteral("Antropología"));
    QCOMPARE(percent->parent(), skills);
    QCOMPARE(skills->indexOfChild(percent), 2);

    // A table whose headers the sheet draws above it.
    QAccessibleInterface* firearms = named(view, QStringLiteral("Armas de fuego"));
    QVERIFY(firearms && firearms->tableInterface());
    QCOMPARE(firearms->tableInterface()->columnDescription(3), QStringLiteral("Daño"));
    QCOMPARE(firearms->tableInterface()->cellAt(0, 3)->text(QAccessible::Value), QStringLiteral("1D10+2"));
}

void TestAccessibility::handoutTextsAndPicture()
{
    DesktopFixture fixture;
    Window window;
    window.frame.documents().openDocumentFile(
        fixture.copy(qEnvironmentVariable("VORPANE_DATA") + "/carta.zho"));
    auto* view = qobject_cast<CScriptSheetView*>(window.frame.activeView());
    QVERIFY(view);
    QAccessibleInterface* greeting = named(view, QStringLiteral("text 3"));
    QVERIFY(greeting && greeting->editableTextInterface());
    QCOMPARE(greeting->text(QAccessible::Value), QStringLiteral("Querido Ernesto:"));
    // A multi-line text reads with the line breaks the editor shows.
    QVERIFY(!valueOf(view, QStringLiteral("text 4")).contains(QLatin1Char('\r')));
    QAccessibleInterface* seal = named(view, QStringLiteral("picture 0"));
    QVERIFY(seal);
    QCOMPARE(seal->role(), QAccessible::Graphic);
    QCOMPARE(seal->text(QAccessible::Description), QStringLiteral("sello.gif"));
}

void TestAccessibility::portraitPressOpensTheFileDialogAfterAnswering()
{
    DesktopFixture fixture;
    Window window;
    CInvestigatorView* view = openDetective(window, fixture);
    QVERIFY(view);
    QAccessibleInterface* portrait = named(view, QStringLiteral("retrato"));
    QVERIFY(portrait && portrait->actionInterface());
    portrait->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    // The reader's call returns before the modal dialog runs.
    QVERIFY(fixture.dialogs.captions.isEmpty());
    QTRY_COMPARE(fixture.dialogs.captions.size(), 1);
}

void TestAccessibility::writesFollowTheEditorsRules_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("reads");
    QTest::addColumn<bool>("undoable");
    QTest::newRow("a number") << "INT"
                              << "17"
                              << "17" << true;
    QTest::newRow("letters in a number") << "INT"
                                         << "1a"
                                         << "12" << false;
    QTest::newRow("more digits than the editor takes") << "INT"
                                                       << "1234"
                                                       << "12" << false;
    QTest::newRow("a text") << "Jugador"
                            << "Lucía"
                            << "Lucía" << true;
    QTest::newRow("the star the editor refuses") << "Jugador"
                                                 << "*Lucía"
                                                 << "Marta" << false;
    QTest::newRow("the same text") << "Jugador"
                                   << "Marta"
                                   << "Marta" << false;
    QTest::newRow("a read-only field") << "Idea"
                                       << "5"
                                       << "60" << false;
}

void TestAccessibility::writesFollowTheEditorsRules()
{
    QFETCH(QString, name);
    QFETCH(QString, written);
    QFETCH(QString, reads);
    QFETCH(bool, undoable);
    DesktopFixture fixture;
    Window window;
    CInvestigatorView* view = openDetective(window, fixture);
    QVERIFY(view);
    QAccessibleInterface* field = named(view, name);
    QVERIFY(field && field->textInterface());
    if (QAccessibleEditableTextInterface* edit = field->editableTextInterface())
        edit->replaceText(0, field->textInterface()->characterCount(), written);
    else
        field->setText(QAccessible::Value, written);
    QCOMPARE(valueOf(view, name), reads);
    QCOMPARE(view->model().canUndo(), undoable);
    if (name == QLatin1String("INT") && undoable)
        QCOMPARE(valueOf(view, QStringLiteral("Idea")), QStringLiteral("85")); // INT x 5
}

void TestAccessibility::checkBoxActionAndUndoAreAnnounced()
{
    DesktopFixture fixture;
    Window window;
    CInvestigatorView* view = openDetective(window, fixture);
    QVERIFY(view);
    QAccessibleInterface* check = skillCell(view, 0, 0);
    QVERIFY(check && check->actionInterface());
    QCOMPARE(check->role(), QAccessible::CheckBox);
    QVERIFY(!check->state().checked);
    QVERIFY(check->actionInterface()->actionNames().contains(QAccessibleActionInterface::toggleAction()));

    Listening listening;
    check->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(check->state().checked);
    SKIP_UNLESS_EVENTS_FLOW();
    QVERIFY(Listening::heard(QAccessible::StateChanged, QStringLiteral("Antropología skill check")));

    named(view, QStringLiteral("INT"))->editableTextInterface()->replaceText(0, 2, QStringLiteral("17"));
    g_heard.clear();
    // Undo runs the sheet again: the reader hears the values that went back.
    view->model().undo();
    QVERIFY(Listening::heard(QAccessible::ValueChanged, QStringLiteral("INT")));
    QVERIFY(Listening::heard(QAccessible::ValueChanged, QStringLiteral("Idea")));
    const auto idea = std::find_if(g_heard.begin(), g_heard.end(), [](const Heard& h) {
        return h.type == QAccessible::ValueChanged && h.name == QLatin1String("Idea");
    });
    QCOMPARE(idea->value.toInt(), 60);
    view->model().undo();
    QVERIFY(Listening::heard(QAccessible::StateChanged, QStringLiteral("Antropología skill check")));
    QVERIFY(!skillCell(view, 0, 0)->state().checked);
}

void TestAccessibility::editorTakesFocusAndName()
{
    DesktopFixture fixture;
    Window window;
    CInvestigatorView* view = openDetective(window, fixture);
    QVERIFY(view);
    QAccessibleInterface* player = named(view, QStringLiteral("Jugador"));
    QVERIFY(player && player->actionInterface());
    Listening listening;
    player->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QWidget* edit = view->fieldEditor()->editWidget();
    QTRY_VERIFY(edit->hasFocus());
    QCOMPARE(QAccessible::queryAccessibleInterface(edit)->text(QAccessible::Name), QStringLiteral("Jugador"));
    SKIP_UNLESS_EVENTS_FLOW();
    QVERIFY(std::any_of(g_heard.begin(), g_heard.end(),
        [edit](const Heard& h) { return h.type == QAccessible::Focus && h.object == edit; }));
    QVERIFY(!player->state().focused);

    // Esc gives the page the focus back, on the same field.
    g_heard.clear();
    QTest::keyClick(edit, Qt::Key_Escape);
    QTRY_VERIFY(view->canvas()->hasFocus());
    QVERIFY(player->state().focused);
    QVERIFY(Listening::heard(QAccessible::Focus, QStringLiteral("Jugador")));
}

void TestAccessibility::everyControlHasAName_data()
{
    QTest::addColumn<QString>("dialog");
    for (const auto& [name, maker] : dialogMakers())
        QTest::newRow(qPrintable(name)) << name;
}

// What a reader says on reaching a control: its label without the mnemonic, on every tab.
void TestAccessibility::everyControlHasAName()
{
    QFETCH(QString, dialog);
    DesktopFixture fixture;
    Window window;
    Investigator inv;
    QVERIFY(createInvestigator(inv, "default.rul", kEraIndex1920s));
    std::unique_ptr<QWidget> shown(dialogMakers().at(dialog)(inv, window.frame));
    shown->show();
    QStringList unnamed = unnamedControls(shown.get());
    for (QTabWidget* tabs : shown->findChildren<QTabWidget*>()) {
        for (int i = 1; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            unnamed += unnamedControls(shown.get());
        }
    }
    unnamed.removeDuplicates();
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
}

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
