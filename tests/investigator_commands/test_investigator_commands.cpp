// The investigator's commands in the window: the menus, one undo step per change (none after
// Cancel), the reports in the output bar, the exports with their proposed names, mail and dice.

#include "desktop_fixture.h"
#include "dialogs/add_skill_dialog.h"
#include "dialogs/dice_roller_dialog.h"
#include "dialogs/edit_skill_dialog.h"
#include "dialogs/new_weapon_dlg.h"
#include "dialogs/new_weapon_dlg_page1.h"
#include "dialogs/new_weapon_dlg_page2.h"
#include "dialogs/skill_list_dialog.h"
#include "dialogs/skill_menus.h"
#include "dialogs/spell_book_dialog.h"
#include "dialogs/weapon_list_dialog.h"
#include "documents/investigator_commands.h"
#include "documents/investigator_document.h"
#include "docview/desktop_dialogs.h"
#include "docview/document_manager.h"
#include "investigator/derived_values.h"
#include "investigator/investigator_file.h"
#include "platform/cp1252.h"
#include "platform/program_folder.h"
#include "shell/main_frame.h"
#include "shell/menu_layout.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace vorpane;
using namespace vorpane::test;

namespace {

// Acts on the modal dialog that opens next.
template <typename Dialog> void whenOpen(std::function<void(Dialog&)> act) { whenModal<Dialog>(act); }

// How a command's dialog or question is answered.
void answer(DesktopFixture& fixture, const QString& how)
{
    if (how == "yes" || how == "no") {
        fixture.ui.yesNoAnswers = { how == "yes" };
    } else if (how == "add skill") {
        whenOpen<AddSkillDialog>([](AddSkillDialog& d) {
            d.nameEdit()->setText("Latín");
            d.accept();
        });
    } else if (how == "remove skill") {
        whenOpen<SkillListDialog>([](SkillListDialog& d) {
            d.list()->setCurrentRow(0);
            d.removeSkill();
            d.accept();
        });
    } else if (how == "buy weapon") {
        whenOpen<WeaponListDialog>([](WeaponListDialog& d) {
            d.availableList()->setCurrentRow(0);
            d.addSelected();
            d.accept();
        });
    } else if (how == "add spell") {
        whenOpen<SpellBookDialog>([](SpellBookDialog& d) {
            QTreeWidgetItem* spell = d.tree()->topLevelItem(0)->child(0);
            d.tree()->setCurrentItem(spell);
            d.addSelected();
            d.accept();
        });
    } else if (how.startsWith("close")) {
        whenModal<QDialog>([](QDialog& dialog) { dialog.reject(); });
    }
}

struct Window {
    explicit Window(DesktopFixture& fixture)
    {
        const QString file = fixture.copy(dataFile("examples/detective_1890.inv"));
        doc = static_cast<CInvestigatorDoc*>(frame.documents().openDocumentFile(file));
    }
    CMainFrame frame;
    CInvestigatorDoc* doc = nullptr;
};

QStringList outputLines(const DesktopFixture& fixture)
{
    QStringList lines;
    for (const std::string& line : const_cast<ScopedRecordingUi&>(fixture.ui).output().lines())
        lines << fromCp1252(line);
    return lines;
}

} // namespace

class TestInvestigatorCommands : public QObject {
    Q_OBJECT
private slots:
    void menus();
    void oneUndoStepEach_data();
    void oneUndoStepEach();
    void checkReportsInTheOutputBar_data();
    void checkReportsInTheOutputBar();
    void improvementReportsEachSkill();
    void incomeShowsItsMessage();
    void missingNamesChangeNothing();
    void exportNames_data();
    void exportNames();
    void htmlExportOffersTheBrowser_data();
    void htmlExportOffersTheBrowser();
    void mailSendsTheSavedFile_data();
    void mailSendsTheSavedFile();
    void mailProgram_data();
    void mailProgram();
    void diceRolls_data();
    void diceRolls();
};

