#include "platform/program_folder.h"
#include "rules/spell_book.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace vorpane;
using namespace vorpane::test;

class TestSpellBook : public QObject {
    Q_OBJECT
private slots:
    void books_data();
    void books();
    void unreadableBookGivesNoNode();
    void spellsText_data();
    void spellsText();
    void joinedTextSplitsBack();
    void folderBooksInNameOrder();
    void folderWithoutBooksWarns();
};

namespace {

// The book as the tree shows it, one node a line, "/" between lines.
QString tree(const SpellBook& book)
{
    QStringList lines { fromCp1252(book.title) };
    for (const std::string& spell : book.spells)
        lines << "  " + fromCp1252(spell);
    for (const SpellHeading& heading : book.headings) {
        lines << "  " + fromCp1252(heading.name);
        for (const std::string& spell : heading.spells)
            lines << "    " + fromCp1252(spell);
    }
    return lines.join('/');
}

void writeFile(const QString& path, const std::string& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), qint64(bytes.size()));
}

} // namespace

void TestSpellBook::books_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("complete");
    QTest::addColumn<int>("boxes");

    QTest::newRow("title and headings") << "_BEGIN TITLE\nLibro de la marea\nsegunda línea\n_END TITLE\n"
                                           "_BEGIN SPELLS\n*Protección*\n\"Círculo de sal\"\n\"Velo\"\n"
                                           "*Contacto*\n\"Voz del pozo\"\n_END SPELLS\n"
                                        << "Libro de la marea/  Protección/    Círculo de sal/    Velo/"
                                           "  Contacto/    Voz del pozo"
                                        << true << 0;
    QTest::newRow("no TITLE: the file name") << "_BEGIN SPELLS\n\"Uno\"\n_END SPELLS\n"
                                             << "cuaderno/  Uno" << true << 0;
    QTest::newRow("empty TITLE: the file name")
        << "_BEGIN TITLE\n_END TITLE\n_BEGIN SPELLS\n\"Uno\"\n_END SPELLS\n"
        << "cuaderno/  Uno" << true << 0;
    QTest::newRow("spell before any heading hangs under the book")
        << "_BEGIN SPELLS\n\"Suelto\"\n*Apartado*\n\"Dentro\"\n_END SPELLS\n"
        << "cuaderno/  Suelto/  Apartado/    Dentro" << true << 0;
    QTest::newRow("empty heading ignored, spells stay under the last one")
        << "_BEGIN SPELLS\n*A*\n\"uno\"\n**\n\"dos\"\n_END SPELLS\n"
        << "cuaderno/  A/    uno/    dos" << true << 0;
    QTest::newRow("empty spell ignored, heading without spells kept")
        << "_BEGIN SPELLS\n*A*\n\"\"\n*B*\n_END SPELLS\n"
        << "cuaderno/  A/  B" << true << 0;
    QTest::newRow("comments, blank lines and the rest of a row")
        << "_BEGIN SPELLS\n// notas\n\n  \"uno\" resto ignorado\n*A* // comentario\n\t\"dos\"\"tres\"\n_END "
           "SPELLS\n"
        << "cuaderno/  uno/  A/    dos" << true << 0;
    QTest::newRow("missing closing quote stops the section")
        << "_BEGIN SPELLS\n\"uno\"\n\"roto\n\"tres\"\n_END SPELLS\n"
        << "cuaderno/  uno" << false << 1;
    QTest::newRow("unquoted spell stops the section")
        << "_BEGIN SPELLS\n\"uno\"\nsuelto\n\"dos\"\n_END SPELLS\n"
        << "cuaderno/  uno" << false << 1;
    QTest::newRow("heading without its closing star") << "_BEGIN SPELLS\n*A\n\"uno\"\n_END SPELLS\n"
                                                      << "cuaderno" << false << 1;
    QTest::newRow("missing SPELLS: empty book") << "_BEGIN TITLE\nT\n_END TITLE\n"
                                                << "T" << true << 0;
    QTest::newRow("TITLE without its _END: reported, the file name")
        << "_BEGIN TITLE\nT\n_BEGIN SPELLS\n\"uno\"\n_END SPELLS\n"
        << "cuaderno/  uno" << true << 1;
}

