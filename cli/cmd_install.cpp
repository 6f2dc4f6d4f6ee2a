#include "cli/cli_command.h"

namespace inkquot::cli {

int runInstall(CommandContext&) { return 0; }

}  // namespace inkquot::cli
