#include "core/costing/press_rules.h"

#include <array>
#include <cmath>

#include "core/common/number_text.h"

namespace inkquot {

bool kaiDivisibleBy(float k, float sheet) {
    const float whole = roundHalfEven(k);
    const float divisor = roundHalfEven(sheet);
    if (!std::isfinite(whole) || !std::isfinite(divisor) || divisor == 0) {
        return false;
    }
    // fmod is exact, so this is the integer remainder even for values far
    // beyond the range of a machine integer.
    return std::fmod(whole, divisor) == 0;
}

PressOffer offerSheetSizes(int position, float k, float z) {
    const float z2 = 2.0f * z;
    const float z4 = 4.0f * z;
    const float z8 = 8.0f * z;
    // With a full press sheet (Z exactly 1) only Z itself is offered, and
    // the quarter- and eighth-sheet presses are refused.
    const bool halves = z != 1.0f && kaiDivisibleBy(k, z2);

    PressOffer offer;
    offer.position = position;
    // A quarter- or eighth-sheet press takes the part when the 开 divides by
    // its press sheet `sheet`, and offers the next smaller sheet `smaller`
    // too when the 开 divides by that as well.
    const auto smallPress = [&](bool takes, float sheet, float smaller) {
        if (takes) {
            offer.sizes.push_back(shortestFloatText(sheet));
            if (kaiDivisibleBy(k, smaller)) {
                offer.sizes.push_back(shortestFloatText(smaller));
            }
        }
        return takes;
    };
    switch (position) {
        case kPressSikaiFlat:
            if (smallPress(halves, z2, z4)) {
                return offer;
            }
            break;
        case kPressBakaiFlat:
            if (smallPress(z != 1.0f && kaiDivisibleBy(k, z4), z4, z8)) {
                return offer;
            }
            break;
        case kPressDuikaiRotary:
            offer.sizes.push_back(shortestFloatText(z));
            return offer;
        case kPressDuikaiFlat:
            offer.sizes.push_back(shortestFloatText(z));
            if (halves) {
                offer.sizes.push_back(shortestFloatText(z2));
            }
            return offer;
        default:
            return offer;  // no press selected: no sizes
    }
    // Refused: the part goes back to the half-sheet flat press.
    offer = offerSheetSizes(kPressDuikaiFlat, k, z);
    offer.refused = true;
    return offer;
}

std::optional<PressInputSource> pressInputSource(int part) {
    // By part, the size group whose 开 and press sheet it reads; -1 for the
    // newspaper pages. The inner pages of a book (parts 1 and 2) take half
    // the book's 开.
    static constexpr std::array<int, 11> kGroup = {1, 0, 0, 2, 3, -1, -1, 5, 6, 6, 7};
    if (part < 0 || part >= static_cast<int>(kGroup.size()) ||
        kGroup[static_cast<std::size_t>(part)] < 0) {
        return std::nullopt;
    }
    const int group = kGroup[static_cast<std::size_t>(part)];
    return PressInputSource{group, part == 1 || part == 2, group};
}

bool followsPressWithSelfTurn(int part) {
    return (part >= 0 && part <= 4) || part == 7;
}

std::optional<PressInputs> readPressInputs(const JobForm& form, int part) {
    const auto source = pressInputSource(part);
    if (!source) {
        return std::nullopt;
    }
    const auto k = parseNumber(form.text(Ctl::Ncomkai, source->kaiGroup));
    const auto z = parseNumber(form.text(Ctl::Ntxtkaizhi, source->sheetGroup));
    if (!k || !z) {
        return std::nullopt;
    }
    return PressInputs{source->halved ? *k / 2.0f : *k, *z};
}

std::optional<PressChoice> choosePress(const JobForm& form, int part, int position) {
    if (!pressInputSource(part)) {
        return std::nullopt;
    }
    PressChoice choice;
    choice.position = position;
    if (const auto inputs = readPressInputs(form, part)) {
        PressOffer offer = offerSheetSizes(position, inputs->k, inputs->z);
        choice.position = offer.position;
        choice.sizes = std::move(offer.sizes);
    }
    if (followsPressWithSelfTurn(part)) {
        choice.selfTurn = choice.position != kPressDuikaiRotary;
    }
    return choice;
}

std::vector<int> partsOfSizeGroup(int group) {
    switch (group) {
        case 0:
            return {1, 2};
        case 1:
            return {0};
        case 2:
            return {3};
        case 3:
            return {4};
        case 5:
            return {7};
        case 6:
            return {8, 9};
        case 7:
            return {10};
        default:
            return {};
    }
}

bool canResetYinji(const JobForm& form, int group) {
    return parseNumber(form.text(Ctl::Ncomkai, group)).has_value();
}

}  // namespace inkquot
