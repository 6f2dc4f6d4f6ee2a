#pragma once

#include <iosfwd>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/common/program_folder.h"

namespace inkquot::cli {

// Everything a command gets: the program folder (--dir or the executable's
// folder), its positional arguments, and the standard streams.
struct CommandContext {
    ProgramFolder folder;
    std::vector<std::string> args;
    std::istream& in;
    std::ostream& out;
};

// Thrown for input the tool refuses; main prints the message as one line on
// standard error and exits with code 2.
class BadInput : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Each command lives in its own file.
int runInstall(CommandContext& ctx);
int runPart(CommandContext& ctx);
int runBinding(CommandContext& ctx);
int runPrice(CommandContext& ctx);
int runTicket(CommandContext& ctx);
int runFit(CommandContext& ctx);
int runTable(CommandContext& ctx);
int runHistory(CommandContext& ctx);
int runScheme(CommandContext& ctx);

}  // namespace inkquot::cli
