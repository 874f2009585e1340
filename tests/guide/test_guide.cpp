// The guide stays true to the program: every command, key and script member it names exists, its
// script examples run, and F1 opens it over any window, usable while a dialog is modal.

#include "desktop_fixture.h"
#include "dialogs/options_dialog.h"
#include "docview/commands.h"
#include "script/member_name.h"
#include "sheet/host_members.h"
#include "shell/main_frame.h"
#include "shell/menu_layout.h"
#include "shell/new_document_dialog.h"
#include "widgets/help_window.h"
#include "wizard/new_investigator_wizard.h"

#include <QAction>
#include <QDir>
#include <QDirIterator>
#include <QKeySequence>
#include <QListWidget>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTabBar>
#include <QTest>
#include <QTextDocument>
#include <QUrl>

using namespace vorpane;
using namespace vorpane::test;

namespace {

QString guideSource() { return qEnvironmentVariable("VORPANE_SOURCE_DIR") + QStringLiteral("/doc/guide"); }

struct GuidePage {
    QString file;
    QString html;
};

std::vector<GuidePage> guidePages()
{
    std::vector<GuidePage> pages;
    const QDir folder(guideSource());
    for (const QString& name : folder.entryList({ QStringLiteral("*.html") }, QDir::Files, QDir::Name)) {
        QFile file(folder.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            pages.push_back({ name, QString::fromUtf8(file.readAll()) });
    }
    return pages;
}

// The text of an HTML fragment, entities decoded.
QString plainText(const QString& html)
{
    QTextDocument document;
    document.setHtml(html);
    return document.toPlainText().trimmed();
}

// What the guide marks, page by page: a pattern with the text in its first group.
QList<std::pair<QString, QString>> marked(const QString& pattern)
{
    QList<std::pair<QString, QString>> found;
    const QRegularExpression expression(pattern, QRegularExpression::DotMatchesEverythingOption);
    for (const GuidePage& page : guidePages()) {
        for (auto it = expression.globalMatch(page.html); it.hasNext();)
            found.append({ page.file, plainText(it.next().captured(1)) });
    }
    return found;
}

QString withoutMnemonic(const char* text) { return QString::fromUtf8(text).remove(QLatin1Char('&')); }

bool commandExists(const QString& label)
{
    for (std::span<const CommandRow> table : commandTables()) {
        for (const CommandRow& row : table) {
            if (withoutMnemonic(row.text) == label)
                return true;
        }
    }
    return false;
}

bool shortcutExists(const QString& keys)
{
    const QKeySequence wanted(keys, QKeySequence::PortableText);
    for (std::span<const CommandRow> table : commandTables()) {
        for (const CommandRow& row : table) {
            if (*row.shortcut && QKeySequence(QString::fromLatin1(row.shortcut)) == wanted)
                return true;
        }
    }
    return false;
}

bool memberExists(const QString& qualified)
{
    const qsizetype dot = qualified.indexOf(QLatin1Char('.'));
    const HostObjectInfo* object = dot > 0 ? findHostObject(qualified.left(dot).toStdString()) : nullptr;
    if (!object)
        return false;
    const std::string member = qualified.mid(dot + 1).toStdString();
    for (const script::HostMember& listed : object->members) {
        if (script::sameName(listed.name, member))
            return true;
    }
    return false;
}

// Copies the shipped data files into a folder of the test's own.
void copyData(const QString& to)
{
    const QString from = qEnvironmentVariable("VORPANE_SOURCE_DIR") + QStringLiteral("/data");
    for (QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString source = it.next();
        const QString target = to + source.mid(from.size());
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(source, target);
    }
}

} // namespace

class TestGuide : public QObject {
    Q_OBJECT
private slots:
    void namesExist_data();
    void namesExist();
    void examplesRun_data();
    void examplesRun();
    void f1OpensGuide_data();
    void f1OpensGuide();
};

void TestGuide::namesExist_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("name");
    const struct {
        const char* kind;
        const char* pattern;
        int atLeast; // a guard against a pattern that finds nothing
    } kinds[] = {
        { "command", R"re(<span class="command">(.*?)</span>)re", 30 },
        { "key", R"re(<kbd class="shortcut">(.*?)</kbd>)re", 15 },
        { "member", R"re(<code class="member">(.*?)</code>)re", 60 },
    };
    for (const auto& kind : kinds) {
        const auto found = marked(QString::fromLatin1(kind.pattern));
        QVERIFY2(found.size() >= kind.atLeast, kind.kind);
        for (const auto& [file, name] : found)
            QTest::addRow("%s %s %s", qPrintable(file), kind.kind, qPrintable(name))
                << QString::fromLatin1(kind.kind) << name;
    }
}

void TestGuide::namesExist()
{
    QFETCH(QString, kind);
    QFETCH(QString, name);
    if (kind == QLatin1String("command"))
        QVERIFY2(commandExists(name), "no command of this label in the command table");
    else if (kind == QLatin1String("key"))
        QVERIFY2(shortcutExists(name), "no command has this key");
    else
        QVERIFY2(memberExists(name), "no such member in the script objects' tables");
}

