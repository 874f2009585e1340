#include "documents/script_lexer.h"

#include "script/keywords.h"
#include "script/member_name.h"
#include "sheet/host_members.h"

#include <Qsci/qsciscintilla.h>
#include <cstring>
#include <string_view>

namespace vorpane {

namespace {

// A line's state, kept by the editor for the next line: inside a block comment, and the depth of
// the braces at its end.
constexpr int kInCommentBit = 1;
constexpr int kDepthShift = 1;

// The characters that make up operators and punctuation; anything else outside tokens is refused.
constexpr std::string_view kPunctuation = "-+*/%|&^<>=!~?:;,.()[]{}";

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHexDigit(char c) { return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool isWordStart(char c) { return isAsciiLetter(c) || c == '_'; }
bool isWordPart(char c) { return isWordStart(c) || isDigit(c); }

bool isKeyword(std::string_view word)
{
    for (const char* keyword : script::keywords()) {
        if (word == keyword)
            return true;
    }
    return false;
}

// Objects are found by name in any case, as the engine finds their members; their global names
// are case-sensitive like every variable.
bool isHostObject(std::string_view word)
{
    for (const HostObjectInfo& object : hostObjects()) {
        if (object.isClass ? script::sameName(word, object.name) : word == object.name)
            return true;
    }
    return false;
}

// The end of the number at `i`: hexadecimal, floating (digits on both sides of the point) or a
// plain run of digits, the longest that fits.
size_t numberEnd(std::string_view text, size_t i)
{
    const size_t n = text.size();
    if (text[i] == '0' && i + 2 < n && (text[i + 1] == 'x' || text[i + 1] == 'X')
        && isHexDigit(text[i + 2])) {
        i += 2;
        while (i < n && isHexDigit(text[i]))
            ++i;
        return i;
    }
    while (i < n && isDigit(text[i]))
        ++i;
    if (i + 1 < n && text[i] == '.' && isDigit(text[i + 1])) {
        ++i;
        while (i < n && isDigit(text[i]))
            ++i;
    }
    return i;
}

} // namespace

ScriptLexer::ScriptLexer(QObject* parent)
    : QsciLexerCustom(parent)
    , m_font(QStringLiteral("Monospace"))
{
}

QString ScriptLexer::description(int style) const
{
    switch (style) {
    case Default:
        return tr("Texto");
    case Keyword:
        return tr("Palabra reservada");
    case String:
        return tr("Cadena");
    case Number:
        return tr("Número");
    case Comment:
        return tr("Comentario");
    case Error:
        return tr("Error");
    case HostObject:
        return tr("Objeto");
    default:
        return {};
    }
}

QColor ScriptLexer::defaultColor(int style) const
{
    switch (style) {
    case Keyword:
        return m_dark ? QColor(0x82, 0xaa, 0xff) : QColor(0x00, 0x00, 0xa0);
    case String:
        return m_dark ? QColor(0xf0, 0x9a, 0x6a) : QColor(0xa3, 0x15, 0x15);
    case Number:
        return m_dark ? QColor(0x7f, 0xd8, 0xb0) : QColor(0x09, 0x86, 0x58);
    case Comment:
        return m_dark ? QColor(0x8a, 0xb8, 0x7a) : QColor(0x3a, 0x7d, 0x2a);
    case Error:
        return QColor(0xe0, 0x20, 0x20);
    case HostObject:
        return m_dark ? QColor(0xd0, 0x9a, 0xf0) : QColor(0x70, 0x30, 0x90);
    default:
        return m_dark ? QColor(0xe8, 0xe8, 0xe8) : QColor(Qt::black);
    }
}

QColor ScriptLexer::defaultPaper(int style) const
{
    if (style == Error)
        return m_dark ? QColor(0x60, 0x20, 0x20) : QColor(0xff, 0xdc, 0xd6);
    return m_dark ? QColor(0x1e, 0x1e, 0x1e) : QColor(Qt::white);
}

QFont ScriptLexer::defaultFont(int style) const
{
    QFont font = m_font;
    font.setBold(style == Keyword);
    font.setItalic(style == Comment);
    return font;
}

const char* ScriptLexer::blockStart(int* style) const
{
    if (style)
        *style = Default;
    return "{";
}

const char* ScriptLexer::blockEnd(int* style) const
{
    if (style)
        *style = Default;
    return "}";
}

const char* ScriptLexer::wordCharacters() const
{
    return "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_";
}

void ScriptLexer::setBaseFont(const QFont& font)
{
    m_font = font;
    for (int style = 0; style < StyleCount; ++style)
        setFont(defaultFont(style), style);
}

void ScriptLexer::setDarkBackground(bool dark)
{
    m_dark = dark;
    for (int style = 0; style < StyleCount; ++style) {
        setColor(defaultColor(style), style);
        setPaper(defaultPaper(style), style);
    }
}

void ScriptLexer::styleText(int start, int end)
{
    QsciScintilla* e = editor();
    if (!e || end <= start)
        return;
    int line = int(e->SendScintilla(QsciScintilla::SCI_LINEFROMPOSITION, start));
    const int lastLine = int(e->SendScintilla(QsciScintilla::SCI_LINEFROMPOSITION, end - 1));
    const int lineCount = int(e->SendScintilla(QsciScintilla::SCI_GETLINECOUNT));
    start = int(e->SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, line));
    int state = line > 0 ? int(e->SendScintilla(QsciScintilla::SCI_GETLINESTATE, line - 1)) : 0;
    const int rangeEnd = int(e->SendScintilla(QsciScintilla::SCI_GETLINEENDPOSITION, lastLine));
    const int docLength = int(e->SendScintilla(QsciScintilla::SCI_GETLENGTH));
    // The range with its last line's end of line, which tells whether "//" starts a comment.
    const int fetchEnd = std::min(docLength, rangeEnd + 2);
    QByteArray bytes(fetchEnd - start + 1, '\0');
    e->SendScintilla(QsciScintilla::SCI_GETTEXTRANGE, long(start), long(fetchEnd), bytes.data());
    const std::string_view all(bytes.constData(), size_t(fetchEnd - start));

