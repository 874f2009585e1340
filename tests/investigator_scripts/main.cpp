// Runs every test class of the investigator scripts; the exit status counts the failures.
#include "test_support.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    using namespace vorpane::test;
    int failures = 0;
    failures += runScriptObjectTests(argc, argv);
    failures += runRuleScriptTests(argc, argv);
    failures += runSheetCheckTests(argc, argv);
    failures += runOccupationSetupTests(argc, argv);
    failures += runCliCommandTests(argc, argv);
    failures += runCliHostileNameTests(argc, argv);
    return failures;
}
