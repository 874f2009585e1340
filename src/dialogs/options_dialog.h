#pragma once
// "Opciones": the print margins ("Márgenes") and the display options ("Opciones": fonts and
// colours of the output window, the user's text on sheets and the script editor; flat toolbars;
// field animation; the tip of the day). A font or colour is written as soon as its own dialog
// ends with OK; everything else when the sheet does.
// COptionsDlg is the sheet; its pages have headers of their own.

#include "dialogs/options_page1.h"
#include "dialogs/options_page2.h"

#include <QDialog>
#include <QDoubleSpinBox>
#include <QWidget>

class QCheckBox;
class QListWidget;
class QTabWidget;

namespace vorpane {

class Desk;
class COptionsPage1;
class COptionsPage2;

class COptionsDlg final : public QDialog {
    Q_OBJECT
public:
    // A parent that is the main window's desk takes the new settings.
    explicit COptionsDlg(QWidget* parent = nullptr);

    QTabWidget* tabs() const { return m_tabs; }
    COptionsPage1* marginsPage() const { return m_page1; }
    COptionsPage2* optionsPage() const { return m_page2; }

    void accept() override;

    // Runs the sheet; after OK the output window and every view reread their settings.
    static void run(QWidget* parent);

private:
    Desk* m_desk;
    QTabWidget* m_tabs;
    COptionsPage1* m_page1;
    COptionsPage2* m_page2;
};

} // namespace vorpane
