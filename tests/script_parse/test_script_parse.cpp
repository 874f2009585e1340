// The script front end: tokens and literal values, precedence and tree shape, every message with its
// line and quoted token, the parser's stack limit, and parses that follow or run beside one another.

#include "platform/recording_ui.h"
#include "script/keywords.h"
#include "script/syntax_tree.h"
#include "script/tree_dump.h"

#include <QTest>
#include <future>
#include <string>
#include <vector>

using namespace vorpane;
using namespace vorpane::script;

namespace {

std::string bytes(const QByteArray& data) { return std::string(data.constData(), size_t(data.size())); }

// The program of a script without declarations is seq(elements, nil); this is its first statement.
const SyntaxNode* firstStatement(const SyntaxTree& tree)
{
    if (!tree.program || !tree.program->child[0])
        return nullptr;
    return tree.program->child[0]->child[0];
}

std::string repeated(const std::string& piece, int count)
{
    std::string out;
    out.reserve(piece.size() * size_t(count));
    for (int i = 0; i < count; ++i)
        out += piece;
    return out;
}

// One data row; scripts are given as QByteArray, texts as literals (QString columns).
template <class... Values> void row(const char* name, const Values&... values)
{
    (QTest::newRow(name) << ... << values);
}

} // namespace

class TestScriptParse : public QObject {
    Q_OBJECT
private slots:
    void init();

    void statementTree_data();
    void statementTree();
    void programTree_data();
    void programTree();
    void functionTable_data();
    void functionTable();
    void messages_data();
    void messages();
    void messageBoxIsAWarningTitledScriptError();
    void nodesCarryTheLexerLine_data();
    void nodesCarryTheLexerLine();
    void parserStackLimit_data();
    void parserStackLimit();
    void deepNestingWithinTheLimitParses();
    void parsesAgainAfterEveryKindOfFailure();
    void parsesSideBySideOnThreads();
    void editorKeywordsAreTheLexersReservedWords();

private:
    ScopedRecordingUi m_ui;
};

void TestScriptParse::init() { m_ui.reset(); }

