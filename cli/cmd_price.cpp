#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/job_stream.h"
#include "cli/json_io.h"
#include "core/costing/cost_records.h"
#include "core/costing/price_job.h"
#include "core/costing/result_text.h"
#include "core/job/scheme_comparison.h"
#include "core/pricedata/scheme_ops.h"
#include "core/job/form_state.h"
#include "core/job/job_description.h"

namespace inkquot::cli {

namespace {

void writePriced(JsonWriter& out, const FormState& form, const CostResult& result,
                 const std::vector<std::string>& warnings, const std::string& scheme) {
    const int kind = form.listIndex(Ctl::comleibie);
    out.beginObject();
    out.key("kind").integer(kind);
    if (!scheme.empty()) {
        out.key("scheme").text(scheme);
    }
    out.key("CostResult").beginObject();
    for (const auto& field : kCostResultFields) {
        out.key(field.name).number(result.*field.member);
    }
    out.endObject();
    out.key("resultText").text(composeResultText(form, kind, result));
    out.key("Guige").text(composeGuige(form, kind));
    out.key("Yaoqiu").text(composeYaoqiu(form, kind));
    writeWarnings(out, warnings);
    out.endObject();
}

}  // namespace

// price: a job description (or a batch of them) on standard input, its
// CostResult out, priced by the same run as the screen's "开始计价".
// price --describe: the job description as the tool understood it, with
// only the controls that differ from what omitting them would give.
// price --lines: JSON Lines in and out.
// price --scheme NAME: priced from the stored tables of another scheme of
// the list, which is not put in use; nothing is written.
//
// A batch is read, priced and written one job at a time. In an array the
// first bad job ends the batch (the array written so far is closed, exit
// code 2); in JSON Lines a bad line gets {"error": message} in its place,
// the other lines are priced and the exit code is 2 at the end.
int runPrice(CommandContext& ctx) {
    bool describe = false;
    bool lines = false;
    std::string scheme;
    for (std::size_t i = 0; i < ctx.args.size(); ++i) {
        const std::string& arg = ctx.args[i];
        if (arg == "--describe") {
            describe = true;
        } else if (arg == "--lines") {
            lines = true;
        } else if (arg == "--scheme" && i + 1 < ctx.args.size() && !ctx.args[i + 1].empty()) {
            scheme = ctx.args[++i];
        } else {
            throw BadInput("price: unknown argument " + arg +
                           " (the job comes on standard input; --describe prints it back,"
                           " --lines reads and writes JSON Lines, --scheme NAME prices under"
                           " another scheme of the list)");
        }
    }
    std::optional<PriceSource> schemePrices;
    if (!scheme.empty() && !describe) {
        if (const IoStatus listed = checkListedScheme(ctx.folder, scheme); !listed) {
            throw BadInput("price: " + listed.message);
        }
        PriceBook book;
        if (const IoStatus loaded = loadSchemeBook(ctx.folder, scheme, book); !loaded) {
            throw BadInput("price: " + loaded.message);
        }
        schemePrices.emplace(book);
    }
    JobStream jobs(ctx.in, "price", lines);
    // The paper lists hold the current scheme's names before a job is read,
    // as on the screen, so that a job's paper choice is kept as given. They
    // are read once for the batch; every job starts from a copy.
    FormState starting;
    std::vector<std::string> warnings;
    if (!describe) {
        if (!schemePrices) {
            warnings = requireWorkingPriceFiles(ctx.folder);
        }
        fillPaperLists(ctx.folder, starting);
    }
    const PriceSource prices = schemePrices ? *schemePrices : PriceSource(ctx.folder);
    // From here on the form's list of changes holds what a job wrote, which
    // is all that restore() copies back.
    starting.takeChanges();
    FormState form = starting;
    CostResult result;
    // --describe prints the descriptions as compact JSON, batch and all.
    JsonWriter out(ctx.out, describe ? JsonWriter::Layout::Compact : JsonWriter::Layout::Answers);
    return answerJobs(jobs, out, [&](const JobStream::Job& job) {
        form.restore(starting);
        readJob(job, form);
        if (describe) {
            out.value(describeJob(form));
            return;
        }
        result = CostResult{};
        const PriceOutcome outcome = priceJob(prices, form, result);
        if (!outcome.ok()) {
            throw BadInput(job.where + ": " + outcome.refusal);
        }
        writePriced(out, form, result, warnings, scheme);
    });
}

}  // namespace inkquot::cli
