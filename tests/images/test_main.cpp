// Runs the image test classes in one executable, under one application object (text drawing
// needs the font database).
#include <QGuiApplication>

int runImageTests(int argc, char** argv);
int runImageBadInputTests(int argc, char** argv);
int runMetafileTests(int argc, char** argv);

// The font library keeps a cache it never frees; leak checking is about our code.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

int main(int argc, char** argv)
{
    // A crash should fail the run at once rather than wait on a debugger to print a trace.
    qputenv("QTEST_DISABLE_STACK_DUMP", "1");
    QGuiApplication app(argc, argv);
    int failures = 0;
    failures += runImageTests(argc, argv);
    failures += runImageBadInputTests(argc, argv);
    failures += runMetafileTests(argc, argv);
    return failures;
}
