// What a screen reader costs the sheet view: the first look at the page after it opens (the
// outline of the complete example sheet built, every field and table given its interface, every
// name and value read), one value asked again, and a committed edit while a reader listens (the
// values compared and the changes announced). Compare with bench_sheet_view's opening and edit.
// Run it under QT_QPA_PLATFORM=offscreen; needs the program folder's data.

#include "desktop_session.h"
#include "documents/investigator_view.h"
#include "documents/sheet_accessibility.h"
#include "platform/program_folder.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>

using namespace vorpane;

namespace {

constexpr const char* kInvestigatorFile = "examples/anticuaria_1920.inv";

struct Session : bench::DesktopSession {
    CInvestigatorView* view = nullptr;
    Session()
    {
        Document* document
            = frame->documents().openDocumentFile(QString::fromStdString(programFile(kInvestigatorFile)));
        view = document ? qobject_cast<CInvestigatorView*>(document->views().value(0)) : nullptr;
    }
};

// Reads what a reader's first pass reads: names and values of every field, row and cell.
size_t readAll(QAccessibleInterface* node)
{
    size_t characters = size_t(node->text(QAccessible::Name).size() + node->text(QAccessible::Value).size());
    if (QAccessibleTableInterface* table = node->tableInterface()) {
        for (int row = 0; row < table->rowCount(); ++row)
            characters += size_t(table->rowDescription(row).size());
    }
    for (int i = 0; i < node->childCount(); ++i) {
        if (QAccessibleInterface* child = node->child(i); child && !child->object())
            characters += readAll(child);
    }
    return characters;
}

void BM_FirstLookAtThePage(benchmark::State& state)
{
    Session session;
    if (!session.view) {
        state.SkipWithError("the example investigator does not open");
        return;
    }
    QAccessibleInterface* page = QAccessible::queryAccessibleInterface(session.view->canvas());
    size_t fields = 0;
    for (auto _ : state) {
        state.PauseTiming();
        session.view->accessibility().reset(); // as after the script runs
        state.ResumeTiming();
        benchmark::DoNotOptimize(readAll(page));
        fields = session.view->accessibility().outline().fields().size();
    }
    state.counters["fields"] = double(fields);
}
BENCHMARK(BM_FirstLookAtThePage)->Unit(benchmark::kMillisecond);

void BM_OneValue(benchmark::State& state)
{
    Session session;
    QAccessibleInterface* page
        = session.view ? QAccessible::queryAccessibleInterface(session.view->canvas()) : nullptr;
    QAccessibleInterface* field = nullptr;
    for (int i = 0; page && i < page->childCount() && !field; ++i) {
        if (page->child(i)->text(QAccessible::Name) == QLatin1String("FUE"))
            field = page->child(i);
    }
    if (!field) {
        state.SkipWithError("the example sheet has no field named FUE");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(field->text(QAccessible::Value));
}
BENCHMARK(BM_OneValue)->Unit(benchmark::kMicrosecond);

void BM_CommittedEditWithReader(benchmark::State& state)
{
    Session session;
    PlacedField* name = session.view ? bench::placementNamed(session.view, "name") : nullptr;
    if (!name) {
        state.SkipWithError("the example investigator or its name field is missing");
        return;
    }
    readAll(QAccessible::queryAccessibleInterface(session.view->canvas()));
    bench::timeCommittedEdits(state, session.view, *name);
}
BENCHMARK(BM_CommittedEditWithReader)->Unit(benchmark::kMillisecond);

} // namespace

VORPANE_DESKTOP_BENCHMARK_MAIN()
