// The shell's dialogs and chrome: the options sheet writing the profile, fonts and colours as
// stored, the one-time hints, the hyperlink's states, and the tip panel on the document area.

#include "desktop_fixture.h"
#include "dialogs/about_dialog.h"
#include "dialogs/options_dialog.h"
#include "docview/font_face_dialog.h"
#include "platform/cp1252.h"
#include "platform/profile.h"
#include "platform/program_folder.h"
#include "platform/stored_font.h"
#include "shell/desktop_ui.h"
#include "shell/main_frame.h"
#include "shell/tip_panel.h"
#include "widgets/hyperlink.h"
#include "widgets/quick_info_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QFontComboBox>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

using namespace vorpane;
using namespace vorpane::test;

namespace {

template <typename Action> void whenModalShown(Action act)
{
    whenModal<QuickInfoDialog>([act](QuickInfoDialog& dialog) { act(&dialog); });
}

QString lastBox(const RecordingUi& ui)
{
    return ui.boxes.empty() ? QString() : fromCp1252(ui.boxes.back().text);
}

QMenu* menuTitled(QMainWindow& window, const QString& title)
{
    for (QAction* action : window.menuBar()->actions()) {
        if (action->text() == title)
            return action->menu();
    }
    return nullptr;
}

} // namespace

class TestShellDialogs : public QObject {
    Q_OBJECT
private slots:
    void marginsAreStoredInTenths_data();
    void marginsAreStoredInTenths();
    void marginArrowsStepToWholeNumbers();
    void optionFlagsAreWritten_data();
    void optionFlagsAreWritten();
    void componentsWriteAtOnce_data();
    void componentsWriteAtOnce();
    void cancelledComponentWritesNothing();
    void storedFontsRoundTrip_data();
    void storedFontsRoundTrip();
    void userTextFontHasNoSize();
    void quickInfoTickedSuppressesThatKeyOnly();
    void hyperlinkColoursByState();
    void hyperlinkOpensOnReleaseInsideOnly();
    void hyperlinkSpaceOpensAndFailureIsReported();
    void hyperlinkShowsTargetWhileFocused();
    void tipPanelShowsAndFades();
    void helpMenuGetsTipItem();
    void outputBarStateSurvivesRestart_data();
    void outputBarStateSurvivesRestart();
};

void TestShellDialogs::marginsAreStoredInTenths_data()
{
    QTest::addColumn<QString>("left"); // typed; empty keeps what the sheet shows
    QTest::addColumn<QString>("top");
    QTest::addColumn<int>("leftStored");
    QTest::addColumn<int>("topStored");
    QTest::newRow("defaults 0.0 and 18.5") << ""
                                           << "" << 0 << 185;
    QTest::newRow("12.34 truncated") << "12.34"
                                     << "12.34" << 123 << 123;
    QTest::newRow("comma as decimal point") << "7,5"
                                            << "0.7" << 75 << 7;
    QTest::newRow("whole numbers") << "999"
                                   << "0" << 9990 << 0;
}

void TestShellDialogs::marginsAreStoredInTenths()
{
    QFETCH(QString, left);
    QFETCH(QString, top);
    QFETCH(int, leftStored);
    QFETCH(int, topStored);
    DesktopFixture fixture;
    COptionsDlg sheet;
    COptionsPage1* page = sheet.marginsPage();
    QCOMPARE(page->leftMargin()->text(), QString("0.0"));
    QCOMPARE(page->topMargin()->text(), QString("18.5"));
    sheet.show();
    for (auto [box, typed] :
        { std::pair { page->leftMargin(), left }, std::pair { page->topMargin(), top } }) {
        if (typed.isEmpty())
            continue;
        box->selectAll();
        QTest::keyClicks(box, typed);
    }
    sheet.accept();
    QCOMPARE(Profile::readInt("Sheet", "LeftMargin", -1), leftStored);
    QCOMPARE(Profile::readInt("Sheet", "TopMargin", -1), topStored);
}

void TestShellDialogs::marginArrowsStepToWholeNumbers()
{
    DesktopFixture fixture;
    COptionsPage1 page;
    page.topMargin()->stepBy(1);
    QCOMPARE(page.topMargin()->value(), 19.0);
    page.topMargin()->setValue(18.5);
    page.topMargin()->stepBy(-1);
    QCOMPARE(page.topMargin()->value(), 18.0);
    page.leftMargin()->stepBy(-1);
    QCOMPARE(page.leftMargin()->value(), 0.0);
}