    startStyling(start);
    size_t lineStart = 0;
    for (; line <= lastLine; ++line) {
        size_t lineEnd = all.find_first_of("\r\n", lineStart);
        if (lineEnd == std::string_view::npos)
            lineEnd = all.size();
        size_t next = lineEnd;
        if (next < all.size() && all[next] == '\r')
            ++next;
        if (next < all.size() && all[next] == '\n')
            ++next;
        const std::string_view text = all.substr(lineStart, lineEnd - lineStart);
        const bool lineFeedFollows = line + 1 < lineCount;
        bool inComment = state & kInCommentBit;
        const int startDepth = state >> kDepthShift;
        int depth = startDepth;
        int minDepth = depth;
        const size_t n = text.size();
        size_t i = 0;
        size_t styled = 0;
        auto mark = [&](size_t from, size_t to, int style) {
            if (from > styled)
                setStyling(int(from - styled), Default);
            setStyling(int(to - from), style);
            styled = to;
        };
        auto blockComment = [&](size_t from) {
            const size_t close = text.find("*/", from == 0 && inComment ? 0 : from + 2);
            if (close == std::string_view::npos) {
                mark(from, n, Comment);
                inComment = true;
                return n;
            }
            mark(from, close + 2, Comment);
            inComment = false;
            return close + 2;
        };
        if (inComment)
            i = blockComment(0);
        while (i < n) {
            const char c = text[i];
            if (c == ' ' || c == '\t') {
                ++i;
            } else if (c == '/' && i + 1 < n && text[i + 1] == '*') {
                i = blockComment(i);
            } else if (c == '/' && i + 1 < n && text[i + 1] == '/' && lineFeedFollows) {
                mark(i, n, Comment);
                i = n;
            } else if (c == '"') {
                const size_t close = text.find('"', i + 1);
                const size_t to = close == std::string_view::npos ? n : close + 1;
                mark(i, to, close == std::string_view::npos ? Error : String);
                i = to;
            } else if (isDigit(c)) {
                const size_t to = numberEnd(text, i);
                mark(i, to, Number);
                i = to;
            } else if (isWordStart(c)) {
                size_t to = i + 1;
                while (to < n && isWordPart(text[to]))
                    ++to;
                const std::string_view word = text.substr(i, to - i);
                if (isKeyword(word))
                    mark(i, to, Keyword);
                else if (isHostObject(word) && !(i > 0 && text[i - 1] == '.'))
                    mark(i, to, HostObject);
                i = to;
            } else {
                if (c == '{') {
                    ++depth;
                } else if (c == '}') {
                    depth = std::max(0, depth - 1);
                    minDepth = std::min(minDepth, depth);
                }
                if (kPunctuation.find(c) == std::string_view::npos)
                    mark(i, i + 1, Error);
                ++i;
            }
        }
        // The end of line in the style of the text before it, so a comment's colour runs on.
        mark(n, next - lineStart, Default);
        // A line that opens a block is the head of a fold; "} else {" closes one and opens another.
        int level = QsciScintilla::SC_FOLDLEVELBASE + minDepth;
        if (depth > minDepth)
            level |= QsciScintilla::SC_FOLDLEVELHEADERFLAG;
        e->SendScintilla(QsciScintilla::SCI_SETFOLDLEVEL, line, level);
        state = (depth << kDepthShift) | (inComment ? kInCommentBit : 0);
        e->SendScintilla(QsciScintilla::SCI_SETLINESTATE, line, state);
        lineStart = next;
    }
}

} // namespace vorpane
