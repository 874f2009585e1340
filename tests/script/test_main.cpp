// Runs the script engine's test classes one after the other.

#include "platform/profile.h"

#include <QCoreApplication>
#include <QStandardPaths>

int runScriptValueTests(int argc, char** argv);
int runScriptInterpreterTests(int argc, char** argv);
int runScriptLibraryTests(int argc, char** argv);
int runScriptRunnerTests(int argc, char** argv);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    int failed = 0;
    failed |= runScriptValueTests(argc, argv);
    failed |= runScriptInterpreterTests(argc, argv);
    failed |= runScriptLibraryTests(argc, argv);
    failed |= runScriptRunnerTests(argc, argv);
    return failed;
}
