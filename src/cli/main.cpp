// vorpane-cli: the core without windows. Common options: --data DIR, --settings FILE, --seed N,
// --answer yes|no, --memory MB (a script run's memory budget). Exit status 0 success, 1 failure, 2 wrong
// usage.

#include "cli/cli_command.h"
#include "cli/headless_ui.h"
#include "platform/private_folder.h"
#include "platform/profile.h"
#include "platform/program_folder.h"
#include "platform/random.h"
#include "script/memory_budget.h"

#include <QDir>
#include <QGuiApplication>
#include <cerrno>
#include <cstdio>
#include <iostream>
#include <sys/stat.h>
#include <unistd.h>

namespace vorpane::cli {

namespace {

// The largest budget --memory takes: a run may not be granted more than a machine could hold.
constexpr unsigned long kMaxMemoryMegabytes = 1024ul * 1024;

std::vector<Command>& registry()
{
    static std::vector<Command> all;
    return all;
}

// To standard error for wrong usage, to standard output when asked for with --help.
void printUsage(void (*print)(const std::string&) = printError)
{
    print("usage: vorpane-cli [--data DIR] [--settings FILE] [--seed N] [--answer yes|no] [--memory MB] "
          "COMMAND ...");
    print("       vorpane-cli --help | --version");
    for (const Command& command : registry())
        print(std::string("  ") + command.name + " " + command.usage);
}

} // namespace

int printUsage(const Command& command)
{
    printError(std::string("usage: vorpane-cli ") + command.name + " " + command.usage);
    return kUsage;
}

bool registerCommand(const Command& command)
{
    registry().push_back(command);
    return true;
}

const std::vector<Command>& commands() { return registry(); }

void printLine(const std::string& utf8) { std::cout << utf8 << '\n' << std::flush; }

void printError(const std::string& utf8) { std::cerr << utf8 << '\n' << std::flush; }

bool takeOption(Args& args, const std::string& name, std::string& value, bool& usageError)
{
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] != name)
            continue;
        if (i + 1 >= args.size()) {
            usageError = true;
            args.erase(args.begin() + long(i));
            return false;
        }
        value = args[i + 1];
        args.erase(args.begin() + long(i), args.begin() + long(i) + 2);
        return true;
    }
    return false;
}

} // namespace vorpane::cli

int main(int argc, char** argv)
{
    using namespace vorpane;
    using namespace vorpane::cli;

    // Offscreen: fonts and painting work without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without a session Qt warns on every start; give it a private folder, checked to be ours
    // and closed to others (a folder of that name made by someone else is not used).
    const std::string runtime = userRuntimeFolder();
    if (!runtime.empty())
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime));
    else
        qunsetenv("XDG_RUNTIME_DIR");
    QGuiApplication app(argc, argv);

    Args args(argv + 1, argv + argc);
    bool usageError = false;
    std::string value;
    if (takeOption(args, "--data", value, usageError))
        setProgramFolder(value);
    if (takeOption(args, "--settings", value, usageError))
        setProfilePath(value);
    seedRandom(tickCount());
    if (takeOption(args, "--seed", value, usageError)) {
        try {
            seedRandom(uint32_t(std::stoul(value)));
        } catch (...) {
            usageError = true;
        }
    }
    if (takeOption(args, "--memory", value, usageError)) {
        try {
            const unsigned long megabytes = std::stoul(value);
            if (megabytes == 0 || megabytes > kMaxMemoryMegabytes)
                usageError = true;
            else
                script::setDefaultMemoryBudget(uint64_t(megabytes) * 1024 * 1024);
        } catch (...) {
            usageError = true;
        }
    }
    HeadlessUi headless;
    if (takeOption(args, "--answer", value, usageError)) {
        if (value == "yes" || value == "no")
            headless.setAnswer(value == "yes");
        else
            usageError = true;
    }
    installUi(&headless);

    if (!usageError && !args.empty() && (args.front() == "--help" || args.front() == "-h")) {
        printUsage(printLine);
        return kSuccess;
    }
    if (!usageError && !args.empty() && args.front() == "--version") {
        printLine("vorpane-cli " VORPANE_VERSION);
        return kSuccess;
    }
    if (usageError || args.empty()) {
        printUsage();
        return kUsage;
    }
    const std::string name = args.front();
    args.erase(args.begin());
    for (const Command& command : commands()) {
        if (name == command.name) {
            const int status = command.run(command, args);
            installUi(nullptr);
            return status;
        }
    }
    printError("vorpane-cli: unknown command " + name);
    printUsage();
    return kUsage;
}
