#include <nlohmann/json.hpp>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/json_io.h"
#include "core/pricedata/default_scheme.h"
#include "core/pricedata/scheme_list.h"
#include "core/pricedata/scheme_ops.h"
#include "core/pricedata/table_damage.h"

namespace inkquot::cli {

namespace {

// A refused name is the user's to mend (exit code 2); anything else is a
// fault of the files (exit code 1). The message is the one the screen shows.
void check(const IoStatus& status) {
    if (status) {
        return;
    }
    if (status.error == IoError::BadText) {
        throw BadInput(status.message);
    }
    throw std::runtime_error(status.message);
}

const std::string& nameArgument(const CommandContext& ctx, const char* verb) {
    if (ctx.args.size() != 2 || ctx.args[1].empty()) {
        throw BadInput(std::string("scheme ") + verb + ": give exactly one scheme name");
    }
    return ctx.args[1];
}

}  // namespace

// scheme list | select NAME | export NAME | delete NAME | repair: the scheme
// buttons of the parameter page, over the same operations.
int runScheme(CommandContext& ctx) {
    const std::string verb = ctx.args.empty() ? std::string() : ctx.args.front();
    nlohmann::json out;
    if (verb == "list") {
        if (ctx.args.size() != 1) {
            throw BadInput("scheme list: takes no further arguments");
        }
        std::vector<std::string> names;
        check(readSchemeList(ctx.folder.schemeList(), names));
        out["schemes"] = names;
    } else if (verb == "select") {
        const std::string& name = nameArgument(ctx, "select");
        check(checkListedScheme(ctx.folder, name));
        std::vector<std::string> damage;
        check(selectScheme(ctx.folder, name, &damage));
        out["selected"] = name;
        if (!damage.empty()) {
            if (name == kDefaultSchemeName) {
                damage.emplace_back(kRepairSuggestion);
            }
            out["warnings"] = damage;
        }
    } else if (verb == "export") {
        const std::string& name = nameArgument(ctx, "export");
        check(exportScheme(ctx.folder, name));
        out["exported"] = name;
    } else if (verb == "delete") {
        const std::string& name = nameArgument(ctx, "delete");
        if (name != kDefaultSchemeName) {
            check(checkListedScheme(ctx.folder, name));
        }
        std::vector<std::string> remaining;
        check(deleteScheme(ctx.folder, name, remaining));
        out["deleted"] = name;
        out["schemes"] = remaining;
    } else if (verb == "repair") {
        if (ctx.args.size() != 1) {
            throw BadInput("scheme repair: takes no further arguments");
        }
        check(RepairDefaultSchemeFiles(ctx.folder));
        out["repaired"] = kDefaultSchemeName;
    } else {
        throw BadInput("scheme: give list, select NAME, export NAME, delete NAME or repair");
    }
    ctx.out << jsonText(out, JsonWriter::Layout::Compact) << '\n';
    return 0;
}

}  // namespace inkquot::cli
