// Hostile and broken files: every reader refuses quietly or keeps what it could decode, never
// crashes, and never allocates past the caps.
#include "image/bmp_reader.h"
#include "image/emf_player.h"
#include "image/gif_decoder.h"
#include "image/image.h"
#include "image/image_limits.h"
#include "image/jpeg_reader.h"
#include "image/png_reader.h"
#include "image_builders.h"
#include "platform/recording_ui.h"

#include <QPainter>
#include <QTest>
#include <functional>
#include <zlib.h>

using namespace vorpane;
using namespace vorpane::test;

namespace {

// What a decoder left behind: whether it loaded, and the picture it holds.
struct Decoded {
    bool loaded = false;
    bool empty = true; // no picture held
    int64_t width = 0;
    int64_t height = 0;
};

Decoded bitmapResult(bool loaded, const ImageBitmap& out)
{
    return { loaded, out.isNull(), out.width(), out.height() };
}

using Decoder = std::function<Decoded(const Bytes&)>;

Decoder decoderFor(const QString& file)
{
    if (file.endsWith(".bmp"))
        return [](const Bytes& b) {
            ImageBitmap out;
            return bitmapResult(readBmp(b, out), out);
        };
    if (file.endsWith(".gif"))
        return [](const Bytes& b) {
            ImageBitmap out;
            return bitmapResult(readGif(b, out), out);
        };
    if (file.endsWith(".png"))
        return [](const Bytes& b) {
            ImageBitmap out;
            return bitmapResult(readPng(b, out), out);
        };
    if (file.endsWith(".jpg"))
        return [](const Bytes& b) {
            ImageBitmap out;
            return bitmapResult(readJpeg(b, out), out);
        };
    return [](const Bytes& b) {
        EnhancedMetafile m;
        const bool loaded = m.loadData(b);
        // A metafile holds records, not pixels: a loaded one must still play onto a small canvas.
        if (loaded) {
            QImage canvas(16, 16, QImage::Format_ARGB32);
            QPainter painter(&canvas);
            m.play(painter, QRectF(0, 0, 16, 16));
        }
        return Decoded { loaded, m.isNull(), loaded ? 1 : 0, loaded ? 1 : 0 };
    };
}

// What a damaged picture must give: a clean failure that holds nothing, or a picture of positive
// size within the pixel cap in force. (A GIF whose header is whole loads even with no image after
// it; it then holds nothing either.)
bool cleanFailureOrBoundedPicture(const Decoded& decoded)
{
    if (decoded.empty)
        return decoded.width == 0 && decoded.height == 0;
    return decoded.loaded && decoded.width > 0 && decoded.height > 0
        && decoded.width * decoded.height <= imagePixelLimit();
}

void pngChunk(Bytes& out, const char* type, const Bytes& data)
{
    Bytes typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    const uint32_t length = uint32_t(data.size());
    for (int shift : { 24, 16, 8, 0 })
        out.push_back(uint8_t(length >> shift));
    out.insert(out.end(), typed.begin(), typed.end());
    const uint32_t crc = uint32_t(crc32(0, typed.data(), uInt(typed.size())));
    for (int shift : { 24, 16, 8, 0 })
        out.push_back(uint8_t(crc >> shift));
}

Bytes pngHeaderOnly(uint32_t width, uint32_t height)
{
    Bytes out = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
    Bytes ihdr;
    for (uint32_t v : { width, height })
        for (int shift : { 24, 16, 8, 0 })
            ihdr.push_back(uint8_t(v >> shift));
    ihdr.insert(ihdr.end(), { 8, 2, 0, 0, 0 });
    pngChunk(out, "IHDR", ihdr);
    pngChunk(out, "IEND", {});
    return out;
}

} // namespace

