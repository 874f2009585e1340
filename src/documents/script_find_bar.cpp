#include "documents/script_find_bar.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <Qsci/qsciscintilla.h>

namespace vorpane {

ScriptFindBar::ScriptFindBar(QsciScintilla& editor, QWidget* parent)
    : QWidget(parent)
    , m_editor(editor)
    , m_find(new QLineEdit(this))
    , m_replace(new QLineEdit(this))
    , m_matchCase(new QCheckBox(tr("&Mayúsculas/minúsculas"), this))
    , m_replaceRow(new QWidget(this))
{
    setObjectName(QStringLiteral("ScriptFindBar"));
    m_find->setObjectName(QStringLiteral("FindText"));
    m_replace->setObjectName(QStringLiteral("ReplaceText"));
    auto* findRow = new QHBoxLayout;
    auto* findLabel = new QLabel(tr("&Buscar:"), this);
    findLabel->setBuddy(m_find);
    auto* next = new QPushButton(tr("&Siguiente"), this);
    auto* close = new QToolButton(this);
    close->setText(QStringLiteral("×"));
    close->setToolTip(tr("Cerrar (Esc)"));
    close->setAutoRaise(true);
    findRow->addWidget(findLabel);
    findRow->addWidget(m_find, 1);
    findRow->addWidget(next);
    findRow->addWidget(m_matchCase);
    findRow->addWidget(close);

    auto* replaceRow = new QHBoxLayout(m_replaceRow);
    replaceRow->setContentsMargins(0, 0, 0, 0);
    auto* replaceLabel = new QLabel(tr("&Reemplazar por:"), m_replaceRow);
    replaceLabel->setBuddy(m_replace);
    auto* one = new QPushButton(tr("R&eemplazar"), m_replaceRow);
    auto* all = new QPushButton(tr("Reemplazar &todo"), m_replaceRow);
    replaceRow->addWidget(replaceLabel);
    replaceRow->addWidget(m_replace, 1);
    replaceRow->addWidget(one);
    replaceRow->addWidget(all);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(2);
    layout->addLayout(findRow);
    layout->addWidget(m_replaceRow);

    m_find->installEventFilter(this);
    m_replace->installEventFilter(this);
    connect(m_find, &QLineEdit::returnPressed, this, [this] { findNext(findText()); });
    connect(m_replace, &QLineEdit::returnPressed, this, [this] { replaceOne(); });
    connect(next, &QPushButton::clicked, this, [this] { findNext(findText()); });
    connect(one, &QPushButton::clicked, this, [this] { replaceOne(); });
    connect(all, &QPushButton::clicked, this, [this] { replaceAll(); });
    connect(close, &QToolButton::clicked, this, [this] {
        hide();
        m_editor.setFocus();
    });
    hide();
}

QString ScriptFindBar::findText() const { return m_find->text(); }

void ScriptFindBar::open(bool replacing)
{
    const QString selected = m_editor.selectedText();
    if (!selected.isEmpty() && !selected.contains(QLatin1Char('\n')))
        m_find->setText(selected);
    m_replaceRow->setVisible(replacing);
    show();
    m_find->setFocus();
    m_find->selectAll();
}

bool ScriptFindBar::findNext(const QString& text)
{
    if (text.isEmpty())
        return false;
    int line = 0;
    int index = 0;
    m_editor.getCursorPosition(&line, &index);
    // From the caret (the end of the selection), wrapping round once.
    const bool found
        = m_editor.findFirst(text, false, m_matchCase->isChecked(), false, true, true, line, index);
    if (!found)
        emit notFound(text);
    return found;
}

bool ScriptFindBar::replaceOne()
{
    const QString text = findText();
    if (text.isEmpty())
        return false;
    const Qt::CaseSensitivity cs = m_matchCase->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (m_editor.hasSelectedText() && m_editor.selectedText().compare(text, cs) == 0)
        m_editor.replaceSelectedText(m_replace->text());
    return findNext(text);
}

int ScriptFindBar::replaceAll()
{
    const QString text = findText();
    if (text.isEmpty())
        return 0;
    int count = 0;
    m_editor.beginUndoAction();
    // Forward without wrapping from the top, so replaced text is never found again.
    bool found = m_editor.findFirst(text, false, m_matchCase->isChecked(), false, false, true, 0, 0, false);
    while (found) {
        m_editor.replace(m_replace->text());
        ++count;
        found = m_editor.findNext();
    }
    m_editor.endUndoAction();
    if (count == 0)
        emit notFound(text);
    return count;
}

bool ScriptFindBar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        hide();
        m_editor.setFocus();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vorpane