void TestShellDialogs::optionFlagsAreWritten_data()
{
    QTest::addColumn<QString>("untick");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("stored");
    QTest::newRow("flat toolbar") << "FlatToolbar"
                                  << "Display"
                                  << "FlatToolbar" << 0;
    QTest::newRow("field animation") << "FieldAnimation"
                                     << "Sheet"
                                     << "FieldAnimation" << 0;
    QTest::newRow("tip of the day stores StartUp 1") << "TipOfTheDay"
                                                     << "Tips"
                                                     << "StartUp" << 1;
}

void TestShellDialogs::optionFlagsAreWritten()
{
    QFETCH(QString, untick);
    QFETCH(QString, section);
    QFETCH(QString, value);
    QFETCH(int, stored);
    DesktopFixture fixture;
    CMainFrame frame;
    COptionsDlg sheet(&frame);
    auto* box = sheet.findChild<QCheckBox*>(untick);
    QVERIFY(box && box->isChecked());
    box->setChecked(false);
    sheet.accept();
    QCOMPARE(Profile::readInt(section.toStdString(), value.toStdString(), -1), stored);
    if (untick == "FlatToolbar") {
        QToolBar* bar = frame.findChild<QToolBar*>("ToolBar");
        QWidget* save = bar->widgetForAction(frame.action("file.save"));
        QVERIFY(qobject_cast<QToolButton*>(save));
        QVERIFY(!static_cast<QToolButton*>(save)->autoRaise());
    }
}

void TestShellDialogs::componentsWriteAtOnce_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("written"); // section/value=stored
    QTest::newRow("output font") << 0
                                 << QStringList { "Output/FontFace=Liberation Serif", "Output/FontSize=-16",
                                        "Output/FontWeight=700", "Output/FontItalic=1" };
    QTest::newRow("output background") << 1 << QStringList { "Output/BkColour=1193046" };
    QTest::newRow("output text") << 2 << QStringList { "Output/TxColour=1193046" };
    QTest::newRow("user text font without size")
        << 3
        << QStringList { "Sheet/UserTextFace=Liberation Serif",
               "Sheet/UserTextSize=", "Sheet/UserTextWeight=700", "Sheet/UserTextItalic=1" };
    QTest::newRow("user text colour") << 4 << QStringList { "Sheet/UserTextColour=1193046" };
    QTest::newRow("editor font") << 5
                                 << QStringList { "Edit/FontFace=Liberation Serif", "Edit/FontSize=-16",
                                        "Edit/FontWeight=700", "Edit/FontItalic=1" };
}

void TestShellDialogs::componentsWriteAtOnce()
{
    QFETCH(int, row);
    QFETCH(QStringList, written);
    DesktopFixture fixture;
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPointSize(12); // 16 pixels at 96 dpi
    font.setBold(true);
    font.setItalic(true);
    fixture.dialogs.fonts.push_back(font);
    fixture.dialogs.colours.push_back(QColor(0x56, 0x34, 0x12)); // 0x123456 as 0x00BBGGRR
    {
        COptionsDlg sheet;
        sheet.optionsPage()->components()->setCurrentRow(row);
        QTest::mouseClick(sheet.findChild<QPushButton*>("Change"), Qt::LeftButton);
        sheet.reject(); // written whatever the sheet does
    }
    for (const QString& entry : written) {
        const QStringList parts = entry.split(QRegularExpression("[/=]"));
        const std::string shown = Profile::readString(parts[0].toStdString(), parts[1].toStdString(), "");
        QCOMPARE(fromCp1252(shown), parts[2]);
    }
}

void TestShellDialogs::cancelledComponentWritesNothing()
{
    DesktopFixture fixture;
    COptionsDlg sheet;
    for (int row = 0; row < sheet.optionsPage()->components()->count(); ++row) {
        sheet.optionsPage()->components()->setCurrentRow(row);
        sheet.optionsPage()->changeSelected();
    }
    QCOMPARE(
        fixture.dialogs.captions, QStringList({ "font", "colour", "colour", "font face", "colour", "font" }));
    QCOMPARE(Profile::readString("Output", "FontFace", "none"), std::string("none"));
    QCOMPARE(Profile::readInt("Sheet", "UserTextColour", -1), -1);
}

void TestShellDialogs::storedFontsRoundTrip_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("weight");
    QTest::addColumn<bool>("italic");
    QTest::newRow("character height, default weight") << -10 << 0 << false;
    QTest::newRow("bold italic") << -13 << 700 << true;
    QTest::newRow("normal 400") << -20 << 400 << false;
}

