// The commands of the sheet views (investigators and handouts).

#include "app/commands.h"

namespace vorpane {

namespace {

const CommandSpec kSheetViewCommands[] = {
    { cmd::Refresh, "&Actualizar", "F5", "Vuelve a ejecutar el script de la ficha", ":/icons/refresh.png" },
    { cmd::SheetStyle, "&Estilo de ficha", "F4", "Elige el script que dibuja la ficha" },
};

} // namespace

std::span<const CommandSpec> sheetViewCommands() { return kSheetViewCommands; }

} // namespace vorpane
