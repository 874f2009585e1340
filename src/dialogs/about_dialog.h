#pragma once
// "Acerca de Vorpane": the picture, the version, a few words and two links.

#include <QDialog>

namespace vorpane {

class CHyperlink;

class CAboutDlg final : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kContact = "mailto:vorpane@merrin.example";

    explicit CAboutDlg(QWidget* parent = nullptr);

    CHyperlink* readmeLink() const { return m_readme; }
    CHyperlink* contactLink() const { return m_contact; }

    // The README beside the data files, else the one of the installed documentation.
    static QString readmePath();

private:
    CHyperlink* m_readme;
    CHyperlink* m_contact;
};

} // namespace vorpane
