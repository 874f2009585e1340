#pragma once
// RowReader: the token reader of every sectioned data file (rule files, investigator files,
// handouts, spell books). It works on its own copy of one piece of text.
//
// Before every token it skips whitespace (blank, TAB, CR, LF) and "//" comments up to the end of
// the line. Tokens:
//  - quoted(open, close): the text between the delimiters, taken as it stands. With distinct
//    delimiters nesting is counted, so a brace block may hold inner brace blocks. In line mode
//    (the default) the token may not cross CR, LF or the end; in multi-line mode only the end
//    stops it.
//  - word(): the characters up to the next blank, TAB, CR, LF or the end.
//  - integer(): a word read as a decimal number (0 when it is none; clamped to int).
// Two flags: exhausted() when a token was asked for at the end (the token is then empty), and
// error() when a delimiter was missing. The first error shows one "Parse Error:" warning box
// with the rest of the line and the reason; after it every token is empty.

#include <cstddef>
#include <string>

namespace vorpane {

class RowReader {
public:
    // Longest piece of the offending line quoted in the error box.
    static constexpr size_t kMaxErrorExcerpt = 1024;

    explicit RowReader(std::string text);

    void setMultiLine(bool multiLine) { m_multiLine = multiLine; }

    std::string quoted(char open = '"', char close = '"');
    std::string word();
    int integer();

    // The next character that is neither whitespace nor inside a comment; '\0' at the end. Does not
    // move the reader, so a following skipLine() still ends the current line.
    char peek() const;
    // Moves to the next CR or LF (or the end); the line break itself stays for the next token.
    void skipLine();
    // True when only whitespace and comments remain.
    bool atEnd() const;

    bool exhausted() const { return m_exhausted; }
    bool error() const { return m_error; }

    // Byte offset of the reader in its text.
    size_t position() const { return m_pos; }

private:
    // Where the next token starts: past whitespace and comments.
    size_t tokenStart() const;
    void skipBlanksAndComments();
    void fail(const std::string& message, size_t lineFrom);

    std::string m_text;
    size_t m_pos = 0;
    bool m_multiLine = false;
    bool m_exhausted = false;
    bool m_error = false;
};

// Converts a decimal text as C's atoi does (optional blanks and sign, then digits; 0 when there
// are none), but clamps to the int range instead of overflowing.
int parseDecimal(const std::string& text);

} // namespace vorpane
