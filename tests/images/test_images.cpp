// Decoding the fixtures of every format and depth, the palette and transparency rules, the
// bitmap's pixel access, and drawing into a rectangle (pictures on sheets: tests/sheet).
#include "image/bmp_reader.h"
#include "image/gif_decoder.h"
#include "image/image.h"
#include "image/jpeg_reader.h"
#include "image/png_reader.h"
#include "image_builders.h"

#include <QPainter>
#include <QTest>

using namespace vorpane;
using namespace vorpane::test;

namespace {

constexpr int kPatternWidth = 13;
constexpr int kPatternHeight = 9;

// What a fixture holds: the six-colour pattern, a four-colour one, a black and white checker,
// the grey ramp, or four grey levels; exactly, with blue composited onto the PNG background,
// or only nearly (JPEG).
enum class Expect { Pattern, Pattern4, Checker, Grey, Grey4, PatternBlueComposited, PatternNear };

QRgb expectedColour(Expect expect, int x, int y)
{
    switch (expect) {
    case Expect::Pattern4:
        return patternColour((x + 2 * y) % 4, 0);
    case Expect::Checker:
        return (x + y) % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
    case Expect::Grey:
        return qRgb(greyLevel(x, y), greyLevel(x, y), greyLevel(x, y));
    case Expect::Grey4: {
        const int level = 85 * ((x + y) % 4);
        return qRgb(level, level, level);
    }
    case Expect::PatternBlueComposited:
        return patternColour(x, y) == 0xFF0000FFu ? kPngBackground : patternColour(x, y);
    default:
        return patternColour(x, y);
    }
}

int channelDistance(QRgb a, QRgb b)
{
    return std::max(
        { std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b)) });
}

} // namespace

Q_DECLARE_METATYPE(Expect)

class TestImages : public QObject {
    Q_OBJECT
private slots:
    void formatFromExtension_data();
    void formatFromExtension();
    void decodesFixtures_data();
    void decodesFixtures();
    void jpegPalettes_data();
    void jpegPalettes();
    void gifTransparencyPalette_data();
    void gifTransparencyPalette();
    void transparentIndexShowsWhatIsUnder();
    void animatedGifShowsLastImage();
    void gifInterlaceOrder_data();
    void gifInterlaceOrder();
    void pixelAccessKeepsNeighbours_data();
    void pixelAccessKeepsNeighbours();
    void colourAccess();
    void stretchCoversDestination();
    void drawOnUpwardAxisKeepsTopRowUp();
};

void TestImages::formatFromExtension_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("format");
    QTest::newRow("bmp") << "a.bmp" << 0;
    QTest::newRow("upper JPG") << "PHOTO.JPG" << 1;
    QTest::newRow("jpeg loads like jpg") << "photo.jpeg" << 1;
    QTest::newRow("mixed-case Gif") << "x.Gif" << 2;
    QTest::newRow("xpm known, no reader") << "x.xpm" << 3;
    QTest::newRow("png") << "dir/x.png" << 4;
    QTest::newRow("last dot counts") << "x.png.bmp" << 0;
    QTest::newRow("ends in dot") << "x." << -1;
    QTest::newRow("no dot") << "bmp" << -1;
    QTest::newRow("unknown") << "x.tif" << -1;
    QTest::newRow("longer than a name") << "x.bmpx" << -1;
    QTest::newRow("dot in folder only") << "dir.png/x" << -1;
}

void TestImages::formatFromExtension()
{
    QFETCH(QString, name);
    QFETCH(int, format);
    QCOMPARE(int(Image::formatForFileName(name.toStdString())), format);
}

