// Feeds arbitrary bytes to the metafile reader and plays them onto a small picture.
#include "image/emf_player.h"
#include "image/image_limits.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstddef>
#include <cstdint>

namespace {
constexpr int64_t kFuzzPixelLimit = 1 << 18;
constexpr int kCanvasSide = 64;

void startGui()
{
    // Text needs the font database, which needs an application object.
    static int argc = 1;
    static char name[] = "fuzz_emf";
    static char* argv[] = { name, nullptr };
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
    // Qt's warnings about odd pens and fonts are expected here and only slow the run down.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    vorpane::setImagePixelLimit(kFuzzPixelLimit);
}
} // namespace

// The font library keeps a cache it never frees; that is not ours to find.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool started = [] {
        startGui();
        return true;
    }();
    (void)started;
    vorpane::EnhancedMetafile metafile;
    if (!metafile.loadData({ data, size }))
        return 0;
    QImage canvas(kCanvasSide, kCanvasSide, QImage::Format_ARGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    metafile.play(painter, QRectF(0, 0, kCanvasSide, kCanvasSide));
    return 0;
}