// One statement, no messages: the dump of that statement.
void TestScriptParse::statementTree_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QString>("tree");

    // Tokens: longest match, keywords only in lower case.
    row("a+++b", QByteArray("x = a+++b;"), "(assign x (add (post-inc a) b))");
    row("x=-1", QByteArray("x=-1;"), "(assign x (neg 1))");
    row("If is a name", QByteArray("If = IF + varx + do + this + null;"),
        "(assign If (add (add (add (add IF varx) do) this) null))");
    row("compound operators", QByteArray("a += b -= c *= d /= e %= f &= g |= h ^= i <<= j >>= k;"),
        "(add-assign a (sub-assign b (mul-assign c (div-assign d (mod-assign e (and-assign f "
        "(or-assign g (xor-assign h (shl-assign i (shr-assign j k))))))))))");

    // Integer and floating literals.
    row("019 is decimal", QByteArray("x = 019;"), "(assign x 19)");
    row("017 is octal", QByteArray("x = 017;"), "(assign x 15)");
    row("00 is octal", QByteArray("x = 00;"), "(assign x 0)");
    row("hex", QByteArray("x = 0x1f + 0XAB;"), "(assign x (add 31 171))");
    row("eight F digits", QByteArray("x = 0xFFFFFFFF;"), "(assign x -1)");
    row("decimal wraps", QByteArray("x = 2147483648;"), "(assign x -2147483648)");
    row("hex wraps", QByteArray("x = 0x100000005;"), "(assign x 5)");
    row("huge decimal", QByteArray("x = 99999999999999999999999999999999;"), "(assign x -1)");
    row("float", QByteArray("x = 1.5 + 0.25;"), "(assign x (add 1.5 0.25))");
    row("float too large", QByteArray("x = " + QByteArray(400, '9') + ".5;"), "(assign x inf)");
    row("float too small", QByteArray("x = 0." + QByteArray(400, '0') + "1;"), "(assign x 0.0)");

    // Strings: escapes are translated, \0 ends the text.
    row("plain string", QByteArray("x = \"abc\";"), "(assign x \"abc\")");
    row("empty string", QByteArray("x = \"\";"), "(assign x \"\")");
    row("every escape", QByteArray(R"(x = "\'\?\\\a\b\f\n\r\t\v";)"),
        R"((assign x "'?\\\x07\x08\x0C\x0A\x0D\x09\x0B"))");
    row("\\0 ends the text", QByteArray(R"(x = "ab\0cd";)"), "(assign x \"ab\")");
    row("high bytes in strings", QByteArray("x = \"\xE9\xF1\";"), "(assign x \"\\xE9\\xF1\")");
    row("comment marks in a string", QByteArray("x = \"/* // */\";"), "(assign x \"/* // */\")");

    // Precedence and associativity.
    row("a - b - c", QByteArray("x = a - b - c;"), "(assign x (sub (sub a b) c))");
    row("a = b = c", QByteArray("a = b = c;"), "(assign a (assign b c))");
    row("nested ?:", QByteArray("x = a ? b : c ? d : e;"), "(assign x (cond a b (cond c d e)))");
    row("a < b << c", QByteArray("x = a < b << c;"), "(assign x (lt a (shl b c)))");
    row("a || b && c", QByteArray("x = a || b && c;"), "(assign x (or a (and b c)))");
    row("bit levels", QByteArray("x = a | b ^ c & d;"), "(assign x (bit-or a (bit-xor b (bit-and c d))))");
    row("equality below relational", QByteArray("x = a == b < c != d;"), "(assign x (ne (eq a (lt b c)) d))");
    row("shift", QByteArray("x = a >> b + c << d;"), "(assign x (shl (shr a (add b c)) d))");
    row("multiplicative", QByteArray("x = a + b * c / d % e;"),
        "(assign x (add a (mod (div (mul b c) d) e)))");
    row("prefix chain", QByteArray("x = ++--!-~a;"), "(assign x (pre-inc (pre-dec (not (neg (compl a))))))");
    row("postfix above prefix", QByteArray("x = !a++;"), "(assign x (not (post-inc a)))");
    row("a++ ++", QByteArray("x = a++ ++;"), "(assign x (post-inc (post-inc a)))");
    row("middle of ?: is a full expression", QByteArray("x = a ? b , c : d;"),
        "(assign x (cond a (comma b c) d))");
    row("comma loosest", QByteArray("x = y, z;"), "(comma (assign x y) z)");

    // Calls, members, indexes, new.
    row("call arguments", QByteArray("f(1, g(2, 3), a = b);"), "(call f 1 (call g 2 3) (assign a b))");
    row("call result member", QByteArray("x = f(1).x;"), "(assign x (member (call f 1) x))");
    row("method then index", QByteArray("x = a.b(1)[2];"), "(assign x (index (method a b 1) 2))");
    row("member target", QByteArray("a.b.c = 1;"), "(assign (member (member a b) c) 1)");
    row("call result as target", QByteArray("f().x = 1;"), "(assign (member (call f) x) 1)");
    row("new without arguments", QByteArray("x = new Array;"), "(assign x (new (ctor Array)))");
    row("new with arguments", QByteArray("x = new Array(3, 4);"), "(assign x (new (ctor Array 3 4)))");
    row("new a.b()", QByteArray("x = new a.b();"), "(assign x (method (new (ctor a)) b))");

    // Comments and the end of the text.
    row("line comment", QByteArray("x = 1; // done\n"), "(assign x 1)");
    row("block comment", QByteArray("x /* a * / b ** */ = /**/ 1;"), "(assign x 1)");
    row("comments do not nest", QByteArray("x = 1; /* /* */ "), "(assign x 1)");
    row("unclosed block comment", QByteArray("x = 1; /* y = 2;"), "(assign x 1)");
}

void TestScriptParse::statementTree()
{
    QFETCH(QByteArray, script);
    QFETCH(QString, tree);
    SyntaxTree parsed = parseScript(bytes(script));
    QCOMPARE(QString::fromStdString(m_ui.texts()), QString());
    QVERIFY(parsed.program);
    QVERIFY(!parsed.program->child[0]->child[1]); // exactly one statement
    QCOMPARE(QString::fromStdString(dumpTree(firstStatement(parsed))), tree);
}

// Whole programs: the sequence chains the interpreter walks.
void TestScriptParse::programTree_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QString>("tree");

    row("empty", QByteArray(""), "(seq nil nil)");
    row("empty statement", QByteArray(";"), "(seq (seq nil nil) nil)");
    row("only functions", QByteArray("function f() {} function g(a) return a;"), "(seq nil nil)");
    row("statements", QByteArray("a; b; c;"), "(seq (seq a (seq b (seq c nil))) nil)");
    row("functions between statements", QByteArray("a; function f() {} b; function g() {}"),
        "(seq (seq a (seq b nil)) nil)");
    row("declarations", QByteArray("var a, b = 1 + 2; var c; x;"),
        "(seq (seq (varlist (decl a nil) (varlist (decl b (add 1 2)) nil)) "
        "(varlist (decl c nil) nil)) (seq x nil))");
    row("parenthesised assignment in a declarator", QByteArray("var x = (y = 1);"),
        "(seq (varlist (decl x (assign y 1)) nil) nil)");
    row("if else", QByteArray("if (a) b; else c;"), "(seq (seq (if a b c) nil) nil)");
    row("else binds to the nearest if", QByteArray("if (a) if (b) c; else d;"),
        "(seq (seq (if a (if b c d) nil) nil) nil)");
    row("braced blocks", QByteArray("if (a) { b; c; } else {}"),
        "(seq (seq (if a (seq b (seq c nil)) nil) nil) nil)");
    row("for", QByteArray("for (i = 0; i < 3; i++) x += i;"),
        "(seq (seq (for (assign i 0) (lt i 3) (post-inc i) (add-assign x i)) nil) nil)");
    row("empty for", QByteArray("for (;;) ;"), "(seq (seq (for nil nil nil nil) nil) nil)");
    row("while", QByteArray("while (a) { a--; break; continue; }"),
        "(seq (seq (while a (seq (post-dec a) (seq (break) (seq (continue) nil)))) nil) nil)");
    row("return at the top", QByteArray("return 1; return;"),
        "(seq (seq (return 1) (seq (return nil) nil)) nil)");
}