void TestImages::decodesFixtures_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("bits");
    QTest::addColumn<Expect>("expect");
    QTest::newRow("bmp 1 bit") << "mono1.bmp" << 1 << Expect::Checker;
    QTest::newRow("bmp 4 bits") << "pattern4.bmp" << 4 << Expect::Pattern;
    QTest::newRow("bmp 8 bits") << "pattern8.bmp" << 8 << Expect::Pattern;
    QTest::newRow("bmp 8 bits rle") << "pattern8rle.bmp" << 8 << Expect::Pattern;
    QTest::newRow("bmp 16 bits fields") << "pattern16.bmp" << 24 << Expect::Pattern;
    QTest::newRow("bmp 24 bits") << "pattern24.bmp" << 24 << Expect::Pattern;
    QTest::newRow("bmp 32 bits v5 header") << "pattern32.bmp" << 24 << Expect::Pattern;
    QTest::newRow("gif") << "pattern.gif" << 8 << Expect::Pattern;
    QTest::newRow("gif interlaced") << "pattern_interlaced.gif" << 8 << Expect::Pattern;
    QTest::newRow("png rgb") << "pattern_rgb.png" << 24 << Expect::Pattern;
    QTest::newRow("png rgb 16 bits") << "pattern_rgb16.png" << 24 << Expect::Pattern;
    QTest::newRow("png palette") << "pattern_palette.png" << 8 << Expect::Pattern;
    QTest::newRow("png palette 2 bits") << "palette2.png" << 8 << Expect::Pattern4;
    QTest::newRow("png interlaced") << "pattern_interlaced.png" << 24 << Expect::Pattern;
    QTest::newRow("png alpha") << "pattern_alpha.png" << 24 << Expect::PatternBlueComposited;
    QTest::newRow("png palette trns") << "pattern_palette_trns.png" << 8 << Expect::PatternBlueComposited;
    QTest::newRow("png grey 8") << "grey8.png" << 8 << Expect::Grey;
    QTest::newRow("png grey 16") << "grey16.png" << 8 << Expect::Grey;
    QTest::newRow("png grey 2") << "grey2.png" << 8 << Expect::Grey4;
    QTest::newRow("jpeg colour") << "pattern.jpg" << 8 << Expect::PatternNear;
    QTest::newRow("jpeg progressive") << "pattern_progressive.jpg" << 8 << Expect::PatternNear;
    QTest::newRow("jpeg cmyk") << "pattern_cmyk.jpg" << 8 << Expect::PatternNear;
}

void TestImages::decodesFixtures()
{
    QFETCH(QString, file);
    QFETCH(int, bits);
    QFETCH(Expect, expect);
    const Image image(fixture(file.toUtf8().constData()).toStdString());
    QVERIFY(!image.isNull());
    QCOMPARE(image.width(), kPatternWidth);
    QCOMPARE(image.height(), kPatternHeight);
    QCOMPARE(image.bitsPerPixel(), bits);
    const QImage pixels = image.toQImage();
    // 128 colours quantised from a lossy file are only near the original.
    const int tolerance = expect == Expect::PatternNear ? 80 : 0;
    for (int y = 0; y < kPatternHeight; ++y) {
        for (int x = 0; x < kPatternWidth; ++x) {
            const QRgb got = pixels.pixel(x, y);
            const QRgb want = expectedColour(expect, x, y);
            if (channelDistance(got, want) > tolerance)
                QFAIL(qPrintable(
                    QString("pixel %1,%2 is %3, wanted %4").arg(x).arg(y).arg(got, 8, 16).arg(want, 8, 16)));
        }
    }
}

void TestImages::jpegPalettes_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("grey");
    QTest::newRow("colour") << "pattern.jpg" << false;
    QTest::newRow("grey") << "grey.jpg" << true;
}

void TestImages::jpegPalettes()
{
    QFETCH(QString, file);
    QFETCH(bool, grey);
    ImageBitmap bitmap;
    QVERIFY(readJpeg(readFixture(file.toUtf8().constData()), bitmap));
    QCOMPARE(bitmap.bitsPerPixel(), 8);
    if (grey) {
        QCOMPARE(int(bitmap.palette().size()), 256);
        for (int i = 0; i < 256; ++i)
            QCOMPARE(bitmap.palette()[size_t(i)], qRgb(i, i, i));
    } else {
        QVERIFY(!bitmap.palette().empty());
        QVERIFY(bitmap.palette().size() <= size_t(kJpegQuantisedColours));
    }
}

void TestImages::gifTransparencyPalette_data()
{
    QTest::addColumn<int>("tableSize");
    QTest::addColumn<bool>("tableHasWhite");
    QTest::addColumn<int>("transparent");
    QTest::addColumn<int>("paletteSize");
    QTest::newRow("opaque keeps its table") << 4 << false << -1 << 4;
    QTest::newRow("transparent grows to 256") << 4 << false << 1 << 256;
    QTest::newRow("transparent with white") << 4 << true << 2 << 256;
    QTest::newRow("transparent is the last entry") << 256 << false << 255 << 256;
    QTest::newRow("transparent past the table") << 2 << false << 7 << 256;
}

