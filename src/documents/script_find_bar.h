#pragma once
// The script editor's find bar: a text to find, and with Ctrl+H one to put in its place, under
// the editor. Enter finds the next occurrence, Escape closes the bar.

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QsciScintilla;

namespace vorpane {

class ScriptFindBar final : public QWidget {
    Q_OBJECT
public:
    explicit ScriptFindBar(QsciScintilla& editor, QWidget* parent = nullptr);

    // Shows the bar with the selection (or the last text) to find, the replace row when asked.
    void open(bool replacing);
    QString findText() const;
    QLineEdit* findEdit() const { return m_find; }
    QLineEdit* replaceEdit() const { return m_replace; }

    // Selects the next occurrence after the caret, from the top again at the end.
    bool findNext(const QString& text);
    // Replaces the selection when it is the text found, then finds the next one.
    bool replaceOne();
    // Replaces every occurrence in one undo step; how many.
    int replaceAll();

signals:
    void notFound(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QsciScintilla& m_editor;
    QLineEdit* m_find;
    QLineEdit* m_replace;
    QCheckBox* m_matchCase;
    QWidget* m_replaceRow;
};

} // namespace vorpane