void TestScriptParse::programTree()
{
    QFETCH(QByteArray, script);
    QFETCH(QString, tree);
    SyntaxTree parsed = parseScript(bytes(script));
    QCOMPARE(QString::fromStdString(m_ui.texts()), QString());
    QVERIFY(parsed.program);
    QCOMPARE(QString::fromStdString(dumpTree(parsed.program)), tree);
}

// The function table, newest declaration first, with the messages its checks give.
void TestScriptParse::functionTable_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QStringList>("functions");
    QTest::addColumn<QString>("messages");

    row("single statement body", QByteArray("function f() return 1;"),
        QStringList { "(function f () (return 1))" }, "");
    row("braced bodies", QByteArray("function f(a, b) { return a + b; } function g() { }"),
        QStringList { "(function g () nil)", "(function f (a b) (seq (return (add a b)) nil))" }, "");
    row("local declarations", QByteArray("function f() { var x, y; var z = 1; x = 5; }"),
        QStringList { "(function f () (seq (seq (varlist (decl x nil) (varlist (decl y nil) nil)) "
                      "(varlist (decl z 1) nil)) (seq (assign x 5) nil)))" },
        "");
    row("declarations only body", QByteArray("function f() { var x; }"),
        QStringList { "(function f () (varlist (decl x nil) nil))" }, "");
    row("names are case-sensitive", QByteArray("function f() {} function F() {}"),
        QStringList { "(function F () nil)", "(function f () nil)" }, "");
    row("second declaration dropped", QByteArray("function f(a,b){} function f(d){}"),
        QStringList { "(function f (a b) nil)" }, "Line 1 : Function already exists\n}");
    row("third declaration dropped too",
        QByteArray(
            "function f() return 1;\nfunction g() {}\nfunction f() return 2;\nfunction f() return 3;\n"),
        QStringList { "(function g () nil)", "(function f () (return 1))" },
        "Line 3 : Function already exists\n;\nLine 4 : Function already exists\n;");
    row("repeated parameter kept", QByteArray("function f(a, b, a) { return a; }"),
        QStringList { "(function f (a b a) (seq (return a) nil))" }, "Line 1 : Argument already exists!\na");
}

