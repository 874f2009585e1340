// Drawing a picture file into a box as sheets and handouts do: the fitted rectangle, names
// relative to the program folder, and metafiles played at their frame's aspect.
#include "image/emf_records.h"
#include "image_builders.h"
#include "platform/program_folder.h"
#include "sheet/image_picture.h"

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

using namespace vorpane;
using namespace vorpane::test;

class TestPictureDrawing : public QObject {
    Q_OBJECT
private slots:
    void fittedRectangle_data();
    void fittedRectangle();
    void drawPictureRelativeToProgramFolder();
    void fittedMetafileKeepsFrameAspect();
};

void TestPictureDrawing::fittedRectangle_data()
{
    QTest::addColumn<QRectF>("box");
    QTest::addColumn<double>("aspect");
    QTest::addColumn<QRectF>("fitted");
    // A 200 x 100 picture in a 40 x 40 mm box: 40 wide, 20 high, centred vertically.
    QTest::newRow("wide in square") << QRectF(0, 0, 4000, 4000) << 2.0 << QRectF(0, 1000, 4000, 2000);
    // In an 80 x 20 mm box: 40 wide, 20 high, centred horizontally.
    QTest::newRow("wide in wider") << QRectF(0, 0, 8000, 2000) << 2.0 << QRectF(2000, 0, 4000, 2000);
    QTest::newRow("same aspect") << QRectF(10, 10, 200, 100) << 2.0 << QRectF(10, 10, 200, 100);
    // y pointing up: the box runs downwards from its top edge.
    QTest::newRow("upward axis") << QRectF(0, 0, 4000, -4000) << 2.0 << QRectF(0, -1000, 4000, -2000);
    QTest::newRow("no aspect") << QRectF(0, 0, 10, 10) << 0.0 << QRectF(0, 0, 10, 10);
}

void TestPictureDrawing::fittedRectangle()
{
    QFETCH(QRectF, box);
    QFETCH(double, aspect);
    QFETCH(QRectF, fitted);
    QCOMPARE(fitPictureRect(box, aspect), fitted);
}

void TestPictureDrawing::drawPictureRelativeToProgramFolder()
{
    setProgramFolder(qEnvironmentVariable("VORPANE_SOURCE_DIR").toStdString() + "/tests/data/images");
    QImage canvas(26, 26, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        QVERIFY(drawPicture(painter, QRectF(0, 0, 26, 26), "pattern24.bmp", PictureFit::Fitted));
        QVERIFY(!drawPicture(painter, QRectF(0, 0, 26, 26), "missing.bmp", PictureFit::Fitted));
        QVERIFY(!drawPicture(painter, QRectF(0, 0, 26, 26), "no_extension", PictureFit::Fitted));
    }
    setProgramFolder({});
    // 13 x 9 fitted into 26 x 26: 26 x 18, centred vertically from y = 4.
    QCOMPARE(canvas.pixel(0, 3), qRgb(255, 255, 255));
    QCOMPARE(canvas.pixel(0, 4), patternColour(0, 0));
    QCOMPARE(canvas.pixel(25, 21), patternColour(12, 8));
    QCOMPARE(canvas.pixel(25, 22), qRgb(255, 255, 255));
}

void TestPictureDrawing::fittedMetafileKeepsFrameAspect()
{
    constexpr int kCanvas = 100;
    QTemporaryDir dir;
    const QString path = dir.filePath("wide.emf");
    constexpr int kRed = 0x0000FF; // COLORREF: 0x00BBGGRR
    // A red brush in handle 1, selected, the pen off, and a rectangle over the whole frame.
    const std::vector<EmfRecord> records { { emf::CreateBrushIndirect, ints({ 1, 0, kRed, 0 }) },
        { emf::SelectObject, ints({ 1 }) },
        { emf::SelectObject, ints({ int(emf::kStockObject | emf::NullPen) }) },
        { emf::Rectangle, ints({ 0, 0, 1000, 500 }) } };
    const Bytes bytes = makeEmf(0, 0, 10000, 5000, records);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    file.close();
    QImage canvas(kCanvas, kCanvas, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        QVERIFY(drawPicture(painter, QRectF(0, 0, kCanvas, kCanvas), path.toStdString(), PictureFit::Fitted));
    }
    // 2:1 in a square: full width, half the height, centred vertically.
    QCOMPARE(canvas.pixel(50, 24), qRgb(255, 255, 255));
    QCOMPARE(canvas.pixel(50, 26), qRgb(255, 0, 0));
    QCOMPARE(canvas.pixel(50, 73), qRgb(255, 0, 0));
    QCOMPARE(canvas.pixel(50, 76), qRgb(255, 255, 255));
}

int runPictureDrawingTests(int argc, char** argv)
{
    TestPictureDrawing test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_picture_drawing.moc"
