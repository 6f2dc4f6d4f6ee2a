#include "core/costing/binding_costing.h"

#include <cmath>

#include "core/costing/stored_float.h"

namespace inkquot {

BindingOutcome costBindingWithBook(const PriceBook& book, float bindFlag, float copies, float kai,
                                   float pages, float bindingForm) {
    if (bindFlag != 1) {
        return {BindingStatus::NotBound, 0};
    }
    for (float v : {copies, kai, pages, bindingForm}) {
        if (!std::isfinite(v)) {
            return {BindingStatus::NonFiniteInput, 0};
        }
    }
    // Forms 1..6 use the item pairs (31, 32) .. (41, 42): per copy, then per
    // signature.
    int form = 0;
    for (int f = 1; f <= 6; ++f) {
        if (bindingForm == static_cast<float>(f)) {
            form = f;
        }
    }
    if (form == 0) {
        return {BindingStatus::Costed, 0};
    }
    const GongItem& perCopy = book.gong[29 + 2 * form];
    const GongItem& perSignature = book.gong[30 + 2 * form];
    // Prices are for a 16开 book; larger books take Tag1, 17..32开 Tag2,
    // 33..64开 Tag3, smaller ones Tag4.
    float sizeFactor = perCopy.Tag4;
    if (kai < 16) {
        sizeFactor = perCopy.Tag1;
    } else if (kai == 16) {
        sizeFactor = 1;
    } else if (kai <= 32) {
        sizeFactor = perCopy.Tag2;
    } else if (kai <= 64) {
        sizeFactor = perCopy.Tag3;
    }
    const double signatures = std::floor(static_cast<double>(pages) / 4.0);
    const float charged = copies < book.jiben[9] ? book.jiben[9] : copies;
    const float cost = storedFloat((signatures * perSignature.Danjia + perCopy.Danjia) *
                                   static_cast<double>(charged) * sizeFactor);
    if (!std::isfinite(cost)) {
        return {BindingStatus::ResultOutOfRange, 0};
    }
    return {BindingStatus::Costed, cost};
}

BindingStatus CostBinding(const PriceBook& book, CostResult& result, float bindFlag, float copies,
                          float kai, float pages, float bindingForm) {
    const BindingOutcome outcome =
        costBindingWithBook(book, bindFlag, copies, kai, pages, bindingForm);
    if (outcome.status != BindingStatus::NotBound) {
        result.BindingCost = outcome.BindingCost;
    }
    return outcome.status;
}

}  // namespace inkquot