class TestImageBadInput : public QObject {
    Q_OBJECT
private slots:
    void bmpHeaders_data();
    void bmpHeaders();
    void bmpTruncatedPixelsKeepRows();
    void bmpRunLengthStaysInside();
    void gifBrokenStreams_data();
    void gifBrokenStreams();
    void gifHugeImageIsRefused();
    void pngAndJpegLibraryErrors();
    void everyPrefixDecodesSafely_data();
    void everyPrefixDecodesSafely();
    void flippedHeaderBytesDecodeSafely_data();
    void flippedHeaderBytesDecodeSafely();
    void failedLoadsAreQuietAndEmpty_data();
    void failedLoadsAreQuietAndEmpty();
};

void TestImageBadInput::bmpHeaders_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("compression");
    QTest::addColumn<int>("headerSize");
    QTest::addColumn<int>("coloursUsed");
    QTest::addColumn<bool>("loads");
    QTest::newRow("plain 8 bits") << 4 << 3 << 8 << 0 << 40 << 0 << true;
    QTest::newRow("core header") << 4 << 3 << 8 << 0 << 12 << 0 << true;
    QTest::newRow("top-down") << 4 << -3 << 24 << 0 << 40 << 0 << true;
    QTest::newRow("zero width") << 0 << 3 << 8 << 0 << 40 << 0 << false;
    QTest::newRow("zero height") << 4 << 0 << 8 << 0 << 40 << 0 << false;
    QTest::newRow("negative width") << -4 << 3 << 8 << 0 << 40 << 0 << false;
    QTest::newRow("most negative height") << 4 << INT32_MIN << 24 << 0 << 40 << 0 << false;
    QTest::newRow("width beyond int rows") << INT32_MAX << 1 << 24 << 0 << 40 << 0 << false;
    QTest::newRow("area at the pixel cap") << 8192 << 8192 << 1 << 0 << 40 << 0 << true;
    QTest::newRow("area one row past the cap") << 8192 << 8193 << 1 << 0 << 40 << 0 << false;
    QTest::newRow("area overflowing 32 bits") << 65536 << 65536 << 24 << 0 << 40 << 0 << false;
    QTest::newRow("2 bits") << 4 << 3 << 2 << 0 << 40 << 0 << false;
    QTest::newRow("7 bits") << 4 << 3 << 7 << 0 << 40 << 0 << false;
    QTest::newRow("0 bits") << 4 << 3 << 0 << 0 << 40 << 0 << false;
    QTest::newRow("64 bits") << 4 << 3 << 64 << 0 << 40 << 0 << false;
    QTest::newRow("16 colours in 4 bits") << 4 << 3 << 4 << 0 << 40 << 16 << true;
    QTest::newRow("17 colours in 4 bits") << 4 << 3 << 4 << 0 << 40 << 17 << false;
    QTest::newRow("huge colour count") << 4 << 3 << 8 << 0 << 40 << 0x7FFFFFFF << false;
    QTest::newRow("header size 0") << 4 << 3 << 8 << 0 << 0 << 0 << false;
    QTest::newRow("header size 39") << 4 << 3 << 8 << 0 << 39 << 0 << false;
    QTest::newRow("header size 200") << 4 << 3 << 8 << 0 << 200 << 0 << false;
    QTest::newRow("rle8 on 24 bits") << 4 << 3 << 24 << 1 << 40 << 0 << false;
    QTest::newRow("top-down rle") << 4 << -3 << 8 << 1 << 40 << 0 << false;
    QTest::newRow("embedded jpeg") << 4 << 3 << 24 << 4 << 40 << 0 << false;
}

void TestImageBadInput::bmpHeaders()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, bits);
    QFETCH(int, compression);
    QFETCH(int, headerSize);
    QFETCH(int, coloursUsed);
    QFETCH(bool, loads);
    BmpLayout layout;
    layout.width = width;
    layout.height = height;
    layout.bits = uint16_t(bits);
    layout.compression = uint32_t(compression);
    layout.headerSize = uint32_t(headerSize);
    layout.coloursUsed = uint32_t(coloursUsed);
    if (bits > 0 && bits <= 8 && coloursUsed <= 256)
        layout.colours.assign(size_t(coloursUsed ? coloursUsed : 1 << bits), qRgb(1, 2, 3));
    layout.pixels.assign(64, 0x11);
    ImageBitmap bitmap;
    QCOMPARE(readBmp(makeBmp(layout), bitmap), loads);
    QCOMPARE(bitmap.isNull(), !loads);
}