void TestGuide::examplesRun_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    int count = 0;
    // Whole examples, and the one-line examples of a page's tables run together as one script.
    const QRegularExpression example(R"re(<pre class="example" data-run="(\w+)">(.*?)</pre>)re",
        QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpression line(R"re(<code data-run="(\w+)">(.*?)</code>)re");
    for (const GuidePage& page : guidePages()) {
        int index = 0;
        for (auto it = example.globalMatch(page.html); it.hasNext(); ++count) {
            const QRegularExpressionMatch match = it.next();
            QTest::addRow("%s #%d", qPrintable(page.file), ++index)
                << match.captured(1) << plainText(QStringLiteral("<pre>") + match.captured(2) + "</pre>");
        }
        QMap<QString, QString> lines;
        for (auto it = line.globalMatch(page.html); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            lines[match.captured(1)] += plainText(match.captured(2)) + QLatin1Char('\n');
        }
        for (auto it = lines.cbegin(); it != lines.cend(); ++it, ++count)
            QTest::addRow("%s lines %s", qPrintable(page.file), qPrintable(it.key()))
                << it.key() << QStringLiteral("var f, t, cordura;\n") + it.value();
    }
    QVERIFY(count >= 6);
}

void TestGuide::examplesRun()
{
    QFETCH(QString, kind);
    QFETCH(QString, text);
    // What runs each kind: a user script by itself, a sheet style over an example investigator, a
    // handout style over a shipped handout.
    const QMap<QString, std::pair<QString, QString>> runs = {
        { QStringLiteral("script"), { QStringLiteral("vsc"), QString() } },
        { QStringLiteral("sheet"), { QStringLiteral("vis"), QStringLiteral("examples/detective_1890.inv") } },
        { QStringLiteral("handout"), { QStringLiteral("vhs"), QStringLiteral("carta.zho") } },
    };
    QVERIFY2(runs.contains(kind), qPrintable(kind));
    const auto& [extension, document] = runs.value(kind);
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("data"));
    copyData(data);
    const QString script = data + QStringLiteral("/ejemplo_guia.") + extension;
    QFile file(script);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text.toLatin1()); // the examples' letters are all in Windows-1252's Latin-1 part
    file.close();

    QStringList arguments = { QStringLiteral("--data"), data, QStringLiteral("--seed"), QStringLiteral("7") };
    if (document.isEmpty())
        arguments << QStringLiteral("run") << script;
    else
        arguments << QStringLiteral("render") << data + QLatin1Char('/') + document
                  << dir.filePath(QStringLiteral("page.png")) << QStringLiteral("--script")
                  << QStringLiteral("ejemplo_guia");
    QProcess cli;
    cli.start(qEnvironmentVariable("VORPANE_DATA") + QStringLiteral("/vorpane-cli"), arguments);
    QVERIFY(cli.waitForFinished(30000));
    const QString output = QString::fromUtf8(cli.readAllStandardOutput() + cli.readAllStandardError());
    QVERIFY2(cli.exitCode() == 0 && !output.contains(QLatin1String("Error")), qPrintable(output));
}

void TestGuide::f1OpensGuide_data()
{
    QTest::addColumn<QString>("over");
    QTest::addColumn<QString>("page");
    QTest::newRow("main window") << "frame"
                                 << "index.html";
    QTest::newRow("options dialog") << "options"
                                    << "07-opciones.html";
    QTest::newRow("wizard") << "wizard"
                            << "02-asistente.html";
}

void TestGuide::f1OpensGuide()
{
    QFETCH(QString, over);
    QFETCH(QString, page);
    DesktopFixture fixture;
    CMainFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));

    // F1 where the user is; the guide then takes a click on its chapter list through the window
    // system, which drops input to a window that a modal dialog blocks.
    bool checked = false;
    const auto pressAndUse = [&](QWidget* window) {
        QWidget* target = window->focusWidget() ? window->focusWidget() : window;
        QTest::keyClick(target, Qt::Key_F1);
        HelpWindow* help = HelpWindow::current();
        QVERIFY(help && help->isVisible());
        QCOMPARE(QFileInfo(help->currentPage().toLocalFile()).fileName(), page);
        QVERIFY(QTest::qWaitForWindowExposed(help));
        auto* chapters = help->findChild<QListWidget*>(QStringLiteral("HelpChapters"));
        QVERIFY(chapters && chapters->count() > 5);
        QListWidgetItem* last = chapters->item(chapters->count() - 1);
        const QPoint at = chapters->viewport()->mapTo(help, chapters->visualItemRect(last).center());
        QTest::mouseClick(help->windowHandle(), Qt::LeftButton, {}, at);
        QCOMPARE(
            QFileInfo(help->currentPage().toLocalFile()).fileName(), last->data(Qt::UserRole).toString());
        checked = true;
    };
    if (over == QLatin1String("frame")) {
        pressAndUse(&frame);
    } else if (over == QLatin1String("options")) {
        whenModal<COptionsDlg>([&](COptionsDlg& dialog) {
            pressAndUse(&dialog);
            dialog.reject();
        });
        frame.findChild<QAction*>(QString::fromLatin1(cmd::Options))->trigger();
    } else {
        NewDocumentDialog dialog(frame.documents(), &frame);
        dialog.tabBar()->setCurrentIndex(1);
        dialog.list()->setCurrentRow(0);
        dialog.accept();
        whenModal<CWizard_NewInvestigator>([&](CWizard_NewInvestigator& wizard) {
            pressAndUse(&wizard);
            wizard.reject();
        });
        dialog.performChoice();
    }
    QVERIFY(checked);
    // The guide outlives the dialog it was opened over.
    QVERIFY(HelpWindow::current() && HelpWindow::current()->isVisible());
    QCOMPARE(HelpWindow::current()->parentWidget(), &frame);
    delete HelpWindow::current();
}

QTEST_MAIN(TestGuide)
#include "test_guide.moc"
