#include "core/job/production_ticket.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <tuple>

#include "core/costing/job_reading.h"
#include "core/costing/price_source.h"
#include "core/job/form_state.h"
#include "core/job/job_description.h"
#include "core/job/ticket_text.h"
#include "core/pricedata/default_scheme.h"
#include "tests/core/costing/default_book.h"
#include "tests/core/job/random_jobs.h"

namespace inkquot {
namespace {

constexpr CivilDate kDay{2026, 12, 7};

PaperNames defaultPaperNames() {
    PaperNames names;
    for (const auto& rec : defaultZhijiaTable()) {
        names.papers.push_back(rec.Mingcheng);
    }
    for (const auto& rec : defaultZhijiabuTable()) {
        names.stickerPapers.push_back(rec.Mingcheng);
    }
    names.read = true;
    return names;
}

FormState startingForm(const PaperNames& names) {
    FormState form;
    form.setPaperNames(names.papers);
    form.setStickerPaperNames(names.stickerPapers);
    form.takeChanges();
    return form;
}

PricedJob priced(const FormState& form) {
    static const PriceBook book = testing::defaultPriceBook();
    PricedJob job;
    const PriceOutcome outcome = priceJob(PriceSource(book), form, job);
    EXPECT_TRUE(outcome.ok()) << outcome.refusal;
    return job;
}

bool onlyFinishing(const CostedPart& c) {
    return c.spec.printFlag != 1;
}

// The ticket of a priced job against the costing's own figures: every
// printed part costing is a line in the same order with its figures as
// they are, a part the press cannot take refuses the ticket, and each
// paper's full sheets are the sum of its lines.
void expectTicketOfFigures(const JobFigures& figures, const TicketOutcome& t,
                           const PaperNames& names) {
    if (!t.ok()) {
        bool named = false;
        bool printedAny = false;
        for (const CostedPart& c : figures.parts) {
            named |= c.status == PartStatus::NotPrintable && c.spec.kai != 0 &&
                     t.refusal.starts_with(partName(c.part));
            printedAny |= c.status == PartStatus::Costed && !onlyFinishing(c);
        }
        EXPECT_TRUE(named || !printedAny) << t.refusal;
        return;
    }
    const std::vector<TicketPart>& lines = t.ticket.parts;
    std::size_t next = 0;
    std::map<std::tuple<bool, int, float, std::string>, double> sums;
    for (const CostedPart& c : figures.parts) {
        if (c.status == PartStatus::NotPrintable) {
            EXPECT_TRUE(c.spec.kai == 0 || onlyFinishing(c)) << partName(c.part);
            continue;
        }
        if (next == lines.size() || lines[next].part != c.part ||
            lines[next].printed == onlyFinishing(c)) {
            // Only a cover entry without any finishing ordered is left out.
            EXPECT_TRUE(onlyFinishing(c)) << "costing of " << partName(c.part) << " has no line";
            continue;
        }
        const TicketPart& line = lines[next++];
        EXPECT_EQ(line.forms, c.times);
        EXPECT_EQ(line.figures.fullSheets, c.figures.fullSheets);
        EXPECT_EQ(line.figures.pressSheets, c.figures.pressSheets);
        EXPECT_EQ(line.figures.colourRuns, c.figures.colourRuns);
        EXPECT_EQ(line.figures.netSheets, c.figures.netSheets);
        EXPECT_EQ(line.figures.piecesPerSheet, c.figures.piecesPerSheet);
        EXPECT_EQ(line.fullSheets(), c.figures.fullSheets * c.times);
        EXPECT_EQ(line.pressSheets(), static_cast<double>(c.figures.pressSheets) * c.times);
        if (!line.printed) {
            continue;
        }
        const auto& list = line.paper.sticker ? names.stickerPapers : names.papers;
        std::string listed = list.at(static_cast<std::size_t>(line.paper.index) - 1);
        listed.erase(listed.find_last_not_of(' ') + 1);
        EXPECT_EQ(line.paper.name, listed);
        sums[{line.paper.sticker, line.paper.index, line.paper.gsm, line.paper.series}] +=
            line.fullSheets();
    }
    EXPECT_EQ(next, lines.size());
    ASSERT_EQ(t.ticket.papers.size(), sums.size());
    for (const PaperUse& use : t.ticket.papers) {
        const auto key =
            std::make_tuple(use.paper.sticker, use.paper.index, use.paper.gsm, use.paper.series);
        EXPECT_EQ(use.fullSheets, sums[key]) << use.paper.name;
    }
    EXPECT_EQ(t.ticket.binding.has_value(), figures.binding.bound);
}

TEST(ProductionTicket, RandomJobsOfEveryKindCarryTheCostingsFigures) {
    const PaperNames names = defaultPaperNames();
    const FormState starting = startingForm(names);
    std::mt19937 rng(20261207);
    int notPrintable = 0;
    for (int kind = 0; kind < kJobKindCount; ++kind) {
        int tickets = 0;
        for (int i = 0; i < 2000; ++i) {
            FormState form = starting;
            testing::RandomJob(rng, form).fill(kind);
            PricedJob job;
            static const PriceBook book = testing::defaultPriceBook();
            if (!priceJob(PriceSource(book), form, job).ok()) {
                continue;
            }
            const TicketOutcome t = ticketOf(job, names, kDay);
            SCOPED_TRACE(describeJob(form).dump());
            expectTicketOfFigures(job.figures, t, names);
            tickets += t.ok() ? 1 : 0;
            notPrintable += t.refusal.find("无法上机") != std::string::npos ? 1 : 0;
            if (::testing::Test::HasFailure()) {
                return;
            }
        }
        EXPECT_GT(tickets, 1000) << "kind " << kind;
    }
    EXPECT_GT(notPrintable, 10);
}

// A book of 1000 copies, 16开: cover, 36 pages of 内页一 on 对开 sheets
// (four units of four pages a sheet: two whole sheets and one unit left
// over, printed 8开), sewn and glued.
FormState bookForm(const PaperNames& names) {
    FormState f = startingForm(names);
    f.setListIndex(Ctl::comleibie, 0, kBook);
    f.setText(Ctl::txtshuliang, 0, "1000");
    f.setTicked(Ctl::Lsthua, 0, true);
    f.setTicked(Ctl::Lsthua, 1, true);
    f.setText(Ctl::txtye, 0, "36");
    testing::check(f, Ctl::Chkhua, 2);
    testing::check(f, Ctl::Chkhua, 5);
    f.setListIndex(Ctl::Cmbdin, 0, 1);
    return f;
}

TEST(ProductionTicket, ABookNamesItsRunsAndItsBinding) {
    const PaperNames names = defaultPaperNames();
    const TicketOutcome t = ticketOf(priced(bookForm(names)), names, kDay);
    ASSERT_TRUE(t.ok()) << t.refusal;
    std::vector<std::string> titles;
    for (const TicketBlock& block : ticketBlocks(t.ticket)) {
        titles.push_back(block.title);
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"封面", "内页一  整印张 2手", "内页一  零头印张",
                                                "装订", "纸张用量"}));
    const TicketBlock binding = bindingBlock(*t.ticket.binding);
    EXPECT_EQ(binding.fields.at(0).value, "锁线胶订");
    EXPECT_EQ(binding.fields.at(1).value, "40页（10贴）");
    const TicketBlock cover = partBlock(t.ticket.parts.at(0));
    EXPECT_EQ(cover.fields.back().label, "后加工");
    EXPECT_EQ(cover.fields.back().value, "表面加工 过光胶（单面）");
}

