#include <stdexcept>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/job_stream.h"
#include "cli/json_io.h"
#include "core/job/form_state.h"
#include "core/job/job_description.h"
#include "core/costing/control_catalogue.h"
#include "core/costing/price_table.h"
#include "core/pricedata/price_tables.h"

namespace inkquot::cli {

namespace {

void writeTable(JsonWriter& out, const PriceTableGrid& g,
                const std::vector<std::string>& warnings) {
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
    writeWarnings(out, warnings);
    out.endObject();
}

}  // namespace

// table: a job description (or a batch of them) on standard input, the
// price table that "生成价格表" shows for it out: the labels as the window
// shows them and the 84 unit prices as numbers, cell s × 42 + i × 6 + j for
// series s, row i and quantity j. A cell the costing refuses shows "-",
// counts as 0 and the first such refusal comes as "refusal".
// table --lines: JSON Lines in and out; bad jobs as with price.
int runTable(CommandContext& ctx) {
    bool lines = false;
    for (const std::string& arg : ctx.args) {
        if (arg == "--lines") {
            lines = true;
        } else {
            throw BadInput("table: unknown argument " + arg +
                           " (the job comes on standard input; --lines reads and writes JSON"
                           " Lines)");
        }
    }
    JobStream jobs(ctx.in, "table", lines);
    const auto warnings = requireWorkingPriceFiles(ctx.folder);
    FormState starting;
    fillPaperLists(ctx.folder, starting);
    FormState form;
    JsonWriter out(ctx.out);
    const bool array = jobs.form() == JobStream::Form::Array;
    if (array) {
        out.beginArray();
    }
    bool refused = false;
    JobStream::Job job;
    try {
        while (jobs.next(job)) {
            try {
                if (!job.error.empty()) {
                    throw BadInput(job.error);
                }
                form = starting;
                readJobDescription(job.value, job.where, form);
                if (!offersPriceTable(form.listIndex(Ctl::comleibie))) {
                    throw BadInput(
                        job.where +
                        ": 价格表只用于书刊\\画册、单张\\招贴和纸盒\\纸袋，报纸和不干胶没有"
                        "价格表。");
                }
                CostResult result;
                writeTable(out, *generatePriceTable(ctx.folder, form, result), warnings);
            } catch (const std::runtime_error& e) {
                // A refused job, whichever layer refused it.
                if (!lines) {
                    throw;
                }
                refused = true;
                out.beginObject().key("error").text(e.what()).endObject();
            }
            if (lines) {
                out.newline();
            }
        }
    } catch (const std::exception&) {
        if (array) {
            out.endArray();
            out.newline();
        }
        ctx.out.flush();
        throw;
    }
    if (!lines) {
        if (array) {
            out.endArray();
        }
        out.newline();
    }
    return refused ? 2 : 0;
}

}  // namespace inkquot::cli
