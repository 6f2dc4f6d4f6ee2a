#include "ui/output/price_scale.h"

#include <algorithm>
#include <cmath>

namespace {

// Prices are compared with a little room, so 0.2 from a division is 0.2.
constexpr double kRoom = 1e-9;

// The round price at or below `v`, and at or above it.
double roundBelow(double v) {
    const double power = std::pow(10.0, std::floor(std::log10(v)));
    for (const double f : {5.0, 2.0}) {
        if (f * power <= v * (1 + kRoom)) {
            return f * power;
        }
    }
    return power;
}

double roundAbove(double v) {
    const double power = std::pow(10.0, std::floor(std::log10(v)));
    for (const double f : {1.0, 2.0, 5.0}) {
        if (f * power >= v * (1 - kRoom)) {
            return f * power;
        }
    }
    return 10 * power;
}

// Marks closer than this, in pixels, would run their labels together.
constexpr double kLeastMarkSpacing = 18;

}  // namespace

PriceScale::PriceScale(double lowest, double highest, double height)
    : low_(roundBelow(lowest)), high_(roundAbove(highest)) {
    if (high_ <= low_ * (1 + kRoom)) {
        high_ = roundAbove(low_ * 1.5);
    }
    span_ = std::log10(high_ / low_);
    marks_ = marksBetween(true);
    // 1 to 2 and 5 to 10 are the closest neighbours.
    if (height * std::log10(2.0) / span_ < kLeastMarkSpacing) {
        if (std::vector<double> powers = marksBetween(false); powers.size() >= 2) {
            marks_ = std::move(powers);
        }
    }
}

double PriceScale::place(double price) const {
    return price <= 0 ? 0.0 : std::clamp(std::log10(price / low_) / span_, 0.0, 1.0);
}

QString PriceScale::label(double mark) {
    const int decimals = std::max(0, -static_cast<int>(std::floor(std::log10(mark) + kRoom)));
    return QString::number(mark, 'f', decimals);
}

std::vector<double> PriceScale::marksBetween(bool twosAndFives) const {
    std::vector<double> marks;
    for (double power = std::pow(10.0, std::floor(std::log10(low_))); power <= high_ * (1 + kRoom);
         power *= 10) {
        for (const double f : {1.0, 2.0, 5.0}) {
            const double mark = f * power;
            if ((twosAndFives || f == 1.0) && mark >= low_ * (1 - kRoom) &&
                mark <= high_ * (1 + kRoom)) {
                marks.push_back(mark);
            }
        }
    }
    return marks;
}
