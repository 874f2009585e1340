// What the sheet views decide without a widget: how a placement is edited, what an edit stores,
// how suggestions are ordered and found, the image dialog's filter, where the printed page
// starts, and the investigator's options list.

#include "image/image.h"
#include "platform/cp1252.h"
#include "platform/profile.h"
#include "platform/recording_ui.h"
#include "sheet/field_edit.h"
#include "sheet/investigator_defaults.h"
#include "sheet/investigator_document_model.h"
#include "sheet/sheet_item.h"
#include "sheet/sheet_layout.h"
#include "sheet/sheet_painter.h"
#include "sheet/sheet_printing.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

using namespace vorpane;
using script::ScriptValue;

namespace {

// A layout with one text and one number field over values the test owns.
struct Fields {
    std::string text;
    int number = 0;
    SheetLayout layout;
    Fields()
    {
        layout.addTextField("text", FieldReadable | FieldTabStop, [this] { return &text; });
        layout.addNumberField("number", FieldReadable | FieldTabStop, [this] { return &number; });
    }
    PlacedField& place(const char* name)
    {
        const SheetField* field = layout.findFieldByName(name);
        return *layout.placeField(SheetRect { 1000, -1000, 5000, -1500 }, field->id());
    }
};

// The first row and column with anything darker than white, or (-1, -1).
QPoint firstInk(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128)
                return QPoint(x, y);
        }
    }
    return QPoint(-1, -1);
}

} // namespace

class TestFieldEditing : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void editLook_data();
    void editLook();
    void numbersAreDigitsOnly_data();
    void numbersAreDigitsOnly();
    void multilineTextsKeepTheirLineEnds_data();
    void multilineTextsKeepTheirLineEnds();
    void suggestionsSortedAndFound_data();
    void suggestionsSortedAndFound();
    void imageFilterForQtDialogs();
    void printedPageStartsAtMargins_data();
    void printedPageStartsAtMargins();
    void optionsFileOfRuleFile_data();
    void optionsFileOfRuleFile();

private:
    RecordingUi m_ui;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestFieldEditing::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    setProfilePath(m_dir->filePath(QStringLiteral("profile.ini")).toStdString());
    installUi(&m_ui);
}

void TestFieldEditing::cleanup()
{
    installUi(nullptr);
    setProfilePath({});
    m_ui.reset();
}

void TestFieldEditing::editLook_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("fontRotation");
    QTest::addColumn<int>("userRotation");
    QTest::addColumn<bool>("rotated");
    QTest::addColumn<bool>("userFont");
    QTest::addColumn<int>("alignment");
    QTest::newRow("plain") << 0 << 0 << 0 << false << false << int(EditAlignment::Left);
    QTest::newRow("turned font") << 0 << 900 << 0 << true << false << int(EditAlignment::Left);
    QTest::newRow("turned user text") << int(UserText) << 0 << 40 << true << true << int(EditAlignment::Left);
    // The user text's rotation only counts for a user-text field.
    QTest::newRow("user rotation without user text")
        << 0 << 0 << 40 << false << false << int(EditAlignment::Left);
    QTest::newRow("turned font with user text")
        << int(UserText) << 450 << 0 << true << true << int(EditAlignment::Left);
    QTest::newRow("right") << int(AlignRight) << 0 << 0 << false << false << int(EditAlignment::Right);
    QTest::newRow("centre wins") << int(AlignRight | AlignCenter) << 0 << 0 << false << false
                                 << int(EditAlignment::Center);
}

