// Runs every test class of the rules module; the exit status counts the failures.
#include "test_support.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    using namespace vorpane::test;
    int failures = 0;
    failures += runSectionFileTests(argc, argv);
    failures += runRuleSetTests(argc, argv);
    failures += runRuleSetCacheTests(argc, argv);
    failures += runListFileTests(argc, argv);
    failures += runSpellBookTests(argc, argv);
    failures += runCliSpellsTests(argc, argv);
    return failures;
}
