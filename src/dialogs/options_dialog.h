#pragma once
// "Opciones": the print margins ("Márgenes") and the display options ("Opciones": fonts and
// colours of the output window, the user's text on sheets and the script editor; flat toolbars;
// field animation; the tip of the day). A font or colour is written as soon as its own dialog
// ends with OK; everything else when the sheet does.

#include <QDialog>
#include <QDoubleSpinBox>
#include <QWidget>

class QCheckBox;
class QListWidget;
class QTabWidget;

namespace vorpane {

class Desk;

// Millimetres with up to two decimals; the arrows step to whole numbers.
class MillimetreSpinBox final : public QDoubleSpinBox {
    Q_OBJECT
public:
    explicit MillimetreSpinBox(QWidget* parent = nullptr);

    void stepBy(int steps) override;
    QString textFromValue(double value) const override;
    double valueFromText(const QString& text) const override;
    QValidator::State validate(QString& text, int& pos) const override;
};

class COptionsPage1 final : public QWidget {
    Q_OBJECT
public:
    explicit COptionsPage1(QWidget* parent = nullptr);
    // Writes the margins in tenths of a millimetre, truncated.
    void apply();

    MillimetreSpinBox* leftMargin() const { return m_left; }
    MillimetreSpinBox* topMargin() const { return m_top; }

private:
    MillimetreSpinBox* m_left;
    MillimetreSpinBox* m_top;
};

class COptionsPage2 final : public QWidget {
    Q_OBJECT
public:
    explicit COptionsPage2(QWidget* parent = nullptr);
    // Writes the options; the desk, when there is one, takes the toolbar style at once.
    void apply(Desk* desk = nullptr);

    QListWidget* components() const { return m_components; }
    // "&Cambiar...": the dialog of the selected component.
    void changeSelected();

private:
    QListWidget* m_components;
    QCheckBox* m_flatToolbar;
    QCheckBox* m_animation;
    QCheckBox* m_tipOfTheDay;
};

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
