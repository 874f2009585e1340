// Metafiles: the header's frame, and playback of the drawing records through the mapping
// modes and transforms onto a painter.
#include "image/emf_player.h"
#include "image/emf_records.h"
#include "image_builders.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <limits>

using namespace vorpane;
using namespace vorpane::test;

using Records = std::vector<EmfRecord>;
Q_DECLARE_METATYPE(Records)

namespace {

constexpr int kCanvas = 100;
constexpr uint32_t kRed = 0x0000FF; // COLORREF: 0x00BBGGRR
constexpr uint32_t kGreen = 0x00FF00;

Bytes fl(std::initializer_list<float> values)
{
    Bytes out;
    for (float v : values) {
        uint32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        putLe32(out, bits);
    }
    return out;
}

Bytes cat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

// Red solid brush in handle 1, selected, with the pen off.
Records redFill()
{
    return { { emf::CreateBrushIndirect, ints({ 1, 0, int(kRed), 0 }) }, { emf::SelectObject, ints({ 1 }) },
        { emf::SelectObject, ints({ int(emf::kStockObject | emf::NullPen) }) } };
}

QImage play(const Bytes& file, int* skipped = nullptr)
{
    EnhancedMetafile metafile;
    QImage canvas(kCanvas, kCanvas, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    if (!metafile.loadData(file))
        return canvas;
    QPainter painter(&canvas);
    const int n = metafile.play(painter, QRectF(0, 0, kCanvas, kCanvas));
    if (skipped)
        *skipped = n;
    return canvas;
}

// Whether exactly the square 10..49 x 10..49 of the canvas is red.
bool redSquare(const QImage& canvas)
{
    for (int y = 0; y < kCanvas; ++y) {
        for (int x = 0; x < kCanvas; ++x) {
            const bool inside = x >= 10 && x < 50 && y >= 10 && y < 50;
            if ((canvas.pixel(x, y) == qRgb(255, 0, 0)) != inside) {
                qWarning("pixel %d,%d is %08x", x, y, canvas.pixel(x, y));
                return false;
            }
        }
    }
    return true;
}

} // namespace

class TestMetafile : public QObject {
    Q_OBJECT
private slots:
    void header_data();
    void header();
    void mappingModes_data();
    void mappingModes();
    void saveAndRestoreState();
    void shapesAndBitmaps();
    void textIsDrawn();
    void unknownRecordsAreSkipped();
};

void TestMetafile::header_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("loads");
    QTest::addColumn<double>("aspect");
    auto bytes = [](const Bytes& b) {
        return QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.size()));
    };
    const Bytes good = makeEmf(0, 0, 20000, 10000, {});
    QTest::newRow("frame 2:1") << bytes(good) << true << 2.0;
    QTest::newRow("offset frame") << bytes(makeEmf(-500, 300, 500, 1300, {})) << true << 1.0;
    QTest::newRow("frame without width") << bytes(makeEmf(10, 0, 10, 100, {})) << false << 0.0;
    QTest::newRow("inverted frame") << bytes(makeEmf(0, 100, 100, 0, {})) << false << 0.0;
    QTest::newRow("frame spanning the int range")
        << bytes(makeEmf(INT32_MIN, 0, INT32_MAX, 1, {})) << true << double(UINT32_MAX);
    Bytes badSignature = good;
    badSignature[40] = 'X';
    QTest::newRow("bad signature") << bytes(badSignature) << false << 0.0;
    Bytes wrongType = good;
    wrongType[0] = 2;
    QTest::newRow("first record not a header") << bytes(wrongType) << false << 0.0;
    QTest::newRow("cut header") << bytes(Bytes(good.begin(), good.begin() + 60)) << false << 0.0;
    Bytes longHeader = good;
    longHeader[4] = 0xFF;
    longHeader[5] = 0xFF;
    QTest::newRow("header longer than the file") << bytes(longHeader) << false << 0.0;
    QTest::newRow("empty") << QByteArray() << false << 0.0;
}

void TestMetafile::header()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, loads);
    QFETCH(double, aspect);
    EnhancedMetafile metafile;
    QCOMPARE(metafile.loadData(Bytes(bytes.begin(), bytes.end())), loads);
    QCOMPARE(metafile.isNull(), !loads);
    QCOMPARE(metafile.aspectRatio(), aspect);
}

void TestMetafile::mappingModes_data()
{
    // Each row draws the same square: device pixels 100..500 of a 1000-pixel reference device
    // whose frame fills the canvas, so canvas pixels 10..49.
    QTest::addColumn<int>("mapMode");
    QTest::addColumn<Records>("setup");
    QTest::addColumn<QRect>("box");
    QTest::newRow("text") << int(emf::Text) << Records {} << QRect(QPoint(100, 100), QPoint(500, 500));
    QTest::newRow("text with origins")
        << int(emf::Text)
        << Records { { emf::SetWindowOrgEx, ints({ 50, 50 }) }, { emf::SetViewportOrgEx, ints({ 20, 20 }) } }
        << QRect(QPoint(130, 130), QPoint(530, 530));
    QTest::newRow("anisotropic") << int(emf::Anisotropic)
                                 << Records { { emf::SetWindowExtEx, ints({ 10, 20 }) },
                                        { emf::SetViewportExtEx, ints({ 1000, 1000 }) } }
                                 << QRect(QPoint(1, 2), QPoint(5, 10));
    QTest::newRow("isotropic takes the smaller scale")
        << int(emf::Isotropic)
        << Records { { emf::SetWindowExtEx, ints({ 10, 20 }) },
               { emf::SetViewportExtEx, ints({ 1000, 1000 }) } }
        << QRect(QPoint(2, 2), QPoint(10, 10));
    // Ten device pixels per millimetre; y grows upwards in the metric modes.
    QTest::newRow("himetric") << int(emf::HiMetric) << Records {}
                              << QRect(QPoint(1000, -1000), QPoint(5000, -5000));
    QTest::newRow("lometric") << int(emf::LoMetric) << Records {}
                              << QRect(QPoint(100, -100), QPoint(500, -500));
    QTest::newRow("world transform") << int(emf::Text)
                                     << Records { { emf::ModifyWorldTransform,
                                            cat({ fl({ 2, 0, 0, 2, 0, 0 }), ints({ 4 }) }) } }
                                     << QRect(QPoint(50, 50), QPoint(250, 250));
    QTest::newRow("non-finite transform ignored")
        << int(emf::Text)
        << Records { { emf::SetWorldTransform,
               fl({ std::numeric_limits<float>::infinity(), 0, 0, 1, 0, 0 }) } }
        << QRect(QPoint(100, 100), QPoint(500, 500));
}

