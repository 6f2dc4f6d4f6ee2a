#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <string>

#include "core/records/history_file.h"
#include "core/records/history_scan.h"
#include "core/spreadsheet/history_sheet.h"
#include "core/spreadsheet/price_table_sheet.h"
#include "core/spreadsheet/sheet_writer.h"
#include "core/spreadsheet/sheet_writer_kinds.h"
#include "core/spreadsheet/xlsx_library.h"
#include "tests/core/common/fail_writes.h"
#include "tests/core/common/temp_folder.h"

namespace inkquot {
namespace {

using namespace testing_support;
using FailPoint = io_test_hooks::FailPoint;

constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::size_t filesIn(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                                  std::filesystem::directory_iterator()));
}

TEST(SheetExport, CsvFieldsNumbersAndFormulaLikeTexts) {
    TempFolder dir;
    const auto file = dir / "t.csv";
    auto out = openSheetWriter(SheetFormat::Csv, file, {});
    out->row({SheetCell::textCell("标题", CellLook::Title, 3), SheetCell::textCell("a,b")});
    out->row({SheetCell::textCell("说\"明\""), SheetCell::textCell(" 前后空格 "),
              SheetCell::textCell("两行\n文字"), SheetCell::textCell("-")});
    // Texts that a spreadsheet program would run as formulas stay texts.
    out->row({SheetCell::textCell("=HYPERLINK(\"x\")"), SheetCell::textCell("+1"),
              SheetCell::textCell("-2"), SheetCell::textCell("@A1")});
    out->row({SheetCell::numberCell(1234.5, CellLook::UnitPrice),
              SheetCell::numberCell(1234567.125, CellLook::Amount),
              SheetCell::numberCell(20000, CellLook::Quantity),
              SheetCell::numberCell(46363, CellLook::Date)});
    out->row({SheetCell::storedFloat(0.5443f, CellLook::UnitPrice),
              SheetCell::storedFloat(std::numeric_limits<float>::quiet_NaN(), CellLook::Amount),
              SheetCell::numberCell(0.5, CellLook::UnitPrice, "0.4999")});
    ASSERT_TRUE(out->finish());
    EXPECT_EQ(slurp(file), std::string(kBom) +
                               "标题,,,\"a,b\"\r\n"
                               "\"说\"\"明\"\"\",\" 前后空格 \",\"两行\n文字\",-\r\n"
                               "\"'=HYPERLINK(\"\"x\"\")\",'+1,'-2,'@A1\r\n"
                               "1234.5000,1234567.12,20000,2026/12/7\r\n"
                               "0.5443,?,0.4999\r\n");
}

TEST(SheetExport, AFailedWriteLeavesTheOldFileAndNothingElse) {
    for (const SheetFormat format : {SheetFormat::Csv, SheetFormat::Xlsx}) {
        for (const FailPoint point : {FailPoint::Rename, FailPoint::WriteAfterBytes}) {
            TempFolder dir;
            const auto file = dir / (format == SheetFormat::Csv ? "表.csv" : "表.xlsx");
            spit(file, "old");
            IoStatus status;
            {
                FailWrites fail(point, 10);
                auto out = openSheetWriter(format, file, {"表", {}, false});
                out->row({SheetCell::textCell(std::string(100000, 'x'))});
                status = out->finish();
            }
            EXPECT_EQ(status.error, IoError::WriteFailed);
            EXPECT_NE(status.message.find("表."), std::string::npos) << status.message;
            EXPECT_EQ(slurp(file), "old");
            EXPECT_EQ(filesIn(dir.path()), 1u);
        }
        TempFolder dir;
        auto out = openSheetWriter(format, dir / "gone" / "t.x", {"表", {}, false});
        out->row({SheetCell::textCell("x")});
        const IoStatus status = out->finish();
        EXPECT_FALSE(status);
        EXPECT_NE(status.message.find("不存在"), std::string::npos) << status.message;
        EXPECT_EQ(filesIn(dir.path()), 0u);
    }
}

// The workbook library is opened at the first export: a file that is not
// there, or one without the library's functions, fails that export alone.
TEST(SheetExport, AWorkbookWithoutItsLibraryFailsAndLeavesTheOldFile) {
    for (const char* library : {"libinkquot-absent.so.0", "libc.so.6"}) {
        TempFolder dir;
        const auto file = dir / "表.xlsx";
        spit(file, "old");
        const XlsxLibrary unusable = openXlsxLibrary(library);
        auto out = openXlsxSheetWriter(file, {"表", {}, false}, unusable);
        out->row({SheetCell::textCell("x")});
        out->freezeRowsAbove();
        const IoStatus status = out->finish();
        EXPECT_EQ(status.error, IoError::WriteFailed);
        EXPECT_NE(status.message.find(library), std::string::npos) << status.message;
        EXPECT_EQ(slurp(file), "old");
        EXPECT_EQ(filesIn(dir.path()), 1u);
    }
}