void TestInvestigatorCommands::menus()
{
    DesktopFixture fixture;
    Window window(fixture);
    QVERIFY(window.doc);
    QCOMPARE(window.frame.menuKind(), MenuKind::Investigator);
    QStringList titles;
    std::vector<const char*> fileItems;
    for (const MenuRow& menu : menuLayout(MenuKind::Investigator)) {
        titles << QString::fromUtf8(menu.title);
        if (titles.last() == "&Archivo")
            fileItems = menu.items;
    }
    QCOMPARE(titles,
        (QStringList {
            "&Archivo", "&Edición", "&Ver", "&Investigador", "&Herramientas", "Ve&ntana", "Ay&uda" }));
    // The exports follow "Guardar como..." in a submenu of their own, then the rows of their own.
    const auto saveAs = std::find_if(
        fileItems.begin(), fileItems.end(), [](const char* id) { return qstrcmp(id, cmd::SaveAs) == 0; });
    QVERIFY(saveAs + 8 < fileItems.end());
    QCOMPARE(QString(saveAs[2]), QString(kSubmenuStart));
    QCOMPARE(QString(saveAs[8]), QString(cmd::SendMail));
    QMenu* exports = nullptr;
    for (QAction* top : window.frame.menuBar()->actions()) {
        if (top->text() == "&Archivo") {
            for (QAction* item : top->menu()->actions()) {
                if (item->menu() && item->text() == "Expor&tar")
                    exports = item->menu();
            }
        }
    }
    QVERIFY(exports);
    QStringList exportItems;
    for (QAction* item : exports->actions())
        exportItems << item->text() + '|' + item->statusTip() + '|' + item->toolTip();
    QCOMPARE(exportItems,
        (QStringList {
            "Vorpane &1.0|Exporta este investigador a un archivo de Vorpane 1.0.|Exporta como Vorpane 1.0",
            "Vorpane &2.0|Exporta este investigador a un archivo de Vorpane 2.0.|Exporta como Vorpane 2.0",
            "HTML|Exporta este investigador a una página HTML|HTML" }));
    QCOMPARE(window.frame.action(cmd::CheckSheet)->shortcut(), QKeySequence("F7"));
    QCOMPARE(window.frame.action(cmd::RandomName)->shortcut(), QKeySequence("F11"));
    QCOMPARE(window.frame.action(cmd::RandomName)->statusTip(),
        QString("Elige un nombre al azar para este investigador."));
    for (const CommandRow& row : investigatorCommands())
        QVERIFY2(window.frame.action(row.id)->isEnabled(), row.id);
}

void TestInvestigatorCommands::oneUndoStepEach_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("steps");

    QTest::newRow("reroll") << cmd::Reroll << "" << 1;
    QTest::newRow("income") << cmd::Income << "" << 1;
    QTest::newRow("random name") << cmd::RandomName << "" << 1;
    QTest::newRow("improvement") << cmd::ImproveSkills << "yes" << 1;
    QTest::newRow("improvement refused") << cmd::ImproveSkills << "no" << 0;
    QTest::newRow("add skill") << cmd::AddSkill << "add skill" << 1;
    QTest::newRow("add skill cancelled") << cmd::AddSkill << "close" << 0;
    QTest::newRow("skills: one removed") << cmd::EditSkills << "remove skill" << 1;
    QTest::newRow("skills: closed unchanged") << cmd::EditSkills << "close" << 0;
    QTest::newRow("weapons: one bought") << cmd::ChooseWeapons << "buy weapon" << 1;
    QTest::newRow("weapons: closed unchanged") << cmd::ChooseWeapons << "close" << 0;
    QTest::newRow("spells") << cmd::ChooseSpells << "add spell" << 1;
    QTest::newRow("spells cancelled") << cmd::ChooseSpells << "close" << 0;
    QTest::newRow("the check changes nothing") << cmd::CheckSheet << "" << 0;
}

