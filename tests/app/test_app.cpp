#include "desktop_fixture.h"
#include "shell/desktop_ui.h"
#include "shell/main_frame.h"
#include "widgets/prompt_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace vorpane;
using namespace vorpane::test;

namespace {

// Runs `act` on the next modal widget once it is shown.
template <typename Widget, typename Action> void whenModalShown(Action act)
{
    whenModal<Widget>([act](Widget& widget) { act(&widget); });
}

QPushButton* buttonNamed(QWidget* dialog, const QString& text)
{
    for (auto* button : dialog->findChildren<QPushButton*>()) {
        if (button->text().remove('&') == text)
            return button;
    }
    return nullptr;
}

} // namespace

class TestApp : public QObject {
    Q_OBJECT
private slots:
    void mainWindowIsTitled();
    void promptReturnsTypedText_data();
    void promptReturnsTypedText();
    void promptCancelIsNothing();
    void messageBoxTitleAndAnswer_data();
    void messageBoxTitleAndAnswer();
};

void TestApp::mainWindowIsTitled()
{
    CMainFrame window;
    QCOMPARE(window.windowTitle(), QString("Vorpane"));
}

void TestApp::promptReturnsTypedText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("word") << QString("Carmen") << QByteArray("Carmen");
    QTest::newRow("accents to cp1252") << QString::fromUtf8("Peñón") << QByteArray("Pe\xF1\xF3n");
    QTest::newRow("limited to 255") << QString(300, 'x') << QByteArray(255, 'x');
}

void TestApp::promptReturnsTypedText()
{
    QFETCH(QString, typed);
    QFETCH(QByteArray, expected);
    CMainFrame window;
    DesktopUi desktop(&window);
    whenModalShown<PromptDialog>([typed](PromptDialog* dialog) {
        QCOMPARE(dialog->windowTitle(), QString("Prompt"));
        auto* entry = dialog->findChild<QLineEdit*>();
        entry->setText(typed);
        buttonNamed(dialog, "OK")->click();
    });
    const auto answer = desktop.prompt("Nombre:");
    QVERIFY(answer.has_value());
    QCOMPARE(QByteArray::fromStdString(*answer), expected);
}

void TestApp::promptCancelIsNothing()
{
    CMainFrame window;
    DesktopUi desktop(&window);
    whenModalShown<PromptDialog>([](PromptDialog* dialog) { buttonNamed(dialog, "Cancel")->click(); });
    QVERIFY(!desktop.prompt("Nombre:").has_value());
}

void TestApp::messageBoxTitleAndAnswer_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("shownTitle");
    QTest::addColumn<QString>("press");
    QTest::addColumn<int>("expected");
    QTest::newRow("confirm yes") << "Confirm"
                                 << "Confirm"
                                 << "Yes" << int(MsgResult::Yes);
    QTest::newRow("confirm no") << "Confirm"
                                << "Confirm"
                                << "No" << int(MsgResult::No);
    QTest::newRow("no title shows the program") << ""
                                                << "Vorpane"
                                                << "No" << int(MsgResult::No);
}

void TestApp::messageBoxTitleAndAnswer()
{
    QFETCH(QString, title);
    QFETCH(QString, shownTitle);
    QFETCH(QString, press);
    QFETCH(int, expected);
    CMainFrame window;
    DesktopUi desktop(&window);
    whenModalShown<QMessageBox>([shownTitle, press](QMessageBox* box) {
        QCOMPARE(box->windowTitle(), shownTitle);
        QCOMPARE(box->icon(), QMessageBox::Question);
        buttonNamed(box, press)->click();
    });
    const MsgResult result
        = desktop.messageBox("Seguro?", title.toStdString(), MsgIcon::Question, MsgButtons::YesNo);
    QCOMPARE(int(result), expected);
}

QTEST_MAIN(TestApp)
#include "test_app.moc"
