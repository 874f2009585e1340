#pragma once
// "Nueva hoja a partir de...": a new sheet or handout script that starts as a byte-for-byte copy
// of an existing one. The user picks the style from the data folders' lists and names the copy;
// it lands in the user data folder (the program folder may not be writable), opens in a script
// editor, and every open sheet view offers it in its style list at once.

#include <QString>

class QWidget;

namespace vorpane {

class DocumentManager;

class NewStyleCommand {
public:
    // Asks, copies and opens; the new file's path, or empty when cancelled or refused.
    static QString run(DocumentManager& documents, QWidget* parent);

    // Why `name` (Windows-1252, without extension) cannot name a new style of `extension`; empty
    // when it can.
    static std::string refusal(const std::string& name, const std::string& extension);
};

} // namespace vorpane