void TestImages::gifTransparencyPalette()
{
    QFETCH(int, tableSize);
    QFETCH(bool, tableHasWhite);
    QFETCH(int, transparent);
    QFETCH(int, paletteSize);
    GifLayout layout;
    for (int i = 0; i < tableSize; ++i)
        layout.globalTable.push_back(qRgb(i, 10, 20));
    if (tableHasWhite)
        layout.globalTable[0] = qRgb(255, 255, 255);
    layout.transparent = transparent;
    ImageBitmap bitmap;
    QVERIFY(readGif(makeGif(layout, std::vector<uint8_t>(12, 1)), bitmap));
    QCOMPARE(int(bitmap.palette().size()), paletteSize);
    QCOMPARE(bitmap.transparentIndex(), transparent);
    if (transparent < 0)
        return;
    QCOMPARE(bitmap.palette()[size_t(transparent)], qRgb(0, 0, 0));
    for (int i = tableSize; i < 256; ++i) {
        if (i != transparent)
            QCOMPARE(bitmap.palette()[size_t(i)], qRgb(255, 255, 255));
    }
    if (transparent != 255)
        QCOMPARE(bitmap.palette()[255], qRgb(255, 255, 255));
    for (int i = 0; i < std::min(tableSize, 255); ++i) {
        if (i != transparent)
            QCOMPARE(bitmap.palette()[size_t(i)], layout.globalTable[size_t(i)]);
    }
}

void TestImages::transparentIndexShowsWhatIsUnder()
{
    const Image image(fixture("pattern_transparent.gif").toStdString());
    QVERIFY(image.bitmap().transparentIndex() >= 0);
    QCOMPARE(int(image.bitmap().palette().size()), 256);
    QImage canvas(kPatternWidth, kPatternHeight, QImage::Format_ARGB32);
    canvas.fill(qRgb(10, 200, 30));
    {
        QPainter painter(&canvas);
        image.draw(painter, QRectF(0, 0, kPatternWidth, kPatternHeight));
    }
    for (int y = 0; y < kPatternHeight; ++y) {
        for (int x = 0; x < kPatternWidth; ++x) {
            const QRgb want = patternColour(x, y) == 0xFF0000FFu ? qRgb(10, 200, 30) : patternColour(x, y);
            QCOMPARE(canvas.pixel(x, y), want);
        }
    }
}

void TestImages::animatedGifShowsLastImage()
{
    GifDecodeReport report;
    ImageBitmap bitmap;
    QVERIFY(readGif(readFixture("animated.gif"), bitmap, &report));
    QCOMPARE(report.images, 2);
    QVERIFY(report.trailer);
    // The second frame is the pattern upside down.
    const QImage pixels = bitmap.toQImage();
    for (int x = 0; x < kPatternWidth; ++x)
        QCOMPARE(pixels.pixel(x, 0), patternColour(x, kPatternHeight - 1));
}

void TestImages::gifInterlaceOrder_data()
{
    QTest::addColumn<int>("height");
    for (int h : { 1, 2, 3, 5, 8, 9, 17 })
        QTest::addRow("%d rows", h) << h;
}

void TestImages::gifInterlaceOrder()
{
    QFETCH(int, height);
    // Rows are stored in the order 0, 8, 16 ..., 4, 12 ..., 2, 6 ..., 1, 3 ...; row r holds index r.
    std::vector<uint8_t> order;
    for (auto [start, step] : { std::pair { 0, 8 }, { 4, 8 }, { 2, 4 }, { 1, 2 } })
        for (int r = start; r < height; r += step)
            order.push_back(uint8_t(r));
    GifLayout layout;
    layout.width = 1;
    layout.height = height;
    layout.interlaced = true;
    layout.globalTable.resize(32, qRgb(0, 0, 0));
    ImageBitmap bitmap;
    QVERIFY(readGif(makeGif(layout, order), bitmap));
    for (int r = 0; r < height; ++r)
        QCOMPARE(bitmap.pixel(0, r), r);
}

void TestImages::pixelAccessKeepsNeighbours_data()
{
    QTest::addColumn<int>("bits");
    QTest::newRow("1 bit") << 1;
    QTest::newRow("4 bits") << 4;
    QTest::newRow("8 bits") << 8;
}

