#include "documents/script_preview.h"

#include "documents/handout_document.h"
#include "documents/investigator_document.h"
#include "docview/desk.h"
#include "docview/document_manager.h"
#include "platform/cp1252.h"
#include "platform/program_folder.h"
#include "platform/save_file.h"
#include "sheet/handout_sheet.h"
#include "sheet/handout_sheet_model.h"
#include "sheet/investigator_document_model.h"
#include "sheet/investigator_sheet.h"
#include "sheet/sheet_painter.h"
#include "sheet/sheet_script.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QToolButton>
#include <QVBoxLayout>

namespace vorpane {

// The page, with the last error written over it; a click reports where.
class PreviewPage final : public QWidget {
public:
    explicit PreviewPage(ScriptPreview& preview)
        : QWidget(nullptr)
        , m_preview(preview)
    {
        setObjectName(QStringLiteral("PreviewPage"));
        setMinimumSize(120, 120);
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Mid));
        const QImage& page = m_preview.page();
        if (!page.isNull())
            painter.drawImage(QPoint(kMargin, kMargin), page);
        const DraftRun& run = m_preview.lastRun();
        if (run.ok)
            return;
        QString text = fromCp1252(run.message);
        if (text.isEmpty())
            return;
        const QRect box = rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
        QFont font = painter.font();
        font.setBold(true);
        painter.setFont(font);
        QRect needed = painter.boundingRect(box.adjusted(8, 8, -8, -8), Qt::TextWordWrap, text);
        QRect banner(box.left(), box.top(), box.width(), needed.height() + 16);
        painter.fillRect(banner, QColor(180, 20, 20, 225));
        painter.setPen(Qt::white);
        painter.drawText(banner.adjusted(8, 8, -8, -8), Qt::TextWordWrap, text);
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() != Qt::LeftButton)
            return;
        const int line = m_preview.lineAtPixel(event->position() - QPointF(kMargin, kMargin));
        if (line > 0)
            emit m_preview.lineClicked(line);
    }

private:
    static constexpr int kMargin = 6;
    ScriptPreview& m_preview;
};

namespace {

constexpr double kMinDpi = 20;
constexpr double kMaxDpi = 200;

} // namespace

ScriptPreview::ScriptPreview(const std::string& extension, Desk* desk, QWidget* parent)
    : QWidget(parent)
    , m_extension(extension)
    , m_desk(desk)
    , m_sources(new QComboBox(this))
    , m_view(new PreviewPage(*this))
{
    setObjectName(QStringLiteral("ScriptPreview"));
    m_sources->setObjectName(QStringLiteral("PreviewSource"));
    m_sources->setToolTip(tr("El documento que dibuja la vista previa"));
    auto* refresh = new QToolButton(this);
    refresh->setText(QStringLiteral("↻"));
    refresh->setToolTip(tr("Actualizar la lista de documentos"));
    auto* top = new QHBoxLayout;
    top->addWidget(m_sources, 1);
    top->addWidget(refresh);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(top);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(m_view);
    scroll->setWidgetResizable(true);
    layout->addWidget(scroll, 1);

    m_timer.setSingleShot(true);
    m_timer.setInterval(kDelayMs);
    connect(&m_timer, &QTimer::timeout, this, &ScriptPreview::redraw);
    connect(refresh, &QToolButton::clicked, this, &ScriptPreview::refreshSources);
    connect(m_sources, &QComboBox::activated, this, [this] { redraw(); });
    refreshSources();
}

ScriptPreview::~ScriptPreview()
{
    // The host refers to the layout and the models.
    m_host.reset();
}

