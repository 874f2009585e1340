#pragma once
// Token reader of investigator files: the row reader's tokens in multi-line mode (words, quoted
// strings, brace blocks; whitespace and "//" comments skipped between them), working on a view
// of the caller's text without copying it.
//
// Unlike a plain brace count, a brace block skips quoted strings and comments while it looks for
// its closing brace, so a user's text holding "{" or "}" cannot break the file.
//
// The first error shows the row reader's "Parse Error:" box; after it every token is empty.

#include <string_view>

namespace vorpane {

class InvestigatorTokens {
public:
    // Longest piece of the offending line quoted in the error box.
    static constexpr size_t kMaxErrorExcerpt = 1024;

    explicit InvestigatorTokens(std::string_view text);

    // Up to the next blank, TAB, CR, LF or the end.
    std::string_view word();
    // The text between two double quotes; line breaks allowed.
    std::string_view quoted();
    // The text between a brace and its matching brace.
    std::string_view block();

    // The next character that is not whitespace or in a comment; '\0' at the end.
    char peek();
    bool atEnd();

    bool exhausted() const { return m_exhausted; }
    bool error() const { return m_error; }

private:
    void skipBlanksAndComments();
    // False (with exhausted set) at the end of the text.
    bool startToken();
    void fail(char close, char open, size_t from);
    void failExpected(char open, size_t from);
    void report(const std::string& message, size_t from);

    std::string_view m_text;
    size_t m_pos = 0;
    bool m_exhausted = false;
    bool m_error = false;
};

} // namespace vorpane
