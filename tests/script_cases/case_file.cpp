#include "case_file.h"

#include <string_view>

namespace {

std::string unescapeLineFeeds(std::string_view text)
{
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            result += '\n';
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

bool parseYesNo(std::string_view text, bool& out)
{
    if (text != "yes" && text != "no")
        return false;
    out = text == "yes";
    return true;
}

bool parseInt(std::string_view text, int& out)
{
    try {
        size_t used = 0;
        out = std::stoi(std::string(text), &used);
        return used == text.size();
    } catch (...) {
        return false;
    }
}

// One directive: the text after "// " on a line.
bool parseDirective(std::string_view d, ScriptCase& out)
{
    auto after = [&d](std::string_view prefix, std::string_view& rest) {
        if (d.substr(0, prefix.size()) != prefix)
            return false;
        rest = d.substr(prefix.size());
        return true;
    };
    std::string_view rest;
    bool flag = false;
    int number = 0;
    if (after("expect: ", rest)) {
        out.outputLines.emplace_back(rest);
    } else if (after("expect box: ", rest)) {
        out.boxes.push_back(unescapeLineFeeds(rest));
    } else if (after("expect result: ", rest)) {
        if (!parseInt(rest, out.result))
            return false;
    } else if (after("expect value: ", rest)) {
        if (!parseInt(rest, number))
            return false;
        out.value = number;
    } else if (after("expect shown: ", rest)) {
        if (!parseYesNo(rest, flag))
            return false;
        out.shown = flag;
    } else if (after("answer: ", rest)) {
        if (!parseYesNo(rest, flag))
            return false;
        out.answers.push_back(flag);
    } else if (after("prompt answer: ", rest)) {
        out.promptAnswers.emplace_back(std::string(rest));
    } else if (d == "prompt cancel") {
        out.promptAnswers.emplace_back(std::nullopt);
    } else if (d.substr(0, 6) == "expect") {
        return false;
    }
    return true;
}

} // namespace

bool parseScriptCase(const std::string& bytes, ScriptCase& out, std::string& error)
{
    size_t start = 0;
    int lineNumber = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        std::string_view line(bytes.data() + start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        ++lineNumber;
        const size_t comment = line.find("// ");
        if (comment != std::string_view::npos && !parseDirective(line.substr(comment + 3), out)) {
            error = "line " + std::to_string(lineNumber)
                + ": bad directive: " + std::string(line.substr(comment));
            return false;
        }
        start = end + 1;
    }
    return true;
}