void TestImageBadInput::bmpTruncatedPixelsKeepRows()
{
    BmpLayout layout;
    layout.colours = { qRgb(0, 0, 0), qRgb(255, 0, 0) };
    layout.coloursUsed = 2;
    layout.pixels = { 1, 1, 1, 1, 1, 1 }; // the bottom row and half of the next
    ImageBitmap bitmap;
    QVERIFY(readBmp(makeBmp(layout), bitmap));
    for (int x = 0; x < 4; ++x) {
        QCOMPARE(bitmap.pixel(x, 2), 1);
        QCOMPARE(bitmap.pixel(x, 1), x < 2 ? 1 : 0);
        QCOMPARE(bitmap.pixel(x, 0), 0);
    }
}

void TestImageBadInput::bmpRunLengthStaysInside()
{
    BmpLayout layout;
    layout.compression = 2; // 4-bit runs
    layout.bits = 4;
    layout.width = 5;
    layout.height = 2;
    layout.colours.assign(16, qRgb(0, 0, 0));
    layout.pixels = {
        5, 0x12, // run of 5: 1 2 1 2 1 on the bottom row
        0, 0, // end of line
        0, 3, 0x34, 0x50, // absolute 3 4 5, padded to a word
        200, 0x77, // a run far past the row's end is clipped
        0, 2, 250, 250, // a delta far outside
        9, 0x99, // lands outside: ignored
    };
    ImageBitmap bitmap;
    QVERIFY(readBmp(makeBmp(layout), bitmap));
    const std::vector<int> bottom = { 1, 2, 1, 2, 1 };
    const std::vector<int> top = { 3, 4, 5, 7, 7 };
    for (int x = 0; x < 5; ++x) {
        QCOMPARE(bitmap.pixel(x, 1), bottom[size_t(x)]);
        QCOMPARE(bitmap.pixel(x, 0), top[size_t(x)]);
    }
}

