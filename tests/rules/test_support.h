#pragma once
// Helpers shared by the rule tests: fixture paths, file texts and one runner per test class.

#include "platform/cp1252.h"
#include "recorded_texts.h"

#include <QString>
#include <string>
#include <vector>

namespace vorpane::test {

// tests/data/rules, with a trailing '/'.
inline std::string fixtureFolder()
{
    return qEnvironmentVariable("VORPANE_SOURCE_DIR").toStdString() + "/tests/data/rules/";
}

// A test text written in UTF-8 as the files' Windows-1252 with CR LF line ends.
inline std::string fileText(const QString& utf8)
{
    QString text = utf8;
    text.replace("\r\n", "\n").replace("\n", "\r\n");
    return toCp1252(text);
}

int runSectionFileTests(int argc, char** argv);
int runRuleSetTests(int argc, char** argv);
int runRuleSetCacheTests(int argc, char** argv);
int runListFileTests(int argc, char** argv);
int runSpellBookTests(int argc, char** argv);
int runCliSpellsTests(int argc, char** argv);

} // namespace vorpane::test