void TestShellDialogs::storedFontsRoundTrip()
{
    QFETCH(int, height);
    QFETCH(int, weight);
    QFETCH(bool, italic);
    const QFont font = toQFont({ "Liberation Mono", height, weight, italic });
    QCOMPARE(font.pixelSize(), -height);
    QCOMPARE(font.weight(), weight == 0 ? QFont::Normal : QFont::Weight(weight));
    const StoredFont back = fromQFont(font);
    QCOMPARE(back.height, height);
    QCOMPARE(back.weight, weight == 0 ? 400 : weight);
    QCOMPARE(back.italic, italic);
    QCOMPARE(toColorRef(QColor(0x12, 0x34, 0x56)), 0x563412);
    QCOMPARE(fromColorRef(8388608), QColor(0, 0, 128));
}

void TestShellDialogs::userTextFontHasNoSize()
{
    DesktopFixture fixture;
    QFont initial(QStringLiteral("Liberation Serif"));
    initial.setPixelSize(13);
    initial.setWeight(QFont::Bold);
    initial.setItalic(true);
    FontFaceDialog dialog(initial);
    // A face, a weight, italic: nothing that takes a size.
    QVERIFY(dialog.findChildren<QSpinBox*>().isEmpty());
    QCOMPARE(dialog.findChildren<QComboBox*>().size(), 2);
    QCOMPARE(dialog.faceCombo()->currentFont().family(), QString("Liberation Serif"));
    QCOMPARE(dialog.weightCombo()->currentData().toInt(), int(QFont::Bold));
    QVERIFY(dialog.italicBox()->isChecked());
    dialog.faceCombo()->setCurrentFont(QFont(QStringLiteral("Liberation Sans")));
    dialog.weightCombo()->setCurrentIndex(dialog.weightCombo()->findData(int(QFont::Normal)));
    QTest::mouseClick(dialog.italicBox(), Qt::LeftButton);
    const QFont chosen = dialog.chosenFont();
    QCOMPARE(chosen.family(), QString("Liberation Sans"));
    QCOMPARE(chosen.weight(), QFont::Normal);
    QVERIFY(!chosen.italic());
    QCOMPARE(chosen.pixelSize(), 13);
}

