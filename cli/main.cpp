#include <cstring>
#include <exception>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_command.h"
#include "core/job/job_description.h"

namespace {

using inkquot::cli::CommandContext;

struct Command {
    const char* name;
    const char* usage;
    int (*run)(CommandContext&);
};

const Command kCommands[] = {
    {"install", "install DIR        lay out a ready program folder in DIR",
     inkquot::cli::runInstall},
    {"part", "part               cost one printed part: PartSpec JSON in, PartCost JSON out",
     inkquot::cli::runPart},
    {"binding", "binding            cost binding: {bindFlag, copies, kai, pages, bindingForm} in",
     inkquot::cli::runBinding},
    {"price", "price              price a job: job description JSON in, {kind, CostResult} out",
     inkquot::cli::runPrice},
    {"fit", "fit                fit a size on the sheets: {page, a, b, trim, gripper} in",
     inkquot::cli::runFit},
    {"table",
     "table              a price table: job description JSON in, its labels and prices out",
     inkquot::cli::runTable},
};

void printHelp(std::ostream& out) {
    out << "usage: inkquot-cli [--dir PROGRAM_FOLDER] COMMAND [ARGS]\n"
           "JSON on standard input and output; exit code 2 on bad input.\n\ncommands:\n";
    for (const auto& c : kCommands) {
        out << "  " << c.usage << '\n';
    }
    out << "\n--dir defaults to the folder of this executable.\n";
}

}  // namespace

int main(int argc, char* argv[]) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::filesystem::path dir = inkquot::executableFolder();
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") {
            printHelp(std::cout);
            return 0;
        }
        if (args[i] == "--dir") {
            if (i + 1 >= args.size()) {
                std::cerr << "--dir needs a folder\n";
                return 2;
            }
            dir = args[++i];
            continue;
        }
        rest.push_back(args[i]);
    }
    if (rest.empty()) {
        printHelp(std::cerr);
        return 2;
    }
    for (const auto& c : kCommands) {
        if (rest.front() != c.name) {
            continue;
        }
        CommandContext ctx{
            inkquot::ProgramFolder(dir), {rest.begin() + 1, rest.end()}, std::cin, std::cout};
        try {
            return c.run(ctx);
        } catch (const inkquot::cli::BadInput& e) {
            std::cerr << e.what() << '\n';
            return 2;
        } catch (const inkquot::JobRefused& e) {
            std::cerr << e.what() << '\n';
            return 2;
        } catch (const std::exception& e) {
            std::cerr << e.what() << '\n';
            return 1;
        }
    }
    std::cerr << "unknown command: " << rest.front() << '\n';
    return 2;
}
