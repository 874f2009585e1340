// Fuzz target: script texts of any bytes parse without crashing, leaking or hanging, and a parse
// either yields a program or has said why not.
#include "platform/recording_ui.h"
#include "script/syntax_tree.h"
#include "script/tree_dump.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static vorpane::ScopedRecordingUi recorder;
    recorder.reset();

    vorpane::script::SyntaxTree tree
        = vorpane::script::parseScript(std::string(reinterpret_cast<const char*>(data), size));
    if (!tree.program && recorder.boxes.empty())
        std::abort();
    vorpane::script::dumpTree(tree.program);
    for (const auto& function : tree.functions)
        vorpane::script::dumpFunction(function);
    return 0;
}
