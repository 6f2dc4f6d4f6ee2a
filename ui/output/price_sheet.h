#pragma once

#include <array>

#include "ui/output/print_page.h"

class QLabel;

// The heading of a price table's pages: the title across the top, the job
// kind on the left under it and the month on the right, placed alike on the
// table's page and on the chart's.
struct TableHeading {
    QLabel* title = nullptr;  // labiaoti
    QLabel* kind = nullptr;   // lablei
    QLabel* month = nullptr;  // labdate
};
TableHeading addTableHeading(PrintPage* page);

// The price table as a page: heading, kind and month, the explanation, then
// a grid of two blocks (大度, 正度) of seven rows under six quantity columns.
// The price table window shows it inside a scrolling viewport and the print
// layout is another sheet of the same kind, so the printout looks like the
// window.
class PriceSheet : public PrintPage {
    Q_OBJECT

public:
    static constexpr int kQuantities = 6;
    static constexpr int kRows = 7;
    static constexpr int kCells = 84;

    // The sheet is 10800 × 11500 twips.
    static constexpr int kWidthTwips = 10800;
    static constexpr int kHeightTwips = 11500;

    explicit PriceSheet(QWidget* parent = nullptr);

    std::vector<QLineF> rules() const override;

    // Copies every label text of `other`, label by label.
    void copyLabels(const PriceSheet& other);

    QLabel* labiaoti = nullptr;                 // heading typed by the user
    QLabel* lablei = nullptr;                   // job kind line
    QLabel* labdate = nullptr;                  // year and month
    QLabel* labshuoming = nullptr;              // explanation
    std::array<QLabel*, kQuantities> labshu{};  // column headers: quantities
    std::array<QLabel*, kRows> labddu{};        // row headers of the 大度 block
    std::array<QLabel*, kRows> labzdu{};        // row headers of the 正度 block
    // Unit prices: block d, row i, column j at d × 42 + i × 6 + j.
    std::array<QLabel*, kCells> labdanjia{};

    // The fixed captions.
    QLabel* guige = nullptr;           // "规格"
    QLabel* danjiaUnit = nullptr;      // "单价(元)"
    QLabel* shuliang = nullptr;        // "数量"
    QLabel* daduCaption = nullptr;     // "大        度"
    QLabel* zhengduCaption = nullptr;  // "正        度"
};