void TestScriptParse::functionTable()
{
    QFETCH(QByteArray, script);
    QFETCH(QStringList, functions);
    QFETCH(QString, messages);
    SyntaxTree parsed = parseScript(bytes(script));
    QCOMPARE(QString::fromStdString(m_ui.texts()), messages);
    QVERIFY(parsed.program); // these messages do not stop the script
    QStringList dumped;
    for (const FunctionDef& function : parsed.functions)
        dumped << QString::fromStdString(dumpFunction(function));
    QCOMPARE(dumped, functions);
}

// Every message with its line and quoted token, and what is left to run.
void TestScriptParse::messages_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QString>("messages"); // Latin-1 stands for the Windows-1252 bytes
    QTest::addColumn<QString>("program"); // "none" when the script does not run

    // Grammar.
    row("var after a statement", QByteArray("x = 1; var y;"), "Line 1 : syntax error\nvar", "none");
    row("var after a function", QByteArray("var x; function f(){} var y;"), "Line 1 : syntax error\nvar",
        "none");
    row("var inside a block", QByteArray("function f() { x; var y; }"), "Line 1 : syntax error\nvar", "none");
    row("var in for", QByteArray("for (var i = 0; i < 3; i++) x = 1;"), "Line 1 : syntax error\nvar", "none");
    row("bare block", QByteArray("{ x = 1; }"), "Line 1 : syntax error\n{", "none");
    row("block in a block", QByteArray("if (a) { { x = 1; } }"), "Line 1 : syntax error\n{", "none");
    row("call of a call", QByteArray("f(1)(2);"), "Line 1 : syntax error\n(", "none");
    row("parenthesised target", QByteArray("(a) = 1;"), "Line 1 : syntax error\n=", "none");
    row("assignment in a declarator", QByteArray("var x = y = 1;"), "Line 1 : syntax error\n=", "none");
    row("assignment in an else part", QByteArray("x = a ? b : c = d;"), "Line 1 : syntax error\n=", "none");
    row("unary plus", QByteArray("x = +1;"), "Line 1 : syntax error\n+", "none");
    row("missing semicolon at the end", QByteArray("x = 1"), "Line 1 : syntax error\n", "none");
    row("later line", QByteArray("x = 1;\n\ny = ;\n"), "Line 3 : syntax error\n;", "none");
    row(">>> is >> then >", QByteArray("x = a >>> b;"), "Line 1 : syntax error\n>", "none");
    row("1.5.3", QByteArray("x = 1.5.3;"), "Line 1 : syntax error\n3", "none");
    row("0x1g", QByteArray("x = 0x1g;"), "Line 1 : syntax error\ng", "none");
    row("0x without digits", QByteArray("x = 0x;"), "Line 1 : syntax error\nx", "none");
    row("1. is 1 then .", QByteArray("x = 1.;"), "Line 1 : syntax error\n;", "none");
    row(".5 is . then 5", QByteArray("x = .5;"), "Line 1 : syntax error\n.", "none");
    row("1e5 is 1 then e5", QByteArray("x = 1e5;"), "Line 1 : syntax error\ne5", "none");
    row("line comment without a line feed", QByteArray("x = 1; // done"), "Line 1 : syntax error\n/", "none");
    row("//= without a line feed is / then /=", QByteArray("x = 1;\nx //= 2;"),
        "Line 2 : syntax error\n/=", "none");
    row("comments count line feeds", QByteArray("/*\n\n*/ // c\n)"), "Line 4 : syntax error\n)", "none");

    // Lexical errors: the lexer ends the input there and the prefix may still run.
    row("$ between statements", QByteArray("x = 1; $ y = 2;"), "Line 1 : Unexpected symbol\n$",
        "(seq (seq (assign x 1) nil) nil)");
    row("$ inside a statement", QByteArray("x = 1 $;"),
        "Line 1 : Unexpected symbol\n$\nLine 1 : syntax error\n$", "none");
    row("lone CR", QByteArray("x = 1;\r\ny = 2;"), "Line 1 : Unexpected symbol\n\r",
        "(seq (seq (assign x 1) nil) nil)");
    row("accented letter", QByteArray("a; \xE9t\xE9;"),
        QString::fromLatin1("Line 1 : Unexpected symbol\n\xE9"), "(seq (seq a nil) nil)");
    row("form feed", QByteArray("a;\f"), "Line 1 : Unexpected symbol\n\f", "(seq (seq a nil) nil)");
    row("hash", QByteArray("#"), "Line 1 : Unexpected symbol\n#", "(seq nil nil)");
    row("NUL byte", QByteArray("a;\n\0b;", 6), "Line 2 : Unexpected symbol\n", "(seq (seq a nil) nil)");
    row("line feed in a string", QByteArray("a;\nx = \"ab\ncd\";"),
        "Line 2 : Newline in string or missing \"\n\"ab\nLine 2 : syntax error\n\"ab", "none");
    row("line feed in a string between statements", QByteArray("a;\n\"ab\n"),
        "Line 2 : Newline in string or missing \"\n\"ab", "(seq (seq a nil) nil)");
    row("string open at the end", QByteArray("a;\n\nx = \"abc"),
        "Line 3 : Unexpected symbol\n\"\nLine 3 : syntax error\n\"", "none");
    row("quote backslash quote is a whole literal", QByteArray("x = \"\\\";"),
        "Line 1 : Invalid escape code: \n\"\\\"", "none");

    // Literal conversion.
    row("invalid escape", QByteArray("x = \"a\\qb\";"), "Line 1 : Invalid escape code: q\n\"a\\qb\"", "none");
    row("invalid escape after \\0", QByteArray("x = 1;\nx = \"\\0\\z\";"),
        "Line 2 : Invalid escape code: z\n\"\\0\\z\"", "none");
    row("identifier of 63", QByteArray(QByteArray(63, 'a') + " = 1;"), QString(),
        "(seq (seq (assign " + QString(63, 'a') + " 1) nil) nil)");
    row("identifier of 64", QByteArray(QByteArray(64, 'a') + " = 1;"),
        "Line 1 : Identifier length exceeds 64 characters\n" + QString(64, 'a'), "none");
    row("long identifier in a syntax error", QByteArray("1 " + QByteArray(70, 'b')),
        "Line 1 : syntax error\n" + QString(70, 'b'), "none");
}

