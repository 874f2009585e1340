#include "rules/block_reader.h"

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

BlockReader::BlockReader(std::string_view text)
    : m_text(text)
{
}

void BlockReader::skipBlanksAndComments()
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

bool BlockReader::startToken()
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

void BlockReader::report(const std::string& message, size_t from)
{
    if (m_error)
        return;
    m_error = true;
    const size_t end = std::min(lineEnd(m_text, from), from + kMaxErrorExcerpt);
    showMessage("Parse Error:\n" + std::string(m_text.substr(from, end - from)) + "\n" + message, {},
        MsgIcon::Warning);
}

void BlockReader::fail(char close, char open, size_t from)
{
    report(std::string("No closing ") + close + " to match opening " + open, from);
}

void BlockReader::failExpected(char open, size_t from)
{
    report(std::string("Expected opening ") + open, from);
}

std::string_view BlockReader::word()
{
    if (!startToken())
        return {};
    const size_t start = m_pos;
    while (m_pos < m_text.size() && !isSpace(m_text[m_pos]))
        ++m_pos;
    return m_text.substr(start, m_pos - start);
}

std::string_view BlockReader::quoted()
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

std::string_view BlockReader::block()
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

char BlockReader::peek()
{
    if (m_error)
        return '\0';
    skipBlanksAndComments();
    return m_pos < m_text.size() ? m_text[m_pos] : '\0';
}

bool BlockReader::atEnd() { return peek() == '\0'; }

BlockItem BlockReader::nextItem()
{
    if (atEnd())
        return {};
    BlockItem item;
    if (peek() == '"') {
        item.kind = BlockItem::Pair;
        item.key = quoted();
        item.value = quoted();
    } else {
        item.kind = BlockItem::Block;
        item.key = word();
        item.value = block();
    }
    if (error() || exhausted())
        return {};
    return item;
}

void forEachItem(std::string_view body, const std::function<bool(const BlockItem& item)>& visit)
{
    BlockReader reader(body);
    for (BlockItem item = reader.nextItem(); item.kind != BlockItem::End; item = reader.nextItem()) {
        if (!visit(item))
            return;
    }
}

void forEachPair(
    std::string_view body, const std::function<void(std::string_view key, std::string_view value)>& visit)
{
    BlockReader reader(body);
    while (!reader.atEnd()) {
        const std::string_view key = reader.quoted();
        const std::string_view value = reader.quoted();
        if (reader.error() || reader.exhausted())
            return;
        visit(key, value);
    }
}

bool forEachSection(
    std::string_view text, const std::function<void(std::string_view name, std::string_view body)>& visit)
{
    BlockReader reader(text);
    while (!reader.atEnd()) {
        const std::string_view name = reader.word();
        const std::string_view body = reader.block();
        if (reader.error() || reader.exhausted()) {
            showMessage("Invalid file format", {}, MsgIcon::Error);
            return false;
        }
        visit(name, body);
    }
    return true;
}

} // namespace vorpane
