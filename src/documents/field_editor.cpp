#include "documents/field_editor.h"

#include "documents/sheet_canvas.h"
#include "docview/desktop_dialogs.h"
#include "platform/cp1252.h"
#include "platform/profile.h"
#include "platform/ui_services.h"
#include "rules/list_file.h"
#include "rules/text_case.h"
#include "sheet/field_actions.h"
#include "sheet/field_edit.h"
#include "sheet/sheet_item.h"
#include "sheet/sheet_painter.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPainter>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextFrame>
#include <QTextLayout>
#include <QTimer>
#include <QVBoxLayout>
#include <QValidator>
#include <algorithm>

namespace vorpane {

namespace {

// Where the suggestion list opens: below the editor, a little in from its left edge.
constexpr int kPopupIndent = 5;
constexpr int kPopupWidth = 195;
constexpr int kPopupHeight = 120;
// The editor of a turned field whose top is above the window starts this far down.
constexpr int kRaisedTop = 16;
// Line edits keep a margin of their own around the text; the editor's text stands where the
// page draws it.
constexpr int kLineEditHorizontalMargin = 2;
constexpr int kLineEditVerticalMargin = 1;

// Letters of every width, to compare the advances of two sizes of one font.
const QString kSpacingSample
    = QStringLiteral("abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789");

constexpr const char* kMultilineHintKey = "MultilineEdit";
constexpr const char* kMultilineHint = "Puedes pulsar Shift+Enter para insertar texto en su interior.     ";

// What the editor never takes: the '*' that hides names from pickers, and characters the files'
// code page cannot hold.
bool refusedText(const QString& text) { return text.contains(QLatin1Char('*')) || !toCp1252Exact(text); }

// Digits only (a leading minus only when the value already had one), and nothing refused.
class EditValidator final : public QValidator {
public:
    using QValidator::QValidator;
    bool numeric = false;
    bool allowMinus = false;