void TestImages::pixelAccessKeepsNeighbours()
{
    QFETCH(int, bits);
    ImageBitmap bitmap;
    QVERIFY(bitmap.create(19, 3, bits));
    const int mask = (1 << bits) - 1;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 19; ++x)
            bitmap.setPixel(x, y, (x * 7 + y) & mask);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 19; ++x)
            QCOMPARE(bitmap.pixel(x, y), (x * 7 + y) & mask);
    // Rows are stored bottom-up and padded to 4 bytes.
    QCOMPARE(bitmap.stride(), size_t((19 * bits + 31) / 32 * 4));
    QCOMPARE(bitmap.storage().data(), bitmap.row(2));
    QCOMPARE(bitmap.pixel(19, 0), -1);
}

void TestImages::colourAccess()
{
    ImageBitmap rgb;
    QVERIFY(rgb.create(2, 2, 24));
    rgb.setColour(1, 0, qRgb(255, 10, 20));
    const uint8_t* p = rgb.row(0) + 3;
    QCOMPARE(int(p[0]), 20); // blue, green, red in memory
    QCOMPARE(int(p[1]), 10);
    QCOMPARE(int(p[2]), 255);
    QCOMPARE(rgb.colour(1, 0), qRgb(255, 10, 20));
    QCOMPARE(rgb.pixel(1, 0), -1);

    ImageBitmap indexed;
    QVERIFY(indexed.create(2, 2, 8));
    // A new table repeats the 16 VGA colours.
    QCOMPARE(indexed.colourTable()[9], qRgb(255, 0, 0));
    QCOMPARE(indexed.colourTable()[25], qRgb(255, 0, 0));
    indexed.setPalette({ qRgb(0, 0, 0), qRgb(250, 0, 0), qRgb(0, 0, 250) });
    indexed.setColour(0, 1, qRgb(240, 20, 10));
    QCOMPARE(indexed.pixel(0, 1), 1);
    QCOMPARE(indexed.colour(0, 1), qRgb(250, 0, 0));
    // Equally near entries: the first wins.
    QCOMPARE(vorpane::nearestPaletteIndex(indexed.palette(), 200, 0, 200), 1);
    QCOMPARE(vorpane::nearestPaletteIndex({}, 1, 2, 3), -1);
}

void TestImages::stretchCoversDestination()
{
    ImageBitmap bitmap;
    QVERIFY(bitmap.create(2, 2, 24));
    bitmap.setColour(0, 0, qRgb(255, 0, 0));
    bitmap.setColour(1, 0, qRgb(0, 255, 0));
    bitmap.setColour(0, 1, qRgb(0, 0, 255));
    bitmap.setColour(1, 1, qRgb(255, 255, 0));
    Image image;
    image.bitmap() = bitmap;
    QImage canvas(40, 40, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        image.draw(painter, QRectF(10, 10, 20, 10));
    }
    QCOMPARE(canvas.pixel(10, 10), qRgb(255, 0, 0));
    QCOMPARE(canvas.pixel(29, 10), qRgb(0, 255, 0));
    QCOMPARE(canvas.pixel(10, 19), qRgb(0, 0, 255));
    QCOMPARE(canvas.pixel(29, 19), qRgb(255, 255, 0));
    QCOMPARE(canvas.pixel(9, 10), qRgb(255, 255, 255));
    QCOMPARE(canvas.pixel(30, 19), qRgb(255, 255, 255));
    QCOMPARE(canvas.pixel(10, 20), qRgb(255, 255, 255));
    QCOMPARE(canvas.pixel(19, 9), qRgb(255, 255, 255));
}

void TestImages::drawOnUpwardAxisKeepsTopRowUp()
{
    ImageBitmap bitmap;
    QVERIFY(bitmap.create(1, 2, 24));
    bitmap.setColour(0, 0, qRgb(255, 0, 0));
    bitmap.setColour(0, 1, qRgb(0, 0, 255));
    Image image;
    image.bitmap() = bitmap;
    QImage canvas(10, 20, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        // A page whose y grows upwards, as sheets are laid out: logical y 0 is the top edge.
        painter.setWindow(0, 0, 10, -20);
        image.draw(painter, QRectF(0, 0, 10, -20));
    }
    QCOMPARE(canvas.pixel(5, 2), qRgb(255, 0, 0));
    QCOMPARE(canvas.pixel(5, 17), qRgb(0, 0, 255));
}

int runImageTests(int argc, char** argv)
{
    TestImages test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_images.moc"
