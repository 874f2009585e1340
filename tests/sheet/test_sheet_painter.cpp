// SheetPainter onto QImage: geometry of lines, fills, pictures, check boxes, table entries and
// writing lines measured in pixels at 254 dpi (one pixel is 0.1 mm), the user-text look from
// the profile, bad pages, and whole pages compared with reference images.

#include "platform/profile.h"
#include "platform/recording_ui.h"
#include "sheet/sheet_painter.h"
#include "sheet/sheet_script.h"
#include "sheet_test_support.h"

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

using namespace vorpane;
using namespace vorpane::test;

namespace {

constexpr double kTenthMmDpi = 254; // one pixel per 0.1 mm
constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlue = 0xFF0000FF;
constexpr QRgb kUserBlue = 0xFF000080; // the default user-text colour

struct Page {
    SheetValues values;
    TestHost host { values };
    SheetLayout layout;
    QImage image;
    explicit Page(const std::string& script, double dpi = kTenthMmDpi)
    {
        layout.setHost(&host);
        addTestFields(layout, values);
        ok = runSheetScriptText(script, layout);
        image = renderSheet(layout, dpi, UserTextLook());
    }
    QRgb at(int x, int y) const { return image.pixel(x, y) | 0xFF000000; }
    bool ok = false;
};

// Rows of a column with ink, grouped into runs: the number of separate marks down the column.
int marksDown(const QImage& image, int x)
{
    int marks = 0;
    bool inMark = false;
    for (int y = 0; y < image.height(); ++y) {
        const bool ink = qGray(image.pixel(x, y)) < 128;
        if (ink && !inMark)
            ++marks;
        inMark = ink;
    }
    return marks;
}

// The bounding box of every non-white pixel.
QRect inkBounds(const QImage& image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

} // namespace

class SheetPainterTest : public QObject {
    Q_OBJECT

private:
    ScopedRecordingUi m_ui;
    QTemporaryDir m_dir;
    QString m_wide; // 200 x 100 pixels, solid blue

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        setProfilePath((m_dir.path() + "/profile.ini").toStdString());
        QImage wide(200, 100, QImage::Format_RGB32);
        wide.fill(QColor(0, 0, 255));
        m_wide = m_dir.path() + "/wide.bmp";
        QVERIFY(wide.save(m_wide, "BMP"));
    }

    void shapes()
    {
        Page page("sheet.sheetsize(20, 20); sheet.setlinecolour(0xFF0000); sheet.drawline(2, 5, 18, 5);"
                  "sheet.fillrectangle(2, 8, 6, 12, 0x00FF00); sheet.setlinecolour(0x0000FF);"
                  "sheet.drawrectangle(10, 8, 18, 16);");
        QCOMPARE(page.image.size(), QSize(200, 200));
        QCOMPARE(page.at(100, 50), 0xFFFF0000u);
        QCOMPARE(page.at(100, 45), kWhite);
        QCOMPARE(page.at(40, 100), 0xFF00FF00u);
        QCOMPARE(page.at(100, 80), kBlue); // outline
        QCOMPARE(page.at(140, 120), kWhite); // hollow inside
    }