void TestInvestigatorCommands::oneUndoStepEach()
{
    QFETCH(QString, command);
    QFETCH(QString, how);
    QFETCH(int, steps);
    DesktopFixture fixture;
    Window window(fixture);
    InvestigatorDocumentModel& model = window.doc->model();
    model.investigator().findSkill("Derecho")->checked = 1;
    const std::string before = window.doc->fileBytes();
    // Snapshots keep the entries by kind, so an undone investigator is compared with a copy.
    const std::string snapshot
        = InvestigatorFile::text(Investigator(model.investigator()), model.sheetScript());
    QSignalSpy redraws(window.doc, &Document::contentChanged);

    answer(fixture, how);
    window.frame.execute(command);
    QCOMPARE(model.history().undoDepth(), steps);
    QCOMPARE(window.doc->isModified(), steps > 0);
    QCOMPARE(redraws.count(), steps);
    if (steps == 0) {
        QCOMPARE(window.doc->fileBytes(), before);
        return;
    }
    QVERIFY(window.doc->fileBytes() != before);
    QVERIFY(!window.frame.paneText(CMainFrame::Pane::SkillPoints).isEmpty());
    QVERIFY(model.undo());
    QCOMPARE(window.doc->fileBytes(), snapshot);
}

void TestInvestigatorCommands::checkReportsInTheOutputBar_data()
{
    QTest::addColumn<bool>("findings");
    QTest::newRow("a sheet that adds up") << false;
    QTest::newRow("a sheet with points left") << true;
}

void TestInvestigatorCommands::checkReportsInTheOutputBar()
{
    QFETCH(bool, findings);
    DesktopFixture fixture;
    Window window(fixture);
    if (findings)
        window.doc->investigator().SkillPoints += 10;
    window.frame.showOutputBar(true);
    window.frame.execute(cmd::CheckSheet);
    const QStringList lines = outputLines(fixture);
    QCOMPARE(lines.value(0), QString("Probando Investigador..."));
    QCOMPARE(window.frame.outputBar()->isVisibleTo(&window.frame), findings);
    QCOMPARE(lines.last().startsWith("El Investigador falló en : "), findings);
    QCOMPARE(fixture.ui.texts() == "Testeo del Investigador finalizado.", !findings);
}

void TestInvestigatorCommands::improvementReportsEachSkill()
{
    DesktopFixture fixture;
    Window window(fixture);
    Investigator& inv = window.doc->investigator();
    SkillEntry* skill = inv.findSkill("Derecho");
    QVERIFY(skill);
    skill->checked = 1;
    fixture.ui.yesNoAnswers = { true };
    window.frame.execute(cmd::ImproveSkills);
    const QStringList lines = outputLines(fixture);
    QCOMPARE(lines.value(0), QString("Testando habilidades...  "));
    QCOMPARE(lines.value(1), QString("Rolling D100 for skill Derecho, which is currently at 41%..."));
    QVERIFY(lines.value(2).startsWith("    Rolled: "));
    QCOMPARE(lines.last(), QString("..listo"));
    QVERIFY(window.frame.outputBar()->isVisibleTo(&window.frame));
    QCOMPARE(window.doc->investigator().findSkill("Derecho")->checked, 0);
}

void TestInvestigatorCommands::incomeShowsItsMessage()
{
    DesktopFixture fixture;
    Window window(fixture);
    window.frame.execute(cmd::Income);
    QCOMPARE(fixture.ui.boxes.size(), size_t(1));
    const RecordingUi::Box& box = fixture.ui.boxes.front();
    QCOMPARE(box.icon, MsgIcon::None);
    QCOMPARE(box.text, "Tu investigador obtiene ingresos de" + window.doc->investigator().Income);
    QVERIFY(!window.doc->investigator().Income.empty());
}

void TestInvestigatorCommands::missingNamesChangeNothing()
{
    DesktopFixture fixture;
    Window window(fixture);
    setProgramFolder(fixture.path("nothing").toStdString());
    window.frame.execute(cmd::RandomName);
    setProgramFolder({});
    QVERIFY(fromCp1252(fixture.ui.texts()).startsWith("No hay nombres que elegir"));
    QCOMPARE(window.doc->model().history().undoDepth(), 0);
    QCOMPARE(window.doc->investigator().Name, std::string("Ignacio Valverde Ruiz"));
}

