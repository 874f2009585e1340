#pragma once
// A script case: a .vsc file whose expectations are written inline as comments.
//   // expect: TEXT          an output line, in order (the output window's final content)
//   // expect box: TEXT      a message box text, in order; \n stands for a line feed
//   // expect result: 0|1    the run's result (default 1)
//   // expect value: N       the script's value (integer conversion of its last value)
//   // expect shown: yes|no  whether the output window is shown at the end
//   // answer: yes|no        the next answer to a Yes/No question (in order; default yes)
//   // prompt answer: TEXT   the next text typed into a prompt (in order; default Cancel)
//   // prompt cancel         the next prompt is cancelled

#include <deque>
#include <optional>
#include <string>
#include <vector>

struct ScriptCase {
    std::vector<std::string> outputLines;
    std::vector<std::string> boxes;
    int result = 1;
    std::optional<int> value;
    std::optional<bool> shown;
    std::deque<bool> answers;
    std::deque<std::optional<std::string>> promptAnswers;
};

// Reads the expectations from the script's bytes. Unknown "// expect" forms are an error, so a typo
// cannot silently drop a check.
bool parseScriptCase(const std::string& bytes, ScriptCase& out, std::string& error);