TEST(SheetExport, PriceTableLetterheadGoesAboveTheTitle) {
    PriceTableGrid g;
    g.lablei = "单张类";
    g.labshuoming = "    说明：用157克铜版纸印刷。";
    g.quantities = {1000, 3000, 5000, 10000, 20000, 50000};
    for (int i = 0; i < kTableRowCount; ++i) {
        g.labddu[i] = std::to_string(2 << i) + "开";
    }
    for (int n = 0; n < kTableCellCount; ++n) {
        g.unitPrices[n] = 1.5f;
        g.labdanjia[n] = "1.5000";
    }
    g.refused[1] = true;
    g.labdanjia[1] = "-";
    g.unitPrices[1] = 0;
    g.unitPrices[2] = 1234.56789f;
    g.labdanjia[2] = "1,234.5679";

    TempFolder dir;
    const PriceTableHeading heading{{"甲印务有限公司", "电话：12345678"}, "价格表", "2026年3月"};
    ASSERT_TRUE(writePriceTableSheet(dir / "t.csv", SheetFormat::Csv, g, heading));
    const std::string csv = slurp(dir / "t.csv");
    const std::string top = std::string(kBom) +
                            "甲印务有限公司,,,,,,\r\n电话：12345678,,,,,,\r\n价格表,,,,,,\r\n"
                            "单张类,,,,2026年3月,,\r\n说明：用157克铜版纸印刷。,,,,,,\r\n";
    EXPECT_EQ(csv.substr(0, top.size()), top);
    EXPECT_NE(csv.find("\r\n2开,1.5000,-,1234.5679,1.5000,"), std::string::npos) << csv;

    // Without a letterhead the title is the first line.
    ASSERT_TRUE(
        writePriceTableSheet(dir / "u.csv", SheetFormat::Csv, g, {{}, "价格表", "2026年3月"}));
    const std::string plain = std::string(kBom) + "价格表,,,,,,\r\n";
    EXPECT_EQ(slurp(dir / "u.csv").substr(0, plain.size()), plain);
}

// The chart goes into a workbook as a picture below the table; the read-back
// check of the written workbook passes with the picture's parts in it, and
// a CSV file stays exactly as it is without one.
TEST(SheetExport, PriceTableWorkbookCarriesTheChartAsAPicture) {
    // A PNG of one white pixel.
    const std::string png(
        "\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\0\x01\0\0\0\x01\x08\0\0\0\0\x3A\x7E\x9B"
        "\x55\0\0\0\x0AIDAT\x78\x9C\x63\xF8\x0F\0\x01\x01\x01\0\xB1\x38\xF6\x14\0\0\0\0"
        "IEND\xAE\x42\x60\x82",
        67);
    PriceTableGrid g;
    g.lablei = "单张类";
    for (int n = 0; n < kTableCellCount; ++n) {
        g.unitPrices[n] = 0.25f;
        g.labdanjia[n] = "0.2500";
    }
    const PriceTableHeading heading{{}, "价格表", "2026年3月"};
    TempFolder dir;
    ASSERT_TRUE(writePriceTableSheet(dir / "t.xlsx", SheetFormat::Xlsx, g, heading, png));
    const std::string book = slurp(dir / "t.xlsx");
    EXPECT_NE(book.find("xl/media/image1.png"), std::string::npos);
    EXPECT_NE(book.find("xl/drawings/drawing1.xml"), std::string::npos);
    ASSERT_TRUE(writePriceTableSheet(dir / "u.xlsx", SheetFormat::Xlsx, g, heading));
    EXPECT_EQ(slurp(dir / "u.xlsx").find("xl/media/"), std::string::npos);

    ASSERT_TRUE(writePriceTableSheet(dir / "t.csv", SheetFormat::Csv, g, heading, png));
    ASSERT_TRUE(writePriceTableSheet(dir / "u.csv", SheetFormat::Csv, g, heading));
    EXPECT_EQ(slurp(dir / "t.csv"), slurp(dir / "u.csv"));
}

TEST(SheetExport, HistoryRowsOfTheMatchingRecords) {
    TempFolder dir;
    const auto history = dir / "frecord.dat";
    std::string bytes;
    auto add = [&](const JiluRec& rec) {
        std::string slot;
        ASSERT_TRUE(encodeJiluSlot(rec, slot));
        bytes += slot;
    };
    add({46363, "甲印务", "画册", 1000, "大度16开", "骑马订", 0.5f, 500});
    add({46364, "乙公司", "海报", 20000, "", "", 0.1234f, 2468});
    add({46365, "=甲印务", "名片", 300, "", "", std::nanf(""), 36.6f});
    spit(history, bytes);

    HistoryQuery q;
    q.customer = "甲印务";
    const auto matcher = HistoryMatcher::from(q);
    ASSERT_TRUE(matcher);
    std::uint64_t exported = 0;
    const HistorySheetHeading heading{{}, historyConditionText(q), {2026, 12, 8}};
    ASSERT_TRUE(writeHistorySheet(dir / "h.csv", SheetFormat::Csv, history, *matcher, heading, {},
                                  exported));
    EXPECT_EQ(exported, 2u);
    EXPECT_EQ(slurp(dir / "h.csv"),
              std::string(kBom) +
                  "历史报价记录,,,,,,,\r\n"
                  "客户名称包含“甲印务”的记录,,,,,导出日期：2026/12/8,,\r\n"
                  "日期,客户名称,印件名称,规格,数量,单价(元),总价(元),加工要求\r\n"
                  "2026/12/7,甲印务,画册,大度16开,1000,0.5000,500.00,骑马订\r\n"
                  "2026/12/9,'=甲印务,名片,,300,?,36.60,\r\n");

    // A workbook of the same records, with a damaged price among them.
    exported = 0;
    ASSERT_TRUE(writeHistorySheet(dir / "h.xlsx", SheetFormat::Xlsx, history, *matcher, heading, {},
                                  exported));
    EXPECT_EQ(exported, 2u);
    EXPECT_EQ(slurp(dir / "h.xlsx").substr(0, 2), "PK");
}

}  // namespace
}  // namespace inkquot
