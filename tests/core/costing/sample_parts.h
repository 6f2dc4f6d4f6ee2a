#pragma once

// What the costing tests and the benchmarks both start from: working price
// files holding the built-in scheme, and the printed part every procedure's
// expected parts are built from. Free of any test framework, so that the
// benchmarks measure the very jobs the tests check.

#include <initializer_list>
#include <utility>

#include "core/common/io_status.h"
#include "core/common/program_folder.h"
#include "core/costing/control_catalogue.h"
#include "core/costing/cost_records.h"
#include "core/costing/job_form.h"
#include "core/costing/press_kind.h"
#include "core/pricedata/default_scheme.h"
#include "core/pricedata/price_tables.h"

namespace inkquot::testing {

// A record of floats (a part, its costs, a job's result) with the named
// fields set and every other field 0, e.g.
// recordWith<CostResult>({{&CostResult::FilmCost, 100}}).
template <typename Record>
Record recordWith(std::initializer_list<std::pair<float Record::*, float>> fields) {
    Record r{};
    for (const auto& [field, value] : fields) {
        r.*field = value;
    }
    return r;
}

// Writes the built-in scheme's four tables as the working price files of
// `folder`, as after a scheme selection; stops at the first failure.
inline IoStatus writeDefaultWorkingFiles(const ProgramFolder& folder) {
    IoStatus status = writeTable(folder.file("fjiben.dat"), defaultJibenTable());
    if (status.ok()) {
        status = writeTable(folder.file("fgongjia.dat"), defaultGongjiaTable());
    }
    if (status.ok()) {
        status = writeTable(folder.file("fzhijia.dat"), PriceTable::Zhijia, defaultZhijiaTable());
    }
    if (status.ok()) {
        status =
            writeTable(folder.file("fzhijiabu.dat"), PriceTable::Zhijiabu, defaultZhijiabuTable());
    }
    return status;
}

// `quantity` pieces of Kai `kai` printed on one side on 对开平印机, on 大度
// paper (0.53 m² a 对开 sheet), with the form's starting choices for the
// steps that are not ticked: 单出菲林 and difficulty 1 for printing, die
// cutting and die boards.
inline PartSpec printedPart(float quantity, float kai, float sheetKai, float gsm, float paperIndex,
                            float coloursFront) {
    PartSpec s;
    s.quantity = quantity;
    s.halfSheetArea = 0.53f;
    s.kai = kai;
    s.sheetKai = sheetKai;
    s.gsm = gsm;
    s.paperIndex = paperIndex;
    s.coloursFront = coloursFront;
    s.printFlag = 1;
    s.press = costingPress(kPressDuikaiFlat);
    s.filmMode = 1;
    s.printDifficulty = 1;
    s.dieCutDifficulty = 1;
    s.dieBoardDifficulty = 1;
    return s;
}

// The single-sheet example: 16开 leaflets on 157 g 铜版纸, four to a 四开
// press sheet, 4 + 0 colours.
inline PartSpec leafletPart(float quantity) {
    return printedPart(quantity, 16, 4, 157, 1, 4);
}

// Fills the single-sheet example into a job form that starts as the entry
// screen does: 1000 copies of a 16开 leaflet on 四开 press sheets, 157 g
// 铜版纸, 4 + 0 colours, only 印刷 ticked.
inline void fillLeafletExample(JobForm& form) {
    form.setListIndex(Ctl::comleibie, 0, kSingleSheet);
    form.setText(Ctl::txtshuliang, 2, "1000");
    form.setText(Ctl::Cmbkaizhi, 7, "4");
    form.setText(Ctl::Ncomke, 7, "157");
    form.setText(Ctl::Ncomyinse, 15, "0");
    form.setCheckState(Ctl::Chkdan, 0, CheckState::Checked);
}

// The result the quotation tests print: 0.1234 a copy, 2,468.00 in all;
// 120.50 before printing (film 100, imposition 20.5), paper 1,234.50,
// printing 800, no binding, and 213 of other costs (surface finishing 200
// and folding 13, which has no line of its own).
inline CostResult sampleQuotationResult() {
    return recordWith<CostResult>({{&CostResult::UnitPrice, 0.1234f},
                                   {&CostResult::TotalPrice, 2468},
                                   {&CostResult::FilmCost, 100},
                                   {&CostResult::ImpositionCost, 20.5f},
                                   {&CostResult::PaperCost, 1234.5f},
                                   {&CostResult::PrintCost, 800},
                                   {&CostResult::SurfaceCost, 200},
                                   {&CostResult::FoldCost, 13}});
}

}  // namespace inkquot::testing
