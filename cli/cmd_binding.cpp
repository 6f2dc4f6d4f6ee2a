#include <stdexcept>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/json_io.h"
#include "core/costing/binding_costing.h"
#include "core/costing/price_book.h"

namespace inkquot::cli {

namespace {

struct BindingInput {
    float bindFlag;
    float copies;
    float kai;
    float pages;
    float bindingForm;
};

}  // namespace

int runBinding(CommandContext& ctx) {
    const CommandInput input(ctx, "binding", "the binding comes");
    std::vector<BindingInput> bindings;
    for (const auto& [where, object] : input.objects()) {
        JsonObjectReader reader(*object, where);
        BindingInput b{};
        b.bindFlag = reader.floatField("bindFlag");
        b.copies = reader.floatField("copies");
        b.kai = reader.floatField("kai");
        b.pages = reader.floatField("pages");
        b.bindingForm = reader.floatField("bindingForm");
        reader.finish();
        bindings.push_back(b);
    }
    requireWorkingPriceFiles(ctx.folder);

    PriceBook book;
    if (const IoStatus loaded = LoadPriceBook(ctx.folder, book); !loaded) {
        throw std::runtime_error("binding: " + loaded.message);
    }
    std::vector<float> costs;
    for (std::size_t i = 0; i < bindings.size(); ++i) {
        const BindingInput& b = bindings[i];
        const BindingOutcome outcome =
            costBindingWithBook(book, b.bindFlag, b.copies, b.kai, b.pages, b.bindingForm);
        if (outcome.status == BindingStatus::NonFiniteInput) {
            throw BadInput(input.objects()[i].first + ": a value is not a finite number");
        }
        if (outcome.status == BindingStatus::ResultOutOfRange) {
            throw BadInput(input.objects()[i].first +
                           ": the values are so large that the cost exceeds the range of a "
                           "32-bit float");
        }
        costs.push_back(outcome.BindingCost);
    }

    writeAnswers(ctx.out, input.isBatch(), costs, [](JsonWriter& out, const float cost) {
        out.beginObject().key("BindingCost").number(cost).endObject();
    });
    return 0;
}

}  // namespace inkquot::cli
