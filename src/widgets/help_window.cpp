#include "widgets/help_window.h"

#include "platform/program_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QListWidget>
#include <QRegularExpression>
#include <QShortcut>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace vorpane {

namespace {

QPointer<HelpWindow> g_window;

const char* const kContents = "index.html";

// A chapter's title is its HTML title.
QString pageTitle(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QFileInfo(path).completeBaseName();
    const QString head = QString::fromUtf8(file.read(4096));
    const QRegularExpressionMatch match
        = QRegularExpression(QStringLiteral("<title>([^<]*)</title>")).match(head);
    return match.hasMatch() ? match.captured(1).trimmed() : QFileInfo(path).completeBaseName();
}

} // namespace

QString HelpWindow::guideFolder()
{
    return QFile::decodeName(programFolder().c_str()) + QStringLiteral("guide");
}

HelpWindow* HelpWindow::current() { return g_window; }

HelpWindow* HelpWindow::showGuide(QWidget* owner, const QString& page)
{
    if (!g_window)
        g_window = new HelpWindow(owner);
    else
        g_window->moveTo(owner);
    if (!page.isEmpty() || g_window->m_browser->source().isEmpty())
        g_window->openPage(page);
    g_window->show();
    g_window->raise();
    g_window->activateWindow();
    return g_window;
}

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_chapters(new QListWidget(this))
    , m_browser(new QTextBrowser(this))
    , m_back(new QToolButton(this))
    , m_forward(new QToolButton(this))
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Ayuda de Vorpane"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(900, 640);

    m_back->setText(QStringLiteral("< &Atrás"));
    m_back->setObjectName(QStringLiteral("HelpBack"));
    m_forward->setText(QStringLiteral("A&delante >"));
    m_forward->setObjectName(QStringLiteral("HelpForward"));
    auto* contents = new QToolButton(this);
    contents->setText(QStringLiteral("&Contenido"));
    contents->setObjectName(QStringLiteral("HelpContents"));
    m_back->setEnabled(false);
    m_forward->setEnabled(false);

    m_chapters->setObjectName(QStringLiteral("HelpChapters"));
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_browser->setOpenExternalLinks(true);
    m_browser->setSearchPaths({ guideFolder() });
    // The text browser reads a style sheet only as the document's default.
    QFile css(QDir(guideFolder()).filePath(QStringLiteral("guia.css")));
    if (css.open(QIODevice::ReadOnly))
        m_browser->document()->setDefaultStyleSheet(QString::fromUtf8(css.readAll()));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_back);
    buttons->addWidget(m_forward);
    buttons->addWidget(contents);
    buttons->addStretch();
    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_chapters);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({ 270, 630 });
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);

    connect(m_back, &QToolButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QToolButton::clicked, m_browser, &QTextBrowser::forward);
    connect(contents, &QToolButton::clicked, this, [this] { openPage(QString()); });
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QToolButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QToolButton::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpWindow::selectChapterOf);
    connect(m_chapters, &QListWidget::itemActivated, this,
        [this](QListWidgetItem* item) { openPage(item->data(Qt::UserRole).toString()); });
    connect(m_chapters, &QListWidget::itemClicked, this,
        [this](QListWidgetItem* item) { openPage(item->data(Qt::UserRole).toString()); });
    // Esc closes it, as it closes a dialog.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
    fillChapters();
}

HelpWindow::~HelpWindow() = default;

void HelpWindow::moveTo(QWidget* owner)
{
    if (parentWidget() == owner)
        return;
    // Reparenting hides the window: keep its place.
    const QRect place = geometry();
    const bool wasVisible = isVisible();
    setParent(owner, windowFlags());
    setGeometry(place);
    if (wasVisible)
        show();
}

void HelpWindow::fillChapters()
{
    const QDir folder(guideFolder());
    // The contents first, then the chapters in the order their file names give.
    QStringList files = folder.entryList({ QStringLiteral("*.html") }, QDir::Files, QDir::Name);
    files.removeAll(QLatin1String(kContents));
    if (folder.exists(QLatin1String(kContents)))
        files.prepend(QLatin1String(kContents));
    for (const QString& file : files) {
        auto* item = new QListWidgetItem(pageTitle(folder.filePath(file)), m_chapters);
        item->setData(Qt::UserRole, file);
    }
}

void HelpWindow::openPage(const QString& page)
{
    const QString name = page.isEmpty() ? QLatin1String(kContents) : page;
    const QString path = QDir(guideFolder()).filePath(name);
    if (!QFile::exists(path)) {
        m_browser->setHtml(QStringLiteral("<h1>Ayuda de Vorpane</h1><p>No se encuentra la guía en "
                                          "<code>%1</code>. Vuelve a instalar Vorpane.</p>")
                               .arg(guideFolder().toHtmlEscaped()));
        return;
    }
    const QUrl url = QUrl::fromLocalFile(path);
    if (m_browser->source() != url)
        m_browser->setSource(url);
}

QUrl HelpWindow::currentPage() const { return m_browser->source(); }

void HelpWindow::selectChapterOf(const QUrl& url)
{
    const QString file = QFileInfo(url.toLocalFile()).fileName();
    for (int row = 0; row < m_chapters->count(); ++row) {
        if (m_chapters->item(row)->data(Qt::UserRole).toString() == file) {
            const QSignalBlocker block(m_chapters);
            m_chapters->setCurrentRow(row);
            return;
        }
    }
}

} // namespace vorpane
