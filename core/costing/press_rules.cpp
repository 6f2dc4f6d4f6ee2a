#include "core/costing/press_rules.h"

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
    switch (position) {
        case kPressSikaiFlat:
            if (!halves) {
                break;
            }
            offer.sizes.push_back(shortestFloatText(z2));
            if (kaiDivisibleBy(k, z4)) {
                offer.sizes.push_back(shortestFloatText(z4));
            }
            return offer;
        case kPressBakaiFlat:
            if (!(z != 1.0f && kaiDivisibleBy(k, z4))) {
                break;
            }
            offer.sizes.push_back(shortestFloatText(z4));
            if (kaiDivisibleBy(k, z8)) {
                offer.sizes.push_back(shortestFloatText(z8));
            }
            return offer;
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
    switch (part) {
        case 0:
            return PressInputSource{1, false, 1};
        case 1:
        case 2:
            return PressInputSource{0, true, 0};
        case 3:
            return PressInputSource{2, false, 2};
        case 4:
            return PressInputSource{3, false, 3};
        case 7:
            return PressInputSource{5, false, 5};
        case 8:
        case 9:
            return PressInputSource{6, false, 6};
        case 10:
            return PressInputSource{7, false, 7};
        default:
            return std::nullopt;
    }
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