void TestScriptParse::messages()
{
    QFETCH(QByteArray, script);
    QFETCH(QString, messages);
    QFETCH(QString, program);
    SyntaxTree parsed = parseScript(bytes(script));
    QCOMPARE(QString::fromLatin1(m_ui.texts()), messages);
    QCOMPARE(QString::fromStdString(parsed.program ? dumpTree(parsed.program) : "none"), program);
}

void TestScriptParse::messageBoxIsAWarningTitledScriptError()
{
    parseScript("x = ;");
    QCOMPARE(m_ui.boxes.size(), size_t(1));
    QCOMPARE(m_ui.boxes[0].title, std::string("Script Error"));
    QCOMPARE(m_ui.boxes[0].icon, MsgIcon::Warning);
    QCOMPARE(m_ui.boxes[0].buttons, MsgButtons::Ok);
}

// A node carries the lexer's line when it is built, which is after any lookahead it needed.
void TestScriptParse::nodesCarryTheLexerLine_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<int>("line");

    row("first line", QByteArray("x = 1;"), 1);
    row("after blank lines", QByteArray("\n\n\nx = 1;"), 4);
    row("after a block comment", QByteArray("/*\n\n*/x = 1;"), 3);
    row("statement over lines", QByteArray("x\n=\n1\n;"), 4);
}

void TestScriptParse::nodesCarryTheLexerLine()
{
    QFETCH(QByteArray, script);
    QFETCH(int, line);
    SyntaxTree parsed = parseScript(bytes(script));
    const SyntaxNode* statement = firstStatement(parsed);
    QVERIFY(statement);
    QCOMPARE(statement->line, line);
}

