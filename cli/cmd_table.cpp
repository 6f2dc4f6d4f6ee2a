#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/job_stream.h"
#include "cli/json_io.h"
#include "core/costing/control_catalogue.h"
#include "core/costing/price_table.h"
#include "core/costing/price_table_check.h"
#include "core/identity/letterhead.h"
#include "core/job/form_state.h"
#include "core/job/job_description.h"
#include "core/pricedata/price_tables.h"
#include "core/spreadsheet/price_table_sheet.h"

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
    // Cells in doubt only when there are any, so that a sound table reads
    // as it always has.
    if (const PriceTableCheck check = checkPriceTable(g); check.flaggedCount() > 0) {
        out.key("flagged").beginObject();
        for (const auto& [name, doubt] : {std::pair{"rising", CellDoubt::Rising},
                                          std::pair{"notPositive", CellDoubt::NotPositive}}) {
            out.key(name).beginArray();
            for (int n = 0; n < kTableCellCount; ++n) {
                if (check.cells[n] == doubt) {
                    out.integer(n);
                }
            }
            out.endArray();
        }
        out.key("warning").text(check.warning());
        out.endObject();
    }
    if (!g.refusal.empty()) {
        out.key("refusal").text(g.refusal);
    }
    writeWarnings(out, warnings);
    out.endObject();
}

void writeSheets(const std::vector<std::pair<SheetFormat, std::filesystem::path>>& sheets,
                 const PriceTableGrid& grid, const PriceTableHeading& heading) {
    for (const auto& [format, file] : sheets) {
        if (const IoStatus written = writePriceTableSheet(file, format, grid, heading);
            !written && written.error != IoError::NotDurable) {
            throw std::runtime_error(std::string(kSaveFailedText) + written.message);
        }
    }
}

}  // namespace

// table: a job description (or a batch of them) on standard input, the
// price table that "生成价格表" shows for it out: the labels as the window
// shows them and the 84 unit prices as numbers, cell s × 42 + i × 6 + j for
// series s, row i and quantity j. A cell the costing refuses shows "-",
// counts as 0 and the first such refusal comes as "refusal".
// Cells in doubt (a unit price of zero or below, or one that rises with the
// quantity) come as "flagged": their numbers and the warning line.
// table --lines: JSON Lines in and out; bad jobs as with price.
// table --xlsx FILE / --csv FILE [--title TEXT]: also writes the table of a
// single job as an Excel workbook or a CSV file, under the heading TEXT
// (the proposed heading when not given) and this month.
int runTable(CommandContext& ctx) {
    bool lines = false;
    std::vector<std::pair<SheetFormat, std::filesystem::path>> sheets;
    PriceTableHeading heading;
    heading.title = std::string(kTableTitleProposal);
    for (std::size_t i = 0; i < ctx.args.size(); ++i) {
        const std::string& arg = ctx.args[i];
        if (arg == "--lines") {
            lines = true;
        } else if (arg == "--xlsx" || arg == "--csv" || arg == "--title") {
            if (i + 1 >= ctx.args.size() || ctx.args[i + 1].empty()) {
                throw BadInput("table: " + arg + " needs a value");
            }
            const std::string& value = ctx.args[++i];
            if (arg == "--title") {
                heading.title = value;
            } else {
                sheets.emplace_back(
                    arg == "--xlsx" ? SheetFormat::Xlsx : SheetFormat::Csv,
                    std::filesystem::path(std::u8string(value.begin(), value.end())));
            }
        } else {
            throw BadInput("table: unknown argument " + arg +
                           " (the job comes on standard input; --lines reads and writes JSON"
                           " Lines; --xlsx FILE and --csv FILE write the table of one job)");
        }
    }
    if (lines && !sheets.empty()) {
        throw BadInput("table: --xlsx and --csv write the table of one job, not of --lines");
    }
    heading.month = tableMonthText(SystemClock().today());
    heading.letterhead = letterheadLines(ctx.folder);
    JobStream jobs(ctx.in, "table", lines);
    const auto warnings = requireWorkingPriceFiles(ctx.folder);
    FormState starting;
    fillPaperLists(ctx.folder, starting);
    // From here on the form's list of changes holds what a job wrote, which
    // is all that restore() copies back.
    starting.takeChanges();
    FormState form = starting;
    JsonWriter out(ctx.out);
    const bool array = jobs.form() == JobStream::Form::Array;
    return answerJobs(jobs, out, [&](const JobStream::Job& job) {
        form.restore(starting);
        readJob(job, form);
        if (!offersPriceTable(form.listIndex(Ctl::comleibie))) {
            throw BadInput(job.where +
                           ": 价格表只用于书刊\\画册、单张\\招贴和纸盒\\纸袋，报纸和不干胶没有"
                           "价格表。");
        }
        CostResult result;
        const PriceTableGrid grid = *generatePriceTable(ctx.folder, form, result);
        if (!sheets.empty()) {
            if (array) {
                throw BadInput(job.where +
                               ": --xlsx and --csv write the table of one job, not of a"
                               " batch");
            }
            writeSheets(sheets, grid, heading);
        }
        writeTable(out, grid, warnings);
    });
}

}  // namespace inkquot::cli