void TestInvestigatorCommands::exportNames_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QString>("proposed"); // FOLDER stands for the document's folder
    QTest::addColumn<QByteArray>("start");

    QTest::newRow("version 1, never saved")
        << cmd::ExportVersion1 << false << "_10.inv" << QByteArray("INV10\n");
    QTest::newRow("version 2, never saved")
        << cmd::ExportVersion2 << false << "_20.inv" << QByteArray("INV20\n");
    QTest::newRow("version 1 of a file")
        << cmd::ExportVersion1 << true << "FOLDER/detective_1890.inv_10.inv" << QByteArray("INV10\n");
    QTest::newRow("HTML, never saved")
        << cmd::ExportHtml << false << "TITLE.html" << QByteArray("<html>\r\n");
    QTest::newRow("HTML of a file") << cmd::ExportHtml << true << "FOLDER/detective_1890.html"
                                    << QByteArray("<html>\r\n");
}

void TestInvestigatorCommands::exportNames()
{
    QFETCH(QString, command);
    QFETCH(bool, saved);
    QFETCH(QString, proposed);
    QFETCH(QByteArray, start);
    DesktopFixture fixture;
    Window window(fixture);
    Document* doc = saved ? window.doc : window.frame.documents().createInvestigator("default.rul", 1, false);
    QVERIFY(doc);
    const bool modified = doc->isModified();
    const QString target = fixture.path("exported");
    fixture.dialogs.saveNames = { target };
    fixture.ui.yesNoAnswers = { false }; // no browser
    window.frame.execute(command);
    const QString folder = QFileInfo(window.doc->path()).absolutePath();
    proposed.replace("FOLDER", folder).replace("TITLE", doc->title().trimmed());
    QCOMPARE(fixture.dialogs.proposedNames, QStringList { proposed });
    QFile file(target);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().startsWith(start));
    QCOMPARE(doc->isModified(), modified);
    QCOMPARE(static_cast<CInvestigatorDoc*>(doc)->model().history().undoDepth(), 0);
}

void TestInvestigatorCommands::htmlExportOffersTheBrowser_data()
{
    QTest::addColumn<bool>("open");
    QTest::addColumn<bool>("browserWorks");
    QTest::addColumn<int>("boxes");
    QTest::newRow("declined") << false << true << 1;
    QTest::newRow("opened") << true << true << 1;
    QTest::newRow("no browser") << true << false << 2;
}

void TestInvestigatorCommands::htmlExportOffersTheBrowser()
{
    QFETCH(bool, open);
    QFETCH(bool, browserWorks);
    QFETCH(int, boxes);
    DesktopFixture fixture;
    Window window(fixture);
    const QString target = fixture.path("page.html");
    fixture.dialogs.saveNames = { target };
    fixture.dialogs.urlsOpen = browserWorks;
    fixture.ui.yesNoAnswers = { open };
    window.frame.execute(cmd::ExportHtml);
    QCOMPARE(int(fixture.ui.boxes.size()), boxes);
    QCOMPARE(fixture.dialogs.openedUrls, open ? QList<QUrl> { QUrl::fromLocalFile(target) } : QList<QUrl> {});
}

void TestInvestigatorCommands::mailSendsTheSavedFile_data()
{
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QString>("how"); // the answer to "save first?"
    QTest::addColumn<bool>("mailed");
    QTest::newRow("saved: sent at once") << false << "" << true;
    QTest::newRow("modified: saved, then sent") << true << "yes" << true;
    QTest::newRow("modified, not saved: nothing sent") << true << "no" << false;
}

void TestInvestigatorCommands::mailSendsTheSavedFile()
{
    QFETCH(bool, modified);
    QFETCH(QString, how);
    QFETCH(bool, mailed);
    DesktopFixture fixture;
    Window window(fixture);
    if (modified)
        window.frame.execute(cmd::Reroll);
    answer(fixture, how);
    window.frame.execute(cmd::SendMail);
    QCOMPARE(fixture.dialogs.mailedFiles, mailed ? QStringList { window.doc->path() } : QStringList {});
    QCOMPARE(window.doc->isModified(), modified && !mailed);
}

