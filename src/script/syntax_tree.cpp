#include "script/syntax_tree.h"

#include "lexer.h"
#include "parser.h"
#include "script/parse_context.h"
#include "script/parse_error.h"

namespace vorpane::script {

namespace {

// The reentrant scanner of one parse, reading the context's copy of the text in place.
class Scanner {
public:
    explicit Scanner(ParseContext& context)
    {
        if (vpscript_lex_init_extra(&context, &m_scanner) != 0)
            throw std::bad_alloc();
        vpscript__scan_buffer(context.scanBuffer(), context.scanBufferSize(), m_scanner);
    }
    Scanner(const Scanner&) = delete;
    Scanner& operator=(const Scanner&) = delete;
    ~Scanner() { vpscript_lex_destroy(m_scanner); }

    yyscan_t get() const { return m_scanner; }

private:
    yyscan_t m_scanner = nullptr;
};

} // namespace

SyntaxTree parseScript(const std::string& text)
{
    ParseContext context(text);
    bool accepted = false;
    try {
        Scanner scanner(context);
        accepted = vpscript_parse(context, scanner.get()) == 0;
    } catch (const ScannerFailure&) {
        // Already reported; the script does not run.
    }
    return context.takeTree(accepted);
}

} // namespace vorpane::script
