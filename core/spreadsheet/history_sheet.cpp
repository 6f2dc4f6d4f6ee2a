#include "core/spreadsheet/history_sheet.h"

#include "core/common/date_text.h"
#include "core/records/history_query.h"

namespace inkquot {

namespace {

constexpr int kColumns = 8;

// Texts of a record keep the blanks that pad their field.
std::string withoutPadding(const std::string& field) {
    const std::size_t end = field.find_last_not_of(" \t");
    return end == std::string::npos ? std::string() : field.substr(0, end + 1);
}

std::vector<SheetCell> recordCells(const JiluRec& rec) {
    const std::string day = historyDateText(rec.Riqi);
    std::vector<SheetCell> cells;
    cells.push_back(day == "?" ? SheetCell::textCell(day, CellLook::Label)
                               : SheetCell::numberCell(rec.Riqi, CellLook::Date, day));
    cells.push_back(SheetCell::textCell(withoutPadding(rec.Kehuming), CellLook::Text));
    cells.push_back(SheetCell::textCell(withoutPadding(rec.Yinjianming), CellLook::Text));
    cells.push_back(SheetCell::textCell(withoutPadding(rec.Guige), CellLook::Text));
    cells.push_back(SheetCell::storedFloat(rec.Shuliang, CellLook::Quantity));
    cells.push_back(SheetCell::storedFloat(rec.Danjia, CellLook::UnitPrice));
    cells.push_back(SheetCell::storedFloat(rec.Zongjia, CellLook::Amount));
    cells.push_back(SheetCell::textCell(withoutPadding(rec.Yaoqiu), CellLook::Text));
    return cells;
}

}  // namespace

std::string historyConditionText(const HistoryQuery& query) {
    switch (query.mode) {
        case HistoryMode::Customer:
        case HistoryMode::JobName: {
            const std::string_view search =
                trimBlanks(query.mode == HistoryMode::Customer ? query.customer : query.jobName);
            if (search.empty()) {
                return "全部记录";
            }
            return std::string(query.mode == HistoryMode::Customer ? "客户名称" : "印件名称") +
                   "包含“" + std::string(search) + "”的记录";
        }
        case HistoryMode::Date:
            return std::string(trimBlanks(query.cutoff)) + "之后保存的记录";
    }
    return {};
}

IoStatus writeHistorySheet(const std::filesystem::path& file, SheetFormat format,
                           const std::filesystem::path& historyFile, const HistoryMatcher& matcher,
                           const HistorySheetHeading& heading, const HistoryProgress& keepGoing,
                           std::uint64_t& exported) {
    exported = 0;
    SheetSetup setup;
    setup.name = "历史记录";
    setup.columnWidths = {11, 24, 18, 12, 10, 11, 13, 60};
    setup.landscape = true;
    auto out = openSheetWriter(format, file, setup);

    for (const std::string& line : heading.letterhead) {
        out->row({SheetCell::textCell(line, CellLook::Letterhead, kColumns)}, 18);
    }
    out->row({SheetCell::textCell("历史报价记录", CellLook::Title, kColumns)}, 27);
    out->row(
        {SheetCell::textCell(heading.condition, CellLook::Left, 5),
         SheetCell::textCell("导出日期：" + shortDateText(heading.exported), CellLook::Right, 3)});
    std::vector<SheetCell> headings;
    for (const char* caption :
         {"日期", "客户名称", "印件名称", "规格", "数量", "单价(元)", "总价(元)", "加工要求"}) {
        headings.push_back(SheetCell::textCell(caption, CellLook::Heading));
    }
    out->row(headings);
    out->freezeRowsAbove();

    HistoryScanResult scanned;
    const IoStatus read = scanHistory(
        historyFile, matcher,
        [&](std::string_view data, std::uint64_t) { out->row(recordCells(decodeJilu(data))); },
        keepGoing, scanned);
    if (!read) {
        return read;  // the writer goes without a trace
    }
    if (scanned.stopped) {
        return IoStatus::failure(IoError::WriteFailed, "导出已停止，文件未写入。");
    }
    const IoStatus written = out->finish();
    if (written) {
        exported = scanned.matched;
    }
    return written;
}

}  // namespace inkquot
