#pragma once
// vorpane-cli commands: each lives in its own file and registers itself with VORPANE_CLI_COMMAND.

#include <string>
#include <vector>

namespace vorpane::cli {

enum ExitCode { kSuccess = 0, kFailed = 1, kUsage = 2 };

// Arguments after the command name, with the common options already taken out.
using Args = std::vector<std::string>;

struct Command {
    const char* name;
    const char* usage; // the arguments, for the usage texts
    int (*run)(const Command& self, const Args& args);
};

bool registerCommand(const Command& command);
const std::vector<Command>& commands();

// "usage: vorpane-cli NAME USAGE" on standard error; returns kUsage.
int printUsage(const Command& command);

// Prints a UTF-8 line to standard output / standard error.
void printLine(const std::string& utf8);
void printError(const std::string& utf8);

// Removes "--name VALUE" from args; returns whether it was there. A missing value is a usage error.
bool takeOption(Args& args, const std::string& name, std::string& value, bool& usageError);

} // namespace vorpane::cli

#define VORPANE_CLI_COMMAND(ident, name, usage, fn)                                                          \
    static const bool ident##_registered = ::vorpane::cli::registerCommand({ name, usage, fn })