TEST(ProductionTicket, IsRefusedWithoutAPrintablePart) {
    const PaperNames names = defaultPaperNames();
    EXPECT_EQ(ticketOf(PricedJob{}, names, kDay).refusal,
              "还没有计价的印件，请先计价，再生成施工单。");

    FormState nothing = startingForm(names);
    nothing.setListIndex(Ctl::comleibie, 0, kSingleSheet);
    EXPECT_EQ(ticketOf(priced(nothing), names, kDay).refusal,
              "这个印件没有要印刷的部件（一个部件也没有勾选），不能生成施工单。");

    // A 2开 poster on 4开 press sheets: the costing prices it at nothing.
    FormState poster = startingForm(names);
    poster.setListIndex(Ctl::comleibie, 0, kSingleSheet);
    testing::check(poster, Ctl::Chkdan, 0);
    poster.setText(Ctl::Ncomkai, 5, "2");
    poster.setText(Ctl::Ntxtkaizhi, 5, "4");
    EXPECT_EQ(ticketOf(priced(poster), names, kDay).refusal,
              "单张无法上机印刷（2开的印件排不进对开平印机的4开上机纸），不能生成施工单。");
}

TEST(TicketText, SheetsAreRoundedUpButNotForTheLastBits) {
    EXPECT_EQ(wholeSheetsText(263.2), "264");
    EXPECT_EQ(wholeSheetsText(263.00000000001), "263");
    EXPECT_EQ(wholeSheetsText(1263.0), "1,263");
    EXPECT_EQ(reamsText(263.2), "0.528");
    EXPECT_EQ(reamsText(0), "0.000");
    EXPECT_EQ(pressSheetText(1), "全张");
    EXPECT_EQ(pressSheetText(2), "对开");
    EXPECT_EQ(pressSheetText(16), "16开");
}

}  // namespace
}  // namespace inkquot
