#pragma once
// What a RecordingUi recorded, as readable UTF-8 texts for test comparisons.

#include "platform/cp1252.h"
#include "platform/recording_ui.h"

#include <QStringList>

namespace vorpane::test {

// The texts of the boxes shown, in order.
inline QStringList boxTexts(const RecordingUi& ui)
{
    QStringList texts;
    for (const RecordingUi::Box& box : ui.boxes)
        texts << fromCp1252(box.text);
    return texts;
}

// The lines of the output window.
inline QStringList outputLines(RecordingUi& ui)
{
    QStringList texts;
    for (const std::string& line : ui.output().lines())
        texts << fromCp1252(line);
    return texts;
}

} // namespace vorpane::test
