#pragma once

#include <QDialog>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/costing/price_table.h"
#include "ui/output/output_services.h"

class QLabel;
class QPushButton;
class QScrollBar;
class QTabWidget;
class PriceChart;
class PriceSheet;

// "墨衡印件计价系统-价格表": the window that shows a generated price table.
// The table (Picture2) sits in a viewport (Picture1) and scrolls with
// VScroll1; the tab beside it ("图表") shows the same prices as a chart in
// the same room. The buttons print the table, export it as PDF or as a
// spreadsheet, or close the window. Everything it shows is written into its
// labels before it opens. The window is as tall as the screen allows, up to
// the whole table.
class FrmShow : public QDialog {
    Q_OBJECT

public:
    explicit FrmShow(OutputServices services, QWidget* parent = nullptr);

    // Sizes the viewport for a screen whose free area is `available`: the
    // whole table when it fits, else as much as fits, the rest reached by
    // scrolling. The constructor fits the window to its own screen.
    void fitToScreen(const QRect& available);
    // The scroll range in twips: at its end the bottom of the table shows;
    // 0 when the whole table is in view.
    int scrollRangeTwips() const { return scrollTwips_; }

    // Fills the labels and the chart from a generated table and marks the
    // cells in doubt (a unit price of zero or below, or one that rises with
    // the quantity) with a shaded background, counted in labcheck, and with
    // a ring on the chart.
    void setTable(const inkquot::PriceTableGrid& grid);
    // The shop's letterhead lines for the spreadsheet export; none by default.
    void setLetterhead(std::vector<std::string> lines) { letterhead_ = std::move(lines); }

    // 0 "表格", the table and its scroll bar; 1 "图表", the chart.
    QTabWidget* tabs = nullptr;
    QWidget* Picture1 = nullptr;
    PriceSheet* Picture2 = nullptr;
    QScrollBar* VScroll1 = nullptr;
    PriceChart* chart = nullptr;
    // 0 "打印价格表", 1 "退出".
    std::array<QPushButton*, 2> Cmdbjd{};
    QPushButton* cmdpdf = nullptr;    // "导出PDF"
    QPushButton* cmdexcel = nullptr;  // "导出Excel"
    // The warning line under the table; empty when no cell is in doubt.
    QLabel* labcheck = nullptr;

    // "打印价格表": copies the table into the print layout, prints it as one
    // page and closes the window ("打印机错误!" first when printing fails).
    void printTable();
    // "导出PDF": the same page into a PDF file the user names, the chart on
    // a second page; the window stays open.
    void exportPdf();
    // "导出Excel": the table as an Excel workbook, the chart as a picture
    // below it, or as a CSV file, by the type the user picks in the save
    // dialog; "保存失败：" and the reason when it cannot be written. The
    // window stays open.
    void exportSheet();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void scrolled(int value);

    QString proposedName() const;

    OutputServices services_;
    std::optional<inkquot::PriceTableGrid> grid_;
    std::vector<std::string> letterhead_;
    int scrollTwips_ = 0;
};
