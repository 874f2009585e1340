// The script editor: a keystroke in the complete example sheet script to the live preview drawn
// again and painted (the preview's pause after the last keystroke is not counted: it is a fixed
// 250 ms wait), and a keystroke in a 5,000-line script to the editor painted again. Each reports
// the median and the slowest round besides the mean. Run it under QT_QPA_PLATFORM=offscreen.
// Needs the program folder's data (the build copies data/ next to the executables).

#include "desktop_session.h"
#include "documents/script_edit_doc.h"
#include "documents/script_edit_view.h"
#include "documents/script_preview.h"
#include "platform/program_folder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <Qsci/qsciscintilla.h>
#include <algorithm>
#include <vector>

using namespace vorpane;

namespace {

constexpr const char* kSheetScript = "clasica.vis";
constexpr int kLongScriptLines = 5000;

void press(QWidget* target, Qt::Key key, const QString& text)
{
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &up);
}

void renderWidget(QWidget* widget)
{
    static QImage target;
    if (target.size() != widget->size())
        target = QImage(widget->size(), QImage::Format_ARGB32_Premultiplied);
    widget->render(&target);
}

// Types "x" and takes it back in turn at the end of the first line (a comment in both scripts),
// so the script stays what it was; each keystroke is one timed round.
void typeRounds(benchmark::State& state, CScriptEditView* view, const std::function<void()>& after)
{
    QsciScintilla* editor = view->editor();
    editor->setCursorPosition(0, editor->text(0).size() - 1);
    std::vector<double> samples;
    QElapsedTimer clock;
    bool typed = false;
    for (auto _ : state) {
        clock.start();
        if (typed)
            press(editor, Qt::Key_Backspace, {});
        else
            press(editor, Qt::Key_X, QStringLiteral("x"));
        typed = !typed;
        after();
        const double seconds = clock.nsecsElapsed() / 1e9;
        state.SetIterationTime(seconds);
        samples.push_back(seconds * 1000);
    }
    if (samples.empty())
        return;
    std::sort(samples.begin(), samples.end());
    state.counters["median_ms"] = samples[samples.size() / 2];
    state.counters["slowest_ms"] = samples.back();
}

void BM_KeystrokeToPreview(benchmark::State& state)
{
    bench::DesktopSession session;
    Document* document
        = session.frame->documents().openDocumentFile(QFile::decodeName(programFile(kSheetScript).c_str()));
    auto* view = document ? qobject_cast<CScriptEditView*>(document->views().value(0)) : nullptr;
    if (!view || !view->preview()) {
        state.SkipWithError("the example sheet script does not open with its preview");
        return;
    }
    ScriptPreview* preview = view->preview();
    preview->redraw();
    if (!preview->lastRun().ok) {
        state.SkipWithError(("the example sheet fails: " + preview->lastRun().message).c_str());
        return;
    }
    typeRounds(state, view, [&] {
        // What the timer runs, then the dock painted.
        preview->redraw();
        renderWidget(preview);
    });
    state.SetLabel(
        "page " + std::to_string(preview->page().width()) + " x " + std::to_string(preview->page().height()));
}
BENCHMARK(BM_KeystrokeToPreview)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(60);

void BM_TypingIn5000Lines(benchmark::State& state)
{
    bench::DesktopSession session;
    Document* document = session.frame->documents().newDocument(QStringLiteral("Script"));
    auto* view = document ? qobject_cast<CScriptEditView*>(document->views().value(0)) : nullptr;
    if (!view) {
        state.SkipWithError("no script document");
        return;
    }
    QString text = QStringLiteral("// a long script\n");
    for (int i = 1; i < kLongScriptLines; ++i) {
        text += i % 10 == 0 ? QStringLiteral("function f%1(a, b) {\n").arg(i)
            : i % 10 == 9
            ? QStringLiteral("}\n")
            : QStringLiteral("\tsheet.drawtext(a + %1.5, b, \"texto %1\", sheet.alignleft); // %1\n").arg(i);
    }
    static_cast<CScriptEditDoc*>(document)->setText(text);
    QWidget* area = view->editor()->viewport();
    renderWidget(area);
    typeRounds(state, view, [&] { renderWidget(area); });
    state.SetLabel(std::to_string(view->editor()->lines()) + " lines");
}
BENCHMARK(BM_TypingIn5000Lines)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);

} // namespace

VORPANE_DESKTOP_BENCHMARK_MAIN()
