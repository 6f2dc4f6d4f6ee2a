#include "cli/cli_command.h"

namespace inkquot::cli {

int runBinding(CommandContext&) { throw BadInput("binding: not available yet"); }

}  // namespace inkquot::cli
