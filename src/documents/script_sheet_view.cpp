#include "documents/script_sheet_view.h"

#include "documents/field_editor.h"
#include "documents/sheet_accessibility.h"
#include "documents/sheet_canvas.h"
#include "documents/sheet_printing.h"
#include "documents/view_commands.h"
#include "docview/commands.h"
#include "docview/cursors.h"
#include "docview/desk.h"
#include "docview/desktop_dialogs.h"
#include "docview/document.h"
#include "image/image.h"
#include "platform/cp1252.h"
#include "platform/ui_services.h"
#include "sheet/field_actions.h"
#include "sheet/field_edit.h"
#include "sheet/sheet_painter.h"
#include "sheet/sheet_script.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPrinter>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <cmath>

namespace vorpane {

CScriptSheetView::CScriptSheetView(
    Document& document, DocumentModel& model, const char* extension, QWidget* parent)
    : DocumentView(document, parent)
    , m_model(model)
    , m_pictures(std::make_unique<SheetPictureCache>())
    , m_extension(extension)
    , m_canvas(new SheetCanvas(this))
    , m_editor(new FieldEditor(m_layout, *m_canvas))
    , m_accessibility(std::make_unique<SheetAccessibility>(*this))
{
    SheetAccessibility::installFactory();
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(m_canvas);
    setFocusProxy(m_canvas);
    m_canvas->setPageSize(m_layout.pageWidth(), m_layout.pageHeight());
    m_canvas->setRenderer([this](QPainter& painter) {
        if (m_running)
            return false;
        SheetPainter sheetPainter(painter, m_layout, UserTextLook::fromProfile(), m_pictures.get());
        sheetPainter.replay();
        return true;
    });
    m_canvas->viewport()->installEventFilter(this);
    m_canvas->installEventFilter(this);
    connect(m_canvas, &SheetCanvas::aboutToMove, this, &CScriptSheetView::commitEditing);
    connect(m_canvas, &SheetCanvas::tabPressed, this, &CScriptSheetView::moveToNextField);
    connect(m_editor, &FieldEditor::tabPressed, this, &CScriptSheetView::moveToNextField);
    connect(m_editor, &FieldEditor::editingEnded, this, [this](bool stored) {
        if (!stored)
            m_canvas->viewport()->update();
        // The page has the focus back: a reader hears the field it stays on.
        if (m_canvas->hasFocus())
            m_accessibility->focusMoved();
    });
    connect(m_canvas, &SheetCanvas::zoomChanged, this, [this](int percent) {
        if (isActiveView())
            desk()->setStatusMessage(tr("Zoom %1 %").arg(percent));
    });
    m_subscription = m_model.subscribe([this](DocumentChange change) { modelChanged(change); });
    registerCommands();
}

CScriptSheetView::~CScriptSheetView()
{
    m_model.unsubscribe(m_subscription);
    connectStyleCombo(false);
    // The editor forgets its field and the page widgets go before the layout they show;
    // placements go before the host that draws them.
    m_editor->endEditing(false);
    m_accessibility->reset();
    // A canvas being destroyed is no longer a canvas: its last events must not reach the filter.
    m_canvas->viewport()->removeEventFilter(this);
    m_canvas->removeEventFilter(this);
    delete m_canvas;
    m_canvas = nullptr;
    m_editor = nullptr;
    m_layout.clear();
    m_layout.setHost(nullptr);
}

bool CScriptSheetView::isEditing() const { return m_editor->isEditing(); }

bool CScriptSheetView::isActiveView() const
{
    const Desk* owner = desk();
    return owner && owner->activeView() == this;
}

// --- Commands -----------------------------------------------------------------------------------

void CScriptSheetView::registerCommands()
{
    addCommand(cmd::Refresh, [this] { refresh(); });
    addCommandIf(
        cmd::SheetStyle,
        [this] {
            if (QComboBox* combo = desk() ? desk()->styleCombo() : nullptr) {
                combo->setFocus(Qt::ShortcutFocusReason);
                combo->showPopup();
            }
        },
        [this] { return desk() && desk()->styleCombo()->isEnabled(); });

    // While a field is open, Undo is the field's own; the document's history waits until it ends.
    addCommand(
        cmd::Undo,
        [this] {
            if (isEditing())
                m_editor->undo();
            else
                m_model.undo();
        },
        [this] { return CommandState { isEditing() ? m_editor->canUndo() : m_model.canUndo() }; });
    addCommandIf(
        cmd::Redo, [this] { m_model.redo(); }, [this] { return !isEditing() && m_model.canRedo(); });
    addCommandIf(
        cmd::Cut, [this] { m_editor->cut(); }, [this] { return m_editor->hasSelectedText(); });
    addCommandIf(
        cmd::Copy, [this] { m_editor->copy(); }, [this] { return m_editor->hasSelectedText(); });
    addCommandIf(
        cmd::Paste, [this] { m_editor->paste(); }, [this] { return isEditing(); });

    addCommand(cmd::Print, [this] {
        commitEditing();
        printSheetWithDialog(window(), m_layout, documentName());
    });
    addCommand(cmd::PrintDirect, [this] { printTo(sheetPrinter()); });
    addCommand(cmd::PrintPreview, [this] {
        commitEditing();
        showSheetPrintPreview(window(), m_layout, documentName());
    });
    addCommand(cmd::PrintSetup, [this] { showSheetPrinterSetup(window()); });
    addCommand(cmd::ExportPdf, [this] { exportPdf(); });
    addCommand(cmd::CopySheet, [this] {
        commitEditing();
        copySheetPicture(m_layout);
    });

    addCommandIf(
        cmd::ZoomIn, [this] { zoomBy(true); }, [this] { return m_canvas->zoom() < SheetCanvas::kMaxZoom; });
    addCommandIf(
        cmd::ZoomOut, [this] { zoomBy(false); }, [this] { return m_canvas->zoom() > SheetCanvas::kMinZoom; });
    addCommand(cmd::ZoomActual, [this] { m_canvas->setZoom(100); });
    addCommand(
        cmd::ZoomFitWidth, [this] { m_canvas->setFitWidth(!m_canvas->fitsWidth()); },
        [this] {
            return CommandState { true, m_canvas->fitsWidth() };
        });
}

void CScriptSheetView::zoomBy(bool larger)
{
    m_canvas->setZoom(SheetCanvas::nextZoom(m_canvas->zoom(), larger));
}

QString CScriptSheetView::documentName() const { return document().title().trimmed(); }

void CScriptSheetView::exportPdf()
{
    commitEditing();
    QString proposed = QFileInfo(document().proposedFileName()).completeBaseName() + QStringLiteral(".pdf");
    if (!document().path().isEmpty())
        proposed = QFileInfo(document().path()).dir().filePath(proposed);
    const QString path = dialogs().saveFileName(
        window(), tr("Exportar a PDF"), proposed, tr("Documentos PDF (*.pdf)"), QStringLiteral("pdf"));
    if (!path.isEmpty())
        exportSheetPdf(path, m_layout, documentName());
}

bool CScriptSheetView::printTo(QPrinter& printer)
{
    commitEditing();
    printer.setDocName(documentName());
    return printSheetOn(printer, m_layout);
}

// --- Running the script -------------------------------------------------------------------------

void CScriptSheetView::initialUpdate()
{
    m_host = makeHost();
    chooseScript(initialScriptName());
    refreshStyleCombo();
    refreshStatusPanes();
}

void CScriptSheetView::chooseScript(const std::string& name)
{
    m_scriptName = chooseSheetScript(name, m_extension);
    recordScriptName(m_scriptName);
    runScript();
}

void CScriptSheetView::recordScriptName(const std::string&) { }

void CScriptSheetView::runScript()
{
    if (!m_host)
        return;
    commitEditing();
    m_running = true;
    runSheetScriptNamed(m_scriptName, m_extension, m_layout);
    m_running = false;
    m_canvas->setPageSize(m_layout.pageWidth(), m_layout.pageHeight());
    m_canvas->dropPage();
    // Ready before the next paint, so that a new layout never shows the old page stretched.
    m_canvas->page();
    m_accessibility->layoutRebuilt();
}

void CScriptSheetView::refresh()
{
    m_layout.resetPageSize();
    runScript();
}

void CScriptSheetView::chooseStyle(const std::string& name)
{
    if (name == m_scriptName)
        return;
    commitEditing();
    m_layout.currentField = -1;
    chooseScript(name);
    refreshStyleCombo();
}

void CScriptSheetView::settingsChanged() { runScript(); }

void CScriptSheetView::scriptFileSaved(const QString& path)
{
    const QFileInfo saved(path);
    if (saved.suffix().compare(QString::fromStdString(m_extension), Qt::CaseInsensitive) != 0)
        return;
    // A first script of this kind appears: the error page makes way for it.
    if (m_scriptName.empty()) {
        chooseScript({});
        refreshStyleCombo();
        return;
    }
    const QFileInfo shown(QFile::decodeName(sheetScriptPath(m_scriptName, m_extension).c_str()));
    if (shown.canonicalFilePath() == saved.canonicalFilePath())
        runScript();
    // The file may be a new style: the list offers it at once.
    refreshStyleCombo();
}

void CScriptSheetView::modelChanged(DocumentChange change)
{
    switch (change) {
    case DocumentChange::Values:
        m_canvas->dropPage();
        refreshStatusPanes();
        m_accessibility->valuesChanged();
        break;
    case DocumentChange::Content:
        runScript();
        refreshStatusPanes();
        break;
    case DocumentChange::ModifiedMark:
        break;
    }
}

void CScriptSheetView::commitEditing() { m_editor->endEditing(true); }

// --- Activation, the style combo box and the status bar -----------------------------------------

void CScriptSheetView::activated(bool active)
{
    connectStyleCombo(active);
    if (active) {
        refreshStyleCombo();
        refreshStatusPanes();
    } else {
        commitEditing();
        clearStatusPanes();
        if (Desk* owner = desk()) {
            const QSignalBlocker block(owner->styleCombo());
            owner->styleCombo()->clear();
            owner->styleCombo()->setEnabled(false);
        }
    }
}

void CScriptSheetView::connectStyleCombo(bool connect)
{
    if (m_styleConnection) {
        disconnect(m_styleConnection);
        m_styleConnection = {};
    }
    Desk* owner = desk();
    if (!connect || !owner)
        return;
    m_styleConnection
        = QObject::connect(owner->styleCombo(), &QComboBox::textActivated, this, [this](const QString& name) {
              chooseStyle(toCp1252(name));
              m_canvas->setFocus(Qt::OtherFocusReason);
          });
}

void CScriptSheetView::refreshStyleCombo()
{
    Desk* owner = desk();
    if (!owner || m_extension.empty() || !isActiveView())
        return;
    QComboBox* combo = owner->styleCombo();
    const QSignalBlocker block(combo);
    combo->clear();
    const std::vector<std::string> names = sheetScriptNames(m_extension);
    for (const std::string& name : names)
        combo->addItem(fromCp1252(name));
    combo->setEnabled(!names.empty());
    combo->setCurrentIndex(
        combo->findText(fromCp1252(m_scriptName), Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void CScriptSheetView::refreshStatusPanes()
{
    if (isActiveView())
        clearStatusPanes();
}

void CScriptSheetView::clearStatusPanes()
{
    Desk* owner = desk();
    if (!owner)
        return;
    owner->setPaneText(Desk::Pane::SkillPoints, {});
    owner->setPaneText(Desk::Pane::Points, {});
}

// --- Clicks, the cursor and Tab -----------------------------------------------------------------

int CScriptSheetView::placementAt(QPointF viewportPoint) const
{
    const QPointF sheet = m_canvas->toSheet(viewportPoint);
    return m_layout.hitTest(int32_t(std::lround(sheet.x())), int32_t(std::lround(sheet.y())));
}

QCursor CScriptSheetView::cursorAt(QPointF viewportPoint) const
{
    const int index = placementAt(viewportPoint);
    if (index < 0)
        return Qt::ArrowCursor;
    const PlacedField& placement = *m_layout.placed()[size_t(index)];
    const SheetField& field = *placement.field;
    if (!placement.enabled || field.hasFlag(FieldReadOnly))
        return Qt::ArrowCursor;
    if (field.isCheckBox() || field.isPicture() || placement.isTableEntry())
        return pointingHandCursor();
    return Qt::IBeamCursor;
}

void CScriptSheetView::click(QPointF viewportPoint)
{
    const int index = placementAt(viewportPoint);
    commitEditing();
    if (index < 0)
        return;
    PlacedField& placement = *m_layout.placed()[size_t(index)];
    if (placement.field->hasFlag(FieldTabStop) && !placement.isTableEntry())
        m_layout.currentField = index;
    clickAction(placement);
    m_accessibility->focusMoved();
}

void CScriptSheetView::activatePlacement(int index)
{
    if (index < 0 || size_t(index) >= m_layout.placed().size())
        return;
    commitEditing();
    m_canvas->setFocus(Qt::OtherFocusReason);
    PlacedField& placement = *m_layout.placed()[size_t(index)];
    if (placement.field->hasFlag(FieldTabStop) && !placement.isTableEntry())
        m_layout.currentField = index;
    m_canvas->ensureVisible(m_canvas->toViewport(placement.rect));
    clickAction(placement);
    m_accessibility->focusMoved();
}

void CScriptSheetView::moveToNextField(bool forward)
{
    commitEditing();
    const int index = m_layout.moveToNextField(forward);
    if (index < 0)
        return;
    PlacedField& placement = *m_layout.placed()[size_t(index)];
    m_canvas->ensureVisible(m_canvas->toViewport(placement.rect));
    clickAction(placement);
    m_accessibility->focusMoved();
}

void CScriptSheetView::clickAction(PlacedField& placement)
{
    SheetField& field = *placement.field;
    if (!placement.enabled || field.hasFlag(FieldReadOnly))
        return;
    if (placement.isTableEntry()) {
        chooseTableEntry(m_layout, static_cast<TableEntry&>(placement));
    } else if (field.isCheckBox()) {
        toggleCheckBox(m_layout, placement);
    } else if (field.isPicture()) {
        std::string current;
        try {
            current = field.value(&placement).toText();
        } catch (const script::ScriptError&) {
        }
        const QString chosen = choosePicture(current);
        if (!chosen.isEmpty()) {
            const std::optional<std::string> path = toCp1252Exact(chosen);
            if (path)
                storeFieldValue(m_layout, placement, script::ScriptValue(*path));
            else
                showMessage(cp1252("El nombre del archivo tiene caracteres que Vorpane no puede guardar: ")
                        + toCp1252(chosen),
                    {}, MsgIcon::Warning);
        }
    } else {
        m_accessibility->editorOpening(placement);
        m_editor->startEditing(placement);
    }
}

QString CScriptSheetView::choosePicture(const std::string& current)
{
    // The dialog starts in the user's documents folder, with the current picture proposed.
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty() || !QFileInfo(documents).isDir())
        documents = QDir::currentPath();
    const QString value = fromCp1252(current);
    QString proposed = documents + QLatin1Char('/');
    if (!value.isEmpty())
        proposed = QDir::isAbsolutePath(value) ? value : QDir(documents).filePath(value);
    return dialogs().openFileName(window(), tr("Abrir"), proposed, qtFileDialogFilter(kImageFileFilter));
}

bool CScriptSheetView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_canvas && event->type() == QEvent::FocusIn)
        refreshStyleCombo();
    if (watched != m_canvas->viewport())
        return DocumentView::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            m_mousePressed = true;
            m_canvas->setFocus(Qt::MouseFocusReason);
        }
        break;
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && m_mousePressed) {
            m_mousePressed = false;
            click(mouse->position());
        }
        break;
    }
    case QEvent::MouseMove:
        m_canvas->viewport()->setCursor(cursorAt(static_cast<QMouseEvent*>(event)->position()));
        break;
    default:
        break;
    }
    return DocumentView::eventFilter(watched, event);
}

} // namespace vorpane
