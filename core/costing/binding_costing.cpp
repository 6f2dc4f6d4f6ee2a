#include "core/costing/binding_costing.h"

#include <cmath>

#include "core/costing/price_record_numbers.h"
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
    // Forms 1..6 each have a price per copy and one per signature.
    int form = 0;
    for (int f = gongjia_record::FirstBindingForm; f <= gongjia_record::LastBindingForm; ++f) {
        if (bindingForm == static_cast<float>(f)) {
            form = f;
        }
    }
    if (form == 0) {
        return {BindingStatus::Costed, 0};
    }
    const GongItem& perCopy = book.gong[gongjia_record::bindingPerCopy(form)];
    const GongItem& perSignature = book.gong[gongjia_record::bindingPerSignature(form)];
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
    const float minimum = book.jiben[jiben_record::BindingMinimumCopies];
    const float charged = copies < minimum ? minimum : copies;
    const float cost = storedFloat((signatures * perSignature.Danjia + perCopy.Danjia) *
                                   static_cast<double>(charged) * sizeFactor);
    if (!std::isfinite(cost)) {
        return {BindingStatus::ResultOutOfRange, 0};
    }
    return {BindingStatus::Costed, cost, signatures, charged};
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
