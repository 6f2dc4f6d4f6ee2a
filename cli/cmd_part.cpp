#include <stdexcept>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/json_io.h"
#include "core/costing/part_costing.h"

namespace inkquot::cli {

namespace {

std::string refusalText(PartStatus status) {
    switch (status) {
        case PartStatus::NonFiniteInput:
            return "a value is not a finite number";
        case PartStatus::BadQuantity:
            return "field \"quantity\" must not be 0";
        case PartStatus::BadSheetKai:
            return "field \"sheetKai\" must be greater than 0";
        case PartStatus::BadPaperIndex:
            return "field \"paperIndex\" must be 1 to 50 (1 to 10 for sticker paper)";
        case PartStatus::ResultOutOfRange:
            return "the values are so large that a cost exceeds the range of a 32-bit float";
        default:
            return "the part cannot be costed";
    }
}

}  // namespace

int runPart(CommandContext& ctx) {
    const CommandInput input(ctx, "part", "the part comes");
    std::vector<PartSpec> specs;
    specs.reserve(input.objects().size());
    for (const auto& [where, object] : input.objects()) {
        JsonObjectReader reader(*object, where);
        PartSpec spec;
        for (const auto& field : kPartSpecFields) {
            spec.*field.member = reader.floatField(field.name);
        }
        reader.finish();
        specs.push_back(spec);
    }
    const auto warnings = requireWorkingPriceFiles(ctx.folder);

    std::vector<PartCost> costs(specs.size());
    PriceBook book;
    for (std::size_t i = 0; i < specs.size(); ++i) {
        // Every part reloads the working files, exactly as a pricing run does.
        const PartStatus status = CostPart(ctx.folder, specs[i], costs[i], book);
        if (status == PartStatus::PriceFilesUnreadable) {
            throw std::runtime_error("part: the working price files cannot be read");
        }
        if (status != PartStatus::Costed && status != PartStatus::NotPrintable) {
            throw BadInput(input.objects()[i].first + ": " + refusalText(status));
        }
    }

    writeAnswers(ctx.out, input.isBatch(), costs,
                 [&warnings](JsonWriter& out, const PartCost& cost) {
                     out.beginObject();
                     for (const auto& field : kPartCostFields) {
                         out.key(field.name).number(cost.*field.member);
                     }
                     writeWarnings(out, warnings);
                     out.endObject();
                 });
    return 0;
}

}  // namespace inkquot::cli
