#pragma once

#include <QString>
#include <vector>

// The price scale of the price chart, logarithmic: a table's sizes run from
// 2开 to 128开 or from 8 to 64 pages, so its prices span ten times and more,
// and on an even scale the small sizes would lie on top of each other.
// Equal steps up mean equal ratios, and every row's fall with the quantity
// reads the same. The scale runs between round prices of 1, 2 or 5 times a
// power of ten, which are also its marks.
class PriceScale {
public:
    // From `lowest` to `highest` (both above zero) over `height` pixels:
    // marks at 1, 2 and 5 where they keep apart, else at the powers of ten
    // if there are two of them.
    PriceScale(double lowest, double highest, double height);

    // From the foot (0) to the top (1); a price of 0 or below sits at the
    // foot.
    double place(double price) const;
    const std::vector<double>& marks() const { return marks_; }

    // A mark with the decimals it needs: "0.05", "0.2", "5", "20".
    static QString label(double mark);

private:
    std::vector<double> marksBetween(bool twosAndFives) const;

    double low_ = 1;
    double high_ = 10;
    double span_ = 1;
    std::vector<double> marks_;
};
