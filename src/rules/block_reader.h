#pragma once
// BlockReader: the reader of brace-block files (investigator files, handouts): the row reader's
// tokens in multi-line mode (words, quoted strings, brace blocks; whitespace and "//" comments
// skipped between them), working on a view of the caller's text without copying it. Such a file
// is a list of sections, each a word and its block; a block holds "key" "value" pairs and inner
// blocks, each again a word and its block.
//
// Unlike a plain brace count, a brace block skips quoted strings and comments while it looks for
// its closing brace, so a user's text holding "{" or "}" cannot break the file.
//
// The first error shows the row reader's "Parse Error:" box; after it every token is empty.

#include <functional>
#include <string_view>

namespace vorpane {

// One item of a block body: a "key" "value" pair, or a word with its brace block.
struct BlockItem {
    enum Kind { Pair, Block, End } kind = End;
    std::string_view key; // or the block's word
    std::string_view value; // or the block's body
};

class BlockReader {
public:
    // Longest piece of the offending line quoted in the error box.
    static constexpr size_t kMaxErrorExcerpt = 1024;

    explicit BlockReader(std::string_view text);

    // Up to the next blank, TAB, CR, LF or the end.
    std::string_view word();
    // The text between two double quotes; line breaks allowed.
    std::string_view quoted();
    // The text between a brace and its matching brace.
    std::string_view block();

    // The next character that is not whitespace or in a comment; '\0' at the end.
    char peek();
    bool atEnd();

    // The next item; End at the end of the body or after an unreadable item (which ends the body).
    BlockItem nextItem();

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

// Visits each item of a block body in order until the end, an unreadable item, or until visit
// returns false.
void forEachItem(std::string_view body, const std::function<bool(const BlockItem& item)>& visit);

// Visits the "key" "value" pairs of a body that holds only pairs, until the end or the first
// unreadable pair (whose box the reader shows).
void forEachPair(
    std::string_view body, const std::function<void(std::string_view key, std::string_view value)>& visit);

// Visits the sections of a file (a word and its block each) in order. False, after the
// "Invalid file format" error box, when one cannot be read; the sections before it were visited.
bool forEachSection(
    std::string_view text, const std::function<void(std::string_view name, std::string_view body)>& visit);

} // namespace vorpane
