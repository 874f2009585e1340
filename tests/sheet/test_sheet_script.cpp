// The sheet and field objects as scripts see them, asserted on the layout they build: items and
// their coordinates in 0.01 mm, colours, the page size, the field rules, the error page, limits.

#include "platform/profile.h"
#include "platform/program_folder.h"
#include "platform/recording_ui.h"
#include "sheet/font_families.h"
#include "sheet/sheet_script.h"
#include "sheet_test_support.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace vorpane;
using namespace vorpane::test;

namespace {

struct Sheet {
    SheetValues values;
    TestHost host { values };
    SheetLayout layout;
    Sheet()
    {
        layout.setHost(&host);
        addTestFields(layout, values);
    }
    bool run(const std::string& script) { return runSheetScriptText(script, layout); }
};

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class SheetScriptTest : public QObject {
    Q_OBJECT

private:
    ScopedRecordingUi m_ui;
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        setProfilePath((m_dir.path() + "/profile.ini").toStdString());
    }
    void init() { m_ui.reset(); }

    void items_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("item");
        QTest::newRow("line") << "drawline(10, 20, 30, 20)"
                              << "2 1000 -2000 3000 -2000";
        QTest::newRow("truncated toward zero") << "drawline(1.239, -0.019, 0.5, 2.999)"
                                               << "2 123 1 50 -299";
        QTest::newRow("beyond the integer range") << "drawline(1000000000000.0, -1000000000000.0, 0, 0)"
                                                  << "2 2147483647 2147483647 0 0";
        QTest::newRow("picture fitted") << "drawpicture(1, 2, 3, 4, \"a.png\")"
                                        << "3 100 -200 300 -400 'a.png'";
        QTest::newRow("picture stretched") << "stretchpicture(1, 2, 3, 4, 7)"
                                           << "4 100 -200 300 -400 '7'";
        QTest::newRow("rectangle") << "drawrectangle(0, 0, 188, 215)"
                                   << "5 0 0 18800 -21500";
        QTest::newRow("text") << "drawtext(5.5, 7.25, \"x\", 9)"
                              << "6 550 -725 'x' 9";
        QTest::newRow("text box") << "drawtextbox(1, 1, 2, 2, 42, \"3\")"
                                  << "7 100 -100 200 -200 '42' 3";
        QTest::newRow("fill, red becomes the low byte") << "fillrectangle(0, 0, 1, 1, 0xFF0000)"
                                                        << "8 0 0 100 -100 0x0000ff";
        QTest::newRow("line colour") << "setlinecolour(0xFF0000)"
                                     << "9 0x0000ff";
        QTest::newRow("line color") << "setlinecolor(0x123456)"
                                    << "9 0x563412";
        QTest::newRow("top byte dropped") << "settextcolour(0x1200FF00)"
                                          << "10 0x00ff00";
        QTest::newRow("text color") << "settextcolor(0x0000FF)"
                                    << "10 0xff0000";
        QTest::newRow("field text style") << "setfieldtextstyle(sheet.usertext | sheet.aligncenter)"
                                          << "11 34";
        QTest::newRow("font size in tenths") << "setfont(\"Arial\", 10.55, sheet.fontbold)"
                                             << "12 'Arial' 105 1 0";
        QTest::newRow("member names ignore case") << "SETFONT(\"Arial\", 8, 0)"
                                                  << "12 'Arial' 80 0 0";
        QTest::newRow("font rotated") << "setfontrotated(\"Arial\", 9, 2, 90.55)"
                                      << "13 'Arial' 90 2 905";
        QTest::newRow("user text size") << "setusertextsize(9.99)"
                                        << "14 99 0";
        QTest::newRow("user text size rotated") << "setusertextsizerotate(12, -45)"
                                                << "15 120 -450";
        QTest::newRow("shadow parameter in mm") << "setsheetparameter(sheet.checkboxshadowoffset, 0.35)"
                                                << "18 1 35";
        QTest::newRow("other parameters as integers") << "setsheetparameter(sheet.shortsheet, 1.9)"
                                                      << "18 700 1";
        QTest::newRow("field") << "addfield(1, 2, 30, 6, field.name)"
                               << "16 100 -200 3000 -600 name";
        QTest::newRow("table entry") << "addtableentry(1, 2, 3, 4, field.era, 1920)"
                                     << "17 100 -200 300 -400 era '1920'";
    }
    void items()
    {
        QFETCH(QString, call);
        QFETCH(QString, item);
        Sheet sheet;
        QVERIFY(sheet.run("sheet." + call.toStdString() + ";"));
        QCOMPARE(QString::fromStdString(describeAll(sheet.layout)), item + "\n");
        QCOMPARE(m_ui.boxes.size(), size_t(0));
    }

    void pageSize_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("default") << "" << 10000 << 10000;
        QTest::newRow("normal page") << "sheet.sheetsize(188.0, 215.0);" << 18800 << 21500;
        QTest::newRow("0 x 0 is 1 x 1 mm") << "sheet.sheetsize(0, 0);" << 100 << 100;
        QTest::newRow("negative") << "sheet.sheetsize(-210, 297);" << 100 << 29700;
        QTest::newRow("a hundredth stays") << "sheet.sheetsize(0.01, 0.5);" << 1 << 50;
        QTest::newRow("last call wins")
            << "sheet.sheetsize(10, 10); sheet.sheetsize(20, 30);" << 2000 << 3000;
    }
    void pageSize()
    {
        QFETCH(QString, script);
        QFETCH(int, width);
        QFETCH(int, height);
        Sheet sheet;
        sheet.layout.resetPageSize();
        QVERIFY(sheet.run(script.toStdString()));
        QCOMPARE(sheet.layout.pageWidth(), width);
        QCOMPARE(sheet.layout.pageHeight(), height);
        QCOMPARE(sheet.layout.itemCount(), size_t(0));
    }

    // Runs that stop: the box, and what the layout holds afterwards (the error page over what
    // was drawn before the failure).
    void failures_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("itemsBeforeErrorPage");
        QTest::newRow("too few") << "sheet.drawline(1, 2, 3);"
                                 << "Line 1 : drawline() : too few parameters" << 0;
        QTest::newRow("too many") << "sheet.setfont(\"A\", 1, 0, 5);"
                                  << "Line 1 : setfont() : too many parameters" << 0;
        QTest::newRow("unknown member") << "sheet.drawcircle(1);"
                                        << "Line 1 : Member function drawcircle not found!" << 0;
        QTest::newRow("unknown property") << "var a = sheet.bigfont;"
                                          << "Line 1 : Member variable \"bigfont\" not found" << 0;
        QTest::newRow("constants are read-only") << "sheet.fontbold = 3;"
                                                 << "" << 0;
        QTest::newRow("field ids are read-only") << "field.name = 3;"
                                                 << "" << 0;
        QTest::newRow("half-way") << "sheet.drawline(0,0,1,1);\nsheet.drawline(0,0,2,2);\nsheet.nothing();"
                                  << "Line 3 : Member function nothing not found!" << 2;
        QTest::newRow("field not found") << "sheet.drawline(0,0,1,1); field.getfieldvalue(99);"
                                         << "Field not found: 99" << 1;
        QTest::newRow("not writable") << "field.setfieldvalue(field.name, \"x\");"
                                      << "Field is protected: -1" << 0;
        QTest::newRow("not readable") << "field.getfieldvalue(field.checked);"
                                      << "Field is protected: -4" << 0;
    }
    void failures()
    {
        QFETCH(QString, script);
        QFETCH(QString, box);
        QFETCH(int, itemsBeforeErrorPage);
        Sheet sheet;
        QVERIFY(!sheet.run(script.toStdString()));
        if (!box.isEmpty())
            QCOMPARE(QString::fromStdString(m_ui.texts()), box);
        QVERIFY(!m_ui.boxes.empty());
        QCOMPARE(sheet.layout.itemCount(), size_t(itemsBeforeErrorPage + 4));
        QCOMPARE(describe(*sheet.layout.items().back()),
            std::string("7 300 -1000 10000 -2500 '") + kRunFailedMessage + "' 0");
        QCOMPARE(sheet.layout.pageWidth(), 10000);
        QCOMPARE(sheet.layout.pageHeight(), 2500);
    }

    void errorPage()
    {
        SheetLayout layout;
        appendErrorPage(layout);
        QCOMPARE(describeAll(layout),
            std::string("12 'Arial' 160 0 0\n"
                        "7 300 -200 10000 -2500 'Sheet Script Error' 0\n"
                        "12 'MS Sans Serif' 80 0 0\n"
                        "7 300 -1000 10000 -2500 '")
                + kDefaultErrorMessage + "' 0\n");
    }

    void fields()
    {
        Sheet sheet;
        QVERIFY(
            sheet.run("output.write(field.NAME + \" \" + field.era + \" \" + field.getfieldvalue(field.name)"
                      " + \" \" + field.getfieldvalue(-2) + \" \" + field.getfieldvalue(507));"
                      "field.setfieldvalue(field.notes, 12 * 2);"
                      "field.setfieldvalue(\"-3\", field.getfieldvalue(field.notes) + \"!\");"
                      "sheet.addfield(0, 0, 1, 1, 12345);"));
        QCOMPARE(m_ui.output().lines().back(), std::string("-1 507 Ada Crane 31 1920"));
        QCOMPARE(sheet.values.notes, std::string("24!"));
        QCOMPARE(sheet.layout.itemCount(), size_t(0)); // unknown id: nothing, no message
        QVERIFY(m_ui.boxes.empty());
    }

    void tableEntryOnCheckBox()
    {
        Sheet sheet;
        QVERIFY(sheet.run("sheet.addtableentry(0, 0, 1, 1, field.checked, 1);"
                          "sheet.addtableentry(0, 0, 1, 1, field.portrait, \"a\");"
                          "sheet.addtableentry(0, 0, 1, 1, field.age, 31);"
                          "sheet.addfield(0, 0, 1, 1, field.checked);"));
        QCOMPARE(QString::fromStdString(m_ui.texts()),
            QString("checked cannot be placed in a table\nportrait cannot be placed in a table"));
        QCOMPARE(sheet.layout.placed().size(), size_t(2));
        QVERIFY(sheet.layout.placed()[0]->isTableEntry());
        QCOMPARE(sheet.layout.placed()[1]->field->name(), std::string("checked"));
    }

    void sheetParameters()
    {
        Sheet sheet;
        sheet.layout.addSheetParameterName("shortsheet", kShortSheet);
        QVERIFY(sheet.run("sheet.setsheetparameter(1, 0.5); sheet.setsheetparameter(1, 2);"
                          "sheet.setsheetparameter(sheet.SHORTSHEET, 1);"
                          "output.write(sheet.checkboxshadowoffset + sheet.shortsheet);"));
        QCOMPARE(sheet.layout.sheetParameter(kCheckboxShadowOffset, 0), 50);
        QCOMPARE(sheet.layout.sheetParameter(kShortSheet, 0), 1);
        QCOMPARE(sheet.layout.sheetParameter(kShowCoreFirearms, 7), 7);
        QCOMPARE(m_ui.output().lines().back(), std::string("701"));
    }

    // A runaway script stops at the limits of the layout; the error page still fits.
    void limits_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("items");
        QTest::newRow("items") << "var i; for (i = 0; i < 300000; i++) sheet.drawline(0, 0, i, 1);"
                               << int(kMaxSheetItems);
        QTest::newRow("text: a megabyte drawn a hundred times")
            << "var s = \"0123456789abcdef\", i; for (i = 0; i < 16; i++) s = s + s;"
               "for (i = 0; i < 100; i++) sheet.drawtext(0, 0, s, 0);"
            << int(kMaxSheetTextBytes / (1024 * 1024));
    }
    void limits()
    {
        QFETCH(QString, script);
        QFETCH(int, items);
        Sheet sheet;
        QVERIFY(!sheet.run(script.toStdString()));
        QCOMPARE(sheet.layout.itemCount(), size_t(items) + 4);
        QCOMPARE(m_ui.boxes.size(), size_t(1));
        QVERIFY(m_ui.boxes[0].text.find("The sheet is too large") != std::string::npos);
    }

    // Placed list 0 anchor, 1 name, 2 age, 3 era entry, 4 notes, 5 name again (disabled below).
    void navigation_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("hit");
        QTest::newRow("inside, under the anchor") << 1500 << -1500 << 1;
        QTest::newRow("on the border") << 1000 << -1500 << -1;
        QTest::newRow("table entry") << 4500 << -1500 << 3;
        QTest::newRow("nothing there") << 9000 << -9000 << -1;
    }
    void navigation()
    {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, hit);
        Sheet sheet;
        QVERIFY(sheet.run("sheet.addfield(0, 0, 50, 50, field.anchor);"
                          "sheet.addfield(10, 10, 20, 20, field.name);"
                          "sheet.addfield(20, 10, 30, 20, field.age);"
                          "sheet.addtableentry(40, 10, 50, 20, field.notes, \"x\");"
                          "sheet.addfield(10, 30, 20, 40, field.notes);"
                          "sheet.addfield(10, 50, 20, 60, field.name);"));
        QCOMPARE(sheet.layout.hitTest(x, y), hit);

        sheet.layout.placed()[5]->enabled = 0;
        QList<int> forward, backward;
        for (int i = 0; i < 3; ++i)
            forward << sheet.layout.moveToNextField(true);
        sheet.layout.currentField = -1;
        for (int i = 0; i < 3; ++i)
            backward << sheet.layout.moveToNextField(false);
        QCOMPARE(forward, QList<int>({ 1, 4, 1 }));
        QCOMPARE(backward, QList<int>({ 4, 1, 4 }));
    }

    void noTabStops()
    {
        Sheet sheet;
        QVERIFY(sheet.run("sheet.addfield(20, 10, 30, 20, field.age);"));
        sheet.layout.currentField = 0;
        QCOMPARE(sheet.layout.moveToNextField(true), -1);
        QCOMPARE(sheet.layout.currentField, -1);
    }

    void findValidFont_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("found");
        QTest::newRow("exact match stops, written as installed") << "liberation sans"
                                                                 << "Liberation Sans";
        QTest::newRow("else the last that starts so") << "Liberation"
                                                      << "Liberation Serif";
        QTest::newRow("none") << "Zapf"
                              << "";
        QTest::newRow("empty prefix takes the last") << ""
                                                     << "Liberation Serif";
    }
    void findValidFont()
    {
        QFETCH(QString, prefix);
        QFETCH(QString, found);
        const std::vector<std::string> families { "Comic Neue", "Liberation Mono", "Liberation Sans",
            "Liberation Sans Narrow", "Liberation Serif" };
        QCOMPARE(QString::fromStdString(vorpane::findValidFont(prefix.toStdString(), families)), found);
    }

    void findValidFontInstalled()
    {
        Sheet sheet;
        QVERIFY(sheet.run("output.write(sheet.findvalidfont(\"Liberation Sans\"));"));
        QCOMPARE(m_ui.output().lines().back(), std::string("Liberation Sans"));
    }

    // Script choice and the named run, over a program folder of our own.
    void namedScripts()
    {
        QTemporaryDir folder;
        setProgramFolder(folder.path().toStdString());
        writeFile(folder.path() + "/b.vis", "sheet.sheetsize(50, 60);\r\nsheet.drawline(0, 0, 1, 1);\r\n");
        writeFile(folder.path() + "/a.vis", "sheet.drawline(0, 0, 1, ;");
        QCOMPARE(chooseSheetScript("b", "vis"), std::string("b"));
        QCOMPARE(chooseSheetScript("b.VIS", "vis"), std::string("b"));
        QCOMPARE(chooseSheetScript("gone", "vis"), std::string("a"));
        QCOMPARE(chooseSheetScript("", "vhs"), std::string());

        Sheet sheet;
        QVERIFY(runSheetScriptNamed("b", "vis", sheet.layout));
        QCOMPARE(sheet.layout.pageWidth(), 5000);
        QCOMPARE(sheet.layout.itemCount(), size_t(1));
        QCOMPARE(sheet.host.bindCount, 1);

        // A parse error is a load failure; the old drawing does not stay under the error page.
        QVERIFY(!runSheetScriptNamed("a", "vis", sheet.layout));
        QCOMPARE(sheet.layout.itemCount(), size_t(4));
        QCOMPARE(describe(*sheet.layout.items().back()),
            std::string("7 300 -1000 10000 -2500 '") + kLoadFailedMessage + "' 0");
        QCOMPARE(m_ui.boxes.size(), size_t(1)); // the parser's own box, once

        QVERIFY(!runSheetScriptNamed("", "vhs", sheet.layout));
        QCOMPARE(describe(*sheet.layout.items().back()),
            std::string("7 300 -1000 10000 -2500 'There are no sheet files available (*.vhs)' 0"));
        QCOMPARE(sheet.host.bindCount, 3);
        setProgramFolder({});
    }
};

int runSheetScriptTests(int argc, char** argv)
{
    SheetScriptTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_sheet_script.moc"
