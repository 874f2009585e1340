#include "documents/script_highlighter.h"

#include "script/keywords.h"

#include <QTextDocument>

namespace vorpane {

namespace {

enum BlockState { Normal = 0, InBlockComment = 1 };

// The characters that make up operators and punctuation; anything else outside tokens is refused.
constexpr QLatin1StringView kPunctuation("-+*/%|&^<>=!~?:;,.()[]{}");

bool isAsciiLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }
bool isHexDigit(QChar c) { return isDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'); }
bool isWordStart(QChar c) { return isAsciiLetter(c) || c == u'_'; }
bool isWordPart(QChar c) { return isWordStart(c) || isDigit(c); }

bool isKeyword(QStringView word)
{
    for (const char* keyword : script::keywords()) {
        if (word == QLatin1StringView(keyword))
            return true;
    }
    return false;
}

// The end of the number at `i`: hexadecimal, floating (digits on both sides of the point) or a
// plain run of digits, the longest that fits.
int numberEnd(const QString& text, int i)
{
    const int n = int(text.size());
    if (text[i] == u'0' && i + 2 < n && (text[i + 1] == u'x' || text[i + 1] == u'X')
        && isHexDigit(text[i + 2])) {
        i += 2;
        while (i < n && isHexDigit(text[i]))
            ++i;
        return i;
    }
    while (i < n && isDigit(text[i]))
        ++i;
    if (i + 1 < n && text[i] == u'.' && isDigit(text[i + 1])) {
        ++i;
        while (i < n && isDigit(text[i]))
            ++i;
    }
    return i;
}

} // namespace

ScriptHighlighter::ScriptHighlighter(QTextDocument* document)
    : QSyntaxHighlighter(document)
{
}

void ScriptHighlighter::setDarkBackground(bool dark)
{
    if (dark == m_dark)
        return;
    m_dark = dark;
    rehighlight();
}

QTextCharFormat ScriptHighlighter::format(TokenClass tokenClass) const
{
    QTextCharFormat result;
    switch (tokenClass) {
    case TokenClass::Keyword:
        result.setForeground(m_dark ? QColor(0x82, 0xaa, 0xff) : QColor(0x00, 0x00, 0xa0));
        result.setFontWeight(QFont::Bold);
        break;
    case TokenClass::String:
        result.setForeground(m_dark ? QColor(0xf0, 0x9a, 0x6a) : QColor(0xa3, 0x15, 0x15));
        break;
    case TokenClass::Number:
        result.setForeground(m_dark ? QColor(0x7f, 0xd8, 0xb0) : QColor(0x09, 0x86, 0x58));
        break;
    case TokenClass::Comment:
        result.setForeground(m_dark ? QColor(0x8a, 0xb8, 0x7a) : QColor(0x3a, 0x7d, 0x2a));
        result.setFontItalic(true);
        break;
    case TokenClass::Error:
        result.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        result.setUnderlineColor(Qt::red);
        break;
    }
    return result;
}

void ScriptHighlighter::apply(int start, int length, TokenClass tokenClass)
{
    setFormat(start, length, format(tokenClass));
}

int ScriptHighlighter::blockComment(const QString& text, int from)
{
    const int close = int(text.indexOf(QLatin1StringView("*/"), from));
    if (close < 0) {
        apply(from, int(text.size()) - from, TokenClass::Comment);
        setCurrentBlockState(InBlockComment);
        return int(text.size());
    }
    apply(from, close + 2 - from, TokenClass::Comment);
    return close + 2;
}

void ScriptHighlighter::highlightBlock(const QString& text)
{
    setCurrentBlockState(Normal);
    const int n = int(text.size());
    int i = 0;
    if (previousBlockState() == InBlockComment)
        i = blockComment(text, 0);
    // The line feed that ends this line is there unless this is the last line.
    const bool lineFeedFollows = currentBlock().next().isValid();
    while (i < n) {
        const QChar c = text[i];
        if (c == u' ' || c == u'\t') {
            ++i;
        } else if (c == u'/' && i + 1 < n && text[i + 1] == u'*') {
            i = blockComment(text, i);
        } else if (c == u'/' && i + 1 < n && text[i + 1] == u'/' && lineFeedFollows) {
            apply(i, n - i, TokenClass::Comment);
            i = n;
        } else if (c == u'"') {
            const int close = int(text.indexOf(u'"', i + 1));
            if (close < 0) {
                QTextCharFormat unclosed = format(TokenClass::String);
                unclosed.merge(format(TokenClass::Error));
                setFormat(i, n - i, unclosed);
                i = n;
            } else {
                apply(i, close + 1 - i, TokenClass::String);
                i = close + 1;
            }
        } else if (isDigit(c)) {
            const int end = numberEnd(text, i);
            apply(i, end - i, TokenClass::Number);
            i = end;
        } else if (isWordStart(c)) {
            int end = i + 1;
            while (end < n && isWordPart(text[end]))
                ++end;
            if (isKeyword(QStringView(text).mid(i, end - i)))
                apply(i, end - i, TokenClass::Keyword);
            i = end;
        } else {
            if (!kPunctuation.contains(c))
                apply(i, 1, TokenClass::Error);
            ++i;
        }
    }
}

} // namespace vorpane
