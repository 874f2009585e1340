// The sheet view in the window: opening an example investigator to its first painted page, one
// committed edit to the page painted again, and a repaint while scrolling (from the cached page).
// Run it under QT_QPA_PLATFORM=offscreen, and with QT_SCALE_FACTOR=2 for a screen of device pixel
// ratio 2. Needs the program folder's data (the build copies data/ next to the executables).

#include "desktop_session.h"
#include "documents/investigator_view.h"
#include "docview/document_view.h"
#include "platform/program_folder.h"
#include "sheet/sheet_item.h"

#include <QApplication>
#include <QScrollBar>

using namespace vorpane;
using bench::paint;

namespace {

constexpr const char* kInvestigatorFile = "examples/anticuaria_1920.inv";

struct Session : bench::DesktopSession {
    CInvestigatorView* open()
    {
        Document* document
            = frame->documents().openDocumentFile(QString::fromStdString(programFile(kInvestigatorFile)));
        return document ? qobject_cast<CInvestigatorView*>(document->views().value(0)) : nullptr;
    }
};

void label(benchmark::State& state)
{
    state.SetLabel("device pixel ratio " + std::to_string(qApp->devicePixelRatio()).substr(0, 3));
}

void BM_OpenToFirstPage(benchmark::State& state)
{
    Session session;
    for (auto _ : state) {
        CInvestigatorView* view = session.open();
        if (!view) {
            state.SkipWithError(("the example investigator does not open: " + session.ui.texts()).c_str());
            return;
        }
        paint(view);
        state.PauseTiming();
        session.closeAll();
        state.ResumeTiming();
    }
    label(state);
}
BENCHMARK(BM_OpenToFirstPage)->Unit(benchmark::kMillisecond);

void BM_CommittedEdit(benchmark::State& state)
{
    Session session;
    CInvestigatorView* view = session.open();
    PlacedField* name = view ? bench::placementNamed(view, "name") : nullptr;
    if (!name) {
        state.SkipWithError("the example investigator or its name field is missing");
        return;
    }
    bench::timeCommittedEdits(state, view, *name);
    label(state);
}
BENCHMARK(BM_CommittedEdit)->Unit(benchmark::kMillisecond);

// A scroll step repaints the strip it uncovers (the rest is moved on the screen), from the
// cached page.
void BM_ScrollRepaint(benchmark::State& state)
{
    Session session;
    CInvestigatorView* view = session.open();
    if (!view) {
        state.SkipWithError("the example investigator does not open");
        return;
    }
    QWidget* area = view->canvas()->viewport();
    QScrollBar* bar = view->canvas()->verticalScrollBar();
    paint(view);
    const int step = int(state.range(0));
    QImage target(area->size() * area->devicePixelRatioF(), QImage::Format_ARGB32_Premultiplied);
    target.setDevicePixelRatio(area->devicePixelRatioF());
    for (auto _ : state) {
        if (bar->value() + step > bar->maximum())
            bar->setValue(0);
        bar->setValue(bar->value() + step);
        const QRegion uncovered(0, area->height() - step, area->width(), step);
        area->render(&target, QPoint(), uncovered);
    }
    label(state);
}
BENCHMARK(BM_ScrollRepaint)->Arg(40)->Arg(120)->Unit(benchmark::kMicrosecond);

// The whole window painted from the cached page (a window brought to the front).
void BM_FullRepaint(benchmark::State& state)
{
    Session session;
    CInvestigatorView* view = session.open();
    if (!view) {
        state.SkipWithError("the example investigator does not open");
        return;
    }
    paint(view);
    for (auto _ : state)
        paint(view);
    label(state);
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMicrosecond);

} // namespace

VORPANE_DESKTOP_BENCHMARK_MAIN()
