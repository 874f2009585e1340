#include "shell/menu_layout.h"

#include "documents/investigator_commands.h"
#include "documents/script_edit_view.h"
#include "documents/view_commands.h"

namespace vorpane {

namespace {

const CommandRow kAppCommands[] = {
    { cmd::New, "&Nuevo", "Ctrl+N", "Crea un documento nuevo", ":/icons/new.svg" },
    { cmd::NewFromStyle, "Nueva &hoja a partir de...", "",
        "Crea un estilo de hoja o de ayuda copiando uno existente en la carpeta de datos del usuario" },
    { cmd::Open, "&Abrir...", "Ctrl+O", "Abre un documento existente", ":/icons/open.svg" },
    { cmd::Close, "&Cerrar", "", "Cierra el documento activo" },
    { cmd::Save, "&Guardar", "Ctrl+S", "Guarda el documento activo", ":/icons/save.svg" },
    { cmd::SaveAs, "Guardar &como...", "Ctrl+Shift+S", "Guarda el documento activo con otro nombre" },
    { cmd::Print, "&Imprimir...", "Ctrl+P", "Imprime el documento activo", ":/icons/print.svg" },
    { cmd::PrintPreview, "&Vista preliminar", "", "Muestra la página tal como se imprimirá" },
    { cmd::PrintSetup, "Con&figurar impresora...", "", "Cambia la impresora y sus opciones" },
    { cmd::Exit, "&Salir", "Ctrl+Q", "Cierra Vorpane" },
    { cmd::Undo, "&Deshacer", "Ctrl+Z", "Deshace el último cambio", ":/icons/undo.svg" },
    { cmd::Redo, "&Rehacer", "Ctrl+Y", "Rehace el cambio deshecho", ":/icons/redo.svg" },
    { cmd::Cut, "Cor&tar", "Ctrl+X", "Corta la selección y la pone en el portapapeles", ":/icons/cut.svg" },
    { cmd::Copy, "&Copiar", "Ctrl+C", "Copia la selección en el portapapeles", ":/icons/copy.svg" },
    { cmd::Paste, "&Pegar", "Ctrl+V", "Inserta el contenido del portapapeles", ":/icons/paste.svg" },
    { cmd::SelectAll, "Seleccionar &todo", "Ctrl+A", "Selecciona todo el texto" },
    { cmd::ToolBar, "Barra de &herramientas", "", "Muestra u oculta la barra de herramientas", "", true },
    { cmd::StatusBar, "Barra de &estado", "", "Muestra u oculta la barra de estado", "", true },
    { cmd::OutputBar, "&Rendimiento", "", "Muestra u oculta la ventana de salida", ":/icons/output.svg",
        true },
    { cmd::HideOutput, "Ocultar la ventana de salida", "Esc", "" },
    { cmd::NextPane, "Panel &siguiente", "F6", "Pasa al panel siguiente" },
    { cmd::PreviousPane, "Panel &anterior", "Shift+F6", "Vuelve al panel anterior" },
    { cmd::Cascade, "&Cascada", "", "Coloca las ventanas superpuestas" },
    { cmd::Tile, "&Mosaico", "", "Coloca las ventanas en mosaico" },
    { cmd::Options, "&Opciones...", "", "Cambia los márgenes, las fuentes y los colores" },
    { cmd::TipOfTheDay, "&Frase del Día...", "", "Muestra la siguiente frase del día" },
    { cmd::HelpContents, "&Contenido de la ayuda", "F1", "Abre la guía de Vorpane" },
    { cmd::About, "&Acerca de Vorpane...", "", "Muestra la versión y los créditos de Vorpane",
        ":/icons/about.svg" },
};

const std::vector<const char*> kViewItems
    = { cmd::ToolBar, cmd::StatusBar, cmd::OutputBar, "-", cmd::Options };
const std::vector<const char*> kWindowItems = { cmd::Cascade, cmd::Tile, "-", kWindowListSlot };
const std::vector<const char*> kHelpItems = { cmd::HelpContents, "-", cmd::About };

const std::vector<const char*> kSheetEditItems
    = { cmd::Undo, cmd::Redo, "-", cmd::Cut, cmd::Copy, cmd::Paste, "-", cmd::CopySheet };

// The view menu of sheet windows; `options` are the display options of the kind.
std::vector<const char*> sheetViewItems(std::initializer_list<const char*> options)
{
    std::vector<const char*> items = { cmd::ToolBar, cmd::StatusBar, cmd::OutputBar, "-", cmd::Refresh,
        cmd::SheetStyle, "-", cmd::ZoomIn, cmd::ZoomOut, cmd::ZoomActual, cmd::ZoomFitWidth, "-" };
    if (options.size() > 0) {
        items.insert(items.end(), options);
        items.push_back("-");
    }
    items.push_back(cmd::Options);
    return items;
}

std::vector<const char*> fileItems(std::initializer_list<const char*> exports)
{
    std::vector<const char*> items
        = { cmd::New, cmd::NewFromStyle, cmd::Open, cmd::Close, cmd::Save, cmd::SaveAs, "-" };
    if (exports.size() > 0) {
        items.insert(items.end(), exports);
        items.push_back("-");
    }
    for (const char* id :
        { cmd::Print, cmd::PrintPreview, cmd::PrintSetup, "-", kRecentFilesSlot, "-", cmd::Exit })
        items.push_back(id);
    return items;
}

} // namespace

std::span<const CommandRow> appCommands() { return kAppCommands; }

std::vector<std::span<const CommandRow>> commandTables()
{
    return { appCommands(), sheetViewCommands(), scriptCommands(), investigatorCommands() };
}

std::vector<MenuRow> menuLayout(MenuKind kind)
{
    switch (kind) {
    case MenuKind::NoDocument:
        return {
            { "&Archivo",
                { cmd::New, cmd::NewFromStyle, cmd::Open, "-", cmd::PrintSetup, "-", kRecentFilesSlot, "-",
                    cmd::Exit } },
            { "&Ver", kViewItems },
            { "Ay&uda", kHelpItems },
        };
    case MenuKind::Investigator:
        return {
            { "&Archivo",
                fileItems({ kSubmenuStart, "Expor&tar", cmd::ExportVersion1, cmd::ExportVersion2,
                    cmd::ExportHtml, kSubmenuEnd, cmd::SendMail, cmd::ExportPdf }) },
            { "&Edición", kSheetEditItems },
            { "&Ver",
                sheetViewItems({ cmd::Bases55, cmd::CustomSkillFields, cmd::AllPercent, cmd::TrimSkills }) },
            { "&Investigador",
                { cmd::Reroll, "-", cmd::AddSkill, cmd::EditSkills, cmd::ChooseWeapons, cmd::ChooseSpells,
                    "-", cmd::Income } },
            { "&Herramientas",
                { cmd::CheckSheet, cmd::ImproveSkills, "-", cmd::RandomName, "-", cmd::RollDice } },
            { "Ve&ntana", kWindowItems },
            { "Ay&uda", kHelpItems },
        };
    case MenuKind::Handout:
        return {
            { "&Archivo", fileItems({ cmd::ExportPdf }) },
            { "&Edición", kSheetEditItems },
            { "&Ver", sheetViewItems({}) },
            { "Ve&ntana", kWindowItems },
            { "Ay&uda", kHelpItems },
        };
    case MenuKind::Script:
        return {
            { "&Archivo", fileItems({}) },
            { "&Edición",
                { cmd::Undo, cmd::Redo, "-", cmd::Cut, cmd::Copy, cmd::Paste, "-", cmd::SelectAll, "-",
                    cmd::Find, cmd::FindNext, cmd::Replace, cmd::GoToLine, "-", cmd::Complete } },
            { "&Ver", kViewItems },
            { "&Script", { cmd::RunScript, cmd::ScriptPreview } },
            { "Ve&ntana", kWindowItems },
            { "Ay&uda", kHelpItems },
        };
    }
    return {};
}

} // namespace vorpane
