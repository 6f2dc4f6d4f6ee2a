#include <optional>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/job_stream.h"
#include "cli/json_io.h"
#include "core/common/clock.h"
#include "core/common/date_text.h"
#include "core/costing/job_reading.h"
#include "core/job/form_state.h"
#include "core/job/job_description.h"
#include "core/job/paper_lists.h"
#include "core/job/priced_job.h"
#include "core/job/production_ticket.h"
#include "core/job/ticket_text.h"
#include "core/records/history_query.h"

namespace inkquot::cli {

namespace {

// Exact values as doubles: the shortest text that reads back the same.
void writeDouble(JsonWriter& out, std::string_view key, double v) {
    out.key(key).value(nlohmann::json(v));
}

const char* runName(SheetRun run) {
    switch (run) {
        case SheetRun::Whole:
            return "whole";
        case SheetRun::Remainder:
            return "remainder";
        case SheetRun::Single:
            break;
    }
    return "single";
}

void writePaper(JsonWriter& out, const TicketPaper& paper) {
    out.beginObject()
        .key("name")
        .text(paper.name)
        .key("index")
        .integer(paper.index)
        .key("sticker")
        .boolean(paper.sticker)
        .key("gsm")
        .number(paper.gsm)
        .key("series")
        .text(paper.series)
        .endObject();
}

// The full sheets of a line or a paper: exact, as the press room fetches
// them (whole sheets), and in 令.
void writeFullSheets(JsonWriter& out, double sheets) {
    writeDouble(out, "fullSheets", sheets);
    writeDouble(out, "fullSheetsWhole", wholeSheets(sheets));
    writeDouble(out, "reams", sheets / kSheetsPerReam);
}

void writePart(JsonWriter& out, const TicketPart& p) {
    out.beginObject();
    out.key("part").integer(p.part).key("name").text(partName(p.part));
    out.key("run").text(runName(p.run));
    writeDouble(out, "forms", p.forms);
    out.key("printed").boolean(p.printed);
    if (p.printed) {
        const PartSpec& s = p.spec;
        out.key("paper");
        writePaper(out, p.paper);
        out.key("press").text(p.press);
        out.key("sheetKai").number(s.sheetKai);
        out.key("pressSheet").text(pressSheetText(s.sheetKai));
        out.key("coloursFront").number(s.coloursFront);
        out.key("coloursBack").number(s.coloursBack);
        out.key("spotColours").number(s.spotColours);
        out.key("workAndTurn").boolean(p.workAndTurn);
        out.key("film").text(p.film);
        out.key("imposition").boolean(p.imposition);
        // One form as the costing formed it.
        out.key("figures").beginObject();
        out.key("piecesPerSheet").number(p.figures.piecesPerSheet);
        out.key("colourRuns").number(p.figures.colourRuns);
        out.key("pressSheets").number(p.figures.pressSheets);
        out.key("netSheets").number(p.figures.netSheets);
        writeDouble(out, "fullSheets", p.figures.fullSheets);
        out.endObject();
        // All the line's forms.
        out.key("totals").beginObject();
        writeDouble(out, "netSheets", p.netSheets());
        writeDouble(out, "pressSheets", p.pressSheets());
        writeDouble(out, "plates", p.plates());
        writeFullSheets(out, p.fullSheets());
        out.endObject();
    }
    out.key("finishing").beginArray();
    for (const TicketFinishing& f : p.finishing) {
        out.beginObject().key("process").text(f.process).key("detail").text(f.detail).endObject();
    }
    out.endArray();
    out.endObject();
}

void writeTicket(JsonWriter& out, int kind, const ProductionTicket& t,
                 const std::vector<std::string>& warnings) {
    const TicketHeader& h = t.header;
    out.beginObject();
    out.key("kind").integer(kind);
    out.key("header")
        .beginObject()
        .key("kind")
        .text(h.kind)
        .key("customer")
        .text(h.customer)
        .key("jobName")
        .text(h.jobName)
        .key("quantity")
        .number(h.quantity)
        .key("size")
        .text(h.size)
        .key("date")
        .text(shortDateText(h.date))
        .endObject();
    out.key("parts").beginArray();
    for (const TicketPart& p : t.parts) {
        writePart(out, p);
    }
    out.endArray();
    if (t.binding) {
        const TicketBinding& b = *t.binding;
        out.key("binding").beginObject().key("form").text(b.form).key("pages").number(b.pages);
        writeDouble(out, "signatures", b.signatures);
        out.key("copies").number(b.copies).endObject();
    }
    out.key("papers").beginArray();
    for (const PaperUse& use : t.papers) {
        out.beginObject().key("paper");
        writePaper(out, use.paper);
        writeFullSheets(out, use.fullSheets);
        out.endObject();
    }
    out.endArray();
    writeWarnings(out, warnings);
    out.endObject();
}

}  // namespace

// ticket: a job description (or a batch) on standard input, priced as
// `price` prices it, and its production ticket out: the sheets, plates and
// finishing of every printed part, the binding and the paper by the ream.
// --date DATE dates the tickets (today by default); --lines reads and
// writes JSON Lines. Batches go as for `price`.
int runTicket(CommandContext& ctx) {
    bool lines = false;
    std::optional<CivilDate> date;
    for (std::size_t i = 0; i < ctx.args.size(); ++i) {
        const std::string& arg = ctx.args[i];
        if (arg == "--lines") {
            lines = true;
        } else if (arg == "--date" && i + 1 < ctx.args.size()) {
            date = parseDateText(ctx.args[++i]);
            if (!date) {
                throw BadInput("ticket: --date: \"" + ctx.args[i] +
                               "\" is not a date (write it as 2026/12/7, 2026-12-7 or "
                               "2026年12月7日)");
            }
        } else {
            throw BadInput("ticket: unknown argument " + arg +
                           " (the job comes on standard input; --date DATE dates the ticket,"
                           " --lines reads and writes JSON Lines)");
        }
    }
    if (!date) {
        date = SystemClock().today();
    }
    JobStream jobs(ctx.in, "ticket", lines);
    const std::vector<std::string> warnings = requireWorkingPriceFiles(ctx.folder);
    const PaperNames names = readPaperNames(ctx.folder);
    FormState starting;
    fillPaperLists(ctx.folder, starting);
    starting.takeChanges();
    FormState form = starting;
    JsonWriter out(ctx.out, JsonWriter::Layout::Answers);
    return answerJobs(jobs, out, [&](const JobStream::Job& job) {
        form.restore(starting);
        readJob(job, form);
        PricedJob priced;
        const PriceOutcome outcome = priceJob(ctx.folder, form, priced);
        if (!outcome.ok()) {
            throw BadInput(job.where + ": " + outcome.refusal);
        }
        const TicketOutcome ticket = ticketOf(priced, names, *date);
        if (!ticket.ok()) {
            throw BadInput(job.where + ": " + ticket.refusal);
        }
        writeTicket(out, priced.kind, ticket.ticket, warnings);
    });
}

}  // namespace inkquot::cli
