#include "documents/investigator_commands.h"

#include "dialogs/add_skill_dialog.h"
#include "dialogs/dice_roller_dialog.h"
#include "dialogs/edit_skill_dialog.h"
#include "dialogs/skill_list_dialog.h"
#include "dialogs/skill_menus.h"
#include "dialogs/spell_book_dialog.h"
#include "dialogs/weapon_list_dialog.h"
#include "documents/investigator_document.h"
#include "docview/desk.h"
#include "docview/desktop_dialogs.h"
#include "docview/doc_template.h"
#include "docview/document_manager.h"
#include "investigator/derived_values.h"
#include "investigator/html_export.h"
#include "investigator/legacy_file.h"
#include "investigator/rule_scripts.h"
#include "investigator/sheet_check.h"
#include "platform/cp1252.h"
#include "platform/ui_services.h"
#include "rules/dice_expression.h"
#include "rules/name_generator.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <functional>

namespace vorpane {

namespace {

const CommandRow kInvestigatorCommands[] = {
    { cmd::Reroll, "&Nueva tirada...", "", "Vuelve a tirar las características del investigador" },
    { cmd::AddSkill, "&Añadir habilidad", "", "Añade una habilidad nueva al investigador" },
    { cmd::EditSkills, "&Modificar habilidades", "", "Añade, cambia o quita habilidades del investigador" },
    { cmd::ChooseWeapons, "&Elejir Armas", "", "Compra armas del reglamento o define armas nuevas" },
    { cmd::ChooseSpells, "&Elegir Magias", "", "Elige en los libros de magias lo que sabe el investigador" },
    { cmd::Income, "&Calcular Ingresos...", "", "Calcula los ingresos anuales del investigador" },
    { cmd::CheckSheet, "&Probar ficha", "F7",
        "Comprueba que la ficha está completa y que los puntos cuadran" },
    { cmd::ImproveSkills, "&Listar habilidades testadas", "",
        "Mejora al final de una campaña las habilidades marcadas" },
    { cmd::RandomName, "Nombre al &azar", "F11", "Elige un nombre al azar para este investigador." },
    { cmd::RollDice, "&Tirar dados...", "", "Tira dados y anota cada tirada en la ventana de salida" },
    { cmd::ExportHtml, "HTML", "", "Exporta este investigador a una página HTML" },
    { cmd::ExportVersion1, "Vorpane &1.0", "",
        "Exporta este investigador a un archivo de Vorpane 1.0.\nExporta como Vorpane 1.0" },
    { cmd::ExportVersion2, "Vorpane &2.0", "",
        "Exporta este investigador a un archivo de Vorpane 2.0.\nExporta como Vorpane 2.0" },
    { cmd::SendMail, "Envia&r por correo...", "",
        "Envía el archivo del investigador con el programa de correo" },
};

QString translated(const char* text) { return QCoreApplication::translate("InvestigatorCommands", text); }

QWidget* dialogParent(const Document& doc) { return doc.desk() ? doc.desk()->ownerWindow() : nullptr; }

std::string localPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

void refreshPointPanes(const CInvestigatorDoc& doc)
{
    Desk* desk = doc.desk();
    if (!desk)
        return;
    const SkillPointStatus status = doc.model().pointStatus();
    desk->setPaneText(Desk::Pane::Points, fromCp1252(status.points));
    desk->setPaneText(Desk::Pane::SkillPoints, fromCp1252(status.budgets));
}

// One undo step: the checkpoint, the change, the modified mark and the views run again.
void change(CInvestigatorDoc& doc, const std::function<void(Investigator&)>& command)
{
    doc.model().change(command);
    refreshPointPanes(doc);
}

// The list dialogs work on a copy, so that Cancel or a dialog closed without a change leaves
// the document and its history alone; the copy then replaces the investigator in one step.
void replaceWith(CInvestigatorDoc& doc, Investigator& edited)
{
    change(doc, [&edited](Investigator& inv) {
        inv = std::move(edited);
        inv.sort();
    });
}

void addSkill(CInvestigatorDoc& doc)
{
    Investigator edited = doc.investigator();
    AddSkillDialog dialog(edited, dialogParent(doc));
    if (dialog.exec() == QDialog::Accepted)
        replaceWith(doc, edited);
}

void editSkills(CInvestigatorDoc& doc)
{
    Investigator edited = doc.investigator();
    SkillListDialog dialog(edited, dialogParent(doc));
    dialog.exec();
    if (dialog.changed())
        replaceWith(doc, edited);
}

void chooseWeapons(CInvestigatorDoc& doc)
{
    Investigator edited = doc.investigator();
    WeaponListDialog dialog(edited, dialogParent(doc));
    dialog.exec();
    if (dialog.changed())
        replaceWith(doc, edited);
}

void chooseSpells(CInvestigatorDoc& doc)
{
    SpellBookDialog dialog(doc.investigator().Spells, dialogParent(doc));
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::string spells = dialog.spellsText();
    change(doc, [&spells](Investigator& inv) { inv.Spells = spells; });
}

void improve(CInvestigatorDoc& doc)
{
    if (!confirmImprovement())
        return;
    change(doc, [](Investigator& inv) {
        DiceExpression dice;
        improveCheckedSkills(inv, dice);
    });
}

void randomName(CInvestigatorDoc& doc)
{
    const NameGenerator names;
    // Without surnames the generator has nothing but a placeholder to offer.
    if (names.fullName() == NameGenerator::kNoData) {
        showMessage(cp1252("No hay nombres que elegir: falta la lista de apellidos de \"names.lst\" en la "
                           "carpeta de Vorpane."));
        return;
    }
    change(doc, [&names](Investigator& inv) {
        inv.Name = names.fullName();
        if (!names.sex().empty())
            inv.Sex = names.sex();
    });
}

QString allFilesFilter() { return translated("Todos los archivos (*)"); }

void exportLegacy(CInvestigatorDoc& doc, int version)
{
    const QString proposed
        = QFile::decodeName(LegacyFile::proposedName(localPath(doc.path()), version).c_str());
    const QString path = dialogs().saveFileName(dialogParent(doc),
        translated("Exportar a Vorpane %1.0").arg(version), proposed,
        doc.docTemplate().filter() + QStringLiteral(";;") + allFilesFilter(), QStringLiteral("inv"));
    if (path.isEmpty())
        return;
    ui().beginWaitCursor();
    LegacyFile::exportFile(localPath(path), doc.investigator(), version);
    ui().endWaitCursor();
}

// The document's name with ".html": beside its file when it has one.
QString proposedHtmlName(const CInvestigatorDoc& doc)
{
    if (doc.path().isEmpty())
        return doc.title().trimmed() + QStringLiteral(".html");
    const QFileInfo file(doc.path());
    return file.absolutePath() + QLatin1Char('/') + file.completeBaseName() + QStringLiteral(".html");
}

void exportHtmlPage(CInvestigatorDoc& doc)
{
    const QString path
        = dialogs().saveFileName(dialogParent(doc), translated("Exportar a HTML"), proposedHtmlName(doc),
            translated("HTML Files (*.htm *.html)") + QStringLiteral(";;") + allFilesFilter(),
            QStringLiteral("html"));
    if (path.isEmpty())
        return;
    ui().beginWaitCursor();
    const bool written = exportHtml(localPath(path), doc.investigator());
    ui().endWaitCursor();
    if (!written)
        return;
    if (!askYesNo(
            toCp1252(translated("Se ha creado la página %1.\n¿Quieres abrirla en el navegador?").arg(path))))
        return;
    if (!dialogs().openUrl(QUrl::fromLocalFile(path)))
        showMessage(toCp1252(translated("No se pudo abrir la página en el navegador.")));
}

void sendMail(CInvestigatorDoc& doc)
{
    // The mail program attaches the file on disk: it must hold what the window shows.
    if (doc.path().isEmpty() || doc.isModified() || !doc.canSaveInPlace()) {
        Desk* desk = doc.desk();
        if (!desk
            || !askYesNo(toCp1252(
                translated("Para enviar el investigador hay que guardarlo antes.\n¿Guardarlo ahora?")))
            || !desk->documents().saveDocument(doc))
            return;
    }
    dialogs().sendMail(doc.path(), doc.title());
}

void showDiceRoller(const CInvestigatorDoc& from)
{
    Desk* desk = from.desk();
    DiceRollerDialog::showRoller(dialogParent(from), [desk] {
        auto* doc = desk ? dynamic_cast<CInvestigatorDoc*>(desk->activeDocument()) : nullptr;
        return doc ? std::optional<std::string>(damageBonus(doc->investigator())) : std::nullopt;
    });
}

} // namespace

std::span<const CommandRow> investigatorCommands() { return kInvestigatorCommands; }

void InvestigatorCommands::install(CInvestigatorDoc& doc)
{
    // Every command first ends an edit in progress on the sheet, so that it sees the typed value.
    const auto add = [&doc](const char* id, std::function<void(CInvestigatorDoc&)> run) {
        doc.addCommand(QString::fromLatin1(id), [&doc, run = std::move(run)] {
            doc.commitEditing();
            run(doc);
        });
    };
    add(cmd::Reroll,
        [](CInvestigatorDoc& d) { change(d, [](Investigator& inv) { rollCharacteristics(inv); }); });
    add(cmd::AddSkill, addSkill);
    add(cmd::EditSkills, editSkills);
    add(cmd::ChooseWeapons, chooseWeapons);
    add(cmd::ChooseSpells, chooseSpells);
    add(cmd::Income, [](CInvestigatorDoc& d) { change(d, [](Investigator& inv) { incomeCommand(inv); }); });
    add(cmd::CheckSheet, [](CInvestigatorDoc& d) { checkSheet(d.investigator()); });
    add(cmd::ImproveSkills, improve);
    add(cmd::RandomName, randomName);
    add(cmd::RollDice, [](CInvestigatorDoc& doc) { showDiceRoller(doc); });
    add(cmd::ExportHtml, exportHtmlPage);
    add(cmd::ExportVersion1, [](CInvestigatorDoc& d) { exportLegacy(d, 1); });
    add(cmd::ExportVersion2, [](CInvestigatorDoc& d) { exportLegacy(d, 2); });
    add(cmd::SendMail, sendMail);
}

} // namespace vorpane
