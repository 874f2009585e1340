// Large and many: a generated investigator of 100 to 2,000 skills (and a quarter as many weapons)
// opened to its first painted sheet, one committed edit on it, and the resident memory with twenty
// documents open (twelve such investigators, three handouts, five scripts) and after they close.
// Run it under QT_QPA_PLATFORM=offscreen with VORPANE_DATA pointing at the build's data files.

#include "desktop_session.h"
#include "documents/investigator_view.h"
#include "large_investigator.h"
#include "platform/program_folder.h"

#include <QApplication>
#include <QFile>
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

using namespace vorpane;
using bench::paint;

namespace {

struct Session : bench::DesktopSession {
    QString investigator(int skills, int copy = 0)
    {
        const QString path = dir.filePath(QStringLiteral("i%1-%2.inv").arg(skills).arg(copy));
        if (!QFile::exists(path))
            test::writeLargeInvestigator(QFile::encodeName(path).toStdString(), skills, skills / 4);
        return path;
    }
};

double residentMegabytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

void BM_OpenLargeToFirstPage(benchmark::State& state)
{
    Session session;
    const QString path = session.investigator(int(state.range(0)));
    for (auto _ : state) {
        Document* document = session.frame->documents().openDocumentFile(path);
        auto* view = document ? qobject_cast<CInvestigatorView*>(document->views().value(0)) : nullptr;
        if (!view) {
            state.SkipWithError(("the investigator does not open: " + session.ui.texts()).c_str());
            return;
        }
        paint(view);
        state.PauseTiming();
        session.closeAll();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenLargeToFirstPage)->Arg(100)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);

void BM_CommittedEditLarge(benchmark::State& state)
{
    Session session;
    Document* document
        = session.frame->documents().openDocumentFile(session.investigator(int(state.range(0))));
    auto* view = document ? qobject_cast<CInvestigatorView*>(document->views().value(0)) : nullptr;
    PlacedField* name = view ? bench::placementNamed(view, "name") : nullptr;
    if (!name) {
        state.SkipWithError("the investigator or its name field is missing");
        return;
    }
    bench::timeCommittedEdits(state, view, *name);
}
BENCHMARK(BM_CommittedEditLarge)->Arg(100)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);

// One round: memory at the start, with the twenty documents open and painted, and after they close.
void BM_TwentyDocuments(benchmark::State& state)
{
    Session session;
    const int skills = int(state.range(0));
    QStringList files;
    for (int i = 0; i < 12; ++i)
        files << session.investigator(skills, i);
    for (const char* name : { "carta.zho", "nota.zho", "recorte.zho" })
        files << QString::fromStdString(programFile(name));
    malloc_trim(0);
    const double before = residentMegabytes();
    double open = 0;
    double closed = 0;
    for (auto _ : state) {
        for (const QString& file : files) {
            Document* document = session.frame->documents().openDocumentFile(file);
            if (!document) {
                state.SkipWithError(("a document does not open: " + session.ui.texts()).c_str());
                return;
            }
            if (auto* view = qobject_cast<CScriptSheetView*>(document->views().value(0)))
                paint(view);
        }
        for (int i = session.frame->documents().documents().size(); i < 20; ++i)
            session.frame->documents().newDocument(QStringLiteral("Script"));
        QCoreApplication::processEvents();
        open = residentMegabytes();
        state.PauseTiming();
        session.closeAll();
        malloc_trim(0);
        closed = residentMegabytes();
        state.ResumeTiming();
    }
    state.counters["rss_start_MB"] = before;
    state.counters["rss_open_MB"] = open;
    state.counters["rss_closed_MB"] = closed;
}
BENCHMARK(BM_TwentyDocuments)->Arg(100)->Arg(2000)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

VORPANE_DESKTOP_BENCHMARK_MAIN()