void TestShellDialogs::quickInfoTickedSuppressesThatKeyOnly()
{
    DesktopFixture fixture;
    DesktopUi desktop(nullptr);
    whenModalShown([](QuickInfoDialog* dialog) {
        QCOMPARE(dialog->windowTitle(), QString("Información"));
        dialog->findChild<QCheckBox*>()->setChecked(true);
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    QVERIFY(QuickInfoDialog::showOnce("WizDragSwap", "Arrastra", nullptr));
    QCOMPARE(Profile::readInt("QuickInfo", "WizDragSwap", 0), 1);
    QVERIFY(!QuickInfoDialog::showOnce("WizDragSwap", "Arrastra", nullptr));

    // Another hint, closed without the tick, shows again next time.
    whenModalShown([](QuickInfoDialog* dialog) { dialog->accept(); });
    desktop.quickInfo("RunScript", "Ejecuta");
    QCOMPARE(Profile::readInt("QuickInfo", "RunScript", 0), 0);
    QVERIFY(!QuickInfoDialog::isSuppressed("RunScript"));
}

void TestShellDialogs::hyperlinkColoursByState()
{
    DesktopFixture fixture;
    CHyperlink link(QStringLiteral("enlace"));
    link.setTarget(QStringLiteral("mailto:vorpane@merrin.example"));
    QVERIFY(link.font().underline());
    QFont bigger = link.font();
    bigger.setUnderline(false);
    bigger.setPointSize(20);
    link.setFont(bigger);
    QVERIFY(link.font().underline());
    link.resize(100, 20);
    link.show();
    QCOMPARE(link.textColour(), QColor(0, 0, 0x80));
    QTest::mousePress(&link, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(link.textColour(), QColor(0xFF, 0, 0));
    QTest::mouseRelease(&link, Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(link.isVisited());
    QCOMPARE(link.textColour(), QColor(0, 0, 0xFF)); // still hovered
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&link, &leave);
    QVERIFY(!link.isHovered());
    QCOMPARE(link.textColour(), QColor(0x80, 0, 0x80));
}

void TestShellDialogs::hyperlinkOpensOnReleaseInsideOnly()
{
    DesktopFixture fixture;
    CHyperlink link(QStringLiteral("enlace"));
    link.setTarget(QStringLiteral("https://merrin.example/vorpane"));
    link.resize(100, 20);
    link.show();
    QTest::mousePress(&link, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(&link, QPoint(150, 5));
    QTest::mouseRelease(&link, Qt::LeftButton, {}, QPoint(150, 5));
    QVERIFY(fixture.dialogs.openedUrls.isEmpty());
    QVERIFY(!link.isVisited());
    QTest::mouseClick(&link, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(fixture.dialogs.openedUrls, QList<QUrl> { QUrl("https://merrin.example/vorpane") });
}

void TestShellDialogs::hyperlinkSpaceOpensAndFailureIsReported()
{
    DesktopFixture fixture;
    fixture.dialogs.urlsOpen = false;
    CHyperlink link(QStringLiteral("enlace"));
    link.setTarget(QStringLiteral("mailto:vorpane@merrin.example"));
    QTest::keyClick(&link, Qt::Key_A);
    QVERIFY(fixture.dialogs.openedUrls.isEmpty());
    QTest::keyClick(&link, Qt::Key_Space);
    QCOMPARE(fixture.dialogs.openedUrls.size(), 1);
    QCOMPARE(lastBox(fixture.ui), QString("Unable to open the requested URL\nmailto:vorpane@merrin.example"));
    QCOMPARE(int(fixture.ui.boxes.back().icon), int(MsgIcon::Error));
    QVERIFY(link.isVisited());
    QCOMPARE(link.textColour(), QColor(0x80, 0, 0x80));
}

void TestShellDialogs::hyperlinkShowsTargetWhileFocused()
{
    DesktopFixture fixture;
    CMainFrame frame;
    CAboutDlg about(&frame);
    about.show();
    QVERIFY(QTest::qWaitForWindowActive(&about));
    about.readmeLink()->setFocus();
    QTRY_COMPARE(frame.statusMessage(), about.readmeLink()->target());
    QVERIFY(about.readmeLink()->target().startsWith("file://"));
    about.contactLink()->setFocus();
    QTRY_COMPARE(frame.statusMessage(), QString("mailto:vorpane@merrin.example"));
    about.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->setFocus();
    QTRY_COMPARE(frame.statusMessage(), QString());
}

void TestShellDialogs::tipPanelShowsAndFades()
{
    DesktopFixture fixture;
    CMainFrame frame;
    frame.resize(900, 700);
    frame.show();
    TipPanel* tips = frame.tipPanel();
    QVERIFY(tips->isEnabled()); // the shipped tips.lst
    tips->showAtStartUp();
    QVERIFY(tips->isShowing());
    const QString first = tips->currentTip();
    QVERIFY(!first.isEmpty());
    // A click inside the panel fades it out in ten steps.
    QTest::mouseClick(frame.mdiArea()->viewport(), Qt::LeftButton, {}, tips->panelRect().center());
    QTRY_VERIFY(tips->fadeStep() > 0);
    QTRY_VERIFY_WITH_TIMEOUT(!tips->isShowing(), 3000);
    QCOMPARE(tips->fadeStep(), 0);
    frame.execute("help.tip");
    QVERIFY(tips->isShowing());
    QVERIFY(tips->currentTip() != first);
}

void TestShellDialogs::helpMenuGetsTipItem()
{
    DesktopFixture fixture;
    CMainFrame frame;
    QMenu* help = menuTitled(frame, "Ay&uda");
    QVERIFY(help);
    for (int i = 0; i < 2; ++i) {
        emit help->aboutToShow();
        const QList<QAction*> items = help->actions();
        QCOMPARE(items.size(), 5);
        QCOMPARE(items[0]->objectName(), QString("help.tip"));
        QVERIFY(items[1]->isSeparator());
        QCOMPARE(items[2]->objectName(), QString("help.contents"));
        QVERIFY(items[3]->isSeparator());
        QCOMPARE(items[4]->objectName(), QString("help.about"));
    }
}

void TestShellDialogs::outputBarStateSurvivesRestart_data()
{
    QTest::addColumn<bool>("hideWithEsc");
    QTest::newRow("hidden with Esc stays hidden") << true;
    QTest::newRow("shown stays shown") << false;
}

void TestShellDialogs::outputBarStateSurvivesRestart()
{
    QFETCH(bool, hideWithEsc);
    DesktopFixture fixture;
    {
        CMainFrame frame;
        frame.show();
        frame.execute("view.output");
        QVERIFY(frame.outputBar()->isVisible());
        if (hideWithEsc) {
            QVERIFY(QTest::qWaitForWindowActive(&frame));
            QTest::keyClick(&frame, Qt::Key_Escape);
            QVERIFY(frame.outputBar()->isHidden());
        }
        QVERIFY(frame.close());
    }
    CMainFrame again;
    again.showAtStart();
    QCOMPARE(again.outputBar()->isHidden(), hideWithEsc);
}

QTEST_MAIN(TestShellDialogs)
#include "test_shell_dialogs.moc"
