#include <ranges>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/json_io.h"
#include "core/costing/cost_records.h"
#include "core/costing/price_job.h"
#include "core/costing/result_text.h"
#include "core/job/form_state.h"
#include "core/job/job_description.h"

namespace inkquot::cli {

// price: a job description (or an array of them) on standard input, its
// CostResult out, priced by the same run as the screen's "开始计价".
// price --describe: the job description as the tool understood it, with
// only the controls that differ from what omitting them would give.
int runPrice(CommandContext& ctx) {
    bool describe = false;
    for (const std::string& arg : ctx.args) {
        if (arg == "--describe") {
            describe = true;
        } else {
            throw BadInput("price: unknown argument " + arg +
                           " (the job comes on standard input; --describe prints it back)");
        }
    }
    const nlohmann::json input = readJsonInput(ctx.in, "price");
    const auto objects = inputObjects(input, "price");
    // The paper lists hold the current scheme's names before the job is
    // read, as on the screen, so that a job's paper choice is kept as given.
    if (!describe) {
        requireWorkingPriceFiles(ctx.folder);
    }
    std::vector<FormState> forms(objects.size());
    for (std::size_t i = 0; i < objects.size(); ++i) {
        if (!describe) {
            fillPaperLists(ctx.folder, forms[i]);
        }
        readJobDescription(*objects[i].second, objects[i].first, forms[i]);
    }
    const bool batch = input.is_array();

    if (describe) {
        nlohmann::json out = nlohmann::json::array();
        for (const FormState& form : forms) {
            out.push_back(describeJob(form));
        }
        ctx.out << (batch ? out : out.front()).dump() << '\n';
        return 0;
    }

    std::vector<CostResult> results(forms.size());
    for (std::size_t i = 0; i < forms.size(); ++i) {
        const PriceOutcome outcome = priceJob(ctx.folder, forms[i], results[i]);
        if (!outcome.ok()) {
            throw BadInput(objects[i].first + ": " + outcome.refusal);
        }
    }

    writeAnswers(ctx.out, batch, std::views::iota(std::size_t{0}, forms.size()),
                 [&](JsonWriter& out, std::size_t i) {
                     out.beginObject();
                     out.key("kind").integer(forms[i].listIndex(Ctl::comleibie));
                     out.key("CostResult").beginObject();
                     for (const auto& field : kCostResultFields) {
                         out.key(field.name).number(results[i].*field.member);
                     }
                     out.endObject();
                     const int kind = forms[i].listIndex(Ctl::comleibie);
                     out.key("resultText").text(composeResultText(forms[i], kind, results[i]));
                     out.key("Guige").text(composeGuige(forms[i], kind));
                     out.key("Yaoqiu").text(composeYaoqiu(forms[i], kind));
                     out.endObject();
                 });
    return 0;
}

}  // namespace inkquot::cli
