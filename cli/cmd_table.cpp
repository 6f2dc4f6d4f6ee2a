#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/json_io.h"
#include "core/costing/control_catalogue.h"
#include "core/costing/price_table.h"
#include "core/job/form_state.h"
#include "core/job/job_description.h"
#include "core/pricedata/price_tables.h"

namespace inkquot::cli {

namespace {

void writeTable(JsonWriter& out, const PriceTableGrid& g) {
    out.beginObject();
    out.key("kind").integer(g.kind);
    out.key("lablei").text(g.lablei);
    out.key("labshuoming").text(g.labshuoming);
    out.key("labshu").beginArray();
    for (const std::string& s : g.labshu) {
        out.text(s);
    }
    out.endArray();
    out.key("labddu").beginArray();
    for (const std::string& s : g.labddu) {
        out.text(s);
    }
    out.endArray();
    out.key("labdanjia").beginArray();
    for (const std::string& s : g.labdanjia) {
        out.text(s);
    }
    out.endArray();
    out.key("unitPrices").beginArray();
    for (float v : g.unitPrices) {
        out.number(v);
    }
    out.endArray();
    if (!g.refusal.empty()) {
        out.key("refusal").text(g.refusal);
    }
    out.endObject();
}

}  // namespace

// table: a job description (or an array of them) on standard input, the
// price table that "生成价格表" shows for it out: the labels as the window
// shows them and the 84 unit prices as numbers, cell s × 42 + i × 6 + j for
// series s, row i and quantity j. A cell the costing refuses shows "-",
// counts as 0 and the first such refusal comes as "refusal".
int runTable(CommandContext& ctx) {
    if (!ctx.args.empty()) {
        throw BadInput("table: unknown argument " + ctx.args.front() +
                       " (the job comes on standard input)");
    }
    const nlohmann::json input = readJsonInput(ctx.in, "table");
    const auto objects = inputObjects(input, "table");
    requireWorkingPriceFiles(ctx.folder);
    std::vector<FormState> forms(objects.size());
    for (std::size_t i = 0; i < objects.size(); ++i) {
        fillPaperLists(ctx.folder, forms[i]);
        readJobDescription(*objects[i].second, objects[i].first, forms[i]);
        const int kind = forms[i].listIndex(Ctl::comleibie);
        if (!offersPriceTable(kind)) {
            throw BadInput(
                objects[i].first +
                ": 价格表只用于书刊\\画册、单张\\招贴和纸盒\\纸袋，报纸和不干胶没有价格表。");
        }
    }

    writeAnswers(ctx.out, input.is_array(), forms, [&ctx](JsonWriter& out, FormState& form) {
        CostResult result;
        const auto grid = generatePriceTable(ctx.folder, form, result);
        writeTable(out, *grid);
    });
    return 0;
}

}  // namespace inkquot::cli
