#pragma once
// Colours the script editor's text by the script lexer's token classes: keywords, the names of
// the host objects, strings, numbers and comments, and what the lexer refuses (a string without
// its closing quote, a character outside the language) in the error style. The rules are the
// lexer's: "//" starts a comment only when a line feed follows, and the last line has none. It
// also gives every line its fold level by the depth of its braces.

#include <Qsci/qscilexercustom.h>

namespace vorpane {

class ScriptLexer final : public QsciLexerCustom {
    Q_OBJECT
public:
    enum Style { Default = 0, Keyword, String, Number, Comment, Error, HostObject, StyleCount };

    explicit ScriptLexer(QObject* parent = nullptr);

    const char* language() const override { return "Script"; }
    QString description(int style) const override;
    void styleText(int start, int end) override;

    QColor defaultColor(int style) const override;
    QFont defaultFont(int style) const override;
    QColor defaultPaper(int style) const override;
    const char* blockStart(int* style = nullptr) const override;
    const char* blockEnd(int* style = nullptr) const override;
    int braceStyle() const override { return Default; }
    QStringList autoCompletionWordSeparators() const override { return { QStringLiteral(".") }; }
    const char* wordCharacters() const override;

    // The editor's font for every style (bold and italic where a style wants them).
    void setBaseFont(const QFont& font);
    // Picks colours that read on the editor's background.
    void setDarkBackground(bool dark);
    bool darkBackground() const { return m_dark; }

private:
    QFont m_font;
    bool m_dark = false;
};

} // namespace vorpane
