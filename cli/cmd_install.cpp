#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/cli_command.h"
#include "core/common/file_io.h"
#include "core/job/json_writer.h"
#include "core/pricedata/install.h"

namespace inkquot::cli {

// install DIR: lays out a ready program folder in DIR with the program's own
// writers (the build runs it for its app folder).
int runInstall(CommandContext& ctx) {
    if (ctx.args.size() != 1 || ctx.args.front().empty()) {
        throw BadInput("install: give exactly one folder: inkquot-cli install DIR");
    }
    const std::string& dir = ctx.args.front();
    ProgramFolder folder(std::filesystem::path(std::u8string(dir.begin(), dir.end())));
    IoStatus status = installProgramFolder(folder);
    if (!status) {
        throw std::runtime_error(status.message);
    }
    ctx.out << jsonText({{"installed", displayName(folder.root())}}, JsonWriter::Layout::Compact)
            << '\n';
    return 0;
}

}  // namespace inkquot::cli