void TestInvestigatorCommands::mailProgram_data()
{
    QTest::addColumn<QString>("program"); // the xdg-email on the PATH; empty: none
    QTest::addColumn<bool>("started");
    QTest::addColumn<QString>("message");
    QTest::newRow("none") << "" << false << "No hay ningún programa de correo disponible";
    QTest::newRow("it fails") << "#!/bin/sh\nexit 3\n"
                              << true << "El programa de correo no pudo preparar el mensaje.";
    QTest::newRow("it works") << "#!/bin/sh\n[ \"$4\" = \"$FILE\" ] || exit 1\n" << true << "";
}

void TestInvestigatorCommands::mailProgram()
{
    QFETCH(QString, program);
    QFETCH(bool, started);
    QFETCH(QString, message);
    DesktopFixture fixture;
    const QString bin = fixture.path("bin");
    QDir().mkpath(bin);
    if (!program.isEmpty()) {
        QFile script(bin + "/xdg-email");
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(program.toUtf8());
        script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    }
    const QString file = fixture.path("ana.inv");
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.toLocal8Bit());
    qputenv("FILE", file.toLocal8Bit());
    DesktopDialogs real;
    const bool sent = real.sendMail(QString(file), "Ana"); // a temporary: a late failure still names it
    qputenv("PATH", path);
    QCOMPARE(sent, started);
    // The program is watched until it ends; its process object goes then.
    QTRY_VERIFY(qApp->findChildren<QProcess*>().isEmpty());
    QCOMPARE(fixture.ui.boxes.size(), size_t(message.isEmpty() ? 0 : 1));
    if (message.isEmpty())
        return;
    const QString text = fromCp1252(fixture.ui.boxes.front().text);
    QVERIFY2(text.startsWith(message) && text.endsWith(file), qPrintable(text));
}

void TestInvestigatorCommands::diceRolls_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<bool>("investigator");
    QTest::addColumn<QString>("line"); // a pattern; empty: nothing written
    QTest::newRow("3D6") << "3D6" << false << "^3D6 = ([3-9]|1[0-8])$";
    QTest::newRow("damage bonus of the investigator")
        << "1D4+bd" << true << "^1D4\\+bd \\(1D4\\+1D4\\) = [2-8]$";
    QTest::newRow("bd without an investigator") << "1D4+bd" << false << "";
    QTest::newRow("malformed") << "2D6+x" << false << "";
}

void TestInvestigatorCommands::diceRolls()
{
    QFETCH(QString, expression);
    QFETCH(bool, investigator);
    QFETCH(QString, line);
    DesktopFixture fixture;
    Window window(fixture);
    window.doc->investigator().FUE = 16; // with TAM 13: +1D4
    QPointer<DiceRollerDialog> roller = DiceRollerDialog::showRoller(&window.frame, [&window, investigator] {
        return investigator ? std::optional<std::string>(damageBonus(window.doc->investigator()))
                            : std::nullopt;
    });
    roller->expressionBox()->setEditText(expression);
    QCOMPARE(roller->roll(), !line.isEmpty());
    const QStringList lines = outputLines(fixture);
    if (line.isEmpty()) {
        QVERIFY(lines.isEmpty());
        QCOMPARE(fixture.ui.boxes.size(), size_t(1));
    } else {
        QCOMPARE(lines.size(), 1);
        QVERIFY2(QRegularExpression(line).match(lines.front()).hasMatch(), qPrintable(lines.front()));
        QVERIFY(window.frame.outputBar()->isVisibleTo(&window.frame));
        QCOMPARE(roller->resultLabel()->text(), lines.front().section(" = ", 1));
    }
    delete roller;
}

QTEST_MAIN(TestInvestigatorCommands)
#include "test_investigator_commands.moc"