void TestFieldEditing::editLook()
{
    QFETCH(int, style);
    QFETCH(int, fontRotation);
    QFETCH(int, userRotation);
    QFETCH(bool, rotated);
    QFETCH(bool, userFont);
    QFETCH(int, alignment);
    Fields fields;
    fields.text = "Leonor";
    PlacedField& placement = fields.place("text");
    const SheetFontItem font(SheetItemKind::FontRotated, "Arial", 140, FontBold | FontItalic, fontRotation);
    placement.context.font = &font;
    placement.context.fieldTextStyle = style;
    placement.context.textColour = 0x123456;
    placement.context.userTextSize = 120;
    placement.context.userTextRotation = userRotation;
    UserTextLook look;
    look.colour = 0x800000;
    look.face = "Comic Sans MS";

    const FieldEditPlan plan = fieldEditPlan(placement, look);
    QCOMPARE(plan.rotated, rotated);
    QCOMPARE(int(plan.alignment), alignment);
    QCOMPARE(plan.text, std::string("Leonor"));
    QVERIFY(!plan.numeric);
    // The editor's font is the one the page was drawn in, never turned.
    const QFont expected = userFont
        ? SheetPainter::makeFont(look.face, 120, look.weight, look.italic, false, false)
        : SheetPainter::fontFor(&font);
    QCOMPARE(plan.font, expected);
    QCOMPARE(plan.textColour, userFont ? look.colour : SheetColour(0x123456));
}

void TestFieldEditing::numbersAreDigitsOnly_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("maxLength");
    QTest::newRow("two digits") << 75 << "75" << 3;
    QTest::newRow("zero") << 0 << "0" << 3;
    // Opening a longer number never shortens it.
    QTest::newRow("four digits") << 1234 << "1234" << 4;
    QTest::newRow("negative") << -5 << "-5" << 3;
}

void TestFieldEditing::numbersAreDigitsOnly()
{
    QFETCH(int, value);
    QFETCH(QString, text);
    QFETCH(int, maxLength);
    Fields fields;
    fields.number = value;
    PlacedField& placement = fields.place("number");
    placement.context.fieldTextStyle = TextMultiline;
    const FieldEditPlan plan = fieldEditPlan(placement, UserTextLook());
    QVERIFY(plan.numeric);
    QVERIFY(!plan.multiline);
    QCOMPARE(QString::fromStdString(plan.text), text);
    QCOMPARE(plan.maxLength, maxLength);
}

void TestFieldEditing::multilineTextsKeepTheirLineEnds_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QByteArray>("shown");
    QTest::addColumn<QByteArray>("edited");
    QTest::addColumn<QByteArray>("storedAgain");
    QTest::newRow("crlf") << QByteArray("a\r\nb") << QByteArray("a\nb") << QByteArray("a\nb\nc")
                          << QByteArray("a\r\nb\r\nc");
    QTest::newRow("lone cr and lf") << QByteArray("a\rb\nc") << QByteArray("a\nb\nc") << QByteArray("a\nb\nc")
                                    << QByteArray("a\r\nb\r\nc");
    QTest::newRow("one line") << QByteArray("abc") << QByteArray("abc") << QByteArray("abcd")
                              << QByteArray("abcd");
}

void TestFieldEditing::multilineTextsKeepTheirLineEnds()
{
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, shown);
    QFETCH(QByteArray, edited);
    QFETCH(QByteArray, storedAgain);
    Fields fields;
    fields.text = stored.toStdString();
    PlacedField& placement = fields.place("text");
    placement.context.fieldTextStyle = TextMultiline | TextClipped;
    const FieldEditPlan plan = fieldEditPlan(placement, UserTextLook());
    QVERIFY(plan.multiline);
    QVERIFY(plan.clipped);
    QCOMPARE(QByteArray::fromStdString(plan.text), shown);
    QCOMPARE(QByteArray::fromStdString(storedEditText(edited.toStdString(), true)), storedAgain);
    // A single-line field stores what was typed.
    QCOMPARE(QByteArray::fromStdString(storedEditText(edited.toStdString(), false)), edited);
}

