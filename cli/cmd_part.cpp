#include "cli/cli_command.h"

namespace inkquot::cli {

int runPart(CommandContext&) { throw BadInput("part: not available yet"); }

}  // namespace inkquot::cli
