// The commands of the sheet views (investigators and handouts).

#include "documents/view_commands.h"

#include "docview/commands.h"

namespace vorpane {

namespace {

const CommandRow kSheetViewCommands[] = {
    { cmd::Refresh, "&Actualizar", "F5", "Vuelve a ejecutar el script de la ficha", ":/icons/refresh.png" },
    { cmd::SheetStyle, "&Estilo de ficha", "F4", "Elige el script que dibuja la ficha" },
    { cmd::PrintDirect, "Imprimir sin preguntar", "",
        "Imprime el documento activo en la impresora predeterminada" },
    { cmd::ExportPdf, "Exportar a &PDF...", "", "Guarda la hoja como un documento PDF" },
    { cmd::CopySheet, "Copiar &hoja", "", "Copia la hoja en el portapapeles como una imagen" },
    { cmd::ZoomIn, "Am&pliar", "Ctrl++", "Amplía la hoja" },
    { cmd::ZoomOut, "Red&ucir", "Ctrl+-", "Reduce la hoja" },
    { cmd::ZoomActual, "Ta&maño real", "Ctrl+0", "Muestra la hoja a su tamaño real" },
    { cmd::ZoomFitWidth, "Ajustar al a&ncho", "", "Ajusta la hoja al ancho de la ventana", "", true },
    { cmd::Bases55, displayOptionInfo(DisplayOption::Bases55).label, "",
        "Muestra las bases de las reglas 5.5", "", true },
    { cmd::CustomSkillFields, displayOptionInfo(DisplayOption::CustomSkillFields).label, "",
        "Escribe las habilidades propias con la letra del jugador", "", true },
    { cmd::AllPercent, displayOptionInfo(DisplayOption::AllPercent).label, "",
        "Muestra el porcentaje de todas las habilidades, también las que siguen en su base", "", true },
    { cmd::TrimSkills, displayOptionInfo(DisplayOption::TrimSkills).label, "",
        "No deja bajar una habilidad por debajo de su base", "", true },
};

} // namespace

std::span<const CommandRow> sheetViewCommands() { return kSheetViewCommands; }

const char* displayOptionCommand(DisplayOption option)
{
    switch (option) {
    case DisplayOption::Bases55:
        return cmd::Bases55;
    case DisplayOption::CustomSkillFields:
        return cmd::CustomSkillFields;
    case DisplayOption::AllPercent:
        return cmd::AllPercent;
    case DisplayOption::TrimSkills:
        break;
    }
    return cmd::TrimSkills;
}

} // namespace vorpane