void ScriptPreview::refreshSources()
{
    const QString chosen = m_sources->currentText();
    m_sourceList.clear();
    const bool sheets = m_extension == kSheetScriptExtension;
    if (m_desk) {
        for (Document* document : m_desk->documents().documents()) {
            const bool fits = sheets ? qobject_cast<CInvestigatorDoc*>(document) != nullptr
                                     : qobject_cast<CHandoutDoc*>(document) != nullptr;
            if (!fits)
                continue;
            QPointer<Document> held(document);
            m_sourceList.push_back({ document->title().trimmed(), {},
                [held] { return held ? held->fileBytes() : std::string(); } });
        }
    }
    const QDir folder(QFile::decodeName(programFolder().c_str()));
    const QFileInfoList examples = sheets
        ? QDir(folder.filePath(QStringLiteral("examples")))
              .entryInfoList({ QStringLiteral("*.inv") }, QDir::Files, QDir::Name)
        : folder.entryInfoList({ QStringLiteral("*.zho") }, QDir::Files, QDir::Name);
    for (const QFileInfo& file : examples)
        m_sourceList.push_back({ tr("Ejemplo: %1").arg(file.fileName()), file.absoluteFilePath(), {} });

    m_sources->clear();
    for (const Source& source : m_sourceList)
        m_sources->addItem(source.title);
    const int again = m_sources->findText(chosen);
    m_sources->setCurrentIndex(again >= 0 ? again : 0);
    m_loaded = -1;
}

bool ScriptPreview::loadSource()
{
    const int index = m_sources->currentIndex();
    if (index == m_loaded && index >= 0 && m_sourceList[size_t(index)].path.size())
        return true;
    m_host.reset();
    m_investigator.reset();
    m_handout.reset();
    // A fresh layout: the fields a host registers read its model, and a script finds a field by
    // its first registration, so fields kept from the last load would read a freed model.
    m_layout = std::make_unique<SheetLayout>();
    m_loaded = -1;
    if (index < 0 || size_t(index) >= m_sourceList.size())
        return false;
    const Source& source = m_sourceList[size_t(index)];
    std::string path = QFile::encodeName(source.path).toStdString();
    if (source.path.isEmpty()) {
        // An open document runs as it stands, in a copy of its own: a draft's setfieldvalue
        // never reaches the document.
        if (!m_temp)
            m_temp = std::make_unique<QTemporaryDir>();
        const QString name = m_extension == kSheetScriptExtension ? QStringLiteral("draft.inv")
                                                                  : QStringLiteral("draft.zho");
        path = QFile::encodeName(m_temp->filePath(name)).toStdString();
        if (saveFile(path, source.bytes()) != SaveResult::Saved)
            return false;
    }
    if (m_extension == kSheetScriptExtension) {
        m_investigator = std::make_unique<InvestigatorDocumentModel>();
        if (!m_investigator->open(path))
            return false;
        m_host = std::make_unique<InvestigatorSheet>(*m_layout, *m_investigator);
    } else {
        m_handout = std::make_unique<HandoutSheetModel>();
        if (!m_handout->open(path))
            return false;
        m_host = std::make_unique<HandoutSheet>(*m_layout, *m_handout);
    }
    m_loaded = index;
    return true;
}

void ScriptPreview::textChanged() { m_timer.start(); }

void ScriptPreview::redraw()
{
    m_timer.stop();
    ++m_redraws;
    const std::optional<std::string> text = m_text ? m_text() : std::nullopt;
    if (!text) {
        m_lastRun = { false, cp1252("El texto tiene caracteres que no caben en Windows-1252."), 0 };
    } else if (!loadSource()) {
        m_lastRun = { false, cp1252("No se puede abrir el documento de la vista previa."), 0 };
    } else {
        m_lastRun = runSheetScriptDraft(*text, *m_layout);
        if (m_lastRun.ok) {
            const double width = std::max(1, m_layout->pageWidth()) / kUnitsPerInch;
            m_dpi = std::clamp((m_view->width() - 12) / width, kMinDpi, kMaxDpi);
            const QImage page = renderSheet(*m_layout, m_dpi);
            if (!page.isNull())
                m_page = page;
        }
    }
    m_clickable = m_lastRun.ok;
    if (m_lastRun.ok)
        m_view->setMinimumHeight(std::max(120, m_page.height() + 12));
    m_view->update();
    emit ran(m_lastRun.line, fromCp1252(m_lastRun.message));
}

int ScriptPreview::lineAtPixel(const QPointF& pixel) const
{
    if (!m_clickable || m_dpi <= 0)
        return 0;
    const double unitsPerPixel = kUnitsPerInch / m_dpi;
    return drawnLineAt(*m_layout, int32_t(pixel.x() * unitsPerPixel), -int32_t(pixel.y() * unitsPerPixel));
}

void ScriptPreview::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!m_page.isNull())
        m_timer.start();
}

} // namespace vorpane
