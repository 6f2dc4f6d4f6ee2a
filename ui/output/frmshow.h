#pragma once

#include <QDialog>
#include <array>

#include "ui/output/output_services.h"

class QPushButton;
class QScrollBar;
class PriceSheet;

// "墨衡印件计价系统-价格表": the window that shows a generated price table.
// The table (Picture2) sits in a viewport (Picture1) and scrolls with
// VScroll1; the buttons print it, export it as PDF, or close the window.
// Everything it shows is written into its labels before it opens.
class FrmShow : public QDialog {
    Q_OBJECT

public:
    // The scroll range in twips: at its end the bottom of the table shows.
    static constexpr int kScrollTwips = 6205;

    explicit FrmShow(OutputServices services, QWidget* parent = nullptr);

    QWidget* Picture1 = nullptr;
    PriceSheet* Picture2 = nullptr;
    QScrollBar* VScroll1 = nullptr;
    // 0 "打印价格表", 1 "退出".
    std::array<QPushButton*, 2> Cmdbjd{};
    QPushButton* cmdpdf = nullptr;  // "导出PDF"

    // "打印价格表": copies the table into the print layout, prints it as one
    // page and closes the window ("打印机错误!" first when printing fails).
    void printTable();
    // "导出PDF": the same page into a PDF file the user names; the window
    // stays open.
    void exportPdf();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void scrolled(int value);

    OutputServices services_;
};
