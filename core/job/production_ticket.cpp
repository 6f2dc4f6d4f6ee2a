#include "core/job/production_ticket.h"

#include <cmath>
#include <cstddef>

#include "core/costing/control_catalogue.h"
#include "core/costing/job_reading.h"
#include "core/costing/press_kind.h"
#include "core/costing/price_job.h"

namespace inkquot {

namespace {

bool on(float flag) {
    return flag == 1.0f;
}

// Item `i` of the first list of a control, the names the entry screen
// offers; "" outside the list.
std::string itemOf(Ctl control, std::size_t i, std::size_t entry = 0) {
    const std::vector<std::string>& items = controlDef(control).entries.at(entry).items;
    return i < items.size() ? items[i] : std::string();
}

// The paper series of a 对开 sheet area: 0.53 m² is 大度, 0.43 m² 正度.
std::string seriesOf(float halfSheetArea) {
    for (int position = 0; position < 2; ++position) {
        if (halfSheetArea == halfSheetAreaOfSeries(position)) {
            return itemOf(Ctl::Ncomdu, static_cast<std::size_t>(position));
        }
    }
    return numberText(halfSheetArea * 2) + "m²";
}

TicketPaper paperOf(const PartSpec& spec, const PaperNames& names) {
    TicketPaper paper;
    paper.sticker = on(spec.stickerPaper);
    // The costing rounds the list position the same way before it looks
    // the price up.
    paper.index = static_cast<int>(std::nearbyint(static_cast<double>(spec.paperIndex)));
    const std::vector<std::string>& list = paper.sticker ? names.stickerPapers : names.papers;
    if (paper.index >= 1 && static_cast<std::size_t>(paper.index) <= list.size()) {
        // The price list keeps its names padded to the width of the field.
        paper.name = list[static_cast<std::size_t>(paper.index) - 1];
        paper.name.erase(paper.name.find_last_not_of(' ') + 1);
    }
    if (paper.name.empty()) {
        paper.name = "第" + std::to_string(paper.index) + "号纸张";
    }
    paper.gsm = paper.sticker ? 0.0f : spec.gsm;
    paper.series = seriesOf(spec.halfSheetArea);
    return paper;
}

std::string pressOf(float press) {
    // The cost rules price any other number like the 对开平印机.
    for (std::size_t i = 0; i < kPressNames.size(); ++i) {
        if (press == costingPress(static_cast<int>(i))) {
            return std::string(kPressNames[i]);
        }
    }
    return std::string(kPressNames[kPressDuikaiFlat]);
}

// The film work as the cost rules charged it: mode 1 film only, mode 2 film
// and proof, anything else design as well.
std::string filmOf(const PartSpec& spec) {
    if (!on(spec.filmFlag)) {
        return {};
    }
    const std::size_t mode = spec.filmMode == 1 ? 0 : spec.filmMode == 2 ? 1 : 2;
    return itemOf(Ctl::Cmbfeilin, mode);
}

// The finishing processes that are on, in the order the cost rules take
// them, with the choices they were priced with.
std::vector<TicketFinishing> finishingOf(const PartSpec& s) {
    std::vector<TicketFinishing> out;
    if (on(s.surfaceFlag)) {
        // Types 1..3 by name; any other is priced as the last (过UV). One
        // side only when 单面 is chosen.
        const std::size_t type = s.surfaceType == 1   ? 0
                                 : s.surfaceType == 2 ? 1
                                 : s.surfaceType == 3 ? 2
                                                      : 3;
        const std::size_t sides = s.surfaceSides == 1 ? 0 : 1;
        out.push_back({"表面加工", itemOf(Ctl::comjiao, type, 1) + "（" +
                                       itemOf(Ctl::comjiao, sides, 0) + "）"});
    }
    if (on(s.foilFlag) && s.foilArea != 0) {
        // An area of 0 stamps nothing and is not charged.
        out.push_back({"烫金/银", "每件" + numberText(s.foilArea) + "cm²" +
                                      (s.foilPasses == 2 ? "，烫两次" : "")});
    }
    if (on(s.embossFlag)) {
        out.push_back({"压凹凸", {}});
    }
    if (on(s.mountFlag)) {
        out.push_back({"对裱", {}});
    }
    if (on(s.dieCutFlag)) {
        out.push_back({"模切/压痕", on(s.dieBoardFlag) ? "做模板" : "不做模板"});
    }
    if (on(s.corrugatedFlag)) {
        const std::size_t layers = s.corrugatedLayers == 1 ? 0 : s.corrugatedLayers == 2 ? 1 : 2;
        out.push_back({"裱瓦楞", itemOf(Ctl::optwa, layers)});
    }
    if (on(s.glueFlag)) {
        // 单边 and 双边 glue a box; any other mode makes a bag (做手提袋).
        if (s.glueMode == 1 || s.glueMode == 2) {
            out.push_back({"粘盒", itemOf(Ctl::optnian, static_cast<std::size_t>(s.glueMode) - 1)});
        } else {
            out.push_back({itemOf(Ctl::optnian, 2), {}});
        }
    }
    if (on(s.foldFlag)) {
        out.push_back({"折页", numberText(s.folds) + "折"});
    }
    return out;
}

SheetRun runOf(const CostedPart& costed) {
    // A book block (内页一, 内页二) is printed on whole press sheets, one
    // piece a sheet, and its remainder on smaller blocks.
    if (costed.part != 1 && costed.part != 2) {
        return SheetRun::Single;
    }
    return costed.spec.kai == costed.spec.sheetKai ? SheetRun::Whole : SheetRun::Remainder;
}

// The piece does not fit the press sheet, or the press is too small for it.
std::string notPrintable(const CostedPart& costed) {
    const PartSpec& s = costed.spec;
    const std::string name(partName(costed.part));
    const std::string why = numberText(s.kai) + "开的印件排不进" + pressOf(s.press) + "的" +
                            numberText(s.sheetKai) + "开上机纸";
    if (!on(s.printFlag)) {
        return name + "的后加工无法上机（" + why + "），不能生成施工单。";
    }
    return name + "无法上机印刷（" + why + "），不能生成施工单。";
}

TicketHeader headerOf(const PricedJob& job, CivilDate date) {
    TicketHeader h;
    h.kind = job.kind >= 0 ? itemOf(Ctl::comleibie, static_cast<std::size_t>(job.kind)) : "";
    h.customer = job.customer;
    h.jobName = job.jobName;
    h.quantity = job.quantity;
    h.size = job.guige;
    h.date = date;
    return h;
}

void addPaperUse(std::vector<PaperUse>& papers, const TicketPart& line) {
    for (PaperUse& use : papers) {
        if (use.paper == line.paper) {
            use.fullSheets += line.fullSheets();
            return;
        }
    }
    papers.push_back({line.paper, line.fullSheets()});
}

}  // namespace

TicketOutcome ticketOf(const PricedJob& job, const PaperNames& names, CivilDate date) {
    TicketOutcome out;
    if (job.kind < 0) {
        out.refusal = "还没有计价的印件，请先计价，再生成施工单。";
        return out;
    }
    ProductionTicket& t = out.ticket;
    t.header = headerOf(job, date);
    for (const CostedPart& costed : job.figures.parts) {
        const PartSpec& s = costed.spec;
        const bool printed = on(s.printFlag);
        std::vector<TicketFinishing> finishing = finishingOf(s);
        // A block layout's empty slot (Kai 0: no remainder pages) and a
        // cover-finishing entry without any finishing ordered make nothing.
        if ((costed.status == PartStatus::NotPrintable && s.kai == 0) ||
            (!printed && finishing.empty())) {
            continue;
        }
        if (costed.status != PartStatus::Costed) {
            out.refusal = notPrintable(costed);
            out.ticket = {};
            return out;
        }
        TicketPart line;
        line.part = costed.part;
        line.run = runOf(costed);
        line.forms = costed.times;
        line.printed = printed;
        line.spec = s;
        line.figures = costed.figures;
        if (printed) {
            line.paper = paperOf(s, names);
            line.press = pressOf(s.press);
            line.workAndTurn = costed.figures.colourRuns < s.coloursFront + s.coloursBack;
            line.film = filmOf(s);
            line.imposition = on(s.impositionFlag);
        }
        line.finishing = std::move(finishing);
        t.parts.push_back(std::move(line));
    }
    bool anyPrinted = false;
    for (const TicketPart& line : t.parts) {
        if (line.printed) {
            anyPrinted = true;
            addPaperUse(t.papers, line);
        }
    }
    if (!anyPrinted) {
        out.refusal = "这个印件没有要印刷的部件（一个部件也没有勾选），不能生成施工单。";
        out.ticket = {};
        return out;
    }
    const BindingFigures& b = job.figures.binding;
    if (b.bound) {
        const bool named = b.form >= 1 && b.form <= 6;
        t.binding = TicketBinding{
            named ? itemOf(Ctl::Cmbdin, static_cast<std::size_t>(b.form) - 1) : "未选择装订方式",
            b.pages, b.signatures, b.copies};
    }
    return out;
}

}  // namespace inkquot
