#include "core/job/ticket_text.h"

#include <cmath>

#include "core/common/date_text.h"
#include "core/common/number_text.h"
#include "core/costing/job_reading.h"

namespace inkquot {

namespace {

std::string countText(double value) {
    return groupedFixed(value, 0);
}

std::string yesNo(bool yes) {
    return yes ? "是" : "否";
}

std::string titleOf(const TicketPart& p) {
    std::string title(partName(p.part));
    if (!p.printed) {
        return title + "（随内页印刷，只做后加工）";
    }
    switch (p.run) {
        case SheetRun::Whole:
            return title + "  整印张 " + countText(p.forms) + "手";
        case SheetRun::Remainder:
            return title + "  零头印张";
        case SheetRun::Single:
            break;
    }
    return p.forms == 1 ? title : title + "  " + countText(p.forms) + "手";
}

std::string finishingText(const std::vector<TicketFinishing>& finishing) {
    std::string text;
    for (const TicketFinishing& f : finishing) {
        if (!text.empty()) {
            text += "；";
        }
        text += f.process;
        if (!f.detail.empty()) {
            text += " " + f.detail;
        }
    }
    return text;
}

}  // namespace

double wholeSheets(double sheets) {
    // 263.00000000001 sheets are 263 sheets: only what is left beyond the
    // arithmetic's last bits is rounded up.
    return std::ceil(sheets - std::abs(sheets) * 1e-9);
}

std::string wholeSheetsText(double sheets) {
    return countText(wholeSheets(sheets));
}

std::string reamsText(double sheets) {
    return groupedFixed(wholeSheets(sheets) / kSheetsPerReam, 3);
}

std::string pressSheetText(float sheetKai) {
    if (sheetKai == 1) {
        return "全张";
    }
    if (sheetKai == 2) {
        return "对开";
    }
    return numberText(sheetKai) + "开";
}

std::string paperText(const TicketPaper& paper) {
    std::string text = paper.name;
    if (!paper.sticker) {
        text += ' ';
        text += numberText(paper.gsm);
        text += "g/m²";
    }
    text += ' ';
    text += paper.series;
    return text;
}

std::vector<TicketField> headerFields(const TicketHeader& h) {
    return {{"客户", h.customer}, {"印件", h.jobName},
            {"类别", h.kind},     {"数量", countText(h.quantity)},
            {"成品规格", h.size}, {"日期", longDateText(h.date)}};
}

TicketBlock partBlock(const TicketPart& p) {
    TicketBlock block{titleOf(p), {}};
    std::vector<TicketField>& f = block.fields;
    if (p.printed) {
        const PartSpec& s = p.spec;
        const std::string perForm = p.forms == 1 ? "" : "/手";
        std::string plates = numberText(static_cast<float>(p.platesPerForm())) + "块" + perForm;
        if (p.forms != 1) {
            plates += "，共" + countText(p.plates()) + "块";
        }
        f = {{"纸张", paperText(p.paper), 2},
             {"印机", p.press},
             {"上机纸", pressSheetText(s.sheetKai)},
             {"拼数", "每张" + numberText(p.figures.piecesPerSheet) + "件"},
             {"自翻版", yesNo(p.workAndTurn)},
             {"印色",
              "正面" + numberText(s.coloursFront) + "色，反面" + numberText(s.coloursBack) + "色"},
             {"色次", numberText(p.figures.colourRuns) + perForm},
             {"专色", numberText(s.spotColours)},
             {"菲林", p.film.empty() ? "无" : p.film, 2},
             {"拼版", yesNo(p.imposition)},
             {"印版", plates},
             {"净用纸", pressSheetText(s.sheetKai) + wholeSheetsText(p.netSheets()) + "张"},
             {"印张", wholeSheetsText(p.pressSheets())},
             {"领纸",
              "全张" + wholeSheetsText(p.fullSheets()) + "张，合" + reamsText(p.fullSheets()) +
                  "令（含加放）",
              3}};
    }
    if (!p.finishing.empty()) {
        f.push_back({"后加工", finishingText(p.finishing), 3});
    }
    return block;
}

TicketBlock bindingBlock(const TicketBinding& b) {
    return {"装订",
            {{"方式", b.form},
             {"页数", numberText(b.pages) + "页（" + countText(b.signatures) + "贴）"},
             {"册数", countText(b.copies)}}};
}

TicketBlock paperUseBlock(const std::vector<PaperUse>& papers) {
    TicketBlock block{"纸张用量", {}};
    for (const PaperUse& use : papers) {
        block.fields.push_back(
            {paperText(use.paper),
             "全张" + wholeSheetsText(use.fullSheets) + "张，合" + reamsText(use.fullSheets) + "令",
             3});
    }
    return block;
}

std::vector<TicketBlock> ticketBlocks(const ProductionTicket& t) {
    std::vector<TicketBlock> blocks;
    for (const TicketPart& p : t.parts) {
        blocks.push_back(partBlock(p));
    }
    if (t.binding) {
        blocks.push_back(bindingBlock(*t.binding));
    }
    blocks.push_back(paperUseBlock(t.papers));
    return blocks;
}

}  // namespace inkquot