void TestMetafile::mappingModes()
{
    QFETCH(int, mapMode);
    QFETCH(Records, setup);
    QFETCH(QRect, box);
    Records records = redFill();
    records.push_back({ emf::SetMapMode, ints({ mapMode }) });
    records.insert(records.end(), setup.begin(), setup.end());
    records.push_back({ emf::Rectangle, ints({ box.left(), box.top(), box.right(), box.bottom() }) });
    QVERIFY(redSquare(play(makeEmf(0, 0, 10000, 10000, records))));
}

void TestMetafile::saveAndRestoreState()
{
    Records records = redFill();
    records.push_back({ emf::SaveDc, {} });
    records.push_back({ emf::CreateBrushIndirect, ints({ 2, 0, int(kGreen), 0 }) });
    records.push_back({ emf::SelectObject, ints({ 2 }) });
    records.push_back({ emf::SetMapMode, ints({ int(emf::HiMetric) }) });
    records.push_back({ emf::RestoreDc, ints({ -1 }) });
    records.push_back({ emf::RestoreDc, ints({ -1 }) }); // nothing left to restore: skipped
    records.push_back({ emf::Rectangle, ints({ 100, 100, 500, 500 }) });
    int skipped = 0;
    QVERIFY(redSquare(play(makeEmf(0, 0, 10000, 10000, records), &skipped)));
    QCOMPARE(skipped, 1);
}

void TestMetafile::shapesAndBitmaps()
{
    const QImage canvas = play(readFixture("shapes.emf"));
    // The fixture: red square 10..40, green circle centred (75, 25), green triangle, a 2 x 2
    // bitmap stretched over 70..90 (magenta, cyan / yellow, grey), in a 100-unit picture.
    QCOMPARE(canvas.pixel(20, 30), qRgb(255, 0, 0));
    QCOMPARE(canvas.pixel(75, 25), qRgb(0, 255, 0));
    QCOMPARE(canvas.pixel(25, 70), qRgb(0, 255, 0));
    QCOMPARE(canvas.pixel(73, 73), qRgb(255, 0, 255));
    QCOMPARE(canvas.pixel(87, 73), qRgb(0, 255, 255));
    QCOMPARE(canvas.pixel(73, 87), qRgb(255, 255, 0));
    QCOMPARE(canvas.pixel(87, 87), qRgb(128, 128, 128));
    QCOMPARE(canvas.pixel(5, 60), qRgb(255, 255, 255));
}

void TestMetafile::textIsDrawn()
{
    Bytes font = ints({ 1, -200, 0, 0, 0, 700, 0, 0 });
    const QString face = "Liberation Sans";
    for (int i = 0; i < 32; ++i)
        putLe16(font, i < face.size() ? face[i].unicode() : 0);
    const QString text = "MMM";
    // Bounds, graphics mode, scales, reference point (100, 300), characters, string offset,
    // options, clip rectangle, spacing offset; then the string.
    Bytes body = cat({ ints({ 0, 0, 0, 0, 1 }), fl({ 1, 1 }),
        ints({ 100, 300, int(text.size()), 76, 0, 0, 0, 0, 0, 0 }) });
    for (QChar c : text)
        putLe16(body, c.unicode());
    const QImage canvas = play(makeEmf(0, 0, 10000, 10000,
        { { emf::ExtCreateFontIndirectW, font }, { emf::SelectObject, ints({ 1 }) },
            { emf::SetTextColor, ints({ int(kRed) }) },
            { emf::SetBkMode, ints({ int(emf::kBkTransparent) }) }, { emf::ExtTextOutW, body } }));
    int red = 0, elsewhere = 0;
    for (int y = 0; y < kCanvas; ++y) {
        for (int x = 0; x < kCanvas; ++x) {
            if (canvas.pixel(x, y) == qRgb(255, 255, 255))
                continue;
            // The top of the 20-pixel text is at y = 30, its left edge at x = 10.
            (x >= 10 && y >= 30 && y < 52 ? red : elsewhere) += 1;
        }
    }
    QVERIFY(red > 50);
    QCOMPARE(elsewhere, 0);
}

void TestMetafile::unknownRecordsAreSkipped()
{
    Records records = redFill();
    records.push_back({ 9999, ints({ 1, 2, 3 }) });
    records.push_back({ emf::Polygon16, ints({ 0, 0, 0, 0, 1000 }) }); // claims more points than it holds
    records.push_back({ emf::SelectObject, ints({ 7 }) }); // nothing in that handle
    records.push_back({ emf::Rectangle, ints({ 100, 100, 500, 500 }) });
    int skipped = 0;
    QVERIFY(redSquare(play(makeEmf(0, 0, 10000, 10000, records), &skipped)));
    QCOMPARE(skipped, 3);
}

int runMetafileTests(int argc, char** argv)
{
    TestMetafile test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_metafile.moc"
