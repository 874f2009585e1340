#pragma once
// Colours the script editor's text by the script lexer's token classes: keywords, strings,
// numbers and comments, and what the lexer refuses (a string without its closing quote, a
// character outside the language) underlined. The rules are the lexer's: "//" starts a comment
// only when a line feed follows, and the last line has none.

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

namespace vorpane {

class ScriptHighlighter final : public QSyntaxHighlighter {
    Q_OBJECT
public:
    enum class TokenClass { Keyword, String, Number, Comment, Error };

    explicit ScriptHighlighter(QTextDocument* document);

    QTextCharFormat format(TokenClass tokenClass) const;
    // Picks colours that read on the editor's background.
    void setDarkBackground(bool dark);

protected:
    void highlightBlock(const QString& text) override;

private:
    void apply(int start, int length, TokenClass tokenClass);
    // Returns the position after the block comment that starts (or goes on) at `from`.
    int blockComment(const QString& text, int from);

    bool m_dark = false;
};

} // namespace vorpane
