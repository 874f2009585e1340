#include "dialogs/about_dialog.h"

#include "docview/desk.h"
#include "docview/resources.h"
#include "platform/program_folder.h"
#include "widgets/hyperlink.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace vorpane {

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent)
    , m_readme(new CHyperlink(tr("Léame de Vorpane"), this))
    , m_contact(new CHyperlink(tr("vorpane@merrin.example"), this))
{
    setObjectName(QStringLiteral("CAboutDlg"));
    // The links show their targets in the owner's status bar when the owner is the main window.
    m_readme->setDesk(dynamic_cast<Desk*>(parent));
    m_contact->setDesk(dynamic_cast<Desk*>(parent));
    setWindowTitle(tr("Acerca de Vorpane"));

    auto* picture = new QLabel(this);
    picture->setPixmap(resourcePixmap(QStringLiteral(":/pictures/about.svg")));
    picture->setAlignment(Qt::AlignTop);

    auto* name = new QLabel(QStringLiteral("Vorpane"), this);
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    name->setFont(big);
    auto* version = new QLabel(tr("Versión %1").arg(QCoreApplication::applicationVersion()), this);
    version->setObjectName(QStringLiteral("Version"));
    auto* text
        = new QLabel(tr("Fichas de investigadores para el juego de rol de terror Zhaldor: crea, "
                        "muestra, corrige e imprime a tus investigadores, y escribe tus propios scripts.\n\n"
                        "© Merrin. Las tiradas se hacen a la luz de una lámpara; lo que salga de los "
                        "libros prohibidos corre de tu cuenta."),
            this);
    text->setWordWrap(true);
    text->setMinimumWidth(340);

    m_readme->setObjectName(QStringLiteral("ReadmeLink"));
    m_readme->setTarget(QUrl::fromLocalFile(readmePath()).toString());
    m_contact->setObjectName(QStringLiteral("ContactLink"));
    m_contact->setTarget(QString::fromLatin1(kContact));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* words = new QVBoxLayout;
    words->addWidget(name);
    words->addWidget(version);
    words->addSpacing(8);
    words->addWidget(text);
    words->addSpacing(8);
    words->addWidget(m_readme, 0, Qt::AlignLeft);
    words->addWidget(m_contact, 0, Qt::AlignLeft);
    words->addStretch(1);
    auto* layout = new QGridLayout(this);
    layout->setHorizontalSpacing(20);
    layout->addWidget(picture, 0, 0);
    layout->addLayout(words, 0, 1);
    layout->addWidget(buttons, 1, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrder(ok, m_readme);
    setTabOrder(m_readme, m_contact);
    ok->setFocus();
}

QString CAboutDlg::readmePath()
{
    const QString beside = QFile::decodeName(programFile("README.md").c_str());
    if (QFileInfo::exists(beside))
        return beside;
    const QString installed = QDir(QCoreApplication::applicationDirPath())
                                  .absoluteFilePath(QStringLiteral("../share/doc/vorpane/README.md"));
    return QFileInfo::exists(installed) ? QDir::cleanPath(installed) : beside;
}

} // namespace vorpane
