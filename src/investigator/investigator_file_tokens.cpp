#include "investigator/investigator_file_tokens.h"

#include "platform/ui_services.h"

#include <string>

namespace vorpane {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool isLineBreak(char c) { return c == '\r' || c == '\n'; }

bool isCommentAt(std::string_view text, size_t pos)
{
    return text[pos] == '/' && pos + 1 < text.size() && text[pos + 1] == '/';
}

size_t lineEnd(std::string_view text, size_t pos)
{
    while (pos < text.size() && !isLineBreak(text[pos]))
        ++pos;
    return pos;
}

} // namespace

InvestigatorTokens::InvestigatorTokens(std::string_view text)
    : m_text(text)
{
}

void InvestigatorTokens::skipBlanksAndComments()
{
    while (m_pos < m_text.size()) {
        if (isSpace(m_text[m_pos]))
            ++m_pos;
        else if (isCommentAt(m_text, m_pos))
            m_pos = lineEnd(m_text, m_pos);
        else
            break;
    }
}

bool InvestigatorTokens::startToken()
{
    if (m_error)
        return false;
    skipBlanksAndComments();
    if (m_pos >= m_text.size()) {
        m_exhausted = true;
        return false;
    }
    return true;
}

void InvestigatorTokens::report(const std::string& message, size_t from)
{
    if (m_error)
        return;
    m_error = true;
    const size_t end = std::min(lineEnd(m_text, from), from + kMaxErrorExcerpt);
    showMessage("Parse Error:\n" + std::string(m_text.substr(from, end - from)) + "\n" + message, {},
        MsgIcon::Warning);
}

void InvestigatorTokens::fail(char close, char open, size_t from)
{
    report(std::string("No closing ") + close + " to match opening " + open, from);
}

void InvestigatorTokens::failExpected(char open, size_t from)
{
    report(std::string("Expected opening ") + open, from);
}

std::string_view InvestigatorTokens::word()
{
    if (!startToken())
        return {};
    const size_t start = m_pos;
    while (m_pos < m_text.size() && !isSpace(m_text[m_pos]))
        ++m_pos;
    return m_text.substr(start, m_pos - start);
}

std::string_view InvestigatorTokens::quoted()
{
    if (!startToken())
        return {};
    const size_t start = m_pos;
    if (m_text[start] != '"') {
        failExpected('"', start);
        return {};
    }
    const size_t close = m_text.find('"', start + 1);
    if (close == std::string_view::npos) {
        fail('"', '"', start);
        return {};
    }
    m_pos = close + 1;
    return m_text.substr(start + 1, close - start - 1);
}

std::string_view InvestigatorTokens::block()
{
    if (!startToken())
        return {};
    const size_t start = m_pos;
    if (m_text[start] != '{') {
        failExpected('{', start);
        return {};
    }
    int depth = 1;
    size_t i = start + 1;
    while (i < m_text.size()) {
        const char c = m_text[i];
        if (c == '"') {
            const size_t close = m_text.find('"', i + 1);
            if (close == std::string_view::npos)
                break;
            i = close + 1;
            continue;
        }
        if (isCommentAt(m_text, i)) {
            i = lineEnd(m_text, i);
            continue;
        }
        if (c == '{') {
            ++depth;
        } else if (c == '}' && --depth == 0) {
            m_pos = i + 1;
            return m_text.substr(start + 1, i - start - 1);
        }
        ++i;
    }
    fail('}', '{', start);
    return {};
}

char InvestigatorTokens::peek()
{
    if (m_error)
        return '\0';
    skipBlanksAndComments();
    return m_pos < m_text.size() ? m_text[m_pos] : '\0';
}

bool InvestigatorTokens::atEnd() { return peek() == '\0'; }

} // namespace vorpane
