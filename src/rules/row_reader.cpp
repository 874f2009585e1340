#include "rules/row_reader.h"

#include "platform/ui_services.h"

#include <climits>

namespace vorpane {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool isLineBreak(char c) { return c == '\r' || c == '\n'; }

} // namespace

RowReader::RowReader(std::string text)
    : m_text(std::move(text))
{
}

size_t RowReader::tokenStart() const
{
    const size_t size = m_text.size();
    size_t pos = m_pos;
    while (pos < size) {
        const char c = m_text[pos];
        if (isSpace(c)) {
            ++pos;
        } else if (c == '/' && pos + 1 < size && m_text[pos + 1] == '/') {
            while (pos < size && !isLineBreak(m_text[pos]))
                ++pos;
        } else {
            break;
        }
    }
    return pos;
}

void RowReader::skipBlanksAndComments() { m_pos = tokenStart(); }

void RowReader::fail(const std::string& message, size_t lineFrom)
{
    if (m_error)
        return;
    m_error = true;
    size_t lineEnd = lineFrom;
    while (lineEnd < m_text.size() && !isLineBreak(m_text[lineEnd]) && lineEnd - lineFrom < kMaxErrorExcerpt)
        ++lineEnd;
    showMessage("Parse Error:\n" + m_text.substr(lineFrom, lineEnd - lineFrom) + "\n" + message, {},
        MsgIcon::Warning);
}

std::string RowReader::quoted(char open, char close)
{
    if (m_error)
        return {};
    skipBlanksAndComments();
    if (m_pos >= m_text.size()) {
        m_exhausted = true;
        return {};
    }
    const size_t start = m_pos;
    if (m_text[start] != open) {
        fail(std::string("Expected opening ") + open, start);
        return {};
    }
    int depth = 1;
    size_t i = start + 1;
    for (; i < m_text.size(); ++i) {
        const char c = m_text[i];
        if (!m_multiLine && isLineBreak(c))
            break;
        if (c == close) {
            if (--depth == 0)
                break;
        } else if (c == open) {
            ++depth; // only reached when the delimiters differ
        }
    }
    if (i >= m_text.size() || m_text[i] != close || depth != 0) {
        fail(std::string("No closing ") + close + " to match opening " + open, start);
        return {};
    }
    m_pos = i + 1;
    return m_text.substr(start + 1, i - start - 1);
}

std::string RowReader::word()
{
    if (m_error)
        return {};
    skipBlanksAndComments();
    if (m_pos >= m_text.size()) {
        m_exhausted = true;
        return {};
    }
    const size_t start = m_pos;
    while (m_pos < m_text.size() && !isSpace(m_text[m_pos]))
        ++m_pos;
    return m_text.substr(start, m_pos - start);
}

int RowReader::integer() { return parseDecimal(word()); }

char RowReader::peek() const
{
    const size_t pos = tokenStart();
    return pos < m_text.size() ? m_text[pos] : '\0';
}

void RowReader::skipLine()
{
    while (m_pos < m_text.size() && !isLineBreak(m_text[m_pos]))
        ++m_pos;
}

bool RowReader::atEnd() const { return tokenStart() >= m_text.size(); }

int parseDecimal(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1; // saturate; keeps long runs of digits linear
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return int(value);
}

} // namespace vorpane