void TestImageBadInput::gifBrokenStreams_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("loads");
    QTest::addColumn<int>("images");
    QTest::addColumn<int>("firstPixel");
    QTest::addColumn<int>("badCodes");

    GifLayout layout;
    layout.globalTable = { qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(255, 0, 0), qRgb(0, 0, 255) };
    const std::vector<uint8_t> pixels = { 2, 2, 3, 3, 1, 1, 0, 0, 2, 3, 1, 0 };
    auto bytes = [](const Bytes& b) {
        return QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.size()));
    };

    QTest::newRow("sound") << bytes(makeGif(layout, pixels)) << true << 1 << 2 << 0;
    Bytes wrongMagic = makeGif(layout, pixels);
    wrongMagic[3] = '7';
    QTest::newRow("not GIF8") << bytes(wrongMagic) << false << 0 << -1 << 0;
    QTest::newRow("header cut") << bytes(Bytes(wrongMagic.begin(), wrongMagic.begin() + 10)) << false << 0
                                << -1 << 0;
    GifLayout noTrailer = layout;
    noTrailer.trailer = false;
    QTest::newRow("no trailer") << bytes(makeGif(noTrailer, pixels)) << true << 1 << 2 << 0;
    for (int size : { 1, 10, 12 }) {
        GifLayout odd = layout;
        odd.minCodeSize = size;
        QTest::addRow("minimum code size %d stops decoding", size)
            << bytes(makeGifWithCodes(odd, 3, { 4, 2, 2, 5 })) << true << 1 << 0 << 0;
    }
    // Clear, then 2, then a code past the table's next entry (6): counted, decoded as 6.
    QTest::newRow("codes beyond the table")
        << bytes(makeGifWithCodes(layout, 3, { 4, 2, 7, 5 })) << true << 1 << 2 << 1;
    QTest::newRow("first code beyond the roots")
        << bytes(makeGifWithCodes(layout, 3, { 4, 7, 3, 5 })) << true << 1 << 3 << 1;
    Bytes cut = makeGif(layout, pixels);
    cut.resize(cut.size() - 4);
    QTest::newRow("data cut short") << bytes(cut) << true << 1 << 2 << 0;

    Bytes header = makeGif(layout, pixels);
    const size_t image = size_t(std::find(header.begin() + 25, header.end(), 0x2C) - header.begin());
    for (uint8_t size : { 0, 3 }) {
        Bytes gce(header.begin(), header.begin() + long(image));
        gce.insert(gce.end(), { 0x21, 0xF9, size, 1, 0, 0, 3, 0 });
        gce.insert(gce.end(), header.begin() + long(image), header.end());
        QTest::addRow("control block of %d bytes ends the file", size) << bytes(gce) << true << 0 << -1 << 0;
    }
    Bytes longGce(header.begin(), header.begin() + long(image));
    longGce.insert(longGce.end(), { 0x21, 0xF9, 6, 1, 0, 0, 3, 0xAA, 0xBB, 0 });
    longGce.insert(longGce.end(), header.begin() + long(image), header.end());
    QTest::newRow("longer control block") << bytes(longGce) << true << 1 << 2 << 0;
    Bytes junkExtension(header.begin(), header.begin() + long(image));
    junkExtension.insert(junkExtension.end(), { 0x21, 0xFE, 200, 'x' });
    QTest::newRow("extension running past the end") << bytes(junkExtension) << true << 0 << -1 << 0;
    GifLayout empty = layout;
    empty.width = 0;
    QTest::newRow("zero-size image") << bytes(makeGif(empty, {})) << true << 0 << -1 << 0;
}

void TestImageBadInput::gifBrokenStreams()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, loads);
    QFETCH(int, images);
    QFETCH(int, firstPixel);
    QFETCH(int, badCodes);
    ImageBitmap bitmap;
    GifDecodeReport report;
    const Bytes data(bytes.begin(), bytes.end());
    QCOMPARE(readGif(data, bitmap, &report), loads);
    QCOMPARE(report.images, images);
    QCOMPARE(report.badCodes, badCodes);
    QCOMPARE(bitmap.pixel(0, 0), firstPixel);
}

void TestImageBadInput::gifHugeImageIsRefused()
{
    GifLayout layout;
    layout.width = 65535;
    layout.height = 65535;
    layout.globalTable = { qRgb(0, 0, 0), qRgb(255, 255, 255) };
    ImageBitmap bitmap;
    QVERIFY(!readGif(makeGifWithCodes(layout, 3, { 4, 1, 5 }), bitmap));
    QVERIFY(bitmap.isNull());
}

void TestImageBadInput::pngAndJpegLibraryErrors()
{
    ImageBitmap bitmap;
    std::string error;
    QVERIFY(!readPng(pngHeaderOnly(100000, 100000), bitmap, &error));
    QVERIFY(!error.empty());
    QVERIFY(!readPng(pngHeaderOnly(4, 4), bitmap, &error)); // no image data
    Bytes badCrc = readFixture("pattern_rgb.png");
    QVERIFY(badCrc.size() > 33);
    badCrc[29] ^= 0x01; // inside the IHDR checksum
    QVERIFY(!readPng(badCrc, bitmap));
    QVERIFY(bitmap.isNull());
    QVERIFY(!readPng(readFixture("pattern.gif"), bitmap));

    Bytes jpeg = readFixture("pattern.jpg");
    QVERIFY(jpeg.size() > 16);
    const uint8_t startOfFrame[] = { 0xFF, 0xC0 };
    const auto sof = std::search(jpeg.begin(), jpeg.end(), std::begin(startOfFrame), std::end(startOfFrame));
    QVERIFY(jpeg.end() - sof > 9);
    // Frame header: length (2), precision (1), height (2), width (2).
    sof[5] = 0xFF;
    sof[6] = 0xF0;
    sof[7] = 0xFF;
    sof[8] = 0xF0;
    QVERIFY(!readJpeg(jpeg, bitmap, &error));
    QVERIFY(bitmap.isNull());
    QVERIFY(!readJpeg(Bytes { 0xFF, 0xD8, 0xFF, 0xFF, 0x00 }, bitmap, &error));
    QVERIFY(!error.empty());
}

