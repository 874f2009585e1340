#pragma once
// The desktop program's command line:
//   vorpane [--data DIR] [--settings FILE] [--seed N] [--nosplash]
//           [--new RULEFILE ERA [--wizard]] [-p|--print FILE] [FILE...]
// plus --help and --version.

#include <QString>
#include <QStringList>
#include <optional>

namespace vorpane {

struct CommandLine {
    QString dataDir;
    QString settingsFile;
    std::optional<quint32> seed;
    bool splash = true;
    // --new: an investigator from a rule file and era, with or without the wizard.
    bool newInvestigator = false;
    QString ruleFile;
    int era = 0;
    bool wizard = false;
    QString printFile;
    QStringList files;
    bool help = false;
    bool version = false;
    // Wrong usage: what to tell the user (nothing else is meaningful then).
    QString error;

    bool ok() const { return error.isEmpty(); }
    // Whether start-up should ask what to create: nothing to open, print or create.
    bool wantsNewDocumentDialog() const { return files.isEmpty() && !newInvestigator && printFile.isEmpty(); }

    // `arguments` as QCoreApplication::arguments() gives them, the program first.
    static CommandLine parse(const QStringList& arguments);
    static QString helpText();
};

} // namespace vorpane
