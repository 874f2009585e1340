#include "platform/cp1252.h"
#include "platform/output_model.h"
#include "platform/profile.h"
#include "platform/random.h"

#include <QTemporaryDir>
#include <QTest>

using namespace vorpane;

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void cp1252RoundTrip_data();
    void cp1252RoundTrip();
    void unmappableBecomesQuestionMark();
    void randomIsRepeatableAndInRange();
    void outputKeepsNewestFiftyLines();
    void profileNamesIgnoreCase();
};

void TestPlatform::cp1252RoundTrip_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("ascii") << QByteArray("Abc 123") << QString("Abc 123");
    QTest::newRow("latin1") << QByteArray("Espa\xF1"
                                          "a \xE1\xE9\xED\xF3\xFA")
                            << QString::fromUtf8("España áéíóú");
    QTest::newRow("euro and quotes") << QByteArray("\x80\x93\x94") << QString::fromUtf8("€“”");
}

void TestPlatform::cp1252RoundTrip()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    const std::string raw(bytes.constData(), size_t(bytes.size()));
    QCOMPARE(fromCp1252(raw), text);
    QCOMPARE(toCp1252(text), raw);
    QCOMPARE(cp1252(text.toStdString()), raw);
}

void TestPlatform::unmappableBecomesQuestionMark()
{
    QCOMPARE(toCp1252(QString::fromUtf8("日本")), std::string("??"));
    QCOMPARE(fromCp1252("\x81"), QString(QChar(0xFFFD)));
}

void TestPlatform::randomIsRepeatableAndInRange()
{
    seedRandom(42);
    std::vector<int> first;
    for (int i = 0; i < 1000; ++i) {
        first.push_back(nextRandom());
        QVERIFY(first.back() >= 0 && first.back() <= kRandomMax);
    }
    seedRandom(42);
    for (int i = 0; i < 1000; ++i)
        QCOMPARE(nextRandom(), first[size_t(i)]);
}

void TestPlatform::outputKeepsNewestFiftyLines()
{
    OutputModel model;
    for (int i = 1; i <= 60; ++i)
        model.addLine(std::to_string(i));
    QCOMPARE(int(model.lines().size()), OutputModel::kMaxLines);
    QCOMPARE(model.lines().front(), std::string("11"));
    QCOMPARE(model.lines().back(), std::string("60"));
    QCOMPARE(model.selectedLine(), OutputModel::kMaxLines - 1);
    model.clear();
    QCOMPARE(model.selectedLine(), -1);
}

void TestPlatform::profileNamesIgnoreCase()
{
    QTemporaryDir dir;
    setProfilePath((dir.path() + "/settings.ini").toStdString());
    QCOMPARE(Profile::readInt("Output", "FontSize", -10), -10);
    Profile::writeInt("Output", "FontSize", 12);
    QCOMPARE(Profile::readInt("OUTPUT", "fontsize", -10), 12);
    Profile::writeString("Edit", "FontFace", "Courier \xF1");
    QCOMPARE(Profile::readString("edit", "FONTFACE", "x"), std::string("Courier \xF1"));
    setProfilePath({});
}

QTEST_GUILESS_MAIN(TestPlatform)
#include "test_platform.moc"