// The stacks hold 10000 entries: a right-recursive statement list of one entry per statement, or
// nesting of a few entries per level, overflows there.
void TestScriptParse::parserStackLimit_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QString>("message"); // empty when the script parses

    std::string functions;
    for (int i = 0; i < 10000; ++i)
        functions += "function f" + std::to_string(i) + "() {}\n";

    row("statements at the limit", QByteArray::fromStdString(repeated(";", 9997)), "");
    row("statements past the limit", QByteArray::fromStdString(repeated(";", 9998)),
        "Line 1 : yacc stack overflow\n");
    row("functions past the limit", QByteArray::fromStdString(functions),
        "Line 9993 : yacc stack overflow\n}");
    row("parentheses at the limit",
        QByteArray::fromStdString("x = " + repeated("(", 9994) + "1" + repeated(")", 9994) + ";"), "");
    row("parentheses past the limit",
        QByteArray::fromStdString("x = " + repeated("(", 9995) + "1" + repeated(")", 9995) + ";"),
        "Line 1 : yacc stack overflow\n)");
}

void TestScriptParse::parserStackLimit()
{
    QFETCH(QByteArray, script);
    QFETCH(QString, message);
    SyntaxTree parsed = parseScript(bytes(script));
    QCOMPARE(QString::fromStdString(m_ui.texts()), message);
    QCOMPARE(parsed.program != nullptr, message.isEmpty());
}

void TestScriptParse::deepNestingWithinTheLimitParses()
{
    const int depth = 3000;
    SyntaxTree parsed = parseScript("x = " + repeated("-(", depth) + "1" + repeated(")", depth) + ";");
    QCOMPARE(QString::fromStdString(m_ui.texts()), QString());
    std::string dump = dumpTree(firstStatement(parsed));
    QCOMPARE(dump, "(assign x " + repeated("(neg ", depth) + "1" + repeated(")", depth) + ")");
}

void TestScriptParse::parsesAgainAfterEveryKindOfFailure()
{
    const std::vector<std::string> failures = {
        "x = ;",
        "x = $",
        "x = \"a\nb\";",
        "x = \"\\q\";",
        std::string(64, 'a') + ";",
        "x = " + repeated("(", 20000) + "1;",
        "x = 1; /* open",
        "function f(a, a) {} function f() {}",
    };
    for (int round = 0; round < 3; ++round) {
        for (const std::string& failure : failures) {
            parseScript(failure);
            m_ui.reset();
            SyntaxTree parsed = parseScript("var a = 1;\nfunction f(b) return b;\nx = f(a);");
            QCOMPARE(QString::fromStdString(m_ui.texts()), QString());
            QCOMPARE(QString::fromStdString(dumpTree(parsed.program)),
                QString("(seq (varlist (decl a 1) nil) (seq (assign x (call f a)) nil))"));
            QCOMPARE(parsed.functions.size(), size_t(1));
        }
    }
}

void TestScriptParse::parsesSideBySideOnThreads()
{
    std::string script;
    for (int i = 0; i < 500; ++i)
        script += "function f" + std::to_string(i) + "(a, b) { var c = a * " + std::to_string(i)
            + "; if (c > b) return c; else return b - 0x1F; }\nx = f" + std::to_string(i) + "(1, 2.5);\n";
    const std::string expected = dumpTree(parseScript(script).program);
    std::vector<std::future<std::string>> parses;
    for (int i = 0; i < 4; ++i)
        parses.push_back(
            std::async(std::launch::async, [&script] { return dumpTree(parseScript(script).program); }));
    for (auto& parse : parses)
        QCOMPARE(parse.get(), expected);
    QVERIFY(m_ui.boxes.empty());
}

// The editor colours what the table lists: each entry must be a word the lexer reserves (it cannot
// name a variable), while the same word with a letter more is an ordinary name.
void TestScriptParse::editorKeywordsAreTheLexersReservedWords()
{
    QVERIFY(!keywords().empty());
    for (const char* keyword : keywords()) {
        m_ui.reset();
        const SyntaxTree reserved = parseScript(std::string(keyword) + " = 1;");
        QVERIFY2(!m_ui.texts().empty(), keyword);
        m_ui.reset();
        const SyntaxTree plain = parseScript(std::string(keyword) + "x = 1;");
        QVERIFY2(m_ui.texts().empty() && plain.program, keyword);
    }
}

QTEST_GUILESS_MAIN(TestScriptParse)
#include "test_script_parse.moc"