void TestFieldEditing::suggestionsSortedAndFound_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("exact");
    QTest::addColumn<int>("prefix");
    // Sorted: "abeja", "Álamo", "Barco", "barco grande", "zeta"
    QTest::newRow("exact") << "Barco" << 2 << 2;
    QTest::newRow("exact needs the case") << "barco" << -1 << 2;
    QTest::newRow("prefix ignores case") << "BARCO G" << -1 << 3;
    QTest::newRow("accented prefix") << "ál" << -1 << 1;
    QTest::newRow("empty text") << "" << -1 << 0;
    QTest::newRow("nothing") << "xyz" << -1 << -1;
}

void TestFieldEditing::suggestionsSortedAndFound()
{
    QFETCH(QString, text);
    QFETCH(int, exact);
    QFETCH(int, prefix);
    const std::vector<std::string> sorted = sortedSuggestions(
        { cp1252("zeta"), cp1252("Barco"), cp1252("Álamo"), cp1252("barco grande"), cp1252("abeja") });
    const std::vector<std::string> expected
        = { cp1252("abeja"), cp1252("Álamo"), cp1252("Barco"), cp1252("barco grande"), cp1252("zeta") };
    QVERIFY(sorted == expected);
    QCOMPARE(exactSuggestion(sorted, toCp1252(text)), exact);
    QCOMPARE(prefixSuggestion(sorted, toCp1252(text)), prefix);
}

void TestFieldEditing::imageFilterForQtDialogs()
{
    QCOMPARE(qtFileDialogFilter(kImageFileFilter),
        QString(
            "Image Files (*.bmp *.gif *.jpg *.jpeg *.png);;Bitmap Files (*.bmp);;CompuServe GIF Files "
            "(*.gif);;JPEG Files (*.jpg *.jpeg);;Portable Network Graphics Files (*.png);;All Files (*)"));
    QCOMPARE(qtFileDialogFilter("||"), QString());
}

void TestFieldEditing::printedPageStartsAtMargins_data()
{
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::addColumn<QPoint>("ink");
    // 254 dots per inch: one dot per tenth of a millimetre.
    QTest::newRow("no margins") << 0 << 0 << QPoint(0, 0);
    QTest::newRow("default top") << 0 << 180 << QPoint(0, 180);
    QTest::newRow("both") << 55 << 100 << QPoint(55, 100);
    QTest::newRow("negative counts as none") << -40 << -1 << QPoint(0, 0);
}

void TestFieldEditing::printedPageStartsAtMargins()
{
    QFETCH(int, left);
    QFETCH(int, top);
    QFETCH(QPoint, ink);
    Profile::write(profile_keys::kLeftMargin, left);
    Profile::write(profile_keys::kTopMargin, top);
    SheetLayout layout;
    layout.setPageSize(5000, 5000);
    layout.append(std::make_unique<SheetFillItem>(SheetRect { 0, 0, 1000, -500 }, kColourBlack));

    QImage paper(600, 600, QImage::Format_RGB32);
    paper.fill(Qt::white);
    QPainter painter(&paper);
    printSheet(painter, layout, 254, 254, PrintMargins::fromProfile(), UserTextLook());
    painter.end();
    QCOMPARE(firstInk(paper), ink);
}

void TestFieldEditing::optionsFileOfRuleFile_data()
{
    QTest::addColumn<QString>("ruleFile");
    QTest::addColumn<QString>("options");
    QTest::newRow("its own list") << "expediciones.rul"
                                  << "expediciones.lst";
    QTest::newRow("default rule file") << ""
                                       << "options.lst";
    QTest::newRow("missing rule file") << "nada.rul"
                                       << "options.lst";
}

void TestFieldEditing::optionsFileOfRuleFile()
{
    QFETCH(QString, ruleFile);
    QFETCH(QString, options);
    Investigator investigator;
    investigator.RuleFile = ruleFile.toStdString();
    QCOMPARE(QString::fromStdString(investigatorOptionsFile(investigator)), options);
}

QTEST_MAIN(TestFieldEditing)
#include "test_field_editing.moc"