    State validate(QString& input, int&) const override
    {
        if (refusedText(input))
            return Invalid;
        if (!numeric)
            return Acceptable;
        for (qsizetype i = 0; i < input.size(); ++i) {
            const QChar c = input[i];
            if (!(c.isDigit() && c.unicode() < 128) && !(allowMinus && i == 0 && c == QLatin1Char('-')))
                return Invalid;
        }
        return Acceptable;
    }
};

// A multi-line edit that drops refused characters from what is pasted or dropped.
class MultilineEdit final : public QTextEdit {
public:
    using QTextEdit::QTextEdit;

protected:
    void insertFromMimeData(const QMimeData* source) override
    {
        if (!source->hasText())
            return;
        QString kept;
        const QString text = source->text();
        for (const QChar c : text) {
            if (!refusedText(QString(c)) || c == QLatin1Char('\n'))
                kept += c;
        }
        if (kept.size() != text.size())
            dialogs().beep();
        insertPlainText(kept);
    }
};

Qt::Alignment alignmentOf(EditAlignment alignment)
{
    switch (alignment) {
    case EditAlignment::Center:
        return Qt::AlignHCenter;
    case EditAlignment::Right:
        return Qt::AlignRight;
    case EditAlignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

QColor toQColor(SheetColour c) { return QColor(colourRed(c), colourGreen(c), colourBlue(c)); }

} // namespace

// --- The focus rectangle that leads the eye to a turned field's editor ------------------------

class FieldEditor::FocusRectangle final : public QWidget {
public:
    explicit FocusRectangle(QWidget* parent)
        : QWidget(parent)
        , m_timer(new QTimer(this))
    {
        setObjectName(QStringLiteral("FieldAnimation"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        hide();
        m_timer->setInterval(kAnimationStepMs);
        connect(m_timer, &QTimer::timeout, this, [this] {
            if (++m_step >= kAnimationSteps)
                stop();
            else
                update();
        });
    }

    void start(const QRect& from, const QRect& to)
    {
        m_from = from;
        m_to = to;
        m_step = 0;
        setGeometry(parentWidget()->rect());
        show();
        raise();
        m_timer->start();
    }

    void stop()
    {
        m_timer->stop();
        hide();
    }

    bool running() const { return m_timer->isActive(); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        const double t = double(m_step + 1) / kAnimationSteps;
        const auto mix = [t](int a, int b) { return int(std::lround(a + (b - a) * t)); };
        const QRect rect(QPoint(mix(m_from.left(), m_to.left()), mix(m_from.top(), m_to.top())),
            QPoint(mix(m_from.right(), m_to.right()), mix(m_from.bottom(), m_to.bottom())));
        QPainter painter(this);
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
        painter.drawRect(rect.normalized());
    }

private:
    QTimer* m_timer;
    QRect m_from;
    QRect m_to;
    int m_step = 0;
};

// --- FieldEditor --------------------------------------------------------------------------------

FieldEditor::FieldEditor(SheetLayout& layout, SheetCanvas& canvas)
    : QFrame(canvas.viewport())
    , m_layout(layout)
    , m_canvas(canvas)
    , m_line(new QLineEdit(this))
    , m_text(new MultilineEdit(this))
    , m_popup(new QFrame(this, Qt::ToolTip | Qt::FramelessWindowHint))
    , m_list(new QListWidget(m_popup))
    , m_focusRectangle(new FocusRectangle(canvas.viewport()))
{
    setObjectName(QStringLiteral("FieldEditor"));
    setAutoFillBackground(true);
    hide();

    m_line->setObjectName(QStringLiteral("FieldLineEdit"));
    m_line->setFrame(false);
    m_line->setTextMargins(-kLineEditHorizontalMargin, -kLineEditVerticalMargin, -kLineEditHorizontalMargin,
        -kLineEditVerticalMargin);
    m_line->setValidator(new EditValidator(m_line));
    m_line->hide();
    connect(m_line, &QLineEdit::textEdited, this, &FieldEditor::textEdited);

    m_text->setObjectName(QStringLiteral("FieldTextEdit"));
    m_text->setFrameStyle(QFrame::NoFrame);
    m_text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_text->setLineWrapMode(QTextEdit::WidgetWidth);
    m_text->setAcceptRichText(false);
    m_text->setTabChangesFocus(true);
    m_text->document()->setDocumentMargin(0);
    // Advances as the page lays them out, not rounded to the screen's pixels.
    m_text->document()->setUseDesignMetrics(true);
    m_text->hide();
    connect(m_text, &QTextEdit::textChanged, this, [this] {
        if (m_field && m_text->document()->isModified())
            textEdited();
    });

    for (QWidget* edit : { static_cast<QWidget*>(m_line), static_cast<QWidget*>(m_text) })
        edit->installEventFilter(this);

    m_popup->setObjectName(QStringLiteral("SuggestionPopup"));
    m_popup->setAttribute(Qt::WA_ShowWithoutActivating);
    m_popup->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_popup->setLineWidth(1);
    auto* popupLayout = new QVBoxLayout(m_popup);
    popupLayout->setContentsMargins(1, 1, 1, 1);
    popupLayout->addWidget(m_list);
    m_list->setObjectName(QStringLiteral("SuggestionList"));
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setFrameStyle(QFrame::NoFrame);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setUniformItemSizes(true);
    m_popup->hide();
    connect(m_list, &QListWidget::itemClicked, this, [this] { suggestionClicked(false); });
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { suggestionClicked(true); });

    connect(qApp, &QApplication::focusChanged, this, &FieldEditor::focusChanged);
}

FieldEditor::~FieldEditor()
{
    // The view ends editing before it goes; a stray field is only forgotten here, and the focus
    // that moves while the widgets go is no longer heard.
    disconnect(qApp, nullptr, this, nullptr);
    m_field = nullptr;
}

QWidget* FieldEditor::editWidget() const
{
    return m_multiline ? static_cast<QWidget*>(m_text) : static_cast<QWidget*>(m_line);
}

QString FieldEditor::text() const { return m_multiline ? m_text->toPlainText() : m_line->text(); }

void FieldEditor::setText(const QString& text)
{
    if (m_multiline) {
        m_text->setPlainText(text);
        // Lines as far apart as the page draws them (it leaves out the font's leading).
        QTextBlockFormat lines;
        lines.setLineHeight(m_lineHeight, QTextBlockFormat::FixedHeight);
        lines.setAlignment(m_alignment);
        QTextCursor all(m_text->document());
        all.select(QTextCursor::Document);
        all.mergeBlockFormat(lines);
        m_text->document()->clearUndoRedoStacks();
        m_text->document()->setModified(false);
    } else {
        m_line->setText(text);
    }
}

bool FieldEditor::isModified() const
{
    return m_multiline ? m_text->document()->isModified() : m_line->isModified();
}

void FieldEditor::setModified()
{
    if (m_multiline)
        m_text->document()->setModified(true);
    else
        m_line->setModified(true);
}

void FieldEditor::selectAll()
{
    if (m_multiline) {
        m_text->selectAll();
        m_text->ensureCursorVisible();
    } else {
        m_line->selectAll();
    }
}

bool FieldEditor::isAnimating() const { return m_focusRectangle->running(); }

void FieldEditor::startEditing(PlacedField& placement)
{
    const UserTextLook look = UserTextLook::fromProfile();
    endEditing(true);

    const FieldEditPlan plan = fieldEditPlan(placement, look);
    m_multiline = plan.multiline;
    m_originalText = plan.numeric ? QString::fromLatin1(plan.text.c_str()) : fromCp1252(plan.text);

    // The field where the page shows it; a turned field's editor is pulled into the window.
    const QRect drawn = m_canvas.toViewport(placement.rect).toAlignedRect();
    QRect rect = drawn;
    if (plan.rotated && rect.top() < 0)
        rect.moveTop(kRaisedTop);

    // The field's font at the view's zoom, never turned. A small size advances its letters a
    // little differently from the page's, which lays them out large and scales them; the spacing
    // makes up the difference, so that the text keeps its width when the editor opens.
    QFont font = plan.font;
    const double scale = m_canvas.pixelsPerUnit();
    font.setPointSizeF(std::max(1.0, font.pixelSize() * scale * 72.0 / logicalDpiY()));
    const double editAdvance = QFontMetricsF(font, this).horizontalAdvance(kSpacingSample);
    if (editAdvance > 0)
        font.setLetterSpacing(QFont::PercentageSpacing,
            100.0 * QFontMetricsF(plan.font).horizontalAdvance(kSpacingSample) * scale / editAdvance);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, toQColor(plan.textColour));
    setPalette(colours);

    const Qt::Alignment alignment = alignmentOf(plan.alignment);
    QWidget* edit = editWidget();
    QWidget* other = m_multiline ? static_cast<QWidget*>(m_line) : static_cast<QWidget*>(m_text);
    other->hide();
    if (m_multiline) {
        ui().quickInfo(kMultilineHintKey, cp1252(kMultilineHint));
        m_text->setFont(font);
        m_text->document()->setDefaultFont(font);
        const QFontMetricsF metrics(plan.font);
        m_lineHeight = (metrics.ascent() + metrics.descent()) * m_canvas.pixelsPerUnit();
        m_alignment = alignment;
    } else {
        m_line->setFont(font);
        m_line->setAlignment(alignment | Qt::AlignTop);
        auto* validator = static_cast<EditValidator*>(const_cast<QValidator*>(m_line->validator()));
        validator->numeric = plan.numeric;
        validator->allowMinus = plan.numeric && m_originalText.startsWith(QLatin1Char('-'));
        m_line->setMaxLength(plan.maxLength > 0 ? plan.maxLength : 32767);
    }

    // Height: the field's, or one line of the font when the text is not clipped to the field
    // (and for a turned single-line field). A turned field's editor is framed and 240 wide.
    int height = rect.height();
    if (!plan.clipped || (plan.rotated && !plan.multiline))
        height = QFontMetrics(font).height();
    int width = std::max(rect.width(), 1);
    if (plan.rotated) {
        setFrameStyle(QFrame::Panel | QFrame::Raised);
        setLineWidth(2);
        width = kRotatedEditorWidth;
        height += 2 * frameWidth();
    } else {
        setFrameStyle(QFrame::NoFrame);
    }
    height = std::max(height, 1);
    const int top = plan.multiline ? rect.top() + rect.height() - height : rect.top();
    setGeometry(rect.left(), top, width, height);
    edit->setGeometry(contentsRect());

    setText(m_originalText);
    m_field = &placement;
    showSuggestions(placement.optionListName, plan.text);
    selectAll();

    if (plan.rotated && Profile::read(profile_keys::kFieldAnimation) != 0)
        animate(drawn, geometry());

    show();
    raise();
    edit->show();
    if (m_multiline)
        alignFirstBaseline(QFontMetricsF(plan.font).ascent() * scale);
    edit->setFocus(Qt::OtherFocusReason);
    if (m_focusRectangle->running())
        m_focusRectangle->raise();
}

void FieldEditor::alignFirstBaseline(double ascent)
{
    // Lines of a fixed height put their baseline where the toolkit likes; the first one goes
    // where the page has it, one ascent below the field's top. The layout exists once the edit
    // is shown.
    QTextDocument* document = m_text->document();
    QTextFrameFormat frame = document->rootFrame()->frameFormat();
    frame.setTopMargin(0);
    document->rootFrame()->setFrameFormat(frame);
    m_text->setGeometry(contentsRect());
    document->documentLayout()->blockBoundingRect(document->firstBlock());
    const QTextLayout* layout = document->firstBlock().layout();
    if (!layout || layout->lineCount() == 0)
        return;
    const QTextLine line = layout->lineAt(0);
    const double shift = ascent - (layout->position().y() + line.position().y() + line.ascent());
    if (shift > 0) {
        frame.setTopMargin(shift);
        document->rootFrame()->setFrameFormat(frame);
    } else {
        m_text->setGeometry(contentsRect().adjusted(0, int(std::lround(shift)), 0, 0));
    }
    document->clearUndoRedoStacks();
    document->setModified(false);
}

bool FieldEditor::endEditing(bool commit)
{
    if (!m_field)
        return false;
    PlacedField* field = m_field;
    const bool modified = isModified();
    const QString edited = text();
    m_field = nullptr;

    if (editWidget()->hasFocus())
        m_canvas.setFocus(Qt::OtherFocusReason);
    hide();
    hideSuggestions();
    m_focusRectangle->stop();

    bool stored = false;
    if (commit && modified && edited != m_originalText) {
        const std::string bytes = storedEditText(toCp1252(edited), m_multiline);
        stored = storeFieldValue(m_layout, *field, script::ScriptValue(bytes));
    }
    emit editingEnded(stored);
    return stored;
}

void FieldEditor::setAccessibleLabel(const QString& name, const QString& description)
{
    for (QWidget* edit : { static_cast<QWidget*>(m_line), static_cast<QWidget*>(m_text) }) {
        edit->setAccessibleName(name);
        edit->setAccessibleDescription(description);
    }
}

bool FieldEditor::canUndo() const
{
    if (!m_field)
        return false;
    return m_multiline ? m_text->document()->isUndoAvailable() : m_line->isUndoAvailable();
}

void FieldEditor::undo()
{
    if (!m_field)
        return;
    if (m_multiline)
        m_text->undo();
    else
        m_line->undo();
}

bool FieldEditor::hasSelectedText() const
{
    if (!m_field)
        return false;
    return m_multiline ? m_text->textCursor().hasSelection() : m_line->hasSelectedText();
}

void FieldEditor::cut()
{
    if (m_field && m_multiline)
        m_text->cut();
    else if (m_field)
        m_line->cut();
}

void FieldEditor::copy()
{
    if (m_field && m_multiline)
        m_text->copy();
    else if (m_field)
        m_line->copy();
}

void FieldEditor::paste()
{
    if (m_field && m_multiline)
        m_text->paste();
    else if (m_field)
        m_line->paste();
}

// --- Keys ---------------------------------------------------------------------------------------

bool FieldEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_field || watched != editWidget())
        return QFrame::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        // These keys are the editor's while a field is open, whatever the menus bind them to.
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Asterisk:
            key->accept();
            return true;
        default:
            break;
        }
        return false;
    }
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (!key->text().isEmpty() && key->text().at(0).isPrint() && refusedText(key->text())) {
            dialogs().beep();
            return true;
        }
        switch (key->key()) {
        case Qt::Key_Escape:
            endEditing(false);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (m_multiline && (modifiers & Qt::ShiftModifier))
                m_text->insertPlainText(QStringLiteral("\n"));
            else if (!key->isAutoRepeat())
                enterPressed();
            return true;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            if (modifiers & (Qt::ControlModifier | Qt::AltModifier))
                return false;
            emit tabPressed(key->key() == Qt::Key_Tab && !(modifiers & Qt::ShiftModifier));
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
            if (!m_popup->isVisible())
                return false;
            stepSuggestion(key->key() == Qt::Key_Up ? -1 : 1);
            return true;
        default:
            return false;
        }
    }
    case QEvent::InputMethod: {
        auto* input = static_cast<QInputMethodEvent*>(event);
        if (!input->commitString().isEmpty() && refusedText(input->commitString())) {
            dialogs().beep();
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}

void FieldEditor::enterPressed()
{
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    if (m_popup->isVisible() && !selected.isEmpty()) {
        const QString entry = selected.front()->text();
        const bool already = equalsIgnoreCase(toCp1252(text()), toCp1252(entry));
        setText(entry);
        setModified();
        selectAll();
        if (already)
            endEditing(true);
        return;
    }
    endEditing(true);
}

void FieldEditor::stepSuggestion(int delta)
{
    const int count = m_list->count();
    if (count == 0)
        return;
    const int row = m_list->selectedItems().isEmpty() ? -1 : m_list->currentRow();
    const int next = row < 0 ? 0 : std::clamp(row + delta, 0, count - 1);
    m_list->setCurrentRow(next);
    m_list->scrollToItem(m_list->item(next));
}

void FieldEditor::textEdited()
{
    if (!m_field || !m_popup->isVisible())
        return;
    const int row = prefixSuggestion(m_suggestions, toCp1252(text()));
    if (row >= 0) {
        m_list->setCurrentRow(row);
        m_list->scrollToItem(m_list->item(row), QAbstractItemView::PositionAtTop);
    }
}

void FieldEditor::suggestionClicked(bool commit)
{
    QListWidgetItem* item = m_list->currentItem();
    if (!m_field || !item)
        return;
    setText(item->text());
    setModified();
    selectAll();
    editWidget()->setFocus(Qt::OtherFocusReason);
    if (commit)
        endEditing(true);
}

void FieldEditor::showSuggestions(const std::string& optionListName, const std::string& text)
{
    hideSuggestions();
    ListFile* lists = m_optionLists ? m_optionLists() : nullptr;
    if (!lists || optionListName.empty())
        return;
    const ListFile::Entries entries = lists->section(optionListName);
    if (!entries || entries->empty())
        return;
    m_suggestions = sortedSuggestions(*entries);
    for (const std::string& entry : m_suggestions) {
        // The list is narrow; a long entry shows whole in its tip.
        auto* item = new QListWidgetItem(fromCp1252(entry), m_list);
        item->setToolTip(item->text());
    }
    const int exact = exactSuggestion(m_suggestions, text);
    if (exact >= 0) {
        m_list->setCurrentRow(exact);
        m_list->scrollToItem(m_list->item(exact), QAbstractItemView::PositionAtTop);
    } else {
        m_list->setCurrentRow(-1);
        m_list->clearSelection();
    }
    const QRect editor = geometry();
    const QPoint at = parentWidget()->mapToGlobal(QPoint(editor.left() + kPopupIndent, editor.bottom() + 1));
    m_popup->setGeometry(at.x(), at.y(), kPopupWidth, kPopupHeight);
    m_popup->show();
}

void FieldEditor::hideSuggestions()
{
    m_popup->hide();
    m_list->clear();
    m_suggestions.clear();
}

// --- Focus --------------------------------------------------------------------------------------

bool FieldEditor::ownsWidget(const QWidget* widget) const
{
    return widget
        && (widget == this || isAncestorOf(widget) || widget == m_popup || m_popup->isAncestorOf(widget));
}

void FieldEditor::focusChanged(QWidget* old, QWidget* now)
{
    if (m_field && ownsWidget(old) && !ownsWidget(now))
        endEditing(true);
}

void FieldEditor::animate(const QRect& from, const QRect& to) { m_focusRectangle->start(from, to); }

} // namespace vorpane
