// vorpane-cli names [N]: draws N random names (default 1) from "names.lst", one per line with
// the sex first.

#include "cli/cli_command.h"
#include "platform/cp1252.h"
#include "rules/name_generator.h"

namespace vorpane::cli {

namespace {

constexpr int kDefaultCount = 1;
constexpr int kMaxCount = 100000;

int runNames(const Command& self, const Args& args)
{
    int count = kDefaultCount;
    if (args.size() > 1)
        return printUsage(self);
    if (args.size() == 1) {
        try {
            size_t used = 0;
            count = std::stoi(args.front(), &used);
            if (used != args.front().size() || count < 0 || count > kMaxCount)
                throw std::out_of_range("count");
        } catch (const std::exception&) {
            printError("vorpane-cli names: N must be a number from 0 to " + std::to_string(kMaxCount));
            return kUsage;
        }
    }
    if (count == 0)
        return kSuccess;
    NameGenerator names; // draws the first name at once
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            names.draw();
        printLine(names.sex() + " " + cp1252ToUtf8(names.fullName()));
    }
    return names.fullName() == NameGenerator::kNoData ? kFailed : kSuccess;
}

} // namespace

VORPANE_CLI_COMMAND(names, "names", "[N]", runNames);

} // namespace vorpane::cli