void TestSpellBook::books()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QFETCH(bool, complete);
    QFETCH(int, boxes);
    ScopedRecordingUi ui;
    const std::optional<SpellBook> book = parseSpellBook("/libros/cuaderno.vsb", fileText(text));
    QVERIFY(book);
    QCOMPARE(tree(*book), expected);
    QCOMPARE(book->complete, complete);
    QCOMPARE(int(ui.boxes.size()), boxes);
    QCOMPARE(book->isEmpty(), !expected.contains('/'));
}

void TestSpellBook::unreadableBookGivesNoNode()
{
    ScopedRecordingUi ui;
    QVERIFY(!parseSpellBook("roto.vsb", fileText("_BEGIN SPELLS\n\"uno\"\n")));
    QCOMPARE(
        boxTexts(ui), QStringList { "roto.vsb - Could not find matching _END for section _BEGIN SPELLS" });
    ui.reset();
    QVERIFY(!readSpellBook("/nonexistent/folder/libro.vsb"));
    QCOMPARE(boxTexts(ui), QStringList { "/nonexistent/folder/libro.vsb - Cannot open file" });
}

void TestSpellBook::spellsText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("empty") << "" << QStringList {};
    QTest::newRow("three names and an empty piece")
        << "Uno, Dos,, Tres" << QStringList { "Uno", "Dos", "Tres" };
    QTest::newRow("leading blanks and TABs dropped, trailing kept")
        << " \tUno ,\t Dos" << QStringList { "Uno ", "Dos" };
    QTest::newRow("only separators") << " , ,\t," << QStringList {};
    QTest::newRow("the same spell twice") << "Velo, Velo" << QStringList { "Velo", "Velo" };
}

void TestSpellBook::spellsText()
{
    QFETCH(QString, text);
    QFETCH(QStringList, names);
    QStringList got;
    for (const std::string& name : splitSpells(toCp1252(text)))
        got << fromCp1252(name);
    QCOMPARE(got, names);
}

void TestSpellBook::joinedTextSplitsBack()
{
    const std::vector<std::string> names { "Velo", cp1252("Círculo de sal"), "Velo" };
    const std::string text = joinSpells(names);
    QCOMPARE(fromCp1252(text), QString("Velo, Círculo de sal, Velo"));
    QCOMPARE(splitSpells(text), names);
    QCOMPARE(joinSpells({}), std::string());
}

void TestSpellBook::folderBooksInNameOrder()
{
    ScopedRecordingUi ui;
    QTemporaryDir dir;
    const std::string spells = fileText("_BEGIN SPELLS\n\"uno\"\n_END SPELLS\n");
    writeFile(dir.filePath("b.vsb"), spells);
    writeFile(dir.filePath("A.VSB"), fileText("_BEGIN TITLE\nPrimero\n_END TITLE\n") + spells);
    writeFile(dir.filePath("vacio.vsb"), fileText("_BEGIN SPELLS\n// nada\n_END SPELLS\n"));
    writeFile(dir.filePath("notas.txt"), spells);
    QDir(dir.path()).mkdir("carpeta.vsb");

    std::vector<std::string> names;
    for (const std::string& path : spellBookFiles(dir.path().toStdString()))
        names.push_back(path.substr(path.rfind('/') + 1));
    QCOMPARE(names, (std::vector<std::string> { "A.VSB", "b.vsb", "vacio.vsb" }));

    setProgramFolder(dir.path().toStdString());
    bool allRead = false;
    const std::vector<SpellBook> books = programSpellBooks(&allRead);
    setProgramFolder({});
    QVERIFY(allRead);
    QCOMPARE(int(books.size()), 2); // the empty book is not shown
    QCOMPARE(books[0].title, std::string("Primero"));
    QCOMPARE(books[1].title, std::string("b"));
    QVERIFY(ui.boxes.empty());
}

void TestSpellBook::folderWithoutBooksWarns()
{
    ScopedRecordingUi ui;
    QTemporaryDir dir;
    setProgramFolder(dir.path().toStdString());
    bool allRead = true;
    QVERIFY(programSpellBooks(&allRead).empty());
    setProgramFolder({});
    QVERIFY(!allRead);
    QCOMPARE(boxTexts(ui), QStringList { "Could not find any spell books in the Vorpane folder (*.vsb)" });
    QCOMPARE(ui.boxes.front().icon, MsgIcon::Warning);
}

int vorpane::test::runSpellBookTests(int argc, char** argv)
{
    TestSpellBook tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "test_spell_book.moc"