void TestImageBadInput::everyPrefixDecodesSafely_data()
{
    QTest::addColumn<QString>("file");
    for (const char* name : { "pattern8.bmp", "pattern8rle.bmp", "pattern16.bmp", "pattern.gif",
             "pattern_interlaced.gif", "animated.gif", "pattern_interlaced.png", "pattern.jpg",
             "pattern_progressive.jpg", "shapes.emf" })
        QTest::newRow(name) << QString(name);
}

void TestImageBadInput::everyPrefixDecodesSafely()
{
    QFETCH(QString, file);
    const Bytes whole = readFixture(file.toUtf8().constData());
    QVERIFY(!whole.empty());
    const Decoder decode = decoderFor(file);
    QVERIFY(decode(whole).loaded);
    for (size_t n = 0; n < whole.size(); ++n) {
        const Bytes prefix(whole.begin(), whole.begin() + long(n));
        const Decoded decoded = decode(prefix);
        QVERIFY2(cleanFailureOrBoundedPicture(decoded), qPrintable(QString("prefix of %1 bytes").arg(n)));
        const bool loaded = decoded.loaded;
        // A GIF with a whole header always loads; PNG and JPEG need their end.
        if (file.endsWith(".gif") && n >= 13)
            QVERIFY(loaded);
    }
}

void TestImageBadInput::flippedHeaderBytesDecodeSafely_data() { everyPrefixDecodesSafely_data(); }

void TestImageBadInput::flippedHeaderBytesDecodeSafely()
{
    QFETCH(QString, file);
    const Bytes whole = readFixture(file.toUtf8().constData());
    const Decoder decode = decoderFor(file);
    // Small limits keep this quick: flipped size fields must not turn into huge allocations.
    setImagePixelLimit(1 << 16);
    QString failure;
    for (size_t i = 0; i < std::min<size_t>(whole.size(), 128) && failure.isEmpty(); ++i) {
        for (uint8_t mask : { 0x01, 0x80, 0xFF }) {
            Bytes changed = whole;
            changed[i] ^= mask;
            if (!cleanFailureOrBoundedPicture(decode(changed)))
                failure = QString("byte %1 xor 0x%2").arg(i).arg(mask, 2, 16, QChar('0'));
        }
    }
    setImagePixelLimit(kMaxImagePixels);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
}

void TestImageBadInput::failedLoadsAreQuietAndEmpty_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("missing file") << fixture("missing.bmp");
    QTest::newRow("xpm has no reader") << fixture("missing.xpm");
    QTest::newRow("unknown extension") << fixture("shapes.emf");
    QTest::newRow("folder") << fixture("");
}

void TestImageBadInput::failedLoadsAreQuietAndEmpty()
{
    QFETCH(QString, path);
    ScopedRecordingUi ui;
    Image image;
    QVERIFY(!image.load(path.toStdString()));
    QVERIFY(image.isNull());
    QCOMPARE(image.width(), 0);
    QCOMPARE(image.height(), 0);
    QVERIFY(ui.boxes.empty());
}

int runImageBadInputTests(int argc, char** argv)
{
    TestImageBadInput test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_image_bad_input.moc"