    void pictures_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QRect>("drawn");
        // A 200 x 100 picture fitted in 40 x 40 mm: 40 x 20 mm, centred vertically.
        QTest::newRow("fitted, tall box") << "drawpicture(0, 0, 40, 40, P)" << QRect(0, 100, 400, 200);
        // In 80 x 20 mm: 40 x 20 mm centred horizontally.
        QTest::newRow("fitted, wide box") << "drawpicture(0, 0, 80, 20, P)" << QRect(200, 0, 400, 200);
        QTest::newRow("stretched") << "stretchpicture(10, 10, 50, 30, P)" << QRect(100, 100, 400, 200);
        QTest::newRow("missing file") << "drawpicture(0, 0, 40, 40, \"nowhere.png\")" << QRect();
        QTest::newRow("no extension") << "drawpicture(0, 0, 40, 40, \"wide\")" << QRect();
    }
    void pictures()
    {
        QFETCH(QString, call);
        QFETCH(QRect, drawn);
        const QString script = "var P = \"" + m_wide + "\"; sheet.sheetsize(80, 40); sheet." + call + ";";
        Page page(script.toStdString());
        QVERIFY(page.ok);
        QCOMPARE(inkBounds(page.image), drawn);
        if (!drawn.isEmpty())
            QCOMPARE(page.at(drawn.center().x(), drawn.center().y()), kBlue);
        QCOMPARE(m_ui.statusText, std::string());
    }

    // A cache keeps decoded pictures between replays and notices a changed file.
    void pictureCache()
    {
        const QString path = m_dir.path() + "/cached.bmp";
        QImage red(4, 4, QImage::Format_RGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(path, "BMP"));
        SheetPictureCache cache;
        QVERIFY(cache.pixels(path.toStdString()));
        QCOMPARE(cache.pixels(path.toStdString())->pixel(0, 0) | 0xFF000000, 0xFFFF0000u);
        QImage green(6, 6, QImage::Format_RGB32);
        green.fill(Qt::green);
        QVERIFY(green.save(path, "BMP"));
        QCOMPARE(cache.pixels(path.toStdString())->width(), 6);
        QCOMPARE(cache.size(), size_t(1));
        QVERIFY(!cache.pixels((m_dir.path() + "/none.gif").toStdString()));
        // A pipe named as a picture is not read (reading it would wait for a writer for ever).
        const QByteArray pipe = QFile::encodeName(m_dir.path() + "/pipe.bmp");
        QVERIFY(mkfifo(pipe.constData(), 0600) == 0);
        QVERIFY(!cache.pixels(pipe.toStdString()));
    }

    // Past its bound in bytes the cache lets the least recently used pictures go.
    void pictureCacheIsBoundedByBytes()
    {
        QStringList paths;
        for (const char* name : { "a", "b", "c" }) {
            paths << m_dir.path() + "/bound_" + name + ".bmp";
            QImage image(100, 100, QImage::Format_RGB32);
            image.fill(Qt::blue);
            QVERIFY(image.save(paths.back(), "BMP"));
        }
        // Each picture holds 30,000 bytes decoded and 40,000 drawn: room for two.
        SheetPictureCache cache(150000);
        QVERIFY(cache.pixels(paths[0].toStdString()));
        QVERIFY(cache.pixels(paths[1].toStdString()));
        QVERIFY(cache.pixels(paths[0].toStdString())); // a used again: b is now the oldest
        QVERIFY(cache.pixels(paths[2].toStdString()));
        QCOMPARE(cache.size(), size_t(2));
        QCOMPARE(cache.heldBytes(), size_t(140000));
    }

    void checkBoxes_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("shadow");
        QTest::addColumn<bool>("crossed");
        QTest::addColumn<bool>("shadowed");
        QTest::newRow("5 is crossed") << 5 << "" << true << false;
        QTest::newRow("0 is empty") << 0 << "" << false << false;
        QTest::newRow("shadow of 1 mm") << 0 << "sheet.setsheetparameter(1, 1);" << false << true;
        QTest::newRow("the first shadow parameter wins")
            << 1 << "sheet.setsheetparameter(1, 0); sheet.setsheetparameter(1, 1);" << true << false;
    }
    void checkBoxes()
    {
        QFETCH(int, value);
        QFETCH(QString, shadow);
        QFETCH(bool, crossed);
        QFETCH(bool, shadowed);
        Page page(("sheet.sheetsize(20, 20);" + shadow + "sheet.addfield(5, 5, 15, 15, field.checked);")
                      .toStdString());
        page.values.checked = value;
        page.image = renderSheet(page.layout, kTenthMmDpi, UserTextLook());
        QCOMPARE(page.at(100, 100) == kUserBlue, crossed); // centre, where the diagonals cross
        QCOMPARE(page.at(50, 100), 0xFF000000u); // left side of the box
        QCOMPARE(page.at(155, 155) == 0xFF000000u, shadowed); // below and right of the box
    }

    void tableEntries_data()
    {
        QTest::addColumn<QString>("era");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("circled");
        QTest::newRow("number equals the text") << "1920"
                                                << "1920" << true;
        QTest::newRow("text entry") << "1920"
                                    << "\"1920\"" << true;
        QTest::newRow("another era") << "1890"
                                     << "1920" << false;
    }
    void tableEntries()
    {
        QFETCH(QString, era);
        QFETCH(QString, entry);
        QFETCH(bool, circled);
        SheetValues values;
        Page page(("sheet.sheetsize(20, 20); sheet.addtableentry(2, 5, 18, 15, field.era, " + entry + ");")
                      .toStdString());
        page.values.era = era.toStdString();
        page.image = renderSheet(page.layout, kTenthMmDpi, UserTextLook());
        QCOMPARE(inkBounds(page.image).isEmpty(), !circled);
        if (circled)
            QVERIFY(qAbs(inkBounds(page.image).left() - 20) <= 1
                && qAbs(inkBounds(page.image).bottom() - 150) <= 1);
        QCOMPARE(page.layout.placed().front()->context.userTextSize, 100);
    }

    void writingLines_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("lines");
        QTest::newRow("shorter than one line still gets one") << "2, 2, 18, 3" << 1;
        QTest::newRow("18 mm of 10 points") << "2, 2, 18, 20" << 4;
        QTest::newRow("upside-down box") << "2, 20, 18, 2" << 1;
    }
    void writingLines()
    {
        QFETCH(QString, box);
        QFETCH(int, lines);
        Page page(("sheet.sheetsize(20, 30); sheet.setfont(\"Liberation Serif\", 10, 0);"
                   "sheet.drawtextbox("
            + box + ", \"\", sheet.fieldunderline);")
                      .toStdString());
        QCOMPARE(marksDown(page.image, 100), lines);
    }

    void textLayout_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("right");
        QTest::addColumn<int>("lines");
        const QString text = "\"ink ink ink ink ink ink\"";
        QTest::newRow("multiline without width is one line")
            << "drawtextbox(5, 2, 5, 40, " + text + ", 4)" << 50 << -1 << 1;
        QTest::newRow("multiline wraps") << "drawtextbox(5, 2, 25, 40, " + text + ", 4)" << 50 << 250 << 2;
        QTest::newRow("right aligned at the point") << "drawtext(70, 2, " + text + ", 1)" << -1 << 700 << 1;
        QTest::newRow("centre wins over right") << "drawtext(40, 2, \"ink\", 3)" << -1 << -1 << 1;
        QTest::newRow("clipped box") << "drawtextbox(5, 2, 20, 40, " + text + ", 8)" << 50 << 200 << 1;
        QTest::newRow("point text is never clipped") << "drawtext(5, 2, " + text + ", 8)" << 50 << -1 << 1;
    }
    void textLayout()
    {
        QFETCH(QString, call);
        QFETCH(int, left);
        QFETCH(int, right);
        QFETCH(int, lines);
        Page page(("sheet.sheetsize(80, 45); sheet.setfont(\"Liberation Sans\", 10, 0); sheet." + call + ";")
                      .toStdString());
        const QRect ink = inkBounds(page.image);
        QVERIFY(!ink.isEmpty());
        if (left >= 0)
            QVERIFY2(qAbs(ink.left() - left) <= 3, qPrintable(QString::number(ink.left())));
        if (right >= 0)
            QVERIFY2(ink.right() <= right, qPrintable(QString::number(ink.right())));
        if (call.contains("\"ink\", 3")) // centred on x = 40 mm
            QVERIFY(qAbs(ink.center().x() - 400) <= 3);
        const int lineHeight = 41; // 10 points of Liberation Sans: ascent plus descent, in 0.1 mm
        QCOMPARE((ink.height() + lineHeight - 1) / lineHeight, lines);
    }

    void rotatedRuns_data()
    {
        QTest::addColumn<int>("degrees");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("length");
        QTest::newRow("44") << 44 << 100 << -200 << 400;
        QTest::newRow("91") << 91 << 500 << -200 << 600;
        QTest::newRow("180") << 180 << 500 << -800 << 400;
        QTest::newRow("270") << 270 << 100 << -800 << 600;
        QTest::newRow("315 is back at the start") << 315 << 100 << -200 << 400;
        QTest::newRow("360") << 360 << 100 << -200 << 400;
    }
    void rotatedRuns()
    {
        QFETCH(int, degrees);
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, length);
        const RotatedRun run = rotatedRun(SheetRect { 100, -200, 500, -800 }, degrees);
        QCOMPARE(run.x, x);
        QCOMPARE(run.y, y);
        QCOMPARE(run.length, length);
    }

    // A 90-degree writing line runs down from the box's top-right corner, one ascent to its left.
    void rotatedWritingLine()
    {
        Page page("sheet.sheetsize(30, 30); sheet.setfontrotated(\"Liberation Sans\", 10, 0, 90);"
                  "sheet.drawtextbox(5, 5, 25, 25, \"\", sheet.fieldunderline);");
        const QRect ink = inkBounds(page.image);
        QCOMPARE(ink.top(), 50);
        QVERIFY(qAbs(ink.bottom() - 250) <= 1);
        QCOMPARE(ink.width(), 1);
        QVERIFY(ink.left() > 200 && ink.left() < 240);
    }

    void userTextFromProfile()
    {
        Profile::writeInt("Sheet", "UserTextcolour", 0x0000FF); // red, written as one writer spells it
        Profile::write(profile_keys::kUserTextFace, "Liberation Mono");
        const UserTextLook look = UserTextLook::fromProfile();
        QCOMPARE(look.colour, SheetColour(0x0000FF));
        QCOMPARE(look.face, std::string("Liberation Mono"));
        SheetValues values;
        SheetLayout layout;
        runSheetScriptText("sheet.sheetsize(30, 10); sheet.setfieldtextstyle(sheet.usertext);"
                           "sheet.drawtextbox(1, 1, 29, 9, \"Written\", sheet.usertext);",
            layout);
        const QImage image = renderSheet(layout, kTenthMmDpi, look);
        bool red = false;
        for (int x = 0; x < image.width() && !red; ++x)
            for (int y = 0; y < image.height() && !red; ++y)
                red = qRed(image.pixel(x, y)) > 200 && qGreen(image.pixel(x, y)) < 60;
        QVERIFY(red);
        Profile::write(profile_keys::kUserTextColour, profile_keys::kUserTextColour.defaultValue);
        Profile::write(profile_keys::kUserTextFace, profile_keys::kUserTextFace.defaultValue);
    }

    void badPages_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<double>("dpi");
        QTest::addColumn<QSize>("size");
        QTest::newRow("0 x 0 is a 1 mm page") << "sheet.sheetsize(0, 0);" << 254.0 << QSize(10, 10);
        QTest::newRow("too large to paint") << "sheet.sheetsize(100000, 100000);" << 96.0 << QSize(0, 0);
        QTest::newRow("no resolution") << "" << 0.0 << QSize(0, 0);
        QTest::newRow("huge font, huge text box")
            << "sheet.setfont(\"Arial\", 1000000000.0, 0);"
               "sheet.drawtextbox(-100000000.0, 0, 100000000.0, 100000000.0, \"W W\", 4 | 8 | 16);"
            << 96.0 << QSize(378, 378);
    }
    void badPages()
    {
        QFETCH(QString, script);
        QFETCH(double, dpi);
        QFETCH(QSize, size);
        Page page(script.toStdString(), dpi);
        QVERIFY(page.ok);
        QCOMPARE(page.image.size(), size);
    }

    // Whole pages against committed references; small font differences stay within the tolerance.
    // VORPANE_UPDATE_REFERENCES=1 rewrites the references.
    void referenceImages_data()
    {
        QTest::addColumn<QString>("script");
        QTest::newRow("form") << "reference_form";
        QTest::newRow("error page") << "reference_error";
    }
    void referenceImages()
    {
        QFETCH(QString, script);
        QFile source(sheetFixture(script + ".vis"));
        QVERIFY(source.open(QIODevice::ReadOnly));
        Page page(source.readAll().toStdString(), 96);
        const QString referencePath = sheetFixture(script + ".png");
        if (qEnvironmentVariableIntValue("VORPANE_UPDATE_REFERENCES"))
            QVERIFY(page.image.save(referencePath, "PNG"));
        const QImage reference(referencePath);
        QVERIFY2(!reference.isNull(), qPrintable(referencePath));
        const QImage actual = page.image.convertToFormat(reference.format());
        const int allowed = reference.width() * reference.height() / 50; // 2 %
        const int differing = differingPixels(actual, reference, 96);
        QVERIFY2(differing <= allowed, qPrintable(QString("%1 pixels differ").arg(differing)));
    }
};

int runSheetPainterTests(int argc, char** argv)
{
    SheetPainterTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_sheet_painter.moc"
