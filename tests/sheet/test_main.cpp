// Runs the sheet test classes in one executable under one application object (text drawing and
// the font families need it).
#include <QGuiApplication>

int runSheetScriptTests(int argc, char** argv);
int runSheetPainterTests(int argc, char** argv);
int runPictureDrawingTests(int argc, char** argv);
int runHostMembersTests(int argc, char** argv);

// The font library keeps a cache it never frees; leak checking is about our code.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

int main(int argc, char** argv)
{
    qputenv("QTEST_DISABLE_STACK_DUMP", "1");
    QGuiApplication app(argc, argv);
    int failures = 0;
    failures += runSheetScriptTests(argc, argv);
    failures += runSheetPainterTests(argc, argv);
    failures += runPictureDrawingTests(argc, argv);
    failures += runHostMembersTests(argc, argv);
    return failures;
}
