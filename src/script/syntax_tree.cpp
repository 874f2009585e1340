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

namespace {

// The parses of the last texts run on this thread: a sheet runs again at every redraw, and its
// parse is most of what a run costs. Only parses that succeeded without a report are kept (the
// others report again); a tree an interpreter still holds is not handed to another (the interpreter marks its
// nodes), which then parses afresh.
struct ParsedText {
    std::string text;
    std::shared_ptr<SyntaxTree> tree;
};
constexpr size_t kParsedTexts = 4;
constexpr size_t kMaxParsedTextBytes = 256 * 1024;
thread_local std::vector<ParsedText> t_parsed; // the most recent last

} // namespace

std::shared_ptr<SyntaxTree> parseScriptShared(const std::string& text)
{
    for (auto it = t_parsed.begin(); it != t_parsed.end(); ++it) {
        if (it->text != text)
            continue;
        if (it->tree.use_count() > 1)
            break; // in use by a run still going
        ParsedText hit = std::move(*it);
        t_parsed.erase(it);
        t_parsed.push_back(std::move(hit));
        return t_parsed.back().tree;
    }
    const uint64_t reportsBefore = parseReportCount();
    auto tree = std::make_shared<SyntaxTree>(parseScript(text));
    // A parse that reported something (and went on) must report it again next time.
    if (tree->program && parseReportCount() == reportsBefore && text.size() <= kMaxParsedTextBytes) {
        std::erase_if(t_parsed, [&](const ParsedText& p) { return p.text == text; });
        if (t_parsed.size() == kParsedTexts)
            t_parsed.erase(t_parsed.begin());
        t_parsed.push_back({ text, tree });
    }
    return tree;
}

} // namespace vorpane::script
