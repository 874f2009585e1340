#pragma once
// What the desktop benchmarks share: a main window over a scratch settings file, a view painted as
// the screen would get it, and the timing of committed edits to one field.

#include "documents/field_editor.h"
#include "documents/script_sheet_view.h"
#include "documents/sheet_canvas.h"
#include "docview/document.h"
#include "docview/document_manager.h"
#include "platform/profile.h"
#include "platform/recording_ui.h"
#include "sheet/sheet_field.h"
#include "sheet/sheet_layout.h"
#include "shell/main_frame.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <memory>

namespace vorpane::bench {

struct DesktopSession {
    QTemporaryDir dir;
    RecordingUi ui;
    std::unique_ptr<CMainFrame> frame;

    DesktopSession()
    {
        setProfilePath(dir.filePath(QStringLiteral("profile.ini")).toStdString());
        installUi(&ui);
        frame = std::make_unique<CMainFrame>();
        frame->resize(1280, 900);
        frame->show();
    }
    ~DesktopSession()
    {
        frame.reset();
        installUi(nullptr);
        setProfilePath({});
    }
    DesktopSession(const DesktopSession&) = delete;
    DesktopSession& operator=(const DesktopSession&) = delete;

    void closeAll()
    {
        for (Document* document : frame->documents().documents()) {
            document->setModified(false);
            frame->documents().closeDocument(*document);
        }
        // Closed windows are deleted, and their documents with them, once the event loop runs.
        QEventLoop loop;
        QTimer::singleShot(0, &loop, &QEventLoop::quit);
        loop.exec();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

// Paints the view's window area as the screen would get it, at the screen's pixel ratio.
inline void paint(CScriptSheetView* view)
{
    QWidget* area = view->canvas()->viewport();
    static QImage target;
    const qreal ratio = area->devicePixelRatioF();
    const QSize size = area->size() * ratio;
    if (target.size() != size) {
        target = QImage(size, QImage::Format_ARGB32_Premultiplied);
        target.setDevicePixelRatio(ratio);
    }
    area->render(&target);
}

inline PlacedField* placementNamed(CScriptSheetView* view, const char* name)
{
    for (PlacedField* placement : view->layout().placed()) {
        if (placement->field->name() == name)
            return placement;
    }
    return nullptr;
}

// Each round types a new text into the field untimed, then times the commit: stored through the
// hooks (an undo snapshot of the whole investigator), the page rendered again and painted.
inline void timeCommittedEdits(benchmark::State& state, CScriptSheetView* view, PlacedField& field)
{
    paint(view);
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        view->fieldEditor()->startEditing(field);
        auto* edit = static_cast<QLineEdit*>(view->fieldEditor()->editWidget());
        edit->setText(QStringLiteral("Leonor %1").arg(++round));
        edit->setModified(true);
        state.ResumeTiming();
        view->fieldEditor()->endEditing(true);
        view->canvas()->page();
        paint(view);
    }
}

} // namespace vorpane::bench

// The main() of a desktop benchmark, as BENCHMARK_MAIN() but with the QApplication widgets need.
#define VORPANE_DESKTOP_BENCHMARK_MAIN()                                                                     \
    int main(int argc, char** argv)                                                                          \
    {                                                                                                        \
        QApplication app(argc, argv);                                                                        \
        benchmark::Initialize(&argc, argv);                                                                  \
        benchmark::RunSpecifiedBenchmarks();                                                                 \
        benchmark::Shutdown();                                                                               \
        return 0;                                                                                            \
    }
