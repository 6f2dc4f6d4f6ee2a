#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/common/clock.h"
#include "core/costing/cost_records.h"
#include "core/costing/job_figures.h"
#include "core/job/paper_lists.h"
#include "core/job/priced_job.h"

namespace inkquot {

// The production ticket (施工单): what the press room and the paper store
// need to make a priced job, and no money. Every number on it is one the
// costing formed the price from (PricedJob::figures); the ticket adds only
// the sums of a run of press sheets and of a paper over the job.

// 1 令 (ream) is 500 full sheets: paper is ordered and stored in 令.
inline constexpr double kSheetsPerReam = 500;

// A paper as the store keeps it: the price list entry, its weight and the
// series of its full sheet.
struct TicketPaper {
    bool sticker = false;  // self-adhesive stock, priced by the sheet, no weight
    int index = 0;         // 1-based in the paper (or sticker paper) price list
    std::string name;      // the list's name, or "第N号纸张" when it has none
    float gsm = 0;
    std::string series;  // 大度 or 正度: the store keeps the two sizes apart

    friend bool operator==(const TicketPaper&, const TicketPaper&) = default;
};

// How the press sheets of a ticket line come about.
enum class SheetRun {
    Single,     // one part costing (a newspaper's sheets: one per four pages)
    Whole,      // a book block's whole press sheets, one form after the other
    Remainder,  // the pages of a book block left over after its whole sheets
};

// One finishing process ordered for a part, e.g. {"表面加工", "过光胶（双面）"}.
struct TicketFinishing {
    std::string process;
    std::string detail;  // empty when the process has no choice
};

// One line of the ticket: one part costing of the job, run `forms` times
// over (each form a press sheet of its own, with its own plates).
struct TicketPart {
    int part = 0;  // partName
    SheetRun run = SheetRun::Single;
    double forms = 1;
    // Printed here: paper is bought and plates are made. A book without a
    // cover of its own has its cover finishing done on the inner pages'
    // paper, a line of finishing only.
    bool printed = false;
    PartSpec spec;
    PartFigures figures;  // of one form
    TicketPaper paper;    // none (index 0) for a line of finishing only
    std::string press;
    // The plate set of one side also prints the other (the sheet is turned
    // and run again): fewer colour runs than colours.
    bool workAndTurn = false;
    std::string film;  // the film work ordered, empty when none
    bool imposition = false;
    std::vector<TicketFinishing> finishing;

    // Over all the line's forms.
    double netSheets() const { return static_cast<double>(figures.netSheets) * forms; }
    double fullSheets() const { return figures.fullSheets * forms; }
    double pressSheets() const { return static_cast<double>(figures.pressSheets) * forms; }
    // The plates of one form: a set per colour run and one per spot colour.
    double platesPerForm() const {
        return static_cast<double>(figures.colourRuns) + static_cast<double>(spec.spotColours);
    }
    double plates() const { return platesPerForm() * forms; }
};

// A book's binding as it was charged.
struct TicketBinding {
    std::string form;  // 骑马订 ... or "未选择装订方式"
    float pages = 0;
    double signatures = 0;  // 贴, four pages each
    float copies = 0;
};

// The full sheets of one paper over the whole job, in the order the paper
// first appears on the ticket.
struct PaperUse {
    TicketPaper paper;
    double fullSheets = 0;
};

struct TicketHeader {
    std::string kind;  // 书刊\画册 ...
    std::string customer;
    std::string jobName;
    float quantity = 0;
    std::string size;  // the finished size as the history keeps it, e.g. "大度16开"
    CivilDate date;
};

struct ProductionTicket {
    TicketHeader header;
    std::vector<TicketPart> parts;
    std::optional<TicketBinding> binding;
    std::vector<PaperUse> papers;
};

struct TicketOutcome {
    std::string refusal;  // in Chinese, for a warning or standard error
    ProductionTicket ticket;

    bool ok() const { return refusal.empty(); }
};

// The ticket of a priced job, dated `date`, its papers named from `names`.
// Refused when nothing was priced, when the job prints no part, and when a
// part could not go on its press (PartStatus::NotPrintable: its pieces do
// not fit the press sheet or the press); the message names the part. The
// empty slots a book block's layout leaves (no remainder pages) and a
// cover-finishing entry with no finishing ticked are no lines.
TicketOutcome ticketOf(const PricedJob& job, const PaperNames& names, CivilDate date);

}  // namespace inkquot
